#pragma once
// PDF generator library: writes the report a cDescripcion describes.

#include <QString>

#include "pdf/cDescripcion.h"

// Writes the PDF named in the description (archivoSalida, or archivo when that is empty):
// header (logo, title, business lines), the table with its headers repeated on every page,
// and the page foot. The file is written whole or not at all. On failure answers false with
// the reason in Spanish in *error.
bool generaPDF(const cDescripcion& descripcion, QString* error = nullptr);

// A cell as the report prints it: money as "$ #,###,##0.00", dates as "dd/MM/yyyy HH:mm:ss";
// texts that are not a number or a date print as they are.
QString textoCeldaPDF(const QString& texto, eTipoDeContenido tipo);
