#pragma once
// A store with tickets in chosen states, days and sessions, on either engine, for the tests of
// the tickets after the sale.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariantMap>

#include "db/TmiddleTier.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/ConsultaPrueba.h"
#include "support/SandboxPrueba.h"

struct TiendaTickets {
  explicit TiendaTickets(BaseDatosPrueba& db) : db(db), cat(db.conexion()) {
    cat.tiendaDeVentas();
    cat.cajero(1, "Ana Pérez");
  }

  // A stored sale (CatalogoPrueba::ventaGuardada: total 198.35) with its day, state and the
  // service's identifier; answers the operation id.
  int ticket(int numero, const QDateTime& fecha, const QString& estado = {},
             const QString& identificador = {}, int sesion = 0) {
    const int id = cat.ventaGuardada(numero);
    ejecuta(
        "UPDATE puntoOperacion SET fechaHora = :f, facturadoMetodo = :e, uuid = :u WHERE id = :id",
        {{"f", fecha}, {"e", noNulo(estado)}, {"u", noNulo(identificador)}, {"id", id}});
    if (sesion > 0)
      ejecuta("UPDATE puntoOperacion SET puntoCajaSesion_id = :s WHERE id = :id",
              {{"s", sesion}, {"id", id}});
    return id;
  }
  static QString noNulo(const QString& t) { return t.isNull() ? QString("") : t; }
  void factura(int operacion, const QString& uuid) {
    ejecuta("INSERT INTO puntoOperacionAdicional (puntoOperacion_id, uuid) VALUES (:o, :u)",
            {{"o", operacion}, {"u", uuid}});
  }
  QString estado(int operacion) {
    return celda("SELECT facturadoMetodo FROM puntoOperacion WHERE id = :id", operacion);
  }
  QString ultimaFactura(int operacion) {
    return celda(
        "SELECT uuid FROM puntoOperacionAdicional WHERE puntoOperacion_id = :id ORDER BY id DESC "
        "LIMIT 1",
        operacion);
  }
  QString celda(const QString& sql, int id) {
    return sqlValor(db.conexion(), sql, {{"id", id}}).toString();
  }
  void ejecuta(const QString& sql, const QVariantMap& p) { sqlEjecuta(db.conexion(), sql, p); }

  BaseDatosPrueba& db;
  CatalogoPrueba cat;
};

// The store with its online account, on either engine, and the sandbox started for it.
class PruebaTicketsEnLinea : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    tienda = std::make_unique<TiendaTickets>(*db);
    tienda->cat.credencialesCifradas(db->carpeta());
    db->llenaLocalSYS(1);
    ASSERT_TRUE(sandbox.arrancaParaTienda());
  }
  void TearDown() override {
    signingConfigura(QString());
    PruebaAmbosMotores::TearDown();
  }
  std::unique_ptr<TiendaTickets> tienda;
  SandboxPrueba sandbox;
};
