#include "admin/TFRM_cajeros.h"

#include <QLineEdit>
#include <QPushButton>

#include "admin/TFRM_cajerosCaptura.h"
#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "operaciones/cajeros.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/registroPantallas.h"

REGISTRA_PANTALLA(TFRM_cajeros);

TFRM_cajeros::TFRM_cajeros(QWidget* parent)
    : TListaPantalla(QStringLiteral("Cajeros"), Opciones{}, parent) {
  TXT_nombre = agregaCampoBusqueda(QStringLiteral("Nombre"), QStringLiteral("TXT_nombre"));
  TXT_clave = agregaCampoBusqueda(QStringLiteral("Clave"), QStringLiteral("TXT_clave"));
  BTN_nuevo = agregaBotonAccion(QStringLiteral("Nuevo Cajero"));
  connect(BTN_nuevo, &QPushButton::clicked, this, &TFRM_cajeros::BTN_nuevoClick);
  preparaGrid();
}

void TFRM_cajeros::declaraColumnas(TGridControl& g) {
  g.add(2, QString(), QString(), QStringLiteral("Edita"), 40, true, true);
  g.add(0, QStringLiteral("_cajeroID"), QStringLiteral("puntoCajero_id"), QString(), 0, false);
  g.add(0, QStringLiteral("_personaID"), QStringLiteral("persona_idPersona"), QString(), 80, false);
  g.add(0, QStringLiteral("Clave"), QStringLiteral("puntoCajero_clave"), QString(), 150, true);
  g.add(0, QStringLiteral("Nombre"), QStringLiteral("persona_nombre"), QString(), 150, true);
  g.add(0, QStringLiteral("EstadoID"), QStringLiteral("ventasVendedorEstado_id"), QString(), 40,
        false);
  g.add(0, QStringLiteral("Estado"), QStringLiteral("ventasVendedorEstado_etiqueta"), QString(), 80,
        true);
}

CmidTierResponse TFRM_cajeros::consulta() {
  return consultaCajeros(filtroTexto(TXT_nombre), filtroTexto(TXT_clave), nuloEntero(),
                         localSYS.getIdNegocio(), localSYS.getConexion());
}

QVector<TColumnaPDF> TFRM_cajeros::columnasPDF() const {
  return {{QStringLiteral("Clave"), 50, 0, 0},
          {QStringLiteral("Nombre"), 300, 1, 0},
          {QStringLiteral("Estado"), 100, 1, 0}};
}

void TFRM_cajeros::BTN_borrarTXTnombreClick() { TXT_nombre->clear(); }
void TFRM_cajeros::BTN_borrarTXTclaveClick() { TXT_clave->clear(); }

void TFRM_cajeros::accionFila(int fila, const QPoint& global) {
  Q_UNUSED(global);
  TFRM_cajerosCaptura captura(this);
  captura.initEditar(grid().getCeldaAsInt(QStringLiteral("_cajeroID"), fila), localSYS);
  buscar();
}

void TFRM_cajeros::BTN_nuevoClick() {
  TFRM_cajerosCaptura captura(this);
  captura.initNuevo(localSYS);
  buscar();
}
