#include "shell/listas/exportaLista.h"

#include <QDateTime>
#include <QFile>

#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "pdf/cDescripcion.h"
#include "pdf/generaPDF.h"
#include "shell/programaPredeterminado.h"
#include "ui/dialogoArchivo.h"
#include "util/utilerias.h"

QString direccionNegocio(const TsistemaDatos& sistema) {
  const TDireccion& d = sistema.getNegocio().getDatosFiscales().getDireccion();
  return QStringList{d.getCalle(),        d.getNoExterior(), d.getNoInterior(), d.getColonia(),
                     d.getCodigoPostal(), d.getMunicipio(),  d.getEstado()}
      .join(QLatin1Char(' '));
}

cDescripcion descripcionPDF(const TGridControl& grid, const QString& titulo,
                            const QVector<TColumnaPDF>& columnas, const QString& archivo,
                            const TsistemaDatos& sistema, const QString& rangoFechas) {
  cDescripcion d;
  d.productor = QStringLiteral("Punto de Venta");
  d.titulo = titulo;
  d.apaisado = false;
  d.numeraPaginas = true;
  d.fuente = QStringLiteral("Calibri");
  d.escala = 100.0;
  d.archivoSalida = archivo;
  d.contexto = sistema.getCarpetaAplicacion();
  d.archivo = archivo;
  d.paginaInicial = 1;
  d.formato = QStringLiteral("tabulado");

  const TNegocio& negocio = sistema.getNegocio();
  const QString rfc = negocio.getDatosFiscales().getRfc();
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("titulo"), titulo);
  d.addElemento(QStringLiteral("imagen"), QStringLiteral("logo"),
                QStringLiteral("Formatos/") + rfc + QStringLiteral("/logo.png"));
  d.addElemento(QStringLiteral("imagen"), QStringLiteral("logoSoft"), QStringLiteral("footer.png"));
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("-empresa"), negocio.getNombre());
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("-rfc"), rfc);
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("-razonsocial"),
                negocio.getDatosFiscales().getRazon());
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("-direccion1"),
                direccionNegocio(sistema));
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("-fecha"),
                u_fechaHoraTexto(QDateTime::currentDateTime()));
  if (!rangoFechas.isEmpty())
    d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("-rangoFechas"), rangoFechas);

  for (const TColumnaPDF& c : columnas)
    d.tabla.addCabecera(c.titulo, c.tipo, c.ancho, c.alineacion);
  const TTablaPDF tabla = grid.getTTablaPDF();
  TDatosTablaPDF datos;
  datos.titulos = tabla.titulos;
  // Dates print as the screen shows them, not as stored.
  for (const QStringList& fila : tabla.filas) {
    QStringList impresa;
    for (const QString& celda : fila) impresa << u_fechaHoraMostrable(celda);
    datos.filas << impresa;
  }
  d.tabla.setDatos(datos);
  return d;
}

QString exportaGridGeneraPDF(const TGridControl& grid, const QString& titulo,
                             const QVector<TColumnaPDF>& columnas, const TsistemaDatos& sistema,
                             const QString& rangoFechas) {
  if (grid.getColumnCount() < 1 || grid.getRowCount() < 1) return QString();
  QString archivo = u_dialogoGuardarArchivo(titulo, titulo + QStringLiteral(".pdf"),
                                            QStringLiteral("Documento PDF (*.pdf)"));
  if (archivo.isEmpty()) return QString();
  archivo = u_conExtension(archivo, QStringLiteral(".pdf"));
  generaPDF(descripcionPDF(grid, titulo, columnas, archivo, sistema, rangoFechas));
  if (!QFile::exists(archivo)) return QString();
  abreConProgramaPredeterminado(archivo);
  return archivo;
}
