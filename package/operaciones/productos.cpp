#include "productos.h"

#include "context/TsistemaDatos.h"
#include "db/TmiddleTier.h"
#include "operaciones/busquedaProductos.h"
#include "util/utilerias.h"

namespace {

const QString kColumnasProducto = QStringLiteral(
    "inventarioProducto.id AS inventarioProducto_id, "
    "inventarioProducto.claveSATProductoServicio AS categoriaSAT33_claveProductoServicio, "
    "inventarioProducto.nombre AS inventarioProducto_nombre, "
    "inventarioProducto.inventarioCategoria_identidad AS inventarioCategoria_identidad, "
    "inventarioCategoria.etiqueta AS inventarioCategoria_etiqueta, "
    "inventarioProducto.clave AS inventarioProducto_clave, "
    "inventarioProducto.claveAlterna AS inventarioProducto_claveAlterna, "
    "inventarioProducto.unidadesMedida_id AS unidadesMedida_id, "
    "inventarioUnidadesMedida.descripcion AS inventarioUnidadesMedida_descripcion, "
    "inventarioProducto.imagen AS inventarioProducto_imagen ");

const QString kUnionesProducto = QStringLiteral(
    "LEFT JOIN inventarioCategoria ON inventarioCategoria.identidad = "
    "inventarioProducto.inventarioCategoria_identidad AND inventarioCategoria.idNegocioFk = "
    "inventarioProducto.idNegocioFk "
    "LEFT JOIN inventarioUnidadesMedida ON inventarioUnidadesMedida.ID = "
    "inventarioProducto.unidadesMedida_id ");

qint64 soloActivosComoEntero(const QVariant& v) { return v.isValid() && v.toBool() ? 1 : 0; }

}  // namespace

CmidTierResponse filtraProductosPorcodigoBarras(const QString& codigo, const QVariant& soloActivos,
                                                int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral("SELECT ") + kColumnasProducto +
      QStringLiteral("FROM inventarioProductoCodigoBarras INNER JOIN inventarioProducto "
                     "ON inventarioProducto.id = "
                     "inventarioProductoCodigoBarras.inventarioProducto_id ") +
      kUnionesProducto +
      QStringLiteral("WHERE inventarioProductoCodigoBarras.idNegocioFk = :negocio AND "
                     "inventarioProductoCodigoBarras.codigo = :codigo AND "
                     "(:activos = 0 OR inventarioProducto.inventarioProductoEstado_id = 1)"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setString(QStringLiteral("codigo"), codigo);
  mt.setInteger(QStringLiteral("activos"), soloActivosComoEntero(soloActivos));
  return mt.reader();
}

CmidTierResponse filtraProductosPorNombre(const QString& patron, const QVariant& soloActivos,
                                          int idNegocio, TConexionSesion& conexion) {
  const QString enFormaDeBusqueda = u_normalizaBusqueda(patron);
  if (auto r = u_buscaNombreIndexado(kColumnasProducto, kUnionesProducto, enFormaDeBusqueda,
                                     soloActivosComoEntero(soloActivos) == 1, idNegocio,
                                     kMaxResultadosNombre, conexion))
    return *r;
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("SELECT ") + kColumnasProducto +
              QStringLiteral("FROM inventarioProducto ") + kUnionesProducto +
              QStringLiteral("WHERE inventarioProducto.idNegocioFk = :negocio AND "
                             "inventarioProducto.nombreBusqueda LIKE :patron AND "
                             "(:activos = 0 OR inventarioProducto.inventarioProductoEstado_id = 1) "
                             "ORDER BY inventarioProducto.nombreBusqueda, inventarioProducto.id "
                             "LIMIT %1")
                  .arg(kMaxResultadosNombre));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setString(QStringLiteral("patron"), enFormaDeBusqueda);
  mt.setInteger(QStringLiteral("activos"), soloActivosComoEntero(soloActivos));
  return mt.reader();
}

QString buscaPrecioLista(int productoId, int listaId, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT precioLista FROM ventasListaProductos WHERE ventasListaPrecios_id = :lista AND "
      "inventarioProducto_id = :producto"));
  mt.setInteger(QStringLiteral("lista"), listaId);
  mt.setInteger(QStringLiteral("producto"), productoId);
  const QVariant v = mt.scalar();
  if (!v.isValid() || v.isNull()) return QString();
  return CmidTierResponse::texto(v.typeId() == QMetaType::QString ? QVariant(v.toDouble()) : v);
}

