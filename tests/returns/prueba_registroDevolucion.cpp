// A return on both engines: finding the sale, the refusals of a capture, what an exchange puts
// back (stock, serial numbers, records), two stations returning the same line at once, and a
// credit note's reservation across an unconfirmed stamping.
#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "TiendaDevoluciones.h"
#include "db/TmiddleTier.h"
#include "operaciones/clientes.h"
#include "operaciones/noSerie.h"
#include "platform/textoQt.h"
#include "returns/reglas/documentoDevolucion.h"
#include "returns/reglas/registroDevolucion.h"
#include "support/RespondedorPrueba.h"

namespace {

class RegistroDevolucion : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    tienda = std::make_unique<TiendaDevoluciones>(*db);
    venta = tienda->vende();
    audifonos = tienda->detalle(venta.operacionID, TiendaDevoluciones::kAudifonos);
    frijol = tienda->detalle(venta.operacionID, TiendaDevoluciones::kFrijol);
    refresco = tienda->detalle(venta.operacionID, TiendaDevoluciones::kRefresco);
    tienda->asignaSeries(audifonos, {"AUD-1", "AUD-2"});
  }

  // The sale as invoiced: individually to a customer (state 2) or in a global invoice (4).
  void factura(const QString& estado = "2",
               const QString& uuid = "AAAAAAAA-0000-4000-8000-000000000001") {
    tienda->cuenta(QString("UPDATE puntoOperacion SET facturadoMetodo = '%2', facturadoFecha = "
                           "'2026-02-01 10:00:00' WHERE id = %1")
                       .arg(venta.operacionID)
                       .arg(estado));
    tienda->cuenta(QString("INSERT INTO puntoOperacionAdicional (puntoOperacion_id, uuid, fecha) "
                           "VALUES (%1, '%2', '2026-02-01 10:00:00')")
                       .arg(venta.operacionID)
                       .arg(uuid));
  }

  // The serial number as the sale line holds it, in the capture's format.
  QString serie(const QString& texto) {
    const CmidTierResponse r = buscaNoSerieVendidosPorDetalle(audifonos, conexion());
    for (int i = 0; i < r.getRowCount(); ++i)
      if (r.getCelda("inventarioNoSerie_noSerie", i) == texto)
        return u_escribeNoSerieDevolver(
            {{r.getCeldaAsInt("inventarioNoSerie_id", i),
              r.getCeldaAsInt("inventarioNoSerieTicket_id", i), texto}});
    return QString();
  }

  // Captures row `fila` of the document as the capture dialog would answer.
  QString captura(TdocumentoDevolucion& d, int fila, double q, const QString& series = {}) {
    TinicioCaptura inicio = d.preparaCaptura(fila, 0);
    if (!inicio.ok) return inicio.mensaje;
    inicio.captura.devolucion = q;
    inicio.captura.noSerieDevolver = series;
    inicio.captura.estado = "Empaque abierto";
    inicio.captura.tipoDevolucion = 2;
    return d.capturaLinea(fila, inicio.captura);
  }

  QString ticket() const { return QString::number(venta.ticketNo); }

  std::unique_ptr<TiendaDevoluciones> tienda;
  TiendaDevoluciones::Venta venta;
  int audifonos = 0, frijol = 0, refresco = 0;
  RespondedorPrueba respondedor;
};

