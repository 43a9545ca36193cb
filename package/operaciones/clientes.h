#pragma once
// Customers (table Receptor) of the common business package.

#include <QString>

#include "db/TConexionSesion.h"

// RFC and name of the general-public customer every business invoices walk-in sales to.
inline constexpr const char* RFC_PUBLICO_GENERAL = "XAXX010101000";
inline constexpr const char* NOMBRE_PUBLICO_GENERAL = "PUBLICO EN GENERAL";

// Makes sure the business has its general-public customer; creates it when missing and
// never twice, also when several stations start at once. False only when the database
// could not be read or written.
bool u_rfcPublicoGeneralExiste(int idNegocio, TConexionSesion& conexion);

// Id of the business's general-public customer; 0 when it has none.
int u_idReceptorPublicoGeneral(int idNegocio, TConexionSesion& conexion);
