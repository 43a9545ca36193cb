#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "operaciones/cajas.h"
#include "operaciones/puntoVenta.h"
#include "sessions/TFRM_cajaApertura.h"
#include "sessions/respuestasSesion.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/FilasPrueba.h"
#include "support/SupervisorPrueba.h"

namespace {

const QString kSumaMal =
    "La suma total después de ingresar la cantidad de billetes y/o monedas es incorrecto.";

class CajaApertura : public PruebaSupervisor {
 protected:
  void SetUp() override {
    PruebaSupervisor::SetUp();
    if (!db) return;
    ana = s->cajero("C01", "Ana");
    caja = s->caja("CJ1", "Caja & Co");
  }
  // Opens the screen for the register and runs `pasos` on it while it is shown.
  void abre(std::function<void(TFRM_cajaApertura&)> pasos, const QString& clave = "CJ1",
            const QString& descripcion = "Caja & Co") {
    r.enDialogo(pasos);
    TFRM_cajaApertura apertura;
    EXPECT_TRUE(apertura.init(caja, clave, descripcion));
  }
  void monto(TFRM_cajaApertura& a, const QString& texto) {
    r.manejadores.push_back(teclea(texto));
    a.pulsa("Editar monto");
  }
  void billetes(TFRM_cajaApertura& a, int valor, const QString& texto) {
    r.manejadores.push_back(teclea(texto));
    a.pulsa(QString("Editar billetes %1").arg(valor));
  }
  void monedas(TFRM_cajaApertura& a, const QString& texto) {
    r.manejadores.push_back(teclea(texto));
    a.pulsa("Editar monedas");
  }
  void cajero(TFRM_cajaApertura& a, const QString& clave) {
    r.manejadores.push_back(eligeCajero(clave));
    a.pulsa("Seleccionar cajero");
  }
  int sesiones() { return s->entero("SELECT COUNT(*) FROM puntoCajaSesion"); }

