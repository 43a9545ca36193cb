-- For every three-character piece of a business's search names: how many times the names carry
-- it and the first and last rowid of productoBusqueda where one does. A search asks the FTS5
-- index only for its rarest pieces, between the rowids where all of them occur, and checks the
-- whole pattern on what it answers. Pieces are kept in ASCII lower case, as LIKE compares them.
CREATE TABLE productoBusquedaTrigrama (
  idNegocioFk INTEGER NOT NULL,
  trigrama TEXT NOT NULL,
  productos INTEGER NOT NULL,
  primero INTEGER NOT NULL,
  ultimo INTEGER NOT NULL,
  PRIMARY KEY (idNegocioFk, trigrama)
) WITHOUT ROWID;
-- Catalogs indexed before: their pieces are counted here once.
{OPCIONAL}INSERT INTO productoBusquedaTrigrama (idNegocioFk, trigrama, productos, primero, ultimo) SELECT b.rowid >> 40, substr(lower(b.nombreBusqueda), s.i, 3), COUNT(*), MIN(b.rowid), MAX(b.rowid) FROM productoBusqueda b JOIN productoBusquedaVigente v ON v.idNegocioFk = b.rowid >> 40 JOIN (WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < (SELECT MAX(length(nombreBusqueda)) FROM productoBusqueda)) SELECT i FROM n) s ON s.i <= length(b.nombreBusqueda) - 2 GROUP BY 1, 2
