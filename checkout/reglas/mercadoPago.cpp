#include "checkout/reglas/mercadoPago.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "checkout/reglas/cobro.h"
#include "util/utilerias.h"

namespace {

// Query values are percent-encoded by hand: the API reads "+" as a blank, and Qt would leave it.
QUrl conConsulta(const QString& base, const QString& ruta,
                 const QList<QPair<QString, QString>>& parametros) {
  QUrl url(base.trimmed());
  QString camino = url.path();
  while (camino.endsWith(QLatin1Char('/'))) camino.chop(1);
  url.setPath(camino + ruta);
  QStringList partes;
  for (const auto& [nombre, valor] : parametros)
    partes << QString::fromLatin1(QUrl::toPercentEncoding(nombre) + '=' +
                                  QUrl::toPercentEncoding(valor));
  url.setQuery(partes.join(QLatin1Char('&')), QUrl::StrictMode);
  return url;
}

// A JSON id or user id: a number as its digits, or a text as it stands.
QString textoId(const QJsonValue& v) {
  if (v.isDouble()) return QString::number(static_cast<qint64>(v.toDouble()));
  return v.toString();
}

}  // namespace

namespace mercadoPago {

bool validaAccessToken(const TDatosMercado& d, const QDateTime& ahora) {
  if (d.accessToken.isEmpty() || d.userID.isEmpty() || d.vigencia.isEmpty()) return false;
  const QDateTime obtenido = u_leeFechaHora(d.vigencia);
  if (!obtenido.isValid()) return false;
  const qint64 minutos = obtenido.secsTo(ahora) / 60;
  return minutos >= 0 && minutos < kMinutosVigencia;
}

QString vigenciaTexto(const QDateTime& momento) { return u_fechaHoraTexto(momento); }

QStringList rangos() {
  return {QStringLiteral("1 Hora"), QStringLiteral("1 Día"), QStringLiteral("1 Semana"),
          QStringLiteral("1 Mes")};
}

QString inicioRango(const QString& rango) {
  if (rango == QStringLiteral("1 Día")) return QStringLiteral("NOW-1DAY");
  if (rango == QStringLiteral("1 Semana")) return QStringLiteral("NOW-6DAYS");
  if (rango == QStringLiteral("1 Mes")) return QStringLiteral("NOW-1MONTH");
  return QStringLiteral("NOW-1HOUR");
}

QUrl urlToken(const QString& urlApi, const QString& clienteId, const QString& clienteSecret) {
  return conConsulta(urlApi, QStringLiteral("/oauth/token"),
                     {{QStringLiteral("grant_type"), QStringLiteral("client_credentials")},
                      {QStringLiteral("client_id"), clienteId},
                      {QStringLiteral("client_secret"), clienteSecret}});
}

QUrl urlBusqueda(const QString& urlApi, const QString& accessToken, const QString& inicio) {
  return conConsulta(urlApi, QStringLiteral("/v1/payments/search"),
                     {{QStringLiteral("access_token"), accessToken},
                      {QStringLiteral("status"), QStringLiteral("approved")},
                      {QStringLiteral("range"), QStringLiteral("date_created")},
                      {QStringLiteral("begin_date"), inicio},
                      {QStringLiteral("end_date"), QStringLiteral("NOW")}});
}

QUrl urlPOI(const QString& urlPoint, const QString& accessToken, const QString& pagoId) {
  return conConsulta(urlPoint, QStringLiteral("/point/services/payment/") + pagoId,
                     {{QStringLiteral("access_token"), accessToken},
                      {QStringLiteral("status"), QStringLiteral("approved")}});
}

TTokenMercado leeToken(const QByteArray& cuerpo) {
  TTokenMercado t;
  const QJsonObject o = QJsonDocument::fromJson(cuerpo).object();
  t.accessToken = o.value(QStringLiteral("access_token")).toString();
  if (t.accessToken.isEmpty()) {
    t.bitacora << QStringLiteral("No se encontro token en respuesta(rest)");
    return t;
  }
  t.bitacora << QStringLiteral("Se encontro token ");
  t.userID = textoId(o.value(QStringLiteral("user_id")));
  if (t.userID.isEmpty()) {
    t.bitacora << QStringLiteral("No se encontro userID en respuesta(rest)");
    return t;
  }
  t.bitacora << QStringLiteral("Se encontro userID ");
  t.ok = true;
  return t;
}

bool leePagos(const QByteArray& cuerpo, QList<TPagoMercado>* pagos) {
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(cuerpo, &error);
  if (error.error != QJsonParseError::NoError || !doc.isObject()) return false;
  const QJsonValue resultados = doc.object().value(QStringLiteral("results"));
  if (!resultados.isArray()) return false;
  pagos->clear();
  for (const QJsonValue& v : resultados.toArray()) {
    const QJsonObject r = v.toObject();
    const QJsonObject tarjeta = r.value(QStringLiteral("card")).toObject();
    TPagoMercado p;
    p.id = textoId(r.value(QStringLiteral("id")));
    p.fecha = r.value(QStringLiteral("date_approved"))
                  .toString()
                  .left(19)
                  .replace(QLatin1Char('T'), QLatin1Char(' '));
    p.importe = r.value(QStringLiteral("transaction_amount")).toDouble();
    p.monto = u_floatToStr(p.importe);
    p.tarjeta = tarjeta.value(QStringLiteral("first_six_digits")).toString() +
                QStringLiteral("  ....  ") +
                tarjeta.value(QStringLiteral("last_four_digits")).toString();
    p.nombre = tarjeta.value(QStringLiteral("cardholder"))
                   .toObject()
                   .value(QStringLiteral("name"))
                   .toString();
    p.concepto = r.value(QStringLiteral("external_reference")).toString();
    *pagos << p;
  }
  return true;
}

QString leePOI(const QByteArray& cuerpo) {
  return QJsonDocument::fromJson(cuerpo).object().value(QStringLiteral("poi")).toString();
}

bool montoCoincide(const QString& filtro, double importe) {
  if (filtro.trimmed().isEmpty()) return true;
  return TCobro::monto(filtro) == importe;
}

QList<TPagoMercado> filtraPagos(const QList<TPagoMercado>& pagos, const QString& monto,
                                const QString& poi,
                                const std::function<bool(const QString&)>& referenciaUsada,
                                const std::function<QString(const QString&)>& buscaPOIid) {
  QList<TPagoMercado> quedan;
  for (TPagoMercado p : pagos) {
    if (!montoCoincide(monto, p.importe)) continue;
    if (referenciaUsada(p.id)) continue;
    p.poi = buscaPOIid(p.id);
    if (p.poi != poi) continue;
    quedan << p;
  }
  return quedan;
}

QString detallePago(const TConsultaAbono& a) {
  return QStringLiteral("Nombre: ") + a.nombre + QStringLiteral("\r\nTarjeta: ") + a.tarjeta +
         QStringLiteral("\r\nMonto: ") + u_floatToStr(a.monto) + QStringLiteral("\r\nConcepto: ") +
         a.concepto;
}

const char* const kConfiguracionIncompleta =
    "¡La configuración para acceder a los servicios de Mercado Pago esta incompleta!\r\n"
    "Puede realizar la configuración en el módulo de Administracion/Formas de Pago, opción "
    "'Servicios Externos'.";
const char* const kErrorDatos = "Ocurrió un inconveniente al obtener los datos.";

bool configuracionCompleta(const TDatosMercado& d) {
  return !d.clienteID.isEmpty() && !d.clienteSecret.isEmpty() && !d.poi.isEmpty();
}

QString sinSecretos(QString texto, const QStringList& secretos) {
  for (const QString& s : secretos) {
    if (s.isEmpty()) continue;
    texto.replace(s, QStringLiteral("***"));
    texto.replace(QString::fromLatin1(QUrl::toPercentEncoding(s)), QStringLiteral("***"));
  }
  return texto;
}

}  // namespace mercadoPago
