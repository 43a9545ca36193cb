// The ticket status poll: its window and paging without a network, then the real thread
// against the sandbox on both engines, with the service failing before, during and after.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QTest>

#include "platform/textoQt.h"
#include "signing/firma.h"
#include "support/SandboxPrueba.h"
#include "tests/tickets/TiendaTickets.h"
#include "tickets/reglas/TthreadGetEstadoTicket.h"

TEST(EstadoTickets, Ventana) {
  const QDateTime ahora(QDate(2026, 3, 15), QTime(10, 30));
  struct Caso {
    QDate desde, hasta;
    QDateTime inicio, fin;
  };
  const QList<Caso> casos = {
      {QDate(2026, 3, 1), QDate(2026, 3, 15), QDateTime(QDate(2026, 3, 1), QTime(0, 0)),
       QDateTime(QDate(2026, 3, 15), QTime(23, 59, 59))},
      // Two months back is raised to one month before now.
      {QDate(2026, 1, 15), QDate(2026, 3, 15), ahora.addMonths(-1),
       QDateTime(QDate(2026, 3, 15), QTime(23, 59, 59))},
      // An end before the (raised) start becomes the start.
      {QDate(2026, 1, 1), QDate(2026, 1, 20), ahora.addMonths(-1), ahora.addMonths(-1)},
      {QDate(2026, 3, 10), QDate(2026, 3, 9), QDateTime(QDate(2026, 3, 10), QTime(0, 0)),
       QDateTime(QDate(2026, 3, 10), QTime(0, 0))},
  };
  for (const Caso& c : casos) {
    const TventanaEstado v = ventanaEstadoTickets(QDateTime(c.desde, QTime(9, 0)),
                                                  QDateTime(c.hasta, QTime(9, 0)), ahora);
    EXPECT_EQ(v.inicio, c.inicio) << c.desde.toString().toStdString();
    EXPECT_EQ(v.fin, c.fin) << c.desde.toString().toStdString();
  }
}

TEST(EstadoTickets, Paginas) {
  struct Caso {
    int total;
    int fallaEn;  // index of the call that fails; -1 none
    QList<qint32> llamadas;
    bool ok;
    int aplicados;  // identifiers handed to the update; -1 when it is not called
  };
  const QList<Caso> casos = {
      {250, -1, {0, 100, 200}, true, 250},
      {200, -1, {0, 100, 200}, true, 200},  // one more, empty, page
      {0, -1, {0}, true, 0},
      {250, 1, {0, 100}, false, -1},  // a failing page: nothing is applied
  };
  for (const Caso& c : casos) {
    datosThreadEstadoTicket d = parametrosEstadoTickets({}, {"u", "c", "p"});
    QList<qint32> llamadas;
    int aplicados = -1;
    const int paginas = consultaEstadoTickets(
        d,
        [&](TticketEstadoResultado* r, qint32 inicial) {
          llamadas << inicial;
          if (llamadas.size() - 1 == c.fallaEn) {
            r->error = "Servicio no disponible";
            return;
          }
          r->ok = true;
          r->total = c.total;
          for (int i = inicial; i < std::min(c.total, inicial + 100); ++i) {
            TticketEstado t;
            t.identificador = QString("T%1").arg(i);
            r->tickets.append(t);
          }
        },
        [&](const QStringList& ids, const QHash<QString, TfacturaServicio>&) {
          aplicados = ids.size();
          return true;
        });
    EXPECT_EQ(llamadas, c.llamadas) << c.total;
    EXPECT_EQ(paginas, c.llamadas.size());
    EXPECT_EQ(d.ok, c.ok);
    EXPECT_EQ(aplicados, c.aplicados);
    EXPECT_EQ(mensajeEstadoTickets(d),
              c.ok ? QString("¡Operaciones completadas!")
                   : QString("¡no se logro actualizar el estado de los tickets, intente mas "
                             "tarde!\r(Servicio no disponible)"));
  }
  // A service that promises more than it ever sends does not keep the poll going for ever.
  datosThreadEstadoTicket d = parametrosEstadoTickets({}, {});
  int llamadas = 0;
  consultaEstadoTickets(
      d,
      [&](TticketEstadoResultado* r, qint32) {
        ++llamadas;
        r->ok = true;
        r->total = 1000000;
      },
      [](const QStringList&, const QHash<QString, TfacturaServicio>&) { return true; });
  EXPECT_EQ(llamadas, 1);
  EXPECT_FALSE(d.ok);
  // A database that refuses the update fails the poll, naming the last call's (empty) error.
  d = parametrosEstadoTickets({}, {});
  consultaEstadoTickets(
      d, [](TticketEstadoResultado* r, qint32) { r->ok = true; },
      [](const QStringList&, const QHash<QString, TfacturaServicio>&) { return false; });
  EXPECT_EQ(mensajeEstadoTickets(d),
            "¡no se logro actualizar el estado de los tickets, intente mas tarde!\r()");
}

