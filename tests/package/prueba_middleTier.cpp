#include <gtest/gtest.h>

#include "db/TmiddleTier.h"
#include "db/esquema.h"
#include "support/BaseDatosPrueba.h"

namespace {

class MiddleTier : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    TmiddleTier mt(conexion());
    mt.setQuery("INSERT INTO Negocio (idNegocio, nombre, rfc) VALUES (1, 'Abarrotes', 'AAA010101AAA')");
    ASSERT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
    for (auto [id, nombre] : {std::pair{1, "Café de olla"}, {2, "Coca Cola 600"}, {3, "Agua"}}) {
      mt.setQuery("INSERT INTO inventarioProducto (id, nombre, clave, idNegocioFk) "
                  "VALUES (:id, :nombre, :clave, :negocio)");
      mt.setInteger("id", id);
      mt.setString("nombre", nombre);
      mt.setString("clave", QString("P%1").arg(id));
      mt.setInteger("negocio", 1);
      ASSERT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
    }
  }
};

TEST_P(MiddleTier, ParametrosConNombreRepetidoYNulos) {
  TmiddleTier mt(conexion());
  const QString sql =
      "SELECT id AS producto_id, nombre AS producto_nombre FROM inventarioProducto "
      "WHERE (:nombre is null OR nombre LIKE :nombre) AND (:id is null OR id = :id) "
      "AND idNegocioFk = :negocio ORDER BY id";
  mt.setQuery(sql);
  mt.setNull("nombre");
  mt.setNull("id", QMetaType::Int);
  mt.setInteger("negocio", 1);
  CmidTierResponse r = mt.reader();
  ASSERT_TRUE(r.ok()) << r.getError().toStdString();
  EXPECT_EQ(r.getRowCount(), 3);

  mt.setQuery(sql);
  mt.setString("nombre", "%Cola%");
  mt.setVariant("id", QVariant(QMetaType::fromType<int>()));
  mt.setInteger("negocio", 1);
  r = mt.reader();
  ASSERT_TRUE(r.ok()) << r.getError().toStdString();
  ASSERT_EQ(r.getRowCount(), 1);
  // Aliases are found whatever case the engine hands back.
  EXPECT_EQ(r.getCelda("producto_nombre"), "Coca Cola 600");
  EXPECT_EQ(r.getCeldaAsInt("PRODUCTO_ID"), 2);
  EXPECT_EQ(r.getCelda("no_existe"), "");

  mt.setQuery(sql);
  mt.setNull("nombre");
  mt.setInteger("id", 3);
  mt.setInteger("negocio", 1);
  r = mt.reader();
  ASSERT_EQ(r.getRowCount(), 1);
  EXPECT_EQ(r.getCelda("producto_nombre", 0), "Agua");
}

TEST_P(MiddleTier, TiposDeValorYEscalar) {
  TmiddleTier mt(conexion());
  const QDateTime f(QDate(2026, 1, 31), QTime(23, 59, 59));
  mt.setQuery("INSERT INTO puntoCorte (puntoCajaSesion_id, fechaHora, monto, esCorte) "
              "VALUES (:s, :f, :m, 1)");
  mt.setInteger("s", 7);
  mt.setDateTime("f", f);
  mt.setDouble("m", 97.19999999999999);
  // No such session: foreign keys are enforced on both engines.
  EXPECT_EQ(mt.nonQuery(), -1);
  EXPECT_FALSE(mt.ultimoError().isEmpty());

  mt.setQuery("SELECT COUNT(*) FROM inventarioProducto WHERE idNegocioFk = :n");
  mt.setInteger("n", 1);
  EXPECT_EQ(mt.scalar().toInt(), 3);

  mt.setQuery("SELECT :f AS fecha, :m AS monto, :t AS texto, :i + 1 AS siguiente");
  mt.setDateTime("f", f);
  mt.setDouble("m", 12.5);
  mt.setString("t", "Ñandú 'comillas' ; -- no es comentario");
  mt.setInteger("i", 41);
  const CmidTierResponse r = mt.reader();
  ASSERT_TRUE(r.ok()) << r.getError().toStdString();
  EXPECT_EQ(r.getCelda("fecha"), "2026-01-31 23:59:59");
  EXPECT_DOUBLE_EQ(r.getCeldaAsFloat("monto"), 12.5);
  EXPECT_EQ(r.getCelda("texto"), "Ñandú 'comillas' ; -- no es comentario");
  EXPECT_EQ(r.getCeldaAsInt("siguiente"), 42);

  mt.setQuery("SELECT :falta AS x");
  EXPECT_FALSE(mt.reader().ok());
  mt.setQuery("SELECT * FROM tabla_que_no_existe");
  EXPECT_FALSE(mt.reader().ok());
}

TEST_P(MiddleTier, TransaccionesConfirmanODeshacen) {
  TmiddleTier mt(conexion());
  auto cuenta = [&] {
    TmiddleTier c(conexion());
    c.setQuery("SELECT COUNT(*) FROM inventarioProducto");
    return c.scalar().toInt();
  };
  ASSERT_TRUE(mt.transaccionInicia(true));
  mt.setQuery("DELETE FROM inventarioProducto WHERE id = :id");
  mt.setInteger("id", 1);
  EXPECT_EQ(mt.nonQuery(), 1);
  ASSERT_TRUE(mt.transaccionRollback());
  EXPECT_EQ(cuenta(), 3);

  ASSERT_TRUE(mt.transaccionInicia());
  mt.setQuery("DELETE FROM inventarioProducto WHERE id = :id");
  mt.setInteger("id", 1);
  EXPECT_EQ(mt.nonQuery(), 1);
  ASSERT_TRUE(mt.transaccionTermina());
  EXPECT_EQ(cuenta(), 2);
}

TEST_P(MiddleTier, MigracionesSeAplicanUnaVez) {
  EXPECT_EQ(u_versionEsquema(conexion()), u_migraciones().last().version);
  QString error;
  ASSERT_TRUE(u_aplicaMigraciones(conexion(), &error)) << error.toStdString();
  ASSERT_TRUE(u_aplicaMigraciones(conexion(), &error)) << error.toStdString();
  TmiddleTier mt(conexion());
  mt.setQuery("SELECT COUNT(*) FROM esquemaVersion");
  EXPECT_EQ(mt.scalar().toInt(), u_migraciones().size());
  mt.setQuery("SELECT COUNT(*) FROM ventasVendedorEstado");
  EXPECT_EQ(mt.scalar().toInt(), 3);  // catalogues seeded once
}

INSTANCIA_AMBOS_MOTORES(MiddleTier);

}  // namespace
