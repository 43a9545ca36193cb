#include "operaciones/sesiones.h"

#include "db/TmiddleTier.h"

namespace {

// Amounts are stored to the cent; adding them as whole cents keeps a long session exact.
QString centavos(const QString& columna) {
  return QStringLiteral("CAST(ROUND(%1 * 100) AS BIGINT)").arg(columna);
}

QString textoCentavos(qint64 c) {
  const QString signo = c < 0 ? QStringLiteral("-") : QString();
  const qint64 a = c < 0 ? -c : c;
  return signo + QString::number(a / 100) + QLatin1Char('.') +
         QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
}

const char* kNombreCajero =
    "p.nombre || ' ' || p.apellidoPaterno || ' ' || p.apellidoMaterno AS _nombreCompleto";

// The invoice of a ticket: its latest line in puntoOperacionAdicional.
const char* kUuidFactura =
    "COALESCE((SELECT a.uuid FROM puntoOperacionAdicional a WHERE a.puntoOperacion_id = o.id "
    "ORDER BY a.id DESC LIMIT 1), '')";

void sesionYNegocio(TmiddleTier& mt, int sesionId, int idNegocio) {
  mt.setInteger(QStringLiteral("sesion"), sesionId);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
}

}  // namespace

CmidTierResponse buscaSesionPorID(int sesionId, int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral(
          "SELECT s.id AS puntoCajaSesion_id, s.cajaNombre AS puntoCajaSesion_cajaNombre, "
          "c.clave AS puntoCaja_clave, s.puntoCajero_id AS puntoCajero_id, ") +
      QLatin1String(kNombreCajero) +
      QStringLiteral(", s.fechaApertura AS puntoCajaSesion_fechaApertura, s.fechaCierre AS "
                     "puntoCajaSesion_fechaCierre, s.activa AS puntoCajaSesion_activa "
                     "FROM puntoCajaSesion s INNER JOIN puntoCaja c ON c.id = s.puntoCaja_id "
                     "LEFT JOIN puntoCajero j ON j.id = s.puntoCajero_id LEFT JOIN Persona p ON "
                     "p.idPersona = j.persona_idPersona "
                     "WHERE s.id = :sesion AND s.idNegocioFk = :negocio"));
  sesionYNegocio(mt, sesionId, idNegocio);
  return mt.reader();
}

double calculaSesionTotal(int sesionId, int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("SELECT COALESCE(SUM(%1), 0) FROM puntoOperacion o WHERE "
                             "o.puntoCajaSesion_id = :sesion AND o.idNegocioFk = :negocio")
                  .arg(centavos(QStringLiteral("o.total"))));
  sesionYNegocio(mt, sesionId, idNegocio);
  return static_cast<double>(mt.scalar().toLongLong()) / 100.0;
}

CmidTierResponse buscarOperacionesporSesion(int sesionId, int idNegocio,
                                            TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("SELECT o.id AS puntoOperacion_id, o.ticketNo AS "
                             "puntoOperacion_ticketNo, o.fechaHora AS puntoOperacion_fechaHora, "
                             "o.total AS puntoOperacion_total, ") +
              QLatin1String(kUuidFactura) +
              QStringLiteral(" AS puntoOperacion_uuid, o.facturadoFecha AS "
                             "puntoOperacion_facturadoFecha FROM puntoOperacion o "
                             "WHERE o.puntoCajaSesion_id = :sesion AND o.idNegocioFk = :negocio "
                             "ORDER BY o.fechaHora, o.ticketNo"));
  sesionYNegocio(mt, sesionId, idNegocio);
  return mt.reader();
}

CmidTierResponse buscaOperacionesDetalleConsolidadoPorSesion(int sesionId, int idNegocio,
                                                             TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  // Headers are left out by a test no index answers: with "IS NOT NULL" SQLite walked every
  // line of the store through the product index instead of the session's tickets.
  mt.setQuery(QStringLiteral(
      "SELECT d.inventarioProducto_id AS inventarioProducto_id, COALESCE(MAX(pr.nombre), "
      "MAX(d.descripcion)) AS inventarioProducto_nombre, SUM(d.cantidad) AS "
      "puntoOperacion_cantidad FROM puntoOperacion o INNER JOIN puntoOperacionDetalle d ON "
      "d.puntoOperacion_id = o.id LEFT JOIN inventarioProducto pr ON pr.id = "
      "d.inventarioProducto_id WHERE o.puntoCajaSesion_id = :sesion AND o.idNegocioFk = :negocio "
      "AND COALESCE(d.inventarioProducto_id, 0) > 0 GROUP BY d.inventarioProducto_id "
      "ORDER BY 2, 1"));
  sesionYNegocio(mt, sesionId, idNegocio);
  return mt.reader();
}

