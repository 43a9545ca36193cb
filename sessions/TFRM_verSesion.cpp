#include "sessions/TFRM_verSesion.h"

#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

#include "grid/TGridControl.h"
#include "operaciones/sesiones.h"
#include "sessions/graficaBarras.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/listas/anchosTactiles.h"
#include "shell/programaPredeterminado.h"
#include "tickets/TFRM_tickerVer.h"
#include "ui/TGridVista.h"
#include "ui/TTecladoCampos.h"
#include "ui/TTecladoPantalla.h"
#include "ui/descargaPDFFactura.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

namespace {

const int kColumnaVer = 0;
const int kColumnaUUID = 5;

QString cantidadLegible(double v) { return u_floatToStr(std::round(v * 1000.0) / 1000.0); }

}  // namespace

TFRM_verSesion::TFRM_verSesion(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_verSesion"));
  setWindowTitle(tituloVentanaSuite());
  // Fits the station it runs on: on a wide one the charts stand beside the grids, on a
  // 1024-wide one under them, so the tickets grid keeps its columns readable.
  const QRect pantalla = QGuiApplication::primaryScreen()->availableGeometry();
  const bool ancha = pantalla.width() >= 1300;
  resize(qMin(1340, pantalla.width() - 24), qMin(720, pantalla.height() - 48));

  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(18, 12, 18, 12);
  raiz->setSpacing(8);
  auto* titulo = new QLabel(QStringLiteral("Sesión"), this);
  raiz->addWidget(titulo);

  auto* busqueda = new QHBoxLayout();
  auto* leyenda = new QLabel(QStringLiteral("No. Sesión"), this);
  leyenda->setProperty("rol", QStringLiteral("leyenda"));
  TXT_sesion = new QLineEdit(this);
  TXT_sesion->setObjectName(QStringLiteral("TXT_sesion"));
  TXT_sesion->setMaxLength(9);
  TXT_sesion->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), TXT_sesion));
  TXT_sesion->setFixedWidth(150);
  BTN_buscar = new QPushButton(QStringLiteral("Buscar"), this);
  LBL_sesion = new QLabel(this);
  LBL_sesion->setWordWrap(true);
  LBL_sesion->setStyleSheet(QStringLiteral("QLabel{font-size:14px;}"));
  busqueda->addWidget(leyenda);
  busqueda->addWidget(TXT_sesion);
  busqueda->addWidget(BTN_buscar);
  busqueda->addWidget(LBL_sesion, 1);
  raiz->addLayout(busqueda);

  auto* vistas = new QHBoxLayout();
  BTN_verTickets = new QPushButton(QStringLiteral("Ver Tickets"), this);
  BTN_verProductos = new QPushButton(QStringLiteral("Ver Productos"), this);
  BTN_verMetodoPago = new QPushButton(QStringLiteral("Ver Metodo Pago"), this);
  for (QPushButton* b : {BTN_verTickets, BTN_verProductos, BTN_verMetodoPago}) {
    b->setCheckable(true);
    vistas->addWidget(b);
  }
  vistas->addStretch();
  raiz->addLayout(vistas);

  auto* cuerpo = new QBoxLayout(ancha ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
  uPila = new QStackedWidget(this);
  GRD_main = nuevoGrid(&uGRD_mainControl, &uDelegadoTickets);
  GRD_productos = nuevoGrid(&uGRD_productosControl, &uDelegadoProductos);
  GRD_metodoPago = nuevoGrid(&uGRD_metodoPagoControl, &uDelegadoMetodos);
  TGridControl& t = *uGRD_mainControl;
  t.add(2, QStringLiteral("ver"), QString(), QStringLiteral("view"), 40, true);
  t.add(0, QStringLiteral("_operacionID"), QStringLiteral("puntoOperacion_id"), QString(), 50,
        false);
  t.add(0, QStringLiteral("Ticket NO."), QStringLiteral("puntoOperacion_ticketNo"), QString(), 80,
        true);
  t.add(0, QStringLiteral("Fecha Hora Operación"), QStringLiteral("puntoOperacion_fechaHora"),
        QString(), 160, true);
  t.add(0, QStringLiteral("Total"), QStringLiteral("puntoOperacion_total"), QString(), 80, true);
  t.add(0, QStringLiteral("UUID"), QStringLiteral("puntoOperacion_uuid"), QString(), 250, true);
  t.add(0, QStringLiteral("Fecha Hora Facturación"),
        QStringLiteral("puntoOperacion_facturadoFecha"), QString(), 160, true);
  TGridControl& p = *uGRD_productosControl;
  p.add(0, QStringLiteral("_productoID"), QStringLiteral("inventarioProducto_id"), QString(), 350,
        false);
  p.add(0, QStringLiteral("Producto"), QStringLiteral("inventarioProducto_nombre"), QString(), 350,
        true);
  p.add(0, QStringLiteral("Cantidad"), QStringLiteral("puntoOperacion_cantidad"), QString(), 90,
        true);
  p.add(0, QString(), QString(), QString(), 0, true);
  TGridControl& m = *uGRD_metodoPagoControl;
  m.add(0, QStringLiteral("_metodoPagoID"), QStringLiteral("puntoMetodoPago_id"), QString(), 350,
        false);
  m.add(0, QStringLiteral("Metodo de Pago"), QStringLiteral("Nombre"), QString(), 150, true);
  m.add(0, QStringLiteral("Total"), QStringLiteral("_total"), QString(), 150, true);
  m.add(0, QString(), QString(), QString(), 0, true);
  for (const char* c : {"Ticket NO.", "UUID"})
    uDelegadoTickets->setPintura(QString::fromUtf8(c), TPintura::Centro);
  uDelegadoTickets->setPintura(QStringLiteral("Fecha Hora Operación"), TPintura::Fecha);
  uDelegadoTickets->setPintura(QStringLiteral("Fecha Hora Facturación"), TPintura::Fecha);
  uDelegadoTickets->setPintura(QStringLiteral("Total"), TPintura::Moneda);
  uDelegadoTickets->setPintura(QStringLiteral("UUID"), TPintura::Enlace);
  uDelegadoProductos->setPintura(QStringLiteral("Cantidad"), TPintura::Centro);
  uDelegadoMetodos->setPintura(QStringLiteral("Total"), TPintura::Moneda);
  uAjustes = {QStringLiteral("UUID"), QStringLiteral("Producto"), QStringLiteral("Metodo de Pago")};
  for (int i = 0; i < uVistas.size(); ++i) {
    uVistas[i]->renuevaColumnas();
    uVistas[i]->ajustaColumna(uAjustes[i]);
  }
  GRD_main->viewport()->setCursor(Qt::PointingHandCursor);
  uPila->addWidget(GRD_main);
  uPila->addWidget(GRD_productos);
  uPila->addWidget(GRD_metodoPago);
  cuerpo->addWidget(uPila, 1);

  auto* zonaGraficas = new QWidget(this);
  auto* graficas =
      new QBoxLayout(ancha ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, zonaGraficas);
  graficas->setContentsMargins(0, 0, 0, 0);
  if (ancha)
    zonaGraficas->setFixedWidth(470);
  else
    zonaGraficas->setFixedHeight(230);
  uGraficaVentas = new TGraficaBarras(QStringLiteral("Ventas por hora"),
                                      QStringLiteral("Esta sesión no tiene ventas."),
                                      TGraficaBarras::Columnas, this);
  uGraficaMetodos = new TGraficaBarras(QStringLiteral("Totales por método de pago"),
                                       QStringLiteral("Esta sesión no tiene cobros."),
                                       TGraficaBarras::Horizontales, this);
  graficas->addWidget(uGraficaVentas, 1);
  graficas->addWidget(uGraficaMetodos, 1);
  cuerpo->addWidget(zonaGraficas);
  raiz->addLayout(cuerpo, 1);

  auto* pie = new QHBoxLayout();
  auto* leyendaTotal = new QLabel(QStringLiteral("Total"), this);
  leyendaTotal->setProperty("rol", QStringLiteral("leyenda"));
  LBL_total = new QLabel(this);
  LBL_total->setStyleSheet(QStringLiteral("QLabel{font-size:22px;font-weight:600;}"));
  BTN_imprimir = new QPushButton(QStringLiteral("Imprimir"), this);
  BTN_imprimir->setEnabled(false);
  BTN_aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  BTN_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  BTN_cancelar->hide();
  pie->addWidget(leyendaTotal);
  pie->addWidget(LBL_total);
  pie->addStretch();
  pie->addWidget(BTN_imprimir);
  pie->addWidget(BTN_aceptar);
  pie->addWidget(BTN_cancelar);
  raiz->addLayout(pie);

  for (QPushButton* b : {BTN_buscar, BTN_verTickets, BTN_verProductos, BTN_verMetodoPago,
                         BTN_imprimir, BTN_aceptar, BTN_cancelar})
    b->setAutoDefault(false);
  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, titulo, colores);
  estiloBotones({BTN_buscar, BTN_verTickets, BTN_verProductos, BTN_verMetodoPago, BTN_imprimir,
                 BTN_aceptar, BTN_cancelar},
                colores);
  uTeclado = new TTecladoCampos(this);
  uTeclado->agrega(TXT_sesion);

  connect(BTN_buscar, &QPushButton::clicked, this, &TFRM_verSesion::buscar);
  connect(TXT_sesion, &QLineEdit::returnPressed, this, &TFRM_verSesion::buscar);
  connect(uTeclado, &TTecladoCampos::enter, this, [this] { buscar(); });
  connect(BTN_verTickets, &QPushButton::clicked, this, [this] { muestraGrid(0); });
  connect(BTN_verProductos, &QPushButton::clicked, this, [this] { muestraGrid(1); });
  connect(BTN_verMetodoPago, &QPushButton::clicked, this, [this] { muestraGrid(2); });
  connect(BTN_aceptar, &QPushButton::clicked, this, &QDialog::accept);
  connect(BTN_cancelar, &QPushButton::clicked, this, &QDialog::reject);
  connect(GRD_main, &QTableView::clicked, this,
          [this](const QModelIndex& i) { GRD_mainMouseUp(i.row(), i.column()); });

  nombra(QStringLiteral("No. Sesión"), TXT_sesion);
  nombra(QStringLiteral("Buscar"), BTN_buscar);
  nombra(QStringLiteral("Sesión"), LBL_sesion);
  nombra(QStringLiteral("Ver Tickets"), BTN_verTickets);
  nombra(QStringLiteral("Ver Productos"), BTN_verProductos);
  nombra(QStringLiteral("Ver Metodo Pago"), BTN_verMetodoPago);
  nombra(QStringLiteral("Tickets"), GRD_main);
  nombra(QStringLiteral("Productos"), GRD_productos);
  nombra(QStringLiteral("Metodos de Pago"), GRD_metodoPago);
  nombra(QStringLiteral("Total"), LBL_total);
  nombra(QStringLiteral("Ventas por hora"), uGraficaVentas);
  nombra(QStringLiteral("Totales por método"), uGraficaMetodos);
  nombra(QStringLiteral("Imprimir"), BTN_imprimir);
  nombra(QStringLiteral("Aceptar"), BTN_aceptar);
  nombra(QStringLiteral("Cancelar"), BTN_cancelar);
  nombra(QStringLiteral("Teclado"), uTeclado->teclado());
  limpia();
}

