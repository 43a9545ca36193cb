#include "EstadoTickets.h"

#include <QDateTime>
#include <QJsonArray>
#include <QUuid>
#include <cmath>
#include <limits>

#include "ValidacionCampos.h"

namespace {

constexpr int POR_PAGINA_MAXIMO = 1000;
constexpr int GENERADOS_MAXIMO = 100000;
constexpr qint64 ENTERO_MAXIMO = std::numeric_limits<qint32>::max();

ResultadoLlamada invalida(const QString& mensaje) {
  return {400, {{QStringLiteral("ok"), false}, {QStringLiteral("mensaje"), mensaje}}, mensaje};
}

// An integer field within [minimo, maximo]; `porOmision` when it may be left out (< minimo
// when it is required).
QString entero(const QJsonObject& o, const QString& campo, qint64 minimo, qint64 maximo,
               qint64 porOmision, qint64* valor) {
  const QJsonValue v = o.value(campo);
  if (v.isUndefined() || v.isNull()) {
    if (porOmision < minimo) return campos::falta(campo);
    *valor = porOmision;
    return {};
  }
  const double d = v.toDouble();
  if (!v.isDouble() || d != std::floor(d) || d < minimo || d > maximo)
    return QStringLiteral("El campo '%1' debe ser un número entero entre %2 y %3")
        .arg(campo)
        .arg(minimo)
        .arg(maximo);
  *valor = static_cast<qint64>(d);
  return {};
}

QString fecha(const QJsonObject& o, const QString& campo, bool requerida, QDateTime* valor) {
  const QString e = campos::texto(o, campo, campo, requerida, true);
  if (!e.isEmpty() || !o.contains(campo)) return e;
  *valor = QDateTime::fromString(o.value(campo).toString(), Qt::ISODate);
  if (!valor->isValid())
    return QStringLiteral("El campo '%1' no es una fecha y hora válida").arg(campo);
  return {};
}

}  // namespace

ResultadoLlamada consultaEstado(const AlmacenTickets& almacen, const QJsonObject& cuerpo) {
  QDateTime desde, hasta;
  qint64 estado = 0, inicial = 0, porPagina = 0;
  const QString e = campos::primero({
      fecha(cuerpo, QStringLiteral("fechaIni"), true, &desde),
      fecha(cuerpo, QStringLiteral("fechaFin"), true, &hasta),
      entero(cuerpo, QStringLiteral("estado"), 0, 2, -1, &estado),
      entero(cuerpo, QStringLiteral("registroInicial"), 0, ENTERO_MAXIMO, -1, &inicial),
      entero(cuerpo, QStringLiteral("registrosPorPagina"), 1, POR_PAGINA_MAXIMO, 0, &porPagina),
  });
  if (!e.isEmpty()) return invalida(e);
  if (hasta < desde)
    return invalida(QStringLiteral("El campo 'fechaFin' es anterior a 'fechaIni'"));

  const QString rfc = cuerpo.value(QStringLiteral("rfc")).toString().trimmed().toUpper();
  const AlmacenTickets::Pagina p =
      almacen.consultaEstado(rfc, desde.toMSecsSinceEpoch(), hasta.toMSecsSinceEpoch(),
                             static_cast<int>(estado) + 1, inicial, static_cast<int>(porPagina));
  QJsonArray tickets;
  for (const QJsonValue& v : p.tickets) {
    QJsonObject t = v.toObject();
    t.insert(QStringLiteral("estado"), estado);
    tickets.append(t);
  }
  return {200,
          {{QStringLiteral("ok"), true},
           {QStringLiteral("total"), p.total},
           {QStringLiteral("registroInicial"), inicial},
           {QStringLiteral("registrosPorPagina"), porPagina},
           {QStringLiteral("tickets"), tickets}},
          QStringLiteral("%1 estado %2 desde %3: %4 de %5")
              .arg(rfc)
              .arg(estado)
              .arg(inicial)
              .arg(tickets.size())
              .arg(p.total)};
}

