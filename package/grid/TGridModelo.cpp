#include "TGridModelo.h"

#include "grid/TGridControl.h"
#include "resources/recursos.h"

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
  if (orientation != Qt::Horizontal) return {};
  if (section < 0 || section >= uControl->getColumnCount()) return {};
  const auto& col = uControl->columna(section);
  // A narrow image column cannot show its title: its header shows the image, the title goes
  // to the tooltip.
  const bool soloImagen = col.tipo == TGridControl::Imagen && !col.imagen.isEmpty() &&
                          col.ancho <= kAnchoCabeceraSoloImagen;
  switch (role) {
    case Qt::DisplayRole:
      return soloImagen ? QString() : col.nombre;
    case Qt::DecorationRole:
      return soloImagen ? QVariant(mini_icono(col.imagen, 22)) : QVariant();
    case Qt::ToolTipRole:
      return col.nombre;
    default:
      return {};
  }
}

void TGridModelo::celdaCambiada(int fila, int columna) {
  const QModelIndex i = index(fila, columna);
  emit dataChanged(i, i);
}

void TGridModelo::todoCambiado() {
  if (rowCount() == 0 || columnCount() == 0) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}
