#include "Tadministracion.h"

namespace {

// What the product lookups select and join; selectProductosTodosCostoUnitario adds the
// category id after the category key and the stock cost at the end.
const char* const kProductosCampos =
    "SELECT inventarioProducto.id AS producto_id, inventarioProducto.inventarioProductoEstado_id "
    "AS productoEstado_id, inventarioProductoEstado.etiqueta AS productoEstado_etiqueta, "
    "inventarioProducto.clave AS producto_clave, inventarioProducto.claveAlterna AS "
    "producto_claveAlterna, inventarioProducto.nombre AS producto_nombre, "
    "inventarioProducto.codigoBarras AS producto_codigoBarras, inventarioProducto.descripcion AS "
    "producto_descripcion, inventarioProducto.inventarioCategoria_identidad AS "
    "categoria_identidad, ";
const char* const kProductosCamposResto =
    "inventarioCategoria.etiqueta AS categoria_etiqueta, inventarioProducto.unidadesMedida_id AS "
    "unidadesMedida_id, inventarioProducto.opControladoNoSerie AS producto_opControladoNoSerie, "
    "inventarioUnidadesMedida.descripcion AS unidadesMedida_descripcion, "
    "inventarioUnidadesMedida.conjunto AS unidadesMedida_conjunto, "
    "inventarioUnidadesMedida.relacion AS unidadesMedida_relacion";
const char* const kProductosJoins =
    " FROM inventarioProducto INNER JOIN inventarioProductoEstado ON "
    "inventarioProducto.inventarioProductoEstado_id = inventarioProductoEstado.id INNER JOIN "
    "inventarioCategoria ON inventarioProducto.inventarioCategoria_identidad = "
    "inventarioCategoria.identidad LEFT JOIN inventarioUnidadesMedida ON "
    "inventarioProducto.unidadesMedida_id = inventarioUnidadesMedida.ID";

// A search filter: null stays null (the statement's "is null" branch), anything else gets the
// wildcards around it.
QVariant comodin(const QVariant& valor, const QString& antes, const QString& despues) {
  if (valor.isNull()) return QVariant(QMetaType::fromType<QString>());
  return QVariant(antes + valor.toString() + despues);
}

}  // namespace

void Tadministracion::sentencia(const char* sql) {
  QString texto = QString::fromUtf8(sql);
  // SQLite's LIKE ignores the case of letters and PostgreSQL's does not: ILIKE there, so a
  // search finds the same rows on both engines.
  if (esPostgres()) texto.replace(QStringLiteral(" LIKE "), QStringLiteral(" ILIKE "));
  setQuery(texto);
}

// User groups and their members.

int Tadministracion::insertGrupo(const QString& nombre, int idNegocio) {
  sentencia(
      "INSERT INTO pdvGrupoUsuarios(nombre, idNegocioFK, permisos) VALUES "
      "(:nombre,:idNegocio,:permisos)");
  setString(QStringLiteral("nombre"), nombre);
  setInteger(QStringLiteral("idNegocio"), idNegocio);
  setString(QStringLiteral("permisos"), QStringLiteral("FFFFFFFFFFFFFFFFF"));
  return nonQuery();
}

CmidTierResponse Tadministracion::selectGrupos(int idNegocio) {
  sentencia(
      "SELECT pdvGrupoUsuarios.id AS pdvGrupoUsuarios_id, pdvGrupoUsuarios.nombre AS "
      "pdvGrupoUsuarios_nombre, pdvGrupoUsuarios.permisos AS pdvGrupoUsuarios_permisos FROM "
      "pdvGrupoUsuarios WHERE pdvGrupoUsuarios.idNegocioFk = :idNegocio");
  setInteger(QStringLiteral("idNegocio"), idNegocio);
  return reader();
}

