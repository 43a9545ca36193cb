// MercadoPago sandbox: the token, payment search and Point terminal calls of the card-payment
// API over HTTPS (a throw-away CA made at start), with a plain-HTTP control API, for the demo
// and the tests.
//
//   pos-sandbox-mercadopago --ca-salida ARCHIVO [--puerto-api N] [--puerto-point N]
//                           [--puerto-control N] [--client-id ID --client-secret S]
//                           [--user-id N] [--terminal SERIE] [--vigencia-token SEGUNDOS]
//                           [--limite-cuerpo BYTES] [--inactividad SEGUNDOS] [--max-conexiones N]
//
// Once listening it prints one line "ESCUCHANDO <puertoApi> <puertoPoint> <puertoControl>".

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "ArgumentosSandbox.h"
#include "CertificadosTls.h"
#include "ServidorMercadoPago.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("pos-sandbox-mercadopago"));

  QCommandLineParser p;
  p.setApplicationDescription(
      QStringLiteral("API de MercadoPago de prueba sobre HTTPS (solo 127.0.0.1)."));
  p.addHelpOption();
  ArgumentosSandbox args(p, QCoreApplication::applicationName());
  const QCommandLineOption puertoApi =
      args.agregaPuerto(QStringLiteral("puerto-api"),
                        QStringLiteral("Puerto HTTPS del token y la búsqueda de pagos."));
  const QCommandLineOption puertoPoint = args.agregaPuerto(
      QStringLiteral("puerto-point"), QStringLiteral("Puerto HTTPS del servicio Point."));
  const QCommandLineOption puertoControl = args.agregaPuerto(
      QStringLiteral("puerto-control"), QStringLiteral("Puerto HTTP de la interfaz de control."));
  const QCommandLineOption ca(
      QStringLiteral("ca-salida"),
      QStringLiteral("Archivo donde escribe el certificado (PEM) de la autoridad de prueba."),
      QStringLiteral("ARCHIVO"));
  const QCommandLineOption clienteId(QStringLiteral("client-id"),
                                     QStringLiteral("Único client_id aceptado."),
                                     QStringLiteral("ID"));
  const QCommandLineOption clienteSecreto(QStringLiteral("client-secret"),
                                          QStringLiteral("Único client_secret aceptado."),
                                          QStringLiteral("S"));
  const QCommandLineOption usuario(QStringLiteral("user-id"),
                                   QStringLiteral("user_id de la cuenta (1122334455)."),
                                   QStringLiteral("N"), QStringLiteral("1122334455"));
  const QCommandLineOption terminal(
      QStringLiteral("terminal"),
      QStringLiteral("Número de serie de la terminal Point de los pagos (PAX-A910-0001)."),
      QStringLiteral("SERIE"), QStringLiteral("PAX-A910-0001"));
  const QCommandLineOption vigencia(
      QStringLiteral("vigencia-token"),
      QStringLiteral("Segundos de vigencia de un token de acceso (21600)."),
      QStringLiteral("SEGUNDOS"), QStringLiteral("21600"));
  p.addOptions({ca, clienteId, clienteSecreto, usuario, terminal, vigencia});
  args.agregaLimites();
  p.process(app);

  ServidorMercadoPago::Opciones opciones;
  ServidorMercadoPago::Puertos puertos;
  qint64 idUsuario = 0, segundos = 0;
  if (!args.sinSobrantes() || !args.puerto(puertoApi, &puertos.api) ||
      !args.puerto(puertoPoint, &puertos.point) || !args.puerto(puertoControl, &puertos.control) ||
      !args.limites(&opciones.http) || !args.entero(usuario, 1, 999999999999LL, &idUsuario) ||
      !args.entero(vigencia, 1, 31536000, &segundos))
    return 2;
  if (p.value(ca).trimmed().isEmpty())
    return args.falla(QStringLiteral("falta --ca-salida con el archivo del certificado"), 2);
  opciones.clienteId = p.value(clienteId);
  opciones.clienteSecreto = p.value(clienteSecreto);
  opciones.usuario = idUsuario;
  opciones.terminal = p.value(terminal);
  opciones.vigenciaSegundos = static_cast<int>(segundos);

  QSslConfiguration tls;
  QString error;
  if (!preparaTls(p.value(ca), &tls, &error)) return args.falla(error, 1);
  ServidorMercadoPago servidor(opciones, tls);
  if (!servidor.escucha(&puertos))
    return args.falla(QStringLiteral("no se pudieron abrir los puertos en 127.0.0.1"), 1);
  std::printf("ESCUCHANDO %u %u %u\n", static_cast<unsigned>(puertos.api),
              static_cast<unsigned>(puertos.point), static_cast<unsigned>(puertos.control));
  std::fflush(stdout);
  return app.exec();
}
