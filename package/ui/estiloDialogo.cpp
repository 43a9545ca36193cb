#include "ui/estiloDialogo.h"

#include <QAbstractButton>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/recursosPantalla.h"

namespace {
QString css(quint32 argb) { return QStringLiteral("#%1").arg(argb & 0xFFFFFF, 6, 16, QChar('0')); }
}  // namespace

QString tituloVentanaSuite() { return QStringLiteral("Punto de Venta"); }

QString u_duplicaAmpersand(const QString& texto) {
  QString t = texto;
  return t.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void aplicaColoresDialogo(QDialog* dialogo, QLabel* titulo, const TListaColores& colores,
                          const QString& extra) {
  if (!dialogo) return;
  dialogo->setWindowTitle(tituloVentanaSuite());
  const QString fondo = css(colorDe(colores, QStringLiteral("fondoSolido")));
  const QString texto = css(colorDe(colores, QStringLiteral("textoCuerpo")));
  dialogo->setStyleSheet(
      QStringLiteral(
          "QDialog{background:%1;} QLabel{color:%2;font-size:15px;}"
          "QLabel[rol=\"valor\"]{font-size:17px;font-weight:600;}"
          "QLabel[rol=\"leyenda\"]{font-size:13px;color:#5A6673;}"
          "QLineEdit,QComboBox,QDateEdit{font-size:16px;padding:6px 10px;border:2px solid "
          "#C5CED8;border-radius:8px;background:white;min-height:30px;color:#1E2A36;}"
          "QLineEdit:focus,QComboBox:focus,QDateEdit:focus{border-color:#1F6FB2;}"
          "QComboBox::drop-down,QDateEdit::drop-down{subcontrol-origin:padding;"
          "subcontrol-position:center right;width:40px;border:none;}"
          "QComboBox::down-arrow,QDateEdit::down-arrow{image:url(:/iconos/flechaCerrada.svg);"
          "width:22px;height:22px;}"
          "QComboBox QAbstractItemView{font-size:16px;} QComboBox QAbstractItemView::item{"
          "min-height:40px;}"
          "QLineEdit:disabled,QComboBox:disabled{background:#EEF1F4;color:#5A6673;}"
          "QLineEdit[invalido=\"true\"]{border-color:#C62828;background:#FFF4F4;}"
          "QPlainTextEdit{font-size:16px;border:2px solid #C5CED8;border-radius:8px;"
          "background:white;padding:6px;}"
          "QRadioButton{font-size:16px;spacing:10px;min-height:40px;}"
          "QRadioButton::indicator{width:26px;height:26px;}"
          "QTabWidget::pane{border:1px solid #D5DBE1;border-radius:8px;background:white;"
          "top:-1px;}"
          "QTabBar::tab{font-size:16px;padding:12px 28px;min-width:110px;background:#E4E9EE;"
          "border-top-left-radius:8px;border-top-right-radius:8px;margin-right:4px;}"
          "QTabBar::tab:selected{background:white;font-weight:600;}")
          .arg(fondo, texto) +
      extra);
  if (titulo) {
    titulo->setStyleSheet(QStringLiteral("font-size:24px;font-weight:700;color:%1;")
                              .arg(css(colorDe(colores, QStringLiteral("tituloFormulario2")))));
  }
}

void estiloBotones(std::initializer_list<QAbstractButton*> botones, const TListaColores& colores) {
  for (QAbstractButton* b : botones) {
    if (!b) continue;
    mini_cornerButtonStyle(b, colores);
    // Enter belongs to the field being typed in, never to a button that once had focus.
    if (auto* p = qobject_cast<QPushButton*>(b)) p->setAutoDefault(false);
    b->setMinimumWidth(std::max(b->minimumWidth(), 130));
  }
}

void u_agregaCampo(QGridLayout* g, int fila, int columna, const QString& leyenda, QWidget* campo,
                   int ancho) {
  auto* caja = new QVBoxLayout();
  caja->setSpacing(3);
  auto* l = new QLabel(leyenda);
  l->setProperty("rol", QStringLiteral("leyenda"));
  caja->addWidget(l);
  caja->addWidget(campo);
  g->addLayout(caja, fila, columna, 1, ancho);
}
