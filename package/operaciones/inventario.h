#pragma once
// Storing a sale: the operation, its lines, its seven payment lines and the stock discount,
// in one transaction.

#include <QString>

#include "db/TConexionSesion.h"
#include "grid/TGridControl.h"
#include "printer/TImpresionTicket.h"

struct informacionDevolucion;

struct rRespuestaPuntoVenta {
  bool ok = false;
  int ticketNo = 0;
  int sinExistencia = 0;  // > 0 when a line lacks stock
  QString producto;       // the product that lacks stock
  int operacionID = 0;
  QString mensaje;        // why the sale was not stored, when it was not a shortage
};

class TConexionInventario {
 public:
  // Amounts are the checkout's texts (shortest float texts); `lineas` is the register's table
  // of sale lines, read by column name. Every line with a product discounts its quantity
  // from `almacen`; a shortage stores nothing. The session and cashier are those of the
  // station (`estacion`, or this computer's station name when empty).
  rRespuestaPuntoVenta descuentaInventarioFromPuntoVenta(
      const QString& total, const QString& subtotal, const QString& descuento,
      const QString& pagado, const QString& devuelto, const QString& impuestos,
      const TFormasPago& formas, const TGridControl& lineas, TConexionSesion& conexion,
      int idNegocio, int almacen, const QString& estacion = QString());

  // Puts a returned quantity back into the stock of the product in the warehouse (the stock
  // row is created when the warehouse never held it). False for a quantity that is not
  // positive, a product or warehouse that is not the business's, or a database error. No
  // transaction of its own (operaciones/devoluciones.cpp).
  bool devuelveProductoFromCotizacion(const informacionDevolucion& devolucion,
                                      TConexionSesion& conexion, int idNegocio);
};
