#include "escritorCatalogo.h"

#include <QSet>

#include "catalogo/lectorJson.h"

TEscritorCatalogo::TEscritorCatalogo(TConexionSesion& conexion) : uConexion(conexion) {}

TmiddleTier& TEscritorCatalogo::sentencia(const char* sql) {
  auto& mt = uSentencias[sql];
  if (!mt) {
    mt = std::make_shared<TmiddleTier>(uConexion);
    mt->setReutilizaSentencia(true);
    mt->setQuery(QString::fromUtf8(sql));
  }
  return *mt;
}

void TEscritorCatalogo::inserta(TmiddleTier& mt, const QString& contexto) {
  const int n = mt.nonQuery();
  if (n < 0)
    u_errorImportacion(contexto +
                       QStringLiteral(": no se pudo guardar (%1)").arg(mt.ultimoError()));
  uRegistros += n;
}

QVariant TEscritorCatalogo::escalar(const QString& sql, const QVariantHash& parametros) {
  TmiddleTier mt(uConexion);
  mt.setQuery(sql);
  for (auto it = parametros.constBegin(); it != parametros.constEnd(); ++it)
    mt.setVariant(it.key(), it.value());
  const QVariant v = mt.scalar();
  if (!mt.ultimoError().isEmpty())
    u_errorImportacion(QStringLiteral("Error al consultar la base de datos: ") + mt.ultimoError());
  return v;
}

qint64& TEscritorCatalogo::ultimoId(const QString& tabla, const QString& columna) {
  const QString clave = tabla + QLatin1Char('.') + columna;
  auto it = uUltimos.find(clave);
  if (it == uUltimos.end()) {
    // Table and column names come from this code, never from the document.
    const qint64 maximo =
        escalar(QStringLiteral("SELECT COALESCE(MAX(%1), 0) FROM %2").arg(columna, tabla))
            .toLongLong();
    it = uUltimos.insert(clave, maximo);
  }
  return *it;
}

qint64 TEscritorCatalogo::siguienteId(const QString& tabla, const QString& columna) {
  return ++ultimoId(tabla, columna);
}

bool TEscritorCatalogo::existeId(const QString& tabla, const QString& columna, qint64 id) {
  return escalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = :id").arg(tabla, columna),
                 {{QStringLiteral("id"), QVariant::fromValue<qlonglong>(id)}})
             .toLongLong() > 0;
}

QVector<qint64> TEscritorCatalogo::preparaIds(const QString& tabla, const QString& columna,
                                              const QJsonArray& registros, const QString& seccion,
                                              bool permiteGuardados) {
  return preparaIds(
      tabla, columna, registros, [&](int i) { return u_contextoElemento(seccion, i); },
      permiteGuardados);
}

QVector<qint64> TEscritorCatalogo::preparaIds(const QString& tabla, const QString& columna,
                                              const QJsonArray& registros,
                                              const std::function<QString(int)>& contexto,
                                              bool permiteGuardados) {
  qint64& ultimo = ultimoId(tabla, columna);
  const qint64 guardado = ultimo;
  QVector<qint64> ids(registros.size(), 0);
  QHash<qint64, int> vistos;
  for (int i = 0; i < registros.size(); ++i) {
    TLectorRegistro r(registros[i], contexto(i));
    const auto id = r.id();
    if (!id) continue;
    if (vistos.contains(*id))
      r.falla(QStringLiteral("el id %1 se repite (ya lo tiene %2)")
                  .arg(*id)
                  .arg(contexto(vistos.value(*id))));
    vistos.insert(*id, i);
    if (!permiteGuardados && *id <= guardado && existeId(tabla, columna, *id))
      r.falla(QStringLiteral("el id %1 ya existe en la base de datos").arg(*id));
    ids[i] = *id;
    ultimo = std::max(ultimo, *id);
  }
  for (qint64& id : ids)
    if (id == 0) id = ++ultimo;
  return ids;
}

void TEscritorCatalogo::avanzaSecuencias() {
  if (!uConexion.esPostgres()) return;  // AUTOINCREMENT follows explicit ids by itself
  for (auto it = uUltimos.constBegin(); it != uUltimos.constEnd(); ++it) {
    const QString tabla = it.key().section(QLatin1Char('.'), 0, 0);
    const QString columna = it.key().section(QLatin1Char('.'), 1, 1);
    // The column argument of pg_get_serial_sequence is taken literally: unquoted names are
    // stored in lower case.
    escalar(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                           "COALESCE(MAX(%3), 0) + 1, false) FROM %1")
                .arg(tabla.toLower(), columna.toLower(), columna));
  }
}
