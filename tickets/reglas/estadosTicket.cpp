#include "tickets/reglas/estadosTicket.h"

int estadoTicketEntero(const QString& metodo) {
  const QString t = metodo.trimmed();
  if (t.isEmpty()) return 0;
  bool ok = false;
  const int n = t.toInt(&ok);
  return ok ? n : -1;
}

QString imagenEstadoTicket(const QString& metodo) {
  switch (estadoTicketEntero(metodo)) {
    case 0:
      return QStringLiteral("Elimina");
    case 2:
      return QStringLiteral("doc");
    case 3:
      return QStringLiteral("arrowUp");
    case 4:
      return QStringLiteral("docG");
    case 6:
      return QStringLiteral("docU");
    default:
      return QString();
  }
}

TaccionesTicket accionesTicket(const QString& metodo) {
  switch (estadoTicketEntero(metodo)) {
    case 0:
      return {true, false, false, false};
    case 2:
      return {false, false, true, true};
    case 3:
      return {false, true, false, false};
    case 4:
      return {false, false, true, false};
    case 6:
      return {};
    default:
      return {true, true, true, true};
  }
}
