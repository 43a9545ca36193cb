#include "sale/TFRM_caja.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "operaciones/productos.h"
#include "operaciones/puntoVenta.h"
#include "sale/TBarraTactil.h"
#include "sale/TCampoRedondeado.h"
#include "sale/TFRM_cajaSeleccionarKit.h"
#include "sale/caja_delegado.h"
#include "sale/reglas/promociones.h"
#include "ui/TGridVista.h"
#include "ui/TTecladoPantalla.h"
#include "ui/mensajes.h"
#include "ui/recursosPantalla.h"
#include "util/utilerias.h"

namespace {

const QColor kFondo(0xF4, 0xF6, 0xF8);

QLabel* imagenClicable(const QString& nombre, QWidget* padre) {
  auto* l = new QLabel(padre);
  l->setFixedSize(56, 56);
  l->setPixmap(mini_imagen(nombre, QSize(48, 48)));
  l->setAlignment(Qt::AlignCenter);
  l->setCursor(Qt::PointingHandCursor);
  l->setStyleSheet(QStringLiteral("QLabel{background:#E9EEF3;border-radius:8px;}"));
  return l;
}

}  // namespace

TFRM_caja* FRM_caja() {
  static QPointer<TFRM_caja> forma;
  if (!forma) forma = new TFRM_caja();
  return forma;
}

TFRM_caja::TFRM_caja(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("Punto de Venta"));
  uVenta = std::make_unique<TLineasVenta>(localSYS);
  construye();
}

TFRM_caja::~TFRM_caja() { liberaTiles(); }

