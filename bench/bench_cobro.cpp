// The cashier's steps on the real screens (offscreen), each beside the data work it is built
// on, in the same run:
// - a cash sale of 20 lines from "Aceptar" to the register ready for the next sale, with the
//   invoicing sandbox answering the upload, beside storing the same sale (and, to show what of
//   the rest is the service's, the upload alone);
// - a name search from Enter to its 60 tiles drawn, beside the search query.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QImageWriter>
#include <QProcess>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "catalogo/importador.h"
#include "checkout/TFRM_cerrarPuntoVenta.h"
#include "checkout/reglas/ticket_venta.h"
#include "context/TsistemaDatos.h"
#include "db/TmiddleTier.h"
#include "db/esquema.h"
#include "generador/generadorCatalogo.h"
#include "host/ArranqueEstacion.h"
#include "host/ConfiguracionEstacion.h"
#include "operaciones/inventario.h"
#include "operaciones/productos.h"
#include "printer/composicionTicket.h"
#include "printer/dibujoTicket.h"
#include "printer/miniPrinter.h"
#include "resources/recursos.h"
#include "sale/TFRM_caja.h"
#include "signing/firma.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"
#include "workers/TgeneraTicketConWS.h"
#include "workers/esperaBanderas.h"

namespace {

constexpr int kLineas = 20;

// Pays the checkout in cash and closes it, as the cashier does: the checkout is on screen and
// drawn (as its modal run would show it), and the completion panel is drawn before "Cerrar".
class Cajero : public TRespondedorModal {
 public:
  void mensaje(const QString& texto, int) override { ultimoMensaje = texto; }
  bool confirmacion(const QString&) override { return true; }
  int dialogo(QDialog* d) override {
    auto* f = qobject_cast<TFRM_cerrarPuntoVenta*>(d);
    if (!f) return QDialog::Rejected;
    f->show();
    QApplication::processEvents();
    f->enfocaCampo(QStringLiteral("Monto efectivo"));
    for (const QChar ch : QStringLiteral("1000000")) f->teclaNumerica(QString(ch));
    vendida = f->efectuarVenta();
    estadoCarga = f->texto(QStringLiteral("Estado de carga"));
    QApplication::processEvents();
    f->BTN_cerrarClick();
    return vendida ? QDialog::Accepted : QDialog::Rejected;
  }
  bool vendida = false;
  QString ultimoMensaje, estadoCarga;
};

struct Estacion {
  QTemporaryDir carpeta;
  QTemporaryDir datosSandbox;
  QProcess sandbox;
  TOpcionesGenerador opciones;
  Cajero cajero;
  std::unique_ptr<TFRM_caja> caja;
  // Two fragments common enough to fill the 60 tiles; searches alternate between them so each
  // one shows other products than the last.
  QString patrones[2];

  Estacion() {
    sandbox.setStandardErrorFile(QProcess::nullDevice());
    sandbox.start(QStringLiteral(POS_BINARIOS "/pos-sandbox-facturacion"),
                  {"--puerto", "0", "--datos", datosSandbox.path()});
    sandbox.waitForReadyRead(10000);
    const QByteArray linea = sandbox.readLine().trimmed();
    if (!linea.startsWith("ESCUCHANDO ")) qFatal("el sandbox no arrancó: %s", linea.constData());

    const QString base = carpeta.filePath(QStringLiteral("caja.db"));
    // The online user's password is encrypted with the key the station will read.
    signingConfigura(carpeta.path());
    {
      TConexionSesion conexion(base);
      QString error;
      if (!conexion.abre() || !u_aplicaMigraciones(conexion, &error))
        qFatal("base: %s", qPrintable(error));
      opciones.productos = 5000;
      opciones.semilla = 11;
      const TResultadoImportacion r = importaCatalogoJson(conexion, generaCatalogoJson(opciones));
      if (!r.ok) qFatal("importación: %s", qPrintable(r.error));
      TmiddleTier mt(conexion);
      mt.setQuery(QStringLiteral("UPDATE inventarioExistencias SET existencia = 100000000"));
      mt.nonQuery();
    }
    ConfiguracionEstacion conf;
    conf.baseDatos = base;
    conf.idNegocio = opciones.idNegocio;
    conf.carpetaAplicacion = carpeta.path() + QStringLiteral("/");
    conf.estacion = opciones.estacion;
    conf.impresora = carpeta.filePath(QStringLiteral("recibos"));
    conf.urlFacturacion = QStringLiteral("http://127.0.0.1:") + QString::fromLatin1(linea.mid(11));
    conf.enlaceTicket = QStringLiteral("http://portal.prueba/facturar");
    QString error;
    if (!u_preparaEstacion(conf, localSYS, &error)) qFatal("estación: %s", qPrintable(error));
    u_aplicaConfiguracionPlataforma(localSYS);
    u_instalaRespondedor(&cajero);

    caja = std::make_unique<TFRM_caja>();
    caja->resize(1280, 800);
    if (!caja->init()) qFatal("la caja no abrió: %s", qPrintable(cajero.ultimoMensaje));
    caja->showNormal();
    caja->resize(1280, 800);
    QApplication::processEvents();
    QSqlQuery q(localSYS.getConexion().baseDatos());
    q.exec(QStringLiteral("SELECT nombreBusqueda FROM inventarioProducto ORDER BY id"));
    for (int i = 0; i < 2 && q.next();) {
      const QString p = q.value(0).toString().section(QLatin1Char(' '), 0, 0).left(6);
      if (p.size() >= 3 && p != patrones[0]) patrones[i++] = p;
    }
  }
  ~Estacion() {
    caja.reset();
    u_instalaRespondedor(nullptr);
    sandbox.terminate();
    sandbox.waitForFinished(5000);
  }

