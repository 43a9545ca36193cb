#pragma once
#include <QString>
struct ConfiguracionEstacion {
  QString baseDatos;
  int idNegocio = 1;
  bool cargar(const QString& ruta, QString* error);
};
