#pragma once
// Checks of a stamping request's "factura" object: SAT keys, the receiver's fiscal data, the
// tickets or concepts it covers and its totals. Empty when usable, otherwise the reason in
// Spanish naming the field, which the service sends back with status 400. Whether the tickets
// and related invoices exist is the store's business, not checked here.

#include <QJsonObject>
#include <QString>

QString validaFactura(const QJsonObject& cuerpo);