  // The 20 lines of the next sale, read as the cashier reads them.
  void llenaVenta(int venta) {
    for (int i = 0; i < kLineas; ++i) {
      // The 13th digit starts the lookup.
      caja->teclea(QStringLiteral("Código de barras"),
                   u_codigoBarrasGenerado(opciones.semilla,
                                          (venta * kLineas + i * 37) % opciones.productos));
    }
  }
};

// Built after QApplication and gone before it.
std::unique_ptr<Estacion> gEstacion;
Estacion& estacion() {
  if (!gEstacion) gEstacion = std::make_unique<Estacion>();
  return *gEstacion;
}

// The sale on the register, stored by the package's operation alone, paid with 1,000,000 cash.
rRespuestaPuntoVenta guarda(TLineasVenta& v) {
  TFormasPago f;
  f[0].valor = QStringLiteral("1000000");
  return TConexionInventario().descuentaInventarioFromPuntoVenta(
      u_floatToStr(v.uTotal), u_floatToStr(v.uSubtotal), u_floatToStr(v.uDescuento), "1000000",
      u_floatToStr(1000000 - v.uTotal), u_floatToStr(v.uImpuestos), f, v.lineas(),
      localSYS.getConexion(), localSYS.getIdNegocio(), v.uAlmacen);
}

// Storing the sale: the package's operation alone, on the same lines.
void BM_GuardaVenta20(benchmark::State& state) {
  Estacion& e = estacion();
  e.llenaVenta(0);
  TLineasVenta& v = e.caja->venta();
  for (auto _ : state) {
    const rRespuestaPuntoVenta r = guarda(v);
    if (!r.ok) state.SkipWithError(qPrintable(r.mensaje));
  }
  e.caja->reinicia();
}

// The upload of a sale just stored, as the sale starts it and waits for it: its part of the
// sale that the register cannot shorten (the service's own write is in it).
void BM_CargaTicket(benchmark::State& state) {
  Estacion& e = estacion();
  e.llenaVenta(0);
  TLineasVenta& v = e.caja->venta();
  for (auto _ : state) {
    state.PauseTiming();
    const rRespuestaPuntoVenta r = guarda(v);
    state.ResumeTiming();
    std::atomic<bool> ocupado{true};
    TgeneraTicketConWS carga;
    carga.generaTicket(r.operacionID, &ocupado);
    u_esperaBanderas({&ocupado});
    if (!r.ok || !carga.getResultado().ok) {
      state.SkipWithError(qPrintable(r.mensaje + carga.getResultado().mensaje));
      break;
    }
  }
  e.caja->reinicia();
}

// "Aceptar" to the register empty again: checkout, storing, upload, receipt.
void BM_CobroCompleto20(benchmark::State& state) {
  Estacion& e = estacion();
  int venta = 1;
  for (auto _ : state) {
    state.PauseTiming();
    // The last sale's receipt copies are written (by their own thread) before the next sale
    // starts, as at a register where sales are seconds apart: they are not this sale's work.
    miniPrinterUltimoTicket();
    e.llenaVenta(venta++);
    QApplication::processEvents();
    e.cajero.vendida = false;
    e.cajero.ultimoMensaje.clear();
    state.ResumeTiming();
    e.caja->pulsa(QStringLiteral("Aceptar"));
    QApplication::processEvents();
    if (!e.cajero.vendida || e.caja->venta().lineas().getRowCount() != 0) {
      state.SkipWithError(
          qPrintable(QStringLiteral("la venta no se completó: ") + e.cajero.ultimoMensaje));
      break;
    }
    // A sale whose upload did not reach the sandbox measures less than the cashier waits for.
    if (e.cajero.estadoCarga != QStringLiteral("¡Ticket cargado correctamente!")) {
      state.SkipWithError(qPrintable(QStringLiteral("el ticket no se cargó: ") +
                                     e.cajero.estadoCarga + QLatin1Char(' ') +
                                     e.cajero.ultimoMensaje));
      break;
    }
  }
  state.counters["png_KiB"] = QFileInfo(miniPrinterUltimoTicket().archivoPng).size() / 1024.0;
}

// The fragments a search case types, in turn. Case 0 and 2 (the latter with the sale's lines
// on screen before each search, as after a tile is chosen): two fragments common enough to
// fill the 60 tiles, beside the query on them (case 0). Case 1: fragments whose first names (those
// a search shows in view) no other fragment shows and the first two never showed, so every search
// draws names the screen has not drawn before; each repetition searches 24 of its own, once
// each (a repetition on fragments searched before would find their names drawn).
constexpr int kEnVista = 12;  // the tiles a 1280x800 register shows at once (three rows of four)
constexpr int kBusquedasNuevas = 24;
constexpr int kRepeticiones = 3;

QStringList patronesNuevos(Estacion& e) {
  static QStringList nuevos;
  if (!nuevos.isEmpty()) return nuevos;
  auto primeros = [&](const QString& patron) {
    const CmidTierResponse r =
        filtraProductosPorNombre(QStringLiteral("%") + patron + QStringLiteral("%"), QVariant(true),
                                 localSYS.getIdNegocio(), localSYS.getConexion());
    QStringList nombres;
    const int col = r.columna(QStringLiteral("inventarioProducto_nombre"));
    for (int i = 0; i < std::min(kEnVista, r.getRowCount()); ++i) nombres << r.getCelda(col, i);
    return r.getRowCount() == 60 ? nombres : QStringList();
  };
  QSet<QString> vistos;
  for (const QString& p : e.patrones)
    for (const QString& n : primeros(p)) vistos.insert(n);
  // Candidates: every six-character piece of the names (words alone are too few to give every
  // repetition fragments of its own).
  QSet<QString> piezas;
  QSqlQuery q(localSYS.getConexion().baseDatos());
  q.exec(QStringLiteral("SELECT DISTINCT nombreBusqueda FROM inventarioProducto"));
  while (q.next()) {
    const QString nombre = q.value(0).toString();
    for (int i = 0; i + 6 <= nombre.size(); ++i) piezas.insert(nombre.mid(i, 6));
  }
  QStringList ordenadas(piezas.begin(), piezas.end());
  ordenadas.sort();
  for (const QString& pieza : ordenadas) {
    const QStringList nombres = primeros(pieza);
    if (nombres.isEmpty() || std::any_of(nombres.begin(), nombres.end(),
                                         [&](const QString& n) { return vistos.contains(n); }))
      continue;
    for (const QString& n : nombres) vistos.insert(n);
    nuevos << pieza;
    if (nuevos.size() == kBusquedasNuevas * kRepeticiones) break;
  }
  return nuevos;
}

// `corrida` counts the calls of one benchmark: case 1 gives each its own block of fragments
// (none when the blocks ran out).
QStringList patronesDe(Estacion& e, int caso, int corrida) {
  if (caso != 1) return {e.patrones[0], e.patrones[1]};
  return patronesNuevos(e).mid(corrida * kBusquedasNuevas, kBusquedasNuevas);
}

const char* casoBusqueda(int caso) {
  switch (caso) {
    case 0:
      return "resultados a la vista, dos fragmentos alternados";
    case 1:
      return "nombres nunca dibujados";
    default:
      return "desde la venta (la página de resultados aparece)";
  }
}

void BM_BusquedaNombreConsulta(benchmark::State& state) {
  Estacion& e = estacion();
  static int corridas = 0;
  const QStringList patrones = patronesDe(e, state.range(0), state.range(0) == 1 ? corridas++ : 0);
  if (patrones.size() < (state.range(0) == 1 ? kBusquedasNuevas : 2)) {
    state.SkipWithError("no hay fragmentos para el caso");
    return;
  }
  int filas = 60, i = 0;  // the fewest rows a search answered
  for (auto _ : state) {
    const CmidTierResponse r = filtraProductosPorNombre(
        QStringLiteral("%") + patrones[i++ % patrones.size()] + QStringLiteral("%"), QVariant(true),
        localSYS.getIdNegocio(), localSYS.getConexion());
    filas = std::min(filas, r.getRowCount());
  }
  state.counters["filas"] = filas;
  state.SetLabel(casoBusqueda(state.range(0)));
}

// Typing done, Enter to the tiles on screen.
void BM_BusquedaNombrePantalla(benchmark::State& state) {
  Estacion& e = estacion();
  const int caso = state.range(0);
  static int corridas = 0;
  const QStringList patrones = patronesDe(e, caso, caso == 1 ? corridas++ : 0);
  if (patrones.size() < (caso == 1 ? kBusquedasNuevas : 2)) {
    state.SkipWithError("no hay fragmentos para el caso");
    return;
  }
  // Case 1 starts, as case 0, with results on screen (names drawn before).
  if (caso == 1) {
    e.caja->teclea(QStringLiteral("Buscar por nombre"), e.patrones[0]);
    e.caja->pulsaEnter(QStringLiteral("Buscar por nombre"));
    QApplication::processEvents();
  }
  int tiles = 60, i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // From the sale: the last search's tile was chosen and the sale's lines are on screen.
    if (caso == 2) {
      e.caja->reinicia();
      QApplication::processEvents();
    }
    e.caja->teclea(QStringLiteral("Buscar por nombre"), patrones[i++ % patrones.size()]);
    state.ResumeTiming();
    e.caja->pulsaEnter(QStringLiteral("Buscar por nombre"));
    QApplication::processEvents();
    tiles = std::min<int>(tiles, e.caja->resultados().size());
  }
  state.counters["tiles"] = tiles;
  e.caja->BTN_iniciarClick();
  state.SetLabel(casoBusqueda(caso));
}

