#pragma once
// One piece of background work at a time on a thread of its own. The caller's busy flag is set
// when the work starts and cleared once its result is in place; the result is read under a
// mutex. Shared by the package's workers (ticket upload, invoice stamping).

#include <QAbstractEventDispatcher>
#include <QMutex>
#include <QThread>
#include <atomic>
#include <functional>

template <class Resultado>
class THiloTrabajo {
 public:
  THiloTrabajo() = default;
  THiloTrabajo(const THiloTrabajo&) = delete;
  THiloTrabajo& operator=(const THiloTrabajo&) = delete;
  // Waits for work still running.
  ~THiloTrabajo() { libera(); }

  // Starts `trabajo`; an exception it lets out becomes `siFalla`. `antes` sees the thread before
  // it starts (to connect to its finished signal). While earlier work still runs nothing starts
  // and *ocupado is cleared.
  void arranca(std::function<Resultado()> trabajo, const Resultado& siFalla,
               std::atomic<bool>* ocupado, const std::function<void(QThread*)>& antes = {}) {
    if (uHilo && !uHilo->isFinished()) {
      if (ocupado) ocupado->store(false);
      return;
    }
    libera();
    fija(Resultado());
    if (ocupado) ocupado->store(true);
    // The caller's thread is woken once the flag clears: its wait (u_esperaBanderas) ends at
    // once instead of at its next look.
    QAbstractEventDispatcher* llamador = QAbstractEventDispatcher::instance();
    uHilo = QThread::create([this, trabajo = std::move(trabajo), siFalla, ocupado, llamador] {
      Resultado r;
      try {
        r = trabajo();
      } catch (...) {
        r = siFalla;
      }
      fija(r);
      if (ocupado) ocupado->store(false);
      if (llamador) llamador->wakeUp();
    });
    if (antes) antes(uHilo);
    uHilo->start();
  }

  Resultado resultado() const {
    QMutexLocker l(&uMutex);
    return uResultado;
  }

 private:
  void fija(const Resultado& r) {
    QMutexLocker l(&uMutex);
    uResultado = r;
  }
  void libera() {
    if (!uHilo) return;
    uHilo->wait();
    delete uHilo;
    uHilo = nullptr;
  }

  QThread* uHilo = nullptr;
  mutable QMutex uMutex;
  Resultado uResultado;
};
