#include "PagosMercadoPago.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

constexpr double MONTO_MAXIMO = 99999999.99;
constexpr int LIMITE_MAXIMO = 1000;

const QStringList& estados() {
  static const QStringList e = {QStringLiteral("approved"),    QStringLiteral("pending"),
                                QStringLiteral("in_process"),  QStringLiteral("rejected"),
                                QStringLiteral("cancelled"),   QStringLiteral("refunded"),
                                QStringLiteral("charged_back")};
  return e;
}

const QStringList& camposFecha() {
  static const QStringList c = {QStringLiteral("date_created"), QStringLiteral("date_approved"),
                                QStringLiteral("date_last_updated"),
                                QStringLiteral("money_release_date")};
  return c;
}

// The API's date-time: local time with milliseconds and its offset, "-06:00" (never "Z").
QJsonValue fechaApi(const QDateTime& d) {
  if (!d.isValid()) return QJsonValue::Null;
  const int minutos = d.offsetFromUtc() / 60;
  return d.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
         QStringLiteral("%1%2:%3")
             .arg(minutos < 0 ? QLatin1Char('-') : QLatin1Char('+'))
             .arg(qAbs(minutos) / 60, 2, 10, QLatin1Char('0'))
             .arg(qAbs(minutos) % 60, 2, 10, QLatin1Char('0'));
}

QString texto(const QJsonObject& o, const QString& campo, const QString& porOmision,
              QString* error) {
  const QJsonValue v = o.value(campo);
  if (v.isUndefined() || v.isNull()) return porOmision;
  if (!v.isString() && error->isEmpty())
    *error = QStringLiteral("El campo '%1' debe ser texto").arg(campo);
  return v.toString().trimmed();
}

QString digitos(const QJsonObject& o, const QString& campo, int cuantos, const QString& porOmision,
                QString* error) {
  const QString d = texto(o, campo, porOmision, error);
  static const QRegularExpression soloDigitos(QStringLiteral("^[0-9]+$"));
  if (error->isEmpty() && (d.size() != cuantos || !soloDigitos.match(d).hasMatch()))
    *error = QStringLiteral("El campo '%1' debe tener %2 dígitos").arg(campo).arg(cuantos);
  return d;
}

}  // namespace

