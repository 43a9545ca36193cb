#include <gtest/gtest.h>

#include <cmath>

#include "operaciones/impuestos.h"
#include "operaciones/productos.h"
#include "sale/reglas/lineas_venta.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/FilasPrueba.h"
#include "support/RespondedorPrueba.h"
#include "util/utilerias.h"

namespace {

class LineasVenta : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    cat = std::make_unique<CatalogoPrueba>(conexion());
    cat->negocioBasico();
    cat->categoria("BEB", "Bebidas");
    cat->producto(1, "Café de olla 250 g", "7501000000011", 100);
    cat->producto(2, "Refresco cola 600 ml", "7501000000028", 10.999, "0.16||!0.08!||", "BEB");
    cat->producto(3, "Frijol negro 1 kg", "7501000000035", 10.009, "0|0|0|0|0");
    cat->producto(4, "Servicio de empaque", "7501000000042", 40, "0.16|0.106667|0|0|0.1");
    cat->producto(5, "Producto sin precio", "7501000000059", 0);
    cat->producto(6, "Agua natural 1 l", "7501000000066", 8, "0.16|0|0|0|0", "BEB");
    db->llenaLocalSYS(1);
    venta = std::make_unique<TLineasVenta>(localSYS);
    venta->uListaPreciosID = cat->listaId();
    venta->uAlmacen = 1;
  }

  int lee(const QString& codigo) {
    const CmidTierResponse r =
        filtraProductosPorcodigoBarras(codigo, QVariant(true), 1, conexion());
    EXPECT_TRUE(r.ok()) << r.getError().toStdString();
    if (r.getRowCount() == 0) return -1;
    return venta->agregarConcepto(r, 0, &rechazo);
  }
  QString celda(const char* col, int fila) {
    return venta->lineas().getCelda(QString::fromUtf8(col), fila);
  }

  std::unique_ptr<CatalogoPrueba> cat;
  std::unique_ptr<TLineasVenta> venta;
  TResultado rechazo;  // of the last reading
  RespondedorPrueba respondedor;
};

TEST_P(LineasVenta, LineaNuevaConPrecioImpuestosYTotales) {
  ASSERT_EQ(lee("7501000000011"), 0);
  EXPECT_TRUE(filasComo(
      venta->lineas(),
      {"_tipoInsercion", "Cantidad", "Descripción", "Categoría", "_Producto_catSAT_clave",
       "U. de Medida", "_IVA T", "IVA T", "Precio", "Imp", "_grupo", "_descuentoTipoCliente"},
      {"1|1|Café de olla 250 g|General|50202306|Pieza|0.16|16|116|16|1|0"}));
  EXPECT_EQ(venta->uFilaSeleccionada, 0);
  EXPECT_DOUBLE_EQ(venta->uTotal, 116);
  EXPECT_EQ(venta->textoTotal(), "TOTAL $ 116.00 MXN");
  EXPECT_EQ(venta->textoImpuestos(), "Impuestos $ 16.00 MXN");
  EXPECT_EQ(venta->textoDescuento(), "Descuento $ 0.00 MXN");

  // IEPS marked with "!" is cleaned; IVA goes on the base plus IEPS.
  // IEPS trunc2(10.99 x 0.08 = 0.8792), IVA trunc2((10.99 + 0.87) x 0.16 = 1.8976).
  ASSERT_EQ(lee("7501000000028"), 1);
  EXPECT_TRUE(filasComo(venta->lineas(),
                        {"_IEPS T", "Precio Unitario", "IEPS T", "IVA T", "Precio", "_grupo"},
                        {"*|*|*|*|*|*", "!0.08!|10.99|0.87|1.89|13.75|2"}));
  EXPECT_DOUBLE_EQ(venta->uImpuestos, 18.76);
  EXPECT_DOUBLE_EQ(venta->uTotal, 129.75);
  EXPECT_DOUBLE_EQ(venta->uSubtotal, 110.99);
}

// Withholdings lower the total (IVA R is trunc2(40 x 0.106667)); the list price is truncated
// before it is multiplied.
TEST_P(LineasVenta, RetencionesYPrecioListaTruncado) {
  ASSERT_EQ(lee("7501000000042"), 0);
  EXPECT_TRUE(
      filasComo(venta->lineas(), {"IVA T", "IVA R", "ISR R", "Precio"}, {"6.4|4.26|4|38.14"}));
  EXPECT_DOUBLE_EQ(venta->uTotal, 38.14);
  EXPECT_EQ(venta->textoImpuestos(), "Impuestos $ 6.40 MXN");  // charged taxes only
  venta->reinicia();
  ASSERT_EQ(lee("7501000000035"), 0);
  ASSERT_TRUE(venta->cambiaCantidad(0, 3));
  EXPECT_TRUE(filasComo(venta->lineas(), {"Precio Unitario", "Subtotal"}, {"10|30"}));
  EXPECT_DOUBLE_EQ(venta->uTotal, 30);
}

