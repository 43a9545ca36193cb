#pragma once
// What tests and pos-script may do on a screen, as its user would, by the names the user reads
// on it: type into a field key by key (the screen's own key handling runs), press a button or
// touch any control, choose in a list, and read a text, a state or a value. A screen keeps its
// widgets private and names here, as it builds them, those its users act on or read.

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;

class TPantallaNombrada {
 public:
  virtual ~TPantallaNombrada() = default;

  // Key by key into a field: press and release of each character, as a scanner or a keyboard
  // types.
  void teclea(const QString& campo, const QString& texto);
  // The Enter key on a field.
  void pulsaEnter(const QString& campo);
  // Leaving a field (it loses the focus: its validator runs).
  void dejaCampo(const QString& campo);
  // A field's whole text at once (a paste, a pick): line and plain-text edits; a date edit
  // takes "yyyy-MM-dd", a date-time edit that or "yyyy-MM-ddTHH:mm:ss".
  void escribe(const QString& campo, const QString& texto);
  // A button is clicked (nothing when disabled); any other control is touched: pressed and
  // released at its centre.
  void pulsa(const QString& nombre);
  // A key of the screen's on-screen keyboard (named "Teclado") by its caption.
  void pulsaTecla(const QString& tecla);
  // A key that types nothing (an arrow, Enter) on a control.
  void pulsaTeclaEn(const QString& nombre, int tecla);
  // A touch, a double touch, or the keyboard's current cell (with the focus) on a grid.
  void pulsaCelda(const QString& grid, int fila, int columna);
  void pulsaDobleCelda(const QString& grid, int fila, int columna);
  void seleccionaCelda(const QString& grid, int fila, int columna);
  // The entry of a list that stands for `dato`; an unknown one leaves the first entry chosen.
  void elige(const QString& lista, const QVariant& dato);
  // The entry of a list by the text it shows.
  void eligeOpcion(const QString& lista, const QString& texto);
  // Ticks or clears a check box or a radio button.
  void marca(const QString& casilla, bool marcada);

  // The text of a label, field, button or plain-text edit, a list's current entry, a tab set's
  // current tab, or a date edit's date as "yyyy-MM-dd".
  QString texto(const QString& nombre) const;
  // A list's current data, a date edit's date, a box's or radio button's check state, whether
  // an on-screen keyboard shows its row of symbols.
  QVariant dato(const QString& nombre) const;
  // A field marked invalid by its validator (ui/camposTexto.h).
  bool invalido(const QString& campo) const;
  QStringList entradas(const QString& lista) const;
  bool habilitado(const QString& nombre) const;
  // The most characters a field takes.
  int longitudMaxima(const QString& campo) const;
  // Shown within its window (the window itself need not be on screen).
  bool visible(const QString& nombre) const;
  // Rows of a grid.
  int filas(const QString& grid) const;
  // Width of a grid's column (0 when hidden) and of the grid's visible area.
  int anchoColumna(const QString& grid, int columna) const;
  int anchoGrid(const QString& grid) const;
  // The control its window would type into now (its focus), whether or not the window is active.
  bool tieneFoco(const QString& nombre) const;
  // A grid's row lies wholly within the grid's visible area.
  bool filaVisible(const QString& grid, int fila) const;
  // The names of the screen's buttons, in name order.
  QStringList botones() const;
  // The control named so (null when none): a dialog that hosts a named part names its controls
  // again under its own interface.
  QWidget* controlNombrado(const QString& nombre) const { return control(nombre); }

 protected:
  void nombra(const QString& nombre, QWidget* control);

 private:
  QWidget* control(const QString& nombre) const;

  QHash<QString, QPointer<QWidget>> uControles;
};
