#include "FastQRCode.h"

#include <qrencode.h>

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

QImage imagenQR(const QByteArray& texto, int pixelesPorModulo) {
  if (texto.isEmpty()) return QImage();
  pixelesPorModulo = std::clamp(pixelesPorModulo, 1, 32);
  std::unique_ptr<QRcode, decltype(&QRcode_free)> qr(
      QRcode_encodeData(static_cast<int>(texto.size()),
                        reinterpret_cast<const unsigned char*>(texto.constData()), 0, QR_ECLEVEL_M),
      &QRcode_free);
  if (!qr) return QImage();
  const int modulos = qr->width + 2 * kZonaSilenciosaQR;
  const int lado = modulos * pixelesPorModulo;
  QImage img(lado, lado, QImage::Format_Mono);
  img.setColorCount(2);
  img.setColor(0, qRgb(255, 255, 255));
  img.setColor(1, qRgb(0, 0, 0));
  img.fill(0);
  // Whole rows at a time, bit by bit into the first row of each module and copied to the
  // rest: a pixel at a time through setPixel cost as much as the rest of the receipt.
  const qsizetype bytesFila = img.bytesPerLine();
  for (int my = 0; my < qr->width; ++my) {
    const int y0 = (my + kZonaSilenciosaQR) * pixelesPorModulo;
    uchar* fila = img.scanLine(y0);
    for (int mx = 0; mx < qr->width; ++mx) {
      // Bit 0 of each libqrencode cell is the module colour (1 = dark).
      if (!(qr->data[my * qr->width + mx] & 1)) continue;
      const int x0 = (mx + kZonaSilenciosaQR) * pixelesPorModulo;
      for (int x = x0; x < x0 + pixelesPorModulo; ++x)
        fila[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));  // Format_Mono: first pixel high
    }
    for (int y = y0 + 1; y < y0 + pixelesPorModulo; ++y)
      std::memcpy(img.scanLine(y), fila, static_cast<size_t>(bytesFila));
  }
  return img;
}

bool FastQRCode(const QByteArray& texto, const QByteArray& archivo) {
  if (archivo.isEmpty()) return false;
  const QString ruta = QFile::decodeName(archivo);
  const QImage img = imagenQR(texto);
  if (img.isNull()) {
    // A stale code under this name must not be printed for the new text.
    QFile::remove(ruta);
    return false;
  }
  // Written whole or not at all (beside it, then renamed over it): the ticket code takes an
  // existing file as a finished QR. Not synced: every print writes the code again from its
  // text, so a power cut can cost a receipt its code but never show a wrong one.
  const QString temporal = ruta + QStringLiteral(".tmp");
  QFile f(temporal);
  if (!f.open(QIODevice::WriteOnly)) return false;
  const bool escrito = img.save(&f, "BMP");
  f.close();
  if (!escrito || f.error() != QFileDevice::NoError ||
      std::rename(QFile::encodeName(temporal).constData(), archivo.constData()) != 0) {
    QFile::remove(temporal);
    return false;
  }
  return true;
}