CmidTierResponse Tadministracion::selectUsuariosPorGrupo(int grupoID) {
  // The blank between the name parts is a single-quoted text: a double-quoted one is a text on
  // SQLite but a column name on PostgreSQL.
  sentencia(
      "SELECT pdvUsuarios.id AS pdvUsuarios_id, Persona.nombre || ' ' || Persona.apellidoPaterno "
      "|| ' ' || Persona.apellidoMaterno AS Persona_nombre FROM pdvUsuarios LEFT JOIN "
      "UsuarioNegocio ON pdvUsuarios.UsuarioNegocio_idUsuarioNegocio = "
      "UsuarioNegocio.idUsuarioNegocio LEFT JOIN Usuario on UsuarioNegocio.idUsuarioTabla = "
      "Usuario.idUsuario LEFT JOIN Persona on usuario.idPersonaTabla = Persona.idPersona WHERE "
      "pdvUsuarios.pdvGrupoUsuarios_id = :grupoID");
  setInteger(QStringLiteral("grupoID"), grupoID);
  return reader();
}

int Tadministracion::insertUsuarioPorGrupo(int grupoID, int usuarioNegocioID) {
  sentencia(
      "INSERT INTO pdvUsuarios(pdvGrupoUsuarios_id, UsuarioNegocio_idUsuarioNegocio) VALUES "
      "(:grupoID,:usuarioNegocioID)");
  setInteger(QStringLiteral("grupoID"), grupoID);
  setInteger(QStringLiteral("usuarioNegocioID"), usuarioNegocioID);
  return nonQuery();
}

int Tadministracion::updateGrupo(int grupoID, const QString& nombre, const QString& permisos) {
  sentencia("UPDATE pdvGrupoUsuarios SET nombre =:nombre, permisos =:permisos WHERE id =:grupoID");
  setInteger(QStringLiteral("grupoID"), grupoID);
  setString(QStringLiteral("nombre"), nombre);
  setString(QStringLiteral("permisos"), permisos);
  return nonQuery();
}

CmidTierResponse Tadministracion::selectGrupoPermisos(int grupoID) {
  sentencia(
      "SELECT pdvGrupoUsuarios.permisos AS pdvGrupoUsuarios_permisos FROM pdvGrupoUsuarios WHERE "
      "pdvGrupoUsuarios.id = :grupoID");
  setInteger(QStringLiteral("grupoID"), grupoID);
  return reader();
}

int Tadministracion::deleteUsuarioByID(int usuarioID) {
  sentencia("DELETE FROM pdvUsuarios WHERE id =:usuarioID");
  setInteger(QStringLiteral("usuarioID"), usuarioID);
  return nonQuery();
}

CmidTierResponse Tadministracion::selectUsuarioExistentePorGrupo(int grupoID, int usuarioID) {
  sentencia(
      "SELECT pdvUsuarios.id AS pdvUsuarios_id FROM pdvUsuarios WHERE "
      "pdvUsuarios.pdvGrupoUsuarios_id = :grupoID AND "
      "pdvUsuarios.UsuarioNegocio_idUsuarioNegocio =:usuarioID");
  setInteger(QStringLiteral("grupoID"), grupoID);
  setInteger(QStringLiteral("usuarioID"), usuarioID);
  return reader();
}

// Accounting entries and payment-method concepts.

CmidTierResponse Tadministracion::selectAsientos(const QString& modulo, int negocioID) {
  // AND binds before OR: the business filter belongs to the second LIKE only, so the entries
  // of module '63' of every business are listed. The screens count on that.
  sentencia(
      "SELECT AsientosContables.idAsientosContables AS AsientosContables_id, "
      "AsientosContables.nombre AS AsientosContables_nombre, ModuloAsientosContables.modulo AS "
      "ModuloAsientosContables_modulo FROM AsientosContables LEFT JOIN ModuloAsientosContables ON "
      "AsientosContables.idAsientosContables = ModuloAsientosContables.idAsientosContablesFk "
      "WHERE ModuloAsientosContables.modulo LIKE '63' OR ModuloAsientosContables.modulo LIKE "
      ":modulo AND AsientosContables.idNegocioFk =:negocioID");
  setInteger(QStringLiteral("negocioID"), negocioID);
  setString(QStringLiteral("modulo"), modulo);
  return reader();
}

