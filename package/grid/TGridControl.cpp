#include "TGridControl.h"

#include <cmath>
#include <limits>

#include "grid/TGridModelo.h"
#include "util/utilerias.h"

TGridControl::TGridControl(QObject* parent) : QObject(parent) { uModelo = new TGridModelo(this); }

QAbstractTableModel* TGridControl::modelo() const { return uModelo; }

void TGridControl::add(int tipo, const QString& nombre, const QString& campo,
                       const QString& imagen, int ancho, bool visible, bool flag) {
  uModelo->beginResetModel();
  Columna c{tipo, nombre, campo, imagen, ancho, visible, flag};
  uColumnas.push_back(c);
  if (!uIndice.contains(nombre)) uIndice.insert(nombre, static_cast<int>(uColumnas.size()) - 1);
  QStringList celdas;
  for (int i = 0; i < uFilas; ++i) celdas << QString();
  uCeldas.push_back(celdas);
  uNumeros.push_back({});
  marcaCambio(0);
  uModelo->endResetModel();
}

int TGridControl::indiceColumna(const QString& nombre) const { return uIndice.value(nombre, -1); }

QString TGridControl::getCelda(int columna, int fila) const {
  if (columna < 0 || columna >= uCeldas.size() || fila < 0 || fila >= uFilas) return QString();
  return uCeldas[columna][fila];
}

QString TGridControl::getCelda(const QString& columna, int fila) const {
  return getCelda(indiceColumna(columna), fila);
}

namespace {
constexpr double kSinLeer = std::numeric_limits<double>::quiet_NaN();
}

double TGridControl::getCeldaAsFloat(int columna, int fila) const {
  if (columna < 0 || columna >= uCeldas.size() || fila < 0 || fila >= uFilas) return 0.0;
  QVector<double>& numeros = uNumeros[columna];
  if (numeros.isEmpty()) numeros.fill(kSinLeer, uFilas);
  double& v = numeros[fila];
  if (std::isnan(v)) v = u_strToFloat(uCeldas[columna][fila]);
  return v;
}

double TGridControl::getCeldaAsFloat(const QString& columna, int fila) const {
  return getCeldaAsFloat(indiceColumna(columna), fila);
}

// u_strToInt reads what u_strToFloat reads and keeps its integer part, so the cached value
// serves both.
int TGridControl::getCeldaAsInt(int columna, int fila) const {
  const double v = getCeldaAsFloat(columna, fila);
  if (std::fabs(v) < 2147483648.0) return static_cast<int>(v);
  return u_strToInt(getCelda(columna, fila));
}

int TGridControl::getCeldaAsInt(const QString& columna, int fila) const {
  return getCeldaAsInt(indiceColumna(columna), fila);
}

void TGridControl::olvidaNumeros() {
  for (auto& numeros : uNumeros) numeros.clear();
  marcaCambio(0);
}

int TGridControl::tomaPrimeraFilaCambiada() {
  const int fila = std::min(uPrimeraCambiada, uFilas);
  uPrimeraCambiada = std::numeric_limits<int>::max();
  return fila;
}

void TGridControl::setCelda(int columna, int fila, const QString& valor) {
  if (columna < 0 || columna >= uCeldas.size() || fila < 0 || fila >= uFilas) return;
  uCeldas[columna][fila] = valor;
  if (!uNumeros[columna].isEmpty()) uNumeros[columna][fila] = kSinLeer;
  marcaCambio(fila);
  uModelo->celdaCambiada(fila, columna);
}

void TGridControl::setCelda(const QString& columna, int fila, const QString& valor) {
  setCelda(indiceColumna(columna), fila, valor);
}

void TGridControl::insertaRegistro(int fila, const QMap<QString, QString>& datos) {
  fila = std::clamp(fila, 0, uFilas);
  uModelo->beginInsertRows(QModelIndex(), fila, fila);
  for (auto& col : uCeldas) col.insert(fila, QString());
  for (auto& numeros : uNumeros)
    if (!numeros.isEmpty()) numeros.insert(fila, kSinLeer);
  marcaCambio(fila);
  ++uFilas;
  for (auto it = datos.constBegin(); it != datos.constEnd(); ++it) {
    const int c = indiceColumna(it.key());
    if (c >= 0) uCeldas[c][fila] = it.value();
  }
  uModelo->endInsertRows();
  emit filasCambiadas();
}

int TGridControl::agregarRegistro(const QMap<QString, QString>& datos) {
  const int fila = uFilas;
  insertaRegistro(fila, datos);
  return fila;
}

void TGridControl::eliminarRegistro(int fila) {
  if (fila < 0 || fila >= uFilas) return;
  uModelo->beginRemoveRows(QModelIndex(), fila, fila);
  for (auto& col : uCeldas) col.removeAt(fila);
  for (auto& numeros : uNumeros)
    if (!numeros.isEmpty()) numeros.removeAt(fila);
  marcaCambio(fila);
  --uFilas;
  uModelo->endRemoveRows();
  emit filasCambiadas();
}

int TGridControl::copiaFila(int origen, int destino) {
  if (origen < 0 || origen >= uFilas) return -1;
  if (destino < 0 || destino > uFilas) destino = uFilas;
  QStringList copia;
  for (const auto& col : uCeldas) copia << col[origen];
  uModelo->beginInsertRows(QModelIndex(), destino, destino);
  for (int c = 0; c < uCeldas.size(); ++c) uCeldas[c].insert(destino, copia[c]);
  for (auto& numeros : uNumeros) {
    if (numeros.isEmpty()) continue;
    const double v = numeros[origen];
    numeros.insert(destino, v);
  }
  marcaCambio(destino);
  ++uFilas;
  uModelo->endInsertRows();
  emit filasCambiadas();
  return destino;
}

void TGridControl::clearFilas() {
  uModelo->beginResetModel();
  for (auto& col : uCeldas) col.clear();
  olvidaNumeros();
  uFilas = 0;
  uModelo->endResetModel();
  emit filasCambiadas();
}

void TGridControl::setTabla(const CmidTierResponse& tabla) {
  uModelo->beginResetModel();
  const int n = tabla.getRowCount();
  for (int c = 0; c < uColumnas.size(); ++c) {
    QStringList celdas;
    celdas.reserve(n);
    const Columna& col = uColumnas[c];
    const bool ligada = col.tipo != Imagen && !col.campo.isEmpty() && col.campo != "--";
    const int origen = ligada ? tabla.columna(col.campo) : -1;
    for (int r = 0; r < n; ++r) celdas << (origen >= 0 ? tabla.getCelda(origen, r) : QString());
    uCeldas[c] = celdas;
  }
  olvidaNumeros();
  uFilas = n;
  uModelo->endResetModel();
  emit filasCambiadas();
}

void TGridControl::reiniciaModelo() {
  uModelo->beginResetModel();
  uModelo->endResetModel();
}

void TGridControl::refresca() { uModelo->todoCambiado(); }

TTablaPDF TGridControl::getTTablaPDF() const {
  TTablaPDF t;
  QVector<int> impresas;
  for (int c = 0; c < uColumnas.size(); ++c) {
    const Columna& col = uColumnas[c];
    if (col.tipo == Imagen || !col.visible || col.campo.isEmpty()) continue;
    impresas << c;
    t.titulos << col.nombre;
  }
  for (int r = 0; r < uFilas; ++r) {
    QStringList fila;
    for (int c : impresas) fila << uCeldas[c][r];
    t.filas << fila;
  }
  return t;
}
