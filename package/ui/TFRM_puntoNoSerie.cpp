#include "ui/TFRM_puntoNoSerie.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QVBoxLayout>

#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "operaciones/noSerie.h"
#include "ui/TGridVista.h"
#include "ui/TListaMarcas.h"
#include "ui/TTecladoCampos.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "ui/recursosPantalla.h"
#include "util/utilerias.h"

namespace {

QString css(quint32 argb) { return QStringLiteral("#%1").arg(argb & 0xFFFFFF, 6, 16, QChar('0')); }

const char* kEstilo =
    "QLineEdit{font-size:16px;padding:6px 10px;border:2px solid #C5CED8;border-radius:8px;"
    "background:white;min-height:30px;}"
    "QLineEdit:focus{border-color:#1F6FB2;}"
    "QLabel[rol=\"leyenda\"]{font-size:13px;color:#5A6673;}"
    "QTableView{font-size:15px;border:1px solid #D5DBE1;background:white;}"
    "QHeaderView::section{background:#EEF2F6;color:#2B2B2B;font-size:14px;font-weight:600;"
    "padding:8px 6px;border:none;border-bottom:2px solid #C5CED8;}"
    "QListWidget{font-size:16px;border:2px solid #C5CED8;border-radius:8px;background:white;}"
    "QListWidget::item{min-height:52px;}"
    "QLabel#LBL_msg{font-size:18px;color:#5A6673;background:transparent;}";

QLineEdit* campoBusqueda(QWidget* padre, const QString& nombre, int longitud) {
  auto* c = new QLineEdit(padre);
  c->setObjectName(nombre);
  c->setMaxLength(longitud);
  c->setMinimumSize(220, 44);
  return c;
}

}  // namespace

TFRM_puntoNoSerie::TFRM_puntoNoSerie(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TFRM_puntoNoSerie"));
  construye();
}

