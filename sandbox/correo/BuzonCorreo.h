#pragma once
// Where the mail sink keeps what it receives: each message as the client sent it (dot-stuffing
// undone, lines ending in CRLF) in <datos>/mensajes/<id>.eml, and one summary per message
// appended to the index <datos>/indice.jsonl. Numbering goes on after a restart.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include "DiarioJson.h"

class BuzonCorreo {
 public:
  struct Sobre {
    QString remitente;
    QStringList destinatarios;
    QString saludo;   // the name given in EHLO/HELO
    QString usuario;  // who authenticated, empty when nobody did
  };

  bool abre(const QString& carpeta, QString* error);
  // Stores a message; its summary, or an empty object with `error` when it could not be kept.
  QJsonObject guarda(const Sobre& sobre, const QByteArray& crudo, QString* error);
  QJsonArray resumenes() const;
  QJsonObject resumen(qint64 id) const;
  // The stored bytes; empty when the message is unknown.
  QByteArray crudo(qint64 id) const;
  // Deletes every message; answers how many there were.
  qsizetype borraTodo(QString* error);

 private:
  QString uCarpeta;
  DiarioJson uIndice;
  QList<QJsonObject> uResumenes;
  qint64 uSiguiente = 1;
};
