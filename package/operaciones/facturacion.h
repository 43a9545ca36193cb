#pragma once
// Data operations of invoicing: a ticket as the invoicing screen reads it, its applied payment
// forms, the business's receivers, and the marks an invoice leaves on a ticket.

#include <QDateTime>
#include <QString>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"

// Ticket invoicing states (puntoOperacion.facturadoMetodo) the invoicing screen tells apart;
// empty is "not uploaded", "6" closed.
inline constexpr const char* ESTADO_TICKET_FACTURADO = "2";
inline constexpr const char* ESTADO_TICKET_CARGADO = "3";
inline constexpr const char* ESTADO_TICKET_FACTURA_GLOBAL = "4";

// One row when the operation belongs to the business, none otherwise: puntoOperacion_id,
// puntoOperacion_ticketNo, puntoOperacion_fechaHora, puntoOperacion_subtotal,
// puntoOperacion_descuento, puntoOperacion_impuestos, puntoOperacion_total, puntoOperacion_uuid,
// puntoOperacion_facturadoMetodo, puntoOperacion_facturadoFecha and
// puntoOperacionAdicional_uuid (the fiscal UUID of its latest invoice, empty without one).
CmidTierResponse buscaTicketParaFacturar(int operacionID, int idNegocio, TConexionSesion& conexion);

// The ticket's total; 0 when it does not exist.
double consultaTicketTotal(int operacionID, TConexionSesion& conexion);

// The applied payments that carry an amount, cash first: puntoFormaPagoAplicada_valor (the
// amount as text), puntoFormaPagoAplicada_importe, formaPago_id (the SAT form's number, 1 for
// cash) and formaPago_clave (its two-digit key, empty when unknown).
CmidTierResponse consultaFormaPago(int operacionID, TConexionSesion& conexion);

// The receiver of the business with this RFC (none when unknown): Receptor_idReceptor,
// Receptor_rfc, Receptor_nombre, Receptor_codigoPostal, Receptor_regimenFiscal,
// Receptor_usoCFDI, Receptor_correo.
CmidTierResponse buscaReceptorPorRfc(const QString& rfc, int idNegocio, TConexionSesion& conexion);

// What an individual invoice stores of its receiver.
struct TreceptorFactura {
  QString rfc;
  QString nombre;
  QString codigoPostal;
  QString regimenFiscal;
  QString usoCFDI;
  QString correo;
};

// Records the invoice of a ticket: the ticket's invoice line (fiscal UUID, receiver, date),
// its state and invoicing date. `receptorID` 0 stores no receiver. Answers the rows of the
// ticket changed (1, or 0 when the operation does not exist), -1 on error. No transaction of
// its own: callers that write more around it open one. With `soloDesde` the ticket changes
// only while it is in that state (0 rows otherwise).
int guardaUUIDTicketFacturado(int operacionID, const QString& uuid, const QDateTime& fecha,
                              int estado, TConexionSesion& conexion, int receptorID = 0,
                              const QString& soloDesde = QString());

// Everything an individual invoice of one ticket leaves behind, in one transaction: the
// receiver (created, or updated when the RFC is known), the ticket's invoice line, state "2",
// and the fiscal document (FAC) with the ticket's totals. Storing the same UUID again changes
// nothing and succeeds, so a retry after a lost answer is harmless. False with `error` when
// the ticket is not of the business or the database refused; nothing is kept then.
bool guardaFacturaTicket(int operacionID, int idNegocio, const QString& uuid,
                         const TreceptorFactura& receptor, const QDateTime& fecha,
                         TConexionSesion& conexion, QString* error = nullptr);

// A fiscal document issued outside an individual ticket invoice (a global invoice, a credit
// note). Storing a UUID the business already has changes nothing and succeeds. `operacionID`
// and `receptorID` 0 are stored as none.
struct TcomprobanteEmitido {
  QString uuid;
  QString tipoDocumento;  // "FAC" or "CRE"
  QDateTime fecha;
  int operacionID = 0;
  int receptorID = 0;
  QString uuidRelacionado;
  double subtotal = 0;
  double descuento = 0;
  double total = 0;
};
bool guardaComprobante(int idNegocio, const TcomprobanteEmitido& comprobante,
                       TConexionSesion& conexion, QString* error = nullptr);

// The e-mail address of the receiver of the ticket's invoice `uuid` (as the invoice stored it);
// empty when the invoice has no receiver or the receiver no address (a global invoice).
QString buscaCorreoReceptorFactura(int operacionID, const QString& uuid, TConexionSesion& conexion);
