#include "sessions/TFRM_controlCaja.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "grid/TGridControl.h"
#include "operaciones/cajas.h"
#include "sessions/TFRM_cajaApertura.h"
#include "sessions/TFRM_cajaCaptura.h"
#include "sessions/TFRM_cajaCorte.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/registroPantallas.h"
#include "util/utilerias.h"

REGISTRA_PANTALLA(TFRM_controlCaja);

namespace {
TListaPantalla::Opciones opciones() {
  TListaPantalla::Opciones o;
  o.verTodosBusca = false;  // the button is there but does nothing on this screen
  o.limpiarBusca = true;
  return o;
}
}  // namespace

TFRM_controlCaja::TFRM_controlCaja(QWidget* parent)
    : TListaPantalla(QStringLiteral("Control Caja"), opciones(), parent) {
  TXT_clave = agregaCampoBusqueda(QStringLiteral("Clave"), QStringLiteral("TXT_clave"));
  TXT_descripcion =
      agregaCampoBusqueda(QStringLiteral("Descripción"), QStringLiteral("TXT_descripcion"));
  BTN_nuevaCaja = agregaBotonAccion(QStringLiteral("Nueva Caja"));
  connect(BTN_nuevaCaja, &QPushButton::clicked, this, &TFRM_controlCaja::BTN_nuevaCajaClick);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setStyleSheet(
      QStringLiteral("QMenu{font-size:17px;padding:6px;background:white;border:1px solid #C5CED8;}"
                     "QMenu::item{padding:12px 40px 12px 24px;min-width:180px;}"
                     "QMenu::item:selected{background:#1F6FB2;color:white;}"
                     "QMenu::item:disabled{color:#A8B2BC;}"));
  MenuItem1 = PopupMenu1->addAction(QString());
  MenuItem2 = PopupMenu1->addAction(QString());
  MenuItem3 = PopupMenu1->addAction(QString());
  MenuItem4 = PopupMenu1->addAction(QString());
  connect(MenuItem1, &QAction::triggered, this, [this] { accionMenuFlotante(1); });
  connect(MenuItem2, &QAction::triggered, this, [this] { accionMenuFlotante(2); });
  connect(MenuItem3, &QAction::triggered, this, [this] { accionMenuFlotante(3); });
  connect(MenuItem4, &QAction::triggered, this, [this] { accionMenuFlotante(4); });

  delegado()->setPintura(QStringLiteral("Saldo"), TPintura::Moneda);
  delegado()->setPintura(QStringLiteral("Estado"), TPintura::Centro);
  delegado()->setPintura(QStringLiteral("Apertura"), TPintura::Fecha);
  delegado()->setPintura(QStringLiteral("Corte"), TPintura::Fecha);
  preparaGrid();
}

void TFRM_controlCaja::declaraColumnas(TGridControl& g) {
  g.add(2, QStringLiteral("Opciones"), QString(), QStringLiteral("Engrane"), 60, true, true);
  g.add(0, QStringLiteral("_cajaID"), QStringLiteral("puntoCaja_id"), QString(), 30, false);
  g.add(0, QStringLiteral("Clave"), QStringLiteral("puntoCaja_clave"), QString(), 70, true);
  g.add(0, QStringLiteral("Descripción"), QStringLiteral("puntoCaja_descripcion"), QString(), 150,
        true);
  g.add(0, QStringLiteral("_almacenID"), QStringLiteral("puntoCaja_inventarioAlmacen_id"),
        QString(), 80, false);
  g.add(0, QStringLiteral("Almacén"), QStringLiteral("inventarioAlmacen_nombre"), QString(), 80,
        true);
  g.add(0, QStringLiteral("_estadoID"), QStringLiteral("puntoCaja_estado"), QString(), 30, false);
  g.add(0, QStringLiteral("Estado"), QStringLiteral("_estado_leyenda"), QString(), 80, true);
  g.add(0, QStringLiteral("_cajeroID"), QStringLiteral("puntoCajero_id"), QString(), 30, false);
  g.add(0, QStringLiteral("Cajero"), QStringLiteral("_nombreCompleto"), QString(), 150, true);
  g.add(0, QStringLiteral("_sesionID"), QStringLiteral("puntoCajaSesion_id"), QString(), 80, false);
  g.add(0, QStringLiteral("Apertura"), QStringLiteral("puntoCajaSesion_fechaApertura"), QString(),
        150, true);
  g.add(0, QStringLiteral("Corte"), QStringLiteral("_ultimoFechaHoraCorte"), QString(), 150, true);
  g.add(0, QStringLiteral("Saldo"), QStringLiteral("--"), QString(), 130, true);
}

CmidTierResponse TFRM_controlCaja::consulta() {
  return filtraCajas(filtroTexto(TXT_clave), filtroTexto(TXT_descripcion), localSYS.getIdNegocio(),
                     localSYS.getConexion());
}

