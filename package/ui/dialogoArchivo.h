#pragma once
// File open and save questions. They run through u_ejecutaModal as Qt's own (non-native)
// file dialog, so a test answers them by selecting a file on the QFileDialog it is handed.

#include <QString>

// The chosen file to write; empty when cancelled. `nombreSugerido` may carry a folder.
QString u_dialogoGuardarArchivo(const QString& titulo, const QString& nombreSugerido,
                                const QString& filtro);
// The chosen existing file; empty when cancelled.
QString u_dialogoAbrirArchivo(const QString& titulo, const QString& filtro);

// The file name with `extension` (".pdf") appended unless it already ends with exactly that
// text; the comparison is case-sensitive, so "reporte.PDF" becomes "reporte.PDF.pdf".
QString u_conExtension(const QString& archivo, const QString& extension);
