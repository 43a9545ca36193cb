#include "servicioFacturacionTicket.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "util/utilerias.h"
#include "workers/clienteHttp.h"

namespace {

double centavos(double v) { return u_truncaDecimales(v, 2); }
double seisDecimales(double v) { return u_truncaDecimales(v, 6); }

QJsonObject impuesto(const CmidTierResponse& d, int fila, const char* importe, const char* tasa) {
  return {{QStringLiteral("tasa"),
           d.getCelda(QStringLiteral("puntoOperacionDetalle_") + QLatin1String(tasa), fila)},
          {QStringLiteral("importe"),
           seisDecimales(d.getCeldaAsFloat(
               QStringLiteral("puntoOperacionDetalle_") + QLatin1String(importe), fila))}};
}

QJsonObject concepto(const CmidTierResponse& d, int fila) {
  const auto celda = [&d, fila](const char* campo) {
    return d.getCelda(QStringLiteral("puntoOperacionDetalle_") + QLatin1String(campo), fila);
  };
  const auto numero = [&d, fila](const char* campo) {
    return d.getCeldaAsFloat(QStringLiteral("puntoOperacionDetalle_") + QLatin1String(campo), fila);
  };
  return {
      {QStringLiteral("fila"), d.getCeldaAsInt(QStringLiteral("puntoOperacionDetalle_fila"), fila)},
      {QStringLiteral("cantidad"), seisDecimales(numero("cantidad"))},
      {QStringLiteral("descripcion"), celda("descripcion")},
      {QStringLiteral("clave"), celda("clave")},
      {QStringLiteral("claveProductoServicio"), celda("claveSATprodcutoServicio")},
      {QStringLiteral("claveUnidad"),
       d.getCelda(QStringLiteral("inventarioUnidadesMedida_claveSAT33"), fila)},
      {QStringLiteral("unidad"), celda("unidadMedida")},
      {QStringLiteral("precioUnitario"), seisDecimales(numero("precioUnitario"))},
      {QStringLiteral("importe"), centavos(numero("subtotal"))},
      {QStringLiteral("descuento"), centavos(numero("descuento"))},
      {QStringLiteral("base"), centavos(numero("precioVenta"))},
      {QStringLiteral("precioConImpuestos"), seisDecimales(numero("precio"))},
      {QStringLiteral("impuestos"),
       QJsonObject{{QStringLiteral("ivaTrasladado"), impuesto(d, fila, "ivaT", "ivaTbase")},
                   {QStringLiteral("ivaRetenido"), impuesto(d, fila, "ivaR", "ivaRbase")},
                   {QStringLiteral("iepsTrasladado"), impuesto(d, fila, "iepsT", "iepsTbase")},
                   {QStringLiteral("iepsRetenido"), impuesto(d, fila, "iepsR", "iepsRbase")},
                   {QStringLiteral("isrRetenido"), impuesto(d, fila, "isrR", "isrRbase")}}},
      {QStringLiteral("tipo"), celda("tipoInsercion")},
      {QStringLiteral("cabecera"),
       d.getCeldaAsInt(QStringLiteral("puntoOperacionDetalle_cabecera"), fila)},
  };
}

QJsonObject pago(const CmidTierResponse& p, int fila) {
  QString clave = p.getCelda(QStringLiteral("formaPago_clave"), fila);
  // Position 0 is the cash line; a form the catalogue does not know goes as "to be defined".
  if (clave.isEmpty())
    clave = p.getCeldaAsInt(QStringLiteral("puntoFormaPagoAplicada_posicion"), fila) == 0
                ? QStringLiteral("01")
                : QStringLiteral("99");
  return {
      {QStringLiteral("formaPago"), clave},
      {QStringLiteral("nombre"), p.getCelda(QStringLiteral("puntoFormaPagoAplicada_nombre"), fila)},
      {QStringLiteral("importe"),
       centavos(p.getCeldaAsFloat(QStringLiteral("puntoFormaPagoAplicada_importe"), fila))},
      {QStringLiteral("referencia"),
       p.getCelda(QStringLiteral("puntoFormaPagoAplicada_referencia"), fila)}};
}

}  // namespace

