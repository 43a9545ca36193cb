#include "sessions/TFRM_controlCierres.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "grid/TGridControl.h"
#include "operaciones/sesiones.h"
#include "sessions/TFRM_verSesion.h"
#include "sessions/graficaBarras.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/registroPantallas.h"
#include "ui/mensajes.h"
#include "ui/recursosPantalla.h"

REGISTRA_PANTALLA(TFRM_controlCierres);

namespace {
TListaPantalla::Opciones opciones() {
  TListaPantalla::Opciones o;
  o.verTodos = false;
  o.busquedaUnaVez = true;
  return o;
}
}  // namespace

TFRM_controlCierres::TFRM_controlCierres(QWidget* parent)
    : TListaPantalla(QStringLiteral("Control de Cierres"), opciones(), parent) {
  DTP_desde = agregaFiltroFecha(QStringLiteral("Fecha Inicial"), QStringLiteral("DTP_desde"));
  DTP_hasta = agregaFiltroFecha(QStringLiteral("Fecha Final"), QStringLiteral("DTP_hasta"));

  auto* cajero = new QWidget(this);
  auto* fila = new QHBoxLayout(cajero);
  fila->setContentsMargins(0, 0, 0, 0);
  fila->setSpacing(4);
  LBL_cajero = new QLabel(QStringLiteral("Seleccionar vendedor ..."), cajero);
  LBL_cajero->setMinimumSize(170, 44);
  LBL_cajero->setStyleSheet(QStringLiteral(
      "QLabel{background:white;border:1px solid #C5CED8;border-radius:6px;padding:0 8px;"
      "font-size:15px;}"));
  BTN_seleccionarCajero = new QPushButton(cajero);
  BTN_seleccionarCajero->setIcon(mini_icono(QStringLiteral("buscar")));
  BTN_seleccionarCajero->setToolTip(QStringLiteral("Seleccionar cajero"));
  BTN_seleccionarCajero->setProperty("rol", QStringLiteral("borrar"));
  BTN_seleccionarCajero->setAutoDefault(false);
  BTN_seleccionarCajero->setFocusPolicy(Qt::NoFocus);
  fila->addWidget(LBL_cajero, 1);
  fila->addWidget(BTN_seleccionarCajero);
  agregaFiltro(QStringLiteral("Cajero"), cajero);
  nombra(QStringLiteral("Cajero"), LBL_cajero);
  nombra(QStringLiteral("Seleccionar cajero"), BTN_seleccionarCajero);
  connect(BTN_seleccionarCajero, &QPushButton::clicked, this,
          &TFRM_controlCierres::BTN_seleccionarCajeroClick);

  BTN_verSesion = agregaBotonAccion(QStringLiteral("Ver Sesión"));
  connect(BTN_verSesion, &QPushButton::clicked, this, &TFRM_controlCierres::BTN_verSesionClick);

  uGraficaRetiros =
      new TGraficaBarras(QStringLiteral("Efectivo retirado por día y cajero"),
                         QStringLiteral("No hay cortes ni cierres en las fechas elegidas."),
                         TGraficaBarras::Apiladas, this);
  uGraficaRetiros->setFixedHeight(210);
  static_cast<QVBoxLayout*>(layout())->addWidget(uGraficaRetiros);
  nombra(QStringLiteral("Retiros"), uGraficaRetiros);

  delegado()->setPintura(QStringLiteral("Sesión"), TPintura::Centro);
  delegado()->setPintura(QStringLiteral("Tipo"), TPintura::Centro);
  delegado()->setPintura(QStringLiteral("Monto"), TPintura::Moneda);
  delegado()->setPintura(QStringLiteral("Fecha Hora"), TPintura::Fecha);
  preparaGrid();
}

void TFRM_controlCierres::declaraColumnas(TGridControl& g) {
  g.add(2, QStringLiteral("Ver"), QString(), QStringLiteral("Engrane"), 60, false);
  g.add(0, QStringLiteral("_cajaID"), QStringLiteral("puntoCaja_id"), QString(), 30, false);
  g.add(0, QStringLiteral("_cajaClave"), QStringLiteral("puntoCaja_clave"), QString(), 30, false);
  g.add(0, QStringLiteral("Caja"), QStringLiteral("puntoCajaSesion_cajaNombre"), QString(), 80,
        true);
  g.add(0, QStringLiteral("Sesión"), QStringLiteral("puntoCajaSesion_id"), QString(), 60, true);
  g.add(0, QStringLiteral("_corteID"), QStringLiteral("puntoCorte_id"), QString(), 30, false);
  g.add(0, QStringLiteral("_cajeroID"), QStringLiteral("puntoCajero_id"), QString(), 80, false);
  g.add(0, QStringLiteral("Nombre"), QStringLiteral("_nombreCompleto"), QString(), 80, true);
  g.add(0, QStringLiteral("Fecha Hora"), QStringLiteral("puntoCorte_fechaHora"), QString(), 140,
        true);
  g.add(0, QStringLiteral("_esCorte"), QStringLiteral("puntoCorte_esCorte"), QString(), 80, false);
  g.add(0, QStringLiteral("Tipo"), QStringLiteral("_tipo"), QString(), 80, true);
  g.add(0, QStringLiteral("_monto"), QStringLiteral("puntoCorte_monto"), QString(), 30, false);
  g.add(0, QStringLiteral("Monto"), QStringLiteral("puntoCorte_monto"), QString(), 80, true);
}

CmidTierResponse TFRM_controlCierres::consulta() {
  if (DTP_desde->date() > DTP_hasta->date()) {
    u_mensaje(QStringLiteral("La fecha inicial es posterior a la fecha final."));
    return CmidTierResponse();
  }
  const QVariant cajero = uSeleccionCajero.ok
                              ? QVariant(static_cast<qlonglong>(uSeleccionCajero.cajero.id))
                              : nuloEntero();
  uUltimaConsulta = filtrarCortes(DTP_desde->date(), DTP_hasta->date(), cajero,
                                  localSYS.getConexion(), localSYS.getIdNegocio());
  return uUltimaConsulta;
}

void TFRM_controlCierres::despuesDeCargar() {
  uGraficaRetiros->muestra(retirosPorDiaYCajero(uUltimaConsulta));
}

QVector<TColumnaPDF> TFRM_controlCierres::columnasPDF() const {
  return {{QStringLiteral("Caja"), 40, 0, 0},    {QStringLiteral("Sesión"), 40, 0, 1},
          {QStringLiteral("Nombre"), 150, 0, 0}, {QStringLiteral("Fecha Hora"), 70, 0, 0},
          {QStringLiteral("Tipo"), 60, 0, 1},    {QStringLiteral("Monto"), 60, 1, 2}};
}

QString TFRM_controlCierres::rangoFechasPDF() const {
  return QStringLiteral("Del: ") + DTP_desde->date().toString(QStringLiteral("dd/MM/yyyy")) +
         QStringLiteral(" Al: ") + DTP_hasta->date().toString(QStringLiteral("dd/MM/yyyy"));
}

void TFRM_controlCierres::BTN_seleccionarCajeroClick() {
  uSeleccionCajero = seleccionarCajero(localSYS);
  if (uSeleccionCajero.ok) LBL_cajero->setText(uSeleccionCajero.cajero.nombreCompleto);
}

void TFRM_controlCierres::BTN_verSesionClick() {
  TFRM_verSesion sesion(this);
  sesion.init();
}
