#include "facturacion/datosFacturar.h"

void TTablaLT::setNumFilas(int filas) {
  uFilas.resize(qMax(0, filas));
  for (QStringList& f : uFilas)
    while (f.size() < uColumnas.size()) f << QString();
}

QString TTablaLT::getCelda(const QString& columna, int fila) const {
  const int c = uColumnas.indexOf(columna);
  if (c < 0 || fila < 0 || fila >= uFilas.size()) return QString();
  return uFilas[fila].value(c);
}

void TTablaLT::setCelda(const QString& columna, int fila, const QString& valor) {
  const int c = uColumnas.indexOf(columna);
  if (c < 0 || fila < 0 || fila >= uFilas.size()) return;
  uFilas[fila][c] = valor;
}
