#include "returns/reglas/documentoDevolucion.h"

#include <QMap>

#include "operaciones/devoluciones.h"
#include "operaciones/noSerie.h"
#include "returns/reglas/notaCreditoDevolucion.h"
#include "returns/reglas/registroDevolucion.h"
#include "util/utilerias.h"

namespace {

// Line kinds of a kit as the sale stores them (_tipoInsercion).
const QString kCabeceraKit = QStringLiteral("2");
const QString kComponenteKit = QStringLiteral("20");

// The ten tax columns of the grid, read from the detail column of the same name.
const char* const kImpuestos[] = {"_ivaT",      "_ivaR",     "_iepsT",    "_iepsR",
                                  "_isrR",      "_ivaTbase", "_ivaRbase", "_iepsTbase",
                                  "_iepsRbase", "_isrRbase"};

double suma(const TGridControl& g, const QString& columna) {
  QList<double> valores;
  for (int r = 0; r < g.getRowCount(); ++r) valores << g.getCeldaAsFloat(columna, r);
  return u_acumulaFloat(9, valores, static_cast<int>(valores.size()) - 1);
}

}  // namespace

TdocumentoDevolucion::TdocumentoDevolucion(TsistemaDatos& sistema) : uSys(sistema) {
  declaraColumnas(uLineas);
}

void TdocumentoDevolucion::declaraColumnas(TGridControl& g) {
  const auto oculta = [&g](const char* nombre, int ancho) {
    g.add(TGridControl::Texto, QString::fromUtf8(nombre), QStringLiteral("--"), QString(), ancho,
          false);
  };
  const auto visible = [&g](const char* nombre, int ancho) {
    g.add(TGridControl::Texto, QString::fromUtf8(nombre), QStringLiteral("--"), QString(), ancho,
          true);
  };
  g.add(TGridControl::Imagen, QStringLiteral("Devolver"), QString(), QStringLiteral("devolver"), 60,
        true);
  oculta("_fila", 30);
  oculta("_Producto_id", 30);
  oculta("_Producto_catSAT_clave", 80);
  oculta("_Categoria", 30);
  visible("Categoría", 100);
  visible("Descripción", 250);
  visible("Cantidad", 80);
  visible("Devuelto", 70);
  oculta("_unidadesMedidaID", 70);
  visible("Devolución", 70);
  oculta("_tipoDevolucion", 70);
  oculta("_estado", 70);
  oculta("_enteroFraccion", 70);
  oculta("_devolucionAcumulado", 70);
  oculta("_noSerieDevolver", 100);
  oculta("Clave", 100);
  oculta("_clave_unidadMedida_catSAT", 100);
  oculta("_inventarioUnidadesMedida_descripcion", 100);
  oculta("_subtotal", 80);
  oculta("_descuento", 80);
  oculta("_precioLista", 100);
  oculta("_precioVenta", 100);
  for (int i = 0; i < 5; ++i) oculta(kImpuestos[i], 50);
  for (int i = 5; i < 10; ++i) oculta(kImpuestos[i], 50);
  // Kits: a header row carries the kit's price and returns its components' stock.
  oculta("_tipoInsercion", 30);
  oculta("_grupo", 30);
  oculta("_kitID", 30);
}