CmidTierResponse buscaTotalesMetodoDePagoPorSesion(int sesionId, int idNegocio,
                                                   TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  // The change handed out, which comes out of the cash, and whether the session sold at all.
  mt.setQuery(QStringLiteral("SELECT COUNT(*) AS tickets, COALESCE(SUM(%1), 0) AS cambio FROM "
                             "puntoOperacion o WHERE o.puntoCajaSesion_id = :sesion AND "
                             "o.idNegocioFk = :negocio")
                  .arg(centavos(QStringLiteral("o.devuelto"))));
  sesionYNegocio(mt, sesionId, idNegocio);
  const CmidTierResponse cambio = mt.reader();
  if (!cambio.ok()) return cambio;

  // One pass over the payment lines: position 0 is cash whatever its name, the others by
  // method.
  mt.setQuery(
      QStringLiteral("SELECT CASE WHEN f.posicion = 0 THEN 0 ELSE 1 END AS grupo, CASE WHEN "
                     "f.posicion = 0 THEN 0 ELSE f.formaPago_id END AS forma, CASE WHEN f.posicion "
                     "= 0 THEN '' ELSE f.nombre END AS metodo, MAX(f.nombre) AS nombre, SUM(%1) AS "
                     "centavos FROM puntoOperacion o INNER JOIN puntoFormaPagoAplicada f ON "
                     "f.puntoOperacion_id = o.id WHERE o.puntoCajaSesion_id = :sesion AND "
                     "o.idNegocioFk = :negocio GROUP BY 1, 2, 3 ORDER BY 1, 3, 2")
          .arg(centavos(QStringLiteral("f.importe"))));
  sesionYNegocio(mt, sesionId, idNegocio);
  const CmidTierResponse pagos = mt.reader();
  if (!pagos.ok()) return pagos;

  CmidTierResponse r;
  r.setColumnas(
      {QStringLiteral("puntoMetodoPago_id"), QStringLiteral("Nombre"), QStringLiteral("_total")});
  r.setOk(true);
  // A session without tickets answers no rows.
  if (cambio.getCeldaAsInt(QStringLiteral("tickets")) == 0) return r;
  for (int i = 0; i < pagos.getRowCount(); ++i) {
    const bool efectivo = pagos.getCeldaAsInt(QStringLiteral("grupo"), i) == 0;
    qint64 c = pagos.valor(QStringLiteral("centavos"), i).toLongLong();
    QString nombre =
        pagos.getCelda(efectivo ? QStringLiteral("nombre") : QStringLiteral("metodo"), i);
    if (efectivo) {
      c -= cambio.valor(QStringLiteral("cambio")).toLongLong();
      if (nombre.trimmed().isEmpty()) nombre = QStringLiteral("Efectivo");
    }
    // Methods that took nothing (the empty payment rows of every sale) are left out.
    if (c != 0)
      r.agregaFila({pagos.getCeldaAsInt(QStringLiteral("forma"), i), nombre, textoCentavos(c)});
  }
  return r;
}

CmidTierResponse filtrarCortes(const QDate& desde, const QDate& hasta, const QVariant& cajero,
                               TConexionSesion& conexion, int idNegocio) {
  const bool porCajero = cajero.isValid() && !cajero.isNull();
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral("SELECT c.id AS puntoCaja_id, c.clave AS puntoCaja_clave, s.cajaNombre AS "
                     "puntoCajaSesion_cajaNombre, s.id AS puntoCajaSesion_id, k.id AS "
                     "puntoCorte_id, s.puntoCajero_id AS puntoCajero_id, ") +
      QLatin1String(kNombreCajero) +
      QStringLiteral(
          ", k.fechaHora AS puntoCorte_fechaHora, k.esCorte AS puntoCorte_esCorte, "
          "CASE WHEN k.esCorte = 1 THEN 'Corte' ELSE 'Cierre' END AS _tipo, k.monto AS "
          "puntoCorte_monto FROM puntoCorte k INNER JOIN puntoCajaSesion s ON s.id = "
          "k.puntoCajaSesion_id INNER JOIN puntoCaja c ON c.id = s.puntoCaja_id LEFT JOIN "
          "puntoCajero j ON j.id = s.puntoCajero_id LEFT JOIN Persona p ON p.idPersona = "
          "j.persona_idPersona WHERE s.idNegocioFk = :negocio AND k.fechaHora >= :desde "
          "AND k.fechaHora < :hasta") +
      (porCajero ? QStringLiteral(" AND s.puntoCajero_id = :cajero") : QString()) +
      QStringLiteral(" ORDER BY k.fechaHora, k.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setDateTime(QStringLiteral("desde"), QDateTime(desde, QTime(0, 0)));
  mt.setDateTime(QStringLiteral("hasta"), QDateTime(hasta.addDays(1), QTime(0, 0)));
  if (porCajero) mt.setInteger(QStringLiteral("cajero"), cajero.toLongLong());
  return mt.reader();
}
