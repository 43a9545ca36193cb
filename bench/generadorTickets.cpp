#include "generadorTickets.h"

#include "db/TmiddleTier.h"

namespace {
bool ejecuta(TConexionSesion& c, const QString& sql, QString* error) {
  TmiddleTier mt(c);
  mt.setQuery(sql);
  if (mt.nonQuery() >= 0) return true;
  if (error) *error = mt.ultimoError() + QStringLiteral("\n") + sql.left(200);
  return false;
}
}  // namespace

QString u_identificadorBench(int n) { return QStringLiteral("BENCH-%1").arg(n, 8, 10, QChar('0')); }

bool u_negocioBench(TConexionSesion& c, QString* error) {
  return ejecuta(c,
                 QStringLiteral("INSERT INTO Negocio (idNegocio, nombre, rfc, razonSocial, "
                                "regimenFiscal, codigoPostal) VALUES (1, 'Tienda de prueba', "
                                "'EKU9003173C9', 'Tienda SA', '601', '06600')"),
                 error) &&
         ejecuta(c,
                 QStringLiteral("INSERT INTO usuarioEnLinea (usuario, cuenta, contrasena, "
                                "idNegocioFk) VALUES ('tienda', 'cuenta1', 'x', 1)"),
                 error);
}

bool u_generaTicketsBench(TConexionSesion& c, int cantidad, int dias, const QDate& desde,
                          QString* error) {
  const bool pg = c.esPostgres();
  const qint64 segundos = qint64(dias) * 86400 / cantidad;
  const QString inicio = desde.toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
  // Ticket i: sold at inicio + (i - 1) * segundos; i % 10 == 0 invoiced ('2'), i % 10 == 1
  // not uploaded (''), the rest uploaded ('3').
  const QString estado =
      QStringLiteral("CASE WHEN i % 10 = 0 THEN '2' WHEN i % 10 = 1 THEN '' ELSE '3' END");
  const QString identificador =
      pg ? QStringLiteral("CASE WHEN i % 10 = 1 THEN '' ELSE 'BENCH-' || lpad(i::text, 8, '0') END")
         : QStringLiteral(
               "CASE WHEN i % 10 = 1 THEN '' ELSE 'BENCH-' || substr('0000000' || i, "
               "-8, 8) END");
  const QString fecha = pg ? QStringLiteral("TIMESTAMP '%1' + (i - 1) * INTERVAL '%2 seconds'")
                                 .arg(inicio)
                                 .arg(segundos)
                           : QStringLiteral("datetime('%1', '+' || ((i - 1) * %2) || ' seconds')")
                                 .arg(inicio)
                                 .arg(segundos);
  const QString numeros =
      pg ? QStringLiteral("generate_series(1, %1) AS n(i)").arg(cantidad) : QStringLiteral("n");
  const QString prefijo =
      pg ? QString()
         : QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ")
               .arg(cantidad);
  if (!ejecuta(
          c,
          prefijo +
              QStringLiteral(
                  "INSERT INTO puntoOperacion (idNegocioFk, ticketNo, cajeroNombre, fechaHora, "
                  "subtotal, descuento, impuestos, total, pago, devuelto, uuid, "
                  "facturadoMetodo) SELECT 1, i, 'Cajero', %1, 100, 0, 16, 116, 116, 0, %2, "
                  "%3 FROM %4")
                  .arg(fecha, identificador, estado, numeros),
          error))
    return false;
  return ejecuta(
             c,
             QStringLiteral("INSERT INTO puntoOperacionAdicional (puntoOperacion_id, uuid, fecha) "
                            "SELECT id, 'F-' || uuid, fechaHora FROM puntoOperacion "
                            "WHERE facturadoMetodo = '2'"),
             error) &&
         ejecuta(c, pg ? QStringLiteral("ANALYZE") : QStringLiteral("ANALYZE"), error);
}
