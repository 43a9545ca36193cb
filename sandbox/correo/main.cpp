// Mail sink: a local SMTP server that keeps every message it receives, for the demo and the
// tests, with a control API over HTTP to read what arrived.
//
//   pos-sandbox-correo --datos DIR [--puerto N] [--puerto-control N] [--usuario U --contrasena P]
//                      [--rechaza PATRON]... [--limite-mensaje BYTES] [--inactividad SEGUNDOS]
//                      [--max-conexiones N]
//
// Once listening it prints one line "ESCUCHANDO <puertoSmtp> <puertoControl>" on stdout.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "ArgumentosSandbox.h"
#include "BuzonCorreo.h"
#include "ControlCorreo.h"
#include "ServidorSmtp.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("pos-sandbox-correo"));

  QCommandLineParser p;
  p.setApplicationDescription(
      QStringLiteral("Servidor de correo de prueba (SMTP sin TLS, solo 127.0.0.1): guarda cada "
                     "mensaje que recibe."));
  p.addHelpOption();
  ArgumentosSandbox args(p, QCoreApplication::applicationName());
  const QCommandLineOption puerto = args.agregaPuerto(
      QStringLiteral("puerto"), QStringLiteral("Puerto SMTP; 0 elige uno libre."));
  const QCommandLineOption puertoControl = args.agregaPuerto(
      QStringLiteral("puerto-control"),
      QStringLiteral("Puerto HTTP de la interfaz de control; 0 elige uno libre."));
  const QCommandLineOption datos(QStringLiteral("datos"),
                                 QStringLiteral("Carpeta donde guarda los mensajes recibidos."),
                                 QStringLiteral("DIR"));
  const QCommandLineOption usuario(QStringLiteral("usuario"),
                                   QStringLiteral("Exige AUTH con este usuario."),
                                   QStringLiteral("U"));
  const QCommandLineOption contrasena(QStringLiteral("contrasena"),
                                      QStringLiteral("Contraseña del usuario de --usuario."),
                                      QStringLiteral("P"));
  const QCommandLineOption rechaza(
      QStringLiteral("rechaza"),
      QStringLiteral("Destinatarios que se rechazan con 550 (expresión regular sobre la dirección "
                     "completa, sin distinguir mayúsculas); se puede repetir."),
      QStringLiteral("PATRON"));
  const QCommandLineOption limiteMensaje(
      QStringLiteral("limite-mensaje"),
      QStringLiteral("Tamaño máximo de un mensaje, en bytes (26214400)."), QStringLiteral("BYTES"),
      QStringLiteral("26214400"));
  p.addOptions({datos, usuario, contrasena, rechaza, limiteMensaje});
  args.agregaLimites();
  p.process(app);

  quint16 numero = 0, numeroControl = 0;
  ServidorHttp::Opciones opcionesControl;
  qint64 limite = 0;
  if (!args.sinSobrantes() || !args.puerto(puerto, &numero) ||
      !args.puerto(puertoControl, &numeroControl) || !args.limites(&opcionesControl) ||
      !args.entero(limiteMensaje, 1024, qint64(1) << 30, &limite))
    return 2;
  if (p.value(datos).trimmed().isEmpty())
    return args.falla(QStringLiteral("falta --datos con la carpeta de datos"), 2);
  if (p.value(usuario).isEmpty() != p.value(contrasena).isEmpty())
    return args.falla(QStringLiteral("--usuario y --contrasena van juntos"), 2);

  BuzonCorreo buzon;
  QString error;
  if (!buzon.abre(p.value(datos), &error)) return args.falla(error, 1);

  ServidorSmtp::Opciones opciones;
  opciones.limiteMensaje = limite;
  opciones.inactividadMs = opcionesControl.inactividadMs;
  opciones.maxConexiones = opcionesControl.maxConexiones;
  opciones.usuario = p.value(usuario);
  opciones.contrasena = p.value(contrasena);
  ServidorSmtp smtp(buzon, opciones);
  if (!smtp.fijaRechazos(p.values(rechaza), &error)) return args.falla(error, 2);
  ControlCorreo control(smtp, opcionesControl);

  const quint16 escuchando = smtp.escucha(numero);
  if (escuchando == 0)
    return args.falla(QStringLiteral("no se pudo escuchar en 127.0.0.1:%1").arg(numero), 1);
  const quint16 escuchandoControl = control.escucha(numeroControl);
  if (escuchandoControl == 0)
    return args.falla(QStringLiteral("no se pudo escuchar en 127.0.0.1:%1").arg(numeroControl), 1);
  std::printf("ESCUCHANDO %u %u\n", static_cast<unsigned>(escuchando),
              static_cast<unsigned>(escuchandoControl));
  std::fflush(stdout);
  return app.exec();
}
