#include "ServidorFacturacion.h"

#include <QJsonArray>
#include <QUuid>

#include "Bitacora.h"
#include "EstadoTickets.h"
#include "PdfFactura.h"
#include "Timbrado.h"
#include "ValidacionCampos.h"
#include "ValidacionFactura.h"
#include "ValidacionTicket.h"

namespace {

constexpr int LARGO_CLAVE_MAXIMO = 200;

QJsonObject error(const QString& mensaje) {
  return {{QStringLiteral("ok"), false}, {QStringLiteral("mensaje"), mensaje}};
}

// The Idempotency-Key header: absent (empty key), or 1 to 200 visible ASCII characters.
bool claveIdempotencia(const PeticionHttp& peticion, QString* clave) {
  bool presente = false;
  const QByteArray valor = peticion.encabezado("idempotency-key", &presente);
  if (!presente) return true;
  if (valor.isEmpty() || valor.size() > LARGO_CLAVE_MAXIMO) return false;
  for (const char c : valor)
    if (c < 0x21 || c > 0x7e) return false;
  *clave = QString::fromLatin1(valor);
  return true;
}

}  // namespace

ServidorFacturacion::ServidorFacturacion(AlmacenTickets& almacen, const Credenciales& aceptadas,
                                         const ServidorHttp::Opciones& opciones, QObject* parent)
    : QObject(parent),
      uAlmacen(almacen),
      uCredenciales(aceptadas),
      uServidor(opciones,
                [this](const PeticionHttp& p, const RespuestaHttp& r) { uRutas.atiende(p, r); }) {
  using A = QStringList;
  const auto con = [this](auto metodo) {
    return [this, metodo](const PeticionHttp& p, const A&, const RespuestaHttp& r) {
      (this->*metodo)(p, r);
    };
  };
  uRutas.agrega("POST", QStringLiteral("/api/v1/tickets"), con(&ServidorFacturacion::cargaTicket));
  uRutas.agrega("POST", QStringLiteral("/api/v1/tickets/estado"),
                con(&ServidorFacturacion::consultaEstado));
  uRutas.agrega(
      "GET", QStringLiteral("/api/v1/tickets/<arg>"),
      [this](const PeticionHttp&, const A& a, const RespuestaHttp& r) { consultaTicket(a[0], r); });
  uRutas.agrega("POST", QStringLiteral("/api/v1/facturas"),
                con(&ServidorFacturacion::timbraFactura));
  uRutas.agrega("GET", QStringLiteral("/api/v1/facturas/<arg>"),
                [this](const PeticionHttp&, const A& a, const RespuestaHttp& r) {
                  consultaFactura(a[0], r);
                });
  uRutas.agrega(
      "GET", QStringLiteral("/api/v1/facturas/<arg>/pdf"),
      [this](const PeticionHttp&, const A& a, const RespuestaHttp& r) { pdfFactura(a[0], r); });
  uRutas.agrega("POST", QStringLiteral("/control/modo"), con(&ServidorFacturacion::cambiaModo));
  uRutas.agrega("GET", QStringLiteral("/control/tickets"),
                [this](const PeticionHttp&, const A&, const RespuestaHttp& r) {
                  r.enviaJson(200, {{QStringLiteral("ok"), true},
                                    {QStringLiteral("tickets"), uAlmacen.registros()}});
                });
  uRutas.agrega("GET", QStringLiteral("/control/facturas"),
                [this](const PeticionHttp&, const A&, const RespuestaHttp& r) {
                  r.enviaJson(200, {{QStringLiteral("ok"), true},
                                    {QStringLiteral("facturas"), uAlmacen.facturas()}});
                });
  uRutas.agrega("GET", QStringLiteral("/control/avisos"),
                [](const PeticionHttp&, const A&, const RespuestaHttp& r) {
                  r.enviaJson(200, {{QStringLiteral("ok"), true},
                                    {QStringLiteral("avisos"),
                                     QJsonArray::fromStringList(campos::avisos())}});
                });
  uRutas.agrega("POST", QStringLiteral("/control/tickets/generar"),
                con(&ServidorFacturacion::generaTickets));
  // The customer's side: the page the receipt's QR code opens.
  uRutas.agrega("GET", QStringLiteral("/portal"),
                [this](const PeticionHttp& p, const A&, const RespuestaHttp& r) {
                  QString id;
                  for (const auto& [nombre, valor] : p.parametros)
                    if (nombre == QLatin1String("id")) id = valor;
                  respondePortal(QStringLiteral("GET /portal"), portalMuestra(uAlmacen, id), r);
                });
  uRutas.agrega("POST", QStringLiteral("/portal"),
                [this](const PeticionHttp& p, const A&, const RespuestaHttp& r) {
                  respondePortal(QStringLiteral("POST /portal"), portalFactura(uAlmacen, p.cuerpo),
                                 r);
                });
  uRutas.agrega("GET", QStringLiteral("/portal/facturas/<arg>"),
                [this](const PeticionHttp&, const A& a, const RespuestaHttp& r) {
                  pdfPortal(a[0], r);
                });
  uRutas.agrega("POST", QStringLiteral("/control/tickets/<arg>/facturar"),
                [this](const PeticionHttp& p, const A& a, const RespuestaHttp& r) {
                  facturaEnPortal(a[0], p, r);
                });
}

