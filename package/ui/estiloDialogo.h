#pragma once
// Brand colours and touch sizes of the module's dialogs: solid background ("fondoSolido"),
// title in "tituloFormulario2", body labels in "textoCuerpo", rounded buttons, and fields
// large enough for a finger.

#include <QString>

#include "resources/recursos.h"

class QDialog;
class QLabel;
class QAbstractButton;
class QGridLayout;
class QWidget;

// `extra` is appended to the dialog's style sheet: it is set once, since setting it a second
// time leaves some rules of the new one unapplied to widgets the first one already styled.
void aplicaColoresDialogo(QDialog* dialogo, QLabel* titulo, const TListaColores& colores,
                          const QString& extra = QString());
// Rounded brand buttons (mini_cornerButtonStyle) in one call.
void estiloBotones(std::initializer_list<QAbstractButton*> botones, const TListaColores& colores);
// The window caption of every window of the module.
QString tituloVentanaSuite();
// "&" doubled, so a label that reads "&" as a mnemonic marker shows the text as it is.
QString u_duplicaAmpersand(const QString& texto);
// A field under its caption (role "leyenda"), as the touch forms lay them out, in a grid cell
// spanning `ancho` columns.
void u_agregaCampo(QGridLayout* g, int fila, int columna, const QString& leyenda, QWidget* campo,
                   int ancho = 1);
