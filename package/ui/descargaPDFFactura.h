#pragma once
// "Ver PDF" of every screen that lists invoices (ticket control, session view, credit notes):
// the PDF is looked for in the local folder (facturacion/pdfFacturas.h) and downloaded from the
// invoicing service once, while the wait screen shows, when it is not there yet.

#include <QString>

#include "context/TsistemaDatos.h"
#include "operaciones/credenciales.h"

// The path of the invoice's PDF once it is on disk. Empty after the user was told why: the
// folder could not be made, or the download failed (the service's reason; nothing written).
QString u_aseguraPDFFactura(const QString& uuid, const TcredencialesServicio& credenciales,
                            const TsistemaDatos& sys);

// The same, then opens the PDF with the desktop's program for it. True when it was opened.
bool u_abrePDFFactura(const QString& uuid, const TcredencialesServicio& credenciales,
                      const TsistemaDatos& sys);
