#include "cargaTicket.h"

#include "db/TmiddleTier.h"

CmidTierResponse buscaOperacionParaCarga(int operacionID, int idNegocio,
                                         TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT id AS puntoOperacion_id, ticketNo AS puntoOperacion_ticketNo, "
      "fechaHora AS puntoOperacion_fechaHora, subtotal AS puntoOperacion_subtotal, "
      "descuento AS puntoOperacion_descuento, impuestos AS puntoOperacion_impuestos, "
      "total AS puntoOperacion_total, pago AS puntoOperacion_pago, "
      "devuelto AS puntoOperacion_devuelto, cajeroNombre AS puntoOperacion_cajeroNombre, "
      "uuid AS puntoOperacion_uuid, facturadoMetodo AS puntoOperacion_facturadoMetodo "
      "FROM puntoOperacion WHERE id = :id AND idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.reader();
}

CmidTierResponse buscaDetalleParaCarga(int operacionID, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT d.fila AS puntoOperacionDetalle_fila, d.cantidad AS puntoOperacionDetalle_cantidad, "
      "d.descripcion AS puntoOperacionDetalle_descripcion, d.clave AS puntoOperacionDetalle_clave, "
      "d.claveSATprodcutoServicio AS puntoOperacionDetalle_claveSATprodcutoServicio, "
      "d.unidadMedida AS puntoOperacionDetalle_unidadMedida, "
      "COALESCE(u.claveSAT33, '') AS inventarioUnidadesMedida_claveSAT33, "
      "d.precioUnitario AS puntoOperacionDetalle_precioUnitario, "
      "d.subtotal AS puntoOperacionDetalle_subtotal, "
      "d.descuento AS puntoOperacionDetalle_descuento, "
      "d.precioVenta AS puntoOperacionDetalle_precioVenta, d.precio AS "
      "puntoOperacionDetalle_precio, "
      "d.ivaT AS puntoOperacionDetalle_ivaT, d.ivaR AS puntoOperacionDetalle_ivaR, "
      "d.iepsT AS puntoOperacionDetalle_iepsT, d.iepsR AS puntoOperacionDetalle_iepsR, "
      "d.isrR AS puntoOperacionDetalle_isrR, d.ivaTbase AS puntoOperacionDetalle_ivaTbase, "
      "d.ivaRbase AS puntoOperacionDetalle_ivaRbase, "
      "d.iepsTbase AS puntoOperacionDetalle_iepsTbase, "
      "d.iepsRbase AS puntoOperacionDetalle_iepsRbase, "
      "d.isrRbase AS puntoOperacionDetalle_isrRbase, "
      "d.tipoInsercion AS puntoOperacionDetalle_tipoInsercion, "
      "d.cabecera AS puntoOperacionDetalle_cabecera "
      "FROM puntoOperacionDetalle d "
      "LEFT JOIN inventarioUnidadesMedida u ON u.ID = d.unidadesMedida_id "
      "WHERE d.puntoOperacion_id = :id ORDER BY d.fila, d.id"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  return mt.reader();
}

CmidTierResponse buscaPagosParaCarga(int operacionID, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT p.posicion AS puntoFormaPagoAplicada_posicion, "
      "p.nombre AS puntoFormaPagoAplicada_nombre, p.importe AS puntoFormaPagoAplicada_importe, "
      "p.referencia AS puntoFormaPagoAplicada_referencia, "
      "COALESCE(f.clave, '') AS formaPago_clave "
      "FROM puntoFormaPagoAplicada p LEFT JOIN formaPago f ON f.id = p.formaPago_id "
      "WHERE p.puntoOperacion_id = :id AND p.importe <> 0 ORDER BY p.posicion, p.id"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  return mt.reader();
}

int marcaTicketCargado(int operacionID, int idNegocio, const QString& identificador,
                       TConexionSesion& conexion, QString* error) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "UPDATE puntoOperacion SET uuid = :uuid, facturadoMetodo = CASE WHEN facturadoMetodo = '' "
      "THEN '3' ELSE facturadoMetodo END, cargaReserva = '' WHERE id = :id AND "
      "idNegocioFk = :negocio"));
  mt.setString(QStringLiteral("uuid"), identificador);
  mt.setInteger(QStringLiteral("id"), operacionID);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const int n = mt.nonQuery();
  if (n < 0 && error) *error = mt.ultimoError();
  return n;
}

int reservaTicketParaCarga(int operacionID, int idNegocio, const QString& reserva,
                           const QDateTime& ahora, TConexionSesion& conexion, QString* error) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "UPDATE puntoOperacion SET cargaReserva = :reserva, cargaReservaFecha = :ahora "
      "WHERE id = :id AND idNegocioFk = :negocio AND uuid = '' AND (cargaReserva = '' OR "
      "cargaReservaFecha IS NULL OR cargaReservaFecha < :caduca)"));
  mt.setString(QStringLiteral("reserva"), reserva);
  mt.setDateTime(QStringLiteral("ahora"), ahora);
  mt.setDateTime(QStringLiteral("caduca"), ahora.addSecs(-RESERVA_CARGA_SEGUNDOS));
  mt.setInteger(QStringLiteral("id"), operacionID);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const int n = mt.nonQuery();
  if (n < 0 && error) *error = mt.ultimoError();
  return n;
}

void liberaReservaCarga(int operacionID, const QString& reserva, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "UPDATE puntoOperacion SET cargaReserva = '' WHERE id = :id AND cargaReserva = :reserva"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  mt.setString(QStringLiteral("reserva"), reserva);
  mt.nonQuery();
}
