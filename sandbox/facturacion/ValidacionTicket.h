#pragma once
// Checks of an upload's body. Each answers an empty text when the part is usable, otherwise
// the reason in Spanish, which the service sends back with status 400.

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// rfc, usuario, cuenta and contrasena: present, texts, not empty; the RFC well formed.
QString validaEmisorYCredenciales(const QJsonObject& cuerpo);
// The "ticket" object: number, date-time, totals, concepts and payments.
QString validaTicket(const QJsonObject& cuerpo);
// One line of a ticket or an invoice; `ruta` names it in the messages.
QString validaConcepto(const QJsonValue& concepto, const QString& ruta);
