// The invoicing-service sandbox as its clients see it: the real executable over HTTP.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTest>
#include <QUrl>

#include "support/SandboxPrueba.h"

namespace {

QJsonObject ticket(qint64 ticketNo, double total = 116) {
  return {{"ticketNo", ticketNo},
          {"fechaHora", "2026-01-31T13:45:10"},
          {"subtotal", 100},
          {"descuento", 0},
          {"impuestos", 16},
          {"total", total},
          {"conceptos", QJsonArray{QJsonObject{{"cantidad", 1},
                                               {"descripcion", "Café de olla"},
                                               {"precioUnitario", 100},
                                               {"importe", 100},
                                               {"claveProductoServicio", "50202306"},
                                               {"claveUnidad", "H87"}}}},
          {"pagos", QJsonArray{QJsonObject{{"formaPago", "01"}, {"importe", total}}}}};
}

QJsonObject carga(const QJsonObject& t, const QString& contrasena = "secreta") {
  return {{"rfc", "EKU9003173C9"},
          {"usuario", "tienda"},
          {"cuenta", "cuenta1"},
          {"contrasena", contrasena},
          {"ticket", t}};
}

QString mensaje(const SandboxPrueba::Respuesta& r) { return r.cuerpo.value("mensaje").toString(); }

TEST(SandboxFacturacion, CargaIdempotenteYConsulta) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());

  const auto primera = s.post("/api/v1/tickets", carga(ticket(15)));
  ASSERT_EQ(primera.estado, 201);
  EXPECT_TRUE(primera.cuerpo.value("ok").toBool());
  const QString id = primera.cuerpo.value("identificador").toString();
  ASSERT_FALSE(id.isEmpty());

  // The same business and ticket number again: the identifier it already has.
  const auto repetida = s.post("/api/v1/tickets", carga(ticket(15)));
  EXPECT_EQ(repetida.estado, 200);
  EXPECT_EQ(repetida.cuerpo.value("identificador").toString(), id);
  QJsonObject otroRfc = carga(ticket(15));
  otroRfc["rfc"] = "XAXX010101000";
  const auto otra = s.post("/api/v1/tickets", otroRfc);
  EXPECT_EQ(otra.estado, 201);
  EXPECT_NE(otra.cuerpo.value("identificador").toString(), id);
  EXPECT_EQ(s.tickets().size(), 2);

  const auto consulta = s.get("/api/v1/tickets/" + id);
  ASSERT_EQ(consulta.estado, 200);
  EXPECT_EQ(consulta.cuerpo.value("estado").toInt(), 1);
  EXPECT_EQ(consulta.cuerpo.value("rfc").toString(), "EKU9003173C9");
  EXPECT_EQ(consulta.cuerpo.value("ticket").toObject().value("total").toDouble(), 116);
  EXPECT_FALSE(consulta.cuerpo.contains("contrasena"));
  const auto noExiste = s.get("/api/v1/tickets/NO-EXISTE");
  EXPECT_EQ(noExiste.estado, 404);
  EXPECT_FALSE(noExiste.cuerpo.value("ok").toBool(true));
  EXPECT_FALSE(mensaje(noExiste).isEmpty());
}

TEST(SandboxFacturacion, CuerposInvalidosSeRechazanConSuMotivo) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const auto rechazo = [&s](const QJsonObject& cuerpo) {
    const auto r = s.post("/api/v1/tickets", cuerpo);
    EXPECT_EQ(r.estado, 400);
    EXPECT_FALSE(r.cuerpo.value("ok").toBool(true));
    return mensaje(r);
  };

  const auto noJson = s.post("/api/v1/tickets", QByteArray("{\"rfc\": "));
  EXPECT_EQ(noJson.estado, 400);
  EXPECT_FALSE(mensaje(noJson).isEmpty());

  QJsonObject c = carga(ticket(1));
  c.remove("usuario");
  EXPECT_TRUE(rechazo(c).contains("usuario"));
  c = carga(ticket(1));
  c["rfc"] = "RFC MAL";
  EXPECT_EQ(rechazo(c), "El RFC del emisor no es válido");

  QJsonObject t = ticket(1);
  t.remove("total");
  EXPECT_TRUE(rechazo(carga(t)).contains("ticket.total"));
  // Ticket numbers beyond 32 bits would be cut at the shop and collide with others.
  for (const QJsonValue& no : {QJsonValue(2.5), QJsonValue(0), QJsonValue(2147483648.0),
                               QJsonValue(1e20), QJsonValue("15")}) {
    t = ticket(1);
    t["ticketNo"] = no;
    EXPECT_EQ(rechazo(carga(t)),
              "El campo 'ticket.ticketNo' debe ser un número entero entre 1 y 2147483647");
  }
  t = ticket(1);
  t["fechaHora"] = "31/01/2026";
  EXPECT_TRUE(rechazo(carga(t)).contains("ticket.fechaHora"));
  t = ticket(1);
  t["conceptos"] = QJsonArray();
  EXPECT_TRUE(rechazo(carga(t)).contains("concepto"));
  t = ticket(1);
  t["conceptos"] = QJsonArray{QJsonObject{{"cantidad", "uno"}, {"descripcion", "x"}}};
  EXPECT_TRUE(rechazo(carga(t)).contains("ticket.conceptos[0].cantidad"));
  t = ticket(1);
  t["pagos"] = QJsonArray{QJsonObject{{"importe", 116}}};
  EXPECT_TRUE(rechazo(carga(t)).contains("ticket.pagos[0].formaPago"));

  EXPECT_TRUE(s.tickets().isEmpty());
  EXPECT_EQ(s.post("/api/v1/tickets", carga(ticket(2147483647))).estado, 201);
}

