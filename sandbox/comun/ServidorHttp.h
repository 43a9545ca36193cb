#pragma once
// A small HTTP/1.1 server for the local stand-ins, written on QTcpServer so that it can bound
// what a hostile or broken client costs: a request larger than the body limit is refused with
// 413 before its body is read, headers are bounded, a connection that does not finish its
// request in time is closed, and the number of open connections is capped (the oldest idle one
// makes room for a new one). With a TLS configuration every connection is HTTPS.
//
// One request per connection is served at a time; the handler may answer at once or later
// (a slow mode answers from a timer), and a client that has gone away by then is skipped.

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSslConfiguration>
#include <QString>
#include <QTcpServer>
#include <functional>
#include <optional>

class ConexionHttp;

struct PeticionHttp {
  QByteArray metodo;
  QString ruta;                                      // path, percent-decoded, without the query
  QByteArray consulta;                               // the query as sent (after '?'), undecoded
  QList<QPair<QString, QString>> parametros;         // the query, decoded, in the order sent
  QList<QPair<QByteArray, QByteArray>> encabezados;  // names in lower case, in the order sent
  QByteArray cuerpo;

  // First value of a query parameter; `presente` tells a missing one from an empty one.
  QString parametro(const QString& nombre, bool* presente = nullptr) const;
  QByteArray encabezado(const QByteArray& nombreMinusculas, bool* presente = nullptr) const;
  // The body as a JSON object. An empty body is an empty object when `vacioPermitido`;
  // anything else that is not an object sets `error` to the Spanish reason.
  QJsonObject cuerpoJson(QString* error, bool vacioPermitido = false) const;
};

// The way back to the client of one request. Copies refer to the same request; only the first
// answer is sent.
class RespuestaHttp {
 public:
  RespuestaHttp() = default;
  RespuestaHttp(ConexionHttp* conexion, quint64 serie);

  void envia(int estado, const QByteArray& cuerpo,
             const QByteArray& tipo = QByteArrayLiteral("application/json; charset=utf-8"),
             const QList<QPair<QByteArray, QByteArray>>& encabezados = {}) const;
  void enviaJson(int estado, const QJsonObject& cuerpo) const;
  // Whether the client still waits for this answer.
  bool pendiente() const;

 private:
  QPointer<ConexionHttp> uConexion;
  quint64 uSerie = 0;
};

class ServidorHttp : public QObject {
  Q_OBJECT
 public:
  struct Opciones {
    qint64 limiteCuerpo = 4 * 1024 * 1024;
    int limiteEncabezados = 64 * 1024;  // request line and headers together
    int inactividadMs = 30000;          // to receive a whole request, counted from its start
    int maxConexiones = 256;
    std::optional<QSslConfiguration> tls;
    // Body of the answers the server gives on its own (400, 408, 411, 413, 431, 505); by
    // default {"ok":false,"mensaje":...}.
    std::function<QByteArray(int estado, const QString& mensaje)> cuerpoError;
  };
  using Manejador = std::function<void(const PeticionHttp&, const RespuestaHttp&)>;

  ServidorHttp(const Opciones& opciones, Manejador manejador, QObject* parent = nullptr);
  ~ServidorHttp() override;

  // Listens on 127.0.0.1 (port 0 picks a free one); answers the port, 0 when it cannot.
  quint16 escucha(quint16 puerto);
  int conexionesAbiertas() const;
  const Opciones& opciones() const { return uOpciones; }

  static QByteArray cuerpoErrorPredeterminado(int estado, const QString& mensaje);
  static QByteArray frase(int estado);

 private:
  friend class ConexionHttp;
  void nuevaConexion(qintptr descriptor);
  void atiende(const PeticionHttp& peticion, const RespuestaHttp& respuesta);
  QByteArray cuerpoDeError(int estado, const QString& mensaje) const;

  class Escucha;
  Opciones uOpciones;
  Manejador uManejador;
  Escucha* uEscucha = nullptr;
  QList<QPointer<ConexionHttp>> uConexiones;  // oldest first
};

// Routes by method and path pattern; "<arg>" in a pattern matches one path segment, handed to
// the action in order. An unknown path answers 404 and a known path with another method 405,
// both through the server's error body.
class EnrutadorHttp {
 public:
  using Accion =
      std::function<void(const PeticionHttp&, const QStringList& argumentos, const RespuestaHttp&)>;
  explicit EnrutadorHttp(std::function<QByteArray(int, const QString&)> cuerpoError = {});
  void agrega(const QByteArray& metodo, const QString& patron, Accion accion);
  // 0 when a route took the request; otherwise the status it answered itself (404 or 405).
  int atiende(const PeticionHttp& peticion, const RespuestaHttp& respuesta) const;

 private:
  struct Ruta {
    QByteArray metodo;
    QStringList segmentos;
    Accion accion;
  };
  std::function<QByteArray(int, const QString&)> uCuerpoError;
  QList<Ruta> uRutas;
};
