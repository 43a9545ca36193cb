#pragma once
// One SMTP conversation of the mail sink, from the greeting to QUIT.

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QTcpSocket;
class ServidorSmtp;

class SesionSmtp : public QObject {
 public:
  SesionSmtp(ServidorSmtp* servidor, QTcpSocket* socket);
  // Drops the connection at once.
  void cierra();

 private:
  enum class Autenticacion { Ninguna, PlainRespuesta, LoginUsuario, LoginContrasena };

  void saluda();
  void lee();
  void procesa();
  void comando(const QByteArray& linea);
  void lineaDeDatos(const QByteArray& linea);
  void finDeDatos();
  void autentica(const QByteArray& argumentos);
  void pasoDeAutenticacion(const QByteArray& linea);
  bool credencialesValidas(const QString& usuario, const QString& contrasena) const;
  void reiniciaTransaccion();
  void responde(const QByteArray& respuesta);
  // Answers after the slow mode's delay, holding further commands until then.
  void respondeTarde(const QByteArray& respuesta);
  void despide(const QByteArray& respuesta);

  ServidorSmtp* uServidor;
  QTcpSocket* uSocket;
  QTimer uInactividad;
  QByteArray uEntrada;
  bool uEnPausa = false;
  bool uCerrando = false;

  QString uSaludo;
  QString uUsuario;
  Autenticacion uAutenticacion = Autenticacion::Ninguna;
  QString uUsuarioPendiente;

  bool uConRemitente = false;
  QString uRemitente;
  QStringList uDestinatarios;
  bool uEnDatos = false;
  bool uLineaDescartada = false;  // the rest of an over-long data line is being skipped
  bool uExcedido = false;
  QByteArray uDatos;
};
