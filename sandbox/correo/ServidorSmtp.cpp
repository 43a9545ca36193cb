#include "ServidorSmtp.h"

#include <QHostAddress>
#include <QTcpSocket>

#include "SesionSmtp.h"

ServidorSmtp::ServidorSmtp(BuzonCorreo& buzon, const Opciones& opciones, QObject* parent)
    : QObject(parent), uBuzon(buzon), uOpciones(opciones) {
  connect(&uEscucha, &QTcpServer::newConnection, this, &ServidorSmtp::nuevaConexion);
}

quint16 ServidorSmtp::escucha(quint16 puerto) {
  if (!uEscucha.listen(QHostAddress(QHostAddress::LocalHost), puerto)) return 0;
  return uEscucha.serverPort();
}

void ServidorSmtp::nuevaConexion() {
  while (QTcpSocket* socket = uEscucha.nextPendingConnection()) {
    uSesiones.removeAll(nullptr);
    // The oldest conversation makes room, so idle or stalled clients cannot lock others out.
    if (uSesiones.size() >= uOpciones.maxConexiones) uSesiones.takeFirst()->cierra();
    uSesiones.append(new SesionSmtp(this, socket));
  }
}

bool ServidorSmtp::fijaRechazos(const QStringList& patrones, QString* error) {
  QList<QRegularExpression> expresiones;
  for (const QString& p : patrones) {
    const QRegularExpression e(QStringLiteral("^(?:") + p + QStringLiteral(")$"),
                               QRegularExpression::CaseInsensitiveOption);
    if (!e.isValid()) {
      *error = QStringLiteral("El patrón '%1' no es una expresión regular válida: %2")
                   .arg(p, e.errorString());
      return false;
    }
    expresiones << e;
  }
  uPatrones = patrones;
  uRechazos = expresiones;
  return true;
}

bool ServidorSmtp::rechaza(const QString& direccion) const {
  for (const QRegularExpression& e : uRechazos)
    if (e.match(direccion).hasMatch()) return true;
  return false;
}
