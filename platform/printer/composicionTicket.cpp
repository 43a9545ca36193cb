#include "composicionTicket.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "util/montos.h"

namespace {

constexpr int kAnchoCant = 5;
constexpr int kAnchoDescripcion = 19;
constexpr int kAnchoUnitario = 10;
constexpr int kAnchoImporte = 11;

TRenglonTicket renglon(const QString& texto, eAlineacionTicket alineacion = aliIzquierda,
                       bool negrita = false, bool dobleAlto = false) {
  TRenglonTicket r;
  r.texto = texto;
  r.alineacion = alineacion;
  r.negrita = negrita;
  r.dobleAlto = dobleAlto;
  return r;
}

TRenglonTicket separador() { return renglon(QString(kColumnasTicket, QLatin1Char('-'))); }

void agregaAjustado(QVector<TRenglonTicket>& out, const QString& texto,
                    eAlineacionTicket alineacion, bool negrita = false, bool dobleAlto = false) {
  for (const QString& l : ajustaRenglones(texto, kColumnasTicket)) {
    out << renglon(l, alineacion, negrita, dobleAlto);
  }
}

QString cantidadTexto(double v) {
  QString t = QString::number(v, 'f', 3);
  while (t.endsWith(QLatin1Char('0'))) t.chop(1);
  if (t.endsWith(QLatin1Char('.'))) t.chop(1);
  return t == QLatin1String("-0") ? QStringLiteral("0") : t;
}

// Name on the left, amount flush right.
QString extremos(const QString& izquierda, const QString& derecha) {
  const int libre = kColumnasTicket - static_cast<int>(izquierda.size() + derecha.size());
  return izquierda + QString(std::max(1, libre), QLatin1Char(' ')) + derecha;
}

// Money on the receipt is added in whole cents, truncated as the sale truncates.
qint64 centavos(double valor) {
  if (!std::isfinite(valor)) return 0;
  const double c = std::fabs(valor) * 100.0 + 1e-6;  // binary noise of 0.29 * 100 forgiven
  const qint64 t = static_cast<qint64>(std::floor(c));
  return valor < 0 ? -t : t;
}

QString moneda(qint64 c) { return plat_formatoMoneda(static_cast<double>(c) / 100.0); }

// A line's amount as the customer checks it: quantity times unit price, before taxes.
qint64 importeLinea(const TConcepto& c) { return centavos(c.getCantidad() * c.getValorUnitario()); }

// A line without a price (a promotion's header, a kit's component) is a caption: its quantity
// and text, no amounts.
bool esLeyenda(const TConcepto& c) { return c.getValorUnitario() == 0.0 && c.getImporte() == 0.0; }

void agregaConcepto(QVector<TRenglonTicket>& out, const TConcepto& c) {
  const QString cant = cantidadTexto(c.getCantidad());
  const QString descripcion = limpiaTextoTicket(c.getDescripcion()).simplified();
  if (esLeyenda(c)) {
    const QStringList partes = ajustaRenglones(descripcion, kColumnasTicket - kAnchoCant - 1);
    out << renglon(cant.rightJustified(kAnchoCant) + QLatin1Char(' ') + partes[0]);
    const QString sangria(kAnchoCant + 1, QLatin1Char(' '));
    for (qsizetype i = 1; i < partes.size(); ++i) out << renglon(sangria + partes[i]);
    return;
  }
  const QString unitario = plat_formatoNumero(c.getValorUnitario());
  const QString importe = plat_formatoNumero(static_cast<double>(importeLinea(c)) / 100.0);
  const bool caben = cant.size() <= kAnchoCant && unitario.size() <= kAnchoUnitario &&
                     importe.size() <= kAnchoImporte;
  if (!caben) {
    // Amounts too wide for their columns: description first, amounts on a line of their own.
    agregaAjustado(out, cant + QLatin1Char(' ') + descripcion, aliIzquierda);
    out << renglon((unitario + QLatin1Char(' ') + importe).rightJustified(kColumnasTicket));
    return;
  }
  const QStringList partes = ajustaRenglones(descripcion, kAnchoDescripcion);
  out << renglon(cant.rightJustified(kAnchoCant) + QLatin1Char(' ') +
                 partes[0].leftJustified(kAnchoDescripcion) + QLatin1Char(' ') +
                 unitario.rightJustified(kAnchoUnitario) + QLatin1Char(' ') +
                 importe.rightJustified(kAnchoImporte));
  const QString sangria(kAnchoCant + 1, QLatin1Char(' '));
  for (qsizetype i = 1; i < partes.size(); ++i) out << renglon(sangria + partes[i]);
}

QString encabezadoConceptos() {
  return QStringLiteral("Cant.").rightJustified(kAnchoCant) + QLatin1Char(' ') +
         QStringLiteral("Descripción").leftJustified(kAnchoDescripcion) + QLatin1Char(' ') +
         QStringLiteral("P. Unit.").rightJustified(kAnchoUnitario) + QLatin1Char(' ') +
         QStringLiteral("Importe").rightJustified(kAnchoImporte);
}

// "$ 47.50" under "$ 1,952.50": money texts get their digits right-justified to a common
// width so the signs line up as well as the last digits. Other texts are left as they are.
QStringList alineaMontos(const QStringList& valores) {
  qsizetype ancho = 0;
  for (const QString& v : valores) {
    if (v.startsWith(QLatin1Char('$'))) ancho = std::max(ancho, v.mid(1).trimmed().size());
  }
  QStringList out;
  for (const QString& v : valores) {
    out << (v.startsWith(QLatin1Char('$'))
                ? QStringLiteral("$ ") + v.mid(1).trimmed().rightJustified(ancho)
                : v);
  }
  return out;
}

// A payment amount: typed texts are shown as money; what is not a number is shown as typed.
// Zero or blank means the line was not used.
bool montoPago(const QString& valor, QString* texto) {
  const QString t = limpiaTextoTicket(valor).trimmed();
  if (t.isEmpty()) return false;
  double v = 0;
  if (plat_leeMonto(t, &v)) {
    if (v == 0.0) return false;
    *texto = plat_formatoMoneda(v);
  } else {
    *texto = t;
  }
  return true;
}

void agregaPago(QVector<TRenglonTicket>& out, const QString& nombre, const QString& monto,
                const QString& referencia) {
  const QString n = limpiaTextoTicket(nombre).simplified();
  if (n.size() + monto.size() + 1 <= kColumnasTicket) {
    out << renglon(extremos(n, monto));
  } else {
    agregaAjustado(out, n, aliIzquierda);
    out << renglon(monto.rightJustified(kColumnasTicket));
  }
  const QString ref = limpiaTextoTicket(referencia).simplified();
  if (!ref.isEmpty()) {
    for (const QString& l : ajustaRenglones(QStringLiteral("Ref: ") + ref, kColumnasTicket - 2)) {
      out << renglon(QStringLiteral("  ") + l);
    }
  }
}

QVector<TRenglonTicket> pagos(const TImpresionTicket& t) {
  const TFormasPago& formas = t.getFormaPago();
  QStringList nombres;
  QStringList montos;
  QStringList referencias;
  QString monto;
  // The reprint has no cash field; the stored cash line stands in for it.
  const QString efectivo =
      t.getEfectivoValor().trimmed().isEmpty() ? formas[0].valor : t.getEfectivoValor();
  if (montoPago(efectivo, &monto)) {
    nombres << (formas[0].nombre.trimmed().isEmpty() ? QStringLiteral("Efectivo")
                                                     : formas[0].nombre);
    montos << monto;
    referencias << QString();
  }
  for (size_t i = 1; i < formas.size(); ++i) {
    if (!montoPago(formas[i].valor, &monto)) continue;
    nombres << (formas[i].nombre.trimmed().isEmpty() ? QStringLiteral("Otro") : formas[i].nombre);
    montos << monto;
    referencias << formas[i].referencia;
  }
  montos = alineaMontos(montos);
  QVector<TRenglonTicket> out;
  for (qsizetype i = 0; i < nombres.size(); ++i)
    agregaPago(out, nombres[i], montos[i], referencias[i]);
  return out;
}

QImage sobreBlanco(const QImage& origen) {
  QImage lienzo(origen.size(), QImage::Format_RGB32);
  lienzo.fill(Qt::white);
  QPainter p(&lienzo);
  p.drawImage(0, 0, origen);
  p.end();
  return lienzo;
}

// Whether a one-bit picture's two colours are already pure black and white (a QR code).
bool esBlancoYNegro(const QImage& img) {
  if (img.format() != QImage::Format_Mono && img.format() != QImage::Format_MonoLSB) return false;
  const QList<QRgb> colores = img.colorTable();
  return std::all_of(colores.begin(), colores.end(), [](QRgb c) {
    const QRgb rgb = c & 0xFFFFFF;
    return qAlpha(c) == 255 && (rgb == 0 || rgb == 0xFFFFFF);
  });
}

// A black-and-white one-bit picture as 8-bit grey, bit by bit: Qt's own conversion goes through
// 32-bit colour and cost a QR code a quarter of a millisecond on the sale's path.
QImage grisDeUnBit(const QImage& img) {
  const QList<QRgb> colores = img.colorTable();
  const uchar tono[2] = {static_cast<uchar>(qGray(colores.value(0))),
                         static_cast<uchar>(qGray(colores.value(1)))};
  const bool msb = img.format() == QImage::Format_Mono;
  QImage gris(img.size(), QImage::Format_Grayscale8);
  for (int y = 0; y < img.height(); ++y) {
    const uchar* origen = img.constScanLine(y);
    uchar* destino = gris.scanLine(y);
    for (int x = 0; x < img.width(); ++x) {
      const int bit = msb ? 7 - (x & 7) : (x & 7);
      destino[x] = tono[(origen[x >> 3] >> bit) & 1];
    }
  }
  return gris;
}

QImage blancoYNegro(const QImage& img, Qt::ImageConversionFlags modo) {
  // Nothing to back with white nor to dither.
  if (esBlancoYNegro(img)) return grisDeUnBit(img);
  return sobreBlanco(img)
      .convertToFormat(QImage::Format_Mono, Qt::MonoOnly | modo)
      .convertToFormat(QImage::Format_Grayscale8);
}

QImage cargaImagen(const QString& archivo) {
  const QFileInfo info(archivo);
  if (archivo.trimmed().isEmpty() || !info.isFile()) return QImage();
  // The format its name gives first (half the time of asking every reader), then any.
  QImage img(archivo, info.suffix().toLatin1().constData());
  if (img.isNull()) img.load(archivo);
  if (img.isNull() || img.width() < 1 || img.height() < 1) return QImage();
  return img;
}

}  // namespace

