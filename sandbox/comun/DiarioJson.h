#pragma once
// An append-only journal of JSON records, one compact object per line, each batch made
// durable (fsync) before it counts. Appending costs the same however long the journal is.
// A crash can only tear the tail: at opening, trailing lines that are incomplete or unreadable
// are dropped and cut off, while an unreadable line followed by good ones means the file was
// damaged otherwise and the journal refuses to open.

#include <QJsonObject>
#include <QList>
#include <QString>

class DiarioJson {
 public:
  // Reads every complete record of `archivo` (none when it does not exist) into `registros`.
  bool abre(const QString& archivo, QList<QJsonObject>* registros, QString* error);
  // Appends the records in one write and waits until they are on disk. When it fails nothing
  // of them stays in the file; if even that cannot be ensured the journal refuses every
  // later append until it is opened again.
  bool agrega(const QList<QJsonObject>& registros, QString* error);
  // Empties the journal (after its records went into a snapshot).
  bool vacia(QString* error);
  qint64 tamano() const { return uTamano; }
  const QString& archivo() const { return uArchivo; }

 private:
  QString uArchivo;
  qint64 uTamano = 0;
  bool uRoto = false;
};

// Makes a file's directory entry durable after it was created or renamed.
void sincronizaCarpeta(const QString& carpeta);
