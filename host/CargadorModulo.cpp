#include "CargadorModulo.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

CargadorModulo::CargadorModulo(const QString& carpeta, const QString& biblioteca)
    : uRuta(QDir(carpeta).absoluteFilePath(biblioteca)) {}

bool CargadorModulo::carga(QString* error) {
  if (uBiblioteca.isLoaded()) return true;
  if (!QFileInfo(uRuta).isFile()) {
    if (error)
      *error = QStringLiteral("No se encontró el módulo del punto de venta: %1").arg(uRuta);
    return false;
  }
  uBiblioteca.setFileName(uRuta);
  if (!uBiblioteca.load()) {
    if (error)
      *error = QStringLiteral("No se pudo cargar el módulo del punto de venta %1: %2")
                   .arg(uRuta, uBiblioteca.errorString());
    return false;
  }
  return true;
}

TExecForm CargadorModulo::buscaEntrada(const QString& clase, QString* error) {
  const TExecForm entrada = buscaClase(clase);
  if (!entrada && error)
    *error = QStringLiteral("El módulo %1 no registró la clase %2.").arg(uRuta, clase);
  return entrada;
}

QWidget* CargadorModulo::abre(TsistemaDatos& sistema, const QString& clase, QString* error) {
  if (!carga(error)) return nullptr;
  const TExecForm entrada = buscaEntrada(clase, error);
  if (!entrada) return nullptr;
  QWidget* panel = entrada(sistema);
  if (!panel && error)
    *error = QStringLiteral("La clase %1 no entregó su panel principal.").arg(clase);
  return panel;
}
