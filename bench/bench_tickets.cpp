// Tickets after the sale, on a store of 1,000,000 sold tickets (a year of a busy shop), on
// SQLite and PostgreSQL:
// - ticket control's search of one day, beside the raw indexed query of the same rows (the
//   search also reads each ticket's latest invoice); "veces_cruda" is the ratio to the raw
//   query's median in the same run;
// - the status poll that finds 10,000 tickets invoiced at the portal, in pages of 100, against
//   the real invoicing sandbox, and its one update transaction on its own.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <QUuid>
#include <algorithm>

#include "context/TsistemaDatos.h"
#include "db/TmiddleTier.h"
#include "db/esquema.h"
#include "generadorTickets.h"
#include "operaciones/tickets.h"
#include "tickets/reglas/TthreadGetEstadoTicket.h"

namespace {

int ticketsGuardados() {
  const int n = qEnvironmentVariableIntValue("POS_BENCH_TICKETS");
  return n > 0 ? n : 1000000;
}
constexpr int kDias = 365;
constexpr int kFacturados = 10000;
const QDate kDesde(2025, 1, 1);
const QDate kDia = kDesde.addDays(180);

// A million tickets (POS_BENCH_TICKETS) over a year.
struct Tienda : TiendaBench {
  explicit Tienda(bool postgres)
      : TiendaBench(postgres, QStringLiteral("tickets"), [](TConexionSesion& c, QString* e) {
          return u_generaTicketsBench(c, ticketsGuardados(), kDias, kDesde, e);
        }) {}
};

// Freed at the end of main, while Qt's database drivers are still loaded (a static freed
// after them crashed at exit).
std::unique_ptr<Tienda> gTiendas[2];

Tienda& tienda(bool postgres) {
  auto& p = gTiendas[postgres ? 1 : 0];
  if (!p) p = std::make_unique<Tienda>(postgres);
  return *p;
}

// The raw indexed query of one day's tickets, every column read.
int consultaCruda(Tienda& t) {
  QSqlQuery q(t.conexion->baseDatos());
  q.prepare(QStringLiteral(
      "SELECT id, facturadoMetodo, puntoCajaSesion_id, ticketNo, total, fechaHora, uuid, "
      "subtotal, descuento FROM puntoOperacion WHERE idNegocioFk = ? AND fechaHora >= ? AND "
      "fechaHora < ? ORDER BY fechaHora, ticketNo"));
  q.addBindValue(1);
  q.addBindValue(kDia.toString("yyyy-MM-dd 00:00:00"));
  q.addBindValue(kDia.addDays(1).toString("yyyy-MM-dd 00:00:00"));
  q.exec();
  int filas = 0;
  while (q.next()) {
    for (int c = 0; c < 9; ++c) benchmark::DoNotOptimize(q.value(c));
    ++filas;
  }
  return filas;
}

void BM_ControlTicketsCruda(benchmark::State& state) {
  Tienda& t = tienda(state.range(0) == 1);
  if (!t.lista) return state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
  int filas = 0;
  for (auto _ : state) filas = consultaCruda(t);
  state.counters["filas"] = filas;
}

void BM_ControlTickets(benchmark::State& state) {
  Tienda& t = tienda(state.range(0) == 1);
  if (!t.lista) return state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
  // The raw query's median, measured here so the ratio compares the same run.
  std::vector<qint64> crudas;
  for (int i = 0; i < 15; ++i) {
    QElapsedTimer r;
    r.start();
    consultaCruda(t);
    crudas.push_back(r.nsecsElapsed());
  }
  std::sort(crudas.begin(), crudas.end());
  const QVariant nulo(QMetaType::fromType<int>());
  int filas = 0;
  qint64 total = 0;
  for (auto _ : state) {
    QElapsedTimer r;
    r.start();
    const CmidTierResponse res =
        buscarOperacionesporSesionFecha(nulo, QDateTime(kDia, QTime(9, 0)),
                                        QDateTime(kDia, QTime(9, 0)), nulo, nulo, 1, *t.conexion);
    filas = res.getRowCount();
    total += r.nsecsElapsed();
  }
  state.counters["filas"] = filas;
  state.counters["veces_cruda"] =
      double(total) / double(state.iterations()) / double(crudas[crudas.size() / 2]);
}

// The invoicing sandbox with `kFacturados` tickets of the business invoiced at the portal.
struct Servicio {
  QTemporaryDir datos;
  QProcess proceso;
  QString url;
  QStringList identificadores;

