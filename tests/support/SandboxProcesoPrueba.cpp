#include "SandboxProcesoPrueba.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

RespuestaSandbox llamaHttp(const QString& metodo, const QUrl& url, const QByteArray& cuerpo,
                           const QList<QPair<QByteArray, QByteArray>>& encabezados, int tiempoMs,
                           const std::optional<QSslConfiguration>& ssl) {
  QNetworkAccessManager red;
  QNetworkRequest peticion(url);
  if (!cuerpo.isEmpty())
    peticion.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
  for (const auto& [nombre, valor] : encabezados) peticion.setRawHeader(nombre, valor);
  if (ssl) peticion.setSslConfiguration(*ssl);
  std::unique_ptr<QNetworkReply> r(red.sendCustomRequest(peticion, metodo.toLatin1(), cuerpo));
  QEventLoop bucle;
  QTimer::singleShot(tiempoMs, &bucle, [&r] { r->abort(); });
  QObject::connect(r.get(), &QNetworkReply::finished, &bucle, &QEventLoop::quit);
  if (!r->isFinished()) bucle.exec();
  RespuestaSandbox respuesta;
  respuesta.estado = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (r->error() != QNetworkReply::NoError && respuesta.estado == 0)
    respuesta.error = r->errorString();
  if (r->isOpen()) respuesta.crudo = r->readAll();
  respuesta.cuerpo = QJsonDocument::fromJson(respuesta.crudo).object();
  return respuesta;
}

SandboxProcesoPrueba::~SandboxProcesoPrueba() { detiene(); }

QString SandboxProcesoPrueba::ruta(const QString& programa) {
  return QStringLiteral(POS_BINARIOS) + QLatin1Char('/') + programa;
}

QList<quint16> SandboxProcesoPrueba::arranca(const QString& programa,
                                             const QStringList& argumentos) {
  detiene();
  uProceso = std::make_unique<QProcess>();
  // Its log lines go to the test's own output, where a failing run shows them.
  uProceso->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  uProceso->start(ruta(programa), argumentos);
  const QDeadlineTimer limite(10000);
  while (!uProceso->canReadLine() && uProceso->state() != QProcess::NotRunning &&
         !limite.hasExpired())
    uProceso->waitForReadyRead(100);
  const QString linea = QString::fromUtf8(uProceso->readLine()).trimmed();
  QList<quint16> puertos;
  if (linea.startsWith(QLatin1String("ESCUCHANDO ")))
    for (const QString& p : linea.mid(11).split(QLatin1Char(' '), Qt::SkipEmptyParts))
      puertos << static_cast<quint16>(p.toUInt());
  if (puertos.isEmpty() || puertos.contains(0)) {
    ADD_FAILURE() << programa.toStdString() << " no informó sus puertos: '" << linea.toStdString()
                  << "'";
    detiene();
    return {};
  }
  return puertos;
}

void SandboxProcesoPrueba::detiene() {
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

bool SandboxProcesoPrueba::activo() const {
  return uProceso && uProceso->state() == QProcess::Running;
}
