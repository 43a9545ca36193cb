#pragma once
// A bar chart of money for the supervisor's screens (session view, closings control): brand
// colours, large touch-readable text, the money axis labelled "$ #,###,##0.00". A chart with
// nothing to draw says so in words instead of showing empty axes.

#include <QWidget>

#include "sessions/reglas/consultaSesion.h"

class QLabel;
class QStackedLayout;
class QChart;
class QChartView;

class TGraficaBarras : public QWidget {
  Q_OBJECT
 public:
  // Columns side by side; columns with the series stacked (cashiers of a day); horizontal
  // bars, for categories with long names (payment methods).
  enum Tipo { Columnas, Apiladas, Horizontales };

  // `vacia`: the text shown when there is nothing to draw.
  TGraficaBarras(const QString& titulo, const QString& vacia, Tipo tipo, QWidget* parent = nullptr);

  void muestra(const TdatosGrafica& datos);
  const TdatosGrafica& datos() const { return uDatos; }
  // What a person reads: the empty text when it shows, the chart otherwise.
  bool muestraVacia() const;
  QString textoVacia() const;
  QChart* grafica() const { return uGrafica; }
  // The money axis' labels, bottom to top.
  QStringList etiquetasMonto() const;

 private:
  QChart* nuevaGrafica() const;

  QString uTitulo;
  Tipo uTipo;
  TdatosGrafica uDatos;
  QStackedLayout* uPila = nullptr;
  QLabel* uVacia = nullptr;
  QChartView* uVista = nullptr;
  QChart* uGrafica = nullptr;
};
