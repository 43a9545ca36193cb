#pragma once
// The payment methods a business offers at the checkout (puntoMetodoPago), each tied to a SAT
// payment form. A method is never deleted: removing it sets it inactive, so stored sales keep
// naming it.

#include <QString>
#include <QVariant>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"
#include "util/resultado.h"

// Active methods whose name matches the filter (null: all): puntoMetodoPago_id,
// puntoMetodoPago_nombre, formaPago_id, formaPago_descripcion.
CmidTierResponse consultaFormaDePagos(const QVariant& nombre, int idNegocio,
                                      TConexionSesion& conexion);
// The SAT payment forms: formaPago_id, formaPago_clave, formaPago_descripcion.
CmidTierResponse consultaCatalogoFormaPago(TConexionSesion& conexion);
// Enables a method under a name of its own; an empty name or one already active is refused.
TResultado agregaFormaPago(const QString& nombre, int formaPagoId, int idNegocio,
                           TConexionSesion& conexion);
// The soft delete.
TResultado desactivaFormaPago(int metodoId, int idNegocio, TConexionSesion& conexion);
