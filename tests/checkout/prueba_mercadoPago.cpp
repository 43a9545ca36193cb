// The MercadoPago client of the checkout: the protocol rules on their own, then the client
// against the HTTPS sandbox (requests as sent, matching, token renewal, faults, the log).
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>

#include "checkout/reglas/clienteMercadoPago.h"
#include "db/TmiddleTier.h"
#include "services/reglas/credencialesMercadoPago.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/SandboxMercadoPagoPrueba.h"
#include "util/Log.h"
#include "util/utilerias.h"

namespace {

using namespace mercadoPago;

TEST(ReglasMercadoPago, VigenciaDelTokenEnMinutosCompletos) {
  const QDateTime ahora = QDateTime::fromString("2026-12-06 12:00:00", "yyyy-MM-dd HH:mm:ss");
  TDatosMercado d{true, "c", "s", "tok", "usr", QString(), "poi"};
  const struct {
    int segundos;
    bool vigente;
  } casos[] = {{0, true},         {354 * 60, true},  {354 * 60 + 59, true},
               {355 * 60, false}, {360 * 60, false}, {-60, false}};
  for (const auto& c : casos) {
    d.vigencia = vigenciaTexto(ahora.addSecs(-c.segundos));
    EXPECT_EQ(validaAccessToken(d, ahora), c.vigente) << c.segundos;
  }
  d.vigencia = vigenciaTexto(ahora);
  for (QString TDatosMercado::*campo :
       {&TDatosMercado::accessToken, &TDatosMercado::userID, &TDatosMercado::vigencia}) {
    TDatosMercado sin = d;
    sin.*campo = QString();
    EXPECT_FALSE(validaAccessToken(sin, ahora));
  }
}

TEST(ReglasMercadoPago, RangosMontosYRespuestas) {
  EXPECT_EQ(rangos(), QStringList({"1 Hora", "1 Día", "1 Semana", "1 Mes"}));
  EXPECT_EQ(inicioRango("1 Hora"), "NOW-1HOUR");
  EXPECT_EQ(inicioRango("1 Día"), "NOW-1DAY");
  EXPECT_EQ(inicioRango("1 Semana"), "NOW-6DAYS");
  EXPECT_EQ(inicioRango("1 Mes"), "NOW-1MONTH");

  const struct {
    const char* filtro;
    double importe;
    bool coincide;
  } montos[] = {
      {"100", 100.0, true},      {"100", 100.01, false},    {"$ 1,234.50", 1234.5, true},
      {"1,234.5", 1234.5, true}, {"", 100.01, true},        {"   ", 7, true},
      {"abc", 100, false},       {"100.010", 100.01, true}, {"99999999.99", 99999999.99, true}};
  for (const auto& m : montos)
    EXPECT_EQ(montoCoincide(QString::fromUtf8(m.filtro), m.importe), m.coincide) << m.filtro;

  const TTokenMercado t = leeToken(R"({"access_token":"APP_USR-1","user_id":1122334455})");
  EXPECT_TRUE(t.ok);
  EXPECT_EQ(t.userID, "1122334455");
  EXPECT_EQ(t.bitacora, QStringList({"Se encontro token ", "Se encontro userID "}));
  EXPECT_EQ(leeToken(R"({"access_token":"A","user_id":"77"})").userID, "77");
  EXPECT_EQ(leeToken("<html>").bitacora, QStringList({"No se encontro token en respuesta(rest)"}));
  EXPECT_EQ(leeToken(R"({"access_token":"A"})").bitacora,
            QStringList({"Se encontro token ", "No se encontro userID en respuesta(rest)"}));

  QList<TPagoMercado> pagos;
  EXPECT_FALSE(leePagos("<html>", &pagos));
  EXPECT_FALSE(leePagos(R"({"paging":{}})", &pagos));
  ASSERT_TRUE(
      leePagos(R"({"results":[{"id":1311000002,"date_approved":"2026-01-31T13:45:12.000-06:00",
      "transaction_amount":150.5,"external_reference":"VENTA-15","card":{"first_six_digits":"450995",
      "last_four_digits":"3704","cardholder":{"name":"APRO"}}}]})",
               &pagos));
  ASSERT_EQ(pagos.size(), 1);
  EXPECT_EQ(pagos[0].id, "1311000002");
  EXPECT_EQ(pagos[0].fecha, "2026-01-31 13:45:12");
  EXPECT_EQ(pagos[0].monto, "150.5");
  EXPECT_EQ(pagos[0].tarjeta, "450995  ....  3704");
  EXPECT_EQ(pagos[0].nombre, "APRO");
  EXPECT_EQ(pagos[0].concepto, "VENTA-15");
  EXPECT_EQ(leePOI(R"({"id":1,"poi":"PAX-1"})"), "PAX-1");
  EXPECT_EQ(leePOI("basura"), "");

  const TConsultaAbono a{true, "1", "450995  ....  3704", "ANA", "V-1", 100.5, 0};
  EXPECT_EQ(detallePago(a),
            "Nombre: ANA\r\nTarjeta: 450995  ....  3704\r\nMonto: 100.5\r\nConcepto: V-1");
  EXPECT_TRUE(configuracionCompleta({false, "c", "s", "", "", "", "p"}));
  EXPECT_FALSE(configuracionCompleta({true, "c", "s", "t", "u", "v", ""}));
  EXPECT_EQ(sinSecretos("a=x+y&b=x%2By&c=z", {"x+y", ""}), "a=***&b=***&c=z");
}

