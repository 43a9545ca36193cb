#include "exportaXlsx.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>

#include "util/montos.h"

namespace {

constexpr int kFilaTitulo = 0;
constexpr int kFilaCabecera = 2;
constexpr int kMaxTexto = 32767;  // longest text a cell holds
constexpr int kMaxFilas = 1048576;
constexpr int kMaxColumnas = 16384;

bool falla(QString* error, const QString& texto) {
  if (error) *error = texto;
  return false;
}

QString limpia(const QString& t) {
  QString out = t.left(kMaxTexto);
  for (QChar& c : out) {
    // XML 1.0 has no place for other control characters.
    if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
      c = QLatin1Char(' ');
  }
  return out;
}

QString nombreHoja(const QString& titulo) {
  QString n = titulo;
  n.remove(QRegularExpression(QStringLiteral("[\\[\\]:*?/\\\\]")));
  n = n.trimmed().left(31);
  while (n.startsWith(QLatin1Char('\''))) n.remove(0, 1);
  while (n.endsWith(QLatin1Char('\''))) n.chop(1);
  return n.isEmpty() ? QStringLiteral("Hoja1") : n;
}

enum class Clase { Texto, Numero, Moneda };

Clase clasifica(const QString& texto, double* valor) {
  const QString t = texto.trimmed();
  if (plat_esDecimal(t)) {
    const QString digitos = QString(t).remove(QLatin1Char('-'));
    const QString entero = digitos.section(QLatin1Char('.'), 0, 0);
    // "0012" is a key and "7501234567890" a barcode: as numbers they would lose their form.
    if (entero.size() > 1 && entero.startsWith(QLatin1Char('0'))) return Clase::Texto;
    if (entero.size() > 11 || QString(digitos).remove(QLatin1Char('.')).size() > 15)
      return Clase::Texto;
    bool ok = false;
    *valor = t.toDouble(&ok);
    return ok ? Clase::Numero : Clase::Texto;
  }
  if (t.startsWith(QLatin1Char('$')) && plat_leeMonto(t, valor)) return Clase::Moneda;
  return Clase::Texto;
}

}  // namespace

bool exportaXlsx(const QString& ruta, const QString& titulo, const QStringList& columnas,
                 const QVector<QStringList>& filas, QString* error, const QVector<int>& anchos) {
  if (ruta.trimmed().isEmpty())
    return falla(error, QStringLiteral("No se indicó el archivo de la hoja de cálculo"));
  qsizetype numColumnas = columnas.size();
  for (const QStringList& f : filas) numColumnas = std::max(numColumnas, f.size());
  if (numColumnas > kMaxColumnas)
    return falla(error, QStringLiteral("Demasiadas columnas para una hoja de cálculo"));
  if (filas.size() + kFilaCabecera + 1 > kMaxFilas)
    return falla(error, QStringLiteral("Demasiados renglones para una hoja de cálculo"));

  const QFileInfo destino(ruta.trimmed());
  if (!QDir().mkpath(destino.absolutePath()))
    return falla(error,
                 QStringLiteral("No se pudo crear la carpeta %1").arg(destino.absolutePath()));
  // Built beside the target and moved over it at the end, so a failure leaves no half file.
  QTemporaryFile temporal(destino.absolutePath() + QStringLiteral("/.exportacion-XXXXXX.xlsx"));
  if (!temporal.open())
    return falla(error, QStringLiteral("No se pudo escribir la hoja de cálculo %1: %2")
                            .arg(destino.absoluteFilePath(), temporal.errorString()));
  temporal.close();
  const QByteArray rutaTemporal = QFile::encodeName(temporal.fileName());

  lxw_workbook* libro = workbook_new(rutaTemporal.constData());
  if (!libro)
    return falla(
        error,
        QStringLiteral("No se pudo crear la hoja de cálculo %1").arg(destino.absoluteFilePath()));
  lxw_worksheet* hoja = workbook_add_worksheet(libro, nombreHoja(titulo).toUtf8().constData());

  lxw_format* fTitulo = workbook_add_format(libro);
  format_set_bold(fTitulo);
  format_set_font_size(fTitulo, 14);
  lxw_format* fCabecera = workbook_add_format(libro);
  format_set_bold(fCabecera);
  format_set_bg_color(fCabecera, 0xE3E8EE);
  format_set_bottom(fCabecera, LXW_BORDER_THIN);
  lxw_format* fMoneda = workbook_add_format(libro);
  format_set_num_format(fMoneda, "$ #,##0.00");

  worksheet_write_string(hoja, kFilaTitulo, 0, limpia(titulo).toUtf8().constData(), fTitulo);
  QVector<int> largo(numColumnas, 0);
  for (qsizetype c = 0; c < columnas.size(); ++c) {
    const QString t = limpia(columnas[c]);
    worksheet_write_string(hoja, kFilaCabecera, static_cast<lxw_col_t>(c), t.toUtf8().constData(),
                           fCabecera);
    largo[c] = static_cast<int>(t.size());
  }
  for (qsizetype r = 0; r < filas.size(); ++r) {
    const auto fila = static_cast<lxw_row_t>(kFilaCabecera + 1 + r);
    for (qsizetype c = 0; c < filas[r].size(); ++c) {
      const QString& celda = filas[r][c];
      if (celda.isEmpty()) continue;
      const auto col = static_cast<lxw_col_t>(c);
      double v = 0;
      switch (clasifica(celda, &v)) {
        case Clase::Numero:
          worksheet_write_number(hoja, fila, col, v, nullptr);
          break;
        case Clase::Moneda:
          worksheet_write_number(hoja, fila, col, v, fMoneda);
          break;
        case Clase::Texto:
          worksheet_write_string(hoja, fila, col, limpia(celda).toUtf8().constData(), nullptr);
          break;
      }
      if (r < 2000)
        largo[c] = std::max(largo[c], static_cast<int>(std::min<qsizetype>(celda.size(), 200)));
    }
  }
  for (qsizetype c = 0; c < numColumnas; ++c) {
    // About seven pixels per character of the default font.
    const double ancho = c < anchos.size() && anchos[c] > 0 ? anchos[c] / 7.0 : largo[c] + 2.0;
    worksheet_set_column(hoja, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                         std::clamp(ancho, 6.0, 80.0), nullptr);
  }
  worksheet_freeze_panes(hoja, kFilaCabecera + 1, 0);

  const lxw_error e = workbook_close(libro);
  if (e != LXW_NO_ERROR)
    return falla(error, QStringLiteral("No se pudo escribir la hoja de cálculo %1: %2")
                            .arg(destino.absoluteFilePath(), QString::fromUtf8(lxw_strerror(e))));
  if (std::rename(rutaTemporal.constData(),
                  QFile::encodeName(destino.absoluteFilePath()).constData()) != 0)
    return falla(
        error,
        QStringLiteral("No se pudo guardar la hoja de cálculo %1").arg(destino.absoluteFilePath()));
  temporal.setAutoRemove(false);
  // The temporary file was private to its owner; the export is an ordinary document.
  QFile::setPermissions(destino.absoluteFilePath(),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                            QFileDevice::ReadOther);
  if (error) error->clear();
  return true;
}
