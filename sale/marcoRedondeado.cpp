#include "sale/marcoRedondeado.h"

void u_pintaMarcoRedondeado(QPainter& p, int w, int h, const QPixmap& esquinas, int k, int grueso,
                            const QColor& borde) {
  p.fillRect(QRect(k, 0, w - 2 * k, grueso), borde);
  p.fillRect(QRect(k, h - grueso, w - 2 * k, grueso), borde);
  p.fillRect(QRect(0, k, grueso, h - 2 * k), borde);
  p.fillRect(QRect(w - grueso, k, grueso, h - 2 * k), borde);
  // (The picture's source rectangles count its device pixels.)
  const qreal d = esquinas.devicePixelRatio();
  const auto esquina = [&](int x, int y, int sx, int sy) {
    p.drawPixmap(QPointF(x, y), esquinas, QRectF(sx * d, sy * d, k * d, k * d));
  };
  esquina(0, 0, 0, 0);
  esquina(w - k, 0, k, 0);
  esquina(0, h - k, 0, k);
  esquina(w - k, h - k, k, k);
}
