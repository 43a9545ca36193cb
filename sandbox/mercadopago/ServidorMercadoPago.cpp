#include "ServidorMercadoPago.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QUrlQuery>

#include "Bitacora.h"

namespace {

constexpr int PETICIONES_GUARDADAS = 10000;
const QString OCULTO = QStringLiteral("***");

QString codigoError(int estado) {
  switch (estado) {
    case 401:
      return QStringLiteral("unauthorized");
    case 404:
      return QStringLiteral("not_found");
    case 405:
      return QStringLiteral("method_not_allowed");
    case 500:
      return QStringLiteral("internal_error");
    default:
      return QStringLiteral("bad_request");
  }
}

QJsonObject errorApi(int estado, const QString& mensaje, const QString& codigo = {}) {
  return {{QStringLiteral("message"), mensaje},
          {QStringLiteral("error"), codigo.isEmpty() ? codigoError(estado) : codigo},
          {QStringLiteral("status"), estado},
          {QStringLiteral("cause"), QJsonArray()}};
}

QByteArray cuerpoErrorApi(int estado, const QString& mensaje) {
  return QJsonDocument(errorApi(estado, mensaje)).toJson(QJsonDocument::Compact);
}

QJsonObject errorControl(const QString& mensaje) {
  return {{QStringLiteral("ok"), false}, {QStringLiteral("mensaje"), mensaje}};
}

// Secrets never reach the log: a present value is shown as "***", an absent one stays empty.
QString enmascara(const QString& nombre, const QString& valor) {
  if (valor.isEmpty()) return valor;
  if (nombre == QLatin1String("client_secret") || nombre == QLatin1String("access_token"))
    return OCULTO;
  return valor;
}

ServidorHttp::Opciones conTls(ServidorHttp::Opciones o, const QSslConfiguration& tls) {
  o.tls = tls;
  o.cuerpoError = &cuerpoErrorApi;
  return o;
}

// The token call's parameters: from the query, or else from a JSON or form body.
QList<QPair<QString, QString>> parametrosToken(const PeticionHttp& p) {
  bool presente = false;
  p.parametro(QStringLiteral("grant_type"), &presente);
  if (presente || p.cuerpo.trimmed().isEmpty()) return p.parametros;
  QList<QPair<QString, QString>> salida;
  const QJsonDocument doc = QJsonDocument::fromJson(p.cuerpo);
  if (doc.isObject()) {
    const QJsonObject o = doc.object();
    for (auto it = o.constBegin(); it != o.constEnd(); ++it)
      salida.append({it.key(), it.value().toVariant().toString()});
    return salida;
  }
  const QUrlQuery forma(QString::fromUtf8(p.cuerpo).replace(QLatin1Char('+'), QLatin1Char(' ')));
  for (const auto& [n, v] : forma.queryItems(QUrl::FullyDecoded)) salida.append({n, v});
  return salida;
}

QString valor(const QList<QPair<QString, QString>>& parametros, const QString& nombre) {
  for (const auto& [n, v] : parametros)
    if (n == nombre) return v;
  return {};
}

}  // namespace

ServidorMercadoPago::ServidorMercadoPago(const Opciones& opciones, const QSslConfiguration& tls,
                                         QObject* parent)
    : QObject(parent),
      uOpciones(opciones),
      uPagos(opciones.usuario, opciones.terminal),
      uLlamadasEnModo(
          {QStringLiteral("token"), QStringLiteral("busqueda"), QStringLiteral("point")}),
      uRutasApi(&cuerpoErrorApi),
      uRutasPoint(&cuerpoErrorApi),
      uApi(conTls(opciones.http, tls),
           [this](const PeticionHttp& p, const RespuestaHttp& r) {
             anota(QStringLiteral("api"), p);
             if (const int e = uRutasApi.atiende(p, r)) fijaEstado(e);
           }),
      uPoint(conTls(opciones.http, tls),
             [this](const PeticionHttp& p, const RespuestaHttp& r) {
               anota(QStringLiteral("point"), p);
               if (const int e = uRutasPoint.atiende(p, r)) fijaEstado(e);
             }),
      uControl(opciones.http, [this](const PeticionHttp& p, const RespuestaHttp& r) {
        uRutasControl.atiende(p, r);
      }) {
  using A = QStringList;
  uRutasApi.agrega(
      "POST", QStringLiteral("/oauth/token"),
      [this](const PeticionHttp& p, const A&, const RespuestaHttp& r) { token(p, r); });
  uRutasApi.agrega(
      "GET", QStringLiteral("/v1/payments/search"),
      [this](const PeticionHttp& p, const A&, const RespuestaHttp& r) { buscaPagos(p, r); });
  uRutasPoint.agrega(
      "GET", QStringLiteral("/point/services/payment/<arg>"),
      [this](const PeticionHttp& p, const A& a, const RespuestaHttp& r) { poiDePago(a[0], p, r); });
  rutasDeControl();
}

