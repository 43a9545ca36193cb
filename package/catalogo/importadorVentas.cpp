// Promotions and kits.

#include "catalogo/importacion.h"
#include "util/limites.h"
#include "util/utilerias.h"

namespace {

// Where a promotion row points: lista 0 products or categories it applies to, lista 1 products
// to buy, lista 2 gifts.
struct TRenglonPromocion {
  int lista = 0;
  qint64 producto = 0;
  QString categoria;
  double cantidad = 1;
};

// {producto, cantidad} items of a set promotion or a kit.
QVector<TRenglonPromocion> leeCantidades(const TImportacion& im, TLectorRegistro& r,
                                         const QString& campo, int lista) {
  QVector<TRenglonPromocion> renglones;
  const QJsonArray items = r.lista(campo);
  for (int i = 0; i < items.size(); ++i) {
    TLectorRegistro e(items[i], r.contexto() + QLatin1Char('.') + u_contextoElemento(campo, i));
    TRenglonPromocion p;
    p.lista = lista;
    p.producto = im.producto(e, e.textoRequerido(QStringLiteral("producto"), kMaxLargoClave)).id;
    p.cantidad = e.numero(QStringLiteral("cantidad"), 1);
    e.termina();
    if (p.cantidad <= 0) e.falla(QStringLiteral("la cantidad debe ser mayor que cero"));
    e.revisa(u_revisaCantidad(p.cantidad, QStringLiteral("la cantidad")));
    renglones << p;
  }
  return renglones;
}

QStringList leeTextos(TLectorRegistro& r, const QString& campo) {
  QStringList textos;
  for (const QJsonValue& v : r.lista(campo)) {
    if (!v.isString() || v.toString().trimmed().isEmpty())
      r.falla(QStringLiteral("\"%1\" debe ser una lista de textos").arg(campo));
    r.revisa(u_revisaTexto(v.toString().trimmed(), kMaxLargoClave,
                           QStringLiteral("un elemento de \"%1\"").arg(campo)));
    textos << v.toString().trimmed();
  }
  return textos;
}

double porcentaje(TLectorRegistro& r, bool requerido) {
  const auto p = r.numeroOpcional(QStringLiteral("porcentaje"));
  if (!p) {
    if (requerido) r.falla(QStringLiteral("falta el campo \"porcentaje\""));
    return 0;
  }
  if (*p <= 0 || *p > 100)
    r.falla(QStringLiteral("el porcentaje debe ser mayor que 0 y hasta 100"));
  return *p;
}

qint64 unidadesN(TLectorRegistro& r) {
  const qint64 n = r.enteroRequerido(QStringLiteral("n"));
  if (n < 1) r.falla(QStringLiteral("\"n\" debe ser al menos 1"));
  r.revisa(u_revisaCantidad(static_cast<double>(n), QStringLiteral("\"n\"")));
  return n;
}

}  // namespace

void u_importaPromociones(TImportacion& im, TRecorridoSeccion& lista) {
  const QString seccion = QStringLiteral("promociones");
  im.bd.reservaIds(QStringLiteral("ventasPromociones"), QStringLiteral("id"), lista.seccion().ids,
                   [&](int i) { return u_contextoElemento(seccion, i); });
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO ventasPromociones (id, nombre, promocionTipo, promocionDetalle, vigenciaDesde, "
      "vigenciaHasta, activa, idNegocioFk) VALUES ({ID ventasPromociones.id}, :nombre, :tipo, "
      ":detalle, :desde, :hasta, :activa, :negocio) RETURNING id");
  TmiddleTier& renglon = im.bd.sentencia(
      "INSERT INTO ventasPromocionesProductoCategoriaClave (ventasPromociones_id, lista, "
      "inventarioProducto_id, inventarioCategoria_identidad, gridCantidad) VALUES (:promocion, "
      ":lista, :producto, :categoria, :cantidad)");
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista.siguiente(), u_contextoElemento(seccion, i));
    u_enlazaId(mt, r.id());
    const QString nombre = r.textoRequerido(QStringLiteral("nombre"), kMaxLargoNombre);
    r.nombraCon(QStringLiteral("nombre"), nombre);
    const qint64 tipo = r.enteroRequerido(QStringLiteral("tipo"));
    if (tipo < 0 || tipo > 3)
      r.falla(
          QStringLiteral("el tipo debe ser 0 (compra N paga M), 1 (conjunto con regalos), "
                         "2 (porcentaje) o 3 (siguiente unidad)"));
    mt.setString(QStringLiteral("nombre"), nombre);
    mt.setInteger(QStringLiteral("tipo"), tipo);
    u_leeVigencia(r, mt);
    mt.setInteger(QStringLiteral("activa"), r.booleano(QStringLiteral("activa"), true));
    mt.setInteger(QStringLiteral("negocio"), im.idNegocio);

    QVector<TRenglonPromocion> renglones;
    for (const QString& clave : leeTextos(r, QStringLiteral("productos")))
      renglones << TRenglonPromocion{0, im.producto(r, clave).id, QString(), 1};
    const QStringList categorias = leeTextos(r, QStringLiteral("categorias"));
    for (const QString& identidad : categorias) {
      im.compruebaCategoria(r, identidad);
      renglones << TRenglonPromocion{0, 0, identidad, 1};
    }

    QString detalle;
    if (tipo == 0) {
      const qint64 n = unidadesN(r);
      const qint64 m = r.enteroRequerido(QStringLiteral("m"));
      if (m < 0 || m >= n) r.falla(QStringLiteral("\"m\" debe ser menor que \"n\" y no negativo"));
      detalle = QStringLiteral("|%1|%2").arg(n).arg(m);
    } else if (tipo == 1) {
      const auto compra = leeCantidades(im, r, QStringLiteral("compra"), 1);
      const auto regalos = leeCantidades(im, r, QStringLiteral("regalos"), 2);
      if (compra.isEmpty() || regalos.isEmpty())
        r.falla(QStringLiteral("necesita productos en \"compra\" y en \"regalos\""));
      // The products to buy also go in lista 0, so a sale line of any of them finds it.
      for (const TRenglonPromocion& c : compra) {
        bool yaEsta = false;
        for (const TRenglonPromocion& p : renglones) yaEsta |= p.producto == c.producto;
        if (!yaEsta) renglones << TRenglonPromocion{0, c.producto, QString(), 1};
      }
      renglones << compra << regalos;
    } else if (tipo == 2) {
      // "1" a category discount, "2" a product discount.
      const bool deCategoria = !categorias.isEmpty() && renglones.size() == categorias.size();
      detalle =
          QStringLiteral("%1|%2").arg(deCategoria ? 1 : 2).arg(u_floatToStr(porcentaje(r, true)));
    } else {
      const qint64 n = unidadesN(r);
      const bool conPorcentaje = r.tiene(QStringLiteral("porcentaje"));
      const double pct = porcentaje(r, false);
      const auto monto = r.numeroOpcional(QStringLiteral("monto"));
      if (!conPorcentaje && !monto) r.falla(QStringLiteral("necesita \"porcentaje\" o \"monto\""));
      if (monto && *monto <= 0) r.falla(QStringLiteral("el monto debe ser mayor que cero"));
      if (monto) r.revisa(u_revisaPrecio(*monto, QStringLiteral("el monto")));
      detalle = QStringLiteral("|%1|%2|%3")
                    .arg(n)
                    .arg(conPorcentaje ? u_floatToStr(pct) : QString())
                    .arg(monto ? u_floatToStr(*monto) : QString());
    }
    if (renglones.isEmpty())
      r.falla(QStringLiteral("no dice a qué productos o categorías se aplica"));
    mt.setString(QStringLiteral("detalle"), detalle);
    r.termina();
    const qint64 id = im.bd.insertaConId(mt, r.contexto());
    for (const TRenglonPromocion& p : renglones) {
      renglon.setInteger(QStringLiteral("promocion"), id);
      renglon.setInteger(QStringLiteral("lista"), p.lista);
      if (p.producto > 0)
        renglon.setInteger(QStringLiteral("producto"), p.producto);
      else
        renglon.setNull(QStringLiteral("producto"), QMetaType::LongLong);
      if (p.categoria.isEmpty())
        renglon.setNull(QStringLiteral("categoria"));
      else
        renglon.setString(QStringLiteral("categoria"), p.categoria);
      renglon.setDouble(QStringLiteral("cantidad"), p.cantidad);
      im.bd.inserta(renglon, r.contexto());
    }
  }
}

