#pragma once
// Tax arithmetic of a sale line.

#include <QString>

#include "db/TConexionSesion.h"
#include "facturacion/datosFacturar.h"

// Calculation record of a line: set the base and the five rates, read back the amounts and
// the price with taxes.
struct importeDatos {
  int tipo = 0;  // 2: amounts from a net base
  bool conImpuestos = false;
  double base = 0;    // net amount of the line after discount
  double precio = 0;  // result: the line's price with taxes
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

// The tax record of a whole ticket as one concept of a global invoice: per tax, the sum of its
// lines' amounts (truncated to the cent) over the sum of their bases, at the rate of the line
// with the largest base (a ticket that mixes rates of one tax is rare). Slots: 0 IEPS charged,
// 1 IVA charged (its base includes the IEPS), 2 IVA withheld, 3 IEPS withheld, 4 ISR withheld;
// a tax the ticket does not carry leaves its slot empty.
TticketImpuestos obtieneImpuestosGlobalTicket(int operacionID, TConexionSesion& conexion);
