#pragma once
// Stamping of an invoice or credit note against the store: the tickets and related invoices it
// names must be this business's, a ticket is invoiced once, and a retry of the same invoice
// gets the UUID it already has instead of a second stamp.
//
// Ticket status (`estado`) at the service: 1 uploaded, not invoiced; 2 invoiced on its own
// (receiver with a specific RFC); 3 in a global invoice to the general public.

#include <QHttpServerResponder>
#include <QJsonObject>
#include <QString>

#include "AlmacenTickets.h"

constexpr int ESTADO_CARGADO = 1;
constexpr int ESTADO_FACTURADO = 2;
constexpr int ESTADO_FACTURA_GLOBAL = 3;

struct ResultadoTimbrado {
  QHttpServerResponder::StatusCode estado;
  QJsonObject cuerpo;  // the answer
  QString bitacora;    // what happened, for the log line
};

// `cuerpo` has passed the credential and invoice checks. Stores the invoice and marks its
// tickets when it is new; answers 201, 200 (the same invoice stamped before), 404, 409 or 500.
ResultadoTimbrado timbra(AlmacenTickets& almacen, const QJsonObject& cuerpo);