// The three checks in order: a payment failing the amount is never looked up further, a used
// one never costs a terminal call.
TEST(ReglasMercadoPago, FiltraEnOrdenMontoReferenciaTerminal) {
  QList<TPagoMercado> pagos;
  for (const auto& [id, importe] :
       {std::pair{"1", 100.0}, {"2", 100.01}, {"3", 100.0}, {"4", 100.0}, {"5", 50.0}}) {
    TPagoMercado p;
    p.id = id;
    p.importe = importe;
    pagos << p;
  }
  QStringList referencias, terminales;
  const auto usada = [&](const QString& id) {
    referencias << id;
    return id == "3";
  };
  const auto terminal = [&](const QString& id) {
    terminales << id;
    return id == "4" ? QString("OTRA") : QString("PAX");
  };
  const QList<TPagoMercado> quedan = filtraPagos(pagos, "100", "PAX", usada, terminal);
  ASSERT_EQ(quedan.size(), 1);
  EXPECT_EQ(quedan[0].id, "1");
  EXPECT_EQ(quedan[0].poi, "PAX");
  EXPECT_EQ(referencias, QStringList({"1", "3", "4"}));
  EXPECT_EQ(terminales, QStringList({"1", "4"}));
  terminales.clear();
  EXPECT_EQ(filtraPagos(pagos, "", "PAX", usada, terminal).size(), 3);  // every amount
}

