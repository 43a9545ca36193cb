// Importing a big generated catalog into SQLite with `pos-catalogo importa`, as a shop would,
// beside the sqlite3 command line writing the same rows: the import's rows are dumped as INSERT
// statements and loaded by sqlite3 into a freshly migrated database in one transaction, with
// the same settings the import's connection uses (WAL, synchronous=FULL, foreign keys, 64 MB
// of cache) and the same rebuild of the name index. Both run as child processes; their wall
// time and peak resident memory are reported. Goals at 1,000,000 products: peak under 300 MiB,
// time within 1.3× of sqlite3's.
//
// POS_BENCH_IMPORTACION sets the number of products (1,000,000 by default).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "db/esquema.h"
#include "generador/generadorCatalogo.h"

extern char** environ;

namespace {

struct TMedida {
  double segundos = 0;
  double mib = 0;  // peak resident memory
  int codigo = -1;
};

// Runs a command (stdin and stdout optionally from and to files) and measures it.
TMedida mide(const QStringList& argumentos, const QString& entrada = QString(),
             const QString& salida = QString()) {
  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  const QByteArray de = entrada.toLocal8Bit(), a = salida.toLocal8Bit();
  if (!entrada.isEmpty())
    posix_spawn_file_actions_addopen(&acciones, 0, de.constData(), O_RDONLY, 0);
  if (!salida.isEmpty())
    posix_spawn_file_actions_addopen(&acciones, 1, a.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
  std::vector<QByteArray> textos;
  for (const QString& s : argumentos) textos.push_back(s.toLocal8Bit());
  std::vector<char*> argv;
  for (QByteArray& t : textos) argv.push_back(t.data());
  argv.push_back(nullptr);
  TMedida m;
  QElapsedTimer reloj;
  reloj.start();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &acciones, nullptr, argv.data(), environ) == 0) {
    int estado = 0;
    rusage uso{};
    wait4(pid, &estado, 0, &uso);
    m.segundos = reloj.elapsed() / 1000.0;
    m.mib = uso.ru_maxrss / 1024.0;
    m.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
  }
  posix_spawn_file_actions_destroy(&acciones);
  return m;
}

struct TPreparacion {
  QTemporaryDir carpeta;
  QString catalogo, vacia, script;
  int productos = 0;
  TMedida importacion, sqlite3;

  TPreparacion() {
    const int n = qEnvironmentVariableIntValue("POS_BENCH_IMPORTACION");
    productos = n > 0 ? n : 1000000;
    catalogo = carpeta.filePath("catalogo.json");
    QFile f(catalogo);
    TOpcionesGenerador o;
    o.productos = productos;
    o.semilla = 21;
    if (!f.open(QIODevice::WriteOnly) || !escribeCatalogo(o, f)) qFatal("no se pudo generar");
    f.close();
    fprintf(stderr, "Catálogo de %d productos: %.0f MB\n", productos, f.size() / 1e6);
    // A migrated empty database, copied for each load.
    vacia = carpeta.filePath("vacia.db");
    {
      TConexionSesion c(vacia);
      QString error;
      if (!c.abre() || !u_aplicaMigraciones(c, &error)) qFatal("esquema: %s", qPrintable(error));
    }
  }

  QString destino(const QString& nombre) {
    const QString ruta = carpeta.filePath(nombre);
    for (const char* s : {"", "-wal", "-shm"}) QFile::remove(ruta + QString::fromLatin1(s));
    QFile::copy(vacia, ruta);
    return ruta;
  }

