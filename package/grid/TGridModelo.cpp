#include "TGridModelo.h"

#include "grid/TGridControl.h"

TGridModelo::TGridModelo(TGridControl* control) : QAbstractTableModel(control), uControl(control) {}

int TGridModelo::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : uControl->getRowCount();
}

int TGridModelo::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : uControl->getColumnCount();
}

QVariant TGridModelo::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const auto& col = uControl->columna(index.column());
  if (role == RolImagen) {
    if (col.tipo != TGridControl::Imagen) return {};
    const QString propia = uControl->getCelda(index.column(), index.row());
    return propia.isEmpty() ? col.imagen : propia;
  }
  if (role == Qt::DisplayRole || role == Qt::EditRole) {
    if (col.tipo == TGridControl::Imagen) return {};
    QString t = uControl->getCelda(index.column(), index.row());
    if (t == QStringLiteral("(empty)")) t.clear();
    return t;
  }
  return {};
}

QVariant TGridModelo::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= uControl->getColumnCount()) return {};
  return uControl->columna(section).nombre;
}

void TGridModelo::celdaCambiada(int fila, int columna) {
  const QModelIndex i = index(fila, columna);
  emit dataChanged(i, i);
}

void TGridModelo::todoCambiado() {
  if (rowCount() == 0 || columnCount() == 0) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}