class ClienteMercado : public ::testing::Test {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    ASSERT_TRUE(db);
    CatalogoPrueba(db->conexion()).negocioBasico();
    db->llenaLocalSYS(1);
    signingConfigura(db->carpeta() + "/");
    Log::configura(db->carpeta());
    ASSERT_TRUE(s.arranca(
        {"--client-id", "app-123", "--client-secret", kSecreto, "--terminal", "PAX-0001"}));
    ASSERT_TRUE(
        u_guardaCredencialesMercadoPago({"app-123", kSecreto, "PAX-0001"}, 1, db->conexion()).ok);
    ASSERT_TRUE(u_leeConfiguracionMercadoPago(1, db->conexion(), &datos).ok);
    configuracion = {s.urlApi(), s.urlPoint(), s.archivoCa(), 5000};
  }
  void TearDown() override { Log::configura(QString()); }

  qint64 pago(double monto, const QString& terminal = "PAX-0001") {
    return s.agregaPago({{"monto", monto}, {"terminal", terminal}, {"titular", "ANA"}})
        .value("id")
        .toInteger();
  }
  bool busca(const QString& monto, QList<TPagoMercado>* pagos) {
    TclienteMercadoPago c(configuracion, datos, db->conexion(), 1);
    return c.buscaPagos("NOW-1HOUR", monto, "PAX-0001", pagos);
  }
  QString bitacora() const {
    QFile f(Log::archivoDelDia());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }
  // Neither the secret nor any token issued ever reaches the log.
  void sinSecretosEnBitacora() {
    const QString b = bitacora();
    EXPECT_FALSE(b.contains(kSecreto));
    EXPECT_FALSE(b.contains(QUrl::toPercentEncoding(kSecreto)));
    for (const QJsonValue& t : s.tokens())
      EXPECT_FALSE(b.contains(t.toObject().value("token").toString()));
  }
  QStringList rutas() const {
    QStringList r;
    for (const QJsonValue& p : s.peticiones())
      r << p.toObject().value("metodo").toString() + " " + p.toObject().value("ruta").toString();
    return r;
  }

  static constexpr const char* kSecreto = "s3cr+to/=";
  std::unique_ptr<BaseDatosPrueba> db;
  SandboxMercadoPagoPrueba s;
  TDatosMercado datos;
  TConfiguracionMercado configuracion;
};

TEST_F(ClienteMercado, TokenBusquedaYTerminalComoLosPideLaCaja) {
  const qint64 a = pago(100), b = pago(100), otraTerminal = pago(100, "PAX-0002");
  pago(100.01);
  pago(250.5);
  QList<TPagoMercado> pagos;
  ASSERT_TRUE(busca("100", &pagos)) << bitacora().toStdString();
  QStringList ids;
  for (const TPagoMercado& p : pagos) ids << p.id;
  ids.sort();
  EXPECT_EQ(ids, QStringList({QString::number(a), QString::number(b)}));
  EXPECT_EQ(pagos[0].poi, "PAX-0001");
  EXPECT_EQ(pagos[0].tarjeta, "450995  ....  3704");

  // The request log against the protocol: a token, one search, one terminal call for each
  // payment of the amount (the other amounts cost none).
  const QJsonArray peticiones = s.peticiones();
  ASSERT_EQ(peticiones.size(), 5);
  const auto consulta = [&](int i) {
    QStringList q;
    for (const QJsonValue& v : peticiones[i].toObject().value("consulta").toArray())
      q << v.toObject().value("nombre").toString() + "=" + v.toObject().value("valor").toString();
    return q;
  };
  EXPECT_EQ(rutas()[0], "POST /oauth/token");
  EXPECT_EQ(consulta(0), QStringList({"grant_type=client_credentials", "client_id=app-123",
                                      "client_secret=***"}));
  EXPECT_EQ(peticiones[0].toObject().value("estado").toInt(), 200);
  EXPECT_EQ(rutas()[1], "GET /v1/payments/search");
  EXPECT_EQ(consulta(1), QStringList({"access_token=***", "status=approved", "range=date_created",
                                      "begin_date=NOW-1HOUR", "end_date=NOW"}));
  EXPECT_EQ(peticiones[1].toObject().value("encabezados").toObject().value("accept").toString(),
            "application/json");
  QStringList terminales;
  for (int i = 2; i < 5; ++i) {
    EXPECT_EQ(peticiones[i].toObject().value("puerto").toString(), "point");
    EXPECT_EQ(consulta(i), QStringList({"access_token=***", "status=approved"}));
    terminales << peticiones[i].toObject().value("ruta").toString().section('/', -1);
  }
  terminales.sort();
  EXPECT_EQ(terminales,
            QStringList({QString::number(a), QString::number(b), QString::number(otraTerminal)}));

  // The token is stored encrypted with when it was obtained.
  TDatosMercado guardado;
  ASSERT_TRUE(u_leeConfiguracionMercadoPago(1, db->conexion(), &guardado).ok);
  EXPECT_EQ(deCrypt(guardado.accessToken), s.tokens()[0].toObject().value("token").toString());
  EXPECT_EQ(deCrypt(guardado.userID), "1122334455");
  EXPECT_TRUE(validaAccessToken(guardado, QDateTime::currentDateTime()));
  const QString b2 = bitacora();
  EXPECT_TRUE(b2.contains("[mercadopago] Se encontro token \n")) << b2.toStdString();
  EXPECT_TRUE(b2.contains("[mercadopago] Se encontro userID \n"));
  sinSecretosEnBitacora();

  // A payment stored as a sale's reference is never offered again, and costs no terminal call.
  TmiddleTier mt(db->conexion());
  mt.setQuery(
      "INSERT INTO puntoOperacion (idNegocioFk, ticketNo, fechaHora) VALUES (1, 1, "
      "'2026-12-06 10:00:00')");
  ASSERT_EQ(mt.nonQuery(), 1);
  mt.setQuery(
      "INSERT INTO puntoFormaPagoAplicada (puntoOperacion_id, posicion, referencia) SELECT "
      "id, 1, :ref FROM puntoOperacion");
  mt.setString("ref", QString::number(a));
  ASSERT_EQ(mt.nonQuery(), 1);
  s.borraPeticiones();
  ASSERT_TRUE(busca("100", &pagos));
  ASSERT_EQ(pagos.size(), 1);
  EXPECT_EQ(pagos[0].id, QString::number(b));
  EXPECT_EQ(rutas().size(), 3);  // the token was still good: search and two terminals
  EXPECT_EQ(rutas()[0], "GET /v1/payments/search");
}

