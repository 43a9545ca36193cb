#include "facturacion/facturaTicket.h"

#include <QRegularExpression>

#include "facturacion/rfc.h"
#include "operaciones/clientes.h"
#include "util/utilerias.h"
#include "util/validaciones.h"

const QVector<TclaveSAT>& u_catalogoRegimenFiscal() {
  static const QVector<TclaveSAT> c = {
      {QStringLiteral("601"), QStringLiteral("General de Ley Personas Morales"), false, true},
      {QStringLiteral("603"), QStringLiteral("Personas Morales con Fines no Lucrativos"), false,
       true},
      {QStringLiteral("605"), QStringLiteral("Sueldos y Salarios e Ingresos Asimilados a Salarios"),
       true, false},
      {QStringLiteral("606"), QStringLiteral("Arrendamiento"), true, false},
      {QStringLiteral("607"), QStringLiteral("Régimen de Enajenación o Adquisición de Bienes"),
       true, false},
      {QStringLiteral("608"), QStringLiteral("Demás ingresos"), true, false},
      {QStringLiteral("610"),
       QStringLiteral("Residentes en el Extranjero sin Establecimiento Permanente en México"), true,
       true},
      {QStringLiteral("611"), QStringLiteral("Ingresos por Dividendos (socios y accionistas)"),
       true, false},
      {QStringLiteral("612"),
       QStringLiteral("Personas Físicas con Actividades Empresariales y Profesionales"), true,
       false},
      {QStringLiteral("614"), QStringLiteral("Ingresos por intereses"), true, false},
      {QStringLiteral("615"), QStringLiteral("Régimen de los ingresos por obtención de premios"),
       true, false},
      {QStringLiteral("616"), QStringLiteral("Sin obligaciones fiscales"), true, false},
      {QStringLiteral("620"),
       QStringLiteral("Sociedades Cooperativas de Producción que optan por diferir sus ingresos"),
       false, true},
      {QStringLiteral("621"), QStringLiteral("Incorporación Fiscal"), true, false},
      {QStringLiteral("622"),
       QStringLiteral("Actividades Agrícolas, Ganaderas, Silvícolas y Pesqueras"), false, true},
      {QStringLiteral("623"), QStringLiteral("Opcional para Grupos de Sociedades"), false, true},
      {QStringLiteral("624"), QStringLiteral("Coordinados"), false, true},
      {QStringLiteral("625"),
       QStringLiteral("Régimen de las Actividades Empresariales con ingresos a través de "
                      "Plataformas Tecnológicas"),
       true, false},
      {QStringLiteral("626"), QStringLiteral("Régimen Simplificado de Confianza"), true, true},
  };
  return c;
}

const QVector<TclaveSAT>& u_catalogoUsoCFDI() {
  static const QVector<TclaveSAT> c = {
      {QStringLiteral("G01"), QStringLiteral("Adquisición de mercancías")},
      {QStringLiteral("G02"), QStringLiteral("Devoluciones, descuentos o bonificaciones")},
      {QStringLiteral("G03"), QStringLiteral("Gastos en general")},
      {QStringLiteral("I01"), QStringLiteral("Construcciones")},
      {QStringLiteral("I02"), QStringLiteral("Mobiliario y equipo de oficina por inversiones")},
      {QStringLiteral("I03"), QStringLiteral("Equipo de transporte")},
      {QStringLiteral("I04"), QStringLiteral("Equipo de computo y accesorios")},
      {QStringLiteral("I08"), QStringLiteral("Otra maquinaria y equipo")},
      {QStringLiteral("D01"), QStringLiteral("Honorarios médicos, dentales y gastos hospitalarios"),
       true, false},
      {QStringLiteral("D02"), QStringLiteral("Gastos médicos por incapacidad o discapacidad"), true,
       false},
      {QStringLiteral("D04"), QStringLiteral("Donativos"), true, false},
      {QStringLiteral("D10"), QStringLiteral("Pagos por servicios educativos (colegiaturas)"), true,
       false},
      {QStringLiteral("S01"), QStringLiteral("Sin efectos fiscales")},
      {QStringLiteral("CP01"), QStringLiteral("Pagos")},
  };
  return c;
}

const QVector<TclaveSAT>& u_catalogoFormaPago() {
  static const QVector<TclaveSAT> c = {
      {QStringLiteral("01"), QStringLiteral("Efectivo")},
      {QStringLiteral("02"), QStringLiteral("Cheque nominativo")},
      {QStringLiteral("03"), QStringLiteral("Transferencia electrónica de fondos")},
      {QStringLiteral("04"), QStringLiteral("Tarjeta de crédito")},
      {QStringLiteral("05"), QStringLiteral("Monedero electrónico")},
      {QStringLiteral("06"), QStringLiteral("Dinero electrónico")},
      {QStringLiteral("08"), QStringLiteral("Vales de despensa")},
      {QStringLiteral("28"), QStringLiteral("Tarjeta de débito")},
      {QStringLiteral("29"), QStringLiteral("Tarjeta de servicios")},
      {QStringLiteral("99"), QStringLiteral("Por definir")},
  };
  return c;
}

QString u_descripcionClaveSAT(const QVector<TclaveSAT>& catalogo, const QString& clave) {
  for (const TclaveSAT& c : catalogo)
    if (c.clave == clave) return c.clave + QLatin1Char(' ') + c.descripcion;
  return clave;
}

bool esRfcValido(const QString& rfc) { return u_revisaRfc(rfc).valido; }

