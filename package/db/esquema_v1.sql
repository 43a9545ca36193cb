-- Business, branches and fiscal data
CREATE TABLE Negocio (
  idNegocio {PK},
  nombre TEXT NOT NULL,
  rfc TEXT NOT NULL DEFAULT '',
  razonSocial TEXT NOT NULL DEFAULT '',
  regimenFiscal TEXT NOT NULL DEFAULT '',
  calle TEXT NOT NULL DEFAULT '',
  noExterior TEXT NOT NULL DEFAULT '',
  noInterior TEXT NOT NULL DEFAULT '',
  colonia TEXT NOT NULL DEFAULT '',
  municipio TEXT NOT NULL DEFAULT '',
  estado TEXT NOT NULL DEFAULT '',
  codigoPostal TEXT NOT NULL DEFAULT ''
);
CREATE TABLE Sucursal (
  idSucursal {PK},
  nombreSucursal TEXT NOT NULL DEFAULT '',
  estatus INTEGER NOT NULL DEFAULT 0,
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);

-- People, addresses, suite users
CREATE TABLE Ubicacion (
  idUbicacion {PK},
  calle TEXT NOT NULL DEFAULT '',
  noExterior TEXT NOT NULL DEFAULT '',
  noInterior TEXT NOT NULL DEFAULT '',
  colonia TEXT NOT NULL DEFAULT '',
  localidad TEXT NOT NULL DEFAULT '',
  referencia TEXT NOT NULL DEFAULT '',
  municipio TEXT NOT NULL DEFAULT '',
  estado TEXT NOT NULL DEFAULT '',
  pais TEXT NOT NULL DEFAULT '',
  codigoPostal TEXT NOT NULL DEFAULT ''
);
CREATE TABLE Persona (
  idPersona {PK},
  nombre TEXT NOT NULL DEFAULT '',
  apellidoPaterno TEXT NOT NULL DEFAULT '',
  apellidoMaterno TEXT NOT NULL DEFAULT '',
  sexo INTEGER NOT NULL DEFAULT -1,
  fechaNacimiento TEXT NOT NULL DEFAULT '',
  mail TEXT NOT NULL DEFAULT '',
  telefono TEXT NOT NULL DEFAULT '',
  celular TEXT NOT NULL DEFAULT '',
  foto {BLOB},
  idUbicacionFk INTEGER REFERENCES Ubicacion(idUbicacion),
  idNegocioFk INTEGER REFERENCES Negocio(idNegocio)
);
CREATE TABLE Usuario (
  idUsuario {PK},
  idPersonaTabla INTEGER REFERENCES Persona(idPersona),
  nombreUsuario TEXT NOT NULL DEFAULT ''
);
CREATE TABLE UsuarioNegocio (
  idUsuarioNegocio {PK},
  idUsuarioTabla INTEGER REFERENCES Usuario(idUsuario),
  idNegocioFk INTEGER REFERENCES Negocio(idNegocio)
);

