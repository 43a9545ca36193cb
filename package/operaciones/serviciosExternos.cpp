#include "operaciones/serviciosExternos.h"

#include "db/TmiddleTier.h"
#include "util/utilerias.h"

namespace {

bool guardaCredenciales(const QString& asignaciones, const QString& columnas,
                        const QString& valores, const QList<QPair<QString, QString>>& datos,
                        int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("INSERT INTO puntoServiciosExternosMercadoPago (idNegocioFk, %1) "
                             "VALUES (:negocio, %2) ON CONFLICT (idNegocioFk) DO UPDATE SET %3")
                  .arg(columnas, valores, asignaciones));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  for (const auto& [nombre, valor] : datos) mt.setString(nombre, valor);
  return mt.nonQuery() == 1;
}

}  // namespace

CmidTierResponse buscaServiciosExternosMercadoPago(int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT clienteID AS puntoServiciosExternosMercadoPago_clienteID, clienteSecret AS "
      "puntoServiciosExternosMercadoPago_clienteSecret, accessToken AS "
      "puntoServiciosExternosMercadoPago_accessToken, userID AS "
      "puntoServiciosExternosMercadoPago_userID, vigencia AS "
      "puntoServiciosExternosMercadoPago_vigencia, poi AS puntoServiciosExternosMercadoPago_poi "
      "FROM puntoServiciosExternosMercadoPago WHERE idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.reader();
}

bool actualizaTokenMercadoPago(const QString& accessToken, const QString& userID,
                               const QString& vigencia, int idNegocio, TConexionSesion& conexion) {
  return guardaCredenciales(
      QStringLiteral("accessToken = excluded.accessToken, userID = excluded.userID, "
                     "vigencia = excluded.vigencia"),
      QStringLiteral("accessToken, userID, vigencia"),
      QStringLiteral(":token, :usuario, :vigencia"),
      {{QStringLiteral("token"), accessToken},
       {QStringLiteral("usuario"), userID},
       {QStringLiteral("vigencia"), vigencia}},
      idNegocio, conexion);
}

bool buscaReferenciaExistente(const QString& pagoID, int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT COUNT(*) AS usados FROM puntoFormaPagoAplicada p INNER JOIN puntoOperacion o ON "
      "o.id = p.puntoOperacion_id WHERE o.idNegocioFk = :negocio AND p.referencia = :referencia"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setString(QStringLiteral("referencia"), pagoID);
  const CmidTierResponse r = mt.reader();
  if (!r.ok() || r.getRowCount() == 0) return true;
  return r.getCeldaAsInt(QStringLiteral("usados")) > 0;
}

// The credentials screen reads the same row; the token columns come along unused.
CmidTierResponse consultaMercadoPago(int idNegocio, TConexionSesion& conexion) {
  return buscaServiciosExternosMercadoPago(idNegocio, conexion);
}

bool actualizarOpcionesMercadoPago(const QString& clienteID, const QString& clienteSecret,
                                   const QString& poi, int idNegocio, TConexionSesion& conexion) {
  return guardaCredenciales(
      QStringLiteral("clienteID = excluded.clienteID, clienteSecret = excluded.clienteSecret, "
                     "poi = excluded.poi"),
      QStringLiteral("clienteID, clienteSecret, poi"), QStringLiteral(":cliente, :secreto, :poi"),
      {{QStringLiteral("cliente"), clienteID},
       {QStringLiteral("secreto"), clienteSecret},
       {QStringLiteral("poi"), poi}},
      idNegocio, conexion);
}

CmidTierResponse buscaPagosExternos(const QDateTime& inicio, const QDateTime& fin,
                                    const QVariant& monto, const QVariant& referencia,
                                    int idNegocio, TConexionSesion& conexion) {
  const QString montoTexto = monto.isNull() ? QString() : monto.toString();
  QString limpio = montoTexto.trimmed();
  limpio.remove(QLatin1Char(',')).remove(QLatin1Char('$')).remove(QLatin1Char(' '));
  const bool porImporte = !monto.isNull() && esNumerico(limpio);
  QString filtroMonto = QStringLiteral("1 = 1");
  if (porImporte)
    filtroMonto = QStringLiteral("ABS(p.importe - :importe) < 0.005");
  else if (!monto.isNull())
    filtroMonto = QStringLiteral("p.valor = :valor");
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
                  "SELECT p.id AS puntoFormaPagoAplicada_id, o.ticketNo AS "
                  "puntoOperacion_ticketNo, 'Mercado Pago' AS _servicioExterno, p.referencia AS "
                  "puntoFormaPagoAplicada_referencia, p.valor AS puntoFormaPagoAplicada_valor, "
                  "o.fechaHora AS puntoOperacion_fechaHora FROM puntoFormaPagoAplicada p INNER "
                  "JOIN puntoOperacion o ON o.id = p.puntoOperacion_id WHERE o.idNegocioFk = "
                  ":negocio AND p.servicioExterno = 1 AND o.fechaHora >= :inicio AND o.fechaHora "
                  "<= :fin AND %1 AND (:referencia IS NULL OR p.referencia LIKE :referencia) "
                  "ORDER BY o.fechaHora DESC, p.id DESC")
                  .arg(filtroMonto));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setDateTime(QStringLiteral("inicio"), inicio);
  mt.setDateTime(QStringLiteral("fin"), fin);
  if (porImporte) mt.setDouble(QStringLiteral("importe"), limpio.toDouble());
  if (!monto.isNull() && !porImporte) mt.setString(QStringLiteral("valor"), montoTexto);
  if (referencia.isNull())
    mt.setNull(QStringLiteral("referencia"));
  else
    mt.setString(QStringLiteral("referencia"), referencia.toString());
  return mt.reader();
}
