#pragma once
// The business's online account at the invoicing service, as the screens and workers that talk
// to the service read it: the stored row, and the credentials in clear just before use.

#include <QString>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"

// Online-account credentials as they travel: the password in clear, as the service asks.
struct TcredencialesServicio {
  QString usuario;
  QString cuenta;
  QString contrasena;
};

// The business's active online account: ventasPromociones_usuario, ventasPromociones_cuenta and
// ventasPromociones_contrasena (stored encrypted). No row when it has none.
CmidTierResponse consultaDatosUsuarioEnLinea(int idNegocio, TConexionSesion& conexion);

// The credentials in clear: user, account and the decrypted password. False when the lookup
// failed or the business has no online account; `credenciales` then keeps what it held.
bool consultaCredencialesUsuario(int idNegocio, TConexionSesion& conexion,
                                 TcredencialesServicio& credenciales);
