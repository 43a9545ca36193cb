#include "shell/listas/TFilaFlujo.h"

#include <algorithm>

TFilaFlujo::TFilaFlujo(int espacioH, int espacioV) : uEspacioH(espacioH), uEspacioV(espacioV) {
  setContentsMargins(0, 0, 0, 0);
}

TFilaFlujo::~TFilaFlujo() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void TFilaFlujo::addItem(QLayoutItem* item) { uItems.append(item); }

QLayoutItem* TFilaFlujo::takeAt(int indice) {
  if (indice < 0 || indice >= uItems.size()) return nullptr;
  return uItems.takeAt(indice);
}

QSize TFilaFlujo::minimumSize() const {
  // As narrow as its widest item: everything else can go to another line.
  QSize s;
  for (const QLayoutItem* item : uItems) s = s.expandedTo(item->minimumSize());
  return s;
}

QSize TFilaFlujo::sizeHint() const {
  int ancho = 0, alto = 0;
  for (const QLayoutItem* item : uItems) {
    if (item->isEmpty()) continue;
    ancho += item->sizeHint().width() + (ancho > 0 ? uEspacioH : 0);
    alto = std::max(alto, item->sizeHint().height());
  }
  return {ancho, alto};
}

void TFilaFlujo::setGeometry(const QRect& r) {
  QLayout::setGeometry(r);
  acomoda(r, true);
}

int TFilaFlujo::acomoda(const QRect& r, bool aplica) const {
  // Lines first, then each item placed at the height of its line.
  QList<QList<QLayoutItem*>> lineas(1);
  int x = 0;
  for (QLayoutItem* item : uItems) {
    if (item->isEmpty()) continue;
    const int ancho = item->sizeHint().width();
    if (x > 0 && x + uEspacioH + ancho > r.width()) {
      lineas.append(QList<QLayoutItem*>());
      x = 0;
    }
    x += (x > 0 ? uEspacioH : 0) + ancho;
    lineas.last().append(item);
  }
  int y = r.y();
  if (lineas.first().isEmpty()) return 0;
  for (const QList<QLayoutItem*>& linea : lineas) {
    int alto = 0;
    for (const QLayoutItem* item : linea) alto = std::max(alto, item->sizeHint().height());
    int izquierda = r.x();
    for (QLayoutItem* item : linea) {
      const int ancho = std::min(item->sizeHint().width(), r.width());
      if (aplica) item->setGeometry(QRect(izquierda, y, ancho, alto));
      izquierda += ancho + uEspacioH;
    }
    y += alto + uEspacioV;
  }
  return y - r.y() - uEspacioV;
}
