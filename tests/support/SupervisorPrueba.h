#pragma once
// Cashiers, registers, sessions and stored sales for the supervisor's tests, written through
// the package's own operations (no explicit ids, so the identity sequences of PostgreSQL stay
// right). Sales are written row by row: only what the session balance reads.

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include "db/TConexionSesion.h"
#include "support/BaseDatosPrueba.h"
#include "support/RespondedorPrueba.h"

class SupervisorPrueba {
 public:
  SupervisorPrueba(TConexionSesion& conexion, int idNegocio = 1)
      : uConexion(conexion), uNegocio(idNegocio) {}

  int cajero(const QString& clave, const QString& nombre, const QString& paterno = "Pérez",
             const QString& materno = "López", int estado = 1);
  int caja(const QString& clave, const QString& descripcion, int almacen = 1);
  // Opens the register on the station; answers the session id.
  int abre(int caja, int cajero, double monto, const QString& estacion);
  // A stored sale of the session: cash received at position 0, change handed out, and
  // optionally a card payment at position 1.
  int venta(int sesion, int ticket, double efectivo, double devuelto, double tarjeta = 0);
  // A warehouse beyond the basic one, with an explicit id.
  int almacen(int id, const QString& nombre);

  QVariant valor(const QString& sql, const QVariantMap& parametros = {});
  int entero(const QString& sql, const QVariantMap& parametros = {}) {
    return valor(sql, parametros).toInt();
  }

 private:
  TConexionSesion& uConexion;
  int uNegocio;
};

// The supervisor's screens over a SQLite store with the basic business.
class PruebaSupervisor : public ::testing::Test {
 protected:
  void SetUp() override;
  std::unique_ptr<BaseDatosPrueba> db;
  std::unique_ptr<SupervisorPrueba> s;
  RespondedorPrueba r;
};
