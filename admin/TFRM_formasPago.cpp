#include "admin/TFRM_formasPago.h"

#include <QLineEdit>
#include <QPushButton>

#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "operaciones/formasPago.h"
#include "services/TFRM_cobroServiciosExternos.h"
#include "shell/registroPantallas.h"
#include "ui/TFRM_seleccionarFormaPagoFirebird.h"

REGISTRA_PANTALLA(TFRM_formasPago);

namespace {
TListaPantalla::Opciones opciones() {
  TListaPantalla::Opciones o;
  o.busquedaUnaVez = true;
  o.limpiarBusca = true;
  return o;
}
}  // namespace

TFRM_formasPago::TFRM_formasPago(QWidget* parent)
    : TListaPantalla(QStringLiteral("Formas de Pago"), opciones(), parent),
      uBaseDeDatos(SYS_aliasRutaDB) {
  TXT_nombre = agregaCampoBusqueda(QStringLiteral("Nombre"), QStringLiteral("TXT_nombre"));
  auto* seleccionar = agregaBotonOpcion(QStringLiteral("Seleccionar Forma de Pago"));
  auto* servicios = agregaBotonOpcion(QStringLiteral("Servicios Externos"));
  connect(seleccionar, &QPushButton::clicked, this,
          &TFRM_formasPago::BTN_seleccionarFormaPagoClick);
  connect(servicios, &QPushButton::clicked, this, &TFRM_formasPago::BTN_serviciosExternosClick);
  preparaGrid();
  if (auto* borrar = qobject_cast<QPushButton*>(controlNombrado(QStringLiteral("Borrar Nombre"))))
    connect(borrar, &QPushButton::clicked, TXT_nombre, [this] { TXT_nombre->setFocus(); });
}

void TFRM_formasPago::declaraColumnas(TGridControl& g) {
  g.add(0, QStringLiteral("id"), QStringLiteral("puntoMetodoPago_id"), QString(), 60, false);
  g.add(0, QStringLiteral("Nombre"), QStringLiteral("puntoMetodoPago_nombre"), QString(), 150,
        true);
}

CmidTierResponse TFRM_formasPago::consulta() {
  return consultaFormaDePagos(filtroTexto(TXT_nombre), localSYS.getIdNegocio(),
                              localSYS.getConexion());
}

QVector<TColumnaPDF> TFRM_formasPago::columnasPDF() const {
  return {{QStringLiteral("Nombre"), 400, 0, 0}};
}

void TFRM_formasPago::BTN_seleccionarFormaPagoClick() {
  TFRM_seleccionarFormaPagoFirebird picker(this);
  picker.init();
  buscar();
}

void TFRM_formasPago::BTN_serviciosExternosClick() {
  TFRM_cobroServiciosExternos servicios(this);
  servicios.init();
  buscar();
}
