// Completing a sale with no screen at all: checks, storing, upload and receipt in order.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "checkout/reglas/completaVenta.h"
#include "operaciones/productos.h"
#include "printer/miniPrinter.h"
#include "sale/reglas/lineas_venta.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/ConsultaPrueba.h"
#include "support/RespondedorPrueba.h"
#include "support/SandboxPrueba.h"

namespace {

struct CasoVenta {
  const char* nombre;
  const char* cantidad;
  const char* efectivo;
  const char* montoTarjeta;  // row 1
  const char* referencia;
  double total;  // 0: the sale's own
  bool ok;
  bool validada;
  const char* mensaje;
  int tipo;
};

class CompletaVenta : public ::testing::TestWithParam<CasoVenta> {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    ASSERT_TRUE(db);
    cat = std::make_unique<CatalogoPrueba>(db->conexion());
    cat->negocioBasico();
    cat->producto(1, "Café de olla 250 g", "7501000000011", 100);
    cat->existencia(1, 2);
    cat->cajero(1, "Ana");
    cat->cajaAbierta(1, "ESTACION-PRUEBA", 1);
    db->llenaLocalSYS(1);
    venta = std::make_unique<TLineasVenta>(localSYS);
    venta->uListaPreciosID = cat->listaId();
    venta->agregarConcepto(
        filtraProductosPorcodigoBarras("7501000000011", QVariant(true), 1, db->conexion()), 0);
    datos.lineas = &venta->lineas();
    datos.cajero = "Ana Pérez López";
    datos.almacen = 1;
  }
  TVentaCompletada completa(const CasoVenta& c, QStringList* pasos) {
    venta->cambiaCantidad(0, QString(c.cantidad).toDouble());
    cobro.inicia(c.total > 0 ? c.total : venta->uTotal, venta->uSubtotal, venta->uDescuento,
                 venta->uImpuestos);
    cobro.efectivo = c.efectivo;
    cobro.filas[0].monto = c.montoTarjeta;
    cobro.filas[0].referencia = c.referencia;
    TPantallaVenta pantalla;
    pantalla.recalculada = [pasos] { *pasos << "recalculada"; };
    pantalla.validada = [pasos] { *pasos << "validada"; };
    pantalla.almacenada = [pasos](int ticket) { *pasos << QString("almacenada %1").arg(ticket); };
    return completaVenta(cobro, datos, localSYS, pantalla);
  }
  QString celda(const QString& sql) { return sqlValor(db->conexion(), sql).toString(); }

  std::unique_ptr<BaseDatosPrueba> db;
  std::unique_ptr<CatalogoPrueba> cat;
  std::unique_ptr<TLineasVenta> venta;
  TCobro cobro;
  TDatosVenta datos;
  RespondedorPrueba respondedor;
};

