#pragma once
// Painting of the sale-line grid: row colour by line kind, pink tax columns, indented kit
// components and money formats.

#include <QStyledItemDelegate>

#include "shell/listas/lineasCelda.h"

class TGridControl;

// "Descripción" reads on up to two lines; every other cell on one.
class TCajaDelegado : public QStyledItemDelegate, public TCeldasLegibles {
  Q_OBJECT
 public:
  TCajaDelegado(TGridControl* lineas, QObject* parent = nullptr);
  void setFuente(int puntos) { uFuente = puntos; }
  void setFilaSeleccionada(int fila) { uSeleccionada = fila; }
  void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override;

  // The text a cell shows (money formatted, components indented), for tests and the driver.
  static QString textoCelda(const TGridControl& lineas, int columna, int fila);
  static quint32 fondoFila(const QString& tipo);
  // Kit and promotion headers, painted bold.
  static bool filaCabecera(const TGridControl& lineas, int fila);
  // The font a row is painted with, over the grid's: kit and promotion headers bold.
  QFont fuenteFila(const QFont& fuenteGrid, int fila) const;
  bool recortada(const QFont& fuenteGrid, int columna, int fila, int ancho) const override;

  static constexpr int kMargen = 6;  // room left and right of a cell's text

 private:
  QString textoDibujado(const QFontMetrics& fm, int columna, int fila, int ancho,
                        bool* recortado) const;

  TGridControl* uLineas;
  int uFuente = 15;
  int uSeleccionada = -1;
};

// Price monitor: prices on light orange, money format, quantities right-aligned.
class TMonitorDelegado : public QStyledItemDelegate {
  Q_OBJECT
 public:
  TMonitorDelegado(TGridControl* monitor, QObject* parent = nullptr);
  void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override;
  static QString textoCelda(const TGridControl& monitor, int columna, int fila);

 private:
  TGridControl* uMonitor;
};
