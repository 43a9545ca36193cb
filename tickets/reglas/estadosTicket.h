#pragma once
// What ticket control offers for a ticket, by its invoicing state (puntoOperacion_facturadoMetodo
// read as an integer, empty being 0): the image of its "Estado" column and the entries of its
// action menu besides "Ver ticket", which is always there.

#include <QString>

struct TaccionesTicket {
  bool subirTicket = false;
  bool facturar = false;
  bool verPDF = false;
  bool enviarCorreo = false;
};

// Empty state: "Elimina" and "Subir Ticket"; "2": "doc", "Ver PDF" and "Enviar Correo
// Electrónico"; "3": "arrowUp" and "Facturar"; "4": "docG" and "Ver PDF"; "6": "docU" and
// nothing more; any other value: no image and every entry.
QString imagenEstadoTicket(const QString& metodo);
TaccionesTicket accionesTicket(const QString& metodo);

// The state read as ticket control reads it: trimmed, empty is 0, not a number is -1.
int estadoTicketEntero(const QString& metodo);