int Tadministracion::insertMovimientoConcepto(const QString& etiqueta, int direccion, int asientoID,
                                              int familiaID, int negocioID) {
  sentencia(
      "INSERT INTO pdvMetodoPago(etiqueta, pdvMovimientoDireccion_id, idAsientosContables, "
      "familia, idNegocioFk, activa) VALUES (:etiqueta, :pdvMovimientoDireccion, :asientoID, "
      ":familiaID, :negocioID, 1)");
  setString(QStringLiteral("etiqueta"), etiqueta);
  setInteger(QStringLiteral("pdvMovimientoDireccion"), direccion);
  setInteger(QStringLiteral("asientoID"), asientoID);
  setInteger(QStringLiteral("familiaID"), familiaID);
  setInteger(QStringLiteral("negocioID"), negocioID);
  return nonQuery();
}

CmidTierResponse Tadministracion::selectMovimientoConcepto(int direccion, int negocioID) {
  sentencia(
      "SELECT pdvMetodoPago.id AS pdvMetodoPago_id, pdvMetodoPago.etiqueta AS "
      "pdvMetodoPago_etiqueta, pdvMetodoPago.familia AS pdvMetodoPago_familia, "
      "AsientosContables.idAsientosContables AS AsientosContables_id, AsientosContables.nombre AS "
      "AsientosContables_nombre, ModuloAsientosContables.modulo AS ModuloAsientosContables_modulo "
      "FROM pdvMetodoPago LEFT JOIN AsientosContables ON pdvMetodoPago.idAsientosContables = "
      "AsientosContables.idAsientosContables LEFT JOIN ModuloAsientosContables ON "
      "AsientosContables.idAsientosContables = ModuloAsientosContables.idAsientosContablesFk "
      "WHERE pdvMovimientoDireccion_id =:pdvMovimientoDireccion AND pdvMetodoPago.idNegocioFk "
      "=:negocioID AND pdvMetodoPago.activa = 1");
  setInteger(QStringLiteral("pdvMovimientoDireccion"), direccion);
  setInteger(QStringLiteral("negocioID"), negocioID);
  return reader();
}

int Tadministracion::updateMovimientoConcepto(int id, const QString& etiqueta, int asientoID) {
  sentencia(
      "UPDATE pdvMetodoPago SET etiqueta =:etiqueta, idAsientosContables =:asientoID WHERE "
      "pdvMetodoPago.id =:id");
  setInteger(QStringLiteral("id"), id);
  setString(QStringLiteral("etiqueta"), etiqueta);
  setInteger(QStringLiteral("asientoID"), asientoID);
  return nonQuery();
}

int Tadministracion::updateFormaDePagoColumnaActiva(int FormaDePagoID) {
  sentencia("UPDATE pdvMetodoPago SET activa = 0 WHERE pdvMetodoPago.id =:FormaDePagoID");
  setInteger(QStringLiteral("FormaDePagoID"), FormaDePagoID);
  return nonQuery();
}

// Price lists.

CmidTierResponse Tadministracion::selectClienteClasificacion(int idNegocio) {
  sentencia(
      "SELECT pdvClienteClasificacion.id AS pdvClienteClasificacion_id, "
      "pdvClienteClasificacion.nombre AS pdvClienteClasificacion_nombre, "
      "pdvClienteClasificacion.descripcion AS pdvClienteClasificacion_descripcion FROM "
      "pdvClienteClasificacion WHERE pdvClienteClasificacion.idNegocioFk = :idNegocio");
  setInteger(QStringLiteral("idNegocio"), idNegocio);
  return reader();
}

