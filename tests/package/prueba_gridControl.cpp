#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QTableView>

#include "grid/TGridControl.h"
#include "grid/TGridModelo.h"
#include "ui/TGridVista.h"
#include "util/utilerias.h"

namespace {

TGridControl* tablaVentas() {
  auto* g = new TGridControl();
  g->add(2, "Eliminar", "", "Elimina", 40, false);
  g->add(0, "Cantidad", "--", "", 80, true);
  g->add(0, "_descuento", "--", "", 80, false);
  g->add(0, "Descuento", "--", "", 80, false);
  g->add(0, "Subtotal", "--", "", 80, false);
  g->add(0, "_descuento", "--", "", 80, false);
  g->add(0, "Descuento", "--", "", 80, false);
  g->add(0, "_grupo", "--", "", 30, false);
  return g;
}

TEST(GridControl, NombresDuplicadosLleganALaPrimeraColumna) {
  std::unique_ptr<TGridControl> g(tablaVentas());
  EXPECT_EQ(g->getColumnCount(), 8);
  EXPECT_EQ(g->indiceColumna("_descuento"), 2);
  EXPECT_EQ(g->indiceColumna("Descuento"), 3);
  const int f = g->agregarRegistro({{"Cantidad", "2"}, {"Descuento", "5.5"}, {"Nada", "x"}});
  EXPECT_EQ(f, 0);
  EXPECT_EQ(g->getCelda("Descuento", 0), "5.5");
  EXPECT_EQ(g->getCelda(6, 0), "");  // the second "Descuento" stays untouched
  g->setCelda(6, 0, "1");
  EXPECT_EQ(g->getCelda("Descuento", 0), "5.5");
  EXPECT_DOUBLE_EQ(g->getCeldaAsFloat("Descuento", 0), 5.5);
  EXPECT_EQ(g->getCeldaAsInt("Cantidad", 0), 2);
  EXPECT_EQ(g->getCelda("Cantidad", 5), "");  // out of range reads empty
}

TEST(GridControl, InsertarEliminarYCopiarConservanElOrden) {
  std::unique_ptr<TGridControl> g(tablaVentas());
  for (int i = 1; i <= 3; ++i)
    g->agregarRegistro({{"Cantidad", QString::number(i)}, {"_grupo", QString::number(i)}});
  g->insertaRegistro(1, {{"Cantidad", "X"}});
  auto cantidades = [&] {
    QStringList c;
    for (int r = 0; r < g->getRowCount(); ++r) c << g->getCelda("Cantidad", r);
    return c;
  };
  EXPECT_EQ(cantidades(), QStringList({"1", "X", "2", "3"}));
  g->eliminarRegistro(1);
  EXPECT_EQ(cantidades(), QStringList({"1", "2", "3"}));
  EXPECT_EQ(g->copiaFila(0, 2), 2);
  EXPECT_EQ(cantidades(), QStringList({"1", "2", "1", "3"}));
  EXPECT_EQ(g->copiaFila(3), 4);
  EXPECT_EQ(cantidades(), QStringList({"1", "2", "1", "3", "3"}));
  g->eliminarRegistro(99);
  EXPECT_EQ(g->getRowCount(), 5);
  // Column-major table.
  EXPECT_EQ(g->getTabla()[1], QStringList({"1", "2", "1", "3", "3"}));
  g->clearFilas();
  EXPECT_EQ(g->getRowCount(), 0);
  EXPECT_EQ(g->getColumnCount(), 8);
}

// Numbers read from cells are kept between reads: every way a cell changes must be seen, or a
// total would be summed from stale amounts.
TEST(GridControl, LosNumerosLeidosSiguenALasCeldas) {
  std::unique_ptr<TGridControl> g(tablaVentas());
  auto cantidades = [&] {
    QList<double> c;
    for (int r = 0; r < g->getRowCount(); ++r) c << g->getCeldaAsFloat("Cantidad", r);
    return c;
  };
  for (const char* t : {"1.5", "2", "3"}) g->agregarRegistro({{"Cantidad", t}});
  EXPECT_EQ(cantidades(), QList<double>({1.5, 2, 3}));
  g->setCelda("Cantidad", 1, " 7.25 ");
  EXPECT_EQ(cantidades(), QList<double>({1.5, 7.25, 3}));
  g->insertaRegistro(0, {{"Cantidad", "9"}});
  EXPECT_EQ(cantidades(), QList<double>({9, 1.5, 7.25, 3}));
  g->eliminarRegistro(2);
  EXPECT_EQ(cantidades(), QList<double>({9, 1.5, 3}));
  g->copiaFila(0, 1);
  g->setCelda("Cantidad", 0, "x");
  EXPECT_EQ(cantidades(), QList<double>({0, 9, 1.5, 3}));
  EXPECT_EQ(g->getCeldaAsInt("Cantidad", 1), 9);
  EXPECT_EQ(g->getCeldaAsInt("Cantidad", 2), 1);
  g->setCelda("Cantidad", 3, "-2.9");
  EXPECT_EQ(g->getCeldaAsInt("Cantidad", 3), -2);
  g->setCelda("Cantidad", 3, "99999999999");
  EXPECT_EQ(g->getCeldaAsInt("Cantidad", 3), u_strToInt("99999999999"));
  g->clearFilas();
  g->agregarRegistro({{"Cantidad", "4"}});
  EXPECT_EQ(cantidades(), QList<double>({4}));
  CmidTierResponse r;
  r.setColumnas({"x"});
  r.agregaFila({1});
  r.setOk(true);
  g->setTabla(r);  // no column is bound: the cells are empty again
  EXPECT_EQ(cantidades(), QList<double>({0}));
}

TEST(GridControl, SetTablaLigaPorAliasYExportaLoDescrito) {
  TGridControl g;
  g.add(2, "Edita", "", "Edita", 40, true);
  g.add(0, "_id", "puntoCajero_id", "", 0, false);
  g.add(0, "Clave", "puntoCajero_clave", "", 150, true);
  g.add(0, "Saldo", "--", "", 100, true);
  g.add(0, "Nombre", "persona_nombre", "", 150, true);
  CmidTierResponse r;
  r.setColumnas({"PUNTOCAJERO_ID", "puntocajero_clave", "persona_nombre"});
  r.agregaFila({7, "C01", "Ana"});
  r.agregaFila({8, "C02", QVariant()});
  r.setOk(true);
  g.setTabla(r);
  ASSERT_EQ(g.getRowCount(), 2);
  EXPECT_EQ(g.getCelda("_id", 1), "8");
  EXPECT_EQ(g.getCelda("Nombre", 1), "");
  EXPECT_EQ(g.getCelda("Saldo", 0), "");
  const TTablaPDF pdf = g.getTTablaPDF();
  EXPECT_EQ(pdf.titulos, QStringList({"Clave", "Saldo", "Nombre"}));
  ASSERT_EQ(pdf.filas.size(), 2);
  EXPECT_EQ(pdf.filas[0], QStringList({"C01", "", "Ana"}));
}

TEST(GridControl, ModeloYVista) {
  QTableView vista;
  vista.resize(600, 300);
  std::unique_ptr<TGridControl> g(tablaVentas());
  TGridVista enlace(g.get(), &vista);
  enlace.renuevaColumnas();
  enlace.ajustaColumna("Cantidad");
  g->agregarRegistro({{"Cantidad", "(empty)"}});
  auto* m = g->modelo();
  EXPECT_EQ(m->rowCount(), 1);
  EXPECT_EQ(m->columnCount(), 8);
  EXPECT_EQ(m->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "Descuento");
  EXPECT_FALSE(m->headerData(3, Qt::Horizontal, Qt::DecorationRole).isValid());
  // The narrow delete column shows its image; its title stays reachable as the tooltip.
  EXPECT_EQ(m->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "");
  EXPECT_FALSE(m->headerData(0, Qt::Horizontal, Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_EQ(m->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(), "Eliminar");
  EXPECT_EQ(m->data(m->index(0, 1), Qt::DisplayRole).toString(), "");  // "(empty)" never shows
  EXPECT_EQ(m->data(m->index(0, 0), TGridModelo::RolImagen).toString(), "Elimina");
  EXPECT_TRUE(vista.isColumnHidden(2));
  EXPECT_FALSE(vista.isColumnHidden(1));
  vista.show();
  vista.resize(800, 300);
  QApplication::processEvents();
  EXPECT_GE(vista.columnWidth(1), 700);  // the stretch column takes the spare width
}

}  // namespace
