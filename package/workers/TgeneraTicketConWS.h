#pragma once
// Upload of a stored ticket to the online invoicing service, on one of the upload threads.
// The caller sets a busy flag, starts the upload and waits (usually with the wait screen) until
// the flag is clear; then getResultado tells how it went. Several uploads may run at once, one
// object each.

#include <QObject>
#include <atomic>
#include <memory>

#include "workers/hiloTrabajo.h"
#include "workers/servicioFacturacionTicket.h"

class TsistemaDatos;
class TConexionSesion;

// What one upload needs, copied from the session context on the caller's thread so the worker
// never reads the shared context.
struct TdatosCarga {
  std::shared_ptr<TConexionSesion> conexion;
  int idNegocio = 0;
  QString rfc;
  QString urlFacturacion;
  QString estacion;  // names the claim, so a stuck one can be traced to its station
  int operacionID = 0;
  int tiempoEsperaMs = 8000;

  static TdatosCarga de(const TsistemaDatos& sys, int operacionID);
};

// One whole upload, blocking, on the calling thread's own connection (closed at the end, except
// on the upload threads, which keep it for their next upload and open it again when it broke).
// The ticket is claimed first (reservaTicketParaCarga), so the same ticket is never sent by
// two uploads at once; the loser of a claim answers the stored identifier when the winner
// already has it, else a message asking to try again shortly. Worker threads only.
generarTicketRsultado u_subeTicket(const TdatosCarga& datos);

class TgeneraTicketConWS : public QObject {
  Q_OBJECT
 public:
  // Destroying it waits for an upload still running.
  explicit TgeneraTicketConWS(QObject* parent = nullptr);

  // Starts uploading the operation (of the current business in localSYS) and returns at once.
  // Whatever happens, *ocupado (when not null) is cleared once the upload is over, after the
  // result is in place. A ticket that already has its identifier answers it without calling
  // the service. While one upload runs, a second call on the same object only clears its flag.
  void generaTicket(int operacionID, std::atomic<bool>* ocupado);

  // Result of the last upload; meaningful once its flag is clear.
  generarTicketRsultado getResultado() const { return uTrabajo.resultado(); }

  // Longest wait for the service, in milliseconds, for the uploads started afterwards.
  void setTiempoEspera(int milisegundos) { uTiempoEsperaMs = milisegundos; }
  int tiempoEspera() const { return uTiempoEsperaMs; }
  static constexpr int TIEMPO_ESPERA_MS = 8000;

 signals:
  // Emitted on this object's thread once the upload has ended (after the flag is clear).
  void terminado();

 private:
  THiloTrabajo<generarTicketRsultado> uTrabajo;
  int uTiempoEsperaMs = TIEMPO_ESPERA_MS;
};
