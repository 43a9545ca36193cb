#pragma once
// Field checks shared by the ticket and invoice bodies. Each answers an empty text when the
// field is usable, otherwise the reason in Spanish naming the field by its path in the body.

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <cmath>
#include <initializer_list>

// The generic RFCs of the general public (a global invoice needs neither postal code nor tax
// regime) and of foreign receivers.
inline const QString RFC_PUBLICO_GENERAL = QStringLiteral("XAXX010101000");
inline const QString RFC_EXTRANJERO = QStringLiteral("XEXX010101000");

namespace campos {

QString falta(const QString& ruta);
// A text; `requerido` refuses it missing, `noVacio` refuses it blank.
QString texto(const QJsonObject& o, const QString& campo, const QString& ruta, bool requerido,
              bool noVacio);
// Amounts travel as JSON numbers; `minimo` is the least value accepted.
QString numero(const QJsonObject& o, const QString& campo, const QString& ruta, bool requerido,
               double minimo = -INFINITY);
// A key of a SAT catalog: a text that is exactly one of `validas`.
QString clave(const QJsonObject& o, const QString& campo, const QString& ruta,
              const QStringList& validas, bool requerido);
// The first reason found, or empty.
QString primero(std::initializer_list<QString> errores);

// Persons 13 characters, companies 12: letters, the date of birth or founding as YYMMDD (a
// real date), and three characters of homoclave whose last is a check digit. The generic
// public and foreign RFCs are valid as they stand.
struct RevisionRfc {
  bool valido = false;
  bool digitoCoincide = false;
  QChar digitoEsperado;
};
RevisionRfc revisaRfc(const QString& rfc);
// Whether the RFC is valid. A check digit that does not match is accepted, as the authority's
// own lists hold such RFCs, but it is logged and kept as a warning (see avisos()).
bool rfcBienFormado(const QString& rfc, const QString& campo);
// The last warnings given, oldest first.
QStringList avisos();

}  // namespace campos
