#include "returns/TFRM_devolucionesPuntoVenta.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "operaciones/devoluciones.h"
#include "returns/TFRM_devolucion.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/registroPantallas.h"

REGISTRA_PANTALLA(TFRM_devolucionesPuntoVenta);

namespace {
TListaPantalla::Opciones opciones() {
  TListaPantalla::Opciones o;
  o.busquedaUnaVez = true;
  o.verTodos = false;
  return o;
}
}  // namespace

TFRM_devolucionesPuntoVenta::TFRM_devolucionesPuntoVenta(QWidget* parent)
    : TListaPantalla(QStringLiteral("Devoluciones"), opciones(), parent) {
  DTP_fechaInicial = agregaFiltroFecha(QStringLiteral("Desde"), QStringLiteral("DTP_fechaInicial"));
  DTP_fechaFinal = agregaFiltroFecha(QStringLiteral("Hasta"), QStringLiteral("DTP_fechaFinal"));
  TXT_ticket = agregaCampoBusqueda(QStringLiteral("Ticket"), QStringLiteral("TXT_ticket"), 9, 130);
  TXT_ticket->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), TXT_ticket));
  BTN_nuevaDevolucion = agregaBotonAccion(QStringLiteral("Nueva Devolución"));
  BTN_nuevaDevolucion->setObjectName(QStringLiteral("BTN_nuevaDevolucion"));
  connect(BTN_nuevaDevolucion, &QPushButton::clicked, this,
          &TFRM_devolucionesPuntoVenta::BTN_nuevaDevolucionClick);
  delegado()->setPintura(QStringLiteral("Venta"), TPintura::Fecha);
  delegado()->setPintura(QStringLiteral("Devolucion"), TPintura::Fecha);
  delegado()->setPintura(QStringLiteral("Cantidad"), TPintura::Derecha);
  delegado()->setPintura(QStringLiteral("Dev."), TPintura::Centro);
  delegado()->setPintura(QStringLiteral("Ticket"), TPintura::Centro);
  preparaGrid();
}

void TFRM_devolucionesPuntoVenta::declaraColumnas(TGridControl& g) {
  g.add(0, QStringLiteral("Dev."), QStringLiteral("ventasDevolucion_id"), QString(), 40, true);
  g.add(0, QStringLiteral("Ticket"), QStringLiteral("puntoOperacion_ticketNo"), QString(), 40,
        true);
  g.add(0, QStringLiteral("Venta"), QStringLiteral("puntoOperacion_fechaHora"), QString(), 150,
        true);
  g.add(0, QStringLiteral("Devolucion"), QStringLiteral("ventasDevolucion_fechaDevolucion"),
        QString(), 150, true);
  g.add(0, QStringLiteral("Producto"), QStringLiteral("inventarioProducto_nombre"), QString(), 180,
        true);
  g.add(0, QStringLiteral("Cantidad"), QStringLiteral("ventasDevolucion_cantidad"), QString(), 80,
        true);
  g.add(0, QStringLiteral("Tipo"), QStringLiteral("ventasDevolucion_devolucionTipo"), QString(), 40,
        false);
  g.add(0, QStringLiteral("Estado"), QStringLiteral("ventasDevolucion_estadoProducto"), QString(),
        60, true);
}

CmidTierResponse TFRM_devolucionesPuntoVenta::consulta() {
  const QString texto = TXT_ticket->text().trimmed();
  if (texto.isEmpty())
    return buscaDevolucionPorFecha(inicioDelDia(DTP_fechaInicial), finDelDia(DTP_fechaFinal),
                                   localSYS.getIdNegocio(), localSYS.getConexion());
  const int ticket = texto.toInt();
  // A ticket number that is no number of a sale searches nothing: the grid keeps its rows.
  if (ticket <= 0) return CmidTierResponse::fallo(QString());
  return buscaDevolucionPorTicketNo(ticket, localSYS.getIdNegocio(), localSYS.getConexion());
}

QVector<TColumnaPDF> TFRM_devolucionesPuntoVenta::columnasPDF() const {
  return {{QStringLiteral("No."), 30, 0, 1},       {QStringLiteral("Ticket"), 30, 0, 1},
          {QStringLiteral("Venta"), 110, 1, 1},    {QStringLiteral("Devolución"), 110, 0, 1},
          {QStringLiteral("Producto"), 130, 0, 0}, {QStringLiteral("Tipo"), 30, 0, 1},
          {QStringLiteral("Estado"), 120, 0, 1}};
}

void TFRM_devolucionesPuntoVenta::escribeTicket(const QString& texto) {
  TXT_ticket->setText(texto);
}

void TFRM_devolucionesPuntoVenta::fijaFechas(const QDate& desde, const QDate& hasta) {
  DTP_fechaInicial->setDate(desde);
  DTP_fechaFinal->setDate(hasta);
}

void TFRM_devolucionesPuntoVenta::BTN_nuevaDevolucionClick() {
  TFRM_devolucion devolucion(this);
  devolucion.init();
  buscar();
}