TEST_P(LineasVenta, AgrupaSoloEnLineasDeProducto) {
  ASSERT_EQ(lee("7501000000011"), 0);
  ASSERT_EQ(lee("7501000000011"), 0);
  ASSERT_EQ(venta->lineas().getRowCount(), 1);
  EXPECT_EQ(celda("Cantidad", 0), "2");
  EXPECT_EQ(celda("Subtotal", 0), "200");
  // A kit holding the same product is never merged into.
  cat->kit(7, "Kit desayuno", 150, {{1, " 2 "}, {6, "1"}});
  ASSERT_TRUE(venta->agregaKit(7));
  ASSERT_EQ(lee("7501000000011"), 0);
  EXPECT_EQ(celda("Cantidad", 0), "3");
  EXPECT_EQ(venta->lineas().getRowCount(), 4);
  EXPECT_EQ(celda("Cantidad", 2), "2");  // the component keeps its quantity, trimmed
}

TEST_P(LineasVenta, CantidadesEntreUnoYElLimite) {
  ASSERT_EQ(lee("7501000000011"), 0);
  EXPECT_TRUE(venta->cambiaCantidad(0, 0));
  EXPECT_EQ(celda("Cantidad", 0), "1");
  EXPECT_TRUE(venta->cambiaCantidad(0, -5));
  EXPECT_EQ(celda("Cantidad", 0), "1");
  EXPECT_TRUE(venta->cambiaCantidad(0, 2.5));
  EXPECT_EQ(celda("Cantidad", 0), "2.5");
  EXPECT_EQ(celda("Subtotal", 0), "250");
  // Past 9,999.999 a line is refused with its reason and left as it was, whether the quantity
  // is typed or reached by reading the product once more.
  TResultado r;
  EXPECT_FALSE(venta->cambiaCantidad(0, 10000, &r));
  EXPECT_EQ(r.mensaje, "La cantidad no puede pasar de 9,999.999.");
  EXPECT_EQ(celda("Cantidad", 0), "2.5");
  EXPECT_FALSE(venta->cambiaCantidad(0, std::nan(""), &r));
  EXPECT_EQ(celda("Cantidad", 0), "2.5");
  EXPECT_TRUE(venta->cambiaCantidad(0, 9999, &r));
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(celda("Subtotal", 0), "999900");
  EXPECT_EQ(lee("7501000000011"), -1);
  EXPECT_EQ(rechazo.mensaje, "La cantidad no puede pasar de 9,999.999.");
  EXPECT_EQ(celda("Cantidad", 0), "9999");
  EXPECT_EQ(venta->lineas().getRowCount(), 1);
}

TEST_P(LineasVenta, RechazosSinPrecio) {
  EXPECT_EQ(lee("7501000000059"), -1);
  EXPECT_FALSE(rechazo.ok);
  EXPECT_EQ(rechazo.mensaje, "no hay precio establecido");
  EXPECT_EQ(rechazo.tipo, mtCustom);
  // A product outside the list.
  venta->uListaPreciosID = 999;
  EXPECT_EQ(lee("7501000000011"), -1);
  EXPECT_EQ(rechazo.mensaje, "el concepto no se encuentra en la lista de precios");
  EXPECT_EQ(venta->lineas().getRowCount(), 0);
  // The rule answers; only the register shows.
  EXPECT_TRUE(respondedor.mensajes.empty());
}

TEST_P(LineasVenta, EscalasPorProductoYCategoria) {
  cat->escalaProducto(1, 10, 20);
  cat->escalaProducto(1, 5, 10);
  ASSERT_EQ(lee("7501000000011"), 0);
  const auto precioPara = [&](double q) {
    venta->cambiaCantidad(0, q);
    return celda("Precio Lista", 0);
  };
  EXPECT_EQ(precioPara(4), "100");
  EXPECT_EQ(precioPara(5), "90");  // thresholds are inclusive
  EXPECT_EQ(precioPara(9), "90");
  EXPECT_EQ(precioPara(10), "80");
  EXPECT_EQ(precioPara(400), "80");
  EXPECT_EQ(precioPara(1), "100");
  // The monitor: row 0 is the list price, then one row per scale row in ascending order.
  ASSERT_TRUE(venta->preparaEscalaPrecios(0));
  ASSERT_EQ(venta->uPrecios.filas(), 3);
  EXPECT_EQ(venta->uPrecios.celda(0, 0), "General");
  EXPECT_EQ(venta->uPrecios.celda(0, 1), "desde:");
  EXPECT_EQ(venta->uPrecios.celda(1, 1), "5");
  EXPECT_EQ(venta->uPrecios.celda(2, 1), "%10");
  EXPECT_EQ(venta->uPrecios.celda(4, 2), "92.8");  // 80 with 16 % IVA
  EXPECT_EQ(venta->monitor().getRowCount(), 3);

  // Category scale when the product has none; a 100 % row gives price 0.
  cat->escalaCategoria("BEB", 3, 100);
  ASSERT_EQ(lee("7501000000066"), 1);
  venta->cambiaCantidad(1, 3);
  EXPECT_EQ(celda("Precio Lista", 1), "0");
  EXPECT_EQ(celda("Precio", 1), "0");
}

