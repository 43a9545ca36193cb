#include "tickets/reglas/facturaGlobal.h"

#include <algorithm>

#include "db/TmiddleTier.h"
#include "facturacion/facturaTicket.h"
#include "operaciones/facturacion.h"
#include "operaciones/impuestos.h"
#include "operaciones/transaccion.h"
#include "util/utilerias.h"

QStringList columnasConceptoGlobal() {
  return {QStringLiteral("inventarioProducto_nombre"),
          QStringLiteral("inventarioProducto_clave"),
          QStringLiteral("_claveSATproductoServicio"),
          QStringLiteral("_cantidad"),
          QStringLiteral("_precioLista"),
          QStringLiteral("_precioVenta"),
          QStringLiteral("inventarioUnidadesMedidaBorrado_claveSAT33"),
          QStringLiteral("inventarioUnidadesMedida_descripcion"),
          QStringLiteral("_ivaT"),
          QStringLiteral("_iepsT"),
          QStringLiteral("_descuento"),
          QStringLiteral("inventarioProductoImpuestos_ivaTrasladado"),
          QStringLiteral("inventarioProductoImpuestos_iepsTrasladado")};
}

datosFacturar preparaFacturaGlobal(const QVector<TticketGlobal>& elegidos, const TNegocio& negocio,
                                   TConexionSesion& conexion) {
  datosFacturar d;
  d.tipoDocumento = QStringLiteral("FAC");
  d.metodoPago = QStringLiteral("PUE");
  d.moneda = QStringLiteral("MXN");
  d.receptorID = 0;
  d.receptorRfc = QStringLiteral("XAXX010101000");
  d.receptorNombre = QStringLiteral("público en general");
  d.usoCFDI = QStringLiteral("P01");
  d.lugarExpedicion = negocio.getDatosFiscales().getDireccion().getCodigoPostal();
  d.emisorNombre = negocio.getNombre();
  d.conceptos = TTablaLT(columnasConceptoGlobal());

  QList<double> subtotales, descuentos, totales;
  double dominante = 0;
  QString forma;
  int k = 0;
  for (const TticketGlobal& t : elegidos) {
    ++k;
    const double subtotal = u_strToFloat(t.subtotal);
    const double descuento = u_truncaDecimales(u_strToFloat(t.descuento), 2);
    subtotales << subtotal;
    descuentos << descuento;
    totales << u_truncaDecimales(u_strToFloat(t.total), 2);
    d.conceptos.setNumFilas(k);
    const int f = k - 1;
    const auto pon = [&](const char* columna, const QString& valor) {
      d.conceptos.setCelda(QLatin1String(columna), f, valor);
    };
    pon("inventarioProducto_nombre", QStringLiteral("Venta"));
    pon("inventarioProducto_clave", t.ticket);
    pon("_claveSATproductoServicio", QStringLiteral("01010101"));
    pon("_cantidad", QStringLiteral("1"));
    pon("_precioLista", u_floatToStr(subtotal));
    pon("_precioVenta", u_floatToStr(subtotal));
    pon("inventarioUnidadesMedidaBorrado_claveSAT33", QStringLiteral("ACT"));
    pon("inventarioUnidadesMedida_descripcion", QStringLiteral("Actividad"));
    pon("_descuento", u_floatToStr(descuento));
    d.impuestos.resize(k);
    d.impuestos[f] = obtieneImpuestosGlobalTicket(t.operacionID, conexion);
    const TformaPagoTicket p = calculaFormaDePagoPorTicket(
        consultaTicketTotal(t.operacionID, conexion), consultaFormaPago(t.operacionID, conexion));
    if (p.importe > dominante) {
      dominante = p.importe;
      forma = p.clave;
    }
    d.ticketsReferencia << t.referencia;
  }
  d.formaPago = forma;
  d.numColumnas = d.conceptos.numColumnas();
  d.numFilas = k;
  // Exact sums of the cent amounts: adding doubles one by one would let binary noise through.
  d.subtotal = u_floatToStr(k ? u_acumulaFloat(6, subtotales, k - 1) : 0);
  d.descuento = u_floatToStr(k ? u_acumulaFloat(2, descuentos, k - 1) : 0);
  d.total = u_floatToStr(k ? u_acumulaFloat(2, totales, k - 1) : 0);
  return d;
}

int marcaTicketsFacturaGlobal(const QVector<int>& operaciones, const QString& uuid,
                              const QDateTime& fecha, TConexionSesion& conexion, QString* error) {
  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) {
    if (error) *error = mt.ultimoError();
    return -1;
  }
  // Always in the same order: two supervisors marking overlapping tickets at once wait for each
  // other instead of locking each other out.
  QVector<int> orden = operaciones;
  std::sort(orden.begin(), orden.end());
  int marcados = 0;
  for (int op : orden) {
    const int n = guardaUUIDTicketFacturado(op, uuid, fecha, 4, conexion, 0,
                                            QString::fromLatin1(ESTADO_TICKET_CARGADO));
    if (n < 0) {
      if (error) *error = QStringLiteral("No se pudo marcar el ticket de la operación %1").arg(op);
      return -1;
    }
    marcados += n;
  }
  if (!tx.termina()) {
    if (error) *error = mt.ultimoError();
    return -1;
  }
  return marcados;
}
