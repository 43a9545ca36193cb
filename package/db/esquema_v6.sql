-- Tickets after the sale.
-- The status poll and the global invoice find a ticket by the invoicing service's identifier.
CREATE INDEX ix_operacion_uuid ON puntoOperacion (idNegocioFk, uuid);
-- The global invoice lists the uploaded tickets of a period; the pending count and the
-- background retry look for the tickets not uploaded yet.
DROP INDEX ix_operacion_estado;
CREATE INDEX ix_operacion_estado ON puntoOperacion (idNegocioFk, facturadoMetodo, fechaHora);
-- An upload claims its ticket first, so two stations, or the background retry and "Subir
-- Ticket", never send the same ticket at once. A claim older than a few minutes belongs to an
-- upload that never ended (a station that went away) and may be taken over.
ALTER TABLE puntoOperacion ADD COLUMN cargaReserva TEXT NOT NULL DEFAULT '';
ALTER TABLE puntoOperacion ADD COLUMN cargaReservaFecha {FECHA};