QString limpiaTextoTicket(const QString& texto) {
  QString t = texto;
  for (QChar& c : t) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || (c.unicode() >= 0x80 && c.unicode() < 0xA0))
      c = QLatin1Char(' ');
  }
  return t;
}

QStringList ajustaRenglones(const QString& texto, int columnas) {
  columnas = std::max(1, columnas);
  const QString limpio = limpiaTextoTicket(texto);
  // A line that fits keeps its own spacing (padded columns).
  if (limpio.size() <= columnas) return {limpio};
  QStringList out;
  QString actual;
  // Views into the text, so cutting a long word never copies what is left of it: the whole
  // wrap is linear in the text's length.
  for (QStringView p : QStringView(limpio).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    while (p.size() > columnas) {
      // A word longer than the line (a long link) is cut, filling the current line first.
      const qsizetype libre = actual.isEmpty() ? columnas : columnas - actual.size() - 1;
      if (libre <= 0) {
        out << actual;
        actual.clear();
        continue;
      }
      QString renglon = actual.isEmpty() ? QString() : actual + QLatin1Char(' ');
      renglon += p.left(libre);
      out << renglon;
      actual.clear();
      p = p.mid(libre);
    }
    if (actual.isEmpty()) {
      actual = p.toString();
    } else if (actual.size() + 1 + p.size() <= columnas) {
      actual += QLatin1Char(' ');
      actual += p;
    } else {
      out << actual;
      actual = p.toString();
    }
  }
  if (!actual.isEmpty() || out.isEmpty()) out << actual;
  return out;
}

