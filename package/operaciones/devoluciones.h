#pragma once
// Data operations of returns: the sale ticket and its lines as the return screen reads them,
// putting stock back, recording a return against a sale line, and the lists of returns and of
// credit notes. The writes open no transaction of their own: the caller runs one line's return
// (stock, serial numbers, record) in one transaction around them.

#include <QDateTime>
#include <QString>
#include <QVariant>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"
#include "db/TmiddleTier.h"

// The sale with ticket number `ticketNo` of the business (no row when there is none or it is
// another business's): puntoOperacion_id, puntoOperacion_ticketNo, puntoOperacionAdicional_uuid
// (fiscal UUID of its latest invoice, empty without one), Receptor_idReceptor, Receptor_rfc,
// Receptor_nombre (that invoice's receiver; the receiver of the fiscal document when the invoice
// line names none, as a global invoice does), _cajeroNombre, puntoOperacion_fechaHora,
// puntoOperacion_subtotal, puntoOperacion_impuestos, puntoOperacion_descuento,
// puntoOperacion_total, inventarioAlmacen_id, inventarioAlmacen_nombre,
// puntoOperacion_facturadoFecha and puntoOperacion_facturadoMotodo (the invoicing state).
CmidTierResponse buscarTicketPorNumeroYNegocio(int ticketNo, int idNegocio,
                                               TConexionSesion& conexion);

// The lines of that sale as they were sold, in sale order: PuntoOperacionDetalle_id,
// inventarioProducto_id, ventasCotizacionDetalle_kitID, puntoOperacionDetalle_cantidad,
// puntoOperacionDetalle_precioLista, PuntoOperacionDetalle_precioVenta (the unit price before the
// line's discount), puntoOperacionDetalle_descuento (the whole line's discount),
// puntoOperacionDetalle_descuentoValor, PuntoOperacionDetalle_claveSATprodcutoServicio,
// inventarioUnidadesMedidaBorrado_claveSAT33, inventarioUnidadesMedida_descripcion,
// unidadesMedida_id, inventarioProducto_clave, inventarioProducto_claveAlterna,
// inventarioProducto_nombre, inventarioCategoria_etiqueta, the five tax amounts and five rates
// (PuntoOperacionDetalle_ivaT ... PuntoOperacionDetalle_isrRbase), PuntoOperacionDetalle_devolucion
// (returned so far); and _tipoInsercion, _grupo (the line's kind and group, which tell kit
// headers from their components) and _controlaNoSerie (1 when the product is sold by serial
// number).
CmidTierResponse buscarTicketDetallePorNumeroYNegocio(int ticketNo, int idNegocio,
                                                      TConexionSesion& conexion);

// Whether the product may be sold and returned in fractions (bulk goods); false for an unknown
// product.
bool buscarProductoEnteroFraccion(int productoID, TConexionSesion& conexion);

// Locks one sale line of the business for the rest of the caller's write transaction (a row
// lock on PostgreSQL; on SQLite the write transaction itself holds the database) and reads it
// as it stands now: PuntoOperacionDetalle_id, puntoOperacion_id, puntoOperacion_ticketNo,
// inventarioProducto_id, cantidad, devolucion, descripcion, unidadesMedida_id, _tipoInsercion,
// _grupo, _kitID, _controlaNoSerie and inventarioAlmacen_id (the sale's warehouse). No row when
// the line is not the business's. Everything that changes what a line has returned or which
// serial numbers it holds takes this lock first, so two stations never both act on a stale
// reading.
CmidTierResponse bloqueaRenglonVenta(TmiddleTier& mt, int detalleID, int idNegocio);

// What goes back into stock for one returned line.
struct informacionDevolucion {
  double cantidad = 0;
  int almacenID = 0;
  int productoID = 0;
  QString descripcion;
  int unidadID = 0;
};

// Sale-line writes of a return, on the caller's connection and transaction.
class Tventas : public TmiddleTier {
 public:
  using TmiddleTier::TmiddleTier;
  // Records a return of `cantidad` (decimal text) against sale line `fila`; the business is
  // the sale's. `notaID` names the credit note it belongs to (0: an exchange). On success the
  // result holds the new record's id as ventasDevolucion_id.
  CmidTierResponse insertPorductoDevolucion(int fila, const QString& estado, const QDateTime& fecha,
                                            const QString& cantidad, int tipoDevolucion,
                                            const QString& noSeries, int notaID = 0);
  // Sets what the line has returned so far (decimal text); succeeds when the line exists.
  CmidTierResponse updateOperacionPuntoVentaSETdevolucion(int fila, const QString& acumulado);
};

// Returns: ventasDevolucion_id, puntoOperacion_ticketNo, puntoOperacion_fechaHora,
// ventasDevolucion_fechaDevolucion, inventarioProducto_nombre, ventasDevolucion_cantidad,
// ventasDevolucion_devolucionTipo, ventasDevolucion_estadoProducto, ventasDevolucion_noSeries and
// comprobante_uuid (the credit note's UUID, empty for an exchange), oldest first.
CmidTierResponse buscaDevolucionPorFecha(const QDateTime& desde, const QDateTime& hasta,
                                         int idNegocio, TConexionSesion& conexion);
CmidTierResponse buscaDevolucionPorTicketNo(int ticketNo, int idNegocio, TConexionSesion& conexion);

// Credit notes of point-of-sale sales issued in the window: Comprobante_fecha, Receptor_rfc,
// Receptor_nombre, puntoOperacionAdicional_uuid (the sale invoice's UUID),
// comprobante_uuid (the credit note's) and puntoOperacion_ticketNo, oldest first. `uuidVenta`
// null lists them all; a text keeps those whose sale invoice's UUID contains it (capitals or
// not).
CmidTierResponse consultaNotasCreditoPuntoVenta(const QDateTime& desde, const QDateTime& hasta,
                                                const QVariant& uuidVenta, int idNegocio,
                                                TConexionSesion& conexion);