TEST_P(LineasVenta, MonitorAplicaIepsAntesDeIva) {
  ASSERT_EQ(lee("7501000000028"), 0);
  ASSERT_TRUE(venta->preparaEscalaPrecios(0));
  EXPECT_EQ(venta->uPrecios.celda(3, 0), "10.999");
  // trunc2(10.999 x 1.08) = 11.87, then trunc2(11.87 x 0.16 + 11.87) = 13.76.
  EXPECT_EQ(venta->uPrecios.celda(4, 0), "13.76");
  // VAT only: list price 10.999 shows 12.75.
  cat->producto(8, "Galletas", "7501000000080", 10.999);
  ASSERT_EQ(lee("7501000000080"), 1);
  ASSERT_TRUE(venta->preparaEscalaPrecios(1));
  EXPECT_EQ(venta->uPrecios.celda(4, 0), "12.75");
  EXPECT_EQ(venta->consultaGridPrecios(1), "10.99");
}

TEST_P(LineasVenta, DescuentoTopadoYTotalNegativo) {
  ASSERT_EQ(lee("7501000000042"), 0);  // 40.00
  venta->lineas().setCelda("Descuento", 0, "50");
  venta->calculaImporte(0);
  EXPECT_EQ(celda("_descuento", 0), "40");
  EXPECT_EQ(celda("Precio Venta", 0), "0");
  EXPECT_DOUBLE_EQ(venta->uDescuento, 40);
  EXPECT_TRUE(venta->aceptarHabilitado());
  // Two discounts add up and lower the total.
  ASSERT_EQ(lee("7501000000011"), 1);
  venta->lineas().setCelda("Descuento", 1, "5");
  venta->calculaImporte(1);
  EXPECT_DOUBLE_EQ(venta->uDescuento, 45);
  EXPECT_EQ(venta->textoDescuento(), "Descuento $ 45.00 MXN");
  EXPECT_DOUBLE_EQ(venta->uTotal, 95 + 15.2);
  // A customer-type discount the line cannot absorb makes the total negative.
  venta->lineas().setCelda("_descuentoTipoCliente", 1, "500");
  venta->calculaTotal();
  EXPECT_LT(venta->uTotal, 0);
  EXPECT_FALSE(venta->aceptarHabilitado());
}

// The register keeps what it already summed; after any change anywhere in the sale its totals
// must still be those of the lines as they stand, summed from their texts.
TEST_P(LineasVenta, TotalesIgualesALosDeLasLineasTrasCadaCambio) {
  cat->kit(7, "Kit desayuno", 150, {{1, "1"}, {6, "2"}});
  auto sumaColumnas = [&](std::initializer_list<const char*> columnas, bool trunca = false) {
    QList<double> v;
    for (int r = 0; r < venta->lineas().getRowCount(); ++r)
      for (const char* c : columnas) {
        const double x = u_strToFloat(celda(c, r));
        v << (trunca ? u_truncaDecimales(x, 2) : x);
      }
    return v.isEmpty() ? 0.0 : u_acumulaFloat(9, v, static_cast<int>(v.size()) - 1);
  };
  auto revisa = [&](const char* paso) {
    SCOPED_TRACE(paso);
    const double S = sumaColumnas({"Subtotal"}, true),
                 D = sumaColumnas({"_descuento", "_descuentoTipoCliente"}),
                 T = sumaColumnas({"IVA T", "IEPS T"}),
                 R = sumaColumnas({"IVA R", "ISR R", "IEPS R"});
    EXPECT_EQ(venta->uSubtotal, S);
    EXPECT_EQ(venta->uImpuestos, T);
    EXPECT_EQ(venta->uDescuento, u_truncaDecimales(D, 2));
    EXPECT_EQ(venta->uTotal, u_acumulaFloat(2, {S, -D, T, -R}, 3));
  };
  for (const char* c :
       {"7501000000011", "7501000000028", "7501000000035", "7501000000042", "7501000000066"})
    lee(c);
  revisa("lecturas");
  venta->cambiaCantidad(0, 3);  // the first line changes under the others
  revisa("cantidad de la primera línea");
  ASSERT_TRUE(venta->agregaKit(7));
  lee("7501000000028");  // grouped into line 1
  revisa("kit y agrupada");
  venta->eliminaGrupo(2);
  revisa("grupo de en medio borrado");
  venta->lineas().setCelda("Descuento", 0, "7.5");
  venta->calculaImporte(0);
  venta->lineas().setCelda("_descuentoTipoCliente", 3, "1.25");
  venta->calculaTotal();
  revisa("descuentos");
  venta->lineas().copiaFila(1, 0);
  venta->calculaTotal();
  revisa("fila copiada al principio");
  venta->reinicia();
  lee("7501000000066");
  revisa("venta nueva");
}

