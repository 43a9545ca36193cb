// Invoicing of a ticket without the screen: who can be invoiced, the payment form of a ticket,
// the prerequisites, the request sent to the service and what an invoice leaves in the
// database, on both engines.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include "db/TmiddleTier.h"
#include "facturacion/facturaTicket.h"
#include "facturacion/rfc.h"
#include "operaciones/facturacion.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/ConsultaPrueba.h"
#include "support/FilasPrueba.h"
#include "workers/servicioFacturacionFactura.h"

namespace {

TreceptorFactura receptorValido() {
  return {"XOJI740919U48", "INGRID XODAR JIMENEZ", "88965", "605", "G03", "ingrid@example.com"};
}

CmidTierResponse pagos(const QList<QPair<QString, QString>>& filas) {
  CmidTierResponse r;
  r.setColumnas({"puntoFormaPagoAplicada_valor", "formaPago_id"});
  for (const auto& f : filas) r.agregaFila({f.first, f.second});
  r.setOk(true);
  return r;
}

}  // namespace

TEST(Facturacion, ReceptorQueSePuedeFacturar) {
  EXPECT_EQ(u_validaReceptorFactura(receptorValido()), "");
  TreceptorFactura moral{"EKU9003173C9", "ESCUELA KEMPER URGATE", "26015", "601", "G01", ""};
  EXPECT_EQ(u_validaReceptorFactura(moral), "");
  TreceptorFactura conEnie{"ÑAÑ&800101AB1", "PERSONA", "01000", "626", "S01", ""};
  EXPECT_EQ(u_validaReceptorFactura(conEnie), "");

  const auto con = [](auto cambio) {
    TreceptorFactura r = receptorValido();
    cambio(r);
    return u_validaReceptorFactura(r);
  };
  EXPECT_EQ(con([](auto& r) { r.rfc = "  "; }), "Capture el RFC del cliente");
  EXPECT_EQ(con([](auto& r) { r.rfc = "XAXX010101000"; }),
            "El RFC genérico de público en general no se factura por ticket: el ticket entra en "
            "la factura global");
  EXPECT_EQ(con([](auto& r) { r.rfc = "XOJI741319U48"; }), "El RFC 'XOJI741319U48' no es válido");
  EXPECT_EQ(con([](auto& r) { r.rfc = "XOJ740919U4"; }), "El RFC 'XOJ740919U4' no es válido");
  EXPECT_EQ(con([](auto& r) { r.nombre = " "; }), "Capture el nombre o razón social del cliente");
  EXPECT_EQ(con([](auto& r) { r.codigoPostal = "8896"; }),
            "El código postal del cliente debe tener 5 dígitos");
  EXPECT_EQ(con([](auto& r) { r.codigoPostal = ""; }),
            "El código postal del cliente debe tener 5 dígitos");
  EXPECT_EQ(con([](auto& r) { r.regimenFiscal = ""; }), "Seleccione el régimen fiscal del cliente");
  EXPECT_EQ(con([](auto& r) { r.regimenFiscal = "601"; }),
            "El régimen fiscal 601 no corresponde a una persona física");
  EXPECT_EQ(con([](auto& r) { r.usoCFDI = "X99"; }), "Seleccione el uso del CFDI");
  EXPECT_EQ(con([](auto& r) { r.correo = "ingrid@"; }), "El correo electrónico no es válido");
  moral.usoCFDI = "D01";
  EXPECT_EQ(u_validaReceptorFactura(moral),
            "El uso de CFDI D01 no corresponde a una persona moral");
}

// The six digits must be a date that exists; the check digit only warns.
TEST(Facturacion, RfcConFechaRealYDigitoVerificador) {
  struct Caso {
    const char* rfc;
    bool valido;
    bool coincide;
  };
  const Caso casos[] = {
      {"XOJI740919U48", true, true},   {"EKU9003173C9", true, true},
      {" eku9003173c9 ", true, true},  {"XAXX010101000", true, true},
      {"MAPA000229AB0", true, true},   // 2000 was a leap year
      {"MAPA040229AB7", true, false},  // a real date; only the check digit is off
      {"XOJI990230U48", false, false}, {"XOJI010229U48", false, false},
      {"XOJI990431U48", false, false}, {"XOJI991301U48", false, false},
      {"XOJI990100U48", false, false}, {"XOJ740919U4", false, false},
  };
  for (const Caso& c : casos) {
    const TrevisionRfc r = u_revisaRfc(QString::fromUtf8(c.rfc));
    EXPECT_EQ(r.valido, c.valido) << c.rfc;
    EXPECT_EQ(r.valido && r.digitoCoincide, c.coincide) << c.rfc;
    EXPECT_EQ(u_avisoDigitoRfc(QString::fromUtf8(c.rfc)).isEmpty(), !c.valido || c.coincide)
        << c.rfc;
  }
  EXPECT_EQ(u_avisoDigitoRfc("XOJI740919U40"),
            "El dígito verificador del RFC XOJI740919U40 no coincide (se esperaba 8). Revise que "
            "esté bien escrito.");
  // The receiver check refuses an impossible date before anything is sent.
  TreceptorFactura r = receptorValido();
  r.rfc = "XOJI990230U48";
  EXPECT_EQ(u_validaReceptorFactura(r), "El RFC 'XOJI990230U48' no es válido");
}

