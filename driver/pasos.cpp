#include "pasos.h"

#include <QHash>
#include <QSet>

namespace {
// Built on first use, so areas may register from their static objects in any order.
QHash<QString, TPasoGuion>& tabla() {
  static QHash<QString, TPasoGuion> pasos;
  return pasos;
}
QSet<QString>& sinRegistro() {
  static QSet<QString> pasos;
  return pasos;
}
}  // namespace

TPasoGuion TPasosGuion::busca(const QString& accion) { return tabla().value(accion); }

bool TPasosGuion::sinCaja(const QString& accion) { return sinRegistro().contains(accion); }

TPasosGuion::Registro::Registro(std::initializer_list<std::pair<const char*, TPasoGuion>> pasos,
                                bool sinCaja) {
  for (const auto& [accion, paso] : pasos) {
    tabla().insert(QString::fromUtf8(accion), paso);
    if (sinCaja) sinRegistro().insert(QString::fromUtf8(accion));
  }
}
