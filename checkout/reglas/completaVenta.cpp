#include "checkout/reglas/completaVenta.h"

#include "checkout/reglas/ticket_venta.h"
#include "operaciones/inventario.h"
#include "util/utilerias.h"
#include "workers/TgeneraTicketConWS.h"
#include "workers/esperaBanderas.h"

namespace {

void avisa(const std::function<void()>& paso) {
  if (paso) paso();
}

}  // namespace

TVentaCompletada completaVenta(TCobro& cobro, const TDatosVenta& datos, TsistemaDatos& sistema,
                               const TPantallaVenta& pantalla) {
  TVentaCompletada v;
  cobro.calculaOperacion();
  avisa(pantalla.recalculada);
  QString mensaje;
  if (!cobro.validaVenta(&mensaje)) {
    v.resultado = TResultado::falla(mensaje);
    return v;
  }
  // The truncated comparison may pass while the untruncated one fails by less than a cent.
  if (u_floatToStr(cobro.uRecibidoAcumulado).toDouble() < u_floatToStr(cobro.uTotal).toDouble()) {
    v.resultado = TResultado::falla(QStringLiteral("Cantidad insuficiente"));
    return v;
  }
  cobro.calculaOperacion();
  avisa(pantalla.recalculada);
  v.validada = true;
  avisa(pantalla.validada);
  const TFormasPago formas = cobro.formasPago(datos.nombreEfectivo);
  if (!(cobro.uDevuelto > 0)) cobro.uDevuelto = 0;

  const rRespuestaPuntoVenta r = TConexionInventario().descuentaInventarioFromPuntoVenta(
      u_floatToStr(cobro.uTotal), u_floatToStr(cobro.uSubtotal), u_floatToStr(cobro.uDescuento),
      u_floatToStr(cobro.uPagado), u_floatToStr(cobro.uDevuelto),
      u_truncaMoneda(u_floatToStr(cobro.uImpuestos)), formas, *datos.lineas, sistema.getConexion(),
      sistema.getIdNegocio(), datos.almacen);
  if (!r.ok && r.sinExistencia > 0) {
    v.sinExistencia = true;
    v.resultado =
        TResultado::falla(QStringLiteral("Existencia insuficiente: ") + r.producto, mtInformacion);
    return v;
  }
  if (!r.ok) {
    // Nothing was stored: the package says why, and the cashier goes back to the payments.
    v.resultado = TResultado::falla(r.mensaje, mtError);
    return v;
  }
  v.ticketNo = r.ticketNo;
  if (pantalla.almacenada) pantalla.almacenada(v.ticketNo);

  TDatosTicketVenta ticket;
  ticket.ticketNo = v.ticketNo;
  ticket.cajero = datos.cajero;
  ticket.impuestos = cobro.uImpuestos;
  ticket.total = cobro.uTotal;
  ticket.pagado = cobro.uPagado;
  ticket.devuelto = cobro.uDevuelto;
  ticket.efectivoTexto = cobro.efectivo;
  ticket.formas = formas;
  const bool sube = datos.subirTicket && r.operacionID > 0;
  std::atomic<bool> ocupado{sube};
  TgeneraTicketConWS carga;
  if (sube) carga.generaTicket(r.operacionID, &ocupado);
  // Laid out while the ticket uploads; it prints only once the identifier is known.
  TTicketPreparado recibo = preparaTicketVenta(ticket, *datos.lineas);
  if (sube) {
    if (pantalla.esperaCarga)
      pantalla.esperaCarga(&ocupado);
    else
      u_esperaBanderas({&ocupado});
    const auto resultado = carga.getResultado();
    if (resultado.ok) v.identificador = resultado.identificador;
    if (resultado.credencialesIlegibles)
      v.aviso = TResultado::falla(resultado.mensaje, mtAdvertencia);
  }
  imprimePreparado(std::move(recibo), v.identificador, QString::number(v.ticketNo),
                   !datos.requiereFactura);
  v.ok = true;
  v.operacionID = r.operacionID;
  return v;
}
