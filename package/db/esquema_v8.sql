-- A serial number is linked to at most one sold ticket line at a time (a return deletes the
-- link), so two supervisors can never hand the same unit to two sales.
CREATE UNIQUE INDEX ux_noserie_ticket ON inventarioNoSerieTicket (inventarioNoSerie_id);
CREATE INDEX ix_noserie_ticket_detalle ON inventarioNoSerieTicket (puntoOperacionDetalle_id);
CREATE INDEX ix_noserie_negocio ON inventarioNoSerie (idNegocioFk, noSerie);
CREATE INDEX ix_noserie_disponible ON inventarioNoSerie (inventarioProducto_id, inventarioAlmacen_id, estado);

-- The credit note of a return, from before it is stamped until its lines are recorded. While
-- unconfirmed (estado 0) it holds its quantities and serial numbers of the sale lines, so no
-- other return can take them, and its id is the idempotency key of the stamping: a lost answer
-- followed by a retry (even after a restart) gets the same credit note, never a second one.
-- clave: the idempotency key, made once with a random part so that a database set up again
-- never repeats the key of an older credit note. estado: 0 unconfirmed, 1 issued and recorded.
CREATE TABLE ventasDevolucionNota (
  id {PK},
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio),
  puntoOperacion_id INTEGER NOT NULL REFERENCES puntoOperacion(id),
  fecha {FECHA} NOT NULL,
  clave TEXT NOT NULL,
  estado INTEGER NOT NULL DEFAULT 0,
  uuid TEXT NOT NULL DEFAULT ''
);
CREATE INDEX ix_devolucion_nota_operacion ON ventasDevolucionNota (puntoOperacion_id, estado);
-- registrada: the line's return was recorded (in the same transaction as its record).
CREATE TABLE ventasDevolucionNotaDetalle (
  id {PK},
  ventasDevolucionNota_id INTEGER NOT NULL REFERENCES ventasDevolucionNota(id) ON DELETE CASCADE,
  puntoOperacionDetalle_id INTEGER NOT NULL REFERENCES puntoOperacionDetalle(id),
  cantidad {REAL} NOT NULL,
  noSerieDevolver TEXT NOT NULL DEFAULT '',
  estadoProducto TEXT NOT NULL DEFAULT '',
  tipoDevolucion INTEGER NOT NULL DEFAULT 0,
  registrada INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX ix_devolucion_nota_detalle ON ventasDevolucionNotaDetalle (puntoOperacionDetalle_id);
CREATE INDEX ix_devolucion_nota_detalle_nota ON ventasDevolucionNotaDetalle (ventasDevolucionNota_id);
-- The credit note a return record belongs to; none for an exchange.
ALTER TABLE ventasDevolucion ADD COLUMN ventasDevolucionNota_id INTEGER REFERENCES ventasDevolucionNota(id);
