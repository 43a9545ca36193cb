#include "returns/TFRM_devolucion.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QVBoxLayout>

#include "context/TsistemaDatos.h"
#include "shell/listas/TDelegadoLista.h"
#include "ui/TFRM_capturaDevolucion.h"
#include "ui/TFRM_facturar.h"
#include "ui/TGridVista.h"
#include "ui/TTecladoCampos.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

namespace {

// A value of the sale's panel. Long names wrap instead of widening the screen past a
// 1024-wide station.
QLabel* valor(QWidget* padre, bool ajusta = true) {
  auto* l = new QLabel(padre);
  l->setProperty("rol", QStringLiteral("valor"));
  l->setTextFormat(Qt::PlainText);
  if (ajusta) {
    l->setWordWrap(true);
    l->setMinimumWidth(90);
    l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  }
  return l;
}

const char* kEstiloGrid =
    "QTableView{font-size:15px;border:1px solid #D5DBE1;background:white;}"
    "QHeaderView::section{background:#EEF2F6;color:#2B2B2B;font-size:14px;font-weight:600;"
    "padding:8px 6px;border:none;border-bottom:2px solid #C5CED8;}"
    "QLabel#LBL_noFacturada{color:#B23B3B;font-size:14px;}"
    "QLabel#LBL_msg{color:#B23B3B;font-size:16px;font-weight:600;}";

}  // namespace

TFRM_devolucion::TFRM_devolucion(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_devolucion"));
  construye();
  nuevoDocumento();
  uEmisor = [this](int ticketID, const datosFacturar& datos) { return emiteNota(ticketID, datos); };
}

TFRM_devolucion::~TFRM_devolucion() { desligaDocumento(); }

void TFRM_devolucion::desligaDocumento() {
  delete uVista;
  uVista = nullptr;
  GRD_main->setModel(nullptr);
}

void TFRM_devolucion::nuevoDocumento() {
  desligaDocumento();
  uDocumento = std::make_unique<TdocumentoDevolucion>(localSYS);
  TGridControl& g = uDocumento->lineas();
  g.setAlturaFila(11);
  uVista = new TGridVista(&g, GRD_main, this);
  uVista->renuevaColumnas();
  // Headers are drawn at 14 px bold: no column is narrower than its title.
  QFont negrita = GRD_main->font();
  negrita.setPixelSize(14);
  negrita.setBold(true);
  const QFontMetrics medida(negrita);
  for (int c = 0; c < g.getColumnCount(); ++c)
    if (g.columna(c).visible)
      GRD_main->setColumnWidth(
          c, std::max(g.columna(c).ancho, medida.horizontalAdvance(g.columna(c).nombre) + 28));
  uVista->ajustaColumna(QStringLiteral("Descripción"));
  delete uDelegado;
  uDelegado = new TDelegadoLista(
      &g, [&g](int c, int f) { return g.getCelda(c, f); }, this);
  for (const char* columna : {"Cantidad", "Devuelto", "Devolución"})
    uDelegado->setPintura(QString::fromUtf8(columna), TPintura::Derecha);
  GRD_main->setItemDelegate(uDelegado);
}

