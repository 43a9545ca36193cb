#include "tickets/reglas/logoTicket.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

QString rutaLogoTicket(const QString& carpetaAplicacion, const QString& rfc) {
  return QDir(carpetaAplicacion)
      .filePath(QStringLiteral("Formatos/") + rfc + QStringLiteral("/logoTicket.bmp"));
}

TResultado compruebaArchivoLogo(const QString& archivo) {
  if (!archivo.endsWith(QLatin1String(".bmp")))
    return TResultado::falla(QStringLiteral("El archivo de imagen debe tener extensión '.bmp' "),
                             mtAdvertencia);
  if (!QFileInfo(archivo).isFile()) return TResultado::falla(QString());
  QImageReader lector(archivo, "bmp");
  const QSize tamano = lector.size();
  if (!lector.canRead() || !tamano.isValid())
    return TResultado::falla(
        QStringLiteral("El archivo '%1' no es una imagen BMP que se pueda leer.")
            .arg(QFileInfo(archivo).fileName()),
        mtAdvertencia);
  if (tamano.width() > LOGO_ANCHO_MAXIMO || tamano.height() > LOGO_ALTO_MAXIMO)
    return TResultado::falla(QStringLiteral("¡La imagen no debe ser mayor a ") +
                                 QString::number(LOGO_ANCHO_MAXIMO) + QStringLiteral("x") +
                                 QString::number(LOGO_ALTO_MAXIMO) +
                                 QStringLiteral("px. Por favor seleccione otra imagen."),
                             mtAdvertencia);
  return TResultado::bien();
}

bool copiaArchivoLogo(const QString& archivo, const QString& carpetaAplicacion,
                      const QString& rfc) {
  const QString destino = rutaLogoTicket(carpetaAplicacion, rfc);
  if (!QDir().mkpath(QFileInfo(destino).absolutePath())) return false;
  QFile origen(archivo);
  if (!origen.open(QIODevice::ReadOnly)) return false;
  // Written aside and renamed into place: a failed copy never leaves half a logo.
  QSaveFile salida(destino);
  if (!salida.open(QIODevice::WriteOnly)) return false;
  if (salida.write(origen.readAll()) != origen.size()) {
    salida.cancelWriting();
    return false;
  }
  return salida.commit();
}

void restauraLogoTicket(const QString& carpetaAplicacion, const QString& rfc) {
  QFile::remove(rutaLogoTicket(carpetaAplicacion, rfc));
}
