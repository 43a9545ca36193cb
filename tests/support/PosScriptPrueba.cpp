#include "support/PosScriptPrueba.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QProcess>

SalidaPosScript correPosScript(const QString& carpeta, const QStringList& argumentos,
                               const QByteArray& escenario, int tiempoMs) {
  QFile e(carpeta + QStringLiteral("/escenario.json"));
  EXPECT_TRUE(e.open(QIODevice::WriteOnly));
  e.write(escenario);
  e.close();
  QProcess p;
  // As from a shell without a session (CI, root, ssh): the station must start without notices.
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  entorno.remove(QStringLiteral("XDG_RUNTIME_DIR"));
  p.setProcessEnvironment(entorno);
  p.start(QStringLiteral(POS_BINARIOS) + QStringLiteral("/pos-script"),
          argumentos + QStringList{e.fileName()});
  EXPECT_TRUE(p.waitForFinished(tiempoMs));
  SalidaPosScript s;
  s.codigo = p.exitCode();
  s.error = QString::fromUtf8(p.readAllStandardError());
  s.json = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
  return s;
}

QString iniPosScript(BaseDatosPrueba& db, const QString& estacion, const QString& extra) {
  const QString ini = db.carpeta() + QStringLiteral("/estacion.ini");
  QFile f(ini);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QStringLiteral("baseDatos=%1\nnegocio=1\ncarpetaAplicacion=%2/\nestacion=%3\n"
                         "impresora=%2/recibos\n%4")
              .arg(db.destino(), db.carpeta(), estacion, extra)
              .toUtf8());
  return ini;
}
