#include "BaseDatosPrueba.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

#include "db/esquema.h"

namespace {

QString urlServidorPg() { return qEnvironmentVariable("POS_TEST_PG"); }

// Runs one administrative statement on the server's maintenance database.
bool adminPg(const QString& sql, QString* error) {
  const QUrl url(urlServidorPg());
  const QString nombre = QStringLiteral("admin_") + QUuid::createUuid().toString(QUuid::Id128);
  bool ok = false;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nombre);
    db.setHostName(url.host());
    db.setPort(url.port(5432));
    db.setUserName(url.userName());
    db.setPassword(url.password());
    db.setDatabaseName(url.path().mid(1).isEmpty() ? QStringLiteral("postgres") : url.path().mid(1));
    if (db.open()) {
      QSqlQuery q(db);
      ok = q.exec(sql);
      if (!ok && error) *error = q.lastError().text();
      db.close();
    } else if (error) {
      *error = db.lastError().text();
    }
  }
  QSqlDatabase::removeDatabase(nombre);
  return ok;
}

}  // namespace

std::string nombreMotor(const ::testing::TestParamInfo<Motor>& info) {
  return info.param == Motor::SQLite ? "SQLite" : "PostgreSQL";
}

std::unique_ptr<BaseDatosPrueba> BaseDatosPrueba::crea(Motor motor, bool migrar) {
  std::unique_ptr<BaseDatosPrueba> b(new BaseDatosPrueba());
  b->uMotor = motor;
  if (motor == Motor::SQLite) {
    b->uDestino = b->uCarpeta.filePath(QStringLiteral("pos.db"));
  } else {
    if (urlServidorPg().isEmpty()) return nullptr;
    b->uBasePg = QStringLiteral("prueba_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
    QString error;
    if (!adminPg(QStringLiteral("CREATE DATABASE %1").arg(b->uBasePg), &error)) {
      ADD_FAILURE() << "No se pudo crear la base de prueba: " << error.toStdString();
      return nullptr;
    }
    QUrl url(urlServidorPg());
    url.setPath(QStringLiteral("/") + b->uBasePg);
    b->uDestino = url.toString();
  }
  b->uConexion = std::make_shared<TConexionSesion>(b->uDestino);
  if (!b->uConexion->abre()) {
    ADD_FAILURE() << "No se pudo abrir " << b->uDestino.toStdString() << ": "
                  << b->uConexion->ultimoError().toStdString();
    return nullptr;
  }
  if (migrar) {
    QString error;
    if (!u_aplicaMigraciones(*b->uConexion, &error)) {
      ADD_FAILURE() << "Migraciones: " << error.toStdString();
      return nullptr;
    }
  }
  return b;
}

BaseDatosPrueba::~BaseDatosPrueba() {
  if (localSYS.conexion == uConexion) localSYS = TsistemaDatos();
  uConexion.reset();
  if (!uBasePg.isEmpty()) adminPg(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(uBasePg), nullptr);
}

void BaseDatosPrueba::llenaLocalSYS(int idNegocio) {
  TsistemaDatos s;
  s.conexion = uConexion;
  s.carpetaAplicacion = uCarpeta.path() + QStringLiteral("/");
  s.estacion = QStringLiteral("ESTACION-PRUEBA");
  QString error;
  if (!s.negocio.carga(*uConexion, idNegocio, &error))
    ADD_FAILURE() << "Negocio " << idNegocio << ": " << error.toStdString();
  localSYS = s;
  SYS_aliasRutaDB = uConexion->getDatabase();
}

void PruebaAmbosMotores::SetUp() {
  db = BaseDatosPrueba::crea(GetParam());
  if (!db && GetParam() == Motor::PostgreSQL && urlServidorPg().isEmpty()) {
    if (qEnvironmentVariable("POS_REQUIERE_PG") == QStringLiteral("1"))
      FAIL() << "POS_TEST_PG no está definido: el servidor PostgreSQL de pruebas no arrancó";
    GTEST_SKIP() << "PostgreSQL no disponible en esta corrida";
  }
  ASSERT_TRUE(db) << "no se pudo preparar la base de datos";
}

void PruebaAmbosMotores::TearDown() { db.reset(); }
