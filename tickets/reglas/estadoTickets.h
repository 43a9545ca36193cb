#pragma once
// The ticket status poll without its thread: the window asked about, the paging over the
// service's status pages and the single update at the end. Pages and the update are handed
// in, so the paging rules (one more, empty page when the total is an exact multiple of the page
// size; nothing updated when any page fails) are followed and tested without a network.

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

#include "operaciones/tickets.h"
#include "workers/servicioFacturacionEstado.h"

// Parameters and outcome of one poll.
struct datosThreadEstadoTicket {
  bool ok = false;  // every page was read and the update succeeded
  QDateTime fechaIni;
  QDateTime fechaFin;
  qint32 registrosPorPagina = 100;
  qint32 registroInicial = 0;
  enum_estatusTicket ticketEstado = enum_estatusTicket::facturado;
  QString usuario;
  QString cuenta;
  QString contrasenia;        // in clear
  qint32 ticketsTotales = 0;  // carried unchanged
  QString error;              // the service's error text of the last call
};

// The window of a poll started from ticket control's dates: from the start of the "Desde" day,
// never earlier than one month before `ahora`, to the end of the "Hasta" day, never before the
// start.
struct TventanaEstado {
  QDateTime inicio;
  QDateTime fin;
};
TventanaEstado ventanaEstadoTickets(const QDateTime& desde, const QDateTime& hasta,
                                    const QDateTime& ahora);

// The poll's parameters as ticket control starts it: the window above, pages of 100 from 0,
// status 1 (invoiced on their own) and the account in clear.
datosThreadEstadoTicket parametrosEstadoTickets(const TventanaEstado& ventana,
                                                const TcredencialesServicio& credenciales);

// One page from `registroInicial`, as dll_obtenerEstadoTicket fills it.
using TpaginaEstado =
    std::function<void(TticketEstadoResultado* resultado, qint32 registroInicial)>;
// The update with every identifier collected, in order, and the invoices the pages named.
using TaplicaEstado = std::function<bool(const QStringList& identificadores,
                                         const QHash<QString, TfacturaServicio>& facturas)>;

// Reads pages until the next one would start past the service's total, then applies the whole
// list once. A failing page ends the loop: `ok` false with that call's error, nothing applied.
// Fills datos.ok and datos.error; answers how many pages were asked for.
int consultaEstadoTickets(datosThreadEstadoTicket& datos, const TpaginaEstado& pagina,
                          const TaplicaEstado& aplica);

// The end handler's message: "¡Operaciones completadas!" or the failure with its reason.
QString mensajeEstadoTickets(const datosThreadEstadoTicket& resultado);
