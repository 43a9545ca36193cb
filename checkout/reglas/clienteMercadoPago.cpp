#include "checkout/reglas/clienteMercadoPago.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>

#include "operaciones/serviciosExternos.h"
#include "signing/firma.h"
#include "util/Log.h"

TConfiguracionMercado u_configuracionMercado(const TsistemaDatos& sistema) {
  TConfiguracionMercado c;
  c.urlApi = sistema.urlMercadoPago;
  c.urlPoint = sistema.urlMercadoPagoPoint;
  c.archivoCa = sistema.caMercadoPago;
  return c;
}

TResultado u_leeConfiguracionMercadoPago(int idNegocio, TConexionSesion& conexion,
                                         TDatosMercado* datos) {
  *datos = TDatosMercado();
  const CmidTierResponse r = buscaServiciosExternosMercadoPago(idNegocio, conexion);
  if (!r.ok()) return TResultado::falla(QString::fromUtf8(mercadoPago::kErrorDatos));
  if (r.getRowCount() == 0) return TResultado::bien();
  const auto columna = [&r](const char* nombre) {
    return r.getCelda(QStringLiteral("puntoServiciosExternosMercadoPago_") + QLatin1String(nombre));
  };
  datos->ok = true;
  datos->clienteID = columna("clienteID");
  datos->clienteSecret = columna("clienteSecret");
  datos->accessToken = columna("accessToken");
  datos->userID = columna("userID");
  datos->vigencia = columna("vigencia");
  datos->poi = columna("poi");
  return TResultado::bien();
}

TclienteMercadoPago::TclienteMercadoPago(const TConfiguracionMercado& configuracion,
                                         TDatosMercado& datos, TConexionSesion& conexion,
                                         int idNegocio, Reloj reloj)
    : uConfiguracion(configuracion),
      uDatos(datos),
      uConexion(conexion),
      uIdNegocio(idNegocio),
      uReloj(reloj ? std::move(reloj) : Reloj([] { return QDateTime::currentDateTime(); })) {}

void TclienteMercadoPago::registra(const QString& texto) const {
  Log::escribe(QStringLiteral("mercadopago"), mercadoPago::sinSecretos(texto, uSecretos));
}

TclienteMercadoPago::Respuesta TclienteMercadoPago::llama(const QByteArray& metodo,
                                                          const QUrl& url) {
  Respuesta r;
  const QString sitio = url.toString(QUrl::RemoveQuery | QUrl::RemoveUserInfo);
  if (!url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty()) {
    r.error = QStringLiteral("La dirección de Mercado Pago no es válida: ") + sitio;
    return r;
  }
  QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
  tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
  if (!uConfiguracion.archivoCa.isEmpty()) {
    const QList<QSslCertificate> ca = QSslCertificate::fromPath(uConfiguracion.archivoCa);
    if (ca.isEmpty()) {
      r.error =
          QStringLiteral("No se pudo leer el certificado de autoridad ") + uConfiguracion.archivoCa;
      return r;
    }
    tls.setCaCertificates(tls.caCertificates() + ca);
  }
  QNetworkAccessManager red;
  QNetworkRequest peticion(url);
  peticion.setSslConfiguration(tls);
  peticion.setRawHeader(QByteArrayLiteral("accept"), QByteArrayLiteral("application/json"));
  peticion.setTransferTimeout(0);
  std::unique_ptr<QNetworkReply> respuesta(red.sendCustomRequest(peticion, metodo));
  QStringList erroresTls;
  QObject::connect(respuesta.get(), &QNetworkReply::sslErrors, respuesta.get(),
                   [&erroresTls](const QList<QSslError>& errores) {
                     for (const QSslError& e : errores) erroresTls << e.errorString();
                   });
  QEventLoop bucle;
  QTimer reloj;
  reloj.setSingleShot(true);
  bool expiro = false;
  QObject::connect(&reloj, &QTimer::timeout, &bucle, [&] {
    expiro = true;
    respuesta->abort();
  });
  QObject::connect(respuesta.get(), &QNetworkReply::finished, &bucle, &QEventLoop::quit);
  reloj.start(uConfiguracion.tiempoEsperaMs > 0 ? uConfiguracion.tiempoEsperaMs : 10000);
  if (!respuesta->isFinished()) bucle.exec();
  reloj.stop();

  if (!expiro) {
    r.estado = respuesta->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.cuerpo = respuesta->readAll();
  }
  if (expiro) {
    r.error = QStringLiteral("Tiempo de espera agotado (%1 ms) en %2")
                  .arg(uConfiguracion.tiempoEsperaMs)
                  .arg(sitio);
  } else if (!erroresTls.isEmpty()) {
    r.error =
        QStringLiteral("Error de TLS con %1: %2").arg(sitio, erroresTls.join(QStringLiteral("; ")));
  } else if (r.estado == 0) {
    // Qt's text may quote the whole address, query included: only the site is kept.
    QString texto = respuesta->errorString();
    texto.replace(url.toString(), sitio);
    texto.replace(url.toString(QUrl::FullyEncoded), sitio);
    r.error = QStringLiteral("Sin respuesta de %1: %2").arg(sitio, texto);
  } else if (r.estado < 200 || r.estado > 299) {
    const QString mensaje =
        QJsonDocument::fromJson(r.cuerpo).object().value(QStringLiteral("message")).toString();
    r.error = QStringLiteral("HTTP %1 de %2").arg(r.estado).arg(sitio);
    if (!mensaje.isEmpty()) r.error += QStringLiteral(": ") + mensaje;
  }
  return r;
}

