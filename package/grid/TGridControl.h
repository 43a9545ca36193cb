#pragma once
// A table of named columns, shown on screen through TGridVista (package/ui). Cells are texts
// held column by column; columns are addressed by name (the first column of a name when a name is
// declared twice, as the sale-line table does with "_descuento" and "Descuento") or by position.
// Bound columns take their values from a result table's alias; "--" marks a column the
// screen fills itself; image columns show a clickable icon.

#include <QAbstractTableModel>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <algorithm>

#include "db/CmidTierResponse.h"

class TGridModelo;

// Printed table of a PDF export: the described columns and their cells, row by row.
struct TTablaPDF {
  QStringList titulos;
  QVector<QStringList> filas;
};

class TGridControl : public QObject {
  Q_OBJECT
 public:
  enum Tipo { Texto = 0, Imagen = 2 };
  struct Columna {
    int tipo = Texto;
    QString nombre;
    QString campo;
    QString imagen;
    int ancho = 80;
    bool visible = true;
    bool flag = true;
  };

  explicit TGridControl(QObject* parent = nullptr);

  void add(int tipo, const QString& nombre, const QString& campo, const QString& imagen,
           int ancho, bool visible, bool flag = true);

  int getColumnCount() const { return static_cast<int>(uColumnas.size()); }
  int getRowCount() const { return uFilas; }
  const Columna& columna(int c) const { return uColumnas[c]; }
  const QVector<Columna>& columnas() const { return uColumnas; }
  // First column of that name, -1 when none.
  int indiceColumna(const QString& nombre) const;

  QString getCelda(const QString& columna, int fila) const;
  QString getCelda(int columna, int fila) const;
  // A cell's text read as a number (u_strToFloat / u_strToInt). Each cell is parsed once and
  // kept until it is written again, so a table summed after every change costs additions,
  // not parsing.
  double getCeldaAsFloat(const QString& columna, int fila) const;
  double getCeldaAsFloat(int columna, int fila) const;
  int getCeldaAsInt(const QString& columna, int fila) const;
  int getCeldaAsInt(int columna, int fila) const;
  void setCelda(const QString& columna, int fila, const QString& valor);
  void setCelda(int columna, int fila, const QString& valor);

  // The lowest row written, inserted, removed or copied since the last call (the row count when
  // none was): a reader that keeps running results beside the table redoes them from there.
  int tomaPrimeraFilaCambiada();

  // A row from a map column name -> text; names without a column are ignored.
  int agregarRegistro(const QMap<QString, QString>& datos);
  void insertaRegistro(int fila, const QMap<QString, QString>& datos);
  void eliminarRegistro(int fila);
  // Copies row `origen` to position `destino` (-1 appends); answers the new row's index.
  int copiaFila(int origen, int destino = -1);
  void clearFilas();

  // Replaces every row with the result table: bound columns from their alias, the others
  // empty. A column whose alias the result lacks stays empty.
  void setTabla(const CmidTierResponse& tabla);
  // Column by column: element [c][r] is the cell of column c, row r.
  const QVector<QStringList>& getTabla() const { return uCeldas; }

  // Row height in the suite's units; a bound view applies it when it renews its columns.
  void setAlturaFila(int altura) { uAlturaFila = altura; }
  int alturaFila() const { return uAlturaFila; }

  // The printed columns of a list export: visible data columns that carry a field.
  TTablaPDF getTTablaPDF() const;

  QAbstractTableModel* modelo() const;
  // Tells the views the table changed shape (they re-read columns and rows).
  void reiniciaModelo();
  // Repaints the view after cell changes made outside the model's knowledge.
  void refresca();

 signals:
  void filasCambiadas();

 private:
  friend class TGridModelo;

  QVector<Columna> uColumnas;
  QHash<QString, int> uIndice;
  void olvidaNumeros();
  void marcaCambio(int fila) { uPrimeraCambiada = std::min(uPrimeraCambiada, fila); }

  QVector<QStringList> uCeldas;  // column-major
  // Parsed values beside uCeldas, per column: empty until the column is first read as a
  // number; NaN marks a cell not parsed since it was written (no parse answers NaN).
  mutable QVector<QVector<double>> uNumeros;
  int uFilas = 0;
  int uPrimeraCambiada = 0;
  int uAlturaFila = 8;
  TGridModelo* uModelo = nullptr;
};
