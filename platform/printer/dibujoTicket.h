#pragma once
// The receipt as a picture, 576 pixels wide like the printer's 80 mm line, so a ticket can be
// seen without a printer.

#include <QImage>
#include <QVector>

#include "printer/composicionTicket.h"

// `altoRenglon`: pixels per text line (0 or less: 26). Double-height lines take two.
QImage dibujaTicket(const QVector<TRenglonTicket>& renglones, int altoRenglon);
