// Whole sales through the scripted driver: register, checkout, storing, upload to the
// invoicing sandbox and the printed receipt.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "printer/decodificadorEscPos.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/ConsultaPrueba.h"
#include "support/PosScriptPrueba.h"
#include "support/SandboxPrueba.h"

namespace {

class CobroCompleto : public ::testing::Test {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    ASSERT_TRUE(db);
    catalogo = std::make_unique<CatalogoPrueba>(db->conexion());
    CatalogoPrueba& cat = *catalogo;
    cat.negocioBasico();
    cat.producto(1, "Café de olla 250 g", "7501000000011", 100);
    cat.existencia(1, 2);
    cat.cajero(1, "Ana");
    cat.cajaAbierta(1, "CAJA-1", 1);
    cat.credenciales();
    signingConfigura(db->carpeta() + "/");
    ejecuta("UPDATE usuarioEnLinea SET contrasena = :c", crypt("secreto"));
    ejecuta(
        "INSERT INTO puntoMetodoPago (nombre, formaPago_id, orden, idNegocioFk) VALUES "
        "('Tarjeta de crédito', 4, 1, 1)");
    ejecuta(
        "INSERT INTO puntoMetodoPago (nombre, formaPago_id, orden, idNegocioFk) VALUES "
        "('Transferencia', 3, 2, 1)");
    ASSERT_TRUE(sandbox.arranca());
  }
  void ejecuta(const QString& sql, const QString& valor = QString()) {
    sqlEjecuta(db->conexion(), sql, valor.isNull() ? QVariantMap() : QVariantMap{{"c", valor}});
  }
  QJsonObject corre(const QByteArray& escenario) {
    const QString ini = iniPosScript(
        *db, "CAJA-1",
        "urlFacturacion=" + sandbox.url() + "\nenlaceTicket=http://portal.prueba/facturar\n");
    const SalidaPosScript s = correPosScript(db->carpeta(), {"--config", ini}, escenario);
    EXPECT_EQ(s.codigo, 0) << s.error.toStdString();
    return s.json;
  }
  static QStringList recibo(const QJsonObject& cobro) {
    QFile f(cobro["escpos"].toString());
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << cobro["escpos"].toString().toStdString();
    return decodificaEscPos(f.readAll()).textos();
  }
  QString celda(const QString& sql) {
    const CmidTierResponse r = sqlLee(db->conexion(), sql);
    return r.getRowCount() ? r.getCelda(0, 0) : QString("<sin filas>");
  }

  std::unique_ptr<BaseDatosPrueba> db;
  std::unique_ptr<CatalogoPrueba> catalogo;
  SandboxPrueba sandbox;
};

TEST_F(CobroCompleto, VentaEnEfectivoCargadaEImpresa) {
  const QJsonObject o = corre(R"([{"lectura": "7501000000011"}, {"cobrar": {"efectivo": "200"}}])");
  const QJsonObject c = o["cobro"].toObject();
  ASSERT_TRUE(c["ok"].toBool()) << QJsonDocument(o).toJson().toStdString();
  EXPECT_EQ(c["ticketNo"].toInt(), 1);
  EXPECT_EQ(c["despedida"].toString(), "¡Gracias por su compra!");
  EXPECT_EQ(c["estadoCarga"].toString(), "¡Ticket cargado correctamente!");
  EXPECT_EQ(c["devuelto"].toString(), "$ 84.00");
  EXPECT_EQ(c["lineasDespues"].toInt(), 0);  // the register cleared itself
  EXPECT_EQ(c["ticketRegistro"].toInt(), 1);
  EXPECT_EQ(celda("SELECT facturadoMetodo FROM puntoOperacion"), "3");
  const QString uuid = celda("SELECT uuid FROM puntoOperacion");
  EXPECT_FALSE(uuid.isEmpty());
  EXPECT_EQ(celda("SELECT existencia FROM inventarioExistencias"), "1");
  EXPECT_EQ(celda("SELECT devuelto FROM puntoOperacion"), "84");
  const QStringList lineas = recibo(c);
  // The portal line is wrapped to the paper's width.
  const QString texto = lineas.join(" ");
  EXPECT_TRUE(texto.contains("Puede realizar su factura electrónica en:")) << texto.toStdString();
  EXPECT_TRUE(texto.contains("http://portal.prueba/facturar")) << texto.toStdString();
  EXPECT_TRUE(lineas.contains(uuid));
  EXPECT_TRUE(QFile::exists(c["png"].toString()));
  // The QR file of the ticket, named by business and ticket number.
  EXPECT_TRUE(QFile::exists(db->carpeta() + "/Temp/otros/EKU9003173C9/cbb/1_1.bmp"));
}

