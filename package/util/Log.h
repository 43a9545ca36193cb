#pragma once
// The package's diagnostic log of web calls (uploads, stampings): one line per event, never a
// password or token, appended to Log/pos_<yyyyMMdd>.log under the application folder so the
// shop can show support what happened; also echoed to the Qt logging category pos.facturacion
// (QT_LOGGING_RULES="pos.facturacion.info=true").

#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcFacturacion)

class Log {
 public:
  // The application folder; empty turns the file off (the category still gets the lines).
  static void configura(const QString& carpetaAplicacion);
  // Safe from any thread. A file that cannot be written loses the line, never the caller's work.
  static void escribe(const QString& origen, const QString& texto);
  // Today's file; empty when the file is off.
  static QString archivoDelDia();
};
