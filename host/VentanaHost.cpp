#include "VentanaHost.h"

#include <QAbstractButton>

VentanaHost::VentanaHost(QWidget* panel, QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Punto de Venta"));
  setMinimumSize(1280, 800);
  setCentralWidget(panel);
}

bool VentanaHost::pulsa(const QString& titulo) {
  const auto botones = findChildren<QAbstractButton*>();
  for (QAbstractButton* b : botones) {
    if (b->text() == titulo && b->isVisible() && b->isEnabled()) {
      b->click();
      return true;
    }
  }
  return false;
}
