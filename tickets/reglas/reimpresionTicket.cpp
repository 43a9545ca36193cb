#include "tickets/reglas/reimpresionTicket.h"

#include "util/utilerias.h"

TImpresionTicket armaTicketReimpresion(const TticketGuardado& g, const TNegocio& negocio) {
  TImpresionTicket t;
  t.setNombreNegocio(negocio.getNombre());
  t.setRfc(negocio.getDatosFiscales().getRfc());
  t.setRazon(negocio.getDatosFiscales().getRazon());
  t.setLConceptos({});
  for (const TticketGuardado::Linea& l : g.lineas) {
    TConcepto c;
    c.setCantidad(u_strToFloat(l.cantidad));
    c.setDescripcion(l.producto);
    c.setValorUnitario(u_parseMonto(l.precio));
    c.setImporte(u_parseMonto(l.importe));
    c.setCategoria(l.categoria);
    t.getLConceptos().append(c);
  }
  t.setCajero(g.cajero);
  t.setNumeroTicket(g.ticketNo);
  t.setFecha(u_leeFechaHora(g.fecha));
  t.setCampoAdicional3(
      TCampoAdicional(QStringLiteral("Impuestos"), u_formatoMoneda(u_strToFloat(g.impuestos))));
  t.setCampoAdicional4(TCampoAdicional(QStringLiteral("Total"), g.total));
  t.setCampoAdicional5(
      TCampoAdicional(QStringLiteral("Su Pago"), u_formatoMoneda(u_strToFloat(g.pago))));
  t.setCampoAdicional6(
      TCampoAdicional(QStringLiteral("Devuelto"), u_formatoMoneda(u_strToFloat(g.devuelto))));
  t.setFormaPago(g.formas);
  t.setArchivoCBB(QString());
  return t;
}

bool reimpresionConPortal(const TticketGuardado& g) {
  return g.estado.trimmed() == QLatin1String("3");
}
