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
  // `vacia`: the text shown when there is nothing to draw. `apiladas`: one bar per category
  // with the series stacked (cashiers of a day); otherwise the series stand side by side.
  TGraficaBarras(const QString& titulo, const QString& vacia, bool apiladas,
                 QWidget* parent = nullptr);

  void muestra(const TdatosGrafica& datos);
  const TdatosGrafica& datos() const { return uDatos; }
  // What a person reads: the empty text when it shows, the chart otherwise.
  bool muestraVacia() const;
  QString textoVacia() const;
  QChart* grafica() const { return uGrafica; }
  // The money axis' labels, bottom to top.
  QStringList etiquetasMonto() const;

 private:
  QString uTitulo;
  bool uApiladas;
  TdatosGrafica uDatos;
  QStackedLayout* uPila = nullptr;
  QLabel* uVacia = nullptr;
  QChartView* uVista = nullptr;
  QChart* uGrafica = nullptr;
};
