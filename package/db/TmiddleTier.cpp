#include "TmiddleTier.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include "util/utilerias.h"

namespace {

bool inicioNombre(QChar c) { return c.isLetter() || c == '_'; }
bool parteNombre(QChar c) { return c.isLetterOrNumber() || c == '_'; }

}  // namespace

TmiddleTier::TmiddleTier(TConexionSesion& conexion) : uConexion(conexion) {}
TmiddleTier::~TmiddleTier() = default;

void TmiddleTier::setQuery(const QString& sql) {
  uSql = sql;
  uSentencia.reset();  // a kept statement belongs to the SQL it was prepared for
  uTramos.clear();
  uParametros.clear();
  uError.clear();
  uCodigo.clear();
  // Split into SQL text and parameter names, leaving literals, quoted names, comments and
  // PostgreSQL "::type" casts alone.
  QString actual;
  const int n = sql.size();
  for (int i = 0; i < n; ++i) {
    const QChar c = sql[i];
    if (c == '\'' || c == '"') {
      const QChar cierre = c;
      actual += c;
      for (++i; i < n; ++i) {
        actual += sql[i];
        if (sql[i] == cierre) {
          if (i + 1 < n && sql[i + 1] == cierre) {
            actual += sql[++i];
            continue;
          }
          break;
        }
      }
      continue;
    }
    if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      while (i < n && sql[i] != '\n') actual += sql[i++];
      if (i < n) actual += sql[i];
      continue;
    }
    if (c == ':' && i + 1 < n && sql[i + 1] == ':') {
      actual += QStringLiteral("::");
      ++i;
      continue;
    }
    if (c == ':' && i + 1 < n && inicioNombre(sql[i + 1])) {
      int j = i + 1;
      while (j < n && parteNombre(sql[j])) ++j;
      uTramos.push_back({actual, sql.mid(i + 1, j - i - 1)});
      actual.clear();
      i = j - 1;
      continue;
    }
    actual += c;
  }
  uTramos.push_back({actual, QString()});
}

void TmiddleTier::setInteger(const QString& nombre, qint64 valor) {
  uParametros.insert(nombre, QVariant::fromValue<qlonglong>(valor));
}
void TmiddleTier::setString(const QString& nombre, const QString& valor) {
  // A null QString would bind as SQL null; an empty text is a value.
  uParametros.insert(nombre, valor.isNull() ? QVariant(QStringLiteral("")) : QVariant(valor));
}
void TmiddleTier::setDouble(const QString& nombre, double valor) {
  uParametros.insert(nombre, QVariant(valor));
}
void TmiddleTier::setDateTime(const QString& nombre, const QDateTime& valor) {
  uParametros.insert(
      nombre, valor.isValid() ? QVariant(valor) : QVariant(QMetaType::fromType<QDateTime>()));
}
void TmiddleTier::setNull(const QString& nombre, QMetaType::Type tipo) {
  uParametros.insert(nombre, QVariant(QMetaType(tipo)));
}
void TmiddleTier::setVariant(const QString& nombre, const QVariant& valor) {
  uParametros.insert(nombre, valor);
}
void TmiddleTier::setBytes(const QString& nombre, const QByteArray& valor) {
  uParametros.insert(nombre, QVariant(valor));
}

QString TmiddleTier::tipoPostgres(const QVariant& v) const {
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Bool:
      return QStringLiteral("bigint");
    case QMetaType::Double:
    case QMetaType::Float:
      return QStringLiteral("double precision");
    case QMetaType::QDateTime:
      return QStringLiteral("timestamp");
    case QMetaType::QDate:
      return QStringLiteral("date");
    case QMetaType::QByteArray:
      return QStringLiteral("bytea");
    default:
      return QStringLiteral("text");
  }
}

QVariant TmiddleTier::valorParaDriver(const QVariant& v) const {
  // Date-times travel as one fixed text on both engines (no time-zone conversion by the
  // driver); PostgreSQL casts it back to timestamp.
  if (v.typeId() == QMetaType::QDateTime) {
    if (v.isNull()) return QVariant(QMetaType::fromType<QString>());
    return QVariant(u_fechaHoraBD(v.toDateTime()));
  }
  if (v.typeId() == QMetaType::Bool && !v.isNull())
    return QVariant::fromValue<qlonglong>(v.toBool());
  return v;
}

QString TmiddleTier::sqlPreparado() const {
  QString sql;
  for (const Tramo& t : uTramos) {
    sql += t.texto;
    if (t.nombre.isEmpty()) continue;
    if (uConexion.esPostgres())
      sql += QStringLiteral("CAST(? AS %1)").arg(tipoPostgres(uParametros.value(t.nombre)));
    else
      sql += QLatin1Char('?');
  }
  return sql;
}

QByteArray TmiddleTier::firmaTipos() const {
  QByteArray firma;
  firma.reserve(uTramos.size());
  for (const Tramo& t : uTramos)
    if (!t.nombre.isEmpty()) firma += static_cast<char>(uParametros.value(t.nombre).typeId());
  return firma;
}