QString TdocumentoDevolucion::buscar(const QString& textoTicket) {
  const QString texto = textoTicket.trimmed();
  if (texto.isEmpty()) return QString();
  uLineas.clearFilas();
  uVenta = TventaDevolucion();
  uNotaPendiente = 0;
  bool numero = false;
  const int ticketNo = texto.toInt(&numero);
  TConexionSesion& conexion = uSys.getConexion();
  const CmidTierResponse venta =
      buscarTicketPorNumeroYNegocio(numero ? ticketNo : 0, uSys.getIdNegocio(), conexion);
  if (!venta.ok()) return QString();
  if (venta.getRowCount() == 0) return QStringLiteral("No existe el ticket ") + textoTicket;

  const auto celda = [&venta](const char* alias) {
    return venta.getCelda(QString::fromUtf8(alias));
  };
  uVenta.ticketID = venta.getCeldaAsInt(QStringLiteral("puntoOperacion_id"));
  uVenta.ticketNo = venta.getCeldaAsInt(QStringLiteral("puntoOperacion_ticketNo"));
  uVenta.uuidFactura = celda("puntoOperacionAdicional_uuid");
  uVenta.receptorID = venta.getCeldaAsInt(QStringLiteral("Receptor_idReceptor"));
  uVenta.receptorRfc = celda("Receptor_rfc");
  uVenta.receptorNombre = celda("Receptor_nombre");
  uVenta.vendedor = celda("_cajeroNombre");
  uVenta.fechaVenta = u_fechaHoraMostrable(celda("puntoOperacion_fechaHora"));
  uVenta.almacenNombre = celda("inventarioAlmacen_nombre");
  uVenta.almacenID = venta.getCeldaAsInt(QStringLiteral("inventarioAlmacen_id"));
  uVenta.subtotal =
      u_acumulaFloat(9,
                     {venta.getCeldaAsFloat(QStringLiteral("puntoOperacion_subtotal")),
                      venta.getCeldaAsFloat(QStringLiteral("puntoOperacion_impuestos"))},
                     1);
  uVenta.descuento = venta.getCeldaAsFloat(QStringLiteral("puntoOperacion_descuento"));
  uVenta.total = venta.getCeldaAsFloat(QStringLiteral("puntoOperacion_total"));
  const int estado = u_strToInt(celda("puntoOperacion_facturadoMotodo"));
  uVenta.facturada =
      estado != 3 && estado != 0 && !celda("puntoOperacion_facturadoFecha").trimmed().isEmpty();

  const CmidTierResponse detalle =
      buscarTicketDetallePorNumeroYNegocio(uVenta.ticketNo, uSys.getIdNegocio(), conexion);
  if (detalle.ok())
    for (int r = 0; r < detalle.getRowCount(); ++r) agregaLinea(detalle, r);

  cargaNotaPendiente();
  if (uNotaPendiente > 0)
    return QStringLiteral(
        "Esta venta tiene una nota de crédito que no se confirmó. Se cargó esa devolución: "
        "acéptela para reintentarla.");
  return QString();
}

