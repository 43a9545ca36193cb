#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "operaciones/cajas.h"
#include "operaciones/puntoVenta.h"
#include "sessions/TFRM_cajaCorte.h"
#include "sessions/respuestasSesion.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/FilasPrueba.h"
#include "support/SupervisorPrueba.h"

namespace {

const QString kDeMas = "Cantidad incorrecta, no puede retirar mas de la cantidad actual";

class CajaCorte : public PruebaSupervisor {
 protected:
  void SetUp() override {
    PruebaSupervisor::SetUp();
    if (!db) return;
    caja = s->caja("CJ&1", "Caja & Co");
    sesion = s->abre(caja, s->cajero("C01", "Ana"), 1000, "ESTACION-PRUEBA");
    s->venta(sesion, 1, 500, 149.75);  // the drawer holds 1350.25
  }
  void corte(std::function<void(TFRM_cajaCorte&)> pasos) {
    r.enDialogo(pasos);
    TFRM_cajaCorte c;
    EXPECT_TRUE(c.initCorte(caja, "CJ&1", "Caja & Co", sesion));
  }
  void cierre(std::function<void(TFRM_cajaCorte&)> pasos) {
    r.enDialogo(pasos);
    TFRM_cajaCorte c;
    EXPECT_TRUE(c.initCierre(caja, "CJ&1", "Caja & Co", sesion));
  }
  int cortes() { return s->entero("SELECT COUNT(*) FROM puntoCorte"); }

  int caja = 0, sesion = 0;
};

TEST_F(CajaCorte, UnCentavoDeMasSeRechazaYElMontoExactoPasa) {
  corte([&](TFRM_cajaCorte& c) {
    EXPECT_EQ(c.texto("Título"), "Corte de Caja");
    EXPECT_EQ(c.texto("Caja"), "CJ&&1");
    EXPECT_EQ(c.texto("Descripción"), "Caja && Co");
    EXPECT_EQ(c.texto("Monto Actual"), "$ 1,350.25");
    EXPECT_TRUE(c.texto("Monto a Retirar").isEmpty());
    EXPECT_TRUE(c.habilitado("Editar monto"));
    EXPECT_EQ(c.intervaloReloj(), 1000);
    QString titulo, inicial;
    r.manejadores.push_back(teclea("1350.26", &titulo, &inicial));
    c.pulsa("Editar monto");
    EXPECT_EQ(titulo, "Corte Monto");
    EXPECT_EQ(inicial, "0");
    EXPECT_EQ(c.texto("Monto a Retirar"), "$ 1,350.26");
    c.pulsa("Aceptar");
    EXPECT_EQ(r.textos(), QStringList(kDeMas));
    EXPECT_TRUE(r.preguntas.isEmpty());
    r.manejadores.push_back(teclea("1350.259"));  // truncated to 1350.25: exactly the balance
    c.pulsa("Editar monto");
    r.respuestas.push_back(false);
    c.pulsa("Aceptar");
    EXPECT_EQ(r.preguntas, QStringList("¿Realizar Corte de Caja?"));
    EXPECT_EQ(cortes(), 0);
    c.pulsa("Aceptar");
    EXPECT_EQ(c.result(), QDialog::Accepted);
  });
  EXPECT_EQ(cortes(), 1);
  EXPECT_DOUBLE_EQ(s->valor("SELECT monto FROM puntoCorte").toDouble(), 1350.25);
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(sesion, 1, db->conexion()), 0);
  EXPECT_FALSE(compruebaEstacionDisponible("ESTACION-PRUEBA", db->conexion()));
}

TEST_F(CajaCorte, UnCorteDeCeroSeAceptaYUnFalloDejaLaPantallaAbierta) {
  corte([&](TFRM_cajaCorte& c) {
    c.pulsa("Aceptar");
    EXPECT_EQ(c.result(), QDialog::Accepted);
  });
  EXPECT_EQ(cortes(), 1);
  corte([&](TFRM_cajaCorte& c) {
    r.manejadores.push_back(teclea("100"));
    c.pulsa("Editar monto");
    // Someone else withdraws meanwhile: the store refuses.
    ASSERT_TRUE(aplicaCorteCaja(sesion, QDateTime::currentDateTime(), "1300", db->conexion()));
    c.pulsa("Aceptar");
    EXPECT_NE(c.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(c.uCorteMonto, 100);
  });
  EXPECT_EQ(r.textos(), QStringList("Ocurrió un inconveniente al guardar los datos."));
}

TEST_F(CajaCorte, ElCierreRetiraTodoYLiberaLaEstacion) {
  cierre([&](TFRM_cajaCorte& c) {
    EXPECT_EQ(c.texto("Título"), "Cierre de Caja");
    EXPECT_FALSE(c.habilitado("Editar monto"));
    EXPECT_DOUBLE_EQ(c.uCorteMonto, 1350.25);
    EXPECT_EQ(c.texto("Monto a Retirar"), "$ 1,350.25");
    c.pulsa("Editar monto");  // disabled: no entry opens
    EXPECT_EQ(r.dialogos.size(), 1);
    c.pulsa("Aceptar");
  });
  EXPECT_EQ(r.preguntas, QStringList("¿Realizar Cierre de Caja?"));
  EXPECT_EQ(s->entero("SELECT esCorte FROM puntoCorte"), 0);
  EXPECT_DOUBLE_EQ(s->valor("SELECT monto FROM puntoCorte").toDouble(), 1350.25);
  EXPECT_TRUE(compruebaEstacionDisponible("ESTACION-PRUEBA", db->conexion()));
  EXPECT_EQ(s->entero("SELECT estado FROM puntoCaja WHERE id = :c", {{"c", caja}}), 0);
}

TEST_F(CajaCorte, ElCierreAceptaSaldoCeroONegativo) {
  s->venta(sesion, 2, 0, 1400.25);  // the balance goes to -50
  r.respuestas.push_back(false);
  cierre([&](TFRM_cajaCorte& c) {
    EXPECT_EQ(c.texto("Monto Actual"), "$ -50.00");
    c.pulsa("Aceptar");  // Cancel: nothing stored
    EXPECT_EQ(cortes(), 0);
    c.pulsa("Aceptar");
  });
  EXPECT_EQ(cortes(), 1);
  EXPECT_DOUBLE_EQ(s->valor("SELECT monto FROM puntoCorte").toDouble(), -50);
  EXPECT_TRUE(compruebaEstacionDisponible("ESTACION-PRUEBA", db->conexion()));

  const int otra = s->abre(caja, s->cajero("C02", "Beto"), 0, "ESTACION-PRUEBA");
  sesion = otra;
  cierre([&](TFRM_cajaCorte& c) {
    EXPECT_EQ(c.texto("Monto a Retirar"), "$ 0.00");
    c.pulsa("Aceptar");
  });
  EXPECT_EQ(s->entero("SELECT activa FROM puntoCajaSesion WHERE id = :s", {{"s", otra}}), 0);
  EXPECT_TRUE(r.mensajes.empty());
}

}  // namespace
