#pragma once
// SQL shortcuts for tests: a statement that must succeed, one value, and a result's rows as
// "a|b|c" texts so a whole table is compared in one assertion.

#include <QStringList>
#include <QVariantMap>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"

// Fails the test (naming the statement) when the statement fails.
void sqlEjecuta(TConexionSesion& c, const QString& sql, const QVariantMap& p = {});
QVariant sqlValor(TConexionSesion& c, const QString& sql, const QVariantMap& p = {});
CmidTierResponse sqlLee(TConexionSesion& c, const QString& sql, const QVariantMap& p = {});
// Each row as the cells of `alias` (every column when empty) joined by "|"; sorted unless
// `ordenadas` is false, since most statements have no ORDER BY.
QStringList sqlFilas(const CmidTierResponse& r, QStringList alias = {}, bool ordenadas = true);
