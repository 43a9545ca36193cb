#include "workers/clienteHttp.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>
#include <algorithm>
#include <memory>
#if QT_CONFIG(ssl)
#include <QSslConfiguration>
#endif

namespace {

// A thread that keeps its manager reuses its open connections (and, over HTTPS, their TLS
// sessions) between calls; a new manager also starts a thread of its own for HTTP. The manager
// goes with its thread.
thread_local bool tConservaRed = false;
thread_local std::unique_ptr<QNetworkAccessManager> tRed;

TrespuestaHttp llama(const QByteArray& metodo, const QUrl& url, const QByteArray& cuerpo,
                     const TencabezadosHttp& encabezados, int tiempoEsperaMs) {
  std::unique_ptr<QNetworkAccessManager> propia;
  if (!tConservaRed) {
    propia = std::make_unique<QNetworkAccessManager>();
  } else if (!tRed) {
    tRed = std::make_unique<QNetworkAccessManager>();
  }
  QNetworkAccessManager& red = propia ? *propia : *tRed;
  QNetworkRequest peticion(url);
  if (metodo == "POST")
    peticion.setHeader(QNetworkRequest::ContentTypeHeader,
                       QByteArrayLiteral("application/json; charset=utf-8"));
  peticion.setRawHeader(QByteArrayLiteral("Accept"), QByteArrayLiteral("application/json"));
  for (const auto& [nombre, valor] : encabezados) peticion.setRawHeader(nombre, valor);
#if QT_CONFIG(ssl)
  if (url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    peticion.setSslConfiguration(tls);
  }
#endif
  std::unique_ptr<QNetworkReply> respuesta(metodo == "POST" ? red.post(peticion, cuerpo)
                                                            : red.get(peticion));
  QEventLoop bucle;
  QTimer reloj;
  reloj.setSingleShot(true);
  bool expiro = false;
  QObject::connect(&reloj, &QTimer::timeout, &bucle, [&expiro, &respuesta] {
    expiro = true;
    respuesta->abort();
  });
  QObject::connect(respuesta.get(), &QNetworkReply::finished, &bucle, &QEventLoop::quit);
  reloj.start(tiempoEsperaMs > 0 ? tiempoEsperaMs : 8000);
  if (!respuesta->isFinished()) bucle.exec();
  reloj.stop();

  TrespuestaHttp r;
  r.expiro = expiro;
  r.error = respuesta->error();
  if (!expiro) {
    r.estado = respuesta->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.cuerpo = respuesta->readAll();
  }
  return r;
}

}  // namespace

void u_conservaRedEnEsteHilo() { tConservaRed = true; }

TrespuestaHttp u_enviaPostJson(const QUrl& url, const QByteArray& cuerpo, int tiempoEsperaMs,
                               const TencabezadosHttp& encabezados) {
  return llama(QByteArrayLiteral("POST"), url, cuerpo, encabezados, tiempoEsperaMs);
}

TrespuestaHttp u_enviaGet(const QUrl& url, const TencabezadosHttp& encabezados,
                          int tiempoEsperaMs) {
  return llama(QByteArrayLiteral("GET"), url, {}, encabezados, tiempoEsperaMs);
}

QUrl u_urlServicio(const QString& urlBase, const QString& ruta) {
  QUrl url(urlBase.trimmed(), QUrl::StrictMode);
  const QString esquema = url.scheme().toLower();
  if (!url.isValid() || url.host().isEmpty() ||
      (esquema != QLatin1String("http") && esquema != QLatin1String("https")))
    return QUrl();
  QString camino = url.path();
  while (camino.endsWith(QLatin1Char('/'))) camino.chop(1);
  url.setPath(camino + ruta);
  url.setQuery(QString());
  url.setFragment(QString());
  return url;
}

QString u_mensajeDelServicio(const QByteArray& cuerpo) {
  return QJsonDocument::fromJson(cuerpo)
      .object()
      .value(QStringLiteral("mensaje"))
      .toString()
      .trimmed();
}

QString u_mensajeDeFallo(int estadoHttp, const QByteArray& cuerpo,
                         std::initializer_list<int> rechazos, const QString& rechazo,
                         const QString& fallo) {
  if (estadoHttp == 401 || estadoHttp == 403)
    return QStringLiteral(
        "El servicio de facturación rechazó el usuario, la cuenta o la contraseña del usuario en "
        "línea");
  QString mensaje = std::find(rechazos.begin(), rechazos.end(), estadoHttp) != rechazos.end()
                        ? rechazo
                        : fallo.arg(estadoHttp);
  const QString delServicio = u_mensajeDelServicio(cuerpo);
  if (!delServicio.isEmpty()) mensaje += QStringLiteral(": ") + delServicio;
  return mensaje;
}
