#pragma once
// The test customer's fiscal data as the invoicing screen takes them, then "Facturar": for tests
// that run the screen as a dialog (RespondedorPrueba::enDialogo).

#include "ui/TFRM_facturar.h"

inline void facturaAClientePrueba(TFRM_facturar& f) {
  f.escribe("RFC", "XOJI740919U48");
  f.escribe("Nombre o razón social", "INGRID XODAR JIMENEZ");
  f.escribe("Código postal", "88965");
  f.elige("Régimen fiscal", "605");
  f.elige("Uso del CFDI", "G03");
  f.BTN_facturarClick();
}
