// Promotions rewrite the sale-line table while the cashier reads products.
#include <cmath>

#include "operaciones/almacen.h"
#include "sale/reglas/lineas_venta.h"
#include "sale/reglas/promociones.h"
#include "util/utilerias.h"

namespace {

QString num(double v) { return u_floatToStr(v); }

// Field i of a promotion's "|"-separated parameters (empty when missing).
QString campo(const QStringList& campos, int i) { return campos.value(i).trimmed(); }

enum CodigoPromocion { kPagaMenos = 0, kConjunto = 1, kPorcentaje = 2, kSiguienteUnidad = 3 };

}  // namespace

void TLineasVenta::compruebaPromocionFilaRecienInsertdada(int fila) {
  TGridControl& g = uGRD_mainControl;
  if (fila < 0 || fila >= g.getRowCount()) return;
  const int productoId = g.getCeldaAsInt(QStringLiteral("_Producto_id"), fila);
  const QString categoria = g.getCelda(QStringLiteral("_Categoria"), fila);
  const CmidTierResponse promociones = consultaPromocionPorProductoYFecha(
      categoria, productoId, idNegocio(), QDateTime::currentDateTime(), conexion());
  if (!promociones.ok() || promociones.getRowCount() == 0) return;
  if (tipoLinea(fila) != lineas::kProducto) return;
  for (int i = 0; i < promociones.getRowCount(); ++i) aplicaPromocion(fila, promociones, i);
}

void TLineasVenta::insertaCabeceraPromocion(int fila, int promocionId, const QString& nombre,
                                            const QString& cantidad, int grupo) {
  uGRD_mainControl.insertaRegistro(
      fila, {{QStringLiteral("_tipoInsercion"), lineas::kCabeceraPromocion},
             {QStringLiteral("_cabecera"), QStringLiteral("1")},
             {QStringLiteral("Descripción"), nombre},
             {QStringLiteral("Categoría"), QStringLiteral("PROMOCIÓN")},
             {QStringLiteral("_promocionID"), QString::number(promocionId)},
             {QStringLiteral("Cantidad"), cantidad},
             {QStringLiteral("_grupo"), QString::number(grupo)}});
}

