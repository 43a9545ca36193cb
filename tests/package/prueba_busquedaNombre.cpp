#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

#include "catalogo/importador.h"
#include "db/TmiddleTier.h"
#include "db/esquema.h"
#include "generador/generadorCatalogo.h"
#include "operaciones/busquedaProductos.h"
#include "operaciones/productos.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/ImportaPrueba.h"
#include "util/utilerias.h"

namespace {

// The name search through its index against the plain LIKE over every product: same rows,
// same order, same limit, whatever the pattern.
class BusquedaNombre : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    signingConfigura(db->carpeta());
  }
  void TearDown() override {
    u_ajustaBusquedaNombre(0, 0);
    signingConfigura(QString());
    PruebaAmbosMotores::TearDown();
  }

  QList<int> referencia(const QString& patron, bool activos, int negocio) {
    TmiddleTier mt(conexion());
    mt.setQuery(
        "SELECT id FROM inventarioProducto WHERE idNegocioFk = :n AND nombreBusqueda LIKE :p AND "
        "(:a = 0 OR inventarioProductoEstado_id = 1) ORDER BY nombreBusqueda, id LIMIT 60");
    mt.setInteger("n", negocio);
    mt.setString("p", u_normalizaBusqueda(patron));
    mt.setInteger("a", activos ? 1 : 0);
    const CmidTierResponse r = mt.reader();
    EXPECT_TRUE(r.ok()) << r.getError().toStdString();
    QList<int> ids;
    for (int i = 0; i < r.getRowCount(); ++i) ids << r.getCeldaAsInt("id", i);
    return ids;
  }
  QList<int> indexada(const QString& patron, bool activos, int negocio) {
    const CmidTierResponse r =
        filtraProductosPorNombre(patron, QVariant(activos), negocio, conexion());
    EXPECT_TRUE(r.ok()) << r.getError().toStdString();
    EXPECT_TRUE(r.tieneColumna("inventarioProducto_imagen"));
    QList<int> ids;
    for (int i = 0; i < r.getRowCount(); ++i) ids << r.getCeldaAsInt("inventarioProducto_id", i);
    return ids;
  }
  // Patterns of every kind: a kind of product, a brand, pieces across words, long ones whose
  // pieces are common but whose whole is rare, LIKE's wildcards typed, nothing.
  // Small stretches, so a catalog of a few thousand products goes through every path of the
  // PostgreSQL search: the index first, the blocks walked whole, walked in part and then the
  // index.
  void comparaConLike(int segundo) {
    for (const auto& [tramo, rara] : {std::pair{20, 300}, std::pair{5, 30}}) {
      u_ajustaBusquedaNombre(tramo, rara);
      comparaConLike(segundo, tramo);
    }
  }
  void comparaConLike(int segundo, int tramo) {
    const char* const patrones[] = {"jab",
                                    "jabon",
                                    "Jabón",
                                    "yogur",
                                    "yogur natural la",
                                    "queso fresco la",
                                    "de ",
                                    "a l",
                                    "don chuy",
                                    "cola don chuy 600",
                                    "chuy 600 ml",
                                    "pilas alcalinas el faro",
                                    "jabon de tocador",
                                    "la napa 1 l",
                                    "1 kg",
                                    "xyz",
                                    "napa",
                                    "Ñapa",
                                    "ñoquis",
                                    "zzzzzz",
                                    "a_l",
                                    "de%ca",
                                    "100%",
                                    "puro_m",
                                    "e c",
                                    "la ñapa 1 l",
                                    "ana",
                                    "tocador ex",
                                    "de la de",
                                    "o\\l"};
    for (const char* p : patrones) {
      for (bool activos : {true, false}) {
        for (int negocio : {1, segundo}) {
          const QString patron = QStringLiteral("%") + QString::fromUtf8(p) + QStringLiteral("%");
          SCOPED_TRACE(std::string(p) + (activos ? " activos" : " todos") + " negocio " +
                       std::to_string(negocio) + " tramo " + std::to_string(tramo));
          EXPECT_EQ(indexada(patron, activos, negocio), referencia(patron, activos, negocio));
        }
      }
    }
  }
  int vigentes() {
    TmiddleTier mt(conexion());
    mt.setQuery("SELECT COUNT(*) FROM productoBusquedaVigente");
    return mt.scalar().toInt();
  }
};

