// Upload of a stored ticket to the invoicing service: the worker against the real sandbox,
// on both engines, and the contract pieces it is built from.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <memory>

#include "db/TmiddleTier.h"
#include "operaciones/cargaTicket.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/SandboxPrueba.h"
#include "workers/TgeneraTicketConWS.h"

namespace {

// Spins the caller's event loop until the worker clears its flag; false if it never does.
bool esperaBandera(const std::atomic<bool>& bandera, int ms = 30000) {
  return QTest::qWaitFor([&bandera] { return !bandera.load(); }, ms);
}

class CargaTicket : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    CatalogoPrueba cat(conexion());
    cat.tiendaDeVentas();
    cat.credencialesCifradas(db->carpeta());
    db->llenaLocalSYS(1);
    ASSERT_TRUE(sandbox.arrancaParaTienda());
  }

  void TearDown() override {
    signingConfigura(QString());
    PruebaAmbosMotores::TearDown();
  }

  void guardaContrasena(const QString& guardada) {
    ejecuta("UPDATE usuarioEnLinea SET contrasena = :c WHERE idNegocioFk = 1", {{"c", guardada}});
  }

  void ejecuta(const QString& sql, const QVariantMap& p) {
    TmiddleTier mt(conexion());
    mt.setQuery(sql);
    for (auto it = p.begin(); it != p.end(); ++it) mt.setVariant(it.key(), it.value());
    ASSERT_GE(mt.nonQuery(), 0) << mt.ultimoError().toStdString();
  }

  int ventaGuardada(int ticketNo) { return CatalogoPrueba(conexion()).ventaGuardada(ticketNo); }

  struct Estado {
    QString uuid, metodo;
  };
  Estado estado(int operacionID) {
    TmiddleTier mt(conexion());
    mt.setQuery("SELECT uuid, facturadoMetodo FROM puntoOperacion WHERE id = :id");
    mt.setInteger("id", operacionID);
    const CmidTierResponse r = mt.reader();
    return {r.getCelda("uuid"), r.getCelda("facturadoMetodo")};
  }

  // One upload, waited for as the screens do; the flag must clear.
  generarTicketRsultado sube(int operacionID, int tiempoEsperaMs = 5000) {
    TgeneraTicketConWS carga;
    carga.setTiempoEspera(tiempoEsperaMs);
    QSignalSpy terminado(&carga, &TgeneraTicketConWS::terminado);
    std::atomic<bool> ocupado{true};
    carga.generaTicket(operacionID, &ocupado);
    EXPECT_TRUE(esperaBandera(ocupado)) << "la bandera no se limpió";
    // terminado comes through the caller's event loop once the thread has ended.
    EXPECT_TRUE(terminado.count() == 1 || terminado.wait(5000));
    EXPECT_EQ(terminado.count(), 1);
    return carga.getResultado();
  }

  SandboxPrueba sandbox;
};

