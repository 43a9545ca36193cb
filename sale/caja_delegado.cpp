#include "sale/caja_delegado.h"

#include <QPainter>

#include "grid/TGridControl.h"
#include "grid/TGridModelo.h"
#include "platform/resources/recursos.h"
#include "util/utilerias.h"

namespace {
const QStringList kColumnasImpuesto = {QStringLiteral("IVA T"), QStringLiteral("IVA R"),
                                       QStringLiteral("IEPS T"), QStringLiteral("IEPS R"),
                                       QStringLiteral("ISR R")};
const QStringList kColumnasMoneda = {
    QStringLiteral("Precio"), QStringLiteral("Precio Unitario"), QStringLiteral("IVA T"),
    QStringLiteral("IVA R"),  QStringLiteral("IEPS T"),          QStringLiteral("IEPS R"),
    QStringLiteral("ISR R"),  QStringLiteral("Importe"),         QStringLiteral("Imp")};

bool esCabecera(const QString& tipo) { return tipo == "2" || tipo == "3"; }
}  // namespace

TCajaDelegado::TCajaDelegado(TGridControl* lineas, QObject* parent)
    : QStyledItemDelegate(parent), uLineas(lineas) {}

quint32 TCajaDelegado::fondoFila(const QString& tipo) {
  if (esCabecera(tipo)) return 0xFFFFC37B;
  if (tipo == "20" || tipo == "30" || tipo == "31" || tipo == "32" || tipo == "33") return 0xFFF9EAD8;
  return 0xFFFFFFFF;
}

QString TCajaDelegado::textoCelda(const TGridControl& g, int columna, int fila) {
  const QString nombre = g.columna(columna).nombre;
  const QString tipo = g.getCelda(QStringLiteral("_tipoInsercion"), fila);
  QString texto = g.getCelda(columna, fila);
  if (texto == QStringLiteral("(empty)")) texto.clear();
  if (tipo == QStringLiteral("20")) {
    if (nombre == QStringLiteral("Descripción")) return QStringLiteral("   - ") + texto;
    if (nombre == QStringLiteral("Importe") || nombre == QStringLiteral("Imp")) return QString();
  }
  if (kColumnasMoneda.contains(nombre)) {
    QString limpio = texto;
    limpio.remove('$').remove(',');
    if (limpio.trimmed().isEmpty()) return QString();
    return u_formatoMoneda(u_strToFloat(limpio.trimmed()));
  }
  return texto;
}

void TCajaDelegado::paint(QPainter* p, const QStyleOptionViewItem& opt,
                          const QModelIndex& index) const {
  const int fila = index.row(), col = index.column();
  const QString tipo = uLineas->getCelda(QStringLiteral("_tipoInsercion"), fila);
  const QString nombre = uLineas->columna(col).nombre;
  quint32 fondo = fondoFila(tipo);
  if (kColumnasImpuesto.contains(nombre)) fondo = esCabecera(tipo) ? 0xFFFB92A1 : 0xFFFADEE2;
  p->save();
  p->fillRect(opt.rect, QColor::fromRgba(fondo));
  if (fila == uSeleccionada) p->fillRect(opt.rect, QColor(31, 111, 178, 55));
  p->setPen(QColor(0xD0, 0xD4, 0xD8));
  p->drawLine(opt.rect.bottomLeft(), opt.rect.bottomRight());
  if (uLineas->columna(col).tipo == TGridControl::Imagen) {
    if (tipo != QStringLiteral("20")) {
      const int lado = std::min(opt.rect.height(), opt.rect.width()) - 10;
      const QPixmap pm = mini_imagen(index.data(TGridModelo::RolImagen).toString(), QSize(lado, lado));
      p->drawPixmap(opt.rect.center().x() - lado / 2, opt.rect.center().y() - lado / 2, pm);
    }
  } else {
    p->setFont(fuenteFila(opt.font, fila));
    p->setPen(Qt::black);
    const Qt::Alignment al =
        (kColumnasMoneda.contains(nombre) || nombre == QStringLiteral("Cantidad") ? Qt::AlignRight
                                                                                   : Qt::AlignLeft) |
        Qt::AlignVCenter;
    const QRect r = opt.rect.adjusted(kMargen, 0, -kMargen, 0);
    p->drawText(r, al, textoDibujado(p->fontMetrics(), col, fila, r.width(), nullptr));
  }
  p->restore();
}

bool TCajaDelegado::filaCabecera(const TGridControl& lineas, int fila) {
  return esCabecera(lineas.getCelda(QStringLiteral("_tipoInsercion"), fila));
}

QFont TCajaDelegado::fuenteFila(const QFont& fuenteGrid, int fila) const {
  QFont f = fuenteGrid;
  f.setPointSize(uFuente);
  f.setBold(filaCabecera(*uLineas, fila));
  return f;
}

QString TCajaDelegado::textoDibujado(const QFontMetrics& fm, int columna, int fila, int ancho,
                                     bool* recortado) const {
  const QString texto = textoCelda(*uLineas, columna, fila);
  if (uLineas->columna(columna).nombre == QStringLiteral("Descripción"))
    return u_lineasCelda(fm, texto, ancho, recortado);
  if (recortado) *recortado = fm.horizontalAdvance(texto) > ancho;
  return fm.elidedText(texto, Qt::ElideRight, ancho);
}

bool TCajaDelegado::recortada(const QFont& fuenteGrid, int columna, int fila, int ancho) const {
  if (uLineas->columna(columna).tipo == TGridControl::Imagen) return false;
  bool recortado = false;
  textoDibujado(QFontMetrics(fuenteFila(fuenteGrid, fila)), columna, fila, ancho - 2 * kMargen,
                &recortado);
  return recortado;
}

TMonitorDelegado::TMonitorDelegado(TGridControl* monitor, QObject* parent)
    : QStyledItemDelegate(parent), uMonitor(monitor) {}

QString TMonitorDelegado::textoCelda(const TGridControl& m, int columna, int fila) {
  QString t = m.getCelda(columna, fila);
  if (columna == 3 || columna == 4) {
    t.remove('$').remove(',');
    return t.trimmed().isEmpty() ? QString() : u_formatoMoneda(u_strToFloat(t.trimmed()));
  }
  return t;
}

void TMonitorDelegado::paint(QPainter* p, const QStyleOptionViewItem& opt,
                             const QModelIndex& index) const {
  const int c = index.column();
  p->save();
  p->fillRect(opt.rect, (c == 3 || c == 4) ? QColor::fromRgba(0xFFFBE0BD) : QColor(Qt::white));
  p->setPen(Qt::black);
  const Qt::Alignment al = (c == 1 || c == 3 || c == 4 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
  p->drawText(opt.rect.adjusted(6, 0, -6, 0), al, textoCelda(*uMonitor, c, index.row()));
  p->restore();
}