CmidTierResponse buscaPrecioListaImpuestos(int productoId, int listaId, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral("SELECT ventasListaProductos.precioLista AS ventasListaProductos_precioLista, "
                     "COALESCE(inventarioProductoImpuestos.ivaTrasladado, 0) AS "
                     "inventarioProductoImpuestos_ivaTrasladado, "
                     "COALESCE(inventarioProductoImpuestos.iepsTrasladado, 0) AS "
                     "inventarioProductoImpuestos_iepsTrasladado "
                     "FROM ventasListaProductos LEFT JOIN inventarioProductoImpuestos ON "
                     "inventarioProductoImpuestos.inventarioProducto_id = "
                     "ventasListaProductos.inventarioProducto_id "
                     "WHERE ventasListaProductos.ventasListaPrecios_id = :lista AND "
                     "ventasListaProductos.inventarioProducto_id = :producto"));
  mt.setInteger(QStringLiteral("lista"), listaId);
  mt.setInteger(QStringLiteral("producto"), productoId);
  CmidTierResponse r = mt.reader();
  // No row means no price: the caller must not build a scale from nothing.
  if (r.ok() && r.getRowCount() == 0) r.setOk(false);
  return r;
}

CmidTierResponse buscaImpuestoParaProductoPorLista(int listaId, int productoId,
                                                   TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT impuestosAplicados AS ventasListaProductos_impuestosAplicados FROM "
      "ventasListaProductos WHERE ventasListaPrecios_id = :lista AND inventarioProducto_id = "
      ":producto"));
  mt.setInteger(QStringLiteral("lista"), listaId);
  mt.setInteger(QStringLiteral("producto"), productoId);
  CmidTierResponse r = mt.reader();
  if (r.ok() && r.getRowCount() == 0) r.setOk(false);
  return r;
}

CmidTierResponse getEscalaPorProducto(int productoId, int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT cantidad AS ventasDescuentosProductos_cantidad, descuento AS "
      "ventasDescuentosProductos_descuento FROM ventasDescuentosProductos WHERE "
      "inventarioProducto_id = :producto AND idNegocioFk = :negocio ORDER BY cantidad, id"));
  mt.setInteger(QStringLiteral("producto"), productoId);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.reader();
}

CmidTierResponse getEscalaPorCategoria(const QString& categoria, int idNegocio,
                                       TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral("SELECT cantidad AS ventasDescuentosCategorias_cantidad, descuento AS "
                     "ventasDescuentosCategorias_descuento FROM ventasDescuentosCategorias WHERE "
                     "inventarioCategoria_identidad = :categoria AND idNegocioFk = :negocio ORDER "
                     "BY cantidad, id"));
  mt.setString(QStringLiteral("categoria"), categoria);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.reader();
}

namespace {
const QString kColumnasKit = QStringLiteral(
    "ventasKit.id AS ventasKit_id, ventasKit.nombre AS ventasKit_nombre, ventasKit.claveKit AS "
    "ventasKit_claveKit, ventasKit.precioVenta AS ventasKit_precioVenta, ventasKit.ivaTrasladado "
    "AS ventasKit_ivaTrasladado, ventasKit.ivaRetenido AS ventasKit_ivaRetenido, "
    "ventasKit.iepsTrasladado AS ventasKit_iepsTrasladado, ventasKit.iepsRetenido AS "
    "ventasKit_iepsRetenido, ventasKit.isrRetenido AS ventasKit_isrRetenido, "
    "ventasKit.vigenciaDesde AS ventasKit_vigenciaDesde, ventasKit.vigenciaHasta AS "
    "ventasKit_vigenciaHasta ");
}  // namespace

CmidTierResponse consultaKitFecha(const QVariant& kitId, int idNegocio, const QVariant& activo,
                                  const QDateTime& fecha, int tipo, TConexionSesion& conexion) {
  Q_UNUSED(tipo);
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral("SELECT ") + kColumnasKit +
      QStringLiteral("FROM ventasKit WHERE ventasKit.idNegocioFk = :negocio AND (:kit is null OR "
                     "ventasKit.id = :kit) AND (:activo is null OR ventasKit.activo = :activo) AND "
                     "(ventasKit.vigenciaDesde IS NULL OR ventasKit.vigenciaDesde <= :fecha) AND "
                     "(ventasKit.vigenciaHasta IS NULL OR ventasKit.vigenciaHasta >= :fecha) "
                     "ORDER BY ventasKit.nombre, ventasKit.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setVariant(QStringLiteral("kit"), kitId.isNull() ? QVariant(QMetaType::fromType<int>())
                                                      : QVariant(kitId.toLongLong()));
  mt.setVariant(QStringLiteral("activo"), activo.isNull() ? QVariant(QMetaType::fromType<int>())
                                                          : QVariant(activo.toLongLong()));
  mt.setDateTime(QStringLiteral("fecha"), fecha);
  return mt.reader();
}