namespace {

// The receiver of an invoice made at the portal: the body's `receptor` and `nombre`, or the
// default customer.
QString receptorPortal(const QJsonObject& cuerpo, QJsonObject* receptor) {
  const QString e = campos::primero(
      {campos::texto(cuerpo, QStringLiteral("receptor"), QStringLiteral("receptor"), false, true),
       campos::texto(cuerpo, QStringLiteral("nombre"), QStringLiteral("nombre"), false, true)});
  if (!e.isEmpty()) return e;
  const QString rfc = cuerpo.contains(QStringLiteral("receptor"))
                          ? cuerpo.value(QStringLiteral("receptor")).toString().trimmed().toUpper()
                          : RFC_CLIENTE_PORTAL;
  if (!campos::rfcBienFormado(rfc, QStringLiteral("receptor")))
    return QStringLiteral("El campo 'receptor' no es un RFC válido");
  if (rfc == RFC_PUBLICO_GENERAL)
    return QStringLiteral("En el portal se factura a un cliente, no al público en general");
  const QString nombre = cuerpo.contains(QStringLiteral("nombre"))
                             ? cuerpo.value(QStringLiteral("nombre")).toString().trimmed()
                         : rfc == RFC_CLIENTE_PORTAL ? NOMBRE_CLIENTE_PORTAL
                                                     : QStringLiteral("CLIENTE DEL PORTAL");
  *receptor = {{QStringLiteral("rfc"), rfc}, {QStringLiteral("nombre"), nombre}};
  return {};
}

QJsonObject ticketGenerado(qint64 ticketNo, const QString& fechaHora, double total) {
  const double subtotal = std::floor(total / 1.16 * 100) / 100;
  return {
      {QStringLiteral("ticketNo"), ticketNo},
      {QStringLiteral("fechaHora"), fechaHora},
      {QStringLiteral("subtotal"), subtotal},
      {QStringLiteral("descuento"), 0},
      {QStringLiteral("impuestos"), std::round((total - subtotal) * 100) / 100},
      {QStringLiteral("total"), total},
      {QStringLiteral("conceptos"),
       QJsonArray{QJsonObject{{QStringLiteral("cantidad"), 1},
                              {QStringLiteral("descripcion"), QStringLiteral("Artículo generado")},
                              {QStringLiteral("precioUnitario"), subtotal},
                              {QStringLiteral("importe"), subtotal}}}},
      {QStringLiteral("pagos"),
       QJsonArray{QJsonObject{{QStringLiteral("formaPago"), QStringLiteral("01")},
                              {QStringLiteral("importe"), total}}}}};
}

}  // namespace

ResultadoLlamada marcaFacturadoEnPortal(AlmacenTickets& almacen, const QString& identificador,
                                        const QJsonObject& cuerpo) {
  QJsonObject receptor;
  const QString e = receptorPortal(cuerpo, &receptor);
  if (!e.isEmpty()) return invalida(e);
  return facturaEnPortal(almacen, identificador, receptor);
}