TFRM_verSesion::~TFRM_verSesion() = default;

bool TFRM_verSesion::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::Resize)
    for (QTableView* t : uTablas)
      if (objeto == t->viewport()) ajustaAnchos();
  return QDialog::eventFilter(objeto, evento);
}

void TFRM_verSesion::ajustaAnchos() {
  const QList<TGridControl*> controles = {uGRD_mainControl, uGRD_productosControl,
                                          uGRD_metodoPagoControl};
  const QList<TDelegadoLista*> delegados = {uDelegadoTickets, uDelegadoProductos, uDelegadoMetodos};
  for (int i = 0; i < uTablas.size(); ++i)
    u_ajustaAnchosTactiles(uTablas[i], *controles[i], *delegados[i], uAjustes[i]);
}

QTableView* TFRM_verSesion::nuevoGrid(TGridControl** control, TDelegadoLista** delegado) {
  auto* g = new QTableView(this);
  uTablas << g;
  g->setSelectionMode(QAbstractItemView::NoSelection);
  g->setEditTriggers(QAbstractItemView::NoEditTriggers);
  g->setShowGrid(false);
  g->verticalHeader()->hide();
  g->setStyleSheet(
      QStringLiteral("QTableView{font-size:15px;border:1px solid #D5DBE1;background:white;}"
                     "QHeaderView::section{background:#EEF2F6;font-size:13px;font-weight:600;"
                     "padding:8px 1px;border:none;border-bottom:2px solid #C5CED8;}"));
  auto* c = new TGridControl(this);
  c->setAlturaFila(11);
  *control = c;
  // Installed before the grid binding's own: filters run last-installed first, so the columns
  // are shared after the binding has stretched its column.
  g->viewport()->installEventFilter(this);
  uVistas << new TGridVista(c, g, this);
  *delegado = new TDelegadoLista(
      c, [c](int columna, int fila) { return c->getCelda(columna, fila); }, this);
  g->setItemDelegate(*delegado);
  return g;
}

