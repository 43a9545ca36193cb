// The scripted driver, run as the separate program it is.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/FilasPrueba.h"
#include "support/PosScriptPrueba.h"

namespace {

class PosScript : public ::testing::Test {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    ASSERT_TRUE(db);
    CatalogoPrueba cat(db->conexion());
    cat.negocioBasico();
    cat.producto(1, "Café de olla 250 g", "7501000000011", 100);
    cat.producto(2, "Coca Cola 600 ml", "7501000000028", 18, "0.16|0|0.08|0|0");
    cat.producto(3, "Pan blanco", "7501000000035", 35.5, "0|0|0|0|0");
    cat.kit(7, "Kit desayuno", 150, {{1, "1"}, {3, "2"}});
    cat.promocion(9, "3x2 en café", 0, "|3|2", {1});
    cat.cajero(1, "Ana");
    cat.cajaAbierta(1, "CAJA-1", 1);
  }

  int corre(const QByteArray& escenario, QJsonObject* salida, QString* error = nullptr,
            const QString& estacion = "CAJA-1") {
    const SalidaPosScript s = correPosScript(
        db->carpeta(), {"--db", db->destino(), "--negocio", "1", "--estacion", estacion},
        escenario);
    if (error) *error = s.error;
    if (salida) *salida = s.json;
    return s.codigo;
  }

  // The driver's lines by column name, as a table.
  struct Lineas {
    QJsonArray filas;
    int getRowCount() const { return int(filas.size()); }
    QString getCelda(const QString& c, int f) const { return filas[f].toObject()[c].toString(); }
  };
  static Lineas lineas(const QJsonObject& o) { return {o["lineasPorNombre"].toArray()}; }

  std::unique_ptr<BaseDatosPrueba> db;
};

TEST_F(PosScript, VentaMixtaConKitEscalaYBorrado) {
  QJsonObject o;
  QString error;
  ASSERT_EQ(corre(R"([
    {"lectura": "7501000000028"},
    {"lectura": "7501000000028"},
    {"busqueda": "pan"},
    {"tile": 0},
    {"cantidad": "3"},
    {"kit": 7},
    {"kit": 0},
    {"clic": [2, 11]},
    {"mas": 1},
    {"menos": 3},
    {"responder": ["Cancel"]},
    {"eliminar": true}
  ])",
                  &o, &error),
            0);
  // Neither the offscreen platform's size-hint notice nor the missing runtime folder's is
  // printed on every run.
  for (const char* aviso : {"propagateSizeHints", "XDG_RUNTIME_DIR"})
    EXPECT_FALSE(error.contains(aviso)) << error.toStdString();
  EXPECT_TRUE(o["iniciada"].toBool());
  EXPECT_EQ(o["cajero"].toString(), "Ana Pérez López");
  const QJsonArray columnas = o["columnas"].toArray();
  ASSERT_EQ(columnas.size(), 45);
  EXPECT_EQ(columnas[14].toString(), "_descuento");
  EXPECT_EQ(columnas[33].toString(), "_descuento");
  ASSERT_EQ(o["lineas"].toArray().size(), 5);
  EXPECT_EQ(o["lineas"].toArray()[0].toArray().size(), 45);
  // IEPS 36 x 0.08, IVA 38.88 x 0.16; the kit's header and a component.
  EXPECT_TRUE(filasComo(
      lineas(o), {"Descripción", "Cantidad", "IEPS T", "IVA T", "Subtotal", "_tipoInsercion"},
      {"*|2|2.88|6.22|*|*", "Pan blanco|3|*|*|106.5|*", "*|*|*|*|*|2", "*|*|*|*|*|20",
       "*|*|*|*|*|*"}));
  // The click went to the kit header; plus and minus only act on product lines.
  EXPECT_EQ(o["filaSeleccionada"].toInt(), 2);
  EXPECT_EQ(o["resultadosBusqueda"].toArray(), QJsonArray({"Pan blanco"}));
  // Total: 45.10 + 106.50 + 174.00
  EXPECT_EQ(o["uTotal"].toString(), "325.6");
  EXPECT_EQ(o["uSubtotal"].toString(), "292.5");
  EXPECT_EQ(o["uImpuestos"].toString(), "33.1");
  EXPECT_EQ(o["LBL_total"].toString(), "TOTAL $ 325.60 MXN");
  EXPECT_EQ(o["LBL_impuestos"].toString(), "Impuestos $ 33.10 MXN");
  EXPECT_TRUE(o["aceptarHabilitado"].toBool());
  const QJsonArray mensajes = o["mensajes"].toArray();
  ASSERT_EQ(mensajes.size(), 1);
  EXPECT_EQ(mensajes[0].toObject()["texto"].toString(), "¿Eliminar producto?");
  EXPECT_EQ(mensajes[0].toObject()["respuesta"].toString(), "Cancel");
}

