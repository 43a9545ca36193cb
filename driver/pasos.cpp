#include "pasos.h"

#include <QHash>

namespace {
// Built on first use, so areas may register from their static objects in any order.
QHash<QString, TPasoGuion>& tabla() {
  static QHash<QString, TPasoGuion> pasos;
  return pasos;
}
}  // namespace

TPasoGuion TPasosGuion::busca(const QString& accion) { return tabla().value(accion); }

TPasosGuion::Registro::Registro(std::initializer_list<std::pair<const char*, TPasoGuion>> pasos) {
  for (const auto& [accion, paso] : pasos) tabla().insert(QString::fromUtf8(accion), paso);
}
