// Products: the product row, its barcodes, taxes, price in the default list, volume scale,
// stock per warehouse and serial numbers.

#include <QDir>
#include <QFile>

#include "catalogo/importacion.h"
#include "util/limites.h"
#include "util/utilerias.h"

namespace {

struct TSentenciasProducto {
  explicit TSentenciasProducto(TEscritorCatalogo& bd)
      : producto(bd.sentencia(
            "INSERT INTO inventarioProducto (id, inventarioProductoEstado_id, clave, claveAlterna, "
            "nombre, nombreBusqueda, codigoBarras, descripcion, inventarioCategoria_identidad, "
            "unidadesMedida_id, claveSATProductoServicio, opControladoNoSerie, enteroFraccion, "
            "imagen, idNegocioFk) VALUES ({ID inventarioProducto.id}, :estado, :clave, "
            ":claveAlterna, :nombre, :busqueda, :codigo, :descripcion, :categoria, :unidad, "
            ":claveSAT, :noSerie, :fraccion, :imagen, :negocio) RETURNING id")),
        codigo(bd.sentencia(
            "INSERT INTO inventarioProductoCodigoBarras (inventarioProducto_id, codigo, "
            "idNegocioFk) VALUES (:producto, :codigo, :negocio)")),
        impuestos(bd.sentencia(
            "INSERT INTO inventarioProductoImpuestos (inventarioProducto_id, ivaTrasladado, "
            "ivaRetenido, iepsTrasladado, iepsRetenido, isrRetenido) VALUES (:producto, :ivaT, "
            ":ivaR, :iepsT, :iepsR, :isrR)")),
        precio(bd.sentencia(
            "INSERT INTO ventasListaProductos (ventasListaPrecios_id, inventarioProducto_id, "
            "precioLista, impuestosAplicados) VALUES (:lista, :producto, :precio, :impuestos)")),
        escala(bd.sentencia(
            "INSERT INTO ventasDescuentosProductos (inventarioProducto_id, cantidad, descuento, "
            "idNegocioFk) VALUES (:producto, :cantidad, :descuento, :negocio)")),
        existencia(bd.sentencia(
            "INSERT INTO inventarioExistencias (inventarioAlmacen_id, inventarioProducto_id, "
            "existencia, costoUnitario) VALUES (:almacen, :producto, :existencia, :costo)")),
        serie(bd.sentencia(
            "INSERT INTO inventarioNoSerie (inventarioProducto_id, inventarioAlmacen_id, noSerie, "
            "estado, idNegocioFk) VALUES (:producto, :almacen, :noSerie, :estado, :negocio)")) {}
  TmiddleTier &producto, &codigo, &impuestos, &precio, &escala, &existencia, &serie;
};

// A unit by its description in the document, or by id (of the document or already stored).
qint64 leeUnidad(TImportacion& im, TLectorRegistro& r) {
  const QJsonValue v = r.crudo(QStringLiteral("unidad"));
  if (v.isUndefined() || v.isNull()) return 0;
  if (v.isString()) {
    const QString descripcion = v.toString().trimmed();
    if (!im.unidades.contains(descripcion))
      r.falla(QStringLiteral("no existe la unidad \"%1\"").arg(descripcion));
    return im.unidades.value(descripcion);
  }
  const double n = v.toDouble(-1);
  const qint64 id = static_cast<qint64>(n);
  if (!v.isDouble() || id != n || id <= 0)
    r.falla(QStringLiteral("el campo \"unidad\" debe ser la descripción o el id de una unidad"));
  if (!im.idsUnidades.contains(id)) {
    if (!im.bd.existeId(QStringLiteral("inventarioUnidadesMedida"), QStringLiteral("ID"), id))
      r.falla(QStringLiteral("no existe la unidad con id %1").arg(id));
    im.idsUnidades.insert(id);
  }
  return id;
}

QByteArray leeImagen(TImportacion& im, TLectorRegistro& r) {
  const QString ruta = r.texto(QStringLiteral("imagen"));
  const QString base64 =
      r.texto(QStringLiteral("imagenBase64"), QString(), (kMaxBytesImagen + 2) / 3 * 4);
  if (!ruta.isEmpty() && !base64.isEmpty())
    r.falla(QStringLiteral("lleva \"imagen\" e \"imagenBase64\"; use solo uno"));
  const QString demasiado =
      QStringLiteral("la imagen pesa más de %1 MB").arg(kMaxBytesImagen / (1024 * 1024));
  if (!base64.isEmpty()) {
    const auto d =
        QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!d || d.decoded.isEmpty()) r.falla(QStringLiteral("la imagen en base64 no es válida"));
    if (d.decoded.size() > kMaxBytesImagen) r.falla(demasiado);
    return d.decoded;
  }
  if (ruta.isEmpty()) return QByteArray();
  QFile f(QDir(im.carpetaBase.isEmpty() ? QDir::currentPath() : im.carpetaBase).filePath(ruta));
  if (!f.open(QIODevice::ReadOnly) || f.size() == 0)
    r.falla(QStringLiteral("no se pudo leer la imagen \"%1\"").arg(f.fileName()));
  if (f.size() > kMaxBytesImagen) r.falla(demasiado);
  return f.readAll();
}

