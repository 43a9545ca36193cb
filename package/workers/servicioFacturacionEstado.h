#pragma once
// The web-service library's status pages of the online invoicing service
// (dll_obtenerEstadoTicket): which of the business's tickets, received in a window, are in a
// given status, one page per call. The request and the reading of the answer are pure; the
// call itself is blocking HTTP for worker threads.

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QUrl>
#include <QVector>

#include "operaciones/credenciales.h"

// The service's ticket-status enumeration: 0 uploaded, 1 invoiced on its own (at the portal
// or through the API), 2 in a global invoice.
enum class enum_estatusTicket : quint8 { cargado = 0, facturado = 1, facturaGlobal = 2 };

// One ticket of a page.
struct TticketEstado {
  QString identificador;  // the ticket's identifier at the service
  qint64 ticketNo = 0;
  int estado = 0;
  QString recibido;
  double total = 0;
  QString factura;  // the invoice's fiscal UUID, when invoiced
  QString fechaTimbrado;
  QString rfcReceptor;
  bool portal = false;
};

// What one call fills: success, the service's error text, the number of matching tickets over
// all pages and this page's tickets.
struct TticketEstadoResultado {
  bool ok = false;
  QString error;
  qint32 total = 0;
  QVector<TticketEstado> tickets;
};

// Where the calls go and on whose behalf: the service's base address, the business RFC and how
// long one call may wait.
struct TservicioEstado {
  QString urlBase;
  QString rfc;
  int tiempoEsperaMs = 15000;
};

QUrl u_urlEstadoTickets(const QString& urlBase);
QJsonObject u_cuerpoEstadoTickets(const QString& rfc, const TcredencialesServicio& credenciales,
                                  const QDateTime& fechaIni, const QDateTime& fechaFin,
                                  qint32 registrosPorPagina, qint32 registroInicial,
                                  enum_estatusTicket estado);
TticketEstadoResultado u_leeRespuestaEstado(int estadoHttp, const QByteArray& cuerpo);

// One page: fills *resultado (always: a call that got no answer reports why).
void dll_obtenerEstadoTicket(const TservicioEstado& servicio, TticketEstadoResultado* resultado,
                             const QString& usuario, const QString& cuenta,
                             const QString& contrasena, const QDateTime& fechaIni,
                             const QDateTime& fechaFin, qint32 registrosPorPagina,
                             qint32 registroInicial, enum_estatusTicket estado);
