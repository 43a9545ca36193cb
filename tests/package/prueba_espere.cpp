#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>

#include "ui/TFRM_espere.h"
#include "workers/esperaBanderas.h"
#include "workers/hiloTrabajo.h"

namespace {

// Clears a flag from a worker thread after a pause.
std::unique_ptr<QThread> limpiaDesdeOtroHilo(std::atomic<bool>* flag, int ms) {
  std::unique_ptr<QThread> h(QThread::create([flag, ms] {
    QThread::msleep(ms);
    flag->store(false);
  }));
  h->start();
  return h;
}

// A long wait: nothing on screen at first (but no touch gets through), then the screen, until
// the worker clears the flag; afterwards the station takes touches again.
TEST(Espere, EsperaLargaMuestraLaPantallaTrasSuRetraso) {
  TFRM_espere espere;
  espere.setRetraso(60);
  QPushButton boton(QStringLiteral("Aceptar"));
  boton.show();
  int pulsado = 0;
  QObject::connect(&boton, &QPushButton::clicked, [&] { ++pulsado; });
  std::atomic<bool> ocupado{true};
  bool visibleAntes = true, visibleDespues = false;
  QString texto;
  QTimer::singleShot(20, [&] {
    visibleAntes = espere.isVisible();
    QTest::mouseClick(&boton, Qt::LeftButton);
  });
  QTimer::singleShot(120, [&] {
    visibleDespues = espere.isVisible() && espere.esperando();
    texto = espere.texto();
  });
  auto hilo = limpiaDesdeOtroHilo(&ocupado, 200);
  espere.inicia(&ocupado);
  EXPECT_FALSE(ocupado.load());
  EXPECT_FALSE(visibleAntes);
  EXPECT_EQ(pulsado, 0) << "a touch during the wait went through";
  EXPECT_TRUE(visibleDespues);
  EXPECT_EQ(texto, "Procesando, espere un momento...");
  EXPECT_FALSE(espere.isVisible());
  EXPECT_FALSE(espere.esperando());
  QTest::mouseClick(&boton, Qt::LeftButton);
  EXPECT_EQ(pulsado, 1);
  hilo->wait();
}

// The worker's end handler is queued to the UI thread; the wait must run it, or it never ends.
TEST(Espere, CorreElManejadorDeFinEncoladoAlHiloDeLaPantalla) {
  TFRM_espere espere;
  std::atomic<bool> ocupado{true};
  QThread* hiloManejador = nullptr;
  std::unique_ptr<QThread> trabajo(QThread::create([&] {
    QThread::msleep(50);
    QMetaObject::invokeMethod(
        qApp,
        [&] {
          hiloManejador = QThread::currentThread();
          ocupado = false;
        },
        Qt::QueuedConnection);
  }));
  trabajo->start();
  espere.inicia(&ocupado);
  trabajo->wait();
  EXPECT_FALSE(ocupado.load());
  EXPECT_EQ(hiloManejador, QThread::currentThread());
}

TEST(Espere, ArregloEsperaATodasLasBanderas) {
  TFRM_espere espere;
  std::atomic<bool> a{true}, b{true}, c{true};
  bool esperabaTrasLaPrimera = false, esperabaTrasLaSegunda = false;
  QTimer::singleShot(40, [&] {
    b = false;
    QTimer::singleShot(60, [&] { esperabaTrasLaPrimera = espere.esperando(); });
  });
  QTimer::singleShot(120, [&] {
    a = false;
    QTimer::singleShot(60, [&] { esperabaTrasLaSegunda = espere.esperando(); });
  });
  QTimer::singleShot(260, [&] { c = false; });
  espere.iniciaArray({&a, &b, nullptr, &c});
  EXPECT_TRUE(esperabaTrasLaPrimera);
  EXPECT_TRUE(esperabaTrasLaSegunda);
  EXPECT_FALSE(a || b || c);
}

// Flags already clear, or a wait shorter than the screen's delay (the usual upload): the
// screen never appears.
TEST(Espere, EsperaBreveNoMuestraNada) {
  TFRM_espere espere;
  bool mostrada = false;
  QTimer vigia;
  QObject::connect(&vigia, &QTimer::timeout, [&] { mostrada = mostrada || espere.isVisible(); });
  vigia.start(5);
  std::atomic<bool> libre{false}, breve{true};
  espere.inicia(&libre);
  espere.inicia(nullptr);
  espere.iniciaArray({});
  auto hilo = limpiaDesdeOtroHilo(&breve, 40);
  espere.inicia(&breve);
  hilo->wait();
  QCoreApplication::processEvents();
  EXPECT_FALSE(breve.load());
  EXPECT_FALSE(mostrada);
  EXPECT_FALSE(espere.isVisible());
}

// Escape or closing the window must not end a wait whose work is still running.
TEST(Espere, NoSeCierraAntesDeTiempo) {
  TFRM_espere espere;
  espere.setRetraso(0);
  std::atomic<bool> ocupado{true};
  bool seguiaEsperando = false;
  QTimer::singleShot(30, [&] {
    espere.reject();
    espere.close();
    QTimer::singleShot(30, [&] {
      seguiaEsperando = espere.esperando() && espere.isVisible();
      ocupado = false;
    });
  });
  espere.inicia(&ocupado);
  EXPECT_TRUE(seguiaEsperando);
}

// A wait started from inside another wait (an end handler that starts more work).
TEST(Espere, EsperasAnidadasTerminanEnOrden) {
  TFRM_espere espere;
  std::atomic<bool> exterior{true}, interior{true};
  bool interiorTermino = false;
  QTimer::singleShot(20, [&] {
    QTimer::singleShot(60, [&] { interior = false; });
    espere.inicia(&interior);
    interiorTermino = true;
    EXPECT_TRUE(espere.esperando()) << "the outer wait is still running";
    exterior = false;
  });
  espere.inicia(&exterior);
  EXPECT_TRUE(interiorTermino);
  EXPECT_FALSE(espere.esperando());
  EXPECT_FALSE(espere.isVisible());
}

// The wait ends on the event that clears the last flag, or on the worker's wake-up, not on its
// next look: with the look put off for a minute it returns long before. The guard clears the flag
// itself (and marks the failure) should neither way work.
TEST(Espere, TerminaSinEsperarSuSiguienteRevision) {
  constexpr int kNunca = 60000;
  struct Caso {
    const char* nombre;
    std::function<void(std::atomic<bool>*, THiloTrabajo<int>&)> limpia;
  };
  const Caso casos[] = {
      {"manejador encolado",
       [](std::atomic<bool>* b, THiloTrabajo<int>&) {
         QTimer::singleShot(30, [b] { b->store(false); });
       }},
      {"hilo de trabajo",
       [](std::atomic<bool>* b, THiloTrabajo<int>& h) {
         h.arranca(
             [] {
               QThread::msleep(30);
               return 1;
             },
             0, b);
       }},
  };
  for (const Caso& c : casos) {
    std::atomic<bool> ocupado{true};
    bool atascada = false;
    THiloTrabajo<int> hilo;
    QTimer guardia;
    guardia.setSingleShot(true);
    QObject::connect(&guardia, &QTimer::timeout, [&] {
      atascada = true;
      ocupado = false;
    });
    guardia.start(20000);
    c.limpia(&ocupado, hilo);
    u_esperaBanderas({&ocupado}, kNunca);
    EXPECT_FALSE(atascada) << c.nombre;
    EXPECT_FALSE(ocupado.load()) << c.nombre;
  }
}

}  // namespace
