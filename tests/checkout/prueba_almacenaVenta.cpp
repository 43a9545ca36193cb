#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <mutex>
#include <set>

#include "db/TmiddleTier.h"
#include "operaciones/inventario.h"
#include "operaciones/productos.h"
#include "sale/reglas/lineas_venta.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/ConsultaPrueba.h"
#include "support/FilasPrueba.h"
#include "support/RespondedorPrueba.h"
#include "util/utilerias.h"

namespace {

class AlmacenaVenta : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    cat = std::make_unique<CatalogoPrueba>(conexion());
    cat->negocioBasico();
    cat->producto(1, "Café de olla 250 g", "7501000000011", 100);
    cat->producto(2, "Pan blanco", "7501000000028", 35.5, "0|0|0|0|0");
    cat->producto(3, "Leche entera 1 l", "7501000000035", 26.9, "0|0|0|0|0");
    cat->kit(7, "Kit desayuno", 150, {{2, "1"}, {3, "2"}});
    cat->existencia(1, 10);
    cat->existencia(2, 10);
    cat->existencia(3, 3);
    cat->cajero(1, "Ana");
    cat->cajaAbierta(1, "ESTACION-PRUEBA", 1, 500);
    db->llenaLocalSYS(1);
  }

  double cuenta(const QString& sql) { return sqlValor(conexion(), sql).toDouble(); }
  double existencia(int producto) {
    return cuenta(
        QString("SELECT existencia FROM inventarioExistencias WHERE inventarioProducto_id = %1")
            .arg(producto));
  }
  TFormasPago pagos(const QString& efectivo) {
    TFormasPago f;
    f[0].nombre = "Efectivo";
    f[0].valor = efectivo;
    for (int i = 1; i < 7; ++i) f[i].nombre = "Otro";
    return f;
  }
  rRespuestaPuntoVenta guarda(TLineasVenta& v, const TFormasPago& f,
                              const QString& estacion = QString()) {
    return TConexionInventario().descuentaInventarioFromPuntoVenta(
        u_floatToStr(v.uTotal), u_floatToStr(v.uSubtotal), u_floatToStr(v.uDescuento),
        u_floatToStr(v.uTotal), "0", u_truncaMoneda(u_floatToStr(v.uImpuestos)), f, v.lineas(),
        conexion(), 1, 1, estacion);
  }
  void lee(TLineasVenta& v, const QString& codigo) {
    v.agregarConcepto(filtraProductosPorcodigoBarras(codigo, QVariant(true), 1, conexion()), 0);
  }

  std::unique_ptr<CatalogoPrueba> cat;
  RespondedorPrueba respondedor;
};

TEST_P(AlmacenaVenta, GuardaOperacionLineasPagosYExistencias) {
  TLineasVenta v(localSYS);
  v.uListaPreciosID = cat->listaId();
  lee(v, "7501000000011");
  v.cambiaCantidad(0, 2);
  ASSERT_TRUE(v.agregaKit(7));
  TFormasPago f = pagos("200");
  f[1] = {4, "Tarjeta de crédito", "232.00", "A1", QVariant(1)};
  const rRespuestaPuntoVenta r = guarda(v, f);
  ASSERT_TRUE(r.ok) << r.mensaje.toStdString();
  EXPECT_EQ(r.ticketNo, 1);
  EXPECT_GT(r.operacionID, 0);
  EXPECT_EQ(r.sinExistencia, 0);
  EXPECT_DOUBLE_EQ(existencia(1), 8);
  EXPECT_DOUBLE_EQ(existencia(2), 9);  // kit components leave stock too
  EXPECT_DOUBLE_EQ(existencia(3), 1);

  const QVariantMap id{{"id", r.operacionID}};
  EXPECT_TRUE(filasComo(  // 232 + 174
      sqlLee(conexion(), "SELECT * FROM puntoOperacion WHERE id = :id", id),
      {"total", "impuestos", "puntoCajaSesion_id", "puntoCajero_id", "cajeroNombre", "devuelto",
       "facturadoMetodo"},
      {"406|56|100|1|Ana Pérez López|0|"}));
  // The kit header carries the kit and no product.
  const CmidTierResponse det =
      sqlLee(conexion(),
             "SELECT * FROM puntoOperacionDetalle WHERE puntoOperacion_id = :id ORDER BY fila", id);
  EXPECT_TRUE(
      filasComo(det,
                {"cantidad", "ivaT", "ivaTbase", "precio", "tipoInsercion", "kitID", "cabecera",
                 "inventarioProducto_id"},
                {"2|32|0.16|232|*|*|*|*", "*|*|*|*|2|7|1|", "*|*|*|*|*|*|*|*", "*|*|*|*|*|*|*|3"}));
  EXPECT_EQ(det.getCeldaAsInt("grupo", 2), det.getCeldaAsInt("grupo", 1));
  // All seven payment rows, empty ones included.
  const QString cualquiera = "*|*|*|*|*|*";
  EXPECT_TRUE(filasComo(
      sqlLee(conexion(),
             "SELECT * FROM puntoFormaPagoAplicada WHERE puntoOperacion_id = :id ORDER BY posicion",
             id),
      {"valor", "nombre", "formaPago_id", "importe", "referencia", "servicioExterno"},
      {"200|Efectivo|*|*|*|*", "*|*|4|232|A1|1", "*|*|*|*|*|", cualquiera, cualquiera, cualquiera,
       "*|Otro|*|*|*|*"}));

  // The next sale takes the next ticket number.
  TLineasVenta v2(localSYS);
  v2.uListaPreciosID = cat->listaId();
  lee(v2, "7501000000028");
  const rRespuestaPuntoVenta r2 = guarda(v2, pagos("35.5"));
  ASSERT_TRUE(r2.ok);
  EXPECT_EQ(r2.ticketNo, 2);
}

