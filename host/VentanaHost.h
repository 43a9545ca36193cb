#pragma once
// The desktop window that embeds a module's panel.

#include <QMainWindow>

class VentanaHost : public QMainWindow {
  Q_OBJECT
 public:
  explicit VentanaHost(QWidget* panel, QWidget* parent = nullptr);

  // Presses the visible button of the panel with this caption, as a user would; false when
  // there is none.
  bool pulsa(const QString& titulo);
};
