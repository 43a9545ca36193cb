#include "util/Log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>

Q_LOGGING_CATEGORY(lcFacturacion, "pos.facturacion", QtWarningMsg)

namespace {

QMutex& candado() {
  static QMutex m;
  return m;
}

QString& carpetaLog() {
  static QString c;
  return c;
}

}  // namespace

void Log::configura(const QString& carpetaAplicacion) {
  QMutexLocker l(&candado());
  carpetaLog() = carpetaAplicacion.isEmpty()
                     ? QString()
                     : QDir(carpetaAplicacion).filePath(QStringLiteral("Log"));
}

QString Log::archivoDelDia() {
  QMutexLocker l(&candado());
  if (carpetaLog().isEmpty()) return QString();
  return QDir(carpetaLog())
      .filePath(QStringLiteral("pos_%1.log")
                    .arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))));
}

void Log::escribe(const QString& origen, const QString& texto) {
  qCInfo(lcFacturacion).noquote() << origen << texto;
  const QString archivo = archivoDelDia();
  if (archivo.isEmpty()) return;
  const QString linea =
      QStringLiteral("%1 [%2] %3\n")
          .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")),
               origen, QString(texto).replace(QLatin1Char('\n'), QLatin1Char(' ')));
  QMutexLocker l(&candado());
  QDir().mkpath(QFileInfo(archivo).absolutePath());
  QFile f(archivo);
  if (f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) f.write(linea.toUtf8());
}
