#include "ServidorFacturacion.h"

#include <QDateTime>
#include <QFuture>
#include <QHostAddress>
#include <QHttpServerRequest>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QPromise>
#include <QTcpSocket>
#include <QTimer>
#include <QUuid>
#include <cstdio>
#include <memory>

#include "PdfFactura.h"
#include "Timbrado.h"
#include "ValidacionFactura.h"
#include "ValidacionTicket.h"

namespace {

constexpr int RETRASO_MAXIMO_MS = 120000;

QJsonObject error(const QString& mensaje) {
  return {{QStringLiteral("ok"), false}, {QStringLiteral("mensaje"), mensaje}};
}

void escribe(QHttpServerResponder& r, const QJsonObject& cuerpo,
             QHttpServerResponder::StatusCode estado) {
  r.write(QJsonDocument(cuerpo), estado);
}

// One line per call on stderr, for whoever runs the sandbox by hand; never a password.
void bitacora(const QString& linea) {
  std::fprintf(stderr, "%s %s\n", qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)),
               qPrintable(linea));
  std::fflush(stderr);
}

// Reads the body as a JSON object; an empty object and the reason when it is not one.
QJsonObject leeCuerpo(const QHttpServerRequest& peticion, QString* error) {
  QJsonParseError e;
  const QJsonDocument doc = QJsonDocument::fromJson(peticion.body(), &e);
  if (e.error != QJsonParseError::NoError || !doc.isObject()) {
    *error = QStringLiteral("El cuerpo de la petición no es un objeto JSON válido");
    return {};
  }
  return doc.object();
}

}  // namespace

ServidorFacturacion::ServidorFacturacion(AlmacenTickets& almacen, const Credenciales& aceptadas,
                                         QObject* parent)
    : QObject(parent), uAlmacen(almacen), uCredenciales(aceptadas) {
  using Metodo = QHttpServerRequest::Method;
  uServidor.route(QStringLiteral("/api/v1/tickets"), Metodo::Post,
                  [this](const QHttpServerRequest& p, QHttpServerResponder&& r) {
                    cargaTicket(p, std::move(r));
                  });
  uServidor.route(
      QStringLiteral("/api/v1/tickets/<arg>"), Metodo::Get,
      [this](const QString& id, QHttpServerResponder&& r) { consultaTicket(id, std::move(r)); });
  uServidor.route(QStringLiteral("/api/v1/facturas"), Metodo::Post,
                  [this](const QHttpServerRequest& p, QHttpServerResponder&& r) {
                    timbraFactura(p, std::move(r));
                  });
  uServidor.route(QStringLiteral("/api/v1/facturas/<arg>"), Metodo::Get,
                  [this](const QString& uuid, QHttpServerResponder&& r) {
                    consultaFactura(uuid, std::move(r));
                  });
  uServidor.route(
      QStringLiteral("/api/v1/facturas/<arg>/pdf"), Metodo::Get,
      [this](const QString& uuid, QHttpServerResponder&& r) { pdfFactura(uuid, std::move(r)); });
  uServidor.route(QStringLiteral("/control/modo"), Metodo::Post,
                  [this](const QHttpServerRequest& p, QHttpServerResponder&& r) {
                    cambiaModo(p, std::move(r));
                  });
  uServidor.route(QStringLiteral("/control/tickets"), Metodo::Get,
                  [this](QHttpServerResponder&& r) { listaTickets(std::move(r)); });
  uServidor.route(QStringLiteral("/control/facturas"), Metodo::Get,
                  [this](QHttpServerResponder&& r) { listaFacturas(std::move(r)); });
  uServidor.setMissingHandler([](const QHttpServerRequest& p, QHttpServerResponder&& r) {
    escribe(r, error(QStringLiteral("No existe el recurso %1").arg(p.url().path())),
            Estado::NotFound);
  });
}

quint16 ServidorFacturacion::escucha(quint16 puerto) {
  return uServidor.listen(QHostAddress(QHostAddress::LocalHost), puerto);
}

bool ServidorFacturacion::credencialesAceptadas(const QJsonObject& cuerpo) const {
  const auto coincide = [&cuerpo](const QString& campo, const QString& aceptado) {
    return aceptado.isEmpty() || cuerpo.value(campo).toString() == aceptado;
  };
  return coincide(QStringLiteral("usuario"), uCredenciales.usuario) &&
         coincide(QStringLiteral("cuenta"), uCredenciales.cuenta) &&
         coincide(QStringLiteral("contrasena"), uCredenciales.contrasena);
}

void ServidorFacturacion::respondeApi(QHttpServerResponder&& respuesta, const QJsonObject& cuerpo,
                                      Estado estado) {
  if (uModo != Modo::Lento) {
    escribe(respuesta, cuerpo, estado);
    return;
  }
  // The answer waits on a future fulfilled by a timer, so the server keeps serving meanwhile.
  // The socket is watched because a client that gave up has closed it by then; the server's
  // own future-returning routes would write to it regardless.
  auto responder = std::make_shared<QHttpServerResponder>(std::move(respuesta));
  const QPointer<QTcpSocket> socket = responder->socket();
  auto promesa = std::make_shared<QPromise<void>>();
  promesa->start();
  promesa->future().then(this, [responder, socket, cuerpo, estado] {
    if (socket && socket->state() == QAbstractSocket::ConnectedState)
      escribe(*responder, cuerpo, estado);
  });
  QTimer::singleShot(uRetrasoMs, this, [promesa] { promesa->finish(); });
}

