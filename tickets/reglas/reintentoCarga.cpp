#include "tickets/reglas/reintentoCarga.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>
#include <memory>

#include "operaciones/credenciales.h"
#include "operaciones/tickets.h"
#include "util/Log.h"
#include "workers/TgeneraTicketConWS.h"
#include "workers/clienteHttp.h"

int pausaReintentoMs(int fallosSeguidos) {
  if (fallosSeguidos <= 0) return 60 * 1000;
  const int pasos = std::min(fallosSeguidos - 1, 5);
  return std::min(30 * 1000 * (1 << pasos), 15 * 60 * 1000);
}

TreintentoCargaTickets::TreintentoCargaTickets(const TsistemaDatos& sys, QObject* parent)
    : QObject(parent), uSys(sys) {
  qRegisterMetaType<TrondaReintento>("TrondaReintento");
}

TreintentoCargaTickets::~TreintentoCargaTickets() { detiene(); }

void TreintentoCargaTickets::inicia(int primeraMs) {
  if (uHilo.isRunning()) return;
  uDetener = false;
  uEnHilo = new QObject();
  uEnHilo->moveToThread(&uHilo);
  connect(&uHilo, &QThread::finished, uEnHilo, &QObject::deleteLater);
  uHilo.setObjectName(QStringLiteral("reintentoCarga"));
  uHilo.start(QThread::LowPriority);
  programa(primeraMs);
}

void TreintentoCargaTickets::detiene() {
  uDetener = true;
  if (!uHilo.isRunning()) return;
  uHilo.quit();
  uHilo.wait();
  uEnHilo = nullptr;
}

void TreintentoCargaTickets::programa(int ms) {
  if (!uEnHilo) return;
  QMetaObject::invokeMethod(uEnHilo, [this, ms] {
    QTimer::singleShot(ms, uEnHilo, [this] {
      if (uDetener) return;
      const TrondaReintento r = ronda();
      if (r.sinServicio || r.cargados > 0 || r.intentados == 0 || r.ultimoError.isEmpty())
        uFallos = 0;
      else
        ++uFallos;
      if (!uDetener) programa(pausaReintentoMs(uFallos));
    });
  });
}

void TreintentoCargaTickets::cuentaPendientes() {
  if (!uEnHilo) return;
  QMetaObject::invokeMethod(uEnHilo, [this] {
    if (!uSys.conexion) return;
    const int n = cuentaTicketsPendientesCarga(uSys.getIdNegocio(), *uSys.conexion);
    uSys.conexion->cierraHilo();
    emit pendientes(n);
  });
}

TrondaReintento TreintentoCargaTickets::ronda(int limite) {
  TrondaReintento r;
  if (!uSys.conexion) {
    r.sinServicio = true;
    return r;
  }
  TConexionSesion& conexion = *uSys.conexion;
  TcredencialesServicio cuenta;
  if (!u_urlServicio(uSys.urlFacturacion, QString()).isValid() ||
      !consultaCredencialesUsuario(uSys.getIdNegocio(), conexion, cuenta)) {
    r.sinServicio = true;
    r.pendientes = -1;
  } else {
    const QVector<int> ids = buscaTicketsPendientesCarga(uSys.getIdNegocio(), limite, conexion);
    for (int id : ids) {
      if (uDetener) break;
      ++r.intentados;
      const generarTicketRsultado c = u_subeTicket(TdatosCarga::de(uSys, id));
      if (c.ok) {
        ++r.cargados;
        continue;
      }
      r.ultimoError = c.mensaje;
      // Out of reach: the other tickets would only wait for the same time limit.
      if (c.sinRespuesta) break;
    }
    if (r.intentados > 0)
      Log::escribe(
          QStringLiteral("reintento"),
          QStringLiteral("%1 de %2 tickets cargados%3")
              .arg(r.cargados)
              .arg(r.intentados)
              .arg(r.ultimoError.isEmpty() ? QString() : QStringLiteral("; ") + r.ultimoError));
  }
  r.pendientes = cuentaTicketsPendientesCarga(uSys.getIdNegocio(), conexion);
  conexion.cierraHilo();
  emit rondaTerminada(r);
  if (r.pendientes >= 0) emit pendientes(r.pendientes);
  return r;
}

namespace {
std::unique_ptr<TreintentoCargaTickets>& instancia() {
  static std::unique_ptr<TreintentoCargaTickets> r;
  return r;
}
}  // namespace

TreintentoCargaTickets* u_reintentoCarga() { return instancia().get(); }

TreintentoCargaTickets* u_iniciaReintentoCarga(const TsistemaDatos& sys) {
  if (qEnvironmentVariable("POS_SIN_REINTENTO") == QStringLiteral("1")) return nullptr;
  instancia() = std::make_unique<TreintentoCargaTickets>(sys);
  instancia()->inicia();
  // Stopped while Qt is still there: a round may be waiting for the service.
  static const bool alSalir = [] {
    if (QCoreApplication::instance())
      QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                       [] { u_detieneReintentoCarga(); });
    return true;
  }();
  Q_UNUSED(alSalir);
  return instancia().get();
}

void u_detieneReintentoCarga() { instancia().reset(); }
