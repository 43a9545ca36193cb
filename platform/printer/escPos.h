#pragma once
// ESC/POS byte stream of a composed receipt, for 80 mm thermal printers.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVector>

#include "printer/composicionTicket.h"

namespace escpos {
constexpr char ESC = 0x1B;
constexpr char GS = 0x1D;
constexpr char LF = 0x0A;
// Code page selected with ESC t: WPC1252, which carries every Spanish letter and sign.
constexpr int kPaginaWPC1252 = 16;
}  // namespace escpos

// Init, code page, the rows, paper feed and partial cut.
QByteArray codificaEscPos(const QVector<TRenglonTicket>& renglones);

// GS v 0 raster of a black-and-white picture (black where the grey value is below 128).
QByteArray rasterEscPos(const QImage& imagen);

// ESC p 0 25 250: one pulse on drawer pin 2 (50 ms on, 500 ms off).
QByteArray pulsoCajonEscPos();

// Text to and from Windows-1252; characters the code page lacks become '?'.
QByteArray aCp1252(const QString& texto);
QString deCp1252(const QByteArray& bytes);
