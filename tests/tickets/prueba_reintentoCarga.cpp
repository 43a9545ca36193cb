// Uploads that must never overlap, and the background retry of the tickets a flaky connection
// left behind, against the real sandbox on both engines.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include "platform/textoQt.h"
#include "signing/firma.h"
#include "support/SandboxPrueba.h"
#include "tests/tickets/TiendaTickets.h"
#include "tickets/reglas/cargaPendientes.h"
#include "tickets/reglas/reintentoCarga.h"
#include "workers/TgeneraTicketConWS.h"

TEST(ReintentoCarga, PausasCrecientes) {
  const QList<QPair<int, int>> casos = {{0, 60000},  {1, 30000},  {2, 60000},  {3, 120000},
                                        {5, 480000}, {6, 900000}, {40, 900000}};
  for (const auto& [fallos, ms] : casos) EXPECT_EQ(pausaReintentoMs(fallos), ms) << fallos;
}

class CargaSinDuplicar : public PruebaTicketsEnLinea {};

// "Subir Ticket" pressed while the retry (or another station) is still sending the same ticket:
// the second upload does not send it again.
TEST_P(CargaSinDuplicar, DosCargasDelMismoTicketALaVez) {
  const int op = tienda->cat.ventaGuardada(31);
  ASSERT_TRUE(sandbox.modo("lento", 1500));
  TgeneraTicketConWS primera, segunda;
  std::atomic<bool> ocupada1{true}, ocupada2{true};
  primera.generaTicket(op, &ocupada1);
  QTest::qWait(400);  // the first one holds its claim and waits for the service
  QElapsedTimer reloj;
  reloj.start();
  segunda.generaTicket(op, &ocupada2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !ocupada2.load(); }, 10000));
  EXPECT_LT(reloj.elapsed(), 1000);  // answered without waiting for the service
  EXPECT_FALSE(segunda.getResultado().ok);
  EXPECT_EQ(segunda.getResultado().mensaje,
            "El ticket 31 se está cargando en este momento; intente de nuevo en unos segundos");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !ocupada1.load(); }, 10000));
  ASSERT_TRUE(primera.getResultado().ok) << primera.getResultado().mensaje.toStdString();
  EXPECT_EQ(sandbox.tickets().size(), 1);
  EXPECT_EQ(tienda->estado(op), "3");
  // Now it has its identifier: asking again answers it without a call.
  ocupada2 = true;
  segunda.generaTicket(op, &ocupada2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !ocupada2.load(); }, 10000));
  EXPECT_EQ(segunda.getResultado().identificador, primera.getResultado().identificador);
}

TEST_P(CargaSinDuplicar, ElReintentoSubeLoQueQuedoPendiente) {
  const int a = tienda->cat.ventaGuardada(41), b = tienda->cat.ventaGuardada(42);
  tienda->ticket(43, QDateTime::currentDateTime(), "3", "YA-CARGADO");
  TreintentoCargaTickets reintento(localSYS);
  sandbox.detiene();
  TrondaReintento r = reintento.ronda();
  EXPECT_EQ(r.intentados, 1);  // out of reach: the second one is not tried
  EXPECT_EQ(r.cargados, 0);
  EXPECT_EQ(r.pendientes, 2);
  EXPECT_EQ(r.ultimoError, "No se pudo conectar con el servicio de facturación");
  EXPECT_EQ(tienda->estado(a), "");
  EXPECT_EQ(tienda->celda("SELECT cargaReserva FROM puntoOperacion WHERE id = :id", a), "");

  // The service is back: the thread's rounds upload both and announce none pending.
  ASSERT_TRUE(sandbox.arranca({"--usuario", "tienda", "--cuenta", "cuenta1", "--contrasena", "x"}));
  localSYS.urlFacturacion = sandbox.url();
  TreintentoCargaTickets enHilo(localSYS);
  int pendientes = -2;
  QObject::connect(
      &enHilo, &TreintentoCargaTickets::pendientes, qApp, [&](int n) { pendientes = n; },
      Qt::QueuedConnection);
  enHilo.inicia(0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return pendientes != -2; }, 20000));
  EXPECT_EQ(pendientes, 0);
  EXPECT_EQ(enHilo.fallosSeguidos(), 0);
  enHilo.detiene();
  EXPECT_EQ(tienda->estado(a), "3");
  EXPECT_EQ(tienda->estado(b), "3");
  EXPECT_EQ(sandbox.tickets().size(), 2);

  // Without an online account there is nothing to retry.
  tienda->ejecuta("DELETE FROM usuarioEnLinea", {});
  EXPECT_TRUE(reintento.ronda().sinServicio);
}

// "Cargar Pendientes" with more tickets than uploads allowed at once: every flag clears, no more
// than the limit talk to the service at a time, and each ticket is uploaded once.
TEST_P(CargaSinDuplicar, CargarPendientesSinPasarDelLimite) {
  QVector<int> ops;
  for (int n = 51; n <= 55; ++n) ops << tienda->cat.ventaGuardada(n);
  ASSERT_TRUE(sandbox.modo("lento", 300));
  std::vector<std::atomic<bool>> banderas(ops.size());
  QVector<std::atomic<bool>*> punteros;
  for (auto& b : banderas) punteros << &b;
  TcargaPendientes carga(2);
  carga.inicia(ops, punteros);
  EXPECT_TRUE(std::all_of(banderas.begin(), banderas.end(), [](auto& b) { return b.load(); }));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return std::none_of(banderas.begin(), banderas.end(), [](auto& b) { return b.load(); });
      },
      20000));
  EXPECT_EQ(carga.maximoSimultaneas(), 2);
  EXPECT_EQ(carga.cargados(), 5);
  EXPECT_EQ(sandbox.tickets().size(), 5);
  for (int op : ops) EXPECT_EQ(tienda->estado(op), "3");
}

INSTANCIA_AMBOS_MOTORES(CargaSinDuplicar);
