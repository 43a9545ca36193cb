#include "sale/TCampoRedondeado.h"

#include "sale/marcoRedondeado.h"

#include <QPainter>
#include <QPixmapCache>
#include <QStyleOptionFrame>

namespace {

const QColor kBorde(0xC5, 0xCE, 0xD8);
const QColor kBordeEnfocado(0x1F, 0x6F, 0xB2);
constexpr int kGrueso = 2;
constexpr int kEsquina = 10;  // a corner of radius 8 and its edge fit in this square

}  // namespace

TCampoRedondeado::TCampoRedondeado(QWidget* parent) : QLineEdit(parent) {
  // The box is this class's: the style sheet keeps the font and the text's place (its padding
  // plus the border it no longer draws).
  setStyleSheet(QStringLiteral("border:none;background:transparent;padding:10px 12px;"));
}

void TCampoRedondeado::changeEvent(QEvent* e) {
  // A new font, palette or style changes how the empty field looks.
  uVacio = QPixmap();
  QLineEdit::changeEvent(e);
}

void TCampoRedondeado::paintEvent(QPaintEvent* e) {
  if (!text().isEmpty() || hasFocus()) {
    {
      QPainter p(this);
      dibujaCaja(p);
    }
    QLineEdit::paintEvent(e);
    return;
  }
  const qreal escala = devicePixelRatioF();
  if (uVacio.size() != size() * escala || uVacio.devicePixelRatio() != escala) {
    uVacio = QPixmap(size() * escala);
    uVacio.setDevicePixelRatio(escala);
    uVacio.fill(Qt::transparent);
    QPainter p(&uVacio);
    dibujaCaja(p);
    // The placeholder where the line edit puts it: in its contents, less its margins, centred
    // on the taller of the font's line and the text's own box, elided to the width.
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect r = style()
                        ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
                        .marginsRemoved(textMargins());
    const QFontMetrics fm = fontMetrics();
    const int alto = std::max(fm.boundingRect(placeholderText()).height(), fm.height());
    constexpr int kMargenH = 2;  // the line edit's own horizontal margin
    const QRect linea(r.x() + kMargenH, r.y() + (r.height() - alto + 1) / 2,
                      r.width() - 2 * kMargenH, alto);
    p.setClipRect(r);
    p.setFont(font());
    p.setPen(palette().placeholderText().color());
    p.drawText(linea, QStyle::visualAlignment(layoutDirection(), alignment()),
               fm.elidedText(placeholderText(), Qt::ElideRight, linea.width()));
  }
  QPainter(this).drawPixmap(0, 0, uVacio);
}

void TCampoRedondeado::dibujaCaja(QPainter& p) const {
  const QColor borde = hasFocus() ? kBordeEnfocado : kBorde;
  // The field lies on the panel: its corners on transparency.
  const QPixmap pm =
      u_esquinasRedondeadas(devicePixelRatioF(), kEsquina, 8 - kGrueso / 2.0, kGrueso, borde,
                            Qt::transparent);
  const int w = width(), h = height(), k = kEsquina, g = kGrueso;
  p.fillRect(QRect(k, g, w - 2 * k, h - 2 * g), Qt::white);
  p.fillRect(QRect(g, k, k - g, h - 2 * k), Qt::white);
  p.fillRect(QRect(w - k, k, k - g, h - 2 * k), Qt::white);
  u_pintaMarcoRedondeado(p, w, h, pm, k, g, borde);
}
