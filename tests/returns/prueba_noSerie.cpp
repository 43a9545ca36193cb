// Serial numbers on both engines: linking units to a sold line (what it refuses, two
// supervisors at once), and the list that answers "was this unit sold here, and when?".
#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "TiendaDevoluciones.h"
#include "operaciones/noSerie.h"
#include "platform/textoQt.h"
#include "returns/reglas/registroDevolucion.h"
#include "support/RespondedorPrueba.h"
#include "ui/TFRM_puntoNoSerie.h"

namespace {

class NoSerie : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    tienda = std::make_unique<TiendaDevoluciones>(*db);
    venta = tienda->vende();
    audifonos = tienda->detalle(venta.operacionID, TiendaDevoluciones::kAudifonos);
  }
  int id(const QString& noSerie) {
    return static_cast<int>(tienda->cuenta(
        QString("SELECT id FROM inventarioNoSerie WHERE noSerie = '%1'").arg(noSerie)));
  }
  QString asigna(int detalle, const QStringList& series) {
    QVector<int> ids;
    for (const QString& s : series) ids << id(s);
    return asignaNoSerieATicket(detalle, ids, 1, conexion()).mensaje;
  }

  std::unique_ptr<TiendaDevoluciones> tienda;
  TiendaDevoluciones::Venta venta;
  int audifonos = 0;
  RespondedorPrueba respondedor;
};

TEST_P(NoSerie, AsignacionRechazaLoQueNoCabe) {
  tienda->cuenta("INSERT INTO inventarioAlmacen (id, nombre, idNegocioFk) VALUES (2, 'Bodega', 1)");
  tienda->cuenta(
      "INSERT INTO inventarioNoSerie (inventarioProducto_id, inventarioAlmacen_id, "
      "noSerie, estado, idNegocioFk) VALUES (1, 2, 'AUD-B', 1, 1)");
  const int refresco = tienda->detalle(venta.operacionID, TiendaDevoluciones::kRefresco);
  const std::vector<std::tuple<int, QStringList, QString>> casos = {
      {audifonos, {}, "Seleccione al menos un número de serie."},
      {999999, {"AUD-1"}, "El renglón no pertenece a una venta de este negocio."},
      {refresco, {"AUD-1"}, "El producto de este renglón no se vende por número de serie."},
      {audifonos,
       {"AUD-1", "AUD-2", "AUD-3"},
       "No puede asignar más números de serie que piezas vendidas: el renglón admite 2 más."},
      {audifonos,
       {"AUD-B"},
       "El número de serie AUD-B no está disponible en el almacén de la venta."},
      // The second one fails: the first is not kept either.
      {audifonos,
       {"AUD-1", "AUD-B"},
       "El número de serie AUD-B no está disponible en el almacén de la venta."},
  };
  for (const auto& [detalle, series, mensaje] : casos)
    EXPECT_EQ(asigna(detalle, series), mensaje) << series.join(",").toStdString();
  EXPECT_EQ(tienda->enlaces(audifonos), 0);
  EXPECT_EQ(tienda->estadoSerie("AUD-1"), NOSERIE_EN_EXISTENCIA);

  EXPECT_EQ(asigna(audifonos, {"AUD-1"}), "");
  EXPECT_EQ(tienda->estadoSerie("AUD-1"), NOSERIE_VENDIDO);
  // A sold unit is no longer available, here or on another sale.
  const TiendaDevoluciones::Venta otra = tienda->vende();
  const int otroDetalle = tienda->detalle(otra.operacionID, TiendaDevoluciones::kAudifonos);
  EXPECT_EQ(asigna(otroDetalle, {"AUD-1"}),
            "El número de serie AUD-1 no está disponible en el almacén de la venta.");
  EXPECT_EQ(asigna(audifonos, {"AUD-2", "AUD-3"}),
            "No puede asignar más números de serie que piezas vendidas: el renglón admite 1 más.");

  // A piece returned without its serial number leaves one piece out, which already has one.
  TlineaDevolucion l;
  l.fila = audifonos;
  l.cantidad = 1;
  l.cantidadTexto = "1";
  ASSERT_TRUE(registraDevolucionLinea(l, QDateTime::currentDateTime(), 0, 1, conexion()).ok);
  EXPECT_EQ(asigna(audifonos, {"AUD-2"}),
            "No puede asignar más números de serie que piezas vendidas: el renglón admite 0 más.");
}

