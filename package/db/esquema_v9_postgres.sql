-- Where each piece occurs, by block: the names of a business, in name order, are cut into 4096
-- blocks of equal share (block = (orden - 1) * 4096 / products), and bloques has bit b set when
-- a name of block b carries the piece. A search ANDs the blocks of all its pieces and walks only
-- the blocks left, in name order.
ALTER TABLE productoBusquedaTrigrama ADD COLUMN bloques BIT(4096);
-- Catalogs indexed before get their blocks here once.
UPDATE productoBusquedaTrigrama t SET bloques = x.bloques FROM (SELECT g.idNegocioFk, g.trigrama, bit_or(B'1'::bit(4096) >> g.bloque) AS bloques FROM (SELECT DISTINCT b.idNegocioFk, substr(b.nombreBusqueda, s.i, 3) AS trigrama, ((b.orden - 1)::bigint * 4096 / v.productos)::int AS bloque FROM productoBusqueda b JOIN productoBusquedaVigente v ON v.idNegocioFk = b.idNegocioFk AND v.productos > 0, generate_series(1, length(b.nombreBusqueda) - 2) AS s(i)) g GROUP BY g.idNegocioFk, g.trigrama) x WHERE t.idNegocioFk = x.idNegocioFk AND t.trigrama = x.trigrama;
DELETE FROM productoBusquedaVigente v WHERE EXISTS (SELECT 1 FROM productoBusquedaTrigrama t WHERE t.idNegocioFk = v.idNegocioFk AND t.bloques IS NULL)
