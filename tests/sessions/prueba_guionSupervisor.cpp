// A supervisor's day driven by pos-script on a station with no open register: the opening with
// its cash count (refused once), a sale, a cut, the close, then the session and the closings
// looked back at. What the steps report is compared with the database.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/PosScriptPrueba.h"
#include "support/SupervisorPrueba.h"

namespace {

TEST(GuionSupervisor, AperturaVentaCorteCierreYSesion) {
  auto db = BaseDatosPrueba::crea(Motor::SQLite);
  ASSERT_TRUE(db);
  CatalogoPrueba cat(db->conexion());
  cat.negocioBasico();
  cat.producto(1, "Café de olla 250 g", "7501000000011", 100);
  cat.existencia(1, 5);
  SupervisorPrueba s(db->conexion());
  s.cajero("MAR", "Marta", "Gómez", "Ruiz");
  s.caja("M1", "Mostrador");

  const SalidaPosScript salida =
      correPosScript(db->carpeta(), {"--config", iniPosScript(*db, "CAJA-SUP")}, R"([
    {"lectura": "7501000000011"},
    {"aperturaCaja": {"caja": "M1", "cajero": "MAR", "monto": "1500", "billetes": {"1000": 1}}},
    {"aperturaCaja": {"caja": "M1", "cajero": "MAR", "monto": "1500", "billetes": {"1000": 1, "500": 1}}},
    {"lectura": "7501000000011"},
    {"cobrar": {"efectivo": "200"}},
    {"corteCaja": {"caja": "M1", "monto": "9999"}},
    {"corteCaja": {"caja": "M1", "monto": "600"}},
    {"cierreCaja": {"caja": "M1"}},
    {"verSesion": {"sesion": 1}},
    {"verSesion": {"sesion": 99}},
    {"controlCierres": {"cajero": "MAR"}}
  ])",
                     120000);
  ASSERT_EQ(salida.codigo, 0) << salida.error.toStdString();
  const QJsonObject& o = salida.json;
  const std::string informe = QJsonDocument(o).toJson().toStdString();

  QStringList mensajes;
  for (const QJsonValue& m : o["mensajes"].toArray()) mensajes << m.toObject()["texto"].toString();
  // No register before the opening: the first reading was not run. The count short of the
  // amount is refused and the dialog left; the next one, a new dialog, adds up.
  EXPECT_TRUE(mensajes.value(0).startsWith("La estación de trabajo actual, no tiene una caja"))
      << informe;
  EXPECT_TRUE(
      mensajes.contains("La suma total después de ingresar la cantidad de billetes y/o "
                        "monedas es incorrecto."));
  EXPECT_TRUE(mensajes.contains("¿Realizar Corte de Caja?"));
  EXPECT_TRUE(mensajes.contains("¿Realizar Cierre de Caja?"));
  const QJsonArray cajas = o["cajas"].toArray();
  ASSERT_EQ(cajas.size(), 5) << informe;
  struct Esperado {
    const char* opcion;
    bool aceptado;
    const char* estado;
    const char* saldo;
  };
  const Esperado esperados[] = {{"Apertura", false, "Cerrada", ""},
                                {"Apertura", true, "Abierta", "$ 1,500.00"},
                                {"Corte", false, "Abierta", "$ 1,616.00"},  // more than it holds
                                {"Corte", true, "Abierta", "$ 1,016.00"},
                                {"Cierre", true, "Cerrada", ""}};
  for (int i = 0; i < 5; ++i) {
    const QJsonObject c = cajas[i].toObject();
    EXPECT_EQ(c["opcion"].toString(), esperados[i].opcion) << i;
    EXPECT_EQ(c["aceptado"].toBool(), esperados[i].aceptado) << i;
    EXPECT_EQ(c["despues"].toObject()["estado"].toString(), esperados[i].estado) << i;
    if (*esperados[i].saldo) {
      EXPECT_EQ(c["despues"].toObject()["saldo"].toString(), esperados[i].saldo) << i;
    }
  }
  EXPECT_EQ(cajas[1].toObject()["despues"].toObject()["cajero"].toString(), "Marta Gómez Ruiz");

  // The sale was stored in the new session and its register was free again after the close.
  EXPECT_TRUE(o["cobro"].toObject()["ok"].toBool()) << informe;
  EXPECT_EQ(s.entero("SELECT COUNT(*) FROM puntoOperacion WHERE puntoCajaSesion_id = 1"), 1);
  EXPECT_EQ(s.entero("SELECT COUNT(*) FROM puntoCorte WHERE puntoCajaSesion_id = 1"), 2);

  // Each look at a session is kept in order; "sesion" is the last one.
  const QJsonArray sesiones = o["sesiones"].toArray();
  ASSERT_EQ(sesiones.size(), 2) << informe;
  EXPECT_EQ(o["sesion"], sesiones[1]);
  EXPECT_EQ(sesiones[1].toObject()["numero"].toInt(), 0);
  const QJsonObject sesion = sesiones[0].toObject();
  EXPECT_EQ(sesion["numero"].toInt(), 1);
  EXPECT_EQ(sesion["total"].toString(), "$ 116.00");
  EXPECT_EQ(sesion["tickets"].toArray().size(), 1);
  EXPECT_EQ(sesion["productos"].toArray().at(0).toObject()["cantidad"].toString().toDouble(), 1);
  const QJsonArray filas = o["cierres"].toObject()["filas"].toArray();
  ASSERT_EQ(filas.size(), 2) << informe;
  QStringList montos;
  for (const QJsonValue& fila : filas) montos << fila.toObject()["monto"].toString();
  montos.sort();
  EXPECT_EQ(montos, QStringList({"1016", "600"}));
}

}  // namespace
