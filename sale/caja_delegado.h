#pragma once
// Painting of the sale-line grid: row colour by line kind, pink tax columns, indented kit
// components and money formats.

#include <QStyledItemDelegate>

class TGridControl;

class TCajaDelegado : public QStyledItemDelegate {
  Q_OBJECT
 public:
  TCajaDelegado(TGridControl* lineas, QObject* parent = nullptr);
  void setFuente(int puntos) { uFuente = puntos; }
  void setFilaSeleccionada(int fila) { uSeleccionada = fila; }
  void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override;

  // The text a cell shows (money formatted, components indented), for tests and the driver.
  static QString textoCelda(const TGridControl& lineas, int columna, int fila);
  static quint32 fondoFila(const QString& tipo);

 private:
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
