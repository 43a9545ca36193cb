#include "sessions/controlesSesion.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "ui/estiloDialogo.h"

QLabel* leyendaSesion(const QString& texto, QWidget* padre) {
  auto* l = new QLabel(texto, padre);
  l->setProperty("rol", QStringLiteral("leyenda"));
  return l;
}

QLabel* valorSesion(QWidget* padre, bool importe) {
  auto* l = new QLabel(padre);
  l->setTextFormat(Qt::PlainText);
  l->setProperty("rol", QStringLiteral("valor"));
  l->setMinimumHeight(40);
  if (importe) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return l;
}

QPushButton* botonEditaSesion(QWidget* padre) {
  auto* b = new QPushButton(padre);
  b->setIcon(QIcon(mini_imagen(QStringLiteral("Edita"), QSize(48, 48))));
  b->setIconSize(QSize(26, 26));
  b->setFixedSize(52, 48);
  b->setAutoDefault(false);
  b->setCursor(Qt::PointingHandCursor);
  b->setProperty("rol", QStringLiteral("editar"));
  return b;
}

QFrame* separadorSesion(QWidget* padre) {
  auto* f = new QFrame(padre);
  f->setFrameShape(QFrame::HLine);
  f->setStyleSheet(QStringLiteral("color:#D5DBE1;"));
  return f;
}

void aplicaColoresSesion(QDialog* dialogo, QLabel* titulo, const TListaColores& colores) {
  aplicaColoresDialogo(
      dialogo, titulo, colores,
      QStringLiteral("QLabel[rol=\"valor\"]{background:white;border:1px solid #D5DBE1;"
                     "border-radius:6px;padding:4px 10px;}"
                     "QLabel[rol=\"total\"]{font-size:20px;font-weight:700;}"
                     "QPushButton[rol=\"editar\"]{background:#E9EEF3;border:none;"
                     "border-radius:8px;}"
                     "QPushButton[rol=\"editar\"]:pressed{background:#C9D3DD;}"
                     "QPushButton[rol=\"editar\"]:disabled{background:#F1F3F5;}"));
}
