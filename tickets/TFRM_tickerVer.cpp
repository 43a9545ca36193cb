#include "tickets/TFRM_tickerVer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "checkout/reglas/ticket_venta.h"
#include "grid/TGridControl.h"
#include "operaciones/tickets.h"
#include "printer/miniPrinter.h"
#include "shell/listas/TDelegadoLista.h"
#include "ui/TFRM_facturar.h"
#include "ui/TGridVista.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

TFRM_tickerVer::TFRM_tickerVer(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_tickerVer"));
  setWindowTitle(tituloVentanaSuite());
  resize(900, 620);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(24, 18, 24, 18);
  raiz->setSpacing(12);
  auto* titulo = new QLabel(QStringLiteral("Ticket"), this);
  raiz->addWidget(titulo);

  auto* encabezado = new QGridLayout();
  encabezado->setHorizontalSpacing(28);
  LBL_fecha = new QLabel(this);
  LBL_noTicket = new QLabel(this);
  LBL_cajero = new QLabel(this);
  LBL_total = new QLabel(this);
  for (QLabel* l : {LBL_fecha, LBL_noTicket, LBL_cajero, LBL_total})
    l->setProperty("rol", QStringLiteral("valor"));
  u_agregaCampo(encabezado, 0, 0, QStringLiteral("Fecha"), LBL_fecha);
  u_agregaCampo(encabezado, 0, 1, QStringLiteral("No. ticket"), LBL_noTicket);
  u_agregaCampo(encabezado, 0, 2, QStringLiteral("Cajero"), LBL_cajero);
  u_agregaCampo(encabezado, 0, 3, QStringLiteral("Total"), LBL_total);
  encabezado->setColumnStretch(2, 1);
  raiz->addLayout(encabezado);

  GRD_main = new QTableView(this);
  GRD_main->setSelectionMode(QAbstractItemView::NoSelection);
  GRD_main->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GRD_main->setShowGrid(false);
  GRD_main->verticalHeader()->hide();
  GRD_main->setStyleSheet(
      QStringLiteral("QTableView{font-size:15px;border:1px solid #D5DBE1;background:white;}"
                     "QHeaderView::section{background:#EEF2F6;font-size:14px;font-weight:600;"
                     "padding:8px 6px;border:none;border-bottom:2px solid #C5CED8;}"));
  uGrid = new TGridControl(this);
  uGrid->setAlturaFila(11);
  uGrid->add(0, QStringLiteral("Categoría"), QStringLiteral("inventarioCategoria_etiqueta"),
             QString(), 245, true);
  uGrid->add(0, QStringLiteral("Producto"), QStringLiteral("inventarioProducto_nombre"), QString(),
             250, true);
  uGrid->add(0, QStringLiteral("Cantidad"), QStringLiteral("puntoOperacionDetalle_cantidad"),
             QString(), 80, true);
  uGrid->add(0, QStringLiteral("Precio"), QStringLiteral("_precioConIMPT"), QString(), 95, true);
  uGrid->add(0, QStringLiteral("Importe"), QStringLiteral("puntoOperacionDetalle_importe"),
             QString(), 95, false);
  uGrid->add(0, QStringLiteral("_indicador"), QStringLiteral("--"), QString(), 100, false);
  uVista = new TGridVista(uGrid, GRD_main, this);
  uDelegado = new TDelegadoLista(
      uGrid, [this](int c, int f) { return uGrid->getCelda(c, f); }, this);
  uDelegado->setPintura(QStringLiteral("Precio"), TPintura::Moneda);
  uDelegado->setPintura(QStringLiteral("Importe"), TPintura::Moneda);
  uDelegado->setPintura(QStringLiteral("Cantidad"), TPintura::Derecha);
  // Kit and promotion headers, then their components, stand out from plain lines.
  uDelegado->setFondo([this](int f) {
    const QString indicador = uGrid->getCelda(QStringLiteral("_indicador"), f);
    if (indicador == QLatin1String("1")) return QColor::fromRgba(0xFFFFC37B);
    if (indicador == QLatin1String("2")) return QColor::fromRgba(0xFFF9EAD8);
    return QColor(Qt::white);
  });
  GRD_main->setItemDelegate(uDelegado);
  uVista->renuevaColumnas();
  uVista->ajustaColumna(QStringLiteral("Producto"));
  raiz->addWidget(GRD_main, 1);

  auto* botones = new QHBoxLayout();
  botones->addStretch();
  BTN_imprimir = new QPushButton(QStringLiteral("Imprimir"), this);
  BTN_facturar = new QPushButton(QStringLiteral("Facturar"), this);
  BTN_cerrar = new QPushButton(QStringLiteral("Cerrar"), this);
  for (QPushButton* b : {BTN_imprimir, BTN_facturar, BTN_cerrar}) {
    b->setAutoDefault(false);
    botones->addWidget(b);
  }
  raiz->addLayout(botones);
  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, titulo, colores);
  estiloBotones({BTN_imprimir, BTN_facturar, BTN_cerrar}, colores);
  connect(BTN_imprimir, &QPushButton::clicked, this, &TFRM_tickerVer::reimprimirTicket);
  connect(BTN_facturar, &QPushButton::clicked, this, &TFRM_tickerVer::BTN_facturarClick);
  connect(BTN_cerrar, &QPushButton::clicked, this, &QDialog::accept);

  nombra(QStringLiteral("Fecha"), LBL_fecha);
  nombra(QStringLiteral("No. ticket"), LBL_noTicket);
  nombra(QStringLiteral("Cajero"), LBL_cajero);
  nombra(QStringLiteral("Total"), LBL_total);
  nombra(QStringLiteral("Lista"), GRD_main);
  nombra(QStringLiteral("Imprimir"), BTN_imprimir);
  nombra(QStringLiteral("Facturar"), BTN_facturar);
  nombra(QStringLiteral("Cerrar"), BTN_cerrar);
}

