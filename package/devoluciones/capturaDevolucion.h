#pragma once
// What the return-capture dialog exchanges with its caller, and the rules of one line's
// capture, without widgets: the dialog checks a capture with them before it answers, and the
// return screen's document checks it again before taking it.

#include <QString>
#include <QStringList>
#include <QVector>

// One line's capture. The caller fills the sale's figures and what was captured before; the
// dialog answers `ok` and the captured values.
struct TcommCapturaDevolucion {
  bool ok = false;
  QString descripcion;
  double cantidad = 0;    // sold
  double devuelto = 0;    // returned before
  double devolucion = 0;  // captured now
  bool fraccion = false;  // the product may come back in fractions
  QString estado;         // condition of the goods
  int tipoDevolucion = 0;
  double devolucionAcumulado = 0;  // answer: returned once this return is made
  int fila = 0;                    // sale line id
  QString noSerieDevolver;
  int tipo = 0;  // 1 exchange, 2 credit note, 0 none chosen yet
};

// One serial number of a sold line, as `noSerieDevolver` carries it: entries separated by "/",
// each "|" + inventory id + "|" + link id + "|" + serial number (the first field is unused).
struct TnoSerieDevolver {
  int noSerieID = 0;
  int enlaceID = 0;
  QString noSerie;
  bool operator==(const TnoSerieDevolver&) const = default;
};
QVector<TnoSerieDevolver> u_leeNoSerieDevolver(const QString& texto);
QString u_escribeNoSerieDevolver(const QVector<TnoSerieDevolver>& series);

// The reasons a supervisor gives for a return (`tipoDevolucion`), and the conditions the goods
// come back in (`estado`).
struct TmotivoDevolucion {
  int id;
  QString texto;
};
const QVector<TmotivoDevolucion>& u_motivosDevolucion();
const QStringList& u_estadosProducto();

// The quantity as typed ("2", "0.5", blanks around are fine). False for anything that is not a
// plain number.
bool u_leeCantidadDevolucion(const QString& texto, double* cantidad);

// Pieces of the line still out, to 9 decimals (what was sold less what came back).
double u_pendienteDevolucion(const TcommCapturaDevolucion& c);

// Checks a capture against the line: no negative quantity, whole pieces for goods sold by the
// piece, no more than is left to return, and serial numbers that the line holds (`vendidos`),
// one per returned piece as far as the line's pieces carry serial numbers. Empty when it is
// good, else the reason to show.
QString u_validaCapturaDevolucion(const TcommCapturaDevolucion& c,
                                  const QVector<TnoSerieDevolver>& vendidos);