-- Products
CREATE TABLE inventarioProductoEstado (
  id {PK},
  etiqueta TEXT NOT NULL
);
CREATE TABLE inventarioCategoria (
  id {PK},
  identidad TEXT NOT NULL,
  etiqueta TEXT NOT NULL DEFAULT '',
  carpeta TEXT NOT NULL DEFAULT '',
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio),
  UNIQUE (idNegocioFk, identidad)
);
CREATE TABLE inventarioUnidadesMedida (
  ID {PK},
  descripcion TEXT NOT NULL DEFAULT '',
  conjunto TEXT NOT NULL DEFAULT '',
  relacion {REAL} NOT NULL DEFAULT 1,
  claveSAT33 TEXT NOT NULL DEFAULT ''
);
CREATE TABLE inventarioProducto (
  id {PK},
  inventarioProductoEstado_id INTEGER NOT NULL DEFAULT 1 REFERENCES inventarioProductoEstado(id),
  clave TEXT NOT NULL DEFAULT '',
  claveAlterna TEXT NOT NULL DEFAULT '',
  nombre TEXT NOT NULL,
  nombreBusqueda TEXT NOT NULL DEFAULT '',
  codigoBarras TEXT NOT NULL DEFAULT '',
  descripcion TEXT NOT NULL DEFAULT '',
  inventarioCategoria_identidad TEXT NOT NULL DEFAULT '',
  unidadesMedida_id INTEGER REFERENCES inventarioUnidadesMedida(ID),
  claveSATProductoServicio TEXT NOT NULL DEFAULT '',
  opControladoNoSerie INTEGER NOT NULL DEFAULT 0,
  enteroFraccion INTEGER NOT NULL DEFAULT 0,
  imagen {BLOB},
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);
CREATE INDEX ix_producto_negocio_nombre ON inventarioProducto (idNegocioFk, nombreBusqueda);
CREATE INDEX ix_producto_categoria ON inventarioProducto (idNegocioFk, inventarioCategoria_identidad);
CREATE TABLE inventarioProductoCodigoBarras (
  id {PK},
  inventarioProducto_id INTEGER NOT NULL REFERENCES inventarioProducto(id) ON DELETE CASCADE,
  codigo TEXT NOT NULL,
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio),
  UNIQUE (idNegocioFk, codigo)
);
CREATE INDEX ix_codigobarras_producto ON inventarioProductoCodigoBarras (inventarioProducto_id);
-- Rates as fractions (0.16); the price list carries the same rates as its "|" text.
CREATE TABLE inventarioProductoImpuestos (
  inventarioProducto_id INTEGER PRIMARY KEY REFERENCES inventarioProducto(id) ON DELETE CASCADE,
  ivaTrasladado {REAL} NOT NULL DEFAULT 0,
  ivaRetenido {REAL} NOT NULL DEFAULT 0,
  iepsTrasladado {REAL} NOT NULL DEFAULT 0,
  iepsRetenido {REAL} NOT NULL DEFAULT 0,
  isrRetenido {REAL} NOT NULL DEFAULT 0
);
CREATE TABLE inventarioOpciones (
  id {PK},
  kardexMetodo INTEGER NOT NULL DEFAULT 1,
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);

-- Warehouses, stock and serial numbers
CREATE TABLE inventarioAlmacen (
  id {PK},
  nombre TEXT NOT NULL,
  clave TEXT NOT NULL DEFAULT '',
  idSucursal INTEGER REFERENCES Sucursal(idSucursal),
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);
CREATE TABLE inventarioExistencias (
  id {PK},
  inventarioAlmacen_id INTEGER NOT NULL REFERENCES inventarioAlmacen(id),
  inventarioProducto_id INTEGER NOT NULL REFERENCES inventarioProducto(id) ON DELETE CASCADE,
  existencia {REAL} NOT NULL DEFAULT 0,
  costoUnitario {REAL} NOT NULL DEFAULT 0,
  UNIQUE (inventarioAlmacen_id, inventarioProducto_id)
);
CREATE INDEX ix_existencias_producto ON inventarioExistencias (inventarioProducto_id);
-- estado: 1 in stock, 2 sold, 3 returned to stock
CREATE TABLE inventarioNoSerie (
  id {PK},
  inventarioProducto_id INTEGER NOT NULL REFERENCES inventarioProducto(id) ON DELETE CASCADE,
  inventarioAlmacen_id INTEGER REFERENCES inventarioAlmacen(id),
  noSerie TEXT NOT NULL,
  estado INTEGER NOT NULL DEFAULT 1,
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio),
  UNIQUE (idNegocioFk, inventarioProducto_id, noSerie)
);

-- Default price list, its prices and tax texts, volume scales
CREATE TABLE ventasListaPrecios (
  id {PK},
  nombre TEXT NOT NULL,
  predeterminada INTEGER NOT NULL DEFAULT 0,
  vigenciaDesde {FECHA},
  vigenciaHasta {FECHA},
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);
CREATE INDEX ix_lista_negocio ON ventasListaPrecios (idNegocioFk, predeterminada);
-- impuestosAplicados: "ivaT|ivaR|iepsT|iepsR|isrR" rates; IEPS values may carry "!" marks.
CREATE TABLE ventasListaProductos (
  id {PK},
  ventasListaPrecios_id INTEGER NOT NULL REFERENCES ventasListaPrecios(id) ON DELETE CASCADE,
  inventarioProducto_id INTEGER NOT NULL REFERENCES inventarioProducto(id) ON DELETE CASCADE,
  precioLista {REAL} NOT NULL DEFAULT 0,
  impuestosAplicados TEXT NOT NULL DEFAULT '',
  UNIQUE (ventasListaPrecios_id, inventarioProducto_id)
);
CREATE TABLE ventasDescuentosProductos (
  id {PK},
  inventarioProducto_id INTEGER NOT NULL REFERENCES inventarioProducto(id) ON DELETE CASCADE,
  cantidad {REAL} NOT NULL,
  descuento {REAL} NOT NULL,
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);
CREATE INDEX ix_escala_producto ON ventasDescuentosProductos (inventarioProducto_id, cantidad);
CREATE TABLE ventasDescuentosCategorias (
  id {PK},
  inventarioCategoria_identidad TEXT NOT NULL,
  cantidad {REAL} NOT NULL,
  descuento {REAL} NOT NULL,
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);
CREATE INDEX ix_escala_categoria ON ventasDescuentosCategorias (idNegocioFk, inventarioCategoria_identidad, cantidad);

