#include "SandboxCorreoPrueba.h"

#include <QJsonDocument>

bool SandboxCorreoPrueba::arranca(const QStringList& argumentos) {
  const QList<quint16> puertos = uProceso.arranca(
      QStringLiteral("pos-sandbox-correo"),
      QStringList{QStringLiteral("--datos"), uProceso.carpetaDatos()} + argumentos);
  uSmtp = puertos.value(0);
  uControl = puertos.value(1);
  return uSmtp != 0 && uControl != 0;
}

QString SandboxCorreoPrueba::urlSmtp() const {
  return QStringLiteral("smtp://127.0.0.1:%1").arg(uSmtp);
}

QString SandboxCorreoPrueba::urlControl() const {
  return QStringLiteral("http://127.0.0.1:%1").arg(uControl);
}

RespuestaSandbox SandboxCorreoPrueba::control(const QString& metodo, const QString& ruta,
                                              const QByteArray& cuerpo) const {
  return llamaHttp(metodo, QUrl(urlControl() + ruta), cuerpo);
}

QJsonArray SandboxCorreoPrueba::mensajes() const {
  return control(QStringLiteral("GET"), QStringLiteral("/control/mensajes"))
      .cuerpo.value(QStringLiteral("mensajes"))
      .toArray();
}

QJsonObject SandboxCorreoPrueba::mensaje(qint64 id) const {
  const RespuestaSandbox r =
      control(QStringLiteral("GET"), QStringLiteral("/control/mensajes/%1").arg(id));
  return r.estado == 200 ? r.cuerpo : QJsonObject();
}

QByteArray SandboxCorreoPrueba::eml(qint64 id) const {
  return control(QStringLiteral("GET"), QStringLiteral("/control/mensajes/%1/eml").arg(id)).crudo;
}

QByteArray SandboxCorreoPrueba::adjunto(qint64 id, int n) const {
  const RespuestaSandbox r = control(
      QStringLiteral("GET"), QStringLiteral("/control/mensajes/%1/adjuntos/%2").arg(id).arg(n));
  return r.estado == 200 ? r.crudo : QByteArray();
}

bool SandboxCorreoPrueba::rechaza(const QStringList& patrones) const {
  const QJsonObject cuerpo{{QStringLiteral("patrones"), QJsonArray::fromStringList(patrones)}};
  return control(QStringLiteral("POST"), QStringLiteral("/control/rechazos"),
                 QJsonDocument(cuerpo).toJson())
             .estado == 200;
}

bool SandboxCorreoPrueba::modo(const QString& modo, int retrasoMs) const {
  QJsonObject cuerpo{{QStringLiteral("modo"), modo}};
  if (retrasoMs >= 0) cuerpo.insert(QStringLiteral("retrasoMs"), retrasoMs);
  return control(QStringLiteral("POST"), QStringLiteral("/control/modo"),
                 QJsonDocument(cuerpo).toJson())
             .estado == 200;
}

bool SandboxCorreoPrueba::borraMensajes() const {
  return control(QStringLiteral("DELETE"), QStringLiteral("/control/mensajes")).estado == 200;
}
