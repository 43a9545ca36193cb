#include "ConfiguracionEstacion.h"
#include <QSettings>
bool ConfiguracionEstacion::cargar(const QString& ruta, QString* error) {
  QSettings s(ruta, QSettings::IniFormat);
  baseDatos = s.value("baseDatos").toString();
  idNegocio = s.value("negocio", 1).toInt();
  if (baseDatos.isEmpty() && error) *error = "sin base";
  return !baseDatos.isEmpty();
}