-- Promotions. promocionTipo 0 buy N pay M, 1 set with gifts, 2 percentage, 3 next unit.
CREATE TABLE ventasPromociones (
  id {PK},
  nombre TEXT NOT NULL,
  promocionTipo INTEGER NOT NULL,
  promocionDetalle TEXT NOT NULL DEFAULT '',
  vigenciaDesde {FECHA},
  vigenciaHasta {FECHA},
  activa INTEGER NOT NULL DEFAULT 1,
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);
CREATE INDEX ix_promocion_vigencia ON ventasPromociones (idNegocioFk, vigenciaDesde, vigenciaHasta);
-- lista 0: products or categories the promotion applies to; 1: products to buy; 2: gifts.
CREATE TABLE ventasPromocionesProductoCategoriaClave (
  id {PK},
  ventasPromociones_id INTEGER NOT NULL REFERENCES ventasPromociones(id) ON DELETE CASCADE,
  lista INTEGER NOT NULL,
  inventarioProducto_id INTEGER REFERENCES inventarioProducto(id) ON DELETE CASCADE,
  inventarioCategoria_identidad TEXT,
  gridCantidad {REAL} NOT NULL DEFAULT 1
);
CREATE INDEX ix_promocion_producto ON ventasPromocionesProductoCategoriaClave (inventarioProducto_id, lista);
CREATE INDEX ix_promocion_categoria ON ventasPromocionesProductoCategoriaClave (inventarioCategoria_identidad, lista);
CREATE INDEX ix_promocion_lista ON ventasPromocionesProductoCategoriaClave (ventasPromociones_id, lista);

-- Kits
CREATE TABLE ventasKit (
  id {PK},
  nombre TEXT NOT NULL,
  claveKit TEXT NOT NULL DEFAULT '',
  precioVenta {REAL} NOT NULL DEFAULT 0,
  ivaTrasladado {REAL} NOT NULL DEFAULT 0,
  ivaRetenido {REAL} NOT NULL DEFAULT 0,
  iepsTrasladado {REAL} NOT NULL DEFAULT 0,
  iepsRetenido {REAL} NOT NULL DEFAULT 0,
  isrRetenido {REAL} NOT NULL DEFAULT 0,
  vigenciaDesde {FECHA},
  vigenciaHasta {FECHA},
  activo INTEGER NOT NULL DEFAULT 1,
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);
CREATE TABLE ventasKitDetalle (
  id {PK},
  ventasKit_id INTEGER NOT NULL REFERENCES ventasKit(id) ON DELETE CASCADE,
  inventarioProducto_id INTEGER NOT NULL REFERENCES inventarioProducto(id),
  cantidad TEXT NOT NULL DEFAULT '1'
);
CREATE INDEX ix_kit_detalle ON ventasKitDetalle (ventasKit_id);

-- Cashiers
CREATE TABLE ventasVendedorEstado (
  id {PK},
  etiqueta TEXT NOT NULL
);
CREATE TABLE puntoCajero (
  id {PK},
  clave TEXT NOT NULL,
  nota TEXT NOT NULL DEFAULT '',
  persona_idPersona INTEGER NOT NULL REFERENCES Persona(idPersona),
  ventasVendedorEstado_id INTEGER NOT NULL DEFAULT 1 REFERENCES ventasVendedorEstado(id),
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio),
  UNIQUE (idNegocioFk, clave)
);

