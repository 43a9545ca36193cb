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
  const auto nombres = uConexiones.values();
  uConexiones.clear();
  l.unlock();
  for (const QString& n : nombres) {
    { QSqlDatabase::database(n, false).close(); }
    QSqlDatabase::removeDatabase(n);
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
    db.setConnectOptions(QStringLiteral("connect_timeout=5"));
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
    q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    q.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    q.exec(QStringLiteral("PRAGMA busy_timeout=10000"));
  } else {
    q.exec(QStringLiteral("SET client_min_messages TO warning"));
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
