#include <gtest/gtest.h>

#include <QLineEdit>

#include "ui/camposTexto.h"
#include "util/imagenes.h"
#include "util/validaciones.h"

namespace {

TEST(Validaciones, CorreoTelefonoYCodigoPostal) {
  for (const char* bueno : {"", "  ", "ana@tienda.mx", "a.b+c@sub.dominio.com.mx", "x_y@d-1.io"})
    EXPECT_TRUE(esCorreoValido(bueno)) << bueno;
  for (const char* malo :
       {"ana", "ana@", "@tienda.mx", "ana@tienda", "ana@@tienda.mx", "ana tienda@x.mx", ".ana@x.mx",
        "ana.@x.mx", "a..b@x.mx", "ana@-x.mx", "ana@x.m", "ana@x..mx"})
    EXPECT_FALSE(esCorreoValido(malo)) << malo;

  EXPECT_TRUE(esTelefonoValido("", 10));
  EXPECT_TRUE(esTelefonoValido("5512345678", 10));
  EXPECT_FALSE(esTelefonoValido("551234567", 10));
  EXPECT_FALSE(esTelefonoValido("55123456789", 10));
  EXPECT_FALSE(esTelefonoValido("55-1234567", 10));

  EXPECT_TRUE(esCodigoPostalValido(""));
  EXPECT_TRUE(esCodigoPostalValido("06600"));
  EXPECT_FALSE(esCodigoPostalValido("6600"));
  EXPECT_FALSE(esCodigoPostalValido("066000"));
  EXPECT_FALSE(esCodigoPostalValido("0660A"));
}

TEST(Validaciones, ElCampoMuestraSiEstaMalYDejaDeMostrarloAlCorregirse) {
  QLineEdit campo;
  campo.setText("ana@");
  EXPECT_FALSE(valida_correo(&campo));
  EXPECT_TRUE(campo.property("invalido").toBool());
  EXPECT_FALSE(campo.toolTip().isEmpty());
  campo.setText("ana@tienda.mx");
  EXPECT_TRUE(valida_correo(&campo));
  EXPECT_FALSE(campo.property("invalido").toBool());
  EXPECT_TRUE(campo.toolTip().isEmpty());
  campo.setText("123");
  EXPECT_FALSE(valida_numeroTelefono(&campo, 10));
  EXPECT_TRUE(campo.toolTip().contains("10"));
  EXPECT_FALSE(valida_codigoPostal(&campo));
}

TEST(Imagenes, LosBytesGuardanLaImagenSinPerdidaYLasListasSeUbican) {
  QImage imagen(7, 5, QImage::Format_RGB32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) imagen.setPixel(x, y, qRgb(x * 30, y * 50, 200));
  const QByteArray bytes = u_bitmap_TO_bytes(imagen);
  ASSERT_TRUE(bytes.startsWith("\x89PNG"));
  const QImage leida = u_bytes_TO_bitmap(bytes);
  EXPECT_EQ(leida.convertToFormat(QImage::Format_RGB32), imagen);
  EXPECT_TRUE(u_bitmap_TO_bytes(QImage()).isEmpty());
  EXPECT_TRUE(u_bytes_TO_bitmap("no es imagen").isNull());

  const QVector<int> valores = {4, 9, 2, 9};
  EXPECT_EQ(FROM_arrayValue_TO_cboxIndex(valores, 3, 9), 1);
  EXPECT_EQ(FROM_arrayValue_TO_cboxIndex(valores, 3, 2), 2);
  EXPECT_EQ(FROM_arrayValue_TO_cboxIndex(valores, 1, 2), -1);  // past the last index
  EXPECT_EQ(FROM_arrayValue_TO_cboxIndex(valores, 10, 5), -1);
  EXPECT_EQ(FROM_arrayValue_TO_cboxIndex({}, -1, 5), -1);
}

}  // namespace
