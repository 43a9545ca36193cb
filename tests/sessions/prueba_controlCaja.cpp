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
#include "support/RespondedorPrueba.h"
#include "shell/listas/TDelegadoLista.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/SupervisorPrueba.h"

namespace {

class ControlCaja : public ::testing::Test {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    ASSERT_TRUE(db);
    CatalogoPrueba(db->conexion()).negocioBasico();
    db->llenaLocalSYS(1);
    s = std::make_unique<SupervisorPrueba>(db->conexion());
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
  void suelta(int f, int columna) {
    const QRect celda = l->GRD_main->visualRect(l->GRD_main->model()->index(f, columna));
    QTest::mouseClick(l->GRD_main->viewport(), Qt::LeftButton, {}, celda.center());
  }
  QList<bool> habilitados() {
    return {l->MenuItem1->isEnabled(), l->MenuItem2->isEnabled(), l->MenuItem3->isEnabled(),
            l->MenuItem4->isEnabled()};
  }
  std::unique_ptr<BaseDatosPrueba> db;
  std::unique_ptr<SupervisorPrueba> s;
  std::unique_ptr<TFRM_controlCaja> l;
  RespondedorPrueba r;
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

  l->TXT_descripcion->setText("dos");
  QTest::keyClick(l->TXT_descripcion, Qt::Key_Return);
  EXPECT_EQ(g.getRowCount(), 1);
  l->botonBorrar("TXT_descripcion")->click();  // clears and searches on this screen
  EXPECT_EQ(g.getRowCount(), 2);
  l->TXT_clave->setText("zz");
  l->BTN_buscar->click();
  EXPECT_FALSE(l->LBL_msg->isHidden());
  l->BTN_verTodos->click();  // no action here
  EXPECT_EQ(l->TXT_clave->text(), "zz");
  EXPECT_EQ(g.getRowCount(), 0);
}

TEST_F(ControlCaja, ElMenuDependeDelEstadoYSoloSeAbreEnLaPrimeraColumna) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(l.get()));
  suelta(fila("CJ1"), 3);
  EXPECT_EQ(l->uFila, -1);
  suelta(fila("CJ1"), 0);
  EXPECT_EQ(l->uFila, fila("CJ1"));
  EXPECT_EQ(habilitados(), QList<bool>({true, true, false, false}));
  EXPECT_EQ(l->MenuItem1->text(), "Editar Caja");
  EXPECT_EQ(l->MenuItem4->text(), "Cierre");
  EXPECT_EQ(l->uDatosRequeridos.cajaClave, "CJ1");
  suelta(fila("CJ2"), 0);
  EXPECT_EQ(habilitados(), QList<bool>({false, false, true, true}));
  EXPECT_EQ(l->uDatosRequeridos.cajaEstado, 1);
  l->MenuItem2->trigger();  // disabled: no opening of an open register
  l->MenuItem1->trigger();
  EXPECT_TRUE(r.dialogos.isEmpty());
  // Any other state offers everything.
  s->valor("UPDATE puntoCaja SET estado = 7 WHERE id = :c", {{"c", cerrada}});
  l->buscar();
  suelta(fila("CJ1"), 0);
  EXPECT_EQ(habilitados(), QList<bool>({true, true, true, true}));
}

TEST_F(ControlCaja, NuevaCajaValidaClaveYAlmacenYEditarSoloCambiaLaDescripcion) {
  r.manejadores.push_back([&](QDialog* d) {
    auto* c = qobject_cast<TFRM_cajaCaptura*>(d);
    EXPECT_EQ(c->LBL_titulo->text(), "Nueva Caja");
    EXPECT_TRUE(c->TXT_claveCaja->isEnabled());
    EXPECT_EQ(c->CMB_almacenes->count(), 2);
    EXPECT_EQ(c->CMB_almacenes->currentIndex(), -1);
    EXPECT_EQ(c->TXT_claveCaja->maxLength(), 20);
    EXPECT_EQ(c->TXT_descripcionCaja->maxLength(), 60);
    c->TXT_claveCaja->setText("  ");
    c->BTN_aceptarClick();
    c->TXT_claveCaja->setText(" cj1 ");
    c->BTN_aceptarClick();
    c->TXT_claveCaja->setText("CJ3");
    c->BTN_aceptarClick();
    c->CMB_almacenes->setCurrentIndex(1);
    c->BTN_aceptarClick();  // an empty description is fine
    return d->result();
  });
  l->BTN_nuevaCaja->click();
  EXPECT_EQ(r.textos(),
            QStringList({"Capturar clave", "El nombre capturado ya existe, intente nuevamente",
                         "Seleccione un almacen"}));
  const int nueva = fila("CJ3");
  ASSERT_GE(nueva, 0);
  EXPECT_EQ(l->grid().getCelda("Almacén", nueva), "Bodega");
  EXPECT_EQ(l->grid().getCelda("Descripción", nueva), "");

  l->uFila = fila("CJ1");
  r.manejadores.push_back([&](QDialog* d) {
    auto* c = qobject_cast<TFRM_cajaCaptura*>(d);
    EXPECT_EQ(c->LBL_titulo->text(), "Editar Caja");
    EXPECT_FALSE(c->TXT_claveCaja->isEnabled());
    EXPECT_EQ(c->TXT_claveCaja->text(), "CJ1");
    EXPECT_EQ(c->CMB_almacenes->currentText(), "Tienda");
    c->TXT_claveCaja->setText("OTRA");
    c->CMB_almacenes->setCurrentIndex(1);
    c->TXT_descripcionCaja->setText(" Caja de la entrada ");
    c->BTN_aceptarClick();
    return d->result();
  });
  l->accionMenuFlotante(1);
  const int editada = fila("CJ1");
  ASSERT_GE(editada, 0);
  EXPECT_EQ(l->grid().getCelda("Descripción", editada), "Caja de la entrada");
  EXPECT_EQ(l->grid().getCelda("Almacén", editada), "Tienda");

  // "Nueva Caja" cancelled: nothing stored, no search needed.
  r.manejadores.push_back([](QDialog*) { return int(QDialog::Rejected); });
  l->BTN_nuevaCaja->click();
  EXPECT_EQ(l->grid().getRowCount(), 3);
}

}  // namespace