void TFRM_puntoNoSerie::construye() {
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(18, 14, 18, 14);
  raiz->setSpacing(10);
  auto* encabezado = new QHBoxLayout();
  IMG_apuntador = new QLabel(this);
  IMG_apuntador->setFixedSize(28, 28);
  LBL_titulo = new QLabel(QStringLiteral("Números de Serie"), this);
  BTN_asignar = new QPushButton(QStringLiteral("Asignar a Ticket"), this);
  encabezado->addWidget(IMG_apuntador);
  encabezado->addWidget(LBL_titulo);
  encabezado->addStretch();
  encabezado->addWidget(BTN_asignar);
  raiz->addLayout(encabezado);

  auto* busqueda = new QGridLayout();
  busqueda->setHorizontalSpacing(12);
  TXT_noSerie = campoBusqueda(this, QStringLiteral("TXT_noSerie"), 60);
  TXT_producto = campoBusqueda(this, QStringLiteral("TXT_producto"), 60);
  u_agregaCampo(busqueda, 0, 0, QStringLiteral("No. de Serie"), TXT_noSerie);
  u_agregaCampo(busqueda, 0, 1, QStringLiteral("Producto"), TXT_producto);
  BTN_buscar = new QPushButton(QStringLiteral("Buscar"), this);
  BTN_verTodos = new QPushButton(QStringLiteral("Ver Todos"), this);
  busqueda->addWidget(BTN_buscar, 0, 2, Qt::AlignBottom);
  busqueda->addWidget(BTN_verTodos, 0, 3, Qt::AlignBottom);
  busqueda->setColumnStretch(4, 1);
  raiz->addLayout(busqueda);

  auto* zona = new QGridLayout();
  GRD_main = new QTableView(this);
  GRD_main->setSelectionBehavior(QAbstractItemView::SelectRows);
  GRD_main->setSelectionMode(QAbstractItemView::SingleSelection);
  GRD_main->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GRD_main->setShowGrid(false);
  // Rows are tall enough for two lines: a product or warehouse name breaks between words
  // rather than being cut while other columns have room.
  GRD_main->setWordWrap(true);
  GRD_main->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  LBL_msg = new QLabel(this);
  LBL_msg->setObjectName(QStringLiteral("LBL_msg"));
  LBL_msg->setAttribute(Qt::WA_TransparentForMouseEvents);
  LBL_msg->hide();
  zona->addWidget(GRD_main, 0, 0);
  zona->addWidget(LBL_msg, 0, 0, Qt::AlignCenter);
  raiz->addLayout(zona, 1);

  uGrid = new TGridControl(this);
  uVista = new TGridVista(uGrid, GRD_main, this);
  uGrid->setAlturaFila(11);
  uGrid->add(0, QStringLiteral("_noSerieID"), QStringLiteral("inventarioNoSerie_id"), QString(), 40,
             false);
  uGrid->add(0, QStringLiteral("No. de Serie"), QStringLiteral("inventarioNoSerie_noSerie"),
             QString(), 140, true);
  uGrid->add(0, QStringLiteral("Producto"), QStringLiteral("inventarioProducto_nombre"), QString(),
             150, true);
  uGrid->add(0, QStringLiteral("Almacén"), QStringLiteral("inventarioAlmacen_nombre"), QString(),
             100, true);
  uGrid->add(0, QStringLiteral("Estado"), QStringLiteral("_estado_leyenda"), QString(), 110, true);
  uGrid->add(0, QStringLiteral("Ticket"), QStringLiteral("puntoOperacion_ticketNo"), QString(), 65,
             true);
  uGrid->add(0, QStringLiteral("Fecha Venta"), QStringLiteral("puntoOperacion_fechaHora"),
             QString(), 165, true);
  uVista->renuevaColumnas();
  uVista->ajustaColumna(QStringLiteral("Producto"));

  const TListaColores colores = getColores();
  LBL_titulo->setStyleSheet(QStringLiteral("font-size:24px;font-weight:700;color:%1;")
                                .arg(css(colorDe(colores, QStringLiteral("tituloFormulario1")))));
  mini_cargaImage(QStringLiteral("apuntadorColor"), IMG_apuntador);
  setStyleSheet(QString::fromLatin1(kEstilo));
  for (QPushButton* b : {BTN_buscar, BTN_verTodos, BTN_asignar}) {
    mini_cornerButtonStyle(b, colores);
    b->setAutoDefault(false);
  }
  uTeclado = new TTecladoCampos(this);
  uTeclado->agrega(TXT_noSerie, true);
  uTeclado->agrega(TXT_producto);
  connect(uTeclado, &TTecladoCampos::enter, this, [this](QWidget*) { buscar(); });
  nombra(QStringLiteral("No. de Serie"), TXT_noSerie);
  nombra(QStringLiteral("Producto"), TXT_producto);
  nombra(QStringLiteral("Buscar"), BTN_buscar);
  nombra(QStringLiteral("Ver Todos"), BTN_verTodos);
  nombra(QStringLiteral("Asignar a Ticket"), BTN_asignar);
  nombra(QStringLiteral("Lista"), GRD_main);
  nombra(QStringLiteral("Mensaje"), LBL_msg);
  for (QLineEdit* c : {TXT_noSerie, TXT_producto})
    connect(c, &QLineEdit::returnPressed, this, &TFRM_puntoNoSerie::buscar);
  connect(BTN_buscar, &QPushButton::clicked, this, &TFRM_puntoNoSerie::buscar);
  connect(BTN_verTodos, &QPushButton::clicked, this, &TFRM_puntoNoSerie::BTN_verTodosClick);
  connect(BTN_asignar, &QPushButton::clicked, this, &TFRM_puntoNoSerie::BTN_asignarClick);
}

void TFRM_puntoNoSerie::init() { buscar(); }

void TFRM_puntoNoSerie::escribeNoSerie(const QString& texto) { TXT_noSerie->setText(texto); }
void TFRM_puntoNoSerie::escribeProducto(const QString& texto) { TXT_producto->setText(texto); }

void TFRM_puntoNoSerie::buscar() {
  uTeclado->oculta();
  const auto filtro = [](const QLineEdit* c) {
    const QString t = c->text().trimmed();
    return t.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                       : QVariant(QStringLiteral("%") + t + QStringLiteral("%"));
  };
  const CmidTierResponse r = consultaNoSerie(filtro(TXT_noSerie), filtro(TXT_producto),
                                             localSYS.getIdNegocio(), localSYS.getConexion());
  if (r.ok()) {
    uGrid->setTabla(r);
    for (int f = 0; f < uGrid->getRowCount(); ++f)
      uGrid->setCelda(QStringLiteral("Fecha Venta"), f,
                      u_fechaHoraMostrable(uGrid->getCelda(QStringLiteral("Fecha Venta"), f)));
  }
  const bool vacio = uGrid->getRowCount() == 0;
  LBL_msg->setText(vacio ? QStringLiteral("No hay elementos que mostrar") : QString());
  LBL_msg->setVisible(vacio);
  if (vacio) LBL_msg->raise();
}

