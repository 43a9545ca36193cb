#include "workers/TthreadConexionRemotaPDF.h"

#include <QThread>

#include "context/TsistemaDatos.h"

TthreadConexionRemotaPDF::TthreadConexionRemotaPDF(QObject* parent) : QObject(parent) {}

void TthreadConexionRemotaPDF::inicia(std::atomic<bool>* ocupado) {
  // Copied here so the worker never reads the shared context.
  const QString url = localSYS.urlFacturacion;
  const datosPDF datos = uDatos;
  const int tiempo = uTiempoEsperaMs;
  generarPDFresultado siFalla;
  siFalla.error = QStringLiteral("Ocurrió un error inesperado al descargar el PDF");
  uTrabajo.arranca([url, datos, tiempo] { return u_descargaPDFFactura(url, datos, tiempo); },
                   siFalla, ocupado,
                   [this](QThread* hilo) {
                     connect(hilo, &QThread::finished, this, &TthreadConexionRemotaPDF::terminado,
                             Qt::QueuedConnection);
                   });
}
