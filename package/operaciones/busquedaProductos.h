#pragma once
// Name search through an index made for substrings, with the same rows, order and limit as
// "nombreBusqueda LIKE '%text%' ORDER BY nombreBusqueda, id LIMIT n" over every product.
//
// Both engines keep each product's place in name order (its rank inside its business), so the
// first matches by rank are the first by name, and, for every three-character piece of the
// names, how many times the names carry it and the first and last place where one does:
// - SQLite: an FTS5 trigram table whose rowid is business * 2^40 + rank. A search asks it for
//   its three rarest pieces that do not touch one another, between the places where all of its
//   pieces occur, walks the matches in rowid order, checks the pattern and stops after n.
// - PostgreSQL: a table of (business, rank, name) under a pg_trgm GIN index, and for each piece
//   the blocks of ranks (4096 equal shares) where it occurs. A search walks, in rank order, only
//   the blocks where all of its pieces occur, for a bounded stretch, and asks the GIN index for
//   the rest; when its rarest pieces together promise few names it asks the index first.
// The index is rebuilt for a business by the catalog import. Any other change to its products
// marks it stale (triggers), and the search scans the names until the next rebuild.

#include <QString>
#include <optional>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"

// Rebuilds the business's search index (call it inside the transaction that changed the
// products). An empty text on success.
QString u_reconstruyeBusquedaProductos(TConexionSesion& conexion, qint64 idNegocio);

// The search through the index: `columnas` and `uniones` are the SELECT list and joins of
// the product searches (over inventarioProducto); `patron` is already in search form (lower
// case, no accents, with its "%"). Nothing when the business has no complete index.
std::optional<CmidTierResponse> u_buscaNombreIndexado(const QString& columnas,
                                                      const QString& uniones, const QString& patron,
                                                      bool soloActivos, int idNegocio, int limite,
                                                      TConexionSesion& conexion);

// How far the PostgreSQL search walks names in rank order before it asks the GIN index, and
// below how many products a piece counts as rare and goes straight to the index. Tests and
// benchmarks shrink them to reach every path with a small catalog; 0 restores the defaults.
void u_ajustaBusquedaNombre(int tramoOrdenado, int piezaRara);
