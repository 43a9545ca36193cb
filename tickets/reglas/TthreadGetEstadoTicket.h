#pragma once
// The ticket status poll on a worker thread of its own, while ticket control waits in the wait
// screen: pages from the invoicing service (dll_obtenerEstadoTicket) and one update of the
// database (actualizaEstadoTicket) on the worker's own connection. setParametros before
// inicia; the end handler connects to `terminado` and reads getResultado.

#include <QObject>
#include <atomic>
#include <memory>

#include "db/TConexionSesion.h"
#include "tickets/reglas/estadoTickets.h"
#include "workers/hiloTrabajo.h"

class TsistemaDatos;

class TthreadGetEstadoTicket : public QObject {
  Q_OBJECT
 public:
  // Destroying it waits for a poll still running.
  explicit TthreadGetEstadoTicket(QObject* parent = nullptr);

  void setParametros(const datosThreadEstadoTicket& datos) { uDatos = datos; }
  // Starts the poll for the business of `sys` and returns at once; *activo is cleared once the
  // outcome is in place (before `terminado`). While a poll runs, a second call only clears its
  // flag.
  void inicia(const TsistemaDatos& sys, std::atomic<bool>* activo);
  datosThreadEstadoTicket getResultado() const { return uTrabajo.resultado(); }
  // Pages asked for by the last poll (benchmarks and tests).
  int paginas() const { return uPaginas.load(); }

  void setTiempoEspera(int milisegundos) { uTiempoEsperaMs = milisegundos; }

 signals:
  // On this object's thread once the worker has ended: the end handler's place.
  void terminado();

 private:
  THiloTrabajo<datosThreadEstadoTicket> uTrabajo;
  datosThreadEstadoTicket uDatos;
  int uTiempoEsperaMs = 15000;
  std::atomic<int> uPaginas{0};
};
