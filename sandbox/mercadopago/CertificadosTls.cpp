#include "CertificadosTls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

bool openssl(const QString& programa, const QStringList& argumentos, const QString& carpeta,
             QString* error) {
  QProcess p;
  p.setWorkingDirectory(carpeta);
  p.start(programa, argumentos);
  if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    *error = QStringLiteral("openssl %1 falló: %2")
                 .arg(argumentos.value(0),
                      QString::fromLocal8Bit(p.readAllStandardError()).trimmed() + p.errorString());
    return false;
  }
  return true;
}

QByteArray lee(const QString& archivo) {
  QFile f(archivo);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

bool preparaTls(const QString& salidaCa, QSslConfiguration* configuracion, QString* error) {
  const QString programa = QStandardPaths::findExecutable(QStringLiteral("openssl"));
  if (programa.isEmpty()) {
    *error = QStringLiteral("no se encontró el programa openssl (./pos setup lo instala)");
    return false;
  }
  QTemporaryDir carpeta;
  if (!carpeta.isValid()) {
    *error = QStringLiteral("no se pudo crear una carpeta temporal");
    return false;
  }
  const QString dir = carpeta.path();
  QFile extensiones(carpeta.filePath(QStringLiteral("servidor.ext")));
  if (!extensiones.open(QIODevice::WriteOnly) ||
      extensiones.write("basicConstraints=critical,CA:FALSE\n"
                        "keyUsage=critical,digitalSignature,keyEncipherment\n"
                        "extendedKeyUsage=serverAuth\n"
                        "subjectAltName=IP:127.0.0.1,DNS:localhost\n") < 0) {
    *error = extensiones.errorString();
    return false;
  }
  extensiones.close();
  const QStringList curva = {QStringLiteral("-algorithm"), QStringLiteral("EC"),
                             QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:P-256")};
  const QString serie = QStringLiteral("0x%1").arg(QRandomGenerator::global()->generate64() >> 1,
                                                   16, 16, QLatin1Char('0'));
  if (!openssl(programa, QStringList{"genpkey"} + curva + QStringList{"-out", "ca.key"}, dir,
               error) ||
      !openssl(programa,
               {"req", "-x509", "-new", "-key", "ca.key", "-sha256", "-days", "30", "-subj",
                "/O=Punto de Venta/CN=Sandbox MercadoPago CA", "-addext",
                "basicConstraints=critical,CA:TRUE", "-addext",
                "keyUsage=critical,keyCertSign,cRLSign", "-out", "ca.pem"},
               dir, error) ||
      !openssl(programa, QStringList{"genpkey"} + curva + QStringList{"-out", "servidor.key"}, dir,
               error) ||
      !openssl(
          programa,
          {"req", "-new", "-key", "servidor.key", "-subj", "/CN=127.0.0.1", "-out", "servidor.csr"},
          dir, error) ||
      !openssl(programa,
               {"x509", "-req", "-in", "servidor.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                "-set_serial", serie, "-days", "30", "-sha256", "-extfile", "servidor.ext", "-out",
                "servidor.pem"},
               dir, error))
    return false;

  const QByteArray ca = lee(carpeta.filePath(QStringLiteral("ca.pem")));
  const QSslCertificate certificado(lee(carpeta.filePath(QStringLiteral("servidor.pem"))),
                                    QSsl::Pem);
  const QSslKey llave(lee(carpeta.filePath(QStringLiteral("servidor.key"))), QSsl::Ec, QSsl::Pem);
  if (ca.isEmpty() || certificado.isNull() || llave.isNull()) {
    *error = QStringLiteral("no se pudieron leer los certificados que generó openssl");
    return false;
  }
  QDir().mkpath(QFileInfo(salidaCa).absolutePath());
  QSaveFile salida(salidaCa);
  if (!salida.open(QIODevice::WriteOnly) || salida.write(ca) != ca.size() || !salida.commit()) {
    *error = QStringLiteral("no se pudo escribir %1: %2").arg(salidaCa, salida.errorString());
    return false;
  }
  *configuracion = QSslConfiguration::defaultConfiguration();
  configuracion->setLocalCertificateChain({certificado, QSslCertificate(ca, QSsl::Pem)});
  configuracion->setPrivateKey(llave);
  configuracion->setPeerVerifyMode(QSslSocket::VerifyNone);  // clients bring no certificate
  return true;
}
