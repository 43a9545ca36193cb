#pragma once
// Start of a station: from its configuration to a filled session context, the way the
// suite's desktop does it before it opens any module.

#include <QString>

#include "context/TsistemaDatos.h"
#include "host/ConfiguracionEstacion.h"

// Opens the database, brings its schema up to date and loads the business. False with a
// Spanish message naming what failed; `sistema` is only filled on success.
bool u_preparaEstacion(const ConfiguracionEstacion& configuracion, TsistemaDatos& sistema,
                       QString* error);
