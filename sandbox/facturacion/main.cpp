// Invoicing-service sandbox: a local HTTP server that answers like the online invoicing
// service, for the demo and the tests.
//
//   pos-sandbox-facturacion --datos DIR [--puerto N] [--usuario U --cuenta C --contrasena P]
//
// Once listening it prints one line "ESCUCHANDO <puerto>" on stdout; scripts read the port
// from it.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "AlmacenTickets.h"
#include "ServidorFacturacion.h"

namespace {

int falla(const QString& mensaje, int codigo) {
  std::fprintf(stderr, "pos-sandbox-facturacion: %s\n", qPrintable(mensaje));
  return codigo;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("pos-sandbox-facturacion"));

  QCommandLineParser p;
  p.setApplicationDescription(
      QStringLiteral("Servicio de facturación en línea de prueba (solo 127.0.0.1)."));
  p.addHelpOption();
  const QCommandLineOption puerto(QStringLiteral("puerto"),
                                  QStringLiteral("Puerto de escucha; 0 elige uno libre."),
                                  QStringLiteral("N"), QStringLiteral("0"));
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
  p.addOptions({puerto, datos, usuario, cuenta, contrasena});
  p.process(app);

  if (!p.positionalArguments().isEmpty())
    return falla(QStringLiteral("argumento no reconocido: %1").arg(p.positionalArguments().first()),
                 2);
  bool ok = false;
  const uint numero = p.value(puerto).toUInt(&ok);
  if (!ok || numero > 65535)
    return falla(QStringLiteral("el puerto debe ser un número entre 0 y 65535"), 2);
  if (p.value(datos).trimmed().isEmpty())
    return falla(QStringLiteral("falta --datos con la carpeta de datos"), 2);

  AlmacenTickets almacen;
  QString error;
  if (!almacen.abre(p.value(datos), &error)) return falla(error, 1);

  ServidorFacturacion servidor(almacen, {p.value(usuario), p.value(cuenta), p.value(contrasena)});
  const quint16 escuchando = servidor.escucha(static_cast<quint16>(numero));
  if (escuchando == 0)
    return falla(QStringLiteral("no se pudo escuchar en 127.0.0.1:%1").arg(numero), 1);
  std::printf("ESCUCHANDO %u\n", static_cast<unsigned>(escuchando));
  std::fflush(stdout);
  return app.exec();
}