void TFRM_puntoNoSerie::BTN_verTodosClick() {
  TXT_noSerie->clear();
  TXT_producto->clear();
  buscar();
}

void TFRM_puntoNoSerie::BTN_asignarClick() {
  TFRM_asignaNoSerie asignacion(this);
  asignacion.init();
  buscar();
}

QString TFRM_puntoNoSerie::textoMensaje() const { return LBL_msg->text(); }

TFRM_asignaNoSerie::TFRM_asignaNoSerie(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_asignaNoSerie"));
  construye();
}

void TFRM_asignaNoSerie::construye() {
  resize(860, 640);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(24, 18, 24, 18);
  raiz->setSpacing(10);
  LBL_titulo = new QLabel(QStringLiteral("Asignar números de serie a un ticket"), this);
  raiz->addWidget(LBL_titulo);
  auto* ticket = new QWidget(this);
  auto* h = new QHBoxLayout(ticket);
  h->setContentsMargins(0, 0, 0, 0);
  TXT_ticketNo = new QLineEdit(ticket);
  TXT_ticketNo->setMaxLength(9);
  TXT_ticketNo->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("\\d{0,9}")), TXT_ticketNo));
  BTN_buscar = new QPushButton(QStringLiteral("Buscar"), ticket);
  h->addWidget(TXT_ticketNo, 1);
  h->addWidget(BTN_buscar);
  auto* g = new QGridLayout();
  u_agregaCampo(g, 0, 0, QStringLiteral("Ticket #"), ticket);
  g->setColumnStretch(1, 1);
  raiz->addLayout(g);

  auto* listas = new QGridLayout();
  listas->setHorizontalSpacing(16);
  LST_lineas = new QListWidget(this);
  LST_lineas->setWordWrap(true);
  LST_lineas->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  LST_disponibles = new TListaMarcas(this);
  u_agregaCampo(listas, 0, 0, QStringLiteral("Artículos del ticket con número de serie"),
                LST_lineas);
  u_agregaCampo(listas, 0, 1, QStringLiteral("Números de serie en existencia en el almacén"),
                LST_disponibles);
  listas->setColumnStretch(0, 1);
  listas->setColumnStretch(1, 1);
  raiz->addLayout(listas, 1);

  auto* botones = new QHBoxLayout();
  botones->addStretch();
  BTN_asignar = new QPushButton(QStringLiteral("Asignar"), this);
  BTN_cerrar = new QPushButton(QStringLiteral("Cerrar"), this);
  botones->addWidget(BTN_asignar);
  botones->addWidget(BTN_cerrar);
  raiz->addLayout(botones);

  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, LBL_titulo, colores, QString::fromLatin1(kEstilo));
  estiloBotones({BTN_buscar, BTN_asignar, BTN_cerrar}, colores);
  uTeclado = new TTecladoCampos(this);
  uTeclado->agrega(TXT_ticketNo);
  connect(uTeclado, &TTecladoCampos::enter, this, [this](QWidget*) { buscar(); });
  connect(TXT_ticketNo, &QLineEdit::returnPressed, this, &TFRM_asignaNoSerie::buscar);
  connect(BTN_buscar, &QPushButton::clicked, this, &TFRM_asignaNoSerie::buscar);
  connect(LST_lineas, &QListWidget::currentRowChanged, this, [this] { cargaDisponibles(); });
  connect(BTN_asignar, &QPushButton::clicked, this, &TFRM_asignaNoSerie::BTN_asignarClick);
  connect(BTN_cerrar, &QPushButton::clicked, this, &TFRM_asignaNoSerie::BTN_cerrarClick);
}

bool TFRM_asignaNoSerie::init() {
  uAsignado = false;
  TXT_ticketNo->clear();
  LST_lineas->clear();
  LST_disponibles->limpia();
  u_ejecutaModal(this);
  uTeclado->oculta();
  return uAsignado;
}

