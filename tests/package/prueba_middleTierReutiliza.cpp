#include <gtest/gtest.h>

#include "db/TmiddleTier.h"
#include "support/BaseDatosPrueba.h"

namespace {

using MiddleTierReutiliza = PruebaAmbosMotores;

// A kept statement runs again with new values, is prepared anew when the SQL (or, on
// PostgreSQL, a parameter's type) changes, and does not hold the transaction open.
TEST_P(MiddleTierReutiliza, SentenciaGuardadaConValoresNuevos) {
  TmiddleTier mt(conexion());
  mt.setReutilizaSentencia(true);
  ASSERT_TRUE(mt.transaccionInicia(true));
  mt.setQuery("INSERT INTO Negocio (idNegocio, nombre, rfc) VALUES (:id, :nombre, :rfc)");
  for (int i = 1; i <= 3; ++i) {
    mt.setInteger("id", i);
    mt.setString("nombre", QString("Negocio %1").arg(i));
    if (i == 2)
      mt.setVariant("rfc", QVariant(QMetaType::fromType<QString>()));  // NOT NULL: refused
    else
      mt.setString("rfc", "R");
    EXPECT_EQ(mt.nonQuery(), i == 2 ? -1 : 1) << i;
    if (i == 2 && mt.esPostgres()) break;  // the failure aborted the PostgreSQL transaction
  }
  if (mt.esPostgres()) {
    ASSERT_TRUE(mt.transaccionRollback());
    ASSERT_TRUE(mt.transaccionInicia(true));
    for (int i : {1, 3}) {
      mt.setInteger("id", i);
      mt.setString("nombre", QString("Negocio %1").arg(i));
      mt.setString("rfc", "R");
      ASSERT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
    }
  }
  mt.setQuery("SELECT nombre FROM Negocio WHERE idNegocio = :id");
  mt.setInteger("id", 3);
  EXPECT_EQ(mt.scalar().toString(), "Negocio 3");
  mt.setInteger("id", 1);
  EXPECT_EQ(mt.scalar().toString(), "Negocio 1");
  mt.setQuery("SELECT :v AS v");
  mt.setInteger("v", 7);
  EXPECT_EQ(mt.scalar().toInt(), 7);
  mt.setString("v", "siete");  // another type: on PostgreSQL another prepared text
  const CmidTierResponse r = mt.reader();
  ASSERT_TRUE(r.ok()) << r.getError().toStdString();
  EXPECT_EQ(r.getCelda("v"), "siete");
  ASSERT_TRUE(mt.transaccionTermina()) << mt.ultimoError().toStdString();

  TmiddleTier otro(conexion());
  otro.setQuery("SELECT COUNT(*) FROM Negocio");
  EXPECT_EQ(otro.scalar().toInt(), 2);
}

INSTANCIA_AMBOS_MOTORES(MiddleTierReutiliza);

}  // namespace
