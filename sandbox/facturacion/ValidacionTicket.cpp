#include "ValidacionTicket.h"

#include <QDateTime>
#include <QJsonArray>
#include <cmath>
#include <limits>

#include "ValidacionCampos.h"

using campos::falta;
using campos::numero;
using campos::primero;
using campos::texto;

namespace {

const QStringList& nombresImpuestos() {
  static const QStringList n = {QStringLiteral("ivaTrasladado"), QStringLiteral("ivaRetenido"),
                                QStringLiteral("iepsTrasladado"), QStringLiteral("iepsRetenido"),
                                QStringLiteral("isrRetenido")};
  return n;
}

QString validaImpuestos(const QJsonObject& concepto, const QString& ruta) {
  const QJsonValue v = concepto.value(QStringLiteral("impuestos"));
  if (v.isUndefined() || v.isNull()) return {};
  if (!v.isObject()) return QStringLiteral("El campo '%1.impuestos' debe ser un objeto").arg(ruta);
  const QJsonObject impuestos = v.toObject();
  for (const QString& nombre : nombresImpuestos()) {
    const QJsonValue i = impuestos.value(nombre);
    if (i.isUndefined() || i.isNull()) continue;
    const QString r = ruta + QStringLiteral(".impuestos.") + nombre;
    if (!i.isObject()) return QStringLiteral("El campo '%1' debe ser un objeto").arg(r);
    const QString e =
        primero({texto(i.toObject(), QStringLiteral("tasa"), r + ".tasa", false, false),
                 numero(i.toObject(), QStringLiteral("importe"), r + ".importe", true)});
    if (!e.isEmpty()) return e;
  }
  return {};
}

QString validaPago(const QJsonValue& v, const QString& ruta) {
  if (!v.isObject()) return QStringLiteral("El campo '%1' debe ser un objeto").arg(ruta);
  const QJsonObject p = v.toObject();
  return primero({texto(p, QStringLiteral("formaPago"), ruta + ".formaPago", true, true),
                  numero(p, QStringLiteral("importe"), ruta + ".importe", true, 0),
                  texto(p, QStringLiteral("referencia"), ruta + ".referencia", false, false)});
}

}  // namespace

QString validaConcepto(const QJsonValue& v, const QString& ruta) {
  if (!v.isObject()) return QStringLiteral("El campo '%1' debe ser un objeto").arg(ruta);
  const QJsonObject c = v.toObject();
  return primero({
      numero(c, QStringLiteral("cantidad"), ruta + ".cantidad", true, 0),
      texto(c, QStringLiteral("descripcion"), ruta + ".descripcion", true, true),
      numero(c, QStringLiteral("precioUnitario"), ruta + ".precioUnitario", true),
      numero(c, QStringLiteral("importe"), ruta + ".importe", true),
      numero(c, QStringLiteral("descuento"), ruta + ".descuento", false, 0),
      texto(c, QStringLiteral("claveProductoServicio"), ruta + ".claveProductoServicio", false,
            false),
      texto(c, QStringLiteral("claveUnidad"), ruta + ".claveUnidad", false, false),
      validaImpuestos(c, ruta),
  });
}

QString validaEmisorYCredenciales(const QJsonObject& cuerpo) {
  const QString e = primero(
      {texto(cuerpo, QStringLiteral("rfc"), QStringLiteral("rfc"), true, true),
       texto(cuerpo, QStringLiteral("usuario"), QStringLiteral("usuario"), true, true),
       texto(cuerpo, QStringLiteral("cuenta"), QStringLiteral("cuenta"), true, true),
       texto(cuerpo, QStringLiteral("contrasena"), QStringLiteral("contrasena"), true, true)});
  if (!e.isEmpty()) return e;
  if (!campos::rfcBienFormado(cuerpo.value(QStringLiteral("rfc")).toString(),
                              QStringLiteral("rfc")))
    return QStringLiteral("El RFC del emisor no es válido");
  return {};
}

QString validaTicket(const QJsonObject& cuerpo) {
  const QJsonValue v = cuerpo.value(QStringLiteral("ticket"));
  if (v.isUndefined() || v.isNull()) return falta(QStringLiteral("ticket"));
  if (!v.isObject()) return QStringLiteral("El campo 'ticket' debe ser un objeto");
  const QJsonObject t = v.toObject();

  const QJsonValue no = t.value(QStringLiteral("ticketNo"));
  if (no.isUndefined() || no.isNull()) return falta(QStringLiteral("ticket.ticketNo"));
  // Ticket numbers are 32-bit integers at the shop; a larger one would collide with others
  // once cut to that size.
  if (!no.isDouble() || no.toDouble() != std::floor(no.toDouble()) || no.toDouble() < 1 ||
      no.toDouble() > std::numeric_limits<qint32>::max())
    return QStringLiteral(
        "El campo 'ticket.ticketNo' debe ser un número entero entre 1 y 2147483647");

  QString e = texto(t, QStringLiteral("fechaHora"), QStringLiteral("ticket.fechaHora"), true, true);
  if (!e.isEmpty()) return e;
  if (!QDateTime::fromString(t.value(QStringLiteral("fechaHora")).toString(), Qt::ISODate)
           .isValid())
    return QStringLiteral("El campo 'ticket.fechaHora' no es una fecha y hora válida");

  e = primero({numero(t, QStringLiteral("subtotal"), QStringLiteral("ticket.subtotal"), true, 0),
               numero(t, QStringLiteral("descuento"), QStringLiteral("ticket.descuento"), true, 0),
               numero(t, QStringLiteral("impuestos"), QStringLiteral("ticket.impuestos"), true),
               numero(t, QStringLiteral("total"), QStringLiteral("ticket.total"), true, 0),
               numero(t, QStringLiteral("pagado"), QStringLiteral("ticket.pagado"), false, 0),
               numero(t, QStringLiteral("cambio"), QStringLiteral("ticket.cambio"), false, 0)});
  if (!e.isEmpty()) return e;

  const QJsonValue conceptos = t.value(QStringLiteral("conceptos"));
  if (!conceptos.isArray() || conceptos.toArray().isEmpty())
    return QStringLiteral("El ticket debe tener al menos un concepto en 'ticket.conceptos'");
  const QJsonArray lista = conceptos.toArray();
  for (qsizetype i = 0; i < lista.size(); ++i) {
    e = validaConcepto(lista.at(i), QStringLiteral("ticket.conceptos[%1]").arg(i));
    if (!e.isEmpty()) return e;
  }

  const QJsonValue pagos = t.value(QStringLiteral("pagos"));
  if (pagos.isUndefined() || pagos.isNull()) return falta(QStringLiteral("ticket.pagos"));
  if (!pagos.isArray()) return QStringLiteral("El campo 'ticket.pagos' debe ser una lista");
  const QJsonArray listaPagos = pagos.toArray();
  for (qsizetype i = 0; i < listaPagos.size(); ++i) {
    e = validaPago(listaPagos.at(i), QStringLiteral("ticket.pagos[%1]").arg(i));
    if (!e.isEmpty()) return e;
  }
  return {};
}
