// The invoicing screen with a prepared request: a global invoice of uploaded tickets and the
// credit note of an invoiced sale, against the real invoicing sandbox.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "db/TmiddleTier.h"
#include "operaciones/clientes.h"
#include "operaciones/facturacion.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/ClienteFacturaPrueba.h"
#include "support/RespondedorPrueba.h"
#include "support/SandboxPrueba.h"
#include "ui/TFRM_facturar.h"

class FacturarDocumentos : public ::testing::Test {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    CatalogoPrueba cat(db->conexion());
    cat.tiendaDeVentas();
    cat.credencialesCifradas(db->carpeta());
    ASSERT_TRUE(u_rfcPublicoGeneralExiste(1, db->conexion()));
    db->llenaLocalSYS(1);
    ASSERT_TRUE(sandbox.arrancaParaTienda());
    for (int n : {15, 16}) ops << cat.ventaGuardada(n);
    for (int op : ops) referencias << subeTicket(op);
  }
  void TearDown() override { signingConfigura(QString()); }

  CmidTierResponse comprobantes() {
    TmiddleTier mt(db->conexion());
    mt.setQuery(
        "SELECT uuid, tipoDocumento, puntoOperacion_id, uuidRelacionado, Receptor_idReceptor, "
        "total FROM Comprobante ORDER BY id");
    return mt.reader();
  }
  // Presses "Facturar" on the summary, after checking what it shows.
  void confirma(int conceptos) {
    r.enDialogo<TFRM_facturar>([conceptos](TFRM_facturar& f) {
      EXPECT_EQ(f.filas("Conceptos"), conceptos);
      f.BTN_facturarClick();
    });
  }

  datosFacturar global() {
    datosFacturar d;
    d.ticketsReferencia = referencias;
    d.tipoDocumento = "FAC";
    d.formaPago = "01";
    d.metodoPago = "PUE";
    d.lugarExpedicion = "06600";
    d.moneda = "MXN";
    d.receptorRfc = "XAXX010101000";
    d.receptorNombre = "público en general";
    d.usoCFDI = "P01";
    d.emisorNombre = "Abarrotes La Esperanza";
    d.conceptos = TTablaLT({"inventarioProducto_nombre", "inventarioProducto_clave",
                            "_claveSATproductoServicio", "_cantidad", "_precioLista",
                            "_precioVenta", "inventarioUnidadesMedidaBorrado_claveSAT33",
                            "inventarioUnidadesMedida_descripcion", "_ivaT", "_iepsT", "_descuento",
                            "inventarioProductoImpuestos_ivaTrasladado",
                            "inventarioProductoImpuestos_iepsTrasladado"});
    d.conceptos.setNumFilas(2);
    for (int i = 0; i < 2; ++i) {
      d.conceptos.setCelda("inventarioProducto_nombre", i, "Venta");
      d.conceptos.setCelda("inventarioProducto_clave", i, QString::number(15 + i));
      d.conceptos.setCelda("_claveSATproductoServicio", i, "01010101");
      d.conceptos.setCelda("_cantidad", i, "1");
      d.conceptos.setCelda("_precioVenta", i, "187.8");
      d.conceptos.setCelda("_descuento", i, "5");
      d.conceptos.setCelda("inventarioUnidadesMedidaBorrado_claveSAT33", i, "ACT");
    }
    d.numColumnas = 13;
    d.numFilas = 2;
    d.subtotal = "375.6";
    d.descuento = "10";
    d.total = "396.7";
    return d;
  }

  std::unique_ptr<BaseDatosPrueba> db;
  RespondedorPrueba r;
  SandboxPrueba sandbox;
  QList<int> ops;
  QStringList referencias;
};

TEST_F(FacturarDocumentos, FacturaGlobalDeDosTickets) {
  TFRM_facturar pantalla;
  // Cancelled: no UUID, nothing stamped.
  EXPECT_EQ(pantalla.initGlobal(global(), localSYS), "");
  EXPECT_TRUE(sandbox.get("/control/facturas").cuerpo["facturas"].toArray().isEmpty());

  confirma(2);
  const QString uuid = pantalla.initGlobal(global(), localSYS);
  ASSERT_FALSE(uuid.isEmpty()) << r.textos().join(" | ").toStdString();
  EXPECT_EQ(pantalla.texto("Ticket"), "2");
  EXPECT_EQ(r.textos().last(), "Factura generada correctamente.\rUUID: " + uuid);
  for (const QJsonValue& t : sandbox.tickets()) EXPECT_EQ(t.toObject()["estado"].toInt(), 3);
  const CmidTierResponse c = comprobantes();
  ASSERT_EQ(c.getRowCount(), 1);
  EXPECT_EQ(c.getCelda("uuid"), uuid);
  EXPECT_EQ(c.getCelda("tipoDocumento"), "FAC");
  EXPECT_EQ(c.getCeldaAsInt("Receptor_idReceptor"), u_idReceptorPublicoGeneral(1, db->conexion()));
  EXPECT_DOUBLE_EQ(c.getCeldaAsFloat("total"), 396.7);

  // Marking the tickets is the caller's business; the same tickets cannot be stamped again.
  confirma(2);
  r.manejadores.back() = [](QDialog* d) {
    qobject_cast<TFRM_facturar*>(d)->BTN_facturarClick();
    qobject_cast<TFRM_facturar*>(d)->BTN_cancelarClick();
    return d->result();
  };
  datosFacturar otra = global();
  otra.receptorNombre = "PUBLICO EN GENERAL";
  otra.ticketsReferencia.removeLast();
  EXPECT_EQ(pantalla.initGlobal(otra, localSYS), "");
  EXPECT_TRUE(r.textos().last().startsWith("No se pudo timbrar la factura:\r"));
  EXPECT_TRUE(r.textos().last().contains("15")) << r.textos().last().toStdString();
}