CmidTierResponse buscaKitporID(int kitId, int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("SELECT ") + kColumnasKit +
              QStringLiteral("FROM ventasKit WHERE ventasKit.id = :kit AND ventasKit.idNegocioFk = "
                             ":negocio"));
  mt.setInteger(QStringLiteral("kit"), kitId);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  CmidTierResponse r = mt.reader();
  if (r.ok() && r.getRowCount() == 0) r.setOk(false);
  return r;
}

CmidTierResponse buscaProductosByKitID(int kitId, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral(
          "SELECT inventarioProducto.id AS producto_id, inventarioProducto.nombre AS "
          "producto_nombre, "
          "inventarioProducto.clave AS producto_clave, inventarioProducto.claveAlterna AS "
          "producto_claveAlterna, inventarioProducto.inventarioCategoria_identidad AS "
          "categoria_identidad, inventarioCategoria.etiqueta AS categoria_etiqueta, "
          "inventarioProducto.unidadesMedida_id AS unidadesMedida_id, "
          "inventarioUnidadesMedida.descripcion AS unidadesMedida_descripcion, "
          "inventarioProducto.claveSATProductoServicio AS categoriaSAT33_claveProductoServicio, "
          "ventasKitDetalle.cantidad AS ventasKitDetalle_cantidad "
          "FROM ventasKitDetalle INNER JOIN inventarioProducto ON inventarioProducto.id = "
          "ventasKitDetalle.inventarioProducto_id ") +
      kUnionesProducto +
      QStringLiteral("WHERE ventasKitDetalle.ventasKit_id = :kit ORDER BY ventasKitDetalle.id"));
  mt.setInteger(QStringLiteral("kit"), kitId);
  return mt.reader();
}

CmidTierResponse consultaPromocion(const QVariant& promocionId, const QVariant& fecha,
                                   int idNegocio, const QVariant& activa, int tipo,
                                   TConexionSesion& conexion) {
  Q_UNUSED(tipo);
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT id AS ventasPromociones_id, nombre AS ventasPromociones_nombre, promocionTipo AS "
      "ventasPromociones_promocionTipo, promocionDetalle AS ventasPromociones_promocionDetalle, "
      "vigenciaDesde AS ventasPromociones_vigenciaDesde, vigenciaHasta AS "
      "ventasPromociones_vigenciaHasta FROM ventasPromociones WHERE idNegocioFk = :negocio AND "
      "(:promocion is null OR id = :promocion) AND (:activa is null OR activa = :activa) AND "
      "(:fecha is null OR ((vigenciaDesde IS NULL OR vigenciaDesde <= :fecha) AND "
      "(vigenciaHasta IS NULL OR vigenciaHasta >= :fecha))) ORDER BY nombre, id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setVariant(QStringLiteral("promocion"), promocionId.isNull()
                                                 ? QVariant(QMetaType::fromType<int>())
                                                 : QVariant(promocionId.toLongLong()));
  mt.setVariant(QStringLiteral("activa"), activa.isNull() ? QVariant(QMetaType::fromType<int>())
                                                          : QVariant(activa.toLongLong()));
  mt.setDateTime(QStringLiteral("fecha"), fecha.toDateTime());
  return mt.reader();
}