void TFRM_controlCaja::saldoCaja() {
  TGridControl& g = grid();
  for (int f = 0; f < g.getRowCount(); ++f) {
    const double saldo =
        calculaCajaAcumuladoPorSesion(g.getCeldaAsInt(QStringLiteral("_sesionID"), f),
                                      localSYS.getIdNegocio(), localSYS.getConexion());
    g.setCelda(QStringLiteral("Saldo"), f, u_formatoMoneda(saldo));
  }
}

QVector<TColumnaPDF> TFRM_controlCaja::columnasPDF() const {
  return {{QStringLiteral("Clave"), 80, 0, 0},   {QStringLiteral("Descripción"), 230, 0, 0},
          {QStringLiteral("Almacén"), 70, 0, 1}, {QStringLiteral("Estado"), 60, 0, 1},
          {QStringLiteral("Cajero"), 120, 0, 1}, {QStringLiteral("Apertura"), 80, 0, 1},
          {QStringLiteral("Corte"), 80, 0, 1},   {QStringLiteral("Saldo"), 60, 1, 2}};
}

void TFRM_controlCaja::BTN_reiniciarTXTclaveClick() {
  TXT_clave->clear();
  buscar();
}

void TFRM_controlCaja::BTN_reiniciarTXTdescripcionClick() {
  TXT_descripcion->clear();
  buscar();
}

void TFRM_controlCaja::popOpciones(int fila) {
  const QList<QAction*> items = {MenuItem1, MenuItem2, MenuItem3, MenuItem4};
  const QStringList titulos = {QStringLiteral("Editar Caja"), QStringLiteral("Apertura"),
                               QStringLiteral("Corte"), QStringLiteral("Cierre")};
  for (int i = 0; i < items.size(); ++i) {
    items[i]->setEnabled(true);
    items[i]->setText(titulos[i]);
  }
  const int estado = grid().getCeldaAsInt(QStringLiteral("_estadoID"), fila);
  if (estado == 0) {
    MenuItem3->setEnabled(false);
    MenuItem4->setEnabled(false);
  } else if (estado == 1) {
    MenuItem1->setEnabled(false);
    MenuItem2->setEnabled(false);
  }
  uDatosRequeridos = REC_datosRequeridos();
  uDatosRequeridos.sys = localSYS;
  uDatosRequeridos.cajaClave = grid().getCelda(QStringLiteral("Clave"), fila);
  uDatosRequeridos.cajaEstado = estado;
}

void TFRM_controlCaja::accionFila(int fila, const QPoint& global) {
  uFila = fila;
  popOpciones(fila);
  uDatosRequeridos.pointF = QPointF(global);
  uDatosRequeridos.pointX = global.x();
  uDatosRequeridos.pointY = global.y();
  if (uMuestraMenu) PopupMenu1->popup(global);
}

QAction* TFRM_controlCaja::opcion(int opcion) const {
  const QList<QAction*> items = {MenuItem1, MenuItem2, MenuItem3, MenuItem4};
  return opcion >= 1 && opcion <= items.size() ? items[opcion - 1] : nullptr;
}

void TFRM_controlCaja::eligeOpcion(int numero) {
  if (QAction* a = opcion(numero)) a->trigger();
}

QString TFRM_controlCaja::textoOpcion(int numero) const {
  QAction* a = opcion(numero);
  return a ? a->text() : QString();
}

bool TFRM_controlCaja::opcionHabilitada(int numero) const {
  QAction* a = opcion(numero);
  return a && a->isEnabled();
}

void TFRM_controlCaja::accionMenuFlotante(int opcion) {
  const int f = uFila;
  if (f < 0 || f >= grid().getRowCount()) return;
  const TGridControl& g = grid();
  const int caja = g.getCeldaAsInt(QStringLiteral("_cajaID"), f);
  const QString clave = g.getCelda(QStringLiteral("Clave"), f);
  const QString descripcion = g.getCelda(QStringLiteral("Descripción"), f);
  const int sesion = g.getCeldaAsInt(QStringLiteral("_sesionID"), f);
  switch (opcion) {
    case 1: {
      TFRM_cajaCaptura captura(this);
      if (captura.initEditar(caja)) buscar();
      break;
    }
    case 2: {
      TFRM_cajaApertura apertura(this);
      apertura.init(caja, clave, descripcion);
      buscar();
      break;
    }
    case 3: {
      TFRM_cajaCorte corte(this);
      corte.initCorte(caja, clave, descripcion, sesion);
      buscar();
      break;
    }
    case 4: {
      TFRM_cajaCorte cierre(this);
      cierre.initCierre(caja, clave, descripcion, sesion);
      buscar();
      break;
    }
    default:
      break;
  }
}

void TFRM_controlCaja::BTN_nuevaCajaClick() {
  TFRM_cajaCaptura captura(this);
  if (captura.initNuevo()) buscar();
}
