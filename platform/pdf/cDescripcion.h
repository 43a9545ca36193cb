#pragma once
// PDF generator library: the description of a tabulated report (title, header elements,
// table) that generaPDF turns into a file.

#include <QString>
#include <QStringList>
#include <QVector>

enum eTipoDeContenido { tcTexto = 0, tcMoneda = 1, tcFecha = 2 };
enum eAlineacion { alIzquierda = 0, alCentro = 1, alDerecha = 2 };

// Rows of a table as texts, cell by cell, in printed-column order.
struct TDatosTablaPDF {
  QStringList titulos;
  QVector<QStringList> filas;
};

struct TCabeceraPDF {
  QString titulo;
  eTipoDeContenido tipo = tcTexto;
  int ancho = 0;  // relative: the page width is shared in proportion to the declared widths
  eAlineacion alineacion = alIzquierda;
};

class cTabla {
 public:
  void addCabecera(const QString& titulo, eTipoDeContenido tipo, int ancho, eAlineacion alineacion);
  // Numeric kind and alignment as the list screens declare them; values outside 0..2 are
  // taken as text and left alignment.
  void addCabecera(const QString& titulo, int tipo, int ancho, int alineacion);
  // Cell i of a row goes under header i; missing cells print empty, extra ones are ignored.
  void setDatos(const TDatosTablaPDF& datos) { uDatos = datos; }

  const QVector<TCabeceraPDF>& cabeceras() const { return uCabeceras; }
  const TDatosTablaPDF& datos() const { return uDatos; }

 private:
  QVector<TCabeceraPDF> uCabeceras;
  TDatosTablaPDF uDatos;
};

struct TElementoPDF {
  QString tipo;   // "etiqueta" (text) or "imagen" (file path)
  QString clave;  // "titulo", "logo", "logoSoft", "-empresa", ...
  QString valor;
};

// Fields in the order the list screens fill them.
class cDescripcion {
 public:
  QString productor;  // maker's name, in the document's properties and page foot
  QString titulo;
  bool apaisado = false;      // landscape pages
  bool numeraPaginas = true;  // "Página n de m" at the foot of every page
  QString fuente;             // font family; a similar one is used when it is not installed
  double escala = 100.0;      // text size in percent
  QString archivoSalida;      // the file written
  QString contexto;           // session text handed through by the caller
  QString archivo;            // written instead when archivoSalida is empty
  int paginaInicial = 1;      // number of the first page
  QString formato;            // "tabulado" (the only layout; empty means it too)
  cTabla tabla;

  // Header elements, printed in the order added. Texts under keys starting with "-" print
  // alone; other keys print as "clave: valor". Images: "logo" at the top, "logoSoft" at the
  // foot; missing files are skipped.
  void addElemento(const QString& tipo, const QString& clave, const QString& valor);
  const QVector<TElementoPDF>& elementos() const { return uElementos; }
  // Value of the first element of that kind and key; empty when there is none.
  QString elemento(const QString& tipo, const QString& clave) const;

 private:
  QVector<TElementoPDF> uElementos;
};
