#pragma once
// Building blocks of the register-session dialogs (opening, cut and close): captions, value
// labels, the square edit button of an amount and the dialog colours.

#include <QString>

#include "resources/recursos.h"

class QDialog;
class QFrame;
class QLabel;
class QPushButton;
class QWidget;

QLabel* leyendaSesion(const QString& texto, QWidget* padre);
// A value shown large; amounts right-aligned.
QLabel* valorSesion(QWidget* padre, bool importe = false);
// Square touch button with the "Edita" icon.
QPushButton* botonEditaSesion(QWidget* padre);
QFrame* separadorSesion(QWidget* padre);
void aplicaColoresSesion(QDialog* dialogo, QLabel* titulo, const TListaColores& colores);
