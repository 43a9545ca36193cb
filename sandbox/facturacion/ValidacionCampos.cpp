#include "ValidacionCampos.h"

#include <QJsonValue>
#include <QRegularExpression>

#include "Bitacora.h"

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

RevisionRfc revisaRfc(const QString& texto) {
  RevisionRfc r;
  const QString rfc = texto.trimmed().toUpper();
  // Letters (Ñ and & included), birth or founding date, three check characters.
  static const QRegularExpression forma(
      QStringLiteral("^([A-ZÑ&]{3,4})([0-9]{2})([0-9]{2})([0-9]{2})([A-Z0-9]{2})([A-Z0-9])$"));
  const QRegularExpressionMatch m = forma.match(rfc);
  if (!m.hasMatch()) return r;
  if (rfc == RFC_PUBLICO_GENERAL || rfc == RFC_EXTRANJERO) {
    r.valido = r.digitoCoincide = true;
    r.digitoEsperado = rfc.back();
    return r;
  }
  const int anio = m.captured(2).toInt(), mes = m.captured(3).toInt(), dia = m.captured(4).toInt();
  // Two digits of year: 00 is 2000, a leap year, like every other multiple of four here.
  static constexpr int diasMes[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (mes < 1 || mes > 12 || dia < 1 || dia > diasMes[mes - 1] ||
      (mes == 2 && dia == 29 && anio % 4 != 0))
    return r;
  r.valido = true;

  // The authority's check digit: each of the first twelve characters (a company's RFC is
  // padded with a leading blank) weighed 13 down to 2, the sum taken modulo 11.
  static const QString valores = QStringLiteral("0123456789ABCDEFGHIJKLMN&OPQRSTUVWXYZ Ñ");
  const QString doce = (rfc.size() == 12 ? QStringLiteral(" ") + rfc : rfc).left(12);
  int suma = 0;
  for (int i = 0; i < 12; ++i) suma += static_cast<int>(valores.indexOf(doce.at(i))) * (13 - i);
  const int resto = suma % 11;
  r.digitoEsperado = resto == 0   ? QLatin1Char('0')
                     : resto == 1 ? QLatin1Char('A')
                                  : QChar(QLatin1Char('0').unicode() + 11 - resto);
  r.digitoCoincide = rfc.back() == r.digitoEsperado;
  return r;
}

namespace {
QStringList& listaAvisos() {
  static QStringList lista;
  return lista;
}
}  // namespace

bool rfcBienFormado(const QString& rfc, const QString& campo) {
  const RevisionRfc r = revisaRfc(rfc);
  if (r.valido && !r.digitoCoincide) {
    const QString aviso =
        QStringLiteral("AVISO: el dígito verificador del RFC %1 ('%2') no coincide; se esperaba %3")
            .arg(rfc.trimmed().toUpper(), campo, QString(r.digitoEsperado));
    bitacora(aviso);
    listaAvisos().append(aviso);
    if (listaAvisos().size() > 1000) listaAvisos().removeFirst();
  }
  return r.valido;
}

QStringList avisos() { return listaAvisos(); }

}  // namespace campos
