#include <gtest/gtest.h>

#include "db/TmiddleTier.h"
#include "operaciones/cajas.h"
#include "operaciones/inventario.h"
#include "operaciones/productos.h"
#include "operaciones/puntoVenta.h"
#include "sale/reglas/lineas_venta.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/FilasPrueba.h"
#include "support/SupervisorPrueba.h"

namespace {

const QString kEstacion = QStringLiteral("CAJA-NORTE");

class CajasDatos : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    cat = std::make_unique<CatalogoPrueba>(conexion());
    cat->negocioBasico();
    s = std::make_unique<SupervisorPrueba>(conexion());
    cajero = s->cajero("C01", "Ana");
    caja = s->caja("CJ1", "Caja principal");
  }
  RECaperturaCaja apertura(int cajaId, int cajeroId, const QString& estacion) {
    RECaperturaCaja a;
    a.cajaID = cajaId;
    a.cajeroID = cajeroId;
    a.fechaApertura = QDateTime(QDate(2026, 3, 2), QTime(8, 30, 0));
    a.montoApertura = 1500.5;
    a.billetes1000 = 1;
    a.billetes500 = 1;
    a.monedas = 0.5;
    a.estacion = estacion;
    return a;
  }
  int sesionesActivas() {
    return s->entero("SELECT COUNT(*) FROM puntoCajaSesion WHERE activa = 1");
  }

  std::unique_ptr<CatalogoPrueba> cat;
  std::unique_ptr<SupervisorPrueba> s;
  int cajero = 0;
  int caja = 0;
};

TEST_P(CajasDatos, LaAperturaLigaLaEstacionYLaCajaEncuentraSuSesion) {
  EXPECT_TRUE(compruebaEstacionDisponible(kEstacion, conexion()));
  EXPECT_TRUE(compruebaCajeroDisponible(cajero, conexion()));
  ASSERT_TRUE(
      guardaAperturaCaja(apertura(caja, cajero, kEstacion), "Caja principal", 1, conexion()));

  const CmidTierResponse r = filtraCajas(QVariant(), QVariant(), 1, conexion());
  ASSERT_TRUE(r.ok()) << r.getError().toStdString();
  ASSERT_TRUE(filasComo(r,
                        {"puntoCaja_estado", "_estado_leyenda", "_nombreCompleto", "puntoCajero_id",
                         "puntoCajaSesion_fechaApertura"},
                        {QString("1|Abierta|Ana Pérez López|%1|2026-03-02 08:30:00").arg(cajero)}));
  const int sesion = r.getCeldaAsInt("puntoCajaSesion_id");
  ASSERT_GT(sesion, 0);
  EXPECT_EQ(s->entero("SELECT billetes1000 + billetes500 FROM puntoCajaSesion WHERE id = :s",
                      {{"s", sesion}}),
            2);
  EXPECT_EQ(s->valor("SELECT cajaNombre FROM puntoCajaSesion WHERE id = :s", {{"s", sesion}}),
            "Caja principal");

  // What the sale register relies on.
  EXPECT_FALSE(compruebaEstacionDisponible(kEstacion, conexion()));
  Tsalidas_comun salidas(conexion());
  const CmidTierResponse v = salidas.seletSesionDatosFromPcName(kEstacion, 1, "SQLite");
  EXPECT_TRUE(filasComo(v, {"puntoCajaSesion_id", "puntoCaja_clave", "inventarioAlmacen_id"},
                        {QString("%1|CJ1|1").arg(sesion)}));
  EXPECT_FALSE(compruebaCajeroDisponible(cajero, conexion()));
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(sesion, 1, conexion()), 1500.5);
}

TEST_P(CajasDatos, UnaSegundaAperturaSeRechazaSinGuardarNada) {
  const int otroCajero = s->cajero("C02", "Beto");
  const int otraCaja = s->caja("CJ2", "Caja dos");
  ASSERT_TRUE(
      guardaAperturaCaja(apertura(caja, cajero, kEstacion), "Caja principal", 1, conexion()));
  // Same station, another register and cashier.
  EXPECT_FALSE(
      guardaAperturaCaja(apertura(otraCaja, otroCajero, kEstacion), "Caja dos", 1, conexion()));
  // Same register from another station.
  EXPECT_FALSE(
      guardaAperturaCaja(apertura(caja, otroCajero, "OTRA"), "Caja principal", 1, conexion()));
  // The cashier already works a session.
  EXPECT_FALSE(guardaAperturaCaja(apertura(otraCaja, cajero, "OTRA"), "Caja dos", 1, conexion()));
  // A register of another business.
  EXPECT_FALSE(
      guardaAperturaCaja(apertura(otraCaja, otroCajero, "OTRA"), "Caja dos", 2, conexion()));
  EXPECT_EQ(sesionesActivas(), 1);
  EXPECT_EQ(s->entero("SELECT estado FROM puntoCaja WHERE id = :c", {{"c", otraCaja}}), 0);

  // Inactive cashiers and negative counts are refused too.
  const int inactivo = s->cajero("C03", "Ciro", "Ruiz", "Mora", 2);
  EXPECT_FALSE(compruebaCajeroDisponible(inactivo, conexion()));
  EXPECT_FALSE(guardaAperturaCaja(apertura(otraCaja, inactivo, "OTRA"), "Caja dos", 1, conexion()));
  RECaperturaCaja negativa = apertura(otraCaja, otroCajero, "OTRA");
  negativa.billetes20 = -1;
  EXPECT_FALSE(guardaAperturaCaja(negativa, "Caja dos", 1, conexion()));
  EXPECT_EQ(sesionesActivas(), 1);
  EXPECT_TRUE(
      guardaAperturaCaja(apertura(otraCaja, otroCajero, "OTRA"), "Caja dos", 1, conexion()));
  EXPECT_EQ(sesionesActivas(), 2);
}

