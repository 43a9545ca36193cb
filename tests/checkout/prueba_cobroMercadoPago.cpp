// Card payments of the Point terminal through pos-script and the HTTPS sandbox, as a shop uses
// them: credentials on their screen, automatic and manual lookups, the stored references, the
// history, and a payment never offered twice.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "checkout/reglas/mercadoPago.h"
#include "db/TmiddleTier.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/ConsultaPrueba.h"
#include "support/FilasPrueba.h"
#include "support/PosScriptPrueba.h"
#include "support/SandboxMercadoPagoPrueba.h"

namespace {

class CobroMercadoPago : public ::testing::Test {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    ASSERT_TRUE(db);
    CatalogoPrueba cat(db->conexion());
    cat.negocioBasico();
    cat.producto(1, "Café de olla 250 g", "7501000000011", 100);  // 116 with VAT
    cat.existencia(1, 20);
    cat.cajero(1, "Ana");
    cat.cajaAbierta(1, "CAJA-1", 1);
    TmiddleTier mt(db->conexion());
    mt.setQuery(
        "INSERT INTO puntoMetodoPago (nombre, formaPago_id, orden, idNegocioFk) VALUES "
        "('Tarjeta de crédito', 4, 1, 1)");
    ASSERT_EQ(mt.nonQuery(), 1);
    ASSERT_TRUE(s.arranca(
        {"--client-id", "app-123", "--client-secret", "s3cr3t", "--terminal", "PAX-0001"}));
  }
  QJsonObject corre(const QByteArray& escenario) {
    const QString ini =
        iniPosScript(*db, "CAJA-1",
                     QString("urlMercadoPago=%1\nurlMercadoPagoPoint=%2\ncaMercadoPago=%3\n")
                         .arg(s.urlApi(), s.urlPoint(), s.archivoCa()));
    const SalidaPosScript salida =
        correPosScript(db->carpeta(), {"--config", ini}, escenario, 90000);
    EXPECT_EQ(salida.codigo, 0) << salida.error.toStdString();
    return salida.json;
  }
  QString pago(double monto, const QString& titular) {
    return QString::number(
        s.agregaPago({{"monto", monto}, {"titular", titular}, {"ultimosDigitos", "1234"}})
            .value("id")
            .toInteger());
  }
  QStringList referencias() {
    return columnaDe(sqlLee(db->conexion(),
                            "SELECT referencia FROM puntoFormaPagoAplicada "
                            "WHERE servicioExterno = 1 ORDER BY id"),
                     "referencia");
  }
  static QStringList textos(const QJsonObject& o) {
    QStringList t;
    for (const QJsonValue& m : o["mensajes"].toArray()) t << m["texto"].toString();
    return t;
  }

  std::unique_ptr<BaseDatosPrueba> db;
  SandboxMercadoPagoPrueba s;
};

