#pragma once
// Versioned schema of the module's database, the same on SQLite and PostgreSQL. Each
// migration runs once, in its own transaction, and is recorded in esquemaVersion, so
// applying the migrations again changes nothing.

#include <QString>
#include <QStringList>

#include "db/TConexionSesion.h"

struct TMigracion {
  int version;
  QString descripcion;
  QString sql;  // statements separated by ";" at line end; {PK}, {REAL}, {FECHA}, {BLOB} tokens
};

const QList<TMigracion>& u_migraciones();

// The statements of a migration written for the session's engine.
QStringList u_sentenciasMigracion(const TMigracion& m, bool postgres);

// Applies what is missing; false with the error of the failing statement.
bool u_aplicaMigraciones(TConexionSesion& conexion, QString* error = nullptr);
int u_versionEsquema(TConexionSesion& conexion);
