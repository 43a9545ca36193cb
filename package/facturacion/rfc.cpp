#include "facturacion/rfc.h"

#include <QRegularExpression>

namespace {

// Generic RFCs (public in general, foreign residents) carry a fixed, valid check character.
bool esGenerico(const QString& rfc) {
  return rfc == QLatin1String("XAXX010101000") || rfc == QLatin1String("XEXX010101000");
}

QChar digitoVerificador(const QString& rfc) {
  // Each of the first twelve characters (a company's RFC is padded with a leading blank) is
  // weighed 13 down to 2; the sum is taken modulo 11.
  static const QString valores = QStringLiteral("0123456789ABCDEFGHIJKLMN&OPQRSTUVWXYZ Ñ");
  const QString doce = (rfc.size() == 12 ? QStringLiteral(" ") + rfc : rfc).left(12);
  int suma = 0;
  for (int i = 0; i < 12; ++i) suma += static_cast<int>(valores.indexOf(doce.at(i))) * (13 - i);
  const int resto = suma % 11;
  if (resto == 0) return QLatin1Char('0');
  if (resto == 1) return QLatin1Char('A');
  return QChar(QLatin1Char('0').unicode() + 11 - resto);
}

}  // namespace

TrevisionRfc u_revisaRfc(const QString& texto) {
  TrevisionRfc r;
  const QString rfc = texto.trimmed().toUpper();
  static const QRegularExpression forma(
      QStringLiteral("^[A-ZÑ&]{3,4}([0-9]{2})([0-9]{2})([0-9]{2})[A-Z0-9]{3}$"));
  const QRegularExpressionMatch m = forma.match(rfc);
  if (!m.hasMatch()) return r;
  const int anio = m.captured(1).toInt(), mes = m.captured(2).toInt(), dia = m.captured(3).toInt();
  // Two digits cannot tell 1900 from 2000: a 29th of February is taken in any year divisible
  // by four (00 included, as 2000 was a leap year).
  static constexpr int kDiasMes[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (mes < 1 || mes > 12 || dia < 1 || dia > kDiasMes[mes - 1] ||
      (mes == 2 && dia == 29 && anio % 4 != 0))
    return r;
  r.valido = true;
  r.digitoEsperado = esGenerico(rfc) ? rfc.back() : digitoVerificador(rfc);
  r.digitoCoincide = rfc.back() == r.digitoEsperado;
  return r;
}

QString u_avisoDigitoRfc(const QString& texto) {
  const TrevisionRfc r = u_revisaRfc(texto);
  if (!r.valido || r.digitoCoincide) return QString();
  return QStringLiteral("El dígito verificador del RFC %1 no coincide (se esperaba %2). Revise "
                        "que esté bien escrito.")
      .arg(texto.trimmed().toUpper(), QString(r.digitoEsperado));
}
