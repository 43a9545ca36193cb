#pragma once
// Qt model over a TGridControl, so any QTableView shows the table. Painting by kind (money,
// row colours, links) belongs to the item delegates of each screen family.

#include <QAbstractTableModel>

class TGridControl;

class TGridModelo : public QAbstractTableModel {
  Q_OBJECT
 public:
  // Role carrying the image name of an image column's cell.
  static constexpr int RolImagen = Qt::UserRole + 1;
  // Image columns this narrow (or narrower) show their image instead of their title.
  static constexpr int kAnchoCabeceraSoloImagen = 50;

  explicit TGridModelo(TGridControl* control);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void celdaCambiada(int fila, int columna);
  void todoCambiado();

 private:
  friend class TGridControl;
  TGridControl* uControl;
};
