// Reading a barcode into a computed sale line, and the name search, on a large catalog in
// SQLite; each measured beside the raw indexed query it is built on.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <random>

#include "catalogo/importador.h"
#include "context/TsistemaDatos.h"
#include "db/esquema.h"
#include "generador/generadorCatalogo.h"
#include "operaciones/productos.h"
#include "operaciones/puntoVenta.h"
#include "sale/reglas/lineas_venta.h"

namespace {

int productosCatalogo() {
  const int n = qEnvironmentVariableIntValue("POS_BENCH_PRODUCTOS");
  return n > 0 ? n : 200000;
}

struct Catalogo {
  QTemporaryDir carpeta;
  std::shared_ptr<TConexionSesion> conexion;
  int productos = 0;
  quint64 semilla = 7;
  int lista = 0;
  QString patron;

  Catalogo() {
    productos = productosCatalogo();
    conexion = std::make_shared<TConexionSesion>(carpeta.filePath("bench.db"));
    QString error;
    if (!conexion->abre() || !u_aplicaMigraciones(*conexion, &error))
      qFatal("base: %s", qPrintable(error));
    TOpcionesGenerador o;
    o.productos = productos;
    o.semilla = semilla;
    QElapsedTimer t;
    t.start();
    const TResultadoImportacion r = importaCatalogoJson(*conexion, generaCatalogoJson(o));
    if (!r.ok) qFatal("importación: %s", qPrintable(r.error));
    fprintf(stderr, "Catálogo de %d productos importado en %.1f s\n", productos,
            t.elapsed() / 1000.0);
    localSYS.conexion = conexion;
    localSYS.negocio.carga(*conexion, r.idNegocio);
    lista = getIdListaPreciosPredeterminada(r.idNegocio, *conexion);
    // A name fragment from the middle of the catalog, as a cashier would type it.
    QSqlQuery q(conexion->baseDatos());
    q.exec(QStringLiteral(
               "SELECT nombreBusqueda FROM inventarioProducto ORDER BY id LIMIT 1 OFFSET %1")
               .arg(productos / 2));
    q.next();
    patron = q.value(0).toString().mid(0, 5);
  }
  QString codigo(int i) const { return u_codigoBarrasGenerado(semilla, i); }
};

Catalogo& catalogo() {
  static Catalogo c;
  return c;
}

void BM_LecturaConsultaCruda(benchmark::State& state) {
  Catalogo& c = catalogo();
  QSqlQuery q(c.conexion->baseDatos());
  q.prepare(
      QStringLiteral("SELECT p.id, p.nombre FROM inventarioProductoCodigoBarras b JOIN "
                     "inventarioProducto p ON p.id = b.inventarioProducto_id WHERE "
                     "b.idNegocioFk = ? AND b.codigo = ?"));
  std::mt19937 azar(1);
  std::uniform_int_distribution<int> indice(0, c.productos - 1);
  for (auto _ : state) {
    q.addBindValue(localSYS.getIdNegocio());
    q.addBindValue(c.codigo(indice(azar)));
    q.exec();
    benchmark::DoNotOptimize(q.next());
  }
}

void BM_LecturaALineaCalculada(benchmark::State& state) {
  Catalogo& c = catalogo();
  TLineasVenta venta(localSYS);
  venta.uListaPreciosID = c.lista;
  std::mt19937 azar(1);
  std::uniform_int_distribution<int> indice(0, c.productos - 1);
  int n = 0;
  for (auto _ : state) {
    const CmidTierResponse r = filtraProductosPorcodigoBarras(
        c.codigo(indice(azar)), QVariant(true), localSYS.getIdNegocio(), *c.conexion);
    benchmark::DoNotOptimize(venta.agregarConcepto(r, 0));
    if (++n % 20 == 0) {
      // A sale of twenty lines, then the next one.
      state.PauseTiming();
      venta.reinicia();
      state.ResumeTiming();
    }
  }
}

// One more reading on a sale of state.range(0) lines: the reading at 20 lines is the baseline
// the one at 400 is compared with. The measured products are outside the sale and have no
// promotion, so every reading adds one plain line, which is then taken off untimed.
void BM_LecturaEnVentaDe(benchmark::State& state) {
  Catalogo& c = catalogo();
  const int lineasPrevias = static_cast<int>(state.range(0)) - 1;
  TLineasVenta venta(localSYS);
  venta.uListaPreciosID = c.lista;
  const int paso = c.productos / (lineasPrevias + 1);
  for (int i = 0; i < lineasPrevias; ++i)
    venta.agregarConcepto(filtraProductosPorcodigoBarras(c.codigo(i * paso), QVariant(true),
                                                         localSYS.getIdNegocio(), *c.conexion),
                          0);
  QStringList medidos;
  for (int i = 0; medidos.size() < 32 && i < c.productos; ++i) {
    const int indice = (i * paso + paso / 2) % c.productos;
    const CmidTierResponse r = filtraProductosPorcodigoBarras(c.codigo(indice), QVariant(true),
                                                              localSYS.getIdNegocio(), *c.conexion);
    if (r.getRowCount() == 0) continue;
    const CmidTierResponse p = consultaPromocionPorProductoYFecha(
        r.getCelda(QStringLiteral("inventarioCategoria_identidad")),
        r.getCeldaAsInt(QStringLiteral("inventarioProducto_id")), localSYS.getIdNegocio(),
        QDateTime::currentDateTime(), *c.conexion);
    if (p.getRowCount() == 0) medidos << c.codigo(indice);
  }
  const int filas = venta.lineas().getRowCount();
  int n = 0;
  for (auto _ : state) {
    const CmidTierResponse r = filtraProductosPorcodigoBarras(
        medidos[n++ % medidos.size()], QVariant(true), localSYS.getIdNegocio(), *c.conexion);
    benchmark::DoNotOptimize(venta.agregarConcepto(r, 0));
    state.PauseTiming();
    while (venta.lineas().getRowCount() > filas)
      venta.lineas().eliminarRegistro(venta.lineas().getRowCount() - 1);
    venta.calculaTotal();
    state.ResumeTiming();
  }
  state.counters["lineas"] = filas + 1;
}

void BM_BusquedaNombreCruda(benchmark::State& state) {
  Catalogo& c = catalogo();
  QSqlQuery q(c.conexion->baseDatos());
  q.prepare(
      QStringLiteral("SELECT id, nombre FROM inventarioProducto WHERE idNegocioFk = ? AND "
                     "nombreBusqueda LIKE ? ORDER BY nombreBusqueda, id LIMIT 60"));
  for (auto _ : state) {
    q.addBindValue(localSYS.getIdNegocio());
    q.addBindValue(QStringLiteral("%") + c.patron + QStringLiteral("%"));
    q.exec();
    int filas = 0;
    while (q.next()) ++filas;
    benchmark::DoNotOptimize(filas);
  }
  state.SetLabel(c.patron.toStdString());
}

void BM_BusquedaNombre(benchmark::State& state) {
  Catalogo& c = catalogo();
  for (auto _ : state) {
    const CmidTierResponse r =
        filtraProductosPorNombre(QStringLiteral("%") + c.patron + QStringLiteral("%"),
                                 QVariant(true), localSYS.getIdNegocio(), *c.conexion);
    benchmark::DoNotOptimize(r.getRowCount());
  }
  state.SetLabel(c.patron.toStdString());
}

BENCHMARK(BM_LecturaConsultaCruda)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LecturaALineaCalculada)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LecturaEnVentaDe)->Arg(20)->Arg(400)->ArgName("lineas")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BusquedaNombreCruda)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BusquedaNombre)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  catalogo();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
