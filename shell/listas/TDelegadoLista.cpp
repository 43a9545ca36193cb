#include "shell/listas/TDelegadoLista.h"

#include <QPainter>

#include "grid/TGridControl.h"
#include "grid/TGridModelo.h"
#include "resources/recursos.h"
#include "shell/listas/lineasCelda.h"
#include "util/utilerias.h"

TDelegadoLista::TDelegadoLista(const TGridControl* grid, TFuenteValor valor, QObject* parent)
    : QStyledItemDelegate(parent), uGrid(grid), uValor(std::move(valor)) {}

TPintura TDelegadoLista::pintura(int columna) const {
  if (columna < 0 || columna >= uGrid->getColumnCount()) return TPintura::Izquierda;
  return uPinturas.value(uGrid->columna(columna).nombre, TPintura::Izquierda);
}

QString TDelegadoLista::textoCelda(const QString& valor, TPintura pintura) {
  QString texto = valor;
  texto.remove(QStringLiteral("(empty)"));
  if (pintura == TPintura::Moneda) {
    texto.remove(QLatin1Char('$')).remove(QLatin1Char(','));
    texto = texto.trimmed();
    if (texto.isEmpty()) return QString();
    return u_formatoMoneda(u_strToFloat(texto));
  }
  if (pintura == TPintura::Fecha) {
    const QDateTime f = u_leeFechaHora(texto.trimmed());
    return f.isValid() ? u_fechaHoraTexto(f) : texto;
  }
  return texto;
}

QString TDelegadoLista::textoCelda(int columna, int fila) const {
  return textoCelda(uValor ? uValor(columna, fila) : uGrid->getCelda(columna, fila),
                    pintura(columna));
}

QString TDelegadoLista::textoCorto(const QString& valor, TPintura pintura) {
  if (pintura == TPintura::Fecha) {
    const QDateTime f = u_leeFechaHora(QString(valor).remove(QStringLiteral("(empty)")).trimmed());
    if (f.isValid()) return f.toString(QStringLiteral("dd/MM/yy HH:mm"));
  }
  return textoCelda(valor, pintura);
}

QString TDelegadoLista::textoCorto(int columna, int fila) const {
  return textoCorto(uValor ? uValor(columna, fila) : uGrid->getCelda(columna, fila),
                    pintura(columna));
}

bool TDelegadoLista::esClicable(int columna) const {
  if (columna < 0 || columna >= uGrid->getColumnCount()) return false;
  return uGrid->columna(columna).tipo == TGridControl::Imagen ||
         pintura(columna) == TPintura::Enlace;
}

void TDelegadoLista::paint(QPainter* p, const QStyleOptionViewItem& opcion,
                           const QModelIndex& indice) const {
  const int fila = indice.row(), columna = indice.column();
  const QRect r = opcion.rect;
  p->save();
  p->fillRect(r, uFondo ? uFondo(fila) : QColor(Qt::white));
  const auto fondoColumna = uFondosColumna.constFind(uGrid->columna(columna).nombre);
  if (fondoColumna != uFondosColumna.constEnd()) p->fillRect(r, *fondoColumna);
  const bool seleccionada = (opcion.state & QStyle::State_Selected) || fila == uResaltada;
  if (seleccionada) p->fillRect(r, QColor(31, 111, 178, 50));
  p->setPen(QColor(0xDD, 0xE1, 0xE6));
  p->drawLine(r.bottomLeft(), r.bottomRight());
  if (uGrid->columna(columna).tipo == TGridControl::Imagen) {
    const int lado = std::max(8, std::min(r.height(), r.width()) - 12);
    const QPixmap pm =
        mini_imagen(indice.data(TGridModelo::RolImagen).toString(), QSize(lado, lado));
    p->drawPixmap(r.center().x() - lado / 2 + 1, r.center().y() - lado / 2 + 1, pm);
    p->restore();
    return;
  }
  const TPintura tipo = pintura(columna);
  Qt::Alignment alineacion = Qt::AlignLeft;
  if (tipo == TPintura::Centro) alineacion = Qt::AlignHCenter;
  if (tipo == TPintura::Moneda || tipo == TPintura::Derecha) alineacion = Qt::AlignRight;
  QFont fuente = opcion.font;
  if (tipo == TPintura::Enlace) fuente.setUnderline(true);
  p->setFont(fuente);
  p->setPen(tipo == TPintura::Enlace ? QColor::fromRgba(kColorEnlace) : QColor(Qt::black));
  const QRect texto = r.adjusted(kMargen, 0, -kMargen, 0);
  const QString valor = textoDibujado(p->fontMetrics(), columna, fila, texto.width(), nullptr);
  p->drawText(texto, alineacion | Qt::AlignVCenter, valor);
  p->restore();
}

QString TDelegadoLista::textoDibujado(const QFontMetrics& fm, int columna, int fila, int ancho,
                                      bool* recortado) const {
  const TPintura tipo = pintura(columna);
  const QString valor = textoCelda(columna, fila);
  if (tipo == TPintura::Moneda) {
    // An amount is never broken between "$" and its digits.
    if (recortado) *recortado = fm.horizontalAdvance(valor) > ancho;
    return fm.elidedText(valor, Qt::ElideRight, ancho);
  }
  // Whole on one or two lines; else a date in its short form.
  bool cortado = false;
  QString lineas = u_lineasCelda(fm, valor, ancho, &cortado);
  if (cortado && tipo == TPintura::Fecha)
    lineas = u_lineasCelda(fm, textoCorto(columna, fila), ancho, &cortado);
  if (recortado) *recortado = cortado;
  return lineas;
}

bool TDelegadoLista::recortada(const QFont& fuenteGrid, int columna, int fila, int ancho) const {
  if (columna < 0 || columna >= uGrid->getColumnCount() ||
      uGrid->columna(columna).tipo == TGridControl::Imagen)
    return false;
  QFont fuente = fuenteGrid;
  if (pintura(columna) == TPintura::Enlace) fuente.setUnderline(true);
  bool recortado = false;
  textoDibujado(QFontMetrics(fuente), columna, fila, ancho - 2 * kMargen, &recortado);
  return recortado;
}
