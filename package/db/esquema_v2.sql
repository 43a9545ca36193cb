-- What an individual invoice needs of its receiver (CFDI 4.0), kept so the next invoice to the
-- same RFC is filled in by itself.
ALTER TABLE Receptor ADD COLUMN codigoPostal TEXT NOT NULL DEFAULT '';
ALTER TABLE Receptor ADD COLUMN regimenFiscal TEXT NOT NULL DEFAULT '';
ALTER TABLE Receptor ADD COLUMN usoCFDI TEXT NOT NULL DEFAULT '';
ALTER TABLE Receptor ADD COLUMN correo TEXT NOT NULL DEFAULT '';
-- One fiscal document per UUID and business: a stamping answered twice is stored once.
CREATE UNIQUE INDEX ux_comprobante_uuid ON Comprobante (idNegocioFk, uuid);
