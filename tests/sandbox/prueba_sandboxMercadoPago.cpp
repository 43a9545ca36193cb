// The MercadoPago sandbox over HTTPS as the checkout's lookups use it: the token, the payment
// search with the lookup's parameters, the Point terminal of a payment, and its faults.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QProcess>
#include <QTest>
#include <QUrlQuery>

#include "support/SandboxMercadoPagoPrueba.h"

namespace {

QString busqueda(const SandboxMercadoPagoPrueba& s, const QString& token,
                 const QString& desde = "NOW-1HOUR") {
  return s.urlApi() + "/v1/payments/search?access_token=" + token +
         "&status=approved&range=date_created&begin_date=" + desde + "&end_date=NOW";
}

QString point(const SandboxMercadoPagoPrueba& s, const QString& token, qint64 id) {
  return s.urlPoint() + "/point/services/payment/" + QString::number(id) +
         "?access_token=" + token + "&status=approved";
}

QStringList ids(const RespuestaSandbox& r) {
  QStringList lista;
  for (const QJsonValue& p : r.cuerpo.value("results").toArray())
    lista << QString::number(p.toObject().value("id").toInteger());
  return lista;
}

TEST(SandboxMercadoPago, TokenBusquedaYTerminalComoLasLeeLaCaja) {
  SandboxMercadoPagoPrueba s;
  ASSERT_TRUE(s.arranca({"--terminal", "PAX-0001"}));
  const auto fecha = [](int minutos) {
    return QDateTime::currentDateTime().addSecs(-60 * minutos).toString(Qt::ISODate);
  };
  const QJsonObject cien = s.agregaPago({{"monto", 100},
                                         {"ultimosDigitos", "1234"},
                                         {"primerosDigitos", "450995"},
                                         {"titular", "ANA PEREZ"},
                                         {"referencia", "VENTA-15"},
                                         {"fecha", fecha(5)}});
  ASSERT_FALSE(cien.isEmpty());
  const qint64 otroTerminal =
      s.agregaPago({{"monto", 100.01}, {"terminal", "PAX-0002"}, {"fecha", fecha(10)}})
          .value("id")
          .toInteger();
  const qint64 viejo = s.agregaPago({{"monto", 50}, {"fecha", fecha(120)}}).value("id").toInteger();
  const qint64 rechazado =
      s.agregaPago({{"monto", 70}, {"estado", "rejected"}}).value("id").toInteger();
  const qint64 sinTerminal =
      s.agregaPago({{"monto", 30}, {"terminal", ""}}).value("id").toInteger();
  ASSERT_GT(sinTerminal, 0);

  // The token call: query parameters and no body.
  const auto t = s.https("POST", s.urlApi() +
                                     "/oauth/token?grant_type=client_credentials&client_id=app&"
                                     "client_secret=s3cr3t%2B1");
  ASSERT_EQ(t.estado, 200) << t.crudo.toStdString();
  const QString token = t.cuerpo.value("access_token").toString();
  EXPECT_TRUE(token.startsWith("APP_USR-"));
  EXPECT_EQ(t.cuerpo.value("user_id").toInteger(), 1122334455);
  EXPECT_EQ(t.cuerpo.value("expires_in").toInt(), 21600);

  // The last hour, newest first: the old and the rejected payments stay out.
  const auto r = s.https("GET", busqueda(s, token), {}, {{"accept", "application/json"}});
  ASSERT_EQ(r.estado, 200) << r.crudo.toStdString();
  EXPECT_EQ(ids(r), (QStringList{QString::number(sinTerminal),
                                 QString::number(cien.value("id").toInteger()),
                                 QString::number(otroTerminal)}));
  EXPECT_EQ(r.cuerpo.value("paging").toObject().value("total").toInt(), 3);
  const QJsonObject p = r.cuerpo.value("results").toArray().at(1).toObject();
  EXPECT_EQ(p.value("transaction_amount").toDouble(), 100);
  EXPECT_EQ(p.value("date_approved").toString().left(19).replace('T', ' ').size(), 19);
  EXPECT_EQ(p.value("card").toObject().value("first_six_digits").toString(), "450995");
  EXPECT_EQ(p.value("card").toObject().value("last_four_digits").toString(), "1234");
  EXPECT_EQ(p.value("card").toObject().value("cardholder").toObject().value("name").toString(),
            "ANA PEREZ");
  EXPECT_EQ(p.value("external_reference").toString(), "VENTA-15");
  EXPECT_EQ(ids(s.https("GET", busqueda(s, token, "NOW-1DAY"))).size(), 4);
  for (const char* forma :
       {"NOW-6DAYS", "NOW-1MONTH", "NOW-90MINUTES", "2026-01-01T00:00:00.000-06:00"})
    EXPECT_EQ(s.https("GET", busqueda(s, token, forma)).estado, 200) << forma;
  const auto mala = s.https("GET", busqueda(s, token, "AYER"));
  EXPECT_EQ(mala.estado, 400);
  EXPECT_EQ(mala.cuerpo.value("message").toString(),
            "El parámetro 'begin_date' no es válido: 'AYER'");
  EXPECT_EQ(ids(s.https("GET", s.urlApi() + "/v1/payments/search?access_token=" + token +
                                   "&status=rejected")),
            QStringList{QString::number(rechazado)});

  // The terminal of each payment, from the Point host only.
  const auto poi = s.https("GET", point(s, token, cien.value("id").toInteger()));
  ASSERT_EQ(poi.estado, 200);
  EXPECT_EQ(poi.cuerpo.value("poi").toString(), "PAX-0001");
  EXPECT_EQ(s.https("GET", point(s, token, otroTerminal)).cuerpo.value("poi").toString(),
            "PAX-0002");
  EXPECT_EQ(s.https("GET", point(s, token, sinTerminal)).estado, 404);
  EXPECT_EQ(s.https("GET", point(s, token, rechazado)).estado, 404);
  EXPECT_EQ(s.https("GET", point(s, token, 42)).cuerpo.value("message").toString(),
            "El pago 42 no existe");
  EXPECT_EQ(
      s.https("GET", QString(point(s, token, viejo)).replace(s.urlPoint(), s.urlApi())).estado,
      404);
}

TEST(SandboxMercadoPago, TokenRequeridoEnCadaLlamada) {
  SandboxMercadoPagoPrueba s;
  ASSERT_TRUE(
      s.arranca({"--client-id", "app", "--client-secret", "s3cr3t", "--vigencia-token", "2"}));
  const qint64 id = s.agregaPago({{"monto", 10}}).value("id").toInteger();
  // {token call's query, status, error code}
  const QList<std::tuple<QString, int, QString>> tokens = {
      {"grant_type=client_credentials&client_id=app&client_secret=otro", 401, "invalid_client"},
      {"grant_type=client_credentials&client_id=app", 400, "invalid_request"},
      {"grant_type=password&client_id=app&client_secret=s3cr3t", 400, "unsupported_grant_type"},
      {"client_id=app&client_secret=s3cr3t", 400, "invalid_request"},
  };
  for (const auto& [consulta, estado, codigo] : tokens) {
    const auto r = s.https("POST", s.urlApi() + "/oauth/token?" + consulta);
    EXPECT_EQ(r.estado, estado) << consulta.toStdString();
    EXPECT_EQ(r.cuerpo.value("error").toString(), codigo);
    EXPECT_EQ(r.cuerpo.value("status").toInt(), estado);
  }
  const QString token = s.token("app", "s3cr3t");
  ASSERT_FALSE(token.isEmpty());
  EXPECT_EQ(s.https("GET", busqueda(s, token)).estado, 200);
  // The token in the Authorization header serves as well.
  EXPECT_EQ(s.https("GET", s.urlApi() + "/v1/payments/search", {},
                    {{"Authorization", "Bearer " + token.toLatin1()}})
                .estado,
            200);

  const auto sinToken = s.https("GET", s.urlApi() + "/v1/payments/search?status=approved");
  EXPECT_EQ(sinToken.estado, 401);
  EXPECT_EQ(sinToken.cuerpo.value("message").toString(), "Falta el token de acceso");
  EXPECT_EQ(s.https("GET", busqueda(s, "APP_USR-inventado")).cuerpo.value("message").toString(),
            "El token de acceso no es válido");
  EXPECT_EQ(s.expiraTokens(), 1);
  for (const QString& url : {busqueda(s, token), point(s, token, id)}) {
    const auto r = s.https("GET", url);
    EXPECT_EQ(r.estado, 401);
    EXPECT_EQ(r.cuerpo.value("message").toString(), "El token de acceso expiró");
  }
  // A token lapses on its own at the end of its validity.
  const QString breve = s.token("app", "s3cr3t");
  EXPECT_EQ(s.https("GET", point(s, breve, id)).estado, 200);
  QTest::qWait(2100);
  EXPECT_EQ(s.https("GET", point(s, breve, id)).estado, 401);
}

TEST(SandboxMercadoPago, ModosYBitacoraSinSecretos) {
  SandboxMercadoPagoPrueba s;
  ASSERT_TRUE(s.arranca());
  const QString token = s.token("app", "muy-secreto");
  ASSERT_TRUE(s.modo("error", -1, {"busqueda"}));
  EXPECT_FALSE(s.token().isEmpty());  // the token call is not affected
  const auto error = s.https("GET", busqueda(s, token));
  EXPECT_EQ(error.estado, 500);
  EXPECT_EQ(error.cuerpo.value("error").toString(), "internal_error");
  ASSERT_TRUE(s.modo("basura", -1, {"token"}));
  const auto basura =
      s.https("POST", s.urlApi() +
                          "/oauth/token?grant_type=client_credentials&client_id=a&client_secret=b");
  EXPECT_EQ(basura.estado, 200);
  EXPECT_TRUE(basura.cuerpo.isEmpty());
  ASSERT_TRUE(s.modo("lento", 1500));
  EXPECT_EQ(s.https("GET", busqueda(s, token), {}, {}, 300).estado, 0);
  EXPECT_FALSE(s.modo("roto"));
  EXPECT_FALSE(s.modo("error", -1, {"pagos"}));
  ASSERT_TRUE(s.modo("normal"));
  EXPECT_EQ(s.https("GET", busqueda(s, token), {}, {{"accept", "application/json"}}).estado, 200);

  // The log keeps every call with its query in order, secrets masked.
  const QJsonArray log = s.peticiones();
  ASSERT_GE(log.size(), 6);
  const QJsonObject primera = log.at(0).toObject();
  EXPECT_EQ(primera.value("metodo").toString(), "POST");
  EXPECT_EQ(primera.value("ruta").toString(), "/oauth/token");
  EXPECT_EQ(primera.value("bytesCuerpo").toInt(), 0);
  EXPECT_EQ(primera.value("estado").toInt(), 200);
  const QJsonObject ultima = log.last().toObject();
  QStringList nombres;
  for (const QJsonValue& p : ultima.value("consulta").toArray())
    nombres << p.toObject().value("nombre").toString();
  EXPECT_EQ(nombres, (QStringList{"access_token", "status", "range", "begin_date", "end_date"}));
  EXPECT_EQ(ultima.value("consulta").toArray().at(0).toObject().value("valor").toString(), "***");
  EXPECT_EQ(ultima.value("encabezados").toObject().value("accept").toString(), "application/json");
  const QByteArray texto = s.control("GET", "/control/peticiones").crudo;
  EXPECT_FALSE(texto.contains("muy-secreto"));
  EXPECT_FALSE(texto.contains(token.toLatin1()));
  EXPECT_TRUE(s.borraPeticiones());
  EXPECT_TRUE(s.peticiones().isEmpty());
}

TEST(SandboxMercadoPago, SoloConfiaQuienTieneLaCa) {
  SandboxMercadoPagoPrueba s;
  ASSERT_TRUE(s.arranca());
  const QString token = s.token();
  ASSERT_FALSE(token.isEmpty());
  // curl, as the product's libcurl: with the CA it talks, without it the certificate is refused.
  const auto curl = [](const QStringList& argumentos) {
    QProcess p;
    p.start("curl",
            QStringList{"-sS", "--max-time", "10", "-o", "/dev/null", "-w", "%{http_code}"} +
                argumentos);
    p.waitForFinished(20000);
    return qMakePair(p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()));
  };
  EXPECT_EQ(curl({"--cacert", s.archivoCa(), busqueda(s, token)}), qMakePair(0, QString("200")));
  EXPECT_EQ(curl({"--cacert", s.archivoCa(),
                  QString(point(s, token, 1)).replace("127.0.0.1", "localhost")}),
            qMakePair(0, QString("404")));
  EXPECT_EQ(curl({busqueda(s, token)}).first, 60);  // SSL certificate problem
  // Qt's client with the system's CAs refuses it as well.
  const auto sinCa = llamaHttp("GET", QUrl(busqueda(s, token)));
  EXPECT_EQ(sinCa.estado, 0);
  EXPECT_FALSE(sinCa.error.isEmpty());
  // Plain HTTP to a TLS port gets nothing usable.
  EXPECT_EQ(llamaHttp("GET", QUrl(QString(busqueda(s, token)).replace("https:", "http:"))).estado,
            0);
  EXPECT_TRUE(s.activo());
}

}  // namespace
