// Storing a 20-line sale (operation, lines, payment lines, stock discount in one transaction)
// on SQLite and PostgreSQL, beside a raw transaction of the same inserts and updates:
// - one station, and on SQLite the cost of committing durably (synchronous=FULL against NORMAL);
// - on PostgreSQL, 1, 4 and 8 stations storing sales at once, selling the same products or each
//   its own, against as many raw transactions at once, in alternate rounds. The summary at the
//   end gives each throughput as a ratio of the raw transaction's at the same number of
//   stations.
// Every run imports a business of its own (the database may have been used before) and binds
// its stations under names no earlier run used.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "catalogo/importador.h"
#include "context/TsistemaDatos.h"
#include "db/TmiddleTier.h"
#include "db/esquema.h"
#include "generador/generadorCatalogo.h"
#include "operaciones/inventario.h"
#include "operaciones/productos.h"
#include "operaciones/puntoVenta.h"
#include "sale/reglas/lineas_venta.h"

namespace {

constexpr int kLineas = 20;
constexpr int kEstacionesMax = 8;
constexpr int kVentasPorEstacion = 12;  // per station and iteration of the concurrent runs

struct Base {
  QTemporaryDir carpeta;
  QString destino;
  std::shared_ptr<TConexionSesion> conexion;
  TsistemaDatos sistema;
  int negocio = 0;
  int almacen = 0;
  QString prefijo;  // of this run's station names
  std::unique_ptr<TLineasVenta> venta;
  std::vector<int> productos;  // ids in catalog order
  bool lista = false;

  // PostgreSQL needs the URL of a server (POS_BENCH_PG); without it the base stays unready.
  Base(bool postgres, const QString& url) {
    if (postgres && url.isEmpty()) return;
    destino = postgres ? url : carpeta.filePath("venta.db");
    conexion = std::make_shared<TConexionSesion>(destino);
    QString error;
    if (!conexion->abre() || !u_aplicaMigraciones(*conexion, &error)) return;
    prefijo = QStringLiteral("BENCH-%1-").arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
    TOpcionesGenerador o;
    o.productos = 2000;
    o.semilla = 3;
    o.idNegocio = 0;  // a business of its own, whatever the database already holds
    o.estacion = prefijo + QStringLiteral("0");
    const TResultadoImportacion r = importaCatalogoJson(*conexion, generaCatalogoJson(o));
    if (!r.ok) qFatal("importación: %s", qPrintable(r.error));
    negocio = r.idNegocio;
    sistema.conexion = conexion;
    sistema.negocio.carga(*conexion, negocio);
    TmiddleTier mt(*conexion);
    // Plenty of stock so every iteration sells.
    mt.setQuery(
        "UPDATE inventarioExistencias SET existencia = 100000000 WHERE "
        "inventarioProducto_id IN (SELECT id FROM inventarioProducto WHERE idNegocioFk "
        "= :n)");
    mt.setInteger("n", negocio);
    mt.nonQuery();
    Tsalidas_comun s(*conexion);
    const CmidTierResponse sesion =
        s.seletSesionDatosFromPcName(o.estacion, negocio, conexion->getProvider());
    almacen = sesion.getCeldaAsInt("inventarioAlmacen_id");
    abreEstaciones(sesion.getCeldaAsInt("puntoCajero_id"));
    for (int i = 0; i < kEstacionesMax * kLineas; ++i)
      productos.push_back(filtraProductosPorcodigoBarras(u_codigoBarrasGenerado(o.semilla, i),
                                                         QVariant(true), negocio, *conexion)
                              .getCeldaAsInt("inventarioProducto_id"));
    venta = std::make_unique<TLineasVenta>(sistema);
    venta->uListaPreciosID = getIdListaPreciosPredeterminada(negocio, *conexion);
    for (int i = 0; i < kLineas; ++i)
      venta->agregarConcepto(
          filtraProductosPorcodigoBarras(u_codigoBarrasGenerado(o.semilla, i * 7), QVariant(true),
                                         negocio, *conexion),
          0);
    lista = venta->lineas().getRowCount() >= kLineas;
  }

