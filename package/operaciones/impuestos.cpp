#include "impuestos.h"

#include "util/utilerias.h"

importeDatos u_calculaPrecioVenta(const importeDatos& datos) {
  importeDatos r = datos;
  const double base = datos.base;
  r.iepsTrasladado = u_truncaDecimales(base * datos.iepsTrasladadoTasa, 2);
  r.ivaTrasladado = u_truncaDecimales((base + r.iepsTrasladado) * datos.ivaTrasladadoTasa, 2);
  r.ivaRetenido = u_truncaDecimales(base * datos.ivaRetenidoTasa, 2);
  r.iepsRetenido = u_truncaDecimales(base * datos.iepsRetenidoTasa, 2);
  r.isrRetenido = u_truncaDecimales(base * datos.isrRetenidoTasa, 2);
  r.precio = u_acumulaFloat(2,
                            {base, r.iepsTrasladado, r.ivaTrasladado, -r.ivaRetenido,
                             -r.iepsRetenido, -r.isrRetenido},
                            5);
  return r;
}

double u_tasaImpuesto(const QString& texto) {
  QString t = texto;
  t.remove('!');
  return u_strToFloat(t);
}
