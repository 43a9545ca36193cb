#include "ConfiguracionEstacion.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
// QSettings splits unquoted values at commas; the station's values are plain texts.
QString texto(const QSettings& s, const QString& clave) {
  const QVariant v = s.value(clave);
  if (v.typeId() == QMetaType::QStringList)
    return v.toStringList().join(QLatin1Char(',')).trimmed();
  return v.toString().trimmed();
}

QString absoluta(const QDir& base, const QString& ruta) {
  return QDir::cleanPath(base.absoluteFilePath(ruta));
}
}  // namespace

bool ConfiguracionEstacion::esPostgres() const {
  return baseDatos.startsWith(QStringLiteral("postgresql://")) ||
         baseDatos.startsWith(QStringLiteral("postgres://"));
}

bool ConfiguracionEstacion::cargar(const QString& ruta, QString* error) {
  auto falla = [error](const QString& mensaje) {
    if (error) *error = mensaje;
    return false;
  };
  const QFileInfo info(ruta);
  if (ruta.trimmed().isEmpty() || !info.isFile())
    return falla(
        QStringLiteral("No se encontró el archivo de configuración de la estación: %1").arg(ruta));
  QSettings s(info.absoluteFilePath(), QSettings::IniFormat);
  if (s.status() != QSettings::NoError || !info.isReadable())
    return falla(QStringLiteral("No se pudo leer el archivo de configuración de la estación: %1")
                     .arg(info.absoluteFilePath()));
  archivo = info.absoluteFilePath();
  const QDir carpeta = info.absoluteDir();

  baseDatos = texto(s, QStringLiteral("baseDatos"));
  if (baseDatos.isEmpty())
    return falla(QStringLiteral("El archivo de configuración %1 no indica la base de datos "
                                "(clave baseDatos).")
                     .arg(archivo));
  if (!esPostgres()) baseDatos = absoluta(carpeta, baseDatos);

  const QString negocio = texto(s, QStringLiteral("negocio"));
  if (!negocio.isEmpty()) {
    bool ok = false;
    idNegocio = negocio.toInt(&ok);
    if (!ok || idNegocio <= 0)
      return falla(QStringLiteral("La clave negocio del archivo de configuración %1 debe ser un "
                                  "número entero mayor que cero (se encontró \"%2\").")
                       .arg(archivo, negocio));
  }

  const QString aplicacion = texto(s, QStringLiteral("carpetaAplicacion"));
  carpetaAplicacion = absoluta(carpeta, aplicacion.isEmpty() ? QStringLiteral(".") : aplicacion);
  if (!carpetaAplicacion.endsWith(QLatin1Char('/'))) carpetaAplicacion += QLatin1Char('/');

  estacion = texto(s, QStringLiteral("estacion"));
  impresora = texto(s, QStringLiteral("impresora"));
  urlFacturacion = texto(s, QStringLiteral("urlFacturacion"));
  urlMercadoPago = texto(s, QStringLiteral("urlMercadoPago"));
  urlMercadoPagoPoint = texto(s, QStringLiteral("urlMercadoPagoPoint"));
  caMercadoPago = texto(s, QStringLiteral("caMercadoPago"));
  if (!caMercadoPago.isEmpty()) caMercadoPago = absoluta(carpeta, caMercadoPago);
  enlaceTicket = texto(s, QStringLiteral("enlaceTicket"));
  servidorCorreo = texto(s, QStringLiteral("servidorCorreo"));
  correoRemitente = texto(s, QStringLiteral("correoRemitente"));
  return true;
}
