#include "sale/TTileResultado.h"

#include <QPainter>
#include <QPixmapCache>

TTileResultado::TTileResultado(QWidget* parent) : QFrame(parent) {
  setFont(QFont(QStringLiteral("Segoe UI"), 12, QFont::DemiBold));
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TTileResultado::muestra(const QString& nombre, const QPixmap& imagen) {
  if (nombre == uNombre && imagen.cacheKey() == uImagen.cacheKey()) return;
  uNombre = nombre;
  uImagen = imagen;
  update();
}

QRect TTileResultado::areaImagen() const { return QRect(10, 10, width() - 20, 150); }

QRect TTileResultado::areaNombre() const { return QRect(8, 164, width() - 16, height() - 170); }

namespace {

// The card on the colour it lies on: stroking its rounded edge costs more than the rest of the
// tile, so it is drawn once per size and copied; being opaque, neither the copy blends nor is
// the area under the tile painted first.
QPixmap tarjeta(const QSize& tam, qreal escala, const QColor& fondo) {
  const QString clave = QStringLiteral("tileResultado:%1x%2@%3:%4")
                            .arg(tam.width())
                            .arg(tam.height())
                            .arg(escala)
                            .arg(fondo.rgba());
  QPixmap pm;
  if (QPixmapCache::find(clave, &pm)) return pm;
  pm = QPixmap(tam * escala);
  pm.setDevicePixelRatio(escala);
  pm.fill(fondo);
  {
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0xC5, 0xCE, 0xD8));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(tam)).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
  }
  QPixmapCache::insert(clave, pm);
  return pm;
}

}  // namespace

void TTileResultado::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QWidget* debajo = parentWidget();
  p.drawPixmap(0, 0,
               tarjeta(size(), devicePixelRatioF(),
                       debajo ? debajo->palette().color(debajo->backgroundRole())
                              : palette().color(QPalette::Window)));
  if (!uImagen.isNull()) {
    const QRect caja = areaImagen();
    const QSize tam = uImagen.deviceIndependentSize().toSize();
    p.drawPixmap(QRect(QPoint(caja.x() + (caja.width() - tam.width()) / 2,
                              caja.y() + (caja.height() - tam.height()) / 2),
                       tam),
                 uImagen);
  }
  // A name longer than its box shows its middle lines, as a centred label would.
  const QRect nombre = areaNombre();
  p.setClipRect(nombre);
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(nombre, Qt::AlignCenter | Qt::TextWordWrap, uNombre);
}
