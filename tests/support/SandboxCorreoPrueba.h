#pragma once
// The mail sink for one test: the real pos-sandbox-correo on free loopback ports (SMTP and its
// HTTP control) with a data folder of its own, stopped with the object.

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include "support/SandboxProcesoPrueba.h"

class SandboxCorreoPrueba {
 public:
  // Extra arguments go to the program (--rechaza, --usuario/--contrasena, --limite-mensaje,
  // --inactividad...). False, with a test failure, when it does not report its ports.
  bool arranca(const QStringList& argumentos = {});
  void detiene() { uProceso.detiene(); }
  bool activo() const { return uProceso.activo(); }

  quint16 puertoSmtp() const { return uSmtp; }
  quint16 puertoControl() const { return uControl; }
  QString urlSmtp() const;     // smtp://127.0.0.1:<puertoSmtp>
  QString urlControl() const;  // http://127.0.0.1:<puertoControl>
  QString carpetaDatos() const { return uProceso.carpetaDatos(); }

  // GET /control/mensajes: every message received, oldest first.
  QJsonArray mensajes() const;
  // GET /control/mensajes/<id>: its summary plus "texto"; empty when unknown.
  QJsonObject mensaje(qint64 id) const;
  QByteArray eml(qint64 id) const;
  // The decoded bytes of the message's attachment number `n` (from 0).
  QByteArray adjunto(qint64 id, int n) const;
  // POST /control/rechazos: recipients matching any pattern get 550.
  bool rechaza(const QStringList& patrones) const;
  // POST /control/modo ("normal", "error" or "lento").
  bool modo(const QString& modo, int retrasoMs = -1) const;
  bool borraMensajes() const;

  RespuestaSandbox control(const QString& metodo, const QString& ruta,
                           const QByteArray& cuerpo = {}) const;

 private:
  SandboxProcesoPrueba uProceso;
  quint16 uSmtp = 0, uControl = 0;
};