// The receipt picture of a 20-line sale, in pieces: drawing it (still on the sale's path),
// encoding it as the sale used to (RGB, zlib's default effort) and as the picture thread now
// does (8-bit grey, fast effort).
QVector<TRenglonTicket> reciboDe20() {
  Estacion& e = estacion();
  e.llenaVenta(0);
  TDatosTicketVenta d;
  d.identificador = QStringLiteral("6f1c2b9e-0d4a-4c1e-9a7b-3e5f8d2c1a00");
  d.ticketNo = 1234;
  d.cajero = QStringLiteral("Rosa Martínez Ortiz");
  d.total = e.caja->venta().uTotal;
  RECticketInfo info;
  info.altoRenglon = 26;
  info.ticket = armaTicketVenta(d, e.caja->venta().lineas());
  info.ticket.getEtiqueta1().setValor(
      QStringLiteral("Puede realizar su factura electrónica en: http://portal.prueba/facturar"));
  info.ticket.getEtiqueta2().setValor(d.identificador);
  e.caja->reinicia();
  return componeTicket(info);
}

void BM_ReciboDibujo(benchmark::State& state) {
  const QVector<TRenglonTicket> renglones = reciboDe20();
  for (auto _ : state) benchmark::DoNotOptimize(dibujaTicket(renglones, 26));
}