bool ServidorMercadoPago::escucha(Puertos* puertos) {
  puertos->api = uApi.escucha(puertos->api);
  puertos->point = puertos->api ? uPoint.escucha(puertos->point) : 0;
  puertos->control = puertos->point ? uControl.escucha(puertos->control) : 0;
  return puertos->control != 0;
}

void ServidorMercadoPago::anota(const QString& puerto, const PeticionHttp& p) {
  QJsonArray consulta;
  for (const auto& [n, v] : p.parametros)
    consulta.append(
        QJsonObject{{QStringLiteral("nombre"), n}, {QStringLiteral("valor"), enmascara(n, v)}});
  QJsonObject encabezados;
  for (const auto& [n, v] : p.encabezados)
    encabezados.insert(QString::fromLatin1(n), n == "authorization" && !v.isEmpty()
                                                   ? v.split(' ').first() + ' ' + OCULTO
                                                   : QString::fromLatin1(v));
  uPeticiones.append(QJsonObject{
      {QStringLiteral("n"), ++uNumeroPeticion},
      {QStringLiteral("fecha"), QDateTime::currentDateTime().toString(Qt::ISODateWithMs)},
      {QStringLiteral("puerto"), puerto},
      {QStringLiteral("metodo"), QString::fromLatin1(p.metodo)},
      {QStringLiteral("ruta"), p.ruta},
      {QStringLiteral("consulta"), consulta},
      {QStringLiteral("encabezados"), encabezados},
      {QStringLiteral("bytesCuerpo"), p.cuerpo.size()},
      {QStringLiteral("estado"), 0},
  });
  if (uPeticiones.size() > PETICIONES_GUARDADAS) uPeticiones.removeFirst();
}

void ServidorMercadoPago::fijaEstado(int estado) {
  QJsonObject ultima = uPeticiones.last().toObject();
  ultima.insert(QStringLiteral("estado"), estado);
  uPeticiones.replace(uPeticiones.size() - 1, ultima);
}

void ServidorMercadoPago::responde(const QString& llamada, const QString& puerto,
                                   const PeticionHttp& peticion, const RespuestaHttp& respuesta,
                                   int estado, const QJsonObject& cuerpo) {
  fijaEstado(estado);
  bitacora(QStringLiteral("%1 %2 %3 %4")
               .arg(puerto, QString::fromLatin1(peticion.metodo), peticion.ruta)
               .arg(estado));
  if (uLlamadasEnModo.contains(llamada) && uModo.es("lento"))
    uModo.respondeJson(respuesta, estado, cuerpo, this);
  else
    respuesta.enviaJson(estado, cuerpo);
}

bool ServidorMercadoPago::llamadaAdmitida(const QString& llamada, const QString& puerto,
                                          const PeticionHttp& peticion,
                                          const RespuestaHttp& respuesta) {
  if (uLlamadasEnModo.contains(llamada) && (uModo.es("error") || uModo.es("basura"))) {
    if (uModo.es("error")) {
      responde(llamada, puerto, peticion, respuesta, 500,
               errorApi(500, QStringLiteral("Servicio no disponible")));
    } else {
      fijaEstado(200);
      respuesta.envia(200, "<html><body>Servicio en mantenimiento</body></html>",
                      "text/html; charset=utf-8");
    }
    return false;
  }
  if (llamada == QLatin1String("token")) return true;
  QString token = peticion.parametro(QStringLiteral("access_token"));
  const QByteArray autorizacion = peticion.encabezado("authorization");
  if (token.isEmpty() && autorizacion.toLower().startsWith("bearer "))
    token = QString::fromLatin1(autorizacion.mid(7)).trimmed();
  QString motivo;
  const auto it = uTokens.constFind(token);
  if (token.isEmpty())
    motivo = QStringLiteral("Falta el token de acceso");
  else if (it == uTokens.constEnd())
    motivo = QStringLiteral("El token de acceso no es válido");
  else if (it->expirado || it->vence < QDateTime::currentDateTime())
    motivo = QStringLiteral("El token de acceso expiró");
  if (motivo.isEmpty()) return true;
  responde(llamada, puerto, peticion, respuesta, 401, errorApi(401, motivo));
  return false;
}