TEST_P(CajasDatos, ElSaldoSumaEfectivoMenosCambioYRetiros) {
  const int sesion = s->abre(caja, cajero, 1000, kEstacion);
  ASSERT_GT(sesion, 0);
  s->venta(sesion, 1, 500, 150);       // a sale of 350 paid with 500
  s->venta(sesion, 2, 100.1, 0, 200);  // card money never reaches the drawer
  s->venta(sesion, 3, 0.2, 0);
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(sesion, 1, conexion()), 1450.3);
  ASSERT_TRUE(aplicaCorteCaja(sesion, QDateTime::currentDateTime(), "300.1", conexion()));
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(sesion, 1, conexion()), 1150.2);
  // Another session's sales and another business's view do not count.
  const int otra = s->abre(s->caja("CJ2", "Dos"), s->cajero("C02", "Beto"), 50, "OTRA");
  s->venta(otra, 4, 80, 0);
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(sesion, 1, conexion()), 1150.2);
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(otra, 1, conexion()), 130);
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(sesion, 2, conexion()), 0);
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(0, 1, conexion()), 0);
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(99999, 1, conexion()), 0);
}

TEST_P(CajasDatos, UnaVentaGuardadaPorLaCajaEntraAlSaldo) {
  cat->producto(1, "Café de olla 250 g", "7501000000011", 100);
  cat->existencia(1, 10);
  db->llenaLocalSYS(1);
  const int sesion = s->abre(caja, cajero, 1000, u_getPCName());
  TLineasVenta v(localSYS);
  v.uListaPreciosID = cat->listaId();
  v.agregarConcepto(filtraProductosPorcodigoBarras("7501000000011", QVariant(true), 1, conexion()),
                    0);
  ASSERT_DOUBLE_EQ(v.uTotal, 116);
  TFormasPago f;
  f[0].nombre = "Efectivo";
  f[0].valor = "500";
  const rRespuestaPuntoVenta r = TConexionInventario().descuentaInventarioFromPuntoVenta(
      "116", "100", "0", "500", "384", "16", f, v.lineas(), conexion(), 1, 1);
  ASSERT_TRUE(r.ok) << r.mensaje.toStdString();
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(sesion, 1, conexion()), 1116);
}

TEST_P(CajasDatos, ElCorteNoPasaDelSaldo) {
  const int sesion = s->abre(caja, cajero, 100, kEstacion);
  const QDateTime ahora = QDateTime::currentDateTime();
  for (const char* monto : {"100.01", "-1", "diez", ""})
    EXPECT_FALSE(aplicaCorteCaja(sesion, ahora, monto, conexion())) << monto;
  EXPECT_EQ(s->entero("SELECT COUNT(*) FROM puntoCorte"), 0);
  EXPECT_TRUE(aplicaCorteCaja(sesion, ahora, "0", conexion()));
  EXPECT_TRUE(aplicaCorteCaja(sesion, ahora, "100", conexion()));
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(sesion, 1, conexion()), 0);
  EXPECT_EQ(s->entero("SELECT COUNT(*) FROM puntoCorte WHERE esCorte = 1"), 2);
  // The list shows the last cut's time.
  const CmidTierResponse r = filtraCajas(QVariant(), QVariant(), 1, conexion());
  EXPECT_EQ(r.getCelda("_ultimoFechaHoraCorte"), ahora.toString("yyyy-MM-dd HH:mm:ss"));
}

