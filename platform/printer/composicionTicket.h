#pragma once
// Receipt layout, shared by the ESC/POS stream and the receipt picture so both always carry
// the same lines: 48 columns of the printer's standard font across 576 dots (80 mm paper).

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

#include "printer/TImpresionTicket.h"

constexpr int kColumnasTicket = 48;
constexpr int kAnchoPuntosTicket = 576;
constexpr int kAnchoMaxLogo = 300;
constexpr int kAltoMaxLogo = 110;

enum eAlineacionTicket { aliIzquierda = 0, aliCentro = 1, aliDerecha = 2 };

struct TRenglonTicket {
  QString texto;  // at most kColumnasTicket characters; empty for a picture or a blank line
  eAlineacionTicket alineacion = aliIzquierda;
  bool negrita = false;
  bool dobleAlto = false;
  QImage imagen;  // when set the row is a picture: Grayscale8, only black (0) and white (255)
};

QVector<TRenglonTicket> componeTicket(const RECticketInfo& info);
// The same in two parts, body (logo to payments) and end (the two free lines and the QR code):
// a sale lays out the body while it waits for the identifier that decides the end.
QVector<TRenglonTicket> componeCuerpoTicket(const RECticketInfo& info);
QVector<TRenglonTicket> componeFinTicket(const RECticketInfo& info);

// Word wrap to `columnas`; words longer than a line are cut. A text that fits is answered as
// it is. Never answers an empty list.
QStringList ajustaRenglones(const QString& texto, int columnas);

// Control characters (a stray ESC in a product name would drive the printer) become blanks.
QString limpiaTextoTicket(const QString& texto);

// The logo as the printer will print it: fitted into 300x110 keeping its shape, dithered to
// black and white. Null when the file is missing or unreadable.
QImage preparaLogo(const QString& archivo);
// The QR picture enlarged by whole steps into the box (modules stay square), or shrunk to
// fit when larger; thresholded to black and white. Null when the file is missing or
// unreadable.
QImage preparaQR(const QString& archivo, int anchoCaja, int altoCaja);