-- Registers, sessions, cuts. puntoCaja.estado: 0 no open session, 1 open session.
CREATE TABLE puntoCaja (
  id {PK},
  clave TEXT NOT NULL,
  descripcion TEXT NOT NULL DEFAULT '',
  inventarioAlmacen_id INTEGER REFERENCES inventarioAlmacen(id),
  estado INTEGER NOT NULL DEFAULT 0,
  puntoCajaSesion_id INTEGER,
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio),
  UNIQUE (idNegocioFk, clave)
);
CREATE TABLE puntoCajaSesion (
  id {PK},
  puntoCaja_id INTEGER NOT NULL REFERENCES puntoCaja(id),
  cajaNombre TEXT NOT NULL DEFAULT '',
  puntoCajero_id INTEGER NOT NULL REFERENCES puntoCajero(id),
  fechaApertura {FECHA} NOT NULL,
  montoApertura {REAL} NOT NULL DEFAULT 0,
  billetes1000 INTEGER NOT NULL DEFAULT 0,
  billetes500 INTEGER NOT NULL DEFAULT 0,
  billetes200 INTEGER NOT NULL DEFAULT 0,
  billetes100 INTEGER NOT NULL DEFAULT 0,
  billetes50 INTEGER NOT NULL DEFAULT 0,
  billetes20 INTEGER NOT NULL DEFAULT 0,
  monedas {REAL} NOT NULL DEFAULT 0,
  estacion TEXT NOT NULL DEFAULT '',
  activa INTEGER NOT NULL DEFAULT 1,
  fechaCierre {FECHA},
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);
CREATE INDEX ix_sesion_estacion ON puntoCajaSesion (estacion, activa);
CREATE INDEX ix_sesion_cajero ON puntoCajaSesion (puntoCajero_id, activa);
CREATE INDEX ix_sesion_caja ON puntoCajaSesion (puntoCaja_id);
-- esCorte: 1 cut, 0 close
CREATE TABLE puntoCorte (
  id {PK},
  puntoCajaSesion_id INTEGER NOT NULL REFERENCES puntoCajaSesion(id),
  fechaHora {FECHA} NOT NULL,
  monto {REAL} NOT NULL DEFAULT 0,
  esCorte INTEGER NOT NULL DEFAULT 1
);
CREATE INDEX ix_corte_sesion ON puntoCorte (puntoCajaSesion_id);
CREATE INDEX ix_corte_fecha ON puntoCorte (fechaHora);

-- Payment forms (SAT catalogue) and the methods each business enabled
CREATE TABLE formaPago (
  id INTEGER PRIMARY KEY,
  clave TEXT NOT NULL,
  descripcion TEXT NOT NULL
);
CREATE TABLE puntoMetodoPago (
  id {PK},
  nombre TEXT NOT NULL,
  formaPago_id INTEGER NOT NULL REFERENCES formaPago(id),
  activo INTEGER NOT NULL DEFAULT 1,
  orden INTEGER NOT NULL DEFAULT 0,
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);
CREATE INDEX ix_metodo_negocio ON puntoMetodoPago (idNegocioFk, activo);

