#pragma once
// The sandbox's own store: every ticket received and every invoice stamped, so that a
// restarted sandbox still knows the identifiers and UUIDs it gave.
//
// Each change is one record appended to the journal `diario.jsonl` and synced to disk before
// it is answered, so a write costs the same at ten tickets as at a million. At start the
// snapshot `tickets.json` is read, the journal replayed over it (records the snapshot already
// holds are skipped by their sequence number) and both are folded into a new snapshot; the
// same happens while running once the journal outgrows the snapshot. A crash tears at most the
// last journal record, which is then ignored.

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include "DiarioJson.h"

class AlmacenTickets {
 public:
  // A ticket's new state and the invoice that put it there.
  struct Marca {
    QString identificador;
    int estado = 0;
    QString factura;
  };
  // Everything one call changes, kept or lost as a whole.
  struct Cambio {
    QList<QJsonObject> tickets;   // new ticket records (`identificador`, `rfc`, `ticketNo`, ...)
    QList<QJsonObject> facturas;  // new invoice records (`uuid`, ...)
    QList<Marca> marcas;
  };
  struct Pagina {
    qint64 total = 0;
    QJsonArray tickets;
  };

  // Reads the store of <carpeta>. False with `error` when the folder cannot be made or the
  // files are not a store of this kind; they are then left untouched.
  bool abre(const QString& carpeta, QString* error);

  // Identifier already given to this business's ticket number; empty when there is none.
  QString identificadorDe(const QString& rfc, qint64 ticketNo) const;
  // The stored ticket record, or an empty object.
  QJsonObject registro(const QString& identificador) const;
  // Every ticket record, in the order received.
  QJsonArray registros() const;
  qint64 mayorTicketNo(const QString& rfc) const { return uMayorTicketNo.value(rfc); }
  qint64 totalTickets() const { return uTickets.size(); }

  // The stored invoice record, or an empty object.
  QJsonObject factura(const QString& uuid) const;
  // Every invoice record, in the order stamped.
  QJsonArray facturas() const;
  // The invoice a business stamped under an idempotency key, or an empty object.
  QJsonObject facturaPorClave(const QString& rfc, const QString& clave) const;

  // The business's tickets received within [desdeMs, hastaMs] (ms since the epoch) whose
  // record state is `estado`, in the order received: how many there are, and the entries
  // from index `inicial` on, at most `porPagina`.
  Pagina consultaEstado(const QString& rfc, qint64 desdeMs, qint64 hastaMs, int estado,
                        qint64 inicial, int porPagina) const;

  // Keeps the change. False with `error` when it could not be made durable; nothing of it is
  // kept then.
  bool aplica(const Cambio& cambio, QString* error);
  bool agrega(const QJsonObject& registro, QString* error) {
    return aplica({{registro}, {}, {}}, error);
  }
  // A new invoice and its tickets' new state and UUID, in one record.
  bool agregaFactura(const QJsonObject& factura, const QStringList& tickets, int estado,
                     QString* error);

  QString archivo() const { return uArchivo; }
  QString archivoDiario() const { return uDiario.archivo(); }

 private:
  struct Indice {
    qint64 recibidoMs;
    int estado;
  };
  static QString clave(const QString& rfc, qint64 ticketNo);
  void aplicaEnMemoria(const QJsonObject& registroDiario);
  void agregaTicket(const QJsonObject& registro);
  void agregaFacturaEnMemoria(const QJsonObject& factura);
  bool cargaFoto(QString* error);
  bool compacta(QString* error);
  QJsonObject entradaEstado(int posicion) const;

  QString uArchivo;
  DiarioJson uDiario;
  qint64 uSecuencia = 0;  // of the last change kept
  qint64 uTamanoFoto = 0;
  QList<QJsonObject> uTickets;
  QList<Indice> uIndices;  // beside uTickets
  QList<QJsonObject> uFacturas;
  QHash<QString, int> uPorIdentificador;
  QHash<QString, QString> uPorTicket;
  QHash<QString, QList<int>> uPorRfc;
  QHash<QString, qint64> uMayorTicketNo;
  QHash<QString, int> uPorUuid;
  QHash<QString, int> uPorClave;
};
