#pragma once
// A whole table (sale lines, a result) compared in one assertion: each row as the cells of
// `columnas` joined by "|", where a "*" in an expected row matches any cell. The failure lists
// the rows that differ, both ways.

#include <gtest/gtest.h>

#include <QStringList>

template <class Tabla>
int filasDe(const Tabla& t) {
  if constexpr (requires { t.getRowCount(); })
    return t.getRowCount();
  else
    return t.numFilas();
}

template <class Tabla>
::testing::AssertionResult filasComo(const Tabla& t, const QStringList& columnas,
                                     const QStringList& esperadas) {
  QStringList reales;
  for (int i = 0; i < filasDe(t); ++i) {
    QStringList celdas;
    for (const QString& c : columnas) celdas << t.getCelda(c, i);
    reales << celdas.join(QLatin1Char('|'));
  }
  bool iguales = reales.size() == esperadas.size();
  for (int i = 0; iguales && i < reales.size(); ++i) {
    const QStringList r = reales[i].split(QLatin1Char('|')),
                      e = esperadas[i].split(QLatin1Char('|'));
    iguales = r.size() == e.size();
    for (int c = 0; iguales && c < r.size(); ++c) iguales = e[c] == "*" || e[c] == r[c];
  }
  if (iguales) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "columnas " << columnas.join(QLatin1Char('|')).toStdString() << "\n  esperadas:\n    "
         << esperadas.join("\n    ").toStdString() << "\n  reales:\n    "
         << reales.join("\n    ").toStdString();
}

// One column of a table, top to bottom.
template <class Tabla>
QStringList columnaDe(const Tabla& t, const QString& columna) {
  QStringList c;
  for (int i = 0; i < filasDe(t); ++i) c << t.getCelda(columna, i);
  return c;
}
