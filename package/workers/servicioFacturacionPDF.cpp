#include "workers/servicioFacturacionPDF.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>

#include "facturacion/pdfFacturas.h"
#include "util/Log.h"
#include "workers/servicioFacturacionTicket.h"

namespace {
generarPDFresultado fallo(const QString& error) {
  generarPDFresultado r;
  r.error = error;
  return r;
}
}  // namespace

QUrl u_urlPDFFactura(const QString& urlBase, const QString& uuid) {
  if (!u_uuidUtilizable(uuid)) return QUrl();
  return u_urlServicio(
      urlBase, QStringLiteral("/api/v1/facturas/") + uuid.trimmed() + QStringLiteral("/pdf"));
}

TencabezadosHttp u_encabezadosCuenta(const datosPDF& d) {
  const QByteArray basica = (d.usuario + QLatin1Char(':') + d.contrasena).toUtf8().toBase64();
  return {{QByteArrayLiteral("Authorization"), QByteArrayLiteral("Basic ") + basica},
          {QByteArrayLiteral("X-Cuenta"), d.cuenta.toUtf8()}};
}

generarPDFresultado u_leeRespuestaPDF(int estadoHttp, const QByteArray& cuerpo,
                                      const QString& uuid) {
  if (estadoHttp == 200) {
    const QJsonObject o = QJsonDocument::fromJson(cuerpo).object();
    const QString pdf = o.value(QStringLiteral("pdf")).toString();
    if (!o.value(QStringLiteral("ok")).toBool() || u_decodificaPDF(pdf).isEmpty())
      return fallo(QStringLiteral("El servicio de facturación no entregó un PDF válido"));
    generarPDFresultado r;
    r.ok = true;
    r.pdf = pdf;
    return r;
  }
  if (estadoHttp == 404)
    return fallo(
        QStringLiteral("El servicio de facturación no tiene la factura %1").arg(uuid.trimmed()));
  return fallo(u_mensajeDeFallo(
      estadoHttp, cuerpo, {400}, QStringLiteral("El servicio de facturación rechazó la consulta"),
      QStringLiteral("El servicio de facturación no pudo entregar el PDF (error %1)")));
}

generarPDFresultado u_descargaPDFFactura(const QString& urlBase, const datosPDF& d,
                                         int tiempoEsperaMs) {
  if (urlBase.trimmed().isEmpty())
    return fallo(QStringLiteral("No está configurada la dirección del servicio de facturación"));
  const QUrl url = u_urlPDFFactura(urlBase, d.uuid);
  if (!url.isValid())
    return fallo(u_urlServicio(urlBase, QString()).isValid()
                     ? QStringLiteral("El UUID de la factura no es válido: ") + d.uuid.trimmed()
                     : QStringLiteral("La dirección del servicio de facturación no es válida: ") +
                           urlBase.trimmed());
  QElapsedTimer reloj;
  reloj.start();
  const TrespuestaHttp http = u_enviaGet(url, u_encabezadosCuenta(d), tiempoEsperaMs);
  Log::escribe(QStringLiteral("pdf"), QStringLiteral("%1: HTTP %2, error de red %3, %4 ms")
                                          .arg(url.toString(QUrl::RemoveUserInfo))
                                          .arg(http.estado)
                                          .arg(int(http.error))
                                          .arg(reloj.elapsed()));
  if (http.estado == 0) return fallo(u_mensajeSinRespuesta(http.error, http.expiro));
  return u_leeRespuestaPDF(http.estado, http.cuerpo, d.uuid);
}
