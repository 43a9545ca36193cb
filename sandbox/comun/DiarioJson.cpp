#include "DiarioJson.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace {

bool sincroniza(QFile& f) { return f.flush() && ::fsync(f.handle()) == 0; }

}  // namespace

void sincronizaCarpeta(const QString& carpeta) {
  const int fd = ::open(QFile::encodeName(carpeta).constData(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool DiarioJson::abre(const QString& archivo, QList<QJsonObject>* registros, QString* error) {
  uArchivo = archivo;
  uTamano = 0;
  uRoto = false;
  registros->clear();
  QFile f(archivo);
  if (!f.exists()) return true;
  if (!f.open(QIODevice::ReadWrite)) {
    if (error) *error = QStringLiteral("No se pudo abrir %1: %2").arg(archivo, f.errorString());
    return false;
  }
  qint64 valido = 0;  // end of the last good record
  qint64 posicion = 0;
  qint64 primeraMala = -1;
  while (!f.atEnd()) {
    const QByteArray linea = f.readLine();
    posicion += linea.size();
    QJsonParseError e;
    const QJsonDocument doc =
        linea.endsWith('\n') ? QJsonDocument::fromJson(linea, &e) : QJsonDocument();
    const bool buena =
        linea.endsWith('\n') && e.error == QJsonParseError::NoError && doc.isObject();
    if (!buena) {
      if (primeraMala < 0) primeraMala = valido;
      continue;
    }
    if (primeraMala >= 0) {
      if (error)
        *error = QStringLiteral("%1 tiene un registro dañado en el byte %2")
                     .arg(archivo)
                     .arg(primeraMala);
      registros->clear();
      return false;
    }
    registros->append(doc.object());
    valido = posicion;
  }
  if (valido < f.size()) {
    // The torn tail of a write a crash interrupted: cut it off so the next record starts on
    // a line of its own.
    if (!f.resize(valido) || !sincroniza(f)) {
      if (error)
        *error = QStringLiteral("No se pudo recortar %1: %2").arg(archivo, f.errorString());
      registros->clear();
      return false;
    }
  }
  uTamano = valido;
  return true;
}

bool DiarioJson::agrega(const QList<QJsonObject>& registros, QString* error) {
  if (uRoto) {
    if (error) *error = QStringLiteral("el diario quedó inconsistente tras un fallo anterior");
    return false;
  }
  QByteArray bloque;
  for (const QJsonObject& r : registros) {
    bloque += QJsonDocument(r).toJson(QJsonDocument::Compact);
    bloque += '\n';
  }
  QFile f(uArchivo);
  const bool nuevo = !f.exists();
  if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) {
    if (error) *error = f.errorString();
    return false;
  }
  if (f.write(bloque) == bloque.size() && sincroniza(f)) {
    uTamano += bloque.size();
    f.close();
    if (nuevo) sincronizaCarpeta(QFileInfo(uArchivo).absolutePath());
    return true;
  }
  if (error) *error = f.errorString();
  if (!f.resize(uTamano) || !sincroniza(f)) uRoto = true;
  return false;
}

bool DiarioJson::vacia(QString* error) {
  QFile f(uArchivo);
  if (!f.exists()) {
    uTamano = 0;
    return true;
  }
  if (!f.open(QIODevice::ReadWrite) || !f.resize(0) || !sincroniza(f)) {
    if (error) *error = f.errorString();
    return false;
  }
  uTamano = 0;
  uRoto = false;
  return true;
}