  // Stations 1..8 of this run, each with its own register and open session.
  void abreEstaciones(int cajero) {
    TmiddleTier mt(*conexion);
    for (int e = 1; e <= kEstacionesMax; ++e) {
      mt.setQuery(
          "INSERT INTO puntoCaja (clave, descripcion, inventarioAlmacen_id, estado, "
          "idNegocioFk) VALUES (:clave, :clave, :almacen, 1, :n) RETURNING id");
      mt.setString("clave", prefijo + QString::number(e));
      mt.setInteger("almacen", almacen);
      mt.setInteger("n", negocio);
      const int caja = mt.scalar().toInt();
      mt.setQuery(
          "INSERT INTO puntoCajaSesion (puntoCaja_id, cajaNombre, puntoCajero_id, "
          "fechaApertura, estacion, activa, idNegocioFk) VALUES (:caja, :nombre, :cajero, "
          ":fecha, :estacion, 1, :n)");
      mt.setInteger("caja", caja);
      mt.setString("nombre", prefijo + QString::number(e));
      mt.setInteger("cajero", cajero);
      mt.setDateTime("fecha", QDateTime::currentDateTime());
      mt.setString("estacion", prefijo + QString::number(e));
      mt.setInteger("n", negocio);
      mt.nonQuery();
    }
  }

  // The register's sale: the 20 computed lines (one station).
  const TGridControl& lineas() const { return venta->lineas(); }

