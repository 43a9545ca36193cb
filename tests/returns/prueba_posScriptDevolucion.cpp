// pos-script's return steps, run as the separate program it is, on a sale that was never
// invoiced: serial numbers assigned to the ticket, an exchange, the refusals, and what the
// report says about stock and serial numbers afterwards.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

#include "TiendaDevoluciones.h"
#include "support/PosScriptPrueba.h"

namespace {

QJsonObject corre(BaseDatosPrueba& db, const QString& escenario) {
  const SalidaPosScript s = correPosScript(
      db.carpeta(), {"--db", db.destino(), "--negocio", "1", "--estacion", "ESTACION-PRUEBA"},
      escenario.toUtf8());
  EXPECT_EQ(s.codigo, 0) << s.error.toStdString();
  return s.json;
}

QStringList textos(const QJsonObject& reporte) {
  QStringList t;
  for (const QJsonValue& m : reporte["mensajes"].toArray()) t << m.toObject()["texto"].toString();
  return t;
}

QString estadoEnReporte(const QJsonObject& devolucion, const QString& noSerie) {
  for (const QJsonValue& s : devolucion["noSeries"].toArray())
    if (s.toObject()["noSerie"].toString() == noSerie) return s.toObject()["estado"].toString();
  return QString();
}

TEST(PosScriptDevolucion, AsignaSeriesDevuelveUnCambioYRechazaLoImposible) {
  auto db = BaseDatosPrueba::crea(Motor::SQLite);
  ASSERT_TRUE(db);
  TiendaDevoluciones tienda(*db);
  const TiendaDevoluciones::Venta venta = tienda.vende();
  const int audifonos = tienda.detalle(venta.operacionID, TiendaDevoluciones::kAudifonos);
  const int frijol = tienda.detalle(venta.operacionID, TiendaDevoluciones::kFrijol);
  const int refresco = tienda.detalle(venta.operacionID, TiendaDevoluciones::kRefresco);
  const QString t = QString::number(venta.ticketNo);

  const QJsonObject o = corre(*db, QStringLiteral(R"([
    {"asignarNoSerie": {"ticket": "%1", "producto": "Audífonos", "noSerie": ["AUD-1", "AUD-2"]}},
    {"devolucion": {"ticket": "%1", "tipo": "nota de crédito", "aceptar": false}},
    {"devolucion": {"ticket": "%1", "tipo": "cambio físico", "responder": ["OK"], "lineas": [
      {"fila": 0, "cantidad": "1", "noSerie": ["AUD-1"]},
      {"fila": 1, "cantidad": "0.5"},
      {"fila": 2, "cantidad": "4"},
      {"fila": 2, "cantidad": "1.5"},
      {"fila": 2, "cantidad": "-1"},
      {"fila": 0, "cantidad": "1", "noSerie": ["AUD-3"]}]}},
    {"devolucion": {"ticket": "99999"}}
  ])")
                                       .arg(t));

  const QJsonObject asignacion = o["asignacionesNoSerie"].toArray()[0].toObject();
  EXPECT_TRUE(asignacion["asignado"].toBool());

  const QJsonArray devoluciones = o["devoluciones"].toArray();
  ASSERT_EQ(devoluciones.size(), 3);
  // Never invoiced: no credit note, the screen says why, and nothing was recorded.
  const QJsonObject nota = devoluciones[0].toObject();
  EXPECT_FALSE(nota["tipoHabilitado"].toBool());
  EXPECT_TRUE(nota["noFacturada"].toBool());
  EXPECT_TRUE(nota["ids"].toArray().isEmpty());

  // The exchange takes the two good captures; the four bad ones are refused with their reason.
  const QJsonObject cambio = devoluciones[1].toObject();
  EXPECT_TRUE(cambio["aceptada"].toBool());
  EXPECT_EQ(cambio["ids"].toArray().size(), 2);
  EXPECT_TRUE(cambio["uuidNota"].toString().isEmpty());
  const QJsonArray capturas = cambio["capturas"].toArray();
  ASSERT_EQ(capturas.size(), 6);
  EXPECT_EQ(capturas[0].toObject()["noSeriesOfrecidos"].toArray().size(), 2);
  for (int i : {0, 1}) EXPECT_TRUE(capturas[i].toObject()["ok"].toBool()) << i;
  for (int i : {2, 3, 4}) EXPECT_FALSE(capturas[i].toObject()["ok"].toBool()) << i;
  EXPECT_EQ(capturas[5].toObject()["noSerieAusente"].toString(), "AUD-3");
  const QStringList mensajes = textos(o);
  for (const char* m : {"La cantidad a devolver excede lo disponible: quedan 3.",
                        "Este producto se devuelve por pieza: capture una cantidad entera.",
                        "La cantidad a devolver no puede ser negativa."})
    EXPECT_TRUE(mensajes.contains(QString::fromUtf8(m))) << m;
  EXPECT_EQ(estadoEnReporte(cambio, "AUD-1"), "Devuelto");
  EXPECT_EQ(estadoEnReporte(cambio, "AUD-2"), "Vendido");
  EXPECT_EQ(estadoEnReporte(cambio, "AUD-3"), "En existencia");
  // The report's stock is the database's, one entry per product of the ticket.
  QList<double> informadas;
  for (const QJsonValue& e : cambio["existencias"].toArray())
    informadas << e.toObject()["existencia"].toDouble();
  EXPECT_EQ(informadas, (QList<double>{9, 8, 7}));
  EXPECT_DOUBLE_EQ(tienda.existencia(TiendaDevoluciones::kAudifonos), 9);
  EXPECT_DOUBLE_EQ(tienda.existencia(TiendaDevoluciones::kFrijol), 8);
  EXPECT_DOUBLE_EQ(tienda.devuelto(audifonos), 1);
  EXPECT_DOUBLE_EQ(tienda.devuelto(frijol), 0.5);
  EXPECT_DOUBLE_EQ(tienda.devuelto(refresco), 0);

  const QJsonObject inexistente = devoluciones[2].toObject();
  EXPECT_FALSE(inexistente["encontrado"].toBool());
  EXPECT_EQ(inexistente["mensajeBusqueda"].toString(), "No existe el ticket 99999");
}

}  // namespace
