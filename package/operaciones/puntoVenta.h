#pragma once
// Data operations of the point of sale around stations, sessions and credentials.

#include <QString>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"
#include "db/TmiddleTier.h"

// Id of the business's default price list; 0 when it has none.
int getIdListaPreciosPredeterminada(int idNegocio, TConexionSesion& conexion);

// True when the station is NOT bound to a register with an active session.
bool compruebaEstacionDisponible(const QString& pcName, TConexionSesion& conexion);

// Active payment methods of the business, in their order: puntoMetodoPago_nombre,
// formaPago_id.
CmidTierResponse buscaFormasDePagoPorNegocio(int idNegocio, TConexionSesion& conexion);

// Query object of the common outputs.
class Tsalidas_comun : public TmiddleTier {
 public:
  using TmiddleTier::TmiddleTier;
  // The active session bound to a station: puntoCaja_id, puntoCaja_clave,
  // puntoCaja_descripcion, puntoCajaSesion_id, puntoCajero_id, _nombreCompleto,
  // inventarioAlmacen_id. `provider` is the session's engine name (the SQL is the same on both).
  CmidTierResponse seletSesionDatosFromPcName(const QString& pcName, int idNegocio,
                                              const QString& provider);
};

// Online-user credentials of the business (invoicing-service account).
struct TCredenciales {
  bool existe = false;  // the business has online-user data
  QString usuario;
  QString cuenta;
  QString contrasena;   // as stored (encrypted)
};
bool u_consultaCredencialesUsuario(int idNegocio, TConexionSesion& conexion,
                                   TCredenciales& credenciales);
