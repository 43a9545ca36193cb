#pragma once
// Catalog import: loads a business and its catalog from a JSON document, through the package,
// in one transaction. A bad record refuses the whole document and the error names it.
// The document format is described in docs/catalogo.md.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "db/TConexionSesion.h"

struct TResultadoImportacion {
  bool ok = false;
  QString error;      // Spanish, names the bad record ("productos[12] (clave 'A-7'): ...")
  int idNegocio = 0;  // the imported business
  int registros = 0;  // records written
  QStringList avisos; // imported anyway, but worth a look ("negocio: el dígito verificador...")
};

// `carpetaBase`: folder that relative image paths of the document start from (default: the
// working folder).
TResultadoImportacion importaCatalogoJson(TConexionSesion& conexion, const QByteArray& json,
                                          const QString& carpetaBase = QString());
// Image paths are relative to the file's folder.
TResultadoImportacion importaCatalogo(TConexionSesion& conexion, const QString& rutaArchivo);
