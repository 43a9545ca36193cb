#include "tickets/reglas/TthreadGetEstadoTicket.h"

#include <QElapsedTimer>
#include <QThread>

#include "context/TsistemaDatos.h"
#include "operaciones/tickets.h"
#include "util/Log.h"

TthreadGetEstadoTicket::TthreadGetEstadoTicket(QObject* parent) : QObject(parent) {}

void TthreadGetEstadoTicket::inicia(const TsistemaDatos& sys, std::atomic<bool>* activo) {
  // Copied on the caller's thread: the worker never reads the shared context.
  const std::shared_ptr<TConexionSesion> conexion = sys.conexion;
  const int negocio = sys.getIdNegocio();
  const TservicioEstado servicio{sys.urlFacturacion, sys.getNegocio().getDatosFiscales().getRfc(),
                                 uTiempoEsperaMs};
  const datosThreadEstadoTicket datos = uDatos;
  datosThreadEstadoTicket siFalla = datos;
  siFalla.error =
      QStringLiteral("Ocurrió un error inesperado al consultar el estado de los tickets");
  uTrabajo.arranca(
      [this, conexion, negocio, servicio, datos]() mutable {
        datosThreadEstadoTicket d = datos;
        const auto pagina = [&](TticketEstadoResultado* r, qint32 inicial) {
          dll_obtenerEstadoTicket(servicio, r, d.usuario, d.cuenta, d.contrasenia, d.fechaIni,
                                  d.fechaFin, d.registrosPorPagina, inicial, d.ticketEstado);
        };
        const auto aplica = [&](const QStringList& ids,
                                const QHash<QString, TfacturaServicio>& facturas) {
          if (!conexion) return false;
          QElapsedTimer reloj;
          reloj.start();
          QString error;
          const bool ok =
              conexion->abre() && actualizaEstadoTicket(ids, negocio, *conexion, facturas, &error);
          conexion->cierraHilo();
          Log::escribe(QStringLiteral("estado"),
                       QStringLiteral("%1 tickets facturados aplicados en %2 ms%3")
                           .arg(ids.size())
                           .arg(reloj.elapsed())
                           .arg(ok ? QString() : QStringLiteral(": ") + error));
          return ok;
        };
        uPaginas = consultaEstadoTickets(d, pagina, aplica);
        return d;
      },
      siFalla, activo,
      [this](QThread* hilo) {
        connect(hilo, &QThread::finished, this, &TthreadGetEstadoTicket::terminado,
                Qt::QueuedConnection);
      });
}
