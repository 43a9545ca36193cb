#include "ui/camposTexto.h"

#include <QLineEdit>
#include <QStyle>

#include "util/utilerias.h"
#include "util/validaciones.h"

namespace {

bool marca(QLineEdit* campo, bool valido, const QString& motivo) {
  u_marcaCampoInvalido(campo, !valido, motivo);
  return valido;
}

}  // namespace

void textoMascaraMoneda(QLineEdit* control, int keyCode, QChar tecla, bool flagMoneda, int limite) {
  if (!control) return;
  QString texto = control->text();
  if (u_mascaraMoneda(texto, keyCode, tecla, flagMoneda, limite)) control->setText(texto);
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
