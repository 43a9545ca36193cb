#include "operaciones/credenciales.h"

#include "db/TmiddleTier.h"
#include "signing/firma.h"

CmidTierResponse consultaDatosUsuarioEnLinea(int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT usuario AS ventasPromociones_usuario, cuenta AS ventasPromociones_cuenta, "
      "contrasena AS ventasPromociones_contrasena FROM usuarioEnLinea "
      "WHERE idNegocioFk = :negocio AND activo = 1"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.reader();
}

bool consultaCredencialesUsuario(int idNegocio, TConexionSesion& conexion,
                                 TcredencialesServicio& credenciales) {
  const CmidTierResponse r = consultaDatosUsuarioEnLinea(idNegocio, conexion);
  if (!r.ok() || r.getRowCount() == 0) return false;
  credenciales.usuario = r.getCelda(QStringLiteral("ventasPromociones_usuario"));
  credenciales.cuenta = r.getCelda(QStringLiteral("ventasPromociones_cuenta"));
  credenciales.contrasena = deCrypt(r.getCelda(QStringLiteral("ventasPromociones_contrasena")));
  return true;
}
