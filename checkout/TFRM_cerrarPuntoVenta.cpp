#include "checkout/TFRM_cerrarPuntoVenta.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "ui/TTecladoPantalla.h"
#include "ui/camposTexto.h"
#include "ui/recursosPantalla.h"
#include "util/utilerias.h"

TFRM_cerrarPuntoVenta::TFRM_cerrarPuntoVenta(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Punto de Venta"));
  setModal(true);
  construye();
}

TFRM_cerrarPuntoVenta::~TFRM_cerrarPuntoVenta() = default;

void TFRM_cerrarPuntoVenta::construye() {
  const TListaColores colores = getColores();
  setObjectName(QStringLiteral("cobro"));
  setStyleSheet(QStringLiteral(
      "#cobro{background:#F4F6F8;}"
      "QLineEdit{font-size:18px;padding:6px 8px;border:2px solid #C5CED8;border-radius:8px;"
      "background:white;}"
      "QLineEdit:focus{border-color:#1F6FB2;} QLineEdit:disabled{background:#E9EDF1;}"
      "QLabel{font-size:15px;}"));
  auto* raiz = new QHBoxLayout(this);
  raiz->setContentsMargins(0, 0, 0, 0);
  uPaneles = new QStackedWidget(this);
  raiz->addWidget(uPaneles);

  // Payment panel: the cash column on the left, the six rows (wide mode) on the right.
  auto* pago = new QWidget(uPaneles);
  auto* hp = new QHBoxLayout(pago);
  hp->setContentsMargins(12, 12, 12, 12);
  hp->setSpacing(12);
  auto* izquierda = new QWidget(pago);
  izquierda->setFixedWidth(kAnchoCompacto - 24);
  auto* vi = new QVBoxLayout(izquierda);
  vi->setContentsMargins(0, 0, 0, 0);
  vi->setSpacing(8);
  LBL_total = new QLabel(izquierda);
  LBL_total->setAlignment(Qt::AlignRight);
  LBL_total->setStyleSheet(QStringLiteral("font-size:28px;font-weight:700;color:#16324F;"));
  LBL_recibido = new QLabel(izquierda);
  LBL_devuelto = new QLabel(izquierda);
  for (QLabel* l : {LBL_recibido, LBL_devuelto}) {
    l->setAlignment(Qt::AlignRight);
    l->setStyleSheet(QStringLiteral("font-size:18px;"));
  }
  auto* totales = new QGridLayout();
  totales->addWidget(new QLabel(QStringLiteral("Total"), izquierda), 0, 0);
  totales->addWidget(LBL_total, 0, 1);
  totales->addWidget(new QLabel(QStringLiteral("Recibido"), izquierda), 1, 0);
  totales->addWidget(LBL_recibido, 1, 1);
  totales->addWidget(new QLabel(QStringLiteral("Devuelto"), izquierda), 2, 0);
  totales->addWidget(LBL_devuelto, 2, 1);
  vi->addLayout(totales);
  auto* he = new QHBoxLayout();
  BTN_efectivo = mini_botonTactil(QStringLiteral("Efectivo"), izquierda, colores);
  TXT_efectivo = new QLineEdit(izquierda);
  TXT_efectivo->setMaxLength(10);
  TXT_efectivo->setAlignment(Qt::AlignRight);
  auto* resetEfectivo = mini_botonTactil(QStringLiteral("X"), izquierda, colores);
  resetEfectivo->setFixedWidth(48);
  he->addWidget(BTN_efectivo);
  he->addWidget(TXT_efectivo, 1);
  he->addWidget(resetEfectivo);
  vi->addLayout(he);

  uTecladoNumerico = new QWidget(izquierda);
  auto* gk = new QGridLayout(uTecladoNumerico);
  gk->setSpacing(6);
  const QStringList teclas = {"7", "8", "9", "4", "5", "6", "1", "2", "3", ".", "0", "back"};
  for (int i = 0; i < teclas.size(); ++i) {
    auto* b = new QPushButton(teclas[i], uTecladoNumerico);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumHeight(44);
    b->setStyleSheet(QStringLiteral("QPushButton{font-size:20px;font-weight:600;background:white;"
                                    "border:1px solid #C5CED8;border-radius:8px;}"
                                    "QPushButton:pressed{background:#DDE6EE;}"));
    const QString t = teclas[i];
    connect(b, &QPushButton::clicked, this, [this, t] { teclaNumerica(t); });
    gk->addWidget(b, i / 3, i % 3);
  }
  auto* enter = mini_botonTactil(QStringLiteral("enter"), uTecladoNumerico, colores);
  connect(enter, &QPushButton::clicked, this, [this] { teclaNumerica(QStringLiteral("enter")); });
  gk->addWidget(enter, 4, 0, 1, 3);
  vi->addWidget(uTecladoNumerico);

  BTN_otrasFormas = mini_botonTactil(QStringLiteral("Otras Formas de Pago"), izquierda, colores);
  vi->addWidget(BTN_otrasFormas);
  auto* hb = new QHBoxLayout();
  BTN_aceptar = mini_botonTactil(QStringLiteral("Aceptar"), izquierda, colores);
  BTN_aceptar->setStyleSheet(BTN_aceptar->styleSheet() + QStringLiteral("QPushButton{background:#2E8B57;}"));
  auto* cancelar = mini_botonTactil(QStringLiteral("Cancelar"), izquierda, colores);
  hb->addWidget(cancelar);
  hb->addWidget(BTN_aceptar);
  vi->addLayout(hb);
  uHoldRequiereFactura = new QFrame(izquierda);
  auto* hf = new QHBoxLayout(uHoldRequiereFactura);
  CHK_requiereFactura = new QCheckBox(QStringLiteral("Requiere Factura"), uHoldRequiereFactura);
  hf->addWidget(CHK_requiereFactura);
  uHoldRequiereFactura->hide();  // the layout keeps it hidden
  vi->addWidget(uHoldRequiereFactura);
  auto* abreCajon = new QPushButton(QStringLiteral("abre cajon"), izquierda);
  abreCajon->hide();
  connect(abreCajon, &QPushButton::clicked, this, &TFRM_cerrarPuntoVenta::BTN_abreCajonClick);
  hp->addWidget(izquierda);

  uColumnaFilas = new QWidget(pago);
  auto* vr = new QVBoxLayout(uColumnaFilas);
  vr->setContentsMargins(0, 0, 0, 0);
  uPestanas = new QStackedWidget(uColumnaFilas);
  auto* filas = new QWidget(uPestanas);
  auto* gf = new QGridLayout(filas);
  gf->setSpacing(6);
  gf->addWidget(new QLabel(QStringLiteral("Forma de pago"), filas), 0, 0);
  gf->addWidget(new QLabel(QStringLiteral("Monto"), filas), 0, 1);
  gf->addWidget(new QLabel(QStringLiteral("Referencia"), filas), 0, 2);
  for (int i = 0; i < 6; ++i) {
    BTN_otro[i] = mini_botonTactil(QStringLiteral("Otro"), filas, colores);
    BTN_otro[i]->setMinimumWidth(130);
    TXT_otro[i] = new QLineEdit(filas);
    TXT_otro[i]->setMaxLength(10);
    TXT_otro[i]->setAlignment(Qt::AlignRight);
    TXT_referencia[i] = new QLineEdit(filas);
    TXT_referencia[i]->setMaxLength(50);
    IMG_verFormaPago[i] = new QLabel(filas);
    IMG_verFormaPago[i]->setPixmap(mini_imagen(QStringLiteral("view"), QSize(28, 28)));
    IMG_verFormaPago[i]->setFixedSize(32, 32);
    auto* reset = mini_botonTactil(QStringLiteral("X"), filas, colores);
    reset->setFixedWidth(44);
    gf->addWidget(BTN_otro[i], i + 1, 0);
    gf->addWidget(TXT_otro[i], i + 1, 1);
    gf->addWidget(TXT_referencia[i], i + 1, 2);
    gf->addWidget(IMG_verFormaPago[i], i + 1, 3);
    gf->addWidget(reset, i + 1, 4);
    connect(BTN_otro[i], &QPushButton::clicked, this, [this, i] { BTN_metodoClick(i + 1); });
    connect(reset, &QPushButton::clicked, this, [this, i] { BTN_resetOtroClick(i + 1); });
    for (QLineEdit* e : {TXT_otro[i], TXT_referencia[i]}) e->installEventFilter(this);
    connect(TXT_otro[i], &QLineEdit::textChanged, this, [this] { muestraOperacion(); });
  }
  auto* ocultar = mini_botonTactil(QStringLiteral("Ocultar"), filas, colores);
  gf->addWidget(ocultar, 7, 0);
  BTN_mercadoPago = mini_botonTactil(QStringLiteral("Mercado Pago"), filas, colores);
  gf->addWidget(new QLabel(QStringLiteral("Servicios Externos"), filas), 7, 1);
  gf->addWidget(BTN_mercadoPago, 7, 2, 1, 3);
  gf->setColumnStretch(2, 1);  // the reference takes what the wide screen has left
  LBL_detalleReferencia = new QLabel(filas);
  LBL_detalleReferencia->setWordWrap(true);
  gf->addWidget(LBL_detalleReferencia, 8, 0, 1, 5);
  uPestanas->addWidget(filas);
  auto* scroll = new QScrollArea(uPestanas);
  uAreaMetodos = new QWidget();
  scroll->setWidget(uAreaMetodos);
  uPestanas->addWidget(scroll);
  vr->addWidget(uPestanas);
  hp->addWidget(uColumnaFilas, 1);
  uPaneles->addWidget(pago);

  // Completion panel.
  auto* final = new QWidget(uPaneles);
  auto* vfin = new QVBoxLayout(final);
  vfin->setContentsMargins(24, 24, 24, 24);
  LBL_despedida = new QLabel(final);
  LBL_despedida->setAlignment(Qt::AlignCenter);
  LBL_despedida->setWordWrap(true);
  LBL_despedida->setStyleSheet(QStringLiteral("font-size:24px;font-weight:700;color:#16324F;"));
  hold_statusCarga = new QFrame(final);
  auto* hs = new QHBoxLayout(hold_statusCarga);
  IMG_statusCarga = new QLabel(hold_statusCarga);
  IMG_statusCarga->setFixedSize(40, 40);
  LBL_statusCarga = new QLabel(hold_statusCarga);
  LBL_statusCarga->setStyleSheet(QStringLiteral("font-size:17px;"));
  hs->addStretch();
  hs->addWidget(IMG_statusCarga);
  hs->addWidget(LBL_statusCarga);
  hs->addStretch();
  auto* cerrar = mini_botonTactil(QStringLiteral("Cerrar"), final, colores);
  cerrar->setMinimumHeight(60);
  vfin->addStretch();
  vfin->addWidget(LBL_despedida);
  vfin->addWidget(hold_statusCarga);
  vfin->addStretch();
  vfin->addWidget(cerrar);
  uPaneles->addWidget(final);

  uTeclado = new TTecladoPantalla(this);
  uTeclado->hide();

  for (int i = 0; i < TCobro::kFilas; ++i) {
    const QString n = QString::number(i + 1);
    nombra(QStringLiteral("Forma de pago ") + n, BTN_otro[i]);
    nombra(QStringLiteral("Monto ") + n, TXT_otro[i]);
    nombra(QStringLiteral("Referencia ") + n, TXT_referencia[i]);
    nombra(QStringLiteral("Detalle ") + n, IMG_verFormaPago[i]);
  }
  for (const auto& [nombre, control] : std::initializer_list<std::pair<const char*, QWidget*>>{
           {"Monto efectivo", TXT_efectivo},
           {"Efectivo", BTN_efectivo},
           {"Total", LBL_total},
           {"Recibido", LBL_recibido},
           {"Devuelto", LBL_devuelto},
           {"Detalle de referencia", LBL_detalleReferencia},
           {"Despedida", LBL_despedida},
           {"Estado de carga", LBL_statusCarga},
           {"Requiere Factura", CHK_requiereFactura},
           {"Mercado Pago", BTN_mercadoPago},
           {"Otras Formas de Pago", BTN_otrasFormas},
           {"Ocultar", ocultar},
           {"Aceptar", BTN_aceptar},
           {"Cancelar", cancelar},
           {"Cerrar", cerrar},
           {"Teclado", uTeclado}})
    nombra(QString::fromUtf8(nombre), control);

  connect(BTN_efectivo, &QPushButton::clicked, this, &TFRM_cerrarPuntoVenta::BTN_efectivoClick);
  connect(resetEfectivo, &QPushButton::clicked, this, &TFRM_cerrarPuntoVenta::BTN_resetEfectivoClick);
  connect(BTN_otrasFormas, &QPushButton::clicked, this, &TFRM_cerrarPuntoVenta::BTN_otrasFormasClick);
  connect(ocultar, &QPushButton::clicked, this, &TFRM_cerrarPuntoVenta::BTN_ocultarClick);
  connect(BTN_mercadoPago, &QPushButton::clicked, this, &TFRM_cerrarPuntoVenta::conectaMercadoPago);
  for (QLabel* icono : IMG_verFormaPago) icono->installEventFilter(this);
  connect(BTN_aceptar, &QPushButton::clicked, this, &TFRM_cerrarPuntoVenta::BTN_aceptarClick);
  connect(cancelar, &QPushButton::clicked, this, &TFRM_cerrarPuntoVenta::BTN_cancelarClick);
  connect(cerrar, &QPushButton::clicked, this, &TFRM_cerrarPuntoVenta::BTN_cerrarClick);
  connect(TXT_efectivo, &QLineEdit::textChanged, this, [this] { muestraOperacion(); });
  TXT_efectivo->installEventFilter(this);
  connect(uTeclado, &TTecladoPantalla::enter, uTeclado, &QWidget::hide);
  connect(uTeclado, &TTecladoPantalla::cerrar, this, [this] {
    uTeclado->hide();
    uTecladoNumerico->show();
  });
}