bool ServidorFacturacion::credencialesAceptadas(const QJsonObject& cuerpo) const {
  const auto coincide = [&cuerpo](const QString& campo, const QString& aceptado) {
    return aceptado.isEmpty() || cuerpo.value(campo).toString() == aceptado;
  };
  return coincide(QStringLiteral("usuario"), uCredenciales.usuario) &&
         coincide(QStringLiteral("cuenta"), uCredenciales.cuenta) &&
         coincide(QStringLiteral("contrasena"), uCredenciales.contrasena);
}

void ServidorFacturacion::respondeApi(const RespuestaHttp& respuesta, int estado,
                                      const QJsonObject& cuerpo) {
  uModo.respondeJson(respuesta, estado, cuerpo, this);
}

bool ServidorFacturacion::respondeSiFalla(const QString& ruta, const RespuestaHttp& respuesta) {
  if (!uModo.es("error")) return false;
  bitacora(ruta + QStringLiteral(" 500 (modo error)"));
  respuesta.enviaJson(500, error(QStringLiteral("Servicio no disponible")));
  return true;
}

std::optional<QJsonObject> ServidorFacturacion::abreLlamada(const QString& ruta,
                                                            const PeticionHttp& peticion,
                                                            const RespuestaHttp& respuesta) {
  if (respondeSiFalla(ruta, respuesta)) return std::nullopt;
  QString motivo;
  const QJsonObject cuerpo = peticion.cuerpoJson(&motivo);
  if (motivo.isEmpty()) motivo = validaEmisorYCredenciales(cuerpo);
  if (!motivo.isEmpty()) {
    bitacora(ruta + QStringLiteral(" 400 ") + motivo);
    respondeApi(respuesta, 400, error(motivo));
    return std::nullopt;
  }
  if (!credencialesAceptadas(cuerpo)) {
    bitacora(
        ruta +
        QStringLiteral(" 401 usuario %1").arg(cuerpo.value(QStringLiteral("usuario")).toString()));
    respondeApi(respuesta, 401, error(QStringLiteral("Usuario, cuenta o contraseña incorrectos")));
    return std::nullopt;
  }
  return cuerpo;
}

void ServidorFacturacion::cargaTicket(const PeticionHttp& peticion,
                                      const RespuestaHttp& respuesta) {
  const QString ruta = QStringLiteral("POST /api/v1/tickets");
  const std::optional<QJsonObject> llamada = abreLlamada(ruta, peticion, respuesta);
  if (!llamada) return;
  const QJsonObject& cuerpo = *llamada;
  const QString motivo = validaTicket(cuerpo);
  if (!motivo.isEmpty()) {
    bitacora(ruta + QStringLiteral(" 400 ") + motivo);
    respondeApi(respuesta, 400, error(motivo));
    return;
  }

  const QString rfc = cuerpo.value(QStringLiteral("rfc")).toString().trimmed().toUpper();
  const QJsonObject ticket = cuerpo.value(QStringLiteral("ticket")).toObject();
  const qint64 ticketNo = ticket.value(QStringLiteral("ticketNo")).toInteger();
  QString id = uAlmacen.identificadorDe(rfc, ticketNo);
  if (!id.isEmpty()) {
    bitacora(QStringLiteral("%1 200 %2 #%3 ya cargado: %4").arg(ruta, rfc).arg(ticketNo).arg(id));
    respondeApi(respuesta, 200,
                {{QStringLiteral("ok"), true}, {QStringLiteral("identificador"), id}});
    return;
  }
  id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
  const QJsonObject registro{
      {QStringLiteral("identificador"), id},
      {QStringLiteral("rfc"), rfc},
      {QStringLiteral("usuario"), cuerpo.value(QStringLiteral("usuario"))},
      {QStringLiteral("cuenta"), cuerpo.value(QStringLiteral("cuenta"))},
      {QStringLiteral("ticketNo"), ticketNo},
      {QStringLiteral("recibido"), QDateTime::currentDateTime().toString(Qt::ISODate)},
      {QStringLiteral("estado"), ESTADO_CARGADO},
      {QStringLiteral("ticket"), ticket},
  };
  QString fallo;
  if (!uAlmacen.agrega(registro, &fallo)) {
    bitacora(ruta + QStringLiteral(" 500 no se pudo guardar: ") + fallo);
    respondeApi(respuesta, 500, error(QStringLiteral("No se pudo guardar el ticket")));
    return;
  }
  bitacora(QStringLiteral("%1 201 %2 #%3: %4").arg(ruta, rfc).arg(ticketNo).arg(id));
  respondeApi(respuesta, 201,
              {{QStringLiteral("ok"), true}, {QStringLiteral("identificador"), id}});
}

