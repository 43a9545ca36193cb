#pragma once
// The printed form of a stamped invoice or credit note, as the service hands it to the shop.

#include <QByteArray>
#include <QJsonObject>
#include <QList>

// `registro` is the stored invoice record; `tickets` the numbers of the tickets it covers.
QByteArray pdfDeFactura(const QJsonObject& registro, const QList<qint64>& tickets);
