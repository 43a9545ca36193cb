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

// Before the application is made: when Qt draws offscreen, its screen is a station's
// (1366x768, or POS_PANTALLA such as "1024x768") instead of Qt's 800x600, so pictures and
// scripted runs see what a cashier sees. The offscreen platform's notice about window size hints
// is dropped from the log (nothing else is).
void u_pantallaDeEstacion();
