#pragma once
// Database side of the catalog import: one kept prepared statement per SQL text (the import
// writes millions of rows in one transaction), the ids of records, and the locks that let
// several imports into one PostgreSQL database run at once.
//
// Records without an id of their own get one from the database (AUTOINCREMENT, identity
// sequences), never MAX + 1, which two imports running at once would both compute. Explicit
// ids move the table's id source past them first, so the ids handed out never meet them.

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

#include "db/TmiddleTier.h"

class TEscritorCatalogo {
 public:
  explicit TEscritorCatalogo(TConexionSesion& conexion);

  TConexionSesion& conexion() { return uConexion; }

  // The runner of one fixed SQL text, prepared once: set every parameter, then `inserta`.
  // "{ID tabla.columna}" in the text stands for the record's id: the :id parameter, or, when it
  // is null, the next id the database hands out for that column.
  TmiddleTier& sentencia(const char* sql);
  // Runs it; a failure ends the import naming the record.
  void inserta(TmiddleTier& mt, const QString& contexto);
  // The same for rows whose record name costs to build: it is built only on failure.
  void inserta(TmiddleTier& mt, const std::function<QString()>& contexto);
  // Runs an "INSERT ... RETURNING <id>" and answers the id.
  qint64 insertaConId(TmiddleTier& mt, const QString& contexto);
  int registros() const { return uRegistros; }

  // One-off reads (lookups of what is already stored).
  QVariant escalar(const QString& sql, const QVariantHash& parametros = {});

  // The explicit ids (record index, id) of a section: none may repeat in the section nor
  // (unless `permiteGuardados`) be stored already. The column's id source moves past the
  // largest.
  void reservaIds(const QString& tabla, const QString& columna,
                  const QVector<QPair<int, qint64>>& ids,
                  const std::function<QString(int)>& contexto, bool permiteGuardados = false);
  bool existeId(const QString& tabla, const QString& columna, qint64 id);

  // PostgreSQL: waits for the transaction-long lock of `nombre` within `clase`, so two imports
  // never both decide, say, that a station is free. Nothing on SQLite, where the import holds
  // the only write lock.
  enum ClaseBloqueo { bloqueoEstacion = 1, bloqueoUnidad = 2 };
  void bloquea(ClaseBloqueo clase, const QString& nombre);

 private:
  TConexionSesion& uConexion;
  QHash<const char*, std::shared_ptr<TmiddleTier>> uSentencias;
  int uRegistros = 0;
};
