#pragma once
// How a grid's visible columns share the view's width. Each column says what it needs to show
// whole (`completo`), what still reads well (`legible`: a name cut to a few words, a date in its
// short form, an icon under a cut title) and the least it can be (`minimo`). Narrow columns
// (icons, numbers, money, dates, codes) are sized to their content; when the row is too wide the
// name columns give way first (the longest first, down to a common width), then the stretch
// column, then the narrow ones; then the name columns down to their least, and only then the
// narrow ones. The stretch column takes whatever is left over. The answer never adds up to more
// than the width unless even the least widths do not fit.

#include <QVector>

struct TColumnaReparto {
  enum Clase { Angosta, Texto, Ajuste };
  Clase clase = Texto;
  int completo = 0;
  int legible = 0;
  int minimo = 0;
};

QVector<int> repartoColumnas(const QVector<TColumnaReparto>& columnas, int disponible);
