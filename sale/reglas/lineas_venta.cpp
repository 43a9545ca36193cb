#include "sale/reglas/lineas_venta.h"

#include "operaciones/impuestos.h"
#include "util/limites.h"
#include "util/utilerias.h"

namespace {

// A line's quantity is bounded so that quantity × price stays exact to the cent; the cashier
// reads the reason instead of finding the sale refused at the checkout.
QString cantidadExcedida(double cantidad) {
  const QString problema = u_revisaCantidad(cantidad, QStringLiteral("La cantidad"));
  return problema.isEmpty() ? problema : problema + QLatin1Char('.');
}

struct DefColumna {
  int tipo;
  const char* nombre;
  const char* campo;
  int ancho;
  bool visible;
};

// The sale-line table. Checkout, storing and printing read it by these names.
constexpr DefColumna kColumnas[] = {
    {2, "Eliminar", "", 40, true},
    {0, "_fila", "--", 30, false},
    {0, "_Producto_id", "--", 30, false},
    {0, "_Producto_catSAT_clave", "--", 80, false},
    {0, "_Categoria", "--", 30, false},
    {0, "Categoría", "--", 100, false},
    {0, "C. Alterna", "--", 70, false},
    {0, "Cantidad", "--", 80, true},
    {0, "unidadMedidaID", "--", 50, false},
    {0, "U. de Medida", "--", 120, true},
    {0, "Clave", "--", 120, true},
    {0, "Descripción", "--", 300, true},
    {0, "Precio Lista", "--", 200, false},
    {0, "Precio Venta", "--", 200, false},
    {0, "_descuento", "--", 80, false},
    {0, "Descuento", "--", 80, false},
    {0, "IVA T", "_BD_", 80, false},
    {0, "_IVA T", "_BD_", 80, false},
    {0, "_IVATFactor", "_BD_", 80, false},
    {0, "_IVATTasaCuota", "_BD_", 80, false},
    {0, "IVA R", "_BD_", 80, false},
    {0, "_IVA R", "_BD_", 80, false},
    {0, "IEPS T", "_BD_", 80, false},
    {0, "_IEPS T", "_BD_", 80, false},
    {0, "_IEPSTFactor", "_BD_", 80, false},
    {0, "_IEPSTasaCuota", "_BD_", 80, false},
    {0, "IEPS R", "_BD_", 80, false},
    {0, "_IEPS R", "_BD_", 80, false},
    {0, "ISR R", "_BD_", 80, false},
    {0, "_ISR R", "_BD_", 80, false},
    {0, "Precio Unitario", "--", 110, false},
    {0, "Precio", "--", 180, true},
    {0, "Subtotal", "--", 110, false},
    {0, "_descuento", "--", 80, false},
    {0, "Descuento", "--", 110, false},
    {0, "Importe", "--", 110, false},
    {0, "Imp", "--", 180, false},
    {0, "_tipoInsercion", "--", 30, false},
    {0, "_grupo", "--", 30, false},
    {0, "_cabecera", "--", 30, false},
    {0, "_utilizadoProm1", "--", 30, false},
    {0, "_kitID", "--", 30, false},
    {0, "_promocionID", "--", 30, false},
    {0, "_descuentoTipoCliente", "--", 30, false},
    {0, "_eliminame", "--", 30, false},
};

QString num(double v) { return u_floatToStr(v); }

// Sum forgiving the binary noise of many additions (every term is a decimal amount).
double suma(const QList<double>& v) {
  return v.isEmpty() ? 0.0 : u_acumulaFloat(9, v, static_cast<int>(v.size()) - 1);
}

}  // namespace

TLineasVenta::TLineasVenta(TsistemaDatos& sistema) : uSistema(sistema) {
  declaraColumnas(uGRD_mainControl);
  declaraColumnasMonitor(uGRD_monitorControl);
  reinicia();
}

