#pragma once
// A shop with a flaky connection: tickets whose upload failed at the sale are uploaded again in
// the background, off the screen's thread, with growing pauses while the service stays out of
// reach, until it takes them. The service answers a repeated upload with the identifier it
// already gave, and every upload claims its ticket first (u_subeTicket), so the retry, "Subir
// Ticket" and other stations never send one ticket at the same time.
//
// After every round the number of tickets still pending is announced, for the main panel.

#include <QObject>
#include <QThread>
#include <atomic>

#include "context/TsistemaDatos.h"

// Pause before the next round after `fallosSeguidos` rounds in a row that could not upload
// (0: the service took everything, or nothing was pending): one minute to look for new pending
// tickets; after failures 30 s, then doubling, at most 15 minutes.
int pausaReintentoMs(int fallosSeguidos);

struct TrondaReintento {
  int intentados = 0;
  int cargados = 0;
  int pendientes = 0;        // still pending after the round; -1 when they could not be counted
  bool sinServicio = false;  // uploads are not configured (no service address or account)
  QString ultimoError;
};

class TreintentoCargaTickets : public QObject {
  Q_OBJECT
 public:
  // Copies what it needs of `sys` (connection, business, service address).
  explicit TreintentoCargaTickets(const TsistemaDatos& sys, QObject* parent = nullptr);
  // Stops the rounds and waits for one that is running (an upload ends within its time limit).
  ~TreintentoCargaTickets() override;

  // Starts the rounds on a thread of its own; the first one after `primeraMs`.
  void inicia(int primeraMs = 5000);
  void detiene();
  bool activo() const { return uHilo.isRunning(); }

  // One round on the calling thread (its own connection): the oldest pending tickets, at most
  // `limite`, one after another; a ticket the service cannot be reached for ends the round.
  TrondaReintento ronda(int limite = 50);
  // Asks the worker thread to count the pending tickets now (answered through `pendientes`).
  void cuentaPendientes();

  int fallosSeguidos() const { return uFallos.load(); }

 signals:
  // Emitted from the worker thread; connect with a queued connection to show it.
  void pendientes(int cantidad);
  void rondaTerminada(const TrondaReintento& ronda);

 private:
  void programa(int ms);

  TsistemaDatos uSys;
  QThread uHilo;
  QObject* uEnHilo = nullptr;  // lives on uHilo: its timer and queued calls run there
  std::atomic<int> uFallos{0};
  std::atomic<bool> uDetener{false};
};

// The process's retry, started by the module's main panel (not when POS_SIN_REINTENTO=1, which
// tests and scripted runs set: they upload on purpose). Null before it starts.
TreintentoCargaTickets* u_reintentoCarga();
TreintentoCargaTickets* u_iniciaReintentoCarga(const TsistemaDatos& sys);
void u_detieneReintentoCarga();