TEST_F(CobroCompleto, SinServicioLaVentaSeGuardaSinQR) {
  sandbox.detiene();
  const QJsonObject o = corre(
      R"([{"lectura": "7501000000011"}, {"cobrar": {"efectivo": "16", "pagos": [{"formaPago": 4, "monto": "100", "referencia": "A1"}]}}])");
  const QJsonObject c = o["cobro"].toObject();
  ASSERT_TRUE(c["ok"].toBool()) << QJsonDocument(o).toJson().toStdString();
  EXPECT_EQ(c["estadoCarga"].toString(), "¡No se cargó el ticket!");
  EXPECT_EQ(celda("SELECT facturadoMetodo FROM puntoOperacion"), "");
  EXPECT_EQ(celda("SELECT devuelto FROM puntoOperacion"), "0");  // paid exactly
  EXPECT_EQ(celda("SELECT valor FROM puntoFormaPagoAplicada WHERE posicion = 1"), "100");
  EXPECT_EQ(celda("SELECT formaPago_id FROM puntoFormaPagoAplicada WHERE posicion = 1"), "4");
  EXPECT_FALSE(QFile::exists(db->carpeta() + "/Temp/otros/EKU9003173C9/cbb/1_1.bmp"));
}

TEST_F(CobroCompleto, UnaFilaSinMetodoNoRecibeTeclas) {
  // The row's button was pressed but no method chosen: its fields stay disabled, and keys sent
  // straight to them (as the script does) must not fill them.
  const QJsonObject o = corre(
      R"([{"lectura": "7501000000011"}, {"cobrar": {"efectivo": "116", "pagos": [{"monto": "50", "referencia": "A1"}]}}])");
  const QJsonObject c = o["cobro"].toObject();
  ASSERT_TRUE(c["ok"].toBool()) << QJsonDocument(o).toJson().toStdString();
  const QJsonObject fila = c["filas"].toArray().at(0).toObject();
  EXPECT_EQ(fila["monto"].toString(), "") << QJsonDocument(fila).toJson().toStdString();
  EXPECT_EQ(fila["referencia"].toString(), "");
  EXPECT_EQ(c["devuelto"].toString(), "$ 0.00");
  EXPECT_EQ(celda("SELECT devuelto FROM puntoOperacion"), "0");
}

TEST_F(CobroCompleto, RechazosDelCobro) {
  // A card row without reference, then not enough money, then too little stock.
  QJsonObject o = corre(
      R"([{"lectura": "7501000000011"}, {"cobrar": {"efectivo": "16", "pagos": [{"metodo": 4, "monto": "100", "referencia": "  "}]}}])");
  EXPECT_FALSE(o["cobro"].toObject()["ok"].toBool());
  EXPECT_EQ(o["mensajes"].toArray().last().toObject()["texto"].toString(),
            "Capture una referencia para todos las formas de pago");
  EXPECT_EQ(o["lineas"].toArray().size(), 1);
  o = corre(R"([{"lectura": "7501000000011"}, {"cobrar": {"efectivo": "115.99"}}])");
  EXPECT_FALSE(o["cobro"].toObject()["ok"].toBool());
  o = corre(
      R"([{"lectura": "7501000000011"}, {"cantidad": "3"}, {"cobrar": {"efectivo": "500"}}])");
  const QJsonObject c = o["cobro"].toObject();
  EXPECT_FALSE(c["ok"].toBool());
  EXPECT_EQ(c["despedida"].toString(), "Existencia insuficiente: Café de olla 250 g");
  EXPECT_EQ(o["lineas"].toArray().size(), 1);  // the sale stays on the register
  EXPECT_EQ(celda("SELECT COUNT(*) FROM puntoOperacion"), "0");
  EXPECT_EQ(celda("SELECT existencia FROM inventarioExistencias"), "2");
}

}  // namespace