int Tadministracion::insertListaPrecios(const QString& nombre, const QDateTime& vigenciaDesde,
                                        const QDateTime& vigenciaHasta, int clienteClasificacionID,
                                        int negocioID, int sucursalID, int almacenID) {
  sentencia(
      "INSERT INTO pdvListaPrecios(nombre, vigenciaDesde, vigenciaHasta, "
      "pdvClienteClasificacion_id, idNegocioFk, almacen_id, Sucursal_idSucursal) VALUES "
      "(:nombre, :vigenciaDesde, :vigenciaHasta, :clienteClasificacionID, :negocioID, "
      ":almacenID, :sucursalID)");
  setString(QStringLiteral("nombre"), nombre);
  setDateTime(QStringLiteral("vigenciaDesde"), vigenciaDesde);
  setDateTime(QStringLiteral("vigenciaHasta"), vigenciaHasta);
  setInteger(QStringLiteral("clienteClasificacionID"), clienteClasificacionID);
  setInteger(QStringLiteral("negocioID"), negocioID);
  setInteger(QStringLiteral("sucursalID"), sucursalID);
  setInteger(QStringLiteral("almacenID"), almacenID);
  return nonQuery();
}

CmidTierResponse Tadministracion::selectListaPreciosByNombre(const QVariant& nombreLista,
                                                             int idNegocio) {
  sentencia(
      "SELECT pdvListaPrecios.id AS pdvListaPrecios_id, pdvListaPrecios.nombre AS "
      "pdvListaPrecios_nombre, pdvListaPrecios.vigenciaDesde AS pdvListaPrecios_vigenciaDesde, "
      "pdvListaPrecios.vigenciaHasta AS pdvListaPrecios_vigenciaHasta, "
      "pdvListaPrecios.pdvClienteClasificacion_id AS pdvClienteClasificacion_id, "
      "pdvClienteClasificacion.nombre AS pdvClienteClasificacion_nombre FROM pdvListaPrecios LEFT "
      "JOIN pdvClienteClasificacion ON pdvListaPrecios.pdvClienteClasificacion_id = "
      "pdvClienteClasificacion.id WHERE (:nombreLista is null OR pdvListaPrecios.nombre LIKE "
      ":nombreLista) AND pdvListaPrecios.idNegocioFk = :idNegocio");
  setVariant(QStringLiteral("nombreLista"), comodin(nombreLista, "%", "%"));
  setInteger(QStringLiteral("idNegocio"), idNegocio);
  return reader();
}

CmidTierResponse Tadministracion::selectListaByID(int listaID) {
  sentencia(
      "SELECT pdvListaPrecios.id AS pdvListaPrecios_id, pdvListaPrecios.nombre AS "
      "pdvListaPrecios_nombre, pdvListaPrecios.vigenciaDesde AS pdvListaPrecios_vigenciaDesde, "
      "pdvListaPrecios.vigenciaHasta AS pdvListaPrecios_vigenciaHasta, "
      "pdvListaPrecios.pdvClienteClasificacion_id AS pdvClienteClasificacion_id, "
      "pdvClienteClasificacion.nombre AS pdvClienteClasificacion_nombre, "
      "pdvListaPrecios.Sucursal_idSucursal AS Sucursal_idSucursal, Sucursal.nombreSucursal AS "
      "Sucursal_nombreSucursal, pdvListaPrecios.almacen_id AS almacen_id, inventarioAlmacen.nombre "
      "AS inventarioAlmacen_nombre FROM pdvListaPrecios LEFT JOIN pdvClienteClasificacion ON "
      "pdvListaPrecios.pdvClienteClasificacion_id = pdvClienteClasificacion.id LEFT JOIN Sucursal "
      "ON pdvListaPrecios.Sucursal_idSucursal = Sucursal.idSucursal LEFT JOIN inventarioAlmacen ON "
      "pdvListaPrecios.almacen_id = inventarioAlmacen.id WHERE pdvListaPrecios.id =:listaID");
  setInteger(QStringLiteral("listaID"), listaID);
  return reader();
}