void TFRM_verSesion::limpia() {
  uSesion = 0;
  uTotal = 0;
  LBL_total->setText(u_formatoMoneda(0));
  LBL_sesion->clear();
  uGRD_mainControl->clearFilas();
  uGRD_productosControl->clearFilas();
  uGRD_metodoPagoControl->clearFilas();
  uGraficaVentas->muestra(TdatosGrafica());
  uGraficaMetodos->muestra(TdatosGrafica());
  ajustaAnchos();
}

void TFRM_verSesion::init() {
  limpia();
  TXT_sesion->clear();
  muestraGrid(0);
  u_ejecutaModal(this);
}

void TFRM_verSesion::initSesion(int sesion) {
  limpia();
  TXT_sesion->setText(QString::number(sesion));
  muestraGrid(0);
  buscar();
  u_ejecutaModal(this);
}

void TFRM_verSesion::muestraGrid(int cual) {
  uPila->setCurrentIndex(qBound(0, cual, 2));
  BTN_verTickets->setChecked(cual == 0);
  BTN_verProductos->setChecked(cual == 1);
  BTN_verMetodoPago->setChecked(cual == 2);
}

int TFRM_verSesion::gridAlFrente() const { return uPila->currentIndex(); }

void TFRM_verSesion::buscar() {
  int sesion = 0;
  const TResultado numero = leeNumeroSesion(TXT_sesion->text(), &sesion);
  if (!numero.ok) {
    // An empty field does nothing; anything else is told and the screen starts over.
    if (numero.mensaje.isEmpty()) return;
    limpia();
    u_muestra(numero);
    return;
  }
  TencabezadoSesion encabezado;
  const TResultado existe =
      buscaEncabezadoSesion(sesion, localSYS.getIdNegocio(), localSYS.getConexion(), &encabezado);
  if (!existe.ok) {
    limpia();
    u_muestra(existe);
    return;
  }
  uSesion = sesion;
  LBL_sesion->setText(describeSesion(encabezado));
  buscarTicketsporSesion(sesion);
  buscarProductosPorSesion(sesion);
  buscarTotalFormaPagoSesion(sesion);
  ajustaAnchos();
}

