#include "sale/TTileResultado.h"

#include <QCache>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QStaticText>

#include "sale/marcoRedondeado.h"

namespace {

const QFont& fuenteTile() {
  static const QFont f(QStringLiteral("Segoe UI"), 12, QFont::DemiBold);
  return f;
}

}  // namespace

TTileResultado::TTileResultado(QWidget* parent) : QFrame(parent), uClaveFuente(fuenteTile().key()) {
  setFont(fuenteTile());
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TTileResultado::muestra(const QString& nombre, const QPixmap& imagen) {
  if (nombre != uNombre) {
    uNombre = nombre;
    uTira = QPixmap();
    update(areaNombre());
  }
  if (imagen.cacheKey() != uImagen.cacheKey()) {
    uImagen = imagen;
    update(areaImagen());
  }
}

QRect TTileResultado::areaImagen() const { return QRect(10, 10, width() - 20, 150); }

QRect TTileResultado::areaNombre() const { return QRect(8, 164, width() - 16, height() - 170); }

namespace {

const QColor kBorde(0xC5, 0xCE, 0xD8);
constexpr int kEsquina = 12;  // the card's corners (radius 10 and its edge) fit in this square

struct TClaveNombre {
  QString nombre;
  int ancho;
  QString fuente;
  QRgb color;
  qreal escala;
  bool operator==(const TClaveNombre&) const = default;
};

size_t qHash(const TClaveNombre& c, size_t semilla = 0) {
  return qHashMulti(semilla, c.nombre, c.ancho, c.fuente, c.color, c.escala);
}

// A name wrapped to its box, centred, on white, drawn once and copied after: searches show the
// same products again (the cashier narrows a name or goes back to one), and shaping and
// blending a name's glyphs costs many times copying its strip. A name seen for the first time
// is drawn on its first search. The budget holds about 250 two-line names.
QPixmap tiraNombre(const QString& nombre, int ancho, const QFont& fuente,
                   const QString& claveFuente, const QColor& color, qreal escala) {
  static QCache<TClaveNombre, QPixmap> tiras(8 * 1024);
  TClaveNombre clave{nombre, ancho, claveFuente, color.rgba(), escala};
  if (const QPixmap* t = tiras.object(clave)) return *t;
  QStaticText texto(nombre);
  texto.setTextFormat(Qt::PlainText);
  texto.setTextWidth(ancho);
  QTextOption opcion(Qt::AlignHCenter);
  opcion.setWrapMode(QTextOption::WordWrap);
  texto.setTextOption(opcion);
  texto.prepare(QTransform(), fuente);
  auto* tira = new QPixmap(QSize(ancho, qCeil(texto.size().height())) * escala);
  tira->setDevicePixelRatio(escala);
  tira->fill(Qt::white);
  {
    QPainter p(tira);
    p.setPen(color);
    p.setFont(fuente);
    p.drawStaticText(QPointF(0, 0), texto);
  }
  const QPixmap hecha = *tira;
  // (A strip larger than the whole budget is not kept: the tile holds it while it shows it.)
  tiras.insert(clave, tira, qsizetype(tira->width()) * tira->height() * 4 / 1024 + 1);
  return hecha;
}

}  // namespace

void TTileResultado::paintEvent(QPaintEvent* evento) {
  // The painter is clipped to what changed: when only the picture did, the card's fill, edges
  // and corners outside its box cost nothing; when only the name did, only its box is drawn.
  QPainter p(this);
  const qreal escala = devicePixelRatioF();
  const QWidget* debajo = parentWidget();
  const QColor fondo = debajo ? debajo->palette().color(debajo->backgroundRole())
                              : palette().color(QPalette::Window);
  if (uEsquinas.isNull() || uEsquinas.devicePixelRatio() != escala || uFondo != fondo.rgba()) {
    // Stroking a rounded edge costs more than the rest of the card: its corners are copied.
    uEsquinas = u_esquinasRedondeadas(escala, kEsquina, 10, 1, kBorde, fondo);
    uFondo = fondo.rgba();
  }
  const QPixmap& e = uEsquinas;
  const QRect nombre = areaNombre();
  if (uTira.isNull() || uTira.devicePixelRatio() != escala)
    uTira = tiraNombre(uNombre, nombre.width(), font(), uClaveFuente,
                       palette().color(QPalette::WindowText), escala);
  const QPixmap& tira = uTira;
  const int w = width(), h = height(), k = kEsquina;
  const int altoTira = qRound(tira.deviceIndependentSize().height());
  // A name longer than its box shows its middle lines, as a centred label would.
  const QRect destino(nombre.x(), nombre.y() + (nombre.height() - altoTira) / 2, nombre.width(),
                      altoTira);
  QRect visible = destino & nombre;
  if (visible.isEmpty()) visible = QRect(nombre.topLeft(), QSize(nombre.width(), 0));
  const qreal dt = tira.devicePixelRatio();
  const auto pintaTira = [&] {
    p.drawPixmap(
        QRectF(visible), tira,
        QRectF(0, (visible.y() - destino.y()) * dt, visible.width() * dt, visible.height() * dt));
  };
  if (nombre.contains(evento->rect())) {
    // Only the name changed: its box, white above and below its strip.
    p.fillRect(QRect(nombre.left(), nombre.top(), nombre.width(), visible.top() - nombre.top()),
               Qt::white);
    p.fillRect(QRect(nombre.left(), visible.bottom() + 1, nombre.width(),
                     nombre.bottom() - visible.bottom()),
               Qt::white);
    pintaTira();
    return;
  }
  // White where the name's strip does not land.
  p.fillRect(QRect(1, 1, w - 2, visible.top() - 1), Qt::white);
  p.fillRect(QRect(1, visible.top(), visible.left() - 1, visible.height()), Qt::white);
  p.fillRect(QRect(visible.right() + 1, visible.top(), w - 2 - visible.right(), visible.height()),
             Qt::white);
  p.fillRect(QRect(1, visible.bottom() + 1, w - 2, h - 2 - visible.bottom()), Qt::white);
  u_pintaMarcoRedondeado(p, w, h, e, k, 1, kBorde);
  pintaTira();
  if (!uImagen.isNull()) {
    const QRect caja = areaImagen();
    const QSize tam = uImagen.deviceIndependentSize().toSize();
    p.drawPixmap(QRect(QPoint(caja.x() + (caja.width() - tam.width()) / 2,
                              caja.y() + (caja.height() - tam.height()) / 2),
                       tam),
                 uImagen);
  }
}
