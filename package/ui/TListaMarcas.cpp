#include "ui/TListaMarcas.h"

#include <QCheckBox>
#include <QVBoxLayout>

TListaMarcas::TListaMarcas(QWidget* parent) : QScrollArea(parent) {
  setObjectName(QStringLiteral("listaMarcas"));
  setWidgetResizable(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  uContenido = new QWidget(this);
  uContenido->setObjectName(QStringLiteral("contenidoMarcas"));
  uColumna = new QVBoxLayout(uContenido);
  uColumna->setContentsMargins(8, 6, 8, 6);
  uColumna->setSpacing(2);
  uColumna->addStretch();
  setWidget(uContenido);
  setStyleSheet(
      QStringLiteral("#listaMarcas{border:2px solid #C5CED8;border-radius:8px;background:white;}"
                     "#contenidoMarcas{background:white;}"
                     "QCheckBox{font-size:17px;min-height:44px;spacing:12px;color:#1E2A36;}"
                     "QCheckBox::indicator{width:28px;height:28px;}"
                     "QCheckBox::indicator:checked{image:url(:/iconos/checked.svg);}"
                     "QCheckBox::indicator:unchecked{image:url(:/iconos/unchecked.svg);}"));
}

void TListaMarcas::limpia() {
  qDeleteAll(uMarcas);
  uMarcas.clear();
}

void TListaMarcas::agrega(const QString& texto, bool marcado) {
  auto* c = new QCheckBox(texto, uContenido);
  c->setChecked(marcado);
  uColumna->insertWidget(uColumna->count() - 1, c);
  uMarcas.push_back(c);
}

QStringList TListaMarcas::textos() const {
  QStringList t;
  for (const QCheckBox* c : uMarcas) t << c->text();
  return t;
}

bool TListaMarcas::marcado(int indice) const {
  return indice >= 0 && indice < uMarcas.size() && uMarcas[indice]->isChecked();
}

bool TListaMarcas::marca(const QString& texto, bool marcado) {
  for (QCheckBox* c : uMarcas) {
    if (c->text() != texto.trimmed()) continue;
    c->setChecked(marcado);
    return true;
  }
  return false;
}