QSqlQuery* TmiddleTier::enlazaYEjecuta(QSqlQuery* q) {
  int i = 0;
  for (const Tramo& t : uTramos) {
    if (t.nombre.isEmpty()) continue;
    const auto it = uParametros.constFind(t.nombre);
    if (it == uParametros.constEnd()) {
      uError = QStringLiteral("Parámetro sin valor: :%1").arg(t.nombre);
      return nullptr;
    }
    q->bindValue(i++, valorParaDriver(*it));
  }
  if (!q->exec()) {
    anotaError(q->lastError());
    return nullptr;
  }
  return q;
}

QSqlQuery* TmiddleTier::ejecuta(QSqlQuery& local) {
  uError.clear();
  uCodigo.clear();
  // A kept statement runs again as it is: the same thread's connection, and on PostgreSQL the
  // same parameter types (they are part of its SQL). Bulk writes run this path for every row.
  if (uReutiliza && uSentencia && uHiloSentencia == QThread::currentThread() &&
      (!uConexion.esPostgres() || firmaTipos() == uFirmaSentencia))
    return enlazaYEjecuta(uSentencia.get());
  for (const Tramo& t : uTramos) {
    if (!t.nombre.isEmpty() && !uParametros.contains(t.nombre)) {
      uError = QStringLiteral("Parámetro sin valor: :%1").arg(t.nombre);
      return nullptr;
    }
  }
  QSqlDatabase db = uConexion.baseDatos();
  if (!db.isOpen()) {
    uError = uConexion.ultimoError().isEmpty() ? db.lastError().text() : uConexion.ultimoError();
    return nullptr;
  }
  if (uTramos.size() == 1) {
    // Nothing to bind: run it as it stands (PostgreSQL cannot PREPARE DDL).
    local = QSqlQuery(db);
    local.setForwardOnly(true);
    if (!local.exec(uTramos.front().texto)) {
      anotaError(local.lastError());
      return nullptr;
    }
    return &local;
  }
  const QString sql = sqlPreparado();
  QSqlQuery* q = nullptr;
  if (uReutiliza) {
    uSentencia = std::make_unique<QSqlQuery>(db);
    q = uSentencia.get();
    q->setForwardOnly(true);
    if (!q->prepare(sql)) {
      anotaError(q->lastError());
      uSentencia.reset();
      return nullptr;
    }
    uHiloSentencia = QThread::currentThread();
    uFirmaSentencia = firmaTipos();
  } else {
    q = uConexion.sentenciaPreparada(sql, &uError);
    if (!q) return nullptr;
  }
  return enlazaYEjecuta(q);
}

CmidTierResponse TmiddleTier::reader() {
  QSqlQuery local;
  QSqlQuery* q = ejecuta(local);
  if (!q) return CmidTierResponse::fallo(uError);
  CmidTierResponse r;
  const QSqlRecord rec = q->record();
  QStringList columnas;
  for (int i = 0; i < rec.count(); ++i) columnas << rec.fieldName(i);
  r.setColumnas(columnas);
  const int n = rec.count();
  while (q->next()) {
    QVector<QVariant> fila(n);
    for (int i = 0; i < n; ++i) fila[i] = q->value(i);
    r.agregaFila(fila);
  }
  q->finish();
  r.setOk(true);
  return r;
}

int TmiddleTier::nonQuery() {
  QSqlQuery local;
  QSqlQuery* q = ejecuta(local);
  if (!q) return -1;
  const int n = q->numRowsAffected();
  q->finish();
  return n;
}

QVariant TmiddleTier::scalar() {
  QSqlQuery local;
  QSqlQuery* q = ejecuta(local);
  if (!q) return {};
  QVariant v;
  if (q->next()) v = q->value(0);
  // A kept statement must not hold its result (and on SQLite its read snapshot) open.
  q->finish();
  return v;
}

void TmiddleTier::setReutilizaSentencia(bool reutiliza) {
  uReutiliza = reutiliza;
  if (!reutiliza) uSentencia.reset();
}

bool TmiddleTier::transaccionInicia(bool escritura) {
  uError.clear();
  uCodigo.clear();
  QSqlQuery q(uConexion.baseDatos());
  const bool inmediata = escritura && !uConexion.esPostgres();
  if (!q.exec(inmediata ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"))) {
    anotaError(q.lastError());
    return false;
  }
  return true;
}

bool TmiddleTier::transaccionTermina() {
  uError.clear();
  uCodigo.clear();
  QSqlDatabase db = uConexion.baseDatos();
  QSqlQuery q(db);
  if (!q.exec(QStringLiteral("COMMIT"))) {
    anotaError(q.lastError());
    return false;
  }
  return true;
}

bool TmiddleTier::transaccionRollback() {
  QSqlDatabase db = uConexion.baseDatos();
  QSqlQuery q(db);
  if (!q.exec(QStringLiteral("ROLLBACK"))) {
    anotaError(q.lastError());
    return false;
  }
  return true;
}

void TmiddleTier::anotaError(const QSqlError& error) {
  uError = error.text();
  uCodigo = error.nativeErrorCode();
}

bool TmiddleTier::ultimoFueEspera() const {
  if (uConexion.esPostgres())
    return uCodigo == QLatin1String("55P03") || uCodigo == QLatin1String("57014");
  // SQLITE_BUSY and SQLITE_LOCKED, plain or extended.
  const int codigo = uCodigo.toInt() & 0xFF;
  return codigo == 5 || codigo == 6;
}
