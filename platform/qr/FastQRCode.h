#pragma once
// QR code library: the QR code of a text as a bitmap file.

#include <QByteArray>
#include <QImage>

// Pixels per module of the bitmaps written by FastQRCode; the quiet zone is four modules.
constexpr int kPixelesPorModuloQR = 4;
constexpr int kZonaSilenciosaQR = 4;

// Writes `archivo` (a path in the local 8-bit encoding) as a black-and-white BMP holding the
// QR code of `texto` (error correction level M, bytes taken as they are). Answers false when
// the file cannot be written, and for an empty text or one too long for a QR code, in which
// case no file is left under that name.
bool FastQRCode(const QByteArray& texto, const QByteArray& archivo);

// The QR code of `texto` as a picture: black modules on white, `pixelesPorModulo` square,
// with the quiet zone. Null for an empty or too long text.
QImage imagenQR(const QByteArray& texto, int pixelesPorModulo = kPixelesPorModuloQR);