int Tadministracion::updateListaPreciosByID(int listaID, const QString& nombre,
                                            const QDateTime& vigenciaDesde,
                                            const QDateTime& vigenciaHasta, int clasificacionID,
                                            int sucursalID, int almacenID) {
  sentencia(
      "UPDATE pdvListaPrecios SET nombre =:nombre, vigenciaDesde =:vigenciaDesde, vigenciaHasta "
      "=:vigenciaHasta, pdvClienteClasificacion_id =:clasificacionID, Sucursal_idSucursal "
      "=:sucursalID, almacen_id =:almacenID WHERE pdvListaPrecios.id =:listaID");
  setInteger(QStringLiteral("listaID"), listaID);
  setString(QStringLiteral("nombre"), nombre);
  setDateTime(QStringLiteral("vigenciaDesde"), vigenciaDesde);
  setDateTime(QStringLiteral("vigenciaHasta"), vigenciaHasta);
  setInteger(QStringLiteral("clasificacionID"), clasificacionID);
  setInteger(QStringLiteral("sucursalID"), sucursalID);
  setInteger(QStringLiteral("almacenID"), almacenID);
  return nonQuery();
}

int Tadministracion::updateListaPreciosNombre(int listaID, const QString& nombre) {
  sentencia("UPDATE pdvListaPrecios SET nombre =:nombre WHERE pdvListaPrecios.id =:listaID");
  setInteger(QStringLiteral("listaID"), listaID);
  setString(QStringLiteral("nombre"), nombre);
  return nonQuery();
}

int Tadministracion::insertDuplicaLista(int listaID) {
  sentencia(
      "INSERT INTO pdvListaPrecios(nombre, vigenciaDesde, vigenciaHasta, "
      "pdvClienteClasificacion_id, idNegocioFk, almacen_id, Sucursal_idSucursal) SELECT nombre, "
      "vigenciaDesde, vigenciaHasta, pdvClienteClasificacion_id, idNegocioFk, almacen_id, "
      "Sucursal_idSucursal FROM pdvListaPrecios WHERE pdvListaPrecios.id =:listaID");
  setInteger(QStringLiteral("listaID"), listaID);
  return nonQuery();
}

int Tadministracion::deleteListaPrecios(int listaID) {
  sentencia("DELETE FROM pdvListaPrecios WHERE pdvListaPrecios.id =:listaID");
  setInteger(QStringLiteral("listaID"), listaID);
  return nonQuery();
}

int Tadministracion::insertListaProductos(int listaID, int categoriaID, int productoID,
                                          const QString& costoUnitario) {
  sentencia(
      "INSERT INTO pdvProductosLista(pdvListaPrecios_id, inventarioCategoria_id, "
      "inventarioProducto_id, costoUnitario) VALUES (:listaID, :categoriaID, :productoID, "
      ":costoUnitario)");
  setInteger(QStringLiteral("listaID"), listaID);
  setInteger(QStringLiteral("categoriaID"), categoriaID);
  setInteger(QStringLiteral("productoID"), productoID);
  setString(QStringLiteral("costoUnitario"), costoUnitario);
  return nonQuery();
}

int Tadministracion::insertProductoLista(int listaID, int categoriaID, int productoID,
                                         const QString& costo) {
  sentencia(
      "INSERT INTO pdvProductosLista(pdvListaPrecios_id, inventarioCategoria_id, "
      "inventarioProducto_id, costoUnitario) VALUES (:listaID, :categoriaID, :productoID, "
      ":costo)");
  setInteger(QStringLiteral("listaID"), listaID);
  setInteger(QStringLiteral("categoriaID"), categoriaID);
  setInteger(QStringLiteral("productoID"), productoID);
  setString(QStringLiteral("costo"), costo);
  return nonQuery();
}

CmidTierResponse Tadministracion::selectListaProductos(int listaID) {
  // The WHERE on the outer-joined list keeps only the products the list holds.
  sentencia(
      "SELECT inventarioProducto.id AS producto_id, inventarioProducto.inventarioProductoEstado_id "
      "AS productoEstado_id, inventarioProductoEstado.etiqueta AS productoEstado_etiqueta, "
      "pdvProductosLista.inventarioCategoria_id AS inventarioCategoria_id, "
      "inventarioCategoria.etiqueta AS categoria_etiqueta, inventarioCategoria.identidad AS "
      "categoria_identidad, pdvProductosLista.inventarioProducto_id AS invnetarioProducto_id, "
      "inventarioProducto.nombre AS producto_nombre, pdvProductosLista.costoUnitario AS "
      "inventarioCostoUnitario FROM inventarioProducto INNER JOIN inventarioProductoEstado ON "
      "inventarioProducto.inventarioProductoEstado_id = inventarioProductoEstado.id INNER JOIN "
      "inventarioCategoria ON inventarioProducto.inventarioCategoria_identidad = "
      "inventarioCategoria.identidad LEFT JOIN pdvProductosLista ON inventarioProducto.id = "
      "pdvProductosLista.inventarioProducto_id WHERE pdvProductosLista.pdvListaPrecios_id "
      "=:listaID");
  setInteger(QStringLiteral("listaID"), listaID);
  return reader();
}

