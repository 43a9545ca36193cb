#include "AlmacenTickets.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

namespace {

constexpr int VERSION_ALMACEN = 1;

}  // namespace

QString AlmacenTickets::clave(const QString& rfc, qint64 ticketNo) {
  return rfc.trimmed().toUpper() + QLatin1Char('|') + QString::number(ticketNo);
}

void AlmacenTickets::indexa(const QJsonObject& registro, int posicion) {
  const QString id = registro.value(QStringLiteral("identificador")).toString();
  uPorIdentificador.insert(id, posicion);
  uPorTicket.insert(clave(registro.value(QStringLiteral("rfc")).toString(),
                          registro.value(QStringLiteral("ticketNo")).toInteger()),
                    id);
}

bool AlmacenTickets::abre(const QString& carpeta, QString* error) {
  if (!QDir().mkpath(carpeta)) {
    if (error) *error = QStringLiteral("No se pudo crear la carpeta de datos %1").arg(carpeta);
    return false;
  }
  uArchivo = QDir(carpeta).filePath(QStringLiteral("tickets.json"));
  uRegistros = QJsonArray();
  uPorIdentificador.clear();
  uPorTicket.clear();
  uFacturas = QJsonArray();
  uPorUuid.clear();
  QFile f(uArchivo);
  if (!f.exists()) return true;
  if (!f.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("No se pudo leer %1: %2").arg(uArchivo, f.errorString());
    return false;
  }
  QJsonParseError e;
  const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &e);
  const QJsonObject raiz = doc.object();
  if (e.error != QJsonParseError::NoError || !doc.isObject() ||
      raiz.value(QStringLiteral("version")).toInt() != VERSION_ALMACEN ||
      !raiz.value(QStringLiteral("tickets")).isArray() ||
      !(raiz.value(QStringLiteral("facturas")).isUndefined() ||
        raiz.value(QStringLiteral("facturas")).isArray())) {
    if (error) *error = QStringLiteral("%1 no es un almacén de tickets válido").arg(uArchivo);
    return false;
  }
  for (const QJsonValue& v : raiz.value(QStringLiteral("tickets")).toArray()) {
    const QJsonObject r = v.toObject();
    if (r.value(QStringLiteral("identificador")).toString().isEmpty()) continue;
    uRegistros.append(r);
    indexa(r, static_cast<int>(uRegistros.size()) - 1);
  }
  for (const QJsonValue& v : raiz.value(QStringLiteral("facturas")).toArray()) {
    const QJsonObject r = v.toObject();
    const QString uuid = r.value(QStringLiteral("uuid")).toString();
    if (uuid.isEmpty()) continue;
    uFacturas.append(r);
    uPorUuid.insert(uuid, static_cast<int>(uFacturas.size()) - 1);
  }
  return true;
}

QString AlmacenTickets::identificadorDe(const QString& rfc, qint64 ticketNo) const {
  return uPorTicket.value(clave(rfc, ticketNo));
}

QJsonObject AlmacenTickets::registro(const QString& identificador) const {
  const auto it = uPorIdentificador.constFind(identificador);
  if (it == uPorIdentificador.constEnd()) return {};
  return uRegistros.at(*it).toObject();
}

QJsonObject AlmacenTickets::factura(const QString& uuid) const {
  const auto it = uPorUuid.constFind(uuid);
  if (it == uPorUuid.constEnd()) return {};
  return uFacturas.at(*it).toObject();
}

bool AlmacenTickets::escribe(const QJsonArray& registros, const QJsonArray& facturas,
                             QString* error) const {
  QSaveFile f(uArchivo);
  if (!f.open(QIODevice::WriteOnly)) {
    if (error) *error = f.errorString();
    return false;
  }
  const QJsonObject raiz{{QStringLiteral("version"), VERSION_ALMACEN},
                         {QStringLiteral("tickets"), registros},
                         {QStringLiteral("facturas"), facturas}};
  f.write(QJsonDocument(raiz).toJson(QJsonDocument::Indented));
  if (!f.commit()) {
    if (error) *error = f.errorString();
    return false;
  }
  return true;
}

bool AlmacenTickets::agrega(const QJsonObject& registro, QString* error) {
  QJsonArray nuevos = uRegistros;
  nuevos.append(registro);
  if (!escribe(nuevos, uFacturas, error)) return false;
  uRegistros = nuevos;
  indexa(registro, static_cast<int>(uRegistros.size()) - 1);
  return true;
}

bool AlmacenTickets::agregaFactura(const QJsonObject& factura, const QStringList& tickets,
                                   int estado, QString* error) {
  const QString uuid = factura.value(QStringLiteral("uuid")).toString();
  QJsonArray registros = uRegistros;
  for (const QString& id : tickets) {
    const auto it = uPorIdentificador.constFind(id);
    if (it == uPorIdentificador.constEnd()) {
      if (error) *error = QStringLiteral("No existe el ticket %1").arg(id);
      return false;
    }
    QJsonObject r = registros.at(*it).toObject();
    r.insert(QStringLiteral("estado"), estado);
    r.insert(QStringLiteral("factura"), uuid);
    registros.replace(*it, r);
  }
  QJsonArray facturas = uFacturas;
  facturas.append(factura);
  if (!escribe(registros, facturas, error)) return false;
  uRegistros = registros;
  uFacturas = facturas;
  uPorUuid.insert(uuid, static_cast<int>(uFacturas.size()) - 1);
  return true;
}