void ServidorFacturacion::consultaEstado(const PeticionHttp& peticion,
                                         const RespuestaHttp& respuesta) {
  const QString ruta = QStringLiteral("POST /api/v1/tickets/estado");
  const std::optional<QJsonObject> llamada = abreLlamada(ruta, peticion, respuesta);
  if (!llamada) return;
  const ResultadoLlamada r = ::consultaEstado(uAlmacen, *llamada);
  bitacora(QStringLiteral("%1 %2 %3").arg(ruta).arg(r.estado).arg(r.bitacora));
  respondeApi(respuesta, r.estado, r.cuerpo);
}

void ServidorFacturacion::consultaTicket(const QString& identificador,
                                         const RespuestaHttp& respuesta) {
  const QJsonObject registro = uAlmacen.registro(identificador);
  bitacora(
      QStringLiteral("GET /api/v1/tickets/%1 %2")
          .arg(identificador, registro.isEmpty() ? QStringLiteral("404") : QStringLiteral("200")));
  if (registro.isEmpty()) {
    respondeApi(respuesta, 404, error(QStringLiteral("No existe el ticket %1").arg(identificador)));
    return;
  }
  QJsonObject cuerpo = registro;
  cuerpo.insert(QStringLiteral("ok"), true);
  respondeApi(respuesta, 200, cuerpo);
}

void ServidorFacturacion::timbraFactura(const PeticionHttp& peticion,
                                        const RespuestaHttp& respuesta) {
  const QString ruta = QStringLiteral("POST /api/v1/facturas");
  const std::optional<QJsonObject> llamada = abreLlamada(ruta, peticion, respuesta);
  if (!llamada) return;
  QString clave;
  QString motivo = claveIdempotencia(peticion, &clave)
                       ? validaFactura(*llamada)
                       : QStringLiteral(
                             "El encabezado Idempotency-Key debe tener de 1 a %1 "
                             "caracteres visibles")
                             .arg(LARGO_CLAVE_MAXIMO);
  if (!motivo.isEmpty()) {
    bitacora(ruta + QStringLiteral(" 400 ") + motivo);
    respondeApi(respuesta, 400, error(motivo));
    return;
  }
  const ResultadoLlamada r = timbra(uAlmacen, *llamada, clave);
  bitacora(QStringLiteral("%1 %2 %3").arg(ruta).arg(r.estado).arg(r.bitacora));
  respondeApi(respuesta, r.estado, r.cuerpo);
}

void ServidorFacturacion::consultaFactura(const QString& uuid, const RespuestaHttp& respuesta) {
  const QString ruta = QStringLiteral("GET /api/v1/facturas/") + uuid;
  if (respondeSiFalla(ruta, respuesta)) return;
  QJsonObject registro = uAlmacen.factura(uuid);
  bitacora(ruta + (registro.isEmpty() ? QStringLiteral(" 404") : QStringLiteral(" 200")));
  if (registro.isEmpty()) {
    respondeApi(respuesta, 404, error(QStringLiteral("No existe la factura %1").arg(uuid)));
    return;
  }
  registro.insert(QStringLiteral("ok"), true);
  respondeApi(respuesta, 200, registro);
}

