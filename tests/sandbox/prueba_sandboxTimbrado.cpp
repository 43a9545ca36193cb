// Invoice stamping and invoice PDFs at the invoicing-service sandbox, over real HTTP.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTest>

#include "support/SandboxPrueba.h"

namespace {

const QString EMISOR = "EKU9003173C9";
const QString RECEPTOR = "XOJI740919U48";

QJsonObject credenciales(const QString& rfc = EMISOR, const QString& contrasena = "secreta") {
  return {{"rfc", rfc}, {"usuario", "tienda"}, {"cuenta", "cuenta1"}, {"contrasena", contrasena}};
}

// Uploads a ticket and answers its identifier.
QString sube(const SandboxPrueba& s, qint64 ticketNo, const QString& rfc = EMISOR,
             const QString& descripcion = "Café de olla") {
  QJsonObject cuerpo = credenciales(rfc);
  cuerpo["ticket"] = ticketSandbox(ticketNo, descripcion);
  const auto r = s.post("/api/v1/tickets", cuerpo);
  EXPECT_EQ(r.estado, 201) << r.cuerpo.value("mensaje").toString().toStdString();
  return r.cuerpo.value("identificador").toString();
}

QJsonObject factura(const QStringList& tickets, const QString& receptor = RECEPTOR) {
  QJsonObject f = QJsonDocument::fromJson(R"json({
    "tipoDocumento": "FAC", "formaPago": "01", "metodoPago": "PUE", "moneda": "MXN",
    "lugarExpedicion": "06600", "usoCFDI": "G03", "relacionados": [], "conceptos": [],
    "subtotal": 100, "descuento": 0, "total": 116,
    "emisor": {"nombre": "Abarrotes La Esquina (Centro)", "regimenFiscal": "601"},
    "receptor": {"nombre": "INGRID XODAR JIMENEZ", "codigoPostal": "88965",
                 "regimenFiscal": "605", "correo": "ingrid@example.com"}})json")
                      .object();
  QJsonObject r = f["receptor"].toObject();
  r["rfc"] = receptor;
  f["receptor"] = r;
  f["tickets"] = QJsonArray::fromStringList(tickets);
  return f;
}

QJsonObject notaDeCredito(const QString& relacionada) {
  QJsonObject f = factura({});
  f["tipoDocumento"] = "CRE";
  f["relacionados"] = QJsonArray{relacionada};
  f["conceptos"] = QJsonArray{QJsonObject{
      {"cantidad", 1}, {"descripcion", "Devolución"}, {"precioUnitario", 50}, {"importe", 50}}};
  return f;
}

SandboxPrueba::Respuesta timbra(const SandboxPrueba& s, const QJsonObject& f,
                                const QString& rfc = EMISOR, const QString& contrasena = "secreta",
                                int tiempoMs = 5000) {
  QJsonObject cuerpo = credenciales(rfc, contrasena);
  cuerpo["factura"] = f;
  return s.post("/api/v1/facturas", cuerpo, tiempoMs);
}

// "status message", so a refusal is checked in one comparison.
std::string rechazo(const SandboxPrueba::Respuesta& r) {
  return QString("%1 %2").arg(r.estado).arg(mensajeSandbox(r)).toStdString();
}

QJsonObject registroTicket(const SandboxPrueba& s, const QString& id) {
  return s.get("/api/v1/tickets/" + id).cuerpo;
}

