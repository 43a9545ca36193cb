// Invoicing-service sandbox: a local HTTP server that answers like the online invoicing
// service, for the demo and the tests.
//
//   pos-sandbox-facturacion --datos DIR [--puerto N] [--usuario U --cuenta C --contrasena P]
//                           [--limite-cuerpo BYTES] [--inactividad SEGUNDOS] [--max-conexiones N]
//
// Once listening it prints one line "ESCUCHANDO <puerto>" on stdout; scripts read the port
// from it.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "AlmacenTickets.h"
#include "ArgumentosSandbox.h"
#include "ServidorFacturacion.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("pos-sandbox-facturacion"));

  QCommandLineParser p;
  p.setApplicationDescription(
      QStringLiteral("Servicio de facturación en línea de prueba (solo 127.0.0.1)."));
  p.addHelpOption();
  ArgumentosSandbox args(p, QCoreApplication::applicationName());
  const QCommandLineOption puerto = args.agregaPuerto(
      QStringLiteral("puerto"), QStringLiteral("Puerto de escucha; 0 elige uno libre."));
  const QCommandLineOption datos(
      QStringLiteral("datos"),
      QStringLiteral("Carpeta donde guarda los tickets recibidos y las facturas."),
      QStringLiteral("DIR"));
  const QCommandLineOption usuario(QStringLiteral("usuario"),
                                   QStringLiteral("Único usuario aceptado."), QStringLiteral("U"));
  const QCommandLineOption cuenta(QStringLiteral("cuenta"),
                                  QStringLiteral("Única cuenta aceptada."), QStringLiteral("C"));
  const QCommandLineOption contrasena(QStringLiteral("contrasena"),
                                      QStringLiteral("Única contraseña aceptada."),
                                      QStringLiteral("P"));
  p.addOptions({datos, usuario, cuenta, contrasena});
  args.agregaLimites();
  p.process(app);

  quint16 numero = 0;
  ServidorHttp::Opciones opciones;
  if (!args.sinSobrantes() || !args.puerto(puerto, &numero) || !args.limites(&opciones)) return 2;
  if (p.value(datos).trimmed().isEmpty())
    return args.falla(QStringLiteral("falta --datos con la carpeta de datos"), 2);

  AlmacenTickets almacen;
  QString error;
  if (!almacen.abre(p.value(datos), &error)) return args.falla(error, 1);

  ServidorFacturacion servidor(almacen, {p.value(usuario), p.value(cuenta), p.value(contrasena)},
                               opciones);
  const quint16 escuchando = servidor.escucha(numero);
  if (escuchando == 0)
    return args.falla(QStringLiteral("no se pudo escuchar en 127.0.0.1:%1").arg(numero), 1);
  std::printf("ESCUCHANDO %u\n", static_cast<unsigned>(escuchando));
  std::fflush(stdout);
  return app.exec();
}
