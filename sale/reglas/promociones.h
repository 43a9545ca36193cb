#pragma once
// The detail of a promotion as its panel shows it.

#include <QString>

#include "db/TConexionSesion.h"

struct TDetallePromocion {
  bool ok = false;
  QString desde, hasta;  // validity dates, " - " when empty
  QString descripcion;   // lines separated by carriage returns
};

TDetallePromocion detallePromocion(int promocionId, TConexionSesion& conexion);
