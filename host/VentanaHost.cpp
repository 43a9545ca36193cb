#include "VentanaHost.h"

#include <QAbstractButton>
#include <QApplication>

VentanaHost::VentanaHost(QWidget* panel, QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Punto de Venta"));
  // Stations run 1024x768 and up; the window fills whatever screen it is given.
  setMinimumSize(800, 600);
  setCentralWidget(panel);
}

QWidget* VentanaHost::ventanaSuperior() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != this && w->isVisible() && w->isWindow() &&
        (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
      return w;
  return this;
}

bool VentanaHost::pulsa(const QString& titulo) {
  const auto botones = ventanaSuperior()->findChildren<QAbstractButton*>();
  for (QAbstractButton* b : botones) {
    if (b->text() == titulo && b->isVisible() && b->isEnabled()) {
      b->click();
      return true;
    }
  }
  return false;
}