namespace {

const TclaveSAT* busca(const QVector<TclaveSAT>& catalogo, const QString& clave) {
  for (const TclaveSAT& c : catalogo)
    if (c.clave == clave) return &c;
  return nullptr;
}

}  // namespace

QString u_validaReceptorFactura(const TreceptorFactura& r) {
  const QString rfc = r.rfc.trimmed().toUpper();
  if (rfc.isEmpty()) return QStringLiteral("Capture el RFC del cliente");
  if (rfc == QLatin1String(RFC_PUBLICO_GENERAL))
    return QStringLiteral(
        "El RFC genérico de público en general no se factura por ticket: el ticket entra en la "
        "factura global");
  if (!esRfcValido(rfc)) return QStringLiteral("El RFC '%1' no es válido").arg(rfc);
  if (r.nombre.trimmed().isEmpty())
    return QStringLiteral("Capture el nombre o razón social del cliente");
  if (r.codigoPostal.trimmed().isEmpty() || !esCodigoPostalValido(r.codigoPostal))
    return QStringLiteral("El código postal del cliente debe tener 5 dígitos");
  const bool fisica = rfc.size() == 13;
  const TclaveSAT* regimen = busca(u_catalogoRegimenFiscal(), r.regimenFiscal);
  if (!regimen) return QStringLiteral("Seleccione el régimen fiscal del cliente");
  if (fisica ? !regimen->fisica : !regimen->moral)
    return QStringLiteral("El régimen fiscal %1 no corresponde a una persona %2")
        .arg(regimen->clave, fisica ? QStringLiteral("física") : QStringLiteral("moral"));
  const TclaveSAT* uso = busca(u_catalogoUsoCFDI(), r.usoCFDI);
  if (!uso) return QStringLiteral("Seleccione el uso del CFDI");
  if (fisica ? !uso->fisica : !uso->moral)
    return QStringLiteral("El uso de CFDI %1 no corresponde a una persona %2")
        .arg(uso->clave, fisica ? QStringLiteral("física") : QStringLiteral("moral"));
  if (!r.correo.trimmed().isEmpty() && !esCorreoValido(r.correo))
    return QStringLiteral("El correo electrónico no es válido");
  return QString();
}

TformaPagoTicket calculaFormaDePagoPorTicket(double total, const CmidTierResponse& pagos) {
  TformaPagoTicket f;
  double resta = total;
  for (int i = 0; i < pagos.getRowCount(); ++i) {
    const double importe =
        u_strToFloat(pagos.getCelda(QStringLiteral("puntoFormaPagoAplicada_valor"), i));
    resta -= importe;
    if (importe > f.importe) {
      f.importe = importe;
      f.clave = pagos.getCelda(QStringLiteral("formaPago_id"), i);
    }
  }
  if (resta > 0 && resta > f.importe) {
    f.clave = QStringLiteral("01");
    f.importe = resta;
  }
  if (f.clave.size() < 2) f.clave = QStringLiteral("0") + f.clave.left(1);
  return f;
}

QString u_compruebaDatosFacturacion(const TNegocio& negocio, bool hayUsuarioEnLinea) {
  QString texto = QStringLiteral("No es posible realizar facturación:\r");
  bool listo = true;
  const TDatosFiscales& fiscales = negocio.getDatosFiscales();
  if (fiscales.getDireccion().getCodigoPostal().trimmed().isEmpty()) {
    texto += QStringLiteral("\r - no se encontro: emisor lugar de expedición.");
    listo = false;
  }
  if (fiscales.getRegimenFiscal().trimmed().isEmpty()) {
    texto += QStringLiteral("\r - no se encontro: régimen fiscal");
    listo = false;
  }
  if (!hayUsuarioEnLinea) {
    texto += QStringLiteral("\r - no se encontro: datos de usuario en línea.");
    listo = false;
  }
  if (listo) return QString();
  return texto + QStringLiteral("\r\rAgregue datos faltantes desde el apartado 'Configuración'.");
}

datosFacturar u_preparaFacturaTicket(const TNegocio& negocio, const CmidTierResponse& ticket,
                                     const TformaPagoTicket& forma,
                                     const TreceptorFactura& receptor) {
  datosFacturar d;
  d.ticketsReferencia << ticket.getCelda(QStringLiteral("puntoOperacion_uuid")).trimmed();
  d.tipoDocumento = QStringLiteral("FAC");
  d.formaPago = forma.clave;
  d.metodoPago = QStringLiteral("PUE");
  d.lugarExpedicion = negocio.getDatosFiscales().getDireccion().getCodigoPostal().trimmed();
  d.moneda = QStringLiteral("MXN");
  d.receptorRfc = receptor.rfc.trimmed().toUpper();
  d.receptorNombre = receptor.nombre.trimmed();
  d.receptorCodigoPostal = receptor.codigoPostal.trimmed();
  d.receptorRegimen = receptor.regimenFiscal;
  d.receptorCorreo = receptor.correo.trimmed();
  d.usoCFDI = receptor.usoCFDI;
  d.emisorNombre = negocio.getNombre();
  d.emisorRegimen = negocio.getDatosFiscales().getRegimenFiscal();
  const auto dinero = [&ticket](const char* campo) {
    return u_floatToStr(u_truncaDecimales(
        ticket.getCeldaAsFloat(QStringLiteral("puntoOperacion_") + QLatin1String(campo)), 2));
  };
  d.subtotal = dinero("subtotal");
  d.descuento = dinero("descuento");
  d.total = dinero("total");
  return d;
}
