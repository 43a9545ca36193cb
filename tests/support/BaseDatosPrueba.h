#pragma once
// A fresh database for one test: a SQLite file in a temporary folder, or a new database on
// the throw-away PostgreSQL server that ./pos test starts (POS_TEST_PG holds its URL).
// Migrations are applied; the business and catalog come from the test itself (usually a
// catalog import).

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "context/TsistemaDatos.h"
#include "db/TConexionSesion.h"

enum class Motor { SQLite, PostgreSQL };

std::string nombreMotor(const ::testing::TestParamInfo<Motor>& info);

class BaseDatosPrueba {
 public:
  // nullptr (and the test should skip) when PostgreSQL was not started for this run.
  static std::unique_ptr<BaseDatosPrueba> crea(Motor motor, bool migrar = true);
  ~BaseDatosPrueba();

  TConexionSesion& conexion() { return *uConexion; }
  std::shared_ptr<TConexionSesion> compartida() { return uConexion; }
  QString destino() const { return uDestino; }
  QString carpeta() const { return uCarpeta.path(); }
  Motor motor() const { return uMotor; }

  // Fills localSYS for this database and business, as the host would.
  void llenaLocalSYS(int idNegocio);

 private:
  BaseDatosPrueba() = default;
  Motor uMotor = Motor::SQLite;
  QTemporaryDir uCarpeta;
  QString uDestino;
  QString uBasePg;
  std::shared_ptr<TConexionSesion> uConexion;
};

// Parametrised data-layer tests run on both engines; a PostgreSQL case is skipped only when
// no server was started (./pos test always starts one and sets POS_REQUIERE_PG=1, which
// turns a missing server into a failure).
class PruebaAmbosMotores : public ::testing::TestWithParam<Motor> {
 protected:
  void SetUp() override;
  void TearDown() override;
  TConexionSesion& conexion() { return db->conexion(); }
  std::unique_ptr<BaseDatosPrueba> db;
};

#define INSTANCIA_AMBOS_MOTORES(Suite) \
  INSTANTIATE_TEST_SUITE_P(Motores, Suite, ::testing::Values(Motor::SQLite, Motor::PostgreSQL), \
                           nombreMotor)
