#include "Timbrado.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QUuid>

#include "ValidacionCampos.h"

namespace {

// The HTTP statuses these answers use.
namespace Estado {
constexpr int Ok = 200, Created = 201, NotFound = 404, Conflict = 409, InternalServerError = 500;
}

QString normalizado(const QJsonValue& v) { return v.toString().trimmed().toUpper(); }

QStringList identificadores(const QJsonObject& factura, const QString& campo) {
  QStringList ids;
  for (const QJsonValue& v : factura.value(campo).toArray()) ids << v.toString().trimmed();
  return ids;
}

ResultadoLlamada falla(int estado, const QString& mensaje) {
  return {estado, {{QStringLiteral("ok"), false}, {QStringLiteral("mensaje"), mensaje}}, mensaje};
}

ResultadoLlamada timbrada(int estado, const QJsonObject& factura, const QString& bitacora) {
  return {estado,
          {{QStringLiteral("ok"), true},
           {QStringLiteral("uuid"), factura.value(QStringLiteral("uuid"))},
           {QStringLiteral("fechaTimbrado"), factura.value(QStringLiteral("fechaTimbrado"))}},
          bitacora};
}

// Whether an earlier invoice is this same request again: same document type, receiver and
// set of tickets. Only then may a retry get its UUID back.
bool esLaMisma(const QJsonObject& previa, const QString& tipo, const QString& receptor,
               const QStringList& tickets) {
  const QJsonObject f = previa.value(QStringLiteral("factura")).toObject();
  const QStringList suyos = identificadores(f, QStringLiteral("tickets"));
  return previa.value(QStringLiteral("tipoDocumento")).toString() == tipo &&
         normalizado(f.value(QStringLiteral("receptor")).toObject().value(QStringLiteral("rfc"))) ==
             receptor &&
         QSet<QString>(suyos.cbegin(), suyos.cend()) ==
             QSet<QString>(tickets.cbegin(), tickets.cend());
}

// What makes two requests under one idempotency key the same: the business and the invoice
// asked for, whatever the credentials, key order or spacing.
QString huella(const QString& rfc, const QJsonObject& factura) {
  const QJsonObject peticion{{QStringLiteral("rfc"), rfc}, {QStringLiteral("factura"), factura}};
  return QString::fromLatin1(
      QCryptographicHash::hash(QJsonDocument(peticion).toJson(QJsonDocument::Compact),
                               QCryptographicHash::Sha256)
          .toHex());
}

QJsonObject registroFactura(const QString& rfc, const QJsonObject& cuerpo, const QString& tipo,
                            const QJsonObject& factura) {
  return {
      {QStringLiteral("uuid"), QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()},
      {QStringLiteral("rfc"), rfc},
      {QStringLiteral("usuario"), cuerpo.value(QStringLiteral("usuario"))},
      {QStringLiteral("cuenta"), cuerpo.value(QStringLiteral("cuenta"))},
      {QStringLiteral("tipoDocumento"), tipo},
      {QStringLiteral("fechaTimbrado"), QDateTime::currentDateTime().toString(Qt::ISODate)},
      {QStringLiteral("factura"), factura},
  };
}

ResultadoLlamada noGuardada(const QString& fallo) {
  return {Estado::InternalServerError,
          {{QStringLiteral("ok"), false},
           {QStringLiteral("mensaje"), QStringLiteral("No se pudo guardar la factura")}},
          QStringLiteral("no se pudo guardar: ") + fallo};
}

}  // namespace