TEST_P(CajasDatos, ElCierreTerminaLaSesionYLiberaLaEstacion) {
  const int sesion = s->abre(caja, cajero, 200, kEstacion);
  s->venta(sesion, 1, 0, 250);  // more change handed out than the drawer held
  const double saldo = calculaCajaAcumuladoPorSesion(sesion, 1, conexion());
  EXPECT_DOUBLE_EQ(saldo, -50);
  EXPECT_FALSE(aplicaCierreCaja(sesion, caja + 1, QDateTime::currentDateTime(), "-50", conexion()));
  const QDateTime cierre(QDate(2026, 3, 2), QTime(22, 0, 0));
  ASSERT_TRUE(aplicaCierreCaja(sesion, caja, cierre, "-50", conexion()));

  EXPECT_EQ(
      s->entero("SELECT esCorte FROM puntoCorte WHERE puntoCajaSesion_id = :s", {{"s", sesion}}),
      0);
  EXPECT_DOUBLE_EQ(s->valor("SELECT monto FROM puntoCorte").toDouble(), -50);
  EXPECT_EQ(s->entero("SELECT activa FROM puntoCajaSesion WHERE id = :s", {{"s", sesion}}), 0);
  EXPECT_EQ(CmidTierResponse::texto(
                s->valor("SELECT fechaCierre FROM puntoCajaSesion WHERE id = :s", {{"s", sesion}})),
            "2026-03-02 22:00:00");
  EXPECT_EQ(s->entero("SELECT estado FROM puntoCaja WHERE id = :c", {{"c", caja}}), 0);
  EXPECT_TRUE(
      s->valor("SELECT puntoCajaSesion_id FROM puntoCaja WHERE id = :c", {{"c", caja}}).isNull());
  EXPECT_TRUE(compruebaEstacionDisponible(kEstacion, conexion()));
  EXPECT_TRUE(compruebaCajeroDisponible(cajero, conexion()));
  EXPECT_DOUBLE_EQ(calculaCajaAcumuladoPorSesion(sesion, 1, conexion()), 0);
  // An ended session takes neither cuts nor a second close; the register opens anew.
  EXPECT_FALSE(aplicaCierreCaja(sesion, caja, cierre, "0", conexion()));
  EXPECT_FALSE(aplicaCorteCaja(sesion, cierre, "0", conexion()));
  EXPECT_EQ(s->entero("SELECT COUNT(*) FROM puntoCorte"), 1);
  const CmidTierResponse r = filtraCajas(QVariant(), QVariant(), 1, conexion());
  EXPECT_TRUE(
      filasComo(r, {"_estado_leyenda", "puntoCajaSesion_id", "_nombreCompleto"}, {"Cerrada||"}));
  EXPECT_GT(s->abre(caja, cajero, 0, kEstacion), sesion);
}

TEST_P(CajasDatos, AltaEdicionYFiltrosDeCajas) {
  s->almacen(2, "Bodega");
  EXPECT_TRUE(buscaCajaDuplciadaporClave(" cj1 ", 1, conexion()));
  EXPECT_FALSE(buscaCajaDuplciadaporClave("CJ1", 2, conexion()));
  EXPECT_FALSE(nuevaCaja("cj1", "Repetida", 1, conexion(), 1));
  EXPECT_FALSE(nuevaCaja("   ", "Sin clave", 1, conexion(), 1));
  EXPECT_FALSE(nuevaCaja("CJ9", "Almacén ajeno", 1, conexion(), 77));
  EXPECT_TRUE(nuevaCaja("CJ2 & Co", "", 1, conexion(), 2));

  const CmidTierResponse todas = filtraCajas(QVariant(), QVariant(), 1, conexion());
  ASSERT_EQ(todas.getRowCount(), 2);
  for (const char* alias :
       {"puntoCaja_id", "puntoCaja_clave", "puntoCaja_descripcion",
        "puntoCaja_inventarioAlmacen_id", "inventarioAlmacen_nombre", "puntoCaja_estado",
        "_estado_leyenda", "puntoCajero_id", "_nombreCompleto", "puntoCajaSesion_id",
        "puntoCajaSesion_fechaApertura", "_ultimoFechaHoraCorte"})
    EXPECT_TRUE(todas.tieneColumna(alias)) << alias;
  EXPECT_EQ(todas.getCelda("inventarioAlmacen_nombre", 1), "Bodega");
  EXPECT_TRUE(filasComo(filtraCajas(QVariant(), QVariant("%PRINCIPAL%"), 1, conexion()),
                        {"puntoCaja_clave"}, {"CJ1"}));
  EXPECT_EQ(filtraCajas(QVariant("%co%"), QVariant(), 1, conexion()).getRowCount(), 1);
  EXPECT_EQ(filtraCajas(QVariant(), QVariant(), 2, conexion()).getRowCount(), 0);

  ASSERT_TRUE(editaCaja(caja, "Caja de la entrada", conexion()));
  const CmidTierResponse una = buscaCajaPorID(caja, conexion());
  EXPECT_TRUE(filasComo(una, {"puntoCaja_clave", "puntoCaja_descripcion", "inventarioAlmacen_id"},
                        {"CJ1|Caja de la entrada|1"}));
  EXPECT_FALSE(editaCaja(9999, "Nadie", conexion()));
}

INSTANCIA_AMBOS_MOTORES(CajasDatos);

}  // namespace