TEST(SandboxFacturacion, RfcConFechaRealYDigitoVerificador) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  // {issuer RFC, accepted, warned about its check digit}
  struct Caso {
    QString rfc;
    bool aceptado, aviso;
  };
  const QList<Caso> casos = {
      {"EKU9003173C9", true, false},   {"XIA190128J61", true, false},
      {"CACX7605101P8", true, false},  {"XAXX010101000", true, false},
      {"XEXX010101000", true, false},  {"EKU9003173C8", true, true},
      {"GOMA000229AB1", true, true},  // 2000 was a leap year
      {"GOMA990230AB1", false, false}, {"GOMA010229AB1", false, false},
      {"GOMA990431AB1", false, false}, {"GOMA991301AB1", false, false},
      {"GOMA990100AB1", false, false}, {"EKU900317", false, false},
  };
  qint64 numero = 1;
  for (const Caso& c : casos) {
    QJsonObject cuerpo = carga(ticket(numero++));
    cuerpo["rfc"] = c.rfc;
    const auto r = s.post("/api/v1/tickets", cuerpo);
    EXPECT_EQ(r.estado, c.aceptado ? 201 : 400) << c.rfc.toStdString();
    if (!c.aceptado) {
      EXPECT_EQ(mensaje(r), "El RFC del emisor no es válido");
    }
    const QJsonArray avisos = s.get("/control/avisos").cuerpo.value("avisos").toArray();
    const bool avisado = !avisos.isEmpty() && avisos.last().toString().contains(c.rfc);
    EXPECT_EQ(avisado, c.aviso) << c.rfc.toStdString();
  }
}

TEST(SandboxFacturacion, SoloAceptaLasCredencialesDadas) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca({"--usuario", "tienda", "--cuenta", "cuenta1", "--contrasena", "secreta"}));
  const auto mala = s.post("/api/v1/tickets", carga(ticket(3), "otra"));
  EXPECT_EQ(mala.estado, 401);
  EXPECT_FALSE(mala.cuerpo.value("ok").toBool(true));
  EXPECT_FALSE(mensaje(mala).isEmpty());
  EXPECT_TRUE(s.tickets().isEmpty());
  EXPECT_EQ(s.post("/api/v1/tickets", carga(ticket(3))).estado, 201);
}

