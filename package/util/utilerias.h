#pragma once
// Small utilities of the common business package: exact money truncation, number texts,
// key filters and amount formats shared by every screen.

#include <QChar>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Truncates (never rounds) to `decimales` (0..9) after rounding to the 15 significant digits
// a double carries, so binary noise is forgiven at every magnitude: 3 * 32.40 =
// 97.19999999999999 truncates to 97.20, 258908 * 32.40 to 8388619.20, 10.999 to 10.99,
// -1.239 to -1.23.
double u_truncaDecimales(double valor, int decimales);

// Money truncation on texts: the text read as an amount, truncated to 2 decimals, written
// back as the shortest text ("10.5", "0"). A text that is not a number gives "0".
QString u_truncaMoneda(const QString& texto);

// Sum of valores[0..ultimoIndice], each added exactly, the sum truncated to `decimales`.
double u_acumulaFloat(int decimales, const QList<double>& valores, int ultimoIndice);

// True when the whole text is a decimal number ("12", "-3.5", ".5"); blanks are not allowed.
bool esNumerico(const QString& texto);

// Splits on a separator keeping empty fields ("a||b" -> "a", "", "b").
QStringList u_split(const QString& texto, const QString& separador);

// Shortest text that reads back to the same double ("97.19999999999999", "12", "0.1").
QString u_floatToStr(double valor);
// Reads a number text; anything that is not a number reads as 0.
double u_strToFloat(const QString& texto);
int u_strToInt(const QString& texto);

// Key filters: answer whether the key may go into the field. Control keys (backspace,
// tab, enter) always pass.
bool u_soloNumeros(QChar tecla);
bool u_soloDecimales(const QString& textoActual, QChar tecla);
bool u_maxLength(int maximo, const QString& textoActual, QChar tecla);

// Amount formats (the platform's, so screens and receipts print the same texts). Both round
// to 2 decimals (half away from zero, on the 15 significant digits) and group thousands.
QString u_formatoMoneda(double valor);     // "$ #,###,##0.00"  -> "$ 1,234.50"
QString u_formatoNumero(double valor);     // "#,###,##0.00"    -> "1,234.50"
QString u_formatoMonedaMXN(double valor);  // "$ 1,234.50 MXN"

// Typed amounts: "$", "," and blanks removed; what is left must be numeric, else 0.
double u_parseMonto(const QString& texto);

// Key handling of money fields typed on a keypad or keyboard, on the field's text. keyCode 8 is
// backspace. With flagMoneda only digits and one decimal point with at most two decimals pass
// (and the text loses its commas); without it any printable character passes. Nothing passes
// beyond `limite` characters. Answers whether the field takes the new `texto`. The field
// version, textoMascaraMoneda, is the screens' (ui/camposTexto.h).
bool u_mascaraMoneda(QString& texto, int keyCode, QChar tecla, bool flagMoneda, int limite);

// Lower case without accents, for searches that ignore both ("Café" -> "cafe").
QString u_normalizaBusqueda(const QString& texto);

// Fixed date-time texts. Storage and result tables use "yyyy-MM-dd HH:mm:ss"; people see
// "dd/MM/yyyy HH:mm:ss". The reader accepts both, so a shown date can be read back.

QString u_fechaHoraTexto(const QDateTime& fecha);
QString u_fechaHoraBD(const QDateTime& fecha);
// A date-time as the database gives it ("2026-12-05 09:07:03", ISO "T" or fractions included)
// in the fixed format people read; any other text comes back as it is.
QString u_fechaHoraMostrable(const QString& texto);
QDateTime u_leeFechaHora(const QString& texto);
