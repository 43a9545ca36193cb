#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "grid/TGridControl.h"
#include "stock/TFRM_consultarExistencias.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/RespondedorPrueba.h"
#include "support/SupervisorPrueba.h"
#include "ui/TFRM_seleccionarProducto.h"
#include "ui/TTecladoPantalla.h"

namespace {

class Existencias : public ::testing::Test {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    ASSERT_TRUE(db);
    CatalogoPrueba c(db->conexion());
    c.negocioBasico();
    SupervisorPrueba s(db->conexion());
    s.almacen(2, "Bodega");
    c.producto(1, "Agua natural", "7501", 10);
    c.producto(2, "Coca Cola 600", "7502", 18);
    c.producto(3, "Café de olla", "7503", 45);
    c.existencia(1, 10);
    c.existencia(2, 24);
    c.existencia(2, 6, 2);
    c.existencia(3, 2.5, 2);
    db->llenaLocalSYS(1);
  }
  QStringList filas(const TFRM_consultarExistencias& e) {
    QStringList f;
    const TGridControl& g = e.grid();
    for (int r = 0; r < g.getRowCount(); ++r)
      f << g.getCelda("Producto", r) + "@" + g.getCelda("Almacén", r) + "=" +
               g.getCelda("Existencia", r);
    return f;
  }
  // Answers the product picker: searches `texto` and takes the first row.
  void eligeProducto(const QString& texto) {
    r.manejadores.push_back([texto](QDialog* d) {
      auto* p = qobject_cast<TFRM_seleccionarProducto*>(d);
      EXPECT_TRUE(p);
      p->escribe("Nombre o código de barras", "");
      for (QChar c : texto) p->pulsaTecla(c == ' ' ? QString("espacio") : QString(c).toUpper());
      p->pulsaTecla("enter");
      p->seleccionaFila(0);
      p->BTN_aceptarClick();
      return d->result();
    });
  }
  std::unique_ptr<BaseDatosPrueba> db;
  RespondedorPrueba r;
};

TEST_F(Existencias, SinFiltrosListaTodoYReabrirNoBuscaDeNuevo) {
  TFRM_consultarExistencias e;
  e.init();
  EXPECT_EQ(e.entradas("Almacenes").size(), 2);
  EXPECT_EQ(e.texto("Almacenes"), "");
  EXPECT_EQ(e.uValueMember_CMB_almacenes, QVector<qint32>({1, 2}));
  EXPECT_EQ(filas(e), QStringList({"P1 - Agua natural@Tienda=10", "P3 - Café de olla@Bodega=2.5",
                                   "P2 - Coca Cola 600@Tienda=24", "P2 - Coca Cola 600@Bodega=6"}));
  EXPECT_EQ(e.texto("Producto"), "Seleccionar producto ...");
  EXPECT_EQ(e.grid().getTTablaPDF().titulos, QStringList({"Producto", "Almacén", "Existencia"}));

  SupervisorPrueba(db->conexion()).almacen(3, "Sucursal");
  CatalogoPrueba(db->conexion()).existencia(1, 5, 3);
  e.init();
  EXPECT_EQ(e.entradas("Almacenes").size(), 3);
  EXPECT_EQ(e.grid().getRowCount(), 4);
  e.pulsa("Buscar");
  EXPECT_EQ(e.grid().getRowCount(), 5);
}

TEST_F(Existencias, AlmacenYProductoFiltranYVerTodosLosQuita) {
  TFRM_consultarExistencias e;
  e.init();
  e.eligeOpcion("Almacenes", e.entradas("Almacenes").value(1));
  e.pulsa("Buscar");
  EXPECT_EQ(filas(e), QStringList({"P3 - Café de olla@Bodega=2.5", "P2 - Coca Cola 600@Bodega=6"}));

  eligeProducto("coca");
  e.pulsa("Producto");
  EXPECT_EQ(e.uProducto.id, 2);
  EXPECT_EQ(e.texto("Producto"), "P2 - Coca Cola 600");
  e.pulsa("Buscar");
  EXPECT_EQ(filas(e), QStringList({"P2 - Coca Cola 600@Bodega=6"}));

  // A cancelled picker keeps the choice; the warehouse reset does not search.
  r.manejadores.push_back([](QDialog*) { return int(QDialog::Rejected); });
  e.pulsa("Producto");
  EXPECT_EQ(e.uProducto.id, 2);
  e.pulsa("Borrar Almacen");
  EXPECT_EQ(e.texto("Almacenes"), "");
  EXPECT_EQ(e.grid().getRowCount(), 1);
  e.pulsa("Buscar");
  EXPECT_EQ(e.grid().getRowCount(), 2);

  e.eligeOpcion("Almacenes", e.entradas("Almacenes").value(0));
  e.pulsa("Ver Todos");
  EXPECT_EQ(e.texto("Almacenes"), "");
  EXPECT_EQ(e.uProducto.id, 0);
  EXPECT_TRUE(e.texto("Producto").isEmpty());
  EXPECT_EQ(e.grid().getRowCount(), 4);

  // Nothing in stock for the filter: the message shows.
  eligeProducto("agua");
  e.pulsa("Producto");
  e.eligeOpcion("Almacenes", e.entradas("Almacenes").value(1));
  e.pulsa("Buscar");
  EXPECT_EQ(e.grid().getRowCount(), 0);
  EXPECT_TRUE(e.visible("Mensaje"));
  EXPECT_EQ(e.texto("Mensaje"), "No hay elementos que mostrar");
}

TEST_F(Existencias, ElSelectorDeProductoBuscaPorNombreOCodigo) {
  TFRM_seleccionarProducto p(localSYS);
  p.escribe("Nombre o código de barras", "7503");
  p.buscar();
  ASSERT_EQ(p.grid()->getRowCount(), 1);
  EXPECT_EQ(p.grid()->getCelda("Producto", 0), "Café de olla");
  p.escribe("Nombre o código de barras", "cafe");  // accents and case ignored
  p.buscar();
  EXPECT_EQ(p.grid()->getRowCount(), 1);
  p.escribe("Nombre o código de barras", "nada parecido");
  p.buscar();
  EXPECT_EQ(p.grid()->getRowCount(), 0);
  EXPECT_TRUE(p.visible("Mensaje"));
  // Accepting without a row does nothing.
  p.BTN_aceptarClick();
  EXPECT_NE(p.result(), QDialog::Accepted);

  r.enDialogo<TFRM_seleccionarProducto>([](TFRM_seleccionarProducto& s) {
    s.escribe("Nombre o código de barras", "7502");
    s.buscar();
    s.seleccionaFila(0);
    s.BTN_aceptarClick();
  });
  const TproductoSeleccionadoDescripcion elegido = seleccionarProducto(localSYS);
  EXPECT_TRUE(elegido.ok);
  EXPECT_EQ(elegido.id, 2);
  EXPECT_EQ(elegido.nombre, "Coca Cola 600");
  EXPECT_FALSE(seleccionarProducto(localSYS).ok);  // no answer queued: cancelled
}

}  // namespace
