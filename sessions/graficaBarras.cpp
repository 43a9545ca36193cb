#include "sessions/graficaBarras.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
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

// A round step (1, 2 or 5 times a power of ten) that splits `maximo` into about four bands.
double pasoRedondo(double maximo) {
  if (maximo <= 0) return 1;
  const double crudo = maximo / 4.0;
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

TGraficaBarras::TGraficaBarras(const QString& titulo, const QString& vacia, bool apiladas,
                               QWidget* parent)
    : QWidget(parent), uTitulo(titulo), uApiladas(apiladas) {
  const TListaColores colores = getColores();
  uPila = new QStackedLayout(this);
  uPila->setContentsMargins(0, 0, 0, 0);
  uVacia = new QLabel(QStringLiteral("%1\n\n%2").arg(titulo, vacia), this);
  uVacia->setAlignment(Qt::AlignCenter);
  uVacia->setWordWrap(true);
  uVacia->setStyleSheet(QStringLiteral("QLabel{background:white;border:1px solid #D5DBE1;"
                                       "font-size:17px;color:%1;padding:12px;}")
                            .arg(colorCss(colorDe(colores, QStringLiteral("textoCuerpo")))));
  uGrafica = new QChart();
  uGrafica->setTitle(titulo);
  uGrafica->setTitleFont(fuente(16, true));
  uGrafica->setTitleBrush(QColor::fromRgba(colorDe(colores, QStringLiteral("tituloFormulario1"))));
  uGrafica->setBackgroundRoundness(0);
  uGrafica->setMargins(QMargins(4, 4, 4, 4));
  uGrafica->legend()->setFont(fuente(13));
  uGrafica->setAnimationOptions(QChart::NoAnimation);
  uVista = new QChartView(uGrafica, this);
  uVista->setRenderHint(QPainter::Antialiasing);
  uVista->setMinimumHeight(150);
  uPila->addWidget(uVacia);
  uPila->addWidget(uVista);
  muestra(TdatosGrafica());
}

void TGraficaBarras::muestra(const TdatosGrafica& datos) {
  uDatos = datos;
  uGrafica->removeAllSeries();
  for (QAbstractAxis* eje : uGrafica->axes()) {
    uGrafica->removeAxis(eje);
    delete eje;
  }
  if (datos.vacia()) {
    uPila->setCurrentWidget(uVacia);
    return;
  }
  QAbstractBarSeries* serie = uApiladas ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries)
                                        : static_cast<QAbstractBarSeries*>(new QBarSeries);
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

  auto* categorias = new QBarCategoryAxis();
  categorias->append(datos.categorias);
  categorias->setLabelsFont(fuente(13));
  uGrafica->addAxis(categorias, Qt::AlignBottom);
  serie->attachAxis(categorias);

  // A value axis labels with printf formats only; the money labels are categories set on
  // round values.
  const double maximo = static_cast<double>(datos.maximo()) / 100.0;
  const double paso = pasoRedondo(maximo);
  const int bandas = std::max(1, static_cast<int>(std::ceil(maximo / paso - 1e-9)));
  auto* montos = new QCategoryAxis();
  montos->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  montos->setLabelsFont(fuente(13));
  montos->setRange(0, paso * bandas);
  for (int b = 0; b <= bandas; ++b) montos->append(u_formatoMoneda(paso * b), paso * b);
  montos->setGridLineColor(QColor(0xE3, 0xE8, 0xED));
  uGrafica->addAxis(montos, Qt::AlignLeft);
  serie->attachAxis(montos);
  uPila->setCurrentWidget(uVista);
}

bool TGraficaBarras::muestraVacia() const { return uPila->currentWidget() == uVacia; }

QString TGraficaBarras::textoVacia() const { return uVacia->text(); }

QStringList TGraficaBarras::etiquetasMonto() const {
  for (QAbstractAxis* eje : uGrafica->axes(Qt::Vertical))
    if (auto* c = qobject_cast<QCategoryAxis*>(eje)) return c->categoriesLabels();
  return {};
}