void importaExistencias(TImportacion& im, const TLectorRegistro& r, const QJsonArray& lista,
                        qint64 producto, TmiddleTier& mt) {
  QSet<qint64> almacenes;
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro e(lista[i],
                      r.contexto() + QLatin1Char('.') + u_contextoElemento("existencias", i));
    const qint64 almacen =
        im.almacen(e, e.textoRequerido(QStringLiteral("almacen"), kMaxLargoClave));
    const double existencia = e.numeroRequerido(QStringLiteral("existencia"));
    const double costo = e.numero(QStringLiteral("costoUnitario"), 0);
    e.termina();
    if (existencia < 0) e.falla(QStringLiteral("la existencia no puede ser negativa"));
    e.revisa(u_revisaExistencia(existencia, QStringLiteral("la existencia")));
    if (costo < 0) e.falla(QStringLiteral("el costo unitario no puede ser negativo"));
    e.revisa(u_revisaPrecio(costo, QStringLiteral("el costo unitario")));
    if (almacenes.contains(almacen)) e.falla(QStringLiteral("el almacén se repite"));
    almacenes.insert(almacen);
    mt.setInteger(QStringLiteral("almacen"), almacen);
    mt.setInteger(QStringLiteral("producto"), producto);
    mt.setDouble(QStringLiteral("existencia"), existencia);
    mt.setDouble(QStringLiteral("costo"), costo);
    im.bd.inserta(mt, e.contexto());
  }
}

void importaSeries(TImportacion& im, const TLectorRegistro& r, const QJsonArray& lista,
                   qint64 producto, TmiddleTier& mt) {
  QSet<QString> series;
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro s(lista[i], r.contexto() + QLatin1Char('.') + u_contextoElemento("series", i));
    const QString noSerie = s.textoRequerido(QStringLiteral("noSerie"), kMaxLargoClave);
    const QString almacen = s.texto(QStringLiteral("almacen"), QString(), kMaxLargoClave);
    const qint64 estado = s.entero(QStringLiteral("estado"), 1);
    s.termina();
    if (estado < 1 || estado > 3)
      s.falla(QStringLiteral("el estado debe ser 1 (en existencia), 2 (vendido) o 3 (devuelto)"));
    if (series.contains(noSerie))
      s.falla(QStringLiteral("el número de serie \"%1\" se repite").arg(noSerie));
    series.insert(noSerie);
    mt.setInteger(QStringLiteral("producto"), producto);
    if (almacen.isEmpty())
      mt.setNull(QStringLiteral("almacen"), QMetaType::LongLong);
    else
      mt.setInteger(QStringLiteral("almacen"), im.almacen(s, almacen));
    mt.setString(QStringLiteral("noSerie"), noSerie);
    mt.setInteger(QStringLiteral("estado"), estado);
    mt.setInteger(QStringLiteral("negocio"), im.idNegocio);
    im.bd.inserta(mt, s.contexto());
  }
}

}  // namespace