  // 20 lines of one unit each: the same 20 products for every station, or 20 of its own.
  void lineasDeEstacion(TGridControl& g, int estacion, bool mismos) const {
    TLineasVenta::declaraColumnas(g);
    for (int i = 0; i < kLineas; ++i) {
      const int p = productos[(mismos ? 0 : estacion * kLineas) + i];
      g.agregarRegistro({{"_Producto_id", QString::number(p)},
                         {"Cantidad", "1"},
                         {"Descripción", QStringLiteral("Producto %1").arg(p)},
                         {"Precio Lista", "10"},
                         {"Precio", "11.6"},
                         {"_tipoInsercion", "1"},
                         {"_grupo", QString::number(i + 1)}});
    }
  }
};

std::unique_ptr<Base>& base(bool postgres) {
  static std::unique_ptr<Base> b[2];
  auto& p = b[postgres ? 1 : 0];
  if (!p) p = std::make_unique<Base>(postgres, qEnvironmentVariable("POS_BENCH_PG"));
  return p;
}

rRespuestaPuntoVenta guarda(Base& b, const TGridControl& lineas, TConexionSesion& conexion,
                            const QString& estacion) {
  TFormasPago f;
  f[0].valor = "100000";
  return TConexionInventario().descuentaInventarioFromPuntoVenta(
      "1000", "900", "0", "100000", "99000", "100", f, lineas, conexion, b.negocio, b.almacen,
      estacion);
}

// Ticket numbers of the raw transaction: unique per business across the run's threads.
std::atomic<int> gTicketCrudo{1000000};

// The same rows written with plain prepared statements in one transaction: no session lookup,
// no stock check, no ticket counter.
bool transaccionCruda(Base& b, const TGridControl& g, TConexionSesion& conexion) {
  QSqlDatabase db = conexion.baseDatos();
  QSqlQuery q(db);
  if (!q.exec("BEGIN")) return false;
  q.prepare(
      "INSERT INTO puntoOperacion (idNegocioFk, ticketNo, fechaHora, total) VALUES (?, ?, "
      "?, ?) RETURNING id");
  q.addBindValue(b.negocio);
  q.addBindValue(++gTicketCrudo);
  q.addBindValue(QStringLiteral("2026-12-05 12:00:00"));
  q.addBindValue(1000.0);
  q.exec();
  q.next();
  const int op = q.value(0).toInt();
  q.finish();
  QSqlQuery d(db), e(db), p(db);
  d.prepare(
      "INSERT INTO puntoOperacionDetalle (puntoOperacion_id, fila, inventarioProducto_id, "
      "descripcion, cantidad, precio) VALUES (?, ?, ?, ?, ?, ?)");
  e.prepare(
      "UPDATE inventarioExistencias SET existencia = existencia - ? WHERE "
      "inventarioAlmacen_id = ? AND inventarioProducto_id = ?");
  for (int i = 0; i < g.getRowCount(); ++i) {
    d.addBindValue(op);
    d.addBindValue(i);
    d.addBindValue(g.getCeldaAsInt("_Producto_id", i));
    d.addBindValue(g.getCelda("Descripción", i));
    d.addBindValue(1.0);
    d.addBindValue(g.getCeldaAsFloat("Precio", i));
    d.exec();
    e.addBindValue(1.0);
    e.addBindValue(b.almacen);
    e.addBindValue(g.getCeldaAsInt("_Producto_id", i));
    e.exec();
  }
  p.prepare(
      "INSERT INTO puntoFormaPagoAplicada (puntoOperacion_id, posicion, valor) VALUES (?, ?, ?)");
  for (int i = 0; i < 7; ++i) {
    p.addBindValue(op);
    p.addBindValue(i);
    p.addBindValue(QString());
    p.exec();
  }
  return q.exec("COMMIT");
}

void BM_TransaccionCruda(benchmark::State& state) {
  auto& b = base(state.range(0) == 1);
  if (!b->lista) {
    state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
    return;
  }
  for (auto _ : state) transaccionCruda(*b, b->lineas(), *b->conexion);
}

// Arg 0: engine (1 PostgreSQL); arg 1: SQLite's synchronous (1 NORMAL, 2 FULL).
void BM_GuardaVenta(benchmark::State& state) {
  auto& b = base(state.range(0) == 1);
  if (!b->lista) {
    state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
    return;
  }
  if (state.range(0) == 0) {
    TmiddleTier mt(*b->conexion);
    mt.setQuery(QStringLiteral("PRAGMA synchronous = %1").arg(state.range(1)));
    mt.nonQuery();
  }
  for (auto _ : state) {
    const rRespuestaPuntoVenta r = guarda(*b, b->lineas(), *b->conexion, b->prefijo + "0");
    if (!r.ok) state.SkipWithError(qPrintable(r.mensaje));
  }
  if (state.range(0) == 0) {
    TmiddleTier mt(*b->conexion);
    mt.setQuery(QStringLiteral("PRAGMA synchronous = FULL"));
    mt.nonQuery();
  }
}

// Stations: worker threads that live through a benchmark, each with its own connection, and
// run one batch of work together per iteration.
class TEstaciones {
 public:
  TEstaciones(int n, const QString& destino) : uN(n) {
    for (int i = 0; i < n; ++i) uHilos.emplace_back([this, i, destino] { corre(i, destino); });
  }
  ~TEstaciones() {
    {
      std::lock_guard<std::mutex> l(uM);
      uFin = true;
      ++uRonda;
    }
    uCv.notify_all();
    for (auto& h : uHilos) h.join();
  }
  // Every station runs trabajo(estacion, conexion) once; answers when all are done.
  void ronda(std::function<void(int, TConexionSesion&)> trabajo) {
    std::unique_lock<std::mutex> l(uM);
    uTrabajo = std::move(trabajo);
    uPendientes = uN;
    ++uRonda;
    uCv.notify_all();
    uHecho.wait(l, [this] { return uPendientes == 0; });
  }

 private:
  void corre(int i, const QString& destino) {
    TConexionSesion conexion(destino);
    conexion.abre();
    long visto = 0;
    for (;;) {
      std::function<void(int, TConexionSesion&)> trabajo;
      {
        std::unique_lock<std::mutex> l(uM);
        uCv.wait(l, [&] { return uRonda != visto; });
        visto = uRonda;
        if (uFin) break;
        trabajo = uTrabajo;
      }
      trabajo(i, conexion);
      std::lock_guard<std::mutex> l(uM);
      if (--uPendientes == 0) uHecho.notify_all();
    }
    conexion.cierraHilo();
  }