TEST_P(CargaTicket, GuardaElIdentificadorYElServicioRecibeElTicket) {
  const int op = ventaGuardada(15);
  const generarTicketRsultado r = sube(op);
  ASSERT_TRUE(r.ok) << r.mensaje.toStdString();
  EXPECT_TRUE(r.mensaje.isEmpty());
  ASSERT_FALSE(r.identificador.isEmpty());
  EXPECT_EQ(estado(op).uuid, r.identificador);
  EXPECT_EQ(estado(op).metodo, "3");

  const QJsonArray recibidos = sandbox.tickets();
  ASSERT_EQ(recibidos.size(), 1);
  const QJsonObject registro = recibidos.at(0).toObject();
  EXPECT_EQ(registro.value("identificador").toString(), r.identificador);
  EXPECT_EQ(registro.value("rfc").toString(), "EKU9003173C9");
  const QJsonObject t = registro.value("ticket").toObject();
  EXPECT_EQ(t.value("ticketNo").toInt(), 15);
  EXPECT_EQ(t.value("fechaHora").toString(), "2026-01-31T13:45:10");
  EXPECT_EQ(t.value("cajero").toString(), "Ana Pérez");
  // Money goes cut to the cent, binary noise forgiven.
  EXPECT_EQ(t.value("subtotal").toDouble(), 187.8);
  EXPECT_EQ(t.value("descuento").toDouble(), 5);
  EXPECT_EQ(t.value("impuestos").toDouble(), 15.55);
  EXPECT_EQ(t.value("total").toDouble(), 198.35);

  const QJsonArray conceptos = t.value("conceptos").toArray();
  ASSERT_EQ(conceptos.size(), 2);
  const QJsonObject coca = conceptos.at(0).toObject();
  EXPECT_EQ(coca.value("descripcion").toString(), "Coca Cola 600");
  EXPECT_EQ(coca.value("cantidad").toDouble(), 3);
  EXPECT_EQ(coca.value("precioUnitario").toDouble(), 32.4);
  EXPECT_EQ(coca.value("importe").toDouble(), 97.2);
  EXPECT_EQ(coca.value("claveProductoServicio").toString(), "50202306");
  EXPECT_EQ(coca.value("claveUnidad").toString(), "H87");
  const QJsonObject iva = coca.value("impuestos").toObject().value("ivaTrasladado").toObject();
  EXPECT_EQ(iva.value("tasa").toString(), "0.16");
  EXPECT_EQ(iva.value("importe").toDouble(), 15.552);
  const QJsonObject cafe = conceptos.at(1).toObject();
  EXPECT_EQ(cafe.value("cantidad").toDouble(), 0.755);
  EXPECT_EQ(cafe.value("importe").toDouble(), 90.6);
  EXPECT_EQ(cafe.value("descuento").toDouble(), 5);
  EXPECT_EQ(cafe.value("base").toDouble(), 85.6);

  const QJsonArray pagos = t.value("pagos").toArray();
  ASSERT_EQ(pagos.size(), 2);  // the empty payment row is not sent
  EXPECT_EQ(pagos.at(0).toObject().value("formaPago").toString(), "01");
  EXPECT_EQ(pagos.at(0).toObject().value("importe").toDouble(), 100);
  EXPECT_EQ(pagos.at(1).toObject().value("formaPago").toString(), "04");
  EXPECT_EQ(pagos.at(1).toObject().value("importe").toDouble(), 98.35);
  EXPECT_EQ(pagos.at(1).toObject().value("referencia").toString(), "AUT-4411");

  // An uploaded ticket answers its identifier without asking the service again.
  sandbox.detiene();
  const generarTicketRsultado otra = sube(op);
  EXPECT_TRUE(otra.ok) << otra.mensaje.toStdString();
  EXPECT_EQ(otra.identificador, r.identificador);
}

TEST_P(CargaTicket, RechazosDelServicioNoTocanElTicket) {
  const int op = ventaGuardada(16);
  ASSERT_TRUE(sandbox.modo("error"));
  generarTicketRsultado r = sube(op);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.identificador.isEmpty());
  EXPECT_TRUE(r.mensaje.contains("Servicio no disponible")) << r.mensaje.toStdString();
  EXPECT_EQ(estado(op).uuid, "");
  EXPECT_EQ(estado(op).metodo, "");

  ASSERT_TRUE(sandbox.modo("normal"));
  guardaContrasena(crypt("otra"));
  r = sube(op);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.mensaje.contains("rechazó el usuario, la cuenta o la contraseña"))
      << r.mensaje.toStdString();
  EXPECT_EQ(estado(op).metodo, "");

  // A password that was not stored encrypted never travels.
  guardaContrasena("x");
  r = sube(op);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.mensaje.startsWith("No se pudo descifrar la contraseña del usuario en línea. "))
      << r.mensaje.toStdString();
  EXPECT_TRUE(r.credencialesIlegibles);
  EXPECT_TRUE(sandbox.tickets().isEmpty());
}

TEST_P(CargaTicket, TiempoAgotadoYLuegoElMismoIdentificador) {
  const int op = ventaGuardada(17);
  ASSERT_TRUE(sandbox.modo("lento", 3000));
  generarTicketRsultado r = sube(op, 500);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.mensaje, "El servicio de facturación no respondió a tiempo");
  EXPECT_EQ(estado(op).metodo, "");

  // The service kept the ticket although its answer came too late; uploading again gets the
  // identifier it already gave.
  const QJsonArray recibidos = sandbox.tickets();
  ASSERT_EQ(recibidos.size(), 1);
  ASSERT_TRUE(sandbox.modo("normal"));
  r = sube(op);
  ASSERT_TRUE(r.ok) << r.mensaje.toStdString();
  EXPECT_EQ(r.identificador, recibidos.at(0).toObject().value("identificador").toString());
  EXPECT_EQ(estado(op).uuid, r.identificador);
  EXPECT_EQ(estado(op).metodo, "3");
}

