#pragma once
// The customer's receipt of a stored sale and its invoicing QR code.

#include <QString>

#include "grid/TGridControl.h"
#include "printer/TImpresionTicket.h"
#include "printer/composicionTicket.h"

struct TDatosTicketVenta {
  QString identificador;  // ticket id at the invoicing service; empty when not uploaded
  int ticketNo = 0;
  QString cajero;
  double impuestos = 0, total = 0, pagado = 0, devuelto = 0;
  QString efectivoTexto;  // the cash field exactly as typed
  TFormasPago formas;
};

// QR bitmap of the ticket: "<carpeta app>/Temp/otros/<RFC>/cbb/<negocio>_<ticket>.bmp" holding
// link + "?id=" + identificador. Answers the file name, or empty when no file was produced.
QString generaCBB(const QString& identificador, const QString& ticketNo);
QString generaCBB(const QString& identificador, const QString& ticketNo, const QString& enlace);

// Builds the ticket model of a sale from the register's line table.
TImpresionTicket armaTicketVenta(const TDatosTicketVenta& datos, const TGridControl& lineas);

// A receipt laid out but for what the identifier decides (the portal lines and the QR code),
// so a sale lays it out while its ticket uploads.
struct TTicketPreparado {
  RECticketInfo info;  // the record for the printer, logo path included
  QVector<TRenglonTicket> cuerpo;
  bool fechaAlImprimir = false;  // a sale's receipt: dated when it prints, not when laid out
};
TTicketPreparado preparaTicket(TImpresionTicket t);
// A sale's receipt, before its identifier is known (datos.identificador is not read).
TTicketPreparado preparaTicketVenta(const TDatosTicketVenta& datos, const TGridControl& lineas);
// Finishes and prints a prepared receipt: the QR code of `identificador` when the model has
// none and there is an identifier, and, when `conPortal`, the portal line (`enlace`, the
// resources' portal link when empty) and the identifier line. Answers the record printed.
RECticketInfo imprimePreparado(TTicketPreparado p, const QString& identificador,
                               const QString& ticketNo, bool conPortal, QString enlace = QString());
// Prints a filled ticket model as the sale's receipt (preparaTicket, then imprimePreparado).
// The reprint and the test page print through here.
RECticketInfo imprimeTicketArmado(TImpresionTicket t, const QString& identificador,
                                  const QString& ticketNo, bool conPortal,
                                  QString enlace = QString());