QImage preparaLogo(const QString& archivo) {
  QImage img = cargaImagen(archivo);
  if (img.isNull()) return QImage();
  if (img.width() > kAnchoMaxLogo || img.height() > kAltoMaxLogo) {
    img = img.scaled(kAnchoMaxLogo, kAltoMaxLogo, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  // Dithering keeps light brand colours visible on a one-colour printer.
  return blancoYNegro(img, Qt::DiffuseDither);
}

QImage preparaQR(const QString& archivo, int anchoCaja, int altoCaja) {
  QImage img = cargaImagen(archivo);
  if (img.isNull()) return QImage();
  anchoCaja = std::clamp(anchoCaja, 1, kAnchoPuntosTicket);
  altoCaja = std::clamp(altoCaja, 1, 4 * kAnchoPuntosTicket);
  if (img.width() > anchoCaja || img.height() > altoCaja) {
    img = img.scaled(anchoCaja, altoCaja, Qt::KeepAspectRatio, Qt::FastTransformation);
  } else {
    const int paso = std::min(anchoCaja / img.width(), altoCaja / img.height());
    if (paso > 1) img = img.scaled(img.width() * paso, img.height() * paso);
  }
  return blancoYNegro(img, Qt::ThresholdDither);
}

QVector<TRenglonTicket> componeTicket(const RECticketInfo& info) {
  return componeCuerpoTicket(info) + componeFinTicket(info);
}

QVector<TRenglonTicket> componeCuerpoTicket(const RECticketInfo& info) {
  const TImpresionTicket& t = info.ticket;
  QVector<TRenglonTicket> out;

  const QImage logo = preparaLogo(info.archivoLogo);
  if (!logo.isNull()) {
    TRenglonTicket r = renglon(QString(), aliCentro);
    r.imagen = logo;
    out << r;
  }
  if (!t.getNombreNegocio().trimmed().isEmpty())
    agregaAjustado(out, t.getNombreNegocio().simplified(), aliCentro, true, true);
  if (!t.getRfc().trimmed().isEmpty())
    out << renglon(QStringLiteral("RFC: ") + limpiaTextoTicket(t.getRfc()).simplified(), aliCentro,
                   true);
  if (!t.getRazon().trimmed().isEmpty())
    agregaAjustado(out, t.getRazon().simplified(), aliCentro, true);
  out << separador();

  if (!t.getCajero().trimmed().isEmpty())
    agregaAjustado(out, QStringLiteral("Cajero: ") + t.getCajero().simplified(), aliIzquierda);
  if (!t.getNumeroTicket().trimmed().isEmpty())
    agregaAjustado(out, QStringLiteral("Ticket: ") + t.getNumeroTicket().simplified(),
                   aliIzquierda);
  if (t.getFecha().isValid())
    out << renglon(QStringLiteral("Fecha: ") +
                   t.getFecha().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")));
  out << separador();

  out << renglon(encabezadoConceptos(), aliIzquierda, true);
  for (const TConcepto& c : t.getLConceptos()) agregaConcepto(out, c);
  out << separador();

  QStringList titulos;
  QStringList valores;
  QVector<bool> resaltados;
  // Above the taxes: the lines' sum and what the promotions took off it, which is what is
  // left between that sum plus the taxes and the total.
  qint64 subtotal = 0;
  for (const TConcepto& c : t.getLConceptos())
    if (!esLeyenda(c)) subtotal += importeLinea(c);
  double impuestos = 0, total = 0;
  const auto campoMonto = [&t](const QString& titulo, double* valor) {
    for (const TCampoAdicional& campo : t.camposAdicionales())
      if (campo.getTitulo().trimmed() == titulo) return plat_leeMonto(campo.getValor(), valor);
    return false;
  };
  const bool resumen = !t.getLConceptos().isEmpty() &&
                       campoMonto(QStringLiteral("Impuestos"), &impuestos) &&
                       campoMonto(QStringLiteral("Total"), &total);
  for (const TCampoAdicional& campo : t.camposAdicionales()) {
    const QString titulo = limpiaTextoTicket(campo.getTitulo()).simplified();
    const QString valor = limpiaTextoTicket(campo.getValor()).simplified();
    if (titulo.isEmpty() && valor.isEmpty()) continue;
    if (resumen && titulo == QStringLiteral("Impuestos")) {
      titulos << QStringLiteral("Subtotal");
      valores << moneda(subtotal);
      resaltados << false;
      const qint64 ahorro = subtotal + centavos(impuestos) - centavos(total);
      if (ahorro > 0) {
        titulos << QStringLiteral("Usted ahorró");
        valores << moneda(ahorro);
        resaltados << false;
      }
    }
    titulos << titulo;
    valores << valor;
    resaltados << (titulo == QStringLiteral("Total"));
  }
  valores = alineaMontos(valores);
  for (qsizetype i = 0; i < titulos.size(); ++i) {
    agregaAjustado(
        out, titulos[i].isEmpty() ? valores[i] : titulos[i] + QStringLiteral(": ") + valores[i],
        aliDerecha, resaltados[i]);
  }

  const QVector<TRenglonTicket> lineasPago = pagos(t);
  if (!lineasPago.isEmpty()) {
    out << separador();
    out << lineasPago;
  }
  return out;
}

QVector<TRenglonTicket> componeFinTicket(const RECticketInfo& info) {
  const TImpresionTicket& t = info.ticket;
  QVector<TRenglonTicket> out;
  const QString etiqueta1 = t.getEtiqueta1().getValor().simplified();
  const QString etiqueta2 = t.getEtiqueta2().getValor().simplified();
  if (!etiqueta1.isEmpty() || !etiqueta2.isEmpty()) out << renglon(QString());
  if (!etiqueta1.isEmpty()) agregaAjustado(out, etiqueta1, aliCentro);
  if (!etiqueta2.isEmpty()) agregaAjustado(out, etiqueta2, aliCentro);

  const int ancho = info.anchoQR > 0 ? info.anchoQR : 260;
  const int alto = info.altoQR > 0 ? info.altoQR : 260;
  const QImage qr = preparaQR(t.getArchivoCBB(), ancho, alto);
  if (!qr.isNull()) {
    out << renglon(QString());
    TRenglonTicket r = renglon(QString(), aliCentro);
    r.imagen = qr;
    out << r;
  }
  return out;
}