TEST(SandboxTimbrado, TimbraReintentaYNoFacturaDosVeces) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const QString t15 = sube(s, 15, EMISOR, "Café de olla");
  const QString t16 = sube(s, 16, EMISOR, "Pan dulce");

  const auto r = timbra(s, factura({t15, t16}));
  ASSERT_EQ(r.estado, 201) << mensajeSandbox(r).toStdString();
  const QString uuid = r.cuerpo.value("uuid").toString();
  EXPECT_TRUE(
      QRegularExpression("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$").match(uuid).hasMatch())
      << uuid.toStdString();
  EXPECT_TRUE(
      QDateTime::fromString(r.cuerpo.value("fechaTimbrado").toString(), Qt::ISODate).isValid());
  for (const QString& id : {t15, t16}) {
    const QJsonObject t = registroTicket(s, id);
    EXPECT_EQ(t.value("estado").toInt(), 2);
    EXPECT_EQ(t.value("factura").toString(), uuid);
  }

  // The record keeps the request, with the lines of the tickets as it brought none of its own.
  const auto leida = s.get("/api/v1/facturas/" + uuid);
  ASSERT_EQ(leida.estado, 200);
  EXPECT_TRUE(leida.cuerpo.value("ok").toBool());
  EXPECT_EQ(leida.cuerpo.value("rfc").toString(), EMISOR);
  EXPECT_EQ(leida.cuerpo.value("tipoDocumento").toString(), "FAC");
  EXPECT_FALSE(leida.cuerpo.contains("contrasena"));
  const QJsonObject f = leida.cuerpo.value("factura").toObject();
  EXPECT_EQ(f.value("receptor").toObject().value("rfc").toString(), RECEPTOR);
  const QJsonArray conceptos = f.value("conceptos").toArray();
  ASSERT_EQ(conceptos.size(), 2);
  EXPECT_EQ(conceptos.at(1).toObject().value("descripcion").toString(), "Pan dulce");
  EXPECT_EQ(s.get("/api/v1/facturas/NO-EXISTE").estado, 404);

  // A retry after a lost answer, tickets in another order: the same invoice, not a second one.
  const auto reintento = timbra(s, factura({t16, t15}));
  EXPECT_EQ(reintento.estado, 200);
  EXPECT_EQ(reintento.cuerpo.value("uuid").toString(), uuid);
  EXPECT_EQ(reintento.cuerpo.value("fechaTimbrado"), r.cuerpo.value("fechaTimbrado"));

  // Anything else that takes an invoiced ticket again is refused, naming the ticket.
  EXPECT_EQ(rechazo(timbra(s, factura({t15, t16}, "MAPE800101AB1"))),
            "409 El ticket 15 ya fue facturado");
  const QString t17 = sube(s, 17);
  EXPECT_EQ(rechazo(timbra(s, factura({t17, t16}))), "409 El ticket 16 ya fue facturado");
  EXPECT_EQ(s.facturas().size(), 1);
  EXPECT_EQ(registroTicket(s, t17).value("estado").toInt(), 1);
}

TEST(SandboxTimbrado, SoloTicketsConocidosDelMismoNegocio) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const QString propio = sube(s, 15);
  const QString ajeno = sube(s, 15, "MAPE800101AB1");

  EXPECT_EQ(rechazo(timbra(s, factura({propio, "NO-EXISTE"}))),
            "404 No se encontró el ticket 'NO-EXISTE'");
  EXPECT_EQ(rechazo(timbra(s, factura({ajeno}))),
            QString("404 No se encontró el ticket '%1'").arg(ajeno).toStdString());

  EXPECT_TRUE(s.facturas().isEmpty());
  EXPECT_EQ(registroTicket(s, propio).value("estado").toInt(), 1);
  EXPECT_FALSE(registroTicket(s, propio).contains("factura"));
}

