#pragma once
// The MercadoPago sandbox: the API host (token and payment search) and the Point host (the
// terminal of a payment) as two HTTPS ports of one process, and a plain-HTTP control port to
// add payments, expire tokens, switch error and slow modes and read the request log.
//
// The access token is checked on every API call; errors answer the API's JSON shape
// {"message", "error", "status", "cause"} with a Spanish message.

#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QObject>
#include <QSet>
#include <QSslConfiguration>

#include "ModoServicio.h"
#include "PagosMercadoPago.h"
#include "ServidorHttp.h"

class ServidorMercadoPago : public QObject {
  Q_OBJECT
 public:
  struct Opciones {
    QString clienteId, clienteSecreto;  // empty: any non-empty pair is accepted
    qint64 usuario = 1122334455;        // the account's user_id
    QString terminal = QStringLiteral("PAX-A910-0001");
    int vigenciaSegundos = 21600;
    ServidorHttp::Opciones http;
  };
  struct Puertos {
    quint16 api = 0, point = 0, control = 0;
  };

  ServidorMercadoPago(const Opciones& opciones, const QSslConfiguration& tls,
                      QObject* parent = nullptr);
  // Listens on the three ports (0 picks free ones); false when one cannot be opened.
  bool escucha(Puertos* puertos);

 private:
  struct Token {
    QDateTime vence;
    bool expirado = false;
  };

  void token(const PeticionHttp& peticion, const RespuestaHttp& respuesta);
  void buscaPagos(const PeticionHttp& peticion, const RespuestaHttp& respuesta);
  void poiDePago(const QString& id, const PeticionHttp& peticion, const RespuestaHttp& respuesta);
  void rutasDeControl();

  // The API's answers go through here: logged, and subject to the mode of that call.
  void responde(const QString& llamada, const QString& puerto, const PeticionHttp& peticion,
                const RespuestaHttp& respuesta, int estado, const QJsonObject& cuerpo);
  // Whether a call goes on: not failed by the mode (500 or garbage answered) and, but for the
  // token call, with a usable access token (401 answered otherwise).
  bool llamadaAdmitida(const QString& llamada, const QString& puerto, const PeticionHttp& peticion,
                       const RespuestaHttp& respuesta);
  // The request log: every API call as it came (secrets masked), with the status answered.
  void anota(const QString& puerto, const PeticionHttp& peticion);
  void fijaEstado(int estado);

  Opciones uOpciones;
  PagosMercadoPago uPagos;
  QHash<QString, Token> uTokens;
  QStringList uOrdenTokens;
  ModoServicio uModo;
  QSet<QString> uLlamadasEnModo;  // the calls the mode applies to
  QJsonArray uPeticiones;
  qint64 uNumeroPeticion = 0;
  EnrutadorHttp uRutasApi, uRutasPoint, uRutasControl;
  ServidorHttp uApi, uPoint, uControl;
};
