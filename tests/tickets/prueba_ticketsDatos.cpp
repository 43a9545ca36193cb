// Data operations of the tickets after the sale, on both engines: the two lists, one ticket as
// its view reads it, the status poll's update, the upload claim and the global invoice's marks.
#include <gtest/gtest.h>

#include "operaciones/cargaTicket.h"
#include "operaciones/impuestos.h"
#include "operaciones/tickets.h"
#include "platform/textoQt.h"
#include "support/FilasPrueba.h"
#include "tests/tickets/TiendaTickets.h"
#include "tickets/reglas/facturaGlobal.h"
#include "util/utilerias.h"

namespace {
QList<int> columna(const CmidTierResponse& r, const char* alias) {
  QList<int> v;
  for (int i = 0; i < r.getRowCount(); ++i) v << r.getCeldaAsInt(QLatin1String(alias), i);
  return v;
}
const QDate D(2026, 3, 10);
QDateTime a(int dias, int hora = 12) { return QDateTime(D.addDays(dias), QTime(hora, 0)); }
QVariant nulo() { return QVariant(QMetaType::fromType<int>()); }
}  // namespace

class TicketsDatos : public PruebaAmbosMotores {};

TEST_P(TicketsDatos, ListaDeControlDeTickets) {
  TiendaTickets t(*db);
  const int s1 = t.cat.cajaAbierta(1, "E1", 1), s2 = t.cat.cajaAbierta(2, "E2", 1);
  t.ticket(1, a(0, 0), "", "", s1);  // midnight: the first second of the day counts
  t.ticket(2, a(0, 23), "3", "ID2", s2);
  const int op3 = t.ticket(3, a(1), "2", "ID3", s1);
  t.factura(op3, "F3-VIEJA");
  t.factura(op3, "F3");
  t.ticket(4, a(3), "", "", s2);
  struct Caso {
    QVariant sesion;
    int desde, hasta;
    QVariant estado;
    QList<int> tickets;
  };
  const QList<Caso> casos = {
      {nulo(), 0, 0, nulo(), {1, 2}},   {nulo(), 0, 1, nulo(), {1, 2, 3}},
      {s2, 0, 3, nulo(), {2, 4}},       {nulo(), 0, 3, 0, {1, 4}},
      {nulo(), 0, 3, 2, {3}},           {nulo(), 1, 0, nulo(), {}},
      {nulo(), 0, 3, 99, {1, 2, 3, 4}},  // an index the filter does not know filters nothing
  };
  for (const Caso& c : casos) {
    const CmidTierResponse r = buscarOperacionesporSesionFecha(
        c.sesion, a(c.desde, 17), a(c.hasta, 6), nulo(), c.estado, 1, conexion());
    ASSERT_TRUE(r.ok()) << r.getError().toStdString();
    EXPECT_EQ(columna(r, "puntoOperacion_ticketNo"), c.tickets)
        << c.desde << ".." << c.hasta << " " << c.estado.toInt();
  }
  const CmidTierResponse r =
      buscarOperacionesporSesionFecha(nulo(), a(0), a(1), nulo(), nulo(), 1, conexion());
  // Only state 3 may be invoiced; the last invoice of a ticket is the one listed.
  EXPECT_TRUE(filasComo(
      r, {"_facturar", "puntoOperacion_uuid", "puntoOperacionAdicional_uuid", "puntoCajaSesion_id"},
      {QString("*|*|*|%1").arg(s1), "1|ID2|*|*", "0|*|F3|*"}));
  EXPECT_DOUBLE_EQ(r.getCeldaAsFloat("puntoOperacion_total", 0), 198.35);
  // Another business sees none of them.
  EXPECT_EQ(buscarOperacionesporSesionFecha(nulo(), a(0), a(3), nulo(), nulo(), 2, conexion())
                .getRowCount(),
            0);
}

TEST(PeriodoFacturaGlobal, DiasDeCadaPeriodo) {
  const QDate hoy(2026, 3, 31), fecha(2026, 1, 15);
  struct Caso {
    int periodo;
    QDate desde, hasta;
  };
  for (const Caso& c : QList<Caso>{{1, fecha, fecha},
                                   {2, QDate(2026, 3, 25), hoy},
                                   {3, QDate(2026, 3, 1), hoy},  // Feb 28 + 1 day
                                   {4, QDate(2026, 2, 1), hoy},
                                   {0, {}, {}}}) {
    const TperiodoFechas p = periodoFacturaGlobal(c.periodo, fecha, hoy);
    EXPECT_EQ(p.desde, c.desde) << c.periodo;
    EXPECT_EQ(p.hasta, c.hasta) << c.periodo;
  }
}

