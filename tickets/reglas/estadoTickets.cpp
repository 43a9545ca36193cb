#include "tickets/reglas/estadoTickets.h"

TventanaEstado ventanaEstadoTickets(const QDateTime& desde, const QDateTime& hasta,
                                    const QDateTime& ahora) {
  const QDateTime limite = ahora.addMonths(-1);
  TventanaEstado v;
  v.inicio = QDateTime(desde.date(), QTime(0, 0));
  if (v.inicio < limite) v.inicio = limite;
  v.fin = QDateTime(hasta.date(), QTime(23, 59, 59));
  if (v.fin < v.inicio) v.fin = v.inicio;
  return v;
}

datosThreadEstadoTicket parametrosEstadoTickets(const TventanaEstado& ventana,
                                                const TcredencialesServicio& c) {
  datosThreadEstadoTicket d;
  d.fechaIni = ventana.inicio;
  d.fechaFin = ventana.fin;
  d.registrosPorPagina = 100;
  d.registroInicial = 0;
  d.ticketEstado = enum_estatusTicket::facturado;
  d.usuario = c.usuario;
  d.cuenta = c.cuenta;
  d.contrasenia = c.contrasena;
  return d;
}

int consultaEstadoTickets(datosThreadEstadoTicket& datos, const TpaginaEstado& pagina,
                          const TaplicaEstado& aplica) {
  datos.error.clear();
  datos.ok = false;
  QStringList identificadores;
  QHash<QString, TfacturaServicio> facturas;
  qint32 inicial = datos.registroInicial;
  int paginas = 0;
  TticketEstadoResultado r;
  for (;;) {
    r = TticketEstadoResultado();
    pagina(&r, inicial);
    if (!r.ok) break;
    ++paginas;
    const qint64 siguiente = qint64(paginas) * datos.registrosPorPagina;
    for (const TticketEstado& t : r.tickets) {
      identificadores << t.identificador;
      if (!t.factura.isEmpty())
        facturas.insert(t.identificador,
                        {t.factura, QDateTime::fromString(t.fechaTimbrado, Qt::ISODate)});
    }
    if (siguiente > r.total) break;
    // A page size of zero, or a service that keeps promising tickets it never sends, would
    // keep the loop going for ever.
    if (datos.registrosPorPagina <= 0 || r.tickets.isEmpty()) {
      r.ok = false;
      r.error = QStringLiteral("Respuesta no válida del servicio de facturación");
      break;
    }
    inicial = static_cast<qint32>(siguiente);
  }
  datos.ok = r.ok;
  datos.error = r.error;
  if (r.ok) datos.ok = aplica(identificadores, facturas);
  return paginas + (r.ok ? 0 : 1);
}

QString mensajeEstadoTickets(const datosThreadEstadoTicket& resultado) {
  if (resultado.ok) return QStringLiteral("¡Operaciones completadas!");
  return QStringLiteral("¡no se logro actualizar el estado de los tickets, intente mas tarde!\r(") +
         resultado.error + QLatin1Char(')');
}