TEST_P(CompletaVenta, PasosYRespuesta) {
  const CasoVenta& c = GetParam();
  const QString reciboAntes = miniPrinterUltimoTicket().archivoEscPos;
  QStringList pasos;
  const TVentaCompletada v = completa(c, &pasos);
  EXPECT_EQ(v.ok, c.ok);
  EXPECT_EQ(v.validada, c.validada);
  EXPECT_EQ(v.resultado.mensaje, QString::fromUtf8(c.mensaje));
  if (!c.ok) {
    EXPECT_EQ(v.resultado.tipo, c.tipo);
  }
  QStringList esperados{"recalculada"};
  if (c.validada)
    esperados << "recalculada"
              << "validada";
  if (c.ok) esperados << "almacenada 1";
  EXPECT_EQ(pasos, esperados);
  // Stored and printed only when completed; the rule shows nothing itself.
  EXPECT_EQ(celda("SELECT COUNT(*) FROM puntoOperacion"), c.ok ? "1" : "0");
  EXPECT_EQ(miniPrinterUltimoTicket().archivoEscPos != reciboAntes, c.ok);
  EXPECT_TRUE(respondedor.mensajes.empty());
  EXPECT_TRUE(v.identificador.isEmpty());  // not uploaded
  if (c.ok) {
    EXPECT_EQ(v.ticketNo, 1);
    EXPECT_GT(v.operacionID, 0);
    EXPECT_EQ(celda("SELECT devuelto FROM puntoOperacion"), "0");  // paid exactly or more by card
  }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, CompletaVenta,
    ::testing::Values(CasoVenta{"NoAlcanza", "1", "100", "", "", 0, false, false, "", mtCustom},
                      CasoVenta{"SinReferencia", "1", "16", "100", " ", 0, false, false,
                                "Capture una referencia para todos las formas de pago", mtCustom},
                      // Truncated amounts are equal, the untruncated ones are not.
                      CasoVenta{"MenosDeUnCentavo", "1", "116", "", "", 116.005, false, false,
                                "Cantidad insuficiente", mtCustom},
                      CasoVenta{"SinExistencia", "3", "400", "", "", 0, false, true,
                                "Existencia insuficiente: Café de olla 250 g", mtInformacion},
                      CasoVenta{"Exacta", "1", "16", "100", "A1", 0, true, true, "", mtCustom}),
    [](const auto& i) { return std::string(i.param.nombre); });

// Without a screen the upload is awaited; with the key file gone the sale is still stored,
// nothing is uploaded, no new key appears and the supervisor is told which file is missing.
TEST(CompletaVentaCarga, SinPantallaEsperaLaCargaYAvisaSiFaltaLaClave) {
  for (const bool faltaClave : {false, true}) {
    SCOPED_TRACE(faltaClave ? "sin archivo de clave" : "con su clave");
    auto db = BaseDatosPrueba::crea(Motor::SQLite);
    ASSERT_TRUE(db);
    CatalogoPrueba cat(db->conexion());
    cat.negocioBasico();
    cat.producto(1, "Café de olla 250 g", "7501000000011", 100);
    cat.existencia(1, 2);
    cat.cajero(1, "Ana");
    cat.cajaAbierta(1, "ESTACION-PRUEBA", 1);
    cat.credencialesCifradas(db->carpeta());
    db->llenaLocalSYS(1);
    const QString archivoClave = signingArchivoClave();
    if (faltaClave) {
      ASSERT_TRUE(QFile::remove(archivoClave));
      signingConfigura(QFileInfo(archivoClave).absolutePath());  // as a station starting anew
    }
    SandboxPrueba sandbox;
    ASSERT_TRUE(sandbox.arrancaParaTienda());
    ASSERT_TRUE(sandbox.modo("lento", 300));  // the answer comes after the call returned
    TLineasVenta venta(localSYS);
    venta.uListaPreciosID = cat.listaId();
    venta.agregarConcepto(
        filtraProductosPorcodigoBarras("7501000000011", QVariant(true), 1, db->conexion()), 0);
    TCobro cobro;
    cobro.inicia(venta.uTotal, venta.uSubtotal, venta.uDescuento, venta.uImpuestos);
    cobro.efectivo = "200";
    TDatosVenta datos;
    datos.lineas = &venta.lineas();
    datos.almacen = 1;
    datos.subirTicket = true;
    const TVentaCompletada v = completaVenta(cobro, datos, localSYS);
    ASSERT_TRUE(v.ok) << v.resultado.mensaje.toStdString();
    EXPECT_EQ(cobro.uDevuelto, 84);
    EXPECT_EQ(v.identificador.isEmpty(), faltaClave);
    EXPECT_EQ(sandbox.tickets().size(), faltaClave ? 0 : 1);
    EXPECT_EQ(QFile::exists(archivoClave), !faltaClave);
    EXPECT_EQ(v.aviso.mensaje.contains(archivoClave), faltaClave) << v.aviso.mensaje.toStdString();
  }
}

}  // namespace
