#pragma once
// Resources library stand-in: brand colours, the invoicing portal link and the module's
// images (SVG, in a Qt resource file).

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>

using TListaColores = QHash<QString, quint32>;  // colour name -> ARGB

// Every colour name the module's screens use.
TListaColores getColores();
// ARGB of a named colour (opaque grey when the name is unknown).
quint32 colorDe(const TListaColores& lista, const QString& nombre);
// "#RRGGBB" of an ARGB colour, for style sheets.
QString colorCss(quint32 argb);

// The invoicing portal link printed on receipts; `destino` receives it. The configured
// link wins over the built-in one.
void getEnlaceTicket(QString* destino);
void setEnlaceTicketConfigurado(const QString& enlace);

// The named image as a pixmap of the given size; null pixmap for unknown names.
QPixmap mini_imagen(const QString& nombre, const QSize& tam = QSize(32, 32));
bool mini_existeImagen(const QString& nombre);
// The named image as a button icon (rendered at `lado` pixels, scaled down by the button).
QIcon mini_icono(const QString& nombre, int lado = 48);
