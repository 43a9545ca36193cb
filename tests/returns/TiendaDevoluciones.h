#pragma once
// A shop that sold what a return needs: a serial-numbered product (audífonos, serial numbers
// AUD-1 to AUD-4 in the warehouse), a bulk product sold by the kilogram and a plain one with
// VAT, sold through the register's own lines and the store operation.

#include <QString>
#include <QStringList>
#include <memory>

#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"

class TiendaDevoluciones {
 public:
  static constexpr int kAudifonos = 1;  // 349.00 + VAT, by serial number
  static constexpr int kFrijol = 2;     // 36.00 per kg, no taxes, in fractions
  static constexpr int kRefresco = 3;   // 20.00 + VAT

  // Catalog, stock (10 of each), an open register for the test station; localSYS filled.
  explicit TiendaDevoluciones(BaseDatosPrueba& db);

  struct Venta {
    int operacionID = 0;
    int ticketNo = 0;
  };
  // Sells 2 audífonos, 2.5 kg of frijol and 3 refrescos (in this line order).
  Venta vende();
  // Sells one kit of 2 refrescos and 1 kg of frijol at 50.00.
  Venta vendeKit();
  // The sale line of a product in a sale.
  int detalle(int operacionID, int producto);
  // Links serial numbers (by text) to a sale line; fails the test when refused.
  void asignaSeries(int detalleID, const QStringList& series);

  double existencia(int producto);
  double devuelto(int detalleID);
  int estadoSerie(const QString& noSerie);
  int enlaces(int detalleID);
  int devoluciones();
  double cuenta(const QString& sql);

  CatalogoPrueba& catalogo() { return *uCatalogo; }

 private:
  Venta guarda(class TLineasVenta& v);

  BaseDatosPrueba& uDb;
  std::unique_ptr<CatalogoPrueba> uCatalogo;
};
