#include "TTecladoPantalla.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TTecladoPantalla::TTecladoPantalla(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("teclado"));
  setStyleSheet(
      QStringLiteral("#teclado{background:#2F3B47;border-radius:10px;}"
                     "QPushButton{background:#F4F6F8;color:#1E2A36;border:none;border-radius:6px;"
                     "font-size:20px;font-weight:600;min-width:52px;min-height:52px;}"
                     "QPushButton:pressed{background:#B8C7D6;}"
                     "QPushButton[especial=\"true\"]{background:#1F6FB2;color:white;}"));
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(10, 10, 10, 10);
  v->setSpacing(6);
  const QStringList filas = {QStringLiteral("1234567890"), QStringLiteral("QWERTYUIOP"),
                             QStringLiteral("ASDFGHJKLÑ"), QStringLiteral("ZXCVBNM")};
  for (const QString& fila : filas) {
    auto* h = new QHBoxLayout();
    h->setSpacing(6);
    h->addStretch();
    for (const QChar c : fila) {
      auto* b = new QPushButton(QString(c), this);
      b->setFocusPolicy(Qt::NoFocus);
      uBotones.insert(QString(c), b);
      connect(b, &QPushButton::clicked, this, [this, c] { pulsa(QString(c)); });
      h->addWidget(b);
    }
    h->addStretch();
    v->addLayout(h);
  }
  uFilaSimbolos = new QWidget(this);
  auto* hs = new QHBoxLayout(uFilaSimbolos);
  hs->setContentsMargins(0, 0, 0, 0);
  hs->setSpacing(6);
  hs->addStretch();
  for (const QChar c : QStringLiteral("@.-_&,")) {
    // A lone "&" on a button is read as a mnemonic marker and not shown.
    auto* b =
        new QPushButton(c == QLatin1Char('&') ? QStringLiteral("&&") : QString(c), uFilaSimbolos);
    b->setFocusPolicy(Qt::NoFocus);
    uBotones.insert(QString(c), b);
    connect(b, &QPushButton::clicked, this, [this, c] { pulsa(QString(c)); });
    hs->addWidget(b);
  }
  hs->addStretch();
  uFilaSimbolos->hide();
  v->addWidget(uFilaSimbolos);
  auto* h = new QHBoxLayout();
  h->setSpacing(6);
  for (const QString& t : {QStringLiteral("back"), QStringLiteral("espacio"),
                           QStringLiteral("enter"), QStringLiteral("cerrar")}) {
    auto* b = new QPushButton(t, this);
    b->setFocusPolicy(Qt::NoFocus);
    b->setProperty("especial", t != QStringLiteral("espacio"));
    if (t == QStringLiteral("espacio")) b->setMinimumWidth(320);
    uBotones.insert(t, b);
    connect(b, &QPushButton::clicked, this, [this, t] { pulsa(t); });
    h->addWidget(b, t == QStringLiteral("espacio") ? 4 : 1);
  }
  v->addLayout(h);
}

void TTecladoPantalla::pulsa(const QString& tecla) {
  if (tecla == QStringLiteral("back")) {
    if (uDestino)
      uDestino->setText(uDestino->text().chopped(std::min<qsizetype>(1, uDestino->text().size())));
    emit retroceso();
  } else if (tecla == QStringLiteral("enter")) {
    emit enter();
  } else if (tecla == QStringLiteral("cerrar")) {
    emit cerrar();
  } else if (tecla == QStringLiteral("espacio") || tecla.size() == 1) {
    const QString texto =
        tecla.size() == 1 ? tecla.toLower() : QStringLiteral(" ");  // "Ñ" gives "ñ"
    if (uDestino) uDestino->setText(uDestino->text() + texto);
    emit caracter(texto);
  }
}

void TTecladoPantalla::setSimbolos(bool visibles) {
  uFilaSimbolos->setVisible(visibles);
  adjustSize();
}

bool TTecladoPantalla::simbolos() const { return !uFilaSimbolos->isHidden(); }
