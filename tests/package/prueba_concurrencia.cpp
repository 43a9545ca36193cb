#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <QUuid>
#include <atomic>
#include <mutex>

#include "catalogo/importador.h"
#include "db/TmiddleTier.h"
#include "db/esquema.h"
#include "generador/generadorCatalogo.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"

namespace {

// Runs `trabajo(i)` on `n` threads at once, each with its own session on `destino`.
void aLaVez(int n, const QString& destino,
            const std::function<void(int, TConexionSesion&)>& trabajo) {
  std::vector<std::unique_ptr<QThread>> hilos;
  std::atomic<int> listos{0};
  for (int i = 0; i < n; ++i) {
    hilos.emplace_back(QThread::create([&, i] {
      TConexionSesion conexion(destino);
      ASSERT_TRUE(conexion.abre()) << conexion.ultimoError().toStdString();
      // Everyone starts together.
      ++listos;
      while (listos < n) QThread::yieldCurrentThread();
      trabajo(i, conexion);
    }));
  }
  for (auto& h : hilos) h->start();
  for (auto& h : hilos) h->wait();
}

// A station starts on an up-to-date SQLite database while another process holds a write
// transaction (a catalog import, say): it only reads the schema version, it does not wait for
// the write lock. It used to wait the whole busy timeout and refuse with "database is locked".
TEST(Esquema, EstacionArrancaMientrasOtroEscribeEnSQLite) {
  auto db = BaseDatosPrueba::crea(Motor::SQLite);
  ASSERT_TRUE(db);
  TConexionSesion escritor(db->destino());
  ASSERT_TRUE(escritor.abre());
  TmiddleTier mt(escritor);
  ASSERT_TRUE(mt.transaccionInicia(true));
  mt.setQuery("INSERT INTO Negocio (nombre) VALUES ('Importando')");
  ASSERT_EQ(mt.nonQuery(), 1);

  TConexionSesion estacion(db->destino());
  ASSERT_TRUE(estacion.abre());
  {
    // A waiting station fails fast instead of after the usual ten seconds.
    TmiddleTier corto(estacion);
    corto.setQuery("PRAGMA busy_timeout = 200");
    corto.nonQuery();
  }
  QString error;
  EXPECT_TRUE(u_aplicaMigraciones(estacion, &error)) << error.toStdString();
  EXPECT_EQ(u_versionEsquema(estacion), u_migraciones().last().version);
  mt.transaccionRollback();
}

class ConcurrenciaPostgres : public ::testing::Test {
 protected:
  void SetUp() override {
    if (qEnvironmentVariable("POS_TEST_PG").isEmpty()) {
      if (qEnvironmentVariable("POS_REQUIERE_PG") == QStringLiteral("1"))
        FAIL() << "POS_TEST_PG no está definido";
      GTEST_SKIP() << "PostgreSQL no disponible";
    }
    db = BaseDatosPrueba::crea(Motor::PostgreSQL, false);
    ASSERT_TRUE(db);
  }
  std::unique_ptr<BaseDatosPrueba> db;
};

// Stations starting at once on a new database: one applies the migrations, the others wait
// and find them done. The first-run creation of esquemaVersion used to race.
TEST_F(ConcurrenciaPostgres, MigracionesDeVariasEstacionesALaVez) {
  std::mutex m;
  QStringList errores;
  aLaVez(6, db->destino(), [&](int, TConexionSesion& c) {
    QString error;
    if (!u_aplicaMigraciones(c, &error)) {
      std::lock_guard<std::mutex> l(m);
      errores << error;
    }
  });
  EXPECT_TRUE(errores.isEmpty()) << errores.join("\n").toStdString();
  TmiddleTier mt(db->conexion());
  mt.setQuery("SELECT COUNT(*), COUNT(DISTINCT version) FROM esquemaVersion");
  const CmidTierResponse r = mt.reader();
  EXPECT_EQ(r.valor(0, 0).toInt(), u_migraciones().size());
  EXPECT_EQ(r.valor(1, 0).toInt(), u_migraciones().size());
}

// Several catalogs imported into one database at once: each gets its own business and ids
// from the database. Ids computed as MAX + 1 used to collide.
TEST_F(ConcurrenciaPostgres, ImportacionesALaVez) {
  ASSERT_TRUE(u_aplicaMigraciones(db->conexion()));
  signingConfigura(db->carpeta());
  std::mutex m;
  QStringList errores;
  QSet<int> negocios;
  aLaVez(4, db->destino(), [&](int i, TConexionSesion& c) {
    TOpcionesGenerador o;
    o.productos = 150;
    o.semilla = 100 + i;
    o.idNegocio = 0;
    o.estacion = QStringLiteral("CAJA-PARALELA-%1").arg(i);
    const TResultadoImportacion r = importaCatalogoJson(c, generaCatalogoJson(o));
    std::lock_guard<std::mutex> l(m);
    if (r.ok)
      negocios.insert(r.idNegocio);
    else
      errores << r.error;
  });
  signingConfigura(QString());
  EXPECT_TRUE(errores.isEmpty()) << errores.join("\n").toStdString();
  EXPECT_EQ(negocios.size(), 4);
  TmiddleTier mt(db->conexion());
  for (int n : negocios) {
    mt.setQuery(
        "SELECT COUNT(*) FROM inventarioProducto p JOIN inventarioExistencias e ON "
        "e.inventarioProducto_id = p.id WHERE p.idNegocioFk = :n");
    mt.setInteger("n", n);
    EXPECT_EQ(mt.scalar().toInt(), 150);
  }
  // Two imports binding the same station: one of them is refused, never both stored.
  errores.clear();
  int bien = 0;
  aLaVez(2, db->destino(), [&](int i, TConexionSesion& c) {
    TOpcionesGenerador o;
    o.productos = 20;
    o.semilla = 200 + i;
    o.idNegocio = 0;
    o.estacion = QStringLiteral("CAJA-DISPUTADA");
    const TResultadoImportacion r = importaCatalogoJson(c, generaCatalogoJson(o));
    std::lock_guard<std::mutex> l(m);
    if (r.ok)
      ++bien;
    else
      errores << r.error;
  });
  EXPECT_EQ(bien, 1);
  ASSERT_EQ(errores.size(), 1);
  EXPECT_TRUE(errores[0].contains("ya está relacionada a una sesión activa"))
      << errores[0].toStdString();
}

}  // namespace