void u_importaProductos(TImportacion& im, TRecorridoSeccion& lista) {
  const QString seccion = QStringLiteral("productos");
  im.bd.reservaIds(QStringLiteral("inventarioProducto"), QStringLiteral("id"), lista.seccion().ids,
                   [&](int i) { return u_contextoElemento(seccion, i); });
  TSentenciasProducto sql(im.bd);
  TIndiceTextos codigos;  // barcode -> index of the product that has it
  // Barcodes go in after all the products: their index and the products' name index are both
  // written at random places, and one at a time each keeps its pages in the cache.
  struct TCodigoPendiente {
    qint64 producto;
    quint32 lugar;  // of the code in `codigos`
    int indice;     // of the product record
  };
  std::vector<TCodigoPendiente> pendientes;
  pendientes.reserve(lista.size());
  im.productos.reserve(lista.size());
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista.siguiente(), u_contextoElemento(seccion, i));
    const auto idPropio = r.id();
    const QString clave = r.textoRequerido(QStringLiteral("clave"), kMaxLargoClave);
    r.nombraCon(QStringLiteral("clave"), clave);
    TProductoImportado producto;
    const int previa = im.claves.agrega(clave, i, &producto.lugarClave);
    if (previa >= 0)
      r.falla(
          QStringLiteral("la clave se repite (ya la tiene %1)").arg(im.contextoProducto(previa)));
    const QString nombre = r.textoRequerido(QStringLiteral("nombre"), kMaxLargoNombre);
    const QString categoria = r.texto(QStringLiteral("categoria"), QString(), kMaxLargoClave);
    if (!categoria.isEmpty()) im.compruebaCategoria(r, categoria);
    const qint64 unidad = leeUnidad(im, r);
    const qint64 estado = r.entero(QStringLiteral("estado"), 1);
    if (estado != 1 && estado != 2)
      r.falla(QStringLiteral("el estado debe ser 1 (activo) o 2 (inactivo)"));
    producto.controlaNoSerie = r.booleano(QStringLiteral("controlaNoSerie"), false);
    // Known from here on, so a later record that repeats its key or barcode names it.
    im.productos.push_back(producto);

    QStringList codigosProducto;
    QVector<quint32> lugaresCodigos;
    for (const QJsonValue& c : r.lista(QStringLiteral("codigosBarras"))) {
      const QString codigo = c.toString().trimmed();
      if (!c.isString() || codigo.isEmpty())
        r.falla(QStringLiteral("cada código de barras debe ser un texto no vacío"));
      r.revisa(u_revisaTexto(codigo, kMaxLargoClave, QStringLiteral("el código de barras")));
      quint32 lugar = 0;
      const int otro = codigos.agrega(codigo, i, &lugar);
      if (otro >= 0)
        r.falla(QStringLiteral("el código de barras \"%1\" se repite (ya lo tiene %2)")
                    .arg(codigo, otro == i ? r.contexto() : im.contextoProducto(otro)));
      codigosProducto << codigo;
      lugaresCodigos << lugar;
    }

    const auto precio = r.numeroOpcional(QStringLiteral("precio"));
    if (precio && *precio < 0) r.falla(QStringLiteral("el precio no puede ser negativo"));
    if (precio) r.revisa(u_revisaPrecio(*precio, QStringLiteral("el precio")));
    if (precio && im.idLista == 0)
      r.falla(QStringLiteral("tiene precio, pero el documento no tiene \"listaPrecios\""));
    const TImpuestos impuestos = u_leeImpuestos(r);
    const auto escalas = u_leeEscalas(r, r.lista(QStringLiteral("escalas")));
    const QJsonArray existencias = r.lista(QStringLiteral("existencias"));
    const QJsonArray series = r.lista(QStringLiteral("series"));
    if (!series.isEmpty() && !producto.controlaNoSerie)
      r.falla(QStringLiteral("tiene números de serie pero no \"controlaNoSerie\": true"));

    TmiddleTier& p = sql.producto;
    u_enlazaId(p, idPropio);
    p.setInteger(QStringLiteral("estado"), estado);
    p.setString(QStringLiteral("clave"), clave);
    p.setString(QStringLiteral("claveAlterna"),
                r.texto(QStringLiteral("claveAlterna"), QString(), kMaxLargoClave));
    p.setString(QStringLiteral("nombre"), nombre);
    p.setString(QStringLiteral("busqueda"), u_normalizaBusqueda(nombre));
    p.setString(QStringLiteral("codigo"), codigosProducto.value(0));
    p.setString(QStringLiteral("descripcion"),
                r.texto(QStringLiteral("descripcion"), QString(), kMaxLargoTexto));
    p.setString(QStringLiteral("categoria"), categoria);
    if (unidad > 0)
      p.setInteger(QStringLiteral("unidad"), unidad);
    else
      p.setNull(QStringLiteral("unidad"), QMetaType::LongLong);
    p.setString(QStringLiteral("claveSAT"),
                r.texto(QStringLiteral("claveSAT"), QString(), kMaxLargoClave));
    p.setInteger(QStringLiteral("noSerie"), producto.controlaNoSerie ? 1 : 0);
    p.setInteger(QStringLiteral("fraccion"), r.booleano(QStringLiteral("enteroFraccion"), false));
    const QByteArray imagen = leeImagen(im, r);
    if (imagen.isEmpty())
      p.setNull(QStringLiteral("imagen"), QMetaType::QByteArray);
    else
      p.setBytes(QStringLiteral("imagen"), imagen);
    p.setInteger(QStringLiteral("negocio"), im.idNegocio);
    r.termina();
    const qint64 id = im.bd.insertaConId(p, r.contexto());
    im.productos.back().id = id;

    for (quint32 lugar : lugaresCodigos) pendientes.push_back({id, lugar, i});
    sql.impuestos.setInteger(QStringLiteral("producto"), id);
    impuestos.enlaza(sql.impuestos);
    im.bd.inserta(sql.impuestos, r.contexto());
    if (precio) {
      sql.precio.setInteger(QStringLiteral("lista"), im.idLista);
      sql.precio.setInteger(QStringLiteral("producto"), id);
      sql.precio.setDouble(QStringLiteral("precio"), *precio);
      sql.precio.setString(QStringLiteral("impuestos"), impuestos.texto());
      im.bd.inserta(sql.precio, r.contexto());
    }
    for (const TEscalaImportada& e : escalas) {
      sql.escala.setInteger(QStringLiteral("producto"), id);
      sql.escala.setDouble(QStringLiteral("cantidad"), e.cantidad);
      sql.escala.setDouble(QStringLiteral("descuento"), e.descuento);
      sql.escala.setInteger(QStringLiteral("negocio"), im.idNegocio);
      im.bd.inserta(sql.escala, e.contexto);
    }
    importaExistencias(im, r, existencias, id, sql.existencia);
    importaSeries(im, r, series, id, sql.serie);
  }
  for (const TCodigoPendiente& c : pendientes) {
    sql.codigo.setInteger(QStringLiteral("producto"), c.producto);
    sql.codigo.setString(QStringLiteral("codigo"), codigos.texto(c.lugar));
    sql.codigo.setInteger(QStringLiteral("negocio"), im.idNegocio);
    im.bd.inserta(sql.codigo, [&] { return im.contextoProducto(c.indice); });
  }
}