void TLineasVenta::declaraColumnas(TGridControl& grid) {
  grid.setAlturaFila(8);
  for (const DefColumna& c : kColumnas)
    grid.add(c.tipo, QString::fromUtf8(c.nombre), QString::fromUtf8(c.campo),
             c.tipo == 2 ? QStringLiteral("Elimina") : QString(), c.ancho, c.visible, true);
}

void TLineasVenta::declaraColumnasMonitor(TGridControl& grid) {
  grid.setAlturaFila(8);
  grid.add(0, QStringLiteral("Limite"), QStringLiteral("ventasDescuentosColumnas_hasta"), {}, 50, true);
  grid.add(0, QStringLiteral("Cantidad"), QStringLiteral("--"), {}, 40, true);
  grid.add(0, QString(), QStringLiteral("--"), {}, 40, true);
  grid.add(0, QStringLiteral("Precio"), QStringLiteral("ventasDescuentosProductos_precioNuevo"), {}, 80, false);
  grid.add(0, QStringLiteral("Total"), QStringLiteral("--"), {}, 80, true);
}

void TLineasVenta::reinicia() {
  uGRD_mainControl.clearFilas();
  uFilaSeleccionada = -1;
  uTextoTotal = QStringLiteral("$ 0.00 MXN");
  uTextoDescuento = QStringLiteral("descuento $ 00.00 MXN");
  uTextoImpuestos = QStringLiteral("impuestos $ 00.00 MXN");
}

QString TLineasVenta::tipoLinea(int fila) const {
  return uGRD_mainControl.getCelda(QStringLiteral("_tipoInsercion"), fila);
}

QStringList TLineasVenta::consultaImpuestoParaProductoPorLista(int listaId, int productoId) {
  const CmidTierResponse r = buscaImpuestoParaProductoPorLista(listaId, productoId, conexion());
  if (!r.ok()) return {};
  // The stored text is already 8-bit clean; splitting keeps empty fields.
  return u_split(r.getCelda(QStringLiteral("ventasListaProductos_impuestosAplicados")),
                 QStringLiteral("|"));
}