void TLineasVenta::aplicaPromocion(int f, const CmidTierResponse& p, int i) {
  TGridControl& g = uGRD_mainControl;
  const int codigo = p.getCeldaAsInt(QStringLiteral("ventasPromociones_promocionTipo"), i);
  const int id = p.getCeldaAsInt(QStringLiteral("ventasPromociones_id"), i);
  const QString nombre = p.getCelda(QStringLiteral("ventasPromociones_nombre"), i);
  const QStringList campos =
      u_split(p.getCelda(QStringLiteral("ventasPromociones_promocionDetalle"), i), QStringLiteral("|"));
  // Once a header stands at f, only the whole-sale promotion still applies.
  if (codigo != kConjunto && tipoLinea(f) != lineas::kProducto) return;
  const int productoId = g.getCeldaAsInt(QStringLiteral("_Producto_id"), f);

  switch (codigo) {
    case kPagaMenos: {
      const double q = g.getCeldaAsFloat(QStringLiteral("Cantidad"), f);
      const double n = u_strToFloat(campo(campos, 1)), m = u_strToFloat(campo(campos, 2));
      if (n <= 0) return;
      const double veces = std::floor(q / n);
      const double cubierto = veces * n, resto = q - cubierto;
      if (veces == 0) return;
      const double precio = u_strToFloat(buscaPrecioLista(productoId, uListaPreciosID, conexion()));
      const double descuento = u_truncaDecimales(veces * (n * precio - m * precio), 2);
      if (descuento <= 0) return;
      ++uCotizacionProductoAgrupado;
      insertaCabeceraPromocion(f, id, nombre, num(veces), uCotizacionProductoAgrupado);
      const int linea = f + 1;
      g.setCelda(QStringLiteral("_tipoInsercion"), linea, QStringLiteral("30"));
      g.setCelda(QStringLiteral("_grupo"), linea, QString::number(uCotizacionProductoAgrupado));
      g.setCelda(QStringLiteral("Cantidad"), linea, num(cubierto));
      g.setCelda(QStringLiteral("Descuento"), linea, num(descuento));
      g.setCelda(QStringLiteral("_cabecera"), linea, QStringLiteral("2"));
      calculaImporte(linea);
      if (resto > 0) {
        ++uCotizacionProductoAgrupado;
        QMap<QString, QString> nueva{
            {QStringLiteral("_tipoInsercion"), lineas::kProducto},
            {QStringLiteral("_grupo"), QString::number(uCotizacionProductoAgrupado)},
            {QStringLiteral("Cantidad"), num(resto)},
            {QStringLiteral("Importe"),
             num(g.getCeldaAsFloat(QStringLiteral("Precio Unitario"), linea) * resto)},
            {QStringLiteral("_descuentoTipoCliente"), QStringLiteral("0")}};
        for (const char* c : {"_Producto_id", "_Producto_catSAT_clave", "Descripción", "_Categoria",
                              "Categoría", "Clave", "C. Alterna", "unidadMedidaID", "U. de Medida",
                              "Precio Lista", "_IVA T", "_IVA R", "_IEPS T", "_IEPS R", "_ISR R",
                              "IVA T", "IVA R", "IEPS T", "IEPS R", "ISR R"}) {
          const QString col = QString::fromUtf8(c);
          nueva.insert(col, g.getCelda(col, linea));
        }
        calculaImporte(g.agregarRegistro(nueva));
      }
      return;
    }
    case kConjunto: {
      const CmidTierResponse compra = consultaPromocionProductosPorGrid(id, 1, conexion());
      if (!compra.ok() || compra.getRowCount() == 0) return;
      struct Recordada { int fila; double cantidad; };
      QVector<Recordada> recordadas;
      double veces = -1;
      for (int r = 0; r < compra.getRowCount(); ++r) {
        const int requerido = compra.getCeldaAsInt(QStringLiteral("inventarioProducto_id"), r);
        const double c = compra.getCeldaAsFloat(
            QStringLiteral("ventasPromocionesProductoCategoriaClave_gridCantidad"), r);
        double vecesR = 0;
        for (int l = 0; l < g.getRowCount(); ++l) {
          const double cantidad = g.getCeldaAsFloat(QStringLiteral("Cantidad"), l);
          if (tipoLinea(l) == lineas::kProducto &&
              g.getCeldaAsInt(QStringLiteral("_Producto_id"), l) == requerido && c > 0 &&
              cantidad >= c) {
            recordadas.push_back({l, c});
            vecesR = std::floor(cantidad / c);
            break;
          }
        }
        veces = veces < 0 ? vecesR : std::min(veces, vecesR);
      }
      if (veces <= 0) return;
      const QString grupo = QString::number(uCotizacionProductoAgrupado);
      insertaCabeceraPromocion(g.getRowCount(), id, nombre, num(veces), uCotizacionProductoAgrupado);
      for (const Recordada& r : recordadas) {
        const int copia = g.copiaFila(r.fila);
        g.setCelda(QStringLiteral("_tipoInsercion"), copia, QStringLiteral("31"));
        g.setCelda(QStringLiteral("Cantidad"), copia, num(veces * r.cantidad));
        g.setCelda(QStringLiteral("_grupo"), copia, grupo);
        g.setCelda(QStringLiteral("_cabecera"), copia, QStringLiteral("2"));
        calculaImporte(copia);
      }
      for (const Recordada& r : recordadas) {
        const double queda = g.getCeldaAsFloat(QStringLiteral("Cantidad"), r.fila) - veces * r.cantidad;
        g.setCelda(QStringLiteral("Cantidad"), r.fila, num(queda));
        if (queda > 0)
          calculaImporte(r.fila);
        else
          g.setCelda(QStringLiteral("_eliminame"), r.fila, QStringLiteral("deleteme"));
      }
      const CmidTierResponse regalos = consultaPromocionProductosPorGrid(id, 2, conexion());
      for (int r = 0; regalos.ok() && r < regalos.getRowCount(); ++r) {
        const int regalo = regalos.getCeldaAsInt(QStringLiteral("inventarioProducto_id"), r);
        const double necesario =
            veces * regalos.getCeldaAsFloat(
                        QStringLiteral("ventasPromocionesProductoCategoriaClave_gridCantidad"), r);
        if (existenciaProducto(conexion(), uAlmacen, regalo, idNegocio()) < necesario) continue;
        const QString precio = buscaPrecioLista(regalo, uListaPreciosID, conexion());
        uProducto = seleccionarProductoPorID(regalo, uSistema);
        const int linea = g.agregarRegistro({
            {QStringLiteral("_tipoInsercion"), QStringLiteral("31")},
            {QStringLiteral("_Producto_id"), QString::number(regalo)},
            {QStringLiteral("_Producto_catSAT_clave"), uProducto.claveSAT},
            {QStringLiteral("Precio Lista"), precio},
            {QStringLiteral("Descuento"), num(u_truncaDecimales(u_strToFloat(precio), 2))},
            {QStringLiteral("Cantidad"), num(necesario)},
            {QStringLiteral("Descripción"), uProducto.nombre},
            {QStringLiteral("_Categoria"), uProducto.categoriaIdentidad},
            {QStringLiteral("Categoría"), uProducto.categoriaEtiqueta},
            {QStringLiteral("Clave"), uProducto.clave},
            {QStringLiteral("C. Alterna"), uProducto.claveAlterna},
            {QStringLiteral("unidadMedidaID"), QString::number(uProducto.unidadId)},
            {QStringLiteral("U. de Medida"), uProducto.unidadDescripcion},
            {QStringLiteral("_IVA T"), uProducto.ivaTrasladado},
            {QStringLiteral("_IVA R"), uProducto.ivaRetenido},
            {QStringLiteral("_IEPS T"), uProducto.iepsTrasladado},
            {QStringLiteral("_IEPS R"), uProducto.iepsRetenido},
            {QStringLiteral("_ISR R"), uProducto.isrRetenido},
            {QStringLiteral("_grupo"), grupo},
            {QStringLiteral("_cabecera"), QStringLiteral("2")},
            {QStringLiteral("_descuentoTipoCliente"), QStringLiteral("0")},
        });
        calculaImporte(linea);
      }
      eliminaMarcadas();
      calculaTotal();
      return;
    }
    case kPorcentaje: {
      const double pct = u_strToFloat(campo(campos, 1));
      const double descuento =
          u_truncaDecimales(g.getCeldaAsFloat(QStringLiteral("Precio Lista"), f) * pct / 100, 2);
      if (descuento <= 0) return;
      g.setCelda(QStringLiteral("Descuento"), f, num(descuento));
      g.setCelda(QStringLiteral("_tipoInsercion"), f, QStringLiteral("32"));
      g.setCelda(QStringLiteral("_cabecera"), f, QStringLiteral("2"));
      calculaImporte(f);
      insertaCabeceraPromocion(f, id, nombre, QString(), uCotizacionProductoAgrupado);
      return;
    }
    case kSiguienteUnidad: {
      const double q = g.getCeldaAsFloat(QStringLiteral("Cantidad"), f);
      const double n = u_strToFloat(campo(campos, 1));
      const double bloque = n + 1;
      const double veces = std::floor(q / bloque);
      const double resto = q - veces * bloque;
      if (veces == 0) return;
      insertaCabeceraPromocion(f, id, nombre, num(veces), uCotizacionProductoAgrupado);
      const int linea = f + 1;
      g.setCelda(QStringLiteral("Cantidad"), linea, num(veces * n));
      g.setCelda(QStringLiteral("_tipoInsercion"), linea, QStringLiteral("33"));
      g.setCelda(QStringLiteral("_cabecera"), linea, QStringLiteral("2"));
      calculaImporte(linea);
      const double precio = u_strToFloat(buscaPrecioLista(productoId, uListaPreciosID, conexion()));
      double especial = 0;
      if (!campo(campos, 3).isEmpty())
        especial = u_strToFloat(campo(campos, 3)) * veces;
      else if (!campo(campos, 2).isEmpty())
        especial = u_truncaDecimales(veces * (precio / 100 * u_strToFloat(campo(campos, 2))), 2);
      const int especiales = g.copiaFila(linea, linea + 1);
      g.setCelda(QStringLiteral("Cantidad"), especiales, num(veces));
      g.setCelda(QStringLiteral("Descuento"), especiales, num(especial));
      g.setCelda(QStringLiteral("_cabecera"), especiales, QStringLiteral("2"));
      calculaImporte(especiales);
      if (resto > 0) {
        ++uCotizacionProductoAgrupado;
        const int suelta = g.copiaFila(linea, linea + 2);
        g.setCelda(QStringLiteral("Cantidad"), suelta, num(resto));
        g.setCelda(QStringLiteral("_grupo"), suelta, QString::number(uCotizacionProductoAgrupado));
        g.setCelda(QStringLiteral("_tipoInsercion"), suelta, lineas::kProducto);
        calculaImporte(suelta);
      }
      calculaTotal();
      return;
    }
    default:
      return;
  }
}

