#pragma once
// Amounts as the decimals they stand for. A double carries 15 significant decimal digits;
// past them is noise of the binary arithmetic (3 × 32.40 is 97.19999999999999 and stands for
// 97.2). Truncating and rounding are done on those 15 digits, so they stay decimal-correct at
// every magnitude: 258,908 × 32.40 truncates to 8,388,619.20, where scaling by a fixed power
// of ten stops forgiving the noise past 2^23. The business package truncates through here and
// prints the same texts as the receipts, PDF and spreadsheet exports.

#include <QString>

// Truncates (never rounds) to `decimales` (0..9) after rounding to 15 significant digits:
// 10.999 -> 10.99, -1.239 -> -1.23, 3 * 32.40 -> 97.20. Not finite -> 0.
double plat_truncaDecimales(double valor, int decimales);

// "#,###,##0.00": rounded to 2 decimals (half away from zero, on the 15 significant digits),
// thousands grouped with commas, "-1,234.50" for negatives, never "-0.00". Not finite -> 0.00.
QString plat_formatoNumero(double valor);
// "$ #,###,##0.00" -> "$ 1,234.50", "$ -3.00".
QString plat_formatoMoneda(double valor);

// Reads a typed amount: "$", "," and blanks are removed, what is left must be a plain decimal
// ("12", "-3.5", ".5"). Answers false (and leaves *valor alone) for anything else.
bool plat_leeMonto(const QString& texto, double* valor);

// A plain decimal text with nothing removed first.
bool plat_esDecimal(const QString& texto);
