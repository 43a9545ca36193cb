#pragma once
// The customer's invoicing portal: the page a receipt's QR code opens ("/portal?id=<ticket
// identifier>"). The customer sees the ticket, types the RFC and name to invoice it to, and gets
// the invoice's UUID and its PDF. Plain HTML forms, so any phone's browser can use it.

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include "AlmacenTickets.h"

struct PaginaPortal {
  int estado = 200;
  QByteArray html;
  QString bitacora;  // what happened, for the log line
};

// GET: the ticket `identificador` with the invoicing form, or its invoice when it has one; a
// form asking for the identifier when none was given.
PaginaPortal portalMuestra(const AlmacenTickets& almacen, const QString& identificador);

// POST of the form (`application/x-www-form-urlencoded`: id, receptor, nombre): invoices the
// ticket and shows the invoice, or shows the form again with what was wrong.
PaginaPortal portalFactura(AlmacenTickets& almacen, const QByteArray& formulario);