  Servicio() {
    proceso.setStandardErrorFile(QProcess::nullDevice());
    proceso.start(QStringLiteral(POS_BINARIOS "/pos-sandbox-facturacion"),
                  {"--puerto", "0", "--datos", datos.path()});
    proceso.waitForReadyRead(10000);
    const QByteArray linea = proceso.readLine().trimmed();
    if (!linea.startsWith("ESCUCHANDO ")) qFatal("el sandbox no arrancó: %s", linea.constData());
    url = "http://127.0.0.1:" + QString::fromLatin1(linea.mid(11));
    QNetworkAccessManager red;
    QNetworkRequest p(QUrl(url + "/control/tickets/generar"));
    p.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    const QJsonObject cuerpo{{"rfc", "EKU9003173C9"},
                             {"cantidad", kFacturados},
                             {"estado", 2},
                             {"ticketNoInicial", 5000001}};
    std::unique_ptr<QNetworkReply> r(red.post(p, QJsonDocument(cuerpo).toJson()));
    QEventLoop bucle;
    QObject::connect(r.get(), &QNetworkReply::finished, &bucle, &QEventLoop::quit);
    bucle.exec();
    for (const QJsonValue& v : QJsonDocument::fromJson(r->readAll())["tickets"].toArray())
      identificadores << v["identificador"].toString();
    if (identificadores.size() != kFacturados) qFatal("el sandbox no generó los tickets");
  }
  ~Servicio() {
    proceso.terminate();
    proceso.waitForFinished(5000);
  }
};

Servicio& servicio() {
  static Servicio s;
  return s;
}

// The same 10,000 tickets in the store, uploaded and waiting ("3"), as before every poll.
void preparaFacturados(Tienda& t, const QStringList& ids) {
  static bool insertados[2] = {false, false};
  bool& hecho = insertados[t.conexion->esPostgres() ? 1 : 0];
  TmiddleTier mt(*t.conexion);
  mt.transaccionInicia(true);
  if (!hecho) {
    mt.setReutilizaSentencia(true);
    for (int i = 0; i < ids.size(); ++i) {
      mt.setQuery(
          "INSERT INTO puntoOperacion (idNegocioFk, ticketNo, cajeroNombre, fechaHora, total, "
          "uuid, "
          "facturadoMetodo) VALUES (1, :n, 'Cajero', :f, 116, :u, '3')");
      mt.setInteger("n", 5000001 + i);
      mt.setDateTime("f", QDateTime::currentDateTime());
      mt.setString("u", ids[i]);
      mt.nonQuery();
    }
    hecho = true;
  }
  mt.setReutilizaSentencia(false);
  mt.setQuery(
      "DELETE FROM puntoOperacionAdicional WHERE puntoOperacion_id IN (SELECT id FROM "
      "puntoOperacion WHERE ticketNo > 5000000)");
  mt.nonQuery();
  mt.setQuery("UPDATE puntoOperacion SET facturadoMetodo = '3' WHERE ticketNo > 5000000");
  mt.nonQuery();
  mt.transaccionTermina();
}

void BM_ActualizaEstado10000(benchmark::State& state) {
  Tienda& t = tienda(state.range(0) == 1);
  if (!t.lista) return state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
  const QStringList ids = servicio().identificadores;
  QHash<QString, TfacturaServicio> facturas;
  for (const QString& id : ids) facturas.insert(id, {"F-" + id, QDateTime::currentDateTime()});
  for (auto _ : state) {
    state.PauseTiming();
    preparaFacturados(t, ids);
    state.ResumeTiming();
    if (!actualizaEstadoTicket(ids, 1, *t.conexion, facturas)) state.SkipWithError("actualización");
  }
  state.counters["tickets"] = ids.size();
}

void BM_SondeoEstado10000(benchmark::State& state) {
  Tienda& t = tienda(state.range(0) == 1);
  if (!t.lista) return state.SkipWithError("sin base (POS_BENCH_PG no definido para PostgreSQL)");
  Servicio& s = servicio();
  TsistemaDatos sys = t.sys;
  sys.urlFacturacion = s.url;
  const QDateTime ahora = QDateTime::currentDateTime();
  int paginas = 0;
  for (auto _ : state) {
    state.PauseTiming();
    preparaFacturados(t, s.identificadores);
    state.ResumeTiming();
    TthreadGetEstadoTicket hilo;
    hilo.setParametros(parametrosEstadoTickets(ventanaEstadoTickets(ahora, ahora, ahora),
                                               {"tienda", "cuenta1", "x"}));
    std::atomic<bool> activo{true};
    hilo.inicia(sys, &activo);
    while (activo.load()) QThread::msleep(1);
    if (!hilo.getResultado().ok) state.SkipWithError(qPrintable(hilo.getResultado().error));
    paginas = hilo.paginas();
  }
  state.counters["paginas"] = paginas;
  TmiddleTier mt(*t.conexion);
  mt.setQuery(
      "SELECT COUNT(*) FROM puntoOperacion WHERE ticketNo > 5000000 AND facturadoMetodo = '2'");
  state.counters["facturados"] = mt.scalar().toInt();
}

BENCHMARK(BM_ControlTicketsCruda)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ControlTickets)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ActualizaEstado10000)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_SondeoEstado10000)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (auto& t : gTiendas) t.reset();
  return 0;
}
