#include "sessions/reglas/consultaSesion.h"

#include <QMap>
#include <algorithm>
#include <cmath>

#include "operaciones/sesiones.h"

namespace {

qint64 aCentavos(double monto) { return std::llround(monto * 100.0); }

QDateTime fechaDe(const QString& texto) {
  QDateTime f = QDateTime::fromString(texto.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  if (!f.isValid()) f = QDateTime::fromString(texto, Qt::ISODate);
  return f;
}

// The hour of a stored date-time, read from its fixed positions ("yyyy-MM-dd HH:..."): a long
// session has thousands of tickets and parsing each whole date-time showed in the view's time.
int horaDe(const QString& texto) {
  if (texto.size() >= 16 && (texto[10] == QLatin1Char(' ') || texto[10] == QLatin1Char('T')) &&
      texto[13] == QLatin1Char(':') && texto[11].isDigit() && texto[12].isDigit()) {
    const int h = texto.mid(11, 2).toInt();
    if (h < 24) return h;
  }
  const QDateTime f = fechaDe(texto);
  return f.isValid() ? f.time().hour() : -1;
}

}  // namespace

TResultado leeNumeroSesion(const QString& texto, int* sesion) {
  const QString t = texto.trimmed();
  if (t.isEmpty()) return TResultado::falla(QString());
  for (const QChar c : t)
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
      return TResultado::falla(
          QStringLiteral("El número de sesión solo admite dígitos: \"%1\" no es un número.")
              .arg(t.left(30)));
  const int n = t.size() <= 9 ? t.toInt() : 0;
  if (n <= 0)
    return TResultado::falla(
        QStringLiteral("La sesión %1 no existe en este negocio.").arg(t.left(30)));
  if (sesion) *sesion = n;
  return TResultado::bien();
}

TResultado buscaEncabezadoSesion(int sesion, int idNegocio, TConexionSesion& conexion,
                                 TencabezadoSesion* encabezado) {
  const CmidTierResponse r = buscaSesionPorID(sesion, idNegocio, conexion);
  if (!r.ok())
    return TResultado::falla(
        QStringLiteral("No se pudo consultar la sesión %1: %2").arg(sesion).arg(r.getError()),
        mtError);
  if (r.getRowCount() == 0)
    return TResultado::falla(QStringLiteral("La sesión %1 no existe en este negocio.").arg(sesion));
  if (encabezado) {
    TencabezadoSesion& e = *encabezado;
    e.sesion = sesion;
    e.caja = r.getCelda(QStringLiteral("puntoCajaSesion_cajaNombre")).trimmed();
    if (e.caja.isEmpty()) e.caja = r.getCelda(QStringLiteral("puntoCaja_clave"));
    e.cajero = r.getCelda(QStringLiteral("_nombreCompleto")).trimmed();
    e.apertura = fechaDe(r.getCelda(QStringLiteral("puntoCajaSesion_fechaApertura")));
    e.cierre = fechaDe(r.getCelda(QStringLiteral("puntoCajaSesion_fechaCierre")));
    e.abierta = r.getCeldaAsInt(QStringLiteral("puntoCajaSesion_activa")) == 1;
  }
  return TResultado::bien();
}

QString describeSesion(const TencabezadoSesion& e) {
  const QString formato = QStringLiteral("dd/MM/yyyy HH:mm");
  QString t = QStringLiteral("Caja: %1 · Cajero: %2 · Apertura: %3")
                  .arg(e.caja, e.cajero.isEmpty() ? QStringLiteral("sin cajero") : e.cajero,
                       e.apertura.toString(formato));
  if (e.abierta)
    t += QStringLiteral(" · Sesión abierta: sus totales aún pueden cambiar");
  else if (e.cierre.isValid())
    t += QStringLiteral(" · Cierre: %1").arg(e.cierre.toString(formato));
  return t;
}

bool TdatosGrafica::vacia() const {
  for (const TserieGrafica& s : series)
    for (qint64 v : s.centavos)
      if (v != 0) return false;
  return true;
}

qint64 TdatosGrafica::maximo() const {
  qint64 m = 0;
  for (int c = 0; c < categorias.size(); ++c) {
    qint64 barra = 0;
    for (const TserieGrafica& s : series) barra += s.centavos.value(c);
    m = std::max(m, barra);
  }
  return m;
}

qint64 TdatosGrafica::total() const {
  qint64 t = 0;
  for (const TserieGrafica& s : series)
    for (qint64 v : s.centavos) t += v;
  return t;
}

TdatosGrafica ventasPorHora(const CmidTierResponse& tickets) {
  QMap<int, qint64> porHora;
  const int columnaFecha = tickets.columna(QStringLiteral("puntoOperacion_fechaHora"));
  for (int i = 0; i < tickets.getRowCount(); ++i) {
    const int hora = horaDe(tickets.getCelda(columnaFecha, i));
    if (hora < 0) continue;
    porHora[hora] += aCentavos(tickets.getCeldaAsFloat(QStringLiteral("puntoOperacion_total"), i));
  }
  TdatosGrafica d;
  if (porHora.isEmpty()) return d;
  TserieGrafica s;
  s.nombre = QStringLiteral("Ventas");
  for (int h = porHora.firstKey(); h <= porHora.lastKey(); ++h) {
    d.categorias << QStringLiteral("%1 h").arg(h);
    s.centavos << porHora.value(h);
  }
  d.series << s;
  return d;
}

TdatosGrafica totalesPorMetodo(const CmidTierResponse& metodos) {
  TdatosGrafica d;
  TserieGrafica s;
  s.nombre = QStringLiteral("Total");
  for (int i = 0; i < metodos.getRowCount(); ++i) {
    d.categorias << metodos.getCelda(1, i);
    s.centavos << aCentavos(metodos.getCelda(2, i).toDouble());
  }
  if (!d.categorias.isEmpty()) d.series << s;
  return d;
}

TdatosGrafica retirosPorDiaYCajero(const CmidTierResponse& cortes) {
  QMap<QDate, int> dias;
  QMap<QString, QMap<QDate, qint64>> porCajero;
  for (int i = 0; i < cortes.getRowCount(); ++i) {
    const QDateTime f = fechaDe(cortes.getCelda(QStringLiteral("puntoCorte_fechaHora"), i));
    if (!f.isValid()) continue;
    QString cajero = cortes.getCelda(QStringLiteral("_nombreCompleto"), i).trimmed();
    if (cajero.isEmpty()) cajero = QStringLiteral("Sin cajero");
    dias.insert(f.date(), 0);
    porCajero[cajero][f.date()] +=
        aCentavos(cortes.getCeldaAsFloat(QStringLiteral("puntoCorte_monto"), i));
  }
  TdatosGrafica d;
  for (auto it = dias.begin(); it != dias.end(); ++it)
    d.categorias << it.key().toString(QStringLiteral("dd/MM"));
  for (auto c = porCajero.begin(); c != porCajero.end(); ++c) {
    TserieGrafica s;
    s.nombre = c.key();
    for (auto it = dias.begin(); it != dias.end(); ++it) s.centavos << c.value().value(it.key());
    d.series << s;
  }
  return d;
}
