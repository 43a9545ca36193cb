#pragma once
// Data operations of cash registers and their work sessions: the register list and capture,
// the opening of a session bound to a station, cuts, the close and the session's balance.

#include <QDateTime>
#include <QString>
#include <QVariant>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"

// The opening of a session as the opening screen fills it.
struct RECaperturaCaja {
  int cajaID = 0;
  QDateTime fechaApertura;
  int cajeroID = 0;
  double montoApertura = 0;
  int billetes1000 = 0;
  int billetes500 = 0;
  int billetes200 = 0;
  int billetes100 = 0;
  int billetes50 = 0;
  int billetes20 = 0;
  double monedas = 0;
  QString estacion;
};

// True when the cashier exists, is active and works no active session.
bool compruebaCajeroDisponible(int cajeroId, TConexionSesion& conexion);

// Stores the opening in one transaction: a new active session bound to the record's station,
// and the register in state 1 pointing at it. Refused (false, nothing stored) when the register
// is not a closed register of the business, the cashier or the station already has an active
// session, or the counts are negative.
bool guardaAperturaCaja(const RECaperturaCaja& apertura, const QString& descripcion, int idNegocio,
                        TConexionSesion& conexion);

// The money the session holds now: opening amount + cash received (payment lines at
// position 0) - change handed out - every withdrawal (cuts and the close), to the cent.
// 0 for an unknown session.
double calculaCajaAcumuladoPorSesion(int sesionId, int idNegocio, TConexionSesion& conexion);

// A cut of an active session. `monto` is a number text; refused when it is not a number, is
// negative or exceeds what the session holds.
bool aplicaCorteCaja(int sesionId, const QDateTime& fechaHora, const QString& monto,
                     TConexionSesion& conexion);

// The close: stored as a withdrawal with esCorte 0; the session ends (activa 0, fechaCierre)
// and the register goes back to state 0 without a session, which frees its station.
bool aplicaCierreCaja(int sesionId, int cajaId, const QDateTime& fechaHora, const QString& monto,
                      TConexionSesion& conexion);

// Registers of the business with their current session: puntoCaja_id, puntoCaja_clave,
// puntoCaja_descripcion, puntoCaja_inventarioAlmacen_id, inventarioAlmacen_nombre,
// puntoCaja_estado, _estado_leyenda, puntoCajero_id, _nombreCompleto, puntoCajaSesion_id,
// puntoCajaSesion_fechaApertura, _ultimoFechaHoraCorte. Filters are LIKE patterns or null
// and ignore case.
CmidTierResponse filtraCajas(const QVariant& clave, const QVariant& descripcion, int idNegocio,
                             TConexionSesion& conexion);

// One register: puntoCaja_clave, puntoCaja_descripcion, inventarioAlmacen_id.
CmidTierResponse buscaCajaPorID(int cajaId, TConexionSesion& conexion);

// True when another register of the business already uses the key (ignoring case and blanks
// around it).
bool buscaCajaDuplciadaporClave(const QString& clave, int idNegocio, TConexionSesion& conexion);

// A new register in state 0. Refused when the key is empty or taken, or the warehouse is not
// one of the business.
bool nuevaCaja(const QString& clave, const QString& descripcion, int idNegocio,
               TConexionSesion& conexion, int almacenId);

// Only the description of a register can change.
bool editaCaja(int cajaId, const QString& descripcion, TConexionSesion& conexion);
