// Invoicing a stored ticket from the checkout: the package's invoicing screen driven as the
// cashier would, against the real invoicing sandbox, on both engines.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QLineEdit>

#include "checkout/TFRM_cerrarPuntoVenta.h"
#include "db/TmiddleTier.h"
#include "operaciones/facturacion.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/ConsultaPrueba.h"
#include "support/RespondedorPrueba.h"
#include "support/SandboxPrueba.h"
#include "ui/TFRM_facturar.h"

namespace {


}  // namespace

class FacturarTicket : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    CatalogoPrueba cat(conexion());
    cat.tiendaDeVentas();
    cat.credencialesCifradas(db->carpeta());
    db->llenaLocalSYS(1);
    ASSERT_TRUE(sandbox.arrancaParaTienda());
    op = cat.ventaGuardada(15);
  }
  void TearDown() override {
    signingConfigura(QString());
    PruebaAmbosMotores::TearDown();
  }

  void ejecuta(const QString& sql) { sqlEjecuta(conexion(), sql); }
  CmidTierResponse ticket() { return buscaTicketParaFacturar(op, 1, conexion()); }
  QJsonArray facturas() { return sandbox.get("/control/facturas").cuerpo["facturas"].toArray(); }

  // The cashier fills the customer's data and presses "Facturar"; `luego` runs next, while the
  // screen is still open.
  void cliente(std::function<void(TFRM_facturar&)> luego = {}) {
    r.manejadores.push_back([luego](QDialog* d) {
      auto* f = qobject_cast<TFRM_facturar*>(d);
      EXPECT_TRUE(f);
      if (!f) return int(QDialog::Rejected);
      f->escribe("RFC", "xoji740919u48");
      f->escribe("Nombre o razón social", "Ingrid Xodar Jimenez");
      f->escribe("Código postal", "88965");
      f->elige("Régimen fiscal", "605");
      f->elige("Uso del CFDI", "G03");
      f->BTN_facturarClick();
      if (luego) luego(*f);
      return d->result();
    });
  }

  RespondedorPrueba r;
  SandboxPrueba sandbox;
  TFRM_cerrarPuntoVenta checkout;
  int op = 0;
};

TEST_P(FacturarTicket, ElTicketQuedaFacturadoConElUuidDelServicio) {
  subeTicket(op);
  cliente();
  ASSERT_TRUE(checkout.facturarTicket(op)) << r.textos().join(" | ").toStdString();
  const QJsonArray f = facturas();
  ASSERT_EQ(f.size(), 1);
  const QString uuid = f[0]["uuid"].toString();
  const QJsonObject pedida = f[0]["factura"].toObject();
  EXPECT_EQ(pedida["receptor"]["rfc"].toString(), "XOJI740919U48");
  EXPECT_EQ(pedida["receptor"]["nombre"].toString(), "INGRID XODAR JIMENEZ");
  EXPECT_EQ(pedida["formaPago"].toString(), "01");
  EXPECT_DOUBLE_EQ(pedida["total"].toDouble(), 198.35);
  EXPECT_EQ(r.textos().last(), "Factura generada correctamente.\rUUID: " + uuid);
  EXPECT_EQ(ticket().getCelda("puntoOperacion_facturadoMetodo"), "2");
  EXPECT_EQ(ticket().getCelda("puntoOperacionAdicional_uuid"), uuid);
  EXPECT_EQ(sandbox.tickets()[0].toObject()["estado"].toInt(), 2);

  // A second attempt is refused before any screen opens.
  r.mensajes.clear();
  EXPECT_FALSE(checkout.facturarTicket(op));
  EXPECT_EQ(r.dialogos.size(), 1);
  EXPECT_EQ(r.textos(), QStringList({"El ticket 15 ya fue facturado.\rUUID: " + uuid}));
  EXPECT_EQ(FRM_facturar, nullptr);
}

TEST_P(FacturarTicket, UnTicketSinCargarSeCargaAntesDeFacturar) {
  cliente();
  ASSERT_TRUE(checkout.facturarTicket(op)) << r.textos().join(" | ").toStdString();
  ASSERT_EQ(sandbox.tickets().size(), 1);
  EXPECT_EQ(ticket().getCelda("puntoOperacion_uuid"),
            sandbox.tickets()[0].toObject()["identificador"].toString());
  EXPECT_EQ(ticket().getCelda("puntoOperacion_facturadoMetodo"), "2");
}