TEST_F(CobroMercadoPago, RecorridoDeLaTiendaConTresPagos) {
  const QString doble = pago(232, "LUIS"), a = pago(116, "ANA"), b = pago(116, "BETO");
  const QJsonObject o = corre(R"([
    {"serviciosExternos": {"clientId": "app-123", "clientSecret": "s3cr3t", "poi": "PAX-0001"}},
    {"lectura": "7501000000011"}, {"lectura": "7501000000011"},
    {"cobrar": {"efectivo": "", "pagos": [{"metodo": 4, "mercadoPago": {"busqueda": "automatica"}}]}},
    {"lectura": "7501000000011"},
    {"cobrar": {"efectivo": "", "pagos": [{"metodo": 4, "mercadoPago": {"busqueda": "automatica", "fila": 1}}]}},
    {"lectura": "7501000000011"},
    {"cobrar": {"efectivo": "", "pagos": [{"metodo": 4, "mercadoPago": {"busqueda": "manual", "rango": "1 Día", "fila": 0}}]}},
    {"lectura": "7501000000011"},
    {"cobrar": {"efectivo": "116", "pagos": [{"metodo": 4, "monto": "", "mercadoPago": {"busqueda": "automatica"}}]}},
    {"historialPagos": {}}
  ])");
  ASSERT_TRUE(o["serviciosExternos"].toObject()["guardado"].toBool())
      << QJsonDocument(o).toJson().toStdString();
  const QJsonArray cobros = o["cobros"].toArray();
  ASSERT_EQ(cobros.size(), 4) << QJsonDocument(o).toJson().toStdString();

  // One payment of 232: attached without a screen.
  QJsonObject fila = cobros[0]["filas"][0].toObject();
  EXPECT_TRUE(cobros[0]["ok"].toBool())
      << QJsonDocument(cobros[0].toObject()).toJson().toStdString();
  EXPECT_FALSE(fila["pantalla"].toBool());
  EXPECT_EQ(fila["referencia"].toString(), doble);
  EXPECT_EQ(fila["externo"].toInt(), 1);
  EXPECT_EQ(fila["detalle"].toString(),
            "Nombre: LUIS\r\nTarjeta: 450995  ....  1234\r\nMonto: 232\r\nConcepto: ");

  // Two payments of 116: the screen shows both, the cashier takes the second row.
  fila = cobros[1]["filas"][0].toObject();
  EXPECT_TRUE(cobros[1]["ok"].toBool());
  EXPECT_TRUE(fila["pantalla"].toBool());
  ASSERT_EQ(fila["resultados"].toArray().size(), 2);
  const QString elegido = fila["resultados"][1].toString();
  const QString otro = fila["resultados"][0].toString();
  EXPECT_EQ(fila["referencia"].toString(), elegido);
  EXPECT_EQ(QSet<QString>({elegido, otro}), QSet<QString>({a, b}));

  // Manual lookup over a day: the used ones are never offered; the amount comes from the payment.
  fila = cobros[2]["filas"][0].toObject();
  EXPECT_TRUE(cobros[2]["ok"].toBool());
  EXPECT_EQ(fila["resultados"].toArray(), QJsonArray({otro}));
  EXPECT_EQ(fila["referencia"].toString(), otro);
  EXPECT_EQ(fila["monto"].toString(), "116");  // through u_truncaMoneda

  // Nothing left (every amount asked for): the row says so and the sale goes on in cash.
  fila = cobros[3]["filas"][0].toObject();
  EXPECT_EQ(fila["detalle"].toString(), "No se encontraron pagos");
  EXPECT_EQ(fila["externo"], QJsonValue());
  EXPECT_FALSE(fila["pantalla"].toBool());

  EXPECT_EQ(referencias(), QStringList({doble, elegido, otro}));
  const QJsonArray historial = o["historialPagos"]["filas"].toArray();
  ASSERT_EQ(historial.size(), 3);
  EXPECT_EQ(historial[0]["referencia"].toString(), otro);  // newest first
  EXPECT_EQ(historial[0]["servicio"].toString(), "Mercado Pago");
  EXPECT_EQ(historial[2]["monto"].toString(), "232.00");
}

TEST_F(CobroMercadoPago, SinCredencialesNiServicioLaCajaSigueCobrando) {
  pago(116, "ANA");
  // Without credentials: the message and the credentials screen, no web call.
  QJsonObject o = corre(R"([{"lectura": "7501000000011"},
    {"cobrar": {"efectivo": "116", "pagos": [{"metodo": 4, "monto": "", "mercadoPago": {"busqueda": "automatica"}}]}}])");
  QJsonObject fila = o.value("cobro")["filas"][0].toObject();
  EXPECT_TRUE(fila["configuracionIncompleta"].toBool()) << QJsonDocument(o).toJson().toStdString();
  EXPECT_TRUE(textos(o).contains(QString::fromUtf8(mercadoPago::kConfiguracionIncompleta)));
  EXPECT_TRUE(o.value("cobro")["ok"].toBool());
  EXPECT_TRUE(s.peticiones().isEmpty());

  // The service failing: "No se encontraron pagos", and cash still sells; a cancelled manual
  // lookup resets its row.
  s.modo("error", -1, {"token"});
  o = corre(
      R"([{"serviciosExternos": {"clientId": "app-123", "clientSecret": "s3cr3t", "poi": "PAX-0001"}},
    {"lectura": "7501000000011"},
    {"cobrar": {"efectivo": "116", "pagos": [{"metodo": 4, "monto": "", "mercadoPago": {"busqueda": "automatica"}},
                                             {"metodo": 4, "mercadoPago": {"busqueda": "manual"}}]}}])");
  fila = o.value("cobro")["filas"][0].toObject();
  EXPECT_EQ(fila["detalle"].toString(), "No se encontraron pagos");
  EXPECT_TRUE(o.value("cobro")["ok"].toBool()) << QJsonDocument(o).toJson().toStdString();
  fila = o.value("cobro")["filas"][1].toObject();
  EXPECT_TRUE(fila["pantalla"].toBool());
  EXPECT_EQ(fila["metodo"].toString(), "Otro");
  EXPECT_EQ(fila["monto"].toString(), "");
  EXPECT_TRUE(referencias().isEmpty());
}

}  // namespace
