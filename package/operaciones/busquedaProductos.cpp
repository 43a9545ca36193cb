#include "busquedaProductos.h"

#include <QBitArray>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <atomic>
#include <functional>
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

// ASCII letters to lower case, the only ones SQLite's LIKE folds.
QString minusculasAscii(QString texto) {
  for (QChar& c : texto)
    if (c.unicode() >= 'A' && c.unicode() <= 'Z') c = QChar(c.unicode() + 32);
  return texto;
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
  // The pieces counted here rather than in SQL: SQLite groups by sorting, which at a million
  // names is tens of seconds against about one here.
  struct Cuenta {
    qint64 productos = 0, primero = 0, ultimo = 0;
  };
  QHash<QString, Cuenta> cuentas;
  {
    // Read as a stream: a million names need not be held at once.
    QSqlQuery q(conexion.baseDatos());
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT rowid, nombreBusqueda FROM productoBusqueda WHERE rowid "
                       "BETWEEN ? AND ?"));
    q.addBindValue(base);
    q.addBindValue(base + kRangoNegocio - 1);
    if (!q.exec()) return q.lastError().text();
    while (q.next()) {
      const qint64 fila = q.value(0).toLongLong();
      const QString nombre = minusculasAscii(q.value(1).toString());
      for (qsizetype i = 0; i + 3 <= nombre.size(); ++i) {
        Cuenta& c = cuentas[nombre.mid(i, 3)];
        if (c.productos++ == 0) c.primero = fila;
        c.ultimo = fila;
      }
    }
  }
  mt.setQuery(QStringLiteral("DELETE FROM productoBusquedaTrigrama WHERE idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (!ejecuta(mt, &error)) return error;
  mt.setQuery(
      QStringLiteral("INSERT INTO productoBusquedaTrigrama (idNegocioFk, trigrama, "
                     "productos, primero, ultimo) VALUES (:negocio, :t, :n, :p, :u)"));
  mt.setReutilizaSentencia(true);
  for (auto it = cuentas.cbegin(); it != cuentas.cend(); ++it) {
    mt.setInteger(QStringLiteral("negocio"), idNegocio);
    mt.setString(QStringLiteral("t"), it.key());
    mt.setInteger(QStringLiteral("n"), it->productos);
    mt.setInteger(QStringLiteral("p"), it->primero);
    mt.setInteger(QStringLiteral("u"), it->ultimo);
    if (!ejecuta(mt, &error)) return error;
  }
  mt.setReutilizaSentencia(false);
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
      // Blocks as the migration that brought them cuts them: 4096 equal shares of the ranks.
      "INSERT INTO productoBusquedaTrigrama (idNegocioFk, trigrama, productos, primero, ultimo, "
      "bloques) SELECT :negocio, trigrama, SUM(n), MIN(p), MAX(u), bit_or(B'1'::bit(4096) >> "
      "bloque) FROM (SELECT substr(nombreBusqueda, i, 3) AS trigrama, ((orden - 1)::bigint * "
      "4096 / (SELECT COUNT(*) FROM productoBusqueda WHERE idNegocioFk = :negocio))::int AS "
      "bloque, COUNT(*) AS n, MIN(orden) AS p, MAX(orden) AS u FROM productoBusqueda, "
      "generate_series(1, length(nombreBusqueda) - 2) AS i WHERE idNegocioFk = :negocio GROUP BY "
      "1, 2) g GROUP BY trigrama",
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

// A three-character piece of a pattern and where it starts among the pattern's literal
// characters (pieces of different runs never lie next to each other).
struct Pieza {
  QString texto;
  int posicion = 0;
};

// The LIKE pattern's literal runs ("%" and "_" are wildcards; with `escape`, "\" escapes the next
// character, as in PostgreSQL's LIKE), cut into their three-character pieces. Nothing when a run
// holds characters outside the 16-bit plane, where the engines and QString count characters
// differently.
std::optional<QList<Pieza>> piezas(const QString& patron, bool escape) {
  QList<Pieza> out;
  QString tramo;
  int posicion = 0;
  auto cierra = [&] {
    for (qsizetype i = 0; i + 3 <= tramo.size(); ++i)
      out.append({tramo.mid(i, 3), posicion + int(i)});
    posicion += int(tramo.size()) + 3;
    tramo.clear();
  };
  for (qsizetype i = 0; i < patron.size(); ++i) {
    const QChar c = patron[i];
    if (c.isSurrogate()) return std::nullopt;
    if (c == QLatin1Char('%') || c == QLatin1Char('_')) {
      cierra();
    } else if (escape && c == QLatin1Char('\\') && i + 1 < patron.size()) {
      tramo += patron[++i];
    } else {
      tramo += c;
    }
  }
  cierra();
  return out;
}

// What the index knows of a pattern's pieces in one business.
struct Estadistica {
  CmidTierResponse error;       // set when the query failed
  bool todas = false;           // every piece occurs somewhere
  qint64 desde = 0, hasta = 0;  // where all of them can occur (rowid or rank)
  QHash<QString, qint64> cuentas;
  QBitArray bloques;  // PostgreSQL: the blocks where all of them occur
};

Estadistica leeEstadistica(TmiddleTier& mt, int idNegocio, const QList<Pieza>& pedazos,
                           bool conBloques) {
  QSet<QString> distintas;
  for (const Pieza& p : pedazos) distintas.insert(p.texto);
  QStringList nombres;
  for (int i = 0; i < distintas.size(); ++i) nombres << QStringLiteral(":t%1").arg(i);
  mt.setQuery(
      QStringLiteral("SELECT trigrama, productos, primero, ultimo%1 FROM "
                     "productoBusquedaTrigrama WHERE idNegocioFk = :negocio AND "
                     "trigrama IN (%2)")
          .arg(conBloques ? QStringLiteral(", CAST(bloques AS TEXT) AS bloques") : QString(),
               nombres.join(QStringLiteral(", "))));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  int i = 0;
  for (const QString& t : distintas) mt.setString(QStringLiteral("t%1").arg(i++), t);
  const CmidTierResponse r = mt.reader();
  Estadistica e;
  if (!r.ok()) {
    e.error = r;
    return e;
  }
  e.todas = r.getRowCount() == distintas.size();
  e.desde = 0;
  e.hasta = std::numeric_limits<qint64>::max();
  for (int f = 0; f < r.getRowCount(); ++f) {
    e.cuentas.insert(r.getCelda(QStringLiteral("trigrama"), f),
                     r.valor(QStringLiteral("productos"), f).toLongLong());
    e.desde = std::max(e.desde, r.valor(QStringLiteral("primero"), f).toLongLong());
    e.hasta = std::min(e.hasta, r.valor(QStringLiteral("ultimo"), f).toLongLong());
    if (!conBloques) continue;
    const QString bits = r.getCelda(QStringLiteral("bloques"), f);
    QBitArray b(bits.size());
    for (qsizetype k = 0; k < bits.size(); ++k) b.setBit(k, bits[k] == QLatin1Char('1'));
    e.bloques = f == 0 ? b : (e.bloques.size() == b.size() ? e.bloques & b : QBitArray());
  }
  return e;
}

// Up to `cuantas` pieces for the index: the rarest of each of as many stretches of the pattern,
// none next to another taken. The pieces of one word say nearly the same thing ("pil", "ila"
// and "las" narrow no more than "pil"), while pieces of different words narrow each other.
QStringList rarasSeparadas(const QList<Pieza>& pedazos, const QHash<QString, qint64>& cuentas,
                           int cuantas, const std::function<bool(const QString&)>& admitida) {
  QList<Pieza> orden;
  for (const Pieza& p : pedazos)
    if (!admitida || admitida(p.texto)) orden << p;
  if (orden.isEmpty()) return {};
  std::stable_sort(orden.begin(), orden.end(), [&](const Pieza& a, const Pieza& b) {
    return cuentas.value(a.texto) < cuentas.value(b.texto);
  });
  int primera = orden.first().posicion, ultima = primera;
  for (const Pieza& p : orden) {
    primera = std::min(primera, p.posicion);
    ultima = std::max(ultima, p.posicion);
  }
  const int largo = ultima - primera + 1;
  QStringList textos;
  QList<int> posiciones;
  auto toma = [&](const Pieza& p) {
    if (textos.contains(p.texto)) return false;
    for (int q : posiciones)
      if (std::abs(q - p.posicion) < 3) return false;
    textos << p.texto;
    posiciones << p.posicion;
    return true;
  };
  for (int parte = 0; parte < cuantas; ++parte)
    for (const Pieza& p : orden)
      if ((p.posicion - primera) * cuantas / largo == parte && toma(p)) break;
  for (const Pieza& p : orden) {
    if (textos.size() >= cuantas) break;
    toma(p);
  }
  return textos;
}

void agregaFilas(CmidTierResponse& destino, const CmidTierResponse& origen) {
  for (int f = 0; f < origen.getRowCount(); ++f) {
    QVector<QVariant> fila(origen.getColumnCount());
    for (int c = 0; c < origen.getColumnCount(); ++c) fila[c] = origen.valor(c, f);
    destino.agregaFila(fila);
  }
}

// `pedazos`: the pattern's three-character pieces (at least one); `productos`: the business's
// products when its index was built (the blocks are shares of it).
CmidTierResponse buscaPostgres(const QString& columnas, const QString& uniones,
                               const QString& patron, const QList<Pieza>& pedazos, bool soloActivos,
                               int idNegocio, qint64 productos, int limite,
                               TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  const Estadistica e = leeEstadistica(mt, idNegocio, pedazos, true);
  if (!e.error.getError().isEmpty()) return e.error;
  // The stretches of ranks the blocks left cover, in order; none when a piece occurs nowhere.
  QList<QPair<qint64, qint64>> tramosRango;
  qint64 filas = 0;
  if (e.todas && (e.bloques.isEmpty() || productos <= 0)) {
    tramosRango.append({e.desde, e.hasta});  // no blocks to go by: the whole stretch
    filas = e.hasta - e.desde + 1;
  } else if (e.todas) {
    const qint64 nBloques = e.bloques.size();
    auto inicio = [&](qint64 b) { return (b * productos + nBloques - 1) / nBloques + 1; };
    for (qint64 b = 0; b < nBloques; ++b) {
      if (!e.bloques.testBit(b)) continue;
      const qint64 a = std::max(inicio(b), e.desde), z = std::min(inicio(b + 1) - 1, e.hasta);
      if (a > z) continue;
      if (!tramosRango.isEmpty() && tramosRango.last().second + 1 == a)
        tramosRango.last().second = z;
      else
        tramosRango.append({a, z});
      filas += z - a + 1;
    }
  }
  // pg_trgm takes a piece whole only when it is letters, digits and blanks.
  const QStringList buscadas = rarasSeparadas(pedazos, e.cuentas, 3, [](const QString& pieza) {
    return std::all_of(pieza.begin(), pieza.end(),
                       [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char(' '); });
  });
  // The GIN index hands over at most as many names as its rarest piece has.
  qint64 candidatos = std::numeric_limits<qint64>::max();
  for (const QString& b : buscadas) candidatos = std::min(candidatos, e.cuentas.value(b));
  const int tramo = gTramoOrdenado;
  const qint64 recorrible = qint64(kTramosRecorribles) * tramo;
  const bool indiceAntes = !buscadas.isEmpty() && candidatos < gPiezaRara && filas > tramo;
  // Every match lies in the blocks left and carries the rarest piece: the first batch is
  // about what finds n matches were they that dense, and each next one is twice the last, so
  // a common pattern reads little more than it shows and a rare one reaches a tramo soon.
  qint64 porLote = std::min<qint64>(
      std::max<qint64>(2 * limite * filas / std::max<qint64>(1, std::min(candidatos, filas)), 64),
      tramo);

  const QString activos =
      QStringLiteral("(:activos = 0 OR inventarioProducto.inventarioProductoEstado_id = 1)");
  CmidTierResponse r;
  qint64 siguiente = e.desde;  // the first rank the walk left to the index
  int k = 0;
  qint64 recorridas = 0;
  if (!indiceAntes) {
    // The names of the blocks left, in rank order, a tramo at a time: the matching ranks are
    // sorted before the products are joined, so only the first n are looked up (whether a
    // product is active is read with it and checked here). OFFSET 0 keeps each stretch an
    // index scan of its own; COALESCE keeps the planner off the GIN index.
    mt.setQuery(QStringLiteral("SELECT ") + columnas +
                QStringLiteral(", b.orden AS busqueda_orden, "
                               "inventarioProducto.inventarioProductoEstado_id AS busqueda_estado "
                               "FROM (SELECT p.inventarioProducto_id, p.orden FROM unnest(CAST("
                               ":desdes AS bigint[]), CAST(:hastas AS bigint[])) AS r(desde, "
                               "hasta) CROSS JOIN LATERAL (SELECT inventarioProducto_id, orden "
                               "FROM productoBusqueda WHERE idNegocioFk = :negocio AND orden "
                               "BETWEEN r.desde AND r.hasta AND COALESCE(nombreBusqueda, '') "
                               "LIKE :patron OFFSET 0) p ORDER BY p.orden LIMIT :limite) b JOIN "
                               "inventarioProducto ON inventarioProducto.id = "
                               "b.inventarioProducto_id ") +
                uniones + QStringLiteral("ORDER BY b.orden"));
    do {
      QList<QPair<qint64, qint64>> lote;
      qint64 enTramo = 0;
      while (k < tramosRango.size() && enTramo < porLote) {
        auto [a, z] = tramosRango[k];
        if (enTramo + (z - a + 1) > porLote) {  // a long stretch goes a batch at a time
          z = a + (porLote - enTramo) - 1;
          tramosRango[k].first = z + 1;
        } else {
          ++k;
        }
        lote.append({a, z});
        enTramo += z - a + 1;
        siguiente = z + 1;
      }
      recorridas += enTramo;
      porLote = std::min<qint64>(2 * porLote, tramo);
      // Again from after the last rank read while inactive products left the page short.
      // (Run once with no stretch at all for the columns of an empty answer.)
      while ((!lote.isEmpty() || r.getColumnCount() == 0) && r.getRowCount() < limite) {
        QStringList desdes, hastas;
        for (const auto& [a, z] : lote) {
          desdes << QString::number(a);
          hastas << QString::number(z);
        }
        mt.setString(QStringLiteral("desdes"),
                     QLatin1Char('{') + desdes.join(QLatin1Char(',')) + QLatin1Char('}'));
        mt.setString(QStringLiteral("hastas"),
                     QLatin1Char('{') + hastas.join(QLatin1Char(',')) + QLatin1Char('}'));
        mt.setInteger(QStringLiteral("negocio"), idNegocio);
        mt.setString(QStringLiteral("patron"), patron);
        const int faltan = limite - r.getRowCount();
        mt.setInteger(QStringLiteral("limite"), faltan);
        const CmidTierResponse parte = mt.reader();
        if (!parte.ok()) return parte;
        const int nColumnas = parte.getColumnCount() - 2;
        if (r.getColumnCount() == 0) {
          r.setColumnas(parte.columnas().mid(0, nColumnas));
          r.setOk(true);
        }
        for (int f = 0; f < parte.getRowCount(); ++f) {
          if (soloActivos && parte.valor(nColumnas + 1, f).toInt() != 1) continue;
          QVector<QVariant> fila(nColumnas);
          for (int c = 0; c < nColumnas; ++c) fila[c] = parte.valor(c, f);
          r.agregaFila(fila);
        }
        if (parte.getRowCount() < faltan) break;  // the batch is done
        const qint64 ultimo = parte.valor(nColumnas, parte.getRowCount() - 1).toLongLong();
        while (!lote.isEmpty() && lote.first().second <= ultimo) lote.removeFirst();
        if (!lote.isEmpty()) lote.first().first = std::max(lote.first().first, ultimo + 1);
      }
    } while (r.getRowCount() < limite && k < tramosRango.size() &&
             (recorridas < recorrible || filas <= recorrible || buscadas.isEmpty()));
    if (r.getRowCount() >= limite || k >= tramosRango.size() || buscadas.isEmpty()) return r;
  }
  // The rest through the GIN index. Only the index's conditions inside: whatever plan the
  // prepared statement settles on, it is the GIN index's.
  QStringList condiciones;
  for (int j = 0; j < buscadas.size(); ++j)
    condiciones << QStringLiteral("translate(nombreBusqueda, ' ', 'ñ') LIKE :gin%1").arg(j);
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
  for (int j = 0; j < buscadas.size(); ++j)
    mt.setString(QStringLiteral("gin%1").arg(j),
                 QStringLiteral("%") + QString(buscadas[j]).replace(QLatin1Char(' '), QChar(0xF1)) +
                     QStringLiteral("%"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setInteger(QStringLiteral("desde"), siguiente);
  mt.setInteger(QStringLiteral("hasta"), e.hasta);
  mt.setString(QStringLiteral("patron"), patron);
  mt.setInteger(QStringLiteral("activos"), soloActivos ? 1 : 0);
  mt.setInteger(QStringLiteral("limite"), limite - r.getRowCount());
  const CmidTierResponse resto = mt.reader();
  if (!resto.ok() || r.getColumnCount() == 0) return resto;
  agregaFilas(r, resto);
  return r;
}

CmidTierResponse buscaSqlite(const QString& columnas, const QString& uniones, const QString& patron,
                             bool soloActivos, int idNegocio, int limite,
                             TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  qint64 desde = idNegocio * kRangoNegocio, hasta = (idNegocio + 1) * kRangoNegocio - 1;
  // The trigram index asked with the whole pattern intersects every piece's matches; asked
  // with its three rarest pieces it does a fraction of that work, and LIKE checks the rest.
  // The unary "+" keeps that LIKE away from the index.
  QString condicion = QStringLiteral("productoBusqueda.nombreBusqueda LIKE :patron");
  QString textoConsulta;
  const auto pedazos = piezas(minusculasAscii(patron), false);
  if (pedazos && !pedazos->isEmpty()) {
    const Estadistica e = leeEstadistica(mt, idNegocio, *pedazos, false);
    if (!e.error.getError().isEmpty()) return e.error;
    if (e.todas) {
      desde = std::max(desde, e.desde);
      hasta = std::min(hasta, e.hasta);
    } else {
      hasta = desde - 1;  // a piece no name carries: nothing matches
    }
    QStringList consulta;
    for (QString t : rarasSeparadas(*pedazos, e.cuentas, 3, nullptr))
      consulta << QLatin1Char('"') + t.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                      QLatin1Char('"');
    textoConsulta = consulta.join(QStringLiteral(" AND "));
    condicion = QStringLiteral(
        "productoBusqueda MATCH :consulta AND +productoBusqueda.nombreBusqueda LIKE :patron");
  }
  mt.setQuery(QStringLiteral("SELECT ") + columnas +
              QStringLiteral("FROM productoBusqueda JOIN inventarioProducto ON "
                             "inventarioProducto.id = productoBusqueda.inventarioProducto_id ") +
              uniones + QStringLiteral("WHERE ") + condicion +
              QStringLiteral(" AND productoBusqueda.rowid BETWEEN :desde AND :hasta AND (:activos "
                             "= 0 OR inventarioProducto.inventarioProductoEstado_id = 1) ORDER BY "
                             "productoBusqueda.rowid LIMIT :limite"));
  if (!textoConsulta.isEmpty()) mt.setString(QStringLiteral("consulta"), textoConsulta);
  mt.setString(QStringLiteral("patron"), patron);
  mt.setInteger(QStringLiteral("desde"), desde);
  mt.setInteger(QStringLiteral("hasta"), hasta);
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
      QStringLiteral("SELECT productos FROM productoBusquedaVigente WHERE idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const QVariant productos = mt.scalar();
  if (!productos.isValid()) {
    anotaSinIndice(conexion, idNegocio);
    return std::nullopt;
  }
  if (!conexion.esPostgres())
    return buscaSqlite(columnas, uniones, patron, soloActivos, idNegocio, limite, conexion);
  // Without a piece of three characters the index has nothing to go by: the names are scanned.
  const auto pedazos = piezas(patron, true);
  if (!pedazos || pedazos->isEmpty()) return std::nullopt;
  return buscaPostgres(columnas, uniones, patron, *pedazos, soloActivos, idNegocio,
                       productos.toLongLong(), limite, conexion);
}

void u_ajustaBusquedaNombre(int tramoOrdenado, int piezaRara) {
  gTramoOrdenado = tramoOrdenado > 0 ? tramoOrdenado : kTramoOrdenado;
  gPiezaRara = piezaRara > 0 ? piezaRara : kPiezaRara;
}
