#include "importador.h"

#include <QFile>

TResultadoImportacion importaCatalogo(TConexionSesion& conexion, const QString& rutaArchivo) {
  QFile f(rutaArchivo);
  if (!f.open(QIODevice::ReadOnly)) {
    TResultadoImportacion r;
    r.error = QStringLiteral("No se pudo leer el archivo %1").arg(rutaArchivo);
    return r;
  }
  return importaCatalogoJson(conexion, f.readAll());
}

TResultadoImportacion importaCatalogoJson(TConexionSesion&, const QByteArray&) {
  TResultadoImportacion r;
  r.error = QStringLiteral("Importación no disponible todavía");
  return r;
}