TEST(SandboxTimbrado, CamposInvalidosNombranElCampo) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const QString id = sube(s, 15);
  // Each case changes one field of a good request: {object path, field, value (undefined
  // removes it), expected message}.
  struct Caso {
    QString objeto, campo;
    QJsonValue valor;
    QString esperado;
  };
  const QList<Caso> casos = {
      {"receptor", "rfc", QJsonValue::Undefined, "Falta el campo 'factura.receptor.rfc'"},
      {"receptor", "rfc", "XOJI74091", "El campo 'factura.receptor.rfc' no es válido"},
      {"receptor", "nombre", " ", "El campo 'factura.receptor.nombre' no puede estar vacío"},
      {"receptor", "codigoPostal", QJsonValue::Undefined,
       "Falta el campo 'factura.receptor.codigoPostal'"},
      {"receptor", "codigoPostal", "8896",
       "El campo 'factura.receptor.codigoPostal' debe tener cinco dígitos"},
      {"receptor", "regimenFiscal", "600",
       "El campo 'factura.receptor.regimenFiscal' no es válido"},
      {"receptor", "regimenFiscal", QJsonValue::Undefined,
       "Falta el campo 'factura.receptor.regimenFiscal'"},
      {"receptor", "correo", "ingrid", "El campo 'factura.receptor.correo' no es un correo válido"},
      {"emisor", "nombre", QJsonValue::Undefined, "Falta el campo 'factura.emisor.nombre'"},
      {"emisor", "regimenFiscal", "999", "El campo 'factura.emisor.regimenFiscal' no es válido"},
      {"", "usoCFDI", "G04", "El campo 'factura.usoCFDI' no es válido"},
      {"", "formaPago", "07", "El campo 'factura.formaPago' no es válido"},
      {"", "metodoPago", "pue", "El campo 'factura.metodoPago' no es válido"},
      {"", "moneda", "USD", "El campo 'factura.moneda' no es válido"},
      {"", "tipoDocumento", "FAX", "El campo 'factura.tipoDocumento' no es válido"},
      {"", "lugarExpedicion", 6600, "El campo 'factura.lugarExpedicion' debe ser texto"},
      {"", "total", -1, "El campo 'factura.total' no puede ser menor que 0"},
      {"", "subtotal", "100", "El campo 'factura.subtotal' debe ser un número"},
      {"", "tickets", QJsonArray{id, id},
       QString("'%1' aparece más de una vez en 'factura.tickets'").arg(id)},
      {"", "tickets", QJsonArray{},
       "La factura debe cubrir al menos un ticket en 'factura.tickets' o traer sus conceptos en "
       "'factura.conceptos'"},
      {"", "conceptos", QJsonArray{QJsonObject{{"cantidad", 1}}},
       "Falta el campo 'factura.conceptos[0].descripcion'"},
  };
  for (const Caso& c : casos) {
    QJsonObject f = factura({id});
    QJsonObject destino = c.objeto.isEmpty() ? f : f.value(c.objeto).toObject();
    if (c.valor.isUndefined())
      destino.remove(c.campo);
    else
      destino[c.campo] = c.valor;
    if (c.objeto.isEmpty())
      f = destino;
    else
      f[c.objeto] = destino;
    EXPECT_EQ(rechazo(timbra(s, f)), "400 " + c.esperado.toStdString());
  }
  QJsonObject sinFactura = credenciales();
  EXPECT_EQ(mensajeSandbox(s.post("/api/v1/facturas", sinFactura)), "Falta el campo 'factura'");
  EXPECT_EQ(s.post("/api/v1/facturas", QByteArray("[1,2]")).estado, 400);

  EXPECT_TRUE(s.facturas().isEmpty());
  EXPECT_EQ(registroTicket(s, id).value("estado").toInt(), 1);
}

TEST(SandboxTimbrado, FacturaGlobalYNotaDeCredito) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const QString id = sube(s, 15);

  // The general public needs neither postal code nor tax regime; its tickets go to state 3.
  QJsonObject global = factura({id}, "XAXX010101000");
  QJsonObject publico{{"rfc", "XAXX010101000"}, {"nombre", "PUBLICO EN GENERAL"}};
  global["receptor"] = publico;
  global["usoCFDI"] = "S01";
  const auto g = timbra(s, global);
  ASSERT_EQ(g.estado, 201) << mensajeSandbox(g).toStdString();
  const QString uuid = g.cuerpo.value("uuid").toString();
  EXPECT_EQ(registroTicket(s, id).value("estado").toInt(), 3);
  EXPECT_EQ(registroTicket(s, id).value("factura").toString(), uuid);

  // A credit note on it leaves the ticket where it was.
  QJsonObject nota = notaDeCredito(uuid);
  nota["tickets"] = QJsonArray{id};
  const auto cre = timbra(s, nota);
  ASSERT_EQ(cre.estado, 201) << mensajeSandbox(cre).toStdString();
  EXPECT_NE(cre.cuerpo.value("uuid").toString(), uuid);
  EXPECT_EQ(registroTicket(s, id).value("factura").toString(), uuid);
  EXPECT_EQ(s.get("/api/v1/facturas/" + cre.cuerpo.value("uuid").toString())
                .cuerpo.value("tipoDocumento")
                .toString(),
            "CRE");

  EXPECT_EQ(rechazo(timbra(s, notaDeCredito("0F0F0F0F-0000-4000-8000-000000000000"))),
            "404 No se encontró la factura relacionada '0F0F0F0F-0000-4000-8000-000000000000'");
  // Another business cannot relate to it.
  sube(s, 1, "MAPE800101AB1");
  const auto ajena = timbra(s, notaDeCredito(uuid), "MAPE800101AB1");
  EXPECT_EQ(ajena.estado, 404);
  QJsonObject sinConceptos = notaDeCredito(uuid);
  sinConceptos["conceptos"] = QJsonArray();
  EXPECT_EQ(timbra(s, sinConceptos).estado, 400);
  QJsonObject sinRelacionados = notaDeCredito(uuid);
  sinRelacionados["relacionados"] = QJsonArray();
  EXPECT_EQ(timbra(s, sinRelacionados).estado, 400);
  EXPECT_EQ(s.facturas().size(), 2);
}

