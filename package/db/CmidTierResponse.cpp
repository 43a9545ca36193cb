#include "CmidTierResponse.h"

#include <QDateTime>

#include "util/utilerias.h"

CmidTierResponse CmidTierResponse::fallo(const QString& error) {
  CmidTierResponse r;
  r.uOk = false;
  r.uError = error;
  return r;
}

void CmidTierResponse::setColumnas(const QStringList& columnas) {
  uColumnas = columnas;
  uIndice.clear();
  for (int i = 0; i < columnas.size(); ++i) {
    const QString k = columnas[i].toLower();
    if (!uIndice.contains(k)) uIndice.insert(k, i);
  }
}

void CmidTierResponse::agregaFila(const QVector<QVariant>& fila) { uFilas.push_back(fila); }

int CmidTierResponse::columna(const QString& alias) const {
  return uIndice.value(alias.toLower(), -1);
}

QString CmidTierResponse::texto(const QVariant& v) {
  if (!v.isValid() || v.isNull()) return QString();
  switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
      return u_floatToStr(v.toDouble());
    case QMetaType::QDateTime:
      return u_fechaHoraBD(v.toDateTime());
    case QMetaType::QDate:
      return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::Bool:
      return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QByteArray:
      return QString::fromLatin1(v.toByteArray());
    default:
      return v.toString();
  }
}

QVariant CmidTierResponse::valor(int columna, int fila) const {
  if (fila < 0 || fila >= uFilas.size()) return {};
  const auto& f = uFilas[fila];
  if (columna < 0 || columna >= f.size()) return {};
  return f[columna];
}

QVariant CmidTierResponse::valor(const QString& alias, int fila) const {
  return valor(columna(alias), fila);
}

QString CmidTierResponse::getCelda(int columna, int fila) const {
  return texto(valor(columna, fila));
}

QString CmidTierResponse::getCelda(const QString& alias, int fila) const {
  return texto(valor(alias, fila));
}

double CmidTierResponse::getCeldaAsFloat(int columna, int fila) const {
  const QVariant v = valor(columna, fila);
  if (v.typeId() == QMetaType::Double) return v.toDouble();
  return u_strToFloat(texto(v));
}

double CmidTierResponse::getCeldaAsFloat(const QString& alias, int fila) const {
  return getCeldaAsFloat(columna(alias), fila);
}

int CmidTierResponse::getCeldaAsInt(int columna, int fila) const {
  return u_strToInt(texto(valor(columna, fila)));
}

int CmidTierResponse::getCeldaAsInt(const QString& alias, int fila) const {
  return getCeldaAsInt(columna(alias), fila);
}