CmidTierResponse Tadministracion::selectProductosListaByListaID(int listaID) {
  sentencia(
      "SELECT pdvProductosLista.inventarioCategoria_id AS inventarioCategoria_id, "
      "pdvProductosLista.inventarioProducto_id AS inventarioProducto_id, "
      "pdvProductosLista.costoUnitario AS pdvProductosLista_costoUnitario FROM pdvProductosLista "
      "WHERE pdvProductosLista.pdvListaPrecios_id = :listaID");
  setInteger(QStringLiteral("listaID"), listaID);
  return reader();
}

int Tadministracion::deleteListaProductosCostoUnitario(int listaID) {
  sentencia("DELETE FROM pdvProductosLista WHERE pdvProductosLista.pdvListaPrecios_id =:listaID");
  setInteger(QStringLiteral("listaID"), listaID);
  return nonQuery();
}

int Tadministracion::insertColumnaDentroDeLista(int listaID, const QString& nombre,
                                                const QString& volumen) {
  // The parameter has always been spelled "volumnen".
  sentencia(
      "INSERT INTO pdvColumnaPrecio(pdvListaPrecios_id, nombre, volumen) VALUES "
      "(:listaID,:nombre,:volumnen)");
  setInteger(QStringLiteral("listaID"), listaID);
  setString(QStringLiteral("nombre"), nombre);
  setString(QStringLiteral("volumnen"), volumen);
  return nonQuery();
}

int Tadministracion::insertProductoDentroDeColumna(int listaID, int columnaID, int productoID,
                                                   const QString& precio) {
  sentencia(
      "INSERT INTO "
      "pdvColumnaProducto(pdvColumnaProductoListaPrecios_id,pdvColumnaCatalogoPrecio_id, "
      "inventarioProducto_id, precio) VALUES (:listaID,:columnaID,:productoID,:precio)");
  setInteger(QStringLiteral("listaID"), listaID);
  setInteger(QStringLiteral("columnaID"), columnaID);
  setInteger(QStringLiteral("productoID"), productoID);
  setString(QStringLiteral("precio"), precio);
  return nonQuery();
}

CmidTierResponse Tadministracion::selectColumnasPorLista(int listaID) {
  sentencia(
      "SELECT pdvColumnaPrecio.id AS pdvColumnaPrecio_id, pdvColumnaPrecio.pdvListaPrecios_id AS "
      "pdvListaPrecios_id, pdvColumnaPrecio.nombre AS pdvColumnaPrecio_nombre, "
      "pdvColumnaPrecio.volumen AS pdvColumnaPrecio_volumen FROM pdvColumnaPrecio WHERE "
      "pdvColumnaPrecio.pdvListaPrecios_id = :listaID");
  setInteger(QStringLiteral("listaID"), listaID);
  return reader();
}

CmidTierResponse Tadministracion::selectProductosPorColumna(int columnaID) {
  sentencia(
      "SELECT pdvColumnaProducto.inventarioProducto_id AS inventarioProducto_id, "
      "pdvColumnaProducto.precio AS pdvColumnaPrecio_precio FROM pdvColumnaProducto WHERE "
      "pdvColumnaProducto.pdvColumnaCatalogoPrecio_id = :columnaID");
  setInteger(QStringLiteral("columnaID"), columnaID);
  return reader();
}

