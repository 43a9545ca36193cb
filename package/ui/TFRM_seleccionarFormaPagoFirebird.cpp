#include "ui/TFRM_seleccionarFormaPagoFirebird.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "operaciones/formasPago.h"
#include "ui/TGridVista.h"
#include "ui/TTecladoCampos.h"
#include "ui/TTecladoPantalla.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"

TFRM_seleccionarFormaPagoFirebird::TFRM_seleccionarFormaPagoFirebird(QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_seleccionarFormaPagoFirebird"));
  setWindowTitle(tituloVentanaSuite());
  resize(760, 600);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(24, 18, 24, 18);
  raiz->setSpacing(10);
  auto* titulo = new QLabel(QStringLiteral("Seleccionar Forma de Pago"), this);
  titulo->setProperty("rol", QStringLiteral("titulo"));
  raiz->addWidget(titulo);
  auto* g = new QGridLayout();
  TXT_nombre = new QLineEdit(this);
  TXT_nombre->setMaxLength(60);
  CMB_formaPago = new QComboBox(this);
  CMB_formaPago->setMinimumHeight(44);
  auto* agregar = new QPushButton(QStringLiteral("Agregar"), this);
  u_agregaCampo(g, 0, 0, QStringLiteral("Nombre"), TXT_nombre);
  u_agregaCampo(g, 0, 1, QStringLiteral("Forma de pago SAT"), CMB_formaPago);
  g->addWidget(agregar, 0, 2, Qt::AlignBottom);
  g->setColumnStretch(0, 1);
  g->setColumnStretch(1, 1);
  raiz->addLayout(g);
  auto* leyenda = new QLabel(QStringLiteral("Formas de pago habilitadas"), this);
  leyenda->setProperty("rol", QStringLiteral("leyenda"));
  raiz->addWidget(leyenda);
  GRD_main = new QTableView(this);
  GRD_main->setSelectionBehavior(QAbstractItemView::SelectRows);
  GRD_main->setSelectionMode(QAbstractItemView::SingleSelection);
  GRD_main->setEditTriggers(QAbstractItemView::NoEditTriggers);
  raiz->addWidget(GRD_main, 1);
  uGrid = new TGridControl(this);
  uGrid->add(0, QStringLiteral("id"), QStringLiteral("puntoMetodoPago_id"), QString(), 60, false);
  uGrid->add(0, QStringLiteral("Nombre"), QStringLiteral("puntoMetodoPago_nombre"), QString(), 250,
             true);
  uGrid->add(0, QStringLiteral("Forma de pago SAT"), QStringLiteral("formaPago_descripcion"),
             QString(), 250, true);
  auto* vista = new TGridVista(uGrid, GRD_main, this);
  vista->renuevaColumnas();
  vista->ajustaColumna(QStringLiteral("Forma de pago SAT"));
  auto* botones = new QHBoxLayout();
  auto* eliminar = new QPushButton(QStringLiteral("Eliminar"), this);
  auto* cerrar = new QPushButton(QStringLiteral("Cerrar"), this);
  botones->addWidget(eliminar);
  botones->addStretch();
  botones->addWidget(cerrar);
  raiz->addLayout(botones);
  for (QPushButton* b : {agregar, eliminar, cerrar}) {
    b->setAutoDefault(false);
    b->setMinimumHeight(48);
  }
  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, titulo, colores);
  estiloBotones({agregar, eliminar, cerrar}, colores);
  uTeclado = new TTecladoCampos(this);
  uTeclado->agrega(TXT_nombre, true);
  connect(agregar, &QPushButton::clicked, this,
          &TFRM_seleccionarFormaPagoFirebird::BTN_agregarClick);
  connect(eliminar, &QPushButton::clicked, this,
          &TFRM_seleccionarFormaPagoFirebird::BTN_eliminarClick);
  connect(cerrar, &QPushButton::clicked, this, &QDialog::accept);
  connect(GRD_main, &QTableView::clicked, this,
          [this](const QModelIndex& i) { seleccionaFila(i.row()); });
  // The SAT description is the usual name: choosing a form proposes it while none was typed.
  connect(CMB_formaPago, &QComboBox::activated, this, [this] {
    if (TXT_nombre->text().trimmed().isEmpty())
      TXT_nombre->setText(CMB_formaPago->currentText().section(QStringLiteral(" - "), 1));
  });
  for (const auto& [nombre, control] :
       std::initializer_list<std::pair<const char*, QWidget*>>{{"Nombre", TXT_nombre},
                                                               {"Forma de pago SAT", CMB_formaPago},
                                                               {"Agregar", agregar},
                                                               {"Lista", GRD_main},
                                                               {"Eliminar", eliminar},
                                                               {"Cerrar", cerrar},
                                                               {"Teclado", uTeclado->teclado()}})
    nombra(QString::fromUtf8(nombre), control);
}

TFRM_seleccionarFormaPagoFirebird::~TFRM_seleccionarFormaPagoFirebird() = default;

bool TFRM_seleccionarFormaPagoFirebird::init() {
  uCambios = false;
  TXT_nombre->clear();
  CMB_formaPago->clear();
  const CmidTierResponse c = consultaCatalogoFormaPago(localSYS.getConexion());
  for (int i = 0; i < c.getRowCount(); ++i)
    CMB_formaPago->addItem(c.getCelda(QStringLiteral("formaPago_clave"), i) +
                               QStringLiteral(" - ") +
                               c.getCelda(QStringLiteral("formaPago_descripcion"), i),
                           c.getCeldaAsInt(QStringLiteral("formaPago_id"), i));
  buscar();
  u_ejecutaModal(this);
  return uCambios;
}

void TFRM_seleccionarFormaPagoFirebird::buscar() {
  const CmidTierResponse r =
      consultaFormaDePagos(QVariant(), localSYS.getIdNegocio(), localSYS.getConexion());
  if (r.ok()) uGrid->setTabla(r);
  uFilaSeleccionada = -1;
  GRD_main->clearSelection();
}

void TFRM_seleccionarFormaPagoFirebird::seleccionaFila(int fila) {
  if (fila < 0 || fila >= uGrid->getRowCount()) return;
  uFilaSeleccionada = fila;
  GRD_main->selectRow(fila);
}

void TFRM_seleccionarFormaPagoFirebird::BTN_agregarClick() {
  const TResultado r = agregaFormaPago(TXT_nombre->text(), CMB_formaPago->currentData().toInt(),
                                       localSYS.getIdNegocio(), localSYS.getConexion());
  if (!r.ok) return u_muestra(r);
  uCambios = true;
  TXT_nombre->clear();
  buscar();
}

void TFRM_seleccionarFormaPagoFirebird::BTN_eliminarClick() {
  if (uFilaSeleccionada < 0 || uFilaSeleccionada >= uGrid->getRowCount()) return;
  const QString nombre = uGrid->getCelda(QStringLiteral("Nombre"), uFilaSeleccionada);
  if (!u_confirma(QStringLiteral("¿Desea eliminar la forma de pago \"%1\"?").arg(nombre))) return;
  const TResultado r =
      desactivaFormaPago(uGrid->getCeldaAsInt(QStringLiteral("id"), uFilaSeleccionada),
                         localSYS.getIdNegocio(), localSYS.getConexion());
  if (!r.ok) return u_muestra(r);
  uCambios = true;
  buscar();
}