void u_importaKits(TImportacion& im, TRecorridoSeccion& lista) {
  const QString seccion = QStringLiteral("kits");
  im.bd.reservaIds(QStringLiteral("ventasKit"), QStringLiteral("id"), lista.seccion().ids,
                   [&](int i) { return u_contextoElemento(seccion, i); });
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO ventasKit (id, nombre, claveKit, precioVenta, ivaTrasladado, ivaRetenido, "
      "iepsTrasladado, iepsRetenido, isrRetenido, vigenciaDesde, vigenciaHasta, activo, "
      "idNegocioFk) VALUES ({ID ventasKit.id}, :nombre, :clave, :precio, :ivaT, :ivaR, :iepsT, "
      ":iepsR, :isrR, :desde, :hasta, :activo, :negocio) RETURNING id");
  TmiddleTier& detalle = im.bd.sentencia(
      "INSERT INTO ventasKitDetalle (ventasKit_id, inventarioProducto_id, cantidad) "
      "VALUES (:kit, :producto, :cantidad)");
  QSet<QString> claves;
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista.siguiente(), u_contextoElemento(seccion, i));
    u_enlazaId(mt, r.id());
    const QString nombre = r.textoRequerido(QStringLiteral("nombre"), kMaxLargoNombre);
    r.nombraCon(QStringLiteral("nombre"), nombre);
    const QString clave = r.texto(QStringLiteral("claveKit"), QString(), kMaxLargoClave);
    if (!clave.isEmpty() && claves.contains(clave))
      r.falla(QStringLiteral("la claveKit \"%1\" se repite").arg(clave));
    claves.insert(clave);
    const double precio = r.numeroRequerido(QStringLiteral("precioVenta"));
    if (precio < 0) r.falla(QStringLiteral("el precio no puede ser negativo"));
    r.revisa(u_revisaPrecio(precio, QStringLiteral("el precio")));
    mt.setString(QStringLiteral("nombre"), nombre);
    mt.setString(QStringLiteral("clave"), clave);
    mt.setDouble(QStringLiteral("precio"), precio);
    u_leeImpuestos(r).enlaza(mt);
    u_leeVigencia(r, mt);
    mt.setInteger(QStringLiteral("activo"), r.booleano(QStringLiteral("activo"), true));
    mt.setInteger(QStringLiteral("negocio"), im.idNegocio);
    const auto productos = leeCantidades(im, r, QStringLiteral("productos"), 0);
    if (productos.isEmpty()) r.falla(QStringLiteral("un kit necesita al menos un producto"));
    r.termina();
    const qint64 id = im.bd.insertaConId(mt, r.contexto());
    for (const TRenglonPromocion& p : productos) {
      detalle.setInteger(QStringLiteral("kit"), id);
      detalle.setInteger(QStringLiteral("producto"), p.producto);
      detalle.setString(QStringLiteral("cantidad"), u_floatToStr(p.cantidad));
      im.bd.inserta(detalle, r.contexto());
    }
  }
}
