// The status pages of the invoicing sandbox and the control calls that feed them: tickets
// invoiced at the portal and generated in bulk.
#include <gtest/gtest.h>

#include <QDateTime>

#include "support/SandboxPrueba.h"

namespace {

const QString EMISOR = "EKU9003173C9";

QJsonObject consulta(const QString& desde, const QString& hasta, int estado, int inicial,
                     int porPagina, const QString& rfc = EMISOR) {
  return {{"rfc", rfc},        {"usuario", "tienda"},        {"cuenta", "cuenta1"},
          {"contrasena", "x"}, {"fechaIni", desde},          {"fechaFin", hasta},
          {"estado", estado},  {"registroInicial", inicial}, {"registrosPorPagina", porPagina}};
}

// Reads every page the way the shop's poll does: the next page starts at pages × size, and the
// loop ends on the first page after which that passes the total. The indices asked for, and
// the identifiers collected.
struct Sondeo {
  QList<int> indices;
  QStringList identificadores;
};
Sondeo sondea(const SandboxPrueba& s, const QString& desde, const QString& hasta, int estado,
              int porPagina) {
  Sondeo r;
  int inicial = 0, paginas = 0;
  for (bool fin = false; !fin && paginas < 1000;) {
    r.indices << inicial;
    const auto p =
        s.post("/api/v1/tickets/estado", consulta(desde, hasta, estado, inicial, porPagina));
    EXPECT_EQ(p.estado, 200) << p.cuerpo.value("mensaje").toString().toStdString();
    if (p.estado != 200) break;
    for (const QJsonValue& t : p.cuerpo.value("tickets").toArray())
      r.identificadores << t.toObject().value("identificador").toString();
    inicial = ++paginas * porPagina;
    fin = inicial > p.cuerpo.value("total").toInt();
  }
  return r;
}

TEST(SandboxEstado, PaginasConLaPaginaVaciaFinal) {
  const QString hoy = QDate::currentDate().toString(Qt::ISODate);
  // {invoiced tickets, page size, indices the poll asks for}
  struct Caso {
    int facturados, porPagina;
    QList<int> indices;
  };
  const QList<Caso> casos = {{0, 100, {0}},
                             {250, 100, {0, 100, 200}},
                             {200, 100, {0, 100, 200}},
                             {7, 3, {0, 3, 6}},
                             {9, 3, {0, 3, 6, 9}}};
  for (const Caso& c : casos) {
    SandboxPrueba s;
    ASSERT_TRUE(s.arranca());
    s.generaTickets(EMISOR, 4, 1);
    QStringList esperados;
    if (c.facturados > 0)
      for (const QJsonValue& t : s.generaTickets(EMISOR, c.facturados, 2))
        esperados << t.toObject().value("identificador").toString();
    s.generaTickets(EMISOR, 4, 1);
    const Sondeo r = sondea(s, hoy + "T00:00:00", hoy + "T23:59:59", 1, c.porPagina);
    EXPECT_EQ(r.indices, c.indices) << c.facturados << "/" << c.porPagina;
    EXPECT_EQ(r.identificadores, esperados) << c.facturados;
  }
}

TEST(SandboxEstado, FiltraPorVentanaEstadoYNegocio) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  s.generaTickets(EMISOR, 3, 1, {{"recibido", "2026-01-10T09:00:00"}});
  s.generaTickets(EMISOR, 2, 2, {{"recibido", "2026-01-10T18:30:00"}});
  s.generaTickets(EMISOR, 4, 1, {{"recibido", "2026-01-11T08:00:00"}});
  s.generaTickets("XIA190128J61", 5, 2, {{"recibido", "2026-01-10T12:00:00"}});
  // One ticket of the first lot in a global invoice: state 2 of the enumeration.
  const QString global = s.tickets().at(0).toObject().value("identificador").toString();
  QJsonObject factura{
      {"tipoDocumento", "FAC"},
      {"formaPago", "01"},
      {"metodoPago", "PUE"},
      {"moneda", "MXN"},
      {"lugarExpedicion", "06600"},
      {"usoCFDI", "S01"},
      {"emisor", QJsonObject{{"nombre", "Tienda"}}},
      {"receptor", QJsonObject{{"rfc", "XAXX010101000"}, {"nombre", "PUBLICO EN GENERAL"}}},
      {"tickets", QJsonArray{global}},
      {"subtotal", 100},
      {"descuento", 0},
      {"total", 116}};
  ASSERT_EQ(s.post("/api/v1/facturas", QJsonObject{{"rfc", EMISOR},
                                                   {"usuario", "u"},
                                                   {"cuenta", "c"},
                                                   {"contrasena", "x"},
                                                   {"factura", factura}})
                .estado,
            201);

