#include "TgeneraTicketConWS.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QThread>
#include <QUuid>

#include "context/TsistemaDatos.h"
#include "operaciones/cargaTicket.h"
#include "operaciones/puntoVenta.h"
#include "signing/firma.h"
#include "util/Log.h"
#include "workers/clienteHttp.h"

namespace {

generarTicketRsultado fallo(const QString& mensaje) {
  generarTicketRsultado r;
  r.mensaje = mensaje;
  return r;
}

}  // namespace

TdatosCarga TdatosCarga::de(const TsistemaDatos& sys, int operacionID) {
  TdatosCarga d;
  d.conexion = sys.conexion;
  d.idNegocio = sys.getIdNegocio();
  d.rfc = sys.getNegocio().getDatosFiscales().getRfc();
  d.urlFacturacion = sys.urlFacturacion;
  d.estacion = u_getPCName();
  d.operacionID = operacionID;
  return d;
}

generarTicketRsultado u_subeTicket(const TdatosCarga& d) {
  if (!d.conexion) return fallo(QStringLiteral("No hay conexión con la base de datos"));
  TConexionSesion& conexion = *d.conexion;
  // The connection is this thread's own; it is dropped however the upload ends.
  struct TcierreConexion {
    TConexionSesion& c;
    ~TcierreConexion() { c.cierraHilo(); }
  } cierre{conexion};
  if (!conexion.abre())
    return fallo(QStringLiteral("No se pudo abrir la base de datos: ") + conexion.ultimoError());

  const CmidTierResponse operacion = buscaOperacionParaCarga(d.operacionID, d.idNegocio, conexion);
  if (!operacion.ok())
    return fallo(QStringLiteral("No se pudo leer el ticket: ") + operacion.getError());
  if (operacion.getRowCount() == 0)
    return fallo(QStringLiteral("No se encontró el ticket de la operación %1").arg(d.operacionID));
  const QString yaCargado = operacion.getCelda(QStringLiteral("puntoOperacion_uuid")).trimmed();
  if (!yaCargado.isEmpty()) {
    generarTicketRsultado r;
    r.ok = true;
    r.identificador = yaCargado;
    return r;
  }
  const CmidTierResponse detalle = buscaDetalleParaCarga(d.operacionID, conexion);
  const CmidTierResponse pagos = buscaPagosParaCarga(d.operacionID, conexion);
  if (!detalle.ok() || !pagos.ok())
    return fallo(QStringLiteral("No se pudo leer el ticket: ") +
                 (detalle.ok() ? pagos.getError() : detalle.getError()));

  TCredenciales credenciales;
  if (!u_consultaCredencialesUsuario(d.idNegocio, conexion, credenciales))
    return fallo(QStringLiteral("No se pudieron leer los datos de usuario en línea"));
  if (!credenciales.existe)
    return fallo(QStringLiteral("No se encontraron los datos de usuario en línea del negocio"));

  const QUrl url = u_urlCargaTicket(d.urlFacturacion);
  if (!url.isValid())
    return fallo(
        d.urlFacturacion.trimmed().isEmpty()
            ? QStringLiteral("No está configurada la dirección del servicio de facturación")
            : QStringLiteral("La dirección del servicio de facturación no es válida: ") +
                  d.urlFacturacion.trimmed());

  // Stored encrypted; the service takes it in clear.
  const QString contrasena = deCrypt(credenciales.contrasena);
  if (contrasena.isEmpty()) {
    generarTicketRsultado r =
        fallo(QStringLiteral("No se pudo descifrar la contraseña del usuario en línea. ") +
              signingUltimoError());
    r.credencialesIlegibles = true;
    Log::escribe(QStringLiteral("carga"),
                 QStringLiteral("operación %1: %2").arg(d.operacionID).arg(r.mensaje));
    return r;
  }

  const QString reserva =
      d.estacion + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces);
  QString error;
  const int reservado = reservaTicketParaCarga(d.operacionID, d.idNegocio, reserva,
                                               QDateTime::currentDateTime(), conexion, &error);
  if (reservado < 0)
    return fallo(QStringLiteral("No se pudo preparar la carga del ticket: ") + error);
  if (reservado == 0) {
    // Another upload got there first: it either finished (the identifier is stored) or is
    // still talking to the service.
    const QString identificador = buscaOperacionParaCarga(d.operacionID, d.idNegocio, conexion)
                                      .getCelda(QStringLiteral("puntoOperacion_uuid"))
                                      .trimmed();
    if (identificador.isEmpty())
      return fallo(QStringLiteral("El ticket %1 se está cargando en este momento; intente de "
                                  "nuevo en unos segundos")
                       .arg(operacion.getCelda(QStringLiteral("puntoOperacion_ticketNo"))));
    generarTicketRsultado r;
    r.ok = true;
    r.identificador = identificador;
    return r;
  }
  // However the upload ends without storing the identifier, the claim goes.
  struct TliberaReserva {
    const TdatosCarga& d;
    const QString& reserva;
    TConexionSesion& c;
    ~TliberaReserva() { liberaReservaCarga(d.operacionID, reserva, c); }
  } libera{d, reserva, conexion};
  const QJsonObject cuerpo = u_cuerpoCargaTicket(
      d.rfc, {credenciales.usuario, credenciales.cuenta, contrasena}, operacion, detalle, pagos);
  QElapsedTimer reloj;
  reloj.start();
  const TrespuestaHttp http =
      u_enviaPostJson(url, QJsonDocument(cuerpo).toJson(QJsonDocument::Compact), d.tiempoEsperaMs);
  Log::escribe(QStringLiteral("carga"),
               QStringLiteral("operación %1 a %2: HTTP %3, error de red %4, %5 ms")
                   .arg(d.operacionID)
                   .arg(url.toString(QUrl::RemoveUserInfo))
                   .arg(http.estado)
                   .arg(int(http.error))
                   .arg(reloj.elapsed()));
  if (http.estado == 0) {
    generarTicketRsultado r = fallo(u_mensajeSinRespuesta(http.error, http.expiro));
    r.sinRespuesta = true;
    return r;
  }

  generarTicketRsultado r = u_leeRespuestaCarga(http.estado, http.cuerpo);
  if (!r.ok) return r;
  if (marcaTicketCargado(d.operacionID, d.idNegocio, r.identificador, conexion, &error) != 1) {
    // The service has the ticket; uploading it again later answers the same identifier.
    r.ok = false;
    r.mensaje = QStringLiteral("El ticket se cargó, pero no se pudo guardar su identificador");
    if (!error.isEmpty()) r.mensaje += QStringLiteral(": ") + error;
  }
  return r;
}

TgeneraTicketConWS::TgeneraTicketConWS(QObject* parent) : QObject(parent) {}

void TgeneraTicketConWS::generaTicket(int operacionID, std::atomic<bool>* ocupado) {
  TdatosCarga d = TdatosCarga::de(localSYS, operacionID);
  d.tiempoEsperaMs = uTiempoEsperaMs;
  uTrabajo.arranca([d] { return u_subeTicket(d); },
                   fallo(QStringLiteral("Ocurrió un error inesperado al cargar el ticket")),
                   ocupado,
                   [this](QThread* hilo) {
                     connect(hilo, &QThread::finished, this, &TgeneraTicketConWS::terminado,
                             Qt::QueuedConnection);
                   });
}
