#pragma once
// Validators of contact fields. An empty field is valid (every one of these fields is
// optional). The field-taking forms also give the user their feedback: an invalid field is
// drawn with a red border (dynamic property "invalido") and its tooltip says what is wrong;
// a valid one is cleared of both.

#include <QString>

class QLineEdit;

// local@dominio.tld: no blanks, one "@", no empty or dotted-at-the-edge parts, a top-level
// domain of at least two letters.
bool esCorreoValido(const QString& texto);
// Exactly `digitos` digits.
bool esTelefonoValido(const QString& texto, int digitos);
// A Mexican postal code: exactly five digits.
bool esCodigoPostalValido(const QString& texto);

bool valida_correo(QLineEdit* campo);
bool valida_numeroTelefono(QLineEdit* campo, int digitos);
bool valida_codigoPostal(QLineEdit* campo);

// Marks or clears a field as invalid with the reason in its tooltip.
void u_marcaCampoInvalido(QLineEdit* campo, bool invalido, const QString& motivo = QString());
