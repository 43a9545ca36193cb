#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "admin/TFRM_cajeros.h"
#include "admin/TFRM_cajerosCaptura.h"
#include "grid/TGridControl.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/FilasPrueba.h"
#include "support/RespondedorPrueba.h"
#include "support/SupervisorPrueba.h"

namespace {

class Cajeros : public PruebaSupervisor {
 protected:
  void SetUp() override {
    PruebaSupervisor::SetUp();
    if (!db) return;
    ana = s->cajero("C01", "Ana");
    beto = s->cajero("C02", "Beto", "Ruiz", "Sol", 2);
  }
  QStringList claves(const TFRM_cajeros& l) { return columnaDe(l.grid(), "Clave"); }
  int ana = 0, beto = 0;
};

TEST_F(Cajeros, ListaTodosLosEstadosYFiltra) {
  TFRM_cajeros l;
  l.init();
  EXPECT_EQ(claves(l), QStringList({"C01", "C02"}));
  EXPECT_EQ(l.grid().getCelda("Estado", 1), "Inactivo");
  EXPECT_EQ(l.grid().getCeldaAsInt("_cajeroID", 1), beto);
  EXPECT_EQ(l.grid().getCelda("Nombre", 0), "Ana Pérez López");
  l.escribe("Nombre", "ruiz");
  l.pulsa("Buscar");
  EXPECT_EQ(claves(l), QStringList({"C02"}));
  l.escribe("Clave", "c01");
  l.pulsa("Buscar");
  EXPECT_EQ(claves(l), QStringList());
  EXPECT_TRUE(l.visible("Mensaje"));
  // The clear buttons only clear; "Ver Todos" clears and searches.
  l.pulsa("Borrar Nombre");
  EXPECT_TRUE(l.texto("Nombre").isEmpty());
  EXPECT_EQ(claves(l), QStringList());
  l.pulsa("Ver Todos");
  EXPECT_TRUE(l.texto("Clave").isEmpty());
  EXPECT_EQ(claves(l).size(), 2);
  // Every init searches again.
  s->cajero("C03", "Ciro");
  l.init();
  EXPECT_EQ(claves(l).size(), 3);
}

TEST_F(Cajeros, ElIconoDeLaFilaEditaYNuevoCajeroCrea) {
  TFRM_cajeros l;
  l.resize(1000, 600);
  l.show();
  l.init();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&l));
  int editado = -1;
  r.enDialogo<TFRM_cajerosCaptura>([&](TFRM_cajerosCaptura& c) {
    editado = c.uCajeroID;
    EXPECT_EQ(c.texto("Clave"), "C02");
    c.escribe("Nombre", "Roberto");
    c.BTN_aceptarClick();
  });
  auto suelta = [&](int fila, int columna) { l.pulsaCelda("Lista", fila, columna); };
  suelta(1, 4);  // "Nombre": no action
  EXPECT_TRUE(r.dialogos.isEmpty());
  suelta(1, 0);
  EXPECT_EQ(editado, beto);
  EXPECT_EQ(l.grid().getCelda("Nombre", 1), "Roberto Ruiz Sol");  // searched again

  r.manejadores.push_back([&](QDialog* d) {
    auto* c = qobject_cast<TFRM_cajerosCaptura*>(d);
    EXPECT_EQ(c->uCajeroID, 0);
    return int(QDialog::Rejected);
  });
  l.pulsa("Nuevo Cajero");
  EXPECT_EQ(r.dialogos.size(), 2);
}

TEST_F(Cajeros, ElPdfImprimeLasColumnasDescritas) {
  TFRM_cajeros l;
  l.init();
  const TTablaPDF t = l.grid().getTTablaPDF();
  EXPECT_EQ(t.titulos, QStringList({"Clave", "Nombre", "Estado"}));
  ASSERT_EQ(t.filas.size(), 2);
  EXPECT_EQ(t.filas[0], QStringList({"C01", "Ana Pérez López", "Activo"}));
}

}  // namespace
