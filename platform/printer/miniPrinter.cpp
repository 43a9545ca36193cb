#include "miniPrinter.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTcpSocket>
#include <QThreadPool>
#include <QWaitCondition>
#include <cerrno>
#include <cstring>

#include "printer/composicionTicket.h"
#include "printer/dibujoTicket.h"
#include "printer/escPos.h"

namespace {

constexpr int kEsperaConexionMs = 2500;
constexpr int kEsperaEscrituraMs = 4000;

QMutex gMutex;
QString gDestino;
QString gCarpetaSalida;
TResultadoImpresion gUltimoTicket;
quint64 gTicketActual = 0;  // number of the ticket gUltimoTicket describes
TResultadoImpresion gUltimoCajon;
// Copies queued or being written; gListas wakes whoever waits for them.
int gCopiasPendientes = 0;
QWaitCondition gListas;

enum class TipoDestino { Carpeta, Dispositivo, Red };

struct Destino {
  TipoDestino tipo = TipoDestino::Carpeta;
  QString texto;
  QString host;
  quint16 puerto = 0;
};

QString carpetaPredeterminada() {
  return QDir::current().absoluteFilePath(QStringLiteral("Temp/tickets"));
}

Destino interpreta(const QString& texto) {
  Destino d;
  d.texto = texto.trimmed();
  if (d.texto.isEmpty()) {
    d.texto = carpetaPredeterminada();
    return d;
  }
  static const QRegularExpression red(
      QStringLiteral("^([A-Za-z0-9.\\-]+|\\[[0-9A-Fa-f:.]+\\]):(\\d{1,5})$"));
  const QRegularExpressionMatch m = red.match(d.texto);
  if (m.hasMatch()) {
    const uint puerto = m.captured(2).toUInt();
    if (puerto >= 1 && puerto <= 65535) {
      d.tipo = TipoDestino::Red;
      d.host = m.captured(1);
      if (d.host.startsWith(QLatin1Char('['))) d.host = d.host.mid(1, d.host.size() - 2);
      d.puerto = static_cast<quint16>(puerto);
      return d;
    }
  }
  const QFileInfo fi(d.texto);
  if (d.texto.startsWith(QLatin1String("/dev/")) || (fi.exists() && !fi.isDir())) {
    d.tipo = TipoDestino::Dispositivo;
  }
  return d;
}

QString carpetaCopias(const Destino& d, const QString& configurada) {
  if (!configurada.trimmed().isEmpty()) return configurada.trimmed();
  return d.tipo == TipoDestino::Carpeta ? d.texto : carpetaPredeterminada();
}

QString nombreSeguro(const QString& texto) {
  QString t = texto.trimmed();
  static const QRegularExpression ajenos(QStringLiteral("[^A-Za-z0-9_-]"));
  t.replace(ajenos, QStringLiteral("_"));
  return t.isEmpty() ? QStringLiteral("sin_numero") : t.left(40);
}

bool guardaArchivo(const QString& ruta, const QByteArray& datos, QString* error) {
  QSaveFile f(ruta);
  if (!f.open(QIODevice::WriteOnly) || f.write(datos) != datos.size() || !f.commit()) {
    *error = QStringLiteral("No se pudo escribir el archivo %1: %2").arg(ruta, f.errorString());
    return false;
  }
  return true;
}

// The 8-bit grey copy of a 32-bit picture whose every pixel is grey; null when one has colour.
// One pass both checks and copies: Qt's own check and conversion cost more than drawing the
// receipt.
QImage comoGris(const QImage& img) {
  if (img.format() != QImage::Format_RGB32)
    return img.allGray() ? img.convertToFormat(QImage::Format_Grayscale8) : QImage();
  QImage gris(img.size(), QImage::Format_Grayscale8);
  for (int y = 0; y < img.height(); ++y) {
    const auto* origen = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    uchar* destino = gris.scanLine(y);
    for (int x = 0; x < img.width(); ++x) {
      const int g = qGreen(origen[x]);
      if (qRed(origen[x]) != g || qBlue(origen[x]) != g) return QImage();
      destino[x] = static_cast<uchar>(g);
    }
  }
  return gris;
}

// A receipt is black on white with grey edges: saved as 8-bit grey it is the same picture in a
// quarter of the bytes to compress. A picture with colour (a colour logo) keeps its colours.
bool guardaImagen(const QString& ruta, const QImage& img, QString* error) {
  const QImage gris = comoGris(img);
  const QImage& guardada = gris.isNull() ? img : gris;
  QSaveFile f(ruta);
  QImageWriter escritor(&f, "PNG");
  // Quality picks zlib's effort for PNG: a fast level, the file is looked at, not archived.
  escritor.setQuality(80);
  if (!f.open(QIODevice::WriteOnly) || !escritor.write(guardada) || !f.commit()) {
    *error = QStringLiteral("No se pudo escribir la imagen %1: %2").arg(ruta, f.errorString());
    return false;
  }
  return true;
}

// One thread writes the copies, in order, so the sale waits neither for the disk nor for the
// picture's encoding.
QThreadPool& hiloCopias() {
  static QThreadPool* hilo = [] {
    auto* h = new QThreadPool();
    h->setMaxThreadCount(1);
    return h;
  }();
  return *hilo;
}

// Called with gMutex held.
void esperaCopias() {
  while (gCopiasPendientes > 0) gListas.wait(&gMutex);
}

// A program that ends right after printing still leaves its copies complete.
void terminaCopias() {
  QMutexLocker l(&gMutex);
  esperaCopias();
}

// A copy that could not be written is no longer named, and says why.
void anotaFallo(quint64 ticket, QString TResultadoImpresion::*archivo, const QString& error) {
  if (gTicketActual != ticket) return;
  (gUltimoTicket.*archivo).clear();
  gUltimoTicket.ok = false;
  gUltimoTicket.error += (gUltimoTicket.error.isEmpty() ? QString() : QStringLiteral("\n")) + error;
}

// The ESC/POS copy and the picture (drawn there too: drawing a receipt costs as much as
// storing the sale).
void encolaCopias(quint64 ticket, const QString& base, QByteArray bytes,
                  QVector<TRenglonTicket> renglones, int altoRenglon) {
  static const bool registrada = [] {
    qAddPostRoutine(terminaCopias);
    return true;
  }();
  Q_UNUSED(registrada);
  ++gCopiasPendientes;
  hiloCopias().start(
      [ticket, base, bytes = std::move(bytes), renglones = std::move(renglones), altoRenglon] {
        QString errorEscPos, errorPng;
        const bool escPos = guardaArchivo(base + QStringLiteral(".escpos"), bytes, &errorEscPos);
        const bool png = guardaImagen(base + QStringLiteral(".png"),
                                      dibujaTicket(renglones, altoRenglon), &errorPng);
        QMutexLocker l(&gMutex);
        if (!escPos) anotaFallo(ticket, &TResultadoImpresion::archivoEscPos, errorEscPos);
        if (!png) anotaFallo(ticket, &TResultadoImpresion::archivoPng, errorPng);
        --gCopiasPendientes;
        gListas.wakeAll();
      });
}

// Non-blocking with a deadline: a printer that is off must not freeze the register.
bool enviaDispositivo(const QString& ruta, const QByteArray& datos, QString* error) {
  const int fd =
      ::open(QFile::encodeName(ruta).constData(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *error = QStringLiteral("No se pudo abrir la impresora %1: %2")
                 .arg(ruta, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
  }
  qsizetype enviados = 0;
  bool ok = true;
  while (enviados < datos.size()) {
    const ssize_t n =
        ::write(fd, datos.constData() + enviados, static_cast<size_t>(datos.size() - enviados));
    if (n > 0) {
      enviados += n;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd pfd{fd, POLLOUT, 0};
      if (::poll(&pfd, 1, kEsperaEscrituraMs) > 0) continue;
      *error = QStringLiteral("La impresora %1 no responde").arg(ruta);
    } else {
      *error = QStringLiteral("Error al enviar a la impresora %1: %2")
                   .arg(ruta, QString::fromLocal8Bit(std::strerror(errno)));
    }
    ok = false;
    break;
  }
  ::close(fd);
  return ok;
}

bool enviaRed(const Destino& d, const QByteArray& datos, QString* error) {
  QTcpSocket s;
  s.connectToHost(d.host, d.puerto);
  if (!s.waitForConnected(kEsperaConexionMs)) {
    *error =
        QStringLiteral("No se pudo conectar con la impresora %1: %2").arg(d.texto, s.errorString());
    return false;
  }
  s.write(datos);
  while (s.bytesToWrite() > 0) {
    if (!s.waitForBytesWritten(kEsperaEscrituraMs)) {
      *error = QStringLiteral("No se pudo enviar el ticket a la impresora %1: %2")
                   .arg(d.texto, s.errorString());
      s.abort();
      return false;
    }
  }
  s.disconnectFromHost();
  if (s.state() != QAbstractSocket::UnconnectedState) s.waitForDisconnected(1000);
  return true;
}

bool envia(const Destino& d, const QByteArray& datos, QString* error) {
  switch (d.tipo) {
    case TipoDestino::Dispositivo:
      return enviaDispositivo(d.texto, datos, error);
    case TipoDestino::Red:
      return enviaRed(d, datos, error);
    case TipoDestino::Carpeta:
      break;
  }
  return true;
}

bool preparaCarpeta(const QString& carpeta, QString* error) {
  if (QDir().mkpath(carpeta)) return true;
  *error = QStringLiteral("No se pudo crear la carpeta %1").arg(carpeta);
  return false;
}

QString marcaTiempo() {
  return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss_zzz"));
}

}  // namespace

void miniPrinterConfigura(const QString& destino, const QString& carpetaSalida) {
  QMutexLocker l(&gMutex);
  gDestino = destino;
  gCarpetaSalida = carpetaSalida;
}

bool miniPrinterImprimeTicket3(RECticketInfo info) {
  return miniPrinterImprimeRenglones(info, componeTicket(info));
}

bool miniPrinterImprimeRenglones(const RECticketInfo& info, QVector<TRenglonTicket> renglones) {
  QMutexLocker l(&gMutex);
  TResultadoImpresion r;
  const Destino d = interpreta(info.impresora.trimmed().isEmpty() ? gDestino : info.impresora);
  r.destino = d.texto;

  const QByteArray bytes = codificaEscPos(renglones);

  QStringList errores;
  QString error;
  const QString carpeta = carpetaCopias(d, gCarpetaSalida);
  if (preparaCarpeta(carpeta, &error)) {
    const QString base = QDir(carpeta).absoluteFilePath(
        QStringLiteral("ticket_%1_%2")
            .arg(nombreSeguro(info.ticket.getNumeroTicket()), marcaTiempo()));
    // Written by the copies' thread; readers of the last ticket wait for them.
    r.archivoEscPos = base + QStringLiteral(".escpos");
    r.archivoPng = base + QStringLiteral(".png");
    encolaCopias(gTicketActual + 1, base, bytes, std::move(renglones), info.altoRenglon);
  } else {
    errores << error;
  }
  if (!envia(d, bytes, &error)) errores << error;

  r.ok = errores.isEmpty();
  r.error = errores.join(QLatin1Char('\n'));
  gUltimoTicket = r;
  ++gTicketActual;
  return r.ok;
}

bool miniPrinterAbreCajon() {
  QMutexLocker l(&gMutex);
  TResultadoImpresion r;
  const Destino d = interpreta(gDestino);
  r.destino = d.texto;
  const QByteArray bytes = pulsoCajonEscPos();
  QString error;
  if (d.tipo == TipoDestino::Carpeta) {
    const QString ruta =
        QDir(d.texto).absoluteFilePath(QStringLiteral("cajon_%1.escpos").arg(marcaTiempo()));
    r.ok = preparaCarpeta(d.texto, &error) && guardaArchivo(ruta, bytes, &error);
    if (r.ok) r.archivoEscPos = ruta;
  } else {
    r.ok = envia(d, bytes, &error);
  }
  r.error = r.ok ? QString() : error;
  gUltimoCajon = r;
  return r.ok;
}

TResultadoImpresion miniPrinterUltimoTicket() {
  QMutexLocker l(&gMutex);
  esperaCopias();
  return gUltimoTicket;
}

TResultadoImpresion miniPrinterUltimoCajon() {
  QMutexLocker l(&gMutex);
  return gUltimoCajon;
}
