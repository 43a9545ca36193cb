#pragma once
// Cell painting of the list screens, chosen per column by its header title: money
// ("$ #,###,##0.00", right-aligned; an empty cell stays empty), centred, right-aligned,
// left-aligned, date-times in the fixed shown format, and links (blue, underlined). Every cell
// is white unless the screen gives another colour, text black, "(empty)" never shown. Image
// columns draw their icon.

#include <QColor>
#include <QHash>
#include <QStyledItemDelegate>
#include <functional>

#include "shell/listas/lineasCelda.h"

class TGridControl;

enum class TPintura { Izquierda, Centro, Derecha, Moneda, Fecha, Enlace };

class TDelegadoLista : public QStyledItemDelegate, public TCeldasLegibles {
  Q_OBJECT
 public:
  using TFuenteValor = std::function<QString(int columna, int fila)>;

  TDelegadoLista(const TGridControl* grid, TFuenteValor valor, QObject* parent = nullptr);

  void setPintura(const QString& titulo, TPintura pintura) { uPinturas.insert(titulo, pintura); }
  TPintura pintura(int columna) const;
  // Background of a row (white by default).
  void setFondo(std::function<QColor(int fila)> fondo) { uFondo = std::move(fondo); }
  // Background of every cell of a column, by its title (over the row's).
  void setFondoColumna(const QString& titulo, QColor fondo) {
    uFondosColumna.insert(titulo, fondo);
  }
  void setFilaResaltada(int fila) { uResaltada = fila; }

  // The text a cell shows for a raw value and a painting.
  static QString textoCelda(const QString& valor, TPintura pintura);
  QString textoCelda(int columna, int fila) const;
  // The shortest text that still says it all: a date-time without seconds and with a two-digit
  // year ("06/12/26 12:19"), shown when the column is too narrow for the whole one; other
  // cells as textoCelda.
  static QString textoCorto(const QString& valor, TPintura pintura);
  QString textoCorto(int columna, int fila) const;
  // Links and image columns are clickable: the pointer turns into a hand over them.
  bool esClicable(int columna) const;

  static constexpr quint32 kColorEnlace = 0xFF4286F4;
  static constexpr int kMargen = 4;  // room left and right of a cell's text

  void paint(QPainter* p, const QStyleOptionViewItem& opcion,
             const QModelIndex& indice) const override;
  // With the grid's font: names and dates on up to two lines, amounts on one.
  bool recortada(const QFont& fuente, int columna, int fila, int ancho) const override;

 private:
  // The text as painted in a cell `ancho` wide (lines joined by '\n').
  QString textoDibujado(const QFontMetrics& fm, int columna, int fila, int ancho,
                        bool* recortado) const;

  const TGridControl* uGrid;
  TFuenteValor uValor;
  QHash<QString, TPintura> uPinturas;
  std::function<QColor(int)> uFondo;
  QHash<QString, QColor> uFondosColumna;
  int uResaltada = -1;
};
