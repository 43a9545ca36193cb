#pragma once
// The local folder of invoice PDFs: "pdfFacturasGenerados/<RFC>/<UUID>.pdf" under the
// application folder. A PDF is downloaded once (TthreadConexionRemotaPDF) and opened from here
// afterwards; it is written under a temporary name and renamed into place, so a PDF in the
// folder is always whole, whatever interrupted the writing.

#include <QByteArray>
#include <QString>

// A UUID as it may name a file and an address: letters, digits and hyphens (1 to 64), after
// trimming.
bool u_uuidUtilizable(const QString& uuid);
// The PDF bytes of a Base64 text (standard alphabet); empty when it is not a PDF in Base64.
QByteArray u_decodificaPDF(const QString& base64);

// "<carpetaAplicacion>/pdfFacturasGenerados/<RFC>"; an empty application folder is the working
// folder.
QString u_carpetaPDFFacturas(const QString& carpetaAplicacion, const QString& rfc);

// The PDF's path; empty when the UUID is not one (letters, digits and hyphens only) or the RFC
// is empty, so a cell's text can never name a file outside the folder.
QString u_rutaPDFFactura(const QString& carpetaAplicacion, const QString& rfc, const QString& uuid);

// Creates the folder and its parent when missing; false with the reason.
bool u_creaCarpetaPDFFacturas(const QString& carpetaAplicacion, const QString& rfc,
                              QString* error = nullptr);

// Decodes the Base64 text (standard alphabet) and writes it to `ruta`, replacing an older file
// only once the new one is complete. False with the reason when the text is not a PDF in
// Base64 or the file cannot be written; nothing is left at `ruta` or beside it then.
bool u_guardaPDFFactura(const QString& ruta, const QString& base64, QString* error = nullptr);