TEST_F(CobroCompleto, VentaCobradaYFacturadaDesdeElGuion) {
  const QJsonObject o = corre(R"([{"lectura": "7501000000011"},
      {"cobrar": {"efectivo": "16", "pagos": [{"metodo": 4, "monto": "100", "referencia": "A1"}]}},
      {"facturar": {"rfc": "XOJI740919U48", "nombre": "Ingrid Xodar Jimenez",
                    "codigoPostal": "88965", "regimenFiscal": "601", "usoCFDI": "G03"}},
      {"facturar": {"rfc": "XOJI740919U48", "nombre": "Ingrid Xodar Jimenez",
                    "codigoPostal": "88965", "regimenFiscal": "605", "usoCFDI": "G03"}}])");
  const QJsonObject f = o["factura"].toObject();
  ASSERT_TRUE(f["ok"].toBool()) << QJsonDocument(o).toJson().toStdString();
  EXPECT_FALSE(f["clienteConocido"].toBool());
  EXPECT_EQ(f["estado"].toString(), "2");
  EXPECT_EQ(f["uuid"].toString(), celda("SELECT uuid FROM puntoOperacionAdicional"));
  EXPECT_EQ(sandbox.facturas().size(), 1);
  // The first attempt was refused on the screen: a regime of companies for a person's RFC.
  QStringList textos;
  for (const QJsonValue& m : o["mensajes"].toArray()) textos << m["texto"].toString();
  EXPECT_TRUE(textos.contains("El régimen fiscal 601 no corresponde a una persona física"))
      << textos.join(" | ").toStdString();
  EXPECT_EQ(textos.last(), "Factura generada correctamente.\rUUID: " + f["uuid"].toString());
  // The card carried most of the sale, so the invoice says so.
  EXPECT_EQ(sandbox.facturas()[0].toObject()["factura"].toObject()["formaPago"].toString(), "04");
}

// The receipt a customer reads: each line's amount is quantity times unit price, a
// promotion's header and a kit's components are captions, and the lines add up to the total
// through the subtotal, the discount ("Usted ahorró") and the taxes.
TEST_F(CobroCompleto, ElReciboSumaHastaElTotal) {
  CatalogoPrueba& cat = *catalogo;
  cat.producto(2, "Galletas de avena", "7501000000028", 18.5);
  cat.existencia(2, 20);
  cat.producto(3, "Frijol negro 1 kg", "7501000000035", 30);
  cat.existencia(3, 20);
  cat.promocion(9, "3x2 en galletas", 0, "|3|2", {2});
  cat.kit(7, "Kit frijoles", 55, {{3, "2"}});
  const QJsonObject o = corre(R"([{"lectura": "7501000000028"}, {"lectura": "7501000000028"},
                                  {"lectura": "7501000000028"}, {"lectura": "7501000000011"},
                                  {"kit": 7}, {"cobrar": {"efectivo": "500"}}])");
  const QJsonObject c = o["cobro"].toObject();
  ASSERT_TRUE(c["ok"].toBool()) << QJsonDocument(o).toJson().toStdString();
  const QStringList lineas = recibo(c);

  const auto monto = [](const QString& linea) {
    return qRound64(linea.section(' ', -1).remove(',').remove('$').toDouble() * 100);
  };
  const auto campo = [&lineas, &monto](const QString& titulo) {
    for (const QString& l : lineas)
      if (l.trimmed().startsWith(titulo + ":")) return monto(l.trimmed());
    ADD_FAILURE() << titulo.toStdString() << " no está en el recibo:\n"
                  << lineas.join('\n').toStdString();
    return qint64(-1);
  };
  const int inicio = lineas.indexOf(QRegularExpression("^\\s*Cant\\. .*Importe$"));
  ASSERT_GE(inicio, 0) << lineas.join('\n').toStdString();
  qint64 suma = 0;
  QStringList leyendas;
  for (int i = inicio + 1; i < lineas.size() && !lineas[i].startsWith("----"); ++i) {
    const QStringList partes = lineas[i].simplified().split(' ');
    if (partes.size() >= 4 && partes.last().contains('.')) {
      // Amount = quantity x unit price, to the cent.
      const double cantidad = partes.first().toDouble();
      const double unitario = QString(partes[partes.size() - 2]).remove(',').toDouble();
      EXPECT_EQ(monto(lineas[i]), qRound64(cantidad * unitario * 100)) << lineas[i].toStdString();
      suma += monto(lineas[i]);
    } else {
      leyendas << lineas[i].simplified();
    }
  }
  EXPECT_TRUE(leyendas.contains("1 3x2 en galletas")) << leyendas.join('|').toStdString();
  EXPECT_TRUE(leyendas.contains("2 Frijol negro 1 kg")) << leyendas.join('|').toStdString();
  const qint64 subtotal = campo("Subtotal"), ahorro = campo("Usted ahorró");
  EXPECT_EQ(suma, subtotal);
  EXPECT_EQ(ahorro, 1850);  // one pack of galletas free
  EXPECT_EQ(subtotal - ahorro + campo("Impuestos"), campo("Total"));
  EXPECT_EQ(campo("Total") + campo("Devuelto"), campo("Su Pago"));
}
