#pragma once
// Data service of the point-of-sale administration: user groups and their members,
// payment-method concepts tied to accounting entries, price lists with their products and
// volume price columns, registers, and the lookups these need. It is the one class of the
// module that carries its own SQL.
//
// Each method is one statement: it binds its arguments by name, runs the statement and answers
// the runner's result unchanged. None opens a transaction, checks its inputs or catches
// errors, so callers can run several of them inside one transaction of their own; a failure
// comes back as the runner reports it (a result that is not ok, -1 from a write, an invalid
// value from `selectMetodoKardex`, and `ultimoError()` in every case).
//
// The statements keep the shape the administration screens rely on, odd spots included:
// `selectAsientos` lists every entry of module '63' whatever its business (AND binds before
// OR), `selectProductos` matches the category as a prefix, `selectProductosTodosCostoUnitario`
// joins stock by the stock row's own id and has no business filter, a payment-method concept is
// never deleted but set inactive, and costs, prices and volumes are stored as the texts given.

#include <QDateTime>
#include <QString>
#include <QVariant>

#include "db/CmidTierResponse.h"
#include "db/TmiddleTier.h"

class Tadministracion : public TmiddleTier {
 public:
  using TmiddleTier::TmiddleTier;

  // User groups and their members.
  // A new group starts with every one of its 17 permissions off ("F").
  int insertGrupo(const QString& nombre, int idNegocio);
  CmidTierResponse selectGrupos(int idNegocio);
  CmidTierResponse selectUsuariosPorGrupo(int grupoID);
  int insertUsuarioPorGrupo(int grupoID, int usuarioNegocioID);
  int updateGrupo(int grupoID, const QString& nombre, const QString& permisos);
  CmidTierResponse selectGrupoPermisos(int grupoID);
  int deleteUsuarioByID(int usuarioID);
  // `usuarioID` is a business-user id (UsuarioNegocio).
  CmidTierResponse selectUsuarioExistentePorGrupo(int grupoID, int usuarioID);

  // Accounting entries and payment-method concepts.
  CmidTierResponse selectAsientos(const QString& modulo, int negocioID);
  int insertMovimientoConcepto(const QString& etiqueta, int direccion, int asientoID, int familiaID,
                               int negocioID);
  // Active concepts only.
  CmidTierResponse selectMovimientoConcepto(int direccion, int negocioID);
  int updateMovimientoConcepto(int id, const QString& etiqueta, int asientoID);
  // Sets the concept inactive: concepts are never deleted.
  int updateFormaDePagoColumnaActiva(int FormaDePagoID);

  // Price lists, their products and their volume price columns.
  CmidTierResponse selectClienteClasificacion(int idNegocio);
  int insertListaPrecios(const QString& nombre, const QDateTime& vigenciaDesde,
                         const QDateTime& vigenciaHasta, int clienteClasificacionID, int negocioID,
                         int sucursalID, int almacenID);
  // A null `nombreLista` lists every list of the business; otherwise lists whose name contains it.
  CmidTierResponse selectListaPreciosByNombre(const QVariant& nombreLista, int idNegocio);
  CmidTierResponse selectListaByID(int listaID);
  int updateListaPreciosByID(int listaID, const QString& nombre, const QDateTime& vigenciaDesde,
                             const QDateTime& vigenciaHasta, int clasificacionID, int sucursalID,
                             int almacenID);
  int updateListaPreciosNombre(int listaID, const QString& nombre);
  int insertDuplicaLista(int listaID);
  int deleteListaPrecios(int listaID);
  int insertListaProductos(int listaID, int categoriaID, int productoID,
                           const QString& costoUnitario);
  int insertProductoLista(int listaID, int categoriaID, int productoID, const QString& costo);
  CmidTierResponse selectListaProductos(int listaID);
  CmidTierResponse selectProductosListaByListaID(int listaID);
  int deleteListaProductosCostoUnitario(int listaID);
  int insertColumnaDentroDeLista(int listaID, const QString& nombre, const QString& volumen);
  int insertProductoDentroDeColumna(int listaID, int columnaID, int productoID,
                                    const QString& precio);
  CmidTierResponse selectColumnasPorLista(int listaID);
  CmidTierResponse selectProductosPorColumna(int columnaID);
  // `precioID` is a price-column id.
  CmidTierResponse selectProductosPorColumnaByPrecioID(int precioID);
  int deleteColumnaProductoByListaPrecio(int listaID);
  int deleteColumnaPorLista(int listaID);

  // Products and lookups.
  CmidTierResponse selectProductosTodos(int negocioID);
  // Null filters select everything; the name and the key match anywhere, the category as a
  // prefix of its text key, the state exactly.
  CmidTierResponse selectProductos(const QVariant& productoNombre,
                                   const QVariant& categoriaIdentidad,
                                   const QVariant& productoClave, const QVariant& productoEstado,
                                   int negocioID);
  CmidTierResponse selectProductosTodosCostoUnitario(int almacenID);
  CmidTierResponse selectProductoEstados();
  CmidTierResponse selectCategorias(int inegocioID);
  QVariant selectMetodoKardex(int negocioID);
  CmidTierResponse selectSucursales(int idnegocioFk);
  CmidTierResponse selectAlmacenes(int sucursalID);

  // Registers.
  // A new register is closed (state 0), bound to no session and not deleted.
  int insertCaja(const QString& nombre, int negocioID);
  CmidTierResponse selectCajas(int negocioID);

 private:
  void sentencia(const char* sql);
};
