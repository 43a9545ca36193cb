#include "programaPredeterminado.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QUrl>

namespace {
QMutex gMutex;
QStringList gSolicitudes;

bool esDireccion(const QString& t) {
  const QString e = t.trimmed().toLower();
  return e.startsWith(QLatin1String("http://")) || e.startsWith(QLatin1String("https://")) ||
         e.startsWith(QLatin1String("mailto:"));
}
}  // namespace

bool abreConProgramaPredeterminado(const QString& destino) {
  const QString d = destino.trimmed();
  if (d.isEmpty()) return false;
  const bool direccion = esDireccion(d);
  if (!direccion && !QFileInfo::exists(d)) return false;
  const QUrl url = direccion ? QUrl(d) : QUrl::fromLocalFile(QFileInfo(d).absoluteFilePath());
  if (qEnvironmentVariable("POS_SIN_ABRIR") == QLatin1String("1")) {
    QMutexLocker l(&gMutex);
    gSolicitudes << (direccion ? d : url.toLocalFile());
    return true;
  }
  return QDesktopServices::openUrl(url);
}

QStringList abreConProgramaPredeterminadoSolicitudes() {
  QMutexLocker l(&gMutex);
  return gSolicitudes;
}

void abreConProgramaPredeterminadoOlvida() {
  QMutexLocker l(&gMutex);
  gSolicitudes.clear();
}
