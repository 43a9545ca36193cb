#include "limites.h"

#include <cmath>

namespace {

QString revisa(double valor, double maximo, const char* maximoTexto, const QString& campo) {
  if (!std::isfinite(valor)) return QStringLiteral("%1 no es un número válido").arg(campo);
  if (std::fabs(valor) > maximo)
    return QStringLiteral("%1 no puede pasar de %2").arg(campo, QLatin1String(maximoTexto));
  return QString();
}

}  // namespace

QString u_revisaPrecio(double valor, const QString& campo) {
  return revisa(valor, kMaxPrecio, "999,999.99", campo);
}

QString u_revisaCantidad(double valor, const QString& campo) {
  return revisa(valor, kMaxCantidad, "9,999.999", campo);
}

QString u_revisaExistencia(double valor, const QString& campo) {
  return revisa(valor, kMaxExistencia, "999,999,999.999", campo);
}

QString u_revisaMonto(double valor, const QString& campo) {
  return revisa(valor, kMaxMonto, "999,999,999,999.99", campo);
}

QString u_revisaTexto(const QString& texto, int maximo, const QString& campo) {
  if (texto.contains(QChar(0)))
    return QStringLiteral("%1 contiene un carácter nulo (\\u0000)").arg(campo);
  if (texto.size() > maximo)
    return QStringLiteral("%1 tiene %2 caracteres; admite a lo más %3")
        .arg(campo)
        .arg(texto.size())
        .arg(maximo);
  return QString();
}
