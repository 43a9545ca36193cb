#include <gtest/gtest.h>

#include "operaciones/productos.h"
#include "sale/reglas/lineas_venta.h"
#include "sale/reglas/promociones.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/FilasPrueba.h"
#include "support/RespondedorPrueba.h"

namespace {

class Promociones : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    cat = std::make_unique<CatalogoPrueba>(conexion());
    cat->negocioBasico();
    cat->categoria("DUL", "Dulces");
    sinIva = "0|0|0|0|0";
    cat->producto(1, "Chocolate", "7501000000011", 10, sinIva, "DUL");
    cat->producto(2, "Galleta", "7501000000028", 99.99, sinIva, "DUL");
    cat->producto(3, "Jugo", "7501000000035", 20, sinIva);
    cat->producto(4, "Sandwich", "7501000000042", 30, sinIva);
    cat->producto(5, "Taza de regalo", "7501000000059", 45, "0.16|0|0|0|0");
    db->llenaLocalSYS(1);
    venta = std::make_unique<TLineasVenta>(localSYS);
    venta->uListaPreciosID = cat->listaId();
    venta->uAlmacen = 1;
  }
  int lee(int producto) {
    const CmidTierResponse r = filtraProductosPorcodigoBarras(
        QString("75010000000%1").arg(producto * 10 + digito(producto)), QVariant(true), 1,
        conexion());
    EXPECT_EQ(r.getRowCount(), 1);
    return venta->agregarConcepto(r, 0);
  }
  static int digito(int p) { return QList<int>{0, 1, 8, 5, 2, 9}[p]; }
  QString c(const char* col, int fila) {
    return venta->lineas().getCelda(QString::fromUtf8(col), fila);
  }
  int filas() { return venta->lineas().getRowCount(); }

  QString sinIva;
  std::unique_ptr<CatalogoPrueba> cat;
  std::unique_ptr<TLineasVenta> venta;
  RespondedorPrueba respondedor;
};

TEST_P(Promociones, PagaMenosDivideLoQueNoCubre) {
  cat->promocion(1, "3x2 chocolate", 0, "|3|2", {1});
  ASSERT_EQ(lee(1), 0);
  EXPECT_EQ(filas(), 1);  // quantity 1 (and 2) is below N: nothing changes
  venta->cambiaCantidad(0, 2);
  EXPECT_EQ(filas(), 1);
  venta->cambiaCantidad(0, 7);
  // The header (two promotions), the six units it covers, the one left over.
  EXPECT_TRUE(
      filasComo(venta->lineas(),
                {"_tipoInsercion", "Cantidad", "Descuento", "_descuento", "Precio Venta", "Importe",
                 "_cabecera", "_promocionID", "_Producto_id", "Descripción", "Categoría"},
                {"3|2|*|*|*|*|1|1||3x2 chocolate|PROMOCIÓN", "30|6|20|20|40|*|2|*|*|*|*",
                 "1|1|*|*|*|10|*|*|*|*|*"}));
  EXPECT_EQ(c("_grupo", 0), c("_grupo", 1));
  EXPECT_NE(c("_grupo", 2), c("_grupo", 1));
  EXPECT_DOUBLE_EQ(venta->uTotal, 50);
  EXPECT_DOUBLE_EQ(venta->uDescuento, 20);
  // A promotion line no longer takes quantity changes; deleting the header's group takes
  // the promotion line with it and leaves the split-off line.
  EXPECT_FALSE(venta->cambiaCantidad(1, 9));
  venta->eliminaGrupo(0);
  ASSERT_EQ(filas(), 1);
  EXPECT_EQ(c("Cantidad", 0), "1");
  EXPECT_DOUBLE_EQ(venta->uTotal, 10);
  EXPECT_DOUBLE_EQ(venta->uDescuento, 0);
}

TEST_P(Promociones, PorcentajeSobreElPrecioDeUnaUnidad) {
  cat->promocion(2, "10% galletas", 2, "1|10", {}, {"DUL"});
  ASSERT_EQ(lee(2), 0);  // written at 0; the header then went in before it
  EXPECT_TRUE(filasComo(venta->lineas(), {"_tipoInsercion", "Cantidad", "Descuento"},
                        {"3||*", "32|*|9.99"}));
  EXPECT_DOUBLE_EQ(venta->uTotal, 90);
  // A zero percentage is not applied.
  cat->promocion(3, "0% jugo", 2, "2|0", {3});
  ASSERT_EQ(lee(3), 2);
  EXPECT_EQ(c("_tipoInsercion", 2), "1");
}

TEST_P(Promociones, SiguienteUnidadConMontoFijoOPorcentaje) {
  cat->promocion(4, "Lleva 2 y el tercero con descuento", 3, "|2|50|5", {4});
  ASSERT_EQ(lee(4), 0);
  venta->cambiaCantidad(0, 7);
  // The fixed amount (10) wins over the percentage.
  EXPECT_TRUE(filasComo(venta->lineas(), {"_tipoInsercion", "Cantidad", "Descuento"},
                        {"*|2|*", "33|4|*", "33|2|10", "1|1|*"}));
  EXPECT_DOUBLE_EQ(venta->uTotal, 210 - 10);
  // The panel shows the percentage when there is one.
  const TDetallePromocion d = detallePromocion(4, conexion());
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.descripcion,
            "en la compra de 2 producto/s, el siguiente producto igual recibe un precio especial, "
            "\rdescuento de: 50%");
  EXPECT_EQ(d.desde, " - ");

  cat->promocion(5, "Jugo", 3, "|1|25|", {3});
  ASSERT_EQ(lee(3), 4);
  venta->cambiaCantidad(4, 4);
  EXPECT_EQ(c("Descuento", 6), "10");  // trunc2(2 x 20 / 100 x 25)
  EXPECT_EQ(filas(), 7);               // 4 = 2 blocks of 2: no rest
}

