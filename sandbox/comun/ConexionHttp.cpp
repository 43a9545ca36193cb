#include "ConexionHttp.h"

#include <sys/socket.h>

#include <QRegularExpression>
#include <QSslSocket>
#include <QTcpSocket>
#include <QUrl>

namespace {

constexpr int MAX_ENCABEZADOS = 100;
constexpr int CIERRE_MS = 5000;  // to flush a last answer to a client that does not read

QString decodifica(QByteArray texto, bool esConsulta) {
  if (esConsulta) texto.replace('+', ' ');
  return QUrl::fromPercentEncoding(texto);
}

bool esToken(const QByteArray& t) {
  static const QRegularExpression token(QStringLiteral("^[!#$%&'*+.^_`|~0-9A-Za-z-]+$"));
  return token.match(QString::fromLatin1(t)).hasMatch();
}

}  // namespace

ConexionHttp::ConexionHttp(ServidorHttp* servidor, QTcpSocket* socket)
    : QObject(servidor), uServidor(servidor), uSocket(socket) {
  uSocket->setParent(this);
  uLimite.setSingleShot(true);
  connect(&uLimite, &QTimer::timeout, this, &ConexionHttp::venceTiempo);
  connect(uSocket, &QTcpSocket::readyRead, this, &ConexionHttp::lee);
  connect(uSocket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
  connect(uSocket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
    // A refused TLS handshake or a reset: nothing more can be said to this client.
    if (e != QAbstractSocket::RemoteHostClosedError) cierra();
  });
  uLimite.start(uServidor->opciones().inactividadMs);
}

void ConexionHttp::cierra() {
  uEstado = Estado::Cerrando;
  uLimite.stop();
  uSocket->abort();
  deleteLater();
}

void ConexionHttp::lee() {
  if (uEstado == Estado::Cerrando) {
    uSocket->readAll();
    return;
  }
  uEntrada += uSocket->readAll();
  // Bytes that arrive while a request is being answered wait for their turn, within bounds.
  const auto& o = uServidor->opciones();
  if (uEstado == Estado::Atendiendo && uEntrada.size() > o.limiteEncabezados + o.limiteCuerpo) {
    cierra();
    return;
  }
  if (!uProcesando) procesa();
}

void ConexionHttp::procesa() {
  uProcesando = true;
  while (uEstado == Estado::Encabezados || uEstado == Estado::Cuerpo) {
    if (uEstado == Estado::Encabezados && !leeEncabezados()) break;
    if (uEstado != Estado::Cuerpo) break;
    if (uEntrada.size() < uLargoCuerpo) {
      if (uPeticion.encabezado("expect").toLower() == "100-continue" && !uContinuarEnviado) {
        uSocket->write("HTTP/1.1 100 Continue\r\n\r\n");
        uContinuarEnviado = true;
      }
      break;
    }
    uPeticion.cuerpo = uEntrada.left(uLargoCuerpo);
    uEntrada.remove(0, uLargoCuerpo);
    uEstado = Estado::Atendiendo;
    uLimite.stop();
    ++uSerie;
    const PeticionHttp peticion = std::move(uPeticion);
    uPeticion = {};
    uServidor->atiende(peticion, RespuestaHttp(this, uSerie));
  }
  uProcesando = false;
}

