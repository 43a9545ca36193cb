#include "SandboxMercadoPagoPrueba.h"

#include <QJsonDocument>
#include <QSslCertificate>
#include <QUrlQuery>

bool SandboxMercadoPagoPrueba::arranca(const QStringList& argumentos) {
  const QList<quint16> puertos =
      uProceso.arranca(QStringLiteral("pos-sandbox-mercadopago"),
                       QStringList{QStringLiteral("--ca-salida"), archivoCa()} + argumentos);
  uApi = puertos.value(0);
  uPoint = puertos.value(1);
  uControl = puertos.value(2);
  return uApi != 0 && uPoint != 0 && uControl != 0;
}

QString SandboxMercadoPagoPrueba::urlApi() const {
  return QStringLiteral("https://127.0.0.1:%1").arg(uApi);
}

QString SandboxMercadoPagoPrueba::urlPoint() const {
  return QStringLiteral("https://127.0.0.1:%1").arg(uPoint);
}

QString SandboxMercadoPagoPrueba::urlControl() const {
  return QStringLiteral("http://127.0.0.1:%1").arg(uControl);
}

QString SandboxMercadoPagoPrueba::archivoCa() const {
  return uProceso.carpetaDatos() + QStringLiteral("/ca-mercadopago.pem");
}

QSslConfiguration SandboxMercadoPagoPrueba::configuracionSsl() const {
  QSslConfiguration c = QSslConfiguration::defaultConfiguration();
  c.setCaCertificates(QSslCertificate::fromPath(archivoCa()));
  return c;
}

RespuestaSandbox SandboxMercadoPagoPrueba::https(
    const QString& metodo, const QString& url, const QByteArray& cuerpo,
    const QList<QPair<QByteArray, QByteArray>>& encabezados, int tiempoMs) const {
  return llamaHttp(metodo, QUrl(url), cuerpo, encabezados, tiempoMs, configuracionSsl());
}

RespuestaSandbox SandboxMercadoPagoPrueba::control(const QString& metodo, const QString& ruta,
                                                   const QJsonObject& cuerpo) const {
  return llamaHttp(metodo, QUrl(urlControl() + ruta),
                   cuerpo.isEmpty() ? QByteArray() : QJsonDocument(cuerpo).toJson());
}

QJsonObject SandboxMercadoPagoPrueba::agregaPago(const QJsonObject& datos) const {
  return control(QStringLiteral("POST"), QStringLiteral("/control/pagos"), datos)
      .cuerpo.value(QStringLiteral("pago"))
      .toObject();
}

QJsonArray SandboxMercadoPagoPrueba::pagos() const {
  return control(QStringLiteral("GET"), QStringLiteral("/control/pagos"))
      .cuerpo.value(QStringLiteral("pagos"))
      .toArray();
}

int SandboxMercadoPagoPrueba::expiraTokens() const {
  return control(QStringLiteral("POST"), QStringLiteral("/control/tokens/expira"))
      .cuerpo.value(QStringLiteral("expirados"))
      .toInt(-1);
}

QJsonArray SandboxMercadoPagoPrueba::tokens() const {
  return control(QStringLiteral("GET"), QStringLiteral("/control/tokens"))
      .cuerpo.value(QStringLiteral("tokens"))
      .toArray();
}

bool SandboxMercadoPagoPrueba::modo(const QString& modo, int retrasoMs,
                                    const QStringList& llamadas) const {
  QJsonObject cuerpo{{QStringLiteral("modo"), modo}};
  if (retrasoMs >= 0) cuerpo.insert(QStringLiteral("retrasoMs"), retrasoMs);
  if (!llamadas.isEmpty())
    cuerpo.insert(QStringLiteral("llamadas"), QJsonArray::fromStringList(llamadas));
  return control(QStringLiteral("POST"), QStringLiteral("/control/modo"), cuerpo).estado == 200;
}

QJsonArray SandboxMercadoPagoPrueba::peticiones() const {
  return control(QStringLiteral("GET"), QStringLiteral("/control/peticiones"))
      .cuerpo.value(QStringLiteral("peticiones"))
      .toArray();
}

bool SandboxMercadoPagoPrueba::borraPeticiones() const {
  return control(QStringLiteral("DELETE"), QStringLiteral("/control/peticiones")).estado == 200;
}

QString SandboxMercadoPagoPrueba::token(const QString& clienteId, const QString& secreto) const {
  QUrlQuery q;
  q.addQueryItem(QStringLiteral("grant_type"), QStringLiteral("client_credentials"));
  q.addQueryItem(QStringLiteral("client_id"), clienteId);
  q.addQueryItem(QStringLiteral("client_secret"), secreto);
  return https(QStringLiteral("POST"),
               urlApi() + QStringLiteral("/oauth/token?") + q.toString(QUrl::FullyEncoded))
      .cuerpo.value(QStringLiteral("access_token"))
      .toString();
}
