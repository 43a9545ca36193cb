#pragma once
// Shared look of the suite's components: the style sheets of headers, menus, keypads and
// dialog buttons, built once from the brand colours so every screen looks the same.

#include <QFont>
#include <QObject>
#include <QString>

#include "resources/recursos.h"

class TEstiloComponentesBPLFrm : public QObject {
  Q_OBJECT
 public:
  explicit TEstiloComponentesBPLFrm(QObject* parent = nullptr);

  const TListaColores& colores() const { return uColores; }
  quint32 color(const QString& nombre) const { return colorDe(uColores, nombre); }

  // Dark title bar of a module and its texts.
  QString estiloEncabezado() const;
  QString estiloTituloEncabezado() const;
  QString estiloSubtituloEncabezado() const;
  // Title of a dialog screen.
  QString estiloTituloDialogo() const;
  // Big read-only display of an entry keypad.
  QString estiloPantallaTeclado() const;
  // Keys of an on-screen keypad; `tipo`: 0 digit, 1 erase, 2 accept, 3 cancel, 4 clear.
  QString estiloTecla(int tipo) const;
  // Solid background of dialog screens.
  QString estiloFondoDialogo() const;

  QFont fuenteBase() const;

  // "#RRGGBB" of an ARGB colour, for style sheets.
  static QString css(quint32 argb);

 private:
  TListaColores uColores;
};

// Created once by the first screen that needs it and kept for the process.
extern TEstiloComponentesBPLFrm* EstiloComponentesBPLFrm;
TEstiloComponentesBPLFrm& u_estiloComponentes();
