#include "workers/TtimbraFacturaConWS.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QThread>

#include "util/Log.h"
#include "workers/clienteHttp.h"

namespace {

std::atomic<int> gTiempoEsperaMs{TtimbraFacturaConWS::TIEMPO_ESPERA_MS};

TresultadoTimbrado fallo(const QString& mensaje) {
  TresultadoTimbrado r;
  r.mensaje = mensaje;
  return r;
}

TresultadoTimbrado timbraEnElServicio(const QUrl& url, const QByteArray& cuerpo, int tiempoMs,
                                      const TencabezadosHttp& encabezados) {
  if (!url.isValid())
    return fallo(QStringLiteral("No está configurada la dirección del servicio de facturación"));
  QElapsedTimer reloj;
  reloj.start();
  const TrespuestaHttp http = u_enviaPostJson(url, cuerpo, tiempoMs, encabezados);
  Log::escribe(QStringLiteral("timbrado"), QStringLiteral("%1: HTTP %2, error de red %3, %4 ms")
                                               .arg(url.toString(QUrl::RemoveUserInfo))
                                               .arg(http.estado)
                                               .arg(int(http.error))
                                               .arg(reloj.elapsed()));
  TresultadoTimbrado r = u_leeRespuestaTimbrado(http.estado, http.cuerpo);
  if (http.estado == 0) r.mensaje = u_mensajeSinRespuesta(http.error, http.expiro);
  Log::escribe(QStringLiteral("timbrado"), r.ok ? QStringLiteral("UUID ") + r.uuid : r.mensaje);
  return r;
}

}  // namespace

TtimbraFacturaConWS::TtimbraFacturaConWS(QObject* parent) : QObject(parent) {}

void TtimbraFacturaConWS::setTiempoEsperaPredeterminado(int milisegundos) {
  gTiempoEsperaMs = milisegundos > 0 ? milisegundos : TIEMPO_ESPERA_MS;
}

int TtimbraFacturaConWS::tiempoEsperaPredeterminado() { return gTiempoEsperaMs; }

void TtimbraFacturaConWS::timbra(const QUrl& url, const QJsonObject& cuerpo,
                                 std::atomic<bool>* ocupado, const QString& claveIdempotencia) {
  const QByteArray bytes = QJsonDocument(cuerpo).toJson(QJsonDocument::Compact);
  const int tiempo = uTiempoEsperaMs;
  TencabezadosHttp encabezados;
  if (!claveIdempotencia.isEmpty())
    encabezados.append({QByteArrayLiteral("Idempotency-Key"), claveIdempotencia.toLatin1()});
  uTrabajo.arranca([url, bytes, tiempo,
                    encabezados] { return timbraEnElServicio(url, bytes, tiempo, encabezados); },
                   fallo(QStringLiteral("Ocurrió un error inesperado al timbrar la factura")),
                   ocupado);
}