void ServidorMercadoPago::token(const PeticionHttp& peticion, const RespuestaHttp& respuesta) {
  const QString llamada = QStringLiteral("token"), puerto = QStringLiteral("api");
  if (!llamadaAdmitida(llamada, puerto, peticion, respuesta)) return;
  const auto parametros = parametrosToken(peticion);
  const QString tipo = valor(parametros, QStringLiteral("grant_type"));
  const QString id = valor(parametros, QStringLiteral("client_id"));
  const QString secreto = valor(parametros, QStringLiteral("client_secret"));
  if (tipo.isEmpty())
    return responde(llamada, puerto, peticion, respuesta, 400,
                    errorApi(400, QStringLiteral("Falta el parámetro 'grant_type'"),
                             QStringLiteral("invalid_request")));
  if (tipo != QLatin1String("client_credentials"))
    return responde(llamada, puerto, peticion, respuesta, 400,
                    errorApi(400, QStringLiteral("Solo se admite grant_type=client_credentials"),
                             QStringLiteral("unsupported_grant_type")));
  if (id.isEmpty() || secreto.isEmpty())
    return responde(
        llamada, puerto, peticion, respuesta, 400,
        errorApi(400, QStringLiteral("Faltan los parámetros 'client_id' o 'client_secret'"),
                 QStringLiteral("invalid_request")));
  if ((!uOpciones.clienteId.isEmpty() && id != uOpciones.clienteId) ||
      (!uOpciones.clienteSecreto.isEmpty() && secreto != uOpciones.clienteSecreto))
    return responde(llamada, puerto, peticion, respuesta, 401,
                    errorApi(401, QStringLiteral("client_id o client_secret incorrectos"),
                             QStringLiteral("invalid_client")));
  const QString nuevo =
      QStringLiteral("APP_USR-%1-%2-%3")
          .arg(id)
          .arg(QDateTime::currentDateTime().toString(QStringLiteral("MMddhhmmss")))
          .arg(QString::fromLatin1(
              QByteArray::number(QRandomGenerator::global()->generate64(), 16)));
  uTokens.insert(nuevo, {QDateTime::currentDateTime().addSecs(uOpciones.vigenciaSegundos), false});
  uOrdenTokens << nuevo;
  responde(llamada, puerto, peticion, respuesta, 200,
           {{QStringLiteral("access_token"), nuevo},
            {QStringLiteral("token_type"), QStringLiteral("Bearer")},
            {QStringLiteral("expires_in"), uOpciones.vigenciaSegundos},
            {QStringLiteral("scope"), QStringLiteral("offline_access payments read write")},
            {QStringLiteral("user_id"), uOpciones.usuario},
            {QStringLiteral("live_mode"), false}});
}

void ServidorMercadoPago::buscaPagos(const PeticionHttp& peticion, const RespuestaHttp& respuesta) {
  const QString llamada = QStringLiteral("busqueda"), puerto = QStringLiteral("api");
  if (!llamadaAdmitida(llamada, puerto, peticion, respuesta)) return;
  PagosMercadoPago::Busqueda busqueda;
  QString motivo;
  if (!PagosMercadoPago::leeBusqueda(peticion.parametros, &busqueda, &motivo))
    return responde(llamada, puerto, peticion, respuesta, 400, errorApi(400, motivo));
  responde(llamada, puerto, peticion, respuesta, 200, uPagos.busca(busqueda));
}

void ServidorMercadoPago::poiDePago(const QString& id, const PeticionHttp& peticion,
                                    const RespuestaHttp& respuesta) {
  const QString llamada = QStringLiteral("point"), puerto = QStringLiteral("point");
  if (!llamadaAdmitida(llamada, puerto, peticion, respuesta)) return;
  bool ok = false;
  const QJsonObject pago = uPagos.pago(id.toLongLong(&ok));
  const QString estado = peticion.parametro(QStringLiteral("status"));
  QString motivo;
  if (!ok || pago.isEmpty())
    motivo = QStringLiteral("El pago %1 no existe").arg(id);
  else if (!estado.isEmpty() && pago.value(QStringLiteral("status")).toString() != estado)
    motivo = QStringLiteral("El pago %1 no tiene el estado '%2'").arg(id, estado);
  else if (pago.value(QStringLiteral("poi")).toString().isEmpty())
    motivo = QStringLiteral("El pago %1 no se cobró en una terminal Point").arg(id);
  if (!motivo.isEmpty())
    return responde(llamada, puerto, peticion, respuesta, 404, errorApi(404, motivo));
  responde(llamada, puerto, peticion, respuesta, 200,
           {{QStringLiteral("id"), pago.value(QStringLiteral("id"))},
            {QStringLiteral("poi"), pago.value(QStringLiteral("poi"))},
            {QStringLiteral("poi_type"), QStringLiteral("POINT")},
            {QStringLiteral("status"), pago.value(QStringLiteral("status"))},
            {QStringLiteral("amount"), pago.value(QStringLiteral("transaction_amount"))}});
}

