#pragma once
// The MercadoPago protocol of the checkout's card lookups, without I/O: the stored credentials in
// memory, token validity, the three requests (token, payment search, terminal of a payment),
// reading their answers, and the checks that decide which payments the lookup offers. The
// network calls are clienteMercadoPago's; here everything is text in, text out, so a test drives
// it with a fixed clock and answers of its own.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// Credentials as stored: every field encrypted except `vigencia`.
struct TDatosMercado {
  bool ok = false;  // the credentials were read
  QString clienteID;
  QString clienteSecret;
  QString accessToken;
  QString userID;
  QString vigencia;  // when the token was obtained (u_fechaHoraTexto)
  QString poi;
};

// Answer of a lookup.
struct TConsultaAbono {
  bool ok = false;  // a payment was chosen
  QString pagoID;
  QString tarjeta;
  QString nombre;
  QString concepto;
  double monto = 0;
  int resultadosRecibidos = 0;  // not filled by the lookups
};

// One payment of a search, as the lookup grid shows it.
struct TPagoMercado {
  QString id;
  QString fecha;  // "yyyy-MM-dd HH:mm:ss"
  QString monto;  // the amount as received (shortest decimal text)
  double importe = 0;
  QString tarjeta;
  QString nombre;
  QString poi;
  QString concepto;
};

struct TTokenMercado {
  bool ok = false;
  QString accessToken;
  QString userID;
  QStringList bitacora;  // the log lines, in order (never the token itself)
};

namespace mercadoPago {

// A token is renewed once this many whole minutes have passed since it was obtained.
constexpr int kMinutosVigencia = 355;

bool validaAccessToken(const TDatosMercado& datos, const QDateTime& ahora);
QString vigenciaTexto(const QDateTime& momento);

// The lookup's ranges and the begin_date each one asks for.
QStringList rangos();
QString inicioRango(const QString& rango);

QUrl urlToken(const QString& urlApi, const QString& clienteId, const QString& clienteSecret);
QUrl urlBusqueda(const QString& urlApi, const QString& accessToken, const QString& inicio);
QUrl urlPOI(const QString& urlPoint, const QString& accessToken, const QString& pagoId);

// The token answer: access_token and user_id (a number or a text), with the log lines.
TTokenMercado leeToken(const QByteArray& cuerpo);
// The search's results in order; false when the answer is not JSON with a `results` list.
bool leePagos(const QByteArray& cuerpo, QList<TPagoMercado>* pagos);
// The `poi` of a Point answer; empty when absent.
QString leePOI(const QByteArray& cuerpo);

// The lookup's amount filter: empty (or blank) takes every amount; otherwise the text, read as
// the checkout reads amounts, must equal the payment's amount exactly.
bool montoCoincide(const QString& filtro, double importe);

// agregaGrid's three checks, in this order: amount, the payment id not used by a stored sale,
// the payment's terminal equal to `poi`. The terminal is asked only of payments that passed the
// first two; the kept ones carry it.
QList<TPagoMercado> filtraPagos(const QList<TPagoMercado>& pagos, const QString& monto,
                                const QString& poi,
                                const std::function<bool(const QString&)>& referenciaUsada,
                                const std::function<QString(const QString&)>& buscaPOIid);

// The checkout's detail label of a matched payment.
QString detallePago(const TConsultaAbono& abono);

// validaConfiguracionMercadoPago: client id, client secret and terminal are all given.
bool configuracionCompleta(const TDatosMercado& datos);
extern const char* const kConfiguracionIncompleta;
extern const char* const kErrorDatos;

// `texto` with every non-empty secret replaced, for log lines.
QString sinSecretos(QString texto, const QStringList& secretos);

}  // namespace mercadoPago