void BM_ReciboPng(benchmark::State& state) {
  const QImage recibo = dibujaTicket(reciboDe20(), 26);
  const bool comoAntes = state.range(0) == 0;
  qint64 bytes = 0;
  for (auto _ : state) {
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    if (comoAntes) {
      recibo.save(&b, "PNG");
    } else {
      QImageWriter w(&b, "PNG");
      w.setQuality(80);
      w.write(recibo.allGray() ? recibo.convertToFormat(QImage::Format_Grayscale8) : recibo);
    }
    bytes = b.size();
  }
  state.counters["KiB"] = bytes / 1024.0;
  state.counters["alto"] = recibo.height();
  state.SetLabel(comoAntes ? "RGB, compresión predeterminada" : "gris 8 bits, compresión rápida");
}

// What a search without the tiles' cache drew for each of its 60 tiles.
void BM_TileSinImagenDibujada(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(mini_imagen(QStringLiteral("sinImagen"), QSize(96, 96)));
}

BENCHMARK(BM_GuardaVenta20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CargaTicket)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CobroCompleto20)->Unit(benchmark::kMillisecond);
// A search takes under a millisecond: a burst of load on a shared machine moves one run by
// half again, so both sides report the median of three.
void medianaDeTres(benchmark::internal::Benchmark* b) {
  b->ArgName("caso")
      ->Repetitions(kRepeticiones)
      ->ReportAggregatesOnly(true)
      ->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_BusquedaNombreConsulta)->Arg(0)->Apply(medianaDeTres);
BENCHMARK(BM_BusquedaNombrePantalla)->Arg(0)->Arg(2)->Apply(medianaDeTres);
// Each fragment once: a second pass would find its names drawn.
BENCHMARK(BM_BusquedaNombreConsulta)->Arg(1)->Iterations(kBusquedasNuevas)->Apply(medianaDeTres);
BENCHMARK(BM_BusquedaNombrePantalla)->Arg(1)->Iterations(kBusquedasNuevas)->Apply(medianaDeTres);
BENCHMARK(BM_ReciboDibujo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReciboPng)->Arg(0)->Arg(1)->ArgName("ahora")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TileSinImagenDibujada)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  estacion();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gEstacion.reset();
  return 0;
}
