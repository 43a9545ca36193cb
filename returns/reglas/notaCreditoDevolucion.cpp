#include "returns/reglas/notaCreditoDevolucion.h"

#include "operaciones/impuestos.h"
#include "returns/reglas/documentoDevolucion.h"
#include "util/utilerias.h"

namespace {

double t2(double valor) { return u_truncaDecimales(valor, 2); }
QString texto(double valor) { return u_floatToStr(valor); }

Timpuesto traslado(const char* clave, const char* nombre, const QString& tasa,
                   const QString& importe, const QString& base) {
  Timpuesto i;
  i.clave = QString::fromLatin1(clave);
  i.nombre = QString::fromLatin1(nombre);
  i.tipo = QStringLiteral("Traslado");
  i.tipoFactor = QStringLiteral("Tasa");
  i.tasa = tasa;
  i.importe = importe;
  i.base = base;
  return i;
}

// A rate text that is empty counts as 0.
double tasa(const QString& texto) { return texto.trimmed().isEmpty() ? 0 : u_tasaImpuesto(texto); }

}  // namespace

const QStringList& u_columnasConceptoNotaCredito() {
  static const QStringList columnas = {
      QStringLiteral("_claveSATproductoServicio"),
      QStringLiteral("inventarioProducto_clave"),
      QStringLiteral("inventarioUnidadesMedidaBorrado_claveSAT33"),
      QStringLiteral("inventarioUnidadesMedida_descripcion"),
      QStringLiteral("inventarioProducto_nombre"),
      QStringLiteral("_precioLista"),
      QStringLiteral("_descuento"),
      QStringLiteral("_precioVenta"),
      QStringLiteral("_iepsT"),
      QStringLiteral("_ivaT"),
      QStringLiteral("_subtotal"),
      QStringLiteral("_cantidad"),
      QStringLiteral("_importe"),
  };
  return columnas;
}

TticketImpuestos getImpuestoRenglon(const TGridControl& g, int fila) {
  TticketImpuestos t;
  const QString precioVenta = g.getCelda(QStringLiteral("_precioVenta"), fila);
  const double iepsLinea = g.getCeldaAsFloat(QStringLiteral("_iepsT"), fila);
  if (iepsLinea > 0)
    t.impuestos[0] =
        traslado("003", "IEPS Trasladado", g.getCelda(QStringLiteral("_iepsTbase"), fila),
                 texto(iepsLinea), precioVenta);
  if (g.getCeldaAsFloat(QStringLiteral("_ivaT"), fila) > 0) {
    const double q = g.getCeldaAsFloat(QStringLiteral("Devolución"), fila);
    const double base = u_strToFloat(precioVenta) * q + (iepsLinea > 0 ? iepsLinea : 0);
    const double tasaIva = g.getCeldaAsFloat(QStringLiteral("_ivaTbase"), fila);
    t.impuestos[1] =
        traslado("002", "IVA Trasladado", texto(tasaIva), texto(t2(base * tasaIva)), texto(base));
  }
  return t;
}

datosFacturar reuneDatosFacturaNotaDeCredito(const TGridControl& g, const TventaDevolucion& venta,
                                             const TNegocio& negocio) {
  datosFacturar d;
  d.relacionados << venta.uuidFactura;
  d.tipoDocumento = QStringLiteral("CRE");
  d.formaPago = QStringLiteral("01");
  d.metodoPago = QStringLiteral("PUE");
  d.lugarExpedicion = negocio.getDatosFiscales().getDireccion().getCodigoPostal();
  d.moneda = QStringLiteral("MXN");
  d.receptorID = venta.receptorID;
  d.receptorRfc = venta.receptorRfc;
  d.receptorNombre = venta.receptorNombre;
  d.usoCFDI = QStringLiteral("G02");
  d.emisorNombre = negocio.getNombre();
  d.emisorRegimen = negocio.getDatosFiscales().getRegimenFiscal();
  d.conceptos = TTablaLT(u_columnasConceptoNotaCredito());

  // Gross, discount, IEPS and VAT are whole cents: their sums are kept exact.
  QList<double> brutos, descuentos, iepss, ivas;
  double retenido = 0;
  for (int r = 0; r < g.getRowCount(); ++r) {
    const double q = g.getCeldaAsFloat(QStringLiteral("Devolución"), r);
    if (!(q > 0)) continue;
    const double precio = t2(g.getCeldaAsFloat(QStringLiteral("_precioLista"), r));
    const double bruto = t2(q * precio);
    const double descuento = t2(g.getCeldaAsFloat(QStringLiteral("_descuento"), r));
    const double base = t2(bruto - descuento);
    const double ieps = t2(base * t2(tasa(g.getCelda(QStringLiteral("_iepsTbase"), r))));
    const double baseIva = base + ieps;
    const QString tasaIvaTexto = g.getCelda(QStringLiteral("_ivaTbase"), r).trimmed();
    const double tasaIva = esNumerico(tasaIvaTexto) ? u_strToFloat(tasaIvaTexto) : 0;
    const double iva = t2(baseIva * tasaIva);
    retenido += baseIva * tasa(g.getCelda(QStringLiteral("_ivaRbase"), r)) * q +
                baseIva * tasa(g.getCelda(QStringLiteral("_isrRbase"), r)) * q;

    const int k = d.conceptos.numFilas();
    d.conceptos.setNumFilas(k + 1);
    const auto pon = [&d, k](const char* columna, const QString& valor) {
      d.conceptos.setCelda(QString::fromLatin1(columna), k, valor);
    };
    pon("_claveSATproductoServicio", g.getCelda(QStringLiteral("_Producto_catSAT_clave"), r));
    pon("inventarioProducto_clave", g.getCelda(QStringLiteral("Clave"), r));
    pon("inventarioUnidadesMedidaBorrado_claveSAT33",
        g.getCelda(QStringLiteral("_clave_unidadMedida_catSAT"), r));
    pon("inventarioUnidadesMedida_descripcion",
        g.getCelda(QStringLiteral("_inventarioUnidadesMedida_descripcion"), r));
    pon("inventarioProducto_nombre", g.getCelda(QStringLiteral("Descripción"), r));
    pon("_precioLista", texto(precio));
    pon("_descuento", texto(descuento));
    pon("_precioVenta", texto(precio));
    pon("_iepsT", texto(ieps));
    pon("_ivaT", texto(iva));
    pon("_subtotal", QStringLiteral("0"));
    pon("_cantidad", texto(q));
    pon("_importe", texto(bruto));
    d.impuestos.push_back(getImpuestoRenglon(g, r));
    brutos << bruto;
    descuentos << descuento;
    iepss << ieps;
    ivas << iva;
  }
  const auto exacta = [](const QList<double>& v) {
    return u_acumulaFloat(2, v, static_cast<int>(v.size()) - 1);
  };
  const double bruto = exacta(brutos), descuento = exacta(descuentos);
  const double total =
      u_acumulaFloat(9, {bruto, exacta(iepss), -descuento, exacta(ivas)}, 3) - retenido;
  d.numColumnas = d.conceptos.numColumnas();
  d.numFilas = d.conceptos.numFilas();
  d.subtotal = texto(bruto);
  d.descuento = texto(descuento);
  d.total = texto(total);
  return d;
}
