#include "SupervisorPrueba.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include "db/TmiddleTier.h"
#include "operaciones/cajas.h"
#include "operaciones/cajeros.h"
#include "support/CatalogoPrueba.h"
#include "support/ConsultaPrueba.h"

QVariant SupervisorPrueba::valor(const QString& sql, const QVariantMap& parametros) {
  return sqlValor(uConexion, sql, parametros);
}

int SupervisorPrueba::cajero(const QString& clave, const QString& nombre, const QString& paterno,
                             const QString& materno, int estado) {
  UREC_cajero c;
  c.clave = clave;
  c.estadoVendedor = estado;
  c.persona.nombre = nombre;
  c.persona.apellidoPaterno = paterno;
  c.persona.apellidoMaterno = materno;
  c.persona.idNegocio = uNegocio;
  EXPECT_TRUE(cajeroInserta(c, uNegocio, uConexion)) << clave.toStdString();
  return entero("SELECT id FROM puntoCajero WHERE clave = :c AND idNegocioFk = :n",
                {{"c", clave}, {"n", uNegocio}});
}

int SupervisorPrueba::caja(const QString& clave, const QString& descripcion, int almacen) {
  EXPECT_TRUE(nuevaCaja(clave, descripcion, uNegocio, uConexion, almacen)) << clave.toStdString();
  return entero("SELECT id FROM puntoCaja WHERE clave = :c AND idNegocioFk = :n",
                {{"c", clave}, {"n", uNegocio}});
}

int SupervisorPrueba::abre(int caja, int cajero, double monto, const QString& estacion) {
  RECaperturaCaja a;
  a.cajaID = caja;
  a.cajeroID = cajero;
  a.fechaApertura = QDateTime::currentDateTime();
  a.montoApertura = monto;
  a.monedas = monto;
  a.estacion = estacion;
  EXPECT_TRUE(guardaAperturaCaja(a, QStringLiteral("Caja"), uNegocio, uConexion));
  return entero("SELECT puntoCajaSesion_id FROM puntoCaja WHERE id = :c", {{"c", caja}});
}

int SupervisorPrueba::venta(int sesion, int ticket, double efectivo, double devuelto,
                            double tarjeta) {
  TmiddleTier mt(uConexion);
  mt.setQuery(QStringLiteral(
      "INSERT INTO puntoOperacion (idNegocioFk, ticketNo, puntoCajaSesion_id, fechaHora, total, "
      "pago, devuelto) VALUES (:n, :t, :s, :f, :total, :pago, :dev) RETURNING id"));
  mt.setInteger("n", uNegocio);
  mt.setInteger("t", ticket);
  mt.setInteger("s", sesion);
  mt.setDateTime("f", QDateTime::currentDateTime());
  mt.setDouble("total", efectivo - devuelto + tarjeta);
  mt.setDouble("pago", efectivo + tarjeta);
  mt.setDouble("dev", devuelto);
  const int operacion = mt.scalar().toInt();
  EXPECT_GT(operacion, 0) << mt.ultimoError().toStdString();
  auto pago = [&](int posicion, double importe) {
    mt.setQuery(QStringLiteral(
        "INSERT INTO puntoFormaPagoAplicada (puntoOperacion_id, posicion, formaPago_id, nombre, "
        "importe) VALUES (:o, :p, :f, :nombre, :i)"));
    mt.setInteger("o", operacion);
    mt.setInteger("p", posicion);
    mt.setInteger("f", posicion == 0 ? 1 : 4);
    mt.setString("nombre", posicion == 0 ? "Efectivo" : "Tarjeta");
    mt.setDouble("i", importe);
    EXPECT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
  };
  pago(0, efectivo);
  if (tarjeta != 0) pago(1, tarjeta);
  return operacion;
}

int SupervisorPrueba::almacen(int id, const QString& nombre) {
  TmiddleTier mt(uConexion);
  mt.setQuery(QStringLiteral(
      "INSERT INTO inventarioAlmacen (id, nombre, clave, idNegocioFk) VALUES (:id, :nombre, "
      ":clave, :n)"));
  mt.setInteger("id", id);
  mt.setString("nombre", nombre);
  mt.setString("clave", QStringLiteral("A%1").arg(id));
  mt.setInteger("n", uNegocio);
  EXPECT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
  return id;
}

void PruebaSupervisor::SetUp() {
  db = BaseDatosPrueba::crea(Motor::SQLite);
  ASSERT_TRUE(db);
  CatalogoPrueba(db->conexion()).negocioBasico();
  db->llenaLocalSYS(1);
  s = std::make_unique<SupervisorPrueba>(db->conexion());
}
