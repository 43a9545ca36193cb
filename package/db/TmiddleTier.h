#pragma once
// Query runner of the package. SQL carries named parameters (":name"); a name may appear
// several times. Values are always bound, never written into the SQL text.
//
// PostgreSQL cannot infer the type of a parameter that only appears in "... :p is null OR
// col LIKE :p", so on PostgreSQL every parameter is sent as CAST(? AS <type>) with the type
// of its bound value. A null filter therefore needs a type: setNull(name, QMetaType::Int)
// for numeric filters; an untyped null counts as text.

#include <QDateTime>
#include <QHash>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"

class QSqlError;
class QSqlQuery;
class QThread;

class TmiddleTier {
 public:
  explicit TmiddleTier(TConexionSesion& conexion);
  virtual ~TmiddleTier();

  void setQuery(const QString& sql);
  void setInteger(const QString& nombre, qint64 valor);
  void setString(const QString& nombre, const QString& valor);
  void setDouble(const QString& nombre, double valor);
  void setDateTime(const QString& nombre, const QDateTime& valor);
  void setNull(const QString& nombre, QMetaType::Type tipo = QMetaType::QString);
  // A variant as it stands: null variants keep their type (QVariant(QMetaType::fromType<int>())).
  void setVariant(const QString& nombre, const QVariant& valor);
  void setBytes(const QString& nombre, const QByteArray& valor);

  CmidTierResponse reader();
  // Rows affected; -1 on error.
  int nonQuery();
  // First column of the first row; invalid QVariant on error or no rows.
  QVariant scalar();

  // `escritura` takes the write lock at once on SQLite (BEGIN IMMEDIATE), so two stations
  // storing a sale never both read the same stock before either writes.
  bool transaccionInicia(bool escritura = false);
  bool transaccionTermina();
  bool transaccionRollback();

  QString ultimoError() const { return uError; }
  // The engine's code of the last error: the SQLSTATE on PostgreSQL ("55P03" lock timeout,
  // "57014" statement cancelled), the result code on SQLite ("5" busy).
  QString ultimoCodigo() const { return uCodigo; }
  // The last error was a wait that ran out: a lock another connection held too long.
  bool ultimoFueEspera() const;
  TConexionSesion& conexion() { return uConexion; }
  bool esPostgres() const { return uConexion.esPostgres(); }

  // The SQL actually prepared for the current statement and bindings (tests inspect it).
  QString sqlPreparado() const;

  // Bulk writes: keep the last prepared statement and run it again while the prepared SQL
  // stays the same (thousands of inserts inside one transaction), instead of preparing it
  // for every row. Off by default.
  void setReutilizaSentencia(bool reutiliza);

 private:
  struct Tramo {
    QString texto;   // SQL before the parameter
    QString nombre;  // parameter name, empty for the final tramo
  };
  // The query that ran: `local`, or the kept statement when reusing.
  QSqlQuery* ejecuta(QSqlQuery& local);
  QSqlQuery* enlazaYEjecuta(QSqlQuery* q);
  QByteArray firmaTipos() const;
  void anotaError(const QSqlError& error);
  QString tipoPostgres(const QVariant& v) const;
  QVariant valorParaDriver(const QVariant& v) const;

  TConexionSesion& uConexion;
  QString uSql;
  QVector<Tramo> uTramos;
  QHash<QString, QVariant> uParametros;
  QString uError;
  QString uCodigo;
  bool uReutiliza = false;
  std::unique_ptr<QSqlQuery> uSentencia;  // kept prepared statement
  QThread* uHiloSentencia = nullptr;      // whose connection it was prepared on
  QByteArray uFirmaSentencia;             // the parameter types it was prepared for
};
