#pragma once
// What the product accepts, so that money stays exact to the cent and every text fits its
// column and the receipt. The import refuses values beyond these bounds; capture screens check
// what is typed with the same functions.
//
// Money is computed on the 15 significant digits a double carries (util/montos):
// - a line is quantity (three decimals) × unit price (two decimals): five decimals, exact while
//   the product stays below 10^10. Hence kMaxCantidad × kMaxPrecio < 10^10; with charged taxes
//   (each rate below 1) a line stays below 3 × 10^10.
// - totals and payments are sums of amounts with cents; below 10^12 they keep a third decimal,
//   so the cut at the cent is a truncation and never a rounding.

#include <QString>

constexpr double kMaxPrecio = 999999.99;          // unit price, cost, kit price, promotion amount
constexpr double kMaxCantidad = 9999.999;         // quantity of a sale line, scale, kit or gift
constexpr double kMaxExistencia = 999999999.999;  // stock of a product in one warehouse
constexpr double kMaxMonto = 999999999999.99;     // totals, payments, cash counts

// Text lengths, in characters.
constexpr int kMaxLargoClave = 50;    // keys and codes (the reading field takes 50)
constexpr int kMaxLargoNombre = 150;  // names and labels: at most eight lines of a receipt
constexpr int kMaxLargoTexto = 1000;  // free descriptions and notes
constexpr int kMaxLargoCorto = 250;   // any other text
constexpr qsizetype kMaxBytesImagen = 2 * 1024 * 1024;  // a product picture

// Each check answers an empty text when the value is accepted, otherwise the Spanish reason,
// naming `campo` ("el precio", "la cantidad"): "el precio no puede pasar de 999,999.99".
// Negative values and zero are the caller's rule; these refuse what is too large or not a
// number at all.
QString u_revisaPrecio(double valor, const QString& campo);
QString u_revisaCantidad(double valor, const QString& campo);
QString u_revisaExistencia(double valor, const QString& campo);
QString u_revisaMonto(double valor, const QString& campo);
// Too long, or carrying a NUL (SQLite would cut the text there, PostgreSQL refuses it).
QString u_revisaTexto(const QString& texto, int maximo, const QString& campo);
