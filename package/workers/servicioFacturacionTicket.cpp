#include "servicioFacturacionTicket.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "util/utilerias.h"
#include "workers/clienteHttp.h"

namespace {

double centavos(double v) { return u_truncaDecimales(v, 2); }
double seisDecimales(double v) { return u_truncaDecimales(v, 6); }

// The detail's columns, looked up once per ticket: by name for every cell, a 20-line ticket
// spent a millisecond of the sale finding them.
struct TColumnasDetalle {
  struct Impuesto {
    const char* nombre;
    int importe, tasa;
  };
  int fila, cantidad, descripcion, clave, claveProducto, claveUnidad, unidad, precioUnitario,
      subtotal, descuento, precioVenta, precio, tipo, cabecera;
  Impuesto impuestos[5];

  explicit TColumnasDetalle(const CmidTierResponse& d) {
    const auto col = [&d](const char* campo) {
      return d.columna(QStringLiteral("puntoOperacionDetalle_") + QLatin1String(campo));
    };
    fila = col("fila");
    cantidad = col("cantidad");
    descripcion = col("descripcion");
    clave = col("clave");
    claveProducto = col("claveSATprodcutoServicio");
    claveUnidad = d.columna(QStringLiteral("inventarioUnidadesMedida_claveSAT33"));
    unidad = col("unidadMedida");
    precioUnitario = col("precioUnitario");
    subtotal = col("subtotal");
    descuento = col("descuento");
    precioVenta = col("precioVenta");
    precio = col("precio");
    tipo = col("tipoInsercion");
    cabecera = col("cabecera");
    const char* nombres[5][3] = {{"ivaTrasladado", "ivaT", "ivaTbase"},
                                 {"ivaRetenido", "ivaR", "ivaRbase"},
                                 {"iepsTrasladado", "iepsT", "iepsTbase"},
                                 {"iepsRetenido", "iepsR", "iepsRbase"},
                                 {"isrRetenido", "isrR", "isrRbase"}};
    for (int i = 0; i < 5; ++i)
      impuestos[i] = {nombres[i][0], col(nombres[i][1]), col(nombres[i][2])};
  }
};

QJsonObject concepto(const CmidTierResponse& d, const TColumnasDetalle& c, int fila) {
  const auto numero = [&d, fila](int columna) { return d.getCeldaAsFloat(columna, fila); };
  QJsonObject impuestos;
  for (const TColumnasDetalle::Impuesto& i : c.impuestos)
    impuestos.insert(QLatin1String(i.nombre),
                     QJsonObject{{QStringLiteral("tasa"), d.getCelda(i.tasa, fila)},
                                 {QStringLiteral("importe"), seisDecimales(numero(i.importe))}});
  return {
      {QStringLiteral("fila"), d.getCeldaAsInt(c.fila, fila)},
      {QStringLiteral("cantidad"), seisDecimales(numero(c.cantidad))},
      {QStringLiteral("descripcion"), d.getCelda(c.descripcion, fila)},
      {QStringLiteral("clave"), d.getCelda(c.clave, fila)},
      {QStringLiteral("claveProductoServicio"), d.getCelda(c.claveProducto, fila)},
      {QStringLiteral("claveUnidad"), d.getCelda(c.claveUnidad, fila)},
      {QStringLiteral("unidad"), d.getCelda(c.unidad, fila)},
      {QStringLiteral("precioUnitario"), seisDecimales(numero(c.precioUnitario))},
      {QStringLiteral("importe"), centavos(numero(c.subtotal))},
      {QStringLiteral("descuento"), centavos(numero(c.descuento))},
      {QStringLiteral("base"), centavos(numero(c.precioVenta))},
      {QStringLiteral("precioConImpuestos"), seisDecimales(numero(c.precio))},
      {QStringLiteral("impuestos"), impuestos},
      {QStringLiteral("tipo"), d.getCelda(c.tipo, fila)},
      {QStringLiteral("cabecera"), d.getCeldaAsInt(c.cabecera, fila)},
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
  const TColumnasDetalle columnas(detalle);
  for (int i = 0; i < detalle.getRowCount(); ++i) conceptos.append(concepto(detalle, columnas, i));
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
