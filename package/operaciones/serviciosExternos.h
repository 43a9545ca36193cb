#pragma once
// The business's external-service data: the MercadoPago credentials (stored encrypted, one set
// per business, with the last access token and when it was obtained) and the payment lines that
// were matched with an external payment.

#include <QDateTime>
#include <QString>
#include <QVariant>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"

// The six credential columns puntoServiciosExternosMercadoPago_clienteID, _clienteSecret,
// _accessToken, _userID, _vigencia and _poi; no row when the business has none.
CmidTierResponse buscaServiciosExternosMercadoPago(int idNegocio, TConexionSesion& conexion);
// The token, its user id (both encrypted) and `vigencia`; the other credentials stay.
bool actualizaTokenMercadoPago(const QString& accessToken, const QString& userID,
                               const QString& vigencia, int idNegocio, TConexionSesion& conexion);
// True when the payment id is the reference of a stored payment line of the business, and also
// when that cannot be read: a payment that may be used is never offered.
bool buscaReferenciaExistente(const QString& pagoID, int idNegocio, TConexionSesion& conexion);

// The credentials screen's columns: _clienteID, _clienteSecret and _poi (among the others).
CmidTierResponse consultaMercadoPago(int idNegocio, TConexionSesion& conexion);
// Stores the three encrypted values; the stored token is left as it is.
bool actualizarOpcionesMercadoPago(const QString& clienteID, const QString& clienteSecret,
                                   const QString& poi, int idNegocio, TConexionSesion& conexion);

// Payment lines matched with an external service between two date-times, newest first:
// puntoFormaPagoAplicada_id, puntoOperacion_ticketNo, _servicioExterno,
// puntoFormaPagoAplicada_referencia, puntoFormaPagoAplicada_valor, puntoOperacion_fechaHora.
// `monto` is null or the amount text as typed (compared as an amount when it reads as one, else
// with the stored text); `referencia` is null or a LIKE pattern.
CmidTierResponse buscaPagosExternos(const QDateTime& inicio, const QDateTime& fin,
                                    const QVariant& monto, const QVariant& referencia,
                                    int idNegocio, TConexionSesion& conexion);