TEST_P(RegistroDevolucion, BuscaLaVentaYRechazaCapturasImposibles) {
  TdocumentoDevolucion d(localSYS);
  EXPECT_EQ(d.buscar("  "), "");
  EXPECT_EQ(d.buscar("999"), "No existe el ticket 999");
  // Another business's ticket is no ticket of this one.
  tienda->cuenta("INSERT INTO Negocio (idNegocio, nombre) VALUES (2, 'Otra tienda')");
  tienda->cuenta(
      "INSERT INTO puntoOperacion (idNegocioFk, ticketNo, fechaHora) VALUES (2, 77, "
      "'2026-01-01 10:00:00')");
  EXPECT_EQ(d.buscar("77"), "No existe el ticket 77");
  EXPECT_FALSE(d.cargado());

  EXPECT_EQ(d.buscar(ticket()), "");
  ASSERT_EQ(d.lineas().getRowCount(), 3);
  EXPECT_FALSE(d.venta().facturada);  // never uploaded: only an exchange is possible
  EXPECT_EQ(d.lineas().getCelda("Descripción", 0), "Audífonos inalámbricos");
  EXPECT_EQ(d.lineas().getCelda("Cantidad", 1), "2.5");
  EXPECT_EQ(d.validaAceptacion(1), "Capture una devolución.");

  const QString ajena = u_escribeNoSerieDevolver({{999, 999, "AUD-4"}});
  const std::vector<std::tuple<int, double, QString, QString>> rechazos = {
      {0, 1.5, serie("AUD-1"), "Este producto se devuelve por pieza: capture una cantidad entera."},
      {0, 3, QString(), "La cantidad a devolver excede lo disponible: quedan 2."},
      {0, 1, ajena, "El número de serie AUD-4 no se vendió en este ticket."},
      {0, 1, QString(), "Elija el número de serie de cada pieza que regresa: faltan 1."},
      {1, 2.6, QString(), "La cantidad a devolver excede lo disponible: quedan 2.5."},
      {2, -1, QString(), "La cantidad a devolver no puede ser negativa."},
  };
  for (const auto& [fila, q, series, mensaje] : rechazos) {
    EXPECT_EQ(captura(d, fila, q, series), mensaje) << fila << " " << q;
    EXPECT_EQ(d.lineas().getCelda("Devolución", fila), "") << fila;
  }
  EXPECT_EQ(captura(d, 1, 0.75), "");
  EXPECT_EQ(d.lineas().getCelda("_devolucionAcumulado", 1), "0.75");
  EXPECT_EQ(d.validaAceptacion(0), "Seleccione tipo de devolución");
  EXPECT_EQ(d.validaAceptacion(1), "");
  // Nothing was written by any of it.
  EXPECT_EQ(tienda->devoluciones(), 0);
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kFrijol), 7.5);
}

TEST_P(RegistroDevolucion, CambioFisicoRegresaExistenciaYNumerosDeSerie) {
  TdocumentoDevolucion d(localSYS);
  ASSERT_EQ(d.buscar(ticket()), "");
  ASSERT_EQ(captura(d, 0, 1, serie("AUD-2")), "");
  ASSERT_EQ(captura(d, 1, 1.25), "");
  const TresultadoDevolucion r = aceptaDevolucion(d, 1, {}, conexion(), 1);
  EXPECT_TRUE(r.mensajes.isEmpty()) << r.mensajes.join(" | ").toStdString();
  ASSERT_EQ(r.devoluciones.size(), 2);
  EXPECT_FALSE(r.notaEmitida);

  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kAudifonos), 9);
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kFrijol), 8.75);
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kRefresco), 7);  // not captured
  EXPECT_EQ(tienda->estadoSerie("AUD-2"), NOSERIE_DEVUELTO);
  EXPECT_EQ(tienda->estadoSerie("AUD-1"), NOSERIE_VENDIDO);
  EXPECT_EQ(tienda->enlaces(audifonos), 1);
  EXPECT_DOUBLE_EQ(tienda->devuelto(audifonos), 1);
  EXPECT_DOUBLE_EQ(tienda->devuelto(frijol), 1.25);
  EXPECT_DOUBLE_EQ(tienda->devuelto(refresco), 0);
  TmiddleTier mt(conexion());
  mt.setQuery(
      "SELECT puntoOperacionDetalle_id, cantidad, noSeries, estadoProducto, "
      "devolucionTipo, idNegocioFk, ventasDevolucionNota_id FROM ventasDevolucion ORDER "
      "BY id");
  const CmidTierResponse filas = mt.reader();
  ASSERT_EQ(filas.getRowCount(), 2);
  EXPECT_EQ(filas.getCeldaAsInt("puntoOperacionDetalle_id", 0), audifonos);
  EXPECT_EQ(filas.getCelda("noSeries", 0), "AUD-2");
  EXPECT_EQ(filas.getCelda("estadoProducto", 0), "Empaque abierto");
  EXPECT_EQ(filas.getCeldaAsInt("devolucionTipo", 0), 2);
  EXPECT_EQ(filas.getCeldaAsInt("idNegocioFk", 0), 1);
  EXPECT_EQ(filas.getCelda("ventasDevolucionNota_id", 0), "");
  EXPECT_DOUBLE_EQ(filas.getCeldaAsFloat("cantidad", 1), 1.25);
  // The document shows what was recorded, and nothing left captured.
  EXPECT_EQ(d.lineas().getCelda("Devolución", 0), "");
  EXPECT_EQ(d.lineas().getCelda("Devuelto", 1), "1.25");

  // The last piece goes back too; then the line takes no more.
  TdocumentoDevolucion otra(localSYS);
  ASSERT_EQ(otra.buscar(ticket()), "");
  ASSERT_EQ(captura(otra, 0, 1, serie("AUD-1")), "");
  EXPECT_TRUE(aceptaDevolucion(otra, 1, {}, conexion(), 1).mensajes.isEmpty());
  ASSERT_EQ(otra.buscar(ticket()), "");
  EXPECT_EQ(otra.preparaCaptura(0, 1).mensaje, "No hay más artículos por devolver.");
  EXPECT_EQ(tienda->estadoSerie("AUD-1"), NOSERIE_DEVUELTO);
}

