#pragma once
// The search row of a list screen: its filters side by side while they fit, the next ones on a
// new line when the body is too narrow (a 1024-wide station with the side menu open), so no
// screen is ever wider than the station. Items of a line share its height.

#include <QLayout>
#include <QList>

class TFilaFlujo : public QLayout {
 public:
  explicit TFilaFlujo(int espacioH, int espacioV);
  ~TFilaFlujo() override;

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(uItems.size()); }
  QLayoutItem* itemAt(int indice) const override { return uItems.value(indice); }
  QLayoutItem* takeAt(int indice) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int ancho) const override { return acomoda(QRect(0, 0, ancho, 0), false); }
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& r) override;

 private:
  // Lays the items out in `r` (or only measures); answers the height used.
  int acomoda(const QRect& r, bool aplica) const;

  QList<QLayoutItem*> uItems;
  int uEspacioH;
  int uEspacioV;
};
