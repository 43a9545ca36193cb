#pragma once
// Images stored in the database and the value lists behind combo boxes.

#include <QByteArray>
#include <QImage>
#include <QVector>

// The bitmap as PNG file bytes (lossless, so a stored photo reads back pixel for pixel);
// empty for a null image.
QByteArray u_bitmap_TO_bytes(const QImage& imagen);
// The image stored by u_bitmap_TO_bytes; a null image when the bytes are not an image.
QImage u_bytes_TO_bitmap(const QByteArray& bytes);

// Position of `valor` in valores[0..ultimoIndice]; -1 when it is not there.
int FROM_arrayValue_TO_cboxIndex(const QVector<int>& valores, int ultimoIndice, int valor);
