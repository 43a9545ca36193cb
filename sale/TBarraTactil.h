#pragma once
// The scroll bar of the register's results: a wide flat groove and handle, for a finger. It
// draws plain filled rectangles: the desktop style's bar, with its arrows, gradients and lines,
// cost more to draw than the tiles it scrolls, and every search from the sale draws it anew.
// A touch on the groove pages; the handle drags.

#include <QScrollBar>

class TBarraTactil : public QScrollBar {
 public:
  static constexpr int kAncho = 24;

  explicit TBarraTactil(Qt::Orientation orientacion, QWidget* parent = nullptr);
};
