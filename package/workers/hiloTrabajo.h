#pragma once
// One piece of background work at a time, on a thread of its own or on a pool's thread that
// outlives it (and keeps what the work opened there, such as a database connection). The
// caller's busy flag is set when the work starts and cleared once its result is in place; the
// result is read under a mutex. Shared by the package's workers (ticket upload, invoice
// stamping).

#include <QAbstractEventDispatcher>
#include <QMutex>
#include <QThread>
#include <QThreadPool>
#include <QWaitCondition>
#include <atomic>
#include <functional>
#include <memory>

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
    if (!preparado(ocupado)) return;
    uHilo = QThread::create(envuelve(std::move(trabajo), siFalla, ocupado, {}));
    if (antes) antes(uHilo);
    uHilo->start();
  }

  // The same on one of `hilos`' threads; `alTerminar` runs there once the flag is clear, while
  // this object still exists (destroying it waits for that).
  void arrancaEn(QThreadPool& hilos, std::function<Resultado()> trabajo, const Resultado& siFalla,
                 std::atomic<bool>* ocupado, std::function<void()> alTerminar = {}) {
    if (!preparado(ocupado)) return;
    auto fin = std::make_shared<Fin>();
    uFin = fin;
    hilos.start(
        [fin, paso = envuelve(std::move(trabajo), siFalla, ocupado, std::move(alTerminar))] {
          paso();
          QMutexLocker l(&fin->mutex);
          fin->listo = true;
          fin->aviso.wakeAll();
        });
  }

  Resultado resultado() const {
    QMutexLocker l(&uMutex);
    return uResultado;
  }

 private:
  struct Fin {
    QMutex mutex;
    QWaitCondition aviso;
    bool listo = false;
  };

  bool corriendo() const {
    if (uHilo) return !uHilo->isFinished();
    if (!uFin) return false;
    QMutexLocker l(&uFin->mutex);
    return !uFin->listo;
  }
  // Clears the last work away and sets the flag; false (flag cleared) while work still runs.
  bool preparado(std::atomic<bool>* ocupado) {
    if (corriendo()) {
      if (ocupado) ocupado->store(false);
      return false;
    }
    libera();
    fija(Resultado());
    if (ocupado) ocupado->store(true);
    return true;
  }
  std::function<void()> envuelve(std::function<Resultado()> trabajo, const Resultado& siFalla,
                                 std::atomic<bool>* ocupado, std::function<void()> alTerminar) {
    // The caller's thread is woken once the flag clears: its wait (u_esperaBanderas) ends at
    // once instead of at its next look.
    QAbstractEventDispatcher* llamador = QAbstractEventDispatcher::instance();
    return [this, trabajo = std::move(trabajo), siFalla, ocupado, llamador,
            alTerminar = std::move(alTerminar)] {
      Resultado r;
      try {
        r = trabajo();
      } catch (...) {
        r = siFalla;
      }
      fija(r);
      if (ocupado) ocupado->store(false);
      if (llamador) llamador->wakeUp();
      if (alTerminar) alTerminar();
    };
  }
  void fija(const Resultado& r) {
    QMutexLocker l(&uMutex);
    uResultado = r;
  }
  void libera() {
    if (uFin) {
      QMutexLocker l(&uFin->mutex);
      while (!uFin->listo) uFin->aviso.wait(&uFin->mutex);
    }
    uFin.reset();
    if (!uHilo) return;
    uHilo->wait();
    delete uHilo;
    uHilo = nullptr;
  }

  QThread* uHilo = nullptr;
  std::shared_ptr<Fin> uFin;  // the pool's work, when it runs there
  mutable QMutex uMutex;
  Resultado uResultado;
};
