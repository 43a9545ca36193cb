#include "ServidorHttp.h"

#include <QJsonDocument>
#include <QSslSocket>
#include <QTcpSocket>

#include "ConexionHttp.h"

// Takes the accepted descriptor before QTcpServer wraps it, so the connection can be a TLS
// socket from its first byte and its handshake counts against the request's time limit.
class ServidorHttp::Escucha : public QTcpServer {
 public:
  explicit Escucha(ServidorHttp* servidor) : QTcpServer(servidor), uServidor(servidor) {}

 protected:
  void incomingConnection(qintptr descriptor) override { uServidor->nuevaConexion(descriptor); }

 private:
  ServidorHttp* uServidor;
};

QString PeticionHttp::parametro(const QString& nombre, bool* presente) const {
  for (const auto& [n, v] : parametros)
    if (n == nombre) {
      if (presente) *presente = true;
      return v;
    }
  if (presente) *presente = false;
  return {};
}

QByteArray PeticionHttp::encabezado(const QByteArray& nombreMinusculas, bool* presente) const {
  for (const auto& [n, v] : encabezados)
    if (n == nombreMinusculas) {
      if (presente) *presente = true;
      return v;
    }
  if (presente) *presente = false;
  return {};
}

QJsonObject PeticionHttp::cuerpoJson(QString* error, bool vacioPermitido) const {
  if (vacioPermitido && cuerpo.trimmed().isEmpty()) return {};
  QJsonParseError e;
  const QJsonDocument doc = QJsonDocument::fromJson(cuerpo, &e);
  if (e.error != QJsonParseError::NoError || !doc.isObject()) {
    *error = QStringLiteral("El cuerpo de la petición no es un objeto JSON válido");
    return {};
  }
  return doc.object();
}

RespuestaHttp::RespuestaHttp(ConexionHttp* conexion, quint64 serie)
    : uConexion(conexion), uSerie(serie) {}

void RespuestaHttp::envia(int estado, const QByteArray& cuerpo, const QByteArray& tipo,
                          const QList<QPair<QByteArray, QByteArray>>& encabezados) const {
  if (uConexion) uConexion->responde(uSerie, estado, cuerpo, tipo, encabezados);
}

void RespuestaHttp::enviaJson(int estado, const QJsonObject& cuerpo) const {
  envia(estado, QJsonDocument(cuerpo).toJson(QJsonDocument::Compact));
}

bool RespuestaHttp::pendiente() const { return uConexion && uConexion->espera(uSerie); }

ServidorHttp::ServidorHttp(const Opciones& opciones, Manejador manejador, QObject* parent)
    : QObject(parent), uOpciones(opciones), uManejador(std::move(manejador)) {
  uEscucha = new Escucha(this);
}

ServidorHttp::~ServidorHttp() = default;

quint16 ServidorHttp::escucha(quint16 puerto) {
  if (!uEscucha->listen(QHostAddress(QHostAddress::LocalHost), puerto)) return 0;
  return uEscucha->serverPort();
}

int ServidorHttp::conexionesAbiertas() const {
  int n = 0;
  for (const auto& c : uConexiones) n += c ? 1 : 0;
  return n;
}

void ServidorHttp::nuevaConexion(qintptr descriptor) {
  uConexiones.removeAll(nullptr);
  if (uConexiones.size() >= uOpciones.maxConexiones) {
    // The oldest connection that is not being answered makes room; when every one is
    // being answered the newcomer is the one turned away.
    ConexionHttp* victima = nullptr;
    for (const auto& c : uConexiones)
      if (!c->atendiendo()) {
        victima = c;
        break;
      }
    if (!victima) {
      QTcpSocket rechazado;
      rechazado.setSocketDescriptor(descriptor);
      rechazado.abort();
      return;
    }
    uConexiones.removeOne(victima);
    victima->cierra();
  }
  QTcpSocket* socket = nullptr;
  if (uOpciones.tls) {
    auto* ssl = new QSslSocket;
    ssl->setSslConfiguration(*uOpciones.tls);
    socket = ssl;
  } else {
    socket = new QTcpSocket;
  }
  if (!socket->setSocketDescriptor(descriptor)) {
    delete socket;
    return;
  }
  uConexiones.append(new ConexionHttp(this, socket));
  if (uOpciones.tls) static_cast<QSslSocket*>(socket)->startServerEncryption();
}

void ServidorHttp::atiende(const PeticionHttp& peticion, const RespuestaHttp& respuesta) {
  uManejador(peticion, respuesta);
}

QByteArray ServidorHttp::cuerpoDeError(int estado, const QString& mensaje) const {
  return uOpciones.cuerpoError ? uOpciones.cuerpoError(estado, mensaje)
                               : cuerpoErrorPredeterminado(estado, mensaje);
}

QByteArray ServidorHttp::cuerpoErrorPredeterminado(int, const QString& mensaje) {
  return QJsonDocument(
             QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("mensaje"), mensaje}})
      .toJson(QJsonDocument::Compact);
}

QByteArray ServidorHttp::frase(int estado) {
  switch (estado) {
    case 100:
      return "Continue";
    case 200:
      return "OK";
    case 201:
      return "Created";
    case 204:
      return "No Content";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 408:
      return "Request Timeout";
    case 409:
      return "Conflict";
    case 411:
      return "Length Required";
    case 413:
      return "Content Too Large";
    case 422:
      return "Unprocessable Content";
    case 431:
      return "Request Header Fields Too Large";
    case 500:
      return "Internal Server Error";
    case 503:
      return "Service Unavailable";
    case 505:
      return "HTTP Version Not Supported";
    default:
      return "Status";
  }
}

EnrutadorHttp::EnrutadorHttp(std::function<QByteArray(int, const QString&)> cuerpoError)
    : uCuerpoError(cuerpoError ? std::move(cuerpoError)
                               : &ServidorHttp::cuerpoErrorPredeterminado) {}

void EnrutadorHttp::agrega(const QByteArray& metodo, const QString& patron, Accion accion) {
  uRutas.append({metodo, patron.split(QLatin1Char('/'), Qt::SkipEmptyParts), std::move(accion)});
}

int EnrutadorHttp::atiende(const PeticionHttp& peticion, const RespuestaHttp& respuesta) const {
  const QStringList segmentos = peticion.ruta.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  bool otroMetodo = false;
  for (const Ruta& r : uRutas) {
    if (r.segmentos.size() != segmentos.size()) continue;
    QStringList argumentos;
    bool coincide = true;
    for (qsizetype i = 0; i < segmentos.size() && coincide; ++i) {
      if (r.segmentos[i] == QLatin1String("<arg>"))
        argumentos << segmentos[i];
      else
        coincide = r.segmentos[i] == segmentos[i];
    }
    if (!coincide) continue;
    if (r.metodo != peticion.metodo) {
      otroMetodo = true;
      continue;
    }
    r.accion(peticion, argumentos, respuesta);
    return 0;
  }
  if (otroMetodo) {
    respuesta.envia(
        405, uCuerpoError(405, QStringLiteral("Método %1 no permitido en %2")
                                   .arg(QString::fromLatin1(peticion.metodo), peticion.ruta)));
    return 405;
  }
  respuesta.envia(404,
                  uCuerpoError(404, QStringLiteral("No existe el recurso %1").arg(peticion.ruta)));
  return 404;
}
