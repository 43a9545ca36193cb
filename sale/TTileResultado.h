#pragma once
// A name-search result on the register: a white card with the product's picture and its name
// under it. It draws itself: a search fills the same tiles again (a name and a picture to
// keep) instead of building and styling a card and two labels per product.

#include <QFrame>
#include <QPixmap>

class TTileResultado : public QFrame {
 public:
  explicit TTileResultado(QWidget* parent);

  // Repaints only the boxes whose content changed (the card around them stays as drawn); a
  // hidden tile is drawn whole when it shows.
  void muestra(const QString& nombre, const QPixmap& imagen);
  QString nombre() const { return uNombre; }
  // The picture's box, for pictures scaled to fit it.
  QRect areaImagen() const;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QRect areaNombre() const;

  QString uNombre;
  QPixmap uImagen;
  QPixmap uTira;      // the name as drawn, from the strips every tile shares
  QPixmap uEsquinas;  // the corners on the colour under the tile
  QRgb uFondo = 0;
  const QString uClaveFuente;
};
