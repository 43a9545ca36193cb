#include "dibujoTicket.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int kMargenVertical = 24;
constexpr int kSeparacionImagen = 6;

QFont fuenteTicket(int altoRenglon) {
  QFont f(QStringLiteral("DejaVu Sans Mono"));
  if (!QFontInfo(f).fixedPitch()) f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  f.setStyleHint(QFont::Monospace);
  f.setKerning(false);
  // The largest size that still fits 48 columns across the paper and the line height.
  const double anchoColumna = static_cast<double>(kAnchoPuntosTicket) / kColumnasTicket;
  int tam = std::max(8, altoRenglon - 4);
  for (; tam > 6; --tam) {
    f.setPixelSize(tam);
    if (QFontMetricsF(f).horizontalAdvance(QLatin1Char('M')) <= anchoColumna - 0.2) break;
  }
  f.setPixelSize(tam);
  return f;
}

int altoDe(const TRenglonTicket& r, int altoRenglon) {
  if (!r.imagen.isNull()) return r.imagen.height() + 2 * kSeparacionImagen;
  return r.dobleAlto ? 2 * altoRenglon : altoRenglon;
}

}  // namespace

QImage dibujaTicket(const QVector<TRenglonTicket>& renglones, int altoRenglon) {
  if (altoRenglon <= 0) altoRenglon = 26;
  altoRenglon = std::clamp(altoRenglon, 12, 80);
  int alto = 2 * kMargenVertical;
  for (const TRenglonTicket& r : renglones) alto += altoDe(r, altoRenglon);

  QImage img(kAnchoPuntosTicket, alto, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setPen(Qt::black);

  QFont normal = fuenteTicket(altoRenglon);
  QFont negrita = normal;
  negrita.setBold(true);
  const double anchoTexto =
      QFontMetricsF(normal).horizontalAdvance(QString(kColumnasTicket, QLatin1Char('M')));
  const double margen = std::max(0.0, (kAnchoPuntosTicket - anchoTexto) / 2.0);

  int y = kMargenVertical;
  for (const TRenglonTicket& r : renglones) {
    const int h = altoDe(r, altoRenglon);
    if (!r.imagen.isNull()) {
      int x = 0;
      if (r.alineacion == aliCentro) x = (kAnchoPuntosTicket - r.imagen.width()) / 2;
      if (r.alineacion == aliDerecha) x = kAnchoPuntosTicket - r.imagen.width();
      p.drawImage(std::max(0, x), y + kSeparacionImagen, r.imagen);
      y += h;
      continue;
    }
    const QFont& f = r.negrita ? negrita : normal;
    p.setFont(f);
    const QFontMetricsF m(f);
    const double ancho = m.horizontalAdvance(r.texto);
    double x = margen;
    if (r.alineacion == aliCentro) x = margen + (anchoTexto - ancho) / 2.0;
    if (r.alineacion == aliDerecha) x = margen + anchoTexto - ancho;
    p.save();
    const double base = (altoRenglon + m.ascent() - m.descent()) / 2.0;
    if (r.dobleAlto) {
      p.translate(x, y);
      p.scale(1.0, 2.0);
      p.drawText(QPointF(0, base), r.texto);
    } else {
      p.drawText(QPointF(x, y + base), r.texto);
    }
    p.restore();
    y += h;
  }
  // Where the paper is cut.
  QPen corte(QColor(0xB0, 0xB0, 0xB0));
  corte.setStyle(Qt::DashLine);
  p.setPen(corte);
  p.drawLine(0, alto - 2, kAnchoPuntosTicket, alto - 2);
  p.end();
  return img;
}
