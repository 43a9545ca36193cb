#include "validaciones.h"

#include <QRegularExpression>

namespace {

bool soloDigitos(const QString& t) {
  for (QChar c : t)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

bool esCorreoValido(const QString& texto) {
  const QString t = texto.trimmed();
  if (t.isEmpty()) return true;
  static const QRegularExpression patron(QStringLiteral(
      "^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*"
      "@[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*"
      "\\.[A-Za-z]{2,}$"));
  return patron.match(t).hasMatch();
}

bool esTelefonoValido(const QString& texto, int digitos) {
  const QString t = texto.trimmed();
  if (t.isEmpty()) return true;
  return t.size() == digitos && soloDigitos(t);
}

bool esCodigoPostalValido(const QString& texto) {
  const QString t = texto.trimmed();
  if (t.isEmpty()) return true;
  return t.size() == 5 && soloDigitos(t);
}
