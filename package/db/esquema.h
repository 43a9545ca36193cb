#pragma once
// Versioned schema of the module's database, the same on SQLite and PostgreSQL. Each
// migration runs once, in its own transaction, and is recorded in esquemaVersion, so
// applying the migrations again changes nothing.
//
// A station starting on an up-to-date database only reads esquemaVersion: it takes no write
// lock, so it starts while another process writes (a catalog import). Migrations that must run
// are serialized: SQLite by its write lock, PostgreSQL by an advisory lock, so stations
// starting at once on a new database never race to create the same table.
//
// A statement that starts with {OPCIONAL} may fail without failing its migration (an index
// made by an extension the user may not create, a SQLite built without FTS5): the failure is
// logged and the feature that needs it falls back.

#include <QString>
#include <QStringList>

#include "db/TConexionSesion.h"

struct TMigracion {
  int version;
  QString descripcion;
  QString sql;  // statements separated by ";" at line end; {PK}, {REAL}, {FECHA}, {BLOB} tokens
  QString sqlPostgres = QString();  // when the engines need different statements
};

const QList<TMigracion>& u_migraciones();

// The statements of a migration written for the session's engine.
QStringList u_sentenciasMigracion(const TMigracion& m, bool postgres);

// Applies what is missing; false with the error of the failing statement.
bool u_aplicaMigraciones(TConexionSesion& conexion, QString* error = nullptr);
int u_versionEsquema(TConexionSesion& conexion);
