#pragma once
// Command-line pieces every sandbox shares: ports, the server's limits, and the way a bad
// argument ends the program (exit code 2 with the reason on stderr).

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include "ServidorHttp.h"

class ArgumentosSandbox {
 public:
  ArgumentosSandbox(QCommandLineParser& p, const QString& programa);

  // --limite-cuerpo BYTES, --inactividad SEGUNDOS, --max-conexiones N.
  void agregaLimites();
  // A port option (0 picks a free one).
  QCommandLineOption agregaPuerto(const QString& nombre, const QString& descripcion);

  // Reads a port; false (after `falla`) when it is not 0..65535.
  bool puerto(const QCommandLineOption& opcion, quint16* valor);
  bool limites(ServidorHttp::Opciones* opciones);
  // A whole number within [minimo, maximo].
  bool entero(const QCommandLineOption& opcion, qint64 minimo, qint64 maximo, qint64* valor);

  // Prints "<programa>: <mensaje>" on stderr and answers `codigo`.
  int falla(const QString& mensaje, int codigo) const;
  // Refuses positional arguments.
  bool sinSobrantes();

 private:
  QCommandLineParser& uParser;
  QString uPrograma;
  QCommandLineOption uLimiteCuerpo{QStringLiteral("limite-cuerpo")};
  QCommandLineOption uInactividad{QStringLiteral("inactividad")};
  QCommandLineOption uMaxConexiones{QStringLiteral("max-conexiones")};
};