TEST_P(Promociones, ConjuntoConRegalosSegunExistencia) {
  ASSERT_EQ(lee(3), 0);
  ASSERT_EQ(lee(4), 1);
  venta->cambiaCantidad(0, 5);
  venta->cambiaCantidad(1, 3);
  cat->promocion(6, "Desayuno con taza", 1, "", {});
  cat->promocionProducto(6, 1, 3, 2);
  cat->promocionProducto(6, 1, 4, 1);
  cat->promocionProducto(6, 2, 5, 1);
  cat->existencia(5, 1);  // one cup in stock, two needed: no gift
  venta->compruebaPromocionFilaRecienInsertdada(1);
  // 5 - 4 juices and 3 - 2 sandwiches stay on their lines; two sets, no cup.
  EXPECT_TRUE(filasComo(venta->lineas(), {"Cantidad", "_tipoInsercion", "_Producto_id"},
                        {"1|*|*", "1|*|*", "2|3|*", "4|31|3", "2|*|4"}));
  EXPECT_EQ(c("_grupo", 2), c("_grupo", 4));
  EXPECT_DOUBLE_EQ(venta->uTotal, 5 * 20 + 3 * 30);
}

TEST_P(Promociones, ConjuntoConRegaloYLineasConsumidas) {
  cat->existencia(5, 10);
  ASSERT_EQ(lee(3), 0);
  venta->cambiaCantidad(0, 2);
  cat->promocion(7, "Jugo con taza", 1, "", {});
  cat->promocionProducto(7, 1, 3, 2);
  cat->promocionProducto(7, 2, 5, 1);
  venta->compruebaPromocionFilaRecienInsertdada(0);
  // The whole line went into the promotion: it is deleted, the copy and the gift remain.
  EXPECT_TRUE(filasComo(venta->lineas(),
                        {"_tipoInsercion", "Cantidad", "Descripción", "Precio Lista", "Descuento",
                         "_IVA T", "Precio"},
                        {"3|*|*|*|*|*|*", "31|2|*|*|*|*|*", "*|*|Taza de regalo|45|45|0.16|0"}));
  EXPECT_EQ(venta->uProducto.nombre, "Taza de regalo");
  EXPECT_DOUBLE_EQ(venta->uTotal, 40);
  const TDetallePromocion d = detallePromocion(7, conexion());
  EXPECT_EQ(
      d.descripcion,
      "Jugo con taza(t2, 7)\ren la compra de:\r   -2 Jugo\rse obsequia: \r   -1 Taza de regalo\r");
}

TEST_P(Promociones, DosPromocionesSobreUnProductoYVigencia) {
  const QDateTime ahora = QDateTime::currentDateTime();
  cat->promocion(8, "Vencida", 2, "2|50", {1}, {}, ahora.addDays(-10), ahora.addSecs(-60));
  cat->promocion(9, "Futura", 2, "2|50", {1}, {}, ahora.addSecs(120), ahora.addDays(10));
  cat->promocion(10, "Primera", 2, "2|10", {1}, {}, ahora.addSecs(-5), ahora.addDays(1));
  cat->promocion(11, "Segunda", 2, "2|20", {1}, {}, ahora.addSecs(-5), ahora.addSecs(300));
  ASSERT_EQ(lee(1), 0);
  ASSERT_EQ(filas(), 2);
  EXPECT_EQ(c("Descripción", 0), "Primera");  // the second finds the header and does nothing
  EXPECT_EQ(c("Descuento", 1), "1");
  // In force exactly at its first and last instant.
  const QDateTime t(QDate(2026, 3, 1), QTime(0, 0, 0));
  cat->promocion(12, "Marzo", 2, "2|5", {2}, {}, t, t.addDays(31).addSecs(-1));
  auto vigentes = [&](const QDateTime& f) {
    return consultaPromocionPorProductoYFecha("DUL", 2, 1, f, conexion()).getRowCount();
  };
  EXPECT_EQ(vigentes(t.addSecs(-1)), 0);
  EXPECT_EQ(vigentes(t), 1);
  EXPECT_EQ(vigentes(t.addDays(31).addSecs(-1)), 1);
  EXPECT_EQ(vigentes(t.addDays(31)), 0);
}

TEST_P(Promociones, TextosDelPanel) {
  const QDateTime d(QDate(2026, 1, 1), QTime(0, 0));
  cat->promocion(20, "2x1", 0, "x|2|1", {1}, {}, d, d.addYears(1));
  cat->promocion(21, "Dulces", 2, "1|15", {}, {"DUL"});
  cat->promocion(22, "Galletas", 2, "2|7.5", {2});
  cat->promocion(23, "Monto", 3, "|3||12.5", {3});
  const TDetallePromocion a = detallePromocion(20, conexion());
  EXPECT_EQ(a.desde, "01/01/2026 00:00:00");
  EXPECT_EQ(a.hasta, "01/01/2027 00:00:00");
  EXPECT_EQ(a.descripcion, "2x1(t1, 20)\r - vende 2 y cobra 1");
  EXPECT_EQ(detallePromocion(21, conexion()).descripcion, "descuento a categoría: \r 15%");
  EXPECT_EQ(detallePromocion(22, conexion()).descripcion, "descuento a producto: \r 7.5%");
  EXPECT_TRUE(detallePromocion(23, conexion()).descripcion.endsWith("\rdescuento de: $12.5"));
  EXPECT_FALSE(detallePromocion(99, conexion()).ok);
  EXPECT_FALSE(detallePromocion(0, conexion()).ok);
}

INSTANCIA_AMBOS_MOTORES(Promociones);

}  // namespace
