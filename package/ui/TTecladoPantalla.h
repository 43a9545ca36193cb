#pragma once
// On-screen keyboard of the touch screens: letters (shown in capitals, typed in lower case),
// digits, "espacio", "back", "enter" and "cerrar"; for fields that need them (e-mail, RFC,
// company names) a row of symbols "@ . - _ & ," can be shown.

#include <QFrame>
#include <QHash>
#include <QLineEdit>
#include <QPointer>

class QPushButton;

class TTecladoPantalla : public QFrame {
  Q_OBJECT
 public:
  explicit TTecladoPantalla(QWidget* parent = nullptr);
  // Presses a key by its caption ("A", "Ñ", "7", "espacio", "back", "enter", "cerrar").
  void pulsa(const QString& tecla);
  QPushButton* boton(const QString& tecla) const { return uBotones.value(tecla); }
  // The field that letters, digits, blanks and "back" type into (none: only the signals).
  void setDestino(QLineEdit* campo) { uDestino = campo; }
  void setSimbolos(bool visibles);
  bool simbolos() const;

 signals:
  void caracter(const QString& texto);  // a letter (lower case), a digit or a blank
  void retroceso();
  void enter();
  void cerrar();

 private:
  QHash<QString, QPushButton*> uBotones;
  QPointer<QLineEdit> uDestino;
  QWidget* uFilaSimbolos = nullptr;
};