TEST(Facturacion, FormaDePagoDominanteDelTicket) {
  auto f = calculaFormaDePagoPorTicket(100, pagos({{"60", "4"}, {"40", "3"}}));
  EXPECT_EQ(f.clave, "04");
  EXPECT_DOUBLE_EQ(f.importe, 60);
  // The uncovered rest counts as cash.
  f = calculaFormaDePagoPorTicket(100, pagos({{"30", "4"}}));
  EXPECT_EQ(f.clave, "01");
  EXPECT_DOUBLE_EQ(f.importe, 70);
  // A tie keeps the earlier payment.
  f = calculaFormaDePagoPorTicket(100, pagos({{"50", "3"}, {"50", "4"}}));
  EXPECT_EQ(f.clave, "03");
  f = calculaFormaDePagoPorTicket(198.35, pagos({{"100", "1"}, {"98.35", "28"}}));
  EXPECT_EQ(f.clave, "01");
  f = calculaFormaDePagoPorTicket(0, pagos({}));
  EXPECT_EQ(f.clave, "0");
}

TEST(Facturacion, DatosDelNegocioQueFaltanParaFacturar) {
  TNegocio negocio;
  negocio.datosFiscales.regimenFiscal = "601";
  EXPECT_EQ(u_compruebaDatosFacturacion(negocio, true),
            "No es posible realizar facturación:\r\r - no se encontro: emisor lugar de "
            "expedición.\r\rAgregue datos faltantes desde el apartado 'Configuración'.");
  negocio.datosFiscales.direccion.codigoPostal = "06600";
  EXPECT_EQ(u_compruebaDatosFacturacion(negocio, true), "");
  negocio.datosFiscales.regimenFiscal.clear();
  EXPECT_EQ(u_compruebaDatosFacturacion(negocio, false),
            "No es posible realizar facturación:\r\r - no se encontro: régimen fiscal\r - no se "
            "encontro: datos de usuario en línea.\r\rAgregue datos faltantes desde el apartado "
            "'Configuración'.");
}