void TFRM_verSesion::buscarTicketsporSesion(int sesion) {
  uTotal = calculaSesionTotal(sesion, localSYS.getIdNegocio(), localSYS.getConexion());
  LBL_total->setText(u_formatoMoneda(uTotal));
  const CmidTierResponse r =
      buscarOperacionesporSesion(sesion, localSYS.getIdNegocio(), localSYS.getConexion());
  if (!r.ok()) return;
  uGRD_mainControl->setTabla(r);
  uGraficaVentas->muestra(ventasPorHora(r));
}

void TFRM_verSesion::buscarProductosPorSesion(int sesion) {
  const CmidTierResponse r = buscaOperacionesDetalleConsolidadoPorSesion(
      sesion, localSYS.getIdNegocio(), localSYS.getConexion());
  if (!r.ok()) return;
  uGRD_productosControl->setTabla(r);
  for (int f = 0; f < uGRD_productosControl->getRowCount(); ++f)
    uGRD_productosControl->setCelda(
        QStringLiteral("Cantidad"), f,
        cantidadLegible(uGRD_productosControl->getCeldaAsFloat(QStringLiteral("Cantidad"), f)));
}

void TFRM_verSesion::buscarTotalFormaPagoSesion(int sesion) {
  const CmidTierResponse r =
      buscaTotalesMetodoDePagoPorSesion(sesion, localSYS.getIdNegocio(), localSYS.getConexion());
  if (!r.ok()) return;
  uGRD_metodoPagoControl->clearFilas();
  for (int i = 0; i < r.getRowCount(); ++i)
    uGRD_metodoPagoControl->agregarRegistro({{QStringLiteral("_metodoPagoID"), r.getCelda(0, i)},
                                             {QStringLiteral("Metodo de Pago"), r.getCelda(1, i)},
                                             {QStringLiteral("Total"), r.getCelda(2, i)}});
  uGraficaMetodos->muestra(totalesPorMetodo(r));
}

void TFRM_verSesion::GRD_mainMouseUp(int fila, int columna) {
  const TGridControl& g = *uGRD_mainControl;
  if (g.getColumnCount() == 0 || fila < 0 || fila >= g.getRowCount()) return;
  if (columna == kColumnaVer) {
    const int operacion = g.getCeldaAsInt(QStringLiteral("_operacionID"), fila);
    if (operacion <= 0) return;
    TFRM_tickerVer ver(this);
    ver.init(operacion);
    buscar();
  } else if (columna == kColumnaUUID) {
    verPDF(fila);
  }
}

void TFRM_verSesion::verPDF(int fila) {
  uUltimoPDF.clear();
  const QString uuid = uGRD_mainControl->getCelda(QStringLiteral("UUID"), fila).trimmed();
  if (uuid.isEmpty()) return;
  // The credentials keep what they held when the lookup fails.
  consultaCredencialesUsuario(localSYS.getIdNegocio(), localSYS.getConexion(), uCredenciales);
  uUltimoPDF = u_aseguraPDFFactura(uuid, uCredenciales, localSYS);
  if (!uUltimoPDF.isEmpty()) abreConProgramaPredeterminado(uUltimoPDF);
}
