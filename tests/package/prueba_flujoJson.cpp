#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QTemporaryFile>

#include "catalogo/flujoJson.h"
#include "catalogo/lectorJson.h"

namespace {

// The value read back as compact JSON, or the refusal.
QString lee(TFlujoJson& f) {
  try {
    const QJsonValue v = f.leeValor();
    f.terminaDocumento();
    return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact));
  } catch (const TErrorImportacion& e) {
    return e.mensaje;
  }
}

TEST(FlujoJson, LeeLoQueEsJsonYRechazaLoDemasConSuPosicion) {
  const struct {
    QByteArray json;
    const char* esperado;
  } casos[] = {
      {R"({"a": [1, -2.5e3, true, false, null, "x"]})", R"([{"a":[1,-2500,true,false,null,"x"]}])"},
      {R"("\u00e1\"\\\/\n\ud83d\ude00")", "[\"á\\\"\\\\/\\n😀\"]"},
      {"  \n [ ] ", "[[]]"},
      {"1e-400", "[0]"},
      {R"({"a": 1, "b": {"a": 2}})", R"([{"a":1,"b":{"a":2}}])"},
      {"{\"a\": 1,\n \"a\": 2}",
       "JSON mal formado en la posición 10 (línea 2, columna 2): la clave \"a\" se repite en el "
       "mismo objeto"},
      {R"(["a\u0000b"])",
       "JSON mal formado en la posición 3 (línea 1, columna 4): un texto contiene el carácter "
       "nulo (\\u0000)"},
      {QByteArray("[\"a") + QByteArray(1, '\0') + "b\"]",
       "JSON mal formado en la posición 3 (línea 1, columna 4): un texto contiene el carácter "
       "nulo"},
      {"[1e400]",
       "JSON mal formado en la posición 1 (línea 1, columna 2): número fuera del intervalo que "
       "se puede guardar"},
      {"\"\xc3\"", "JSON mal formado en la posición 0 (línea 1, columna 1): un texto no es UTF-8"},
      {R"("\ud83d")", "sustituto UTF-16 sin pareja"},
      {"[01]", "se esperaba \",\" o \"]\""},
      {"[1,]", "se esperaba un valor"},
      {"{\"á\": 1,}", "JSON mal formado en la posición 9 (línea 1, columna 9)"},
      {"[1] x", "sobra texto después del final del documento"},
      {"[1", "el documento termina antes de tiempo"},
      {QByteArray(100, '['), "el documento anida más de 64 niveles"},
  };
  for (const auto& c : casos) {
    TFlujoJson enMemoria(c.json);
    const QString r = lee(enMemoria);
    EXPECT_TRUE(r.startsWith(QString::fromUtf8(c.esperado)) ||
                r.contains(QString::fromUtf8(c.esperado)))
        << c.json.left(40).toStdString() << " -> " << r.toStdString();
    // Read from a file in blocks, the answer is the same.
    QTemporaryFile archivo;
    ASSERT_TRUE(archivo.open());
    archivo.write(c.json);
    archivo.seek(0);
    TFlujoJson deArchivo(&archivo);
    EXPECT_EQ(lee(deArchivo), r);
  }
}

// Members and elements one at a time, resuming at a noted offset: the way the catalog import
// walks a document it never holds whole.
TEST(FlujoJson, RecorreYVuelveAUnaPosicion) {
  QTemporaryFile archivo;
  ASSERT_TRUE(archivo.open());
  QByteArray json = "{\"lista\": [";
  for (int i = 0; i < 200000; ++i)
    json += (i ? ",{\"n\":" : "{\"n\":") + QByteArray::number(i) + "}";
  json += "], \"fin\": \"sí\"}";
  archivo.write(json);
  archivo.seek(0);
  TFlujoJson f(&archivo);
  f.abreObjeto();
  QString clave;
  ASSERT_TRUE(f.siguienteMiembro(&clave));
  EXPECT_EQ(clave, "lista");
  const qint64 inicio = f.posicion() + 1;  // past the blank
  f.abreLista();
  int n = 0;
  qint64 suma = 0;
  while (f.siguienteElemento()) suma += f.leeValor().toObject().value("n").toInteger(), ++n;
  EXPECT_EQ(n, 200000);
  EXPECT_EQ(suma, 199999LL * 200000 / 2);
  ASSERT_TRUE(f.siguienteMiembro(&clave));
  EXPECT_EQ(clave, "fin");
  EXPECT_EQ(f.leeValor().toString(), "sí");
  EXPECT_FALSE(f.siguienteMiembro(&clave));
  f.irA(inicio);
  f.abreLista();
  ASSERT_TRUE(f.siguienteElemento());
  EXPECT_EQ(f.leeValor().toObject().value("n").toInt(), 0);
}

}  // namespace
