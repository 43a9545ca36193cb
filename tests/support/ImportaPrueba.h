#pragma once
// Catalogs for tests through the catalog import: a JSON document (a literal or a built one)
// goes in and the business id comes back. TiendaPrueba builds a small working store as a
// document; tests that need rows written one by one have CatalogoPrueba.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include "db/TConexionSesion.h"

// Imports the document; the test fails, and 0 comes back, when the import refuses it.
int importaPrueba(TConexionSesion& conexion, const QByteArray& json);
int importaPrueba(TConexionSesion& conexion, const QJsonObject& documento);

// A small store that can sell: business (id 1 unless told otherwise; 0 lets the import choose)
// with complete fiscal data, unit "Pieza", categories "GEN" and "BEB", warehouse "ALM", the
// default price list, active cashier "C1", register "CAJA1" open on station
// "ESTACION-PRUEBA" (the station BaseDatosPrueba::llenaLocalSYS sets), a closed register
// "CAJA2", and the payment methods "Efectivo" (1) and "Tarjeta de crédito" (4).
// With idNegocio 1 the records carry ids 1 (warehouse, list, cashier, register, session) and
// products get ids 1, 2, 3... in the order they are added.
class TiendaPrueba {
 public:
  explicit TiendaPrueba(int idNegocio = 1);

  // A product of category "GEN" sold by the piece, with 100 units in "ALM".
  TiendaPrueba& producto(const QString& clave, const QString& nombre, double precio,
                         const QString& codigoBarras = QString(), double ivaT = 0.16,
                         double iepsT = 0);
  // Any record appended to a section ("productos", "promociones", "kits", ...).
  TiendaPrueba& agrega(const QString& seccion, const QJsonObject& registro);

  QJsonObject& documento() { return uDoc; }
  QByteArray json() const;
  int importa(TConexionSesion& conexion) const { return importaPrueba(conexion, uDoc); }

 private:
  QJsonObject uDoc;
  bool uConIds;
};