void TFRM_asignaNoSerie::escribeTicket(const QString& texto) { TXT_ticketNo->setText(texto); }

void TFRM_asignaNoSerie::buscar() {
  uTeclado->oculta();
  const QString texto = TXT_ticketNo->text().trimmed();
  if (texto.isEmpty()) return;
  uLineas =
      consultaLineasNoSerieTicket(texto.toInt(), localSYS.getIdNegocio(), localSYS.getConexion());
  LST_lineas->clear();
  uDisponibles = CmidTierResponse();
  LST_disponibles->limpia();
  if (!uLineas.ok()) return;
  if (uLineas.getRowCount() == 0) {
    u_mensaje(QStringLiteral("El ticket %1 no existe o no tiene artículos con número de serie.")
                  .arg(texto));
    return;
  }
  for (int i = 0; i < uLineas.getRowCount(); ++i)
    LST_lineas->addItem(
        QStringLiteral("%1\nVendidos %2 · devueltos %3 · con serie %4")
            .arg(uLineas.getCelda(QStringLiteral("inventarioProducto_nombre"), i),
                 u_floatToStr(uLineas.getCeldaAsFloat(QStringLiteral("cantidad"), i)),
                 u_floatToStr(uLineas.getCeldaAsFloat(QStringLiteral("devolucion"), i)),
                 uLineas.getCelda(QStringLiteral("_asignados"), i)));
  LST_lineas->setCurrentRow(0);
}

bool TFRM_asignaNoSerie::eligeLinea(int indice) {
  if (indice < 0 || indice >= LST_lineas->count()) return false;
  LST_lineas->setCurrentRow(indice);
  return true;
}

void TFRM_asignaNoSerie::cargaDisponibles() {
  LST_disponibles->limpia();
  const int i = LST_lineas->currentRow();
  if (i < 0 || i >= uLineas.getRowCount()) return;
  uDisponibles =
      consultaNoSerieDisponibles(uLineas.getCeldaAsInt(QStringLiteral("inventarioProducto_id"), i),
                                 uLineas.getCeldaAsInt(QStringLiteral("inventarioAlmacen_id"), i),
                                 localSYS.getIdNegocio(), localSYS.getConexion());
  for (int k = 0; k < uDisponibles.getRowCount(); ++k)
    LST_disponibles->agrega(uDisponibles.getCelda(QStringLiteral("inventarioNoSerie_noSerie"), k));
}

bool TFRM_asignaNoSerie::marcaNoSerie(const QString& noSerie, bool marcado) {
  return LST_disponibles->marca(noSerie, marcado);
}

void TFRM_asignaNoSerie::BTN_asignarClick() {
  const int linea = LST_lineas->currentRow();
  if (linea < 0 || linea >= uLineas.getRowCount()) {
    u_mensaje(QStringLiteral("Busque un ticket y elija el artículo."));
    return;
  }
  QVector<int> ids;
  for (int i = 0; i < LST_disponibles->cuenta(); ++i)
    if (LST_disponibles->marcado(i))
      ids << uDisponibles.getCeldaAsInt(QStringLiteral("inventarioNoSerie_id"), i);
  const TresultadoNoSerie r =
      asignaNoSerieATicket(uLineas.getCeldaAsInt(QStringLiteral("PuntoOperacionDetalle_id"), linea),
                           ids, localSYS.getIdNegocio(), localSYS.getConexion());
  if (!r.ok) {
    u_mensaje(r.mensaje);
    return;
  }
  uAsignado = true;
  u_mensaje(QStringLiteral("Se asignaron %1 números de serie al ticket %2.")
                .arg(ids.size())
                .arg(TXT_ticketNo->text().trimmed()),
            mtInformacion);
  buscar();
  eligeLinea(linea);
}

void TFRM_asignaNoSerie::BTN_cerrarClick() { accept(); }

QStringList TFRM_asignaNoSerie::lineas() const {
  QStringList t;
  for (int i = 0; i < LST_lineas->count(); ++i) t << LST_lineas->item(i)->text();
  return t;
}

QStringList TFRM_asignaNoSerie::disponibles() const { return LST_disponibles->textos(); }
