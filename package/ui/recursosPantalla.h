#pragma once
// The widget side of the resources library: images loaded into labels and the brand's touch
// buttons. Screens only; the colours and images themselves stay in platform/resources.

#include <QString>

#include "resources/recursos.h"

class QAbstractButton;
class QLabel;
class QPushButton;
class QWidget;

// Loads a named image (for instance "Elimina", "activo", "sinImagen") into a label.
bool mini_cargaImage(const QString& nombre, QLabel* destino);
// Rounded touch button in the brand colours.
void mini_cornerButtonStyle(QAbstractButton* boton, const TListaColores& colores);
// A new touch button styled that way that never takes the keyboard focus (the reading and
// amount fields keep it).
QPushButton* mini_botonTactil(const QString& texto, QWidget* padre, const TListaColores& colores);
