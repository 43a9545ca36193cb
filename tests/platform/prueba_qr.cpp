#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "lectorQR.h"
#include "qr/FastQRCode.h"
#include "textoQt.h"

namespace {

TEST(FastQRCode, ElMapaDeBitsSeLeeDeVuelta) {
  QTemporaryDir dir;
  const QByteArray archivo = QFile::encodeName(dir.filePath(QStringLiteral("1_77.bmp")));
  const QByteArray texto = "http://127.0.0.1:8790/portal?id=ABC-123_x y";
  ASSERT_TRUE(FastQRCode(texto, archivo));
  const QImage img(QFile::decodeName(archivo), "BMP");
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(leeCodigosQR(img), QStringList{QString::fromLatin1(texto)});

  // Square, whole modules, a white quiet zone of four modules and the finder pattern's dark
  // corner right after it.
  EXPECT_EQ(img.width(), img.height());
  EXPECT_EQ(img.width() % kPixelesPorModuloQR, 0);
  const int zona = kZonaSilenciosaQR * kPixelesPorModuloQR;
  for (int i = 0; i < zona; ++i) {
    EXPECT_EQ(img.pixelColor(i, i), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(img.width() - 1 - i, i), QColor(Qt::white));
  }
  EXPECT_EQ(img.pixelColor(zona, zona), QColor(Qt::black));

  // Writing again replaces the file with the new code.
  ASSERT_TRUE(FastQRCode("enlace_ticket?id=XXX", archivo));
  EXPECT_EQ(leeCodigosQR(QImage(QFile::decodeName(archivo))), QStringList{"enlace_ticket?id=XXX"});
}

TEST(FastQRCode, TextosQueNoCabenOArchivosImposibles) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath(QStringLiteral("viejo.bmp"));
  ASSERT_TRUE(FastQRCode("viejo", QFile::encodeName(ruta)));

  // Too long for any QR code at level M: false, and the stale code under that name is gone.
  EXPECT_FALSE(FastQRCode(QByteArray(3000, 'a'), QFile::encodeName(ruta)));
  EXPECT_FALSE(QFile::exists(ruta));
  EXPECT_FALSE(FastQRCode(QByteArray(), QFile::encodeName(ruta)));
  EXPECT_FALSE(QFile::exists(ruta));

  EXPECT_FALSE(
      FastQRCode("texto", QFile::encodeName(dir.filePath(QStringLiteral("no/hay/carpeta.bmp")))));
  EXPECT_FALSE(FastQRCode("texto", QByteArray()));
  EXPECT_TRUE(imagenQR(QByteArray()).isNull());
}

}  // namespace
