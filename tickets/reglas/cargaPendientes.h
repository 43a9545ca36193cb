#pragma once
// "Cargar Pendientes": every pending ticket uploaded, each with its own busy flag so the wait
// screen watches them all and closes when the last one ends. At most a few uploads talk to the
// service at a time (each holds a database connection and a socket); the next one starts as soon
// as one ends. Lives on the screen's thread, whose wait screen keeps running its queue.

#include <QObject>
#include <QVector>
#include <atomic>
#include <memory>

#include "workers/TgeneraTicketConWS.h"

class TcargaPendientes : public QObject {
  Q_OBJECT
 public:
  explicit TcargaPendientes(int simultaneas = 6, QObject* parent = nullptr);

  // Sets every flag and starts the first uploads; each flag is cleared once its ticket's upload
  // has ended, whatever the outcome. `banderas` must outlive the uploads.
  void inicia(const QVector<int>& operaciones, const QVector<std::atomic<bool>*>& banderas);
  // Outcome of each upload, in the order given; meaningful once its flag is clear.
  generarTicketRsultado resultado(int i) const;
  int cargados() const;
  // The most uploads that ran at the same time (tests).
  int maximoSimultaneas() const { return uMaximo; }

 private:
  void siguiente();

  int uSimultaneas;
  QVector<int> uOperaciones;
  QVector<std::atomic<bool>*> uBanderas;
  std::vector<std::unique_ptr<TgeneraTicketConWS>> uCargas;
  int uSiguiente = 0;
  int uActivas = 0;
  int uMaximo = 0;
};