int TLineasVenta::agregarConcepto(const CmidTierResponse& busqueda, int indice,
                                  TResultado* resultado) {
  auto rechaza = [resultado](const QString& mensaje) {
    if (resultado) *resultado = TResultado::falla(mensaje);
    return -1;
  };
  if (resultado) *resultado = TResultado::bien();
  if (indice < 0 || indice >= busqueda.getRowCount()) return -1;
  uTipoInsercion = 1;
  TGridControl& g = uGRD_mainControl;
  const int productoId = busqueda.getCeldaAsInt(QStringLiteral("inventarioProducto_id"), indice);
  const QString claveSAT =
      busqueda.getCelda(QStringLiteral("categoriaSAT33_claveProductoServicio"), indice);
  const QString precio = buscaPrecioLista(productoId, uListaPreciosID, conexion());
  if (precio.isEmpty())
    return rechaza(QStringLiteral("el concepto no se encuentra en la lista de precios"));
  if (u_strToFloat(precio) <= 0) return rechaza(QStringLiteral("no hay precio establecido"));

  int fila = -1;
  if (uAgruparConceptos) {
    // The product id is compared first: it is a cached number, the kind a text.
    const int cProducto = g.indiceColumna(QStringLiteral("_Producto_id"));
    const int cTipo = g.indiceColumna(QStringLiteral("_tipoInsercion"));
    const QVector<QStringList>& celdas = g.getTabla();
    for (int r = 0; r < g.getRowCount(); ++r) {
      if (g.getCeldaAsInt(cProducto, r) == productoId && celdas[cTipo][r] == lineas::kProducto) {
        fila = r;
        break;
      }
    }
  }
  if (fila >= 0) {
    const double cantidad = g.getCeldaAsFloat(QStringLiteral("Cantidad"), fila) + 1;
    const QString excede = cantidadExcedida(cantidad);
    if (!excede.isEmpty()) return rechaza(excede);
    reprecia(fila, cantidad);
    g.setCelda(QStringLiteral("Cantidad"), fila, num(cantidad));
  } else {
    ++uFilaCotizacion;
    ++uCotizacionProductoAgrupado;
    QStringList impuestos = consultaImpuestoParaProductoPorLista(uListaPreciosID, productoId);
    if (impuestos.size() < 5)
      impuestos = {uProducto.ivaTrasladado, uProducto.ivaRetenido, uProducto.iepsTrasladado,
                   uProducto.iepsRetenido, uProducto.isrRetenido};
    auto celda = [&](const char* alias) { return busqueda.getCelda(QString::fromUtf8(alias), indice); };
    fila = g.agregarRegistro({
        {QStringLiteral("_Producto_id"), QString::number(productoId)},
        {QStringLiteral("_Producto_catSAT_clave"), claveSAT},
        {QStringLiteral("Precio Lista"), precio},
        {QStringLiteral("Cantidad"), QStringLiteral("1")},
        {QStringLiteral("Descripción"), celda("inventarioProducto_nombre")},
        {QStringLiteral("_Categoria"), celda("inventarioCategoria_identidad")},
        {QStringLiteral("Categoría"), celda("inventarioCategoria_etiqueta")},
        {QStringLiteral("Clave"), celda("inventarioProducto_clave")},
        {QStringLiteral("C. Alterna"), celda("inventarioProducto_claveAlterna")},
        {QStringLiteral("unidadMedidaID"), celda("unidadesMedida_id")},
        {QStringLiteral("U. de Medida"), celda("inventarioUnidadesMedida_descripcion")},
        {QStringLiteral("_IVA T"), impuestos[0]},
        {QStringLiteral("_IVA R"), impuestos[1]},
        {QStringLiteral("_IEPS T"), impuestos[2]},
        {QStringLiteral("_IEPS R"), impuestos[3]},
        {QStringLiteral("_ISR R"), impuestos[4]},
        {QStringLiteral("_tipoInsercion"), lineas::kProducto},
        {QStringLiteral("_grupo"), QString::number(uCotizacionProductoAgrupado)},
        {QStringLiteral("_descuentoTipoCliente"), QStringLiteral("0")},
    });
    uFilaSeleccionada = fila;
  }
  calculaImporte(fila);
  compruebaPromocionFilaRecienInsertdada(fila);
  return fila;
}

void TLineasVenta::reprecia(int fila, double cantidad) {
  // When the scale cannot be built for this product the line keeps the price it has, rather
  // than taking a price from another product's scale.
  if (!preparaEscalaPrecios(fila)) return;
  const QString precio = consultaGridPrecios(cantidad);
  if (!precio.isEmpty()) uGRD_mainControl.setCelda(QStringLiteral("Precio Lista"), fila, precio);
}

bool TLineasVenta::cambiaCantidad(int fila, double cantidad, TResultado* resultado) {
  if (resultado) *resultado = TResultado::bien();
  if (fila < 0 || fila >= uGRD_mainControl.getRowCount()) return false;
  if (tipoLinea(fila) != lineas::kProducto) return false;
  if (cantidad < 1) cantidad = 1;
  const QString excede = cantidadExcedida(cantidad);
  if (!excede.isEmpty()) {
    if (resultado) *resultado = TResultado::falla(excede);
    return false;
  }
  uGRD_mainControl.setCelda(QStringLiteral("Cantidad"), fila, num(cantidad));
  reprecia(fila, cantidad);
  calculaImporte(fila);
  compruebaPromocionFilaRecienInsertdada(fila);
  return true;
}

void TLineasVenta::eliminaGrupo(int fila) {
  TGridControl& g = uGRD_mainControl;
  if (fila < 0 || fila >= g.getRowCount()) return;
  const QString grupo = g.getCelda(QStringLiteral("_grupo"), fila);
  for (int r = 0; r < g.getRowCount();) {
    if (g.getCelda(QStringLiteral("_grupo"), r) == grupo)
      g.eliminarRegistro(r);
    else
      ++r;
  }
  calculaTotal();
}

