// The session rules without a screen: the opening's checks in their order, and the limit of a
// withdrawal.
#include <gtest/gtest.h>

#include "sessions/reglas/aperturaCaja.h"
#include "sessions/reglas/corteCaja.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/SupervisorPrueba.h"

namespace {

TEST(ReglasSesion, RetiroHastaLoQueTieneLaSesion) {
  const QString kMas = "Cantidad incorrecta, no puede retirar mas de la cantidad actual";
  struct Caso {
    double monto, acumulado;
    bool ok;
  };
  for (const Caso& c : {Caso{1500.5, 1500.5, true}, Caso{1500.51, 1500.5, false}, Caso{0, 0, true},
                        Caso{0, -20, false}, Caso{-5, 0, true}}) {
    const TResultado r = validaRetiro(c.monto, c.acumulado);
    EXPECT_EQ(r.ok, c.ok) << c.monto << " de " << c.acumulado;
    EXPECT_EQ(r.mensaje, c.ok ? QString() : kMas);
  }
}

TEST(ReglasSesion, AperturaSeDetieneEnLaPrimeraFalla) {
  auto db = BaseDatosPrueba::crea(Motor::SQLite);
  ASSERT_TRUE(db);
  CatalogoPrueba(db->conexion()).negocioBasico();
  SupervisorPrueba s(db->conexion());
  const int ana = s.cajero("C01", "Ana"), beto = s.cajero("C02", "Beto");
  const int caja1 = s.caja("CJ1", "Caja 1"), caja2 = s.caja("CJ2", "Caja 2");
  s.abre(caja2, beto, 0, "OTRA");
  const QDateTime ahora = QDateTime::currentDateTime();
  TAperturaCaja a;
  a.cajaID = caja1;
  a.cajaNombre = "Caja 1";
  a.monto = 1500.5;
  a.conteo.billetes = {1, 1, 0, 0, 0, 0};
  a.conteo.monedas = 0.5;

  struct Caso {
    int cajero;
    double monto;
    QString estacion, mensaje;
    bool sinCajero;
  };
  const QString kNadie = "Seleccione un cajero.";
  for (const Caso& c :
       {Caso{0, 1500.51, "E1",
             "La suma total después de ingresar la cantidad de billetes y/o "
             "monedas es incorrecto.",
             false},
        Caso{ana, 1e13, "E1", "El monto de apertura no puede pasar de 999,999,999,999.99.", false},
        Caso{0, 1500.5, "E1", kNadie, true},
        Caso{beto, 1500.5, "E1", "El cajero seleccionado no esta disponible", false},
        Caso{ana, 1500.5, "OTRA",
             "La estación de trabajo actual, esta relacionada a una sesión "
             "activa. Para iniciar una nueva sesión cierre la sesión actual.",
             false},
        Caso{ana, 1500.5, "E1", "", false}}) {
    a.cajeroID = c.cajero;
    a.monto = c.monto;
    const TAperturaResultado r = abreCaja(a, c.estacion, ahora, 1, db->conexion());
    EXPECT_EQ(r.resultado.mensaje, c.mensaje);
    EXPECT_EQ(r.resultado.ok, c.mensaje.isEmpty());
    EXPECT_EQ(r.sinCajero, c.sinCajero);
  }
  EXPECT_EQ(s.entero("SELECT COUNT(*) FROM puntoCajaSesion WHERE estacion = 'E1'"), 1);
  // Stored once: a second opening of the same cashier is refused before storing.
  EXPECT_EQ(abreCaja(a, "E2", ahora, 1, db->conexion()).resultado.mensaje,
            "El cajero seleccionado no esta disponible");
}

}  // namespace
