#include "ui/TTecladoCampos.h"

#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>

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

void TTecladoCampos::oculta() {
  uTeclado->hide();
  // A dialog that grew to make room for the keyboard goes back to its own height.
  if (uAltoOriginal > 0 && uAnfitrion->isWindow()) {
    const int alto = uAltoOriginal;
    uAltoOriginal = 0;
    uAnfitrion->resize(uAnfitrion->width(), alto);
  }
}

void TTecladoCampos::coloca() {
  if (uColocando) return;
  uColocando = true;
  uTeclado->adjustSize();
  const int ancho = std::min(uTeclado->sizeHint().width(), uAnfitrion->width() - 16);
  const int altoTeclado = uTeclado->sizeHint().height();
  uTeclado->resize(ancho, altoTeclado);
  const int x = (uAnfitrion->width() - uTeclado->width()) / 2;
  int y = uAnfitrion->height() - altoTeclado - 8;
  if (uCampo) {
    // Keep the field in sight: the keyboard goes to the other half of the host.
    const QRect campo(uCampo->mapTo(uAnfitrion, QPoint(0, 0)), uCampo->size());
    if (campo.center().y() > uAnfitrion->height() / 2) y = 8;
    const QRect teclado(std::max(0, x), std::max(0, y), ancho, altoTeclado);
    // A dialog too small for both grows below its fields and the keyboard takes the new room.
    if (teclado.intersects(campo) && uAnfitrion->isWindow() && uAltoOriginal == 0) {
      const QRect pantalla = uAnfitrion->screen()->availableGeometry();
      const int alto = std::min(uAnfitrion->height() + altoTeclado + 16, pantalla.height());
      if (alto > uAnfitrion->height()) {
        uAltoOriginal = uAnfitrion->height();
        uAnfitrion->resize(uAnfitrion->width(), alto);
        const QRect marco = uAnfitrion->frameGeometry();
        if (marco.bottom() > pantalla.bottom())
          uAnfitrion->move(uAnfitrion->x(), uAnfitrion->y() - (marco.bottom() - pantalla.bottom()));
        y = uAnfitrion->height() - altoTeclado - 8;
      }
    }
  }
  uTeclado->move(std::max(0, x), std::max(0, y));
  uColocando = false;
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
