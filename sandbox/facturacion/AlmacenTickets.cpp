#include "AlmacenTickets.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

namespace {

constexpr int VERSION_ALMACEN = 1;
// The journal is folded into the snapshot once it is larger than this and than the snapshot,
// so rewriting the snapshot costs, spread over the writes, a constant per write.
constexpr qint64 DIARIO_MINIMO_COMPACTAR = 32 * 1024 * 1024;

QString texto(const QJsonObject& o, const char* campo) {
  return o.value(QLatin1String(campo)).toString();
}

qint64 milisegundos(const QString& fecha) {
  const QDateTime d = QDateTime::fromString(fecha, Qt::ISODate);
  return d.isValid() ? d.toMSecsSinceEpoch() : 0;
}

QJsonArray comoArreglo(const QList<QJsonObject>& lista) {
  QJsonArray a;
  for (const QJsonObject& o : lista) a.append(o);
  return a;
}

}  // namespace

QString AlmacenTickets::clave(const QString& rfc, qint64 ticketNo) {
  return rfc.trimmed().toUpper() + QLatin1Char('|') + QString::number(ticketNo);
}

void AlmacenTickets::agregaTicket(const QJsonObject& registro) {
  const QString id = texto(registro, "identificador");
  if (id.isEmpty()) return;
  const Indice indice{milisegundos(texto(registro, "recibido")),
                      registro.value(QStringLiteral("estado")).toInt()};
  const auto existente = uPorIdentificador.constFind(id);
  if (existente != uPorIdentificador.constEnd()) {
    uTickets[*existente] = registro;
    uIndices[*existente] = indice;
    return;
  }
  const int posicion = static_cast<int>(uTickets.size());
  uTickets.append(registro);
  uIndices.append(indice);
  uPorIdentificador.insert(id, posicion);
  const QString rfc = texto(registro, "rfc");
  const qint64 ticketNo = registro.value(QStringLiteral("ticketNo")).toInteger();
  uPorTicket.insert(clave(rfc, ticketNo), id);
  uPorRfc[rfc].append(posicion);
  qint64& mayor = uMayorTicketNo[rfc];
  mayor = qMax(mayor, ticketNo);
}

void AlmacenTickets::agregaFacturaEnMemoria(const QJsonObject& factura) {
  const QString uuid = texto(factura, "uuid");
  if (uuid.isEmpty()) return;
  int posicion = uPorUuid.value(uuid, -1);
  if (posicion < 0) {
    posicion = static_cast<int>(uFacturas.size());
    uFacturas.append(factura);
    uPorUuid.insert(uuid, posicion);
  } else {
    uFacturas[posicion] = factura;
  }
  const QString claveIdempotencia = factura.value(QStringLiteral("idempotencia"))
                                        .toObject()
                                        .value(QStringLiteral("clave"))
                                        .toString();
  if (!claveIdempotencia.isEmpty())
    uPorClave.insert(texto(factura, "rfc") + QLatin1Char('|') + claveIdempotencia, posicion);
}

void AlmacenTickets::aplicaEnMemoria(const QJsonObject& r) {
  for (const QJsonValue& t : r.value(QStringLiteral("tickets")).toArray())
    agregaTicket(t.toObject());
  for (const QJsonValue& f : r.value(QStringLiteral("facturas")).toArray())
    agregaFacturaEnMemoria(f.toObject());
  for (const QJsonValue& v : r.value(QStringLiteral("marcas")).toArray()) {
    const QJsonObject m = v.toObject();
    const int posicion = uPorIdentificador.value(texto(m, "identificador"), -1);
    if (posicion < 0) continue;
    const int estado = m.value(QStringLiteral("estado")).toInt();
    uTickets[posicion].insert(QStringLiteral("estado"), estado);
    uTickets[posicion].insert(QStringLiteral("factura"), m.value(QStringLiteral("factura")));
    uIndices[posicion].estado = estado;
  }
}

bool AlmacenTickets::cargaFoto(QString* error) {
  QFile f(uArchivo);
  if (!f.exists()) return true;
  if (!f.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("No se pudo leer %1: %2").arg(uArchivo, f.errorString());
    return false;
  }
  uTamanoFoto = f.size();
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
  // Stores written before the journal existed carry no sequence: 0.
  uSecuencia = raiz.value(QStringLiteral("secuencia")).toInteger();
  aplicaEnMemoria(raiz);
  return true;
}

bool AlmacenTickets::abre(const QString& carpeta, QString* error) {
  if (!QDir().mkpath(carpeta)) {
    if (error) *error = QStringLiteral("No se pudo crear la carpeta de datos %1").arg(carpeta);
    return false;
  }
  *this = AlmacenTickets();
  uArchivo = QDir(carpeta).filePath(QStringLiteral("tickets.json"));
  if (!cargaFoto(error)) return false;
  QList<QJsonObject> diario;
  if (!uDiario.abre(QDir(carpeta).filePath(QStringLiteral("diario.jsonl")), &diario, error))
    return false;
  for (const QJsonObject& r : diario) {
    const qint64 n = r.value(QStringLiteral("n")).toInteger();
    if (n <= uSecuencia) continue;  // already in the snapshot
    aplicaEnMemoria(r);
    uSecuencia = n;
  }
  return diario.isEmpty() || compacta(error);
}

