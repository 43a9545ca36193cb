#pragma once
// The mail sink's SMTP side (RFC 5321, no TLS): greeting, EHLO/HELO, optional AUTH PLAIN and
// LOGIN, MAIL FROM, RCPT TO, DATA with dot-stuffing, RSET, NOOP, VRFY, HELP, QUIT; pipelined
// commands are answered in order. Every accepted message goes to the BuzonCorreo. Recipients
// matching a refusal pattern get 550, messages over the size limit 552, and a connection that
// stays silent too long is closed with 421.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRegularExpression>
#include <QStringList>
#include <QTcpServer>

#include "BuzonCorreo.h"
#include "ModoServicio.h"

class SesionSmtp;

class ServidorSmtp : public QObject {
  Q_OBJECT
 public:
  struct Opciones {
    qint64 limiteMensaje = 25 * 1024 * 1024;
    int inactividadMs = 60000;
    int maxConexiones = 100;
    int maxDestinatarios = 100;
    QString usuario, contrasena;  // when set, AUTH with exactly these is required
  };

  ServidorSmtp(BuzonCorreo& buzon, const Opciones& opciones, QObject* parent = nullptr);
  quint16 escucha(quint16 puerto);

  // Replaces the refusal patterns (regular expressions, case-insensitive, matched against the
  // whole address). False with the reason when one is not a valid expression.
  bool fijaRechazos(const QStringList& patrones, QString* error);
  QStringList rechazos() const { return uPatrones; }
  bool rechaza(const QString& direccion) const;

  ModoServicio& modo() { return uModo; }
  const Opciones& opciones() const { return uOpciones; }
  BuzonCorreo& buzon() { return uBuzon; }

 private:
  void nuevaConexion();

  BuzonCorreo& uBuzon;
  Opciones uOpciones;
  ModoServicio uModo;
  QTcpServer uEscucha;
  QList<QPointer<SesionSmtp>> uSesiones;  // oldest first
  QStringList uPatrones;
  QList<QRegularExpression> uRechazos;
};
