#pragma once
// Recording a return, without widgets: each captured line goes back into stock, gives its
// serial numbers back and is recorded against its sale line, in one transaction with the sale
// line locked, so a line never has more returned than was sold, also when two stations return
// it at once. A credit note first reserves what it returns (ventasDevolucionNota): the
// reservation's key is the stamping's idempotency key, so a lost answer followed by a retry,
// from the screen or after a restart, gets the same credit note and never a second one.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"
#include "facturacion/datosFacturar.h"
#include "returns/reglas/documentoDevolucion.h"

struct TresultadoLineaDevolucion {
  bool ok = false;
  int devolucionID = 0;  // the new ventasDevolucion row
  double devuelto = 0;   // what the line has returned now
  QString series;        // the serial numbers given back, comma-separated
  QString mensaje;       // why the line was refused (nothing of it changed)
};

// Records one line: the stock goes back to the sale's own warehouse (a kit's to its components),
// its serial numbers leave the ticket and return to stock, and the return is recorded with
// the line's new returned quantity; all or nothing. Refused when the line has less left than
// the capture (counting what unconfirmed credit notes of other returns hold), or a serial
// number no longer belongs to the line. `notaID` is the credit note the line belongs to (0 for
// an exchange); a line of a credit note that was already recorded is not recorded again.
TresultadoLineaDevolucion registraDevolucionLinea(const TlineaDevolucion& linea,
                                                  const QDateTime& fecha, int notaID, int idNegocio,
                                                  TConexionSesion& conexion);

// An unconfirmed credit note reserving the captured lines of the sale.
struct TreservaNota {
  bool ok = false;
  int id = 0;
  QString clave;    // idempotency key of its stamping
  QString mensaje;  // why it could not be made
};
// Reserves the lines for a credit note, in one transaction with the sale lines locked. The
// sale's unconfirmed credit note with exactly these lines is answered again (a retry); one
// with other lines refuses, as does a line with less left than captured.
TreservaNota reservaNotaDeCredito(int operacionID, const QVector<TlineaDevolucion>& lineas,
                                  int idNegocio, TConexionSesion& conexion);
// The credit note was certainly not stamped: its reservation goes.
bool liberaNotaDeCredito(int notaID, TConexionSesion& conexion);
// The credit note was issued and its lines recorded.
bool confirmaNotaDeCredito(int notaID, const QString& uuid, TConexionSesion& conexion);
// The sale's unconfirmed credit note, one row per line: ventasDevolucionNota_id,
// puntoOperacionDetalle_id, cantidad, noSerieDevolver, estadoProducto, tipoDevolucion,
// registrada. No rows when there is none.
CmidTierResponse buscaNotaPendiente(int operacionID, int idNegocio, TConexionSesion& conexion);

// How the invoicing screen answered a credit note.
struct TemisionNota {
  bool ok = false;        // issued and stored
  bool incierta = false;  // not confirmed, but it may have been stamped (no or a failed answer)
  QString uuid;
};
using TemisorNotaCredito = std::function<TemisionNota(int ticketID, const datosFacturar& datos)>;

struct TresultadoDevolucion {
  bool notaEmitida = false;
  QString uuidNota;
  QVector<int> devoluciones;  // ventasDevolucion ids recorded
  QStringList mensajes;       // what the supervisor must be told
};

// "Aceptar Devolución" once its checks passed: with a credit note, reserves, has it issued by
// `emiteNota` and goes on only when it was; then records every captured line on its own.
TresultadoDevolucion aceptaDevolucion(TdocumentoDevolucion& documento, int tipo,
                                      const TemisorNotaCredito& emiteNota,
                                      TConexionSesion& conexion, int idNegocio);
