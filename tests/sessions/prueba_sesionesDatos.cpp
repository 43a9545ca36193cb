// Looking back at sessions on both engines: what the session view and the closings control
// read, against amounts worked out by hand from the store in TiendaSesiones.h, and the chart
// data built from those tables.
#include <gtest/gtest.h>

#include "operaciones/sesiones.h"
#include "sessions/TiendaSesiones.h"
#include "sessions/reglas/consultaSesion.h"

namespace {

class SesionesDatos : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (db) t = std::make_unique<TiendaSesiones>(conexion());
  }
  std::unique_ptr<TiendaSesiones> t;
};

QStringList columna(const CmidTierResponse& r, int c) {
  QStringList v;
  for (int f = 0; f < r.getRowCount(); ++f) v << r.getCelda(c, f);
  return v;
}

TEST_P(SesionesDatos, TicketsProductosYMetodosDeLaSesion) {
  const int a = t->sesionA;
  EXPECT_DOUBLE_EQ(calculaSesionTotal(a, 1, conexion()), 1422.36);

  const CmidTierResponse tickets = buscarOperacionesporSesion(a, 1, conexion());
  ASSERT_TRUE(tickets.ok()) << tickets.getError().toStdString();
  ASSERT_EQ(tickets.getRowCount(), 3);
  qint64 centavos = 0;
  for (int f = 0; f < 3; ++f) {
    EXPECT_EQ(tickets.getCeldaAsInt("puntoOperacion_ticketNo", f), f + 1);
    centavos += std::llround(tickets.getCeldaAsFloat("puntoOperacion_total", f) * 100);
  }
  EXPECT_EQ(centavos, 142236);
  EXPECT_EQ(tickets.getCelda("puntoOperacion_fechaHora", 0), "2026-03-02 09:10:00");
  EXPECT_EQ(tickets.getCelda("puntoOperacion_uuid", 0), "");
  EXPECT_EQ(tickets.getCelda("puntoOperacion_uuid", 2), "UUID-T3");
  EXPECT_EQ(tickets.getCelda("puntoOperacion_facturadoFecha", 2), "2026-03-02 11:15:00");

  // Kit header left out; its component and the loose sales of a product added up.
  const CmidTierResponse productos = buscaOperacionesDetalleConsolidadoPorSesion(a, 1, conexion());
  ASSERT_TRUE(productos.ok()) << productos.getError().toStdString();
  EXPECT_EQ(columna(productos, 1), (QStringList{"Café de olla a granel", "Coca Cola 600"}));
  ASSERT_EQ(productos.getRowCount(), 2);
  EXPECT_NEAR(productos.getCeldaAsFloat("puntoOperacion_cantidad", 0), 2.255, 1e-9);
  EXPECT_NEAR(productos.getCeldaAsFloat("puntoOperacion_cantidad", 1), 5, 1e-9);

  // Cash net of change first; the empty cash line of the card sale adds nothing.
  const CmidTierResponse metodos = buscaTotalesMetodoDePagoPorSesion(a, 1, conexion());
  ASSERT_TRUE(metodos.ok()) << metodos.getError().toStdString();
  EXPECT_EQ(columna(metodos, 1), (QStringList{"Efectivo", "Tarjeta", "Transferencia"}));
  EXPECT_EQ(columna(metodos, 2), (QStringList{"1097.20", "90.60", "234.56"}));
  EXPECT_EQ(totalesPorMetodo(metodos).total(), 142236);

  // The open session answers what it holds so far.
  EXPECT_DOUBLE_EQ(calculaSesionTotal(t->sesionB, 1, conexion()), 50);
  EXPECT_EQ(columna(buscaTotalesMetodoDePagoPorSesion(t->sesionB, 1, conexion()), 2),
            QStringList{"50.00"});
}

TEST_P(SesionesDatos, OtroNegocioYSesionesQueNoExisten) {
  struct Caso {
    int sesion;
    int negocio;
    bool existe;
    double total;
    int tickets;
  };
  const QList<Caso> casos = {
      {t->sesionOtro, 1, false, 0, 0},
      {t->sesionOtro, 2, true, 70, 1},
      {t->sesionA, 2, false, 999, 1},  // business 2's ticket naming A is its only
      {999999, 1, false, 0, 0},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.sesion * 10 + c.negocio);
    EXPECT_EQ(buscaSesionPorID(c.sesion, c.negocio, conexion()).getRowCount(), c.existe ? 1 : 0);
    EXPECT_DOUBLE_EQ(calculaSesionTotal(c.sesion, c.negocio, conexion()), c.total);
    EXPECT_EQ(buscarOperacionesporSesion(c.sesion, c.negocio, conexion()).getRowCount(), c.tickets);
  }
  EXPECT_EQ(buscaOperacionesDetalleConsolidadoPorSesion(999999, 1, conexion()).getRowCount(), 0);
  const CmidTierResponse vacio = buscaTotalesMetodoDePagoPorSesion(999999, 1, conexion());
  EXPECT_TRUE(vacio.ok());
  EXPECT_EQ(vacio.getRowCount(), 0);

  TencabezadoSesion e;
  EXPECT_EQ(buscaEncabezadoSesion(t->sesionOtro, 1, conexion(), &e).mensaje,
            QString("La sesión %1 no existe en este negocio.").arg(t->sesionOtro));
  ASSERT_TRUE(buscaEncabezadoSesion(t->sesionA, 1, conexion(), &e).ok);
  EXPECT_FALSE(e.abierta);
  EXPECT_EQ(describeSesion(e), "Caja: Caja · Cajero: Ana Pérez López · Apertura: " +
                                   e.apertura.toString("dd/MM/yyyy HH:mm") +
                                   " · Cierre: 02/03/2026 18:00");
  ASSERT_TRUE(buscaEncabezadoSesion(t->sesionB, 1, conexion(), &e).ok);
  EXPECT_TRUE(describeSesion(e).endsWith("Sesión abierta: sus totales aún pueden cambiar"));
}