TEST_P(RegistroDevolucion, UnKitRegresaSusPiezas) {
  const TiendaDevoluciones::Venta kit = tienda->vendeKit();
  TdocumentoDevolucion d(localSYS);
  ASSERT_EQ(d.buscar(QString::number(kit.ticketNo)), "");
  ASSERT_EQ(d.lineas().getRowCount(), 3);
  EXPECT_EQ(d.lineas().getCelda("Categoría", 0), "KIT");
  EXPECT_EQ(d.lineas().getCelda("Descripción", 0), "Paquete fiesta");
  // The pieces show what they are, but carry no values to capture.
  for (int fila : {1, 2}) {
    EXPECT_EQ(d.lineas().getCelda("Cantidad", fila), "");
    EXPECT_EQ(d.preparaCaptura(fila, 1).mensaje,
              "Las piezas de un kit se devuelven con el kit completo.");
  }
  EXPECT_EQ(captura(d, 0, 0.5),
            "Este producto se devuelve por pieza: capture una cantidad entera.");
  ASSERT_EQ(captura(d, 0, 1), "");
  const double refrescos = tienda->existencia(TiendaDevoluciones::kRefresco);
  const double frijol = tienda->existencia(TiendaDevoluciones::kFrijol);
  EXPECT_TRUE(aceptaDevolucion(d, 1, {}, conexion(), 1).mensajes.isEmpty());
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kRefresco), refrescos + 2);
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kFrijol), frijol + 1);
}

TEST_P(RegistroDevolucion, FacturaGlobalSeAcreditaAlPublicoEnGeneral) {
  ASSERT_TRUE(u_rfcPublicoGeneralExiste(1, conexion()));
  const int publico = u_idReceptorPublicoGeneral(1, conexion());
  factura("4", "CCCCCCCC-0000-4000-8000-000000000003");
  tienda->cuenta(QString("INSERT INTO Comprobante (uuid, tipoDocumento, fecha, "
                         "Receptor_idReceptor, idNegocioFk) VALUES "
                         "('CCCCCCCC-0000-4000-8000-000000000003', 'FAC', '2026-02-01', %1, 1)")
                     .arg(publico));
  TdocumentoDevolucion d(localSYS);
  ASSERT_EQ(d.buscar(ticket()), "");
  EXPECT_TRUE(d.venta().facturada);
  EXPECT_EQ(d.venta().receptorID, publico);
  EXPECT_EQ(d.venta().receptorRfc, "XAXX010101000");
  EXPECT_EQ(d.venta().uuidFactura, "CCCCCCCC-0000-4000-8000-000000000003");
}

TEST_P(RegistroDevolucion, DosEstacionesDevuelvenLaMismaLinea) {
  // Each station has its own connection; both read the line with 3 left and return all 3.
  for (int ronda = 0; ronda < 3; ++ronda) {
    const TiendaDevoluciones::Venta v = ronda == 0 ? venta : tienda->vende();
    const int detalle = tienda->detalle(v.operacionID, TiendaDevoluciones::kRefresco);
    const double antes = tienda->existencia(TiendaDevoluciones::kRefresco);
    TlineaDevolucion l;
    l.fila = detalle;
    l.cantidad = 3;
    l.cantidadTexto = "3";
    l.descripcion = "Refresco de cola 600 ml";
    TConexionSesion otra(db->destino());
    ASSERT_TRUE(otra.abre()) << otra.ultimoError().toStdString();
    std::latch salida(2);
    TresultadoLineaDevolucion r1, r2;
    const auto estacion = [&](TConexionSesion& c, TresultadoLineaDevolucion& r) {
      salida.arrive_and_wait();
      r = registraDevolucionLinea(l, QDateTime::currentDateTime(), 0, 1, c);
      c.cierraHilo();
    };
    std::thread a(estacion, std::ref(conexion()), std::ref(r1));
    std::thread b(estacion, std::ref(otra), std::ref(r2));
    a.join();
    b.join();
    EXPECT_NE(r1.ok, r2.ok) << r1.mensaje.toStdString() << " | " << r2.mensaje.toStdString();
    EXPECT_EQ(r1.ok ? r2.mensaje : r1.mensaje,
              "No se registró la devolución de Refresco de cola 600 ml: quedan 0 por devolver.");
    EXPECT_DOUBLE_EQ(tienda->devuelto(detalle), 3);
    EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kRefresco), antes + 3);
  }
  EXPECT_EQ(tienda->devoluciones(), 3);
}

