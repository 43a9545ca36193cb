#include "ModoServicio.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <QTimer>

QString ModoServicio::cambia(const QJsonObject& cuerpo, const QStringList& aceptados) {
  const QString modo = cuerpo.value(QStringLiteral("modo")).toString();
  if (!aceptados.contains(modo)) {
    QStringList citados;
    for (const QString& m : aceptados) citados << QLatin1Char('"') + m + QLatin1Char('"');
    const QString lista = citados.size() > 1
                              ? citados.mid(0, citados.size() - 1).join(QStringLiteral(", ")) +
                                    QStringLiteral(" o ") + citados.last()
                              : citados.value(0);
    return QStringLiteral("El modo debe ser %1").arg(lista);
  }
  const QJsonValue retraso = cuerpo.value(QStringLiteral("retrasoMs"));
  if (!retraso.isUndefined() &&
      (!retraso.isDouble() || retraso.toDouble() < 0 || retraso.toDouble() > RETRASO_MAXIMO_MS))
    return QStringLiteral("El retraso debe ser un número de milisegundos entre 0 y %1")
        .arg(RETRASO_MAXIMO_MS);
  uModo = modo;
  if (!retraso.isUndefined()) uRetrasoMs = retraso.toInt();
  return {};
}

QJsonObject ModoServicio::descripcion() const {
  return {{QStringLiteral("ok"), true},
          {QStringLiteral("modo"), uModo},
          {QStringLiteral("retrasoMs"), uRetrasoMs}};
}

void ModoServicio::responde(const RespuestaHttp& respuesta, int estado, const QByteArray& cuerpo,
                            QObject* contexto) const {
  if (uModo != QLatin1String("lento")) {
    respuesta.envia(estado, cuerpo);
    return;
  }
  QTimer::singleShot(uRetrasoMs, contexto,
                     [respuesta, estado, cuerpo] { respuesta.envia(estado, cuerpo); });
}

void ModoServicio::respondeJson(const RespuestaHttp& respuesta, int estado,
                                const QJsonObject& cuerpo, QObject* contexto) const {
  responde(respuesta, estado, QJsonDocument(cuerpo).toJson(QJsonDocument::Compact), contexto);
}
