// The screens of the tickets after the sale, driven by their names as a supervisor would, on
// both engines and, where they reach the invoicing service, against the real sandbox.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

#include "checkout/reglas/ticket_venta.h"
#include "facturacion/pdfFacturas.h"
#include "printer/miniPrinter.h"
#include "signing/firma.h"
#include "support/RespondedorPrueba.h"
#include "support/SandboxCorreoPrueba.h"
#include "support/SandboxPrueba.h"
#include "tests/tickets/TiendaTickets.h"
#include "tickets/TFRM_configuracionTicket.h"
#include "tickets/TFRM_controlTickets.h"
#include "tickets/TFRM_facturaGlobal.h"
#include "tickets/TFRM_tickerVer.h"
#include "tickets/reglas/facturaGlobal.h"
#include "tickets/reglas/logoTicket.h"
#include "ui/TFRM_enviarcorreoElectronico.h"
#include "ui/TFRM_facturar.h"

namespace {
QStringList numeros(const QVector<TfilaControl>& filas) {
  QStringList r;
  for (const TfilaControl& f : filas) r << f.ticket;
  return r;
}
}  // namespace

class PantallasTickets : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    tienda = std::make_unique<TiendaTickets>(*db);
    db->llenaLocalSYS(1);
    localSYS.carpetaAplicacion = db->carpeta() + "/";  // receipts and QR codes go there
  }
  std::unique_ptr<TiendaTickets> tienda;
  RespondedorPrueba respondedor;
};