TEST_F(FacturarDocumentos, NotaDeCreditoDeUnaVentaFacturada) {
  TFRM_facturar pantalla;
  r.enDialogo<TFRM_facturar>(facturaAClientePrueba);
  ASSERT_TRUE(pantalla.initPuntoVentaTicket(ops[0], localSYS));
  const QString factura = pantalla.uuidFactura();
  const int receptor =
      buscaReceptorPorRfc("XOJI740919U48", 1, db->conexion()).getCeldaAsInt("Receptor_idReceptor");

  datosFacturar d;
  d.relacionados << factura;
  d.tipoDocumento = "CRE";
  d.formaPago = "01";
  d.metodoPago = "PUE";
  d.lugarExpedicion = "06600";
  d.moneda = "MXN";
  d.receptorID = receptor;
  d.receptorRfc = "XOJI740919U48";
  d.receptorNombre = "INGRID XODAR JIMENEZ";
  d.usoCFDI = "G02";
  d.emisorNombre = "Abarrotes La Esperanza";
  d.emisorRegimen = "601";
  d.conceptos = TTablaLT({"_claveSATproductoServicio", "inventarioProducto_clave",
                          "inventarioUnidadesMedidaBorrado_claveSAT33",
                          "inventarioUnidadesMedida_descripcion", "inventarioProducto_nombre",
                          "_precioLista", "_descuento", "_precioVenta", "_iepsT", "_ivaT",
                          "_subtotal", "_cantidad", "_importe"});
  d.conceptos.setNumFilas(1);
  d.conceptos.setCelda("inventarioProducto_nombre", 0, "Coca Cola 600");
  d.conceptos.setCelda("_cantidad", 0, "2");
  d.conceptos.setCelda("_precioVenta", 0, "32.4");
  d.conceptos.setCelda("_importe", 0, "64.8");
  d.subtotal = "64.8";
  d.descuento = "0";
  d.total = "75.16";

  // Without the invoice it relates to, no screen opens.
  datosFacturar sinFactura = d;
  sinFactura.relacionados.clear();
  EXPECT_FALSE(pantalla.initPuntoVentaNotaDeCredito(ops[0], sinFactura, localSYS));
  EXPECT_EQ(r.textos().last(),
            "La venta no tiene una factura con la cual relacionar la nota de crédito");

  // An invoice the service does not know is refused there.
  datosFacturar ajena = d;
  ajena.relacionados = QStringList{"00000000-0000-4000-8000-000000000000"};
  r.manejadores.push_back([](QDialog* d) {
    qobject_cast<TFRM_facturar*>(d)->BTN_facturarClick();
    qobject_cast<TFRM_facturar*>(d)->BTN_cancelarClick();
    return d->result();
  });
  EXPECT_FALSE(pantalla.initPuntoVentaNotaDeCredito(ops[0], ajena, localSYS));
  EXPECT_EQ(r.textos().last(),
            "No se pudo timbrar la nota de crédito:\rEl servicio de facturación rechazó la "
            "factura: No se encontró la factura relacionada "
            "'00000000-0000-4000-8000-000000000000'");
  EXPECT_EQ(comprobantes().getRowCount(), 1);

  // A receiver whose fiscal data were never kept cannot be given a credit note.
  datosFacturar desconocido = d;
  desconocido.receptorRfc = "EKU9003173C9";
  EXPECT_FALSE(pantalla.initPuntoVentaNotaDeCredito(ops[0], desconocido, localSYS));
  EXPECT_EQ(r.textos().last(),
            "Faltan el código postal o el régimen fiscal del cliente EKU9003173C9");

  confirma(1);
  ASSERT_TRUE(pantalla.initPuntoVentaNotaDeCredito(ops[0], d, localSYS))
      << r.textos().join(" | ").toStdString();
  const CmidTierResponse c = comprobantes();
  ASSERT_EQ(c.getRowCount(), 2);
  EXPECT_EQ(c.getCelda("tipoDocumento", 1), "CRE");
  EXPECT_EQ(c.getCelda("uuidRelacionado", 1), factura);
  EXPECT_EQ(c.getCeldaAsInt("puntoOperacion_id", 1), ops[0]);
  EXPECT_EQ(c.getCeldaAsInt("Receptor_idReceptor", 1), receptor);
  EXPECT_TRUE(r.textos().last().startsWith("Nota de crédito generada correctamente.\rUUID: "));
  // The invoiced ticket keeps its state: a credit note does not undo the invoice.
  EXPECT_EQ(
      buscaTicketParaFacturar(ops[0], 1, db->conexion()).getCelda("puntoOperacion_facturadoMetodo"),
      "2");
}
