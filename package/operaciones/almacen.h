#pragma once
// Warehouse service of the package.

#include <QVariant>

#include "db/TmiddleTier.h"

class Talmacen : public TmiddleTier {
 public:
  using TmiddleTier::TmiddleTier;
  // Warehouses of the business: column 0 id, 1 clave, 2 sucursal, 3 name (read by position).
  CmidTierResponse selectAlmacenes(const QVariant& filtroClave, const QVariant& filtroNombre,
                                   int idNegocio);
  // Stock per product and warehouse: inventarioProducto_id, producto_titulo,
  // inventarioAlmacen_id, inventarioAlmacen_nombre, inventarioExistencias_existencia.
  // Null filters select every warehouse / product of the business.
  CmidTierResponse selectExistenciaGeneral(const QVariant& almacen, const QVariant& producto,
                                           int idNegocio);
};

// Stock of one product in one warehouse; 0 without querying when either id is not positive,
// and 0 when the query fails.
double existenciaProducto(TConexionSesion& conexion, int almacen, int producto, int idNegocio);
