#include "TFRM_seleccionarProducto.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "grid/TGridControl.h"
#include "ui/TGridVista.h"
#include "ui/TTecladoPantalla.h"
#include "ui/mensajes.h"
#include "ui/recursosPantalla.h"

namespace {
QString css(quint32 argb) { return QStringLiteral("#%1").arg(argb & 0xFFFFFF, 6, 16, QChar('0')); }
}  // namespace

TFRM_seleccionarProducto::TFRM_seleccionarProducto(TsistemaDatos& sistema, QWidget* parent)
    : QDialog(parent), uSistema(sistema) {
  setObjectName(QStringLiteral("TFRM_seleccionarProducto"));
  setWindowTitle(QStringLiteral("Punto de Venta"));
  resize(900, 740);
  const TListaColores colores = getColores();
  setStyleSheet(
      QStringLiteral(
          "QDialog{background:%1;} QLabel{color:%2;}"
          "QLineEdit{font-size:18px;padding:8px 10px;border:2px solid #C5CED8;border-radius:8px;"
          "background:white;}"
          "QLineEdit:focus{border-color:#1F6FB2;}"
          "QTableView{font-size:15px;background:white;border:1px solid #D5DBE1;"
          "selection-background-color:#CFE0F1;selection-color:black;}"
          "QHeaderView::section{background:#EEF2F6;font-size:14px;font-weight:600;"
          "padding:8px 6px;border:none;border-bottom:2px solid #C5CED8;}")
          .arg(css(colorDe(colores, QStringLiteral("fondoSolido"))),
               css(colorDe(colores, QStringLiteral("textoCuerpo")))));
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(20, 16, 20, 16);
  raiz->setSpacing(10);
  auto* titulo = new QLabel(QStringLiteral("Seleccionar producto"), this);
  titulo->setStyleSheet(QStringLiteral("font-size:24px;font-weight:700;color:%1;")
                            .arg(css(colorDe(colores, QStringLiteral("tituloFormulario2")))));
  raiz->addWidget(titulo);
  auto* fila = new QHBoxLayout();
  TXT_buscar = new QLineEdit(this);
  TXT_buscar->setMaxLength(50);
  TXT_buscar->setMinimumHeight(48);
  TXT_buscar->setPlaceholderText(QStringLiteral("Nombre o código de barras"));
  BTN_buscar = new QPushButton(QStringLiteral("Buscar"), this);
  fila->addWidget(TXT_buscar, 1);
  fila->addWidget(BTN_buscar);
  raiz->addLayout(fila);

  GRD_main = new QTableView(this);
  GRD_main->setSelectionBehavior(QAbstractItemView::SelectRows);
  GRD_main->setSelectionMode(QAbstractItemView::SingleSelection);
  GRD_main->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GRD_main->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  uGrid = new TGridControl(this);
  auto* vista = new TGridVista(uGrid, GRD_main, this);
  uGrid->add(0, QStringLiteral("_productoID"), QStringLiteral("inventarioProducto_id"), QString(),
             0, false);
  uGrid->add(0, QStringLiteral("Clave"), QStringLiteral("inventarioProducto_clave"), QString(), 130,
             true);
  uGrid->add(0, QStringLiteral("Producto"), QStringLiteral("inventarioProducto_nombre"), QString(),
             380, true);
  uGrid->add(0, QStringLiteral("Categoría"), QStringLiteral("inventarioCategoria_etiqueta"),
             QString(), 180, true);
  uGrid->setAlturaFila(11);
  vista->renuevaColumnas();
  vista->ajustaColumna(QStringLiteral("Producto"));
  LBL_msg = new QLabel(this);
  LBL_msg->setAlignment(Qt::AlignCenter);
  LBL_msg->setStyleSheet(QStringLiteral("font-size:17px;color:#5A6673;"));
  LBL_msg->setAttribute(Qt::WA_TransparentForMouseEvents);
  LBL_msg->hide();
  auto* zona = new QGridLayout();
  zona->addWidget(GRD_main, 0, 0);
  zona->addWidget(LBL_msg, 0, 0, Qt::AlignCenter);
  raiz->addLayout(zona, 1);

  uTeclado = new TTecladoPantalla(this);
  raiz->addWidget(uTeclado);
  auto* botones = new QHBoxLayout();
  botones->addStretch();
  BTN_aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  BTN_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  botones->addWidget(BTN_aceptar);
  botones->addWidget(BTN_cancelar);
  raiz->addLayout(botones);
  for (QPushButton* b : {BTN_buscar, BTN_aceptar, BTN_cancelar}) {
    mini_cornerButtonStyle(b, colores);
    b->setAutoDefault(false);
    b->setMinimumWidth(130);
  }

  nombra(QStringLiteral("Nombre o código de barras"), TXT_buscar);
  nombra(QStringLiteral("Buscar"), BTN_buscar);
  nombra(QStringLiteral("Mensaje"), LBL_msg);
  nombra(QStringLiteral("Lista"), GRD_main);
  nombra(QStringLiteral("Aceptar"), BTN_aceptar);
  nombra(QStringLiteral("Cancelar"), BTN_cancelar);
  nombra(QStringLiteral("Teclado"), uTeclado);
  connect(BTN_buscar, &QPushButton::clicked, this, &TFRM_seleccionarProducto::buscar);
  connect(TXT_buscar, &QLineEdit::returnPressed, this, &TFRM_seleccionarProducto::buscar);
  connect(BTN_aceptar, &QPushButton::clicked, this, &TFRM_seleccionarProducto::BTN_aceptarClick);
  connect(BTN_cancelar, &QPushButton::clicked, this, &QDialog::reject);
  connect(GRD_main, &QTableView::clicked, this,
          [this](const QModelIndex& i) { seleccionaFila(i.row()); });
  connect(GRD_main, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
    seleccionaFila(i.row());
    BTN_aceptarClick();
  });
  connect(uTeclado, &TTecladoPantalla::caracter, TXT_buscar, &QLineEdit::insert);
  connect(uTeclado, &TTecladoPantalla::retroceso, TXT_buscar, &QLineEdit::backspace);
  connect(uTeclado, &TTecladoPantalla::enter, this, &TFRM_seleccionarProducto::buscar);
  connect(uTeclado, &TTecladoPantalla::cerrar, uTeclado, &QWidget::hide);
  TXT_buscar->installEventFilter(this);
  GRD_main->installEventFilter(this);
}