bool TFRM_cerrarPuntoVenta::eventFilter(QObject* obj, QEvent* ev) {
  if (ev->type() == QEvent::MouseButtonRelease &&
      obj->objectName().startsWith(QStringLiteral("componenteN"))) {
    seleccionaMetodo(obj->objectName().mid(11).toInt());
    return true;
  }
  if (ev->type() == QEvent::MouseButtonRelease) {
    const auto icono = std::find(IMG_verFormaPago.begin(), IMG_verFormaPago.end(), obj);
    if (icono != IMG_verFormaPago.end()) {
      busquedaManual(int(icono - IMG_verFormaPago.begin()) + 1);
      return true;
    }
  }
  auto* campo = qobject_cast<QLineEdit*>(obj);
  // A payment row without its method is disabled: nothing typed may reach it, not even keys
  // sent straight to the field.
  if (campo && !campo->isEnabled() &&
      (ev->type() == QEvent::KeyPress || ev->type() == QEvent::MouseButtonPress))
    return true;
  if (campo && ev->type() == QEvent::MouseButtonPress) enfocaCampo(campo);
  if (campo && ev->type() == QEvent::KeyPress) {
    const bool esMonto = campo == TXT_efectivo || std::find(TXT_otro.begin(), TXT_otro.end(), campo) != TXT_otro.end();
    const auto* k = static_cast<QKeyEvent*>(ev);
    if (campo == TXT_efectivo && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
      efectuarVenta();
      return true;
    }
    if (esMonto && !k->text().isEmpty()) {
      // Physical keys in amount fields go through the same money mask as the keypad.
      const QChar c = k->text()[0];
      if (k->key() == Qt::Key_Backspace)
        textoMascaraMoneda(campo, 8, QChar(), false, 11);
      else if (c.unicode() >= 32)
        textoMascaraMoneda(campo, 0, c, true, 11);
      return true;
    }
  }
  return QDialog::eventFilter(obj, ev);
}
