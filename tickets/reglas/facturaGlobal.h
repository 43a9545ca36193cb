#pragma once
// The global invoice without its screen: the request to the general public built from the
// chosen tickets, and the marks the stamped invoice leaves on them.

#include <QDateTime>
#include <QString>
#include <QVector>

#include "context/TsistemaDatos.h"
#include "facturacion/datosFacturar.h"

// A chosen row of the global invoice's list, as its cells read.
struct TticketGlobal {
  int operacionID = 0;
  QString ticket;      // "Ticket"
  QString subtotal;    // "_subtotal"
  QString descuento;   // "_descuento"
  QString total;       // "Total"
  QString referencia;  // "Referencia": the ticket's identifier at the service
};

// The concept columns of a global invoice, in order.
QStringList columnasConceptoGlobal();

// The request: one "Venta" concept per ticket (key its number, quantity 1, subtotal as price,
// discount truncated to the cent), each ticket's tax record, the dominant payment form over
// all tickets (the earlier ticket on a tie), the sums (subtotals as they are, discounts and
// totals each truncated to the cent) and the tickets' identifiers. Totals and payments are
// read from the database.
datosFacturar preparaFacturaGlobal(const QVector<TticketGlobal>& elegidos, const TNegocio& negocio,
                                   TConexionSesion& conexion);

// Records the stamped global invoice on the chosen tickets ("4" with its UUID), in one
// transaction, only on tickets still "uploaded, not invoiced": a ticket that left that state
// meanwhile (invoiced by another station) is not taken. Answers the tickets marked, -1 when the
// database refused (nothing marked then; stamping the same tickets again gets the same UUID
// from the service, so the marks can be made later).
int marcaTicketsFacturaGlobal(const QVector<int>& operaciones, const QString& uuid,
                              const QDateTime& fecha, TConexionSesion& conexion,
                              QString* error = nullptr);
