#pragma once
// The reprint of a stored ticket: the receipt model of the sale (the checkout's own layout and
// printer code), filled from what the ticket view shows and the store keeps instead of from the
// register: its lines, cashier and number as shown, its stored date, amounts and payment lines.

#include <QString>
#include <QVector>

#include "context/TsistemaDatos.h"
#include "printer/TImpresionTicket.h"

// One stored ticket as the view shows it.
struct TticketGuardado {
  QString fecha;      // the "Fecha" label, as shown (read back into a date-time)
  QString ticketNo;   // "No. ticket"
  QString cajero;     // "Cajero"
  QString total;      // "Total", as shown ("$ 198.35")
  QString impuestos;  // stored texts
  QString pago;
  QString devuelto;
  QString estado;  // invoicing state ("3": uploaded, not invoiced)
  QString uuid;    // the identifier at the invoicing service
  TFormasPago formas;
  struct Linea {
    QString cantidad, producto, precio, importe, categoria;  // the view's cells
  };
  QVector<Linea> lineas;
};

// The receipt model: concepts from the lines ("Cantidad", "Producto", "Precio", "Importe",
// "Categoría"), cashier and number, the stored date, "Impuestos", "Total" (as shown), "Su Pago"
// and "Devuelto", and the stored payment lines; no cash text.
TImpresionTicket armaTicketReimpresion(const TticketGuardado& ticket, const TNegocio& negocio);

// Whether the reprint carries the invoicing portal's line and the identifier: only while the
// ticket is uploaded and not invoiced.
bool reimpresionConPortal(const TticketGuardado& ticket);
