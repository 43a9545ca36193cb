#pragma once
// The frame of a rounded box drawn from a cached picture of its corners: the register's fields
// and result tiles repaint often, and stroking a rounded border every time costs more than
// copying four corners and filling four edges.

#include <QColor>
#include <QPainter>
#include <QPixmap>

// The four `k`x`k` corners of a white box with a `grueso`-pixel border of radius `radio`, on
// `fondo` (transparent to lie on whatever is under it), as one 2k x 2k picture; drawn once per
// set of values and scale, then taken from Qt's picture cache.
QPixmap u_esquinasRedondeadas(qreal escala, int k, qreal radio, int grueso, const QColor& borde,
                              const QColor& fondo);

// Edges `grueso` pixels thick in `borde` between the corners, and the four `k`x`k` corners copied
// from `esquinas` (a 2k x 2k picture of a whole rounded box), on a w x h box at (0, 0).
void u_pintaMarcoRedondeado(QPainter& p, int w, int h, const QPixmap& esquinas, int k, int grueso,
                            const QColor& borde);
