#pragma once
// Resources library stand-in: brand colours, the invoicing portal link and the module's
// images (SVG, in a Qt resource file).

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>

class QAbstractButton;
class QLabel;

using TListaColores = QHash<QString, quint32>;  // colour name -> ARGB

// Every colour name the module's screens use.
TListaColores getColores();
// ARGB of a named colour (opaque grey when the name is unknown).
quint32 colorDe(const TListaColores& lista, const QString& nombre);

// The invoicing portal link printed on receipts; `destino` receives it. The configured
// link wins over the built-in one.
void getEnlaceTicket(QString* destino);
void setEnlaceTicketConfigurado(const QString& enlace);

// Loads a named image (for instance "Elimina", "activo", "sinImagen") into a label.
bool mini_cargaImage(const QString& nombre, QLabel* destino);
// The named image as a pixmap of the given size; null pixmap for unknown names.
QPixmap mini_imagen(const QString& nombre, const QSize& tam = QSize(32, 32));
bool mini_existeImagen(const QString& nombre);
// The named image as a button icon (rendered at `lado` pixels, scaled down by the button).
QIcon mini_icono(const QString& nombre, int lado = 48);

// Rounded touch button in the brand colours.
void mini_cornerButtonStyle(QAbstractButton* boton, const TListaColores& colores);
class QPushButton;
class QWidget;
// A new touch button styled that way that never takes the keyboard focus (the reading and
// amount fields keep it).
QPushButton* mini_botonTactil(const QString& texto, QWidget* padre, const TListaColores& colores);
