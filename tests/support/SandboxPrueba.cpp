#include "SandboxPrueba.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include "context/TsistemaDatos.h"

namespace {

SandboxPrueba::Respuesta llama(const QString& metodo, const QUrl& url, const QByteArray& cuerpo,
                               int tiempoMs) {
  QNetworkAccessManager red;
  QNetworkRequest peticion(url);
  peticion.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
  std::unique_ptr<QNetworkReply> r(metodo == QLatin1String("GET") ? red.get(peticion)
                                                                  : red.post(peticion, cuerpo));
  QEventLoop bucle;
  QTimer::singleShot(tiempoMs, &bucle, [&r] { r->abort(); });
  QObject::connect(r.get(), &QNetworkReply::finished, &bucle, &QEventLoop::quit);
  if (!r->isFinished()) bucle.exec();
  SandboxPrueba::Respuesta respuesta;
  respuesta.estado = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (r->isOpen()) respuesta.cuerpo = QJsonDocument::fromJson(r->readAll()).object();
  return respuesta;
}

}  // namespace

SandboxPrueba::~SandboxPrueba() { detiene(); }

QString SandboxPrueba::ejecutable() {
  return QStringLiteral(POS_BINARIOS) + QStringLiteral("/pos-sandbox-facturacion");
}

bool SandboxPrueba::arranca(const QStringList& argumentos) {
  detiene();
  uProceso = std::make_unique<QProcess>();
  // Its log lines go to the test's own output, where a failing run shows them.
  uProceso->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  uProceso->start(ejecutable(), QStringList{QStringLiteral("--puerto"), QStringLiteral("0"),
                                            QStringLiteral("--datos"), uDatos.path()} +
                                    argumentos);
  const QDeadlineTimer limite(10000);
  while (!uProceso->canReadLine() && uProceso->state() != QProcess::NotRunning &&
         !limite.hasExpired())
    uProceso->waitForReadyRead(100);
  const QString linea = QString::fromUtf8(uProceso->readLine()).trimmed();
  if (!linea.startsWith(QLatin1String("ESCUCHANDO "))) {
    ADD_FAILURE() << "el sandbox no informó su puerto: '" << linea.toStdString() << "'";
    detiene();
    return false;
  }
  uPuerto = static_cast<quint16>(linea.mid(11).toUInt());
  return uPuerto != 0;
}

void SandboxPrueba::detiene() {
  if (!uProceso) return;
  if (uProceso->state() != QProcess::NotRunning) {
    uProceso->terminate();
    if (!uProceso->waitForFinished(3000)) {
      uProceso->kill();
      uProceso->waitForFinished(3000);
    }
  }
  uProceso.reset();
}

bool SandboxPrueba::activo() const { return uProceso && uProceso->state() == QProcess::Running; }

QString SandboxPrueba::url() const { return QStringLiteral("http://127.0.0.1:%1").arg(uPuerto); }

SandboxPrueba::Respuesta SandboxPrueba::post(const QString& ruta, const QByteArray& cuerpo,
                                             int tiempoMs) const {
  return llama(QStringLiteral("POST"), QUrl(url() + ruta), cuerpo, tiempoMs);
}

SandboxPrueba::Respuesta SandboxPrueba::post(const QString& ruta, const QJsonObject& cuerpo,
                                             int tiempoMs) const {
  return post(ruta, QJsonDocument(cuerpo).toJson(QJsonDocument::Compact), tiempoMs);
}

SandboxPrueba::Respuesta SandboxPrueba::get(const QString& ruta, int tiempoMs) const {
  return llama(QStringLiteral("GET"), QUrl(url() + ruta), {}, tiempoMs);
}

bool SandboxPrueba::modo(const QString& modo, int retrasoMs) const {
  QJsonObject cuerpo{{QStringLiteral("modo"), modo}};
  if (retrasoMs >= 0) cuerpo.insert(QStringLiteral("retrasoMs"), retrasoMs);
  return post(QStringLiteral("/control/modo"), cuerpo).estado == 200;
}

QJsonArray SandboxPrueba::tickets() const {
  return get(QStringLiteral("/control/tickets")).cuerpo.value(QStringLiteral("tickets")).toArray();
}

QJsonArray SandboxPrueba::facturas() const {
  return get(QStringLiteral("/control/facturas"))
      .cuerpo.value(QStringLiteral("facturas"))
      .toArray();
}

bool SandboxPrueba::arrancaParaTienda() {
  if (!arranca({"--usuario", "tienda", "--cuenta", "cuenta1", "--contrasena", "x"})) return false;
  localSYS.urlFacturacion = url();
  return true;
}
