#pragma once
// On-screen keyboard for the text fields of a screen or dialog: touching a field shows the
// keyboard over the half of the host that does not hold the field; its keys type into that
// field (respecting its length limit and validator), "enter" reports the field and hides the
// keyboard, "cerrar" hides it.

#include <QObject>
#include <QPointer>

class QLineEdit;
class QPlainTextEdit;
class QWidget;
class TTecladoPantalla;

class TTecladoCampos : public QObject {
  Q_OBJECT
 public:
  explicit TTecladoCampos(QWidget* anfitrion);

  // `simbolos`: the field also takes "@ . - _ & ," (e-mail addresses, RFCs, company names).
  void agrega(QLineEdit* campo, bool simbolos = false);
  void agrega(QPlainTextEdit* campo);

  // Shows the keyboard for a field (what touching it does).
  void muestra(QWidget* campo);
  void oculta();
  bool visible() const;
  QWidget* campoActual() const { return uCampo; }
  TTecladoPantalla* teclado() const { return uTeclado; }

 signals:
  void enter(QWidget* campo);

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void escribe(const QString& texto);
  void borra();
  void coloca();

  QWidget* uAnfitrion;
  TTecladoPantalla* uTeclado;
  QPointer<QWidget> uCampo;
  int uAltoOriginal = 0;  // the host's height before it grew for the keyboard; 0 when it did not
  bool uColocando = false;
};
