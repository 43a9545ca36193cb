#pragma once
// Tax arithmetic of a sale line.

#include <QString>

// Calculation record of a line: set the base and the five rates, read back the amounts and
// the price with taxes.
struct importeDatos {
  int tipo = 0;        // 2: amounts from a net base
  bool conImpuestos = false;
  double base = 0;     // net amount of the line after discount
  double precio = 0;   // result: the line's price with taxes
  double ivaTrasladadoTasa = 0, ivaTrasladado = 0;
  double ivaRetenidoTasa = 0, ivaRetenido = 0;
  double iepsTrasladadoTasa = 0, iepsTrasladado = 0;
  double iepsRetenidoTasa = 0, iepsRetenido = 0;
  double isrRetenidoTasa = 0, isrRetenido = 0;
};

// Charged IEPS is computed on the base and charged IVA on the base plus that IEPS (as the
// price monitor and the credit note do); the withheld IVA, IEPS and ISR are computed on the
// base. Each amount is truncated to 2 decimals, and the price with taxes is
// base + charged - withheld.
importeDatos u_calculaPrecioVenta(const importeDatos& datos);

// A tax rate text as the price list holds it: "!" marks removed, empty or not a number is 0.
double u_tasaImpuesto(const QString& texto);