TEST(Facturacion, PeticionAlServicioYSuRespuesta) {
  TNegocio negocio;
  negocio.nombre = "Abarrotes La Esperanza";
  negocio.datosFiscales.regimenFiscal = "601";
  negocio.datosFiscales.direccion.codigoPostal = "06600";
  CmidTierResponse ticket;
  ticket.setColumnas({"puntoOperacion_uuid", "puntoOperacion_subtotal", "puntoOperacion_descuento",
                      "puntoOperacion_total"});
  ticket.agregaFila({" T-15 ", 3 * 32.40, 1.239, 112.759});
  ticket.setOk(true);
  TreceptorFactura receptor = receptorValido();
  receptor.rfc = "xoji740919u48";
  const datosFacturar d = u_preparaFacturaTicket(negocio, ticket, {"04", 60}, receptor);
  const QJsonObject cuerpo = u_cuerpoTimbrado("EKU9003173C9", {"tienda", "cuenta1", "x"}, d);
  const QJsonObject f = cuerpo["factura"].toObject();
  EXPECT_EQ(cuerpo["contrasena"].toString(), "x");
  EXPECT_EQ(f["tipoDocumento"].toString(), "FAC");
  EXPECT_EQ(f["formaPago"].toString(), "04");
  EXPECT_EQ(f["metodoPago"].toString(), "PUE");
  EXPECT_EQ(f["lugarExpedicion"].toString(), "06600");
  EXPECT_EQ(f["usoCFDI"].toString(), "G03");
  EXPECT_EQ(f["tickets"].toArray(), QJsonArray({"T-15"}));
  EXPECT_TRUE(f["conceptos"].toArray().isEmpty());
  EXPECT_EQ(f["receptor"].toObject()["rfc"].toString(), "XOJI740919U48");
  EXPECT_EQ(f["receptor"].toObject()["regimenFiscal"].toString(), "605");
  EXPECT_EQ(f["emisor"].toObject()["regimenFiscal"].toString(), "601");
  // Money is cut, not rounded, and 3 × 32.40 stays 97.20.
  EXPECT_DOUBLE_EQ(f["subtotal"].toDouble(), 97.20);
  EXPECT_DOUBLE_EQ(f["descuento"].toDouble(), 1.23);
  EXPECT_DOUBLE_EQ(f["total"].toDouble(), 112.75);

  // Concepts given in the request (a global invoice) travel with their taxes.
  datosFacturar g;
  g.conceptos = TTablaLT({"inventarioProducto_nombre", "inventarioProducto_clave",
                          "_claveSATproductoServicio", "_cantidad", "_precioVenta", "_descuento"});
  g.conceptos.setNumFilas(2);
  g.conceptos.setCelda("inventarioProducto_nombre", 0, "Venta");
  g.conceptos.setCelda("inventarioProducto_clave", 0, "15");
  g.conceptos.setCelda("_cantidad", 0, "1");
  g.conceptos.setCelda("_precioVenta", 0, "97.2");
  g.conceptos.setCelda("_descuento", 1, "1.23");
  g.conceptos.setCelda("no existe", 0, "x");
  g.impuestos.resize(1);
  g.impuestos[0].impuestos[1] = {"002",  "IVA Trasladado", "Traslado", "", "Tasa", "",
                                 "0.16", "15.55",          "97.2",     "", ""};
  const QJsonArray conceptos =
      u_cuerpoTimbrado("EKU9003173C9", {}, g)["factura"].toObject()["conceptos"].toArray();
  ASSERT_EQ(conceptos.size(), 2);
  EXPECT_EQ(conceptos[0]["descripcion"].toString(), "Venta");
  EXPECT_DOUBLE_EQ(conceptos[0]["importe"].toDouble(), 97.2);
  // Taxes go as a ticket line's, by name: what the service reads.
  const QJsonObject impuestos = conceptos[0]["impuestos"].toObject();
  EXPECT_EQ(impuestos.keys(), QStringList{"ivaTrasladado"});
  EXPECT_EQ(impuestos["ivaTrasladado"]["tasa"].toString(), "0.16");
  EXPECT_DOUBLE_EQ(impuestos["ivaTrasladado"]["importe"].toDouble(), 15.55);
  EXPECT_DOUBLE_EQ(conceptos[1]["descuento"].toDouble(), 1.23);
  EXPECT_FALSE(conceptos[1].toObject().contains("impuestos"));

  const QString uuid = "6f1d2c1e-3a4b-4c5d-8e9f-0a1b2c3d4e5f";
  auto r = u_leeRespuestaTimbrado(
      201, QJsonDocument(QJsonObject{{"ok", true}, {"uuid", uuid}}).toJson());
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.uuid, uuid.toUpper());
  r = u_leeRespuestaTimbrado(201, R"({"ok":true,"uuid":"123"})");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.mensaje, "Respuesta no válida del servicio de facturación");
  r = u_leeRespuestaTimbrado(409, R"({"ok":false,"mensaje":"El ticket 15 ya fue facturado"})");
  EXPECT_EQ(r.mensaje,
            "El servicio de facturación rechazó la factura: El ticket 15 ya fue facturado");
  r = u_leeRespuestaTimbrado(401, "{}");
  EXPECT_EQ(r.mensaje,
            "El servicio de facturación rechazó el usuario, la cuenta o la contraseña del usuario "
            "en línea");
  r = u_leeRespuestaTimbrado(503, "no es json");
  EXPECT_EQ(r.mensaje, "El servicio de facturación no pudo timbrar la factura (error 503)");
  EXPECT_FALSE(u_urlTimbrado("ftp://x").isValid());
  EXPECT_EQ(u_urlTimbrado("http://127.0.0.1:81/base/").toString(),
            "http://127.0.0.1:81/base/api/v1/facturas");
}

class FacturaDatos : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    CatalogoPrueba cat(conexion());
    cat.tiendaDeVentas();
    op1 = cat.ventaGuardada(15);
    op2 = cat.ventaGuardada(16);
  }
  CmidTierResponse consulta(const QString& sql) { return sqlLee(conexion(), sql); }
  int op1 = 0, op2 = 0;
};