ResultadoLlamada timbra(AlmacenTickets& almacen, const QJsonObject& cuerpo, const QString& clave) {
  const QString rfc = normalizado(cuerpo.value(QStringLiteral("rfc")));
  QJsonObject factura = cuerpo.value(QStringLiteral("factura")).toObject();
  const QString huellaPeticion = clave.isEmpty() ? QString() : huella(rfc, factura);
  if (!clave.isEmpty()) {
    const QJsonObject previa = almacen.facturaPorClave(rfc, clave);
    if (!previa.isEmpty()) {
      if (previa.value(QStringLiteral("idempotencia"))
              .toObject()
              .value(QStringLiteral("huella"))
              .toString() == huellaPeticion)
        return timbrada(Estado::Ok, previa,
                        QStringLiteral("clave %1 ya usada: ").arg(clave) +
                            previa.value(QStringLiteral("uuid")).toString());
      return falla(
          Estado::Conflict,
          QStringLiteral("La clave de idempotencia '%1' ya se usó con otra petición").arg(clave));
    }
  }
  const QString tipo = factura.value(QStringLiteral("tipoDocumento")).toString();
  const bool esFactura = tipo == QLatin1String("FAC");
  const QString receptor = normalizado(
      factura.value(QStringLiteral("receptor")).toObject().value(QStringLiteral("rfc")));
  const QStringList tickets = identificadores(factura, QStringLiteral("tickets"));

  // Another business's ticket or invoice is answered as unknown, as it would be to a stranger.
  QList<QJsonObject> registros;
  for (const QString& id : tickets) {
    const QJsonObject r = almacen.registro(id);
    if (r.isEmpty() || r.value(QStringLiteral("rfc")).toString() != rfc)
      return falla(Estado::NotFound, QStringLiteral("No se encontró el ticket '%1'").arg(id));
    registros << r;
  }
  for (const QString& uuid : identificadores(factura, QStringLiteral("relacionados"))) {
    const QJsonObject f = almacen.factura(uuid);
    if (f.isEmpty() || f.value(QStringLiteral("rfc")).toString() != rfc)
      return falla(Estado::NotFound,
                   QStringLiteral("No se encontró la factura relacionada '%1'").arg(uuid));
  }

  if (esFactura) {
    for (const QJsonObject& r : registros) {
      const QString previa = r.value(QStringLiteral("factura")).toString();
      if (previa.isEmpty()) continue;
      const QJsonObject anterior = almacen.factura(previa);
      if (esLaMisma(anterior, tipo, receptor, tickets))
        return timbrada(Estado::Ok, anterior, QStringLiteral("ya timbrada: ") + previa);
      return falla(Estado::Conflict, QStringLiteral("El ticket %1 ya fue facturado")
                                         .arg(r.value(QStringLiteral("ticketNo")).toInteger()));
    }
  }

  // An invoice without concepts of its own carries the lines of the tickets it covers.
  if (factura.value(QStringLiteral("conceptos")).toArray().isEmpty()) {
    QJsonArray conceptos;
    for (const QJsonObject& r : registros)
      for (const QJsonValue& c : r.value(QStringLiteral("ticket"))
                                     .toObject()
                                     .value(QStringLiteral("conceptos"))
                                     .toArray())
        conceptos.append(c);
    factura.insert(QStringLiteral("conceptos"), conceptos);
  }

  QJsonObject registro = registroFactura(rfc, cuerpo, tipo, factura);
  if (!clave.isEmpty())
    registro.insert(
        QStringLiteral("idempotencia"),
        QJsonObject{{QStringLiteral("clave"), clave}, {QStringLiteral("huella"), huellaPeticion}});
  const int estado = receptor == RFC_PUBLICO_GENERAL ? ESTADO_FACTURA_GLOBAL : ESTADO_FACTURADO;
  QString fallo;
  // A credit note refers to tickets without taking them out of the invoiceable ones.
  if (!almacen.agregaFactura(registro, esFactura ? tickets : QStringList(), estado, &fallo))
    return noGuardada(fallo);
  return timbrada(Estado::Created, registro,
                  QStringLiteral("%1 %2 para %3: %4")
                      .arg(rfc, tipo, receptor, registro.value(QStringLiteral("uuid")).toString()));
}

ResultadoLlamada facturaEnPortal(AlmacenTickets& almacen, const QString& identificador,
                                 const QJsonObject& receptor) {
  const QJsonObject t = almacen.registro(identificador);
  if (t.isEmpty())
    return falla(Estado::NotFound,
                 QStringLiteral("No se encontró el ticket '%1'").arg(identificador));
  if (!t.value(QStringLiteral("factura")).toString().isEmpty())
    return falla(Estado::Conflict, QStringLiteral("El ticket %1 ya fue facturado")
                                       .arg(t.value(QStringLiteral("ticketNo")).toInteger()));
  const QJsonObject ticket = t.value(QStringLiteral("ticket")).toObject();
  const QJsonObject factura{
      {QStringLiteral("tipoDocumento"), QStringLiteral("FAC")},
      {QStringLiteral("formaPago"), QStringLiteral("99")},
      {QStringLiteral("metodoPago"), QStringLiteral("PUE")},
      {QStringLiteral("moneda"), QStringLiteral("MXN")},
      {QStringLiteral("usoCFDI"), QStringLiteral("G03")},
      {QStringLiteral("receptor"), receptor},
      {QStringLiteral("tickets"), QJsonArray{identificador}},
      {QStringLiteral("relacionados"), QJsonArray()},
      {QStringLiteral("conceptos"), ticket.value(QStringLiteral("conceptos"))},
      {QStringLiteral("subtotal"), ticket.value(QStringLiteral("subtotal"))},
      {QStringLiteral("descuento"), ticket.value(QStringLiteral("descuento"))},
      {QStringLiteral("total"), ticket.value(QStringLiteral("total"))},
  };
  QJsonObject registro =
      registroFactura(t.value(QStringLiteral("rfc")).toString(), t, QStringLiteral("FAC"), factura);
  registro.insert(QStringLiteral("origen"), QStringLiteral("portal"));
  QString fallo;
  if (!almacen.agregaFactura(registro, {identificador}, ESTADO_FACTURADO, &fallo))
    return noGuardada(fallo);
  return timbrada(Estado::Created, registro,
                  QStringLiteral("portal: ticket %1 facturado a %2: %3")
                      .arg(identificador, receptor.value(QStringLiteral("rfc")).toString(),
                           registro.value(QStringLiteral("uuid")).toString()));
}
