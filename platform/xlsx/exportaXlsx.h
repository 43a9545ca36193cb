#pragma once
// Spreadsheet export of a list: one sheet with a title row, a bold header row and the rows.

#include <QString>
#include <QStringList>
#include <QVector>

// Writes `ruta` as an .xlsx (whole or not at all). Texts that are plain numbers ("12", "-3.5")
// and money texts ("$ 1,234.50") are written as numbers; keys with leading zeros and long
// digit strings (barcodes, ids) stay texts. `anchos` are column widths in screen pixels;
// missing ones are taken from the content. Answers false with the reason in *error.
bool exportaXlsx(const QString& ruta, const QString& titulo, const QStringList& columnas,
                 const QVector<QStringList>& filas, QString* error = nullptr,
                 const QVector<int>& anchos = {});