TEST_P(LineasVenta, KitsYBorradoPorGrupo) {
  cat->kit(7, "Kit desayuno", 150, {{1, "1"}, {6, "2"}, {2, "1"}});
  ASSERT_EQ(lee("7501000000066"), 0);
  ASSERT_TRUE(venta->agregaKit(7));
  ASSERT_TRUE(venta->agregaKit(7));
  // Headers carry the kit, components no price.
  const QString cabecera = "2|KIT|K7|7|1|*", componente = "20|*|*|*|2|";
  EXPECT_TRUE(filasComo(
      venta->lineas(), {"_tipoInsercion", "U. de Medida", "Clave", "_kitID", "_cabecera", "Precio"},
      {"*|*|*|*|*|*", cabecera, componente, componente, componente, cabecera, componente,
       componente, componente}));
  EXPECT_EQ(celda("_grupo", 1), celda("_grupo", 4));
  EXPECT_NE(celda("_grupo", 1), celda("_grupo", 5));
  EXPECT_EQ(venta->uFilaSeleccionada, 5);
  EXPECT_DOUBLE_EQ(venta->uTotal, 9.28 + 2 * 174);
  venta->eliminaGrupo(1);
  EXPECT_EQ(venta->lineas().getRowCount(), 5);
  EXPECT_DOUBLE_EQ(venta->uTotal, 9.28 + 174);
  EXPECT_FALSE(venta->agregaKit(99));
  // A kit without products adds only its header.
  cat->kit(8, "Kit vacío", 10, {});
  ASSERT_TRUE(venta->agregaKit(8));
  EXPECT_EQ(venta->lineas().getRowCount(), 6);
}

TEST_P(LineasVenta, BusquedaPorNombreIgnoraMayusculasYAcentos) {
  auto nombres = [&](const QString& patron) {
    const CmidTierResponse r = filtraProductosPorNombre(patron, QVariant(true), 1, conexion());
    EXPECT_TRUE(r.ok()) << r.getError().toStdString();
    QStringList n;
    for (int i = 0; i < r.getRowCount(); ++i) n << r.getCelda("inventarioProducto_nombre", i);
    return n;
  };
  EXPECT_EQ(nombres("%cafe%"), QStringList({"Café de olla 250 g"}));
  EXPECT_EQ(nombres("%CAFÉ%"), QStringList({"Café de olla 250 g"}));
  EXPECT_EQ(nombres("%agua%"), QStringList({"Agua natural 1 l"}));
  EXPECT_TRUE(nombres("%xyz%").isEmpty());
  const CmidTierResponse r = filtraProductosPorNombre("%refresco%", QVariant(true), 1, conexion());
  for (const char* alias :
       {"inventarioProducto_id", "categoriaSAT33_claveProductoServicio",
        "inventarioCategoria_identidad", "inventarioCategoria_etiqueta", "inventarioProducto_clave",
        "inventarioProducto_claveAlterna", "unidadesMedida_id",
        "inventarioUnidadesMedida_descripcion", "inventarioProducto_imagen"})
    EXPECT_TRUE(r.tieneColumna(alias)) << alias;
  EXPECT_EQ(r.getCelda("inventarioCategoria_etiqueta"), "Bebidas");
}

INSTANCIA_AMBOS_MOTORES(LineasVenta);

TEST(Impuestos, MontosTruncadosYPrecio) {
  importeDatos d;
  d.base = 99.99;
  d.iepsTrasladadoTasa = 0.265;
  d.ivaTrasladadoTasa = 0.16;
  d.isrRetenidoTasa = 0.0125;
  const importeDatos r = u_calculaPrecioVenta(d);
  EXPECT_DOUBLE_EQ(r.iepsTrasladado, 26.49);  // 26.49735
  EXPECT_DOUBLE_EQ(r.ivaTrasladado, 20.23);   // (99.99 + 26.49) x 0.16 = 20.2368
  EXPECT_DOUBLE_EQ(r.isrRetenido, 1.24);      // 1.249875
  EXPECT_DOUBLE_EQ(r.precio, 145.47);
  EXPECT_DOUBLE_EQ(u_tasaImpuesto("!0.08!"), 0.08);
  EXPECT_DOUBLE_EQ(u_tasaImpuesto("!!"), 0);
  EXPECT_DOUBLE_EQ(u_tasaImpuesto("tasa"), 0);
}

}  // namespace