TEST_P(AlmacenaVenta, FaltaDeExistenciaNoDejaNada) {
  TLineasVenta v(localSYS);
  v.uListaPreciosID = cat->listaId();
  lee(v, "7501000000011");
  ASSERT_TRUE(v.agregaKit(7));
  ASSERT_TRUE(v.agregaKit(7));  // four milks against three in stock
  const rRespuestaPuntoVenta r = guarda(v, pagos("1000"));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.sinExistencia, 1);
  EXPECT_EQ(r.producto, "Leche entera 1 l");
  EXPECT_DOUBLE_EQ(existencia(1), 10);  // the coffee read first was put back
  EXPECT_DOUBLE_EQ(existencia(3), 3);
  EXPECT_EQ(cuenta("SELECT COUNT(*) FROM puntoOperacion"), 0);
  EXPECT_EQ(cuenta("SELECT COUNT(*) FROM puntoOperacionDetalle"), 0);
  EXPECT_EQ(cuenta("SELECT COUNT(*) FROM puntoFormaPagoAplicada"), 0);
  EXPECT_EQ(cuenta("SELECT COUNT(*) FROM puntoTicketFolio"), 0);
  // A station without an open session stores nothing either.
  TLineasVenta v2(localSYS);
  v2.uListaPreciosID = cat->listaId();
  lee(v2, "7501000000011");
  const rRespuestaPuntoVenta r2 = guarda(v2, pagos("200"), "SIN-SESION");
  EXPECT_FALSE(r2.ok);
  EXPECT_EQ(r2.sinExistencia, 0);
  EXPECT_FALSE(r2.mensaje.isEmpty());
  EXPECT_DOUBLE_EQ(existencia(1), 10);
}

// Several stations, each with its own connection, selling the last units of one product.
TEST_P(AlmacenaVenta, VariasEstacionesNuncaVendenDeMas) {
  constexpr int kEstaciones = 4, kIntentos = 3;
  for (int e = 2; e <= kEstaciones + 1; ++e) {
    cat->cajero(e, QString("Cajero %1").arg(e));
    cat->cajaAbierta(e, QString("EST-%1").arg(e), e);
  }
  TmiddleTier mt(conexion());
  mt.setQuery("UPDATE inventarioExistencias SET existencia = 5 WHERE inventarioProducto_id = 1");
  ASSERT_EQ(mt.nonQuery(), 1);

  std::mutex m;
  std::vector<int> tickets;
  int vendidas = 0, faltantes = 0, otros = 0;
  std::vector<std::unique_ptr<QThread>> hilos;
  for (int e = 2; e <= kEstaciones + 1; ++e) {
    hilos.emplace_back(QThread::create([&, e] {
      for (int i = 0; i < kIntentos; ++i) {
        TGridControl lineas;
        TLineasVenta::declaraColumnas(lineas);
        lineas.agregarRegistro({{"_Producto_id", "1"},
                                {"Cantidad", "1"},
                                {"Descripción", "Café de olla 250 g"},
                                {"Precio Lista", "100"},
                                {"_tipoInsercion", "1"},
                                {"_grupo", "1"}});
        TFormasPago f;
        f[0].valor = "116";
        const rRespuestaPuntoVenta r = TConexionInventario().descuentaInventarioFromPuntoVenta(
            "116", "100", "0", "116", "0", "16", f, lineas, conexion(), 1, 1,
            QString("EST-%1").arg(e));
        std::lock_guard<std::mutex> l(m);
        if (r.ok) {
          ++vendidas;
          tickets.push_back(r.ticketNo);
        } else if (r.sinExistencia > 0 && r.producto == "Café de olla 250 g") {
          ++faltantes;
        } else {
          ++otros;
          ADD_FAILURE() << "respuesta inesperada: " << r.mensaje.toStdString();
        }
      }
      conexion().cierraHilo();
    }));
  }
  for (auto& h : hilos) h->start();
  for (auto& h : hilos) h->wait();
  EXPECT_EQ(vendidas, 5);
  EXPECT_EQ(faltantes, kEstaciones * kIntentos - 5);
  EXPECT_EQ(otros, 0);
  EXPECT_DOUBLE_EQ(existencia(1), 0);
  EXPECT_EQ(std::set<int>(tickets.begin(), tickets.end()).size(), tickets.size());
  EXPECT_EQ(cuenta("SELECT COUNT(*) FROM puntoOperacion"), 5);
  EXPECT_EQ(cuenta("SELECT MAX(ticketNo) FROM puntoOperacion"), 5);
}

