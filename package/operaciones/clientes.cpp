#include "clientes.h"

#include "db/TmiddleTier.h"

bool u_rfcPublicoGeneralExiste(int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  // The check and the insert share one write transaction (a table lock on PostgreSQL), so
  // two stations opening the module together leave a single customer.
  if (!mt.transaccionInicia(true)) return false;
  if (conexion.esPostgres()) {
    mt.setQuery(QStringLiteral("LOCK TABLE Receptor IN SHARE ROW EXCLUSIVE MODE"));
    if (mt.nonQuery() < 0) {
      mt.transaccionRollback();
      return false;
    }
  }
  mt.setQuery(
      QStringLiteral("INSERT INTO Receptor (rfc, nombre, idNegocioFk) "
                     "SELECT :rfc, :nombre, :negocio WHERE NOT EXISTS "
                     "(SELECT 1 FROM Receptor WHERE idNegocioFk = :negocio AND rfc = :rfc)"));
  mt.setString(QStringLiteral("rfc"), QString::fromLatin1(RFC_PUBLICO_GENERAL));
  mt.setString(QStringLiteral("nombre"), QString::fromLatin1(NOMBRE_PUBLICO_GENERAL));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (mt.nonQuery() < 0) {
    mt.transaccionRollback();
    return false;
  }
  if (!mt.transaccionTermina()) {
    mt.transaccionRollback();
    return false;
  }
  return true;
}

int u_idReceptorPublicoGeneral(int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT MIN(idReceptor) AS idReceptor FROM Receptor WHERE idNegocioFk = :negocio AND "
      "rfc = :rfc"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setString(QStringLiteral("rfc"), QString::fromLatin1(RFC_PUBLICO_GENERAL));
  const CmidTierResponse r = mt.reader();
  if (!r.ok() || r.getRowCount() == 0) return 0;
  return r.getCeldaAsInt(QStringLiteral("idReceptor"));
}
