#pragma once
// Data operations of the tickets after the sale: the lists of ticket control and of the global
// invoice, one stored ticket as its view and reprint read it, the status poll's update, and the
// pending uploads that the background retry and the main panel's count look at.

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"
#include "printer/TImpresionTicket.h"

// Ticket control's list: the business's tickets sold from the day of `fechaInicial` to the day of
// `fechaFinal`, both whole, oldest first. `sesion` (an integer, or null) narrows it to one
// register session; `estado` (null, or the index of the state filter: 0 not uploaded, 1 uploaded,
// 2 invoiced, 3 in a global invoice, 4 closed) to one invoicing state; `reservado` is not
// used. Columns: puntoOperacion_facturadoMetodo, _facturar ("1" while the ticket can still be
// invoiced, i.e. state "3", else "0"), puntoOperacion_id, puntoCajaSesion_id,
// puntoOperacion_ticketNo, puntoOperacion_total, puntoOperacion_fechaHora, puntoOperacion_uuid
// (the identifier at the invoicing service), puntoOperacionAdicional_uuid (the fiscal UUID of
// its latest invoice, empty without one), puntoOperacion_subtotal, puntoOperacion_descuento.
CmidTierResponse buscarOperacionesporSesionFecha(const QVariant& sesion,
                                                 const QDateTime& fechaInicial,
                                                 const QDateTime& fechaFinal,
                                                 const QVariant& reservado, const QVariant& estado,
                                                 int idNegocio, TConexionSesion& conexion);

// Days covered by a period of the global invoice, `desde` to `hasta` inclusive; invalid dates
// when the period is 0 (no period: every day). 1 the day of `fecha`; the others end today and
// reach back, `fecha` unused: 2 a week (today and the six days before), 3 a month, 4 two months
// (from the same day one or two months before, that day excluded).
struct TperiodoFechas {
  QDate desde;
  QDate hasta;
};
TperiodoFechas periodoFacturaGlobal(int periodo, const QDate& fecha, const QDate& hoy);

// The global invoice's list: tickets of the period (periodoFacturaGlobal, today being the
// current date) in the invoicing state `estado` (an integer such as 3, or null for any), oldest
// first. Columns: _facturar ("0" not chosen; "-1" not selectable: no identifier at the
// service), puntoOperacion_id, puntoCajaSesion_id, puntoOperacion_ticketNo,
// puntoOperacion_total, puntoOperacion_fechaHora, puntoOperacion_subtotal,
// puntoOperacion_descuento, puntoOperacion_uuid.
CmidTierResponse buscarOperacionesPorDiaSemanaMes(int periodo, const QDate& fecha,
                                                  const QVariant& estado, int idNegocio,
                                                  TConexionSesion& conexion);

// One ticket of the business: puntoOperacion_fechaHora, puntoOperacion_total,
// puntoOperacion_ticketNo, nombre (the cashier), puntoOperacion_impuestos, puntoOperacion_pago,
// puntoOperacion_devuelto, puntoOperacion_facturadoMetodo, puntoOperacion_uuid. No row when the
// operation is not the business's.
CmidTierResponse buscaTicketPorOperacionID(int operacionID, int idNegocio,
                                           TConexionSesion& conexion);

// Its lines in sale order: puntoOperacionDetalle_kitID, puntoOperacionDetalle_promocionID,
// puntoOperacionDetalle_cabecera, inventarioCategoria_etiqueta, inventarioProducto_nombre,
// puntoOperacionDetalle_cantidad, _precioConIMPT (unit price with taxes),
// puntoOperacionDetalle_importe.
CmidTierResponse buscaTicketDetallePorOperacionID(int operacionID, int idNegocio,
                                                  TConexionSesion& conexion);

// The invoicing state as an integer (empty is 0); -1 when the operation does not exist.
int buscaTicketEstadoFacturadoPorOperacionID(int operacionID, TConexionSesion& conexion);

// The seven payment lines as the checkout stored them (entry 0 cash); entries never stored stay
// empty. False when the ticket is not the business's or the read failed.
bool buscaFormaDePagoPorTicket(int operacionID, int idNegocio, TConexionSesion& conexion,
                               TFormasPago& formas);

// What the status poll learnt of one ticket invoiced at the service.
struct TfacturaServicio {
  QString uuid;     // the invoice's fiscal UUID
  QDateTime fecha;  // its stamping date; now when the service gave none
};

// The status poll's update, in one transaction: every ticket of the business whose identifier
// is listed and that is still "uploaded, not invoiced" ("3") becomes invoiced ("2"), with the
// invoice's UUID when `facturas` has it. Tickets in any other state keep it. False, with nothing
// changed, when the database refused.
bool actualizaEstadoTicket(const QStringList& identificadores, int idNegocio,
                           TConexionSesion& conexion,
                           const QHash<QString, TfacturaServicio>& facturas = {},
                           QString* error = nullptr);

// Tickets of the business not yet at the invoicing service (no identifier, not invoiced); -1
// when they could not be counted.
int cuentaTicketsPendientesCarga(int idNegocio, TConexionSesion& conexion);
// Their ids, oldest first, at most `limite`.
QVector<int> buscaTicketsPendientesCarga(int idNegocio, int limite, TConexionSesion& conexion);