TEST_P(NoSerie, DosSupervisoresConLaMismaPieza) {
  const TiendaDevoluciones::Venta otra = tienda->vende();
  const int detalles[] = {audifonos,
                          tienda->detalle(otra.operacionID, TiendaDevoluciones::kAudifonos)};
  const QVector<int> pieza = {id("AUD-3")};
  TConexionSesion segunda(db->destino());
  ASSERT_TRUE(segunda.abre());
  TConexionSesion* conexiones[] = {&conexion(), &segunda};
  TresultadoNoSerie r[2];
  std::latch salida(2);
  std::vector<std::thread> hilos;
  for (int i = 0; i < 2; ++i)
    hilos.emplace_back([&, i] {
      salida.arrive_and_wait();
      r[i] = asignaNoSerieATicket(detalles[i], pieza, 1, *conexiones[i]);
      conexiones[i]->cierraHilo();
    });
  for (std::thread& h : hilos) h.join();
  EXPECT_NE(r[0].ok, r[1].ok) << r[0].mensaje.toStdString() << " | " << r[1].mensaje.toStdString();
  EXPECT_EQ(tienda->enlaces(detalles[0]) + tienda->enlaces(detalles[1]), 1);
}

TEST_P(NoSerie, LaListaDiceDondeYCuandoSeVendio) {
  tienda->asignaSeries(audifonos, {"AUD-1", "AUD-2"});
  const QString serie = u_escribeNoSerieDevolver(
      {{id("AUD-2"),
        static_cast<int>(tienda->cuenta(QString("SELECT id FROM inventarioNoSerieTicket WHERE "
                                                "inventarioNoSerie_id = %1")
                                            .arg(id("AUD-2")))),
        "AUD-2"}});
  TlineaDevolucion l;
  l.fila = audifonos;
  l.cantidad = 1;
  l.cantidadTexto = "1";
  l.noSerieDevolver = serie;
  ASSERT_TRUE(registraDevolucionLinea(l, QDateTime::currentDateTime(), 0, 1, conexion()).ok);

  TFRM_puntoNoSerie pantalla;
  pantalla.init();
  const TGridControl& g = pantalla.grid();
  ASSERT_EQ(g.getRowCount(), 4);
  const QString ticket = QString::number(venta.ticketNo);
  const QStringList esperado = {"AUD-1|Vendido|" + ticket, "AUD-2|Devuelto|" + ticket,
                                "AUD-3|En existencia|", "AUD-4|En existencia|"};
  QStringList visto;
  for (int f = 0; f < g.getRowCount(); ++f)
    visto << g.getCelda("No. de Serie", f) + "|" + g.getCelda("Estado", f) + "|" +
                 g.getCelda("Ticket", f);
  EXPECT_EQ(visto, esperado);
  EXPECT_FALSE(g.getCelda("Fecha Venta", 0).isEmpty());

  pantalla.escribeProducto("AUDIFONOS");  // accents and capitals do not matter
  pantalla.escribeNoSerie("d-2");
  pantalla.buscar();
  ASSERT_EQ(g.getRowCount(), 1);
  EXPECT_EQ(g.getCelda("No. de Serie", 0), "AUD-2");
  pantalla.escribeNoSerie("ZZZ");
  pantalla.buscar();
  EXPECT_EQ(g.getRowCount(), 0);
  EXPECT_EQ(pantalla.textoMensaje(), "No hay elementos que mostrar");
  pantalla.BTN_verTodosClick();
  EXPECT_EQ(g.getRowCount(), 4);
}

INSTANCIA_AMBOS_MOTORES(NoSerie);

}  // namespace
