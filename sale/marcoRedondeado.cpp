#include "sale/marcoRedondeado.h"

#include <QPixmapCache>

QPixmap u_esquinasRedondeadas(qreal escala, int k, qreal radio, int grueso, const QColor& borde,
                              const QColor& fondo) {
  const QString clave = QStringLiteral("esquinas:%1:%2:%3:%4:%5:%6")
                            .arg(escala)
                            .arg(k)
                            .arg(radio)
                            .arg(grueso)
                            .arg(borde.rgba())
                            .arg(fondo.rgba());
  QPixmap pm;
  if (QPixmapCache::find(clave, &pm)) return pm;
  const QSize tam(2 * k, 2 * k);
  pm = QPixmap(tam * escala);
  pm.setDevicePixelRatio(escala);
  pm.fill(fondo);
  {
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(borde, grueso));
    p.setBrush(Qt::white);
    const qreal m = grueso / 2.0;
    p.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(tam)).adjusted(m, m, -m, -m), radio, radio);
  }
  QPixmapCache::insert(clave, pm);
  return pm;
}

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
