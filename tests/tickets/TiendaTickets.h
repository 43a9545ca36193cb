#pragma once
// A store with tickets in chosen states, days and sessions, on either engine, for the tests of
// the tickets after the sale.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariantMap>

#include "db/TmiddleTier.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"

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
    TmiddleTier mt(db.conexion());
    mt.setQuery(sql);
    mt.setInteger("id", id);
    return mt.scalar().toString();
  }
  void ejecuta(const QString& sql, const QVariantMap& p) {
    TmiddleTier mt(db.conexion());
    mt.setQuery(sql);
    for (auto it = p.begin(); it != p.end(); ++it) mt.setVariant(it.key(), it.value());
    ASSERT_GE(mt.nonQuery(), 0) << mt.ultimoError().toStdString() << " " << sql.toStdString();
  }

  BaseDatosPrueba& db;
  CatalogoPrueba cat;
};
