#include "ui/recursosPantalla.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

bool mini_cargaImage(const QString& nombre, QLabel* destino) {
  if (!destino) return false;
  const QSize tam =
      destino->size().isValid() && destino->width() > 4 ? destino->size() : QSize(32, 32);
  const QPixmap pm = mini_imagen(nombre, tam);
  destino->setPixmap(pm);
  return !pm.isNull();
}

void mini_cornerButtonStyle(QAbstractButton* boton, const TListaColores& colores) {
  if (!boton) return;
  boton->setMinimumHeight(std::max(boton->minimumHeight(), 44));
  boton->setCursor(Qt::PointingHandCursor);
  boton->setStyleSheet(
      QStringLiteral("QAbstractButton{background:%1;color:%2;border:none;border-radius:8px;"
                     "padding:6px 16px;font-size:15px;font-weight:600;}"
                     "QAbstractButton:pressed{background:%3;}"
                     "QAbstractButton:disabled{background:%4;color:#F0F0F0;}")
          .arg(colorCss(colorDe(colores, QStringLiteral("botonFondo"))),
               colorCss(colorDe(colores, QStringLiteral("botonTexto"))),
               colorCss(colorDe(colores, QStringLiteral("botonFondoPresionado"))),
               colorCss(colorDe(colores, QStringLiteral("botonFondoDeshabilitado")))));
}

QPushButton* mini_botonTactil(const QString& texto, QWidget* padre, const TListaColores& colores) {
  auto* b = new QPushButton(texto, padre);
  mini_cornerButtonStyle(b, colores);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}
