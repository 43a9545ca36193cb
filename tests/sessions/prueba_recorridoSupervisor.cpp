// The supervisor's road through the module's menu: a new cashier, a new register, its opening
// on this station with a cash count, a sale, a cut and the close.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "admin/TFRM_cajeros.h"
#include "admin/TFRM_cajerosCaptura.h"
#include "grid/TGridControl.h"
#include "operaciones/cajas.h"
#include "operaciones/puntoVenta.h"
#include "sessions/TFRM_cajaApertura.h"
#include "sessions/TFRM_cajaCaptura.h"
#include "sessions/TFRM_cajaCorte.h"
#include "sessions/TFRM_controlCaja.h"
#include "sessions/respuestasSesion.h"
#include "shell/TFRM_main_puntoVenta.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/SupervisorPrueba.h"

namespace {

class RecorridoSupervisor : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    CatalogoPrueba(conexion()).negocioBasico();
    sistema.conexion = db->compartida();
    ASSERT_TRUE(sistema.negocio.carga(conexion(), 1));
    sistema.carpetaAplicacion = db->carpeta() + "/";
    sistema.estacion = "CAJA-SUPERVISOR";
  }
  void TearDown() override {
    panel.reset();
    localSYS = TsistemaDatos();
    PruebaAmbosMotores::TearDown();
  }
  template <class T>
  T* elige(const QString& entrada) {
    EXPECT_TRUE(forma->eligeEntrada(entrada)) << entrada.toStdString();
    return qobject_cast<T*>(forma->getVentanaActiva());
  }
  void suelta(TFRM_controlCaja* l, int fila) { l->pulsaCelda("Lista", fila, 0); }

  TsistemaDatos sistema;
  std::unique_ptr<QWidget> panel;
  TFRM_main_puntoVenta* forma = nullptr;
  RespondedorPrueba r;
};

TEST_P(RecorridoSupervisor, DeLaAltaDelCajeroAlCierreDeLaCaja) {
  panel.reset(TFRM_main_puntoVenta::ExecForm(sistema));
  forma = TFRM_main_puntoVenta::desdePanel(panel.get());
  ASSERT_TRUE(forma);
  panel->resize(1280, 800);
  panel->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));

  // A new cashier.
  auto* cajeros = elige<TFRM_cajeros>("Cajeros");
  ASSERT_TRUE(cajeros);
  r.enDialogo<TFRM_cajerosCaptura>([](TFRM_cajerosCaptura& c) {
    c.escribe("Clave", "MAR");
    c.escribe("Nombre", "Marta");
    c.escribe("A. Paterno", "Gómez");
    c.escribe("A. Materno", "Ruiz");
    c.BTN_aceptarClick();
  });
  cajeros->pulsa("Nuevo Cajero");
  ASSERT_EQ(cajeros->grid().getRowCount(), 1);
  EXPECT_EQ(cajeros->grid().getCelda("Nombre", 0), "Marta Gómez Ruiz");

  // A new register.
  auto* control = elige<TFRM_controlCaja>("Control de Cajas");
  ASSERT_TRUE(control);
  control->uMuestraMenu = false;
  EXPECT_TRUE(control->visible("Mensaje"));
  r.enDialogo<TFRM_cajaCaptura>([](TFRM_cajaCaptura& c) {
    c.escribe("Clave", "M1");
    c.escribe("Descripción Corta", "Mostrador");
    c.eligeOpcion("Almacén", c.entradas("Almacén").value(0));
    c.BTN_aceptarClick();
  });
  control->pulsa("Nueva Caja");
  ASSERT_EQ(control->grid().getRowCount(), 1);
  EXPECT_EQ(control->grid().getCelda("Estado", 0), "Cerrada");

  // Opening with a count of 1,500.50.
  suelta(control, 0);
  ASSERT_TRUE(control->opcionHabilitada(2));
  r.enDialogo<TFRM_cajaApertura>([this](TFRM_cajaApertura& a) {
    r.manejadores.push_back(eligeCajero("MAR"));
    a.pulsa("Seleccionar cajero");
    r.manejadores.push_back(teclea("1500.50"));
    a.pulsa("Editar monto");
    r.manejadores.push_back(teclea("1"));
    a.pulsa("Editar billetes 1000");
    r.manejadores.push_back(teclea("1"));
    a.pulsa("Editar billetes 500");
    r.manejadores.push_back(teclea(".5"));
    a.pulsa("Editar monedas");
    a.pulsa("Iniciar");
  });
  control->eligeOpcion(2);
  EXPECT_TRUE(r.mensajes.empty()) << r.textos().join("; ").toStdString();
  EXPECT_EQ(control->grid().getCelda("Estado", 0), "Abierta");
  EXPECT_EQ(control->grid().getCelda("Cajero", 0), "Marta Gómez Ruiz");
  EXPECT_EQ(control->grid().getCelda("Saldo", 0), "$ 1,500.50");

  // The sale register of this station now finds its session.
  EXPECT_FALSE(compruebaEstacionDisponible(u_getPCName(), conexion()));
  Tsalidas_comun salidas(conexion());
  const CmidTierResponse v =
      salidas.seletSesionDatosFromPcName(u_getPCName(), 1, conexion().getProvider());
  ASSERT_EQ(v.getRowCount(), 1);
  EXPECT_EQ(v.getCelda("puntoCaja_descripcion"), "Mostrador");
  EXPECT_EQ(v.getCelda("_nombreCompleto"), "Marta Gómez Ruiz");
  const int sesion = v.getCeldaAsInt("puntoCajaSesion_id");
  SupervisorPrueba(conexion()).venta(sesion, 1, 200, 12.5);

  // A cut of 500.
  control = elige<TFRM_controlCaja>("Control de Cajas");
  EXPECT_EQ(control->grid().getCelda("Saldo", 0), "$ 1,688.00");
  suelta(control, 0);
  ASSERT_TRUE(control->opcionHabilitada(3));
  ASSERT_FALSE(control->opcionHabilitada(2));
  r.enDialogo<TFRM_cajaCorte>([this](TFRM_cajaCorte& c) {
    r.manejadores.push_back(teclea("500"));
    c.pulsa("Editar monto");
    c.pulsa("Aceptar");
  });
  control->eligeOpcion(3);
  EXPECT_EQ(control->grid().getCelda("Saldo", 0), "$ 1,188.00");
  EXPECT_FALSE(control->grid().getCelda("Corte", 0).isEmpty());

  // The close withdraws the rest and frees the station.
  suelta(control, 0);
  r.enDialogo<TFRM_cajaCorte>([](TFRM_cajaCorte& c) {
    EXPECT_DOUBLE_EQ(c.uCorteMonto, 1188);
    c.pulsa("Aceptar");
  });
  control->eligeOpcion(4);
  EXPECT_EQ(r.preguntas, QStringList({"Revise que los datos capturados sean correctos, ¿Desea "
                                      "guardar esta información?",
                                      "¿Realizar Corte de Caja?", "¿Realizar Cierre de Caja?"}));
  EXPECT_EQ(control->grid().getCelda("Estado", 0), "Cerrada");
  EXPECT_TRUE(compruebaEstacionDisponible(u_getPCName(), conexion()));
  EXPECT_EQ(salidas.seletSesionDatosFromPcName(u_getPCName(), 1, "").getRowCount(), 0);
  EXPECT_TRUE(r.mensajes.empty()) << r.textos().join("; ").toStdString();
}

INSTANCIA_AMBOS_MOTORES(RecorridoSupervisor);

}  // namespace
