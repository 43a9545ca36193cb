// The store's guarantee that one MercadoPago payment pays one sale: a second sale naming the
// same payment id is refused with a clear message, also when stations store at the same moment.
#include <gtest/gtest.h>

#include <QThread>
#include <mutex>

#include "db/TmiddleTier.h"
#include "operaciones/inventario.h"
#include "operaciones/serviciosExternos.h"
#include "sale/reglas/lineas_venta.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"

namespace {

class PagoExternoUnico : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    CatalogoPrueba cat(conexion());
    cat.negocioBasico();
    cat.producto(1, "Café de olla 250 g", "7501000000011", 100);
    cat.existencia(1, 100);
    for (int e = 1; e <= kEstaciones; ++e) {
      cat.cajero(e, QString("Cajero %1").arg(e));
      cat.cajaAbierta(e, QString("EST-%1").arg(e), e);
    }
  }
  rRespuestaPuntoVenta vende(int estacion, const QString& referencia, QVariant externo = 1) {
    TGridControl lineas;
    TLineasVenta::declaraColumnas(lineas);
    lineas.agregarRegistro({{"_Producto_id", "1"},
                            {"Cantidad", "1"},
                            {"Descripción", "Café de olla 250 g"},
                            {"Precio Lista", "100"},
                            {"_tipoInsercion", "1"},
                            {"_grupo", "1"}});
    TFormasPago f;
    f[1] = {4, "Tarjeta de crédito", "116", referencia, externo};
    return TConexionInventario().descuentaInventarioFromPuntoVenta(
        "116", "100", "0", "116", "0", "16", f, lineas, conexion(), 1, 1,
        QString("EST-%1").arg(estacion));
  }
  static constexpr int kEstaciones = 4;
};

TEST_P(PagoExternoUnico, UnPagoSoloPagaUnaVenta) {
  ASSERT_TRUE(vende(1, "1311000001").ok);
  EXPECT_TRUE(buscaReferenciaExistente("1311000001", 1, conexion()));
  EXPECT_FALSE(buscaReferenciaExistente("1311000002", 1, conexion()));
  const rRespuestaPuntoVenta r = vende(2, "1311000001");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.mensaje,
            "El pago 1311000001 de Mercado Pago ya está relacionado con otra venta; la venta no "
            "se guardó. Busque el pago de nuevo o capture otra forma de pago.");
  // Typed references are the cashier's business: only matched payments are unique.
  EXPECT_TRUE(vende(2, "VOUCHER-7", QVariant()).ok);
  EXPECT_TRUE(vende(3, "VOUCHER-7", QVariant()).ok);
  EXPECT_TRUE(vende(3, "1311000002").ok);
  TmiddleTier mt(conexion());
  // The index itself refuses a second external line with the id, whoever writes it.
  mt.setQuery(
      "INSERT INTO puntoFormaPagoAplicada (puntoOperacion_id, posicion, referencia, "
      "servicioExterno, idNegocioFk) SELECT MIN(id), 3, '1311000002', 1, 1 FROM puntoOperacion");
  EXPECT_LT(mt.nonQuery(), 0);
  mt.setQuery("SELECT COUNT(*) FROM puntoOperacion");
  EXPECT_EQ(mt.scalar().toInt(), 4);
  mt.setQuery("SELECT existencia FROM inventarioExistencias");
  EXPECT_EQ(mt.scalar().toDouble(), 96);  // the refused sale left no stock movement
}

TEST_P(PagoExternoUnico, DosEstacionesAlMismoTiempo) {
  for (int ronda = 0; ronda < 3; ++ronda) {
    const QString referencia = QString::number(1311000100 + ronda);
    std::mutex m;
    int guardadas = 0, rechazadas = 0;
    std::vector<std::unique_ptr<QThread>> hilos;
    for (int e = 1; e <= kEstaciones; ++e) {
      hilos.emplace_back(QThread::create([&, e] {
        const rRespuestaPuntoVenta r = vende(e, referencia);
        conexion().cierraHilo();
        std::lock_guard<std::mutex> l(m);
        if (r.ok)
          ++guardadas;
        else if (r.mensaje.startsWith("El pago " + referencia + " de Mercado Pago ya está"))
          ++rechazadas;
        else
          ADD_FAILURE() << r.mensaje.toStdString();
      }));
    }
    for (auto& h : hilos) h->start();
    for (auto& h : hilos) h->wait();
    EXPECT_EQ(guardadas, 1) << ronda;
    EXPECT_EQ(rechazadas, kEstaciones - 1) << ronda;
  }
}

INSTANCIA_AMBOS_MOTORES(PagoExternoUnico);

}  // namespace