bool ConexionHttp::leeEncabezados() {
  // Empty lines before a request are tolerated.
  while (uEntrada.startsWith("\r\n")) uEntrada.remove(0, 2);
  const auto& o = uServidor->opciones();
  const qsizetype fin = uEntrada.indexOf("\r\n\r\n");
  if (fin < 0) {
    if (uEntrada.size() > o.limiteEncabezados)
      falla(431, QStringLiteral("Los encabezados de la petición exceden %1 bytes")
                     .arg(o.limiteEncabezados));
    return false;
  }
  if (fin + 4 > o.limiteEncabezados) {
    falla(
        431,
        QStringLiteral("Los encabezados de la petición exceden %1 bytes").arg(o.limiteEncabezados));
    return false;
  }
  const QList<QByteArray> lineas = uEntrada.left(fin).split('\n');
  uEntrada.remove(0, fin + 4);
  uPeticion = {};
  uContinuarEnviado = false;

  const QList<QByteArray> inicio = lineas.first().trimmed().split(' ');
  if (inicio.size() != 3 || !esToken(inicio[0]) || !inicio[1].startsWith('/')) {
    falla(400, QStringLiteral("La línea de petición no es válida"));
    return false;
  }
  const QByteArray version = inicio[2];
  if (version != "HTTP/1.1" && version != "HTTP/1.0") {
    falla(version.startsWith("HTTP/") ? 505 : 400,
          QStringLiteral("Versión de HTTP no soportada: %1").arg(QString::fromLatin1(version)));
    return false;
  }
  if (lineas.size() - 1 > MAX_ENCABEZADOS) {
    falla(431, QStringLiteral("La petición trae más de %1 encabezados").arg(MAX_ENCABEZADOS));
    return false;
  }
  for (qsizetype i = 1; i < lineas.size(); ++i) {
    const QByteArray linea = lineas[i].endsWith('\r') ? lineas[i].chopped(1) : lineas[i];
    const qsizetype dos = linea.indexOf(':');
    if (dos <= 0 || !esToken(linea.left(dos))) {
      falla(400, QStringLiteral("Encabezado no válido en la línea %1").arg(i + 1));
      return false;
    }
    uPeticion.encabezados.append({linea.left(dos).toLower(), linea.mid(dos + 1).trimmed()});
  }

  uPeticion.metodo = inicio[0];
  const QByteArray objetivo = inicio[1];
  const qsizetype pregunta = objetivo.indexOf('?');
  uPeticion.ruta = decodifica(pregunta < 0 ? objetivo : objetivo.left(pregunta), false);
  if (pregunta >= 0) {
    uPeticion.consulta = objetivo.mid(pregunta + 1);
    for (const QByteArray& par : uPeticion.consulta.split('&')) {
      if (par.isEmpty()) continue;
      const qsizetype igual = par.indexOf('=');
      uPeticion.parametros.append({decodifica(igual < 0 ? par : par.left(igual), true),
                                   igual < 0 ? QString() : decodifica(par.mid(igual + 1), true)});
    }
  }

  const QByteArray conexion = uPeticion.encabezado("connection").toLower();
  uCerrarDespues =
      version == "HTTP/1.0" ? !conexion.contains("keep-alive") : conexion.contains("close");
  if (!uPeticion.encabezado("transfer-encoding").isEmpty()) {
    falla(411,
          QStringLiteral("Envíe el cuerpo con Content-Length; no se acepta Transfer-Encoding"));
    return false;
  }
  uLargoCuerpo = 0;
  for (const auto& [nombre, valor] : uPeticion.encabezados) {
    if (nombre != "content-length") continue;
    bool ok = !valor.isEmpty();
    for (const char c : valor) ok = ok && c >= '0' && c <= '9';
    const qint64 largo = ok && valor.size() <= 18 ? valor.toLongLong() : -1;
    if (largo < 0 || (uLargoCuerpo != 0 && largo != uLargoCuerpo)) {
      falla(400, QStringLiteral("El encabezado Content-Length no es válido"));
      return false;
    }
    uLargoCuerpo = largo;
  }
  if (uLargoCuerpo > o.limiteCuerpo) {
    falla(413,
          QStringLiteral("La petición excede el tamaño máximo de %1 bytes").arg(o.limiteCuerpo));
    return false;
  }
  uEstado = Estado::Cuerpo;
  return true;
}

void ConexionHttp::falla(int estado, const QString& mensaje) {
  escribe(estado, uServidor->cuerpoDeError(estado, mensaje),
          QByteArrayLiteral("application/json; charset=utf-8"), {}, true);
}

void ConexionHttp::responde(quint64 serie, int estado, const QByteArray& cuerpo,
                            const QByteArray& tipo,
                            const QList<QPair<QByteArray, QByteArray>>& encabezados) {
  if (!espera(serie)) return;
  escribe(estado, cuerpo, tipo, encabezados, uCerrarDespues);
  if (uEstado == Estado::Cerrando) return;
  uEstado = Estado::Encabezados;
  uLimite.start(uServidor->opciones().inactividadMs);
  // A request that came right behind this one is served now; when the answer was given
  // from inside procesa() its loop goes on by itself.
  if (!uProcesando && !uEntrada.isEmpty()) procesa();
}

void ConexionHttp::escribe(int estado, const QByteArray& cuerpo, const QByteArray& tipo,
                           const QList<QPair<QByteArray, QByteArray>>& encabezados, bool cerrar) {
  QByteArray cabeza = "HTTP/1.1 " + QByteArray::number(estado) + ' ' + ServidorHttp::frase(estado) +
                      "\r\nContent-Type: " + tipo +
                      "\r\nContent-Length: " + QByteArray::number(cuerpo.size()) +
                      "\r\nConnection: " + (cerrar ? "close" : "keep-alive") + "\r\n";
  for (const auto& [nombre, valor] : encabezados) cabeza += nombre + ": " + valor + "\r\n";
  uSocket->write(cabeza + "\r\n" + cuerpo);
  if (!cerrar) return;
  uEstado = Estado::Cerrando;
  uEntrada.clear();
  uLimite.start(CIERRE_MS);
  if (qobject_cast<QSslSocket*>(uSocket)) {
    uSocket->disconnectFromHost();
    return;
  }
  // Closing with the client's bytes unread would reset the connection and could destroy the
  // answer before the client reads it (a refused upload still being sent): end our side once
  // the answer is out, and read and drop what still comes until the client closes.
  connect(uSocket, &QTcpSocket::bytesWritten, this, [this] {
    if (uSocket->bytesToWrite() == 0) ::shutdown(uSocket->socketDescriptor(), SHUT_WR);
  });
  uSocket->flush();
  if (uSocket->bytesToWrite() == 0) ::shutdown(uSocket->socketDescriptor(), SHUT_WR);
}

void ConexionHttp::venceTiempo() {
  switch (uEstado) {
    case Estado::Atendiendo:
      return;
    case Estado::Cerrando:
      cierra();
      return;
    case Estado::Cuerpo:
      falla(408, QStringLiteral("Tiempo de espera agotado al recibir la petición"));
      return;
    case Estado::Encabezados:
      if (uEntrada.isEmpty())
        cierra();  // an idle keep-alive connection simply goes
      else
        falla(408, QStringLiteral("Tiempo de espera agotado al recibir la petición"));
      return;
  }
}
