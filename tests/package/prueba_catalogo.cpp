#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <functional>

#include "catalogo/importador.h"
#include "context/TsistemaDatos.h"
#include "db/TmiddleTier.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/ConsultaPrueba.h"
#include "support/ImportaPrueba.h"

namespace {

const QString kDemo = QStringLiteral(POS_FUENTES "/data/catalogo-demo.json");

class Catalogo : public PruebaAmbosMotores {
 protected:
  // The online-user password is encrypted with an installation key of the test's own.
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (db) signingConfigura(db->carpeta());
  }
  void TearDown() override {
    signingConfigura(QString());
    PruebaAmbosMotores::TearDown();
  }
  QVariant valor(const QString& sql) { return sqlValor(conexion(), sql); }
  QString texto(const QString& sql) { return CmidTierResponse::texto(valor(sql)); }
  int cuenta(const QString& tabla, const QString& donde = QStringLiteral("1 = 1")) {
    return valor(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(tabla, donde)).toInt();
  }
  CmidTierResponse lee(const QString& sql) { return sqlLee(conexion(), sql); }
};

bool ean13Valido(const QString& codigo) {
  if (codigo.size() != 13) return false;
  int suma = 0;
  for (int i = 0; i < 12; ++i) {
    if (!codigo[i].isDigit()) return false;
    suma += codigo[i].digitValue() * (i % 2 == 0 ? 1 : 3);
  }
  return codigo[12].digitValue() == (10 - suma % 10) % 10;
}