TEST_P(BusquedaNombre, MismasFilasQueElLikeSobreTodosLosNombres) {
  TOpcionesGenerador o;
  o.productos = 3000;
  o.semilla = 11;
  o.estacion = "CAJA-BUSQUEDA-1";
  ASSERT_TRUE(importaCatalogoJson(conexion(), generaCatalogoJson(o)).ok);
  // A second business with names of its own: never seen from the first.
  TiendaPrueba otra(0);
  otra.producto("X1", "Jabón de tocador exclusivo", 10)
      .producto("X2", "Café 100% puro_molido", 10)
      .producto("X3", "Ñoquis de papa", 10);
  otra.documento()["cajas"] = QJsonArray{};
  const int segundo = otra.importa(conexion());
  ASSERT_GT(segundo, 1);
  ASSERT_EQ(vigentes(), 2);
  // Some inactive products, left out when only active ones are asked for.
  TmiddleTier mt(conexion());
  mt.setQuery("UPDATE inventarioProducto SET inventarioProductoEstado_id = 2 WHERE id % 7 = 0");
  ASSERT_GE(mt.nonQuery(), 0);

  comparaConLike(segundo);
  // A catalog indexed before the pieces' places were kept gets them from the migration that
  // brought them, and searches the same.
  const bool pg = conexion().esPostgres();
  mt.setQuery(pg ? "ALTER TABLE productoBusquedaTrigrama DROP COLUMN bloques"
                 : "DROP TABLE productoBusquedaTrigrama");
  ASSERT_GE(mt.nonQuery(), 0) << mt.ultimoError().toStdString();
  for (QString sentencia : u_sentenciasMigracion(u_migraciones().last(), pg)) {
    mt.setQuery(sentencia.remove("{OPCIONAL}"));
    ASSERT_GE(mt.nonQuery(), 0) << mt.ultimoError().toStdString();
  }
  ASSERT_EQ(vigentes(), 2);
  comparaConLike(segundo);

  EXPECT_EQ(indexada("%jabon de tocador exclusivo%", true, segundo).size(), 1);
  EXPECT_EQ(indexada("%chuy%", true, 1).size(), 60);

  // A product written outside the import makes the index stale: the search scans the names
  // and still finds it, until the next import rebuilds the index.
  mt.setQuery(
      "INSERT INTO inventarioProducto (nombre, nombreBusqueda, idNegocioFk) VALUES "
      "('Aaa jabon nuevo', 'aaa jabon nuevo', 1)");
  ASSERT_EQ(mt.nonQuery(), 1);
  EXPECT_EQ(vigentes(), 1);
  const QList<int> conNuevo = indexada("%jabon%", true, 1);
  EXPECT_EQ(conNuevo, referencia("%jabon%", true, 1));
  mt.setQuery("SELECT id FROM inventarioProducto WHERE nombre = 'Aaa jabon nuevo'");
  EXPECT_EQ(conNuevo.value(0), mt.scalar().toInt());
  EXPECT_EQ(u_reconstruyeBusquedaProductos(conexion(), 1), "");
  EXPECT_EQ(vigentes(), 2);
  EXPECT_EQ(indexada("%jabon%", true, 1), conNuevo);
}

INSTANCIA_AMBOS_MOTORES(BusquedaNombre);

}  // namespace

