#include "ui/comboAlmacenes.h"
#include "stock/TFRM_consultarExistencias.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "operaciones/almacen.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/registroPantallas.h"
#include "ui/TFRM_seleccionarProducto.h"
#include "util/utilerias.h"

REGISTRA_PANTALLA(TFRM_consultarExistencias);

namespace {
TListaPantalla::Opciones opciones() {
  TListaPantalla::Opciones o;
  o.busquedaUnaVez = true;
  return o;
}
}  // namespace

TFRM_consultarExistencias::TFRM_consultarExistencias(QWidget* parent)
    : TListaPantalla(QStringLiteral("Existencias"), opciones(), parent) {
  auto* almacen = new QWidget(this);
  auto* h = new QHBoxLayout(almacen);
  h->setContentsMargins(0, 0, 0, 0);
  h->setSpacing(4);
  CMB_almacenes = new QComboBox(almacen);
  CMB_almacenes->setMinimumSize(240, 44);
  CMB_almacenes->setPlaceholderText(QStringLiteral("Todos"));
  BTN_reiniciarAlmacen = new QPushButton(QStringLiteral("✕"), almacen);
  BTN_reiniciarAlmacen->setProperty("rol", QStringLiteral("borrar"));
  BTN_reiniciarAlmacen->setFocusPolicy(Qt::NoFocus);
  BTN_reiniciarAlmacen->setAutoDefault(false);
  h->addWidget(CMB_almacenes, 1);
  h->addWidget(BTN_reiniciarAlmacen);
  agregaFiltro(QStringLiteral("Almacen"), almacen);
  nombra(QStringLiteral("Almacenes"), CMB_almacenes);
  nombra(QStringLiteral("Borrar Almacen"), BTN_reiniciarAlmacen);

  BTN_seleccionarProducto = new QPushButton(QString::fromUtf8(kSinProducto), this);
  BTN_seleccionarProducto->setObjectName(QStringLiteral("BTN_seleccionarProducto"));
  BTN_seleccionarProducto->setMinimumSize(300, 44);
  BTN_seleccionarProducto->setAutoDefault(false);
  BTN_seleccionarProducto->setCursor(Qt::PointingHandCursor);
  BTN_seleccionarProducto->setStyleSheet(QStringLiteral(
      "QPushButton{text-align:left;font-size:16px;padding:6px 12px;border:2px solid #C5CED8;"
      "border-radius:8px;background:white;color:#1E2A36;}"
      "QPushButton:pressed{background:#E9EEF3;}"));
  agregaFiltro(QStringLiteral("Producto"), BTN_seleccionarProducto);

  connect(BTN_reiniciarAlmacen, &QPushButton::clicked, this,
          &TFRM_consultarExistencias::BTN_reiniciarAlmacenClick);
  connect(BTN_seleccionarProducto, &QPushButton::clicked, this,
          &TFRM_consultarExistencias::BTN_seleccionarProductoClick);
  delegado()->setPintura(QStringLiteral("Existencia"), TPintura::Derecha);
  // The untitled last column takes the spare width.
  GRD_main->horizontalHeader()->setStretchLastSection(true);
  preparaGrid();
}

void TFRM_consultarExistencias::declaraColumnas(TGridControl& g) {
  g.add(0, QStringLiteral("_productoID"), QStringLiteral("inventarioProducto_id"), QString(), 350,
        false);
  g.add(0, QStringLiteral("Producto"), QStringLiteral("producto_titulo"), QString(), 350, true);
  g.add(0, QStringLiteral("_almacenID"), QStringLiteral("inventarioAlmacen_id"), QString(), 40,
        false);
  g.add(0, QStringLiteral("Almacén"), QStringLiteral("inventarioAlmacen_nombre"), QString(), 150,
        true);
  g.add(0, QStringLiteral("Existencia"), QStringLiteral("inventarioExistencias_existencia"),
        QString(), 70, true);
  // Untitled and unbound: takes the spare width, never printed.
  g.add(0, QString(), QString(), QString(), 0, true);
}

void TFRM_consultarExistencias::init() {
  cargaComboAlmacen();
  TListaPantalla::init();
}

void TFRM_consultarExistencias::cargaComboAlmacen() {
  u_cargaComboAlmacenes(CMB_almacenes, uValueMember_CMB_almacenes, localSYS);
  CMB_almacenes->setCurrentIndex(-1);
}

void TFRM_consultarExistencias::BTN_reiniciarAlmacenClick() { CMB_almacenes->setCurrentIndex(-1); }

void TFRM_consultarExistencias::BTN_seleccionarProductoClick() {
  const TproductoSeleccionadoDescripcion r = seleccionarProducto(localSYS);
  if (!r.ok) return;
  uProducto = r;
  BTN_seleccionarProducto->setText(r.texto);
}

CmidTierResponse TFRM_consultarExistencias::consulta() {
  QVariant almacen = nuloEntero();
  QVariant producto = nuloEntero();
  const int i = CMB_almacenes->currentIndex();
  if (i >= 0 && i < uValueMember_CMB_almacenes.size())
    almacen = QVariant(uValueMember_CMB_almacenes[i]);
  if (uProducto.id > 0) producto = QVariant(uProducto.id);
  Talmacen consulta(localSYS.getConexion());
  return consulta.selectExistenciaGeneral(almacen, producto, localSYS.getIdNegocio());
}

void TFRM_consultarExistencias::limpiaFiltros() {
  TListaPantalla::limpiaFiltros();
  CMB_almacenes->setCurrentIndex(-1);
  uProducto.id = 0;
  BTN_seleccionarProducto->setText(QString());
}

QVector<TColumnaPDF> TFRM_consultarExistencias::columnasPDF() const {
  return {{QStringLiteral("Producto"), 160, 0, 0},
          {QStringLiteral("Almacén"), 90, 0, 1},
          {QStringLiteral("Existencia"), 70, 0, 1}};
}