TEST_P(RegistroDevolucion, NotaDeCreditoSinConfirmarSeReintentaConLaMismaClave) {
  factura();
  TdocumentoDevolucion d(localSYS);
  ASSERT_EQ(d.buscar(ticket()), "");
  EXPECT_TRUE(d.venta().facturada);
  EXPECT_EQ(d.venta().uuidFactura, "AAAAAAAA-0000-4000-8000-000000000001");
  ASSERT_EQ(captura(d, 2, 2), "");
  QStringList claves;
  // The stamping's answer is lost: nothing is recorded, the reservation stays.
  const auto perdida = [&claves](int, const datosFacturar& datos) {
    claves << datos.claveIdempotencia;
    TemisionNota e;
    e.incierta = true;
    return e;
  };
  TresultadoDevolucion r = aceptaDevolucion(d, 2, perdida, conexion(), 1);
  EXPECT_FALSE(r.notaEmitida);
  EXPECT_TRUE(r.devoluciones.isEmpty());
  ASSERT_EQ(r.mensajes.size(), 1);
  EXPECT_TRUE(r.mensajes[0].startsWith("No se confirmó si la nota de crédito se timbró."));
  EXPECT_EQ(tienda->devoluciones(), 0);
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kRefresco), 7);
  ASSERT_EQ(claves.size(), 1);
  EXPECT_TRUE(claves[0].startsWith("nota-1-"));

  // Meanwhile no exchange can take what the credit note holds.
  TlineaDevolucion cambio;
  cambio.fila = refresco;
  cambio.cantidad = 2;
  cambio.cantidadTexto = "2";
  EXPECT_EQ(registraDevolucionLinea(cambio, QDateTime::currentDateTime(), 0, 1, conexion()).mensaje,
            "No se registró la devolución de Refresco de cola 600 ml: quedan 1 por devolver (2 "
            "los tiene una nota de crédito sin confirmar).");

  // Found again (after a restart, say), the sale brings that return back, and only that one.
  TdocumentoDevolucion despues(localSYS);
  EXPECT_TRUE(
      despues.buscar(ticket()).startsWith("Esta venta tiene una nota de crédito que no se "
                                          "confirmó."));
  EXPECT_GT(despues.notaPendiente(), 0);
  EXPECT_EQ(despues.lineas().getCelda("Devolución", 2), "2");
  EXPECT_FALSE(despues.preparaCaptura(1, 2).ok);
  const auto emitida = [&claves](int, const datosFacturar& datos) {
    claves << datos.claveIdempotencia;
    return TemisionNota{true, false, "BBBBBBBB-0000-4000-8000-000000000002"};
  };
  r = aceptaDevolucion(despues, 2, emitida, conexion(), 1);
  EXPECT_TRUE(r.mensajes.isEmpty()) << r.mensajes.join(" | ").toStdString();
  EXPECT_TRUE(r.notaEmitida);
  ASSERT_EQ(claves.size(), 2);
  EXPECT_EQ(claves[1], claves[0]);
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kRefresco), 9);
  EXPECT_DOUBLE_EQ(tienda->devuelto(refresco), 2);
  EXPECT_EQ(tienda->cuenta("SELECT COUNT(*) FROM ventasDevolucion WHERE ventasDevolucionNota_id "
                           "IS NOT NULL"),
            1);
  EXPECT_EQ(tienda->cuenta("SELECT COUNT(*) FROM ventasDevolucionNota WHERE estado = 1"), 1);

  // A clear refusal of the service leaves no reservation behind, and a new key next time.
  TdocumentoDevolucion tercera(localSYS);
  ASSERT_EQ(tercera.buscar(ticket()), "");
  ASSERT_EQ(captura(tercera, 2, 1), "");
  const auto rechazada = [&claves](int, const datosFacturar& datos) {
    claves << datos.claveIdempotencia;
    return TemisionNota{};
  };
  r = aceptaDevolucion(tercera, 2, rechazada, conexion(), 1);
  EXPECT_TRUE(r.mensajes.isEmpty());
  EXPECT_EQ(tienda->cuenta("SELECT COUNT(*) FROM ventasDevolucionNota WHERE estado = 0"), 0);
  r = aceptaDevolucion(tercera, 2, rechazada, conexion(), 1);
  ASSERT_EQ(claves.size(), 4);
  EXPECT_NE(claves[3], claves[2]);
  EXPECT_DOUBLE_EQ(tienda->devuelto(refresco), 2);
}

INSTANCIA_AMBOS_MOTORES(RegistroDevolucion);

}  // namespace