CmidTierResponse Tadministracion::selectProductosPorColumnaByPrecioID(int precioID) {
  sentencia(
      "SELECT pdvColumnaProducto.id AS pdvColumnaProducto_id, "
      "pdvColumnaProducto.pdvColumnaCatalogoPrecio_id AS pdvColumnaCatalogoPrecio_id, "
      "pdvColumnaProducto.inventarioProducto_id AS inventarioProducto_id, "
      "pdvColumnaProducto.precio AS pdvColumnaPrecio_precio FROM pdvColumnaProducto WHERE "
      "pdvColumnaProducto.pdvColumnaCatalogoPrecio_id = :precioID");
  setInteger(QStringLiteral("precioID"), precioID);
  return reader();
}

int Tadministracion::deleteColumnaProductoByListaPrecio(int listaID) {
  sentencia(
      "DELETE FROM pdvColumnaProducto WHERE pdvColumnaProducto.pdvColumnaProductoListaPrecios_id "
      "=:listaID");
  setInteger(QStringLiteral("listaID"), listaID);
  return nonQuery();
}

int Tadministracion::deleteColumnaPorLista(int listaID) {
  sentencia("DELETE FROM pdvColumnaPrecio WHERE pdvColumnaPrecio.pdvListaPrecios_id =:listaID");
  setInteger(QStringLiteral("listaID"), listaID);
  return nonQuery();
}

// Products and lookups.

CmidTierResponse Tadministracion::selectProductosTodos(int negocioID) {
  const QByteArray sql = QByteArray(kProductosCampos) + kProductosCamposResto + kProductosJoins +
                         " WHERE inventarioProducto.idNegocioFk =:negocioID";
  sentencia(sql.constData());
  setInteger(QStringLiteral("negocioID"), negocioID);
  return reader();
}

CmidTierResponse Tadministracion::selectProductos(const QVariant& productoNombre,
                                                  const QVariant& categoriaIdentidad,
                                                  const QVariant& productoClave,
                                                  const QVariant& productoEstado, int negocioID) {
  // The category matches as a prefix of its key ("BEB" finds "BEBIDAS", "EBI" does not).
  const QByteArray sql =
      QByteArray(kProductosCampos) + kProductosCamposResto + kProductosJoins +
      " WHERE (:productoNombre is null OR inventarioProducto.nombre LIKE :productoNombre) AND "
      "(:categoriaIdentidad is null OR inventarioProducto.inventarioCategoria_identidad LIKE "
      ":categoriaIdentidad) AND (:productoClave is null OR inventarioProducto.clave LIKE "
      ":productoClave OR inventarioProducto.claveAlterna LIKE :productoClave) AND "
      "(:productoEstado is null OR inventarioProducto.inventarioProductoEstado_id "
      "=:productoEstado) AND inventarioProducto.idNegocioFk =:negocioID";
  sentencia(sql.constData());
  setVariant(QStringLiteral("productoNombre"), comodin(productoNombre, "%", "%"));
  setVariant(QStringLiteral("categoriaIdentidad"), comodin(categoriaIdentidad, "", "%"));
  setVariant(QStringLiteral("productoClave"), comodin(productoClave, "%", "%"));
  // The state is compared with an integer column, which PostgreSQL will not do with a text:
  // a state given as a number's text travels as that number, a null as a numeric null.
  bool numero = false;
  const qlonglong estado = productoEstado.toLongLong(&numero);
  if (productoEstado.isNull())
    setNull(QStringLiteral("productoEstado"), QMetaType::LongLong);
  else if (numero)
    setInteger(QStringLiteral("productoEstado"), estado);
  else
    setVariant(QStringLiteral("productoEstado"), productoEstado);
  setInteger(QStringLiteral("negocioID"), negocioID);
  return reader();
}

