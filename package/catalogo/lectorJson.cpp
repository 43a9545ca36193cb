#include "lectorJson.h"

#include <cmath>
#include <limits>

#include "util/utilerias.h"

void u_errorImportacion(const QString& mensaje) { throw TErrorImportacion{mensaje}; }

QString u_contextoElemento(const QString& seccion, int indice) {
  return QStringLiteral("%1[%2]").arg(seccion).arg(indice);
}

TLectorRegistro::TLectorRegistro(const QJsonValue& valor, const QString& contexto)
    : uContexto(contexto) {
  if (!valor.isObject()) u_errorImportacion(contexto + QStringLiteral(": debe ser un objeto"));
  uObjeto = valor.toObject();
}

void TLectorRegistro::nombraCon(const QString& campo, const QString& valor) {
  uContexto += QStringLiteral(" (%1 \"%2\")").arg(campo, valor);
}

void TLectorRegistro::falla(const QString& mensaje) const {
  u_errorImportacion(uContexto + QStringLiteral(": ") + mensaje);
}

void TLectorRegistro::revisa(const QString& problema) const {
  if (!problema.isEmpty()) falla(problema);
}

QString TLectorRegistro::nombreCampo(const QString& campo) const {
  return QStringLiteral("el campo \"%1\"").arg(campo);
}

bool TLectorRegistro::tiene(const QString& campo) const {
  const auto it = uObjeto.constFind(campo);
  return it != uObjeto.constEnd() && !it->isNull();
}

QJsonValue TLectorRegistro::valor(const QString& campo) {
  uLeidos.insert(campo);
  return uObjeto.value(campo);
}

QString TLectorRegistro::texto(const QString& campo, const QString& omision, int maximo) {
  const QJsonValue v = valor(campo);
  if (v.isUndefined() || v.isNull()) return omision;
  if (!v.isString()) falla(nombreCampo(campo) + QStringLiteral(" debe ser un texto"));
  const QString t = v.toString().trimmed();
  revisa(u_revisaTexto(t, maximo, nombreCampo(campo)));
  return t;
}

QString TLectorRegistro::textoRequerido(const QString& campo, int maximo) {
  const QString t = texto(campo, QString(), maximo);
  if (t.isEmpty()) falla(QStringLiteral("falta %1").arg(nombreCampo(campo)));
  return t;
}

std::optional<double> TLectorRegistro::numeroOpcional(const QString& campo) {
  const QJsonValue v = valor(campo);
  if (v.isUndefined() || v.isNull()) return std::nullopt;
  if (!v.isDouble()) falla(nombreCampo(campo) + QStringLiteral(" debe ser un número"));
  return v.toDouble();
}

double TLectorRegistro::numero(const QString& campo, double omision) {
  return numeroOpcional(campo).value_or(omision);
}

double TLectorRegistro::numeroRequerido(const QString& campo) {
  const auto n = numeroOpcional(campo);
  if (!n) falla(QStringLiteral("falta %1").arg(nombreCampo(campo)));
  return *n;
}

std::optional<qint64> TLectorRegistro::enteroOpcional(const QString& campo) {
  const auto n = numeroOpcional(campo);
  if (!n) return std::nullopt;
  if (std::floor(*n) != *n || std::fabs(*n) > std::numeric_limits<int>::max())
    falla(nombreCampo(campo) + QStringLiteral(" debe ser un número entero"));
  return static_cast<qint64>(*n);
}

qint64 TLectorRegistro::entero(const QString& campo, qint64 omision) {
  return enteroOpcional(campo).value_or(omision);
}

qint64 TLectorRegistro::enteroRequerido(const QString& campo) {
  const auto n = enteroOpcional(campo);
  if (!n) falla(QStringLiteral("falta %1").arg(nombreCampo(campo)));
  return *n;
}

bool TLectorRegistro::booleano(const QString& campo, bool omision) {
  const QJsonValue v = valor(campo);
  if (v.isUndefined() || v.isNull()) return omision;
  if (v.isBool()) return v.toBool();
  if (v.isDouble() && (v.toDouble() == 0 || v.toDouble() == 1)) return v.toDouble() == 1;
  falla(nombreCampo(campo) + QStringLiteral(" debe ser true o false"));
}

QDateTime TLectorRegistro::fecha(const QString& campo, bool finDelDia) {
  const QString t = texto(campo);
  if (t.isEmpty()) return QDateTime();
  QDateTime f = u_leeFechaHora(t);
  if (!f.isValid())
    falla(nombreCampo(campo) +
          QStringLiteral(" debe ser una fecha \"aaaa-mm-dd\" o \"aaaa-mm-dd hh:mm:ss\""));
  if (finDelDia && t.size() <= 10) f = f.addDays(1).addSecs(-1);
  return f;
}

std::optional<qint64> TLectorRegistro::id(const QString& campo) {
  const auto n = enteroOpcional(campo);
  if (n && *n <= 0) falla(nombreCampo(campo) + QStringLiteral(" debe ser mayor que cero"));
  return n;
}

QJsonArray TLectorRegistro::lista(const QString& campo) {
  const QJsonValue v = valor(campo);
  if (v.isUndefined() || v.isNull()) return {};
  if (!v.isArray()) falla(nombreCampo(campo) + QStringLiteral(" debe ser una lista"));
  return v.toArray();
}

QJsonValue TLectorRegistro::objeto(const QString& campo) {
  const QJsonValue v = valor(campo);
  if (v.isNull()) return QJsonValue(QJsonValue::Undefined);
  if (!v.isUndefined() && !v.isObject())
    falla(nombreCampo(campo) + QStringLiteral(" debe ser un objeto"));
  return v;
}

double TLectorRegistro::tasa(const QString& campo) {
  const double t = numero(campo, 0);
  if (!(t >= 0 && t < 1))
    falla(QStringLiteral("la tasa \"%1\" debe ser una fracción entre 0 y 1 (0.16 para 16 %), no %2")
              .arg(campo, u_floatToStr(t)));
  return t;
}

void TLectorRegistro::termina() const {
  for (auto it = uObjeto.constBegin(); it != uObjeto.constEnd(); ++it) {
    if (it.key().startsWith(QLatin1Char('_')) || uLeidos.contains(it.key())) continue;
    falla(QStringLiteral("campo desconocido \"%1\"").arg(it.key()));
  }
}
