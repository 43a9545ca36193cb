#include "comboAlmacenes.h"

#include <QComboBox>

#include "context/TsistemaDatos.h"
#include "operaciones/almacen.h"
#include "util/utilerias.h"

bool u_cargaComboAlmacenes(QComboBox* combo, QVector<int>& ids, TsistemaDatos& sistema) {
  combo->clear();
  ids.clear();
  Talmacen almacen(sistema.getConexion());
  // Read by position: column 0 the id, column 3 the name.
  const CmidTierResponse r = almacen.selectAlmacenes(QVariant(), QVariant(), sistema.getIdNegocio());
  if (!r.ok()) return false;
  for (int i = 0; i < r.getRowCount(); ++i) {
    combo->addItem(r.getCelda(3, i));
    ids << u_strToInt(r.getCelda(0, i));
  }
  return true;
}
