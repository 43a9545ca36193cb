#pragma once
// Stamping of one invoice at the online invoicing service, on a worker thread of its own. The
// caller builds the body, sets a busy flag, starts the stamping and waits (usually with the
// wait screen) until the flag is clear; getResultado then tells how it went.

#include <QJsonObject>
#include <QObject>
#include <QUrl>
#include <atomic>

#include "workers/hiloTrabajo.h"
#include "workers/servicioFacturacionFactura.h"

class TtimbraFacturaConWS : public QObject {
  Q_OBJECT
 public:
  // Destroying it waits for a stamping still running.
  explicit TtimbraFacturaConWS(QObject* parent = nullptr);

  // Starts and returns at once; *ocupado is cleared once the result is in place. While one
  // stamping runs, a second call only clears its flag. A non-empty `claveIdempotencia` goes as
  // the Idempotency-Key header, so that a retry after a lost answer stamps nothing new.
  void timbra(const QUrl& url, const QJsonObject& cuerpo, std::atomic<bool>* ocupado,
              const QString& claveIdempotencia = QString());
  TresultadoTimbrado getResultado() const { return uTrabajo.resultado(); }

  void setTiempoEspera(int milisegundos) { uTiempoEsperaMs = milisegundos; }
  static constexpr int TIEMPO_ESPERA_MS = 15000;
  // The limit every new stamping starts with (screens create theirs; tests shorten it to
  // lose an answer without waiting 15 s).
  static void setTiempoEsperaPredeterminado(int milisegundos);
  static int tiempoEsperaPredeterminado();

 private:
  THiloTrabajo<TresultadoTimbrado> uTrabajo;
  int uTiempoEsperaMs = tiempoEsperaPredeterminado();
};