  struct Caso {
    QString desde, hasta;
    int estado, total;
  };
  const QList<Caso> casos = {
      {"2026-01-10T00:00:00", "2026-01-10T23:59:59", 0, 2},  // pending, the global one left
      {"2026-01-10T00:00:00", "2026-01-10T23:59:59", 1, 2},  // invoiced at the portal
      {"2026-01-10T00:00:00", "2026-01-10T23:59:59", 2, 1},  // in a global invoice
      {"2026-01-10T09:00:00", "2026-01-10T09:00:00", 0, 2},  // both ends count
      {"2026-01-10T18:30:01", "2026-01-11T23:59:59", 1, 0},
      {"2026-01-09T00:00:00", "2026-01-12T00:00:00", 0, 6},
      {"2026-01-10T00:00:00.000-06:00", "2026-01-10T23:59:59Z", 1, 2},
  };
  for (const Caso& c : casos) {
    const auto r = s.post("/api/v1/tickets/estado", consulta(c.desde, c.hasta, c.estado, 0, 100));
    ASSERT_EQ(r.estado, 200) << r.cuerpo.value("mensaje").toString().toStdString();
    EXPECT_EQ(r.cuerpo.value("total").toInt(), c.total) << c.desde.toStdString() << " " << c.estado;
    EXPECT_EQ(r.cuerpo.value("tickets").toArray().size(), c.total);
  }
}

TEST(SandboxEstado, RechazosCredencialesYModos) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca({"--usuario", "tienda", "--cuenta", "cuenta1", "--contrasena", "x"}));
  const QString d = "2026-01-10T00:00:00", h = "2026-01-10T23:59:59";
  struct Caso {
    QString campo;
    QJsonValue valor;
    int estado;
    QString mensaje;
  };
  const QList<Caso> casos = {
      {"contrasena", "otra", 401, "Usuario, cuenta o contraseña incorrectos"},
      {"fechaIni", QJsonValue::Undefined, 400, "Falta el campo 'fechaIni'"},
      {"fechaFin", "10/01/2026", 400, "El campo 'fechaFin' no es una fecha y hora válida"},
      {"fechaFin", "2026-01-09T00:00:00", 400, "El campo 'fechaFin' es anterior a 'fechaIni'"},
      {"estado", 3, 400, "El campo 'estado' debe ser un número entero entre 0 y 2"},
      {"registroInicial", -1, 400,
       "El campo 'registroInicial' debe ser un número entero entre 0 y 2147483647"},
      {"registrosPorPagina", 0, 400,
       "El campo 'registrosPorPagina' debe ser un número entero entre 1 y 1000"},
      {"registrosPorPagina", 2.5, 400,
       "El campo 'registrosPorPagina' debe ser un número entero entre 1 y 1000"},
  };
  for (const Caso& c : casos) {
    QJsonObject cuerpo = consulta(d, h, 1, 0, 100);
    if (c.valor.isUndefined())
      cuerpo.remove(c.campo);
    else
      cuerpo[c.campo] = c.valor;
    const auto r = s.post("/api/v1/tickets/estado", cuerpo);
    EXPECT_EQ(r.estado, c.estado) << c.mensaje.toStdString();
    EXPECT_EQ(r.cuerpo.value("mensaje").toString(), c.mensaje);
  }
  ASSERT_TRUE(s.modo("error"));
  const auto error = s.post("/api/v1/tickets/estado", consulta(d, h, 1, 0, 100));
  EXPECT_EQ(error.estado, 500);
  EXPECT_EQ(error.cuerpo.value("mensaje").toString(), "Servicio no disponible");
  ASSERT_TRUE(s.modo("lento", 1500));
  EXPECT_EQ(s.post("/api/v1/tickets/estado", consulta(d, h, 1, 0, 100), 300).estado, 0);
  ASSERT_TRUE(s.modo("normal"));
  EXPECT_EQ(s.post("/api/v1/tickets/estado", consulta(d, h, 1, 0, 100)).estado, 200);
}

