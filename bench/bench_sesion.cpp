// The session view of a long session: 5,000 tickets of 10 lines and 7 payment lines each, in a
// store of 4 such sessions, on SQLite and PostgreSQL (POS_BENCH_PG):
// - BM_VerSesionCruda: the three raw queries that give the same three result sets (tickets
//   with their invoice, products added up, totals per payment method), every value read;
// - BM_VerSesionOperaciones: the data operations the screen calls (session header, total,
//   tickets, products, per-method totals);
// - BM_VerSesion: the screen itself, offscreen: number typed, "Buscar", grids and charts
//   filled. "veces_cruda" is the ratio to the raw queries' median measured in the same run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>
#include <algorithm>

#include "context/TsistemaDatos.h"
#include "db/TmiddleTier.h"
#include "db/esquema.h"
#include "generadorTickets.h"
#include "grid/TGridControl.h"
#include "operaciones/sesiones.h"
#include "sessions/TFRM_verSesion.h"
#include "sessions/reglas/consultaSesion.h"

namespace {

constexpr int kSesiones = 4;
constexpr int kTicketsSesion = 5000;
constexpr int kLineas = 10;
constexpr int kPagos = 7;
constexpr int kProductos = 200;
constexpr int kSesionMedida = 2;

// INSERT ... SELECT over i = 1..n, made by the database itself.
QString serie(bool pg, int n, const QString& insercion, const QString& seleccion) {
  if (pg)
    return insercion + QStringLiteral(" SELECT ") + seleccion +
           QStringLiteral(" FROM generate_series(1, %1) AS n(i)").arg(n);
  return QStringLiteral(
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
             "i < %1) ")
             .arg(n) +
         insercion + QStringLiteral(" SELECT ") + seleccion + QStringLiteral(" FROM n");
}

bool generaSesiones(TConexionSesion& c, QString* error) {
  const bool pg = c.esPostgres();
  const int tickets = kSesiones * kTicketsSesion;
  const QString fecha = pg ? QStringLiteral(
                                 "TIMESTAMP '2026-03-02 08:00:00' + ((i - 1) % %1 * 7) "
                                 "* INTERVAL '1 second'")
                                 .arg(kTicketsSesion)
                           : QStringLiteral(
                                 "datetime('2026-03-02 08:00:00', '+' || ((i - 1) % %1 "
                                 "* 7) || ' seconds')")
                                 .arg(kTicketsSesion);
  // Ticket i: total 100.50 + i % 97, paid with cash (change 10) and a card line of 40.50.
  const QStringList sql = {
      "INSERT INTO Persona (idPersona, nombre, apellidoPaterno, apellidoMaterno, idNegocioFk) "
      "VALUES (1, 'Ana', 'Bench', 'Uno', 1)",
      "INSERT INTO puntoCajero (id, clave, persona_idPersona, idNegocioFk) VALUES (1, 'C1', 1, 1)",
      "INSERT INTO puntoCaja (id, clave, descripcion, idNegocioFk) VALUES (1, 'CJ1', 'Caja', 1)",
      serie(pg, kSesiones,
            "INSERT INTO puntoCajaSesion (id, puntoCaja_id, cajaNombre, puntoCajero_id, "
            "fechaApertura, activa, idNegocioFk)",
            "i, 1, 'Caja', 1, '2026-03-02 07:00:00', 0, 1"),
      serie(pg, kProductos, "INSERT INTO inventarioProducto (id, nombre, idNegocioFk)",
            "i, 'Producto ' || i, 1"),
      serie(pg, tickets,
            "INSERT INTO puntoOperacion (id, idNegocioFk, ticketNo, puntoCajaSesion_id, "
            "fechaHora, total, pago, devuelto, facturadoMetodo)",
            QStringLiteral("i, 1, i, (i - 1) / %1 + 1, %2, 100.5 + i %% 97, 110.5 + i %% 97, 10, "
                           "'3'")
                .arg(kTicketsSesion)
                .arg(fecha)
                .replace("%%", "%")),
      serie(pg, tickets * kLineas,
            "INSERT INTO puntoOperacionDetalle (puntoOperacion_id, fila, inventarioProducto_id, "
            "cantidad)",
            QStringLiteral("(i - 1) / %1 + 1, (i - 1) %% %1, (i * 7) %% %2 + 1, 1 + i %% 3")
                .arg(kLineas)
                .arg(kProductos)
                .replace("%%", "%")),
      serie(pg, tickets * kPagos,
            "INSERT INTO puntoFormaPagoAplicada (puntoOperacion_id, posicion, formaPago_id, "
            "nombre, importe)",
            QStringLiteral("(i - 1) / %1 + 1, (i - 1) %% %1, CASE (i - 1) %% %1 WHEN 0 THEN 1 WHEN "
                           "1 THEN 4 ELSE 0 END, CASE (i - 1) %% %1 WHEN 0 THEN 'Efectivo' WHEN 1 "
                           "THEN 'Tarjeta' ELSE '' END, CASE (i - 1) %% %1 WHEN 0 THEN 70 + "
                           "((i - 1) / %1 + 1) %% 97 WHEN 1 THEN 40.5 ELSE 0 END")
                .arg(kPagos)
                .replace("%%", "%")),
      serie(pg, tickets / 10,
            "INSERT INTO puntoOperacionAdicional (puntoOperacion_id, uuid, fecha)",
            "i * 10, 'UUID-' || i, '2026-03-03 10:00:00'"),
  };
  for (const QString& s : sql)
    if (!u_ejecutaBench(c, s, error)) return false;
  // Nothing is inserted after this, so the identity sequences may stay behind the ids.
  return u_ejecutaBench(c, QStringLiteral("ANALYZE"), error);
}

// Four sessions of 5,000 tickets each.
struct Tienda : TiendaBench {
  explicit Tienda(bool postgres) : TiendaBench(postgres, QStringLiteral("sesion"), generaSesiones) {}
};

std::unique_ptr<Tienda> gTiendas[2];

Tienda& tienda(bool postgres) {
  auto& p = gTiendas[postgres ? 1 : 0];
  if (!p) p = std::make_unique<Tienda>(postgres);
  return *p;
}

int lee(QSqlQuery& q, int columnas) {
  q.exec();
  int filas = 0;
  while (q.next()) {
    for (int c = 0; c < columnas; ++c) benchmark::DoNotOptimize(q.value(c));
    ++filas;
  }
  return filas;
}

// The three result sets straight from the driver.
int consultaCruda(Tienda& t) {
  QSqlDatabase db = t.conexion->baseDatos();
  QSqlQuery tickets(db), productos(db), pagos(db);
  tickets.prepare(
      "SELECT o.id, o.ticketNo, o.fechaHora, o.total, COALESCE(a.uuid, ''), o.facturadoFecha "
      "FROM puntoOperacion o LEFT JOIN puntoOperacionAdicional a ON a.puntoOperacion_id = o.id "
      "WHERE o.puntoCajaSesion_id = ? AND o.idNegocioFk = ? ORDER BY o.fechaHora, o.ticketNo");
  productos.prepare(
      "SELECT d.inventarioProducto_id, MAX(p.nombre), SUM(d.cantidad) FROM puntoOperacion o "
      "INNER JOIN puntoOperacionDetalle d ON d.puntoOperacion_id = o.id LEFT JOIN "
      "inventarioProducto p ON p.id = d.inventarioProducto_id WHERE o.puntoCajaSesion_id = ? "
      "AND o.idNegocioFk = ? GROUP BY d.inventarioProducto_id ORDER BY 2");
  pagos.prepare(
      "SELECT f.formaPago_id, f.nombre, SUM(f.importe) FROM puntoOperacion o INNER JOIN "
      "puntoFormaPagoAplicada f ON f.puntoOperacion_id = o.id WHERE o.puntoCajaSesion_id = ? "
      "AND o.idNegocioFk = ? GROUP BY f.formaPago_id, f.nombre");
  for (QSqlQuery* q : {&tickets, &productos, &pagos}) {
    q->addBindValue(kSesionMedida);
    q->addBindValue(1);
  }
  return lee(tickets, 6) + lee(productos, 3) + lee(pagos, 3);
}

qint64 medianaCruda(Tienda& t) {
  std::vector<qint64> v;
  for (int i = 0; i < 9; ++i) {
    QElapsedTimer r;
    r.start();
    consultaCruda(t);
    v.push_back(r.nsecsElapsed());
  }
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void BM_VerSesionCruda(benchmark::State& state) {
  Tienda& t = tienda(state.range(0) == 1);
  if (!t.lista) return state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
  int filas = 0;
  for (auto _ : state) filas = consultaCruda(t);
  state.counters["filas"] = filas;
}

void BM_VerSesionOperaciones(benchmark::State& state) {
  Tienda& t = tienda(state.range(0) == 1);
  if (!t.lista) return state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
  const qint64 cruda = medianaCruda(t);
  int filas = 0;
  qint64 total = 0;
  // Where the time goes, per operation (ms, summed over the iterations).
  double partes[5] = {0, 0, 0, 0, 0};
  for (auto _ : state) {
    QElapsedTimer r, p;
    r.start();
    p.start();
    TencabezadoSesion e;
    buscaEncabezadoSesion(kSesionMedida, 1, *t.conexion, &e);
    partes[0] += p.nsecsElapsed() / 1e6;
    p.restart();
    benchmark::DoNotOptimize(calculaSesionTotal(kSesionMedida, 1, *t.conexion));
    partes[1] += p.nsecsElapsed() / 1e6;
    p.restart();
    filas = buscarOperacionesporSesion(kSesionMedida, 1, *t.conexion).getRowCount();
    partes[2] += p.nsecsElapsed() / 1e6;
    p.restart();
    filas +=
        buscaOperacionesDetalleConsolidadoPorSesion(kSesionMedida, 1, *t.conexion).getRowCount();
    partes[3] += p.nsecsElapsed() / 1e6;
    p.restart();
    filas += buscaTotalesMetodoDePagoPorSesion(kSesionMedida, 1, *t.conexion).getRowCount();
    partes[4] += p.nsecsElapsed() / 1e6;
    total += r.nsecsElapsed();
  }
  const char* nombres[] = {"ms_sesion", "ms_total", "ms_tickets", "ms_productos", "ms_metodos"};
  for (int i = 0; i < 5; ++i) state.counters[nombres[i]] = partes[i] / double(state.iterations());
  state.counters["filas"] = filas;
  state.counters["veces_cruda"] = double(total) / double(state.iterations()) / double(cruda);
}

void BM_VerSesion(benchmark::State& state) {
  Tienda& t = tienda(state.range(0) == 1);
  if (!t.lista) return state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
  localSYS = t.sys;
  const qint64 cruda = medianaCruda(t);
  TFRM_verSesion v;
  v.resize(1024, 700);
  v.show();
  QApplication::processEvents();
  qint64 total = 0;
  for (auto _ : state) {
    QElapsedTimer r;
    r.start();
    v.escribe(QStringLiteral("No. Sesión"), QString::number(kSesionMedida));
    v.buscar();
    QApplication::processEvents();
    total += r.nsecsElapsed();
  }
  if (v.gridTickets().getRowCount() != kTicketsSesion)
    state.SkipWithError("la pantalla no mostró los tickets de la sesión");
  state.counters["tickets"] = v.gridTickets().getRowCount();
  state.counters["veces_cruda"] = double(total) / double(state.iterations()) / double(cruda);
  localSYS = TsistemaDatos();
}

BENCHMARK(BM_VerSesionCruda)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VerSesionOperaciones)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VerSesion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (auto& t : gTiendas) t.reset();
  return 0;
}
