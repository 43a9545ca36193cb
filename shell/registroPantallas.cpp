#include "registroPantallas.h"

#include <QHash>

namespace {
// Filled by static initialisers of the module's files: constructed on first use, whatever
// the order in which those files initialise.
QHash<QString, TRegistroPantalla>& tabla() {
  static QHash<QString, TRegistroPantalla> t;
  return t;
}
}  // namespace

std::optional<TRegistroPantalla> registraPantalla(const QString& clase,
                                                  TRegistroPantalla registro) {
  std::optional<TRegistroPantalla> anterior = buscaPantalla(clase);
  tabla().insert(clase, std::move(registro));
  return anterior;
}

void eliminaPantalla(const QString& clase) { tabla().remove(clase); }

std::optional<TRegistroPantalla> buscaPantalla(const QString& clase) {
  auto it = tabla().constFind(clase);
  if (it == tabla().constEnd()) return std::nullopt;
  return *it;
}

QStringList pantallasRegistradas() {
  QStringList clases = tabla().keys();
  clases.sort();
  return clases;
}
