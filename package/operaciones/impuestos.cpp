#include "impuestos.h"

#include "db/TmiddleTier.h"
#include "util/utilerias.h"

importeDatos u_calculaPrecioVenta(const importeDatos& datos) {
  importeDatos r = datos;
  const double base = datos.base;
  r.iepsTrasladado = u_truncaDecimales(base * datos.iepsTrasladadoTasa, 2);
  r.ivaTrasladado = u_truncaDecimales((base + r.iepsTrasladado) * datos.ivaTrasladadoTasa, 2);
  r.ivaRetenido = u_truncaDecimales(base * datos.ivaRetenidoTasa, 2);
  r.iepsRetenido = u_truncaDecimales(base * datos.iepsRetenidoTasa, 2);
  r.isrRetenido = u_truncaDecimales(base * datos.isrRetenidoTasa, 2);
  r.precio = u_acumulaFloat(
      2, {base, r.iepsTrasladado, r.ivaTrasladado, -r.ivaRetenido, -r.iepsRetenido, -r.isrRetenido},
      5);
  return r;
}

double u_tasaImpuesto(const QString& texto) {
  QString t = texto;
  t.remove('!');
  return u_strToFloat(t);
}

namespace {

struct TsumaImpuesto {
  QList<double> importes;
  QList<double> bases;
  double baseMayor = -1;
  QString tasa;
};

void suma(TsumaImpuesto& s, double importe, double base, const QString& tasa) {
  if (importe <= 0) return;
  s.importes << importe;
  s.bases << base;
  if (base > s.baseMayor) {
    s.baseMayor = base;
    s.tasa = tasa;
  }
}

Timpuesto impuesto(const TsumaImpuesto& s, const char* clave, const char* nombre,
                   const char* tipo) {
  Timpuesto t;
  if (s.importes.isEmpty()) return t;
  t.clave = QLatin1String(clave);
  t.nombre = QString::fromUtf8(nombre);
  t.tipo = QLatin1String(tipo);
  t.tipoFactor = QStringLiteral("Tasa");
  t.tasa = QString::number(u_tasaImpuesto(s.tasa), 'f', 6);
  t.importe = u_floatToStr(u_acumulaFloat(2, s.importes, int(s.importes.size()) - 1));
  t.base = u_floatToStr(u_acumulaFloat(2, s.bases, int(s.bases.size()) - 1));
  return t;
}

}  // namespace

TticketImpuestos obtieneImpuestosGlobalTicket(int operacionID, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT precioVenta, ivaT, ivaR, iepsT, iepsR, isrR, ivaTbase, ivaRbase, iepsTbase, "
      "iepsRbase, isrRbase FROM puntoOperacionDetalle WHERE puntoOperacion_id = :id "
      "ORDER BY fila, id"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  const CmidTierResponse r = mt.reader();
  TsumaImpuesto iepsT, ivaT, ivaR, iepsR, isrR;
  for (int i = 0; i < r.getRowCount(); ++i) {
    const auto n = [&](const char* c) { return r.getCeldaAsFloat(QLatin1String(c), i); };
    const auto t = [&](const char* c) { return r.getCelda(QLatin1String(c), i); };
    const double base = n("precioVenta");
    const double ieps = n("iepsT");
    suma(iepsT, ieps, base, t("iepsTbase"));
    suma(ivaT, n("ivaT"), base + (ieps > 0 ? ieps : 0), t("ivaTbase"));
    suma(ivaR, n("ivaR"), base, t("ivaRbase"));
    suma(iepsR, n("iepsR"), base, t("iepsRbase"));
    suma(isrR, n("isrR"), base, t("isrRbase"));
  }
  TticketImpuestos registro;
  registro.impuestos[0] = impuesto(iepsT, "003", "IEPS Trasladado", "Traslado");
  registro.impuestos[1] = impuesto(ivaT, "002", "IVA Trasladado", "Traslado");
  registro.impuestos[2] = impuesto(ivaR, "002", "IVA Retenido", "Retencion");
  registro.impuestos[3] = impuesto(iepsR, "003", "IEPS Retenido", "Retencion");
  registro.impuestos[4] = impuesto(isrR, "001", "ISR Retenido", "Retencion");
  return registro;
}
