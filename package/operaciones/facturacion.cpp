#include "operaciones/facturacion.h"

#include "db/TmiddleTier.h"
#include "operaciones/transaccion.h"

CmidTierResponse buscaTicketParaFacturar(int operacionID, int idNegocio,
                                         TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT o.id AS puntoOperacion_id, o.ticketNo AS puntoOperacion_ticketNo, "
      "o.fechaHora AS puntoOperacion_fechaHora, o.subtotal AS puntoOperacion_subtotal, "
      "o.descuento AS puntoOperacion_descuento, o.impuestos AS puntoOperacion_impuestos, "
      "o.total AS puntoOperacion_total, o.uuid AS puntoOperacion_uuid, "
      "o.facturadoMetodo AS puntoOperacion_facturadoMetodo, "
      "o.facturadoFecha AS puntoOperacion_facturadoFecha, "
      "COALESCE((SELECT a.uuid FROM puntoOperacionAdicional a WHERE a.puntoOperacion_id = o.id "
      "ORDER BY a.id DESC LIMIT 1), '') AS puntoOperacionAdicional_uuid "
      "FROM puntoOperacion o WHERE o.id = :id AND o.idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.reader();
}

double consultaTicketTotal(int operacionID, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("SELECT total FROM puntoOperacion WHERE id = :id"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  return mt.scalar().toDouble();
}

CmidTierResponse consultaFormaPago(int operacionID, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT p.valor AS puntoFormaPagoAplicada_valor, p.importe AS "
      "puntoFormaPagoAplicada_importe, "
      "CASE WHEN p.posicion = 0 THEN 1 ELSE p.formaPago_id END AS formaPago_id, "
      "CASE WHEN p.posicion = 0 THEN '01' ELSE COALESCE(f.clave, '') END AS formaPago_clave "
      "FROM puntoFormaPagoAplicada p LEFT JOIN formaPago f ON f.id = p.formaPago_id "
      "WHERE p.puntoOperacion_id = :id AND p.importe <> 0 ORDER BY p.posicion, p.id"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  return mt.reader();
}

CmidTierResponse buscaReceptorPorRfc(const QString& rfc, int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT idReceptor AS Receptor_idReceptor, rfc AS Receptor_rfc, nombre AS Receptor_nombre, "
      "codigoPostal AS Receptor_codigoPostal, regimenFiscal AS Receptor_regimenFiscal, "
      "usoCFDI AS Receptor_usoCFDI, correo AS Receptor_correo "
      "FROM Receptor WHERE idNegocioFk = :negocio AND rfc = :rfc ORDER BY idReceptor LIMIT 1"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setString(QStringLiteral("rfc"), rfc.trimmed().toUpper());
  return mt.reader();
}

int guardaUUIDTicketFacturado(int operacionID, const QString& uuid, const QDateTime& fecha,
                              int estado, TConexionSesion& conexion, int receptorID,
                              const QString& soloDesde) {
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral("UPDATE puntoOperacion SET facturadoMetodo = :estado, facturadoFecha = :fecha "
                     "WHERE id = :id") +
      (soloDesde.isNull() ? QString() : QStringLiteral(" AND facturadoMetodo = :desde")));
  if (!soloDesde.isNull()) mt.setString(QStringLiteral("desde"), soloDesde);
  mt.setString(QStringLiteral("estado"), QString::number(estado));
  mt.setDateTime(QStringLiteral("fecha"), fecha);
  mt.setInteger(QStringLiteral("id"), operacionID);
  const int n = mt.nonQuery();
  if (n <= 0) return n;
  mt.setQuery(QStringLiteral(
      "INSERT INTO puntoOperacionAdicional (puntoOperacion_id, uuid, Receptor_idReceptor, fecha) "
      "SELECT :id, :uuid, :receptor, :fecha WHERE NOT EXISTS (SELECT 1 FROM "
      "puntoOperacionAdicional WHERE puntoOperacion_id = :id AND uuid = :uuid)"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  mt.setString(QStringLiteral("uuid"), uuid);
  if (receptorID > 0)
    mt.setInteger(QStringLiteral("receptor"), receptorID);
  else
    mt.setNull(QStringLiteral("receptor"), QMetaType::LongLong);
  mt.setDateTime(QStringLiteral("fecha"), fecha);
  return mt.nonQuery() < 0 ? -1 : n;
}

namespace {

// The receiver's id after creating it or bringing its data up to date; 0 on error.
int guardaReceptor(TmiddleTier& mt, int idNegocio, const TreceptorFactura& r) {
  const CmidTierResponse existente = buscaReceptorPorRfc(r.rfc, idNegocio, mt.conexion());
  if (!existente.ok()) return 0;
  if (existente.getRowCount() > 0) {
    const int id = existente.getCeldaAsInt(QStringLiteral("Receptor_idReceptor"));
    mt.setQuery(QStringLiteral(
        "UPDATE Receptor SET nombre = :nombre, codigoPostal = :cp, regimenFiscal = :regimen, "
        "usoCFDI = :uso, correo = :correo WHERE idReceptor = :id"));
    mt.setInteger(QStringLiteral("id"), id);
    mt.setString(QStringLiteral("nombre"), r.nombre);
    mt.setString(QStringLiteral("cp"), r.codigoPostal);
    mt.setString(QStringLiteral("regimen"), r.regimenFiscal);
    mt.setString(QStringLiteral("uso"), r.usoCFDI);
    mt.setString(QStringLiteral("correo"), r.correo);
    return mt.nonQuery() < 0 ? 0 : id;
  }
  mt.setQuery(QStringLiteral(
      "INSERT INTO Receptor (rfc, nombre, codigoPostal, regimenFiscal, usoCFDI, correo, "
      "idNegocioFk) VALUES (:rfc, :nombre, :cp, :regimen, :uso, :correo, :negocio) "
      "RETURNING idReceptor"));
  mt.setString(QStringLiteral("rfc"), r.rfc.trimmed().toUpper());
  mt.setString(QStringLiteral("nombre"), r.nombre);
  mt.setString(QStringLiteral("cp"), r.codigoPostal);
  mt.setString(QStringLiteral("regimen"), r.regimenFiscal);
  mt.setString(QStringLiteral("uso"), r.usoCFDI);
  mt.setString(QStringLiteral("correo"), r.correo);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.scalar().toInt();
}

}  // namespace

bool guardaFacturaTicket(int operacionID, int idNegocio, const QString& uuid,
                         const TreceptorFactura& receptor, const QDateTime& fecha,
                         TConexionSesion& conexion, QString* error) {
  const auto falla = [error](const QString& texto) {
    if (error) *error = texto;
    return false;
  };
  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) return falla(mt.ultimoError());
  const CmidTierResponse ticket = buscaTicketParaFacturar(operacionID, idNegocio, conexion);
  if (!ticket.ok()) return falla(ticket.getError());
  if (ticket.getRowCount() == 0)
    return falla(QStringLiteral("No se encontró el ticket de la operación %1").arg(operacionID));

  mt.setQuery(QStringLiteral(
      "SELECT COUNT(*) FROM Comprobante WHERE idNegocioFk = :negocio AND uuid = :uuid"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setString(QStringLiteral("uuid"), uuid);
  const QVariant yaGuardado = mt.scalar();
  if (!yaGuardado.isValid()) return falla(mt.ultimoError());
  if (yaGuardado.toInt() > 0) return true;

  const int receptorID = guardaReceptor(mt, idNegocio, receptor);
  if (receptorID <= 0)
    return falla(QStringLiteral("No se pudo guardar el receptor: ") + mt.ultimoError());
  if (guardaUUIDTicketFacturado(operacionID, uuid, fecha, 2, conexion, receptorID) != 1)
    return falla(QStringLiteral("No se pudo marcar el ticket como facturado"));

  mt.setQuery(QStringLiteral(
      "INSERT INTO Comprobante (uuid, tipoDocumento, fecha, puntoOperacion_id, "
      "Receptor_idReceptor, subtotal, descuento, total, idNegocioFk) VALUES (:uuid, 'FAC', "
      ":fecha, :id, :receptor, :subtotal, :descuento, :total, :negocio)"));
  mt.setString(QStringLiteral("uuid"), uuid);
  mt.setDateTime(QStringLiteral("fecha"), fecha);
  mt.setInteger(QStringLiteral("id"), operacionID);
  mt.setInteger(QStringLiteral("receptor"), receptorID);
  mt.setDouble(QStringLiteral("subtotal"),
               ticket.getCeldaAsFloat(QStringLiteral("puntoOperacion_subtotal")));
  mt.setDouble(QStringLiteral("descuento"),
               ticket.getCeldaAsFloat(QStringLiteral("puntoOperacion_descuento")));
  mt.setDouble(QStringLiteral("total"),
               ticket.getCeldaAsFloat(QStringLiteral("puntoOperacion_total")));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (mt.nonQuery() < 0) return falla(mt.ultimoError());
  if (!tx.termina()) return falla(mt.ultimoError());
  return true;
}

bool guardaComprobante(int idNegocio, const TcomprobanteEmitido& c, TConexionSesion& conexion,
                       QString* error) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "INSERT INTO Comprobante (uuid, tipoDocumento, fecha, puntoOperacion_id, uuidRelacionado, "
      "Receptor_idReceptor, subtotal, descuento, total, idNegocioFk) SELECT :uuid, :tipo, :fecha, "
      ":operacion, :relacionado, :receptor, :subtotal, :descuento, :total, :negocio WHERE NOT "
      "EXISTS (SELECT 1 FROM Comprobante WHERE idNegocioFk = :negocio AND uuid = :uuid)"));
  mt.setString(QStringLiteral("uuid"), c.uuid);
  mt.setString(QStringLiteral("tipo"), c.tipoDocumento);
  mt.setDateTime(QStringLiteral("fecha"), c.fecha);
  if (c.operacionID > 0)
    mt.setInteger(QStringLiteral("operacion"), c.operacionID);
  else
    mt.setNull(QStringLiteral("operacion"), QMetaType::LongLong);
  mt.setString(QStringLiteral("relacionado"), c.uuidRelacionado);
  if (c.receptorID > 0)
    mt.setInteger(QStringLiteral("receptor"), c.receptorID);
  else
    mt.setNull(QStringLiteral("receptor"), QMetaType::LongLong);
  mt.setDouble(QStringLiteral("subtotal"), c.subtotal);
  mt.setDouble(QStringLiteral("descuento"), c.descuento);
  mt.setDouble(QStringLiteral("total"), c.total);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (mt.nonQuery() >= 0) return true;
  if (error) *error = mt.ultimoError();
  return false;
}

QString buscaCorreoReceptorFactura(int operacionID, const QString& uuid,
                                   TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT r.correo FROM puntoOperacionAdicional a INNER JOIN Receptor r ON r.idReceptor = "
      "a.Receptor_idReceptor WHERE a.puntoOperacion_id = :id AND a.uuid = :uuid "
      "ORDER BY a.id DESC LIMIT 1"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  mt.setString(QStringLiteral("uuid"), uuid.trimmed());
  return mt.scalar().toString().trimmed();
}
