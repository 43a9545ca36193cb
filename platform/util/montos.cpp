#include "montos.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kDigitos = 15;

constexpr double kPotenciasDiez[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr unsigned long long kPotenciasEnteras[] = {1ULL,
                                                    10ULL,
                                                    100ULL,
                                                    1000ULL,
                                                    10000ULL,
                                                    100000ULL,
                                                    1000000ULL,
                                                    10000000ULL,
                                                    100000000ULL,
                                                    1000000000ULL,
                                                    10000000000ULL,
                                                    100000000000ULL,
                                                    1000000000000ULL,
                                                    10000000000000ULL,
                                                    100000000000000ULL,
                                                    1000000000000000ULL};

// value = ±mantisa × 10^exponente, with the mantissa holding the 15 significant digits.
struct TDecimal15 {
  bool negativo = false;
  unsigned long long mantisa = 0;
  int exponente = 0;
};

TDecimal15 decimal15(double valor) {
  TDecimal15 d;
  if (valor == 0 || !std::isfinite(valor)) return d;
  // "d.dddddddddddddde±x": to_chars rounds to nearest, as the decimal reading of a double does.
  char texto[40];
  char* const fin = std::to_chars(texto, texto + sizeof texto - 1, valor,
                                  std::chars_format::scientific, kDigitos - 1)
                        .ptr;
  *fin = '\0';
  const char* c = texto;
  if (*c == '-') {
    d.negativo = true;
    ++c;
  }
  for (; c < fin && *c != 'e'; ++c)
    if (*c != '.') d.mantisa = d.mantisa * 10 + static_cast<unsigned>(*c - '0');
  d.exponente = std::atoi(c + 1) - (kDigitos - 1);
  return d;
}

// ±q / 10^decimales: q below 2^53 and an exact power of ten, so one correctly rounded division.
double cociente(bool negativo, unsigned long long q, int decimales) {
  if (q == 0) return 0.0;
  const double v = static_cast<double>(q) / kPotenciasDiez[decimales];
  return negativo ? -v : v;
}

QString agrupaMiles(const QString& digitos) {
  QString out;
  const qsizetype n = digitos.size();
  out.reserve(n + n / 3);
  for (qsizetype i = 0; i < n; ++i) {
    out += digitos[i];
    const qsizetype restantes = n - 1 - i;
    if (restantes > 0 && restantes % 3 == 0) out += QLatin1Char(',');
  }
  return out;
}

}  // namespace

double plat_truncaDecimales(double valor, int decimales) {
  if (!std::isfinite(valor)) return 0.0;
  decimales = std::clamp(decimales, 0, 9);
  const TDecimal15 d = decimal15(valor);
  if (d.mantisa == 0) return 0.0;
  const int corte = -(d.exponente + decimales);  // digits of the mantissa past the cut
  if (corte > 0) {
    const unsigned long long q = corte > kDigitos ? 0 : d.mantisa / kPotenciasEnteras[corte];
    return cociente(d.negativo, q, decimales);
  }
  // Nothing to cut: the value rounded to its 15 digits.
  if (d.exponente < 0) return cociente(d.negativo, d.mantisa, -d.exponente);
  if (d.exponente <= 22) {
    const double v = static_cast<double>(d.mantisa) * kPotenciasDiez[d.exponente];
    return d.negativo ? -v : v;
  }
  return valor;
}

QString plat_formatoNumero(double valor) {
  const TDecimal15 d = decimal15(valor);
  // Cents as a digit string: the mantissa shifted to two decimals, rounded half away from zero.
  QString centavos;
  const int desplazamiento = d.exponente + 2;
  if (desplazamiento >= 0) {
    centavos =
        QString::number(d.mantisa) + QString(d.mantisa ? desplazamiento : 0, QLatin1Char('0'));
  } else if (-desplazamiento <= kDigitos) {
    const unsigned long long divisor = kPotenciasEnteras[-desplazamiento];
    unsigned long long q = d.mantisa / divisor;
    if ((d.mantisa % divisor) * 2 >= divisor) ++q;
    centavos = QString::number(q);
  } else {
    centavos = QStringLiteral("0");
  }
  const bool negativo = d.negativo && centavos != QLatin1String("0");
  if (centavos.size() < 3) centavos = centavos.rightJustified(3, QLatin1Char('0'));
  return QStringLiteral("%1%2.%3")
      .arg(negativo ? QStringLiteral("-") : QString())
      .arg(agrupaMiles(centavos.left(centavos.size() - 2)))
      .arg(centavos.right(2));
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
