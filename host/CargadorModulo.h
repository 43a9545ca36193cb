#pragma once
// Loads the point-of-sale module at run time, as the suite's desktop loads its modules: the
// library from the host's folder, its entry class from the package's class registry, and
// the panel its ExecForm answers.

#include <QLibrary>
#include <QString>

#include "registro/registroClases.h"

class QWidget;
class TsistemaDatos;

class CargadorModulo {
 public:
  static QString bibliotecaModulo() { return QStringLiteral("libpuntoventa.so"); }
  static QString claseEntrada() { return QStringLiteral("TFRM_main_puntoVenta"); }

  // `carpeta`: where the module library lies (the host's own folder).
  explicit CargadorModulo(const QString& carpeta, const QString& biblioteca = bibliotecaModulo());

  QString ruta() const { return uRuta; }
  bool carga(QString* error);
  // The entry class registered by the loaded module; nullptr with a message when missing.
  TExecForm buscaEntrada(const QString& clase, QString* error);
  // Loads, finds the class and calls its ExecForm: the panel to embed, or nullptr.
  QWidget* abre(TsistemaDatos& sistema, const QString& clase, QString* error);

 private:
  QString uRuta;
  QLibrary uBiblioteca;
};
