#include "TFRM_espere.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/TEstiloComponentesBPLFrm.h"
#include "workers/esperaBanderas.h"

TFRM_espere* FRM_espere = nullptr;

// A turning arc: the screen must look alive while the station waits on the network.
class TIndicadorOcupado : public QWidget {
 public:
  explicit TIndicadorOcupado(QWidget* parent) : QWidget(parent) {
    setFixedSize(56, 56);
    uTimer.setInterval(30);
    QObject::connect(&uTimer, &QTimer::timeout, this, [this] {
      uAngulo = (uAngulo + 12) % 360;
      update();
    });
  }
  void arranca() { uTimer.start(); }
  void detiene() { uTimer.stop(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(5, 5, -5, -5);
    QPen fondo(QColor(0xDC, 0xE3, 0xEA), 6);
    p.setPen(fondo);
    p.drawEllipse(r);
    QPen arco(QColor::fromRgba(u_estiloComponentes().color(QStringLiteral("botonFondo"))), 6);
    arco.setCapStyle(Qt::RoundCap);
    p.setPen(arco);
    p.drawArc(r, -uAngulo * 16, 100 * 16);
  }

 private:
  QTimer uTimer;
  int uAngulo = 0;
};

TFRM_espere::TFRM_espere(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setWindowTitle(QStringLiteral("Punto de Venta"));
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(440, 190);
  setObjectName(QStringLiteral("FRM_espere"));
  setStyleSheet(QStringLiteral("#FRM_espere{background:#FFFFFF;border:2px solid %1;"
                               "border-radius:12px;}")
                    .arg(TEstiloComponentesBPLFrm::css(
                        u_estiloComponentes().color(QStringLiteral("menuSeparador")))));
  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(24, 24, 24, 24);
  l->setSpacing(18);
  uIndicador = new TIndicadorOcupado(this);
  auto* fila = new QHBoxLayout();
  fila->addStretch();
  fila->addWidget(uIndicador);
  fila->addStretch();
  l->addLayout(fila);
  LBL_mensaje = new QLabel(QStringLiteral("Procesando, espere un momento..."), this);
  LBL_mensaje->setAlignment(Qt::AlignCenter);
  LBL_mensaje->setStyleSheet(QStringLiteral("font-size:18px;font-weight:600;color:%1;")
                                 .arg(TEstiloComponentesBPLFrm::css(
                                     u_estiloComponentes().color(QStringLiteral("textoCuerpo")))));
  l->addWidget(LBL_mensaje);
  uMostrar = new QTimer(this);
  uMostrar->setSingleShot(true);
  connect(uMostrar, &QTimer::timeout, this, &TFRM_espere::muestra);
}

void TFRM_espere::closeEvent(QCloseEvent* e) {
  if (uProfundidad > 0) e->ignore();
}

// Before the screen appears nothing else may take a touch or a key: a second "Aceptar" would
// start the sale again inside its own wait. Once shown, its modality does the same.
bool TFRM_espere::eventFilter(QObject*, QEvent* evento) {
  return uProfundidad > 0 && !isVisible() && evento->isInputEvent();
}

void TFRM_espere::muestra() {
  if (uProfundidad == 0) return;
  centra();
  show();
  uIndicador->arranca();
}

QString TFRM_espere::texto() const { return LBL_mensaje->text(); }

void TFRM_espere::centra() {
  const QWidget* ventana = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
  QRect area;
  if (ventana && ventana != this) {
    area = ventana->frameGeometry();
  } else if (QScreen* s = QApplication::primaryScreen()) {
    area = s->availableGeometry();
  }
  if (area.isValid()) move(area.center() - rect().center());
}

void TFRM_espere::inicia(std::atomic<bool>* flag) { iniciaArray({flag}); }

void TFRM_espere::iniciaArray(const QVector<std::atomic<bool>*>& flags) {
  if (u_banderasLibres(flags)) return;
  if (uProfundidad++ == 0) {
    qApp->installEventFilter(this);
    if (uRetrasoMs > 0)
      uMostrar->start(uRetrasoMs);
    else
      muestra();
  }
  u_esperaBanderas(flags);
  if (--uProfundidad == 0) {
    uMostrar->stop();
    qApp->removeEventFilter(this);
    uIndicador->detiene();
    hide();
  }
}