  int uN;
  std::vector<std::thread> uHilos;
  std::mutex uM;
  std::condition_variable uCv, uHecho;
  std::function<void(int, TConexionSesion&)> uTrabajo;
  long uRonda = 0;
  int uPendientes = 0;
  bool uFin = false;
};

std::map<std::string, double>& resultados() {
  static std::map<std::string, double> r;
  return r;
}

// Arg 0: stations; arg 1: 1 when they all sell the same products. Each iteration runs one round
// of sales and one round of raw transactions, in turn, so a change in the machine's load falls
// on both alike; the ratio is taken over the same iterations.
void BM_EstacionesALaVez(benchmark::State& state) {
  auto& b = base(true);
  if (!b->lista) {
    state.SkipWithError("sin base (POS_BENCH_PG no definido)");
    return;
  }
  const int n = static_cast<int>(state.range(0));
  const bool mismos = state.range(1) == 1;
  std::vector<std::unique_ptr<TGridControl>> lineas;
  for (int e = 0; e < n; ++e) {
    lineas.push_back(std::make_unique<TGridControl>());
    b->lineasDeEstacion(*lineas.back(), e, mismos);
  }
  TEstaciones estaciones(n, b->destino);
  // Each station connects before the clock starts.
  estaciones.ronda([](int, TConexionSesion& c) { c.baseDatos(); });
  std::atomic<int> fallas{0};
  QString error;
  std::mutex m;
  const auto ronda = [&](bool venta) {
    const auto inicio = std::chrono::steady_clock::now();
    estaciones.ronda([&](int e, TConexionSesion& c) {
      for (int i = 0; i < kVentasPorEstacion; ++i) {
        bool ok = true;
        if (venta) {
          const rRespuestaPuntoVenta r =
              guarda(*b, *lineas[e], c, b->prefijo + QString::number(e + 1));
          ok = r.ok;
          if (!ok) {
            std::lock_guard<std::mutex> l(m);
            error = r.mensaje;
          }
        } else {
          ok = transaccionCruda(*b, *lineas[e], c);
        }
        if (!ok) ++fallas;
      }
    });
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  };
  double segundosVenta = 0, segundosCruda = 0;
  qint64 ventas = 0;
  for (auto _ : state) {
    segundosVenta += ronda(true);
    segundosCruda += ronda(false);
    ventas += n * kVentasPorEstacion;
  }
  if (fallas > 0)
    state.SkipWithError(
        qPrintable(QStringLiteral("%1 ventas fallaron: %2").arg(fallas).arg(error)));
  const double venta = ventas / segundosVenta, cruda = ventas / segundosCruda;
  state.counters["venta_s"] = venta;
  state.counters["cruda_s"] = cruda;
  state.counters["razon"] = venta / cruda;
  resultados()[std::to_string(n) + (mismos ? " mismos" : " distintos") + " venta"] = venta;
  resultados()[std::to_string(n) + (mismos ? " mismos" : " distintos") + " cruda"] = cruda;
}

BENCHMARK(BM_TransaccionCruda)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuardaVenta)
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({1, 2})
    ->ArgNames({"postgres", "synchronous"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EstacionesALaVez)
    ->ArgsProduct({{1, 4, 8}, {1, 0}})
    ->ArgNames({"estaciones", "mismos"})
    ->UseRealTime()
    ->MinTime(4.0)
    ->Unit(benchmark::kMillisecond);

void imprimeResumen() {
  if (resultados().empty()) return;
  fprintf(stderr,
          "\nVentas por segundo con estaciones a la vez (PostgreSQL), frente a la "
          "transacción cruda:\n");
  for (int n : {1, 4, 8})
    for (const char* modo : {" mismos", " distintos"}) {
      const std::string clave = std::to_string(n) + modo;
      const double venta = resultados()[clave + " venta"], cruda = resultados()[clave + " cruda"];
      if (cruda > 0)
        fprintf(stderr, "  %d estaciones,%-10s venta %7.1f/s  cruda %7.1f/s  razón %.2f×\n", n,
                modo, venta, cruda, venta / cruda);
    }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  imprimeResumen();
  // The sessions go before Qt's SQL drivers do.
  base(false).reset();
  base(true).reset();
  return 0;
}
