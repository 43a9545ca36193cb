#include "ui/pantallaNombrada.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>

#include "ui/TTecladoPantalla.h"

namespace {

void tecla(QWidget* w, int codigo, const QString& texto) {
  QKeyEvent pulsada(QEvent::KeyPress, codigo, Qt::NoModifier, texto);
  QApplication::sendEvent(w, &pulsada);
  QKeyEvent soltada(QEvent::KeyRelease, codigo, Qt::NoModifier, texto);
  QApplication::sendEvent(w, &soltada);
}

void raton(QWidget* w, QEvent::Type tipo, const QPoint& punto) {
  const QPointF local(punto), global(w->mapToGlobal(punto));
  const Qt::MouseButtons botones =
      tipo == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(tipo, local, global, Qt::LeftButton, botones, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void toca(QWidget* w, const QPoint& punto) {
  raton(w, QEvent::MouseButtonPress, punto);
  raton(w, QEvent::MouseButtonRelease, punto);
}

QTableView* comoGrid(QWidget* w) {
  auto* g = qobject_cast<QTableView*>(w);
  return g && g->model() ? g : nullptr;
}

}  // namespace

void TPantallaNombrada::nombra(const QString& nombre, QWidget* control) {
  uControles.insert(nombre, control);
}

QWidget* TPantallaNombrada::control(const QString& nombre) const {
  QWidget* w = uControles.value(nombre);
  if (!w) qWarning("La pantalla no tiene un control llamado '%s'", qPrintable(nombre));
  return w;
}

void TPantallaNombrada::teclea(const QString& campo, const QString& texto) {
  QWidget* w = control(campo);
  if (!w) return;
  // The key code of a printable character is its upper-case code point.
  for (const QChar c : texto) tecla(w, c.toUpper().unicode(), QString(c));
}

void TPantallaNombrada::pulsaEnter(const QString& campo) {
  if (QWidget* w = control(campo)) tecla(w, Qt::Key_Return, QStringLiteral("\r"));
}

void TPantallaNombrada::dejaCampo(const QString& campo) {
  if (QWidget* w = control(campo)) {
    QFocusEvent salida(QEvent::FocusOut);
    QApplication::sendEvent(w, &salida);
  }
}

void TPantallaNombrada::escribe(const QString& campo, const QString& texto) {
  QWidget* w = control(campo);
  if (auto* l = qobject_cast<QLineEdit*>(w))
    l->setText(texto);
  else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
    p->setPlainText(texto);
  else if (auto* d = qobject_cast<QDateEdit*>(w))
    d->setDate(QDate::fromString(texto, Qt::ISODate));
  else if (auto* dt = qobject_cast<QDateTimeEdit*>(w))
    dt->setDateTime(texto.contains(QLatin1Char('T'))
                        ? QDateTime::fromString(texto, Qt::ISODate)
                        : QDate::fromString(texto, Qt::ISODate).startOfDay());
}

void TPantallaNombrada::pulsa(const QString& nombre) {
  QWidget* w = control(nombre);
  if (auto* b = qobject_cast<QAbstractButton*>(w))
    b->click();
  else if (w) {
    // A touch gives the focus to what takes it by a click, as the window system does.
    if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus)) w->setFocus(Qt::MouseFocusReason);
    toca(w, w->rect().center());
  }
}

void TPantallaNombrada::pulsaTecla(const QString& tecla) {
  if (auto* t = qobject_cast<TTecladoPantalla*>(control(QStringLiteral("Teclado"))))
    t->pulsa(tecla);
}

void TPantallaNombrada::pulsaTeclaEn(const QString& nombre, int codigo) {
  if (QWidget* w = control(nombre))
    tecla(w, codigo,
          codigo == Qt::Key_Return || codigo == Qt::Key_Enter ? QStringLiteral("\r") : QString());
}

void TPantallaNombrada::pulsaCelda(const QString& grid, int fila, int columna) {
  if (QTableView* g = comoGrid(control(grid)))
    toca(g->viewport(), g->visualRect(g->model()->index(fila, columna)).center());
}

void TPantallaNombrada::pulsaDobleCelda(const QString& grid, int fila, int columna) {
  QTableView* g = comoGrid(control(grid));
  if (!g) return;
  const QPoint punto = g->visualRect(g->model()->index(fila, columna)).center();
  toca(g->viewport(), punto);
  raton(g->viewport(), QEvent::MouseButtonDblClick, punto);
  raton(g->viewport(), QEvent::MouseButtonRelease, punto);
}

