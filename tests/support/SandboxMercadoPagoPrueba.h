#pragma once
// The MercadoPago sandbox for one test: the real pos-sandbox-mercadopago on free loopback ports
// (API and Point over HTTPS, control over HTTP), its throw-away CA written into the test's own
// folder, stopped with the object.

#include <QJsonArray>
#include <QJsonObject>
#include <QSslConfiguration>
#include <QStringList>

#include "support/SandboxProcesoPrueba.h"

class SandboxMercadoPagoPrueba {
 public:
  // Extra arguments go to the program (--client-id/--client-secret, --terminal,
  // --vigencia-token...). False, with a test failure, when it does not report its ports.
  bool arranca(const QStringList& argumentos = {});
  void detiene() { uProceso.detiene(); }
  bool activo() const { return uProceso.activo(); }

  QString urlApi() const;      // https://127.0.0.1:<puertoApi>   (station key urlMercadoPago)
  QString urlPoint() const;    // https://127.0.0.1:<puertoPoint> (urlMercadoPagoPoint)
  QString urlControl() const;  // http://127.0.0.1:<puertoControl>
  QString archivoCa() const;   // the CA's PEM                     (caMercadoPago)
  // A TLS configuration that trusts the sandbox's CA and nothing else.
  QSslConfiguration configuracionSsl() const;

  // A call to the API or Point host through TLS verified against the CA.
  RespuestaSandbox https(const QString& metodo, const QString& url, const QByteArray& cuerpo = {},
                         const QList<QPair<QByteArray, QByteArray>>& encabezados = {},
                         int tiempoMs = 5000) const;
  RespuestaSandbox control(const QString& metodo, const QString& ruta,
                           const QJsonObject& cuerpo = {}) const;

  // POST /control/pagos: the payment as the search shows it (plus "poi"); empty when refused.
  QJsonObject agregaPago(const QJsonObject& datos) const;
  QJsonArray pagos() const;
  // POST /control/tokens/expira: how many tokens expired.
  int expiraTokens() const;
  QJsonArray tokens() const;
  // POST /control/modo; `llamadas` limits it to "token", "busqueda" and/or "point".
  bool modo(const QString& modo, int retrasoMs = -1, const QStringList& llamadas = {}) const;
  // GET /control/peticiones: every API call received, secrets masked.
  QJsonArray peticiones() const;
  bool borraPeticiones() const;
  // A fresh access token from POST /oauth/token, empty when refused.
  QString token(const QString& clienteId = QStringLiteral("cliente"),
                const QString& secreto = QStringLiteral("secreto")) const;

 private:
  SandboxProcesoPrueba uProceso;
  quint16 uApi = 0, uPoint = 0, uControl = 0;
};