bool AlmacenTickets::compacta(QString* error) {
  QSaveFile f(uArchivo);
  if (!f.open(QIODevice::WriteOnly)) {
    if (error) *error = f.errorString();
    return false;
  }
  // Written record by record: a large store never has to exist as one document in memory.
  f.write("{\"version\":" + QByteArray::number(VERSION_ALMACEN) +
          ",\"secuencia\":" + QByteArray::number(uSecuencia) + ",\n\"tickets\":[\n");
  for (qsizetype i = 0; i < uTickets.size(); ++i) {
    if (i > 0) f.write(",\n");
    f.write(QJsonDocument(uTickets[i]).toJson(QJsonDocument::Compact));
  }
  f.write("\n],\n\"facturas\":[\n");
  for (qsizetype i = 0; i < uFacturas.size(); ++i) {
    if (i > 0) f.write(",\n");
    f.write(QJsonDocument(uFacturas[i]).toJson(QJsonDocument::Compact));
  }
  f.write("\n]}\n");
  if (!f.commit()) {
    if (error) *error = f.errorString();
    return false;
  }
  sincronizaCarpeta(QFileInfo(uArchivo).absolutePath());
  uTamanoFoto = QFileInfo(uArchivo).size();
  // A crash before the journal is emptied only leaves records the snapshot already holds.
  return uDiario.vacia(error);
}

bool AlmacenTickets::aplica(const Cambio& cambio, QString* error) {
  QJsonArray marcas;
  for (const Marca& m : cambio.marcas)
    marcas.append(QJsonObject{{QStringLiteral("identificador"), m.identificador},
                              {QStringLiteral("estado"), m.estado},
                              {QStringLiteral("factura"), m.factura}});
  const QJsonObject registro{{QStringLiteral("n"), uSecuencia + 1},
                             {QStringLiteral("tickets"), comoArreglo(cambio.tickets)},
                             {QStringLiteral("facturas"), comoArreglo(cambio.facturas)},
                             {QStringLiteral("marcas"), marcas}};
  if (!uDiario.agrega({registro}, error)) return false;
  ++uSecuencia;
  aplicaEnMemoria(registro);
  if (uDiario.tamano() > qMax(DIARIO_MINIMO_COMPACTAR, uTamanoFoto)) {
    // The change is already durable in the journal; a failed fold only postpones the next.
    QString ignorado;
    compacta(&ignorado);
  }
  return true;
}

bool AlmacenTickets::agregaFactura(const QJsonObject& factura, const QStringList& tickets,
                                   int estado, QString* error) {
  Cambio cambio;
  cambio.facturas << factura;
  for (const QString& id : tickets) {
    if (!uPorIdentificador.contains(id)) {
      if (error) *error = QStringLiteral("No existe el ticket %1").arg(id);
      return false;
    }
    cambio.marcas << Marca{id, estado, texto(factura, "uuid")};
  }
  return aplica(cambio, error);
}

QString AlmacenTickets::identificadorDe(const QString& rfc, qint64 ticketNo) const {
  return uPorTicket.value(clave(rfc, ticketNo));
}

QJsonObject AlmacenTickets::registro(const QString& identificador) const {
  const auto it = uPorIdentificador.constFind(identificador);
  return it == uPorIdentificador.constEnd() ? QJsonObject() : uTickets.at(*it);
}

QJsonArray AlmacenTickets::registros() const { return comoArreglo(uTickets); }

QJsonObject AlmacenTickets::factura(const QString& uuid) const {
  const auto it = uPorUuid.constFind(uuid);
  return it == uPorUuid.constEnd() ? QJsonObject() : uFacturas.at(*it);
}

QJsonArray AlmacenTickets::facturas() const { return comoArreglo(uFacturas); }

QJsonObject AlmacenTickets::facturaPorClave(const QString& rfc, const QString& clave) const {
  const auto it = uPorClave.constFind(rfc + QLatin1Char('|') + clave);
  return it == uPorClave.constEnd() ? QJsonObject() : uFacturas.at(*it);
}

QJsonObject AlmacenTickets::entradaEstado(int posicion) const {
  const QJsonObject& t = uTickets.at(posicion);
  QJsonObject e{{QStringLiteral("identificador"), t.value(QStringLiteral("identificador"))},
                {QStringLiteral("ticketNo"), t.value(QStringLiteral("ticketNo"))},
                {QStringLiteral("recibido"), t.value(QStringLiteral("recibido"))},
                {QStringLiteral("total"),
                 t.value(QStringLiteral("ticket")).toObject().value(QStringLiteral("total"))}};
  const QString uuid = texto(t, "factura");
  if (!uuid.isEmpty()) {
    const QJsonObject f = factura(uuid);
    e.insert(QStringLiteral("factura"), uuid);
    e.insert(QStringLiteral("fechaTimbrado"), f.value(QStringLiteral("fechaTimbrado")));
    e.insert(QStringLiteral("rfcReceptor"), f.value(QStringLiteral("factura"))
                                                .toObject()
                                                .value(QStringLiteral("receptor"))
                                                .toObject()
                                                .value(QStringLiteral("rfc")));
    e.insert(QStringLiteral("portal"),
             f.value(QStringLiteral("origen")).toString() == QLatin1String("portal"));
  }
  return e;
}

AlmacenTickets::Pagina AlmacenTickets::consultaEstado(const QString& rfc, qint64 desdeMs,
                                                      qint64 hastaMs, int estado, qint64 inicial,
                                                      int porPagina) const {
  Pagina pagina;
  for (const int posicion : uPorRfc.value(rfc)) {
    const Indice& i = uIndices.at(posicion);
    if (i.estado != estado || i.recibidoMs < desdeMs || i.recibidoMs > hastaMs) continue;
    if (pagina.total >= inicial && pagina.tickets.size() < porPagina)
      pagina.tickets.append(entradaEstado(posicion));
    ++pagina.total;
  }
  return pagina;
}