void TFRM_caja::construye() {
  const TListaColores colores = getColores();
  setObjectName(QStringLiteral("TFRM_caja"));
  setStyleSheet(
      QStringLiteral(
          "#TFRM_caja{background:%1;}"
          "QLineEdit{font-size:20px;padding:8px 10px;border:2px solid #C5CED8;border-radius:8px;"
          "background:white;}"
          "QLineEdit:focus{border-color:#1F6FB2;}"
          "#encabezado{background:#16324F;}"
          "#encabezado QLabel{color:white;font-size:17px;}"
          "#panelTotales{background:white;border-radius:10px;}"
          "#panelFlotante{background:white;border:2px solid #1F6FB2;border-radius:10px;}")
          .arg(kFondo.name()));

  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(0, 0, 0, 0);
  raiz->setSpacing(0);

  auto* encabezado = new QFrame(this);
  encabezado->setObjectName(QStringLiteral("encabezado"));
  encabezado->setFixedHeight(64);
  auto* he = new QHBoxLayout(encabezado);
  he->setContentsMargins(16, 8, 16, 8);
  uBannerImagen = new QLabel(QStringLiteral("<b style='font-size:22px'>Caja</b>"), encabezado);
  LBL_caja = new QLabel(encabezado);
  LBL_cajero = new QLabel(encabezado);
  auto* iniciar = mini_botonTactil(QStringLiteral("Iniciar"), encabezado, colores);
  auto* minimizar = mini_botonTactil(QStringLiteral("Minimizar"), encabezado, colores);
  he->addWidget(uBannerImagen);
  he->addSpacing(24);
  he->addWidget(new QLabel(QStringLiteral("Caja:"), encabezado));
  he->addWidget(LBL_caja);
  he->addSpacing(24);
  he->addWidget(new QLabel(QStringLiteral("Cajero:"), encabezado));
  he->addWidget(LBL_cajero);
  he->addStretch();
  he->addWidget(iniciar);
  he->addWidget(minimizar);
  raiz->addWidget(encabezado);

  auto* cuerpo = new QHBoxLayout();
  cuerpo->setContentsMargins(14, 12, 14, 12);
  cuerpo->setSpacing(14);
  raiz->addLayout(cuerpo, 1);

  auto* izquierda = new QVBoxLayout();
  izquierda->setSpacing(10);
  cuerpo->addLayout(izquierda, 1);
  auto* lectura = new QHBoxLayout();
  TXT_lectura = new TCampoRedondeado(this);
  TXT_lectura->setMaxLength(50);
  TXT_lectura->setPlaceholderText(QStringLiteral("Código de barras"));
  TXT_busquedaNombre = new TCampoRedondeado(this);
  TXT_busquedaNombre->setMaxLength(20);
  TXT_busquedaNombre->setPlaceholderText(QStringLiteral("Buscar por nombre"));
  auto* buscar = mini_botonTactil(QStringLiteral("Buscar"), this, colores);
  auto* buscarKit = mini_botonTactil(QStringLiteral("Buscar Kit"), this, colores);
  BTN_verPromocion = mini_botonTactil(QStringLiteral("Ver Promoción"), this, colores);
  BTN_verPromocion->hide();
  lectura->addWidget(TXT_lectura, 3);
  lectura->addWidget(TXT_busquedaNombre, 3);
  lectura->addWidget(buscar);
  lectura->addWidget(buscarKit);
  lectura->addWidget(BTN_verPromocion);
  izquierda->addLayout(lectura);

  // The results lie over the sale's lines, in the same place: showing them hides nothing, and
  // hiding them shows the lines again. Opaque, they keep the lines under them from being drawn.
  auto* paginas = new QWidget(this);
  auto* capas = new QGridLayout(paginas);
  capas->setContentsMargins(0, 0, 0, 0);
  GRD_main = new QTableView(paginas);
  GRD_main->setSelectionMode(QAbstractItemView::NoSelection);
  GRD_main->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GRD_main->setShowGrid(false);
  GRD_main->setFocusPolicy(Qt::NoFocus);
  // Installed before the grid binding's own: filters run last-installed first, so the columns
  // are shared after the binding has stretched "Descripción".
  GRD_main->viewport()->installEventFilter(this);
  GRD_main->horizontalHeader()->setStyleSheet(
      QStringLiteral("QHeaderView::section{background:#E3E8EE;font-size:15px;font-weight:600;"
                     "padding:6px 4px;border:none;}"));
  uVistaLineas = new TGridVista(&venta().lineas(), GRD_main, this);
  uVistaLineas->renuevaColumnas();
  uVistaLineas->ajustaColumna(QStringLiteral("Descripción"));
  uDelegado = new TCajaDelegado(&venta().lineas(), this);
  GRD_main->setItemDelegate(uDelegado);
  capas->addWidget(GRD_main, 0, 0);

  auto* resultados = new QWidget(paginas);
  uPaginaResultados = resultados;
  QPalette fondo = resultados->palette();
  fondo.setColor(QPalette::Window, kFondo);
  resultados->setPalette(fondo);
  resultados->setAutoFillBackground(true);
  auto* vr = new QVBoxLayout(resultados);
  // The tiles' frame lines up with the sale's lines, and its width keeps room for the
  // touch-sized scroll bar.
  QMargins margenes = vr->contentsMargins();
  margenes.setLeft(0);
  margenes.setRight(0);
  vr->setContentsMargins(margenes);
  LBL_sinResultados = new QLabel(QStringLiteral("No se encontraron resultados"), resultados);
  LBL_sinResultados->setStyleSheet(QStringLiteral("font-size:20px;color:#8A1C1C;"));
  BTN_cerrarBusqueda = mini_botonTactil(QStringLiteral("Cerrar Busqueda"), resultados, colores);
  auto* hr = new QHBoxLayout();
  hr->addWidget(LBL_sinResultados);
  hr->addStretch();
  hr->addWidget(BTN_cerrarBusqueda);
  vr->addLayout(hr);
  uScrollTiles = new QScrollArea(resultados);
  uScrollTiles->setWidgetResizable(false);
  uScrollTiles->setVerticalScrollBar(new TBarraTactil(Qt::Vertical));
  uScrollTiles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  uAreaTiles = new QWidget();
  uScrollTiles->setWidget(uAreaTiles);
  vr->addWidget(uScrollTiles, 1);
  capas->addWidget(resultados, 0, 0);
  resultados->raise();
  resultados->hide();
  izquierda->addWidget(paginas, 1);

  auto* derecha = new QFrame(this);
  derecha->setObjectName(QStringLiteral("panelTotales"));
  derecha->setFixedWidth(kAnchoTotales);
  uPanelTotales = derecha;
  auto* vd = new QVBoxLayout(derecha);
  vd->setContentsMargins(16, 16, 16, 16);
  vd->setSpacing(12);
  LBL_productoSeleccionado = new QLabel(derecha);
  LBL_productoSeleccionado->setWordWrap(true);
  LBL_productoSeleccionado->setMinimumHeight(56);
  LBL_productoSeleccionado->setStyleSheet(QStringLiteral("font-size:17px;font-weight:600;"));
  vd->addWidget(new QLabel(QStringLiteral("Producto seleccionado"), derecha));
  vd->addWidget(LBL_productoSeleccionado);
  auto* hc = new QHBoxLayout();
  auto* menos = imagenClicable(QStringLiteral("menos"), derecha);
  menos->setObjectName(QStringLiteral("Image2"));
  auto* mas = imagenClicable(QStringLiteral("mas"), derecha);
  mas->setObjectName(QStringLiteral("Image1"));
  TXT_cantidad = new QLineEdit(derecha);
  TXT_cantidad->setMaxLength(10);
  TXT_cantidad->setAlignment(Qt::AlignCenter);
  TXT_cantidad->setPlaceholderText(QStringLiteral("Cantidad"));
  // Between the two buttons of a 1024 station the field is narrow: less side padding keeps its
  // placeholder whole.
  TXT_cantidad->setStyleSheet(QStringLiteral("QLineEdit{padding-left:2px;padding-right:2px;}"));
  hc->addWidget(menos);
  hc->addWidget(TXT_cantidad, 1);
  hc->addWidget(mas);
  vd->addLayout(hc);
  auto* eliminar = mini_botonTactil(QStringLiteral("Eliminar"), derecha, colores);
  vd->addWidget(eliminar);
  vd->addStretch();
  LBL_descuento = new QLabel(derecha);
  LBL_impuestos = new QLabel(derecha);
  LBL_total = new QLabel(derecha);
  // Fonts set by ajustaFuentesTotales: an amount of twelve digits still fits the panel.
  for (QLabel* l : {LBL_descuento, LBL_impuestos}) {
    l->setAlignment(Qt::AlignRight);
    l->setWordWrap(true);
    l->setStyleSheet(QStringLiteral("color:#3A4754;"));
    vd->addWidget(l);
  }
  LBL_total->setAlignment(Qt::AlignRight);
  LBL_total->setWordWrap(true);
  LBL_total->setStyleSheet(QStringLiteral("color:#16324F;"));
  vd->addWidget(LBL_total);
  BTN_cerrarVenta = mini_botonTactil(QStringLiteral("Aceptar"), derecha, colores);
  BTN_cerrarVenta->setMinimumHeight(72);
  BTN_cerrarVenta->setStyleSheet(BTN_cerrarVenta->styleSheet() +
                                 QStringLiteral("QPushButton{background:#2E8B57;font-size:22px;}"
                                                "QPushButton:disabled{background:#B8C2CC;}"));
  vd->addWidget(BTN_cerrarVenta);
  cuerpo->addWidget(derecha);

  // Pop-up panels float over the grid.
  PNL_monitor = new QFrame(this);
  PNL_monitor->setObjectName(QStringLiteral("panelFlotante"));
  PNL_monitor->resize(460, 300);
  auto* vm = new QVBoxLayout(PNL_monitor);
  auto* tituloMonitor = new QLabel(QStringLiteral("<b>Precios por volumen</b>"), PNL_monitor);
  GRD_monitor = new QTableView(PNL_monitor);
  GRD_monitor->setSelectionMode(QAbstractItemView::NoSelection);
  GRD_monitor->setEditTriggers(QAbstractItemView::NoEditTriggers);
  auto* vistaMonitor = new TGridVista(&venta().monitor(), GRD_monitor, this);
  vistaMonitor->renuevaColumnas();
  // The declared widths are the suite's units; a touch panel needs them doubled.
  for (int c = 0; c < venta().monitor().getColumnCount(); ++c)
    GRD_monitor->setColumnWidth(c, venta().monitor().columna(c).ancho * 2);
  GRD_monitor->verticalHeader()->setDefaultSectionSize(36);
  GRD_monitor->setStyleSheet(QStringLiteral("font-size:15px;"));
  GRD_monitor->setItemDelegate(new TMonitorDelegado(&venta().monitor(), this));
  auto* cerrarMonitor = mini_botonTactil(QStringLiteral("Cerrar"), PNL_monitor, colores);
  vm->addWidget(tituloMonitor);
  vm->addWidget(GRD_monitor, 1);
  vm->addWidget(cerrarMonitor);
  PNL_monitor->hide();

  PNL_promocion = new QFrame(this);
  PNL_promocion->setObjectName(QStringLiteral("panelFlotante"));
  PNL_promocion->resize(420, 300);
  auto* vp = new QVBoxLayout(PNL_promocion);
  LBL_promocionDesde = new QLabel(PNL_promocion);
  LBL_promocionHasta = new QLabel(PNL_promocion);
  LBL_promocionDescripcion = new QLabel(PNL_promocion);
  LBL_promocionDescripcion->setWordWrap(true);
  LBL_promocionDescripcion->setStyleSheet(QStringLiteral("font-size:16px;"));
  auto* hv = new QHBoxLayout();
  hv->addWidget(new QLabel(QStringLiteral("Desde:"), PNL_promocion));
  hv->addWidget(LBL_promocionDesde, 1);
  hv->addWidget(new QLabel(QStringLiteral("Hasta:"), PNL_promocion));
  hv->addWidget(LBL_promocionHasta, 1);
  vp->addWidget(new QLabel(QStringLiteral("<b>Promoción</b>"), PNL_promocion));
  vp->addLayout(hv);
  vp->addWidget(LBL_promocionDescripcion, 1);
  auto* hb = new QHBoxLayout();
  auto* eliminarPromo = mini_botonTactil(QStringLiteral("Eliminar"), PNL_promocion, colores);
  auto* cerrarPromo = mini_botonTactil(QStringLiteral("Cerrar"), PNL_promocion, colores);
  hb->addWidget(eliminarPromo);
  hb->addWidget(cerrarPromo);
  vp->addLayout(hb);
  PNL_promocion->hide();

  uTeclado = new TTecladoPantalla(this);
  uTeclado->hide();

  for (const auto& [nombre, control] : std::initializer_list<std::pair<const char*, QWidget*>>{
           {"Código de barras", TXT_lectura},
           {"Buscar por nombre", TXT_busquedaNombre},
           {"Cantidad", TXT_cantidad},
           {"Iniciar", iniciar},
           {"Minimizar", minimizar},
           {"Buscar", buscar},
           {"Buscar Kit", buscarKit},
           {"Ver Promoción", BTN_verPromocion},
           {"Cerrar Busqueda", BTN_cerrarBusqueda},
           {"Eliminar", eliminar},
           {"Aceptar", BTN_cerrarVenta},
           {"Más", mas},
           {"Menos", menos},
           {"Caja", LBL_caja},
           {"Cajero", LBL_cajero},
           {"Total", LBL_total},
           {"Descuento", LBL_descuento},
           {"Impuestos", LBL_impuestos},
           {"Producto seleccionado", LBL_productoSeleccionado},
           {"Sin resultados", LBL_sinResultados},
           {"Precios por volumen", PNL_monitor},
           {"Cerrar precios", cerrarMonitor},
           {"Promoción", PNL_promocion},
           {"Desde", LBL_promocionDesde},
           {"Hasta", LBL_promocionHasta},
           {"Detalle de la promoción", LBL_promocionDescripcion},
           {"Eliminar promoción", eliminarPromo},
           {"Cerrar promoción", cerrarPromo},
           {"Líneas", GRD_main},
           {"Precios", GRD_monitor},
           {"Barra de resultados", uScrollTiles->verticalScrollBar()},
           {"Teclado", uTeclado}})
    nombra(QString::fromUtf8(nombre), control);

  connect(iniciar, &QPushButton::clicked, this, &TFRM_caja::BTN_iniciarClick);
  connect(minimizar, &QPushButton::clicked, this, &TFRM_caja::BTN_minimizarClick);
  connect(buscar, &QPushButton::clicked, this, [this] {
    ocultaPaneles();
    buscarPorNombre();
  });
  connect(buscarKit, &QPushButton::clicked, this, &TFRM_caja::BTN_buscarKitClick);
  connect(BTN_verPromocion, &QPushButton::clicked, this, &TFRM_caja::BTN_verPromocionClick);
  connect(BTN_cerrarBusqueda, &QPushButton::clicked, this, &TFRM_caja::BTN_cerrarBusquedaClick);
  connect(eliminar, &QPushButton::clicked, this, &TFRM_caja::BTN_eliminarClick);
  connect(BTN_cerrarVenta, &QPushButton::clicked, this, &TFRM_caja::BTN_cerrarVentaClick);
  connect(cerrarMonitor, &QPushButton::clicked, this, [this] {
    PNL_monitor->hide();
    vuelveALectura();
  });
  connect(cerrarPromo, &QPushButton::clicked, this, [this] {
    PNL_promocion->hide();
    vuelveALectura();
  });
  connect(eliminarPromo, &QPushButton::clicked, this, &TFRM_caja::eliminarPromocionClick);
  connect(GRD_main, &QTableView::clicked, this, [this](const QModelIndex& i) {
    GRD_mainMouseUp(i.row(), i.column(), mapFromGlobal(QCursor::pos()));
  });
  connect(TXT_busquedaNombre, &QLineEdit::returnPressed, this, &TFRM_caja::buscarPorNombre);
  connect(TXT_cantidad, &QLineEdit::returnPressed, this, &TFRM_caja::cambiaCantidad);
  connect(uTeclado, &TTecladoPantalla::enter, this, [this] {
    if (uControlSeleccionado == 1) buscarPorNombre();
    ocultaTeclados();
  });
  connect(uTeclado, &TTecladoPantalla::cerrar, this, [this] {
    ocultaTeclados();
    vuelveALectura();
  });
  // Touch buttons never keep the focus: the reading field holds it between actions.
  for (QAbstractButton* b : findChildren<QAbstractButton*>()) b->setFocusPolicy(Qt::NoFocus);
  for (QObject* o : {static_cast<QObject*>(TXT_lectura), static_cast<QObject*>(TXT_busquedaNombre),
                     static_cast<QObject*>(TXT_cantidad), static_cast<QObject*>(mas),
                     static_cast<QObject*>(menos)})
    o->installEventFilter(this);
  uScrollTiles->viewport()->installEventFilter(this);
  connect(uScrollTiles->verticalScrollBar(), &QScrollBar::valueChanged, this,
          &TFRM_caja::muestraTilesALaVista);
}

