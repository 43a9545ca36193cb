#pragma once
// The return being captured, without widgets: the sale found by its ticket number, its lines
// with what was sold and what came back before, and the quantities captured now. It changes
// only through the operations below, each answering the text to show when it refuses, and it
// yields the per-line records of the return and the credit note's request. The return screen
// (TFRM_devolucion) shows it; tests and pos-script drive it through the screen or directly.

#include <QString>
#include <QVector>

#include "context/TsistemaDatos.h"
#include "devoluciones/capturaDevolucion.h"
#include "facturacion/datosFacturar.h"
#include "grid/TGridControl.h"

// Return kinds (`tipo` of the capture).
inline constexpr int DEVOLUCION_CAMBIO_FISICO = 1;
inline constexpr int DEVOLUCION_NOTA_CREDITO = 2;

// The sale being returned, as the screen's panel shows it.
struct TventaDevolucion {
  int ticketID = 0;  // puntoOperacion_id
  int ticketNo = 0;
  int almacenID = 0;
  QString almacenNombre;
  QString vendedor;
  QString fechaVenta;   // as people read it
  double subtotal = 0;  // the sale's subtotal plus its taxes, as the panel shows "Subtotal"
  double descuento = 0;
  double total = 0;
  bool facturada = false;  // a credit note is possible
  QString uuidFactura;
  int receptorID = 0;
  QString receptorRfc;
  QString receptorNombre;
};

// One captured line as the return records it.
struct TlineaDevolucion {
  int filaGrid = -1;
  int fila = 0;  // sale line id
  int productoID = 0;
  int unidadID = 0;
  QString descripcion;
  double cantidad = 0;  // captured now
  QString cantidadTexto;
  double acumulado = 0;  // returned once recorded, as captured
  QString estado;
  int tipoDevolucion = 0;
  QString noSerieDevolver;
};

// What a capture of a row starts from, or why the row cannot be captured.
struct TinicioCaptura {
  bool ok = false;
  QString mensaje;
  TcommCapturaDevolucion captura;
};

class TdocumentoDevolucion {
 public:
  explicit TdocumentoDevolucion(TsistemaDatos& sistema);
  TdocumentoDevolucion(const TdocumentoDevolucion&) = delete;
  TdocumentoDevolucion& operator=(const TdocumentoDevolucion&) = delete;

  // The grid's columns, in the return screen's order.
  static void declaraColumnas(TGridControl& grid);

  TGridControl& lineas() { return uLineas; }
  const TGridControl& lineas() const { return uLineas; }
  const TventaDevolucion& venta() const { return uVenta; }

  // Finds the sale by the typed ticket number and loads its lines (the previous sale is
  // dropped first). A blank text does nothing. Answers the message to show: "No existe el
  // ticket " + the text for a number of no sale of the business; a notice when the sale has a
  // credit note whose stamping was not confirmed (its capture is loaded to be retried); empty
  // otherwise.
  QString buscar(const QString& textoTicket);
  bool cargado() const { return uVenta.ticketID > 0; }

  // The capture a click on row `fila` opens, with the return kind `tipo` ticked; or the reason
  // the row takes none ("No hay más artículos por devolver." and the like).
  TinicioCaptura preparaCaptura(int fila, int tipo);
  // Takes an accepted capture of row `fila`: refused (with the reason, row unchanged) when it
  // asks for more than is left, a fraction of goods sold by the piece, a negative quantity or a
  // serial number the line does not hold. Empty when taken.
  QString capturaLinea(int fila, const TcommCapturaDevolucion& captura);

  // The checks of "Aceptar Devolución", in order; empty when the return may go on.
  QString validaAceptacion(int tipo) const;
  // The rows with a quantity to return, in grid order.
  QVector<TlineaDevolucion> lineasCapturadas() const;
  // The credit note's request for the captured rows.
  datosFacturar reuneDatosFacturaNotaDeCredito() const;

  // A credit note of this sale whose stamping was never confirmed; its capture is what the
  // grid holds, and nothing else can be captured until it is retried.
  int notaPendiente() const { return uNotaPendiente; }

  // After a line's return was recorded: the row's capture is emptied and its returned
  // quantity is what the database now holds.
  void lineaRegistrada(int filaGrid, double devuelto);

 private:
  void agregaLinea(const CmidTierResponse& detalle, int r);
  void cargaNotaPendiente();
  bool esComponenteKit(int fila) const;
  bool esCabeceraKit(int fila) const;

  TsistemaDatos& uSys;
  TGridControl uLineas;
  TventaDevolucion uVenta;
  int uNotaPendiente = 0;
};
