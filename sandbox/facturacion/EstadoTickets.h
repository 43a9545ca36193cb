#pragma once
// The status pages the shop polls, and the control calls that give a poll something to find:
// a ticket invoiced by its customer at the portal, and many tickets at once for benchmarks.
//
// The status call speaks the shop's ticket-status enumeration, whose values are the store's
// ticket states less one: 0 uploaded and not invoiced (state 1), 1 invoiced on its own (state
// 2, at the portal or through the API), 2 in a global invoice (state 3).

#include <QJsonObject>
#include <QString>

#include "AlmacenTickets.h"
#include "Timbrado.h"

// Default receiver of an invoice made at the portal.
inline const QString RFC_CLIENTE_PORTAL = QStringLiteral("CACX7605101P8");
inline const QString NOMBRE_CLIENTE_PORTAL = QStringLiteral("XOCHILT CASAS CHAVEZ");

// `cuerpo` has passed the credential checks. One page of the business's tickets received in
// the window and in the asked status, or 400 naming the field that is not usable.
ResultadoLlamada consultaEstado(const AlmacenTickets& almacen, const QJsonObject& cuerpo);

// POST /control/tickets/<id>/facturar: the optional body gives the receiver.
ResultadoLlamada marcaFacturadoEnPortal(AlmacenTickets& almacen, const QString& identificador,
                                        const QJsonObject& cuerpo);

// POST /control/tickets/generar: many tickets of one business in one durable write.
ResultadoLlamada generaTickets(AlmacenTickets& almacen, const QJsonObject& cuerpo);
