#pragma once
// The business's warehouses in a combo box, with the id of each entry at the same position.

#include <QVector>

class QComboBox;
class TsistemaDatos;

// False (and the combo left empty) when the warehouses cannot be read.
bool u_cargaComboAlmacenes(QComboBox* combo, QVector<int>& ids, TsistemaDatos& sistema);