TEST(SandboxTimbrado, CredencialesModoErrorYRespuestaPerdida) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca({"--usuario", "tienda", "--cuenta", "cuenta1", "--contrasena", "secreta"}));
  const QString id = sube(s, 15);
  EXPECT_EQ(rechazo(timbra(s, factura({id}), EMISOR, "otra")),
            "401 Usuario, cuenta o contraseña incorrectos");

  ASSERT_TRUE(s.modo("error"));
  EXPECT_EQ(rechazo(timbra(s, factura({id}))), "500 Servicio no disponible");
  EXPECT_EQ(s.get("/api/v1/facturas/X/pdf").estado, 500);
  EXPECT_TRUE(s.facturas().isEmpty());

  // A slow answer the client gave up on: the invoice was stamped all the same, and the retry
  // gets its UUID instead of a second stamp.
  ASSERT_TRUE(s.modo("lento", 1500));
  EXPECT_EQ(timbra(s, factura({id}), EMISOR, "secreta", 300).estado, 0);
  ASSERT_TRUE(QTest::qWaitFor([&s] { return s.facturas().size() == 1; }, 5000));
  ASSERT_TRUE(s.modo("normal"));
  const auto reintento = timbra(s, factura({id}));
  EXPECT_EQ(reintento.estado, 200);
  EXPECT_EQ(reintento.cuerpo.value("uuid").toString(),
            s.facturas().at(0).toObject().value("uuid").toString());
  EXPECT_EQ(s.facturas().size(), 1);
}

TEST(SandboxTimbrado, ClaveDeIdempotenciaEvitaUnaSegundaNota) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const QString relacionada = timbra(s, factura({sube(s, 15)})).cuerpo.value("uuid").toString();
  ASSERT_FALSE(relacionada.isEmpty());
  const auto nota = [&s](const QByteArray& clave, const QJsonObject& f,
                         const QString& contrasena = "secreta", int tiempoMs = 5000) {
    QJsonObject cuerpo = credenciales(EMISOR, contrasena);
    cuerpo["factura"] = f;
    return s.llama("POST", "/api/v1/facturas", QJsonDocument(cuerpo).toJson(),
                   {{"Idempotency-Key", clave}}, tiempoMs);
  };

  // The answer is lost on the way back; the retry under the same key gets the same note.
  ASSERT_TRUE(s.modo("lento", 1500));
  EXPECT_EQ(nota("devolucion-7", notaDeCredito(relacionada), "secreta", 300).estado, 0);
  ASSERT_TRUE(QTest::qWaitFor([&s] { return s.facturas().size() == 2; }, 5000));
  ASSERT_TRUE(s.modo("normal"));
  const QString uuid = s.facturas().at(1).toObject().value("uuid").toString();
  for (const QString& contrasena : {QString("secreta"), QString("otra")}) {
    const auto reintento = nota("devolucion-7", notaDeCredito(relacionada), contrasena);
    EXPECT_EQ(reintento.estado, 200);
    EXPECT_EQ(reintento.cuerpo.value("uuid").toString(), uuid);
  }
  // The same key with another request is refused; another key is another note.
  QJsonObject distinta = notaDeCredito(relacionada);
  distinta["total"] = 99;
  EXPECT_EQ(rechazo(nota("devolucion-7", distinta)),
            "409 La clave de idempotencia 'devolucion-7' ya se usó con otra petición");
  EXPECT_EQ(nota("devolucion-8", notaDeCredito(relacionada)).estado, 201);
  for (const QByteArray& mala : {QByteArray(""), QByteArray(201, 'k'), QByteArray("con espacio")}) {
    EXPECT_EQ(rechazo(nota(mala, notaDeCredito(relacionada))),
              "400 El encabezado Idempotency-Key debe tener de 1 a 200 caracteres visibles")
        << mala.toStdString();
  }
  EXPECT_EQ(s.facturas().size(), 3);

  // Keys outlive a restart.
  s.detiene();
  ASSERT_TRUE(s.arranca());
  EXPECT_EQ(nota("devolucion-7", notaDeCredito(relacionada)).cuerpo.value("uuid").toString(), uuid);
  EXPECT_EQ(s.facturas().size(), 3);
}