TproductoSeleccionadoDescripcion seleccionarProductoPorID(int productoId, TsistemaDatos& sistema) {
  TproductoSeleccionadoDescripcion d;
  if (!sistema.conexion) return d;
  TmiddleTier mt(sistema.getConexion());
  mt.setQuery(QStringLiteral("SELECT ") + kColumnasProducto +
              QStringLiteral(", ventasListaProductos.impuestosAplicados AS impuestos FROM "
                             "inventarioProducto ") +
              kUnionesProducto +
              QStringLiteral(
                  "LEFT JOIN ventasListaPrecios ON ventasListaPrecios.idNegocioFk = "
                  "inventarioProducto.idNegocioFk AND ventasListaPrecios.predeterminada = 1 "
                  "LEFT JOIN ventasListaProductos ON ventasListaProductos.ventasListaPrecios_id = "
                  "ventasListaPrecios.id AND ventasListaProductos.inventarioProducto_id = "
                  "inventarioProducto.id WHERE inventarioProducto.id = :producto AND "
                  "inventarioProducto.idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("producto"), productoId);
  mt.setInteger(QStringLiteral("negocio"), sistema.getIdNegocio());
  const CmidTierResponse r = mt.reader();
  if (!r.ok() || r.getRowCount() == 0) return d;
  d.ok = true;
  d.id = r.getCeldaAsInt(QStringLiteral("inventarioProducto_id"));
  d.claveSAT = r.getCelda(QStringLiteral("categoriaSAT33_claveProductoServicio"));
  d.nombre = r.getCelda(QStringLiteral("inventarioProducto_nombre"));
  d.categoriaIdentidad = r.getCelda(QStringLiteral("inventarioCategoria_identidad"));
  d.categoriaEtiqueta = r.getCelda(QStringLiteral("inventarioCategoria_etiqueta"));
  d.clave = r.getCelda(QStringLiteral("inventarioProducto_clave"));
  d.claveAlterna = r.getCelda(QStringLiteral("inventarioProducto_claveAlterna"));
  d.unidadId = r.getCeldaAsInt(QStringLiteral("unidadesMedida_id"));
  d.unidadDescripcion = r.getCelda(QStringLiteral("inventarioUnidadesMedida_descripcion"));
  d.texto = d.clave.isEmpty() ? d.nombre : d.clave + QStringLiteral(" - ") + d.nombre;
  const QStringList t = u_split(r.getCelda(QStringLiteral("impuestos")), QStringLiteral("|"));
  if (t.size() >= 5) {
    d.ivaTrasladado = t[0];
    d.ivaRetenido = t[1];
    d.iepsTrasladado = t[2];
    d.iepsRetenido = t[3];
    d.isrRetenido = t[4];
  }
  return d;
}

namespace {
const QString kColumnasPromocion = QStringLiteral(
    "ventasPromociones.id AS ventasPromociones_id, ventasPromociones.nombre AS "
    "ventasPromociones_nombre, ventasPromociones.promocionTipo AS "
    "ventasPromociones_promocionTipo, ventasPromociones.promocionDetalle AS "
    "ventasPromociones_promocionDetalle, ventasPromociones.vigenciaDesde AS "
    "ventasPromociones_vigenciaDesde, ventasPromociones.vigenciaHasta AS "
    "ventasPromociones_vigenciaHasta ");
}  // namespace

CmidTierResponse consultaPromocionPorProductoYFecha(const QString& categoria, int productoId,
                                                    int idNegocio, const QDateTime& fecha,
                                                    TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  // A set-with-gifts promotion is found through any of the products it asks to buy.
  mt.setQuery(QStringLiteral("SELECT ") + kColumnasPromocion +
              QStringLiteral(
                  "FROM ventasPromociones WHERE ventasPromociones.idNegocioFk = :negocio AND "
                  "ventasPromociones.activa = 1 AND (ventasPromociones.vigenciaDesde IS NULL OR "
                  "ventasPromociones.vigenciaDesde <= :fecha) AND (ventasPromociones.vigenciaHasta "
                  "IS NULL OR ventasPromociones.vigenciaHasta >= :fecha) AND EXISTS (SELECT 1 FROM "
                  "ventasPromocionesProductoCategoriaClave a WHERE a.ventasPromociones_id = "
                  "ventasPromociones.id AND a.lista IN (0, 1) AND (a.inventarioProducto_id = "
                  ":producto OR (a.lista = 0 AND a.inventarioCategoria_identidad = :categoria))) "
                  "ORDER BY ventasPromociones.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setDateTime(QStringLiteral("fecha"), fecha);
  mt.setInteger(QStringLiteral("producto"), productoId);
  mt.setString(QStringLiteral("categoria"), categoria);
  return mt.reader();
}

CmidTierResponse consultaPromocionProductosPorGrid(int promocionId, int lista,
                                                   TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT inventarioProducto.id AS inventarioProducto_id, "
      "ventasPromocionesProductoCategoriaClave.gridCantidad AS "
      "ventasPromocionesProductoCategoriaClave_gridCantidad, inventarioProducto.nombre AS "
      "inventarioProducto_nombre FROM ventasPromocionesProductoCategoriaClave INNER JOIN "
      "inventarioProducto ON inventarioProducto.id = "
      "ventasPromocionesProductoCategoriaClave.inventarioProducto_id WHERE "
      "ventasPromocionesProductoCategoriaClave.ventasPromociones_id = :promocion AND "
      "ventasPromocionesProductoCategoriaClave.lista = :lista ORDER BY "
      "ventasPromocionesProductoCategoriaClave.id"));
  mt.setInteger(QStringLiteral("promocion"), promocionId);
  mt.setInteger(QStringLiteral("lista"), lista);
  return mt.reader();
}

CmidTierResponse buscaDetallePromocionPorID(int promocionId, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("SELECT ") + kColumnasPromocion +
              QStringLiteral("FROM ventasPromociones WHERE ventasPromociones.id = :promocion"));
  mt.setInteger(QStringLiteral("promocion"), promocionId);
  CmidTierResponse r = mt.reader();
  if (r.ok() && r.getRowCount() == 0) r.setOk(false);
  return r;
}