bool TLineasVenta::agregaKit(int kitId) {
  const CmidTierResponse kit = buscaKitporID(kitId, idNegocio(), conexion());
  if (!kit.ok()) return false;
  const CmidTierResponse productos = buscaProductosByKitID(kitId, conexion());
  TGridControl& g = uGRD_mainControl;
  ++uCotizacionProductoAgrupado;
  const QString grupo = QString::number(uCotizacionProductoAgrupado);
  const int cabecera = g.agregarRegistro({
      {QStringLiteral("_Producto_id"), QString()},
      {QStringLiteral("Precio Lista"), kit.getCelda(QStringLiteral("ventasKit_precioVenta"))},
      {QStringLiteral("Cantidad"), QStringLiteral("1")},
      {QStringLiteral("Descripción"), kit.getCelda(QStringLiteral("ventasKit_nombre"))},
      {QStringLiteral("_Categoria"), QString()},
      {QStringLiteral("Clave"), kit.getCelda(QStringLiteral("ventasKit_claveKit"))},
      {QStringLiteral("U. de Medida"), QStringLiteral("KIT")},
      {QStringLiteral("_IVA T"), kit.getCelda(QStringLiteral("ventasKit_ivaTrasladado"))},
      {QStringLiteral("_IVA R"), kit.getCelda(QStringLiteral("ventasKit_ivaRetenido"))},
      {QStringLiteral("_IEPS T"), kit.getCelda(QStringLiteral("ventasKit_iepsTrasladado"))},
      {QStringLiteral("_IEPS R"), kit.getCelda(QStringLiteral("ventasKit_iepsRetenido"))},
      {QStringLiteral("_ISR R"), kit.getCelda(QStringLiteral("ventasKit_isrRetenido"))},
      {QStringLiteral("_grupo"), grupo},
      {QStringLiteral("_tipoInsercion"), lineas::kKit},
      {QStringLiteral("_kitID"), kit.getCelda(QStringLiteral("ventasKit_id"))},
      {QStringLiteral("_cabecera"), QStringLiteral("1")},
  });
  if (productos.ok()) {
    for (int r = 0; r < productos.getRowCount(); ++r) {
      auto celda = [&](const char* alias) { return productos.getCelda(QString::fromUtf8(alias), r); };
      g.agregarRegistro({
          {QStringLiteral("_Producto_id"), celda("producto_id")},
          {QStringLiteral("_Producto_catSAT_clave"), celda("categoriaSAT33_claveProductoServicio")},
          {QStringLiteral("Descripción"), celda("producto_nombre")},
          {QStringLiteral("_Categoria"), celda("categoria_identidad")},
          {QStringLiteral("Categoría"), celda("categoria_etiqueta")},
          {QStringLiteral("Clave"), celda("producto_clave")},
          {QStringLiteral("C. Alterna"), celda("producto_claveAlterna")},
          {QStringLiteral("unidadMedidaID"), celda("unidadesMedida_id")},
          {QStringLiteral("U. de Medida"), celda("unidadesMedida_descripcion")},
          {QStringLiteral("Cantidad"), celda("ventasKitDetalle_cantidad").trimmed()},
          {QStringLiteral("_grupo"), grupo},
          {QStringLiteral("_tipoInsercion"), lineas::kComponenteKit},
          {QStringLiteral("_kitID"), QString()},
          {QStringLiteral("_cabecera"), QStringLiteral("2")},
      });
    }
  }
  uFilaSeleccionada = cabecera;
  calculaImporte(cabecera);
  return true;
}