TEST_P(Catalogo, DemoSeImportaYSeLeeComoSeEscribio) {
  const TResultadoImportacion r = importaCatalogo(conexion(), kDemo);
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(r.idNegocio, 1);
  EXPECT_GT(r.registros, 400);

  TNegocio negocio;
  ASSERT_TRUE(negocio.carga(conexion(), 1));
  EXPECT_EQ(negocio.getDatosFiscales().getRfc(), "AES150312KJ9");
  EXPECT_EQ(negocio.getDatosFiscales().getRegimenFiscal(), "601");
  EXPECT_EQ(negocio.getDatosFiscales().getDireccion().getCodigoPostal().size(), 5);

  // {table, condition, rows}
  const struct {
    const char *tabla, *donde;
    int filas;
  } conteos[] = {
      {"inventarioProducto", "1 = 1", 65},
      {"inventarioProductoImpuestos", "1 = 1", 65},
      {"ventasListaProductos", "1 = 1", 65},
      {"ventasListaPrecios", "predeterminada = 1 AND idNegocioFk = 1", 1},
      {"puntoCajero", "ventasVendedorEstado_id = 1", 3},
      {"puntoCajero", "ventasVendedorEstado_id = 2", 1},
      {"inventarioProductoCodigoBarras", "inventarioProducto_id = 32", 2},  // one has two
      {"inventarioProducto", "nombreBusqueda LIKE '%azucar%'", 3},
      {"ventasDescuentosCategorias", "inventarioCategoria_identidad = 'LIM'", 2},
      {"ventasKitDetalle", "ventasKit_id = 1", 5},
      // Stock in both warehouses, serial numbers where the product controls them.
      {"inventarioAlmacen", "idNegocioFk = 1", 2},
      {"inventarioExistencias", "inventarioProducto_id = 1", 2},
      {"inventarioNoSerie", "estado = 1", 9},
  };
  for (const auto& c : conteos)
    EXPECT_EQ(cuenta(c.tabla, c.donde), c.filas) << c.tabla << " " << c.donde;
  // Ids of the document are kept; prices, the tax text of the list, kits. Numbers compare as
  // numbers (the engines write them differently), the rest as texts.
  const struct {
    const char* sql;
    QVariant esperado;
  } valores[] = {
      {"SELECT clave FROM inventarioProducto WHERE id = 32", "BEB-001"},
      {"SELECT nombre FROM inventarioProducto WHERE id = 32", "Refresco de cola 600 ml"},
      {"SELECT impuestosAplicados FROM ventasListaProductos WHERE inventarioProducto_id = 32",
       "0.16|0|0.08|0|0"},
      {"SELECT precioLista FROM ventasListaProductos WHERE inventarioProducto_id = 32", 18.0},
      {"SELECT impuestosAplicados FROM ventasListaProductos WHERE inventarioProducto_id = 1",
       "0|0|0|0|0"},
      {"SELECT iepsTrasladado FROM inventarioProductoImpuestos WHERE inventarioProducto_id = 32",
       0.08},
      {"SELECT nombreBusqueda FROM inventarioProducto WHERE id = 3", "azucar estandar 1 kg"},
      {"SELECT u.descripcion FROM inventarioProducto p JOIN inventarioUnidadesMedida u "
       "ON u.ID = p.unidadesMedida_id WHERE p.id = 20",
       "Kilogramo"},
      {"SELECT inventarioCategoria_identidad FROM ventasPromocionesProductoCategoriaClave "
       "WHERE ventasPromociones_id = 3",
       "DUL"},
      {"SELECT precioVenta FROM ventasKit WHERE claveKit = 'KIT-DESP'", 199.0},
      {"SELECT cantidad FROM ventasKitDetalle WHERE ventasKit_id = 1 AND "
       "inventarioProducto_id = 11",
       "2"},
      {"SELECT ivaTrasladado FROM ventasKit WHERE id = 2", 0.16},
  };
  for (const auto& v : valores) {
    if (v.esperado.typeId() == QMetaType::Double)
      EXPECT_EQ(valor(v.sql).toDouble(), v.esperado.toDouble()) << v.sql;
    else
      EXPECT_EQ(texto(v.sql).toStdString(), v.esperado.toString().toStdString()) << v.sql;
  }
  const QString contrasena = texto("SELECT contrasena FROM usuarioEnLinea WHERE idNegocioFk = 1");
  EXPECT_NE(contrasena, "demo-2026");
  EXPECT_EQ(deCrypt(contrasena), "demo-2026");

  // Every barcode is a valid EAN-13, none repeats.
  const CmidTierResponse codigos = lee("SELECT codigo FROM inventarioProductoCodigoBarras");
  EXPECT_EQ(codigos.getRowCount(), 65);
  for (int i = 0; i < codigos.getRowCount(); ++i)
    EXPECT_TRUE(ean13Valido(codigos.getCelda("codigo", i)))
        << codigos.getCelda("codigo", i).toStdString();

  // Scales: the product's own rows (one category's are counted above).
  const CmidTierResponse escala = lee(
      "SELECT cantidad, descuento FROM ventasDescuentosProductos WHERE inventarioProducto_id = 32 "
      "ORDER BY cantidad");
  ASSERT_EQ(escala.getRowCount(), 2);
  EXPECT_EQ(escala.getCeldaAsFloat("cantidad", 1), 12);
  EXPECT_EQ(escala.getCeldaAsFloat("descuento", 1), 10);

  // One promotion of each kind, in force for 2026 and 2027.
  EXPECT_EQ(sqlFilas(lee("SELECT promocionDetalle, vigenciaDesde, vigenciaHasta FROM "
                         "ventasPromociones ORDER BY promocionTipo"),
                     {}, false),
            QStringList({"|3|2|2026-01-01 00:00:00|2027-12-31 23:59:59",
                         "|2026-01-01 00:00:00|2027-12-31 23:59:59",
                         "1|10|2026-01-01 00:00:00|2027-12-31 23:59:59",
                         "|1|50||2026-01-01 00:00:00|2027-12-31 23:59:59"}));
  // The set promotion: café to buy (found from a café line through lista 0), galletas given.
  const CmidTierResponse conjunto =
      lee("SELECT lista, inventarioProducto_id, gridCantidad FROM "
          "ventasPromocionesProductoCategoriaClave WHERE ventasPromociones_id = 2 ORDER BY lista");
  ASSERT_EQ(conjunto.getRowCount(), 3);
  EXPECT_EQ(conjunto.getCeldaAsInt("inventarioProducto_id", 0), 16);
  EXPECT_EQ(conjunto.getCeldaAsInt("lista", 1), 1);
  EXPECT_EQ(conjunto.getCeldaAsFloat("gridCantidad", 1), 2);
  EXPECT_EQ(conjunto.getCeldaAsInt("lista", 2), 2);
  EXPECT_EQ(conjunto.getCeldaAsInt("inventarioProducto_id", 2), 47);
  EXPECT_EQ(valor("SELECT existencia FROM inventarioExistencias WHERE inventarioProducto_id = 62 "
                  "AND inventarioAlmacen_id = 1")
                .toDouble(),
            cuenta("inventarioNoSerie", "inventarioProducto_id = 62"));

  // The sale register finds its register through the station of the open session.
  const CmidTierResponse caja =
      lee("SELECT c.clave, c.estado, s.activa, s.puntoCajero_id, s.montoApertura, "
          "s.billetes500, c.inventarioAlmacen_id FROM puntoCajaSesion s JOIN puntoCaja c ON "
          "c.puntoCajaSesion_id = s.id WHERE s.estacion = 'CAJA-DEMO-1'");
  ASSERT_EQ(caja.getRowCount(), 1);
  EXPECT_EQ(caja.getCelda("clave"), "CAJA-1");
  EXPECT_EQ(caja.getCeldaAsInt("estado"), 1);
  EXPECT_EQ(caja.getCeldaAsInt("activa"), 1);
  EXPECT_EQ(caja.getCeldaAsInt("puntoCajero_id"), 1);
  EXPECT_EQ(caja.getCeldaAsFloat("montoApertura"), 1500);
  EXPECT_EQ(caja.getCeldaAsInt("billetes500"), 2);
  EXPECT_EQ(caja.getCeldaAsInt("inventarioAlmacen_id"), 1);
  EXPECT_EQ(cuenta("puntoCaja", "clave = 'CAJA-2' AND estado = 0 AND puntoCajaSesion_id IS NULL"),
            1);

  const CmidTierResponse metodos =
      lee("SELECT nombre, formaPago_id FROM puntoMetodoPago ORDER BY orden");
  ASSERT_EQ(metodos.getRowCount(), 5);
  EXPECT_EQ(metodos.getCelda("nombre", 0), "Efectivo");
  EXPECT_EQ(metodos.getCeldaAsInt("formaPago_id", 0), 1);
  EXPECT_EQ(cuenta("puntoMetodoPago", "formaPago_id = 4"), 1);
  EXPECT_EQ(cuenta("puntoMetodoPago", "formaPago_id IN (3, 8, 28)"), 3);

  // Rows inserted later without an id follow the explicit ids (PostgreSQL's sequences were
  // moved past them).
  TmiddleTier mt(conexion());
  mt.setQuery("INSERT INTO inventarioProducto (nombre, idNegocioFk) VALUES ('Nuevo', 1)");
  ASSERT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
  EXPECT_EQ(valor("SELECT id FROM inventarioProducto WHERE nombre = 'Nuevo'").toInt(), 66);
  mt.setQuery("INSERT INTO puntoCaja (clave, idNegocioFk) VALUES ('CAJA-3', 1)");
  ASSERT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
  mt.setQuery("INSERT INTO Negocio (nombre) VALUES ('Otro')");
  ASSERT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
  mt.setQuery(
      "INSERT INTO puntoCajaSesion (puntoCaja_id, puntoCajero_id, fechaApertura, "
      "idNegocioFk) VALUES (2, 2, '2026-02-01 09:00:00', 1)");
  ASSERT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
  EXPECT_EQ(valor("SELECT MAX(id) FROM puntoCajaSesion").toInt(), 2);
}