TEST_P(SesionesDatos, CortesPorFechasYCajero) {
  const QDate d = TiendaSesiones::kDia;
  const QVariant todos;
  struct Caso {
    QDate desde, hasta;
    QVariant cajero;
    QStringList montos;
  };
  const QList<Caso> casos = {
      {d, d, todos, {"300", "1297.2"}},
      {d, d.addDays(1), todos, {"300", "1297.2", "20"}},
      {d.addDays(1), d.addDays(1), todos, {"20"}},
      {d, d.addDays(1), QVariant(t->beto), {"20"}},
      {d.addDays(-3), d.addDays(-1), todos, {}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.desde.toString(Qt::ISODate).toStdString() + " " +
                 c.cajero.toString().toStdString());
    const CmidTierResponse r = filtrarCortes(c.desde, c.hasta, c.cajero, conexion(), 1);
    ASSERT_TRUE(r.ok()) << r.getError().toStdString();
    EXPECT_EQ(columna(r, r.columna("puntoCorte_monto")), c.montos);
  }
  const CmidTierResponse r = filtrarCortes(d, d.addDays(1), todos, conexion(), 1);
  EXPECT_EQ(columna(r, r.columna("_tipo")), (QStringList{"Corte", "Cierre", "Corte"}));
  EXPECT_EQ(r.getCelda("_nombreCompleto", 1), "Ana Pérez López");
  EXPECT_EQ(r.getCeldaAsInt("puntoCajaSesion_id", 2), t->sesionB);
  EXPECT_EQ(r.getCelda("puntoCajaSesion_cajaNombre", 0), "Caja");

  const TdatosGrafica g = retirosPorDiaYCajero(r);
  EXPECT_EQ(g.categorias, (QStringList{"02/03", "03/03"}));
  ASSERT_EQ(g.series.size(), 2);
  EXPECT_EQ(g.series[0].nombre, "Ana Pérez López");
  EXPECT_EQ(g.series[0].centavos, (QVector<qint64>{159720, 0}));
  EXPECT_EQ(g.series[1].centavos, (QVector<qint64>{0, 2000}));
  EXPECT_EQ(g.maximo(), 159720);
}

INSTANCIA_AMBOS_MOTORES(SesionesDatos);

TEST(ConsultaSesion, NumeroTecleado) {
  struct Caso {
    const char* texto;
    bool ok;
    int sesion;
    const char* mensaje;
  };
  const Caso casos[] = {
      {" 42 ", true, 42, ""},
      {"", false, 0, ""},
      {"   ", false, 0, ""},
      {"12a", false, 0, "El número de sesión solo admite dígitos: \"12a\" no es un número."},
      {"-5", false, 0, "El número de sesión solo admite dígitos: \"-5\" no es un número."},
      {"0", false, 0, "La sesión 0 no existe en este negocio."},
      {"99999999999", false, 0, "La sesión 99999999999 no existe en este negocio."},
  };
  for (const Caso& c : casos) {
    int sesion = 0;
    const TResultado r = leeNumeroSesion(QString::fromUtf8(c.texto), &sesion);
    EXPECT_EQ(r.ok, c.ok) << c.texto;
    EXPECT_EQ(sesion, c.sesion) << c.texto;
    EXPECT_EQ(r.mensaje, QString::fromUtf8(c.mensaje)) << c.texto;
  }
}

TEST(ConsultaSesion, VentasPorHoraConHorasSinVenta) {
  CmidTierResponse t;
  t.setColumnas({"puntoOperacion_fechaHora", "puntoOperacion_total"});
  t.agregaFila({"2026-03-02 09:10:00", "0.1"});
  t.agregaFila({"2026-03-02 09:59:59", "0.2"});
  t.agregaFila({"2026-03-02 12:00:00", "99999999.99"});
  t.setOk(true);
  const TdatosGrafica g = ventasPorHora(t);
  EXPECT_EQ(g.categorias, (QStringList{"9 h", "10 h", "11 h", "12 h"}));
  ASSERT_EQ(g.series.size(), 1);
  EXPECT_EQ(g.series[0].centavos, (QVector<qint64>{30, 0, 0, 9999999999}));
  EXPECT_TRUE(ventasPorHora(CmidTierResponse()).vacia());
}

}  // namespace