TEST_P(PantallasTickets, ControlMuestraCadaEstadoConSusAcciones) {
  const QDateTime hoy = QDateTime::currentDateTime();
  struct Caso {
    QString estado;
    QStringList opciones;
  };
  const QList<Caso> casos = {
      {"", {"Ver ticket", "Subir Ticket"}},
      {"2", {"Ver ticket", "Ver PDF", "Enviar Correo Electrónico"}},
      {"3", {"Ver ticket", "Facturar"}},
      {"4", {"Ver ticket", "Ver PDF"}},
      {"6", {"Ver ticket"}},
  };
  for (int i = 0; i < casos.size(); ++i)
    tienda->ticket(i + 1, hoy, casos[i].estado, casos[i].estado.isEmpty() ? "" : "ID");
  TFRM_controlTickets c;
  c.uMuestraMenu = false;
  c.buscar();
  ASSERT_EQ(numeros(c.tickets()), (QStringList{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(c.texto("Total"), "$ 991.75");  // 5 × 198.35
  for (int i = 0; i < casos.size(); ++i) {
    c.abreMenu(i);
    EXPECT_EQ(c.opcionesMenu(), casos[i].opciones) << casos[i].estado.toStdString();
    EXPECT_EQ(c.tickets()[i].estado, casos[i].estado);
  }
  // A session of spaces filters nothing; a window after its end is refused and lists nothing.
  c.escribe("No. Sesión", "  ");
  c.buscar();
  EXPECT_EQ(c.tickets().size(), 5);
  c.escribe("Desde", hoy.date().addDays(1).toString(Qt::ISODate));
  c.buscar();
  EXPECT_EQ(respondedor.textos().value(0), "La fecha 'Desde' es posterior a la fecha 'Hasta'.");
  c.escribe("Desde", hoy.date().addDays(-9).toString(Qt::ISODate));
  c.escribe("Hasta", hoy.date().addDays(-8).toString(Qt::ISODate));
  c.buscar();
  EXPECT_TRUE(c.tickets().isEmpty());
  EXPECT_EQ(c.texto("Total"), "$ 0.00");
  // Without an online account nothing is uploaded: the prerequisites say what is missing.
  c.pulsa("Cargar Pendientes");
  EXPECT_EQ(respondedor.textos().last(),
            "No es posible realizar facturación:\r\r - no se encontro: datos de usuario en "
            "línea.\r\rAgregue datos faltantes desde el apartado 'Configuración'.");
}

TEST_P(PantallasTickets, VistaDelTicketYSuReimpresion) {
  const int op = tienda->ticket(7, QDateTime(QDate(2026, 3, 10), QTime(9, 30)), "3", "ID-7");
  const int nunca = tienda->ticket(8, QDateTime::currentDateTime());
  TFRM_tickerVer v;
  v.uOperacionID = op;
  v.buscar();
  EXPECT_EQ(v.texto("No. ticket"), "7");
  EXPECT_EQ(v.texto("Cajero"), "Ana Pérez");
  EXPECT_EQ(v.texto("Total"), "$ 198.35");
  EXPECT_GT(v.filas("Lista"), 0);
  EXPECT_TRUE(v.habilitado("Facturar"));
  v.pulsa("Imprimir");
  const RECticketInfo impreso = v.ultimaImpresion();
  EXPECT_EQ(impreso.ticket.getNumeroTicket(), "7");
  EXPECT_EQ(impreso.ticket.getFecha(), QDateTime(QDate(2026, 3, 10), QTime(9, 30)));
  EXPECT_TRUE(impreso.ticket.getEtiqueta1().getValor().startsWith(
      "Puede realizar su factura electrónica en: "));
  EXPECT_EQ(impreso.ticket.getEtiqueta2().getValor(), "ID-7");
  EXPECT_FALSE(impreso.ticket.getArchivoCBB().isEmpty());
  EXPECT_TRUE(QFile::exists(miniPrinterUltimoTicket().archivoPng));
  // Never uploaded: no invoicing, no portal line, no QR code.
  v.uOperacionID = nunca;
  v.buscar();
  EXPECT_FALSE(v.habilitado("Facturar"));
  v.pulsa("Imprimir");
  EXPECT_TRUE(v.ultimaImpresion().ticket.getEtiqueta1().getValor().isEmpty());
  EXPECT_TRUE(v.ultimaImpresion().ticket.getArchivoCBB().isEmpty());
}

TEST_P(PantallasTickets, LogoDelTicket) {
  QTemporaryDir dir;
  localSYS.carpetaAplicacion = dir.path() + "/";
  const auto imagen = [&](const QString& nombre, int ancho, int alto, const char* formato = "BMP") {
    const QString ruta = dir.filePath(nombre);
    QImage i(ancho, alto, QImage::Format_RGB32);
    i.fill(Qt::darkBlue);
    i.save(ruta, formato);
    return ruta;
  };
  const QString bueno = imagen("bueno.bmp", 300, 110);
  const QString ancho = imagen("ancho.bmp", 301, 110);
  const QString mayusculas = imagen("logo.BMP", 10, 10);
  const QString falso = dir.filePath("falso.bmp");
  QFile f(falso);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("no soy una imagen");
  f.close();
  const QString aviso =
      "¡La imagen no debe ser mayor a 300x110px. Por favor seleccione otra imagen.";
  struct Caso {
    QString archivo, mensaje;
    bool ok;
  };
  const QList<Caso> casos = {
      {bueno, "", true},
      {ancho, aviso, false},
      {imagen("alto.bmp", 300, 111), aviso, false},
      {mayusculas, "El archivo de imagen debe tener extensión '.bmp' ", false},
      {dir.filePath("no-existe.bmp"), "", false},
      {falso, "El archivo 'falso.bmp' no es una imagen BMP que se pueda leer.", false},
  };
  for (const Caso& c : casos) {
    const TResultado r = compruebaArchivoLogo(c.archivo);
    EXPECT_EQ(r.ok, c.ok) << c.archivo.toStdString();
    EXPECT_EQ(r.mensaje, c.mensaje) << c.archivo.toStdString();
  }
  TFRM_configuracionTicket conf;
  conf.init();
  EXPECT_FALSE(conf.visible("Vista Previa"));
  conf.cargaLogo(bueno);
  const QString logo =
      rutaLogoTicket(localSYS.carpetaAplicacion, localSYS.getNegocio().getDatosFiscales().getRfc());
  EXPECT_EQ(QImage(logo).size(), QSize(300, 110));
  // A refused image keeps the logo that was there.
  conf.cargaLogo(ancho);
  EXPECT_EQ(respondedor.textos().last(), aviso);
  EXPECT_EQ(QImage(logo).size(), QSize(300, 110));
  conf.pulsa("Imprimir");
  EXPECT_EQ(conf.ultimaImpresion().archivoLogo, logo);
  EXPECT_EQ(conf.ultimaImpresion().ticket.getNumeroTicket(), "XXX");
  conf.pulsa("Restaurar");
  EXPECT_FALSE(QFile::exists(logo));
  EXPECT_FALSE(conf.visible("Vista Previa"));
  conf.pulsa("Restaurar");  // nothing left to remove
}

INSTANCIA_AMBOS_MOTORES(PantallasTickets);

// The global invoice from its screen against the sandbox: three uploaded tickets.
class FacturaGlobalPantalla : public PruebaTicketsEnLinea {
 protected:
  void SetUp() override {
    PruebaTicketsEnLinea::SetUp();
    if (!db || HasFatalFailure()) return;
    for (int n : {51, 52, 53}) {
      const int op = tienda->cat.ventaGuardada(n);
      subeTicket(op);
      ops << op;
      tienda->ejecuta("UPDATE puntoOperacion SET fechaHora = :f WHERE id = :id",
                      {{"f", QDateTime::currentDateTime()}, {"id", op}});
    }
  }
  // Chooses the rows of `tickets` and presses "Generar Factura Global"; the invoicing screen
  // stamps what it is shown.
  QString factura(const QStringList& tickets) {
    respondedor.manejadores.push_back([](QDialog* d) {
      auto* f = qobject_cast<TFRM_facturar*>(d);
      if (!f) return int(QDialog::Rejected);
      f->BTN_facturarClick();
      return f->result();
    });
    TFRM_facturaGlobal g;
    g.marca("Día", true);
    g.pulsa("Buscar");
    for (int f = 0; f < g.grid().getRowCount(); ++f)
      if (tickets.contains(g.grid().getCelda("Ticket", f))) g.GRD_mainClick(f);
    g.pulsa("Generar Factura Global");
    respondedor.manejadores.clear();
    return g.ultimaFactura();
  }
  QStringList estados() {
    QStringList e;
    for (int op : ops) e << tienda->estado(op);
    return e;
  }
  RespondedorPrueba respondedor;
  QList<int> ops;
};

TEST_P(FacturaGlobalPantalla, SoloConFacturaTimbradaSeMarcan) {
  // Nothing chosen: nothing sent.
  EXPECT_TRUE(factura({}).isEmpty());
  EXPECT_EQ(sandbox.facturas().size(), 0);
  // The service failing or slow: no ticket is marked.
  ASSERT_TRUE(sandbox.modo("error"));
  EXPECT_TRUE(factura({"51", "52"}).isEmpty());
  EXPECT_EQ(estados(), (QStringList{"3", "3", "3"}));
  EXPECT_FALSE(respondedor.textos().isEmpty());
  sandbox.detiene();
  EXPECT_TRUE(factura({"51", "52"}).isEmpty());
  EXPECT_EQ(estados(), (QStringList{"3", "3", "3"}));
  ASSERT_TRUE(sandbox.arrancaParaTienda());
}

TEST_P(FacturaGlobalPantalla, LosElegidosQuedanEnLaFactura) {
  const QString uuid = factura({"51", "53"});
  ASSERT_FALSE(uuid.isEmpty()) << respondedor.textos().join(" | ").toStdString();
  EXPECT_EQ(estados(), (QStringList{"4", "3", "4"}));
  EXPECT_EQ(tienda->ultimaFactura(ops[0]), uuid);
  EXPECT_EQ(tienda->ultimaFactura(ops[2]), uuid);
  // Already in a global invoice: no longer offered.
  TFRM_facturaGlobal g;
  g.marca("Día", true);
  g.pulsa("Buscar");
  ASSERT_EQ(g.grid().getRowCount(), 1);
  EXPECT_EQ(g.grid().getCelda("Ticket", 0), "52");
}

INSTANCIA_AMBOS_MOTORES(FacturaGlobalPantalla);

// Two supervisors recording global invoices over overlapping tickets at the same moment, each
// on its own connection: every ticket ends in one invoice.
TEST(FacturaGlobalConcurrente, CadaTicketEnUnaSolaFactura) {
  auto db = BaseDatosPrueba::crea(Motor::PostgreSQL);
  if (!db) GTEST_SKIP() << "sin PostgreSQL";
  TiendaTickets tienda(*db);
  for (int ronda = 0; ronda < 5; ++ronda) {
    QVector<int> ops;
    for (int n = 0; n < 4; ++n)
      ops << tienda.ticket(ronda * 10 + n + 1, QDateTime::currentDateTime(), "3", "R");
    std::atomic<int> marcados{0};
    const auto supervisor = [&](QVector<int> elegidos, QString uuid) {
      db->conexion().abre();
      marcados +=
          marcaTicketsFacturaGlobal(elegidos, uuid, QDateTime::currentDateTime(), db->conexion());
      db->conexion().cierraHilo();
    };
    std::thread a(supervisor, QVector<int>{ops[0], ops[1], ops[2]}, QStringLiteral("G-A"));
    std::thread b(supervisor, QVector<int>{ops[3], ops[2], ops[1]}, QStringLiteral("G-B"));
    a.join();
    b.join();
    EXPECT_EQ(marcados.load(), 4);
    for (int op : ops) {
      EXPECT_EQ(tienda.estado(op), "4");
      EXPECT_EQ(tienda.celda("SELECT COUNT(*) FROM puntoOperacionAdicional WHERE "
                             "puntoOperacion_id = :id",
                             op),
                "1");
    }
  }
}

// The invoice e-mail as the supervisor sends it: the PDF arrives at the mail sink, and a body
// past what the product carries is refused with its reason and nothing sent.
TEST_P(PantallasTickets, CorreoDeLaFacturaConSuMensaje) {
  const int op = tienda->ticket(5, QDateTime::currentDateTime(), "2", "ID-5");
  tienda->factura(op, "UUID-CORREO-1");
  const QString pdf =
      u_rutaPDFFactura(localSYS.carpetaAplicacion,
                       localSYS.getNegocio().getDatosFiscales().getRfc(), "UUID-CORREO-1");
  ASSERT_TRUE(QDir().mkpath(QFileInfo(pdf).path()));
  QFile f(pdf);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("%PDF-1.4\n%%EOF\n");
  f.close();
  SandboxCorreoPrueba sumidero;
  ASSERT_TRUE(sumidero.arranca());
  localSYS.servidorCorreo = sumidero.urlSmtp();
  localSYS.correoRemitente = "facturas@tienda.mx";

  int recibidosTrasElLargo = -1;
  respondedor.manejadores.push_back([&](QDialog* d) {
    auto* e = qobject_cast<TFRM_enviarcorreoElectronico*>(d);
    e->escribe("Para", "cliente@ejemplo.mx");
    e->escribe("Mensaje", QString(1001, QLatin1Char('x')));
    e->pulsa("Enviar");
    recibidosTrasElLargo = int(sumidero.mensajes().size());
    e->escribe("Mensaje", "Le enviamos su factura.");
    e->pulsa("Enviar");
    return e->result();
  });
  TFRM_enviarcorreoElectronico correo;
  EXPECT_TRUE(correo.initPuntoVenta(op, "UUID-CORREO-1", localSYS));
  EXPECT_EQ(recibidosTrasElLargo, 0);
  EXPECT_EQ(respondedor.textos(),
            QStringList({"El mensaje tiene 1001 caracteres; admite a lo más 1000.",
                         "Factura enviada a cliente@ejemplo.mx"}));
  ASSERT_EQ(sumidero.mensajes().size(), 1);
  EXPECT_EQ(sumidero.mensajes()[0].toObject()["destinatarios"].toArray(),
            QJsonArray{"cliente@ejemplo.mx"});
}
