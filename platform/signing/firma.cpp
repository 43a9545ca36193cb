#include "firma.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <cerrno>
#include <cstring>

namespace {

constexpr auto kNombreArchivo = "pos_firma.key";
constexpr size_t kLargoClave = crypto_secretbox_KEYBYTES;

QMutex gMutex;
QString gCarpeta;
QString gArchivoCargado;
QByteArray gClave;
QString gError;

QString carpetaActual() {
  if (!gCarpeta.trimmed().isEmpty()) return gCarpeta.trimmed();
  return QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                      : QDir::currentPath();
}

QString archivoClave() {
  return QDir(carpetaActual()).absoluteFilePath(QLatin1String(kNombreArchivo));
}

void olvidaClave() {
  if (!gClave.isEmpty()) sodium_memzero(gClave.data(), static_cast<size_t>(gClave.size()));
  gClave.clear();
  gArchivoCargado.clear();
}

QString textoErrno() { return QString::fromLocal8Bit(std::strerror(errno)); }

bool escribeTodo(int fd, const unsigned char* datos, size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, datos, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    datos += w;
    n -= static_cast<size_t>(w);
  }
  return ::fsync(fd) == 0;
}

// Written beside the final name and hard-linked into place, so two processes starting at
// once agree on a single key and nobody ever reads a half-written one.
bool creaClave(const QString& ruta, QString* error) {
  const QByteArray final = QFile::encodeName(ruta);
  const QByteArray temporal = final + ".tmp." + QByteArray::number(::getpid());
  unsigned char clave[kLargoClave];
  randombytes_buf(clave, sizeof clave);
  const int fd = ::open(temporal.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    *error = QStringLiteral("No se pudo crear el archivo de clave %1: %2").arg(ruta, textoErrno());
    sodium_memzero(clave, sizeof clave);
    return false;
  }
  const bool escrito = escribeTodo(fd, clave, sizeof clave);
  sodium_memzero(clave, sizeof clave);
  ::close(fd);
  if (!escrito) {
    *error =
        QStringLiteral("No se pudo escribir el archivo de clave %1: %2").arg(ruta, textoErrno());
    ::unlink(temporal.constData());
    return false;
  }
  const bool enlazado = ::link(temporal.constData(), final.constData()) == 0;
  const int errorEnlace = errno;
  ::unlink(temporal.constData());
  if (!enlazado && errorEnlace != EEXIST) {
    errno = errorEnlace;
    *error = QStringLiteral("No se pudo crear el archivo de clave %1: %2").arg(ruta, textoErrno());
    return false;
  }
  return true;
}

bool leeClave(const QString& ruta, QByteArray* clave, QString* error) {
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) {
    *error =
        QStringLiteral("No se pudo leer el archivo de clave %1: %2").arg(ruta, f.errorString());
    return false;
  }
  *clave = f.read(kLargoClave + 1);
  if (static_cast<size_t>(clave->size()) != kLargoClave) {
    // Never replaced: a new key would make every stored secret unreadable.
    *error = QStringLiteral("El archivo de clave %1 está dañado").arg(ruta);
    sodium_memzero(clave->data(), static_cast<size_t>(clave->size()));
    clave->clear();
    return false;
  }
  return true;
}

// Under gMutex. Only encrypting may make the key: decrypting with a new one could never
// succeed, and the new file would hide that the original one is missing.
bool clave(QString* error, bool crear) {
  if (sodium_init() < 0) {
    *error = QStringLiteral("No se pudo iniciar la biblioteca de cifrado");
    return false;
  }
  const QString ruta = archivoClave();
  if (!gClave.isEmpty() && gArchivoCargado == ruta) return true;
  olvidaClave();
  if (!QDir().mkpath(carpetaActual())) {
    *error = QStringLiteral("No se pudo crear la carpeta %1").arg(carpetaActual());
    return false;
  }
  if (!QFile::exists(ruta)) {
    if (!crear) {
      *error = QStringLiteral(
                   "No se encontró el archivo de clave de esta instalación (%1). Las contraseñas "
                   "guardadas se cifraron con él y no se pueden leer sin él: copie ese archivo de "
                   "la instalación original a esa carpeta, o vuelva a capturar las contraseñas.")
                   .arg(ruta);
      return false;
    }
    if (!creaClave(ruta, error)) return false;
  }
  QByteArray leida;
  if (!leeClave(ruta, &leida, error)) return false;
  gClave = leida;
  gArchivoCargado = ruta;
  return true;
}

}  // namespace

void signingConfigura(const QString& carpeta) {
  QMutexLocker l(&gMutex);
  gCarpeta = carpeta;
  olvidaClave();
}

QString signingArchivoClave() {
  QMutexLocker l(&gMutex);
  return archivoClave();
}

QString signingUltimoError() {
  QMutexLocker l(&gMutex);
  return gError;
}

QString crypt(const QString& texto) {
  QMutexLocker l(&gMutex);
  gError.clear();
  if (!clave(&gError, true)) return QString();
  const QByteArray claro = texto.toUtf8();
  QByteArray caja(static_cast<qsizetype>(crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES) +
                      claro.size(),
                  Qt::Uninitialized);
  auto* nonce = reinterpret_cast<unsigned char*>(caja.data());
  randombytes_buf(nonce, crypto_secretbox_NONCEBYTES);
  crypto_secretbox_easy(nonce + crypto_secretbox_NONCEBYTES,
                        reinterpret_cast<const unsigned char*>(claro.constData()),
                        static_cast<unsigned long long>(claro.size()), nonce,
                        reinterpret_cast<const unsigned char*>(gClave.constData()));
  return QString::fromLatin1(caja.toBase64());
}

QString deCrypt(const QString& texto) {
  QMutexLocker l(&gMutex);
  gError.clear();
  const auto decodificado = QByteArray::fromBase64Encoding(texto.trimmed().toLatin1(),
                                                           QByteArray::AbortOnBase64DecodingErrors);
  const QByteArray& caja = *decodificado;
  constexpr qsizetype kMinimo = crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES;
  if (!decodificado || caja.size() < kMinimo) {
    gError = QStringLiteral("El texto cifrado no es válido");
    return QString();
  }
  if (!clave(&gError, false)) return QString();
  const auto* nonce = reinterpret_cast<const unsigned char*>(caja.constData());
  QByteArray claro(caja.size() - kMinimo, Qt::Uninitialized);
  if (crypto_secretbox_open_easy(
          reinterpret_cast<unsigned char*>(claro.data()), nonce + crypto_secretbox_NONCEBYTES,
          static_cast<unsigned long long>(caja.size()) - crypto_secretbox_NONCEBYTES, nonce,
          reinterpret_cast<const unsigned char*>(gClave.constData())) != 0) {
    gError = QStringLiteral(
                 "La contraseña guardada no se puede leer con el archivo de clave %1: el archivo "
                 "fue reemplazado o los datos vienen de otra instalación. Copie el archivo de "
                 "clave original a esa carpeta, o vuelva a capturar las contraseñas.")
                 .arg(gArchivoCargado);
    return QString();
  }
  return QString::fromUtf8(claro);
}
