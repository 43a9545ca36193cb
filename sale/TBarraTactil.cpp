#include "sale/TBarraTactil.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionSlider>

namespace {

const QColor kSurco(0xE3, 0xE8, 0xEE);
const QColor kManija(0x8A, 0x99, 0xA8);
const QColor kManijaArrastrada(0x5F, 0x70, 0x80);
constexpr int kMargenManija = 4;
constexpr int kManijaMinima = 48;

// The bar's geometry and drawing; everything else stays the application's style. No arrows: the
// groove pages and the handle drags.
class TEstiloBarra : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric m, const QStyleOption* o, const QWidget* w) const override {
    if (m == PM_ScrollBarExtent) return TBarraTactil::kAncho;
    if (m == PM_ScrollBarSliderMin) return kManijaMinima;
    return QProxyStyle::pixelMetric(m, o, w);
  }

  QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* o, SubControl sc,
                       const QWidget* w) const override {
    const auto* s = qstyleoption_cast<const QStyleOptionSlider*>(o);
    if (cc != CC_ScrollBar || !s) return QProxyStyle::subControlRect(cc, o, sc, w);
    const bool vertical = s->orientation == Qt::Vertical;
    const QRect r = s->rect;
    const int largo = vertical ? r.height() : r.width();
    const qint64 rango = qint64(s->maximum) - s->minimum;
    const int manija = rango <= 0
                           ? largo
                           : std::clamp(int(qint64(largo) * s->pageStep / (rango + s->pageStep)),
                                        std::min(kManijaMinima, largo), largo);
    const int inicio = sliderPositionFromValue(s->minimum, s->maximum, s->sliderPosition,
                                               largo - manija, s->upsideDown);
    // Along the bar: [a, b) of its length.
    const auto tramo = [&](int a, int b) {
      return vertical ? QRect(r.x(), r.y() + a, r.width(), b - a)
                      : QRect(r.x() + a, r.y(), b - a, r.height());
    };
    switch (sc) {
      case SC_ScrollBarGroove:
        return r;
      case SC_ScrollBarSlider:
        return tramo(inicio, inicio + manija);
      case SC_ScrollBarSubPage:
        return tramo(0, inicio);
      case SC_ScrollBarAddPage:
        return tramo(inicio + manija, largo);
      default:
        return QRect();
    }
  }

  SubControl hitTestComplexControl(ComplexControl cc, const QStyleOptionComplex* o,
                                   const QPoint& punto, const QWidget* w) const override {
    if (cc != CC_ScrollBar) return QProxyStyle::hitTestComplexControl(cc, o, punto, w);
    for (const SubControl sc : {SC_ScrollBarSlider, SC_ScrollBarSubPage, SC_ScrollBarAddPage})
      if (subControlRect(cc, o, sc, w).contains(punto)) return sc;
    return SC_None;
  }

  void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* o, QPainter* p,
                          const QWidget* w) const override {
    if (cc != CC_ScrollBar) return QProxyStyle::drawComplexControl(cc, o, p, w);
    // Opaque rectangles only: the painter fills them directly, with no blending.
    p->fillRect(o->rect, kSurco);
    if (!(o->state & State_Enabled)) return;
    const bool arrastrada =
        (o->state & State_Sunken) && (o->activeSubControls & SC_ScrollBarSlider);
    p->fillRect(subControlRect(cc, o, SC_ScrollBarSlider, w)
                    .adjusted(kMargenManija, kMargenManija, -kMargenManija, -kMargenManija),
                arrastrada ? kManijaArrastrada : kManija);
  }
};

}  // namespace

TBarraTactil::TBarraTactil(Qt::Orientation orientacion, QWidget* parent)
    : QScrollBar(orientacion, parent) {
  auto* estilo = new TEstiloBarra();
  estilo->setParent(this);
  setStyle(estilo);
  setAttribute(Qt::WA_OpaquePaintEvent);
}