void ServidorMercadoPago::rutasDeControl() {
  using A = QStringList;
  using P = PeticionHttp;
  using R = RespuestaHttp;
  uRutasControl.agrega(
      "POST", QStringLiteral("/control/pagos"), [this](const P& p, const A&, const R& r) {
        QString motivo;
        const QJsonObject cuerpo = p.cuerpoJson(&motivo);
        const QJsonObject pago = motivo.isEmpty() ? uPagos.agrega(cuerpo, &motivo) : QJsonObject();
        if (pago.isEmpty()) return r.enviaJson(400, errorControl(motivo));
        bitacora(QStringLiteral("pago %1 de %2 en %3")
                     .arg(pago.value(QStringLiteral("id")).toInteger())
                     .arg(pago.value(QStringLiteral("transaction_amount")).toDouble())
                     .arg(pago.value(QStringLiteral("poi")).toString()));
        r.enviaJson(201, {{QStringLiteral("ok"), true}, {QStringLiteral("pago"), pago}});
      });
  uRutasControl.agrega(
      "GET", QStringLiteral("/control/pagos"), [this](const P&, const A&, const R& r) {
        r.enviaJson(200, {{QStringLiteral("ok"), true}, {QStringLiteral("pagos"), uPagos.todos()}});
      });
  uRutasControl.agrega("DELETE", QStringLiteral("/control/pagos"),
                       [this](const P&, const A&, const R& r) {
                         uPagos.borra();
                         r.enviaJson(200, {{QStringLiteral("ok"), true}});
                       });
  uRutasControl.agrega(
      "GET", QStringLiteral("/control/tokens"), [this](const P&, const A&, const R& r) {
        QJsonArray tokens;
        for (const QString& t : uOrdenTokens) {
          const Token& datos = uTokens[t];
          tokens.append(
              QJsonObject{{QStringLiteral("token"), t},
                          {QStringLiteral("vence"), datos.vence.toString(Qt::ISODate)},
                          {QStringLiteral("vigente"),
                           !datos.expirado && datos.vence >= QDateTime::currentDateTime()}});
        }
        r.enviaJson(200, {{QStringLiteral("ok"), true}, {QStringLiteral("tokens"), tokens}});
      });
  uRutasControl.agrega(
      "POST", QStringLiteral("/control/tokens/expira"), [this](const P&, const A&, const R& r) {
        int n = 0;
        for (Token& t : uTokens)
          if (!t.expirado) {
            t.expirado = true;
            ++n;
          }
        bitacora(QStringLiteral("%1 tokens expirados").arg(n));
        r.enviaJson(200, {{QStringLiteral("ok"), true}, {QStringLiteral("expirados"), n}});
      });
  uRutasControl.agrega(
      "POST", QStringLiteral("/control/modo"), [this](const P& p, const A&, const R& r) {
        QString motivo;
        const QJsonObject cuerpo = p.cuerpoJson(&motivo);
        const QStringList todas = {QStringLiteral("token"), QStringLiteral("busqueda"),
                                   QStringLiteral("point")};
        QSet<QString> llamadas(todas.cbegin(), todas.cend());
        const QJsonValue lista = cuerpo.value(QStringLiteral("llamadas"));
        if (motivo.isEmpty() && !lista.isUndefined()) {
          llamadas.clear();
          for (const QJsonValue& v : lista.toArray()) llamadas.insert(v.toString());
          if (!lista.isArray() || llamadas.isEmpty() ||
              !QSet<QString>(todas.cbegin(), todas.cend()).contains(llamadas))
            motivo = QStringLiteral(
                "El campo 'llamadas' debe ser una lista con \"token\", \"busqueda\" y/o \"point\"");
        }
        if (motivo.isEmpty())
          motivo = uModo.cambia(cuerpo, {QStringLiteral("normal"), QStringLiteral("error"),
                                         QStringLiteral("lento"), QStringLiteral("basura")});
        if (!motivo.isEmpty()) return r.enviaJson(400, errorControl(motivo));
        uLlamadasEnModo = llamadas;
        QStringList nombres(llamadas.cbegin(), llamadas.cend());
        nombres.sort();
        bitacora(QStringLiteral("modo %1 (%2), retraso %3 ms")
                     .arg(uModo.modo(), nombres.join(QLatin1Char(',')))
                     .arg(uModo.retrasoMs()));
        QJsonObject d = uModo.descripcion();
        d.insert(QStringLiteral("llamadas"), QJsonArray::fromStringList(nombres));
        r.enviaJson(200, d);
      });
  uRutasControl.agrega(
      "GET", QStringLiteral("/control/peticiones"), [this](const P&, const A&, const R& r) {
        r.enviaJson(200,
                    {{QStringLiteral("ok"), true}, {QStringLiteral("peticiones"), uPeticiones}});
      });
  uRutasControl.agrega("DELETE", QStringLiteral("/control/peticiones"),
                       [this](const P&, const A&, const R& r) {
                         uPeticiones = QJsonArray();
                         r.enviaJson(200, {{QStringLiteral("ok"), true}});
                       });
}
