#include "TgeneraTicketConWS.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QThread>
#include <QThreadPool>
#include <QUuid>
#include <memory>
#include <vector>

#include "context/TsistemaDatos.h"
#include "operaciones/cargaTicket.h"
#include "operaciones/puntoVenta.h"
#include "signing/firma.h"
#include "util/Log.h"
#include "workers/clienteHttp.h"

namespace {

// The connections an upload thread of the pool keeps between uploads, dropped when the thread
// ends. A session that goes first drops them itself.
struct TconexionesDelHilo {
  bool guardaEnEsteHilo = false;
  std::vector<std::weak_ptr<TConexionSesion>> sesiones;
  void anota(const std::shared_ptr<TConexionSesion>& c) {
    for (const auto& s : sesiones)
      if (s.lock() == c) return;
    std::erase_if(sesiones, [](const auto& s) { return s.expired(); });
    sesiones.push_back(c);
  }
  ~TconexionesDelHilo() {
    for (const auto& s : sesiones)
      if (const auto c = s.lock()) c->cierraHilo();
  }
};
thread_local TconexionesDelHilo tConexionesDelHilo;

// The upload threads: a few, so uploads can overlap, kept for the station's life so each one
// reuses its connection instead of opening one per sale.
QThreadPool& hilosCarga() {
  static QThreadPool* hilos = [] {
    auto* h = new QThreadPool();
    h->setMaxThreadCount(4);
    h->setExpiryTimeout(-1);
    return h;
  }();
  return *hilos;
}

// The calling thread's commits stop waiting for the disk (SQLite synchronous NORMAL in WAL
// mode, PostgreSQL synchronous_commit off): still atomic, but a power cut may undo the last
// ones.
void sinEsperarDisco(TConexionSesion& conexion) {
  QSqlQuery q(conexion.baseDatos());
  q.exec(conexion.esPostgres() ? QStringLiteral("SET synchronous_commit = off")
                               : QStringLiteral("PRAGMA synchronous=NORMAL"));
}

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
  // The connection is this thread's own. An upload thread of the pool keeps it for the next
  // upload; any other thread drops it however the upload ends.
  const bool guardaConexion = tConexionesDelHilo.guardaEnEsteHilo;
  struct TcierreConexion {
    TConexionSesion& c;
    bool guarda;
    ~TcierreConexion() {
      if (!guarda) c.cierraHilo();
    }
  } cierre{conexion, guardaConexion};
  const auto abre = [&conexion] {
    if (!conexion.abre()) return false;
    // This connection only claims the ticket and stores its identifier: a power cut that
    // undoes either is harmless (the claim expires, and uploading again answers the same
    // identifier), so the cashier does not wait for the disk twice more on every sale.
    sinEsperarDisco(conexion);
    return true;
  };
  if (!abre())
    return fallo(QStringLiteral("No se pudo abrir la base de datos: ") + conexion.ultimoError());
  if (guardaConexion) tConexionesDelHilo.anota(d.conexion);

  CmidTierResponse operacion = buscaOperacionParaCarga(d.operacionID, d.idNegocio, conexion);
  if (!operacion.ok() && guardaConexion) {
    // A kept connection may have lost its server meanwhile (a restart, a dropped link): the
    // upload opens a new one and reads again.
    conexion.cierraHilo();
    if (!abre())
      return fallo(QStringLiteral("No se pudo abrir la base de datos: ") + conexion.ultimoError());
    operacion = buscaOperacionParaCarga(d.operacionID, d.idNegocio, conexion);
  }
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
  // However the upload ends without storing the identifier, the claim goes. Storing the
  // identifier clears it in the same write, so the cashier does not wait for a second one.
  struct TliberaReserva {
    const TdatosCarga& d;
    const QString& reserva;
    TConexionSesion& c;
    bool liberada = false;
    ~TliberaReserva() {
      if (!liberada) liberaReservaCarga(d.operacionID, reserva, c);
    }
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
  if (marcaTicketCargado(d.operacionID, d.idNegocio, r.identificador, conexion, &error) == 1) {
    libera.liberada = true;
  } else {
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
  uTrabajo.arrancaEn(
      hilosCarga(),
      [d] {
        tConexionesDelHilo.guardaEnEsteHilo = true;
        u_conservaRedEnEsteHilo();
        return u_subeTicket(d);
      },
      fallo(QStringLiteral("Ocurrió un error inesperado al cargar el ticket")), ocupado,
      [this] {
        QMetaObject::invokeMethod(
            this, [this] { emit terminado(); }, Qt::QueuedConnection);
      });
}
