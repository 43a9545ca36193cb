#pragma once
// Fills a store with sold tickets for the benchmarks of ticket control and the status poll:
// `cantidad` tickets of business 1 spread evenly over `dias` days from `desde`, a tenth of
// them invoiced (with an invoice line), a tenth still pending upload, the rest uploaded. The
// rows are made by the database itself (a recursive CTE on SQLite, generate_series on
// PostgreSQL), so a million take seconds.

#include <QDate>
#include <QString>

#include "db/TConexionSesion.h"

// Business 1 with its fiscal data and online account; false with the reason.
bool u_negocioBench(TConexionSesion& conexion, QString* error);
bool u_generaTicketsBench(TConexionSesion& conexion, int cantidad, int dias, const QDate& desde,
                          QString* error);
// The identifier at the invoicing service of ticket number `n` (as the generator sets it).
QString u_identificadorBench(int n);
