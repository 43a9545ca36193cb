#include "cDescripcion.h"

void cTabla::addCabecera(const QString& titulo, eTipoDeContenido tipo, int ancho,
                         eAlineacion alineacion) {
  uCabeceras.push_back(TCabeceraPDF{titulo, tipo, ancho, alineacion});
}

void cTabla::addCabecera(const QString& titulo, int tipo, int ancho, int alineacion) {
  const auto t =
      (tipo >= tcTexto && tipo <= tcFecha) ? static_cast<eTipoDeContenido>(tipo) : tcTexto;
  const auto a = (alineacion >= alIzquierda && alineacion <= alDerecha)
                     ? static_cast<eAlineacion>(alineacion)
                     : alIzquierda;
  addCabecera(titulo, t, ancho, a);
}

void cDescripcion::addElemento(const QString& tipo, const QString& clave, const QString& valor) {
  uElementos.push_back(TElementoPDF{tipo, clave, valor});
}

QString cDescripcion::elemento(const QString& tipo, const QString& clave) const {
  for (const TElementoPDF& e : uElementos) {
    if (e.tipo == tipo && e.clave == clave) return e.valor;
  }
  return QString();
}