QUrl u_urlCargaTicket(const QString& urlBase) {
  return u_urlServicio(urlBase, QStringLiteral("/api/v1/tickets"));
}

QJsonObject u_cuerpoCargaTicket(const QString& rfc, const TcredencialesServicio& credenciales,
                                const CmidTierResponse& operacion, const CmidTierResponse& detalle,
                                const CmidTierResponse& pagos) {
  const auto total = [&operacion](const char* campo) {
    return centavos(
        operacion.getCeldaAsFloat(QStringLiteral("puntoOperacion_") + QLatin1String(campo)));
  };
  QJsonArray conceptos;
  for (int i = 0; i < detalle.getRowCount(); ++i) conceptos.append(concepto(detalle, i));
  QJsonArray listaPagos;
  for (int i = 0; i < pagos.getRowCount(); ++i) listaPagos.append(pago(pagos, i));
  const QDateTime fecha =
      u_leeFechaHora(operacion.getCelda(QStringLiteral("puntoOperacion_fechaHora")));
  const QJsonObject ticket{
      {QStringLiteral("ticketNo"),
       static_cast<qint64>(operacion.getCeldaAsInt(QStringLiteral("puntoOperacion_ticketNo")))},
      {QStringLiteral("fechaHora"), fecha.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))},
      {QStringLiteral("cajero"), operacion.getCelda(QStringLiteral("puntoOperacion_cajeroNombre"))},
      {QStringLiteral("subtotal"), total("subtotal")},
      {QStringLiteral("descuento"), total("descuento")},
      {QStringLiteral("impuestos"), total("impuestos")},
      {QStringLiteral("total"), total("total")},
      {QStringLiteral("pagado"), total("pago")},
      {QStringLiteral("cambio"), total("devuelto")},
      {QStringLiteral("conceptos"), conceptos},
      {QStringLiteral("pagos"), listaPagos},
  };
  return {{QStringLiteral("rfc"), rfc.trimmed()},
          {QStringLiteral("usuario"), credenciales.usuario},
          {QStringLiteral("cuenta"), credenciales.cuenta},
          {QStringLiteral("contrasena"), credenciales.contrasena},
          {QStringLiteral("ticket"), ticket}};
}

generarTicketRsultado u_leeRespuestaCarga(int estadoHttp, const QByteArray& cuerpo) {
  generarTicketRsultado r;
  if (estadoHttp == 200 || estadoHttp == 201) {
    const QJsonObject o = QJsonDocument::fromJson(cuerpo).object();
    const QString id = o.value(QStringLiteral("identificador")).toString().trimmed();
    if (o.value(QStringLiteral("ok")).toBool() && !id.isEmpty()) {
      r.ok = true;
      r.identificador = id;
    } else {
      r.mensaje = QStringLiteral("Respuesta no válida del servicio de facturación");
    }
    return r;
  }
  r.mensaje = u_mensajeDeFallo(
      estadoHttp, cuerpo, {400, 422},
      QStringLiteral("El servicio de facturación rechazó el ticket"),
      QStringLiteral("El servicio de facturación no pudo cargar el ticket (error %1)"));
  return r;
}

QString u_mensajeSinRespuesta(QNetworkReply::NetworkError error, bool expiro) {
  if (expiro) return QStringLiteral("El servicio de facturación no respondió a tiempo");
  switch (error) {
    case QNetworkReply::SslHandshakeFailedError:
      return QStringLiteral("No se pudo verificar el certificado del servicio de facturación");
    case QNetworkReply::TimeoutError:
      return QStringLiteral("El servicio de facturación no respondió a tiempo");
    default:
      return QStringLiteral("No se pudo conectar con el servicio de facturación");
  }
}
