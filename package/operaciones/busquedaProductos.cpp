#include "busquedaProductos.h"

#include <QMap>
#include <QMutex>
#include <QSet>
#include <algorithm>
#include <atomic>
#include <limits>

#include "db/TmiddleTier.h"
#include "util/Log.h"

namespace {

constexpr qint64 kRangoNegocio = qint64(1) << 40;
// Names walked in rank order before the GIN index is asked for the rest: a common piece finds
// its rows long before this, a rare one is cheaper through the index.
constexpr int kTramoOrdenado = 8192;
// A piece carried by fewer products than this goes straight to the GIN index, unless its
// stretch is short enough to walk whole.
constexpr int kPiezaRara = 4000;
// A stretch of at most this many tramos is walked in rank order to its end: matches crowd
// there (a kind of product followed by a brand), and walking them costs less than asking the
// index for all the candidates.
constexpr int kTramosRecorribles = 8;
std::atomic<int> gTramoOrdenado{kTramoOrdenado};
std::atomic<int> gPiezaRara{kPiezaRara};

bool ejecuta(TmiddleTier& mt, QString* error) {
  if (mt.nonQuery() >= 0) return true;
  *error = mt.ultimoError();
  return false;
}

QString reconstruyeSqlite(TConexionSesion& conexion, qint64 idNegocio) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'productoBusqueda'"));
  if (mt.scalar().toInt() == 0) return QString();  // SQLite without FTS5: names are scanned
  QString error;
  const qint64 base = idNegocio * kRangoNegocio;
  mt.setQuery(QStringLiteral("DELETE FROM productoBusqueda WHERE rowid BETWEEN :desde AND :hasta"));
  mt.setInteger(QStringLiteral("desde"), base);
  mt.setInteger(QStringLiteral("hasta"), base + kRangoNegocio - 1);
  if (!ejecuta(mt, &error)) return error;
  mt.setQuery(QStringLiteral(
      "INSERT INTO productoBusqueda (rowid, nombreBusqueda, inventarioProducto_id) SELECT :base + "
      "ROW_NUMBER() OVER (ORDER BY nombreBusqueda, id), nombreBusqueda, id FROM "
      "inventarioProducto WHERE idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("base"), base);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (!ejecuta(mt, &error)) return error;
  mt.setQuery(QStringLiteral(
      "INSERT OR REPLACE INTO productoBusquedaVigente (idNegocioFk, productos) SELECT :negocio, "
      "COUNT(*) FROM inventarioProducto WHERE idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  ejecuta(mt, &error);
  return error;
}

QString reconstruyePostgres(TConexionSesion& conexion, qint64 idNegocio) {
  TmiddleTier mt(conexion);
  QString error;
  const char* const sentencias[] = {
      "DELETE FROM productoBusqueda WHERE idNegocioFk = :negocio",
      "INSERT INTO productoBusqueda (idNegocioFk, orden, inventarioProducto_id, nombreBusqueda) "
      "SELECT :negocio, ROW_NUMBER() OVER (ORDER BY nombreBusqueda, id), id, nombreBusqueda FROM "
      "inventarioProducto WHERE idNegocioFk = :negocio",
      "DELETE FROM productoBusquedaTrigrama WHERE idNegocioFk = :negocio",
      // Counted per occurrence: a name that carries a piece twice counts twice, which keeps the
      // count an upper bound of the products that carry it.
      "INSERT INTO productoBusquedaTrigrama (idNegocioFk, trigrama, productos, primero, ultimo) "
      "SELECT :negocio, substr(nombreBusqueda, i, 3), COUNT(*), MIN(orden), MAX(orden) FROM "
      "productoBusqueda, generate_series(1, length(nombreBusqueda) - 2) AS i WHERE idNegocioFk = "
      ":negocio GROUP BY substr(nombreBusqueda, i, 3)",
      "INSERT INTO productoBusquedaVigente (idNegocioFk, productos) SELECT :negocio, COUNT(*) FROM "
      "inventarioProducto WHERE idNegocioFk = :negocio ON CONFLICT (idNegocioFk) DO UPDATE SET "
      "productos = EXCLUDED.productos"};
  for (const char* sql : sentencias) {
    mt.setQuery(QString::fromUtf8(sql));
    mt.setInteger(QStringLiteral("negocio"), idNegocio);
    if (!ejecuta(mt, &error)) return error;
  }
  // The planner needs to know the table it just got.
  mt.setQuery(QStringLiteral("ANALYZE productoBusqueda"));
  ejecuta(mt, &error);
  return error;
}

// The LIKE pattern's literal runs (PostgreSQL's LIKE: "%" and "_" are wildcards, "\" escapes),
// cut into their three-character pieces. Empty when a run holds characters outside the
// 16-bit plane, where PostgreSQL and QString count characters differently.
std::optional<QSet<QString>> piezas(const QString& patron) {
  QSet<QString> out;
  QString tramo;
  auto cierra = [&] {
    for (qsizetype i = 0; i + 3 <= tramo.size(); ++i) out.insert(tramo.mid(i, 3));
    tramo.clear();
  };
  for (qsizetype i = 0; i < patron.size(); ++i) {
    const QChar c = patron[i];
    if (c.isSurrogate()) return std::nullopt;
    if (c == QLatin1Char('%') || c == QLatin1Char('_')) {
      cierra();
    } else if (c == QLatin1Char('\\') && i + 1 < patron.size()) {
      tramo += patron[++i];
    } else {
      tramo += c;
    }
  }
  cierra();
  return out;
}

void agregaFilas(CmidTierResponse& destino, const CmidTierResponse& origen) {
  for (int f = 0; f < origen.getRowCount(); ++f) {
    QVector<QVariant> fila(origen.getColumnCount());
    for (int c = 0; c < origen.getColumnCount(); ++c) fila[c] = origen.valor(c, f);
    destino.agregaFila(fila);
  }
}

// `pedazos`: the pattern's three-character pieces (at least one).
CmidTierResponse buscaPostgres(const QString& columnas, const QString& uniones,
                               const QString& patron, const QSet<QString>& pedazos,
                               bool soloActivos, int idNegocio, int limite,
                               TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  QStringList nombres;
  for (int i = 0; i < pedazos.size(); ++i) nombres << QStringLiteral(":t%1").arg(i);
  mt.setQuery(QStringLiteral("SELECT trigrama, productos, primero, ultimo FROM "
                             "productoBusquedaTrigrama WHERE idNegocioFk = :negocio AND "
                             "trigrama IN (%1)")
                  .arg(nombres.join(QStringLiteral(", "))));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  int i = 0;
  for (const QString& t : pedazos) mt.setString(QStringLiteral("t%1").arg(i++), t);
  const CmidTierResponse estadistica = mt.reader();
  if (!estadistica.ok()) return estadistica;
  // Matches lie where every piece occurs; a piece no name carries leaves the stretch empty.
  qint64 desde = 1, hasta = 0, productos = 0;
  QMultiMap<qint64, QString> porRareza;  // pieces the GIN index can look up, rarest first
  if (estadistica.getRowCount() == pedazos.size()) {
    desde = 0;
    hasta = productos = std::numeric_limits<qint64>::max();
    for (int f = 0; f < estadistica.getRowCount(); ++f) {
      const QString pieza = estadistica.getCelda(QStringLiteral("trigrama"), f);
      const qint64 cuantos = estadistica.valor(QStringLiteral("productos"), f).toLongLong();
      desde = std::max(desde, estadistica.valor(QStringLiteral("primero"), f).toLongLong());
      hasta = std::min(hasta, estadistica.valor(QStringLiteral("ultimo"), f).toLongLong());
      productos = std::min(productos, cuantos);
      // pg_trgm takes a piece whole only when it is letters, digits and blanks.
      if (std::all_of(pieza.begin(), pieza.end(),
                      [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char(' '); }))
        porRareza.insert(cuantos, pieza);
    }
  }
  // The GIN index is asked for the two rarest pieces (every posting it reads costs), the whole
  // pattern is checked on what it answers.
  QStringList buscadas;
  for (const QString& pieza : porRareza) {
    if (buscadas.size() == 2) break;
    buscadas << QStringLiteral("%") + QString(pieza).replace(QLatin1Char(' '), QChar(0xF1)) +
                    QStringLiteral("%");
  }
  if (buscadas.isEmpty()) buscadas << QString(patron).replace(QLatin1Char(' '), QChar(0xF1));
  const QString activos =
      QStringLiteral("(:activos = 0 OR inventarioProducto.inventarioProductoEstado_id = 1)");
  auto enlaza = [&](qint64 inicio, int cuantos) {
    mt.setInteger(QStringLiteral("negocio"), idNegocio);
    mt.setInteger(QStringLiteral("desde"), inicio);
    mt.setInteger(QStringLiteral("hasta"), hasta);
    mt.setString(QStringLiteral("patron"), patron);
    mt.setInteger(QStringLiteral("activos"), soloActivos ? 1 : 0);
    mt.setInteger(QStringLiteral("limite"), cuantos);
  };
  CmidTierResponse r;
  const int tramo = gTramoOrdenado;
  const qint64 recorrible = qint64(kTramosRecorribles) * tramo;
  // How many tramos to walk before the index takes over.
  qint64 tramos = hasta - desde < recorrible ? (recorrible + tramo - 1) / tramo : 1;
  if (productos < gPiezaRara && hasta - desde >= recorrible) tramos = 0;
  if (tramos > 0) {
    // Names in rank order. COALESCE keeps the planner off the GIN index here: it would read
    // every posting of the pieces to serve a few thousand names.
    mt.setQuery(
        QStringLiteral("SELECT ") + columnas +
        QStringLiteral("FROM (SELECT inventarioProducto_id, orden, nombreBusqueda FROM "
                       "productoBusqueda WHERE idNegocioFk = :negocio AND orden BETWEEN :desde AND "
                       ":hasta ORDER BY orden LIMIT %1) b JOIN inventarioProducto ON "
                       "inventarioProducto.id = b.inventarioProducto_id ")
            .arg(tramo) +
        uniones + QStringLiteral("WHERE COALESCE(b.nombreBusqueda, '') LIKE :patron AND ") +
        activos + QStringLiteral(" ORDER BY b.orden LIMIT :limite"));
    for (; tramos > 0; --tramos) {
      enlaza(desde, limite - r.getRowCount());
      const CmidTierResponse parte = mt.reader();
      if (!parte.ok()) return parte;
      if (r.getColumnCount() == 0)
        r = parte;
      else
        agregaFilas(r, parte);
      if (r.getRowCount() >= limite || hasta - desde < tramo) return r;
      desde += tramo;
    }
  }
  // The rest of the stretch through the GIN index. Only the index's conditions inside: whatever
  // plan the prepared statement settles on, it is the GIN index's.
  QStringList condiciones;
  for (int k = 0; k < buscadas.size(); ++k)
    condiciones << QStringLiteral("translate(nombreBusqueda, ' ', 'ñ') LIKE :gin%1").arg(k);
  mt.setQuery(QStringLiteral("WITH c AS MATERIALIZED (SELECT inventarioProducto_id, orden, "
                             "nombreBusqueda FROM productoBusqueda WHERE idNegocioFk = :negocio "
                             "AND ") +
              condiciones.join(QStringLiteral(" AND ")) + QStringLiteral(") SELECT ") + columnas +
              QStringLiteral("FROM c JOIN inventarioProducto ON inventarioProducto.id = "
                             "c.inventarioProducto_id ") +
              uniones +
              QStringLiteral("WHERE c.orden BETWEEN :desde AND :hasta AND c.nombreBusqueda LIKE "
                             ":patron AND ") +
              activos + QStringLiteral(" ORDER BY c.orden LIMIT :limite"));
  for (int k = 0; k < buscadas.size(); ++k)
    mt.setString(QStringLiteral("gin%1").arg(k), buscadas[k]);
  enlaza(desde, limite - r.getRowCount());
  const CmidTierResponse resto = mt.reader();
  if (!resto.ok() || r.getColumnCount() == 0) return resto;
  agregaFilas(r, resto);
  return r;
}

CmidTierResponse buscaSqlite(const QString& columnas, const QString& uniones, const QString& patron,
                             bool soloActivos, int idNegocio, int limite,
                             TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("SELECT ") + columnas +
              QStringLiteral("FROM productoBusqueda JOIN inventarioProducto ON "
                             "inventarioProducto.id = productoBusqueda.inventarioProducto_id ") +
              uniones +
              QStringLiteral("WHERE productoBusqueda.nombreBusqueda LIKE :patron AND "
                             "productoBusqueda.rowid BETWEEN :desde AND :hasta AND (:activos = 0 "
                             "OR inventarioProducto.inventarioProductoEstado_id = 1) ORDER BY "
                             "productoBusqueda.rowid LIMIT :limite"));
  mt.setString(QStringLiteral("patron"), patron);
  mt.setInteger(QStringLiteral("desde"), idNegocio * kRangoNegocio);
  mt.setInteger(QStringLiteral("hasta"), (idNegocio + 1) * kRangoNegocio - 1);
  mt.setInteger(QStringLiteral("activos"), soloActivos ? 1 : 0);
  mt.setInteger(QStringLiteral("limite"), limite);
  return mt.reader();
}

// One log line per business and process when its names are scanned for want of an index.
void anotaSinIndice(TConexionSesion& conexion, int idNegocio) {
  static QMutex m;
  static QSet<QString> avisados;
  const QString clave = conexion.getDatabase() + QLatin1Char('#') + QString::number(idNegocio);
  QMutexLocker l(&m);
  if (avisados.contains(clave)) return;
  avisados.insert(clave);
  Log::escribe(QStringLiteral("busqueda"),
               QStringLiteral("El negocio %1 no tiene índice de búsqueda por nombre al día: se "
                              "recorren los nombres (se reconstruye al importar su catálogo)")
                   .arg(idNegocio));
}

}  // namespace

QString u_reconstruyeBusquedaProductos(TConexionSesion& conexion, qint64 idNegocio) {
  return conexion.esPostgres() ? reconstruyePostgres(conexion, idNegocio)
                               : reconstruyeSqlite(conexion, idNegocio);
}

std::optional<CmidTierResponse> u_buscaNombreIndexado(const QString& columnas,
                                                      const QString& uniones, const QString& patron,
                                                      bool soloActivos, int idNegocio, int limite,
                                                      TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral("SELECT COUNT(*) FROM productoBusquedaVigente WHERE idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (mt.scalar().toInt() == 0) {
    anotaSinIndice(conexion, idNegocio);
    return std::nullopt;
  }
  if (!conexion.esPostgres())
    return buscaSqlite(columnas, uniones, patron, soloActivos, idNegocio, limite, conexion);
  // Without a piece of three characters the index has nothing to go by: the names are scanned.
  const auto pedazos = piezas(patron);
  if (!pedazos || pedazos->isEmpty()) return std::nullopt;
  return buscaPostgres(columnas, uniones, patron, *pedazos, soloActivos, idNegocio, limite,
                       conexion);
}

void u_ajustaBusquedaNombre(int tramoOrdenado, int piezaRara) {
  gTramoOrdenado = tramoOrdenado > 0 ? tramoOrdenado : kTramoOrdenado;
  gPiezaRara = piezaRara > 0 ? piezaRara : kPiezaRara;
}