TEST(SandboxFacturacion, ModoErrorYModoLento) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  EXPECT_FALSE(s.modo("roto"));
  EXPECT_EQ(s.post("/control/modo", QJsonObject{{"modo", "lento"}, {"retrasoMs", -5}}).estado, 400);

  ASSERT_TRUE(s.modo("error"));
  const auto error = s.post("/api/v1/tickets", carga(ticket(8)));
  EXPECT_EQ(error.estado, 500);
  EXPECT_EQ(mensaje(error), "Servicio no disponible");
  EXPECT_TRUE(s.tickets().isEmpty());

  // A slow answer does not hold up the server, and a client that gives up before it comes
  // does not bring the server down.
  ASSERT_TRUE(s.modo("lento", 2000));
  QNetworkAccessManager red;
  QNetworkRequest peticion(QUrl(s.url() + "/api/v1/tickets"));
  peticion.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
  std::unique_ptr<QNetworkReply> lenta(
      red.post(peticion, QJsonDocument(carga(ticket(9))).toJson()));
  ASSERT_TRUE(QTest::qWaitFor([&s] { return s.tickets().size() == 1; }, 5000));
  EXPECT_FALSE(lenta->isFinished());
  lenta->abort();
  QTest::qWait(2300);  // past the moment its answer was due
  ASSERT_TRUE(s.activo());

  // The ticket was kept even though its answer was lost; the late retry gets its identifier.
  ASSERT_EQ(s.tickets().size(), 1);
  const QString id = s.tickets().at(0).toObject().value("identificador").toString();
  ASSERT_TRUE(s.modo("normal"));
  const auto reintento = s.post("/api/v1/tickets", carga(ticket(9)));
  EXPECT_EQ(reintento.estado, 200);
  EXPECT_EQ(reintento.cuerpo.value("identificador").toString(), id);
}

TEST(SandboxFacturacion, ConservaLosTicketsAlReiniciar) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const QString id =
      s.post("/api/v1/tickets", carga(ticket(21))).cuerpo.value("identificador").toString();
  ASSERT_FALSE(id.isEmpty());
  s.detiene();

  ASSERT_TRUE(s.arranca());
  EXPECT_EQ(s.get("/api/v1/tickets/" + id).estado, 200);
  const auto otra = s.post("/api/v1/tickets", carga(ticket(21)));
  EXPECT_EQ(otra.estado, 200);
  EXPECT_EQ(otra.cuerpo.value("identificador").toString(), id);
  s.detiene();

  // A store it cannot read is neither used nor overwritten.
  QFile archivo(s.carpetaDatos() + "/tickets.json");
  ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
  archivo.write("no es json");
  archivo.close();
  QProcess p;
  p.start(SandboxPrueba::ejecutable(), {"--puerto", "0", "--datos", s.carpetaDatos()});
  ASSERT_TRUE(p.waitForFinished(10000));
  EXPECT_EQ(p.exitCode(), 1);
  EXPECT_FALSE(p.readAllStandardOutput().contains("ESCUCHANDO"));
  ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
  EXPECT_EQ(archivo.readAll(), "no es json");
}

TEST(SandboxFacturacion, DiarioSobreviveAUnCorteADestiempo) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  QStringList ids;
  for (int n = 1; n <= 3; ++n)
    ids << s.post("/api/v1/tickets", carga(ticket(n))).cuerpo.value("identificador").toString();
  s.detiene();
  // A crash in the middle of the last write: its record is cut short.
  QFile diario(s.carpetaDatos() + "/diario.jsonl");
  ASSERT_TRUE(diario.open(QIODevice::ReadWrite));
  const QByteArray completo = diario.readAll();
  ASSERT_EQ(completo.count('\n'), 3);
  ASSERT_TRUE(diario.resize(completo.size() - 40));
  diario.close();

  ASSERT_TRUE(s.arranca());
  EXPECT_EQ(s.get("/api/v1/tickets/" + ids[0]).estado, 200);
  EXPECT_EQ(s.get("/api/v1/tickets/" + ids[1]).estado, 200);
  EXPECT_EQ(s.get("/api/v1/tickets/" + ids[2]).estado, 404);
  // The lost ticket comes again as new; what was kept was folded into the snapshot.
  EXPECT_EQ(s.post("/api/v1/tickets", carga(ticket(3))).estado, 201);
  QFile foto(s.carpetaDatos() + "/tickets.json");
  ASSERT_TRUE(foto.open(QIODevice::ReadOnly));
  EXPECT_TRUE(foto.readAll().contains(ids[1].toLatin1()));
  foto.close();
  s.detiene();
  ASSERT_TRUE(s.arranca());
  EXPECT_EQ(s.tickets().size(), 3);
  EXPECT_EQ(QFileInfo(diario.fileName()).size(), 0);
  s.detiene();

  // Damage in the middle is not a crash: the store refuses to start and is left as it is.
  const QByteArray danado = "{\"n\":99,\"tickets\":[]}\nbasura\n{\"n\":100,\"tickets\":[]}\n";
  ASSERT_TRUE(diario.open(QIODevice::WriteOnly));
  diario.write(danado);
  diario.close();
  QProcess p;
  p.start(SandboxPrueba::ejecutable(), {"--puerto", "0", "--datos", s.carpetaDatos()});
  ASSERT_TRUE(p.waitForFinished(10000));
  EXPECT_EQ(p.exitCode(), 1);
  EXPECT_TRUE(p.readAllStandardError().contains("dañado"));
  EXPECT_EQ(QFileInfo(diario.fileName()).size(), danado.size());
}