// The decoded PDF of an invoice; empty, with a failure, when the service gave none.
QByteArray pdf(const SandboxPrueba& s, const QString& uuid) {
  const auto r = s.get("/api/v1/facturas/" + uuid + "/pdf");
  EXPECT_EQ(r.estado, 200);
  return QByteArray::fromBase64(r.cuerpo.value("pdf").toString().toLatin1(),
                                QByteArray::AbortOnBase64DecodingErrors);
}

// Every object the cross-reference table lists starts at the offset it gives.
void revisaXref(const QByteArray& doc) {
  const qsizetype inicio = doc.lastIndexOf("startxref\n");
  ASSERT_GT(inicio, 0);
  const qsizetype xref = doc.mid(inicio + 10).split('\n').at(0).toLongLong();
  ASSERT_TRUE(doc.mid(xref).startsWith("xref\n0 "));
  const QList<QByteArray> lineas = doc.mid(xref).split('\n');
  const int objetos = lineas.at(1).split(' ').at(1).toInt();
  ASSERT_GE(objetos, 5);
  for (int i = 1; i < objetos; ++i) {
    const QByteArray entrada = lineas.at(2 + i);
    ASSERT_EQ(entrada.size(), 19) << entrada.toStdString();  // 20 bytes with its newline
    const qsizetype posicion = entrada.left(10).toLongLong();
    EXPECT_TRUE(doc.mid(posicion).startsWith(QByteArray::number(i) + " 0 obj"))
        << "objeto " << i << " en " << posicion;
  }
}