  // The rows the import wrote, as the INSERT statements sqlite3 runs for the baseline.
  void escribeScript(const QString& importada) {
    static const char* const tablas[] = {"Negocio",
                                         "Sucursal",
                                         "inventarioUnidadesMedida",
                                         "inventarioCategoria",
                                         "ventasDescuentosCategorias",
                                         "inventarioAlmacen",
                                         "ventasListaPrecios",
                                         "inventarioProducto",
                                         "inventarioProductoCodigoBarras",
                                         "inventarioProductoImpuestos",
                                         "ventasListaProductos",
                                         "ventasDescuentosProductos",
                                         "inventarioExistencias",
                                         "inventarioNoSerie",
                                         "ventasPromociones",
                                         "ventasPromocionesProductoCategoriaClave",
                                         "ventasKit",
                                         "ventasKitDetalle",
                                         "Persona",
                                         "puntoCajero",
                                         "puntoCaja",
                                         "puntoCajaSesion",
                                         "puntoMetodoPago",
                                         "usuarioEnLinea"};
    script = carpeta.filePath("mismas.sql");
    QFile s(script);
    s.open(QIODevice::WriteOnly);
    s.write(
        "PRAGMA synchronous = FULL;\nPRAGMA foreign_keys = ON;\nPRAGMA cache_size = -65536;\n"
        "BEGIN;\n");
    s.close();
    for (const char* t : tablas) {
      const QString parte = carpeta.filePath("parte.sql");
      mide({"sqlite3", "-cmd", QStringLiteral(".mode insert %1").arg(QString::fromLatin1(t)),
            importada, QStringLiteral("SELECT * FROM %1").arg(QString::fromLatin1(t))},
           QString(), parte);
      QFile p(parte), todo(script);
      p.open(QIODevice::ReadOnly);
      todo.open(QIODevice::Append);
      while (!p.atEnd()) todo.write(p.read(1 << 20));
    }
    QFile todo(script);
    todo.open(QIODevice::Append);
    // The name index, rebuilt as the import does it.
    todo.write(
        "INSERT INTO productoBusqueda (rowid, nombreBusqueda, inventarioProducto_id) "
        "SELECT 1099511627776 + ROW_NUMBER() OVER (ORDER BY nombreBusqueda, id), "
        "nombreBusqueda, id FROM inventarioProducto WHERE idNegocioFk = 1;\n"
        "INSERT OR REPLACE INTO productoBusquedaVigente (idNegocioFk, productos) SELECT 1, "
        "COUNT(*) FROM inventarioProducto WHERE idNegocioFk = 1;\nCOMMIT;\n");
  }
};

TPreparacion& preparacion() {
  static TPreparacion p;
  return p;
}

void BM_ImportaCatalogo(benchmark::State& state) {
  TPreparacion& p = preparacion();
  for (auto _ : state) {
    const QString db = p.destino("importada.db");
    p.importacion = mide({QCoreApplication::applicationDirPath() + "/pos-catalogo", "importa",
                          "--db", db, "--clave", p.carpeta.path(), p.catalogo});
    if (p.importacion.codigo != 0) state.SkipWithError("la importación falló");
    state.SetIterationTime(p.importacion.segundos);
    p.escribeScript(db);
  }
  state.counters["MiB_pico"] = p.importacion.mib;
  state.counters["productos"] = p.productos;
}

void BM_Sqlite3MismasFilas(benchmark::State& state) {
  TPreparacion& p = preparacion();
  if (p.script.isEmpty()) {
    state.SkipWithError("sin importación previa");
    return;
  }
  for (auto _ : state) {
    p.sqlite3 = mide({"sqlite3", p.destino("sqlite3.db")}, p.script);
    if (p.sqlite3.codigo != 0) state.SkipWithError("sqlite3 falló");
    state.SetIterationTime(p.sqlite3.segundos);
  }
  state.counters["MiB_pico"] = p.sqlite3.mib;
}

BENCHMARK(BM_ImportaCatalogo)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_Sqlite3MismasFilas)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const TPreparacion& p = preparacion();
  if (p.sqlite3.segundos > 0)
    fprintf(stderr,
            "\nImportación de %d productos: %.1f s y %.0f MiB de pico; sqlite3 con las mismas "
            "filas: %.1f s y %.0f MiB. Razón de tiempo %.2f×\n",
            p.productos, p.importacion.segundos, p.importacion.mib, p.sqlite3.segundos,
            p.sqlite3.mib, p.importacion.segundos / p.sqlite3.segundos);
  return 0;
}
