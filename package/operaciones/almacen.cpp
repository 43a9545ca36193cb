#include "almacen.h"

namespace {
QVariant enteroONulo(const QVariant& v) {
  if (v.isNull() || !v.isValid()) return QVariant(QMetaType::fromType<int>());
  return QVariant(v.toLongLong());
}
QVariant textoONulo(const QVariant& v) {
  if (v.isNull() || !v.isValid()) return QVariant(QMetaType::fromType<QString>());
  return QVariant(v.toString());
}
}  // namespace

CmidTierResponse Talmacen::selectAlmacenes(const QVariant& filtroClave,
                                           const QVariant& filtroNombre, int idNegocio) {
  setQuery(QStringLiteral(
      "SELECT inventarioAlmacen.id AS inventarioAlmacen_id, inventarioAlmacen.clave AS "
      "inventarioAlmacen_clave, inventarioAlmacen.idSucursal AS inventarioAlmacen_idSucursal, "
      "inventarioAlmacen.nombre AS inventarioAlmacen_nombre FROM inventarioAlmacen WHERE "
      "inventarioAlmacen.idNegocioFk = :negocio AND (:clave is null OR inventarioAlmacen.clave "
      "LIKE :clave) AND (:nombre is null OR inventarioAlmacen.nombre LIKE :nombre) ORDER BY "
      "inventarioAlmacen.id"));
  setInteger(QStringLiteral("negocio"), idNegocio);
  setVariant(QStringLiteral("clave"), textoONulo(filtroClave));
  setVariant(QStringLiteral("nombre"), textoONulo(filtroNombre));
  return reader();
}

CmidTierResponse Talmacen::selectExistenciaGeneral(const QVariant& almacen,
                                                   const QVariant& producto, int idNegocio) {
  setQuery(QStringLiteral(
      "SELECT inventarioProducto.id AS inventarioProducto_id, inventarioProducto.clave || ' - ' "
      "|| inventarioProducto.nombre AS producto_titulo, inventarioAlmacen.id AS "
      "inventarioAlmacen_id, inventarioAlmacen.nombre AS inventarioAlmacen_nombre, "
      "inventarioExistencias.existencia AS inventarioExistencias_existencia FROM "
      "inventarioExistencias INNER JOIN inventarioProducto ON inventarioProducto.id = "
      "inventarioExistencias.inventarioProducto_id INNER JOIN inventarioAlmacen ON "
      "inventarioAlmacen.id = inventarioExistencias.inventarioAlmacen_id WHERE "
      "inventarioAlmacen.idNegocioFk = :negocio AND (:almacen is null OR inventarioAlmacen.id = "
      ":almacen) AND (:producto is null OR inventarioProducto.id = :producto) ORDER BY "
      "inventarioProducto.nombre, inventarioAlmacen.id"));
  setInteger(QStringLiteral("negocio"), idNegocio);
  setVariant(QStringLiteral("almacen"), enteroONulo(almacen));
  setVariant(QStringLiteral("producto"), enteroONulo(producto));
  return reader();
}

double existenciaProducto(TConexionSesion& conexion, int almacen, int producto, int idNegocio) {
  if (almacen <= 0 || producto <= 0) return 0;
  Talmacen a(conexion);
  const CmidTierResponse r = a.selectExistenciaGeneral(almacen, producto, idNegocio);
  if (!r.ok() || r.getRowCount() == 0) return 0;
  return r.getCeldaAsFloat(QStringLiteral("inventarioExistencias_existencia"));
}
