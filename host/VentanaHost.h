#pragma once
// The desktop window that embeds a module's panel.

#include <QMainWindow>

class VentanaHost : public QMainWindow {
  Q_OBJECT
 public:
  explicit VentanaHost(QWidget* panel, QWidget* parent = nullptr);

  // Presses the visible button with this caption on the window on top (a dialog, the register
  // or this window), as a user would; false when there is none.
  bool pulsa(const QString& titulo);
  // The window the user sees on top: an open dialog, a screen with its own window (the
  // register), or this window.
  QWidget* ventanaSuperior();
};
