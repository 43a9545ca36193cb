#pragma once
// Reads an ESC/POS byte stream back into lines of text with their alignment and emphasis,
// the raster pictures, cuts and drawer pulses. Used to check what was sent to a printer.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

struct TLineaEscPos {
  QString texto;
  int alineacion = 0;    // 0 left, 1 centre, 2 right, as in force when the line started
  bool negrita = false;  // some character of the line was bold
  bool dobleAlto = false;
  bool dobleAncho = false;
};

struct TImagenEscPos {
  QImage imagen;  // Grayscale8: black 0, white 255
  int alineacion = 0;
  int antesDeLinea = 0;  // index of the first text line printed after it
};

struct TPulsoCajonEscPos {
  int pin = 0;
  int encendido = 0;  // x 2 ms
  int apagado = 0;    // x 2 ms
};

struct TDocumentoEscPos {
  QVector<TLineaEscPos> lineas;
  QVector<TImagenEscPos> imagenes;
  QVector<TPulsoCajonEscPos> pulsos;
  int inicializaciones = 0;
  int paginaCodigos = 0;
  int lineasAvanzadas = 0;  // paper fed with ESC d
  int cortes = 0;
  bool cortaParcial = false;
  // Empty when every byte was understood; otherwise what stopped the reading and where.
  QString error;

  QStringList textos() const;
  // Index of the first line containing `fragmento` at or after `desde`, or -1.
  int buscaLinea(const QString& fragmento, int desde = 0) const;
};

TDocumentoEscPos decodificaEscPos(const QByteArray& bytes);
