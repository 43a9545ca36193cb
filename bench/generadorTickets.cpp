#include "generadorTickets.h"

#include <QElapsedTimer>
#include <QUrl>
#include <QUuid>
#include <cstdio>

#include "db/TmiddleTier.h"
#include "db/esquema.h"

namespace {
bool ejecuta(TConexionSesion& c, const QString& sql, QString* error) {
  return u_ejecutaBench(c, sql, error);
}

// Runs one statement on the PostgreSQL server's maintenance database.
bool adminPg(const QString& url, const QString& sql) {
  TConexionSesion c(url);
  TmiddleTier mt(c);
  mt.setQuery(sql);
  return mt.nonQuery() >= 0;
}
}  // namespace

bool u_ejecutaBench(TConexionSesion& c, const QString& sql, QString* error) {
  TmiddleTier mt(c);
  mt.setQuery(sql);
  if (mt.nonQuery() >= 0) return true;
  if (error) *error = mt.ultimoError() + QStringLiteral("\n") + sql.left(300);
  return false;
}

TiendaBench::TiendaBench(bool postgres, const QString& nombre,
                         const std::function<bool(TConexionSesion&, QString*)>& llena) {
  QString destino = carpeta.filePath(nombre + QStringLiteral(".db"));
  if (postgres) {
    servidorPg = qEnvironmentVariable("POS_BENCH_PG");
    if (servidorPg.isEmpty()) return;
    basePg = QStringLiteral("bench_%1_%2")
                 .arg(nombre, QUuid::createUuid().toString(QUuid::Id128).left(12));
    if (!adminPg(servidorPg, QStringLiteral("CREATE DATABASE ") + basePg)) return;
    QUrl u(servidorPg);
    u.setPath(QStringLiteral("/") + basePg);
    destino = u.toString();
  }
  conexion = std::make_shared<TConexionSesion>(destino);
  QString error;
  QElapsedTimer t;
  t.start();
  if (!conexion->abre() || !u_aplicaMigraciones(*conexion, &error) ||
      !u_negocioBench(*conexion, &error) || !llena(*conexion, &error))
    qFatal("base %s: %s", qPrintable(nombre), qPrintable(error));
  fprintf(stderr, "base %s generada en %s en %.1f s\n", qPrintable(nombre),
          postgres ? "PostgreSQL" : "SQLite", t.elapsed() / 1000.0);
  sys.conexion = conexion;
  sys.negocio.carga(*conexion, 1);
  lista = true;
}

TiendaBench::~TiendaBench() {
  sys = TsistemaDatos();
  conexion.reset();
  if (!basePg.isEmpty())
    adminPg(servidorPg, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(basePg));
}

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
