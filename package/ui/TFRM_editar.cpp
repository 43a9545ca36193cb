#include "TFRM_editar.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/TEstiloComponentesBPLFrm.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

namespace {
const QString kBorra = QStringLiteral("←");
const QString kLimpia = QStringLiteral("Limpiar");
const QString kPunto = QStringLiteral(".");
}  // namespace

TFRM_editar::TFRM_editar(QWidget* parent) : QDialog(parent) {
  TEstiloComponentesBPLFrm& estilo = u_estiloComponentes();
  setWindowTitle(QStringLiteral("Punto de Venta"));
  setObjectName(QStringLiteral("FRM_editar"));
  setStyleSheet(QStringLiteral("#FRM_editar{%1}").arg(estilo.estiloFondoDialogo()));
  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(24, 20, 24, 24);
  l->setSpacing(14);

  LBL_titulo = new QLabel(this);
  LBL_titulo->setStyleSheet(estilo.estiloTituloDialogo());
  l->addWidget(LBL_titulo);

  TXT_valor = new QLineEdit(this);
  TXT_valor->setReadOnly(true);
  TXT_valor->setFocusPolicy(Qt::NoFocus);
  TXT_valor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  TXT_valor->setMinimumHeight(64);
  TXT_valor->setStyleSheet(estilo.estiloPantallaTeclado());
  l->addWidget(TXT_valor);

  auto* teclado = new QGridLayout();
  teclado->setSpacing(10);
  auto tecla = [&](const QString& texto, int tipo, int fila, int col, int filas = 1) {
    auto* b = new QPushButton(texto, this);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    b->setMinimumSize(88, 68);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    b->setStyleSheet(estilo.estiloTecla(tipo));
    teclado->addWidget(b, fila, col, filas, 1);
    return b;
  };
  const char* digitos[3][3] = {{"7", "8", "9"}, {"4", "5", "6"}, {"1", "2", "3"}};
  for (int f = 0; f < 3; ++f)
    for (int c = 0; c < 3; ++c) {
      const QString d = QString::fromLatin1(digitos[f][c]);
      uTeclas.insert(d, tecla(d, 0, f, c));
    }
  uTeclas.insert(kPunto, tecla(kPunto, 0, 3, 0));
  uTeclas.insert(QStringLiteral("0"), tecla(QStringLiteral("0"), 0, 3, 1));
  uTeclas.insert(kBorra, tecla(kBorra, 1, 3, 2));
  uTeclas.insert(kLimpia, tecla(kLimpia, 4, 0, 3));
  QPushButton* cancelar = tecla(QStringLiteral("Cancelar"), 3, 1, 3);
  QPushButton* aceptar = tecla(QStringLiteral("Aceptar"), 2, 2, 3, 2);
  l->addLayout(teclado, 1);

  for (auto it = uTeclas.cbegin(); it != uTeclas.cend(); ++it) {
    const QString t = it.key();
    connect(it.value(), &QPushButton::clicked, this, [this, t] { pulsaTecla(t); });
  }
  connect(aceptar, &QPushButton::clicked, this, &TFRM_editar::acepta);
  connect(cancelar, &QPushButton::clicked, this, &TFRM_editar::cancela);
  resize(480, 560);
}

TRespuestaEditar TFRM_editar::initNumericoEntero(const QString& titulo, const QString& valor,
                                                 int longitudMaxima) {
  return ejecuta(titulo, valor, longitudMaxima, false);
}

TRespuestaEditar TFRM_editar::initNumericoFraccion(const QString& titulo, const QString& valor,
                                                   int longitudMaxima) {
  return ejecuta(titulo, valor, longitudMaxima, true);
}

TRespuestaEditar TFRM_editar::ejecuta(const QString& titulo, const QString& valor,
                                      int longitudMaxima, bool fraccion) {
  uFraccion = fraccion;
  uLongitudMaxima = longitudMaxima > 0 ? longitudMaxima : 20;
  LBL_titulo->setText(titulo);
  uTeclas.value(kPunto)->setEnabled(fraccion);
  // A starting value the keypad could not have typed is not offered for editing.
  muestra(QString(), false);
  if (!setTexto(valor.trimmed())) muestra(QString(), false);
  uReemplazar = !texto().isEmpty();
  muestra(texto(), uReemplazar);

  TRespuestaEditar r;
  r.ok = u_ejecutaModal(this) == QDialog::Accepted;
  r.texto = r.ok ? normalizado() : texto();
  return r;
}

bool TFRM_editar::aceptaCaracter(const QString& actual, QChar c) const {
  if (!c.isDigit() && c != QLatin1Char('.')) return false;
  const bool permitido = uFraccion ? u_soloDecimales(actual, c) : u_soloNumeros(c);
  return permitido && u_maxLength(uLongitudMaxima, actual, c);
}

bool TFRM_editar::pulsaTecla(const QString& tecla) {
  if (tecla == kLimpia) {
    muestra(QString(), false);
    return true;
  }
  if (tecla == kBorra) {
    QString t = texto();
    t.chop(1);
    muestra(t, false);
    return true;
  }
  if (tecla.size() != 1) return false;
  const QChar c = tecla.at(0);
  QString base = uReemplazar ? QString() : texto();
  // A lone zero gives way to the next digit, as on a calculator.
  if (base == QStringLiteral("0") && c.isDigit()) base.clear();
  if (!aceptaCaracter(base, c)) return false;
  muestra(base + c, false);
  return true;
}

bool TFRM_editar::setTexto(const QString& texto) {
  muestra(QString(), false);
  bool todo = true;
  for (QChar c : texto) todo = pulsaTecla(QString(c)) && todo;
  return todo;
}

void TFRM_editar::acepta() {
  muestra(normalizado(), false);
  accept();
}

void TFRM_editar::cancela() { reject(); }

QString TFRM_editar::texto() const { return TXT_valor->text(); }
QString TFRM_editar::titulo() const { return LBL_titulo->text(); }

void TFRM_editar::muestra(const QString& texto, bool reemplazar) {
  TXT_valor->setText(texto);
  uReemplazar = reemplazar;
  if (reemplazar)
    TXT_valor->selectAll();
  else
    TXT_valor->deselect();
}

QString TFRM_editar::normalizado() const {
  QString t = texto();
  if (!uFraccion) return t;
  if (t == kPunto) return QString();
  if (t.startsWith(kPunto)) t.prepend(QLatin1Char('0'));
  if (t.endsWith(kPunto)) t.chop(1);
  return t;
}

void TFRM_editar::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      acepta();
      return;
    case Qt::Key_Escape:
      cancela();
      return;
    case Qt::Key_Backspace:
      pulsaTecla(kBorra);
      return;
    case Qt::Key_Delete:
      pulsaTecla(kLimpia);
      return;
    default:
      break;
  }
  QString t = e->text();
  if (t == QStringLiteral(",")) t = kPunto;
  if (t.size() == 1 && (t.at(0).isDigit() || t == kPunto)) {
    pulsaTecla(t);
    return;
  }
  QDialog::keyPressEvent(e);
}
