#pragma once
// The customer's receipt of a stored sale and its invoicing QR code.

#include <QString>

#include "grid/TGridControl.h"
#include "printer/TImpresionTicket.h"

struct TDatosTicketVenta {
  QString identificador;       // ticket id at the invoicing service; empty when not uploaded
  int ticketNo = 0;
  QString cajero;
  double impuestos = 0, total = 0, pagado = 0, devuelto = 0;
  QString efectivoTexto;       // the cash field exactly as typed
  TFormasPago formas;
  bool requiereFactura = false;
};

// QR bitmap of the ticket: "<carpeta app>/Temp/otros/<RFC>/cbb/<negocio>_<ticket>.bmp" holding
// link + "?id=" + identificador. Answers the file name, or empty when no file was produced.
QString generaCBB(const QString& identificador, const QString& ticketNo);
QString generaCBB(const QString& identificador, const QString& ticketNo, const QString& enlace);

// Builds the ticket model of a sale from the register's line table.
TImpresionTicket armaTicketVenta(const TDatosTicketVenta& datos, const TGridControl& lineas);
// Fills and prints the receipt; answers the record handed to the printer.
RECticketInfo imprimeTicket(const TDatosTicketVenta& datos, const TGridControl& lineas);
// Prints a filled ticket model as the sale's receipt: the QR code of `identificador` when the
// model has none and there is an identifier, the business logo, and, when `conPortal`, the
// portal line (`enlace`, the resources' portal link when empty) and the identifier line. The
// reprint and the test page print through here.
RECticketInfo imprimeTicketArmado(TImpresionTicket t, const QString& identificador,
                                  const QString& ticketNo, bool conPortal,
                                  QString enlace = QString());
