#pragma once
// Amount texts for what the platform prints (receipts, PDF and spreadsheet exports). The
// platform sits below the business package, so it keeps its own copy of the house formats.

#include <QString>

// "#,###,##0.00": rounded to 2 decimals (half away from zero, binary noise forgiven first),
// thousands grouped with commas, "-1,234.50" for negatives.
QString plat_formatoNumero(double valor);
// "$ #,###,##0.00" -> "$ 1,234.50", "$ -3.00".
QString plat_formatoMoneda(double valor);

// Reads a typed amount: "$", "," and blanks are removed, what is left must be a plain decimal
// ("12", "-3.5", ".5"). Answers false (and leaves *valor alone) for anything else.
bool plat_leeMonto(const QString& texto, double* valor);

// A plain decimal text with nothing removed first.
bool plat_esDecimal(const QString& texto);