// One bad record refuses the whole document, the error names it, and nothing is written,
// even when the bad record comes after hundreds of good rows.
TEST_P(Catalogo, DocumentoMaloSeRechazaEnteroSinEscribirNada) {
  TiendaPrueba base;
  base.producto("A", "Agua", 10, "7501234567897");
  ASSERT_EQ(base.importa(conexion()), 1);

  const QStringList tablas{"Negocio",
                           "inventarioProducto",
                           "inventarioProductoCodigoBarras",
                           "ventasListaProductos",
                           "inventarioExistencias",
                           "Persona",
                           "puntoCajero",
                           "puntoCaja",
                           "puntoCajaSesion",
                           "puntoMetodoPago",
                           "inventarioUnidadesMedida",
                           "inventarioCategoria",
                           "ventasPromociones"};
  auto conteos = [&] {
    QList<int> c;
    for (const QString& t : tablas) c << cuenta(t);
    return c;
  };
  const QList<int> antes = conteos();

  // Business 2 with 200 good products first, then the case's change.
  auto documento = [](const std::function<void(TiendaPrueba&)>& cambio) {
    TiendaPrueba c(2);
    c.documento()["cajas"] = QJsonArray{QJsonObject{{"clave", "CAJA1"}, {"almacen", "ALM"}}};
    for (int i = 0; i < 200; ++i)
      c.producto(QStringLiteral("P%1").arg(i), QStringLiteral("Producto %1").arg(i), 5 + i,
                 QStringLiteral("75099%1").arg(i, 8, 10, QLatin1Char('0')));
    cambio(c);
    return c.json();
  };
  auto conProducto = [&](const QJsonObject& p) {
    return documento([&](TiendaPrueba& c) { c.agrega("productos", p); });
  };
  const QJsonObject bueno{{"clave", "B"}, {"nombre", "Bueno"}, {"precio", 1}};
  // A product written as raw JSON, for what a QJsonObject cannot hold.
  auto crudo = [&](const char* producto) {
    return conProducto({{"clave", "MARCA"}}).replace("{\"clave\":\"MARCA\"}", producto);
  };
  auto cambiado = [&](const QString& campo, const QJsonValue& v) {
    QJsonObject p = bueno;
    p.insert(campo, v);
    return conProducto(p);
  };
  auto conRfc = [&](const QString& rfc) {
    return documento([&](TiendaPrueba& c) {
      QJsonObject negocio = c.documento()["negocio"].toObject();
      negocio["rfc"] = rfc;
      c.documento()["negocio"] = negocio;
    });
  };

  const struct {
    const char* caso;
    QByteArray json;
    QString error;
  } casos[] = {
      {"JSON mal formado", QByteArray("{\n  \"negocio\": {\"nombre\": \"X\",}\n}"),
       "JSON mal formado en la posición 30 (línea 2, columna 29): se esperaba el nombre de un "
       "campo"},
      // QJsonDocument kept the last of two keys: the empty list imported nothing, with success.
      {"sección repetida", documento([](TiendaPrueba&) {}).insert(1, "\"productos\":[],"),
       "la clave \"productos\" se repite en el mismo objeto"},
      {"campo repetido en un registro", crudo("{\"clave\":\"B\",\"nombre\":\"B\",\"clave\":\"C\"}"),
       "la clave \"clave\" se repite en el mismo objeto"},
      {"carácter nulo en un texto",
       cambiado("nombre", QStringLiteral("Agua").append(QChar(0)).append("mineral")),
       "un texto contiene el carácter nulo (\\u0000)"},
      {"número que un double no guarda",
       crudo("{\"clave\":\"B\",\"nombre\":\"B\",\"precio\":1e400}"),
       "número fuera del intervalo que se puede guardar"},
      {"RFC con un 30 de febrero", conRfc("XOJI990230U48"),
       "negocio: el RFC \"XOJI990230U48\" lleva una fecha que no existe"},
      {"RFC con un 29 de febrero de año no bisiesto", conRfc("XOJI010229U48"),
       "negocio: el RFC \"XOJI010229U48\" lleva una fecha que no existe"},
      {"precio absurdo", cambiado("precio", 1e308),
       "productos[200] (clave \"B\"): el precio no puede pasar de 999,999.99"},
      {"existencia absurda",
       cambiado("existencias", QJsonArray{QJsonObject{{"almacen", "ALM"}, {"existencia", 1e308}}}),
       "productos[200] (clave \"B\").existencias[0]: la existencia no puede pasar de "
       "999,999,999.999"},
      {"costo absurdo",
       cambiado("existencias", QJsonArray{QJsonObject{
                                   {"almacen", "ALM"}, {"existencia", 1}, {"costoUnitario", 1e7}}}),
       "productos[200] (clave \"B\").existencias[0]: el costo unitario no puede pasar de "
       "999,999.99"},
      {"cantidad de escala absurda",
       cambiado("escalas", QJsonArray{QJsonObject{{"cantidad", 1e9}, {"descuento", 5}}}),
       "productos[200] (clave \"B\").escalas[0]: la cantidad no puede pasar de 9,999.999"},
      {"nombre de un millón de caracteres", cambiado("nombre", QString(1000000, 'x')),
       "productos[200] (clave \"B\"): el campo \"nombre\" tiene 1000000 caracteres; admite a lo "
       "más 150"},
      {"código de barras más largo que el campo de lectura",
       cambiado("codigosBarras", QJsonArray{QString(51, '7')}),
       "productos[200] (clave \"B\"): el código de barras tiene 51 caracteres; admite a lo más 50"},
      {"sección desconocida",
       documento([](TiendaPrueba& c) { c.documento()["productoss"] = QJsonArray{}; }),
       "documento: campo desconocido \"productoss\""},
      {"falta un campo requerido", conProducto({{"clave", "B"}, {"precio", 1}}),
       "productos[200] (clave \"B\"): falta el campo \"nombre\""},
      {"categoría desconocida", cambiado("categoria", "NOPE"),
       "productos[200] (clave \"B\"): no existe la categoría \"NOPE\""},
      {"código de barras repetido", cambiado("codigosBarras", QJsonArray{"7509900000007"}),
       "productos[200] (clave \"B\"): el código de barras \"7509900000007\" se repite (ya lo "
       "tiene productos[7] (clave \"P7\"))"},
      {"clave repetida", cambiado("clave", "P3"),
       "productos[200] (clave \"P3\"): la clave se repite (ya la tiene productos[3] (clave "
       "\"P3\"))"},
      {"precio negativo", cambiado("precio", -0.5),
       "productos[200] (clave \"B\"): el precio no puede ser negativo"},
      {"tasa que no es fracción", cambiado("impuestos", QJsonObject{{"ivaT", 16}}),
       "productos[200] (clave \"B\").impuestos: la tasa \"ivaT\" debe ser una fracción entre 0 y "
       "1"},
      {"tasa de 100 %", cambiado("impuestos", QJsonObject{{"iepsT", 1}}),
       "productos[200] (clave \"B\").impuestos: la tasa \"iepsT\" debe ser una fracción"},
      {"tipo equivocado", cambiado("precio", "12"),
       "productos[200] (clave \"B\"): el campo \"precio\" debe ser un número"},
      {"campo desconocido", cambiado("precios", 3),
       "productos[200] (clave \"B\"): campo desconocido \"precios\""},
      {"almacén desconocido",
       cambiado("existencias", QJsonArray{QJsonObject{{"almacen", "X"}, {"existencia", 1}}}),
       "productos[200] (clave \"B\").existencias[0]: no existe el almacén con clave \"X\""},
      {"id ya guardado", cambiado("id", 1),
       "productos[200]: el id 1 ya existe en la base de datos"},
      {"forma de pago desconocida", documento([](TiendaPrueba& c) {
         c.agrega("metodosPago", QJsonObject{{"nombre", "Cripto"}, {"formaPago", 7}});
       }),
       "metodosPago[2] (nombre \"Cripto\"): no existe la forma de pago 7 en el catálogo del SAT"},
      {"estación ocupada por otro negocio", documento([](TiendaPrueba& c) {
         c.agrega("cajas", QJsonObject{{"clave", "CAJA9"},
                                       {"almacen", "ALM"},
                                       {"sesion", QJsonObject{{"cajero", "C1"},
                                                              {"estacion", "ESTACION-PRUEBA"}}}});
       }),
       "cajas[1] (clave \"CAJA9\").sesion: la estación \"ESTACION-PRUEBA\" ya está relacionada a "
       "una sesión activa"},
      {"producto desconocido en un kit", documento([](TiendaPrueba& c) {
         c.agrega("kits", QJsonObject{{"nombre", "Kit"},
                                      {"precioVenta", 10},
                                      {"productos", QJsonArray{QJsonObject{{"producto", "ZZ"}}}}});
       }),
       "kits[0] (nombre \"Kit\").productos[0]: no existe el producto con clave \"ZZ\""},
      {"promoción imposible", documento([](TiendaPrueba& c) {
         c.agrega("promociones", QJsonObject{{"nombre", "2x3"},
                                             {"tipo", 0},
                                             {"n", 2},
                                             {"m", 3},
                                             {"productos", QJsonArray{"P1"}}});
       }),
       "promociones[0] (nombre \"2x3\"): \"m\" debe ser menor que \"n\""},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.caso);
    const TResultadoImportacion r = importaCatalogoJson(conexion(), c.json);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(
        r.error.startsWith(c.error) ||
        (r.error.startsWith("JSON mal formado en la posición ") && r.error.contains(c.error)))
        << r.error.left(300).toStdString();
    EXPECT_EQ(conteos(), antes);
  }
  // The same document without the bad record goes in.
  EXPECT_EQ(importaPrueba(conexion(), documento([](TiendaPrueba&) {})), 2);
  EXPECT_EQ(cuenta("inventarioProducto", "idNegocioFk = 2"), 200);
  // A wrong check digit alone goes in too, with a warning that names the record.
  TiendaPrueba otra(3);
  otra.documento()["cajas"] = QJsonArray{QJsonObject{{"clave", "CAJA1"}, {"almacen", "ALM"}}};
  QJsonObject negocio = otra.documento()["negocio"].toObject();
  negocio["rfc"] = "XOJI740919U40";
  otra.documento()["negocio"] = negocio;
  const TResultadoImportacion conAviso = importaCatalogoJson(conexion(), otra.json());
  EXPECT_TRUE(conAviso.ok) << conAviso.error.toStdString();
  EXPECT_EQ(conAviso.avisos,
            QStringList{"negocio: El dígito verificador del RFC XOJI740919U40 no coincide (se "
                        "esperaba 8). Revise que esté bien escrito."});
}

