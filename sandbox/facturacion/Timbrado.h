#pragma once
// Stamping of an invoice or credit note against the store: the tickets and related invoices it
// names must be this business's, a ticket is invoiced once, and a retry of the same invoice
// gets the UUID it already has instead of a second stamp.
//
// Ticket status (`estado`) at the service: 1 uploaded, not invoiced; 2 invoiced on its own
// (receiver with a specific RFC); 3 in a global invoice to the general public.

#include <QJsonObject>
#include <QString>

#include "AlmacenTickets.h"

constexpr int ESTADO_CARGADO = 1;
constexpr int ESTADO_FACTURADO = 2;
constexpr int ESTADO_FACTURA_GLOBAL = 3;

// What one call of the API answers, and the line it leaves in the log.
struct ResultadoLlamada {
  int estado;
  QJsonObject cuerpo;  // the answer
  QString bitacora;    // what happened, for the log line
};

// `cuerpo` has passed the credential and invoice checks. Stores the invoice and marks its
// tickets when it is new; answers 201, 200 (the same invoice stamped before), 404, 409 or 500.
// With an idempotency key (`clave` not empty) a request the business already sent under that
// key gets that invoice back (200), and a different request under it is refused (409).
ResultadoLlamada timbra(AlmacenTickets& almacen, const QJsonObject& cuerpo,
                        const QString& clave = {});

// The customer invoiced the ticket at the portal: a new invoice (FAC, origin "portal") to the
// receiver, of the ticket's lines and totals, and the ticket in state 2. Answers 201, 404
// (unknown ticket), 409 (already invoiced) or 500.
ResultadoLlamada facturaEnPortal(AlmacenTickets& almacen, const QString& identificador,
                                 const QJsonObject& receptor);
