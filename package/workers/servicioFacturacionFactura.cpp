#include "workers/servicioFacturacionFactura.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include "operaciones/clientes.h"
#include "util/utilerias.h"
#include "workers/clienteHttp.h"

namespace {

double numero(const QString& texto) { return u_strToFloat(texto); }

QJsonArray lista(const QStringList& textos) {
  QJsonArray a;
  for (const QString& t : textos)
    if (!t.trimmed().isEmpty()) a.append(t.trimmed());
  return a;
}

// A concept row of the request's table; the column names are the ones the module fills.
QJsonObject concepto(const TTablaLT& t, int fila) {
  const auto celda = [&t, fila](const char* columna) {
    return t.getCelda(QLatin1String(columna), fila);
  };
  const double cantidad = numero(celda("_cantidad"));
  const double precio = numero(celda("_precioVenta"));
  const QString importe = celda("_importe");
  return {
      {QStringLiteral("cantidad"), cantidad},
      {QStringLiteral("descripcion"), celda("inventarioProducto_nombre")},
      {QStringLiteral("clave"), celda("inventarioProducto_clave")},
      {QStringLiteral("claveProductoServicio"), celda("_claveSATproductoServicio")},
      {QStringLiteral("claveUnidad"), celda("inventarioUnidadesMedidaBorrado_claveSAT33")},
      {QStringLiteral("unidad"), celda("inventarioUnidadesMedida_descripcion")},
      {QStringLiteral("precioUnitario"), precio},
      {QStringLiteral("importe"),
       importe.isEmpty() ? u_truncaDecimales(cantidad * precio, 2) : numero(importe)},
      {QStringLiteral("descuento"), numero(celda("_descuento"))},
  };
}

// A concept's taxes as the service reads a ticket line's: one object per tax by its name
// (ivaTrasladado, ivaRetenido, iepsTrasladado, iepsRetenido, isrRetenido), each with its rate
// text and amount, plus its base and factor.
QJsonObject impuestosDe(const TticketImpuestos& t) {
  QJsonObject o;
  for (const Timpuesto& i : t.impuestos) {
    if (i.vacio()) continue;
    const bool retencion = i.tipo.startsWith(QLatin1String("Reten"), Qt::CaseInsensitive);
    QString nombre;
    if (i.clave == QLatin1String("002"))
      nombre = retencion ? QStringLiteral("ivaRetenido") : QStringLiteral("ivaTrasladado");
    else if (i.clave == QLatin1String("003"))
      nombre = retencion ? QStringLiteral("iepsRetenido") : QStringLiteral("iepsTrasladado");
    else if (i.clave == QLatin1String("001"))
      nombre = QStringLiteral("isrRetenido");
    else
      continue;
    o.insert(nombre, QJsonObject{{QStringLiteral("tasa"), i.tasa},
                                 {QStringLiteral("importe"), numero(i.importe)},
                                 {QStringLiteral("base"), numero(i.base)},
                                 {QStringLiteral("tipoFactor"), i.tipoFactor}});
  }
  return o;
}

}  // namespace

QUrl u_urlTimbrado(const QString& urlBase) {
  return u_urlServicio(urlBase, QStringLiteral("/api/v1/facturas"));
}

QJsonObject u_cuerpoTimbrado(const QString& rfc, const TcredencialesServicio& credenciales,
                             const datosFacturar& d) {
  QJsonObject receptor{{QStringLiteral("rfc"), d.receptorRfc.trimmed().toUpper()},
                       {QStringLiteral("nombre"), d.receptorNombre.trimmed()}};
  if (!d.receptorCodigoPostal.isEmpty())
    receptor.insert(QStringLiteral("codigoPostal"), d.receptorCodigoPostal);
  if (!d.receptorRegimen.isEmpty())
    receptor.insert(QStringLiteral("regimenFiscal"), d.receptorRegimen);
  if (!d.receptorCorreo.isEmpty()) receptor.insert(QStringLiteral("correo"), d.receptorCorreo);

  QJsonArray conceptos;
  for (int i = 0; i < d.conceptos.numFilas(); ++i) {
    QJsonObject c = concepto(d.conceptos, i);
    if (i < d.impuestos.size()) c.insert(QStringLiteral("impuestos"), impuestosDe(d.impuestos[i]));
    conceptos.append(c);
  }
  const QJsonObject factura{
      {QStringLiteral("tipoDocumento"), d.tipoDocumento},
      {QStringLiteral("formaPago"), d.formaPago},
      {QStringLiteral("metodoPago"), d.metodoPago},
      {QStringLiteral("moneda"), d.moneda},
      {QStringLiteral("lugarExpedicion"), d.lugarExpedicion},
      {QStringLiteral("usoCFDI"), d.usoCFDI},
      {QStringLiteral("emisor"), QJsonObject{{QStringLiteral("nombre"), d.emisorNombre},
                                             {QStringLiteral("regimenFiscal"), d.emisorRegimen}}},
      {QStringLiteral("receptor"), receptor},
      {QStringLiteral("tickets"), lista(d.ticketsReferencia)},
      {QStringLiteral("relacionados"), lista(d.relacionados)},
      {QStringLiteral("conceptos"), conceptos},
      {QStringLiteral("subtotal"), u_truncaDecimales(numero(d.subtotal), 2)},
      {QStringLiteral("descuento"), u_truncaDecimales(numero(d.descuento), 2)},
      {QStringLiteral("total"), u_truncaDecimales(numero(d.total), 2)},
  };
  return {{QStringLiteral("rfc"), rfc.trimmed()},
          {QStringLiteral("usuario"), credenciales.usuario},
          {QStringLiteral("cuenta"), credenciales.cuenta},
          {QStringLiteral("contrasena"), credenciales.contrasena},
          {QStringLiteral("factura"), factura}};
}

bool u_timbradoIncierto(const TresultadoTimbrado& r) {
  if (r.ok || !r.enviado) return false;
  return r.estadoHttp == 0 || r.estadoHttp >= 500 || r.estadoHttp == 409 ||
         (r.estadoHttp >= 200 && r.estadoHttp < 300);
}

TresultadoTimbrado u_leeRespuestaTimbrado(int estadoHttp, const QByteArray& cuerpo) {
  TresultadoTimbrado r;
  r.enviado = true;
  r.estadoHttp = estadoHttp;
  if (estadoHttp == 200 || estadoHttp == 201) {
    static const QRegularExpression formato(QStringLiteral(
        "^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
    const QJsonObject o = QJsonDocument::fromJson(cuerpo).object();
    const QString uuid = o.value(QStringLiteral("uuid")).toString().trimmed().toUpper();
    if (o.value(QStringLiteral("ok")).toBool() && formato.match(uuid).hasMatch()) {
      r.ok = true;
      r.uuid = uuid;
      r.fechaTimbrado = o.value(QStringLiteral("fechaTimbrado")).toString();
    } else {
      r.mensaje = QStringLiteral("Respuesta no válida del servicio de facturación");
    }
    return r;
  }
  r.mensaje = u_mensajeDeFallo(
      estadoHttp, cuerpo, {400, 404, 409, 422},
      QStringLiteral("El servicio de facturación rechazó la factura"),
      QStringLiteral("El servicio de facturación no pudo timbrar la factura (error %1)"));
  return r;
}
