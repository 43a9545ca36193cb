#include "workers/esperaBanderas.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QTimer>

bool u_banderasLibres(const QVector<std::atomic<bool>*>& banderas) {
  for (const std::atomic<bool>* b : banderas)
    if (b && b->load()) return false;
  return true;
}

void u_esperaBanderas(const QVector<std::atomic<bool>*>& banderas, int respaldoMs) {
  if (u_banderasLibres(banderas)) return;
  // Each call waits in its own loop, so a wait started from an end handler during another
  // wait still returns in order.
  QEventLoop lazo;
  const auto revisa = [&] {
    if (u_banderasLibres(banderas)) lazo.quit();
  };
  if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance())
    QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, &lazo, revisa);
  QTimer respaldo;
  QObject::connect(&respaldo, &QTimer::timeout, &lazo, revisa);
  respaldo.start(respaldoMs);
  lazo.exec();
}
