#pragma once
// The register's reading and name fields: a white box with a rounded 2-pixel border, blue while
// the field has the focus. The box is drawn from cached corners instead of by the style sheet,
// which strokes the rounded border again every time the field repaints (its text clears after
// every reading and search, and the focus moves between the two); the empty field without the
// focus, as it waits showing its placeholder, is drawn once and copied.

#include <QLineEdit>
#include <QPixmap>

class TCampoRedondeado : public QLineEdit {
 public:
  explicit TCampoRedondeado(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void dibujaCaja(QPainter& p) const;

  QPixmap uVacio;
};