-- Customers and stored sales
CREATE TABLE Receptor (
  idReceptor {PK},
  rfc TEXT NOT NULL,
  nombre TEXT NOT NULL DEFAULT '',
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);
CREATE INDEX ix_receptor_rfc ON Receptor (idNegocioFk, rfc);
-- facturadoMetodo: '' not uploaded, '3' uploaded, '2' invoiced, '4' global invoice, '6' closed
CREATE TABLE puntoOperacion (
  id {PK},
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio),
  ticketNo INTEGER NOT NULL,
  puntoCajaSesion_id INTEGER REFERENCES puntoCajaSesion(id),
  puntoCajero_id INTEGER REFERENCES puntoCajero(id),
  cajeroNombre TEXT NOT NULL DEFAULT '',
  inventarioAlmacen_id INTEGER REFERENCES inventarioAlmacen(id),
  fechaHora {FECHA} NOT NULL,
  subtotal {REAL} NOT NULL DEFAULT 0,
  descuento {REAL} NOT NULL DEFAULT 0,
  impuestos {REAL} NOT NULL DEFAULT 0,
  total {REAL} NOT NULL DEFAULT 0,
  pago {REAL} NOT NULL DEFAULT 0,
  devuelto {REAL} NOT NULL DEFAULT 0,
  uuid TEXT NOT NULL DEFAULT '',
  facturadoMetodo TEXT NOT NULL DEFAULT '',
  facturadoFecha {FECHA},
  UNIQUE (idNegocioFk, ticketNo)
);
CREATE INDEX ix_operacion_fecha ON puntoOperacion (idNegocioFk, fechaHora);
CREATE INDEX ix_operacion_sesion ON puntoOperacion (puntoCajaSesion_id);
CREATE INDEX ix_operacion_estado ON puntoOperacion (idNegocioFk, facturadoMetodo);
-- Per-business ticket counter, locked and advanced inside the sale's transaction.
CREATE TABLE puntoTicketFolio (
  idNegocioFk INTEGER PRIMARY KEY REFERENCES Negocio(idNegocio),
  ultimoTicket INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE puntoOperacionDetalle (
  id {PK},
  puntoOperacion_id INTEGER NOT NULL REFERENCES puntoOperacion(id) ON DELETE CASCADE,
  fila INTEGER NOT NULL,
  inventarioProducto_id INTEGER REFERENCES inventarioProducto(id),
  claveSATprodcutoServicio TEXT NOT NULL DEFAULT '',
  descripcion TEXT NOT NULL DEFAULT '',
  categoria TEXT NOT NULL DEFAULT '',
  categoriaIdentidad TEXT NOT NULL DEFAULT '',
  clave TEXT NOT NULL DEFAULT '',
  claveAlterna TEXT NOT NULL DEFAULT '',
  unidadesMedida_id INTEGER,
  unidadMedida TEXT NOT NULL DEFAULT '',
  cantidad {REAL} NOT NULL DEFAULT 0,
  precioLista {REAL} NOT NULL DEFAULT 0,
  precioUnitario {REAL} NOT NULL DEFAULT 0,
  precioVenta {REAL} NOT NULL DEFAULT 0,
  precio {REAL} NOT NULL DEFAULT 0,
  subtotal {REAL} NOT NULL DEFAULT 0,
  descuento {REAL} NOT NULL DEFAULT 0,
  descuentoValor {REAL} NOT NULL DEFAULT 0,
  descuentoTipoCliente {REAL} NOT NULL DEFAULT 0,
  importe {REAL} NOT NULL DEFAULT 0,
  imp {REAL} NOT NULL DEFAULT 0,
  ivaT {REAL} NOT NULL DEFAULT 0,
  ivaR {REAL} NOT NULL DEFAULT 0,
  iepsT {REAL} NOT NULL DEFAULT 0,
  iepsR {REAL} NOT NULL DEFAULT 0,
  isrR {REAL} NOT NULL DEFAULT 0,
  ivaTbase TEXT NOT NULL DEFAULT '',
  ivaRbase TEXT NOT NULL DEFAULT '',
  iepsTbase TEXT NOT NULL DEFAULT '',
  iepsRbase TEXT NOT NULL DEFAULT '',
  isrRbase TEXT NOT NULL DEFAULT '',
  tipoInsercion TEXT NOT NULL DEFAULT '',
  grupo INTEGER NOT NULL DEFAULT 0,
  cabecera INTEGER NOT NULL DEFAULT 0,
  kitID INTEGER NOT NULL DEFAULT 0,
  promocionID INTEGER NOT NULL DEFAULT 0,
  devolucion {REAL} NOT NULL DEFAULT 0
);
CREATE INDEX ix_detalle_operacion ON puntoOperacionDetalle (puntoOperacion_id, fila);
CREATE INDEX ix_detalle_producto ON puntoOperacionDetalle (inventarioProducto_id);
-- posicion 0 is cash, 1..6 the payment rows; formaPago_id is the method's payment form.
CREATE TABLE puntoFormaPagoAplicada (
  id {PK},
  puntoOperacion_id INTEGER NOT NULL REFERENCES puntoOperacion(id) ON DELETE CASCADE,
  posicion INTEGER NOT NULL,
  formaPago_id INTEGER NOT NULL DEFAULT 0,
  nombre TEXT NOT NULL DEFAULT '',
  valor TEXT NOT NULL DEFAULT '',
  importe {REAL} NOT NULL DEFAULT 0,
  referencia TEXT NOT NULL DEFAULT '',
  servicioExterno INTEGER
);
CREATE INDEX ix_pago_operacion ON puntoFormaPagoAplicada (puntoOperacion_id);
CREATE INDEX ix_pago_referencia ON puntoFormaPagoAplicada (referencia);
CREATE TABLE inventarioNoSerieTicket (
  id {PK},
  inventarioNoSerie_id INTEGER NOT NULL REFERENCES inventarioNoSerie(id),
  puntoOperacionDetalle_id INTEGER NOT NULL REFERENCES puntoOperacionDetalle(id) ON DELETE CASCADE
);
-- Invoice of a ticket (individual or global) and issued documents (invoices, credit notes)
CREATE TABLE puntoOperacionAdicional (
  id {PK},
  puntoOperacion_id INTEGER NOT NULL REFERENCES puntoOperacion(id) ON DELETE CASCADE,
  uuid TEXT NOT NULL DEFAULT '',
  Receptor_idReceptor INTEGER REFERENCES Receptor(idReceptor),
  fecha {FECHA}
);
CREATE INDEX ix_adicional_operacion ON puntoOperacionAdicional (puntoOperacion_id);
CREATE INDEX ix_adicional_uuid ON puntoOperacionAdicional (uuid);
CREATE TABLE Comprobante (
  id {PK},
  uuid TEXT NOT NULL DEFAULT '',
  tipoDocumento TEXT NOT NULL DEFAULT 'FAC',
  fecha {FECHA},
  puntoOperacion_id INTEGER REFERENCES puntoOperacion(id),
  uuidRelacionado TEXT NOT NULL DEFAULT '',
  Receptor_idReceptor INTEGER REFERENCES Receptor(idReceptor),
  subtotal {REAL} NOT NULL DEFAULT 0,
  descuento {REAL} NOT NULL DEFAULT 0,
  total {REAL} NOT NULL DEFAULT 0,
  idNegocioFk INTEGER NOT NULL REFERENCES Negocio(idNegocio)
);
CREATE INDEX ix_comprobante_fecha ON Comprobante (idNegocioFk, tipoDocumento, fecha);

-- Returns
CREATE TABLE ventasDevolucion (
  id {PK},
  puntoOperacionDetalle_id INTEGER NOT NULL REFERENCES puntoOperacionDetalle(id),
  fechaDevolucion {FECHA} NOT NULL,
  cantidad {REAL} NOT NULL DEFAULT 0,
  devolucionTipo INTEGER NOT NULL DEFAULT 0,
  estadoProducto TEXT NOT NULL DEFAULT '',
  noSeries TEXT NOT NULL DEFAULT '',
  idNegocioFk INTEGER REFERENCES Negocio(idNegocio)
);
CREATE INDEX ix_devolucion_detalle ON ventasDevolucion (puntoOperacionDetalle_id);
CREATE INDEX ix_devolucion_fecha ON ventasDevolucion (idNegocioFk, fechaDevolucion);

-- Online-user and external-service credentials (secrets stored encrypted)
CREATE TABLE usuarioEnLinea (
  id {PK},
  usuario TEXT NOT NULL DEFAULT '',
  cuenta TEXT NOT NULL DEFAULT '',
  contrasena TEXT NOT NULL DEFAULT '',
  activo INTEGER NOT NULL DEFAULT 1,
  idNegocioFk INTEGER NOT NULL UNIQUE REFERENCES Negocio(idNegocio)
);
CREATE TABLE puntoServiciosExternosMercadoPago (
  id {PK},
  clienteID TEXT NOT NULL DEFAULT '',
  clienteSecret TEXT NOT NULL DEFAULT '',
  accessToken TEXT NOT NULL DEFAULT '',
  userID TEXT NOT NULL DEFAULT '',
  vigencia TEXT NOT NULL DEFAULT '',
  poi TEXT NOT NULL DEFAULT '',
  idNegocioFk INTEGER NOT NULL UNIQUE REFERENCES Negocio(idNegocio)
);

-- Administration data service tables, spelled as its statements spell them
CREATE TABLE pdvGrupoUsuarios (
  id {PK},
  nombre TEXT NOT NULL DEFAULT '',
  permisos TEXT NOT NULL DEFAULT '',
  idNegocioFk INTEGER
);
CREATE TABLE pdvUsuarios (
  id {PK},
  pdvGrupoUsuarios_id INTEGER REFERENCES pdvGrupoUsuarios(id),
  UsuarioNegocio_idUsuarioNegocio INTEGER REFERENCES UsuarioNegocio(idUsuarioNegocio)
);
CREATE TABLE AsientosContables (
  idAsientosContables {PK},
  nombre TEXT NOT NULL DEFAULT '',
  idNegocioFk INTEGER
);
CREATE TABLE ModuloAsientosContables (
  id {PK},
  idAsientosContablesFk INTEGER REFERENCES AsientosContables(idAsientosContables),
  modulo TEXT NOT NULL DEFAULT ''
);
CREATE TABLE pdvMovimientoDireccion (
  id {PK},
  etiqueta TEXT NOT NULL DEFAULT ''
);
CREATE TABLE pdvMetodoPago (
  id {PK},
  etiqueta TEXT NOT NULL DEFAULT '',
  pdvMovimientoDireccion_id INTEGER,
  idAsientosContables INTEGER,
  familia INTEGER,
  idNegocioFk INTEGER,
  activa INTEGER NOT NULL DEFAULT 1
);
CREATE TABLE pdvClienteClasificacion (
  id {PK},
  nombre TEXT NOT NULL DEFAULT '',
  descripcion TEXT NOT NULL DEFAULT '',
  idNegocioFk INTEGER
);
CREATE TABLE pdvListaPrecios (
  id {PK},
  nombre TEXT NOT NULL DEFAULT '',
  vigenciaDesde {FECHA},
  vigenciaHasta {FECHA},
  pdvClienteClasificacion_id INTEGER,
  idNegocioFk INTEGER,
  almacen_id INTEGER,
  Sucursal_idSucursal INTEGER
);
CREATE TABLE pdvProductosLista (
  id {PK},
  pdvListaPrecios_id INTEGER,
  inventarioCategoria_id INTEGER,
  inventarioProducto_id INTEGER,
  costoUnitario TEXT
);
CREATE TABLE pdvColumnaPrecio (
  id {PK},
  pdvListaPrecios_id INTEGER,
  nombre TEXT NOT NULL DEFAULT '',
  volumen TEXT
);
CREATE TABLE pdvColumnaProducto (
  id {PK},
  pdvColumnaProductoListaPrecios_id INTEGER,
  pdvColumnaCatalogoPrecio_id INTEGER,
  inventarioProducto_id INTEGER,
  precio TEXT
);
CREATE TABLE pdvCaja (
  id {PK},
  nombre TEXT NOT NULL DEFAULT '',
  estado INTEGER NOT NULL DEFAULT 0,
  pdvSesion_id INTEGER NOT NULL DEFAULT 0,
  registroEliminado INTEGER NOT NULL DEFAULT 0,
  IdNegocioFk INTEGER
);

-- Fixed catalogues
INSERT INTO inventarioProductoEstado (id, etiqueta) VALUES (1, 'Activo');
INSERT INTO inventarioProductoEstado (id, etiqueta) VALUES (2, 'Inactivo');
INSERT INTO ventasVendedorEstado (id, etiqueta) VALUES (1, 'Activo');
INSERT INTO ventasVendedorEstado (id, etiqueta) VALUES (2, 'Inactivo');
INSERT INTO ventasVendedorEstado (id, etiqueta) VALUES (3, 'Suspendido');
INSERT INTO formaPago (id, clave, descripcion) VALUES (1, '01', 'Efectivo');
INSERT INTO formaPago (id, clave, descripcion) VALUES (2, '02', 'Cheque nominativo');
INSERT INTO formaPago (id, clave, descripcion) VALUES (3, '03', 'Transferencia electrónica de fondos');
INSERT INTO formaPago (id, clave, descripcion) VALUES (4, '04', 'Tarjeta de crédito');
INSERT INTO formaPago (id, clave, descripcion) VALUES (5, '05', 'Monedero electrónico');
INSERT INTO formaPago (id, clave, descripcion) VALUES (6, '06', 'Dinero electrónico');
INSERT INTO formaPago (id, clave, descripcion) VALUES (8, '08', 'Vales de despensa');
INSERT INTO formaPago (id, clave, descripcion) VALUES (28, '28', 'Tarjeta de débito');
INSERT INTO formaPago (id, clave, descripcion) VALUES (29, '29', 'Tarjeta de servicios');
INSERT INTO formaPago (id, clave, descripcion) VALUES (99, '99', 'Por definir');
INSERT INTO pdvMovimientoDireccion (id, etiqueta) VALUES (1, 'Entrada');
INSERT INTO pdvMovimientoDireccion (id, etiqueta) VALUES (2, 'Salida')
