#pragma once
// pos-script run as the separate program it is, on a scenario written to the test's folder.

#include <QJsonObject>
#include <QStringList>

#include "support/BaseDatosPrueba.h"

struct SalidaPosScript {
  int codigo = -1;
  QJsonObject json;
  QString error;  // what it wrote to stderr
};

// `argumentos` go before the scenario's path; a test failure when it does not end in time.
SalidaPosScript correPosScript(const QString& carpeta, const QStringList& argumentos,
                               const QByteArray& escenario, int tiempoMs = 60000);
// A station file in the database's folder for business 1 at `estacion`, its receipts in
// recibos/, with `extra` lines ("clave=valor\n") after; answers its path.
QString iniPosScript(BaseDatosPrueba& db, const QString& estacion, const QString& extra = {});