void TdocumentoDevolucion::agregaLinea(const CmidTierResponse& d, int r) {
  const auto celda = [&d, r](const char* alias) { return d.getCelda(QString::fromUtf8(alias), r); };
  const double cantidad = d.getCeldaAsFloat(QStringLiteral("puntoOperacionDetalle_cantidad"), r);
  const double precioLista =
      d.getCeldaAsFloat(QStringLiteral("puntoOperacionDetalle_precioLista"), r);
  QMap<QString, QString> m;
  m.insert(QStringLiteral("_subtotal"), u_floatToStr(u_truncaDecimales(precioLista * cantidad, 2)));
  m.insert(QStringLiteral("Cantidad"), u_floatToStr(cantidad));
  m.insert(QStringLiteral("_fila"), celda("PuntoOperacionDetalle_id"));
  m.insert(QStringLiteral("_Producto_id"), celda("inventarioProducto_id"));
  m.insert(QStringLiteral("_Producto_catSAT_clave"),
           celda("PuntoOperacionDetalle_claveSATprodcutoServicio"));
  m.insert(QStringLiteral("_clave_unidadMedida_catSAT"),
           celda("inventarioUnidadesMedidaBorrado_claveSAT33"));
  m.insert(QStringLiteral("_inventarioUnidadesMedida_descripcion"),
           celda("inventarioUnidadesMedida_descripcion"));
  m.insert(QStringLiteral("_unidadesMedidaID"), celda("unidadesMedida_id"));
  m.insert(QStringLiteral("_descuento"), celda("puntoOperacionDetalle_descuento"));
  m.insert(QStringLiteral("_precioLista"), celda("puntoOperacionDetalle_precioLista"));
  m.insert(QStringLiteral("_precioVenta"), celda("PuntoOperacionDetalle_precioVenta"));
  for (const char* impuesto : kImpuestos)
    m.insert(QString::fromUtf8(impuesto),
             d.getCelda(QStringLiteral("PuntoOperacionDetalle") + QString::fromUtf8(impuesto), r));
  m.insert(QStringLiteral("Devuelto"), celda("PuntoOperacionDetalle_devolucion"));
  m.insert(QStringLiteral("Categoría"), celda("inventarioCategoria_etiqueta"));
  m.insert(QStringLiteral("Clave"), celda("inventarioProducto_clave"));
  m.insert(QStringLiteral("Descripción"), celda("inventarioProducto_nombre"));
  m.insert(QStringLiteral("_tipoInsercion"), celda("_tipoInsercion"));
  m.insert(QStringLiteral("_grupo"), celda("_grupo"));
  m.insert(QStringLiteral("_kitID"), celda("ventasCotizacionDetalle_kitID"));
  const QString tipo = celda("_tipoInsercion");
  if (tipo == kCabeceraKit) {
    m.insert(QStringLiteral("Categoría"), QStringLiteral("KIT"));
  } else if (tipo == kComponenteKit) {
    // A kit's pieces go back with the kit: their row shows what they are, with no values.
    m.insert(QStringLiteral("Categoría"), QStringLiteral("KIT"));
    m.insert(QStringLiteral("Cantidad"), QString());
    m.insert(QStringLiteral("Devuelto"), QString());
    m.insert(QStringLiteral("_subtotal"), QString());
    m.insert(QStringLiteral("Descripción"),
             QStringLiteral("   ") + celda("inventarioProducto_nombre") + QStringLiteral(" (") +
                 u_floatToStr(cantidad) + QStringLiteral(")"));
  }
  uLineas.agregarRegistro(m);
}

void TdocumentoDevolucion::cargaNotaPendiente() {
  const CmidTierResponse nota =
      buscaNotaPendiente(uVenta.ticketID, uSys.getIdNegocio(), uSys.getConexion());
  if (!nota.ok() || nota.getRowCount() == 0) return;
  uNotaPendiente = nota.getCeldaAsInt(QStringLiteral("ventasDevolucionNota_id"));
  for (int i = 0; i < nota.getRowCount(); ++i) {
    const QString fila = nota.getCelda(QStringLiteral("puntoOperacionDetalle_id"), i);
    for (int r = 0; r < uLineas.getRowCount(); ++r) {
      if (uLineas.getCelda(QStringLiteral("_fila"), r) != fila) continue;
      const double cantidad = nota.getCeldaAsFloat(QStringLiteral("cantidad"), i);
      uLineas.setCelda(QStringLiteral("Devolución"), r, u_floatToStr(cantidad));
      uLineas.setCelda(QStringLiteral("_devolucionAcumulado"), r,
                       u_floatToStr(u_truncaDecimales(
                           uLineas.getCeldaAsFloat(QStringLiteral("Devuelto"), r) + cantidad, 9)));
      uLineas.setCelda(QStringLiteral("_estado"), r,
                       nota.getCelda(QStringLiteral("estadoProducto"), i));
      uLineas.setCelda(QStringLiteral("_tipoDevolucion"), r,
                       nota.getCelda(QStringLiteral("tipoDevolucion"), i));
      uLineas.setCelda(QStringLiteral("_noSerieDevolver"), r,
                       nota.getCelda(QStringLiteral("noSerieDevolver"), i));
    }
  }
}

bool TdocumentoDevolucion::esComponenteKit(int fila) const {
  return uLineas.getCelda(QStringLiteral("_tipoInsercion"), fila) == kComponenteKit;
}

