#pragma once
// Numeric entry with a large on-screen keypad, for amounts and counts typed on the touch
// screen. The starting value is shown selected: the first key replaces it, "←" edits it.
// Runs through u_ejecutaModal, so tests drive it with the methods below.

#include <QDialog>
#include <QHash>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

struct TRespuestaEditar {
  bool ok = false;  // accepted
  QString texto;    // the entered text ("" when cleared)
};

class TFRM_editar : public QDialog {
  Q_OBJECT
 public:
  explicit TFRM_editar(QWidget* parent = nullptr);

  // Whole numbers: digits only, at most `longitudMaxima` of them.
  TRespuestaEditar initNumericoEntero(const QString& titulo, const QString& valor,
                                      int longitudMaxima);
  // Decimals: digits and one decimal point, at most `longitudMaxima` characters. An accepted
  // ".5" answers "0.5", "5." answers "5" and a lone "." answers "".
  TRespuestaEditar initNumericoFraccion(const QString& titulo, const QString& valor,
                                        int longitudMaxima);

  // Keys of the keypad: "0".."9", ".", "←" (erase the last character), "Limpiar".
  // False when the key is refused (not allowed here, or the text is full).
  bool pulsaTecla(const QString& tecla);
  // Replaces the text as if typed key by key; answers whether every character was taken.
  bool setTexto(const QString& texto);
  void acepta();
  void cancela();

  QString texto() const;
  QString titulo() const;
  bool esFraccion() const { return uFraccion; }
  int longitudMaxima() const { return uLongitudMaxima; }
  // The keypad button of a key (tests click it).
  QPushButton* boton(const QString& tecla) const { return uTeclas.value(tecla); }

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  TRespuestaEditar ejecuta(const QString& titulo, const QString& valor, int longitudMaxima,
                           bool fraccion);
  bool aceptaCaracter(const QString& actual, QChar c) const;
  void muestra(const QString& texto, bool reemplazar);
  QString normalizado() const;

  QLabel* LBL_titulo = nullptr;
  QLineEdit* TXT_valor = nullptr;
  QHash<QString, QPushButton*> uTeclas;
  bool uFraccion = false;
  bool uReemplazar = false;
  int uLongitudMaxima = 20;
};