// A station that loses power mid-sale holds its stock rows: another register selling the same
// product gives up in seconds with a message, stores nothing, keeps its lines and sells once
// the rows are free. It used to wait as long as the other transaction lived.
TEST_P(AlmacenaVenta, OtraCajaConLasFilasApartadasNoLaDetieneParaSiempre) {
  TmiddleTier otra(conexion());
  std::atomic<bool> termina{false}, apartadas{false};
  TConexionSesion ajena(db->destino());
  ASSERT_TRUE(ajena.abre());
  std::unique_ptr<QThread> estacionCaida(QThread::create([&] {
    {
      TmiddleTier mt(ajena);
      if (mt.transaccionInicia(true)) {
        mt.setQuery(
            "UPDATE inventarioExistencias SET existencia = existencia WHERE "
            "inventarioProducto_id = 1");
        mt.nonQuery();
        apartadas = true;
        // Held until the register has answered, or for 20 s at most.
        for (int i = 0; i < 2000 && !termina; ++i) QThread::msleep(10);
        mt.transaccionRollback();
      }
    }
    ajena.cierraHilo();
  }));
  estacionCaida->start();
  while (!apartadas) QThread::msleep(5);
  if (!otra.esPostgres()) {
    // SQLite waits its busy timeout for the writer; a short one keeps the test quick.
    otra.setQuery("PRAGMA busy_timeout = 500");
    otra.nonQuery();
  }

  TLineasVenta v(localSYS);
  v.uListaPreciosID = cat->listaId();
  lee(v, "7501000000011");
  const rRespuestaPuntoVenta r = guarda(v, pagos("200"));
  termina = true;
  estacionCaida->wait();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.sinExistencia, 0);
  EXPECT_EQ(r.mensaje.toStdString(),
            "La venta no se guardó: otra caja tiene apartados estos productos y no los liberó a "
            "tiempo. Intente cobrar de nuevo.");
  EXPECT_EQ(v.lineas().getRowCount(), 1);
  EXPECT_EQ(cuenta("SELECT COUNT(*) FROM puntoOperacion"), 0);
  EXPECT_DOUBLE_EQ(existencia(1), 10);
  // Once the rows are free the cashier's retry sells.
  if (!otra.esPostgres()) {
    otra.setQuery("PRAGMA busy_timeout = 10000");
    otra.nonQuery();
  }
  const rRespuestaPuntoVenta reintento = guarda(v, pagos("200"));
  ASSERT_TRUE(reintento.ok) << reintento.mensaje.toStdString();
  EXPECT_EQ(reintento.ticketNo, 1);
  EXPECT_DOUBLE_EQ(existencia(1), 9);
}

// Amounts and quantities past what money holds exactly to the cent are refused before
// anything is written.
TEST_P(AlmacenaVenta, MontosYCantidadesFueraDeLimiteNoSeGuardan) {
  TGridControl lineas;
  TLineasVenta::declaraColumnas(lineas);
  lineas.agregarRegistro({{"_Producto_id", "1"},
                          {"Cantidad", "1"},
                          {"Descripción", "Café de olla 250 g"},
                          {"_tipoInsercion", "1"},
                          {"_grupo", "1"}});
  auto guardaCon = [&](const QString& total, const QString& cantidad) {
    lineas.setCelda("Cantidad", 0, cantidad);
    TFormasPago f;
    f[0].valor = total;
    return TConexionInventario().descuentaInventarioFromPuntoVenta(
        total, total, "0", total, "0", "0", f, lineas, conexion(), 1, 1);
  };
  const struct {
    QString total, cantidad;
    const char* mensaje;
  } casos[] = {
      {u_floatToStr(1e15), "1",
       "La venta no se guardó: el total no puede pasar de 999,999,999,999.99."},
      {"100", "10000",
       "La venta no se guardó: la cantidad de \"Café de olla 250 g\" no puede pasar de "
       "9,999.999."},
  };
  for (const auto& c : casos) {
    const rRespuestaPuntoVenta r = guardaCon(c.total, c.cantidad);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.mensaje.toStdString(), c.mensaje);
  }
  EXPECT_EQ(cuenta("SELECT COUNT(*) FROM puntoOperacion"), 0);
  EXPECT_DOUBLE_EQ(existencia(1), 10);
  EXPECT_TRUE(guardaCon("999999999999.99", "9999.999").sinExistencia > 0);  // within bounds
}

INSTANCIA_AMBOS_MOTORES(AlmacenaVenta);

}  // namespace