bool TdocumentoDevolucion::esCabeceraKit(int fila) const {
  return uLineas.getCelda(QStringLiteral("_tipoInsercion"), fila) == kCabeceraKit &&
         uLineas.getCeldaAsInt(QStringLiteral("_Producto_id"), fila) <= 0;
}

TinicioCaptura TdocumentoDevolucion::preparaCaptura(int fila, int tipo) {
  TinicioCaptura r;
  if (fila < 0 || fila >= uLineas.getRowCount()) return r;
  if (esComponenteKit(fila)) {
    r.mensaje = QStringLiteral("Las piezas de un kit se devuelven con el kit completo.");
    return r;
  }
  if (uLineas.getCeldaAsInt(QStringLiteral("_Producto_id"), fila) <= 0 && !esCabeceraKit(fila)) {
    r.mensaje = QStringLiteral("Este renglón no es un artículo que pueda devolverse.");
    return r;
  }
  if (uNotaPendiente > 0) {
    r.mensaje = QStringLiteral(
        "Esta venta tiene una nota de crédito que no se confirmó: acepte la devolución para "
        "reintentarla antes de capturar otra.");
    return r;
  }
  TcommCapturaDevolucion& c = r.captura;
  c.descripcion = uLineas.getCelda(QStringLiteral("Descripción"), fila);
  c.cantidad = uLineas.getCeldaAsFloat(QStringLiteral("Cantidad"), fila);
  c.devuelto = uLineas.getCeldaAsFloat(QStringLiteral("Devuelto"), fila);
  c.devolucion = uLineas.getCeldaAsFloat(QStringLiteral("Devolución"), fila);
  c.estado = uLineas.getCelda(QStringLiteral("_estado"), fila);
  c.tipoDevolucion = uLineas.getCeldaAsInt(QStringLiteral("_tipoDevolucion"), fila);
  c.fila = uLineas.getCeldaAsInt(QStringLiteral("_fila"), fila);
  c.noSerieDevolver = uLineas.getCelda(QStringLiteral("_noSerieDevolver"), fila);
  c.tipo = tipo;
  if (!(u_truncaDecimales(c.devuelto - c.cantidad, 9) < 0)) {
    r.mensaje = QStringLiteral("No hay más artículos por devolver.");
    return r;
  }
  const QString fraccion = uLineas.getCelda(QStringLiteral("_enteroFraccion"), fila);
  if (fraccion.isEmpty())
    c.fraccion =
        !esCabeceraKit(fila) &&
        buscarProductoEnteroFraccion(uLineas.getCeldaAsInt(QStringLiteral("_Producto_id"), fila),
                                     uSys.getConexion());
  else
    c.fraccion = fraccion == QStringLiteral("1");
  r.ok = true;
  return r;
}

QString TdocumentoDevolucion::capturaLinea(int fila, const TcommCapturaDevolucion& c) {
  if (fila < 0 || fila >= uLineas.getRowCount()) return QString();
  // The sale's figures come from the row, never from the capture.
  TinicioCaptura inicio = preparaCaptura(fila, c.tipo);
  if (!inicio.ok) return inicio.mensaje;
  TcommCapturaDevolucion revisada = inicio.captura;
  revisada.devolucion = c.devolucion;
  revisada.noSerieDevolver = c.noSerieDevolver;
  const CmidTierResponse vendidos =
      buscaNoSerieVendidosPorDetalle(revisada.fila, uSys.getConexion());
  QVector<TnoSerieDevolver> series;
  for (int i = 0; i < vendidos.getRowCount(); ++i)
    series.push_back({vendidos.getCeldaAsInt(QStringLiteral("inventarioNoSerie_id"), i),
                      vendidos.getCeldaAsInt(QStringLiteral("inventarioNoSerieTicket_id"), i),
                      vendidos.getCelda(QStringLiteral("inventarioNoSerie_noSerie"), i)});
  const QString error = u_validaCapturaDevolucion(revisada, series);
  if (!error.isEmpty()) return error;

  uLineas.setCelda(QStringLiteral("_enteroFraccion"), fila,
                   revisada.fraccion ? QStringLiteral("1") : QStringLiteral("0"));
  uLineas.setCelda(QStringLiteral("_estado"), fila, c.estado);
  uLineas.setCelda(QStringLiteral("_tipoDevolucion"), fila, QString::number(c.tipoDevolucion));
  uLineas.setCelda(QStringLiteral("Devolución"), fila, u_floatToStr(c.devolucion));
  uLineas.setCelda(QStringLiteral("_devolucionAcumulado"), fila,
                   u_floatToStr(u_truncaDecimales(revisada.devuelto + c.devolucion, 9)));
  uLineas.setCelda(QStringLiteral("_noSerieDevolver"), fila, c.noSerieDevolver);
  return QString();
}

