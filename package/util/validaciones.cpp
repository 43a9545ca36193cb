#include "validaciones.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QStyle>

namespace {

bool soloDigitos(const QString& t) {
  for (QChar c : t)
    if (c < '0' || c > '9') return false;
  return true;
}

bool marca(QLineEdit* campo, bool valido, const QString& motivo) {
  u_marcaCampoInvalido(campo, !valido, motivo);
  return valido;
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

void u_marcaCampoInvalido(QLineEdit* campo, bool invalido, const QString& motivo) {
  if (!campo) return;
  campo->setProperty("invalido", invalido);
  campo->setToolTip(invalido ? motivo : QString());
  // A dynamic property only restyles after the style is applied again.
  campo->style()->unpolish(campo);
  campo->style()->polish(campo);
  campo->update();
}

bool valida_correo(QLineEdit* campo) {
  if (!campo) return true;
  return marca(campo, esCorreoValido(campo->text()),
               QStringLiteral("Escriba un correo como nombre@dominio.com"));
}

bool valida_numeroTelefono(QLineEdit* campo, int digitos) {
  if (!campo) return true;
  return marca(campo, esTelefonoValido(campo->text(), digitos),
               QStringLiteral("El número debe tener %1 dígitos").arg(digitos));
}

bool valida_codigoPostal(QLineEdit* campo) {
  if (!campo) return true;
  return marca(campo, esCodigoPostalValido(campo->text()),
               QStringLiteral("El código postal debe tener 5 dígitos"));
}
