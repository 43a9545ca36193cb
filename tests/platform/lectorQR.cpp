#include "lectorQR.h"

#include <zbar.h>

#include <QByteArray>
#include <cstring>

using namespace zbar;

QStringList leeCodigosQR(const QImage& imagen) {
  QStringList out;
  if (imagen.isNull()) return out;
  const QImage gris = imagen.convertToFormat(QImage::Format_Grayscale8);
  const int w = gris.width();
  const int h = gris.height();
  QByteArray datos(static_cast<qsizetype>(w) * h, Qt::Uninitialized);
  for (int y = 0; y < h; ++y) {
    memcpy(datos.data() + static_cast<qsizetype>(y) * w, gris.constScanLine(y),
           static_cast<size_t>(w));
  }
  zbar_image_scanner_t* lector = zbar_image_scanner_create();
  zbar_image_scanner_set_config(lector, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
  zbar_image_scanner_set_config(lector, ZBAR_QRCODE, ZBAR_CFG_ENABLE, 1);
  zbar_image_t* img = zbar_image_create();
  zbar_image_set_format(img, zbar_fourcc('Y', '8', '0', '0'));
  zbar_image_set_size(img, static_cast<unsigned>(w), static_cast<unsigned>(h));
  zbar_image_set_data(img, datos.constData(), static_cast<unsigned long>(datos.size()), nullptr);
  if (zbar_scan_image(lector, img) > 0) {
    for (const zbar_symbol_t* s = zbar_image_first_symbol(img); s; s = zbar_symbol_next(s)) {
      out << QString::fromUtf8(zbar_symbol_get_data(s),
                               static_cast<qsizetype>(zbar_symbol_get_data_length(s)));
    }
  }
  zbar_image_destroy(img);
  zbar_image_scanner_destroy(lector);
  return out;
}