TEST_P(TicketsDatos, ListaDeFacturaGlobal) {
  TiendaTickets t(*db);
  const QDate hoy = QDate::currentDate();
  t.ticket(1, QDateTime(hoy, QTime(9, 0)), "3", "ID1");
  t.ticket(2, QDateTime(hoy, QTime(10, 0)), "2", "ID2");
  t.ticket(3, QDateTime(hoy, QTime(11, 0)), "3", "");
  t.ticket(4, QDateTime(hoy.addDays(-3), QTime(11, 0)), "3", "ID4");
  t.ticket(5, QDateTime(hoy.addDays(-40), QTime(11, 0)), "3", "ID5");
  struct Caso {
    int periodo;
    QList<int> tickets;
  };
  for (const Caso& c :
       QList<Caso>{{1, {1, 3}}, {2, {4, 1, 3}}, {4, {5, 4, 1, 3}}, {0, {5, 4, 1, 3}}}) {
    const CmidTierResponse r = buscarOperacionesPorDiaSemanaMes(c.periodo, hoy, 3, 1, conexion());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(columna(r, "puntoOperacion_ticketNo"), c.tickets) << c.periodo;
  }
  const CmidTierResponse r = buscarOperacionesPorDiaSemanaMes(1, hoy, 3, 1, conexion());
  // -1: no identifier at the service.
  EXPECT_TRUE(filasComo(r, {"_facturar", "puntoOperacion_uuid", "puntoOperacion_descuento"},
                        {"0|ID1|5", "-1|*|*"}));
}

TEST_P(TicketsDatos, UnTicketComoLoLeeSuVista) {
  TiendaTickets t(*db);
  const int op = t.ticket(7, a(0), "3", "ID7");
  const CmidTierResponse c = buscaTicketPorOperacionID(op, 1, conexion());
  EXPECT_TRUE(filasComo(
      c, {"nombre", "puntoOperacion_ticketNo", "puntoOperacion_uuid", "puntoOperacion_impuestos"},
      {"Ana Pérez|7|ID7|15.55"}));
  EXPECT_EQ(buscaTicketPorOperacionID(op, 2, conexion()).getRowCount(), 0);

  const CmidTierResponse d = buscaTicketDetallePorOperacionID(op, 1, conexion());
  EXPECT_TRUE(filasComo(d, {"inventarioProducto_nombre", "puntoOperacionDetalle_cantidad"},
                        {"Coca Cola 600|*", "*|0.755"}));  // in the sale's order
  for (const char* alias : {"puntoOperacionDetalle_kitID", "puntoOperacionDetalle_promocionID",
                            "puntoOperacionDetalle_cabecera", "inventarioCategoria_etiqueta",
                            "_precioConIMPT", "puntoOperacionDetalle_importe"})
    EXPECT_TRUE(d.tieneColumna(alias)) << alias;
  for (int f = 0; f < 2; ++f) {  // the line's amount, and its unit price with taxes
    EXPECT_GT(d.getCeldaAsFloat("puntoOperacionDetalle_importe", f), 0);
    EXPECT_NEAR(d.getCeldaAsFloat("_precioConIMPT", f) *
                    d.getCeldaAsFloat("puntoOperacionDetalle_cantidad", f),
                d.getCeldaAsFloat("puntoOperacionDetalle_importe", f), 0.005);
  }

  struct Caso {
    QString guardado;
    int leido;
  };
  for (const Caso& e : QList<Caso>{{"", 0}, {"3", 3}, {"6", 6}}) {
    t.ejecuta("UPDATE puntoOperacion SET facturadoMetodo = :e WHERE id = :id",
              {{"e", e.guardado}, {"id", op}});
    EXPECT_EQ(buscaTicketEstadoFacturadoPorOperacionID(op, conexion()), e.leido);
  }
  EXPECT_EQ(buscaTicketEstadoFacturadoPorOperacionID(op + 100, conexion()), -1);

  TFormasPago formas;
  ASSERT_TRUE(buscaFormaDePagoPorTicket(op, 1, conexion(), formas));
  EXPECT_EQ(formas[0].valor, "100");
  EXPECT_EQ(formas[1].nombre, "Visa");
  EXPECT_EQ(formas[1].id, 4);
  EXPECT_EQ(formas[1].referencia, "AUT-4411");
  EXPECT_TRUE(formas[2].valor.isEmpty());
  EXPECT_TRUE(formas[6].nombre.isEmpty());
}

