#pragma once
// Looking back at a register session without a screen: reading the number a supervisor typed,
// finding the session of the business, and the data the session view and the closings control
// draw as charts (amounts in whole cents, so bars add up to the grids to the cent).

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"
#include "util/resultado.h"

// A session number as typed: digits only, at most nine of them. An empty (or blank) text
// answers a silent refusal (nothing to do); anything else not a number is refused with its
// message.
TResultado leeNumeroSesion(const QString& texto, int* sesion);

struct TencabezadoSesion {
  int sesion = 0;
  QString caja, cajero;
  QDateTime apertura, cierre;
  bool abierta = false;
};

// The session of the business, or the refusal "La sesión N no existe en este negocio." (also
// for a session of another business: the supervisor cannot tell them apart).
TResultado buscaEncabezadoSesion(int sesion, int idNegocio, TConexionSesion& conexion,
                                 TencabezadoSesion* encabezado);

// The line the session view shows under the number: register, cashier, opening and close, or
// that the session is still open (its totals may still change).
QString describeSesion(const TencabezadoSesion& e);

// Bars of a chart: categories along the axis and one series per group; every value in cents.
struct TserieGrafica {
  QString nombre;
  QVector<qint64> centavos;  // one per category
};
struct TdatosGrafica {
  QStringList categorias;
  QVector<TserieGrafica> series;
  bool vacia() const;
  qint64 maximo() const;  // the highest stacked bar
  qint64 total() const;
};

// The session's sales by hour, from its tickets (puntoOperacion_fechaHora,
// puntoOperacion_total): every hour from the first sale's to the last one's ("9 h"), so an
// idle hour shows as a gap.
TdatosGrafica ventasPorHora(const CmidTierResponse& tickets);
// Totals per payment method, from the method grid's table (name at column 1, total at 2).
TdatosGrafica totalesPorMetodo(const CmidTierResponse& metodos);
// Cash taken out per day ("dd/MM") and cashier, from the cuts and closes listed
// (puntoCorte_fechaHora, _nombreCompleto, puntoCorte_monto): days in order, cashiers by name.
TdatosGrafica retirosPorDiaYCajero(const CmidTierResponse& cortes);
