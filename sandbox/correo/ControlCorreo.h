#pragma once
// The mail sink's control API (plain HTTP on its own port): what was received, the raw
// messages and their attachments, the refusal patterns and the service mode.

#include <QObject>

#include "ServidorHttp.h"
#include "ServidorSmtp.h"

class ControlCorreo : public QObject {
 public:
  ControlCorreo(ServidorSmtp& smtp, const ServidorHttp::Opciones& opciones,
                QObject* parent = nullptr);
  quint16 escucha(quint16 puerto) { return uServidor.escucha(puerto); }

 private:
  ServidorSmtp& uSmtp;
  EnrutadorHttp uRutas;
  ServidorHttp uServidor;
};
