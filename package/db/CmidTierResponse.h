#pragma once
// Result table of a data operation: a success flag, a row count and cells addressed by column
// alias (case-insensitive, since PostgreSQL folds unquoted aliases to lower case) or position.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class CmidTierResponse {
 public:
  CmidTierResponse() = default;
  static CmidTierResponse fallo(const QString& error);

  bool getSuccess() const { return uOk; }
  bool ok() const { return uOk; }
  int getRowCount() const { return static_cast<int>(uFilas.size()); }
  int getColumnCount() const { return static_cast<int>(uColumnas.size()); }
  QString getError() const { return uError; }
  const QStringList& columnas() const { return uColumnas; }

  // Column position of an alias, -1 when the table has no such column.
  int columna(const QString& alias) const;
  bool tieneColumna(const QString& alias) const { return columna(alias) >= 0; }

  // Cell texts: numbers in their shortest text, date-times "yyyy-MM-dd HH:mm:ss", null empty.
  QString getCelda(const QString& alias, int fila = 0) const;
  QString getCelda(int columna, int fila) const;
  double getCeldaAsFloat(const QString& alias, int fila = 0) const;
  double getCeldaAsFloat(int columna, int fila) const;
  int getCeldaAsInt(const QString& alias, int fila = 0) const;
  int getCeldaAsInt(int columna, int fila) const;
  QVariant valor(const QString& alias, int fila = 0) const;
  QVariant valor(int columna, int fila) const;

  // Building (the middle tier and tests use these).
  void setColumnas(const QStringList& columnas);
  void agregaFila(const QVector<QVariant>& fila);
  void setOk(bool ok) { uOk = ok; }
  void setError(const QString& e) { uError = e; }

  static QString texto(const QVariant& v);

 private:
  bool uOk = false;
  QString uError;
  QStringList uColumnas;
  QHash<QString, int> uIndice;  // lower-cased alias -> first column of that name
  QVector<QVector<QVariant>> uFilas;
};
