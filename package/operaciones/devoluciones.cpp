#include "operaciones/devoluciones.h"

#include "operaciones/inventario.h"
#include "util/utilerias.h"

namespace {

CmidTierResponse resultado(int filas, const QString& error) {
  CmidTierResponse r;
  r.setOk(filas == 1);
  if (filas != 1)
    r.setError(filas < 0 ? error : QStringLiteral("No se encontró el renglón de la venta"));
  return r;
}

// The columns of both return lists, after "FROM ventasDevolucion v" and its joins.
const char* const kColumnasDevolucion =
    "SELECT v.id AS ventasDevolucion_id, o.ticketNo AS puntoOperacion_ticketNo, "
    "o.fechaHora AS puntoOperacion_fechaHora, v.fechaDevolucion AS "
    "ventasDevolucion_fechaDevolucion, d.descripcion AS inventarioProducto_nombre, "
    "v.cantidad AS ventasDevolucion_cantidad, v.devolucionTipo AS "
    "ventasDevolucion_devolucionTipo, v.estadoProducto AS ventasDevolucion_estadoProducto, "
    "v.noSeries AS ventasDevolucion_noSeries, COALESCE(n.uuid, '') AS comprobante_uuid "
    "FROM ventasDevolucion v JOIN puntoOperacionDetalle d ON d.id = v.puntoOperacionDetalle_id "
    "JOIN puntoOperacion o ON o.id = d.puntoOperacion_id "
    "LEFT JOIN ventasDevolucionNota n ON n.id = v.ventasDevolucionNota_id "
    "WHERE o.idNegocioFk = :negocio AND ";

}  // namespace

CmidTierResponse buscarTicketPorNumeroYNegocio(int ticketNo, int idNegocio,
                                               TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT o.id AS puntoOperacion_id, o.ticketNo AS puntoOperacion_ticketNo, "
      "COALESCE(a.uuid, '') AS puntoOperacionAdicional_uuid, r.idReceptor AS "
      "Receptor_idReceptor, COALESCE(r.rfc, '') AS Receptor_rfc, COALESCE(r.nombre, '') AS "
      "Receptor_nombre, o.cajeroNombre AS _cajeroNombre, o.fechaHora AS puntoOperacion_fechaHora, "
      "o.subtotal AS puntoOperacion_subtotal, o.impuestos AS puntoOperacion_impuestos, "
      "o.descuento AS puntoOperacion_descuento, o.total AS puntoOperacion_total, "
      "o.inventarioAlmacen_id AS inventarioAlmacen_id, COALESCE(al.nombre, '') AS "
      "inventarioAlmacen_nombre, o.facturadoFecha AS puntoOperacion_facturadoFecha, "
      "o.facturadoMetodo AS puntoOperacion_facturadoMotodo "
      "FROM puntoOperacion o "
      "LEFT JOIN puntoOperacionAdicional a ON a.id = (SELECT MAX(a2.id) FROM "
      "puntoOperacionAdicional a2 WHERE a2.puntoOperacion_id = o.id) "
      "LEFT JOIN Receptor r ON r.idReceptor = COALESCE(a.Receptor_idReceptor, (SELECT "
      "MIN(c.Receptor_idReceptor) FROM Comprobante c WHERE c.idNegocioFk = o.idNegocioFk AND "
      "c.uuid = a.uuid)) "
      "LEFT JOIN inventarioAlmacen al ON al.id = o.inventarioAlmacen_id "
      "WHERE o.idNegocioFk = :negocio AND o.ticketNo = :ticket"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setInteger(QStringLiteral("ticket"), ticketNo);
  return mt.reader();
}

