#include "sale/TTileResultado.h"

#include <QCache>
#include <QPainter>
#include <QPixmapCache>
#include <QStaticText>

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

const QColor kBorde(0xC5, 0xCE, 0xD8);
constexpr int kEsquina = 12;  // the card's corners (radius 10 and its edge) fit in this square

// The card's four corners on the colour it lies on, in one picture of two corners a side:
// stroking a rounded edge costs more than the rest of the tile, so it is drawn once per scale
// and colour. Between the corners the card is a white fill and four straight lines, cheaper to
// fill than a whole card is to copy.
QPixmap esquinas(qreal escala, const QColor& fondo) {
  const QString clave = QStringLiteral("tileResultado:%1:%2").arg(escala).arg(fondo.rgba());
  QPixmap pm;
  if (QPixmapCache::find(clave, &pm)) return pm;
  const QSize tam(2 * kEsquina, 2 * kEsquina);
  pm = QPixmap(tam * escala);
  pm.setDevicePixelRatio(escala);
  pm.fill(fondo);
  {
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kBorde);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(tam)).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
  }
  QPixmapCache::insert(clave, pm);
  return pm;
}

// Names laid out once: a search shows products seen in earlier ones, and laying out and
// shaping a wrapped name costs more than drawing it.
const QStaticText& nombreDispuesto(const QString& nombre, int ancho, const QFont& fuente) {
  static QCache<QString, QStaticText> dispuestos(600);
  const QString clave =
      QString::number(ancho) + QLatin1Char('|') + fuente.key() + QLatin1Char('|') + nombre;
  if (const QStaticText* t = dispuestos.object(clave)) return *t;
  auto* t = new QStaticText(nombre);
  t->setTextFormat(Qt::PlainText);
  t->setTextWidth(ancho);
  QTextOption opcion(Qt::AlignHCenter);
  opcion.setWrapMode(QTextOption::WordWrap);
  t->setTextOption(opcion);
  t->prepare(QTransform(), fuente);
  dispuestos.insert(clave, t);
  return *dispuestos.object(clave);
}

}  // namespace

void TTileResultado::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QWidget* debajo = parentWidget();
  const QPixmap e =
      esquinas(devicePixelRatioF(), debajo ? debajo->palette().color(debajo->backgroundRole())
                                           : palette().color(QPalette::Window));
  const int w = width(), h = height(), k = kEsquina;
  p.fillRect(QRect(1, 1, w - 2, h - 2), Qt::white);
  p.fillRect(QRect(k, 0, w - 2 * k, 1), kBorde);
  p.fillRect(QRect(k, h - 1, w - 2 * k, 1), kBorde);
  p.fillRect(QRect(0, k, 1, h - 2 * k), kBorde);
  p.fillRect(QRect(w - 1, k, 1, h - 2 * k), kBorde);
  // (The picture's source rectangles count its device pixels.)
  const qreal d = e.devicePixelRatio();
  auto esquina = [&](int x, int y, int sx, int sy) {
    p.drawPixmap(QPointF(x, y), e, QRectF(sx * d, sy * d, k * d, k * d));
  };
  esquina(0, 0, 0, 0);
  esquina(w - k, 0, k, 0);
  esquina(0, h - k, 0, k);
  esquina(w - k, h - k, k, k);
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
  const QStaticText& texto = nombreDispuesto(uNombre, nombre.width(), font());
  p.setClipRect(nombre);
  p.setPen(palette().color(QPalette::WindowText));
  p.setFont(font());
  p.drawStaticText(QPointF(nombre.x(), nombre.y() + (nombre.height() - texto.size().height()) / 2),
                   texto);
}
