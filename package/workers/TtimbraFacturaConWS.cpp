#include "workers/TtimbraFacturaConWS.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QThread>

#include "util/Log.h"
#include "workers/clienteHttp.h"

TtimbraFacturaConWS::TtimbraFacturaConWS(QObject* parent) : QObject(parent) {}

TtimbraFacturaConWS::~TtimbraFacturaConWS() {
  if (uHilo) {
    uHilo->wait();
    delete uHilo;
  }
}

void TtimbraFacturaConWS::fijaResultado(const TresultadoTimbrado& resultado) {
  QMutexLocker l(&uMutex);
  uResultado = resultado;
}

TresultadoTimbrado TtimbraFacturaConWS::getResultado() const {
  QMutexLocker l(&uMutex);
  return uResultado;
}

void TtimbraFacturaConWS::timbra(const QUrl& url, const QJsonObject& cuerpo,
                                 std::atomic<bool>* ocupado) {
  if (uHilo && !uHilo->isFinished()) {
    if (ocupado) ocupado->store(false);
    return;
  }
  if (uHilo) {
    uHilo->wait();
    delete uHilo;
    uHilo = nullptr;
  }
  fijaResultado({});
  if (ocupado) ocupado->store(true);
  const QByteArray bytes = QJsonDocument(cuerpo).toJson(QJsonDocument::Compact);
  const int tiempo = uTiempoEsperaMs;
  uHilo = QThread::create([this, url, bytes, tiempo, ocupado] {
    TresultadoTimbrado r;
    try {
      if (!url.isValid()) {
        r.mensaje = QStringLiteral("No está configurada la dirección del servicio de facturación");
      } else {
        QElapsedTimer reloj;
        reloj.start();
        const TrespuestaHttp http = u_enviaPostJson(url, bytes, tiempo);
        Log::escribe(QStringLiteral("timbrado"),
                     QStringLiteral("%1: HTTP %2, error de red %3, %4 ms")
                         .arg(url.toString(QUrl::RemoveUserInfo))
                         .arg(http.estado)
                         .arg(int(http.error))
                         .arg(reloj.elapsed()));
        if (http.estado == 0)
          r.mensaje = u_mensajeSinRespuesta(http.error, http.expiro);
        else
          r = u_leeRespuestaTimbrado(http.estado, http.cuerpo);
        Log::escribe(QStringLiteral("timbrado"),
                     r.ok ? QStringLiteral("UUID ") + r.uuid : r.mensaje);
      }
    } catch (...) {
      r = TresultadoTimbrado();
      r.mensaje = QStringLiteral("Ocurrió un error inesperado al timbrar la factura");
    }
    fijaResultado(r);
    if (ocupado) ocupado->store(false);
  });
  uHilo->start();
}