TEST_F(PosScript, PromocionYSuDetalle) {
  QJsonObject o;
  ASSERT_EQ(corre(R"([
    {"lectura": "7501000000011"},
    {"cantidad": "4"},
    {"clic": [0, 11]},
    {"aceptar": true}
  ])",
                  &o),
            0);
  EXPECT_TRUE(filasComo(lineas(o), {"Categoría", "_tipoInsercion", "Cantidad", "Descuento"},
                        {"PROMOCIÓN|*|1|*", "*|30|3|100", "*|*|1|*"}));
  EXPECT_EQ(o["uTotal"].toString(), "348");  // 3 for 2 plus one more, with IVA
  EXPECT_EQ(o["detallePromocion"].toString(), " - | - |3x2 en café(t1, 9)\n - vende 3 y cobra 2");
  // "Aceptar" opened the checkout; closed without paying, the sale stays.
  EXPECT_TRUE(o["mensajes"].toArray().isEmpty());
}

TEST_F(PosScript, EstacionSinSesion) {
  QJsonObject o;
  ASSERT_EQ(corre(R"([{"lectura": "7501000000011"}])", &o, nullptr, "OTRA"), 0);
  EXPECT_FALSE(o["iniciada"].toBool());
  EXPECT_TRUE(o["lineas"].toArray().isEmpty());
  EXPECT_TRUE(o["mensajes"].toArray()[0].toObject()["texto"].toString().startsWith("La estación"));
}

TEST_F(PosScript, PasosDesconocidosYJsonMalo) {
  QString error;
  EXPECT_EQ(corre(R"([{"lectura": "7501000000011"}, {"volar": true}])", nullptr, &error), 2);
  EXPECT_TRUE(error.contains("paso desconocido: 'volar'")) << error.toStdString();
  EXPECT_EQ(corre(R"([{"lectura": )", nullptr, &error), 2);
  EXPECT_TRUE(error.contains("JSON inválido")) << error.toStdString();
  EXPECT_EQ(corre(R"({"lectura": "1"})", nullptr, &error), 2);
  EXPECT_EQ(corre(R"([{"tile": 3}])", nullptr, &error), 2);
  EXPECT_TRUE(error.contains("no hay resultado 3")) << error.toStdString();
  EXPECT_EQ(corre(R"([{"responder": ["Quizás"]}])", nullptr, &error), 2);
  // A repeat count no cashier could tap is refused before anything runs.
  EXPECT_EQ(corre(R"([{"lectura": "7501000000011"}, {"mas": 2000000000}])", nullptr, &error), 2);
  EXPECT_TRUE(error.contains("'mas' admite de 0 a 9999 veces")) << error.toStdString();
  EXPECT_EQ(corre(R"([{"menos": -1}])", nullptr, &error), 2);
}

// Texts are typed as text: accents and symbols reach the fields as the cashier types them.
TEST_F(PosScript, TextoConAcentos) {
  QJsonObject o;
  ASSERT_EQ(corre(R"([{"busqueda": "CAFÉ"}, {"tile": 0}, {"cantidad": "2½"}])", &o), 0);
  EXPECT_EQ(o["resultadosBusqueda"].toArray(), QJsonArray{"Café de olla 250 g"});
  EXPECT_EQ(o["lineas"].toArray().size(), 1);
}

}  // namespace
