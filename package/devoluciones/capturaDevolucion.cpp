#include "devoluciones/capturaDevolucion.h"

#include <cmath>

#include "util/utilerias.h"

namespace {

// Quantities are compared at 9 decimals, so fractions never fail on binary noise.
constexpr double kTolerancia = 1e-9;

QString cantidadTexto(double valor) { return u_floatToStr(u_truncaDecimales(valor, 9)); }

}  // namespace

QVector<TnoSerieDevolver> u_leeNoSerieDevolver(const QString& texto) {
  QVector<TnoSerieDevolver> series;
  for (const QString& entrada : texto.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    const QStringList campos = u_split(entrada, QStringLiteral("|"));
    if (campos.size() < 4) continue;
    series.push_back({u_strToInt(campos[1]), u_strToInt(campos[2]), campos[3]});
  }
  return series;
}

QString u_escribeNoSerieDevolver(const QVector<TnoSerieDevolver>& series) {
  QStringList entradas;
  for (const TnoSerieDevolver& s : series)
    entradas << QStringLiteral("|%1|%2|%3").arg(s.noSerieID).arg(s.enlaceID).arg(s.noSerie);
  return entradas.join(QLatin1Char('/'));
}

const QVector<TmotivoDevolucion>& u_motivosDevolucion() {
  static const QVector<TmotivoDevolucion> motivos = {
      {1, QStringLiteral("Producto defectuoso")},
      {2, QStringLiteral("No satisfizo al cliente")},
      {3, QStringLiteral("Error en la venta")},
      {4, QStringLiteral("Otro motivo")},
  };
  return motivos;
}

const QStringList& u_estadosProducto() {
  static const QStringList estados = {QStringLiteral("Nuevo, sin abrir"),
                                      QStringLiteral("Empaque abierto"), QStringLiteral("Usado"),
                                      QStringLiteral("Dañado")};
  return estados;
}

bool u_leeCantidadDevolucion(const QString& texto, double* cantidad) {
  const QString t = texto.trimmed();
  if (t.isEmpty() || !esNumerico(t)) return false;
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v)) return false;
  *cantidad = v;
  return true;
}

double u_pendienteDevolucion(const TcommCapturaDevolucion& c) {
  return u_truncaDecimales(c.cantidad - c.devuelto, 9);
}

QString u_validaCapturaDevolucion(const TcommCapturaDevolucion& c,
                                  const QVector<TnoSerieDevolver>& vendidos) {
  const double q = c.devolucion;
  if (!std::isfinite(q) || q < 0)
    return QStringLiteral("La cantidad a devolver no puede ser negativa.");
  if (!c.fraccion && std::fabs(q - std::round(q)) > kTolerancia)
    return QStringLiteral("Este producto se devuelve por pieza: capture una cantidad entera.");
  const double pendiente = u_pendienteDevolucion(c);
  if (q > pendiente + kTolerancia)
    return pendiente <= 0
               ? QStringLiteral("No hay más artículos por devolver.")
               : QStringLiteral("La cantidad a devolver excede lo disponible: quedan %1.")
                     .arg(cantidadTexto(pendiente));

  const QVector<TnoSerieDevolver> elegidos = u_leeNoSerieDevolver(c.noSerieDevolver);
  for (int i = 0; i < elegidos.size(); ++i) {
    if (!vendidos.contains(elegidos[i]))
      return QStringLiteral("El número de serie %1 no se vendió en este ticket.")
          .arg(elegidos[i].noSerie);
    if (elegidos.indexOf(elegidos[i]) != i)
      return QStringLiteral("El número de serie %1 se eligió dos veces.").arg(elegidos[i].noSerie);
  }
  if (elegidos.size() > q + kTolerancia)
    return QStringLiteral("Eligió más números de serie que piezas a devolver.");
  // Pieces sold before their serial numbers were recorded come back without one.
  const double sinSerie = std::max(0.0, pendiente - static_cast<double>(vendidos.size()));
  const double faltan = q - static_cast<double>(elegidos.size()) - sinSerie;
  if (faltan > kTolerancia)
    return QStringLiteral("Elija el número de serie de cada pieza que regresa: faltan %1.")
        .arg(cantidadTexto(std::ceil(faltan - kTolerancia)));
  return QString();
}
