#include "PortalCliente.h"

#include <QLocale>
#include <QUrlQuery>

#include "EstadoTickets.h"
#include "Timbrado.h"
#include "ValidacionCampos.h"

namespace {

QString h(const QString& texto) { return texto.toHtmlEscaped(); }

QString pesos(double monto) {
  return QStringLiteral("$ ") + QLocale(QLocale::English).toString(monto, 'f', 2);
}

QByteArray pagina(const QString& cuerpo) {
  return QStringLiteral(
             "<!DOCTYPE html><html lang=\"es\"><head><meta charset=\"utf-8\">"
             "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
             "<title>Facturación electrónica</title><style>"
             "body{font-family:sans-serif;max-width:34em;margin:1em auto;padding:0 1em;"
             "color:#16324F}h1{font-size:1.4em}table{border-collapse:collapse;width:100%}"
             "td{padding:.3em;border-bottom:1px solid #ddd}td+td{text-align:right}"
             "label{display:block;margin-top:.8em}input{font-size:1.1em;width:100%;"
             "box-sizing:border-box;padding:.4em}button{margin-top:1em;font-size:1.1em;"
             "padding:.5em 1.5em;background:#1E6BB8;color:#fff;border:0;border-radius:4px}"
             ".aviso{background:#FDECEA;color:#8A1C1C;padding:.6em;border-radius:4px}"
             ".listo{background:#E6F4EA;padding:.6em;border-radius:4px}</style></head><body>"
             "<h1>Facturación electrónica</h1>%1</body></html>")
      .arg(cuerpo)
      .toUtf8();
}

QString formularioIdentificador(const QString& aviso) {
  return (aviso.isEmpty() ? QString() : QStringLiteral("<p class=\"aviso\">%1</p>").arg(h(aviso))) +
         QStringLiteral(
             "<form method=\"get\" action=\"/portal\"><label>Identificador del ticket"
             "<input name=\"id\" required></label><button>Buscar</button></form>");
}

QString datosTicket(const QJsonObject& registro) {
  const QJsonObject t = registro.value(QStringLiteral("ticket")).toObject();
  return QStringLiteral(
             "<table><tr><td>Ticket</td><td>%1</td></tr><tr><td>Fecha</td><td>%2</td></tr>"
             "<tr><td>Total</td><td>%3</td></tr></table>")
      .arg(registro.value(QStringLiteral("ticketNo")).toInteger())
      .arg(h(t.value(QStringLiteral("fechaHora")).toString().replace(QLatin1Char('T'), ' ')),
           h(pesos(t.value(QStringLiteral("total")).toDouble())));
}

QString facturaHecha(const QString& uuid) {
  return QStringLiteral(
             "<p class=\"listo\">Este ticket ya está facturado.<br>Folio fiscal (UUID): "
             "<b>%1</b></p><p><a href=\"/portal/facturas/%1.pdf\">Descargar la factura "
             "(PDF)</a></p>")
      .arg(h(uuid));
}

QString formularioFactura(const QString& identificador, const QString& receptor,
                          const QString& nombre, const QString& aviso) {
  return (aviso.isEmpty() ? QString() : QStringLiteral("<p class=\"aviso\">%1</p>").arg(h(aviso))) +
         QStringLiteral(
             "<form method=\"post\" action=\"/portal\"><input type=\"hidden\" name=\"id\" "
             "value=\"%1\"><label>RFC<input name=\"receptor\" value=\"%2\" maxlength=\"13\" "
             "required autocapitalize=\"characters\"></label><label>Nombre o razón social"
             "<input name=\"nombre\" value=\"%3\" required></label><button>Facturar</button>"
             "</form>")
             .arg(h(identificador), h(receptor), h(nombre));
}

PaginaPortal noEncontrado(const QString& identificador) {
  return {404,
          pagina(formularioIdentificador(
              QStringLiteral("No se encontró el ticket '%1'. Revise el identificador impreso en "
                             "su ticket.")
                  .arg(identificador))),
          QStringLiteral("404 %1").arg(identificador)};
}

}  // namespace

PaginaPortal portalMuestra(const AlmacenTickets& almacen, const QString& identificador) {
  const QString id = identificador.trimmed();
  if (id.isEmpty()) return {200, pagina(formularioIdentificador({})), QStringLiteral("200")};
  const QJsonObject registro = almacen.registro(id);
  if (registro.isEmpty()) return noEncontrado(id);
  const QString uuid = registro.value(QStringLiteral("factura")).toString();
  const QString resto = !uuid.isEmpty() ? facturaHecha(uuid)
                        : registro.value(QStringLiteral("estado")).toInt() == ESTADO_FACTURA_GLOBAL
                            ? QStringLiteral(
                                  "<p class=\"aviso\">Este ticket ya se incluyó en la "
                                  "factura global del negocio.</p>")
                            : formularioFactura(id, {}, {}, {});
  return {200, pagina(datosTicket(registro) + resto), QStringLiteral("200 %1").arg(id)};
}

PaginaPortal portalFactura(AlmacenTickets& almacen, const QByteArray& formulario) {
  // Form encoding writes blanks as '+'.
  QByteArray texto = formulario;
  texto.replace('+', ' ');
  const QUrlQuery campos(QString::fromUtf8(texto));
  const auto valor = [&campos](const char* nombre) {
    return campos.queryItemValue(QLatin1String(nombre), QUrl::FullyDecoded).trimmed();
  };
  const QString id = valor("id"), receptor = valor("receptor").toUpper(), nombre = valor("nombre");
  const QJsonObject registro = almacen.registro(id);
  if (id.isEmpty() || registro.isEmpty()) return noEncontrado(id);
  // Said in the customer's words before the service's own checks.
  QString aviso;
  if (!campos::rfcBienFormado(receptor, QStringLiteral("receptor")))
    aviso = QStringLiteral(
                "El RFC '%1' no es válido: son 12 caracteres para una empresa y 13 "
                "para una persona física.")
                .arg(receptor);
  else if (nombre.isEmpty())
    aviso = QStringLiteral("Escriba el nombre o la razón social a la que se factura.");
  if (!aviso.isEmpty())
    return {400, pagina(datosTicket(registro) + formularioFactura(id, receptor, nombre, aviso)),
            QStringLiteral("400 ") + aviso};
  const ResultadoLlamada r = marcaFacturadoEnPortal(
      almacen, id,
      {{QStringLiteral("receptor"), receptor}, {QStringLiteral("nombre"), nombre.toUpper()}});
  // Invoiced now, or before (a second press, another tab): either way the invoice is shown.
  const QString uuid = almacen.registro(id).value(QStringLiteral("factura")).toString();
  if (!uuid.isEmpty())
    return {r.estado, pagina(datosTicket(registro) + facturaHecha(uuid)), r.bitacora};
  const QString mensaje = r.cuerpo.value(QStringLiteral("mensaje")).toString();
  return {r.estado,
          pagina(datosTicket(registro) + formularioFactura(id, receptor, nombre, mensaje)),
          r.bitacora};
}