TEST_P(CargaTicket, SinServicioSinDatosOSinTicket) {
  const int op = ventaGuardada(18);
  sandbox.detiene();
  generarTicketRsultado r = sube(op);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.mensaje, "No se pudo conectar con el servicio de facturación");

  localSYS.urlFacturacion = "";
  EXPECT_EQ(sube(op).mensaje, "No está configurada la dirección del servicio de facturación");
  localSYS.urlFacturacion = "ftp://127.0.0.1:1";
  EXPECT_FALSE(sube(op).ok);

  EXPECT_FALSE(sube(op + 1000).ok);  // no such operation
  ejecuta("DELETE FROM usuarioEnLinea", {});
  r = sube(op);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.mensaje, "No se encontraron los datos de usuario en línea del negocio");
  EXPECT_EQ(estado(op).metodo, "");

  // Without a session nothing is read, and the flag still clears.
  localSYS = TsistemaDatos();
  EXPECT_FALSE(sube(op).ok);
}

TEST_P(CargaTicket, TresCargasALaVezLimpianCadaUnaSuBandera) {
  const int ops[3] = {ventaGuardada(30), ventaGuardada(31), ventaGuardada(32)};
  TgeneraTicketConWS cargas[3];
  std::atomic<bool> ocupado[3] = {true, true, true};
  for (int i = 0; i < 3; ++i) cargas[i].generaTicket(ops[i], &ocupado[i]);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(esperaBandera(ocupado[i])) << "carga " << i;

  QStringList identificadores;
  for (int i = 0; i < 3; ++i) {
    const generarTicketRsultado r = cargas[i].getResultado();
    ASSERT_TRUE(r.ok) << r.mensaje.toStdString();
    EXPECT_EQ(estado(ops[i]).uuid, r.identificador);
    EXPECT_EQ(estado(ops[i]).metodo, "3");
    identificadores << r.identificador;
  }
  identificadores.removeDuplicates();
  EXPECT_EQ(identificadores.size(), 3);
  EXPECT_EQ(sandbox.tickets().size(), 3);
}

// The upload threads keep their database and HTTP connections from one sale to the next; one
// the server dropped meanwhile (a restart, a cut link, an idle keep-alive closed) is opened
// again without the sale noticing.
TEST_P(CargaTicket, UnaConexionCortadaSeAbreDeNuevo) {
  sandbox.detiene();
  ASSERT_TRUE(sandbox.arranca(
      {"--usuario", "tienda", "--cuenta", "cuenta1", "--contrasena", "x", "--inactividad", "1"}));
  localSYS.urlFacturacion = sandbox.url();
  ASSERT_TRUE(sube(ventaGuardada(40)).ok);
  QTest::qWait(1300);  // the service closes the idle connection after a second
  if (conexion().esPostgres()) {
    TmiddleTier mt(conexion());
    mt.setQuery(
        "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
        "WHERE datname = current_database() AND pid <> pg_backend_pid()");
    ASSERT_TRUE(mt.reader().ok());
  }
  for (const int ticket : {41, 42}) {
    const int op = ventaGuardada(ticket);
    const generarTicketRsultado r = sube(op);
    ASSERT_TRUE(r.ok) << ticket << ": " << r.mensaje.toStdString();
    EXPECT_EQ(estado(op).uuid, r.identificador);
  }
}

INSTANCIA_AMBOS_MOTORES(CargaTicket);

TEST(ContratoCargaTicket, DireccionDelServicio) {
  EXPECT_EQ(u_urlCargaTicket("http://127.0.0.1:8790").toString(),
            "http://127.0.0.1:8790/api/v1/tickets");
  EXPECT_EQ(u_urlCargaTicket(" https://facturas.example.mx/ws/ ").toString(),
            "https://facturas.example.mx/ws/api/v1/tickets");
  for (const char* mala : {"", "127.0.0.1:8790", "ftp://127.0.0.1/", "http://"})
    EXPECT_FALSE(u_urlCargaTicket(mala).isValid()) << mala;
}

TEST(ContratoCargaTicket, RespuestasDelServicio) {
  generarTicketRsultado r = u_leeRespuestaCarga(201, R"({"ok":true,"identificador":"ABC-1"})");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.identificador, "ABC-1");
  EXPECT_TRUE(u_leeRespuestaCarga(200, R"({"ok":true,"identificador":"ABC-1"})").ok);

  for (const char* invalida :
       {"", "<html>", R"({"ok":true})", R"({"ok":false,"identificador":"X"})"}) {
    r = u_leeRespuestaCarga(200, invalida);
    EXPECT_FALSE(r.ok) << invalida;
    EXPECT_EQ(r.mensaje, "Respuesta no válida del servicio de facturación");
  }
  r = u_leeRespuestaCarga(400, R"({"ok":false,"mensaje":"Falta el campo 'ticket.total'"})");
  EXPECT_EQ(r.mensaje,
            "El servicio de facturación rechazó el ticket: Falta el campo 'ticket.total'");
  r = u_leeRespuestaCarga(502, "Bad Gateway");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.mensaje, "El servicio de facturación no pudo cargar el ticket (error 502)");
}

}  // namespace