TEST_F(ClienteMercado, ElTokenSeRenuevaALos355Minutos) {
  pago(80);
  QList<TPagoMercado> pagos;
  ASSERT_TRUE(busca("80", &pagos));
  for (const auto& [minutos, renueva] : {std::pair{354, false}, {355, true}}) {
    datos.vigencia = vigenciaTexto(QDateTime::currentDateTime().addSecs(-60 * minutos));
    s.borraPeticiones();
    ASSERT_TRUE(busca("80", &pagos));
    EXPECT_EQ(pagos.size(), 1);
    EXPECT_EQ(rutas().first() == "POST /oauth/token", renueva) << minutos;
  }
  // A token the service expired is not known to the station until its 355 minutes pass: the
  // search fails and is logged; the next lookup after renewal works again.
  s.expiraTokens();
  EXPECT_FALSE(busca("80", &pagos));
  EXPECT_TRUE(bitacora().contains("HTTP 401"));
  sinSecretosEnBitacora();
}

TEST_F(ClienteMercado, FallasSoloSeRegistran) {
  pago(100);
  const struct {
    const char* nombre;
    std::function<void()> prepara;
    const char* enBitacora;
  } casos[] = {
      {"credenciales rechazadas", [&] { datos.clienteSecret = crypt("otro+secreto"); }, "HTTP 401"},
      {"error del servicio", [&] { s.modo("error", -1, {"token"}); }, "HTTP 500"},
      {"basura en el token", [&] { s.modo("basura", -1, {"token"}); },
       "No se encontro token en respuesta(rest)"},
      {"basura en la búsqueda", [&] { s.modo("basura", -1, {"busqueda"}); },
       "La respuesta de la búsqueda de pagos no es válida"},
      {"tiempo agotado",
       [&] {
         s.modo("lento", 3000, {"token"});
         configuracion.tiempoEsperaMs = 400;
       },
       "Tiempo de espera agotado"},
      {"autoridad equivocada", [&] { configuracion.archivoCa.clear(); }, "TLS"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    const TDatosMercado original = datos;
    const TConfiguracionMercado configuracionOriginal = configuracion;
    datos.accessToken.clear();
    c.prepara();
    QList<TPagoMercado> pagos;
    EXPECT_FALSE(busca("100", &pagos));
    EXPECT_TRUE(bitacora().contains(c.enBitacora)) << bitacora().toStdString();
    s.modo("normal");
    datos = original;
    configuracion = configuracionOriginal;
  }
  sinSecretosEnBitacora();
}

}  // namespace
