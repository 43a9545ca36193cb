#pragma once
// Data operations that look back at register sessions: one session's tickets, the products it
// sold, its totals per payment method and its total; and the cuts and closes of a date range.
// Every operation answers only rows of the business it is given.

#include <QDate>
#include <QVariant>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"

// One session: puntoCajaSesion_id, puntoCajaSesion_cajaNombre, puntoCaja_clave,
// puntoCajero_id, _nombreCompleto, puntoCajaSesion_fechaApertura, puntoCajaSesion_fechaCierre,
// puntoCajaSesion_activa. No row when it does not exist or belongs to another business.
CmidTierResponse buscaSesionPorID(int sesionId, int idNegocio, TConexionSesion& conexion);

// The sum of the totals of the session's tickets, to the cent. 0 for an unknown session.
double calculaSesionTotal(int sesionId, int idNegocio, TConexionSesion& conexion);

// The session's tickets in the order they were sold: puntoOperacion_id,
// puntoOperacion_ticketNo, puntoOperacion_fechaHora, puntoOperacion_total,
// puntoOperacion_uuid (the UUID of the ticket's invoice, empty while it has none) and
// puntoOperacion_facturadoFecha.
CmidTierResponse buscarOperacionesporSesion(int sesionId, int idNegocio, TConexionSesion& conexion);

// The products the session sold, one row per product with its quantities added up, by name:
// inventarioProducto_id, inventarioProducto_nombre, puntoOperacion_cantidad. Kit and promotion
// headers are no product and are left out; a kit's components count.
CmidTierResponse buscaOperacionesDetalleConsolidadoPorSesion(int sesionId, int idNegocio,
                                                             TConexionSesion& conexion);

// What the session took per payment method, in columns puntoMetodoPago_id (the method's
// payment form; 0 for cash), Nombre, _total (a number text to the cent). Cash comes first
// and is net of the change handed out; the others follow by name, those that took nothing
// left out. The rows add up to calculaSesionTotal.
CmidTierResponse buscaTotalesMetodoDePagoPorSesion(int sesionId, int idNegocio,
                                                   TConexionSesion& conexion);

// Cuts and closes of the business from `desde` to `hasta` (both days whole), of one cashier
// when `cajero` holds an id, in time order: puntoCaja_id, puntoCaja_clave,
// puntoCajaSesion_cajaNombre, puntoCajaSesion_id, puntoCorte_id, puntoCajero_id,
// _nombreCompleto, puntoCorte_fechaHora, puntoCorte_esCorte, _tipo ("Corte" or "Cierre"),
// puntoCorte_monto.
CmidTierResponse filtrarCortes(const QDate& desde, const QDate& hasta, const QVariant& cajero,
                               TConexionSesion& conexion, int idNegocio);
