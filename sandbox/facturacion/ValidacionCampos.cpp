#include "ValidacionCampos.h"

#include <QJsonValue>
#include <QRegularExpression>

namespace campos {

QString falta(const QString& ruta) { return QStringLiteral("Falta el campo '%1'").arg(ruta); }

QString texto(const QJsonObject& o, const QString& campo, const QString& ruta, bool requerido,
              bool noVacio) {
  const QJsonValue v = o.value(campo);
  if (v.isUndefined() || v.isNull()) return requerido ? falta(ruta) : QString();
  if (!v.isString()) return QStringLiteral("El campo '%1' debe ser texto").arg(ruta);
  if (noVacio && v.toString().trimmed().isEmpty())
    return QStringLiteral("El campo '%1' no puede estar vacío").arg(ruta);
  return {};
}

QString numero(const QJsonObject& o, const QString& campo, const QString& ruta, bool requerido,
               double minimo) {
  const QJsonValue v = o.value(campo);
  if (v.isUndefined() || v.isNull()) return requerido ? falta(ruta) : QString();
  if (!v.isDouble() || !std::isfinite(v.toDouble()))
    return QStringLiteral("El campo '%1' debe ser un número").arg(ruta);
  if (v.toDouble() < minimo)
    return QStringLiteral("El campo '%1' no puede ser menor que %2").arg(ruta).arg(minimo);
  return {};
}

QString clave(const QJsonObject& o, const QString& campo, const QString& ruta,
              const QStringList& validas, bool requerido) {
  const QString e = texto(o, campo, ruta, requerido, requerido);
  if (!e.isEmpty()) return e;
  const QJsonValue v = o.value(campo);
  if (v.isUndefined() || v.isNull()) return {};
  if (!validas.contains(v.toString()))
    return QStringLiteral("El campo '%1' no es válido").arg(ruta);
  return {};
}

QString primero(std::initializer_list<QString> errores) {
  for (const QString& e : errores)
    if (!e.isEmpty()) return e;
  return {};
}

bool rfcBienFormado(const QString& rfc) {
  // Letters (Ñ and & included), birth or founding date, three check characters.
  static const QRegularExpression forma(QStringLiteral("^[A-ZÑ&]{3,4}[0-9]{6}[A-Z0-9]{3}$"),
                                        QRegularExpression::CaseInsensitiveOption);
  return forma.match(rfc.trimmed()).hasMatch();
}

}  // namespace campos
