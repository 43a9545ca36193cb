#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <vector>

#include "db/TmiddleTier.h"
#include "operaciones/clientes.h"
#include "support/BaseDatosPrueba.h"

namespace {

class ClientePublicoGeneral : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    TmiddleTier mt(conexion());
    for (int id : {1, 2}) {
      mt.setQuery("INSERT INTO Negocio (idNegocio, nombre, rfc) VALUES (:id, :nombre, '')");
      mt.setInteger("id", id);
      mt.setString("nombre", QString("Negocio %1").arg(id));
      ASSERT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
    }
  }

  int clientes(int negocio, TConexionSesion& c) {
    TmiddleTier mt(c);
    mt.setQuery("SELECT COUNT(*) FROM Receptor WHERE idNegocioFk = :n AND rfc = 'XAXX010101000'");
    mt.setInteger("n", negocio);
    return mt.scalar().toInt();
  }
};

TEST_P(ClientePublicoGeneral, SeCreaUnaSolaVezPorNegocio) {
  EXPECT_EQ(u_idReceptorPublicoGeneral(1, conexion()), 0);
  ASSERT_TRUE(u_rfcPublicoGeneralExiste(1, conexion()));
  ASSERT_TRUE(u_rfcPublicoGeneralExiste(1, conexion()));
  EXPECT_EQ(clientes(1, conexion()), 1);
  EXPECT_EQ(clientes(2, conexion()), 0) << "only the business asked for gets its customer";

  TmiddleTier mt(conexion());
  mt.setQuery("SELECT idReceptor, rfc, nombre FROM Receptor WHERE idNegocioFk = 1");
  const CmidTierResponse r = mt.reader();
  ASSERT_EQ(r.getRowCount(), 1);
  EXPECT_EQ(r.getCelda("nombre"), "PUBLICO EN GENERAL");
  EXPECT_EQ(u_idReceptorPublicoGeneral(1, conexion()), r.getCeldaAsInt("idReceptor"));

  ASSERT_TRUE(u_rfcPublicoGeneralExiste(2, conexion()));
  EXPECT_EQ(clientes(2, conexion()), 1);
  EXPECT_EQ(clientes(1, conexion()), 1);
}

TEST_P(ClientePublicoGeneral, UnNombreCambiadoPorElNegocioSeRespeta) {
  TmiddleTier mt(conexion());
  mt.setQuery(
      "INSERT INTO Receptor (rfc, nombre, idNegocioFk) "
      "VALUES ('XAXX010101000', 'Público en general', 1)");
  ASSERT_EQ(mt.nonQuery(), 1);
  ASSERT_TRUE(u_rfcPublicoGeneralExiste(1, conexion()));
  mt.setQuery("SELECT nombre FROM Receptor WHERE idNegocioFk = 1");
  const CmidTierResponse r = mt.reader();
  ASSERT_EQ(r.getRowCount(), 1);
  EXPECT_EQ(r.getCelda("nombre"), "Público en general");
}

TEST_P(ClientePublicoGeneral, NegocioInexistenteFallaSinGuardarNada) {
  EXPECT_FALSE(u_rfcPublicoGeneralExiste(99, conexion()));
  TmiddleTier mt(conexion());
  mt.setQuery("SELECT COUNT(*) FROM Receptor");
  EXPECT_EQ(mt.scalar().toInt(), 0);
  // The failed attempt left no transaction open behind it.
  EXPECT_TRUE(u_rfcPublicoGeneralExiste(1, conexion()));
  EXPECT_EQ(clientes(1, conexion()), 1);
}

// Several stations open the module at the same moment, each with its own connection.
TEST_P(ClientePublicoGeneral, EstacionesSimultaneasDejanUnSoloCliente) {
  constexpr int kEstaciones = 4;
  std::atomic<int> listos{0}, fallos{0};
  std::vector<QThread*> hilos;
  for (int i = 0; i < kEstaciones; ++i) {
    hilos.push_back(QThread::create([&] {
      TConexionSesion estacion(db->destino());
      ++listos;
      while (listos.load() < kEstaciones) QThread::yieldCurrentThread();
      if (!u_rfcPublicoGeneralExiste(1, estacion)) ++fallos;
      estacion.cierraHilo();
    }));
  }
  for (QThread* h : hilos) h->start();
  for (QThread* h : hilos) {
    h->wait();
    delete h;
  }
  EXPECT_EQ(fallos.load(), 0);
  EXPECT_EQ(clientes(1, conexion()), 1);
}

INSTANCIA_AMBOS_MOTORES(ClientePublicoGeneral);

}  // namespace
