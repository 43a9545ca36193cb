#include "operaciones/noSerie.h"

#include <QSet>
#include <algorithm>

#include "operaciones/devoluciones.h"
#include "operaciones/transaccion.h"
#include "util/utilerias.h"

namespace {

CmidTierResponse unaFila(int filas, const QString& error, const QString& sinFila) {
  CmidTierResponse r;
  r.setOk(filas == 1);
  if (filas != 1) r.setError(filas < 0 ? error : sinFila);
  return r;
}

TresultadoNoSerie rechazo(const QString& mensaje) { return {false, mensaje}; }

}  // namespace

QString u_leyendaEstadoNoSerie(int estado) {
  switch (estado) {
    case NOSERIE_EN_EXISTENCIA:
      return QStringLiteral("En existencia");
    case NOSERIE_VENDIDO:
      return QStringLiteral("Vendido");
    case NOSERIE_DEVUELTO:
      return QStringLiteral("Devuelto");
    default:
      return QString();
  }
}

CmidTierResponse Tproductos::deleteRelacionNoSerieConTicket(int enlaceID) {
  setQuery(QStringLiteral("DELETE FROM inventarioNoSerieTicket WHERE id = :id"));
  setInteger(QStringLiteral("id"), enlaceID);
  return unaFila(nonQuery(), ultimoError(),
                 QStringLiteral("El número de serie ya no está ligado al ticket"));
}

CmidTierResponse Tproductos::updateInventarioEstadoNoSerieEstado(int noSerieID) {
  setQuery(
      QStringLiteral("UPDATE inventarioNoSerie SET estado = :devuelto WHERE id = :id AND "
                     "estado = :vendido"));
  setInteger(QStringLiteral("devuelto"), NOSERIE_DEVUELTO);
  setInteger(QStringLiteral("vendido"), NOSERIE_VENDIDO);
  setInteger(QStringLiteral("id"), noSerieID);
  return unaFila(nonQuery(), ultimoError(), QStringLiteral("El número de serie no está vendido"));
}

CmidTierResponse buscaNoSerieVendidosPorDetalle(int detalleID, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT s.id AS inventarioNoSerie_id, t.id AS inventarioNoSerieTicket_id, s.noSerie AS "
      "inventarioNoSerie_noSerie FROM inventarioNoSerieTicket t JOIN inventarioNoSerie s ON "
      "s.id = t.inventarioNoSerie_id WHERE t.puntoOperacionDetalle_id = :detalle ORDER BY "
      "s.noSerie"));
  mt.setInteger(QStringLiteral("detalle"), detalleID);
  return mt.reader();
}

