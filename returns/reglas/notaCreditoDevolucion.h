#pragma once
// The credit note's request for a return, without widgets: one concept per returned row of the
// return grid (its columns read by name), each with its amounts and tax record, and the
// totals, related to the sale's invoice and made out to that invoice's receiver. Amounts are
// truncated to the cent where the credit note's rules say so, never rounded.

#include "context/TsistemaDatos.h"
#include "facturacion/datosFacturar.h"
#include "grid/TGridControl.h"

struct TventaDevolucion;

// The concept columns, in order.
const QStringList& u_columnasConceptoNotaCredito();

datosFacturar reuneDatosFacturaNotaDeCredito(const TGridControl& lineas,
                                             const TventaDevolucion& venta,
                                             const TNegocio& negocio);

// The tax record of grid row `fila`: IEPS (slot 0) and VAT (slot 1) charged, each only when the
// sold line carried it.
TticketImpuestos getImpuestoRenglon(const TGridControl& lineas, int fila);