bool TLineasVenta::preparaEscalaPrecios(int fila) {
  const int productoId = uGRD_mainControl.getCeldaAsInt(QStringLiteral("_Producto_id"), fila);
  const QString categoria = uGRD_mainControl.getCelda(QStringLiteral("_Categoria"), fila);
  const CmidTierResponse lista = buscaPrecioListaImpuestos(productoId, uListaPreciosID, conexion());
  if (!lista.ok()) return false;
  const double pl = lista.getCeldaAsFloat(QStringLiteral("ventasListaProductos_precioLista"));
  const double ivaT = lista.getCeldaAsFloat(QStringLiteral("inventarioProductoImpuestos_ivaTrasladado"));
  const double iepsT = lista.getCeldaAsFloat(QStringLiteral("inventarioProductoImpuestos_iepsTrasladado"));
  CmidTierResponse escala = getEscalaPorProducto(productoId, idNegocio(), conexion());
  if (!escala.ok() || escala.getRowCount() == 0)
    escala = getEscalaPorCategoria(categoria, idNegocio(), conexion());
  const int n = escala.ok() ? escala.getRowCount() : 0;

  auto conImpuestos = [&](double p) {
    double b = p;
    if (iepsT > 0) b = u_truncaDecimales(p * (1 + iepsT), 2);
    if (ivaT > 0) b = u_truncaDecimales(b * ivaT + b, 2);
    return b;
  };
  TMatriz m;
  m.columnas = QVector<QStringList>(5);
  m.columnas[0] << QStringLiteral("General");
  m.columnas[1] << QString();
  m.columnas[2] << QString();
  m.columnas[3] << num(pl);
  m.columnas[4] << num(conImpuestos(pl));
  for (int i = 0; i < n; ++i) {
    const double d = u_strToFloat(escala.getCelda(1, i));
    const double p = u_truncaDecimales(pl * (1 - d / 100), 2);
    m.columnas[0] << QStringLiteral("desde:");
    m.columnas[1] << escala.getCelda(0, i);
    m.columnas[2] << QStringLiteral("%") + escala.getCelda(1, i);
    m.columnas[3] << num(p);
    m.columnas[4] << num(conImpuestos(p));
  }
  uPrecios = m;
  uPreciosProductoID = productoId;
  TGridControl& mon = uGRD_monitorControl;
  mon.clearFilas();
  for (int r = 0; r < m.filas(); ++r) {
    const int f = mon.agregarRegistro({});
    for (int c = 0; c < 5; ++c) mon.setCelda(c, f, m.celda(c, r));
  }
  return true;
}

QString TLineasVenta::consultaGridPrecios(double cantidad) const {
  const int filas = std::min(uGRD_monitorControl.getRowCount(), uPrecios.filas());
  for (int r = filas - 1; r >= 0; --r) {
    const double desde = u_strToFloat(uPrecios.celda(1, r));
    if (cantidad >= desde && !uPrecios.celda(3, r).isEmpty())
      return num(u_truncaDecimales(u_strToFloat(uPrecios.celda(3, r)), 2));
  }
  return QString();
}

void TLineasVenta::calculaImporte(int fila) {
  TGridControl& g = uGRD_mainControl;
  if (fila < 0 || fila >= g.getRowCount()) {
    calculaTotal();
    return;
  }
  const double precio = u_truncaDecimales(g.getCeldaAsFloat(QStringLiteral("Precio Lista"), fila), 2);
  const double cantidad = g.getCeldaAsFloat(QStringLiteral("Cantidad"), fila);
  const double subtotal = cantidad * precio;
  double descuento = g.getCeldaAsFloat(QStringLiteral("Descuento"), fila);
  double neto = subtotal - descuento;
  if (neto < 0) {
    descuento = subtotal;
    neto = 0;
  }
  importeDatos d;
  d.tipo = 2;
  d.conImpuestos = true;
  d.base = neto;
  d.ivaTrasladadoTasa = g.getCeldaAsFloat(QStringLiteral("_IVA T"), fila);
  d.ivaRetenidoTasa = g.getCeldaAsFloat(QStringLiteral("_IVA R"), fila);
  d.iepsTrasladadoTasa = u_tasaImpuesto(g.getCelda(QStringLiteral("_IEPS T"), fila));
  d.iepsRetenidoTasa = u_tasaImpuesto(g.getCelda(QStringLiteral("_IEPS R"), fila));
  d.isrRetenidoTasa = g.getCeldaAsFloat(QStringLiteral("_ISR R"), fila);
  const importeDatos r = u_calculaPrecioVenta(d);
  g.setCelda(QStringLiteral("IEPS T"), fila, num(r.iepsTrasladado));
  g.setCelda(QStringLiteral("IVA T"), fila, num(r.ivaTrasladado));
  g.setCelda(QStringLiteral("IVA R"), fila, num(r.ivaRetenido));
  g.setCelda(QStringLiteral("IEPS R"), fila, num(r.iepsRetenido));
  g.setCelda(QStringLiteral("ISR R"), fila, num(r.isrRetenido));
  g.setCelda(QStringLiteral("Precio Unitario"), fila, num(precio));
  g.setCelda(QStringLiteral("Precio"), fila, num(r.precio));
  g.setCelda(QStringLiteral("_descuento"), fila, num(descuento));
  g.setCelda(QStringLiteral("Subtotal"), fila, num(subtotal));
  g.setCelda(QStringLiteral("Precio Venta"), fila, num(neto));
  g.setCelda(QStringLiteral("Imp"), fila, num(suma({r.ivaTrasladado, r.iepsTrasladado})));
  calculaTotal();
}

