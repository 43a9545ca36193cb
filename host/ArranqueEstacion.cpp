#include "ArranqueEstacion.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "db/esquema.h"

bool u_preparaEstacion(const ConfiguracionEstacion& configuracion, TsistemaDatos& sistema,
                       QString* error) {
  auto falla = [error](const QString& mensaje) {
    if (error) *error = mensaje;
    return false;
  };
  // A mistyped path must not leave a new empty database behind.
  if (!configuracion.esPostgres() && !QFileInfo(configuracion.baseDatos).isFile())
    return falla(QStringLiteral("No existe la base de datos %1.").arg(configuracion.baseDatos));

  auto conexion = std::make_shared<TConexionSesion>(configuracion.baseDatos);
  // The alias never carries the password of a PostgreSQL URL.
  const QString alias = conexion->getDatabase();
  if (!conexion->abre())
    return falla(QStringLiteral("No se pudo abrir la base de datos %1: %2")
                     .arg(alias, conexion->ultimoError()));
  QString detalle;
  if (!u_aplicaMigraciones(*conexion, &detalle))
    return falla(QStringLiteral("No se pudo preparar la base de datos %1: %2").arg(alias, detalle));

  TNegocio negocio;
  if (!negocio.carga(*conexion, configuracion.idNegocio, &detalle))
    return falla(QStringLiteral("El negocio %1 no existe en la base de datos %2.")
                     .arg(configuracion.idNegocio)
                     .arg(alias));

  if (!QDir().mkpath(configuracion.carpetaAplicacion))
    return falla(QStringLiteral("No se pudo crear la carpeta de la aplicación %1.")
                     .arg(configuracion.carpetaAplicacion));

  TsistemaDatos s;
  s.conexion = conexion;
  s.negocio = negocio;
  s.carpetaAplicacion = configuracion.carpetaAplicacion;
  s.estacion = configuracion.estacion;
  s.impresora = configuracion.impresora;
  s.urlFacturacion = configuracion.urlFacturacion;
  s.urlMercadoPago = configuracion.urlMercadoPago;
  s.urlMercadoPagoPoint = configuracion.urlMercadoPagoPoint;
  s.caMercadoPago = configuracion.caMercadoPago;
  s.enlaceTicket = configuracion.enlaceTicket;
  s.servidorCorreo = configuracion.servidorCorreo;
  s.correoRemitente = configuracion.correoRemitente;
  sistema = s;
  return true;
}

// Without a window system the offscreen screen is 800x600; pictures and scripted runs take a
// station's screen instead: 1366x768, or POS_PANTALLA ("1024x768").
namespace {

QtMessageHandler gManejadorAnterior = nullptr;

// The offscreen platform cannot hand a window's size hints on and says so each time a window is
// shown: nothing a user of a picture or a script can act on. Every other message goes through.
void sinAvisoDeTamanio(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
  if (tipo == QtWarningMsg &&
      texto == QLatin1String("This plugin does not support propagateSizeHints()"))
    return;
  if (gManejadorAnterior) gManejadorAnterior(tipo, contexto, texto);
}

}  // namespace

void u_pantallaDeEstacion() {
  // A shell without a session (root, ssh, a service) has no runtime folder: Qt then uses
  // /tmp/runtime-<user> and says so on every start. The same folder, made private here, without
  // the notice.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QByteArray carpeta =
        QDir(QDir::tempPath())
            .filePath(QStringLiteral("runtime-") +
                      qEnvironmentVariable("USER", QString::number(::getuid())))
            .toLocal8Bit();
    struct stat datos {};
    ::mkdir(carpeta.constData(), 0700);
    if (::stat(carpeta.constData(), &datos) == 0 && datos.st_uid == ::getuid() &&
        (datos.st_mode & 0777) == 0700)
      qputenv("XDG_RUNTIME_DIR", carpeta);
  }
  if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) return;
  if (!gManejadorAnterior) gManejadorAnterior = qInstallMessageHandler(sinAvisoDeTamanio);
  if (qgetenv("QT_QPA_PLATFORM") != "offscreen") return;
  const QString tam = qEnvironmentVariable("POS_PANTALLA", QStringLiteral("1366x768"));
  const int ancho = tam.section(QLatin1Char('x'), 0, 0).toInt();
  const int alto = tam.section(QLatin1Char('x'), 1, 1).toInt();
  if (ancho < 640 || alto < 480) return;
  const QString archivo =
      QDir(QDir::tempPath()).filePath(QStringLiteral("pos-pantalla-%1.json").arg(tam));
  // Written aside and renamed into place: a station starting at the same moment (parallel
  // scripts, tests) never reads a half-written file.
  QSaveFile f(archivo);
  if (!f.open(QIODevice::WriteOnly)) return;
  f.write(QStringLiteral("{\"screens\":[{\"name\":\"estacion\",\"x\":0,\"y\":0,\"width\":%1,"
                         "\"height\":%2,\"logicalDpi\":96,\"logicalBaseDpi\":96,\"dpr\":1}]}")
              .arg(ancho)
              .arg(alto)
              .toUtf8());
  if (!f.commit()) return;
  qputenv("QT_QPA_PLATFORM", (QStringLiteral("offscreen:configfile=") + archivo).toLocal8Bit());
}