  int ana = 0, caja = 0;
};

TEST_F(CajaApertura, ElConteoDebeSumarExactamenteElMonto) {
  abre([&](TFRM_cajaApertura& a) {
    EXPECT_EQ(a.texto("Caja"), "CJ1");
    EXPECT_EQ(a.texto("Descripción"), "Caja && Co");
    EXPECT_EQ(a.uCajaNombre, "Caja & Co");
    EXPECT_EQ(a.intervaloReloj(), 950);
    EXPECT_TRUE(a.relojEnMarcha());
    // Twenty digits fit the keypad, not the money arithmetic: refused, nothing changes.
    monto(a, "99999999999999999999");
    monedas(a, "1000000000000");
    EXPECT_TRUE(a.texto("Monto").isEmpty());
    EXPECT_DOUBLE_EQ(a.uDenominacionMonedas, 0);
    monto(a, "1500.509");  // truncated, never rounded
    EXPECT_DOUBLE_EQ(a.uAperturaMonto, 1500.5);
    EXPECT_EQ(a.texto("Monto"), "$ 1,500.50");
    billetes(a, 1000, "1");
    billetes(a, 500, "1");
    EXPECT_EQ(a.texto("Billetes 500"), "1");
    EXPECT_EQ(a.texto("Valor 500"), "$ 500.00");
    EXPECT_EQ(a.texto("Total capturado"), "1500");
    // Below the amount, and no cashier yet: the count is checked first.
    a.pulsa("Iniciar");
    monedas(a, "0.51");
    EXPECT_EQ(a.texto("Total capturado"), "1500.51");
    a.pulsa("Iniciar");  // above by one cent
    monedas(a, "0.50");
    EXPECT_EQ(a.texto("Monedas"), "$ 0.50");
    EXPECT_TRUE(a.compruebaTotalCapturado());
    a.pulsa("Iniciar");  // the count passes; now the cashier is missing
  });
  EXPECT_EQ(r.textos(), QStringList({"El monto de apertura no puede pasar de 999,999,999,999.99.",
                                     "El monto en monedas no puede pasar de 999,999,999,999.99.",
                                     kSumaMal, kSumaMal, "Seleccione un cajero."}));
  for (const auto& m : r.mensajes) EXPECT_EQ(m.tipo, 4);
  EXPECT_EQ(sesiones(), 0);
}

TEST_F(CajaApertura, CadaEntradaEmpiezaDeSuValorYCancelarNoCambiaNada) {
  abre([&](TFRM_cajaApertura& a) {
    billetes(a, 200, "3");
    billetes(a, 50, "7");
    QString titulo, inicial;
    r.manejadores.push_back(teclea("4", &titulo, &inicial));
    a.pulsa(QString("Editar billetes %1").arg(200));
    EXPECT_EQ(titulo, "Billetes");
    EXPECT_EQ(inicial, "3");
    r.manejadores.push_back(teclea("7", nullptr, &inicial));
    a.pulsa(QString("Editar billetes %1").arg(50));
    EXPECT_EQ(inicial, "7");
    r.manejadores.push_back(cancelaTeclado(&titulo));
    a.pulsa(QString("Editar billetes %1").arg(200));
    r.manejadores.push_back(teclea(""));  // accepted empty
    a.pulsa(QString("Editar billetes %1").arg(50));
    EXPECT_EQ(a.uDenominacion200, 4);
    EXPECT_EQ(a.uDenominacion50, 7);
    EXPECT_EQ(a.texto("Valor 200"), "$ 800.00");
    EXPECT_EQ(a.texto("Total capturado"), "1150");
    r.manejadores.push_back(cancelaTeclado(&titulo));
    a.pulsa("Editar monto");
    EXPECT_EQ(titulo, "Apertura Monto");
    r.manejadores.push_back(cancelaTeclado(&titulo));
    a.pulsa("Editar monedas");
    EXPECT_EQ(titulo, "Monto");
    EXPECT_TRUE(a.texto("Monto").isEmpty());
    a.reject();
  });
  EXPECT_TRUE(r.mensajes.empty());
  EXPECT_EQ(sesiones(), 0);
}

TEST_F(CajaApertura, CancelarLaSeleccionQuitaElCajeroPeroNoElNombre) {
  abre([&](TFRM_cajaApertura& a) {
    cajero(a, "C01");
    EXPECT_EQ(a.texto("Cajero"), "Ana Pérez López");
    EXPECT_EQ(a.uSeleccionCajero.cajero.id, ana);
    cajero(a, "");
    EXPECT_EQ(a.uSeleccionCajero.cajero.id, 0);
    EXPECT_EQ(a.texto("Cajero"), "Ana Pérez López");
    a.pulsa("Iniciar");  // amount 0 and an empty count pass; the cashier does not
    EXPECT_TRUE(a.texto("Cajero").isEmpty());
  });
  EXPECT_EQ(r.textos(), QStringList("Seleccione un cajero."));
}

TEST_F(CajaApertura, CajeroOcupadoEstacionOcupadaYAperturaCorrecta) {
  const int beto = s->cajero("C02", "Beto");
  s->abre(s->caja("CJ2", "Otra"), beto, 0, "OTRA-ESTACION");
  abre([&](TFRM_cajaApertura& a) {
    cajero(a, "C02");
    a.pulsa("Iniciar");
    EXPECT_EQ(r.textos().last(), "El cajero seleccionado no esta disponible");
    cajero(a, "C01");
    monto(a, "1500.50");
    billetes(a, 1000, "1");
    billetes(a, 500, "1");
    monedas(a, "0.50");
    a.pulsa("Iniciar");
    EXPECT_EQ(a.result(), QDialog::Accepted);
  });
  EXPECT_EQ(r.mensajes.size(), 1u);
  const CmidTierResponse v =
      Tsalidas_comun(db->conexion()).seletSesionDatosFromPcName("ESTACION-PRUEBA", 1, "SQLite");
  ASSERT_EQ(v.getRowCount(), 1);
  EXPECT_EQ(v.getCeldaAsInt("puntoCaja_id"), caja);
  EXPECT_EQ(v.getCeldaAsInt("puntoCajero_id"), ana);
  const int sesion = v.getCeldaAsInt("puntoCajaSesion_id");
  EXPECT_EQ(s->entero("SELECT billetes1000 * 1000 + billetes500 * 500 FROM puntoCajaSesion WHERE "
                      "id = :s",
                      {{"s", sesion}}),
            1500);
  EXPECT_DOUBLE_EQ(
      s->valor("SELECT monedas FROM puntoCajaSesion WHERE id = :s", {{"s", sesion}}).toDouble(),
      0.5);
  EXPECT_EQ(s->valor("SELECT cajaNombre FROM puntoCajaSesion WHERE id = :s", {{"s", sesion}}),
            "Caja & Co");

  // A second opening from this station is refused, even for another register and cashier.
  const int ciro = s->cajero("C03", "Ciro");
  caja = s->caja("CJ3", "Tercera");
  abre([&](TFRM_cajaApertura& a) {
    cajero(a, "C03");
    a.pulsa("Iniciar");
    EXPECT_NE(a.result(), QDialog::Accepted);
  });
  EXPECT_EQ(r.textos().last(),
            "La estación de trabajo actual, esta relacionada a una sesión activa. Para iniciar "
            "una nueva sesión cierre la sesión actual.");
  EXPECT_TRUE(compruebaCajeroDisponible(ciro, db->conexion()));
}

TEST_F(CajaApertura, UnFalloAlGuardarDejaLaPantallaConSusValores) {
  // The register was opened from elsewhere meanwhile: storing fails.
  const int beto = s->cajero("C02", "Beto");
  abre([&](TFRM_cajaApertura& a) {
    cajero(a, "C01");
    monto(a, "20");
    billetes(a, 20, "1");
    s->abre(caja, beto, 0, "OTRA-ESTACION");
    a.pulsa("Iniciar");
    EXPECT_NE(a.result(), QDialog::Accepted);
    EXPECT_EQ(a.uDenominacion20, 1);
    EXPECT_EQ(a.texto("Cajero"), "Ana Pérez López");
  });
  EXPECT_EQ(r.textos(), QStringList("Ocurrió un inconveniente al guardar los datos."));
}

}  // namespace
