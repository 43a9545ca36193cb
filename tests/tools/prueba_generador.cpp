#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSet>

#include "catalogo/importador.h"
#include "db/TmiddleTier.h"
#include "generador/generadorCatalogo.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"

namespace {

TEST(Generador, MismaSemillaMismoDocumentoYCodigosValidos) {
  TOpcionesGenerador o;
  o.productos = 3000;
  o.semilla = 42;
  const QByteArray a = generaCatalogoJson(o);
  EXPECT_EQ(a, generaCatalogoJson(o));
  TOpcionesGenerador otra = o;
  otra.semilla = 43;
  EXPECT_NE(a, generaCatalogoJson(otra));

  const QJsonArray productos = QJsonDocument::fromJson(a).object().value("productos").toArray();
  ASSERT_EQ(productos.size(), 3000);
  QSet<QString> codigos;
  for (int i = 0; i < productos.size(); ++i) {
    const QJsonObject p = productos[i].toObject();
    const QString codigo = p.value("codigosBarras").toArray().first().toString();
    ASSERT_EQ(codigo.size(), 13);
    EXPECT_EQ(codigo.right(1).toInt(), u_digitoVerificadorEan13(codigo.left(12)))
        << codigo.toStdString();
    EXPECT_EQ(codigo, u_codigoBarrasGenerado(42, i));
    EXPECT_EQ(p.value("clave").toString(), u_claveGenerada(i));
    codigos.insert(codigo);
  }
  EXPECT_EQ(codigos.size(), 3000);
  EXPECT_EQ(u_digitoVerificadorEan13("400638133393"), 1);  // 4006381333931
  EXPECT_EQ(u_digitoVerificadorEan13("590123412345"), 7);  // 5901234123457
}

using GeneradorImportado = PruebaAmbosMotores;

// Generated catalogs import on both engines, twice into one database (a second business on
// another station).
TEST_P(GeneradorImportado, SeImportaComoSegundoNegocio) {
  signingConfigura(db->carpeta());
  TOpcionesGenerador o;
  o.productos = 300;
  o.estacion = "CAJA-BENCH-1";
  TResultadoImportacion r = importaCatalogoJson(conexion(), generaCatalogoJson(o));
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  o.idNegocio = 0;
  o.semilla = 2;
  o.estacion = "CAJA-BENCH-2";
  r = importaCatalogoJson(conexion(), generaCatalogoJson(o));
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(r.idNegocio, 2);

  TmiddleTier mt(conexion());
  mt.setQuery(
      "SELECT COUNT(*) FROM inventarioProducto p JOIN ventasListaProductos l ON "
      "l.inventarioProducto_id = p.id WHERE p.idNegocioFk = :n");
  mt.setInteger("n", 2);
  EXPECT_EQ(mt.scalar().toInt(), 300);
  mt.setQuery(
      "SELECT p.clave FROM inventarioProductoCodigoBarras c JOIN inventarioProducto p ON "
      "p.id = c.inventarioProducto_id WHERE c.codigo = :c AND c.idNegocioFk = 2");
  mt.setString("c", u_codigoBarrasGenerado(2, 123));
  EXPECT_EQ(mt.scalar().toString(), u_claveGenerada(123));
  mt.setQuery(
      "SELECT c.idNegocioFk FROM puntoCajaSesion s JOIN puntoCaja c ON c.id = "
      "s.puntoCaja_id WHERE s.estacion = 'CAJA-BENCH-2' AND s.activa = 1 AND c.estado = 1");
  EXPECT_EQ(mt.scalar().toInt(), 2);
  mt.setQuery("SELECT COUNT(*) FROM ventasPromociones WHERE idNegocioFk = 2");
  EXPECT_EQ(mt.scalar().toInt(), 4);
  mt.setQuery("SELECT contrasena FROM usuarioEnLinea WHERE idNegocioFk = 2");
  EXPECT_EQ(deCrypt(mt.scalar().toString()), "generada");
  signingConfigura(QString());
}

INSTANCIA_AMBOS_MOTORES(GeneradorImportado);

struct TSalida {
  int codigo;
  QString salida, error;
};

TSalida ejecuta(const QStringList& argumentos) {
  QProcess p;
  p.start(QStringLiteral(POS_BINARIOS "/pos-catalogo"), argumentos);
  p.waitForFinished(120000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput()).trimmed(),
          QString::fromUtf8(p.readAllStandardError()).trimmed()};
}

TEST(ComandoCatalogo, GeneraEImportaYRechazaConCodigo1) {
  QTemporaryDir dir;
  const QString json = dir.filePath("g.json"), base = dir.filePath("nueva/pos.db");
  TSalida s = ejecuta({"genera", "--productos", "50", "--semilla", "9", "--salida", json});
  ASSERT_EQ(s.codigo, 0) << s.error.toStdString();

  s = ejecuta({"importa", "--db", base, json});
  EXPECT_EQ(s.codigo, 0) << s.error.toStdString();
  // The password was encrypted with a key beside the database, or where --clave says.
  EXPECT_TRUE(QFile::exists(dir.filePath("nueva/pos_firma.key")));
  EXPECT_EQ(
      ejecuta({"importa", "--db", dir.filePath("otra.db"), "--clave", dir.path(), json}).codigo, 0);
  EXPECT_TRUE(QFile::exists(dir.filePath("pos_firma.key")));
  EXPECT_TRUE(
      QRegularExpression("^Importado negocio 1 \\(\\d+ registros\\)$").match(s.salida).hasMatch())
      << s.salida.toStdString();

  s = ejecuta({"importa", "--db", base, json});
  EXPECT_EQ(s.codigo, 1);
  EXPECT_EQ(s.error, "negocio: el id 1 ya existe en la base de datos");
  EXPECT_TRUE(s.salida.isEmpty());

  // A failed import into a new file leaves nothing behind: no schema-only database, no key,
  // no folders. One into an existing database leaves it as it was.
  EXPECT_TRUE(QFile::exists(base));
  const QString malo = dir.filePath("malo.json");
  QFile m(malo);
  ASSERT_TRUE(m.open(QIODevice::WriteOnly));
  m.write(
      "{\"negocio\": {\"nombre\": \"Malo\"}, \"usuarioEnLinea\": {\"usuario\": \"u\", "
      "\"contrasena\": \"c\"}, \"productos\": [{\"clave\": \"A\"}]}");
  m.close();
  s = ejecuta({"importa", "--db", dir.filePath("vacia/sub/pos.db"), malo});
  EXPECT_EQ(s.codigo, 1);
  EXPECT_EQ(s.error, "productos[0] (clave \"A\"): falta el campo \"nombre\"");
  EXPECT_FALSE(QFile::exists(dir.filePath("vacia")));
  s = ejecuta({"importa", "--db", base, malo});
  EXPECT_EQ(s.codigo, 1);
  EXPECT_TRUE(QFile::exists(base));
  EXPECT_TRUE(QFile::exists(dir.filePath("nueva/pos_firma.key")));

  EXPECT_EQ(ejecuta({"importa", "--db", base, dir.filePath("no-existe.json")}).codigo, 1);
  EXPECT_EQ(ejecuta({"importa", json}).codigo, 1);
  EXPECT_EQ(ejecuta({"genera", "--productos", "muchos", "--salida", json}).codigo, 1);
  EXPECT_EQ(ejecuta({"exporta"}).codigo, 1);
}

}  // namespace
