// Name search at a million products on SQLite and PostgreSQL, pattern by pattern: the search
// through its index (filtraProductosPorNombre) beside the "%text%" scan it replaces, run in
// the same process on the same data. Goal: under 5 ms per search for any pattern of three or
// more characters.
//
// The catalog is a generated one imported through the import (POS_BENCH_BUSQUEDA_BASE products,
// 20,000 by default), then repeated by SQL up to POS_BENCH_PRODUCTOS (1,000,000) products with
// the same names, and the index rebuilt as the import would; both times are printed.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include "catalogo/importador.h"
#include "db/TmiddleTier.h"
#include "db/esquema.h"
#include "generador/generadorCatalogo.h"
#include "operaciones/busquedaProductos.h"
#include "operaciones/productos.h"
#include "signing/firma.h"
#include "util/utilerias.h"

namespace {

int entero(const char* variable, int omision) {
  const int n = qEnvironmentVariableIntValue(variable);
  return n > 0 ? n : omision;
}

// What cashiers type: a product kind, a brand, a size, pieces across words, something absent.
const char* const kPatrones[] = {"jab",
                                 "jabon de tocador",
                                 "yogur natural",
                                 "don chuy",
                                 "la napa 1 l",
                                 "queso fresco la",
                                 "cola don chuy 600",
                                 "1 kg",
                                 "de ",
                                 "ana",
                                 "xyz",
                                 "pilas alcalinas el faro"};

struct Catalogo {
  QTemporaryDir carpeta;
  std::shared_ptr<TConexionSesion> conexion;
  int negocio = 0;
  bool lista = false;

  Catalogo(bool postgres, const QString& url) {
    if (postgres && url.isEmpty()) return;
    conexion = std::make_shared<TConexionSesion>(postgres ? url : carpeta.filePath("busqueda.db"));
    QString error;
    if (!conexion->abre() || !u_aplicaMigraciones(*conexion, &error))
      qFatal("base: %s", qPrintable(error));
    signingConfigura(carpeta.path());
    const int base = entero("POS_BENCH_BUSQUEDA_BASE", 20000);
    const int total = entero("POS_BENCH_PRODUCTOS", 1000000);
    TOpcionesGenerador o;
    o.productos = base;
    o.semilla = 5;
    o.idNegocio = 0;
    o.estacion =
        QStringLiteral("BUSQUEDA-%1").arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
    QElapsedTimer t;
    t.start();
    const TResultadoImportacion r = importaCatalogoJson(*conexion, generaCatalogoJson(o));
    if (!r.ok) qFatal("importación: %s", qPrintable(r.error));
    negocio = r.idNegocio;
    const double importacion = t.elapsed() / 1000.0;
    t.restart();
    // Copies of every product under new keys until the total is reached.
    TmiddleTier mt(*conexion);
    mt.transaccionInicia(true);
    const int copias = (total + base - 1) / base - 1;
    mt.setQuery(
        QStringLiteral(
            "INSERT INTO inventarioProducto (clave, nombre, nombreBusqueda, "
            "inventarioCategoria_identidad, unidadesMedida_id, idNegocioFk, "
            "inventarioProductoEstado_id) SELECT clave || '-' || k, nombre, "
            "nombreBusqueda, inventarioCategoria_identidad, unidadesMedida_id, idNegocioFk, "
            "inventarioProductoEstado_id FROM inventarioProducto, %1 WHERE idNegocioFk = "
            ":n")
            .arg(postgres ? QStringLiteral("generate_series(1, %1) AS k").arg(copias)
                          : QStringLiteral("(WITH RECURSIVE s(k) AS (SELECT 1 UNION ALL "
                                           "SELECT k + 1 FROM s WHERE k < %1) SELECT k "
                                           "FROM s)")
                                .arg(copias)));
    mt.setInteger("n", negocio);
    if (mt.nonQuery() < 0) qFatal("copias: %s", qPrintable(mt.ultimoError()));
    const double copiado = t.elapsed() / 1000.0;
    t.restart();
    const QString e = u_reconstruyeBusquedaProductos(*conexion, negocio);
    if (!e.isEmpty()) qFatal("índice: %s", qPrintable(e));
    mt.transaccionTermina();
    mt.setQuery("SELECT COUNT(*) FROM inventarioProducto WHERE idNegocioFk = :n");
    mt.setInteger("n", negocio);
    fprintf(stderr,
            "%s: %d productos (importación de %d en %.1f s, copias en %.1f s, índice en %.1f s)\n",
            postgres ? "PostgreSQL" : "SQLite", mt.scalar().toInt(), base, importacion, copiado,
            t.elapsed() / 1000.0);
    lista = true;
  }
};

// Freed by main before Qt's SQL drivers go (freed after them, the connections crash the exit).
std::unique_ptr<Catalogo> gCatalogos[2];

Catalogo& catalogo(bool postgres) {
  auto& p = gCatalogos[postgres ? 1 : 0];
  if (!p) p = std::make_unique<Catalogo>(postgres, qEnvironmentVariable("POS_BENCH_PG"));
  return *p;
}

QString patron(int i) {
  return QStringLiteral("%") + QString::fromUtf8(kPatrones[i]) + QStringLiteral("%");
}

// Arg 0: engine (1 PostgreSQL); arg 1: pattern.
void BM_BusquedaIndice(benchmark::State& state) {
  Catalogo& c = catalogo(state.range(0) == 1);
  if (!c.lista) {
    state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
    return;
  }
  const QString p = patron(static_cast<int>(state.range(1)));
  int filas = 0;
  for (auto _ : state) {
    const CmidTierResponse r = filtraProductosPorNombre(p, QVariant(true), c.negocio, *c.conexion);
    filas = r.getRowCount();
    if (!r.ok()) state.SkipWithError(qPrintable(r.getError()));
  }
  state.counters["filas"] = filas;
  state.SetLabel(kPatrones[state.range(1)]);
}

// The scan it replaces: the same rows by LIKE over every name.
void BM_BusquedaLike(benchmark::State& state) {
  Catalogo& c = catalogo(state.range(0) == 1);
  if (!c.lista) {
    state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
    return;
  }
  QSqlQuery q(c.conexion->baseDatos());
  q.prepare(
      QStringLiteral("SELECT id, nombre FROM inventarioProducto WHERE idNegocioFk = ? AND "
                     "nombreBusqueda LIKE ? AND inventarioProductoEstado_id = 1 ORDER BY "
                     "nombreBusqueda, id LIMIT 60"));
  const QString p = u_normalizaBusqueda(patron(static_cast<int>(state.range(1))));
  int filas = 0;
  for (auto _ : state) {
    q.addBindValue(c.negocio);
    q.addBindValue(p);
    q.exec();
    filas = 0;
    while (q.next()) ++filas;
  }
  state.counters["filas"] = filas;
  state.SetLabel(kPatrones[state.range(1)]);
}

void patrones(benchmark::internal::Benchmark* b) {
  for (int motor : {0, 1})
    for (int i = 0; i < static_cast<int>(std::size(kPatrones)); ++i) b->Args({motor, i});
  b->ArgNames({"postgres", "patron"});
}

BENCHMARK(BM_BusquedaLike)->Apply(patrones)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BusquedaIndice)->Apply(patrones)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (auto& c : gCatalogos) c.reset();
  return 0;
}
