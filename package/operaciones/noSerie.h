#pragma once
// Serial numbers of the business's products: the list the serial-number screen shows, the units
// a sold ticket line holds, and linking units in stock to a sold line. A serial number's state
// (inventarioNoSerie.estado) is 1 in stock, 2 sold (linked to one ticket line through
// inventarioNoSerieTicket), 3 returned to stock; 1 and 3 can be sold.

#include <QString>
#include <QVariant>
#include <QVector>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"
#include "db/TmiddleTier.h"

inline constexpr int NOSERIE_EN_EXISTENCIA = 1;
inline constexpr int NOSERIE_VENDIDO = 2;
inline constexpr int NOSERIE_DEVUELTO = 3;

// The state as people read it: "En existencia", "Vendido", "Devuelto".
QString u_leyendaEstadoNoSerie(int estado);

// Serial-number writes of a return, on the caller's connection and transaction.
class Tproductos : public TmiddleTier {
 public:
  using TmiddleTier::TmiddleTier;
  // Deletes the link of a serial number to a ticket line; succeeds when the link existed.
  CmidTierResponse deleteRelacionNoSerieConTicket(int enlaceID);
  // A sold serial number goes back to stock (state 3); succeeds when it was sold.
  CmidTierResponse updateInventarioEstadoNoSerieEstado(int noSerieID);
};

// The serial numbers the sale line holds now: inventarioNoSerie_id, inventarioNoSerieTicket_id
// and inventarioNoSerie_noSerie, by serial number.
CmidTierResponse buscaNoSerieVendidosPorDetalle(int detalleID, TConexionSesion& conexion);

// The business's serial numbers, by product and serial number: inventarioNoSerie_id,
// inventarioNoSerie_noSerie, inventarioProducto_id, inventarioProducto_nombre,
// inventarioAlmacen_nombre, inventarioNoSerie_estado, _estado_leyenda, puntoOperacion_ticketNo
// and puntoOperacion_fechaHora (the sale it is linked to; for a returned unit, the sale it came
// back from; empty for a unit never sold). `noSerie` and `producto` are "%text%" filters on the
// serial number and on the product's name or key, or null.
CmidTierResponse consultaNoSerie(const QVariant& noSerie, const QVariant& producto, int idNegocio,
                                 TConexionSesion& conexion);

// Units of the product that can be sold from the warehouse (states 1 and 3, not linked):
// inventarioNoSerie_id, inventarioNoSerie_noSerie, by serial number.
CmidTierResponse consultaNoSerieDisponibles(int productoID, int almacenID, int idNegocio,
                                            TConexionSesion& conexion);

// The lines of the business's ticket whose product is sold by serial number:
// PuntoOperacionDetalle_id, inventarioProducto_id, inventarioProducto_nombre, cantidad,
// devolucion, _asignados (serial numbers it holds now), inventarioAlmacen_id, in sale order.
CmidTierResponse consultaLineasNoSerieTicket(int ticketNo, int idNegocio,
                                             TConexionSesion& conexion);

struct TresultadoNoSerie {
  bool ok = false;
  QString mensaje;  // why nothing was assigned
};

// Links units in stock to a sold line of a serial-numbered product and marks them sold, in one
// transaction with the line locked. Refused, with nothing changed, when the line is not the
// business's or its product takes no serial numbers, when the line would hold more serial
// numbers than the pieces it still has out (sold less returned), or when a unit is not of that
// product, not in the sale's warehouse or no longer available.
TresultadoNoSerie asignaNoSerieATicket(int detalleID, const QVector<int>& noSerieIDs, int idNegocio,
                                       TConexionSesion& conexion);