// Units of measure are shared: a second business reuses them. Keys and barcodes only need
// to be unique inside one business.
TEST_P(Catalogo, DosNegociosEnLaMismaBase) {
  ASSERT_TRUE(importaCatalogo(conexion(), kDemo).ok);
  const QString codigoDemo = texto(
      "SELECT codigo FROM inventarioProductoCodigoBarras "
      "WHERE inventarioProducto_id = 1");
  TiendaPrueba otro(0);
  otro.producto("ABA-001", "Arroz de otro negocio", 30, codigoDemo, 0);
  otro.documento()["unidades"] =
      QJsonArray{QJsonObject{{"descripcion", "Pieza"}, {"claveSAT33", "H87"}},
                 QJsonObject{{"descripcion", "Caja"}, {"claveSAT33", "XBX"}}};
  const int id = otro.importa(conexion());
  ASSERT_EQ(id, 2);
  EXPECT_EQ(cuenta("inventarioUnidadesMedida"), 5);
  EXPECT_EQ(cuenta("inventarioProducto", "idNegocioFk = 2"), 1);
  EXPECT_EQ(
      cuenta("inventarioProductoCodigoBarras", QStringLiteral("codigo = '%1'").arg(codigoDemo)), 2);
  EXPECT_EQ(
      valor("SELECT p.unidadesMedida_id FROM inventarioProducto p WHERE idNegocioFk = 2").toInt(),
      1);
  EXPECT_EQ(valor("SELECT id FROM ventasListaPrecios WHERE idNegocioFk = 2").toInt(), 2);
  EXPECT_EQ(cuenta("puntoCajaSesion", "activa = 1"), 2);
  // A unit id already stored with another description is refused.
  TiendaPrueba tercero(0);
  tercero.documento()["unidades"] =
      QJsonArray{QJsonObject{{"id", 2}, {"descripcion", "Pieza"}, {"claveSAT33", "H87"}}};
  tercero.documento()["cajas"] = QJsonArray{};
  const TResultadoImportacion r = importaCatalogoJson(conexion(), tercero.json());
  EXPECT_EQ(r.error.toStdString(),
            "unidades[0] (descripcion \"Pieza\"): el id 2 ya existe en la base de datos "
            "con otra unidad");
}

