#pragma once
// Data operations of the ticket upload to the online invoicing service: the stored ticket as
// the upload reads it, and the mark it leaves once the service has the ticket.

#include <QDateTime>
#include <QString>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"

// One row when the operation belongs to the business, none otherwise: puntoOperacion_id,
// puntoOperacion_ticketNo, puntoOperacion_fechaHora, puntoOperacion_subtotal,
// puntoOperacion_descuento, puntoOperacion_impuestos, puntoOperacion_total,
// puntoOperacion_pago, puntoOperacion_devuelto, puntoOperacion_cajeroNombre,
// puntoOperacion_uuid, puntoOperacion_facturadoMetodo.
CmidTierResponse buscaOperacionParaCarga(int operacionID, int idNegocio, TConexionSesion& conexion);

// The ticket's lines in sale order: puntoOperacionDetalle_fila, _cantidad, _descripcion,
// _clave, _claveSATprodcutoServicio, _unidadMedida, _precioUnitario, _subtotal, _descuento,
// _precioVenta, _precio, _ivaT, _ivaR, _iepsT, _iepsR, _isrR, _ivaTbase, _ivaRbase,
// _iepsTbase, _iepsRbase, _isrRbase, _tipoInsercion, _cabecera (each prefixed
// puntoOperacionDetalle_), and inventarioUnidadesMedida_claveSAT33 (empty without a unit).
CmidTierResponse buscaDetalleParaCarga(int operacionID, TConexionSesion& conexion);

// The payment lines that carry an amount, cash first: puntoFormaPagoAplicada_posicion,
// puntoFormaPagoAplicada_nombre, puntoFormaPagoAplicada_importe,
// puntoFormaPagoAplicada_referencia, formaPago_clave (empty when the form is unknown).
CmidTierResponse buscaPagosParaCarga(int operacionID, TConexionSesion& conexion);

// Records the service's identifier and the state "uploaded, not invoiced" ('3') in one
// statement, and lets go of the upload's claim. A ticket already further on (invoiced, in a global
// invoice, closed) keeps its state. Answers the rows changed: 1, 0 when the operation is not of the
// business, -1 on error.
int marcaTicketCargado(int operacionID, int idNegocio, const QString& identificador,
                       TConexionSesion& conexion, QString* error = nullptr);

// Claims the ticket for one upload, so that no other upload (another station, the background
// retry, "Subir Ticket") sends it meanwhile. 1 when the claim is `reserva`'s now; 0 when the
// ticket already has its identifier, is not the business's, or another upload claimed it less
// than RESERVA_CARGA_SEGUNDOS ago; -1 on error.
inline constexpr int RESERVA_CARGA_SEGUNDOS = 120;
int reservaTicketParaCarga(int operacionID, int idNegocio, const QString& reserva,
                           const QDateTime& ahora, TConexionSesion& conexion,
                           QString* error = nullptr);
// Lets go of the claim when it is still `reserva`'s (an upload that failed).
void liberaReservaCarga(int operacionID, const QString& reserva, TConexionSesion& conexion);
