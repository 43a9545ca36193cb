#pragma once
// The service's behaviour as the control API sets it: answering normally, failing every call,
// or answering late. Shared by the sandboxes so that tests drive them all the same way.

#include <QJsonObject>
#include <QObject>
#include <QStringList>

#include "ServidorHttp.h"

class ModoServicio {
 public:
  static constexpr int RETRASO_MAXIMO_MS = 120000;

  // Applies {"modo": ..., "retrasoMs": N} when `modo` is one of `aceptados`; otherwise answers
  // the reason and changes nothing.
  QString cambia(const QJsonObject& cuerpo, const QStringList& aceptados);
  const QString& modo() const { return uModo; }
  bool es(const char* modo) const { return uModo == QLatin1String(modo); }
  int retrasoMs() const { return uRetrasoMs; }
  QJsonObject descripcion() const;

  // Sends the answer now, or after the delay when the mode is "lento". The server keeps
  // serving meanwhile; a client that has gone by then is skipped.
  void responde(const RespuestaHttp& respuesta, int estado, const QByteArray& cuerpo,
                QObject* contexto) const;
  void respondeJson(const RespuestaHttp& respuesta, int estado, const QJsonObject& cuerpo,
                    QObject* contexto) const;

 private:
  QString uModo = QStringLiteral("normal");
  int uRetrasoMs = 2000;
};
