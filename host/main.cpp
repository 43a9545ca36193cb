// pos-host: stand-in for the suite's desktop. Reads the station configuration, opens the
// database, loads the point-of-sale module and embeds its panel.
#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "host/ArranqueEstacion.h"
#include "host/CargadorModulo.h"
#include "host/ConfiguracionEstacion.h"
#include "host/VentanaHost.h"
#include "ui/mensajes.h"

namespace {

constexpr int SIN_PANTALLA = 3;
constexpr int SIN_BOTON = 4;  // a caption given to --pulsa is not on the screen

bool sinVentanas() {
  const QString p = QGuiApplication::platformName();
  return p == QStringLiteral("offscreen") || p == QStringLiteral("minimal");
}

int falla(const QString& mensaje) {
  std::fprintf(stderr, "pos-host: %s\n", mensaje.toLocal8Bit().constData());
  if (!sinVentanas()) u_mensaje(mensaje, mtError);
  return 1;
}

// Presses the given captions one after the other (the menu animates between them); then,
// when asked, saves the window as a picture and ends.
void programaPulsaciones(VentanaHost* ventana, const QStringList& pulsaciones,
                         const QString& captura) {
  int espera = 500;
  for (const QString& titulo : pulsaciones) {
    QTimer::singleShot(espera, ventana, [ventana, titulo] {
      if (ventana->pulsa(titulo)) return;
      std::fprintf(stderr, "pos-host: no hay un botón \"%s\" en la ventana\n",
                   titulo.toLocal8Bit().constData());
      QApplication::exit(SIN_BOTON);
    });
    espera += 400;
  }
  if (captura.isEmpty()) return;
  QTimer::singleShot(espera, ventana, [ventana, captura] {
    // The window on top: the register or an open dialog when one is showing.
    const bool ok = ventana->ventanaSuperior()->grab().save(captura);
    if (!ok) falla(QStringLiteral("No se pudo guardar la captura en %1.").arg(captura));
    QApplication::exit(ok ? 0 : 1);
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    std::fprintf(stderr,
                 "pos-host: no hay pantalla disponible (DISPLAY no está definido).\n"
                 "Para abrir el punto de venta sin pantalla use: xvfb-run -a ./pos demo\n");
    return SIN_PANTALLA;
  }
  u_pantallaDeEstacion();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Punto de Venta"));

  QCommandLineParser parametros;
  parametros.setApplicationDescription(QStringLiteral("Escritorio del punto de venta"));
  parametros.addHelpOption();
  const QCommandLineOption config(QStringLiteral("config"),
                                  QStringLiteral("Archivo de configuración de la estación."),
                                  QStringLiteral("archivo"));
  const QCommandLineOption captura(
      QStringLiteral("captura"),
      QStringLiteral("Guarda la ventana como imagen PNG una vez mostrada y termina."),
      QStringLiteral("archivo.png"));
  const QCommandLineOption pulsa(
      QStringLiteral("pulsa"),
      QStringLiteral("Al abrir pulsa el botón con este texto (se puede repetir)."),
      QStringLiteral("texto"));
  parametros.addOptions({config, captura, pulsa});
  parametros.process(app);

  if (!parametros.isSet(config))
    return falla(
        QStringLiteral("Indique el archivo de configuración de la estación: "
                       "pos-host --config estacion.ini"));
  ConfiguracionEstacion configuracion;
  QString error;
  if (!configuracion.cargar(parametros.value(config), &error)) return falla(error);

  TsistemaDatos sistema;
  if (!u_preparaEstacion(configuracion, sistema, &error)) return falla(error);

  CargadorModulo cargador(QCoreApplication::applicationDirPath());
  QWidget* panel = cargador.abre(sistema, CargadorModulo::claseEntrada(), &error);
  if (!panel) return falla(error);

  int resultado = 0;
  {
    VentanaHost ventana(panel);
    // Without a window system "maximised" means the virtual screen, smaller than the station.
    if (sinVentanas()) {
      ventana.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
      ventana.show();
    } else
      ventana.showMaximized();
    programaPulsaciones(&ventana, parametros.values(pulsa), parametros.value(captura));
    resultado = app.exec();
  }
  // The session's connections go while Qt SQL is still there, not among the exit-time
  // destructors of the libraries.
  sistema = TsistemaDatos();
  localSYS = TsistemaDatos();
  return resultado;
}