// The text a reader sees, when poppler's pdftotext is at hand; empty otherwise.
QString textoVisible(const QByteArray& doc) {
  const QString programa = QStandardPaths::findExecutable("pdftotext");
  if (programa.isEmpty()) return {};
  QTemporaryFile archivo;
  if (!archivo.open()) return {};
  archivo.write(doc);
  archivo.close();
  QProcess p;
  p.start(programa, {"-layout", archivo.fileName(), "-"});
  if (!p.waitForFinished(10000) || p.exitCode() != 0) {
    ADD_FAILURE() << "pdftotext no pudo leer el PDF: " << p.readAllStandardError().toStdString();
    return {};
  }
  return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(SandboxTimbrado, PdfDeFacturaYNotaDeCredito) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const QString id = sube(s, 15);
  const QString uuid = timbra(s, factura({id})).cuerpo.value("uuid").toString();
  ASSERT_FALSE(uuid.isEmpty());

  const QByteArray doc = pdf(s, uuid);
  ASSERT_TRUE(doc.startsWith("%PDF-1.4\n"));
  EXPECT_TRUE(doc.trimmed().endsWith("%%EOF"));
  revisaXref(doc);
  EXPECT_TRUE(doc.contains(uuid.toLatin1()));
  EXPECT_TRUE(doc.contains("INGRID XODAR JIMENEZ"));
  // Parentheses in a text are escaped, or they would end the PDF string early.
  EXPECT_TRUE(doc.contains("Abarrotes La Esquina \\(Centro\\)"));

  const QString cre = timbra(s, notaDeCredito(uuid)).cuerpo.value("uuid").toString();
  ASSERT_FALSE(cre.isEmpty());
  const QByteArray nota = pdf(s, cre);
  revisaXref(nota);
  EXPECT_TRUE(nota.contains("(Nota de cr\\351dito)"));  // é in WinAnsiEncoding

  const QString texto = textoVisible(doc);
  if (!texto.isEmpty()) {
    for (const QString& visible :
         {QString("Factura"), uuid, QString("Abarrotes La Esquina (Centro)"), QString(RECEPTOR),
          QString("88965"), QString("Régimen fiscal"), QString("Café de olla"), QString("$100.00"),
          QString("$116.00"), QString("Tickets: 15")})
      EXPECT_TRUE(texto.contains(visible)) << visible.toStdString();
    EXPECT_TRUE(textoVisible(nota).contains("Nota de crédito"));
  }

  // An invoice of its own concepts, more than one page holds.
  QJsonObject larga = factura({});
  QJsonArray conceptos;
  for (int i = 1; i <= 80; ++i)
    conceptos.append(QJsonObject{{"cantidad", 0.5},
                                 {"descripcion", QString("Artículo %1").arg(i)},
                                 {"precioUnitario", 2},
                                 {"importe", 1}});
  larga["conceptos"] = conceptos;
  const QString varias = timbra(s, larga).cuerpo.value("uuid").toString();
  ASSERT_FALSE(varias.isEmpty());
  const QByteArray paginas = pdf(s, varias);
  revisaXref(paginas);
  const auto cuenta = QRegularExpression("/Count ([0-9]+)").match(QString::fromLatin1(paginas));
  EXPECT_GE(cuenta.captured(1).toInt(), 2);
  if (!texto.isEmpty()) {
    EXPECT_TRUE(textoVisible(paginas).contains("Artículo 80"));
  }

  const auto noExiste = s.get("/api/v1/facturas/NO-EXISTE/pdf");
  EXPECT_EQ(noExiste.estado, 404);
  EXPECT_FALSE(noExiste.cuerpo.value("ok").toBool(true));
}

TEST(SandboxTimbrado, AlmacenConFacturas) {
  SandboxPrueba s;
  // A store written before invoicing existed, without "facturas", still loads.
  QFile archivo(s.carpetaDatos() + "/tickets.json");
  ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
  archivo.write(QJsonDocument(QJsonObject{{"version", 1},
                                          {"tickets", QJsonArray{QJsonObject{
                                                          {"identificador", "T-ANTIGUO"},
                                                          {"rfc", EMISOR},
                                                          {"ticketNo", 7},
                                                          {"estado", 1},
                                                          {"ticket", ticketSandbox(7, "Sal")}}}}})
                    .toJson());
  archivo.close();
  ASSERT_TRUE(s.arranca());
  const auto r = timbra(s, factura({"T-ANTIGUO"}));
  ASSERT_EQ(r.estado, 201) << mensajeSandbox(r).toStdString();
  const QString uuid = r.cuerpo.value("uuid").toString();

  // After a restart the invoice, the ticket's mark and the retry's answer are all still there.
  s.detiene();
  ASSERT_TRUE(s.arranca());
  const auto leida = s.get("/api/v1/facturas/" + uuid);
  ASSERT_EQ(leida.estado, 200);
  EXPECT_EQ(leida.cuerpo.value("factura").toObject().value("conceptos").toArray().size(), 1);
  EXPECT_EQ(registroTicket(s, "T-ANTIGUO").value("estado").toInt(), 2);
  EXPECT_EQ(timbra(s, factura({"T-ANTIGUO"})).cuerpo.value("uuid").toString(), uuid);
  ASSERT_EQ(s.facturas().size(), 1);

  // A stamping whose write fails keeps neither the invoice nor the ticket's mark.
  const QString id = sube(s, 8);
  const QString diario = s.carpetaDatos() + "/diario.jsonl";
  ASSERT_TRUE(QFile::remove(diario));
  ASSERT_TRUE(QDir().mkdir(diario));  // the journal can no longer be written
  EXPECT_EQ(rechazo(timbra(s, factura({id}))), "500 No se pudo guardar la factura");
  EXPECT_EQ(s.facturas().size(), 1);
  EXPECT_EQ(registroTicket(s, id).value("estado").toInt(), 1);
  EXPECT_FALSE(registroTicket(s, id).contains("factura"));
}

}  // namespace