TEST_P(FacturaDatos, UnaFacturaQuedaGuardadaUnaSolaVez) {
  const QDateTime fecha(QDate(2026, 2, 3), QTime(10, 20, 30));
  const QString uuid = "AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE";
  QString error;
  ASSERT_TRUE(guardaFacturaTicket(op1, 1, uuid, receptorValido(), fecha, conexion(), &error))
      << error.toStdString();
  // A retry after a lost answer stores nothing more.
  ASSERT_TRUE(guardaFacturaTicket(op1, 1, uuid, receptorValido(), fecha, conexion(), &error));

  const CmidTierResponse t = buscaTicketParaFacturar(op1, 1, conexion());
  EXPECT_EQ(t.getCelda("puntoOperacion_facturadoMetodo"), "2");
  EXPECT_EQ(t.getCelda("puntoOperacionAdicional_uuid"), uuid);
  EXPECT_FALSE(t.getCelda("puntoOperacion_facturadoFecha").isEmpty());
  const CmidTierResponse r = buscaReceptorPorRfc(" xoji740919u48 ", 1, conexion());
  EXPECT_TRUE(filasComo(r,
                        {"Receptor_nombre", "Receptor_codigoPostal", "Receptor_regimenFiscal",
                         "Receptor_usoCFDI", "Receptor_correo"},
                        {"INGRID XODAR JIMENEZ|88965|605|G03|ingrid@example.com"}));
  const CmidTierResponse c = consulta(
      "SELECT c.tipoDocumento, c.total, c.Receptor_idReceptor, a.Receptor_idReceptor AS ra, "
      "(SELECT COUNT(*) FROM puntoOperacionAdicional) AS adicionales, "
      "(SELECT COUNT(*) FROM Comprobante) AS comprobantes FROM Comprobante c JOIN "
      "puntoOperacionAdicional a ON a.uuid = c.uuid");
  const QString receptor = r.getCelda("Receptor_idReceptor");
  EXPECT_TRUE(
      filasComo(c, {"tipoDocumento", "Receptor_idReceptor", "ra", "adicionales", "comprobantes"},
                {QString("FAC|%1|%1|1|1").arg(receptor)}));
  EXPECT_DOUBLE_EQ(c.getCeldaAsFloat("total"), 198.35);

  // The same customer invoiced again with a new address: one receiver, brought up to date.
  TreceptorFactura mudado = receptorValido();
  mudado.codigoPostal = "01000";
  ASSERT_TRUE(guardaFacturaTicket(op2, 1, "BBBBBBBB-BBBB-4CCC-8DDD-EEEEEEEEEEEE", mudado, fecha,
                                  conexion(), &error));
  EXPECT_EQ(
      consulta("SELECT COUNT(*) AS n FROM Receptor WHERE rfc = 'XOJI740919U48'").getCeldaAsInt("n"),
      1);
  EXPECT_EQ(buscaReceptorPorRfc("XOJI740919U48", 1, conexion()).getCelda("Receptor_codigoPostal"),
            "01000");
}

TEST_P(FacturaDatos, UnTicketAjenoNoDejaNada) {
  QString error;
  EXPECT_FALSE(guardaFacturaTicket(op1, 2, "CCCCCCCC-BBBB-4CCC-8DDD-EEEEEEEEEEEE", receptorValido(),
                                   QDateTime::currentDateTime(), conexion(), &error));
  EXPECT_EQ(error, QString("No se encontró el ticket de la operación %1").arg(op1));
  EXPECT_EQ(consulta("SELECT COUNT(*) AS n FROM Receptor").getCeldaAsInt("n"), 0);
  EXPECT_EQ(buscaTicketParaFacturar(op1, 1, conexion()).getCelda("puntoOperacion_facturadoMetodo"),
            "");
  EXPECT_EQ(buscaTicketParaFacturar(op1, 2, conexion()).getRowCount(), 0);
}

TEST_P(FacturaDatos, FormasDePagoAplicadasDelTicket) {
  const CmidTierResponse p = consultaFormaPago(op1, conexion());
  // The empty third row carries no amount.
  EXPECT_TRUE(filasComo(p, {"formaPago_id", "formaPago_clave"}, {"1|01", "4|*"}));
  EXPECT_DOUBLE_EQ(p.getCeldaAsFloat("puntoFormaPagoAplicada_importe", 1), 98.35);
  EXPECT_DOUBLE_EQ(consultaTicketTotal(op1, conexion()), 198.35);
  const TformaPagoTicket f = calculaFormaDePagoPorTicket(consultaTicketTotal(op1, conexion()), p);
  EXPECT_EQ(f.clave, "01");
}

INSTANCIA_AMBOS_MOTORES(FacturaDatos);