QString TdocumentoDevolucion::validaAceptacion(int tipo) const {
  if (uLineas.getRowCount() == 0) return QStringLiteral("Seleccione un ticket.");
  if (!(suma(uLineas, QStringLiteral("Devuelto")) < suma(uLineas, QStringLiteral("Cantidad"))))
    return QStringLiteral(
        "Todos los elementos han sido devueltos, no es posible realizar una nueva devolución.");
  if (!(suma(uLineas, QStringLiteral("Devolución")) > 0))
    return QStringLiteral("Capture una devolución.");
  if (tipo != DEVOLUCION_CAMBIO_FISICO && tipo != DEVOLUCION_NOTA_CREDITO)
    return QStringLiteral("Seleccione tipo de devolución");
  return QString();
}

QVector<TlineaDevolucion> TdocumentoDevolucion::lineasCapturadas() const {
  QVector<TlineaDevolucion> lineas;
  for (int r = 0; r < uLineas.getRowCount(); ++r) {
    const QString texto = uLineas.getCelda(QStringLiteral("Devolución"), r);
    if (texto.isEmpty() || !(u_strToFloat(texto) > 0)) continue;
    TlineaDevolucion l;
    l.filaGrid = r;
    l.fila = uLineas.getCeldaAsInt(QStringLiteral("_fila"), r);
    l.productoID = uLineas.getCeldaAsInt(QStringLiteral("_Producto_id"), r);
    l.unidadID = uLineas.getCeldaAsInt(QStringLiteral("_unidadesMedidaID"), r);
    l.descripcion = uLineas.getCelda(QStringLiteral("Descripción"), r);
    l.cantidad = u_strToFloat(texto);
    l.cantidadTexto = texto;
    l.acumulado = uLineas.getCeldaAsFloat(QStringLiteral("_devolucionAcumulado"), r);
    l.estado = uLineas.getCelda(QStringLiteral("_estado"), r).trimmed();
    l.tipoDevolucion = uLineas.getCeldaAsInt(QStringLiteral("_tipoDevolucion"), r);
    l.noSerieDevolver = uLineas.getCelda(QStringLiteral("_noSerieDevolver"), r);
    lineas.push_back(l);
  }
  return lineas;
}

datosFacturar TdocumentoDevolucion::reuneDatosFacturaNotaDeCredito() const {
  return ::reuneDatosFacturaNotaDeCredito(uLineas, uVenta, uSys.getNegocio());
}

void TdocumentoDevolucion::lineaRegistrada(int filaGrid, double devuelto) {
  if (filaGrid < 0 || filaGrid >= uLineas.getRowCount()) return;
  uLineas.setCelda(QStringLiteral("Devolución"), filaGrid, QString());
  uLineas.setCelda(QStringLiteral("_noSerieDevolver"), filaGrid, QString());
  uLineas.setCelda(QStringLiteral("Devuelto"), filaGrid, u_floatToStr(devuelto));
}