CmidTierResponse buscarTicketDetallePorNumeroYNegocio(int ticketNo, int idNegocio,
                                                      TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT d.id AS PuntoOperacionDetalle_id, d.inventarioProducto_id AS "
      "inventarioProducto_id, d.kitID AS ventasCotizacionDetalle_kitID, d.cantidad AS "
      "puntoOperacionDetalle_cantidad, d.precioLista AS puntoOperacionDetalle_precioLista, "
      "d.precioUnitario AS PuntoOperacionDetalle_precioVenta, d.descuento AS "
      "puntoOperacionDetalle_descuento, d.descuentoValor AS puntoOperacionDetalle_descuentoValor, "
      "d.claveSATprodcutoServicio AS PuntoOperacionDetalle_claveSATprodcutoServicio, "
      "COALESCE(u.claveSAT33, '') AS inventarioUnidadesMedidaBorrado_claveSAT33, "
      "COALESCE(u.descripcion, d.unidadMedida) AS inventarioUnidadesMedida_descripcion, "
      "d.unidadesMedida_id AS unidadesMedida_id, d.clave AS inventarioProducto_clave, "
      "d.claveAlterna AS inventarioProducto_claveAlterna, d.descripcion AS "
      "inventarioProducto_nombre, d.categoria AS inventarioCategoria_etiqueta, "
      "d.ivaT AS PuntoOperacionDetalle_ivaT, d.ivaR AS PuntoOperacionDetalle_ivaR, "
      "d.iepsT AS PuntoOperacionDetalle_iepsT, d.iepsR AS PuntoOperacionDetalle_iepsR, "
      "d.isrR AS PuntoOperacionDetalle_isrR, d.ivaTbase AS PuntoOperacionDetalle_ivaTbase, "
      "d.ivaRbase AS PuntoOperacionDetalle_ivaRbase, d.iepsTbase AS "
      "PuntoOperacionDetalle_iepsTbase, d.iepsRbase AS PuntoOperacionDetalle_iepsRbase, "
      "d.isrRbase AS PuntoOperacionDetalle_isrRbase, d.devolucion AS "
      "PuntoOperacionDetalle_devolucion, d.tipoInsercion AS _tipoInsercion, d.grupo AS _grupo, "
      "COALESCE(p.opControladoNoSerie, 0) AS _controlaNoSerie "
      "FROM puntoOperacionDetalle d JOIN puntoOperacion o ON o.id = d.puntoOperacion_id "
      "LEFT JOIN inventarioUnidadesMedida u ON u.ID = d.unidadesMedida_id "
      "LEFT JOIN inventarioProducto p ON p.id = d.inventarioProducto_id "
      "WHERE o.idNegocioFk = :negocio AND o.ticketNo = :ticket ORDER BY d.fila, d.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setInteger(QStringLiteral("ticket"), ticketNo);
  return mt.reader();
}

CmidTierResponse bloqueaRenglonVenta(TmiddleTier& mt, int detalleID, int idNegocio) {
  mt.setQuery(QStringLiteral(
                  "SELECT d.id AS PuntoOperacionDetalle_id, d.puntoOperacion_id AS "
                  "puntoOperacion_id, o.ticketNo AS puntoOperacion_ticketNo, "
                  "d.inventarioProducto_id AS inventarioProducto_id, d.cantidad AS cantidad, "
                  "d.devolucion AS devolucion, d.descripcion AS descripcion, d.unidadesMedida_id "
                  "AS unidadesMedida_id, d.tipoInsercion AS _tipoInsercion, d.grupo AS _grupo, "
                  "d.kitID AS _kitID, COALESCE((SELECT p.opControladoNoSerie FROM "
                  "inventarioProducto p WHERE p.id = d.inventarioProducto_id), 0) AS "
                  "_controlaNoSerie, o.inventarioAlmacen_id AS inventarioAlmacen_id "
                  "FROM puntoOperacionDetalle d JOIN puntoOperacion o ON o.id = "
                  "d.puntoOperacion_id WHERE d.id = :id AND o.idNegocioFk = :negocio") +
              (mt.esPostgres() ? QStringLiteral(" FOR UPDATE OF d") : QString()));
  mt.setInteger(QStringLiteral("id"), detalleID);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.reader();
}

bool buscarProductoEnteroFraccion(int productoID, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("SELECT enteroFraccion FROM inventarioProducto WHERE id = :id"));
  mt.setInteger(QStringLiteral("id"), productoID);
  return mt.scalar().toInt() == 1;
}

bool TConexionInventario::devuelveProductoFromCotizacion(const informacionDevolucion& d,
                                                         TConexionSesion& conexion, int idNegocio) {
  if (!(d.cantidad > 0) || d.productoID <= 0 || d.almacenID <= 0) return false;
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "INSERT INTO inventarioExistencias (inventarioAlmacen_id, inventarioProducto_id, "
      "existencia) SELECT :almacen, :producto, :cantidad WHERE EXISTS (SELECT 1 FROM "
      "inventarioProducto WHERE id = :producto AND idNegocioFk = :negocio) AND EXISTS (SELECT 1 "
      "FROM inventarioAlmacen WHERE id = :almacen AND idNegocioFk = :negocio) "
      "ON CONFLICT (inventarioAlmacen_id, inventarioProducto_id) DO UPDATE SET existencia = "
      "inventarioExistencias.existencia + excluded.existencia"));
  mt.setInteger(QStringLiteral("almacen"), d.almacenID);
  mt.setInteger(QStringLiteral("producto"), d.productoID);
  mt.setDouble(QStringLiteral("cantidad"), d.cantidad);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.nonQuery() == 1;
}

