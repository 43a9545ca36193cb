#pragma once
// Stamping of one invoice at the online invoicing service, on a worker thread of its own. The
// caller builds the body, sets a busy flag, starts the stamping and waits (usually with the
// wait screen) until the flag is clear; getResultado then tells how it went.

#include <QJsonObject>
#include <QMutex>
#include <QObject>
#include <QUrl>
#include <atomic>

#include "workers/servicioFacturacionFactura.h"

class QThread;

class TtimbraFacturaConWS : public QObject {
  Q_OBJECT
 public:
  explicit TtimbraFacturaConWS(QObject* parent = nullptr);
  ~TtimbraFacturaConWS() override;

  // Starts and returns at once; *ocupado is cleared once the result is in place. While one
  // stamping runs, a second call only clears its flag.
  void timbra(const QUrl& url, const QJsonObject& cuerpo, std::atomic<bool>* ocupado);
  TresultadoTimbrado getResultado() const;

  void setTiempoEspera(int milisegundos) { uTiempoEsperaMs = milisegundos; }
  static constexpr int TIEMPO_ESPERA_MS = 15000;

 private:
  void fijaResultado(const TresultadoTimbrado& resultado);

  QThread* uHilo = nullptr;
  mutable QMutex uMutex;
  TresultadoTimbrado uResultado;
  int uTiempoEsperaMs = TIEMPO_ESPERA_MS;
};