bool ServidorFacturacion::respondeSiFalla(const QString& ruta, QHttpServerResponder& respuesta) {
  if (uModo != Modo::Error) return false;
  bitacora(ruta + QStringLiteral(" 500 (modo error)"));
  escribe(respuesta, error(QStringLiteral("Servicio no disponible")), Estado::InternalServerError);
  return true;
}

std::optional<QJsonObject> ServidorFacturacion::abreLlamada(const QString& ruta,
                                                            const QHttpServerRequest& peticion,
                                                            QHttpServerResponder& respuesta) {
  if (respondeSiFalla(ruta, respuesta)) return std::nullopt;
  QString motivo;
  const QJsonObject cuerpo = leeCuerpo(peticion, &motivo);
  if (motivo.isEmpty()) motivo = validaEmisorYCredenciales(cuerpo);
  if (!motivo.isEmpty()) {
    bitacora(ruta + QStringLiteral(" 400 ") + motivo);
    respondeApi(std::move(respuesta), error(motivo), Estado::BadRequest);
    return std::nullopt;
  }
  if (!credencialesAceptadas(cuerpo)) {
    bitacora(
        ruta +
        QStringLiteral(" 401 usuario %1").arg(cuerpo.value(QStringLiteral("usuario")).toString()));
    respondeApi(std::move(respuesta),
                error(QStringLiteral("Usuario, cuenta o contraseña incorrectos")),
                Estado::Unauthorized);
    return std::nullopt;
  }
  return cuerpo;
}

void ServidorFacturacion::cargaTicket(const QHttpServerRequest& peticion,
                                      QHttpServerResponder&& respuesta) {
  const std::optional<QJsonObject> llamada =
      abreLlamada(QStringLiteral("POST /api/v1/tickets"), peticion, respuesta);
  if (!llamada) return;
  const QJsonObject& cuerpo = *llamada;
  const QString motivo = validaTicket(cuerpo);
  if (!motivo.isEmpty()) {
    bitacora(QStringLiteral("POST /api/v1/tickets 400 ") + motivo);
    respondeApi(std::move(respuesta), error(motivo), Estado::BadRequest);
    return;
  }

  const QString rfc = cuerpo.value(QStringLiteral("rfc")).toString().trimmed().toUpper();
  const QJsonObject ticket = cuerpo.value(QStringLiteral("ticket")).toObject();
  const qint64 ticketNo = ticket.value(QStringLiteral("ticketNo")).toInteger();
  QString id = uAlmacen.identificadorDe(rfc, ticketNo);
  if (!id.isEmpty()) {
    bitacora(QStringLiteral("POST /api/v1/tickets 200 %1 #%2 ya cargado: %3")
                 .arg(rfc)
                 .arg(ticketNo)
                 .arg(id));
    respondeApi(std::move(respuesta),
                {{QStringLiteral("ok"), true}, {QStringLiteral("identificador"), id}}, Estado::Ok);
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
    bitacora(QStringLiteral("POST /api/v1/tickets 500 no se pudo guardar: ") + fallo);
    respondeApi(std::move(respuesta), error(QStringLiteral("No se pudo guardar el ticket")),
                Estado::InternalServerError);
    return;
  }
  bitacora(QStringLiteral("POST /api/v1/tickets 201 %1 #%2: %3").arg(rfc).arg(ticketNo).arg(id));
  respondeApi(std::move(respuesta),
              {{QStringLiteral("ok"), true}, {QStringLiteral("identificador"), id}},
              Estado::Created);
}

void ServidorFacturacion::consultaTicket(const QString& identificador,
                                         QHttpServerResponder&& respuesta) {
  const QJsonObject registro = uAlmacen.registro(identificador);
  bitacora(
      QStringLiteral("GET /api/v1/tickets/%1 %2")
          .arg(identificador, registro.isEmpty() ? QStringLiteral("404") : QStringLiteral("200")));
  if (registro.isEmpty()) {
    respondeApi(std::move(respuesta),
                error(QStringLiteral("No existe el ticket %1").arg(identificador)),
                Estado::NotFound);
    return;
  }
  QJsonObject cuerpo = registro;
  cuerpo.insert(QStringLiteral("ok"), true);
  respondeApi(std::move(respuesta), cuerpo, Estado::Ok);
}