CmidTierResponse Tventas::insertPorductoDevolucion(int fila, const QString& estado,
                                                   const QDateTime& fecha, const QString& cantidad,
                                                   int tipoDevolucion, const QString& noSeries,
                                                   int notaID) {
  setQuery(QStringLiteral(
      "INSERT INTO ventasDevolucion (puntoOperacionDetalle_id, fechaDevolucion, cantidad, "
      "devolucionTipo, estadoProducto, noSeries, idNegocioFk, ventasDevolucionNota_id) "
      "SELECT d.id, :fecha, :cantidad, :tipo, :estado, :series, o.idNegocioFk, :nota "
      "FROM puntoOperacionDetalle d JOIN puntoOperacion o ON o.id = d.puntoOperacion_id "
      "WHERE d.id = :fila RETURNING id AS ventasDevolucion_id"));
  setDateTime(QStringLiteral("fecha"), fecha);
  setDouble(QStringLiteral("cantidad"), u_strToFloat(cantidad));
  setInteger(QStringLiteral("tipo"), tipoDevolucion);
  setString(QStringLiteral("estado"), estado);
  setString(QStringLiteral("series"), noSeries);
  if (notaID > 0)
    setInteger(QStringLiteral("nota"), notaID);
  else
    setNull(QStringLiteral("nota"), QMetaType::LongLong);
  setInteger(QStringLiteral("fila"), fila);
  CmidTierResponse r = reader();
  if (r.ok() && r.getRowCount() != 1) {
    r.setOk(false);
    r.setError(QStringLiteral("No se encontró el renglón de la venta"));
  }
  return r;
}

CmidTierResponse Tventas::updateOperacionPuntoVentaSETdevolucion(int fila,
                                                                 const QString& acumulado) {
  setQuery(
      QStringLiteral("UPDATE puntoOperacionDetalle SET devolucion = :acumulado WHERE id = "
                     ":fila"));
  setDouble(QStringLiteral("acumulado"), u_strToFloat(acumulado));
  setInteger(QStringLiteral("fila"), fila);
  return resultado(nonQuery(), ultimoError());
}

CmidTierResponse buscaDevolucionPorFecha(const QDateTime& desde, const QDateTime& hasta,
                                         int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QString::fromLatin1(kColumnasDevolucion) +
              QStringLiteral("v.fechaDevolucion >= :desde AND v.fechaDevolucion <= :hasta "
                             "ORDER BY v.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setDateTime(QStringLiteral("desde"), desde);
  mt.setDateTime(QStringLiteral("hasta"), hasta);
  return mt.reader();
}

CmidTierResponse buscaDevolucionPorTicketNo(int ticketNo, int idNegocio,
                                            TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QString::fromLatin1(kColumnasDevolucion) +
              QStringLiteral("o.ticketNo = :ticket ORDER BY v.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setInteger(QStringLiteral("ticket"), ticketNo);
  return mt.reader();
}

CmidTierResponse consultaNotasCreditoPuntoVenta(const QDateTime& desde, const QDateTime& hasta,
                                                const QVariant& uuidVenta, int idNegocio,
                                                TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT c.fecha AS Comprobante_fecha, COALESCE(r.rfc, '') AS Receptor_rfc, "
      "COALESCE(r.nombre, '') AS Receptor_nombre, c.uuidRelacionado AS "
      "puntoOperacionAdicional_uuid, c.uuid AS comprobante_uuid, o.ticketNo AS "
      "puntoOperacion_ticketNo FROM Comprobante c JOIN puntoOperacion o ON o.id = "
      "c.puntoOperacion_id LEFT JOIN Receptor r ON r.idReceptor = c.Receptor_idReceptor "
      "WHERE c.idNegocioFk = :negocio AND o.idNegocioFk = :negocio AND c.tipoDocumento = 'CRE' "
      "AND c.fecha >= :desde AND c.fecha <= :hasta AND (:uuid IS NULL OR "
      "UPPER(c.uuidRelacionado) LIKE '%' || UPPER(:uuid) || '%') ORDER BY c.fecha, c.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setDateTime(QStringLiteral("desde"), desde);
  mt.setDateTime(QStringLiteral("hasta"), hasta);
  const QString uuid = uuidVenta.isNull() ? QString() : uuidVenta.toString().trimmed();
  if (uuid.isEmpty())
    mt.setNull(QStringLiteral("uuid"));
  else
    mt.setString(QStringLiteral("uuid"), uuid);
  return mt.reader();
}