CmidTierResponse consultaNoSerie(const QVariant& noSerie, const QVariant& producto, int idNegocio,
                                 TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  // A returned unit has lost its link; the return that brought it back names it in its list
  // of serial numbers, and so tells the sale it came from.
  mt.setQuery(QStringLiteral(
      "SELECT s.id AS inventarioNoSerie_id, s.noSerie AS inventarioNoSerie_noSerie, "
      "s.inventarioProducto_id AS inventarioProducto_id, p.nombre AS inventarioProducto_nombre, "
      "COALESCE(a.nombre, '') AS inventarioAlmacen_nombre, s.estado AS inventarioNoSerie_estado, "
      "CASE s.estado WHEN 1 THEN 'En existencia' WHEN 2 THEN 'Vendido' WHEN 3 THEN 'Devuelto' "
      "ELSE '' END AS _estado_leyenda, o.ticketNo AS puntoOperacion_ticketNo, o.fechaHora AS "
      "puntoOperacion_fechaHora "
      "FROM inventarioNoSerie s JOIN inventarioProducto p ON p.id = s.inventarioProducto_id "
      "LEFT JOIN inventarioAlmacen a ON a.id = s.inventarioAlmacen_id "
      "LEFT JOIN puntoOperacionDetalle d ON d.id = COALESCE((SELECT t.puntoOperacionDetalle_id "
      "FROM inventarioNoSerieTicket t WHERE t.inventarioNoSerie_id = s.id), CASE WHEN s.estado = "
      "3 THEN (SELECT dv.id FROM ventasDevolucion v JOIN puntoOperacionDetalle dv ON dv.id = "
      "v.puntoOperacionDetalle_id WHERE dv.inventarioProducto_id = s.inventarioProducto_id AND "
      "',' || v.noSeries || ',' LIKE '%,' || s.noSerie || ',%' ORDER BY v.id DESC LIMIT 1) END) "
      "LEFT JOIN puntoOperacion o ON o.id = d.puntoOperacion_id "
      "WHERE s.idNegocioFk = :negocio AND (:serie IS NULL OR UPPER(s.noSerie) LIKE UPPER(:serie)) "
      "AND (:producto IS NULL OR p.nombreBusqueda LIKE :producto OR UPPER(p.clave) LIKE "
      "UPPER(:producto)) ORDER BY p.nombre, s.noSerie"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (noSerie.isNull())
    mt.setNull(QStringLiteral("serie"));
  else
    mt.setString(QStringLiteral("serie"), noSerie.toString());
  if (producto.isNull())
    mt.setNull(QStringLiteral("producto"));
  else
    mt.setString(QStringLiteral("producto"), u_normalizaBusqueda(producto.toString()));
  return mt.reader();
}

CmidTierResponse consultaNoSerieDisponibles(int productoID, int almacenID, int idNegocio,
                                            TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT s.id AS inventarioNoSerie_id, s.noSerie AS inventarioNoSerie_noSerie FROM "
      "inventarioNoSerie s WHERE s.idNegocioFk = :negocio AND s.inventarioProducto_id = "
      ":producto AND s.inventarioAlmacen_id = :almacen AND s.estado IN (1, 3) AND NOT EXISTS "
      "(SELECT 1 FROM inventarioNoSerieTicket t WHERE t.inventarioNoSerie_id = s.id) ORDER BY "
      "s.noSerie"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setInteger(QStringLiteral("producto"), productoID);
  mt.setInteger(QStringLiteral("almacen"), almacenID);
  return mt.reader();
}

CmidTierResponse consultaLineasNoSerieTicket(int ticketNo, int idNegocio,
                                             TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT d.id AS PuntoOperacionDetalle_id, d.inventarioProducto_id AS inventarioProducto_id, "
      "d.descripcion AS inventarioProducto_nombre, d.cantidad AS cantidad, d.devolucion AS "
      "devolucion, (SELECT COUNT(*) FROM inventarioNoSerieTicket t WHERE "
      "t.puntoOperacionDetalle_id = d.id) AS _asignados, o.inventarioAlmacen_id AS "
      "inventarioAlmacen_id FROM puntoOperacionDetalle d JOIN puntoOperacion o ON o.id = "
      "d.puntoOperacion_id JOIN inventarioProducto p ON p.id = d.inventarioProducto_id WHERE "
      "o.idNegocioFk = :negocio AND o.ticketNo = :ticket AND p.opControladoNoSerie = 1 ORDER BY "
      "d.fila, d.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setInteger(QStringLiteral("ticket"), ticketNo);
  return mt.reader();
}

TresultadoNoSerie asignaNoSerieATicket(int detalleID, const QVector<int>& noSerieIDs, int idNegocio,
                                       TConexionSesion& conexion) {
  QVector<int> ids;
  for (int id : noSerieIDs)
    if (!ids.contains(id)) ids << id;
  if (ids.isEmpty()) return rechazo(QStringLiteral("Seleccione al menos un número de serie."));

  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) return rechazo(mt.ultimoError());
  const CmidTierResponse linea = bloqueaRenglonVenta(mt, detalleID, idNegocio);
  if (!linea.ok()) return rechazo(linea.getError());
  if (linea.getRowCount() == 0)
    return rechazo(QStringLiteral("El renglón no pertenece a una venta de este negocio."));
  if (linea.getCeldaAsInt(QStringLiteral("_controlaNoSerie")) != 1)
    return rechazo(QStringLiteral("El producto de este renglón no se vende por número de serie."));

  mt.setQuery(QStringLiteral(
      "SELECT COUNT(*) FROM inventarioNoSerieTicket WHERE puntoOperacionDetalle_id = :detalle"));
  mt.setInteger(QStringLiteral("detalle"), detalleID);
  const QVariant asignados = mt.scalar();
  if (!asignados.isValid()) return rechazo(mt.ultimoError());
  // Pieces still with the customer; returned pieces gave their serial numbers back.
  const double fuera = linea.getCeldaAsFloat(QStringLiteral("cantidad")) -
                       linea.getCeldaAsFloat(QStringLiteral("devolucion"));
  const int admite = std::max(0, static_cast<int>(u_truncaDecimales(fuera, 9)) - asignados.toInt());
  if (ids.size() > admite)
    return rechazo(
        QStringLiteral("No puede asignar más números de serie que piezas vendidas: el renglón "
                       "admite %1 más.")
            .arg(admite));

  const int producto = linea.getCeldaAsInt(QStringLiteral("inventarioProducto_id"));
  const int almacen = linea.getCeldaAsInt(QStringLiteral("inventarioAlmacen_id"));
  for (int id : ids) {
    mt.setQuery(QStringLiteral(
        "UPDATE inventarioNoSerie SET estado = :vendido WHERE id = :id AND idNegocioFk = "
        ":negocio AND inventarioProducto_id = :producto AND inventarioAlmacen_id = :almacen AND "
        "estado IN (1, 3) AND NOT EXISTS (SELECT 1 FROM inventarioNoSerieTicket t WHERE "
        "t.inventarioNoSerie_id = :id)"));
    mt.setInteger(QStringLiteral("vendido"), NOSERIE_VENDIDO);
    mt.setInteger(QStringLiteral("id"), id);
    mt.setInteger(QStringLiteral("negocio"), idNegocio);
    mt.setInteger(QStringLiteral("producto"), producto);
    mt.setInteger(QStringLiteral("almacen"), almacen);
    const int n = mt.nonQuery();
    if (n < 0) return rechazo(mt.ultimoError());
    if (n == 0) {
      mt.setQuery(
          QStringLiteral("SELECT noSerie FROM inventarioNoSerie WHERE id = :id AND "
                         "idNegocioFk = :negocio"));
      mt.setInteger(QStringLiteral("id"), id);
      mt.setInteger(QStringLiteral("negocio"), idNegocio);
      const QString texto = mt.scalar().toString();
      return rechazo(QStringLiteral("El número de serie %1 no está disponible en el almacén de "
                                    "la venta.")
                         .arg(texto.isEmpty() ? QString::number(id) : texto));
    }
    mt.setQuery(
        QStringLiteral("INSERT INTO inventarioNoSerieTicket (inventarioNoSerie_id, "
                       "puntoOperacionDetalle_id) VALUES (:id, :detalle)"));
    mt.setInteger(QStringLiteral("id"), id);
    mt.setInteger(QStringLiteral("detalle"), detalleID);
    if (mt.nonQuery() != 1) return rechazo(mt.ultimoError());
  }
  if (!tx.termina()) return rechazo(mt.ultimoError());
  return {true, QString()};
}
