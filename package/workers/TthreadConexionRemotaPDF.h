#pragma once
// Download of one invoice PDF from the online invoicing service, on a worker thread of its own.
// The caller fills the request (setParametros), starts it with a busy flag and waits (usually
// with the wait screen) until the flag is clear; getResultadoPDF then gives the PDF as Base64 or
// why it failed. Writing it to the local folder is pdfFacturas.h's job, on the caller's thread.

#include <QObject>
#include <atomic>

#include "workers/hiloTrabajo.h"
#include "workers/servicioFacturacionPDF.h"

class TthreadConexionRemotaPDF : public QObject {
  Q_OBJECT
 public:
  // Destroying it waits for a download still running.
  explicit TthreadConexionRemotaPDF(QObject* parent = nullptr);

  void setParametros(const datosPDF& datos) { uDatos = datos; }
  // Starts the download from the service configured in localSYS and returns at once; *ocupado
  // is cleared once the result is in place. While one download runs, a second call only clears
  // its flag.
  void inicia(std::atomic<bool>* ocupado);
  generarPDFresultado getResultadoPDF() const { return uTrabajo.resultado(); }

  void setTiempoEspera(int milisegundos) { uTiempoEsperaMs = milisegundos; }
  static constexpr int TIEMPO_ESPERA_MS = 15000;

 signals:
  // On this object's thread once the worker thread has ended: the end handler's place.
  void terminado();

 private:
  THiloTrabajo<generarPDFresultado> uTrabajo;
  datosPDF uDatos;
  int uTiempoEsperaMs = TIEMPO_ESPERA_MS;
};
