#include "TiendaDevoluciones.h"

#include <gtest/gtest.h>

#include "db/TmiddleTier.h"
#include "operaciones/inventario.h"
#include "operaciones/noSerie.h"
#include "operaciones/productos.h"
#include "sale/reglas/lineas_venta.h"
#include "util/utilerias.h"

TiendaDevoluciones::TiendaDevoluciones(BaseDatosPrueba& db)
    : uDb(db), uCatalogo(std::make_unique<CatalogoPrueba>(db.conexion())) {
  CatalogoPrueba& c = *uCatalogo;
  c.negocioBasico();
  c.producto(kAudifonos, "Audífonos inalámbricos", "7500000000011", 349);
  c.producto(kFrijol, "Frijol bayo a granel", "7500000000028", 36, "0|0|0|0|0");
  c.producto(kRefresco, "Refresco de cola 600 ml", "7500000000035", 20);
  for (int p : {kAudifonos, kFrijol, kRefresco}) c.existencia(p, 10);
  cuenta(QString("UPDATE inventarioProducto SET opControladoNoSerie = 1 WHERE id = %1")
             .arg(kAudifonos));
  cuenta(QString("UPDATE inventarioProducto SET enteroFraccion = 1 WHERE id = %1").arg(kFrijol));
  for (int i = 1; i <= 4; ++i)
    cuenta(QString("INSERT INTO inventarioNoSerie (inventarioProducto_id, inventarioAlmacen_id, "
                   "noSerie, estado, idNegocioFk) VALUES (%1, 1, 'AUD-%2', 1, 1)")
               .arg(kAudifonos)
               .arg(i));
  c.kit(7, "Paquete fiesta", 50, {{kRefresco, "2"}, {kFrijol, "1"}});
  c.cajero(1, "Ana");
  c.cajaAbierta(1, "ESTACION-PRUEBA", 1, 500);
  uDb.llenaLocalSYS(1);
}

TiendaDevoluciones::Venta TiendaDevoluciones::vende() {
  TLineasVenta v(localSYS);
  v.uListaPreciosID = uCatalogo->listaId();
  const auto lee = [&](const char* codigo) {
    return v.agregarConcepto(
        filtraProductosPorcodigoBarras(codigo, QVariant(true), 1, uDb.conexion()), 0);
  };
  v.cambiaCantidad(lee("7500000000011"), 2);
  v.cambiaCantidad(lee("7500000000028"), 2.5);
  v.cambiaCantidad(lee("7500000000035"), 3);
  return guarda(v);
}

TiendaDevoluciones::Venta TiendaDevoluciones::vendeKit() {
  TLineasVenta v(localSYS);
  v.uListaPreciosID = uCatalogo->listaId();
  EXPECT_TRUE(v.agregaKit(7));
  return guarda(v);
}

TiendaDevoluciones::Venta TiendaDevoluciones::guarda(TLineasVenta& v) {
  TFormasPago f;
  f[0].nombre = "Efectivo";
  f[0].valor = u_floatToStr(v.uTotal);
  for (int i = 1; i < 7; ++i) f[i].nombre = "Otro";
  const rRespuestaPuntoVenta r = TConexionInventario().descuentaInventarioFromPuntoVenta(
      u_floatToStr(v.uTotal), u_floatToStr(v.uSubtotal), u_floatToStr(v.uDescuento),
      u_floatToStr(v.uTotal), "0", u_truncaMoneda(u_floatToStr(v.uImpuestos)), f, v.lineas(),
      uDb.conexion(), 1, 1, QStringLiteral("ESTACION-PRUEBA"));
  EXPECT_TRUE(r.ok) << r.mensaje.toStdString();
  return {r.operacionID, r.ticketNo};
}

int TiendaDevoluciones::detalle(int operacionID, int producto) {
  return static_cast<int>(cuenta(QString("SELECT id FROM puntoOperacionDetalle WHERE "
                                         "puntoOperacion_id = %1 AND inventarioProducto_id = %2")
                                     .arg(operacionID)
                                     .arg(producto)));
}

void TiendaDevoluciones::asignaSeries(int detalleID, const QStringList& series) {
  QVector<int> ids;
  for (const QString& s : series)
    ids << static_cast<int>(
        cuenta(QString("SELECT id FROM inventarioNoSerie WHERE noSerie = '%1'").arg(s)));
  const TresultadoNoSerie r = asignaNoSerieATicket(detalleID, ids, 1, uDb.conexion());
  ASSERT_TRUE(r.ok) << r.mensaje.toStdString();
}

double TiendaDevoluciones::existencia(int producto) {
  return cuenta(QString("SELECT existencia FROM inventarioExistencias WHERE inventarioProducto_id "
                        "= %1 AND inventarioAlmacen_id = 1")
                    .arg(producto));
}

double TiendaDevoluciones::devuelto(int detalleID) {
  return cuenta(
      QString("SELECT devolucion FROM puntoOperacionDetalle WHERE id = %1").arg(detalleID));
}

int TiendaDevoluciones::estadoSerie(const QString& noSerie) {
  return static_cast<int>(
      cuenta(QString("SELECT estado FROM inventarioNoSerie WHERE noSerie = '%1'").arg(noSerie)));
}

int TiendaDevoluciones::enlaces(int detalleID) {
  return static_cast<int>(cuenta(
      QString("SELECT COUNT(*) FROM inventarioNoSerieTicket WHERE puntoOperacionDetalle_id = %1")
          .arg(detalleID)));
}

int TiendaDevoluciones::devoluciones() {
  return static_cast<int>(cuenta(QStringLiteral("SELECT COUNT(*) FROM ventasDevolucion")));
}

double TiendaDevoluciones::cuenta(const QString& sql) {
  TmiddleTier mt(uDb.conexion());
  mt.setQuery(sql);
  const QVariant v = mt.scalar();
  if (!sql.startsWith(QLatin1String("SELECT"))) {
    EXPECT_TRUE(mt.ultimoError().isEmpty()) << mt.ultimoError().toStdString();
    return 0;
  }
  return v.toDouble();
}