void ServidorFacturacion::cambiaModo(const QHttpServerRequest& peticion,
                                     QHttpServerResponder&& respuesta) {
  QString motivo;
  const QJsonObject cuerpo = leeCuerpo(peticion, &motivo);
  const QString modo = cuerpo.value(QStringLiteral("modo")).toString();
  const QJsonValue retraso = cuerpo.value(QStringLiteral("retrasoMs"));
  if (motivo.isEmpty() && modo != QLatin1String("normal") && modo != QLatin1String("error") &&
      modo != QLatin1String("lento"))
    motivo = QStringLiteral("El modo debe ser \"normal\", \"error\" o \"lento\"");
  if (motivo.isEmpty() && !retraso.isUndefined() &&
      (!retraso.isDouble() || retraso.toDouble() < 0 || retraso.toDouble() > RETRASO_MAXIMO_MS))
    motivo = QStringLiteral("El retraso debe ser un número de milisegundos entre 0 y %1")
                 .arg(RETRASO_MAXIMO_MS);
  if (!motivo.isEmpty()) {
    escribe(respuesta, error(motivo), Estado::BadRequest);
    return;
  }
  uModo = modo == QLatin1String("error")   ? Modo::Error
          : modo == QLatin1String("lento") ? Modo::Lento
                                           : Modo::Normal;
  if (!retraso.isUndefined()) uRetrasoMs = retraso.toInt();
  bitacora(QStringLiteral("modo %1, retraso %2 ms").arg(modo).arg(uRetrasoMs));
  escribe(respuesta,
          {{QStringLiteral("ok"), true},
           {QStringLiteral("modo"), modo},
           {QStringLiteral("retrasoMs"), uRetrasoMs}},
          Estado::Ok);
}

void ServidorFacturacion::listaTickets(QHttpServerResponder&& respuesta) {
  escribe(respuesta,
          {{QStringLiteral("ok"), true}, {QStringLiteral("tickets"), uAlmacen.registros()}},
          Estado::Ok);
}

void ServidorFacturacion::timbraFactura(const QHttpServerRequest& peticion,
                                        QHttpServerResponder&& respuesta) {
  const QString ruta = QStringLiteral("POST /api/v1/facturas");
  const std::optional<QJsonObject> llamada = abreLlamada(ruta, peticion, respuesta);
  if (!llamada) return;
  const QString motivo = validaFactura(*llamada);
  if (!motivo.isEmpty()) {
    bitacora(ruta + QStringLiteral(" 400 ") + motivo);
    respondeApi(std::move(respuesta), error(motivo), Estado::BadRequest);
    return;
  }
  const ResultadoTimbrado r = timbra(uAlmacen, *llamada);
  bitacora(QStringLiteral("%1 %2 %3").arg(ruta).arg(static_cast<int>(r.estado)).arg(r.bitacora));
  respondeApi(std::move(respuesta), r.cuerpo, r.estado);
}

void ServidorFacturacion::consultaFactura(const QString& uuid, QHttpServerResponder&& respuesta) {
  const QString ruta = QStringLiteral("GET /api/v1/facturas/") + uuid;
  if (respondeSiFalla(ruta, respuesta)) return;
  QJsonObject registro = uAlmacen.factura(uuid);
  bitacora(ruta + (registro.isEmpty() ? QStringLiteral(" 404") : QStringLiteral(" 200")));
  if (registro.isEmpty()) {
    respondeApi(std::move(respuesta), error(QStringLiteral("No existe la factura %1").arg(uuid)),
                Estado::NotFound);
    return;
  }
  registro.insert(QStringLiteral("ok"), true);
  respondeApi(std::move(respuesta), registro, Estado::Ok);
}

void ServidorFacturacion::pdfFactura(const QString& uuid, QHttpServerResponder&& respuesta) {
  const QString ruta = QStringLiteral("GET /api/v1/facturas/%1/pdf").arg(uuid);
  if (respondeSiFalla(ruta, respuesta)) return;
  const QJsonObject registro = uAlmacen.factura(uuid);
  bitacora(ruta + (registro.isEmpty() ? QStringLiteral(" 404") : QStringLiteral(" 200")));
  if (registro.isEmpty()) {
    respondeApi(std::move(respuesta), error(QStringLiteral("No existe la factura %1").arg(uuid)),
                Estado::NotFound);
    return;
  }
  QList<qint64> tickets;
  const QJsonArray ids = registro.value(QStringLiteral("factura"))
                             .toObject()
                             .value(QStringLiteral("tickets"))
                             .toArray();
  for (const QJsonValue& id : ids) {
    const QJsonObject t = uAlmacen.registro(id.toString().trimmed());
    if (!t.isEmpty()) tickets << t.value(QStringLiteral("ticketNo")).toInteger();
  }
  const QByteArray pdf = pdfDeFactura(registro, tickets);
  respondeApi(
      std::move(respuesta),
      {{QStringLiteral("ok"), true}, {QStringLiteral("pdf"), QString::fromLatin1(pdf.toBase64())}},
      Estado::Ok);
}

void ServidorFacturacion::listaFacturas(QHttpServerResponder&& respuesta) {
  escribe(respuesta,
          {{QStringLiteral("ok"), true}, {QStringLiteral("facturas"), uAlmacen.facturas()}},
          Estado::Ok);
}