// The page a receipt's QR code opens: the customer invoices the ticket with a plain form.
TEST(SandboxFacturacion, PortalDelClienteFacturaElTicketDelQR) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const auto cargado = s.post("/api/v1/tickets", carga(ticket(21, 232.5)));
  ASSERT_EQ(cargado.estado, 201);
  const QString id = cargado.cuerpo.value("identificador").toString();
  const auto envia = [&](const QByteArray& formulario) {
    return s.llama("POST", "/portal", formulario,
                   {{"Content-Type", "application/x-www-form-urlencoded"}});
  };
  const QByteArray campoId = "id=" + QUrl::toPercentEncoding(id);

  const auto pagina = s.get("/portal?id=" + id);
  EXPECT_EQ(pagina.estado, 200);
  for (const char* texto : {"<td>21</td>", "$ 232.50", "name=\"receptor\""})
    EXPECT_TRUE(pagina.crudo.contains(texto)) << texto;
  const auto ajeno = s.get("/portal?id=nada");
  EXPECT_EQ(ajeno.estado, 404);
  EXPECT_TRUE(QString::fromUtf8(ajeno.crudo).contains("No se encontró el ticket 'nada'"));

  struct Rechazo {
    QByteArray formulario;
    const char* aviso;
  };
  for (const Rechazo& r :
       {Rechazo{campoId + "&receptor=XYZ&nombre=Juan", "El RFC 'XYZ' no es válido"},
        Rechazo{campoId + "&receptor=XAXX010101000&nombre=Juan", "no al público en general"},
        Rechazo{campoId + "&receptor=CACX7605101P8&nombre=+", "Escriba el nombre"}}) {
    const auto respuesta = envia(r.formulario);
    EXPECT_EQ(respuesta.estado, 400) << r.formulario.constData();
    EXPECT_TRUE(QString::fromUtf8(respuesta.crudo).contains(QString::fromUtf8(r.aviso)))
        << r.formulario.constData();
  }
  EXPECT_TRUE(s.facturas().isEmpty());

  // Lower case and form blanks ('+') as a phone's browser sends them.
  const auto hecha = envia(campoId + "&receptor=cacx7605101p8&nombre=X%C3%B3chitl+Casas");
  ASSERT_EQ(hecha.estado, 201);
  const QJsonArray facturas = s.facturas();
  ASSERT_EQ(facturas.size(), 1);
  const QJsonObject receptor =
      facturas[0].toObject().value("factura").toObject().value("receptor").toObject();
  EXPECT_EQ(receptor.value("rfc").toString(), "CACX7605101P8");
  EXPECT_EQ(receptor.value("nombre").toString(), "XÓCHITL CASAS");
  const QString uuid = facturas[0].toObject().value("uuid").toString();
  EXPECT_TRUE(hecha.crudo.contains(uuid.toUtf8()));
  const auto pdf = s.get("/portal/facturas/" + uuid + ".pdf");
  EXPECT_EQ(pdf.estado, 200);
  EXPECT_TRUE(pdf.crudo.startsWith("%PDF"));

  // Pressed again, or the QR opened later: the same invoice, no second one.
  const auto otraVez = envia(campoId + "&receptor=CACX7605101P8&nombre=Otra");
  EXPECT_EQ(otraVez.estado, 409);
  EXPECT_TRUE(otraVez.crudo.contains(uuid.toUtf8()));
  EXPECT_TRUE(s.get("/portal?id=" + id).crudo.contains(uuid.toUtf8()));
  EXPECT_EQ(s.facturas().size(), 1);
  EXPECT_EQ(s.get("/portal/facturas/nada.pdf").estado, 404);
}

TEST(SandboxFacturacion, ArgumentosInvalidos) {
  for (const QStringList& args :
       {QStringList{"--puerto", "abc", "--datos", "/tmp"}, QStringList{"--puerto", "0"},
        QStringList{"--puerto", "70000", "--datos", "/tmp"}}) {
    QProcess p;
    p.start(SandboxPrueba::ejecutable(), args);
    ASSERT_TRUE(p.waitForFinished(10000)) << args.join(' ').toStdString();
    EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
    EXPECT_FALSE(p.readAllStandardError().isEmpty());
  }
}

}  // namespace
