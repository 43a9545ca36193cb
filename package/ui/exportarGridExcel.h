#pragma once
// Spreadsheet export of a list grid.

#include <QString>

class TGridControl;
class TsistemaDatos;

// Asks where to write (screen title + ".xlsx"; ".xlsx" is appended unless the name ends
// exactly so) and writes one sheet with the title, the headers and the rows of the grid's
// printed columns (visible data columns that carry a field), then opens it with the default
// program. Nothing without rows. A write failure is reported with a message. Answers the
// written file, empty otherwise.
QString exportarGridExcelUNI(const TGridControl& grid, const QString& titulo,
                             const TsistemaDatos& sistema);