CmidTierResponse Tadministracion::selectProductosTodosCostoUnitario(int almacenID) {
  // Stock is joined by the stock row's own id and there is no business filter, as the price
  // list screens have always read it; products with no stock row come with cost 0.
  const QByteArray sql =
      QByteArray(kProductosCampos) + "inventarioCategoria.id AS inventarioCategoria_id, " +
      kProductosCamposResto +
      ", COALESCE(inventarioExistencias.costoUnitario,0) AS inventarioCostoUnitario" +
      kProductosJoins +
      " LEFT JOIN inventarioExistencias ON inventarioProducto.id = inventarioExistencias.id WHERE "
      "inventarioExistencias.inventarioAlmacen_id =:almacenID OR "
      "inventarioExistencias.inventarioAlmacen_id IS NULL";
  sentencia(sql.constData());
  setInteger(QStringLiteral("almacenID"), almacenID);
  return reader();
}

CmidTierResponse Tadministracion::selectProductoEstados() {
  sentencia(
      "SELECT inventarioProductoEstado.id AS productoEstado_id, inventarioProductoEstado.etiqueta "
      "AS productoEstado_etiqueta FROM inventarioProductoEstado");
  return reader();
}

CmidTierResponse Tadministracion::selectCategorias(int inegocioID) {
  sentencia(
      "SELECT inventarioCategoria.id AS categoria_id, inventarioCategoria.identidad AS "
      "categoria_identidad, inventarioCategoria.etiqueta AS categoria_etiqueta, "
      "inventarioCategoria.carpeta AS categoria_carpeta FROM inventarioCategoria WHERE "
      "inventarioCategoria.idNegocioFk =:inegocioID ORDER BY categoria_identidad");
  setInteger(QStringLiteral("inegocioID"), inegocioID);
  return reader();
}

QVariant Tadministracion::selectMetodoKardex(int negocioID) {
  sentencia(
      "SELECT inventarioOpciones.kardexMetodo AS inventarioOpciones_kardexMetodo FROM "
      "inventarioOpciones WHERE inventarioOpciones.idNegocioFk =:negocioID");
  setInteger(QStringLiteral("negocioID"), negocioID);
  return scalar();
}

CmidTierResponse Tadministracion::selectSucursales(int idnegocioFk) {
  sentencia(
      "SELECT Sucursal.idSucursal AS idSucursal, Sucursal.nombreSucursal AS nombreSucursal FROM "
      "Sucursal WHERE Sucursal.estatus = 0 AND Sucursal.idNegocioFk =:idnegocioFk AND "
      "LENGTH(Sucursal.nombreSucursal) > 0");
  setInteger(QStringLiteral("idnegocioFk"), idnegocioFk);
  return reader();
}

CmidTierResponse Tadministracion::selectAlmacenes(int sucursalID) {
  sentencia(
      "SELECT inventarioAlmacen.id AS almacen_id, inventarioAlmacen.nombre AS almacen_nombre FROM "
      "inventarioAlmacen LEFT JOIN Sucursal ON inventarioAlmacen.idSucursal = Sucursal.idSucursal "
      "WHERE Sucursal.idSucursal =:sucursalID");
  setInteger(QStringLiteral("sucursalID"), sucursalID);
  return reader();
}

// Registers.

int Tadministracion::insertCaja(const QString& nombre, int negocioID) {
  sentencia(
      "INSERT INTO pdvCaja(nombre,estado, pdvSesion_id, registroEliminado, IdNegocioFk) VALUES "
      "(:nombre,:estado,:sesion,:eliminado, :negocioID)");
  setString(QStringLiteral("nombre"), nombre);
  setInteger(QStringLiteral("estado"), 0);
  setInteger(QStringLiteral("sesion"), 0);
  setInteger(QStringLiteral("eliminado"), 0);
  setInteger(QStringLiteral("negocioID"), negocioID);
  return nonQuery();
}

CmidTierResponse Tadministracion::selectCajas(int negocioID) {
  sentencia(
      "SELECT pdvCaja.id AS pdvCaja_id, pdvCaja.nombre AS pdvCaja_nombre, pdvCaja.estado AS "
      "pdvCaja_estado, pdvCaja.pdvSesion_id AS pdvSesion_id FROM pdvCaja WHERE "
      "pdvCaja.IdNegocioFk = :negocioID AND pdvCaja.registroEliminado = 0");
  setInteger(QStringLiteral("negocioID"), negocioID);
  return reader();
}
