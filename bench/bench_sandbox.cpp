// The invoicing sandbox's store: what one ticket upload costs with 10 tickets stored and with
// 100,000 (each write is one synced journal record, so the two should match), and reading the
// status pages of 10,000 tickets invoiced at the portal in pages of 100, as a shop's poll does.
// The upload at 10 tickets is the baseline of the same run.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <map>
#include <memory>

namespace {

const QByteArray EMISOR = "EKU9003173C9";

// One sandbox with `guardados` tickets already stored, and a kept-alive connection to it.
class Sandbox {
 public:
  explicit Sandbox(int guardados, int facturados = 0) {
    uProceso.setStandardErrorFile(QProcess::nullDevice());  // one log line per call
    uProceso.start(QStringLiteral(POS_BINARIOS "/pos-sandbox-facturacion"),
                   {"--puerto", "0", "--datos", uDatos.path()});
    uProceso.waitForReadyRead(10000);
    const QByteArray linea = uProceso.readLine().trimmed();
    if (!linea.startsWith("ESCUCHANDO ")) qFatal("el sandbox no arrancó: %s", linea.constData());
    uPuerto = static_cast<quint16>(linea.mid(11).toUInt());
    uSocket.connectToHost("127.0.0.1", uPuerto);
    if (!uSocket.waitForConnected(5000)) qFatal("sin conexión al sandbox");
    // Invoiced at the portal first (state 2), then uploaded only (state 1), in lots the
    // control call accepts.
    for (const auto& [cuantos, estado] : {std::pair{facturados, 2}, {guardados - facturados, 1}})
      for (int hechos = 0; hechos < cuantos; hechos += 50000)
        genera(qMin(50000, cuantos - hechos), estado);
  }
  ~Sandbox() {
    uProceso.terminate();
    uProceso.waitForFinished(5000);
  }

  // One POST; the status code.
  int post(const QByteArray& ruta, const QByteArray& cuerpo) {
    uSocket.write("POST " + ruta +
                  " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n" +
                  "Content-Length: " + QByteArray::number(cuerpo.size()) + "\r\n\r\n" + cuerpo);
    QByteArray r;
    qsizetype fin = -1;
    qint64 largo = -1;
    while (true) {
      if (fin < 0 && (fin = r.indexOf("\r\n\r\n")) >= 0) {
        const qsizetype i = r.indexOf("Content-Length: ");
        largo = r.mid(i + 16, r.indexOf("\r\n", i) - i - 16).toLongLong();
      }
      if (fin >= 0 && r.size() >= fin + 4 + largo) break;
      if (!uSocket.waitForReadyRead(60000)) qFatal("el sandbox no respondió");
      r += uSocket.readAll();
    }
    uUltimo = r.mid(fin + 4, largo);
    return r.mid(9, 3).toInt();
  }
  const QByteArray& ultimo() const { return uUltimo; }

  QByteArray ticket(qint64 numero) const {
    return R"({"rfc":")" + EMISOR +
           R"(","usuario":"tienda","cuenta":"cuenta1","contrasena":"x","ticket":{"ticketNo":)" +
           QByteArray::number(numero) +
           R"(,"fechaHora":"2026-01-31T13:45:10","subtotal":100,"descuento":0,"impuestos":16,)"
           R"("total":116,"conceptos":[{"cantidad":1,"descripcion":"Café de olla",)"
           R"("precioUnitario":100,"importe":100}],"pagos":[{"formaPago":"01","importe":116}]}})";
  }

 private:
  void genera(int cantidad, int estado) {
    const QJsonObject cuerpo{
        {"rfc", QString::fromLatin1(EMISOR)}, {"cantidad", cantidad}, {"estado", estado}};
    if (post("/control/tickets/generar", QJsonDocument(cuerpo).toJson()) != 201)
      qFatal("no se generaron los tickets: %s", uUltimo.constData());
  }

  QTemporaryDir uDatos;
  QProcess uProceso;
  QTcpSocket uSocket;
  quint16 uPuerto = 0;
  QByteArray uUltimo;
};

// Started once per shape and stopped by main() while Qt is still up.
std::map<std::pair<int, int>, std::unique_ptr<Sandbox>> abiertos;

Sandbox& sandbox(int guardados, int facturados = 0) {
  auto& s = abiertos[{guardados, facturados}];
  if (!s) s = std::make_unique<Sandbox>(guardados, facturados);
  return *s;
}

void BM_SubirTicket(benchmark::State& state) {
  Sandbox& s = sandbox(static_cast<int>(state.range(0)));
  static qint64 numero = 10000000;
  for (auto _ : state)
    if (s.post("/api/v1/tickets", s.ticket(++numero)) != 201) state.SkipWithError("no se guardó");
  state.counters["guardados"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_SubirTicket)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// 10,000 invoiced tickets among 100,000, read page by page: the whole poll per iteration.
void BM_SondeoDeEstado(benchmark::State& state) {
  Sandbox& s = sandbox(100000, 10000);
  const QByteArray hoy = QDate::currentDate().toString(Qt::ISODate).toLatin1();
  int paginas = 0;
  for (auto _ : state) {
    paginas = 0;
    for (qint64 inicial = 0, total = 0; inicial <= total; inicial = ++paginas * 100LL) {
      const QByteArray cuerpo = R"({"rfc":")" + EMISOR +
                                R"(","usuario":"tienda","cuenta":"cuenta1","contrasena":"x",)"
                                R"("fechaIni":")" +
                                hoy + R"(T00:00:00","fechaFin":")" + hoy +
                                R"(T23:59:59","estado":1,"registroInicial":)" +
                                QByteArray::number(inicial) + R"(,"registrosPorPagina":100})";
      if (s.post("/api/v1/tickets/estado", cuerpo) != 200) state.SkipWithError("página rechazada");
      total = QJsonDocument::fromJson(s.ultimo()).object().value("total").toInteger();
    }
  }
  state.counters["paginas"] = paginas;
}
BENCHMARK(BM_SondeoDeEstado)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  abiertos.clear();
  return 0;
}
