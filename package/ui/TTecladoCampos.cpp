#include "ui/TTecladoCampos.h"

#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/TTecladoPantalla.h"

TTecladoCampos::TTecladoCampos(QWidget* anfitrion)
    : QObject(anfitrion), uAnfitrion(anfitrion), uTeclado(new TTecladoPantalla(anfitrion)) {
  uTeclado->hide();
  connect(uTeclado, &TTecladoPantalla::caracter, this, &TTecladoCampos::escribe);
  connect(uTeclado, &TTecladoPantalla::retroceso, this, &TTecladoCampos::borra);
  connect(uTeclado, &TTecladoPantalla::cerrar, this, &TTecladoCampos::oculta);
  connect(uTeclado, &TTecladoPantalla::enter, this, [this] {
    QWidget* campo = uCampo;
    oculta();
    if (campo) emit enter(campo);
  });
  uAnfitrion->installEventFilter(this);
}

void TTecladoCampos::agrega(QLineEdit* campo, bool simbolos) {
  if (!campo) return;
  campo->installEventFilter(this);
  campo->setProperty("tecladoSimbolos", simbolos);
}

void TTecladoCampos::agrega(QPlainTextEdit* campo) {
  if (campo) campo->viewport()->installEventFilter(this);
}

bool TTecladoCampos::visible() const { return uTeclado->isVisible(); }

void TTecladoCampos::muestra(QWidget* campo) {
  if (!campo || !campo->isEnabled()) return;
  if (auto* l = qobject_cast<QLineEdit*>(campo); l && l->isReadOnly()) return;
  uCampo = campo;
  campo->setFocus();
  uTeclado->setSimbolos(campo->property("tecladoSimbolos").toBool());
  coloca();
  uTeclado->raise();
  uTeclado->show();
}

void TTecladoCampos::oculta() { uTeclado->hide(); }

void TTecladoCampos::coloca() {
  uTeclado->adjustSize();
  const int ancho = std::min(uTeclado->sizeHint().width(), uAnfitrion->width() - 16);
  uTeclado->resize(ancho, uTeclado->sizeHint().height());
  const int x = (uAnfitrion->width() - uTeclado->width()) / 2;
  int y = uAnfitrion->height() - uTeclado->height() - 8;
  if (uCampo) {
    // Keep the field in sight: the keyboard goes to the other half of the host.
    const QPoint centro = uCampo->mapTo(uAnfitrion, uCampo->rect().center());
    if (centro.y() > uAnfitrion->height() / 2) y = 8;
  }
  uTeclado->move(std::max(0, x), std::max(0, y));
}

void TTecladoCampos::escribe(const QString& texto) {
  if (auto* l = qobject_cast<QLineEdit*>(uCampo.data())) {
    l->insert(texto);  // honours maxLength and the validator
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(uCampo.data())) {
    p->insertPlainText(texto);
  }
}

void TTecladoCampos::borra() {
  if (auto* l = qobject_cast<QLineEdit*>(uCampo.data())) {
    l->backspace();
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(uCampo.data())) {
    QTextCursor c = p->textCursor();
    c.deletePreviousChar();
    p->setTextCursor(c);
  }
}

bool TTecladoCampos::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == uAnfitrion) {
    if (evento->type() == QEvent::Resize && uTeclado->isVisible()) coloca();
    return false;
  }
  if (evento->type() == QEvent::MouseButtonPress) {
    QWidget* w = qobject_cast<QWidget*>(objeto);
    if (w && qobject_cast<QPlainTextEdit*>(w->parentWidget())) w = w->parentWidget();
    muestra(w);
  }
  return false;
}
