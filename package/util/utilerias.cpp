#include "utilerias.h"

#include <QDateTime>
#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "util/montos.h"

double u_truncaDecimales(double valor, int decimales) {
  return plat_truncaDecimales(valor, decimales);
}

QString u_truncaMoneda(const QString& texto) {
  const QString limpio = texto.trimmed();
  if (!esNumerico(limpio)) return QStringLiteral("0");
  return u_floatToStr(u_truncaDecimales(limpio.toDouble(), 2));
}

double u_acumulaFloat(int decimales, const QList<double>& valores, int ultimoIndice) {
  // The wider accumulator keeps the noise of a long chain of additions below what the
  // final truncation forgives.
  long double suma = 0;
  for (int i = 0; i <= ultimoIndice && i < valores.size(); ++i) suma += valores[i];
  return u_truncaDecimales(static_cast<double>(suma), decimales);
}

bool esNumerico(const QString& texto) {
  if (texto.isEmpty()) return false;
  int i = 0;
  if (texto[0] == '-' || texto[0] == '+') i = 1;
  bool digitos = false, punto = false;
  for (; i < texto.size(); ++i) {
    const QChar c = texto[i];
    if (c >= '0' && c <= '9') {
      digitos = true;
    } else if (c == '.' && !punto) {
      punto = true;
    } else {
      return false;
    }
  }
  return digitos;
}

QStringList u_split(const QString& texto, const QString& separador) {
  return texto.split(separador, Qt::KeepEmptyParts);
}

QString u_floatToStr(double valor) {
  if (!std::isfinite(valor)) return QStringLiteral("0");
  if (valor == 0) return QStringLiteral("0");  // no "-0"
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, valor);
  QString s = QString::fromLatin1(buf, res.ptr - buf);
  if (s.contains('e')) {
    // Amounts never need exponents; write them out plainly.
    std::snprintf(buf, sizeof buf, "%.17f", valor);
    s = QString::fromLatin1(buf);
    while (s.endsWith('0')) s.chop(1);
    if (s.endsWith('.')) s.chop(1);
  }
  return s;
}

double u_strToFloat(const QString& texto) {
  const QString t = texto.trimmed();
  if (!esNumerico(t)) return 0.0;
  return t.toDouble();
}

int u_strToInt(const QString& texto) {
  bool ok = false;
  const QString t = texto.trimmed();
  const int v = t.toInt(&ok);
  if (ok) return v;
  return static_cast<int>(u_strToFloat(t));
}

bool u_soloNumeros(QChar tecla) {
  if (tecla.unicode() < 32) return true;
  return tecla >= '0' && tecla <= '9';
}

bool u_soloDecimales(const QString& textoActual, QChar tecla) {
  if (tecla.unicode() < 32) return true;
  if (tecla >= '0' && tecla <= '9') return true;
  return tecla == '.' && !textoActual.contains('.');
}

bool u_maxLength(int maximo, const QString& textoActual, QChar tecla) {
  if (tecla.unicode() < 32) return true;
  return textoActual.size() < maximo;
}

QString u_formatoMoneda(double valor) { return plat_formatoMoneda(valor); }

QString u_formatoNumero(double valor) { return plat_formatoNumero(valor); }

QString u_formatoMonedaMXN(double valor) { return u_formatoMoneda(valor) + QStringLiteral(" MXN"); }

double u_parseMonto(const QString& texto) {
  QString t = texto.trimmed();
  t.remove('$').remove(',').remove(' ');
  return esNumerico(t) ? t.toDouble() : 0.0;
}

bool u_mascaraMoneda(QString& texto, int keyCode, QChar tecla, bool flagMoneda, int limite) {
  if (keyCode == 8) {
    texto.chop(1);
    return true;
  }
  if (texto.size() >= limite) return false;
  if (flagMoneda) {
    texto.remove(',');
    if (tecla == '.') {
      if (texto.contains('.')) return false;
      if (texto.isEmpty()) texto = QStringLiteral("0");
    } else if (tecla >= '0' && tecla <= '9') {
      const qsizetype punto = texto.indexOf('.');
      if (punto >= 0 && texto.size() - punto - 1 >= 2) return false;
    } else {
      return false;
    }
  } else if (tecla.unicode() < 32) {
    return false;
  }
  texto += tecla;
  return true;
}

QString u_normalizaBusqueda(const QString& texto) {
  const QString descompuesto = texto.toLower().normalized(QString::NormalizationForm_D);
  QString out;
  out.reserve(descompuesto.size());
  for (const QChar c : descompuesto) {
    if (c.category() == QChar::Mark_NonSpacing) continue;
    out += c;
  }
  return out;
}

QString u_fechaHoraTexto(const QDateTime& fecha) {
  return fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QString u_fechaHoraBD(const QDateTime& fecha) {
  return fecha.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString u_fechaHoraMostrable(const QString& texto) {
  static const QRegularExpression almacenada(
      QStringLiteral("^\\d{4}-\\d{2}-\\d{2}[ T]\\d{2}:\\d{2}:\\d{2}(\\.\\d+)?$"));
  const QString t = texto.trimmed();
  if (!almacenada.match(t).hasMatch()) return texto;
  const QDateTime f = u_leeFechaHora(t.left(19));
  return f.isValid() ? u_fechaHoraTexto(f) : texto;
}

QDateTime u_leeFechaHora(const QString& texto) {
  const QString t = texto.trimmed();
  static const char* formatos[] = {"yyyy-MM-dd HH:mm:ss",
                                   "yyyy-MM-ddTHH:mm:ss",
                                   "dd/MM/yyyy HH:mm:ss",
                                   "yyyy-MM-dd HH:mm:ss.zzz",
                                   "yyyy-MM-ddTHH:mm:ss.zzz",
                                   "yyyy-MM-dd",
                                   "dd/MM/yyyy"};
  for (const char* f : formatos) {
    const QDateTime d = QDateTime::fromString(t, QString::fromLatin1(f));
    if (d.isValid()) return d;
  }
  return QDateTime();
}
