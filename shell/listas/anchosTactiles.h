#pragma once
// The widths of a touch grid painted by TDelegadoLista: declared widths are a desktop grid's, so
// on a touch station each column takes what its texts need (the header whole where there is
// room), narrow columns first, and the stretch column what is left (repartoColumnas). No column
// goes under the view's right edge while the least widths fit, so the grid never scrolls
// sideways. Run it after the grid binding's own stretch, on every resize and new rows.

#include <QString>

class QHeaderView;
class QTableView;
class TGridControl;
class TDelegadoLista;

// `ajuste` is the title of the stretch column (none when empty).
void u_ajustaAnchosTactiles(QTableView* vista, const TGridControl& grid,
                            const TDelegadoLista& delegado, const QString& ajuste);

// The width a header section needs to show `titulo` whole, by the header's own style (its style
// sheet's font and padding included).
int u_anchoTitulo(QHeaderView* encabezado, int columna, const QString& titulo);
