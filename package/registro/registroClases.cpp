#include "registroClases.h"

#include <QHash>
#include <QMutex>

namespace {
QMutex gMutex;
QHash<QString, TExecForm>& tabla() {
  static QHash<QString, TExecForm> t;
  return t;
}
}  // namespace

void registraClase(const QString& nombre, TExecForm execForm) {
  QMutexLocker l(&gMutex);
  tabla().insert(nombre, execForm);
}

void eliminaClase(const QString& nombre) {
  QMutexLocker l(&gMutex);
  tabla().remove(nombre);
}

TExecForm buscaClase(const QString& nombre) {
  QMutexLocker l(&gMutex);
  return tabla().value(nombre, nullptr);
}