void TFRM_devolucion::construye() {
  resize(1000, 700);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(22, 16, 22, 16);
  raiz->setSpacing(10);
  LBL_titulo = new QLabel(QStringLiteral("Devolución"), this);
  raiz->addWidget(LBL_titulo);

  auto* arriba = new QGridLayout();
  arriba->setHorizontalSpacing(22);
  arriba->setVerticalSpacing(4);
  auto* ticket = new QWidget(this);
  auto* h = new QHBoxLayout(ticket);
  h->setContentsMargins(0, 0, 0, 0);
  TXT_ticketNo = new QLineEdit(ticket);
  TXT_ticketNo->setObjectName(QStringLiteral("TXT_ticketNo"));
  TXT_ticketNo->setMaxLength(9);
  TXT_ticketNo->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("\\d{0,9}")), TXT_ticketNo));
  TXT_ticketNo->setMinimumWidth(150);
  BTN_buscar = new QPushButton(QStringLiteral("Buscar"), ticket);
  h->addWidget(TXT_ticketNo, 1);
  h->addWidget(BTN_buscar);
  u_agregaCampo(arriba, 0, 0, QStringLiteral("Ticket #"), ticket);
  LBL_vendedor = valor(this);
  LBL_fechaVenta = valor(this);
  LBL_almacen = valor(this);
  LBL_cliente = valor(this);
  LBL_rfc = valor(this);
  u_agregaCampo(arriba, 0, 1, QStringLiteral("Vendedor"), LBL_vendedor);
  u_agregaCampo(arriba, 0, 2, QStringLiteral("Fecha Venta"), LBL_fechaVenta);
  u_agregaCampo(arriba, 0, 3, QStringLiteral("Almacén"), LBL_almacen);
  u_agregaCampo(arriba, 1, 1, QStringLiteral("Cliente"), LBL_cliente, 2);
  u_agregaCampo(arriba, 1, 3, QStringLiteral("RFC: "), LBL_rfc);
  arriba->setColumnStretch(1, 1);
  arriba->setColumnStretch(2, 1);
  arriba->setColumnStretch(3, 1);
  raiz->addLayout(arriba);

  GRD_main = new QTableView(this);
  GRD_main->setObjectName(QStringLiteral("GRD_main"));
  GRD_main->setSelectionMode(QAbstractItemView::NoSelection);
  GRD_main->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GRD_main->setShowGrid(false);
  GRD_main->setWordWrap(false);
  GRD_main->horizontalHeader()->setHighlightSections(false);
  GRD_main->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  GRD_main->viewport()->installEventFilter(this);
  raiz->addWidget(GRD_main, 1);

  auto* totales = new QHBoxLayout();
  LBL_msg = new QLabel(this);
  LBL_msg->setObjectName(QStringLiteral("LBL_msg"));
  LBL_msg->setWordWrap(true);
  totales->addWidget(LBL_msg, 1);
  LBL_subtotal = valor(this, false);
  LBL_descuento = valor(this, false);
  LBL_total = valor(this, false);
  for (auto [leyenda, etiqueta] :
       {std::pair{"Subtotal", LBL_subtotal}, std::pair{"Descuento", LBL_descuento},
        std::pair{"Total", LBL_total}}) {
    auto* l = new QLabel(QString::fromUtf8(leyenda), this);
    l->setProperty("rol", QStringLiteral("leyenda"));
    totales->addSpacing(14);
    totales->addWidget(l);
    totales->addWidget(etiqueta);
  }
  raiz->addLayout(totales);

  auto* tipos = new QHBoxLayout();
  RAD_cambioFisico = new QRadioButton(QStringLiteral("cambio físico"), this);
  RAD_notaCredito = new QRadioButton(QStringLiteral("nota de crédito"), this);
  uTipos = new QButtonGroup(this);
  uTipos->addButton(RAD_cambioFisico, DEVOLUCION_CAMBIO_FISICO);
  uTipos->addButton(RAD_notaCredito, DEVOLUCION_NOTA_CREDITO);
  LBL_noFacturada = new QLabel(
      QStringLiteral("La venta no esta facturada, no es posible realizar nota de crédito."), this);
  LBL_noFacturada->setObjectName(QStringLiteral("LBL_noFacturada"));
  LBL_noFacturada->setWordWrap(true);
  BTN_aceptarDevolucion = new QPushButton(QStringLiteral("Aceptar Devolución"), this);
  BTN_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  tipos->addWidget(RAD_cambioFisico);
  tipos->addSpacing(12);
  tipos->addWidget(RAD_notaCredito);
  tipos->addSpacing(12);
  tipos->addWidget(LBL_noFacturada, 1);
  tipos->addWidget(BTN_aceptarDevolucion);
  tipos->addWidget(BTN_cancelar);
  raiz->addLayout(tipos);

  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, LBL_titulo, colores, QString::fromLatin1(kEstiloGrid));
  estiloBotones({BTN_buscar, BTN_aceptarDevolucion, BTN_cancelar}, colores);
  BTN_aceptarDevolucion->setMinimumWidth(200);
  uTeclado = new TTecladoCampos(this);
  uTeclado->agrega(TXT_ticketNo);
  connect(uTeclado, &TTecladoCampos::enter, this, [this](QWidget*) { buscar(); });
  connect(TXT_ticketNo, &QLineEdit::returnPressed, this, &TFRM_devolucion::buscar);
  connect(BTN_buscar, &QPushButton::clicked, this, &TFRM_devolucion::buscar);
  connect(BTN_aceptarDevolucion, &QPushButton::clicked, this,
          &TFRM_devolucion::BTN_aceptarDevolucionClick);
  connect(BTN_cancelar, &QPushButton::clicked, this, &TFRM_devolucion::BTN_cancelarClick);
}

void TFRM_devolucion::init() {
  TXT_ticketNo->clear();
  nuevoDocumento();
  uResultado = TresultadoDevolucion();
  uAceptada = false;
  muestraMensaje(QString());
  limpiaVenta();
  TXT_ticketNo->setFocus();
  u_ejecutaModal(this);
  uTeclado->oculta();
}

void TFRM_devolucion::limpiaVenta() {
  for (QLabel* l : {LBL_vendedor, LBL_fechaVenta, LBL_almacen, LBL_cliente, LBL_rfc, LBL_subtotal,
                    LBL_descuento, LBL_total})
    l->clear();
  LBL_noFacturada->hide();
  uTipos->setExclusive(false);
  RAD_cambioFisico->setChecked(false);
  RAD_notaCredito->setChecked(false);
  uTipos->setExclusive(true);
  RAD_cambioFisico->setEnabled(true);
  RAD_notaCredito->setEnabled(true);
}

void TFRM_devolucion::muestraMensaje(const QString& texto) { LBL_msg->setText(texto); }

void TFRM_devolucion::escribeTicket(const QString& texto) { TXT_ticketNo->setText(texto); }

