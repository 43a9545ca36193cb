// pos-script [--config FILE | --db DESTINO --negocio N --estacion NOMBRE] [--captura PNG] escenario.json
// Drives the sale register offscreen through a JSON list of cashier steps and prints one JSON
// report. Exit codes: 0 done, 1 the station could not be prepared, 2 bad arguments or steps.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "ConductorCaja.h"
#include "context/TsistemaDatos.h"
#include "host/ArranqueEstacion.h"
#include "host/ConfiguracionEstacion.h"

namespace {
int falla(int codigo, const QString& texto) {
  std::fprintf(stderr, "pos-script: %s\n", texto.toUtf8().constData());
  return codigo;
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  u_pantallaDeEstacion();
  QApplication app(argc, argv);
  QCommandLineParser cl;
  cl.setApplicationDescription(QStringLiteral("Conduce la caja con un escenario JSON."));
  cl.addHelpOption();
  cl.addOption({QStringLiteral("config"), QStringLiteral("Configuración de estación (INI)."), QStringLiteral("archivo")});
  cl.addOption({QStringLiteral("db"), QStringLiteral("Base de datos (ruta SQLite o URL postgresql://)."), QStringLiteral("destino")});
  cl.addOption({QStringLiteral("negocio"), QStringLiteral("Id del negocio."), QStringLiteral("id")});
  cl.addOption({QStringLiteral("estacion"), QStringLiteral("Nombre de la estación."), QStringLiteral("nombre")});
  cl.addOption({QStringLiteral("captura"), QStringLiteral("Guarda una imagen PNG de la caja al terminar."), QStringLiteral("archivo.png")});
  cl.addPositionalArgument(QStringLiteral("escenario"), QStringLiteral("Archivo JSON con los pasos."));
  cl.process(app);
  if (cl.positionalArguments().size() != 1) return falla(2, QStringLiteral("falta el archivo del escenario"));

  // The same station file the host reads, relative paths and all.
  ConfiguracionEstacion conf;
  if (cl.isSet(QStringLiteral("config"))) {
    QString error;
    if (!conf.cargar(cl.value(QStringLiteral("config")), &error)) return falla(2, error);
  } else {
    conf.idNegocio = 0;
  }
  if (cl.isSet(QStringLiteral("db"))) conf.baseDatos = cl.value(QStringLiteral("db"));
  if (cl.isSet(QStringLiteral("negocio"))) conf.idNegocio = cl.value(QStringLiteral("negocio")).toInt();
  if (cl.isSet(QStringLiteral("estacion"))) conf.estacion = cl.value(QStringLiteral("estacion"));
  if (conf.carpetaAplicacion.isEmpty()) conf.carpetaAplicacion = QDir::currentPath() + QStringLiteral("/");
  const QString destino = conf.baseDatos;
  const int negocio = conf.idNegocio;
  if (destino.isEmpty() || negocio <= 0)
    return falla(2, QStringLiteral("indique la base de datos y el negocio (--config o --db y --negocio)"));

  QFile f(cl.positionalArguments().first());
  if (!f.open(QIODevice::ReadOnly)) return falla(2, QStringLiteral("no se pudo leer %1").arg(f.fileName()));
  QJsonParseError pe;
  const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &pe);
  if (pe.error != QJsonParseError::NoError)
    return falla(2, QStringLiteral("JSON inválido en la posición %1: %2").arg(pe.offset).arg(pe.errorString()));
  if (!doc.isArray()) return falla(2, QStringLiteral("el escenario debe ser una lista de pasos"));

  TsistemaDatos sis;
  QString error;
  if (!u_preparaEstacion(conf, sis, &error)) return falla(1, error);
  localSYS = sis;
  u_aplicaConfiguracionPlataforma(localSYS);

  int codigo = 0;
  QJsonObject reporte;
  {
    ConductorCaja conductor;
    if (!conductor.ejecuta(doc.array(), &error)) {
      codigo = 2;
      std::fprintf(stderr, "pos-script: %s\n", error.toUtf8().constData());
    }
    reporte = conductor.reporte();
    if (cl.isSet(QStringLiteral("captura")) && !conductor.captura(cl.value(QStringLiteral("captura"))))
      std::fprintf(stderr, "pos-script: no se pudo guardar la captura\n");
  }
  if (codigo == 0)
    std::fputs(QJsonDocument(reporte).toJson(QJsonDocument::Indented).constData(), stdout);
  localSYS = TsistemaDatos();
  return codigo;
}
