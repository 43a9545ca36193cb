#pragma once
// Opening a register session, without a screen: the checks of "Iniciar" in their order, each
// stopping at its own text, then storing the opening bound to this station.

#include <QDateTime>
#include <QString>

#include "db/TConexionSesion.h"
#include "sessions/reglas/conteoCaja.h"
#include "util/resultado.h"

struct TAperturaCaja {
  int cajaID = 0;
  QString cajaNombre;  // the register's description, stored with the session
  int cajeroID = 0;    // 0: no cashier chosen
  double monto = 0;    // opening amount
  TConteoCaja conteo;
};

struct TAperturaResultado {
  TResultado resultado;
  bool sinCajero = false;  // refused for want of a cashier: the screen clears its name
};

// The count must add up to the amount, a free cashier must be chosen and `estacion` must not be
// tied to an active session; then the opening is stored with `fecha`.
TAperturaResultado abreCaja(const TAperturaCaja& apertura, const QString& estacion,
                            const QDateTime& fecha, int idNegocio, TConexionSesion& conexion);