QDateTime PagosMercadoPago::leeFecha(const QString& texto, const QDateTime& ahora) {
  // '+' arrives as a blank when the client did not percent-encode it.
  static const QRegularExpression relativa(
      QStringLiteral("^NOW(?:([-+ ])([0-9]{1,5})(MINUTE|HOUR|DAY|WEEK|MONTH|YEAR)S?)?$"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch m = relativa.match(texto);
  if (m.hasMatch()) {
    if (m.captured(1).isEmpty()) return ahora;
    const int n = (m.captured(1) == QLatin1String("-") ? -1 : 1) * m.captured(2).toInt();
    const QString unidad = m.captured(3).toUpper();
    if (unidad == QLatin1String("MINUTE")) return ahora.addSecs(60LL * n);
    if (unidad == QLatin1String("HOUR")) return ahora.addSecs(3600LL * n);
    if (unidad == QLatin1String("DAY")) return ahora.addDays(n);
    if (unidad == QLatin1String("WEEK")) return ahora.addDays(7LL * n);
    if (unidad == QLatin1String("MONTH")) return ahora.addMonths(n);
    return ahora.addYears(n);
  }
  return QDateTime::fromString(texto, Qt::ISODateWithMs);
}

QJsonObject PagosMercadoPago::agrega(const QJsonObject& d, QString* error) {
  error->clear();
  const QJsonValue monto = d.value(QStringLiteral("monto"));
  if (monto.isUndefined() || monto.isNull()) {
    *error = QStringLiteral("Falta el campo 'monto'");
    return {};
  }
  const double importe = monto.toDouble();
  if (!monto.isDouble() || !(importe > 0) || importe > MONTO_MAXIMO ||
      std::fabs(importe * 100 - std::round(importe * 100)) > 1e-6) {
    *error = QStringLiteral(
        "El campo 'monto' debe ser un número mayor que cero, hasta 99999999.99, con a lo más dos "
        "decimales");
    return {};
  }
  const QString ultimos =
      digitos(d, QStringLiteral("ultimosDigitos"), 4, QStringLiteral("3704"), error);
  const QString primeros =
      digitos(d, QStringLiteral("primerosDigitos"), 6, QStringLiteral("450995"), error);
  const QString titular = texto(d, QStringLiteral("titular"), QStringLiteral("APRO"), error);
  const QString terminal = texto(d, QStringLiteral("terminal"), uTerminal, error);
  const QString referencia = texto(d, QStringLiteral("referencia"), QString(), error);
  const QString descripcion =
      texto(d, QStringLiteral("descripcion"), QStringLiteral("Cobro en terminal Point"), error);
  const QString metodo = texto(d, QStringLiteral("metodo"), QStringLiteral("visa"), error);
  const QString tipo = texto(d, QStringLiteral("tipo"), QStringLiteral("credit_card"), error);
  const QString estado = texto(d, QStringLiteral("estado"), QStringLiteral("approved"), error);
  const QString fecha = texto(d, QStringLiteral("fecha"), QString(), error);
  if (!error->isEmpty()) return {};
  if (!estados().contains(estado)) {
    *error = QStringLiteral("El campo 'estado' debe ser uno de: %1").arg(estados().join(", "));
    return {};
  }
  const QDateTime creado = fecha.isEmpty() ? QDateTime::currentDateTime()
                                           : QDateTime::fromString(fecha, Qt::ISODateWithMs);
  if (!creado.isValid()) {
    *error = QStringLiteral("El campo 'fecha' no es una fecha y hora válida");
    return {};
  }
  qint64 id = uSiguienteId;
  const QJsonValue idDado = d.value(QStringLiteral("id"));
  if (!idDado.isUndefined()) {
    if (!idDado.isDouble() || idDado.toDouble() < 1 || idDado.toDouble() > 9e15 ||
        idDado.toDouble() != std::floor(idDado.toDouble())) {
      *error = QStringLiteral("El campo 'id' debe ser un número entero mayor que cero");
      return {};
    }
    id = static_cast<qint64>(idDado.toDouble());
    if (!pago(id).isEmpty()) {
      *error = QStringLiteral("Ya existe el pago %1").arg(id);
      return {};
    }
  }
  uSiguienteId = qMax(uSiguienteId, id + 1);

  const bool aprobado = estado == QLatin1String("approved");
  const QDateTime aprobacion = aprobado ? creado.addSecs(2) : QDateTime();
  const QJsonObject json{
      {QStringLiteral("id"), id},
      {QStringLiteral("date_created"), fechaApi(creado)},
      {QStringLiteral("date_approved"), fechaApi(aprobacion)},
      {QStringLiteral("date_last_updated"), fechaApi(aprobado ? aprobacion : creado)},
      {QStringLiteral("money_release_date"),
       fechaApi((aprobado ? aprobacion : creado).addDays(14))},
      {QStringLiteral("operation_type"), QStringLiteral("regular_payment")},
      {QStringLiteral("payment_method_id"), metodo},
      {QStringLiteral("payment_type_id"), tipo},
      {QStringLiteral("status"), estado},
      {QStringLiteral("status_detail"),
       aprobado ? QStringLiteral("accredited") : QStringLiteral("pending_contingency")},
      {QStringLiteral("currency_id"), QStringLiteral("MXN")},
      {QStringLiteral("description"), descripcion},
      {QStringLiteral("transaction_amount"), importe},
      {QStringLiteral("installments"), 1},
      {QStringLiteral("external_reference"), referencia},
      {QStringLiteral("collector_id"), uUsuario},
      {QStringLiteral("card"),
       QJsonObject{{QStringLiteral("first_six_digits"), primeros},
                   {QStringLiteral("last_four_digits"), ultimos},
                   {QStringLiteral("expiration_month"), 11},
                   {QStringLiteral("expiration_year"), creado.date().year() + 4},
                   {QStringLiteral("cardholder"),
                    QJsonObject{{QStringLiteral("name"), titular},
                                {QStringLiteral("identification"),
                                 QJsonObject{{QStringLiteral("type"), QJsonValue::Null},
                                             {QStringLiteral("number"), QJsonValue::Null}}}}}}},
      {QStringLiteral("point_of_interaction"),
       QJsonObject{{QStringLiteral("type"),
                    terminal.isEmpty() ? QStringLiteral("UNSPECIFIED") : QStringLiteral("POINT")}}},
  };
  uPagos.append({json, terminal});
  QJsonObject mostrado = json;
  mostrado.insert(QStringLiteral("poi"), terminal);
  return mostrado;
}

QJsonArray PagosMercadoPago::todos() const {
  QJsonArray a;
  for (const Pago& p : uPagos) {
    QJsonObject o = p.json;
    o.insert(QStringLiteral("poi"), p.poi);
    a.append(o);
  }
  return a;
}

QJsonObject PagosMercadoPago::pago(qint64 id) const {
  for (const Pago& p : uPagos)
    if (p.json.value(QStringLiteral("id")).toInteger() == id) {
      QJsonObject o = p.json;
      o.insert(QStringLiteral("poi"), p.poi);
      return o;
    }
  return {};
}

bool PagosMercadoPago::leeBusqueda(const QList<QPair<QString, QString>>& parametros, Busqueda* b,
                                   QString* error) {
  const QDateTime ahora = QDateTime::currentDateTime();
  QString inicio, fin;
  bool conInicio = false, conFin = false;
  const auto mal = [error](const QString& nombre, const QString& valor) {
    *error = QStringLiteral("El parámetro '%1' no es válido: '%2'").arg(nombre, valor);
    return false;
  };
  for (const auto& [nombre, valor] : parametros) {
    bool ok = true;
    if (nombre == QLatin1String("status")) {
      if (!estados().contains(valor)) return mal(nombre, valor);
      b->estado = valor;
    } else if (nombre == QLatin1String("range")) {
      if (!camposFecha().contains(valor)) return mal(nombre, valor);
      b->rango = valor;
    } else if (nombre == QLatin1String("begin_date")) {
      inicio = valor;
      conInicio = true;
      b->desde = leeFecha(valor, ahora);
      if (!b->desde.isValid()) return mal(nombre, valor);
    } else if (nombre == QLatin1String("end_date")) {
      fin = valor;
      conFin = true;
      b->hasta = leeFecha(valor, ahora);
      if (!b->hasta.isValid()) return mal(nombre, valor);
    } else if (nombre == QLatin1String("sort")) {
      if (!camposFecha().contains(valor) && valor != QLatin1String("id")) return mal(nombre, valor);
      b->orden = valor;
    } else if (nombre == QLatin1String("criteria")) {
      if (valor != QLatin1String("asc") && valor != QLatin1String("desc"))
        return mal(nombre, valor);
      b->descendente = valor == QLatin1String("desc");
    } else if (nombre == QLatin1String("limit")) {
      b->limite = valor.toInt(&ok);
      if (!ok || b->limite < 1 || b->limite > LIMITE_MAXIMO) return mal(nombre, valor);
    } else if (nombre == QLatin1String("offset")) {
      b->desplazamiento = valor.toInt(&ok);
      if (!ok || b->desplazamiento < 0) return mal(nombre, valor);
    } else if (nombre == QLatin1String("external_reference")) {
      b->referencia = valor;
    } else if (nombre == QLatin1String("id")) {
      b->id = valor.toLongLong(&ok);
      if (!ok || b->id < 1) return mal(nombre, valor);
    }
  }
  if ((conInicio || conFin) && b->rango.isEmpty()) {
    *error = QStringLiteral("Falta el parámetro 'range' para begin_date y end_date");
    return false;
  }
  if (!b->rango.isEmpty() && (!conInicio || !conFin)) {
    *error = QStringLiteral("Con 'range' se requieren 'begin_date' y 'end_date'");
    return false;
  }
  return true;
}

QJsonObject PagosMercadoPago::busca(const Busqueda& b) const {
  const auto fecha = [](const QJsonObject& p, const QString& campo) {
    return QDateTime::fromString(p.value(campo).toString(), Qt::ISODateWithMs);
  };
  QList<QJsonObject> hallados;
  for (const Pago& p : uPagos) {
    const QJsonObject& j = p.json;
    if (!b.estado.isEmpty() && j.value(QStringLiteral("status")).toString() != b.estado) continue;
    if (!b.referencia.isEmpty() &&
        j.value(QStringLiteral("external_reference")).toString() != b.referencia)
      continue;
    if (b.id != 0 && j.value(QStringLiteral("id")).toInteger() != b.id) continue;
    if (!b.rango.isEmpty()) {
      const QDateTime d = fecha(j, b.rango);
      if (!d.isValid() || d < b.desde || d > b.hasta) continue;
    }
    hallados.append(j);
  }
  std::stable_sort(hallados.begin(), hallados.end(),
                   [&b, &fecha](const QJsonObject& x, const QJsonObject& y) {
                     if (b.orden == QLatin1String("id")) {
                       const qint64 a = x.value(QStringLiteral("id")).toInteger();
                       const qint64 c = y.value(QStringLiteral("id")).toInteger();
                       return b.descendente ? a > c : a < c;
                     }
                     const QDateTime a = fecha(x, b.orden), c = fecha(y, b.orden);
                     return b.descendente ? a > c : a < c;
                   });
  QJsonArray resultados;
  for (qsizetype i = b.desplazamiento; i < hallados.size() && resultados.size() < b.limite; ++i)
    resultados.append(hallados.at(i));
  return {{QStringLiteral("paging"), QJsonObject{{QStringLiteral("total"), hallados.size()},
                                                 {QStringLiteral("limit"), b.limite},
                                                 {QStringLiteral("offset"), b.desplazamiento}}},
          {QStringLiteral("results"), resultados}};
}
