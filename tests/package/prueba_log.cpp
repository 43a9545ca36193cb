// The diagnostic log: lines from several threads at once all reach today's file whole, and a
// log without a folder writes nothing.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <vector>

#include "util/Log.h"

TEST(Log, LineasDeVariosHilosCompletasEnElArchivoDelDia) {
  QTemporaryDir carpeta;
  Log::configura(carpeta.path());
  const QString archivo = Log::archivoDelDia();
  EXPECT_TRUE(archivo.startsWith(carpeta.path() + "/Log/pos_")) << archivo.toStdString();
  std::vector<QThread*> hilos;
  for (int h = 0; h < 4; ++h)
    hilos.push_back(QThread::create([h] {
      for (int i = 0; i < 50; ++i)
        Log::escribe("prueba", QString("hilo %1 línea %2\nsigue").arg(h).arg(i));
    }));
  for (QThread* t : hilos) t->start();
  for (QThread* t : hilos) {
    t->wait();
    delete t;
  }
  QFile f(archivo);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QStringList lineas = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lineas.size(), 200);
  for (const QString& l : lineas) {
    EXPECT_TRUE(l.contains(" [prueba] hilo ")) << l.toStdString();
    EXPECT_TRUE(l.endsWith(" sigue")) << l.toStdString();
  }

  Log::configura(QString());
  EXPECT_EQ(Log::archivoDelDia(), "");
  Log::escribe("prueba", "no va a ningún archivo");
  f.close();
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(f.readAll()).count('\n'), 200);
}
