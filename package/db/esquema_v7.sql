-- A MercadoPago payment pays one sale only. External payment lines carry their business, so the
-- store itself refuses a second sale that names the same payment id, even from another station
-- at the same moment.
ALTER TABLE puntoFormaPagoAplicada ADD COLUMN idNegocioFk INTEGER;
UPDATE puntoFormaPagoAplicada SET idNegocioFk = (SELECT o.idNegocioFk FROM puntoOperacion o WHERE o.id = puntoFormaPagoAplicada.puntoOperacion_id);
CREATE UNIQUE INDEX ux_pago_referencia_externa ON puntoFormaPagoAplicada (idNegocioFk, referencia) WHERE servicioExterno = 1;