TEST_P(TicketsDatos, ActualizaEstadoSoloDeTicketsCargados) {
  TiendaTickets t(*db);
  const int a1 = t.ticket(1, a(0), "3", "A"), b = t.ticket(2, a(0), "3", "B"),
            c = t.ticket(3, a(0), "3", "C"), d = t.ticket(4, a(0), "4", "D");
  t.factura(d, "GLOBAL");
  const QDateTime timbrado(D, QTime(18, 2, 11));
  ASSERT_TRUE(actualizaEstadoTicket({"A", " D ", "NO-EXISTE", "B", ""}, 1, conexion(),
                                    {{"A", {"FACT-A", timbrado}}, {"D", {"FACT-D", timbrado}}}));
  // {state, last invoice} of A, B, C and D.
  EXPECT_EQ(QStringList({t.estado(a1), t.ultimaFactura(a1), t.estado(b), t.ultimaFactura(b),
                         t.estado(c), t.estado(d), t.ultimaFactura(d)}),
            QStringList({"2", "FACT-A", "2", "", "3", "4", "GLOBAL"}));
  EXPECT_EQ(u_leeFechaHora(t.celda("SELECT facturadoFecha FROM puntoOperacion WHERE id = :id", a1)),
            timbrado);
  // Another business's identifiers are not the caller's.
  ASSERT_TRUE(actualizaEstadoTicket({"C"}, 2, conexion()));
  EXPECT_EQ(t.estado(c), "3");

  // The invoice lines cannot be written: nothing of the update stays.
  t.ejecuta("DROP TABLE puntoOperacionAdicional", {});
  QString error;
  EXPECT_FALSE(actualizaEstadoTicket({"C"}, 1, conexion(), {{"C", {"FACT-C", timbrado}}}, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(t.estado(c), "3");
}

TEST_P(TicketsDatos, ReservaDeCargaYPendientes) {
  TiendaTickets t(*db);
  const int op = t.ticket(1, a(0)), otro = t.ticket(2, a(1));
  t.ticket(3, a(2), "3", "ID3");
  EXPECT_EQ(cuentaTicketsPendientesCarga(1, conexion()), 2);
  EXPECT_EQ(buscaTicketsPendientesCarga(1, 10, conexion()), (QVector<int>{op, otro}));
  EXPECT_EQ(buscaTicketsPendientesCarga(1, 1, conexion()), (QVector<int>{op}));

  const QDateTime ahora = QDateTime::currentDateTime().addSecs(-1);
  EXPECT_EQ(reservaTicketParaCarga(op, 1, "E1/a", ahora, conexion()), 1);
  EXPECT_EQ(reservaTicketParaCarga(op, 1, "E2/b", ahora.addSecs(5), conexion()), 0);
  EXPECT_EQ(reservaTicketParaCarga(op, 2, "E2/b", ahora, conexion()), 0);  // not the business's
  // A claim nobody let go of is taken over once it is old.
  EXPECT_EQ(
      reservaTicketParaCarga(op, 1, "E2/b", ahora.addSecs(RESERVA_CARGA_SEGUNDOS + 1), conexion()),
      1);
  liberaReservaCarga(op, "E1/a", conexion());  // not the holder's any more: nothing
  EXPECT_EQ(
      reservaTicketParaCarga(op, 1, "E3/c", ahora.addSecs(RESERVA_CARGA_SEGUNDOS + 2), conexion()),
      0);
  liberaReservaCarga(op, "E2/b", conexion());
  EXPECT_EQ(reservaTicketParaCarga(op, 1, "E3/c", ahora, conexion()), 1);
  ASSERT_EQ(marcaTicketCargado(op, 1, "ID1", conexion()), 1);
  EXPECT_EQ(t.celda("SELECT cargaReserva FROM puntoOperacion WHERE id = :id", op), "");
  EXPECT_EQ(reservaTicketParaCarga(op, 1, "E4/d", ahora, conexion()), 0);  // uploaded
  EXPECT_EQ(cuentaTicketsPendientesCarga(1, conexion()), 1);
}

TEST_P(TicketsDatos, ImpuestosDeUnTicketEnLaFacturaGlobal) {
  TiendaTickets t(*db);
  const int op = t.ticket(1, a(0), "3", "ID1");
  const TticketImpuestos i = obtieneImpuestosGlobalTicket(op, conexion());
  EXPECT_TRUE(i.impuestos[0].vacio());  // no IEPS
  const Timpuesto& iva = i.impuestos[1];
  EXPECT_EQ(iva.clave, "002");
  EXPECT_EQ(iva.tipo, "Traslado");
  EXPECT_EQ(iva.tasa, "0.160000");
  EXPECT_EQ(iva.base, "97.2");      // 3 × 32.40 with its noise forgiven; the 0 % line stays out
  EXPECT_EQ(iva.importe, "15.55");  // 15.552 cut to the cent
  for (int k = 2; k < 5; ++k) EXPECT_TRUE(i.impuestos[k].vacio());
}

TEST_P(TicketsDatos, FacturaGlobalMarcaSoloLosQueSiguenCargados) {
  TiendaTickets t(*db);
  const int a1 = t.ticket(1, a(0), "3", "A"), b = t.ticket(2, a(0), "3", "B"),
            c = t.ticket(3, a(0), "4", "C");
  t.factura(c, "OTRA-GLOBAL");
  QString error;
  EXPECT_EQ(marcaTicketsFacturaGlobal({a1, b, c}, "G-1", QDateTime::currentDateTime(), conexion(),
                                      &error),
            2);
  EXPECT_EQ(t.estado(a1), "4");
  EXPECT_EQ(t.ultimaFactura(b), "G-1");
  EXPECT_EQ(t.ultimaFactura(c), "OTRA-GLOBAL");
  // The same invoice marked again (a second station with the same answer) changes nothing.
  EXPECT_EQ(marcaTicketsFacturaGlobal({a1, b}, "G-1", QDateTime::currentDateTime(), conexion()), 0);
  EXPECT_EQ(
      t.celda("SELECT COUNT(*) FROM puntoOperacionAdicional WHERE puntoOperacion_id = :id", a1),
      "1");
}

TEST_P(TicketsDatos, PeticionDeFacturaGlobal) {
  TiendaTickets t(*db);
  db->llenaLocalSYS(1);
  const int op1 = t.ticket(1, a(0), "3", "REF-1"), op2 = t.ticket(2, a(0), "3", "REF-2");
  // The second ticket was paid mostly by card: 150 of its 198.35.
  t.ejecuta(
      "UPDATE puntoFormaPagoAplicada SET valor = '48.35', importe = 48.35 WHERE "
      "puntoOperacion_id = :id AND posicion = 0",
      {{"id", op2}});
  t.ejecuta(
      "UPDATE puntoFormaPagoAplicada SET valor = '150', importe = 150 WHERE "
      "puntoOperacion_id = :id AND posicion = 1",
      {{"id", op2}});
  const datosFacturar d = preparaFacturaGlobal({{op1, "1", "187.8", "1.239", "198.359", "REF-1"},
                                                {op2, "2", "187.8", "5", "198.35", "REF-2"}},
                                               localSYS.getNegocio(), conexion());
  EXPECT_EQ(d.ticketsReferencia, (QStringList{"REF-1", "REF-2"}));
  EXPECT_EQ(d.formaPago, "04");  // 150 by card beats 100 in cash
  EXPECT_EQ(d.receptorRfc, "XAXX010101000");
  EXPECT_EQ(d.usoCFDI, "P01");
  EXPECT_EQ(d.numColumnas, 13);
  EXPECT_EQ(d.numFilas, 2);
  EXPECT_TRUE(filasComo(
      d.conceptos,
      {"inventarioProducto_clave", "_cantidad", "inventarioProducto_nombre", "_descuento"},
      {"*|1|*|1.23", "2|*|Venta|*"}));
  EXPECT_EQ(d.subtotal, "375.6");
  EXPECT_EQ(d.descuento, "6.23");
  EXPECT_EQ(d.total, "396.7");
  ASSERT_EQ(d.impuestos.size(), 2);
  EXPECT_EQ(d.impuestos[1].impuestos[1].importe, "15.55");
}

INSTANCIA_AMBOS_MOTORES(TicketsDatos);