void TFRM_devolucion::buscar() {
  uTeclado->oculta();
  const QString texto = TXT_ticketNo->text().trimmed();
  if (texto.isEmpty()) return;
  muestraMensaje(QString());
  limpiaVenta();
  muestraMensaje(uDocumento->buscar(texto));
  if (uDocumento->cargado()) muestraVenta();
  TXT_ticketNo->selectAll();
  TXT_ticketNo->setFocus();
}

void TFRM_devolucion::muestraVenta() {
  const TventaDevolucion& v = uDocumento->venta();
  LBL_vendedor->setText(v.vendedor);
  LBL_fechaVenta->setText(v.fechaVenta);
  LBL_almacen->setText(v.almacenNombre);
  LBL_cliente->setText(v.receptorNombre);
  LBL_rfc->setText(v.receptorRfc);
  LBL_subtotal->setText(u_formatoMoneda(v.subtotal));
  LBL_descuento->setText(u_formatoMoneda(v.descuento));
  LBL_total->setText(u_formatoMoneda(v.total));
  if (!v.facturada) {
    LBL_noFacturada->show();
    RAD_cambioFisico->setChecked(true);
    RAD_cambioFisico->setEnabled(false);
    RAD_notaCredito->setEnabled(false);
  } else if (uDocumento->notaPendiente() > 0) {
    RAD_notaCredito->setChecked(true);
    RAD_cambioFisico->setEnabled(false);
    RAD_notaCredito->setEnabled(false);
  }
}

bool TFRM_devolucion::eligeTipo(int tipo) {
  QAbstractButton* b = uTipos->button(tipo);
  if (!b || !b->isEnabled()) return false;
  b->setChecked(true);
  return true;
}

int TFRM_devolucion::tipoElegido() const {
  const int id = uTipos->checkedId();
  return id < 0 ? 0 : id;
}

bool TFRM_devolucion::tiposHabilitados() const {
  return RAD_cambioFisico->isEnabled() || RAD_notaCredito->isEnabled();
}

void TFRM_devolucion::capturaDevolucion(int fila) {
  const TinicioCaptura inicio = uDocumento->preparaCaptura(fila, tipoElegido());
  if (!inicio.ok) {
    if (!inicio.mensaje.isEmpty()) u_mensaje(inicio.mensaje);
    return;
  }
  TFRM_capturaDevolucion dialogo(this);
  const TcommCapturaDevolucion c = dialogo.init(inicio.captura);
  if (!c.ok) return;
  const QString error = uDocumento->capturaLinea(fila, c);
  if (!error.isEmpty()) u_mensaje(error);
}

void TFRM_devolucion::BTN_aceptarDevolucionClick() {
  const QString error = uDocumento->validaAceptacion(tipoElegido());
  if (!error.isEmpty()) {
    u_mensaje(error);
    return;
  }
  if (!u_confirma(QStringLiteral(
          "¿Realizar devolución?\n\rCompruebe que la información capturada sea correcta ")))
    return;
  uResultado = aceptaDevolucion(*uDocumento, tipoElegido(), uEmisor, localSYS.getConexion(),
                                localSYS.getIdNegocio());
  uAceptada = true;
  for (const QString& m : uResultado.mensajes) u_mensaje(m);
  accept();
}

void TFRM_devolucion::BTN_cancelarClick() { reject(); }

TemisionNota TFRM_devolucion::emiteNota(int ticketID, const datosFacturar& datos) {
  TFRM_facturar facturar(this);
  TemisionNota e;
  e.ok = facturar.initPuntoVentaNotaDeCredito(ticketID, datos, localSYS);
  e.uuid = facturar.uuidFactura();
  e.incierta = !e.ok && facturar.timbradoSinConfirmar();
  return e;
}

QString TFRM_devolucion::textoMensaje() const { return LBL_msg->text(); }

bool TFRM_devolucion::notaNoFacturadaVisible() const { return LBL_noFacturada->isVisibleTo(this); }

QMap<QString, QString> TFRM_devolucion::textosVenta() const {
  return {{QStringLiteral("Vendedor"), LBL_vendedor->text()},
          {QStringLiteral("Fecha Venta"), LBL_fechaVenta->text()},
          {QStringLiteral("Almacén"), LBL_almacen->text()},
          {QStringLiteral("Cliente"), LBL_cliente->text()},
          {QStringLiteral("RFC"), LBL_rfc->text()},
          {QStringLiteral("Subtotal"), LBL_subtotal->text()},
          {QStringLiteral("Descuento"), LBL_descuento->text()},
          {QStringLiteral("Total"), LBL_total->text()}};
}

bool TFRM_devolucion::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == GRD_main->viewport() && evento->type() == QEvent::MouseButtonRelease) {
    const auto* m = static_cast<QMouseEvent*>(evento);
    const QModelIndex i = GRD_main->indexAt(m->position().toPoint());
    if (m->button() == Qt::LeftButton && i.isValid() && i.column() == 0 &&
        i.row() < uDocumento->lineas().getRowCount())
      capturaDevolucion(i.row());
  }
  return QDialog::eventFilter(objeto, evento);
}
