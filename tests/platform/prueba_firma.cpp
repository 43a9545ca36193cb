#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "signing/firma.h"
#include "textoQt.h"

namespace {

class Firma : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  void SetUp() override { signingConfigura(dir.path()); }
  void TearDown() override { signingConfigura(QString()); }
};

QByteArray leeArchivo(const QString& ruta) {
  QFile f(ruta);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(Firma, CifraYDescifraConNonceNuevoCadaVez) {
  for (const QString& claro :
       {QString(), QStringLiteral("APP_USR-1234"),
        QStringLiteral("contraseña con acentos: áéíóú ¿¡ €"), QString(5000, QLatin1Char('x'))}) {
    const QString cifrado = crypt(claro);
    ASSERT_FALSE(cifrado.isEmpty());
    EXPECT_FALSE(cifrado.contains(claro.isEmpty() ? QStringLiteral("\x01") : claro));
    EXPECT_EQ(deCrypt(cifrado), claro);
    EXPECT_TRUE(signingUltimoError().isEmpty());
  }
  const QString a = crypt(QStringLiteral("mismo"));
  const QString b = crypt(QStringLiteral("mismo"));
  EXPECT_NE(a, b);
  EXPECT_EQ(deCrypt(a), deCrypt(b));
}

TEST_F(Firma, LoQueNoSeAutenticaDaVacio) {
  const QString cifrado = crypt(QStringLiteral("secreto"));
  QByteArray bytes = QByteArray::fromBase64(cifrado.toLatin1());
  for (const qsizetype pos : {qsizetype(0), qsizetype(30), bytes.size() - 1}) {
    QByteArray alterado = bytes;
    alterado[pos] = static_cast<char>(alterado[pos] ^ 0x01);
    EXPECT_EQ(deCrypt(QString::fromLatin1(alterado.toBase64())), QString()) << pos;
  }
  EXPECT_EQ(deCrypt(QString::fromLatin1(bytes.left(bytes.size() - 1).toBase64())), QString());
  EXPECT_EQ(deCrypt(QString::fromLatin1(bytes.left(20).toBase64())), QString());
  EXPECT_EQ(deCrypt(QStringLiteral("secreto")), QString());
  EXPECT_EQ(deCrypt(QStringLiteral("no es base64 !!")), QString());
  EXPECT_EQ(deCrypt(QString()), QString());
  EXPECT_EQ(deCrypt(QString(cifrado).replace(0, 4, QStringLiteral("ñññ"))), QString());
  EXPECT_FALSE(signingUltimoError().isEmpty());
  // Still good after all that.
  EXPECT_EQ(deCrypt(cifrado), QStringLiteral("secreto"));
}

TEST_F(Firma, LaClaveSeCreaUnaVezYSeReusa) {
  const QString archivo = signingArchivoClave();
  EXPECT_EQ(QFileInfo(archivo).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
  EXPECT_FALSE(QFile::exists(archivo));
  const QString cifrado = crypt(QStringLiteral("token"));
  ASSERT_TRUE(QFile::exists(archivo));
  const QByteArray clave = leeArchivo(archivo);
  EXPECT_EQ(clave.size(), 32);
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(archivo).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QFileInfo(archivo).fileName()});

  // Where the key file is missing, decrypting says so and makes no key: a new one would leave
  // every stored secret unreadable for good.
  QTemporaryDir otra;
  signingConfigura(otra.path());
  EXPECT_EQ(deCrypt(cifrado), QString());
  EXPECT_FALSE(QFile::exists(signingArchivoClave()));
  EXPECT_TRUE(signingUltimoError().contains(QStringLiteral("No se encontró el archivo de clave")))
      << signingUltimoError().toStdString();
  // Another installation has another key and cannot read it either, and says which file.
  crypt(QStringLiteral("propio"));
  EXPECT_NE(leeArchivo(signingArchivoClave()), clave);
  EXPECT_EQ(deCrypt(cifrado), QString());
  EXPECT_TRUE(signingUltimoError().contains(signingArchivoClave()))
      << signingUltimoError().toStdString();

  // Back home (as after a restart) the same key file is read again.
  signingConfigura(dir.path());
  EXPECT_EQ(deCrypt(cifrado), QStringLiteral("token"));
  crypt(QStringLiteral("otro"));
  EXPECT_EQ(leeArchivo(archivo), clave);
}

TEST_F(Firma, UnaClaveDanadaNoSeReemplaza) {
  const QString archivo = signingArchivoClave();
  {
    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("corta");
  }
  EXPECT_EQ(crypt(QStringLiteral("x")), QString());
  EXPECT_TRUE(signingUltimoError().contains(QStringLiteral("dañado")))
      << signingUltimoError().toStdString();
  EXPECT_EQ(leeArchivo(archivo), QByteArray("corta"));

  signingConfigura(dir.filePath(QStringLiteral("archivo/como/carpeta")));
  QFile(dir.filePath(QStringLiteral("archivo"))).open(QIODevice::WriteOnly);
  EXPECT_EQ(crypt(QStringLiteral("x")), QString());
  EXPECT_FALSE(signingUltimoError().isEmpty());
}

}  // namespace
