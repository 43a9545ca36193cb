#pragma once
// Validators of contact fields. An empty field is valid (every one of these fields is
// optional). Their field-taking forms, which also mark the field, are the screens'
// (ui/camposTexto.h).

#include <QString>

// local@dominio.tld: no blanks, one "@", no empty or dotted-at-the-edge parts, a top-level
// domain of at least two letters.
bool esCorreoValido(const QString& texto);
// Exactly `digitos` digits.
bool esTelefonoValido(const QString& texto, int digitos);
// A Mexican postal code: exactly five digits.
bool esCodigoPostalValido(const QString& texto);