namespace {

// Runs statements on the test server as its administrator (POS_TEST_PG).
bool comoAdministrador(const QString& base, const QStringList& sentencias) {
  const QUrl url(qEnvironmentVariable("POS_TEST_PG"));
  const QString nombre = QStringLiteral("admin_") + QUuid::createUuid().toString(QUuid::Id128);
  bool ok = true;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nombre);
    db.setHostName(url.host());
    db.setPort(url.port(5432));
    db.setUserName(url.userName());
    db.setPassword(url.password());
    db.setDatabaseName(base);
    ok = db.open();
    for (const QString& s : sentencias) {
      QSqlQuery q(db);
      if (ok && !q.exec(s)) {
        ADD_FAILURE() << s.toStdString() << ": " << q.lastError().text().toStdString();
        ok = false;
      }
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(nombre);
  return ok;
}

// A shop's PostgreSQL user who may not create extensions: the migrations still apply (the GIN
// index is left out and logged), and the search answers the same rows.
TEST(BusquedaNombreSinExtension, UsuarioSinDerechosBuscaIgual) {
  if (qEnvironmentVariable("POS_TEST_PG").isEmpty()) GTEST_SKIP() << "sin PostgreSQL";
  const QString id = QUuid::createUuid().toString(QUuid::Id128).left(12);
  const QString rol = QStringLiteral("tienda_") + id, base = QStringLiteral("sinext_") + id;
  ASSERT_TRUE(
      comoAdministrador(QStringLiteral("postgres"),
                        {QStringLiteral("CREATE ROLE %1 LOGIN").arg(rol),
                         QStringLiteral("CREATE DATABASE %1").arg(base),
                         QStringLiteral("REVOKE CREATE ON DATABASE %1 FROM PUBLIC").arg(base)}));
  ASSERT_TRUE(
      comoAdministrador(base, {QStringLiteral("GRANT CREATE ON SCHEMA public TO %1").arg(rol)}));
  {
    QUrl url(qEnvironmentVariable("POS_TEST_PG"));
    url.setUserName(rol);
    url.setPassword(QString());
    url.setPath(QStringLiteral("/") + base);
    TConexionSesion conexion(url.toString());
    ASSERT_TRUE(conexion.abre()) << conexion.ultimoError().toStdString();
    QString error;
    ASSERT_TRUE(u_aplicaMigraciones(conexion, &error)) << error.toStdString();
    TmiddleTier mt(conexion);
    mt.setQuery("SELECT COUNT(*) FROM pg_indexes WHERE indexname = 'ix_producto_busqueda_trgm'");
    EXPECT_EQ(mt.scalar().toInt(), 0);
    TOpcionesGenerador o;
    o.productos = 500;
    o.estacion = QStringLiteral("CAJA-") + id;
    o.idNegocio = 0;
    QTemporaryDir clave;
    signingConfigura(clave.path());
    const TResultadoImportacion r = importaCatalogoJson(conexion, generaCatalogoJson(o));
    signingConfigura(QString());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    for (const char* p : {"%jabon%", "%don chuy 1 kg%", "%zzz%"}) {
      mt.setQuery(
          "SELECT id FROM inventarioProducto WHERE idNegocioFk = :n AND nombreBusqueda LIKE :p "
          "AND inventarioProductoEstado_id = 1 ORDER BY nombreBusqueda, id LIMIT 60");
      mt.setInteger("n", r.idNegocio);
      mt.setString("p", QString::fromUtf8(p));
      const CmidTierResponse esperado = mt.reader();
      const CmidTierResponse obtenido =
          filtraProductosPorNombre(QString::fromUtf8(p), QVariant(true), r.idNegocio, conexion);
      ASSERT_EQ(obtenido.getRowCount(), esperado.getRowCount()) << p;
      for (int i = 0; i < esperado.getRowCount(); ++i)
        EXPECT_EQ(obtenido.getCeldaAsInt("inventarioProducto_id", i),
                  esperado.getCeldaAsInt("id", i));
    }
  }
  comoAdministrador(QStringLiteral("postgres"),
                    {QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(base),
                     QStringLiteral("DROP ROLE %1").arg(rol)});
}

}  // namespace