// Images (a file beside the document, or base64), a unit by id, a product outside the price
// list, sessions counted in notes and coins.
TEST_P(Catalogo, CamposOpcionales) {
  const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452");
  QFile f(db->carpeta() + "/imagenes/agua.png");
  ASSERT_TRUE(QDir().mkpath(db->carpeta() + "/imagenes") && f.open(QIODevice::WriteOnly));
  f.write(png);
  f.close();
  TiendaPrueba c;
  c.agrega(
      "productos",
      {{"clave", "F"}, {"nombre", "Con archivo"}, {"imagen", "imagenes/agua.png"}, {"unidad", 1}});
  c.agrega("productos", {{"clave", "B"},
                         {"nombre", "Con base64"},
                         {"imagenBase64", QString::fromLatin1(png.toBase64())}});
  QJsonArray cajas = c.documento()["cajas"].toArray();
  QJsonObject caja = cajas[0].toObject(), sesion = caja["sesion"].toObject();
  sesion.insert("billetes200", 2);
  sesion.insert("monedas", 100);
  caja["sesion"] = sesion;
  cajas[0] = caja;
  c.documento()["cajas"] = cajas;
  QFile doc(db->carpeta() + "/catalogo.json");
  ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
  doc.write(c.json());
  doc.close();
  const TResultadoImportacion r = importaCatalogo(conexion(), doc.fileName());
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(valor("SELECT imagen FROM inventarioProducto WHERE clave = 'F'").toByteArray(), png);
  EXPECT_EQ(valor("SELECT imagen FROM inventarioProducto WHERE clave = 'B'").toByteArray(), png);
  EXPECT_EQ(valor("SELECT unidadesMedida_id FROM inventarioProducto WHERE clave = 'F'").toInt(), 1);
  EXPECT_EQ(cuenta("ventasListaProductos"), 0);  // no price: not in the list
  EXPECT_EQ(cuenta("inventarioProductoImpuestos"), 2);
  EXPECT_EQ(texto("SELECT fechaApertura FROM puntoCajaSesion"), "2026-01-05 08:00:00");

  TiendaPrueba mal(3);
  mal.documento()["cajas"] = QJsonArray{QJsonObject{{"clave", "CAJA1"},
                                                    {"almacen", "ALM"},
                                                    {"sesion", QJsonObject{{"cajero", "C1"},
                                                                           {"estacion", "OTRA"},
                                                                           {"montoApertura", 500},
                                                                           {"billetes200", 2},
                                                                           {"monedas", 99.5}}}}};
  EXPECT_EQ(importaCatalogoJson(conexion(), mal.json()).error.toStdString(),
            "cajas[0] (clave \"CAJA1\").sesion: billetes y monedas suman 499.5, no el monto de "
            "apertura 500");
  TiendaPrueba base64(3);
  base64.agrega("productos", {{"clave", "X"}, {"nombre", "X"}, {"imagenBase64", "no es base64!"}});
  base64.documento()["cajas"] = QJsonArray{};
  EXPECT_EQ(importaCatalogoJson(conexion(), base64.json()).error.toStdString(),
            "productos[0] (clave \"X\"): la imagen en base64 no es válida");
}

// The example of the format's documentation stays importable.
TEST_P(Catalogo, EjemploDeLaDocumentacion) {
  QFile f(QStringLiteral(POS_FUENTES "/docs/catalogo.md"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString md = QString::fromUtf8(f.readAll());
  const qsizetype inicio = md.indexOf("```json\n");
  ASSERT_GE(inicio, 0);
  const qsizetype fin = md.indexOf("```", inicio + 8);
  const TResultadoImportacion r =
      importaCatalogoJson(conexion(), md.mid(inicio + 8, fin - inicio - 8).toUtf8());
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(texto("SELECT promocionDetalle FROM ventasPromociones"), "|3|2");
  EXPECT_EQ(cuenta("ventasKitDetalle"), 2);
  EXPECT_EQ(cuenta("puntoCaja", "estado = 1"), 1);
}

INSTANCIA_AMBOS_MOTORES(Catalogo);

}  // namespace
