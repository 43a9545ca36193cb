#include "puntoVenta.h"

int getIdListaPreciosPredeterminada(int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT id FROM ventasListaPrecios WHERE idNegocioFk = :negocio AND predeterminada = 1 "
      "ORDER BY id LIMIT 1"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.scalar().toInt();
}

bool compruebaEstacionDisponible(const QString& pcName, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT COUNT(*) FROM puntoCajaSesion WHERE estacion = :estacion AND activa = 1"));
  mt.setString(QStringLiteral("estacion"), pcName);
  const QVariant n = mt.scalar();
  // A failed query must not let a second session open on the station.
  if (!n.isValid()) return false;
  return n.toInt() == 0;
}

CmidTierResponse buscaFormasDePagoPorNegocio(int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT puntoMetodoPago.nombre AS puntoMetodoPago_nombre, puntoMetodoPago.formaPago_id AS "
      "formaPago_id FROM puntoMetodoPago WHERE puntoMetodoPago.idNegocioFk = :negocio AND "
      "puntoMetodoPago.activo = 1 ORDER BY puntoMetodoPago.orden, puntoMetodoPago.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.reader();
}

CmidTierResponse Tsalidas_comun::seletSesionDatosFromPcName(const QString& pcName, int idNegocio,
                                                            const QString& provider) {
  Q_UNUSED(provider);
  setQuery(QStringLiteral(
      "SELECT puntoCaja.id AS puntoCaja_id, puntoCaja.clave AS puntoCaja_clave, "
      "puntoCaja.descripcion AS puntoCaja_descripcion, puntoCajaSesion.id AS puntoCajaSesion_id, "
      "puntoCajaSesion.puntoCajero_id AS puntoCajero_id, "
      "Persona.nombre || ' ' || Persona.apellidoPaterno || ' ' || Persona.apellidoMaterno "
      "AS _nombreCompleto, puntoCaja.inventarioAlmacen_id AS inventarioAlmacen_id "
      "FROM puntoCajaSesion "
      "INNER JOIN puntoCaja ON puntoCaja.id = puntoCajaSesion.puntoCaja_id "
      "INNER JOIN puntoCajero ON puntoCajero.id = puntoCajaSesion.puntoCajero_id "
      "INNER JOIN Persona ON Persona.idPersona = puntoCajero.persona_idPersona "
      "WHERE puntoCajaSesion.estacion = :estacion AND puntoCajaSesion.activa = 1 "
      "AND puntoCaja.idNegocioFk = :negocio ORDER BY puntoCajaSesion.id DESC"));
  setString(QStringLiteral("estacion"), pcName);
  setInteger(QStringLiteral("negocio"), idNegocio);
  return reader();
}

bool u_consultaCredencialesUsuario(int idNegocio, TConexionSesion& conexion,
                                   TCredenciales& credenciales) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT usuario, cuenta, contrasena FROM usuarioEnLinea WHERE idNegocioFk = :negocio "
      "AND activo = 1"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const CmidTierResponse r = mt.reader();
  credenciales = TCredenciales();
  if (!r.ok()) return false;
  if (r.getRowCount() > 0) {
    credenciales.usuario = r.getCelda(QStringLiteral("usuario"));
    credenciales.cuenta = r.getCelda(QStringLiteral("cuenta"));
    credenciales.contrasena = r.getCelda(QStringLiteral("contrasena"));
    credenciales.existe = !credenciales.usuario.isEmpty();
  }
  return true;
}
