#include "Timbrado.h"

#include <QDateTime>
#include <QJsonArray>
#include <QSet>
#include <QUuid>

#include "ValidacionFactura.h"

namespace {

using Estado = QHttpServerResponder::StatusCode;

QString normalizado(const QJsonValue& v) { return v.toString().trimmed().toUpper(); }

QStringList identificadores(const QJsonObject& factura, const QString& campo) {
  QStringList ids;
  for (const QJsonValue& v : factura.value(campo).toArray()) ids << v.toString().trimmed();
  return ids;
}

ResultadoTimbrado falla(Estado estado, const QString& mensaje) {
  return {estado, {{QStringLiteral("ok"), false}, {QStringLiteral("mensaje"), mensaje}}, mensaje};
}

ResultadoTimbrado timbrada(Estado estado, const QJsonObject& factura, const QString& bitacora) {
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

}  // namespace

ResultadoTimbrado timbra(AlmacenTickets& almacen, const QJsonObject& cuerpo) {
  const QString rfc = normalizado(cuerpo.value(QStringLiteral("rfc")));
  QJsonObject factura = cuerpo.value(QStringLiteral("factura")).toObject();
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

  const QJsonObject registro{
      {QStringLiteral("uuid"), QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()},
      {QStringLiteral("rfc"), rfc},
      {QStringLiteral("usuario"), cuerpo.value(QStringLiteral("usuario"))},
      {QStringLiteral("cuenta"), cuerpo.value(QStringLiteral("cuenta"))},
      {QStringLiteral("tipoDocumento"), tipo},
      {QStringLiteral("fechaTimbrado"), QDateTime::currentDateTime().toString(Qt::ISODate)},
      {QStringLiteral("factura"), factura},
  };
  const int estado = receptor == RFC_PUBLICO_GENERAL ? ESTADO_FACTURA_GLOBAL : ESTADO_FACTURADO;
  QString fallo;
  // A credit note refers to tickets without taking them out of the invoiceable ones.
  if (!almacen.agregaFactura(registro, esFactura ? tickets : QStringList(), estado, &fallo))
    return {Estado::InternalServerError,
            {{QStringLiteral("ok"), false},
             {QStringLiteral("mensaje"), QStringLiteral("No se pudo guardar la factura")}},
            QStringLiteral("no se pudo guardar: ") + fallo};
  return timbrada(Estado::Created, registro,
                  QStringLiteral("%1 %2 para %3: %4")
                      .arg(rfc, tipo, receptor, registro.value(QStringLiteral("uuid")).toString()));
}
