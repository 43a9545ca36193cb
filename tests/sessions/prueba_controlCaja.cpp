#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "grid/TGridControl.h"
#include "sessions/TFRM_cajaCaptura.h"
#include "sessions/TFRM_controlCaja.h"
#include "shell/listas/TDelegadoLista.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/FilasPrueba.h"
#include "support/RespondedorPrueba.h"
#include "support/SupervisorPrueba.h"

namespace {

class ControlCaja : public PruebaSupervisor {
 protected:
  void SetUp() override {
    PruebaSupervisor::SetUp();
    if (!db) return;
    s->almacen(2, "Bodega");
    cerrada = s->caja("CJ1", "Caja uno");
    abierta = s->caja("CJ2", "Caja dos", 2);
    sesion = s->abre(abierta, s->cajero("C01", "Ana"), 500, "OTRA-ESTACION");
    s->venta(sesion, 1, 300, 45.5);
    l = std::make_unique<TFRM_controlCaja>();
    l->uMuestraMenu = false;
    l->resize(1100, 600);
    l->show();
    l->init();
  }
  int fila(const QString& clave) {
    for (int f = 0; f < l->grid().getRowCount(); ++f)
      if (l->grid().getCelda("Clave", f) == clave) return f;
    return -1;
  }
  void suelta(int f, int columna) { l->pulsaCelda("Lista", f, columna); }
  QList<bool> habilitados() {
    return {l->opcionHabilitada(1), l->opcionHabilitada(2), l->opcionHabilitada(3),
            l->opcionHabilitada(4)};
  }
  std::unique_ptr<TFRM_controlCaja> l;
  int cerrada = 0, abierta = 0, sesion = 0;
};

TEST_F(ControlCaja, ListaEstadoSesionYSaldo) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(l.get()));
  const TGridControl& g = l->grid();
  ASSERT_EQ(g.getRowCount(), 2);
  const int a = fila("CJ2"), c = fila("CJ1");
  EXPECT_EQ(g.getCelda("Estado", a), "Abierta");
  EXPECT_EQ(g.getCelda("Cajero", a), "Ana Pérez López");
  EXPECT_EQ(g.getCelda("Almacén", a), "Bodega");
  EXPECT_EQ(g.getCeldaAsInt("_sesionID", a), sesion);
  EXPECT_EQ(g.getCelda("Saldo", a), "$ 754.50");
  EXPECT_EQ(g.getCelda("Saldo", c), "$ 0.00");
  EXPECT_EQ(g.getCelda("Estado", c), "Cerrada");
  EXPECT_TRUE(g.getCelda("Apertura", c).isEmpty());
  EXPECT_EQ(l->delegado()->textoCelda(g.indiceColumna("Saldo"), a), "$ 754.50");
  EXPECT_EQ(g.getTTablaPDF().titulos, QStringList({"Clave", "Descripción", "Almacén", "Estado",
                                                   "Cajero", "Apertura", "Corte", "Saldo"}));

  l->escribe("Descripción", "dos");
  l->pulsaEnter("Descripción");
  EXPECT_EQ(g.getRowCount(), 1);
  l->pulsa("Borrar Descripción");  // clears and searches on this screen
  EXPECT_EQ(g.getRowCount(), 2);
  l->escribe("Clave", "zz");
  l->pulsa("Buscar");
  EXPECT_TRUE(l->visible("Mensaje"));
  l->pulsa("Ver Todos");  // no action here
  EXPECT_EQ(l->texto("Clave"), "zz");
  EXPECT_EQ(g.getRowCount(), 0);
}

TEST_F(ControlCaja, ElMenuDependeDelEstadoYSoloSeAbreEnLaPrimeraColumna) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(l.get()));
  suelta(fila("CJ1"), 3);
  EXPECT_EQ(l->uFila, -1);
  suelta(fila("CJ1"), 0);
  EXPECT_EQ(l->uFila, fila("CJ1"));
  EXPECT_EQ(habilitados(), QList<bool>({true, true, false, false}));
  EXPECT_EQ(l->textoOpcion(1), "Editar Caja");
  EXPECT_EQ(l->textoOpcion(4), "Cierre");
  EXPECT_EQ(l->uDatosRequeridos.cajaClave, "CJ1");
  suelta(fila("CJ2"), 0);
  EXPECT_EQ(habilitados(), QList<bool>({false, false, true, true}));
  EXPECT_EQ(l->uDatosRequeridos.cajaEstado, 1);
  l->eligeOpcion(2);  // disabled: no opening of an open register
  l->eligeOpcion(1);
  EXPECT_TRUE(r.dialogos.isEmpty());
  // Any other state offers everything.
  s->valor("UPDATE puntoCaja SET estado = 7 WHERE id = :c", {{"c", cerrada}});
  l->buscar();
  suelta(fila("CJ1"), 0);
  EXPECT_EQ(habilitados(), QList<bool>({true, true, true, true}));
}

TEST_F(ControlCaja, NuevaCajaValidaClaveYAlmacenYEditarSoloCambiaLaDescripcion) {
  r.enDialogo<TFRM_cajaCaptura>([&](TFRM_cajaCaptura& c) {
    EXPECT_EQ(c.texto("Título"), "Nueva Caja");
    EXPECT_TRUE(c.habilitado("Clave"));
    EXPECT_EQ(c.entradas("Almacén").size(), 2);
    EXPECT_TRUE(c.texto("Almacén").isEmpty());  // none chosen
    EXPECT_EQ(c.longitudMaxima("Clave"), 20);
    EXPECT_EQ(c.longitudMaxima("Descripción Corta"), 60);
    c.escribe("Clave", "  ");
    c.BTN_aceptarClick();
    c.escribe("Clave", " cj1 ");
    c.BTN_aceptarClick();
    c.escribe("Clave", "CJ3");
    c.BTN_aceptarClick();
    c.eligeOpcion("Almacén", "Bodega");
    c.BTN_aceptarClick();  // an empty description is fine
  });
  l->pulsa("Nueva Caja");
  EXPECT_EQ(r.textos(),
            QStringList({"Capturar clave", "El nombre capturado ya existe, intente nuevamente",
                         "Seleccione un almacen"}));
  const int nueva = fila("CJ3");
  ASSERT_GE(nueva, 0);
  EXPECT_EQ(l->grid().getCelda("Almacén", nueva), "Bodega");
  EXPECT_EQ(l->grid().getCelda("Descripción", nueva), "");

  l->uFila = fila("CJ1");
  r.enDialogo<TFRM_cajaCaptura>([&](TFRM_cajaCaptura& c) {
    EXPECT_EQ(c.texto("Título"), "Editar Caja");
    EXPECT_FALSE(c.habilitado("Clave"));
    EXPECT_EQ(c.texto("Clave"), "CJ1");
    EXPECT_EQ(c.texto("Almacén"), "Tienda");
    c.escribe("Clave", "OTRA");
    c.eligeOpcion("Almacén", "Bodega");
    c.escribe("Descripción Corta", " Caja de la entrada ");
    c.BTN_aceptarClick();
  });
  l->accionMenuFlotante(1);
  const int editada = fila("CJ1");
  ASSERT_GE(editada, 0);
  EXPECT_EQ(l->grid().getCelda("Descripción", editada), "Caja de la entrada");
  EXPECT_EQ(l->grid().getCelda("Almacén", editada), "Tienda");

  // "Nueva Caja" cancelled: nothing stored, no search needed.
  r.manejadores.push_back([](QDialog*) { return int(QDialog::Rejected); });
  l->pulsa("Nueva Caja");
  EXPECT_EQ(l->grid().getRowCount(), 3);
}

}  // namespace
