#pragma once
// The sandbox's own store: every ticket received and every invoice stamped, kept in memory and
// written to one JSON file that is replaced atomically after each change, so a restarted
// sandbox still knows the identifiers and UUIDs it gave.

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

class AlmacenTickets {
 public:
  // Reads <carpeta>/tickets.json when it exists. False with `error` when the folder cannot be
  // made or the file is not a store of this kind; the file is then left untouched. Stores
  // written before invoicing existed have no "facturas" and load with none.
  bool abre(const QString& carpeta, QString* error);

  // Identifier already given to this business's ticket number; empty when there is none.
  QString identificadorDe(const QString& rfc, qint64 ticketNo) const;
  // The stored ticket record, or an empty object.
  QJsonObject registro(const QString& identificador) const;
  // Every ticket record, in the order received.
  QJsonArray registros() const { return uRegistros; }

  // The stored invoice record, or an empty object.
  QJsonObject factura(const QString& uuid) const;
  // Every invoice record, in the order stamped.
  QJsonArray facturas() const { return uFacturas; }

  // Keeps a new ticket record (it carries `identificador`, `rfc` and `ticketNo`). False with
  // `error` when the file cannot be written; nothing is kept then.
  bool agrega(const QJsonObject& registro, QString* error);

  // Keeps a new invoice record (it carries `uuid`) and marks the given tickets with `estado` and
  // the invoice's UUID, in one write: when it fails, neither the invoice nor the marks are kept.
  bool agregaFactura(const QJsonObject& factura, const QStringList& tickets, int estado,
                     QString* error);

  QString archivo() const { return uArchivo; }

 private:
  bool escribe(const QJsonArray& registros, const QJsonArray& facturas, QString* error) const;
  void indexa(const QJsonObject& registro, int posicion);
  static QString clave(const QString& rfc, qint64 ticketNo);

  QString uArchivo;
  QJsonArray uRegistros;
  QJsonArray uFacturas;
  QHash<QString, int> uPorIdentificador;
  QHash<QString, QString> uPorTicket;
  QHash<QString, int> uPorUuid;
};