void TPantallaNombrada::seleccionaCelda(const QString& grid, int fila, int columna) {
  if (QTableView* g = comoGrid(control(grid))) {
    g->setFocus();
    g->setCurrentIndex(g->model()->index(fila, columna));
  }
}

void TPantallaNombrada::elige(const QString& lista, const QVariant& dato) {
  if (auto* c = qobject_cast<QComboBox*>(control(lista)))
    c->setCurrentIndex(qMax(0, c->findData(dato)));
}

void TPantallaNombrada::eligeOpcion(const QString& lista, const QString& texto) {
  if (auto* c = qobject_cast<QComboBox*>(control(lista))) c->setCurrentIndex(c->findText(texto));
}

void TPantallaNombrada::marca(const QString& casilla, bool marcada) {
  if (auto* b = qobject_cast<QAbstractButton*>(control(casilla))) b->setChecked(marcada);
}

QString TPantallaNombrada::texto(const QString& nombre) const {
  QWidget* w = control(nombre);
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* l = qobject_cast<QLineEdit*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  if (auto* t = qobject_cast<QTabWidget*>(w)) return t->tabText(t->currentIndex());
  if (auto* d = qobject_cast<QDateEdit*>(w)) return d->date().toString(Qt::ISODate);
  return QString();
}

QVariant TPantallaNombrada::dato(const QString& nombre) const {
  QWidget* w = control(nombre);
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentData();
  if (auto* d = qobject_cast<QDateEdit*>(w)) return d->date();
  if (auto* dt = qobject_cast<QDateTimeEdit*>(w)) return dt->dateTime();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->isChecked();
  if (auto* t = qobject_cast<TTecladoPantalla*>(w)) return t->simbolos();
  return QVariant();
}

bool TPantallaNombrada::invalido(const QString& campo) const {
  QWidget* w = control(campo);
  return w && w->property("invalido").toBool();
}

QStringList TPantallaNombrada::entradas(const QString& lista) const {
  QStringList o;
  if (auto* c = qobject_cast<QComboBox*>(control(lista)))
    for (int i = 0; i < c->count(); ++i) o << c->itemText(i);
  return o;
}

bool TPantallaNombrada::habilitado(const QString& nombre) const {
  QWidget* w = control(nombre);
  return w && w->isEnabled();
}

int TPantallaNombrada::longitudMaxima(const QString& campo) const {
  auto* l = qobject_cast<QLineEdit*>(control(campo));
  return l ? l->maxLength() : 0;
}

bool TPantallaNombrada::visible(const QString& nombre) const {
  QWidget* w = control(nombre);
  return w && w->isVisibleTo(w->window());
}

int TPantallaNombrada::filas(const QString& grid) const {
  QTableView* g = comoGrid(control(grid));
  return g ? g->model()->rowCount() : 0;
}

int TPantallaNombrada::anchoColumna(const QString& grid, int columna) const {
  auto* g = qobject_cast<QTableView*>(control(grid));
  if (!g || g->isColumnHidden(columna)) return 0;
  return g->columnWidth(columna);
}

int TPantallaNombrada::anchoGrid(const QString& grid) const {
  auto* g = qobject_cast<QTableView*>(control(grid));
  return g ? g->viewport()->width() : 0;
}

QStringList TPantallaNombrada::botones() const {
  QStringList nombres;
  for (auto it = uControles.constBegin(); it != uControles.constEnd(); ++it)
    if (qobject_cast<QAbstractButton*>(it.value().data())) nombres << it.key();
  nombres.sort();
  return nombres;
}

bool TPantallaNombrada::tieneFoco(const QString& nombre) const {
  QWidget* w = control(nombre);
  return w && w->window()->focusWidget() == w;
}

bool TPantallaNombrada::filaVisible(const QString& grid, int fila) const {
  QTableView* g = comoGrid(control(grid));
  if (!g || fila < 0 || fila >= g->model()->rowCount()) return false;
  const int y = g->rowViewportPosition(fila);
  return y >= 0 && y + g->rowHeight(fila) <= g->viewport()->height();
}
