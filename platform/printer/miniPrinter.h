#pragma once
// Receipt printer: the ticket as ESC/POS to a device, a network printer or a folder, plus a
// picture of the same receipt so it can be seen without a printer.

#include <QString>

#include "printer/TImpresionTicket.h"
#include "printer/composicionTicket.h"

struct TResultadoImpresion {
  bool ok = false;
  QString destino;        // device path, host:port or folder the bytes went to
  QString archivoEscPos;  // copy of the bytes in the output folder
  QString archivoPng;     // picture of the receipt (empty for the drawer)
  QString error;          // Spanish; empty when ok
};

// `destino`: a device ("/dev/usb/lp0"), a network printer ("192.168.1.50:9100") or a folder;
// empty is the folder "Temp/tickets" under the working directory. `carpetaSalida` keeps the
// ESC/POS copy and the picture of every ticket; empty is the destination folder, or
// "Temp/tickets" when printing to a device or the network.
void miniPrinterConfigura(const QString& destino, const QString& carpetaSalida = QString());

// Prints the ticket: sends it to the printer and queues its copies (ESC/POS and picture) for a
// thread of their own. Failures never throw: false tells of the printer or the folder, and
// miniPrinterUltimoTicket() (which waits for the copies) keeps every failure.
bool miniPrinterImprimeTicket3(RECticketInfo info);
// The same for a ticket whose rows the caller already laid out (componeTicket of `info`).
bool miniPrinterImprimeRenglones(const RECticketInfo& info, QVector<TRenglonTicket> renglones);
// Opens the cash drawer through the printer.
bool miniPrinterAbreCajon();

TResultadoImpresion miniPrinterUltimoTicket();
TResultadoImpresion miniPrinterUltimoCajon();
