#include "SandboxPrueba.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QTest>
#include <atomic>

#include "context/TsistemaDatos.h"
#include "workers/TgeneraTicketConWS.h"

QJsonObject ticketSandbox(qint64 ticketNo, const QString& descripcion, double total) {
  return {{"ticketNo", ticketNo},
          {"fechaHora", "2026-01-31T13:45:10"},
          {"subtotal", 100},
          {"descuento", 0},
          {"impuestos", 16},
          {"total", total},
          {"conceptos", QJsonArray{QJsonObject{{"cantidad", 1},
                                               {"descripcion", descripcion},
                                               {"precioUnitario", 100},
                                               {"importe", 100},
                                               {"claveProductoServicio", "50202306"},
                                               {"claveUnidad", "H87"}}}},
          {"pagos", QJsonArray{QJsonObject{{"formaPago", "01"}, {"importe", total}}}}};
}

QString mensajeSandbox(const RespuestaSandbox& r) { return r.cuerpo.value("mensaje").toString(); }

QString subeTicket(int operacion) {
  TgeneraTicketConWS carga;
  std::atomic<bool> ocupado{true};
  carga.generaTicket(operacion, &ocupado);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !ocupado.load(); }, 20000));
  EXPECT_TRUE(carga.getResultado().ok) << carga.getResultado().mensaje.toStdString();
  return carga.getResultado().identificador;
}

QString SandboxPrueba::ejecutable() {
  return SandboxProcesoPrueba::ruta(QStringLiteral("pos-sandbox-facturacion"));
}

bool SandboxPrueba::arranca(const QStringList& argumentos) {
  const QList<quint16> puertos =
      uProceso.arranca(QStringLiteral("pos-sandbox-facturacion"),
                       QStringList{QStringLiteral("--puerto"), QStringLiteral("0"),
                                   QStringLiteral("--datos"), uProceso.carpetaDatos()} +
                           argumentos);
  uPuerto = puertos.value(0);
  return uPuerto != 0;
}

QString SandboxPrueba::url() const { return QStringLiteral("http://127.0.0.1:%1").arg(uPuerto); }

SandboxPrueba::Respuesta SandboxPrueba::llama(
    const QString& metodo, const QString& ruta, const QByteArray& cuerpo,
    const QList<QPair<QByteArray, QByteArray>>& encabezados, int tiempoMs) const {
  return llamaHttp(metodo, QUrl(url() + ruta), cuerpo, encabezados, tiempoMs);
}

SandboxPrueba::Respuesta SandboxPrueba::post(const QString& ruta, const QByteArray& cuerpo,
                                             int tiempoMs) const {
  return llama(QStringLiteral("POST"), ruta, cuerpo, {}, tiempoMs);
}

SandboxPrueba::Respuesta SandboxPrueba::post(const QString& ruta, const QJsonObject& cuerpo,
                                             int tiempoMs) const {
  return post(ruta, QJsonDocument(cuerpo).toJson(QJsonDocument::Compact), tiempoMs);
}

SandboxPrueba::Respuesta SandboxPrueba::get(const QString& ruta, int tiempoMs) const {
  return llama(QStringLiteral("GET"), ruta, {}, {}, tiempoMs);
}

bool SandboxPrueba::modo(const QString& modo, int retrasoMs) const {
  QJsonObject cuerpo{{QStringLiteral("modo"), modo}};
  if (retrasoMs >= 0) cuerpo.insert(QStringLiteral("retrasoMs"), retrasoMs);
  return post(QStringLiteral("/control/modo"), cuerpo).estado == 200;
}

QJsonArray SandboxPrueba::tickets() const {
  return get(QStringLiteral("/control/tickets")).cuerpo.value(QStringLiteral("tickets")).toArray();
}

QJsonArray SandboxPrueba::facturas() const {
  return get(QStringLiteral("/control/facturas"))
      .cuerpo.value(QStringLiteral("facturas"))
      .toArray();
}

QString SandboxPrueba::facturaEnPortal(const QString& identificador,
                                       const QString& receptor) const {
  QJsonObject cuerpo;
  if (!receptor.isEmpty()) cuerpo.insert(QStringLiteral("receptor"), receptor);
  return post(QStringLiteral("/control/tickets/%1/facturar").arg(identificador), cuerpo)
      .cuerpo.value(QStringLiteral("uuid"))
      .toString();
}

QJsonArray SandboxPrueba::generaTickets(const QString& rfc, int cantidad, int estado,
                                        const QJsonObject& extra) const {
  QJsonObject cuerpo = extra;
  cuerpo.insert(QStringLiteral("rfc"), rfc);
  cuerpo.insert(QStringLiteral("cantidad"), cantidad);
  cuerpo.insert(QStringLiteral("estado"), estado);
  return post(QStringLiteral("/control/tickets/generar"), cuerpo, 120000)
      .cuerpo.value(QStringLiteral("tickets"))
      .toArray();
}

bool SandboxPrueba::arrancaParaTienda() {
  if (!arranca({"--usuario", "tienda", "--cuenta", "cuenta1", "--contrasena", "x"})) return false;
  localSYS.urlFacturacion = url();
  return true;
}
