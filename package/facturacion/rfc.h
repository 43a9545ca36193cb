#pragma once
// The shape of an RFC: letters (Ñ and & included), a yymmdd date that exists, three characters
// of which the last is the authority's check digit.

#include <QChar>
#include <QString>

struct TrevisionRfc {
  bool valido = false;          // letters, a real date and three characters
  bool digitoCoincide = false;  // the last character is the check digit the others give
  QChar digitoEsperado;
};

// `rfc` as typed: surrounding blanks are ignored, lower case is read as upper case.
TrevisionRfc u_revisaRfc(const QString& rfc);

// Empty when the check digit matches (or the RFC is not valid at all); otherwise a warning for
// the person who typed it. A wrong check digit is warned about, never refused: the authority's
// own records carry a few.
QString u_avisoDigitoRfc(const QString& rfc);
