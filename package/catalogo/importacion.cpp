#include "catalogo/importacion.h"

#include "util/limites.h"
#include "util/utilerias.h"

TRecorridoSeccion::TRecorridoSeccion(TFlujoJson& flujo, const TSeccionDocumento& seccion)
    : uFlujo(flujo), uSeccion(seccion) {}

QJsonValue TRecorridoSeccion::siguiente() {
  if (!uAbierta) {
    uFlujo.irA(uSeccion.inicio);
    uFlujo.abreLista();
    uAbierta = true;
  }
  // The first pass counted the records, so there is always one more here.
  uFlujo.siguienteElemento();
  return uFlujo.leeValor();
}

QString TImportacion::contextoProducto(int indice) const {
  return u_contextoElemento(QStringLiteral("productos"), indice) +
         QStringLiteral(" (clave \"%1\")").arg(claves.texto(productos[indice].lugarClave));
}

const TProductoImportado& TImportacion::producto(const TLectorRegistro& r,
                                                 const QString& clave) const {
  const int indice = claves.busca(clave);
  if (indice < 0) r.falla(QStringLiteral("no existe el producto con clave \"%1\"").arg(clave));
  return productos[indice];
}

qint64 TImportacion::almacen(const TLectorRegistro& r, const QString& clave) const {
  const auto it = almacenes.constFind(clave);
  if (it == almacenes.constEnd())
    r.falla(QStringLiteral("no existe el almacén con clave \"%1\"").arg(clave));
  return *it;
}

void TImportacion::compruebaCategoria(const TLectorRegistro& r, const QString& identidad) const {
  if (!categorias.contains(identidad))
    r.falla(QStringLiteral("no existe la categoría \"%1\"").arg(identidad));
}

QString TImpuestos::texto() const {
  return QStringList{u_floatToStr(ivaT), u_floatToStr(ivaR), u_floatToStr(iepsT),
                     u_floatToStr(iepsR), u_floatToStr(isrR)}
      .join(QLatin1Char('|'));
}

void TImpuestos::enlaza(TmiddleTier& mt) const {
  mt.setDouble(QStringLiteral("ivaT"), ivaT);
  mt.setDouble(QStringLiteral("ivaR"), ivaR);
  mt.setDouble(QStringLiteral("iepsT"), iepsT);
  mt.setDouble(QStringLiteral("iepsR"), iepsR);
  mt.setDouble(QStringLiteral("isrR"), isrR);
}

TImpuestos u_leeImpuestos(TLectorRegistro& r) {
  TImpuestos t;
  const QJsonValue v = r.objeto(QStringLiteral("impuestos"));
  if (v.isUndefined()) return t;
  TLectorRegistro i(v, r.contexto() + QStringLiteral(".impuestos"));
  t.ivaT = i.tasa(QStringLiteral("ivaT"));
  t.ivaR = i.tasa(QStringLiteral("ivaR"));
  t.iepsT = i.tasa(QStringLiteral("iepsT"));
  t.iepsR = i.tasa(QStringLiteral("iepsR"));
  t.isrR = i.tasa(QStringLiteral("isrR"));
  i.termina();
  return t;
}

QVector<TEscalaImportada> u_leeEscalas(const TLectorRegistro& r, const QJsonArray& escalas) {
  QVector<TEscalaImportada> filas;
  for (int i = 0; i < escalas.size(); ++i) {
    TLectorRegistro e(escalas[i], r.contexto() + QLatin1Char('.') +
                                      u_contextoElemento(QStringLiteral("escalas"), i));
    TEscalaImportada f;
    f.contexto = e.contexto();
    f.cantidad = e.numeroRequerido(QStringLiteral("cantidad"));
    f.descuento = e.numeroRequerido(QStringLiteral("descuento"));
    e.termina();
    if (f.cantidad <= 0) e.falla(QStringLiteral("la cantidad debe ser mayor que cero"));
    e.revisa(u_revisaCantidad(f.cantidad, QStringLiteral("la cantidad")));
    if (f.descuento < 0 || f.descuento > 100)
      e.falla(QStringLiteral("el descuento es un porcentaje entre 0 y 100"));
    for (const TEscalaImportada& otra : filas)
      if (otra.cantidad == f.cantidad)
        e.falla(
            QStringLiteral("la cantidad %1 se repite en la escala").arg(u_floatToStr(f.cantidad)));
    filas << f;
  }
  return filas;
}

void u_leeVigencia(TLectorRegistro& r, TmiddleTier& mt) {
  const QDateTime desde = r.fecha(QStringLiteral("vigenciaDesde"));
  const QDateTime hasta = r.fecha(QStringLiteral("vigenciaHasta"), true);
  if (desde.isValid() && hasta.isValid() && hasta < desde)
    r.falla(QStringLiteral("la vigencia termina antes de empezar"));
  mt.setDateTime(QStringLiteral("desde"), desde);
  mt.setDateTime(QStringLiteral("hasta"), hasta);
}

void u_enlazaId(TmiddleTier& mt, const std::optional<qint64>& id) {
  if (id)
    mt.setInteger(QStringLiteral("id"), *id);
  else
    mt.setNull(QStringLiteral("id"), QMetaType::LongLong);
}
