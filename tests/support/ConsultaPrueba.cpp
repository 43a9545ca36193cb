#include "support/ConsultaPrueba.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "db/TmiddleTier.h"

namespace {
void prepara(TmiddleTier& mt, const QString& sql, const QVariantMap& p) {
  mt.setQuery(sql);
  for (auto it = p.begin(); it != p.end(); ++it) mt.setVariant(it.key(), it.value());
}
}  // namespace

void sqlEjecuta(TConexionSesion& c, const QString& sql, const QVariantMap& p) {
  TmiddleTier mt(c);
  prepara(mt, sql, p);
  EXPECT_GE(mt.nonQuery(), 0) << mt.ultimoError().toStdString() << "\n" << sql.toStdString();
}

QVariant sqlValor(TConexionSesion& c, const QString& sql, const QVariantMap& p) {
  TmiddleTier mt(c);
  prepara(mt, sql, p);
  const QVariant v = mt.scalar();
  EXPECT_TRUE(mt.ultimoError().isEmpty()) << mt.ultimoError().toStdString() << "\n"
                                          << sql.toStdString();
  return v;
}

CmidTierResponse sqlLee(TConexionSesion& c, const QString& sql, const QVariantMap& p) {
  TmiddleTier mt(c);
  prepara(mt, sql, p);
  const CmidTierResponse r = mt.reader();
  EXPECT_TRUE(r.ok()) << r.getError().toStdString() << "\n" << sql.toStdString();
  return r;
}

QStringList sqlFilas(const CmidTierResponse& r, QStringList alias, bool ordenadas) {
  EXPECT_TRUE(r.ok()) << r.getError().toStdString();
  if (alias.isEmpty()) alias = r.columnas();
  QStringList lista;
  for (int i = 0; i < r.getRowCount(); ++i) {
    QStringList celdas;
    for (const QString& a : alias) celdas << r.getCelda(a, i);
    lista << celdas.join(QLatin1Char('|'));
  }
  if (ordenadas) std::sort(lista.begin(), lista.end());
  return lista;
}
