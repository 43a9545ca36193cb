#pragma once
// Field checks shared by the ticket and invoice bodies. Each answers an empty text when the
// field is usable, otherwise the reason in Spanish naming the field by its path in the body.

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <cmath>
#include <initializer_list>

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

// Persons 13 characters, companies 12; the generic public and foreign RFCs fit the same shape.
bool rfcBienFormado(const QString& rfc);

}  // namespace campos