TFRM_tickerVer::~TFRM_tickerVer() = default;

void TFRM_tickerVer::init(int operacionID) {
  uOperacionID = operacionID;
  buscar();
  u_ejecutaModal(this);
}

void TFRM_tickerVer::buscar() {
  const CmidTierResponse t =
      buscaTicketPorOperacionID(uOperacionID, localSYS.getIdNegocio(), localSYS.getConexion());
  LBL_fecha->setText(u_fechaHoraMostrable(t.getCelda(QStringLiteral("puntoOperacion_fechaHora"))));
  LBL_noTicket->setText(t.getCelda(QStringLiteral("puntoOperacion_ticketNo")));
  LBL_cajero->setText(t.getCelda(QStringLiteral("nombre")));
  LBL_total->setText(
      t.getRowCount() ? u_formatoMoneda(t.getCeldaAsFloat(QStringLiteral("puntoOperacion_total")))
                      : QString());
  uImpuestos = t.getCelda(QStringLiteral("puntoOperacion_impuestos"));
  uPago = t.getCelda(QStringLiteral("puntoOperacion_pago"));
  uDevuelto = t.getCelda(QStringLiteral("puntoOperacion_devuelto"));
  ufacturaMetodo = t.getCelda(QStringLiteral("puntoOperacion_facturadoMetodo"));
  uUUID = t.getCelda(QStringLiteral("puntoOperacion_uuid"));
  agregaProductosOperacion();
  compruebaEstadoTicketFacturado();
}

void TFRM_tickerVer::agregaProductosOperacion() {
  uGrid->clearFilas();
  const CmidTierResponse d = buscaTicketDetallePorOperacionID(uOperacionID, localSYS.getIdNegocio(),
                                                              localSYS.getConexion());
  if (!d.ok()) return;
  for (int i = 0; i < d.getRowCount(); ++i) {
    const auto texto = [&](const char* alias) { return d.getCelda(QLatin1String(alias), i); };
    QString categoria = texto("inventarioCategoria_etiqueta");
    if (d.getCeldaAsInt(QStringLiteral("puntoOperacionDetalle_kitID"), i) >= 1)
      categoria = QStringLiteral(" KIT");
    else if (d.getCeldaAsInt(QStringLiteral("puntoOperacionDetalle_promocionID"), i) >= 1)
      categoria = QStringLiteral(" PROMOCION");
    uGrid->agregarRegistro(
        {{QStringLiteral("Categoría"), categoria},
         {QStringLiteral("Producto"), texto("inventarioProducto_nombre")},
         {QStringLiteral("Cantidad"), texto("puntoOperacionDetalle_cantidad")},
         {QStringLiteral("Precio"), texto("_precioConIMPT")},
         {QStringLiteral("Importe"), texto("puntoOperacionDetalle_importe")},
         {QStringLiteral("_indicador"),
          QString::number(d.getCeldaAsInt(QStringLiteral("puntoOperacionDetalle_cabecera"), i))}});
  }
}

void TFRM_tickerVer::compruebaEstadoTicketFacturado() {
  BTN_facturar->setEnabled(
      buscaTicketEstadoFacturadoPorOperacionID(uOperacionID, localSYS.getConexion()) == 3);
}

void TFRM_tickerVer::BTN_facturarClick() {
  {
    TFRM_facturar facturar(this);
    facturar.initPuntoVentaTicket(uOperacionID, localSYS);
  }
  compruebaEstadoTicketFacturado();
}

TticketGuardado TFRM_tickerVer::ticketMostrado() const {
  TticketGuardado t;
  t.fecha = LBL_fecha->text();
  t.ticketNo = LBL_noTicket->text();
  t.cajero = LBL_cajero->text();
  t.total = LBL_total->text();
  t.impuestos = uImpuestos;
  t.pago = uPago;
  t.devuelto = uDevuelto;
  t.estado = ufacturaMetodo;
  t.uuid = uUUID;
  buscaFormaDePagoPorTicket(uOperacionID, localSYS.getIdNegocio(), localSYS.getConexion(),
                            t.formas);
  for (int f = 0; f < uGrid->getRowCount(); ++f)
    t.lineas.append({uGrid->getCelda(QStringLiteral("Cantidad"), f),
                     uGrid->getCelda(QStringLiteral("Producto"), f),
                     uGrid->getCelda(QStringLiteral("Precio"), f),
                     uGrid->getCelda(QStringLiteral("Importe"), f),
                     uGrid->getCelda(QStringLiteral("Categoría"), f)});
  return t;
}

void TFRM_tickerVer::reimprimirTicket() {
  const TticketGuardado t = ticketMostrado();
  uImpresion = imprimeTicketArmado(armaTicketReimpresion(t, localSYS.getNegocio()), t.uuid,
                                   t.ticketNo, reimpresionConPortal(t));
  const TResultadoImpresion impreso = miniPrinterUltimoTicket();
  if (!impreso.ok && !impreso.error.isEmpty()) u_mensaje(impreso.error);
}