void TFRM_seleccionarProducto::buscar() {
  const QString texto = TXT_buscar->text().trimmed();
  const QVariant activos(true);
  // A scanned code names one product; anything else searches by name.
  CmidTierResponse r;
  if (!texto.isEmpty())
    r = filtraProductosPorcodigoBarras(texto, activos, uSistema.getIdNegocio(),
                                       uSistema.getConexion());
  if (!r.ok() || r.getRowCount() == 0)
    r = filtraProductosPorNombre(QStringLiteral("%") + texto + QStringLiteral("%"), activos,
                                 uSistema.getIdNegocio(), uSistema.getConexion());
  if (r.ok()) uGrid->setTabla(r);
  uFila = -1;
  GRD_main->clearSelection();
  if (uGrid->getRowCount() > 0) {
    LBL_msg->hide();
  } else {
    LBL_msg->setText(QStringLiteral("No hay elementos que mostrar"));
    LBL_msg->show();
    LBL_msg->raise();
  }
}

void TFRM_seleccionarProducto::seleccionaFila(int fila) {
  if (fila < 0 || fila >= uGrid->getRowCount()) return;
  uFila = fila;
  GRD_main->selectRow(fila);
}

void TFRM_seleccionarProducto::BTN_aceptarClick() {
  if (uFila < 0 || uFila >= uGrid->getRowCount()) return;
  uAceptado = true;
  accept();
}

TproductoSeleccionadoDescripcion TFRM_seleccionarProducto::ejecuta() {
  uAceptado = false;
  uFila = -1;
  buscar();
  TXT_buscar->setFocus();
  u_ejecutaModal(this);
  if (!uAceptado || uFila < 0 || uFila >= uGrid->getRowCount()) return {};
  return seleccionarProductoPorID(uGrid->getCeldaAsInt(QStringLiteral("_productoID"), uFila),
                                  uSistema);
}

bool TFRM_seleccionarProducto::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == TXT_buscar && evento->type() == QEvent::MouseButtonPress) uTeclado->show();
  if (objeto == GRD_main && evento->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(evento);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      seleccionaFila(GRD_main->currentIndex().row());
      BTN_aceptarClick();
      return true;
    }
  }
  if (objeto == GRD_main && evento->type() == QEvent::KeyRelease) {
    const auto* k = static_cast<QKeyEvent*>(evento);
    if (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down)
      seleccionaFila(GRD_main->currentIndex().row());
  }
  return QDialog::eventFilter(objeto, evento);
}

TproductoSeleccionadoDescripcion seleccionarProducto(TsistemaDatos& sistema) {
  TFRM_seleccionarProducto dialogo(sistema);
  return dialogo.ejecuta();
}