ResultadoLlamada generaTickets(AlmacenTickets& almacen, const QJsonObject& cuerpo) {
  const QString rfc = cuerpo.value(QStringLiteral("rfc")).toString().trimmed().toUpper();
  qint64 cantidad = 0, inicial = 0, estado = 0;
  QDateTime recibido = QDateTime::currentDateTime();
  QString e = campos::primero(
      {campos::texto(cuerpo, QStringLiteral("rfc"), QStringLiteral("rfc"), true, true),
       entero(cuerpo, QStringLiteral("cantidad"), 1, GENERADOS_MAXIMO, 0, &cantidad),
       entero(cuerpo, QStringLiteral("ticketNoInicial"), 1, ENTERO_MAXIMO,
              almacen.mayorTicketNo(rfc) + 1, &inicial),
       entero(cuerpo, QStringLiteral("estado"), ESTADO_CARGADO, ESTADO_FACTURADO, ESTADO_CARGADO,
              &estado),
       fecha(cuerpo, QStringLiteral("recibido"), false, &recibido),
       campos::numero(cuerpo, QStringLiteral("total"), QStringLiteral("total"), false, 0.01)});
  if (e.isEmpty() && !campos::rfcBienFormado(rfc, QStringLiteral("rfc")))
    e = QStringLiteral("El RFC del emisor no es válido");
  if (e.isEmpty() && inicial + cantidad - 1 > ENTERO_MAXIMO)
    e = QStringLiteral("Los números de ticket pasarían de %1").arg(ENTERO_MAXIMO);
  if (!e.isEmpty()) return invalida(e);
  for (qint64 n = inicial; n < inicial + cantidad; ++n)
    if (!almacen.identificadorDe(rfc, n).isEmpty())
      return {409,
              {{QStringLiteral("ok"), false},
               {QStringLiteral("mensaje"), QStringLiteral("El ticket %1 ya existe").arg(n)}},
              QStringLiteral("ticket %1 ya existe").arg(n)};

  const QString cuando = recibido.toString(Qt::ISODate);
  const double total = cuerpo.value(QStringLiteral("total")).toDouble(116);
  AlmacenTickets::Cambio cambio;
  QJsonArray respuesta;
  for (qint64 n = inicial; n < inicial + cantidad; ++n) {
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QJsonObject ticket = ticketGenerado(n, cuando, total);
    cambio.tickets << QJsonObject{{QStringLiteral("identificador"), id},
                                  {QStringLiteral("rfc"), rfc},
                                  {QStringLiteral("usuario"), QStringLiteral("generado")},
                                  {QStringLiteral("cuenta"), QStringLiteral("generado")},
                                  {QStringLiteral("ticketNo"), n},
                                  {QStringLiteral("recibido"), cuando},
                                  {QStringLiteral("estado"), ESTADO_CARGADO},
                                  {QStringLiteral("ticket"), ticket}};
    if (estado == ESTADO_FACTURADO) {
      const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
      cambio.facturas << QJsonObject{
          {QStringLiteral("uuid"), uuid},
          {QStringLiteral("rfc"), rfc},
          {QStringLiteral("tipoDocumento"), QStringLiteral("FAC")},
          {QStringLiteral("fechaTimbrado"), cuando},
          {QStringLiteral("origen"), QStringLiteral("portal")},
          {QStringLiteral("factura"),
           QJsonObject{{QStringLiteral("tipoDocumento"), QStringLiteral("FAC")},
                       {QStringLiteral("receptor"),
                        QJsonObject{{QStringLiteral("rfc"), RFC_CLIENTE_PORTAL},
                                    {QStringLiteral("nombre"), NOMBRE_CLIENTE_PORTAL}}},
                       {QStringLiteral("tickets"), QJsonArray{id}},
                       {QStringLiteral("conceptos"), ticket.value(QStringLiteral("conceptos"))},
                       {QStringLiteral("subtotal"), ticket.value(QStringLiteral("subtotal"))},
                       {QStringLiteral("descuento"), 0},
                       {QStringLiteral("total"), total}}}};
      cambio.marcas << AlmacenTickets::Marca{id, ESTADO_FACTURADO, uuid};
    }
    respuesta.append(
        QJsonObject{{QStringLiteral("identificador"), id}, {QStringLiteral("ticketNo"), n}});
  }
  QString fallo;
  if (!almacen.aplica(cambio, &fallo))
    return {500,
            {{QStringLiteral("ok"), false},
             {QStringLiteral("mensaje"), QStringLiteral("No se pudieron guardar los tickets")}},
            QStringLiteral("no se pudo guardar: ") + fallo};
  return {
      201,
      {{QStringLiteral("ok"), true},
       {QStringLiteral("cantidad"), cantidad},
       {QStringLiteral("tickets"), respuesta}},
      QStringLiteral("%1 tickets generados de %2 desde el %3").arg(cantidad).arg(rfc).arg(inicial)};
}
