-- Name search by substring. productoBusqueda holds every product's accent-free lower-case name
-- with its place in name order (orden) inside its business, under a pg_trgm GIN index.
-- productoBusquedaTrigrama tells, for each three-character piece of those names, how many
-- products carry it and the first and last place where one does: a search starts where all of
-- its pieces can first occur and chooses between walking the names in order and asking the
-- GIN index.
-- productoBusquedaVigente lists the businesses whose index is complete; any change to their
-- products takes them off until the index is rebuilt (the search scans the names meanwhile).
CREATE TABLE productoBusquedaVigente (
  idNegocioFk INTEGER PRIMARY KEY,
  productos INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE productoBusqueda (
  idNegocioFk INTEGER NOT NULL,
  orden INTEGER NOT NULL,
  inventarioProducto_id INTEGER NOT NULL,
  nombreBusqueda TEXT NOT NULL,
  PRIMARY KEY (idNegocioFk, orden)
);
CREATE TABLE productoBusquedaTrigrama (
  idNegocioFk INTEGER NOT NULL,
  trigrama TEXT NOT NULL,
  productos INTEGER NOT NULL,
  primero INTEGER NOT NULL,
  ultimo INTEGER NOT NULL,
  PRIMARY KEY (idNegocioFk, trigrama)
);
CREATE FUNCTION producto_busqueda_caduca() RETURNS trigger LANGUAGE plpgsql AS 'BEGIN IF TG_OP <> ''INSERT'' THEN DELETE FROM productoBusquedaVigente WHERE idNegocioFk = OLD.idNegocioFk; END IF; IF TG_OP <> ''DELETE'' THEN DELETE FROM productoBusquedaVigente WHERE idNegocioFk = NEW.idNegocioFk; END IF; RETURN NULL; END';
CREATE TRIGGER tr_producto_busqueda AFTER INSERT OR DELETE OR UPDATE OF nombreBusqueda, idNegocioFk ON inventarioProducto FOR EACH ROW EXECUTE FUNCTION producto_busqueda_caduca();
-- pg_trgm comes with postgresql-contrib and is a trusted extension, but a shop's user may
-- still lack the right to create it: the search then reads productoBusqueda without it.
-- pg_trgm cuts text into words at blanks; the index sees the blanks as "ñ" (a letter that
-- accent-free names never hold), so a name is one word and a pattern such as "cola don chuy"
-- keeps its pieces across words, the rarest of which narrow the candidates most.
{OPCIONAL}CREATE EXTENSION IF NOT EXISTS pg_trgm;
{OPCIONAL}CREATE INDEX ix_producto_busqueda_trgm ON productoBusqueda USING gin ((translate(nombreBusqueda, ' ', 'ñ')) gin_trgm_ops);