TEST(SandboxEstado, FacturaEnPortalYGenerador) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const QJsonArray t = s.generaTickets(EMISOR, 3);
  ASSERT_EQ(t.size(), 3);
  EXPECT_EQ(t.at(0).toObject().value("ticketNo").toInt(), 1);
  const QString id = t.at(1).toObject().value("identificador").toString();

  const auto marca = s.post("/control/tickets/" + id + "/facturar",
                            QJsonObject{{"receptor", "XOJI740919U48"}, {"nombre", "INGRID XODAR"}});
  ASSERT_EQ(marca.estado, 201);
  const QString uuid = marca.cuerpo.value("uuid").toString();
  const QJsonObject ticket = s.get("/api/v1/tickets/" + id).cuerpo;
  EXPECT_EQ(ticket.value("estado").toInt(), 2);
  EXPECT_EQ(ticket.value("factura").toString(), uuid);
  const QJsonObject f = s.get("/api/v1/facturas/" + uuid).cuerpo;
  EXPECT_EQ(f.value("origen").toString(), "portal");
  EXPECT_EQ(f.value("factura").toObject().value("receptor").toObject().value("rfc").toString(),
            "XOJI740919U48");
  EXPECT_EQ(f.value("factura").toObject().value("total").toDouble(), 116);

  // {path, body, status, message}
  struct Caso {
    QString ruta;
    QJsonObject cuerpo;
    int estado;
    QString mensaje;
  };
  const QString primero = t.at(0).toObject().value("identificador").toString();
  // clang-format off
  const QList<Caso> casos = {
      {"/control/tickets/" + id + "/facturar", {}, 409, "El ticket 2 ya fue facturado"},
      {"/control/tickets/NO-EXISTE/facturar", {}, 404, "No se encontró el ticket 'NO-EXISTE'"},
      {"/control/tickets/" + primero + "/facturar", {{"receptor", "XAXX010101000"}}, 400,
       "En el portal se factura a un cliente, no al público en general"},
      {"/control/tickets/generar", {{"rfc", EMISOR}, {"cantidad", 2}, {"ticketNoInicial", 3}}, 409,
       "El ticket 3 ya existe"},
      {"/control/tickets/generar", {{"rfc", EMISOR}, {"cantidad", 0}}, 400,
       "El campo 'cantidad' debe ser un número entero entre 1 y 100000"},
      {"/control/tickets/generar",
       {{"rfc", EMISOR}, {"cantidad", 2}, {"ticketNoInicial", 2147483647}}, 400,
       "Los números de ticket pasarían de 2147483647"},
  };
  // clang-format on
  for (const Caso& c : casos) {
    const auto r = s.post(c.ruta, c.cuerpo);
    EXPECT_EQ(r.estado, c.estado) << c.mensaje.toStdString();
    EXPECT_EQ(r.cuerpo.value("mensaje").toString(), c.mensaje);
  }
  EXPECT_EQ(s.tickets().size(), 3);
  EXPECT_EQ(s.facturas().size(), 1);
}

}  // namespace
