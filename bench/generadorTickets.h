#pragma once
// Fills a store with sold tickets for the benchmarks of ticket control and the status poll:
// `cantidad` tickets of business 1 spread evenly over `dias` days from `desde`, a tenth of
// them invoiced (with an invoice line), a tenth still pending upload, the rest uploaded. The
// rows are made by the database itself (a recursive CTE on SQLite, generate_series on
// PostgreSQL), so a million take seconds.

#include <QDate>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "context/TsistemaDatos.h"
#include "db/TConexionSesion.h"

// Runs one statement; false with the database's error and the statement's start.
bool u_ejecutaBench(TConexionSesion& conexion, const QString& sql, QString* error);

// A benchmark's store: a SQLite file in a temporary folder or, for `postgres`, a database of
// its own on the server of POS_BENCH_PG (dropped again at the end), migrated, with business 1
// and what `llena` writes. `lista` stays false when PostgreSQL was asked for and not given.
struct TiendaBench {
  TiendaBench(bool postgres, const QString& nombre,
              const std::function<bool(TConexionSesion&, QString*)>& llena);
  ~TiendaBench();

  QTemporaryDir carpeta;
  QString servidorPg, basePg;
  std::shared_ptr<TConexionSesion> conexion;
  TsistemaDatos sys;
  bool lista = false;
};

// Business 1 with its fiscal data and online account; false with the reason.
bool u_negocioBench(TConexionSesion& conexion, QString* error);
bool u_generaTicketsBench(TConexionSesion& conexion, int cantidad, int dias, const QDate& desde,
                          QString* error);
// The identifier at the invoicing service of ticket number `n` (as the generator sets it).
QString u_identificadorBench(int n);