void TLineasVenta::eliminaMarcadas() {
  TGridControl& g = uGRD_mainControl;
  for (int r = 0; r < g.getRowCount();) {
    if (g.getCelda(QStringLiteral("_eliminame"), r) == QStringLiteral("deleteme"))
      g.eliminarRegistro(r);
    else
      ++r;
  }
}

TDetallePromocion detallePromocion(int promocionId, TConexionSesion& conexion) {
  TDetallePromocion d;
  if (promocionId <= 0) return d;
  const CmidTierResponse p = buscaDetallePromocionPorID(promocionId, conexion);
  if (!p.ok()) return d;
  d.ok = true;
  auto fecha = [&](const char* alias) {
    const QString t = p.getCelda(QString::fromUtf8(alias));
    return t.isEmpty() ? QStringLiteral(" - ") : u_fechaHoraTexto(u_leeFechaHora(t));
  };
  d.desde = fecha("ventasPromociones_vigenciaDesde");
  d.hasta = fecha("ventasPromociones_vigenciaHasta");
  const QString nombre = p.getCelda(QStringLiteral("ventasPromociones_nombre"));
  const QString id = p.getCelda(QStringLiteral("ventasPromociones_id"));
  const QStringList campos =
      u_split(p.getCelda(QStringLiteral("ventasPromociones_promocionDetalle")), QStringLiteral("|"));
  const QString cr = QStringLiteral("\r");
  switch (p.getCeldaAsInt(QStringLiteral("ventasPromociones_promocionTipo"))) {
    case kPagaMenos:
      d.descripcion = nombre + "(t1, " + id + ")" + cr + " - vende " + campo(campos, 1) +
                      " y cobra " + campo(campos, 2);
      break;
    case kConjunto: {
      d.descripcion = nombre + "(t2, " + id + ")" + cr + "en la compra de:" + cr;
      auto lista = [&](int n) {
        const CmidTierResponse r = consultaPromocionProductosPorGrid(promocionId, n, conexion);
        for (int i = 0; r.ok() && i < r.getRowCount(); ++i)
          d.descripcion += "   -" +
                           r.getCelda(QStringLiteral("ventasPromocionesProductoCategoriaClave_gridCantidad"), i) +
                           " " + r.getCelda(QStringLiteral("inventarioProducto_nombre"), i) + cr;
      };
      lista(1);
      d.descripcion += QStringLiteral("se obsequia: ") + cr;
      lista(2);
      break;
    }
    case kPorcentaje:
      d.descripcion = (campo(campos, 0) == QStringLiteral("1") ? QStringLiteral("descuento a categoría: ")
                                                                : QStringLiteral("descuento a producto: ")) +
                      cr + " " + campo(campos, 1) + "%";
      break;
    case kSiguienteUnidad:
      d.descripcion = QStringLiteral("en la compra de ") + campo(campos, 1) +
                      QStringLiteral(" producto/s, el siguiente producto igual recibe un precio especial, ") + cr;
      if (!campo(campos, 2).isEmpty())
        d.descripcion += QStringLiteral("descuento de: ") + campo(campos, 2) + "%";
      else if (!campo(campos, 3).isEmpty())
        d.descripcion += QStringLiteral("descuento de: $") + campo(campos, 3);
      break;
    default:
      break;
  }
  return d;
}
