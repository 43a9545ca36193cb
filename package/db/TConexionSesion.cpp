#include "TConexionSesion.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

TConexionSesion::TConexionSesion(const QString& destino)
    : uDestino(destino), uId(QUuid::createUuid().toString(QUuid::Id128)) {
  if (destino.startsWith("postgresql://") || destino.startsWith("postgres://")) {
    uProveedor = TProveedorBD::PostgreSQL;
    const QUrl url(destino);
    uHost = url.host().isEmpty() ? QStringLiteral("127.0.0.1") : url.host();
    uPuerto = url.port(5432);
    uUsuario = url.userName();
    uClave = url.password();
    uBase = url.path().mid(1);
  } else {
    uProveedor = TProveedorBD::SQLite;
    uBase = destino;
  }
}

TConexionSesion::~TConexionSesion() {
  for (QThread* hilo : uSentencias.keys()) olvidaSentencias(hilo);
  QMutexLocker l(&uMutex);
  const QHash<QThread*, QString> conexiones = uConexiones;
  uConexiones.clear();
  l.unlock();
  // Another thread's connection (an upload thread keeps one between uploads) cannot be reached
  // from here, only forgotten: its driver closes it when it goes.
  for (auto it = conexiones.begin(); it != conexiones.end(); ++it) {
    if (it.key() == QThread::currentThread()) {
      QSqlDatabase::database(*it, false).close();
    }
    QSqlDatabase::removeDatabase(*it);
  }
}

QString TConexionSesion::nombreConexion(QThread* hilo) const {
  return QStringLiteral("pos_%1_%2").arg(uId).arg(reinterpret_cast<quintptr>(hilo), 0, 16);
}

bool TConexionSesion::configura(QSqlDatabase& db) {
  if (uProveedor == TProveedorBD::PostgreSQL) {
    db.setHostName(uHost);
    db.setPort(uPuerto);
    db.setUserName(uUsuario);
    db.setPassword(uClave);
    db.setDatabaseName(uBase);
    // A station or a server that vanishes (a power cut, a pulled cable) is noticed in about a
    // minute instead of when TCP gives up hours later.
    db.setConnectOptions(
        QStringLiteral("connect_timeout=5;keepalives=1;keepalives_idle=30;"
                       "keepalives_interval=10;keepalives_count=3;"
                       "tcp_user_timeout=60000"));
  } else {
    db.setDatabaseName(uBase);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
  }
  if (!db.open()) {
    uError = db.lastError().text();
    return false;
  }
  QSqlQuery q(db);
  if (uProveedor == TProveedorBD::SQLite) {
    q.exec(QStringLiteral("PRAGMA busy_timeout=10000"));
    // Only a database not yet in WAL mode is switched; asking again would wait for writers.
    q.exec(QStringLiteral("PRAGMA journal_mode"));
    const bool wal =
        q.next() && q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
    q.finish();
    if (!wal) q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    q.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    // A printed receipt is a promise: its sale must survive a power cut, not only a crashed
    // process, so every commit reaches the disk before the receipt prints.
    q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
  } else {
    q.exec(QStringLiteral("SET client_min_messages TO warning"));
    // The server drops the session of a station that died inside a transaction and frees its
    // rows, and notices a dead station on its side of the connection as well.
    q.exec(QStringLiteral("SET idle_in_transaction_session_timeout = '60s'"));
    q.exec(QStringLiteral("SET tcp_keepalives_idle = 30"));
    q.exec(QStringLiteral("SET tcp_keepalives_interval = 10"));
    q.exec(QStringLiteral("SET tcp_keepalives_count = 3"));
  }
  return true;
}

QSqlDatabase TConexionSesion::baseDatos() {
  QThread* hilo = QThread::currentThread();
  QMutexLocker l(&uMutex);
  auto it = uConexiones.find(hilo);
  if (it != uConexiones.end()) {
    QSqlDatabase db = QSqlDatabase::database(*it, false);
    if (db.isOpen()) return db;
    l.unlock();
    configura(db);
    return db;
  }
  const QString nombre = nombreConexion(hilo);
  uConexiones.insert(hilo, nombre);
  l.unlock();
  QSqlDatabase db = QSqlDatabase::addDatabase(
      uProveedor == TProveedorBD::PostgreSQL ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"),
      nombre);
  configura(db);
  return db;
}

bool TConexionSesion::abre() {
  QSqlDatabase db = baseDatos();
  if (!db.isOpen()) {
    if (uError.isEmpty()) uError = db.lastError().text();
    return false;
  }
  return true;
}

QString TConexionSesion::getDatabase() const {
  if (uProveedor == TProveedorBD::SQLite) return uBase;
  return QStringLiteral("postgresql://%1@%2:%3/%4").arg(uUsuario, uHost).arg(uPuerto).arg(uBase);
}

QString TConexionSesion::getProvider() const {
  return uProveedor == TProveedorBD::PostgreSQL ? QStringLiteral("PostgreSQL")
                                                : QStringLiteral("SQLite");
}

void TConexionSesion::olvidaSentencias(QThread* hilo) {
  QMutexLocker l(&uMutex);
  const QHash<QString, QSqlQuery*> sentencias = uSentencias.take(hilo);
  l.unlock();
  qDeleteAll(sentencias);
}

QSqlQuery* TConexionSesion::sentenciaPreparada(const QString& sql, QString* error) {
  QThread* hilo = QThread::currentThread();
  {
    QMutexLocker l(&uMutex);
    auto& propias = uSentencias[hilo];
    if (QSqlQuery* q = propias.value(sql)) return q;
    // A bounded cache: statements built from varying text would otherwise pile up.
    if (propias.size() >= 256) {
      qDeleteAll(propias);
      propias.clear();
    }
  }
  auto* q = new QSqlQuery(baseDatos());
  q->setForwardOnly(true);
  if (!q->prepare(sql)) {
    if (error) *error = q->lastError().text();
    delete q;
    return nullptr;
  }
  QMutexLocker l(&uMutex);
  uSentencias[hilo].insert(sql, q);
  return q;
}

void TConexionSesion::cierraHilo() {
  olvidaSentencias(QThread::currentThread());
  QThread* hilo = QThread::currentThread();
  QMutexLocker l(&uMutex);
  const QString nombre = uConexiones.take(hilo);
  l.unlock();
  if (nombre.isEmpty()) return;
  { QSqlDatabase::database(nombre, false).close(); }
  QSqlDatabase::removeDatabase(nombre);
}
