#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "admin/TFRM_seleccionarCajero.h"
#include "grid/TGridControl.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/FilasPrueba.h"
#include "support/RespondedorPrueba.h"
#include "support/SupervisorPrueba.h"

namespace {

class SeleccionarCajero : public PruebaSupervisor {
 protected:
  void SetUp() override {
    PruebaSupervisor::SetUp();
    if (!db) return;
    ana = s->cajero("C01", "Ana");
    s->cajero("C02", "Ana", "Inactiva", "Dos", 2);
    s->cajero("C03", "Ana", "Suspendida", "Tres", 3);
    ciro = s->cajero("C04", "Ciro", "Paz", "Luna");
  }
  // Runs the picker with `pasos` acting on the open dialog.
  seleccionarCajeroRespuesta elige(std::function<void(TFRM_seleccionarCajero&)> pasos) {
    r.manejadores.push_back([pasos](QDialog* d) {
      auto* s = qobject_cast<TFRM_seleccionarCajero*>(d);
      EXPECT_TRUE(s);
      if (s) {
        s->resize(860, 620);
        s->show();
        pasos(*s);
        s->hide();
      }
      return d->result();
    });
    return seleccionarCajero(localSYS);
  }
  static QStringList claves(TFRM_seleccionarCajero& s) { return columnaDe(s.grid(), "Clave"); }
  static void suelta(TFRM_seleccionarCajero& s, int fila, int columna) {
    s.pulsaCelda("Lista", fila, columna);
  }
  int ana = 0, ciro = 0;
};

TEST_F(SeleccionarCajero, SoloAparecenLosActivosBusqueSeLoQueSeBusque) {
  elige([](TFRM_seleccionarCajero& s) {
    EXPECT_EQ(claves(s), QStringList({"C01", "C04"}));
    EXPECT_EQ(s.texto("Filtro"), "*Mostrando unicamente cajeros Activos");
    s.escribe("Nombre", "ana");
    s.pulsaEnter("Nombre");
    EXPECT_EQ(claves(s), QStringList({"C01"}));
    s.escribe("Clave", "C02");
    s.buscar();
    EXPECT_TRUE(claves(s).isEmpty());
    EXPECT_EQ(s.texto("Mensaje"), "No hay elementos que mostrar");
    EXPECT_EQ(s.longitudMaxima("Nombre"), 20);
  });
}

TEST_F(SeleccionarCajero, AceptarSinFilaNoHaceNadaYCancelarNoElige) {
  const auto cancelada = elige([](TFRM_seleccionarCajero& s) {
    s.pulsa("Aceptar");
    EXPECT_FALSE(s.uAceptar);
    EXPECT_NE(s.result(), QDialog::Accepted);
    suelta(s, 1, 3);
    EXPECT_EQ(s.uFilaSeleccionada, 1);
    s.pulsa("Cancelar");
  });
  EXPECT_FALSE(cancelada.ok);
  EXPECT_EQ(cancelada.cajero.id, 0);
  EXPECT_TRUE(cancelada.cajero.nombreCompleto.isEmpty());
}

TEST_F(SeleccionarCajero, ElegirConClicFlechasDobleClicOEnter) {
  const auto porClic = elige([](TFRM_seleccionarCajero& s) {
    suelta(s, 1, 2);
    s.pulsa("Aceptar");
  });
  ASSERT_TRUE(porClic.ok);
  EXPECT_EQ(porClic.cajero.id, ciro);
  EXPECT_EQ(porClic.cajero.clave, "C04");
  EXPECT_EQ(porClic.cajero.nombreCompleto, "Ciro Paz Luna");
  EXPECT_EQ(porClic.cajero.estadoVendedor, 1);
  EXPECT_EQ(porClic.cajero.estado, "Activo");
  EXPECT_GT(porClic.cajero.personaID, 0);
  EXPECT_TRUE(porClic.cajero.nota.isEmpty());

  const auto porFlechas = elige([](TFRM_seleccionarCajero& s) {
    s.seleccionaCelda("Lista", 1, 2);
    s.pulsaTeclaEn("Lista", Qt::Key_Up);
    EXPECT_EQ(s.uFilaSeleccionada, 0);
    s.pulsaTeclaEn("Lista", Qt::Key_Return);
  });
  ASSERT_TRUE(porFlechas.ok);
  EXPECT_EQ(porFlechas.cajero.id, ana);

  const auto porDobleClic =
      elige([](TFRM_seleccionarCajero& s) { s.pulsaDobleCelda("Lista", 1, 3); });
  ASSERT_TRUE(porDobleClic.ok);
  EXPECT_EQ(porDobleClic.cajero.id, ciro);

  // A new search forgets the row pointed at before.
  const auto trasBuscar = elige([](TFRM_seleccionarCajero& s) {
    suelta(s, 1, 2);
    s.buscar();
    s.pulsa("Aceptar");
    EXPECT_FALSE(s.uAceptar);
    s.reject();
  });
  EXPECT_FALSE(trasBuscar.ok);
}

}  // namespace
