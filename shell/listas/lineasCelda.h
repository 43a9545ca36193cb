#pragma once
// A grid cell's text on up to two lines. A touch grid's rows are tall enough for two, and a
// name read whole on two lines beats one cut short on one: when the text is wider than the
// cell it is broken between words, as many as fit on the first line, and only what still does
// not fit is cut with "…".

#include <QFontMetrics>
#include <QString>

// The text to draw (its lines joined by '\n'); `recortado` tells whether anything was cut.
QString u_lineasCelda(const QFontMetrics& fm, const QString& texto, int ancho,
                      bool* recortado = nullptr);
// The least width at which `texto` shows whole on at most two lines.
int u_anchoDosLineas(const QFontMetrics& fm, const QString& texto);

// A grid's painter that can tell whether a cell shows its text whole at a width, by the same
// rule it paints with: layout checks find cut texts without looking at pixels.
class TCeldasLegibles {
 public:
  virtual ~TCeldasLegibles() = default;
  // `fuente` is the grid's own font.
  virtual bool recortada(const QFont& fuente, int columna, int fila, int ancho) const = 0;
};
