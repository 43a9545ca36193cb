#pragma once
// The invoice request handed to the invoicing screen: one ticket, a global invoice of many
// tickets, or a credit note. Amounts are decimal texts, as the module fills them.

#include <QString>
#include <QStringList>
#include <QVector>

using Trelacionados = QStringList;

// A table of named text columns; rows are added by growing it.
class TTablaLT {
 public:
  TTablaLT() = default;
  explicit TTablaLT(const QStringList& columnas) : uColumnas(columnas) {}

  const QStringList& columnas() const { return uColumnas; }
  int numColumnas() const { return static_cast<int>(uColumnas.size()); }
  int numFilas() const { return static_cast<int>(uFilas.size()); }
  // Grows (or shrinks) to `filas` rows; new cells are empty.
  void setNumFilas(int filas);
  // Unknown columns and rows out of range read as empty and are not written.
  QString getCelda(const QString& columna, int fila) const;
  void setCelda(const QString& columna, int fila, const QString& valor);

 private:
  QStringList uColumnas;
  QVector<QStringList> uFilas;
};

// One tax of a concept, as CFDI carries it ("002" IVA, "003" IEPS, "001" ISR).
struct Timpuesto {
  QString clave;   // "002"
  QString nombre;  // "IVA Trasladado"
  QString tipo;    // "Traslado" or "Retencion"
  QString reservado1;
  QString tipoFactor;  // "Tasa"
  QString reservado2;
  QString tasa;  // "0.160000"
  QString importe;
  QString base;
  QString reservado3;
  QString reservado4;
  bool vacio() const { return clave.isEmpty(); }
};

// The five tax slots of one concept: 0 IEPS charged, 1 IVA charged, 2 to 4 withholdings.
struct TticketImpuestos {
  QVector<Timpuesto> impuestos = QVector<Timpuesto>(5);
};
using TglobalImpuestos = QVector<TticketImpuestos>;

struct datosFacturar {
  Trelacionados relacionados;       // fiscal UUIDs this document relates to (credit notes)
  Trelacionados ticketsReferencia;  // identifiers of the tickets at the invoicing service
  QString tipoDocumento;            // "FAC" invoice, "CRE" credit note
  QString formaPago;                // SAT payment form, "01" cash
  QString condicionesPago;
  QString metodoPago;       // "PUE"
  QString lugarExpedicion;  // postal code of the issuer
  QString moneda;           // "MXN"
  QString tipoCambio;
  int receptorID = 0;
  QString receptorRfc;
  QString receptorNombre;
  QString usoCFDI;
  QString emisorNombre;
  QString emisorRegimen;
  QString subtotal;
  QString descuento;
  QString total;
  TTablaLT conceptos;
  int numColumnas = 0;
  int numFilas = 0;
  TglobalImpuestos impuestos;
  // What CFDI 4.0 also asks of the receiver; empty for the general public.
  QString receptorCodigoPostal;
  QString receptorRegimen;
  QString receptorCorreo;
  // Sent as the stamping's Idempotency-Key: the same key again answers the document stamped the
  // first time instead of stamping a second one. Empty sends none.
  QString claveIdempotencia;
};