bool TFRM_caja::eventFilter(QObject* obj, QEvent* ev) {
  if (ev->type() == QEvent::Resize && GRD_main && obj == GRD_main->viewport()) {
    ajustaColumnas();
  } else if (ev->type() == QEvent::Resize && uScrollTiles && obj == uScrollTiles->viewport()) {
    acomodaTiles();
  } else if (ev->type() == QEvent::KeyRelease && obj == TXT_lectura) {
    TXT_lecturaKeyUp();
  } else if (ev->type() == QEvent::KeyPress && obj == TXT_cantidad) {
    const auto* k = static_cast<QKeyEvent*>(ev);
    const QString t = k->text();
    if (!t.isEmpty() && !u_soloNumeros(t[0])) return true;  // digits only
  } else if (ev->type() == QEvent::MouseButtonPress) {
    if (obj == TXT_lectura) {
      ocultaPaneles();
    } else if (obj == TXT_busquedaNombre) {
      ocultaPaneles();
      uControlSeleccionado = 1;
      muestraTeclado(TXT_busquedaNombre);
    }
  } else if (ev->type() == QEvent::MouseButtonRelease) {
    const QString nombre = obj->objectName();
    // A tile's index is the text after its 11-character name prefix.
    if (nombre.startsWith(QStringLiteral("componenteN"))) {
      seleccionaTile(nombre.mid(11).toInt());
      return true;
    }
    if (obj->objectName() == QStringLiteral("Image1")) Image1Click();
    if (obj->objectName() == QStringLiteral("Image2")) Image2Click();
  }
  return QWidget::eventFilter(obj, ev);
}
