// Storing a 20-line sale (operation, lines, payment lines, stock discount in one transaction)
// on SQLite and PostgreSQL, beside a raw transaction of the same inserts and updates.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

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

struct Base {
  QTemporaryDir carpeta;
  std::shared_ptr<TConexionSesion> conexion;
  TsistemaDatos sistema;
  QString estacion;
  int almacen = 0;
  std::unique_ptr<TLineasVenta> venta;
  bool lista = false;

  explicit Base(const QString& destino) {
    conexion = std::make_shared<TConexionSesion>(destino.isEmpty() ? carpeta.filePath("venta.db") : destino);
    QString error;
    if (!conexion->abre() || !u_aplicaMigraciones(*conexion, &error)) return;
    TOpcionesGenerador o;
    o.productos = 2000;
    o.semilla = 3;
    const TResultadoImportacion r = importaCatalogoJson(*conexion, generaCatalogoJson(o));
    if (!r.ok) qFatal("importación: %s", qPrintable(r.error));
    sistema.conexion = conexion;
    sistema.negocio.carga(*conexion, r.idNegocio);
    estacion = o.estacion;
    // Plenty of stock so every iteration sells.
    TmiddleTier mt(*conexion);
    mt.setQuery("UPDATE inventarioExistencias SET existencia = 1000000");
    mt.nonQuery();
    Tsalidas_comun s(*conexion);
    almacen = s.seletSesionDatosFromPcName(estacion, r.idNegocio, conexion->getProvider())
                  .getCeldaAsInt("inventarioAlmacen_id");
    venta = std::make_unique<TLineasVenta>(sistema);
    venta->uListaPreciosID = getIdListaPreciosPredeterminada(r.idNegocio, *conexion);
    for (int i = 0; i < kLineas; ++i)
      venta->agregarConcepto(filtraProductosPorcodigoBarras(u_codigoBarrasGenerado(o.semilla, i * 7), QVariant(true),
                                                            r.idNegocio, *conexion), 0);
    lista = venta->lineas().getRowCount() >= kLineas;
  }
};

std::unique_ptr<Base>& base(bool postgres) {
  static std::unique_ptr<Base> b[2];
  auto& p = b[postgres ? 1 : 0];
  if (!p) p = std::make_unique<Base>(postgres ? qEnvironmentVariable("POS_BENCH_PG") : QString());
  return p;
}

void BM_GuardaVenta(benchmark::State& state) {
  auto& b = base(state.range(0) == 1);
  if (!b->lista) {
    state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
    return;
  }
  TFormasPago f;
  f[0].valor = "100000";
  for (auto _ : state) {
    const rRespuestaPuntoVenta r = TConexionInventario().descuentaInventarioFromPuntoVenta(
        "1000", "900", "0", "100000", "99000", "100", f, b->venta->lineas(), *b->conexion,
        b->sistema.getIdNegocio(), b->almacen, b->estacion);
    if (!r.ok) state.SkipWithError(qPrintable(r.mensaje));
  }
}

// The same rows written with plain prepared statements in one transaction: no session lookup,
// no stock check, no locks.
void BM_TransaccionCruda(benchmark::State& state) {
  auto& b = base(state.range(0) == 1);
  if (!b->lista) {
    state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
    return;
  }
  QSqlDatabase db = b->conexion->baseDatos();
  // Ticket numbers are unique per business: keep counting across the benchmark's runs.
  static int ticket = 1000000;
  for (auto _ : state) {
    QSqlQuery q(db);
    q.exec("BEGIN");
    q.prepare("INSERT INTO puntoOperacion (idNegocioFk, ticketNo, fechaHora, total) VALUES (?, ?, ?, ?) RETURNING id");
    q.addBindValue(b->sistema.getIdNegocio());
    q.addBindValue(++ticket);
    q.addBindValue(QStringLiteral("2026-12-05 12:00:00"));
    q.addBindValue(1000.0);
    q.exec();
    q.next();
    const int op = q.value(0).toInt();
    QSqlQuery d(db), e(db), p(db);
    d.prepare("INSERT INTO puntoOperacionDetalle (puntoOperacion_id, fila, inventarioProducto_id, descripcion, cantidad, precio) VALUES (?, ?, ?, ?, ?, ?)");
    e.prepare("UPDATE inventarioExistencias SET existencia = existencia - ? WHERE inventarioAlmacen_id = ? AND inventarioProducto_id = ?");
    for (int i = 0; i < kLineas; ++i) {
      const TGridControl& g = b->venta->lineas();
      d.addBindValue(op);
      d.addBindValue(i);
      d.addBindValue(g.getCeldaAsInt("_Producto_id", i));
      d.addBindValue(g.getCelda("Descripción", i));
      d.addBindValue(1.0);
      d.addBindValue(g.getCeldaAsFloat("Precio", i));
      d.exec();
      e.addBindValue(1.0);
      e.addBindValue(b->almacen);
      e.addBindValue(g.getCeldaAsInt("_Producto_id", i));
      e.exec();
    }
    p.prepare("INSERT INTO puntoFormaPagoAplicada (puntoOperacion_id, posicion, valor) VALUES (?, ?, ?)");
    for (int i = 0; i < 7; ++i) {
      p.addBindValue(op);
      p.addBindValue(i);
      p.addBindValue(QString());
      p.exec();
    }
    q.exec("COMMIT");
  }
}

BENCHMARK(BM_TransaccionCruda)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuardaVenta)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // The sessions go before Qt's SQL drivers do.
  base(false).reset();
  base(true).reset();
  return 0;
}
