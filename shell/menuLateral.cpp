#include "menuLateral.h"

#include <QLabel>
#include <QPainter>
#include <QResizeEvent>
#include <QStyleOption>
#include <QVBoxLayout>

#include "resources/recursos.h"
#include "ui/TEstiloComponentesBPLFrm.h"

TElementoMenu::TElementoMenu(const QString& titulo, const QString& icono, int alto, QWidget* parent)
    : QToolButton(parent), uIcono(icono) {
  setText(titulo);
  setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  setIconSize(QSize(24, 24));
  setFixedHeight(alto);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::PointingHandCursor);
  setAccessibleName(titulo);
}

void TElementoMenu::pinta(quint32 fondo, quint32 texto, bool elegido, int sangria, bool negrita,
                          int margenDerecho) {
  uElegido = elegido;
  uFondo = fondo;
  uTexto = texto;
  uSangria = sangria;
  uNegrita = negrita;
  uMargenDerecho = margenDerecho;
  setIcon(mini_icono(elegido ? uIcono + QStringLiteral("Sel") : uIcono));
  update();
}

void TElementoMenu::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QColor fondo = QColor::fromRgba(uFondo);
  if (isDown()) fondo = fondo.darker(108);
  p.fillRect(rect(), fondo);
  if (!uElegido) {
    p.setPen(QColor::fromRgba(colorDe(u_estiloComponentes().colores(), "menuSeparador")));
    p.drawLine(0, height() - 1, width(), height() - 1);
  }

  const QSize tam = iconSize();
  const QPixmap pm = icon().pixmap(tam);
  const int y = (height() - tam.height()) / 2;
  p.drawPixmap(uSangria, y, pm);

  QFont f = font();
  f.setPixelSize(uTamLetra);
  f.setWeight(uNegrita ? QFont::Bold : QFont::Medium);
  p.setFont(f);
  p.setPen(QColor::fromRgba(uTexto));
  const int x = uSangria + tam.width() + 10;
  const QRect area(x, 0, width() - x - uMargenDerecho, height());
  p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
             QFontMetrics(f).elidedText(text(), Qt::ElideRight, area.width()));
}

TGrupoMenu::TGrupoMenu(const QString& titulo, const QString& icono, QWidget* parent)
    : QWidget(parent) {
  uEncabezado = new TElementoMenu(titulo, icono, ALTO_CERRADO, this);
  uFlecha = new QLabel(uEncabezado);
  uFlecha->setFixedSize(18, 18);
  uFlecha->setAttribute(Qt::WA_TransparentForMouseEvents);
  uFlecha->setStyleSheet(QStringLiteral("background:transparent;"));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  fijaAlto(ALTO_CERRADO);
}

TElementoMenu* TGrupoMenu::agregaEntrada(const QString& titulo, const QString& icono,
                                         bool visible) {
  auto* e = new TElementoMenu(titulo, icono, ALTO_FILA, this);
  e->setIconSize(QSize(22, 22));
  e->setVisible(visible);
  uEntradas << e;
  colocaFilas();
  return e;
}

int TGrupoMenu::entradasVisibles() const {
  int n = 0;
  for (const TElementoMenu* e : uEntradas)
    if (!e->isHidden()) ++n;
  return n;
}

void TGrupoMenu::fijaAlto(int alto) {
  setMinimumHeight(alto);
  setMaximumHeight(alto);
  actualizaFlecha();
}

void TGrupoMenu::actualizaFlecha() {
  const bool abierta = maximumHeight() > ALTO_CERRADO;
  if (uFlechaLista && abierta == uFlechaAbierta) return;
  uFlechaLista = true;
  uFlechaAbierta = abierta;
  uFlecha->setPixmap(
      mini_imagen(abierta ? QStringLiteral("flechaAbierta") : QStringLiteral("flechaCerrada"),
                  uFlecha->size()));
}

void TGrupoMenu::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  colocaFilas();
}

void TGrupoMenu::colocaFilas() {
  const int ancho = width();
  uEncabezado->setGeometry(0, 0, ancho, ALTO_CERRADO);
  uFlecha->move(ancho - uFlecha->width() - 12, (ALTO_CERRADO - uFlecha->height()) / 2);
  int y = ALTO_FILA;
  for (TElementoMenu* e : uEntradas) {
    if (e->isHidden()) continue;
    e->setGeometry(0, y, ancho, ALTO_FILA);
    y += ALTO_FILA;
  }
}

TCuerpoModulo::TCuerpoModulo(QWidget* parent) : QWidget(parent) {
  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->setSpacing(0);
  setAttribute(Qt::WA_StyledBackground);
}

int TCuerpoModulo::pantallas() const { return layout()->count(); }

void TCuerpoModulo::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QStyleOption op;
  op.initFrom(this);
  style()->drawPrimitive(QStyle::PE_Widget, &op, &p, this);
  if (pantallas() > 0) return;
  p.setRenderHint(QPainter::Antialiasing);
  const QRect r = rect();
  const QPixmap marca = mini_imagen(QStringLiteral("menuCaja"), QSize(96, 96));
  p.setOpacity(0.25);
  p.drawPixmap(r.center().x() - 48, r.center().y() - 110, marca);
  p.setOpacity(1.0);
  QFont f = font();
  f.setPixelSize(26);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(0x8A, 0x96, 0xA3));
  p.drawText(QRect(r.left(), r.center().y() - 4, r.width(), 40), Qt::AlignCenter,
             QStringLiteral("Punto de Venta"));
  f.setPixelSize(16);
  f.setBold(false);
  p.setFont(f);
  p.drawText(QRect(r.left(), r.center().y() + 38, r.width(), 30), Qt::AlignCenter,
             QStringLiteral("Elija una opción del menú para comenzar"));
}