// Three tickets uploaded to the sandbox, two of them invoiced by their customers at the portal.
class EstadoTicketsServicio : public PruebaTicketsEnLinea {
 protected:
  void SetUp() override {
    PruebaTicketsEnLinea::SetUp();
    if (!db || HasFatalFailure()) return;
    for (int n : {21, 22, 23}) {
      ops << tienda->cat.ventaGuardada(n);
      ids << subeTicket(ops.last());
    }
    facturas << sandbox.facturaEnPortal(ids[0]) << sandbox.facturaEnPortal(ids[2]);
    ASSERT_FALSE(facturas[0].isEmpty());
  }
  datosThreadEstadoTicket sondea(int tiempoEsperaMs = 5000) {
    const QDateTime hoy = QDateTime::currentDateTime();
    TthreadGetEstadoTicket hilo;
    hilo.setTiempoEspera(tiempoEsperaMs);
    hilo.setParametros(
        parametrosEstadoTickets(ventanaEstadoTickets(hoy, hoy, hoy), {"tienda", "cuenta1", "x"}));
    std::atomic<bool> activo{true};
    hilo.inicia(localSYS, &activo);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !activo.load(); }, 30000));
    return hilo.getResultado();
  }
  QStringList estados() {
    QStringList e;
    for (int op : ops) e << tienda->estado(op);
    return e;
  }

  QList<int> ops;
  QStringList ids, facturas;
};

TEST_P(EstadoTicketsServicio, FallasDelServicioNoCambianNada) {
  ASSERT_TRUE(sandbox.modo("error"));
  datosThreadEstadoTicket r = sondea();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error,
            "El servicio de facturación no pudo consultar los tickets (error 500): Servicio no "
            "disponible");
  ASSERT_TRUE(sandbox.modo("lento", 2000));
  r = sondea(400);
  EXPECT_EQ(r.error, "El servicio de facturación no respondió a tiempo");
  // A 500 after the first page: the pages read so far are dropped.
  ASSERT_TRUE(sandbox.modo("normal"));
  datosThreadEstadoTicket d = parametrosEstadoTickets(
      ventanaEstadoTickets(QDateTime::currentDateTime(), QDateTime::currentDateTime(),
                           QDateTime::currentDateTime()),
      {"tienda", "cuenta1", "x"});
  d.registrosPorPagina = 1;
  const TservicioEstado servicio{sandbox.url(), "EKU9003173C9", 5000};
  int paginas = 0;
  consultaEstadoTickets(
      d,
      [&](TticketEstadoResultado* p, qint32 inicial) {
        if (++paginas == 2) sandbox.modo("error");
        dll_obtenerEstadoTicket(servicio, p, d.usuario, d.cuenta, d.contrasenia, d.fechaIni,
                                d.fechaFin, d.registrosPorPagina, inicial, d.ticketEstado);
      },
      [&](const QStringList& lista, const QHash<QString, TfacturaServicio>& f) {
        return actualizaEstadoTicket(lista, 1, conexion(), f);
      });
  EXPECT_EQ(paginas, 2);
  EXPECT_FALSE(d.ok);
  sandbox.detiene();
  r = sondea();
  EXPECT_EQ(r.error, "No se pudo conectar con el servicio de facturación");
  EXPECT_EQ(estados(), (QStringList{"3", "3", "3"}));
}

TEST_P(EstadoTicketsServicio, LosFacturadosEnElPortalQuedanFacturados) {
  const datosThreadEstadoTicket r = sondea();
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(estados(), (QStringList{"2", "3", "2"}));
  EXPECT_EQ(tienda->ultimaFactura(ops[0]), facturas[0]);
  EXPECT_EQ(tienda->ultimaFactura(ops[2]), facturas[1]);
  // Polling again finds the same tickets and changes nothing more.
  EXPECT_TRUE(sondea().ok);
  EXPECT_EQ(
      tienda->celda("SELECT COUNT(*) FROM puntoOperacionAdicional WHERE puntoOperacion_id = :id",
                    ops[0]),
      "1");
}

INSTANCIA_AMBOS_MOTORES(EstadoTicketsServicio);
