#pragma once
// PDF export of a list screen's grid: the save question, the report description (business
// header, printed columns) and the opening of the written file with the default program.

#include <QString>
#include <QVector>

class TGridControl;
class TsistemaDatos;
class cDescripcion;

// A printed column: title, width, content kind and alignment (values 0, 1, 2 of the PDF
// model's eTipoDeContenido and eAlineacion).
struct TColumnaPDF {
  QString titulo;
  int ancho = 0;
  int tipo = 0;
  int alineacion = 0;
};

// The report description of a grid, as generaPDF receives it. A non-empty `rangoFechas` adds
// the "-rangoFechas" line (the date range of the search).
cDescripcion descripcionPDF(const TGridControl& grid, const QString& titulo,
                            const QVector<TColumnaPDF>& columnas, const QString& archivo,
                            const TsistemaDatos& sistema, const QString& rangoFechas = QString());

// The seven parts of the business's fiscal address joined by single blanks (empty parts
// still leave theirs).
QString direccionNegocio(const TsistemaDatos& sistema);

// Whole export; does nothing unless the grid has at least one column and one row. Asks for
// the file (screen title + ".pdf"), appends ".pdf" unless the name ends exactly so, writes
// the report and opens it when the file exists. Answers the written file, empty otherwise.
QString exportaGridGeneraPDF(const TGridControl& grid, const QString& titulo,
                             const QVector<TColumnaPDF>& columnas, const TsistemaDatos& sistema,
                             const QString& rangoFechas = QString());
