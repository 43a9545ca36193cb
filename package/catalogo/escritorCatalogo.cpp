#include "escritorCatalogo.h"

#include <QRegularExpression>
#include <algorithm>

#include "catalogo/lectorJson.h"

TEscritorCatalogo::TEscritorCatalogo(TConexionSesion& conexion) : uConexion(conexion) {}

TmiddleTier& TEscritorCatalogo::sentencia(const char* sql) {
  auto& mt = uSentencias[sql];
  if (!mt) {
    QString texto = QString::fromUtf8(sql);
    static const QRegularExpression id(QStringLiteral("\\{ID (\\w+)\\.(\\w+)\\}"));
    for (auto m = id.match(texto); m.hasMatch(); m = id.match(texto)) {
      // pg_get_serial_sequence takes the names literally: unquoted names are stored in lower
      // case.
      texto.replace(
          m.capturedStart(), m.capturedLength(),
          uConexion.esPostgres()
              ? QStringLiteral("COALESCE(:id, nextval(pg_get_serial_sequence('%1', '%2')))")
                    .arg(m.captured(1).toLower(), m.captured(2).toLower())
              : QStringLiteral(":id"));
    }
    mt = std::make_shared<TmiddleTier>(uConexion);
    mt->setReutilizaSentencia(true);
    mt->setQuery(texto);
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

void TEscritorCatalogo::inserta(TmiddleTier& mt, const std::function<QString()>& contexto) {
  const int n = mt.nonQuery();
  if (n < 0)
    u_errorImportacion(contexto() +
                       QStringLiteral(": no se pudo guardar (%1)").arg(mt.ultimoError()));
  uRegistros += n;
}

qint64 TEscritorCatalogo::insertaConId(TmiddleTier& mt, const QString& contexto) {
  const QVariant id = mt.scalar();
  if (!mt.ultimoError().isEmpty() || !id.isValid())
    u_errorImportacion(contexto +
                       QStringLiteral(": no se pudo guardar (%1)").arg(mt.ultimoError()));
  ++uRegistros;
  return id.toLongLong();
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

bool TEscritorCatalogo::existeId(const QString& tabla, const QString& columna, qint64 id) {
  return escalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = :id").arg(tabla, columna),
                 {{QStringLiteral("id"), QVariant::fromValue<qlonglong>(id)}})
             .toLongLong() > 0;
}

void TEscritorCatalogo::reservaIds(const QString& tabla, const QString& columna,
                                   const QVector<QPair<int, qint64>>& ids,
                                   const std::function<QString(int)>& contexto,
                                   bool permiteGuardados) {
  if (ids.isEmpty()) return;
  // Sorted by id, a repeated id sits next to its twin.
  QVector<QPair<qint64, int>> orden;
  orden.reserve(ids.size());
  for (const auto& [indice, id] : ids) {
    if (id <= 0) continue;  // refused with its record when the record is read
    orden.push_back({id, indice});
  }
  std::sort(orden.begin(), orden.end());
  for (qsizetype i = 1; i < orden.size(); ++i)
    if (orden[i].first == orden[i - 1].first)
      u_errorImportacion(contexto(orden[i].second) +
                         QStringLiteral(": el id %1 se repite (ya lo tiene %2)")
                             .arg(orden[i].first)
                             .arg(contexto(orden[i - 1].second)));
  if (orden.isEmpty()) return;
  // Table and column names come from this code, never from the document.
  const qint64 guardado =
      escalar(QStringLiteral("SELECT COALESCE(MAX(%1), 0) FROM %2").arg(columna, tabla))
          .toLongLong();
  if (!permiteGuardados) {
    for (const auto& [id, indice] : orden) {
      if (id > guardado) break;
      if (existeId(tabla, columna, id))
        u_errorImportacion(contexto(indice) +
                           QStringLiteral(": el id %1 ya existe en la base de datos").arg(id));
    }
  }
  const qint64 mayor = orden.last().first;
  const QVariantHash p{{QStringLiteral("t"), tabla},
                       {QStringLiteral("m"), QVariant::fromValue<qlonglong>(mayor)}};
  if (uConexion.esPostgres()) {
    const QString secuencia =
        escalar(QStringLiteral("SELECT pg_get_serial_sequence(:t, :c)"),
                {{QStringLiteral("t"), tabla.toLower()}, {QStringLiteral("c"), columna.toLower()}})
            .toString();
    // Only forwards: another writer may already have taken ids past it.
    escalar(QStringLiteral("SELECT setval(CAST(:s AS regclass), :m) WHERE :m > "
                           "COALESCE(pg_sequence_last_value(CAST(:s AS regclass)), 0)"),
            {{QStringLiteral("s"), secuencia},
             {QStringLiteral("m"), QVariant::fromValue<qlonglong>(mayor)}});
  } else {
    // AUTOINCREMENT continues after the larger of sqlite_sequence and the largest stored id.
    escalar(QStringLiteral("UPDATE sqlite_sequence SET seq = :m WHERE name = :t AND seq < :m"), p);
    escalar(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT :t, :m WHERE NOT "
                           "EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = :t)"),
            p);
  }
}

void TEscritorCatalogo::bloquea(ClaseBloqueo clase, const QString& nombre) {
  if (!uConexion.esPostgres()) return;
  escalar(
      QStringLiteral("SELECT pg_advisory_xact_lock(CAST(:clase AS integer), hashtext(:nombre))"),
      {{QStringLiteral("clase"), static_cast<int>(clase)}, {QStringLiteral("nombre"), nombre}});
}
