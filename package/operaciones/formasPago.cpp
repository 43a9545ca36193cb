#include "operaciones/formasPago.h"

#include "db/TmiddleTier.h"
#include "util/utilerias.h"

CmidTierResponse consultaFormaDePagos(const QVariant& nombre, int idNegocio,
                                      TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT m.id AS puntoMetodoPago_id, m.nombre AS puntoMetodoPago_nombre, m.formaPago_id AS "
      "formaPago_id, f.descripcion AS formaPago_descripcion FROM puntoMetodoPago m LEFT JOIN "
      "formaPago f ON f.id = m.formaPago_id WHERE m.idNegocioFk = :negocio AND m.activo = 1 AND "
      "(:nombre IS NULL OR m.nombre LIKE :nombre) ORDER BY m.orden, m.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setVariant(QStringLiteral("nombre"), nombre);
  return mt.reader();
}

CmidTierResponse consultaCatalogoFormaPago(TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral("SELECT id AS formaPago_id, clave AS formaPago_clave, descripcion AS "
                     "formaPago_descripcion FROM formaPago ORDER BY clave"));
  return mt.reader();
}

TResultado agregaFormaPago(const QString& nombre, int formaPagoId, int idNegocio,
                           TConexionSesion& conexion) {
  const QString n = nombre.trimmed();
  if (n.isEmpty())
    return TResultado::falla(QStringLiteral("Capture el nombre de la forma de pago"));
  if (formaPagoId <= 0)
    return TResultado::falla(QStringLiteral("Seleccione la forma de pago del SAT"));
  // Names that differ only in case or accents are the same method to a cashier.
  const CmidTierResponse activos = consultaFormaDePagos(QVariant(), idNegocio, conexion);
  for (int i = 0; i < activos.getRowCount(); ++i)
    if (u_normalizaBusqueda(activos.getCelda(QStringLiteral("puntoMetodoPago_nombre"), i)
                                .trimmed()) == u_normalizaBusqueda(n))
      return TResultado::falla(QStringLiteral("Ya existe la forma de pago \"%1\"").arg(n));
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "INSERT INTO puntoMetodoPago (nombre, formaPago_id, activo, orden, idNegocioFk) SELECT "
      ":nombre, :forma, 1, COALESCE(MAX(orden), 0) + 1, :negocio FROM puntoMetodoPago WHERE "
      "idNegocioFk = :negocio"));
  mt.setString(QStringLiteral("nombre"), n);
  mt.setInteger(QStringLiteral("forma"), formaPagoId);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (mt.nonQuery() != 1)
    return TResultado::falla(QStringLiteral("Ocurrió un inconveniente al guardar los datos."));
  return TResultado::bien();
}

TResultado desactivaFormaPago(int metodoId, int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral("UPDATE puntoMetodoPago SET activo = 0 WHERE id = :id AND "
                     "idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("id"), metodoId);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (mt.nonQuery() != 1)
    return TResultado::falla(QStringLiteral("Ocurrió un inconveniente al guardar los datos."));
  return TResultado::bien();
}
