#include "workers/servicioFacturacionEstado.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>

#include "util/Log.h"
#include "workers/clienteHttp.h"
#include "workers/servicioFacturacionTicket.h"

QUrl u_urlEstadoTickets(const QString& urlBase) {
  return u_urlServicio(urlBase, QStringLiteral("/api/v1/tickets/estado"));
}

QJsonObject u_cuerpoEstadoTickets(const QString& rfc, const TcredencialesServicio& c,
                                  const QDateTime& fechaIni, const QDateTime& fechaFin,
                                  qint32 registrosPorPagina, qint32 registroInicial,
                                  enum_estatusTicket estado) {
  // Local time of the store, as the service keeps its reception dates.
  const QString formato = QStringLiteral("yyyy-MM-ddTHH:mm:ss");
  return {{QStringLiteral("rfc"), rfc.trimmed()},
          {QStringLiteral("usuario"), c.usuario},
          {QStringLiteral("cuenta"), c.cuenta},
          {QStringLiteral("contrasena"), c.contrasena},
          {QStringLiteral("fechaIni"), fechaIni.toString(formato)},
          {QStringLiteral("fechaFin"), fechaFin.toString(formato)},
          {QStringLiteral("estado"), int(estado)},
          {QStringLiteral("registroInicial"), registroInicial},
          {QStringLiteral("registrosPorPagina"), registrosPorPagina}};
}

TticketEstadoResultado u_leeRespuestaEstado(int estadoHttp, const QByteArray& cuerpo) {
  TticketEstadoResultado r;
  if (estadoHttp != 200) {
    r.error = u_mensajeDeFallo(
        estadoHttp, cuerpo, {400}, QStringLiteral("El servicio de facturación rechazó la consulta"),
        QStringLiteral("El servicio de facturación no pudo consultar los tickets (error %1)"));
    return r;
  }
  const QJsonObject o = QJsonDocument::fromJson(cuerpo).object();
  const QJsonValue tickets = o.value(QStringLiteral("tickets"));
  if (!o.value(QStringLiteral("ok")).toBool() || !o.value(QStringLiteral("total")).isDouble() ||
      !tickets.isArray()) {
    r.error = QStringLiteral("Respuesta no válida del servicio de facturación");
    return r;
  }
  for (const QJsonValue& v : tickets.toArray()) {
    const QJsonObject t = v.toObject();
    TticketEstado e;
    e.identificador = t.value(QStringLiteral("identificador")).toString().trimmed();
    if (e.identificador.isEmpty()) {
      r.error = QStringLiteral("Respuesta no válida del servicio de facturación");
      r.tickets.clear();
      return r;
    }
    e.ticketNo = t.value(QStringLiteral("ticketNo")).toInteger();
    e.estado = t.value(QStringLiteral("estado")).toInt();
    e.recibido = t.value(QStringLiteral("recibido")).toString();
    e.total = t.value(QStringLiteral("total")).toDouble();
    e.factura = t.value(QStringLiteral("factura")).toString().trimmed();
    e.fechaTimbrado = t.value(QStringLiteral("fechaTimbrado")).toString();
    e.rfcReceptor = t.value(QStringLiteral("rfcReceptor")).toString();
    e.portal = t.value(QStringLiteral("portal")).toBool();
    r.tickets << e;
  }
  r.total = static_cast<qint32>(o.value(QStringLiteral("total")).toInteger());
  r.ok = true;
  return r;
}

void dll_obtenerEstadoTicket(const TservicioEstado& servicio, TticketEstadoResultado* resultado,
                             const QString& usuario, const QString& cuenta,
                             const QString& contrasena, const QDateTime& fechaIni,
                             const QDateTime& fechaFin, qint32 registrosPorPagina,
                             qint32 registroInicial, enum_estatusTicket estado) {
  if (!resultado) return;
  *resultado = TticketEstadoResultado();
  const QUrl url = u_urlEstadoTickets(servicio.urlBase);
  if (!url.isValid()) {
    resultado->error =
        servicio.urlBase.trimmed().isEmpty()
            ? QStringLiteral("No está configurada la dirección del servicio de facturación")
            : QStringLiteral("La dirección del servicio de facturación no es válida: ") +
                  servicio.urlBase.trimmed();
    return;
  }
  const QJsonObject cuerpo =
      u_cuerpoEstadoTickets(servicio.rfc, {usuario, cuenta, contrasena}, fechaIni, fechaFin,
                            registrosPorPagina, registroInicial, estado);
  QElapsedTimer reloj;
  reloj.start();
  const TrespuestaHttp http = u_enviaPostJson(
      url, QJsonDocument(cuerpo).toJson(QJsonDocument::Compact), servicio.tiempoEsperaMs);
  Log::escribe(QStringLiteral("estado"),
               QStringLiteral("página desde %1 de %2: HTTP %3, error de red %4, %5 ms")
                   .arg(registroInicial)
                   .arg(url.toString(QUrl::RemoveUserInfo))
                   .arg(http.estado)
                   .arg(int(http.error))
                   .arg(reloj.elapsed()));
  if (http.estado == 0)
    resultado->error = u_mensajeSinRespuesta(http.error, http.expiro);
  else
    *resultado = u_leeRespuestaEstado(http.estado, http.cuerpo);
}
