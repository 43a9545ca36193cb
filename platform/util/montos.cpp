#include "montos.h"

#include <QRegularExpression>
#include <cmath>

namespace {

// Past this the value cannot be scaled by 1e9 inside a 64-bit integer.
constexpr double kLimiteEntero = 9.0e9;

QString agrupaMiles(long long entero) {
  const QString digitos = QString::number(entero);
  QString out;
  const qsizetype n = digitos.size();
  for (qsizetype i = 0; i < n; ++i) {
    out += digitos[i];
    const qsizetype restantes = n - 1 - i;
    if (restantes > 0 && restantes % 3 == 0) out += QLatin1Char(',');
  }
  return out;
}

}  // namespace

QString plat_formatoNumero(double valor) {
  if (!std::isfinite(valor)) valor = 0.0;
  bool negativo = false;
  long long centavos = 0;
  if (std::fabs(valor) < kLimiteEntero) {
    // Rounded at 9 decimals first, so 1.005 typed by a person stays 1.01.
    const long long n9 = std::llround(valor * 1e9);
    negativo = n9 < 0;
    centavos = ((negativo ? -n9 : n9) + 5000000LL) / 10000000LL;
  } else {
    negativo = valor < 0;
    centavos = std::llround(std::fabs(valor) * 100.0);
  }
  if (centavos == 0) negativo = false;
  return QStringLiteral("%1%2.%3")
      .arg(negativo ? QStringLiteral("-") : QString())
      .arg(agrupaMiles(centavos / 100))
      .arg(static_cast<int>(centavos % 100), 2, 10, QLatin1Char('0'));
}

QString plat_formatoMoneda(double valor) {
  return QStringLiteral("$ ") + plat_formatoNumero(valor);
}

bool plat_esDecimal(const QString& texto) {
  static const QRegularExpression patron(QStringLiteral("^-?(\\d+(\\.\\d*)?|\\.\\d+)$"));
  return patron.match(texto).hasMatch();
}

bool plat_leeMonto(const QString& texto, double* valor) {
  QString limpio = texto;
  limpio.remove(QLatin1Char('$')).remove(QLatin1Char(','));
  limpio.remove(QRegularExpression(QStringLiteral("\\s")));
  if (!plat_esDecimal(limpio)) return false;
  bool ok = false;
  const double v = limpio.toDouble(&ok);
  if (!ok || !std::isfinite(v)) return false;
  if (valor) *valor = v;
  return true;
}