QList<qint64> ServidorFacturacion::ticketsDe(const QJsonObject& factura) const {
  QList<qint64> tickets;
  for (const QJsonValue& id : factura.value(QStringLiteral("factura"))
                                  .toObject()
                                  .value(QStringLiteral("tickets"))
                                  .toArray()) {
    const QJsonObject t = uAlmacen.registro(id.toString().trimmed());
    if (!t.isEmpty()) tickets << t.value(QStringLiteral("ticketNo")).toInteger();
  }
  return tickets;
}

void ServidorFacturacion::pdfFactura(const QString& uuid, const RespuestaHttp& respuesta) {
  const QString ruta = QStringLiteral("GET /api/v1/facturas/%1/pdf").arg(uuid);
  if (respondeSiFalla(ruta, respuesta)) return;
  const QJsonObject registro = uAlmacen.factura(uuid);
  bitacora(ruta + (registro.isEmpty() ? QStringLiteral(" 404") : QStringLiteral(" 200")));
  if (registro.isEmpty()) {
    respondeApi(respuesta, 404, error(QStringLiteral("No existe la factura %1").arg(uuid)));
    return;
  }
  const QByteArray pdf = pdfDeFactura(registro, ticketsDe(registro));
  respondeApi(
      respuesta, 200,
      {{QStringLiteral("ok"), true}, {QStringLiteral("pdf"), QString::fromLatin1(pdf.toBase64())}});
}

void ServidorFacturacion::cambiaModo(const PeticionHttp& peticion, const RespuestaHttp& respuesta) {
  QString motivo;
  const QJsonObject cuerpo = peticion.cuerpoJson(&motivo);
  if (motivo.isEmpty())
    motivo = uModo.cambia(
        cuerpo, {QStringLiteral("normal"), QStringLiteral("error"), QStringLiteral("lento")});
  if (!motivo.isEmpty()) {
    respuesta.enviaJson(400, error(motivo));
    return;
  }
  bitacora(QStringLiteral("modo %1, retraso %2 ms").arg(uModo.modo()).arg(uModo.retrasoMs()));
  respuesta.enviaJson(200, uModo.descripcion());
}

void ServidorFacturacion::facturaEnPortal(const QString& identificador,
                                          const PeticionHttp& peticion,
                                          const RespuestaHttp& respuesta) {
  QString motivo;
  const QJsonObject cuerpo = peticion.cuerpoJson(&motivo, true);
  const ResultadoLlamada r = motivo.isEmpty()
                                 ? marcaFacturadoEnPortal(uAlmacen, identificador, cuerpo)
                                 : ResultadoLlamada{400, error(motivo), motivo};
  bitacora(QStringLiteral("POST /control/tickets/%1/facturar %2 %3")
               .arg(identificador)
               .arg(r.estado)
               .arg(r.bitacora));
  respuesta.enviaJson(r.estado, r.cuerpo);
}

void ServidorFacturacion::respondePortal(const QString& ruta, const PaginaPortal& pagina,
                                         const RespuestaHttp& respuesta) {
  bitacora(ruta + QLatin1Char(' ') + pagina.bitacora);
  respuesta.envia(pagina.estado, pagina.html, QByteArrayLiteral("text/html; charset=utf-8"));
}

void ServidorFacturacion::pdfPortal(const QString& archivo, const RespuestaHttp& respuesta) {
  const QString uuid = archivo.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)
                           ? archivo.chopped(4)
                           : archivo;
  const QJsonObject registro = uAlmacen.factura(uuid);
  bitacora(QStringLiteral("GET /portal/facturas/%1 %2")
               .arg(archivo, registro.isEmpty() ? QStringLiteral("404") : QStringLiteral("200")));
  if (registro.isEmpty()) {
    respuesta.envia(404, QStringLiteral("No existe la factura %1").arg(uuid).toUtf8(),
                    QByteArrayLiteral("text/plain; charset=utf-8"));
    return;
  }
  respuesta.envia(200, pdfDeFactura(registro, ticketsDe(registro)),
                  QByteArrayLiteral("application/pdf"));
}

void ServidorFacturacion::generaTickets(const PeticionHttp& peticion,
                                        const RespuestaHttp& respuesta) {
  QString motivo;
  const QJsonObject cuerpo = peticion.cuerpoJson(&motivo);
  const ResultadoLlamada r = motivo.isEmpty() ? ::generaTickets(uAlmacen, cuerpo)
                                              : ResultadoLlamada{400, error(motivo), motivo};
  bitacora(QStringLiteral("POST /control/tickets/generar %1 %2").arg(r.estado).arg(r.bitacora));
  respuesta.enviaJson(r.estado, r.cuerpo);
}