TEST_P(FacturarTicket, UnFalloDelServicioDejaLaPantallaAbiertaYNadaGuardado) {
  subeTicket(op);
  ASSERT_TRUE(sandbox.modo("error"));
  cliente([](TFRM_facturar& f) {
    EXPECT_NE(f.result(), QDialog::Accepted);
    f.BTN_cancelarClick();
  });
  EXPECT_FALSE(checkout.facturarTicket(op));
  EXPECT_EQ(r.textos().last(),
            "No se pudo timbrar la factura:\rEl servicio de facturación no pudo timbrar la "
            "factura (error 500): Servicio no disponible");
  EXPECT_EQ(ticket().getCelda("puntoOperacion_facturadoMetodo"), "3");
  EXPECT_EQ(buscaReceptorPorRfc("XOJI740919U48", 1, conexion()).getRowCount(), 0);

  // Service down: the same, with the connection's message.
  sandbox.detiene();
  cliente([](TFRM_facturar& f) { f.BTN_cancelarClick(); });
  EXPECT_FALSE(checkout.facturarTicket(op));
  EXPECT_EQ(r.textos().last(),
            "No se pudo timbrar la factura:\rNo se pudo conectar con el servicio de facturación");
  EXPECT_EQ(ticket().getCelda("puntoOperacion_facturadoMetodo"), "3");
}

TEST_P(FacturarTicket, DatosDelClienteIncompletosOConocidos) {
  subeTicket(op);
  // A known customer is filled in from the RFC alone.
  ejecuta(
      "INSERT INTO Receptor (rfc, nombre, codigoPostal, regimenFiscal, usoCFDI, correo, "
      "idNegocioFk) VALUES ('EKU9003173C9', 'ESCUELA KEMPER URGATE', '26015', '601', 'G01', "
      "'compras@kemper.mx', 1)");
  r.manejadores.push_back([this](QDialog* d) {
    auto& f = *qobject_cast<TFRM_facturar*>(d);
    f.BTN_facturarClick();
    EXPECT_EQ(r.textos().last(), "Capture el RFC del cliente");
    f.escribe("RFC", "eku9003173c9");
    EXPECT_EQ(f.texto("RFC"), "EKU9003173C9");
    EXPECT_TRUE(f.buscaReceptor());
    EXPECT_EQ(f.texto("Nombre o razón social"), "ESCUELA KEMPER URGATE");
    EXPECT_EQ(f.texto("Código postal"), "26015");
    EXPECT_EQ(f.dato("Régimen fiscal").toString(), "601");
    EXPECT_EQ(f.dato("Uso del CFDI").toString(), "G01");
    EXPECT_EQ(f.texto("Correo electrónico"), "compras@kemper.mx");
    f.elige("Uso del CFDI", "D01");
    f.BTN_facturarClick();
    EXPECT_EQ(r.textos().last(), "El uso de CFDI D01 no corresponde a una persona moral");
    f.BTN_cancelarClick();
    return d->result();
  });
  EXPECT_FALSE(checkout.facturarTicket(op));
  EXPECT_TRUE(facturas().isEmpty());
  EXPECT_EQ(ticket().getCelda("puntoOperacion_facturadoMetodo"), "3");
}

TEST_P(FacturarTicket, SinDatosFiscalesDelNegocioNoSeAbre) {
  localSYS.negocio.datosFiscales.regimenFiscal.clear();
  EXPECT_FALSE(checkout.facturarTicket(op));
  EXPECT_TRUE(r.dialogos.isEmpty());
  EXPECT_EQ(r.textos(),
            QStringList({"No es posible realizar facturación:\r\r - no se encontro: régimen "
                         "fiscal\r\rAgregue datos faltantes desde el apartado 'Configuración'."}));
  EXPECT_FALSE(checkout.facturarTicket(0));
  EXPECT_EQ(r.mensajes.size(), 1u);
}

INSTANCIA_AMBOS_MOTORES(FacturarTicket);
