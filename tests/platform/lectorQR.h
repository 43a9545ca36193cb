#pragma once
// Reads QR codes out of a picture (zbar), to check what was printed.

#include <QImage>
#include <QStringList>

QStringList leeCodigosQR(const QImage& imagen);