void TLineasVenta::calculaTotal() {
  TGridControl& g = uGRD_mainControl;
  // The sums run over the lines in order, as a sum of the whole list would, and each line's
  // running sums are kept: only the lines from the first one changed are added again.
  const int n = g.getRowCount();
  const int desde = std::min(g.tomaPrimeraFilaCambiada(), static_cast<int>(uParciales.size()));
  uParciales.resize(n);
  const int cSubtotal = g.indiceColumna(QStringLiteral("Subtotal"));
  const int cDescuento = g.indiceColumna(QStringLiteral("_descuento"));
  const int cDescuentoCliente = g.indiceColumna(QStringLiteral("_descuentoTipoCliente"));
  const int cIvaT = g.indiceColumna(QStringLiteral("IVA T")),
            cIepsT = g.indiceColumna(QStringLiteral("IEPS T"));
  const int cIvaR = g.indiceColumna(QStringLiteral("IVA R")),
            cIsrR = g.indiceColumna(QStringLiteral("ISR R"));
  const int cIepsR = g.indiceColumna(QStringLiteral("IEPS R"));
  TSumasLinea a = desde > 0 ? uParciales[desde - 1] : TSumasLinea();
  for (int r = desde; r < n; ++r) {
    a.subtotal += u_truncaDecimales(g.getCeldaAsFloat(cSubtotal, r), 2);
    a.descuento += g.getCeldaAsFloat(cDescuento, r);
    a.descuento += g.getCeldaAsFloat(cDescuentoCliente, r);
    a.trasladados += g.getCeldaAsFloat(cIvaT, r);
    a.trasladados += g.getCeldaAsFloat(cIepsT, r);
    a.retenidos += g.getCeldaAsFloat(cIvaR, r);
    a.retenidos += g.getCeldaAsFloat(cIsrR, r);
    a.retenidos += g.getCeldaAsFloat(cIepsR, r);
    uParciales[r] = a;
  }
  const TSumasLinea fin = n > 0 ? uParciales[n - 1] : TSumasLinea();
  // What suma() answers for the same terms in the same order.
  auto cierra = [](long double v) { return u_truncaDecimales(static_cast<double>(v), 9); };
  const double S = cierra(fin.subtotal), D = cierra(fin.descuento), T = cierra(fin.trasladados),
               R = cierra(fin.retenidos);
  const double total = u_acumulaFloat(2, {S, -D, T, -R}, 3);
  uDescuento = u_truncaDecimales(D, 2);
  uTextoDescuento = QStringLiteral("Descuento ") + u_formatoMonedaMXN(uDescuento);
  uTextoImpuestos = QStringLiteral("Impuestos ") + u_formatoMonedaMXN(T);
  uTextoTotal = QStringLiteral("TOTAL ") + u_formatoMonedaMXN(total);
  uTotal = total;
  uSubtotal = S;
  uImpuestos = T;
}
