#include "sessions/graficaBarras.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLegend>
#include <QStackedBarSeries>
#include <QStackedLayout>
#include <cmath>
#include <iterator>

#include "resources/recursos.h"
#include "util/utilerias.h"

namespace {

// Brand blue first, then colours that stay apart from it and from each other on a white card.
const quint32 kColores[] = {0xFF1F6FB2, 0xFFE08A1E, 0xFF2E9E6A, 0xFF8E44AD,
                            0xFFC0392B, 0xFF16324F, 0xFF7F8C8D, 0xFFD4AC0D};

// A round step (1, 2 or 5 times a power of ten) that splits `maximo` into about `bandas`.
double pasoRedondo(double maximo, double bandas) {
  if (maximo <= 0) return 1;
  const double crudo = maximo / bandas;
  const double potencia = std::pow(10.0, std::floor(std::log10(crudo)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (crudo <= m * potencia) return m * potencia;
  return 10 * potencia;
}

QFont fuente(int pixeles, bool negrita = false) {
  QFont f;
  f.setPixelSize(pixeles);
  f.setBold(negrita);
  return f;
}

}  // namespace

TGraficaBarras::TGraficaBarras(const QString& titulo, const QString& vacia, Tipo tipo,
                               QWidget* parent)
    : QWidget(parent), uTitulo(titulo), uTipo(tipo) {
  const TListaColores colores = getColores();
  uPila = new QStackedLayout(this);
  uPila->setContentsMargins(0, 0, 0, 0);
  uVacia = new QLabel(QStringLiteral("%1\n\n%2").arg(titulo, vacia), this);
  uVacia->setAlignment(Qt::AlignCenter);
  uVacia->setWordWrap(true);
  uVacia->setStyleSheet(QStringLiteral("QLabel{background:white;border:1px solid #D5DBE1;"
                                       "font-size:17px;color:%1;padding:12px;}")
                            .arg(colorCss(colorDe(colores, QStringLiteral("textoCuerpo")))));
  uGrafica = nuevaGrafica();
  uVista = new QChartView(uGrafica, this);
  uVista->setRenderHint(QPainter::Antialiasing);
  uVista->setMinimumHeight(150);
  uPila->addWidget(uVacia);
  uPila->addWidget(uVista);
  muestra(TdatosGrafica());
}

QChart* TGraficaBarras::nuevaGrafica() const {
  const TListaColores colores = getColores();
  auto* g = new QChart();
  g->setTitle(uTitulo);
  g->setTitleFont(fuente(16, true));
  g->setTitleBrush(QColor::fromRgba(colorDe(colores, QStringLiteral("tituloFormulario1"))));
  g->setBackgroundRoundness(0);
  // Room on the right for the last money label of a horizontal axis.
  g->setMargins(QMargins(4, 4, 28, 4));
  g->legend()->setFont(fuente(13));
  g->setAnimationOptions(QChart::NoAnimation);
  return g;
}

void TGraficaBarras::muestra(const TdatosGrafica& datos) {
  uDatos = datos;
  // A new chart each time: axes taken off a chart kept drawing their old labels.
  QChart* anterior = uGrafica;
  uGrafica = nuevaGrafica();
  uVista->setChart(uGrafica);
  delete anterior;
  if (datos.vacia()) {
    uPila->setCurrentWidget(uVacia);
    return;
  }
  QAbstractBarSeries* serie = nullptr;
  if (uTipo == Apiladas)
    serie = new QStackedBarSeries;
  else if (uTipo == Horizontales)
    serie = new QHorizontalBarSeries;
  else
    serie = new QBarSeries;
  for (int i = 0; i < datos.series.size(); ++i) {
    const TserieGrafica& s = datos.series[i];
    auto* conjunto = new QBarSet(s.nombre);
    for (qint64 c : s.centavos) conjunto->append(static_cast<double>(c) / 100.0);
    conjunto->setColor(QColor::fromRgba(kColores[i % std::size(kColores)]));
    conjunto->setBorderColor(Qt::white);
    serie->append(conjunto);
  }
  serie->setBarWidth(0.7);
  uGrafica->addSeries(serie);
  uGrafica->legend()->setVisible(datos.series.size() > 1);
  uGrafica->legend()->setAlignment(Qt::AlignBottom);

  const bool horizontal = uTipo == Horizontales;
  auto* categorias = new QBarCategoryAxis();
  categorias->append(datos.categorias);
  categorias->setLabelsFont(fuente(13));
  uGrafica->addAxis(categorias, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
  serie->attachAxis(categorias);

  // A value axis labels with printf formats only; the money labels are categories set on
  // round values.
  const double maximo = static_cast<double>(datos.maximo()) / 100.0;
  // A horizontal money axis has room for fewer labels than a vertical one.
  const double paso = pasoRedondo(maximo, horizontal ? 2.0 : 4.0);
  // One band above the highest bar, so its top never touches the frame.
  const int bandas = static_cast<int>(std::floor(maximo / paso + 1e-9)) + 1;
  auto* montos = new QCategoryAxis();
  montos->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  montos->setLabelsFont(fuente(13));
  montos->setRange(0, paso * bandas);
  for (int b = 0; b <= bandas; ++b) montos->append(u_formatoMoneda(paso * b), paso * b);
  montos->setGridLineColor(QColor(0xE3, 0xE8, 0xED));
  uGrafica->addAxis(montos, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
  serie->attachAxis(montos);
  uPila->setCurrentWidget(uVista);
}

bool TGraficaBarras::muestraVacia() const { return uPila->currentWidget() == uVacia; }

QString TGraficaBarras::textoVacia() const { return uVacia->text(); }

QStringList TGraficaBarras::etiquetasMonto() const {
  for (QAbstractAxis* eje : uGrafica->axes())
    if (auto* c = qobject_cast<QCategoryAxis*>(eje)) return c->categoriesLabels();
  return {};
}
