#include "exportarGridExcel.h"

#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "shell/programaPredeterminado.h"
#include "ui/dialogoArchivo.h"
#include "ui/mensajes.h"
#include "xlsx/exportaXlsx.h"

QString exportarGridExcelUNI(const TGridControl& grid, const QString& titulo,
                             const TsistemaDatos& sistema) {
  Q_UNUSED(sistema);
  if (grid.getColumnCount() < 1 || grid.getRowCount() < 1) return QString();
  QString archivo = u_dialogoGuardarArchivo(titulo, titulo + QStringLiteral(".xlsx"),
                                            QStringLiteral("Libro de Excel (*.xlsx)"));
  if (archivo.isEmpty()) return QString();
  archivo = u_conExtension(archivo, QStringLiteral(".xlsx"));
  const TTablaPDF tabla = grid.getTTablaPDF();
  QVector<int> anchos;
  for (const QString& t : tabla.titulos) anchos << grid.columna(grid.indiceColumna(t)).ancho;
  QString error;
  if (!exportaXlsx(archivo, titulo, tabla.titulos, tabla.filas, &error, anchos)) {
    u_mensaje(QStringLiteral("No se pudo exportar el archivo de Excel: ") + error, mtCustom);
    return QString();
  }
  abreConProgramaPredeterminado(archivo);
  return archivo;
}
