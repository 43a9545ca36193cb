#pragma once
// Cut and close of a register session, without a screen: how much may be withdrawn, and storing
// the withdrawal once the supervisor confirmed it.

#include <QDateTime>

#include "db/TConexionSesion.h"
#include "util/resultado.h"

// No more than the session holds may be withdrawn (all of it may; there is no lower bound).
TResultado validaRetiro(double monto, double acumulado);

// Stores a cut (the session stays open) or, with esCorte false, the close that ends the session
// and frees the register. The amount travels as its shortest text.
TResultado aplicaRetiro(bool esCorte, int sesionId, int cajaId, const QDateTime& fecha,
                        double monto, TConexionSesion& conexion);
