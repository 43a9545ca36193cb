#pragma once
// Product, price-list, scale, tax and kit lookups of the sale register.

#include <QDateTime>
#include <QString>
#include <QVariant>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"

// Columns of both product searches: inventarioProducto_id,
// categoriaSAT33_claveProductoServicio, inventarioProducto_nombre,
// inventarioCategoria_identidad, inventarioCategoria_etiqueta, inventarioProducto_clave,
// inventarioProducto_claveAlterna, unidadesMedida_id, inventarioUnidadesMedida_descripcion,
// inventarioProducto_imagen. `soloActivos` (a variant holding true) leaves inactive products out.
CmidTierResponse filtraProductosPorcodigoBarras(const QString& codigo, const QVariant& soloActivos,
                                                int idNegocio, TConexionSesion& conexion);
// `patron` is "%" + text + "%"; case and accents are ignored. At most kMaxResultadosNombre rows,
// by name, so a short pattern on a large catalog still answers at once. The rows are those of
// "nombreBusqueda LIKE patron ORDER BY nombreBusqueda, id", found through the name index
// (operaciones/busquedaProductos.h) when the business has one.
constexpr int kMaxResultadosNombre = 60;
CmidTierResponse filtraProductosPorNombre(const QString& patron, const QVariant& soloActivos,
                                          int idNegocio, TConexionSesion& conexion);

// The product's price in the list as text; empty when the product is not in the list.
QString buscaPrecioLista(int productoId, int listaId, TConexionSesion& conexion);
// ventasListaProductos_precioLista, inventarioProductoImpuestos_ivaTrasladado,
// inventarioProductoImpuestos_iepsTrasladado.
CmidTierResponse buscaPrecioListaImpuestos(int productoId, int listaId, TConexionSesion& conexion);
// ventasListaProductos_impuestosAplicados: "ivaT|ivaR|iepsT|iepsR|isrR".
CmidTierResponse buscaImpuestoParaProductoPorLista(int listaId, int productoId,
                                                   TConexionSesion& conexion);

// Volume scale rows in ascending quantity: column 0 quantity, column 1 discount percentage.
CmidTierResponse getEscalaPorProducto(int productoId, int idNegocio, TConexionSesion& conexion);
CmidTierResponse getEscalaPorCategoria(const QString& categoria, int idNegocio,
                                       TConexionSesion& conexion);

// Kits in force at `fecha`: ventasKit_id, ventasKit_nombre, ventasKit_claveKit,
// ventasKit_precioVenta. `kitId` null lists all; `activo` 1 lists active kits; `tipo` is kept
// for the callers' signature (1 = point-of-sale kits).
CmidTierResponse consultaKitFecha(const QVariant& kitId, int idNegocio, const QVariant& activo,
                                  const QDateTime& fecha, int tipo, TConexionSesion& conexion);
// One kit: the ventasKit_ columns (id, nombre, claveKit, precioVenta and the five tax rates).
CmidTierResponse buscaKitporID(int kitId, int idNegocio, TConexionSesion& conexion);
// The kit's products: producto_id, producto_nombre, producto_clave, producto_claveAlterna,
// categoria_identidad, categoria_etiqueta, unidadesMedida_id, unidadesMedida_descripcion,
// categoriaSAT33_claveProductoServicio, ventasKitDetalle_cantidad.
CmidTierResponse buscaProductosByKitID(int kitId, TConexionSesion& conexion);

// Promotions in force at `fecha` (the `ventasPromociones_` columns).
CmidTierResponse consultaPromocion(const QVariant& promocionId, const QVariant& fecha,
                                   int idNegocio, const QVariant& activa, int tipo,
                                   TConexionSesion& conexion);

// Description of one product, as the product picker and the gift lines of a promotion use it.
struct TproductoSeleccionadoDescripcion {
  bool ok = false;
  int id = 0;
  QString texto;  // display text: key and name
  QString claveSAT, nombre, categoriaIdentidad, categoriaEtiqueta, clave, claveAlterna;
  int unidadId = 0;
  QString unidadDescripcion;
  // Tax rates as the default price list holds them.
  QString ivaTrasladado, ivaRetenido, iepsTrasladado, iepsRetenido, isrRetenido;
};
class TsistemaDatos;
TproductoSeleccionadoDescripcion seleccionarProductoPorID(int productoId, TsistemaDatos& sistema);

// Promotions in force at `fecha` for the product or its category (the ventasPromociones_
// columns), in the order they apply.
CmidTierResponse consultaPromocionPorProductoYFecha(const QString& categoria, int productoId,
                                                    int idNegocio, const QDateTime& fecha,
                                                    TConexionSesion& conexion);
// Products of a promotion's list (1 to buy, 2 gifts): inventarioProducto_id,
// ventasPromocionesProductoCategoriaClave_gridCantidad, inventarioProducto_nombre.
CmidTierResponse consultaPromocionProductosPorGrid(int promocionId, int lista,
                                                   TConexionSesion& conexion);
// One promotion (the ventasPromociones_ columns).
CmidTierResponse buscaDetallePromocionPorID(int promocionId, TConexionSesion& conexion);
