#pragma once
// The sandbox's own store: every ticket received, kept in memory and written to one JSON file
// that is replaced atomically after each change, so a restarted sandbox still knows the
// identifiers it gave.

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

class AlmacenTickets {
 public:
  // Reads <carpeta>/tickets.json when it exists. False with `error` when the folder cannot be
  // made or the file is not a store of this kind; the file is then left untouched.
  bool abre(const QString& carpeta, QString* error);

  // Identifier already given to this business's ticket number; empty when there is none.
  QString identificadorDe(const QString& rfc, qint64 ticketNo) const;
  // The stored record, or an empty object.
  QJsonObject registro(const QString& identificador) const;
  // Every record, in the order received.
  QJsonArray registros() const { return uRegistros; }

  // Keeps a new record (it carries `identificador`, `rfc` and `ticketNo`). False with `error`
  // when the file cannot be written; nothing is kept then.
  bool agrega(const QJsonObject& registro, QString* error);

  QString archivo() const { return uArchivo; }

 private:
  bool escribe(const QJsonArray& registros, QString* error) const;
  void indexa(const QJsonObject& registro, int posicion);
  static QString clave(const QString& rfc, qint64 ticketNo);

  QString uArchivo;
  QJsonArray uRegistros;
  QHash<QString, int> uPorIdentificador;
  QHash<QString, QString> uPorTicket;
};
