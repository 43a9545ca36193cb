#include "BuzonCorreo.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "MensajeMime.h"

namespace {

QString nombreArchivo(qint64 id) {
  return QStringLiteral("mensajes/%1.eml").arg(id, 6, 10, QLatin1Char('0'));
}

}  // namespace

bool BuzonCorreo::abre(const QString& carpeta, QString* error) {
  uCarpeta = carpeta;
  if (!QDir().mkpath(QDir(carpeta).filePath(QStringLiteral("mensajes")))) {
    if (error) *error = QStringLiteral("No se pudo crear la carpeta de datos %1").arg(carpeta);
    return false;
  }
  if (!uIndice.abre(QDir(carpeta).filePath(QStringLiteral("indice.jsonl")), &uResumenes, error))
    return false;
  for (const QJsonObject& r : uResumenes)
    uSiguiente = qMax(uSiguiente, r.value(QStringLiteral("id")).toInteger() + 1);
  return true;
}

QJsonObject BuzonCorreo::guarda(const Sobre& sobre, const QByteArray& crudo, QString* error) {
  const qint64 id = uSiguiente;
  const QString archivo = nombreArchivo(id);
  QSaveFile f(QDir(uCarpeta).filePath(archivo));
  if (!f.open(QIODevice::WriteOnly) || f.write(crudo) != crudo.size() || !f.commit()) {
    if (error) *error = f.errorString();
    return {};
  }
  QJsonObject r = resumenMime(leeMensajeMime(crudo));
  r.insert(QStringLiteral("id"), id);
  r.insert(QStringLiteral("recibido"), QDateTime::currentDateTime().toString(Qt::ISODate));
  r.insert(QStringLiteral("remitente"), sobre.remitente);
  r.insert(QStringLiteral("destinatarios"), QJsonArray::fromStringList(sobre.destinatarios));
  r.insert(QStringLiteral("saludo"), sobre.saludo);
  r.insert(QStringLiteral("usuario"), sobre.usuario);
  r.insert(QStringLiteral("tamano"), crudo.size());
  r.insert(QStringLiteral("archivo"), archivo);
  if (!uIndice.agrega({r}, error)) {
    QFile::remove(QDir(uCarpeta).filePath(archivo));
    return {};
  }
  uResumenes.append(r);
  uSiguiente = id + 1;
  return r;
}

QJsonArray BuzonCorreo::resumenes() const {
  QJsonArray a;
  for (const QJsonObject& r : uResumenes) a.append(r);
  return a;
}

QJsonObject BuzonCorreo::resumen(qint64 id) const {
  for (const QJsonObject& r : uResumenes)
    if (r.value(QStringLiteral("id")).toInteger() == id) return r;
  return {};
}

QByteArray BuzonCorreo::crudo(qint64 id) const {
  const QJsonObject r = resumen(id);
  if (r.isEmpty()) return {};
  QFile f(QDir(uCarpeta).filePath(r.value(QStringLiteral("archivo")).toString()));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

qsizetype BuzonCorreo::borraTodo(QString* error) {
  if (!uIndice.vacia(error)) return -1;
  const qsizetype cuantos = uResumenes.size();
  for (const QJsonObject& r : uResumenes)
    QFile::remove(QDir(uCarpeta).filePath(r.value(QStringLiteral("archivo")).toString()));
  uResumenes.clear();
  return cuantos;
}
