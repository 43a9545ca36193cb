-- Name search by substring. productoBusqueda is an FTS5 index of trigrams over the accent-free
-- lower-case names; each row's rowid is the business id * 2^40 plus the product's place in
-- name order, so the first matches in rowid order are the first by name and a search of 60
-- rows stops after 60 matches instead of sorting every one.
-- productoBusquedaVigente lists the businesses whose index is complete; any change to their
-- products takes them off until the index is rebuilt (the search scans the names meanwhile).
CREATE TABLE productoBusquedaVigente (
  idNegocioFk INTEGER PRIMARY KEY,
  productos INTEGER NOT NULL DEFAULT 0
);
{OPCIONAL}CREATE VIRTUAL TABLE productoBusqueda USING fts5(nombreBusqueda, inventarioProducto_id UNINDEXED, tokenize = 'trigram', detail = 'none');
CREATE TRIGGER tr_producto_busqueda_alta AFTER INSERT ON inventarioProducto BEGIN DELETE FROM productoBusquedaVigente WHERE idNegocioFk = NEW.idNegocioFk; END;
CREATE TRIGGER tr_producto_busqueda_baja AFTER DELETE ON inventarioProducto BEGIN DELETE FROM productoBusquedaVigente WHERE idNegocioFk = OLD.idNegocioFk; END;
CREATE TRIGGER tr_producto_busqueda_cambio AFTER UPDATE OF nombreBusqueda, idNegocioFk ON inventarioProducto BEGIN DELETE FROM productoBusquedaVigente WHERE idNegocioFk IN (OLD.idNegocioFk, NEW.idNegocioFk); END;
