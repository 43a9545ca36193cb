#pragma once
// Field-taking helpers of the touch forms: the money mask applied to a line edit, and the
// contact validators that also give the user their feedback (an invalid field is drawn with a
// red border, dynamic property "invalido", and its tooltip says what is wrong; a valid one is
// cleared of both). The rules themselves are in util/ (u_mascaraMoneda, esCorreoValido, ...).

#include <QChar>
#include <QString>

class QLineEdit;

// u_mascaraMoneda on the field's text; the field takes the result only when the key passes.
void textoMascaraMoneda(QLineEdit* control, int keyCode, QChar tecla, bool flagMoneda, int limite);

bool valida_correo(QLineEdit* campo);
bool valida_numeroTelefono(QLineEdit* campo, int digitos);
bool valida_codigoPostal(QLineEdit* campo);

// Marks or clears a field as invalid with the reason in its tooltip.
void u_marcaCampoInvalido(QLineEdit* campo, bool invalido, const QString& motivo = QString());