bool TclienteMercadoPago::getAccessToken() {
  const QString cliente = deCrypt(uDatos.clienteID);
  const QString secreto = deCrypt(uDatos.clienteSecret);
  uSecretos << cliente << secreto;
  if (cliente.isEmpty() || secreto.isEmpty()) {
    registra(QStringLiteral("No se pudieron descifrar las credenciales de Mercado Pago"));
    return false;
  }
  const Respuesta r = llama(QByteArrayLiteral("POST"),
                            mercadoPago::urlToken(uConfiguracion.urlApi, cliente, secreto));
  if (!r.error.isEmpty()) {
    registra(r.error);
    return false;
  }
  const TTokenMercado t = mercadoPago::leeToken(r.cuerpo);
  uSecretos << t.accessToken;
  for (const QString& linea : t.bitacora) registra(linea);
  if (!t.ok) return false;
  uDatos.accessToken = crypt(t.accessToken);
  uDatos.userID = crypt(t.userID);
  uDatos.vigencia = mercadoPago::vigenciaTexto(uReloj());
  if (uDatos.accessToken.isEmpty() || uDatos.userID.isEmpty()) {
    registra(QStringLiteral("No se pudo cifrar el token: ") + signingUltimoError());
    return false;
  }
  if (!actualizaTokenMercadoPago(uDatos.accessToken, uDatos.userID, uDatos.vigencia, uIdNegocio,
                                 uConexion)) {
    registra(QStringLiteral("No se pudo guardar el token de Mercado Pago"));
    return false;
  }
  return true;
}

bool TclienteMercadoPago::buscaPagos(const QString& inicio, const QString& monto,
                                     const QString& poi, QList<TPagoMercado>* pagos) {
  if (!mercadoPago::validaAccessToken(uDatos, uReloj()) && !getAccessToken()) return false;
  const QString token = deCrypt(uDatos.accessToken);
  uSecretos << token;
  const Respuesta r = llama(QByteArrayLiteral("GET"),
                            mercadoPago::urlBusqueda(uConfiguracion.urlApi, token, inicio));
  if (!r.error.isEmpty()) {
    registra(r.error);
    return false;
  }
  QList<TPagoMercado> recibidos;
  if (!mercadoPago::leePagos(r.cuerpo, &recibidos)) {
    registra(QStringLiteral("La respuesta de la búsqueda de pagos no es válida"));
    return false;
  }
  *pagos = mercadoPago::filtraPagos(
      recibidos, monto, poi,
      [this](const QString& id) { return buscaReferenciaExistente(id, uIdNegocio, uConexion); },
      [this](const QString& id) { return buscaPOIid(id); });
  return true;
}

QString TclienteMercadoPago::buscaPOIid(const QString& pagoId) {
  const QString token = deCrypt(uDatos.accessToken);
  uSecretos << token;
  const Respuesta r =
      llama(QByteArrayLiteral("GET"), mercadoPago::urlPOI(uConfiguracion.urlPoint, token, pagoId));
  if (!r.error.isEmpty()) {
    registra(r.error);
    return QString();
  }
  return mercadoPago::leePOI(r.cuerpo);
}

void TbuscaPagosMercado::inicia(const TConfiguracionMercado& configuracion,
                                const TDatosMercado& datos,
                                std::shared_ptr<TConexionSesion> conexion, int idNegocio,
                                const QString& inicio, const QString& monto, const QString& poi,
                                std::atomic<bool>* ocupado) {
  TBusquedaMercado siFalla;
  siFalla.datos = datos;
  uTrabajo.arranca(
      [=] {
        TBusquedaMercado b;
        b.datos = datos;
        if (!conexion) return b;
        // The connection is this thread's own; it is dropped however the search ends.
        struct Cierre {
          TConexionSesion& c;
          ~Cierre() { c.cierraHilo(); }
        } cierre{*conexion};
        TclienteMercadoPago cliente(configuracion, b.datos, *conexion, idNegocio);
        b.ok = cliente.buscaPagos(inicio, monto, poi, &b.pagos);
        return b;
      },
      siFalla, ocupado);
}
