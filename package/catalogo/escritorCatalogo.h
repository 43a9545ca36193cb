#pragma once
// Database side of the catalog import: one kept prepared statement per SQL text (the import
// writes hundreds of thousands of rows in one transaction), the ids of records that may carry
// their own, and the identity sequences of PostgreSQL, which explicit ids leave behind.

#include <QHash>
#include <QJsonArray>
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
  TmiddleTier& sentencia(const char* sql);
  // Runs it; a failure ends the import naming the record.
  void inserta(TmiddleTier& mt, const QString& contexto);
  int registros() const { return uRegistros; }

  // One-off reads (lookups of what is already stored).
  QVariant escalar(const QString& sql, const QVariantHash& parametros = {});

  // Ids of a section whose records may carry their own: an explicit id may not repeat in the
  // section nor (unless `permiteGuardados`) be stored already; records without one take the
  // ids after the largest of both. Index i answers record i.
  QVector<qint64> preparaIds(const QString& tabla, const QString& columna,
                             const QJsonArray& registros, const QString& seccion,
                             bool permiteGuardados = false);
  // The same for records that are not a plain list (`negocio`, `cajas[i].sesion`).
  QVector<qint64> preparaIds(const QString& tabla, const QString& columna,
                             const QJsonArray& registros,
                             const std::function<QString(int)>& contexto,
                             bool permiteGuardados = false);
  qint64 siguienteId(const QString& tabla, const QString& columna);
  bool existeId(const QString& tabla, const QString& columna, qint64 id);

  // PostgreSQL: moves every identity sequence the import wrote explicit ids into past the
  // largest id, so later inserts without an id do not collide.
  void avanzaSecuencias();

 private:
  qint64& ultimoId(const QString& tabla, const QString& columna);

  TConexionSesion& uConexion;
  QHash<const char*, std::shared_ptr<TmiddleTier>> uSentencias;
  QHash<QString, qint64> uUltimos;  // "tabla.columna" -> last id taken
  int uRegistros = 0;
};
