#include "generaPDF.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>
#include <algorithm>
#include <numeric>

#include "util/montos.h"

namespace {

constexpr double kResolucion = 300.0;
const QColor kColorCabecera(0xE3, 0xE8, 0xEE);
const QColor kColorAlterno(0xF6, 0xF8, 0xFA);
const QColor kColorLinea(0xC8, 0xCE, 0xD6);
const QColor kColorTenue(0x60, 0x66, 0x6E);

double mm(double v) { return v * kResolucion / 25.4; }

QImage cargaImagen(const QString& ruta) {
  return QFileInfo(ruta).isFile() ? QImage(ruta) : QImage();
}

// Calibri is rarely installed here; Carlito shares its metrics.
QString familiaDisponible(const QString& pedida) {
  const QStringList familias = QFontDatabase::families();
  auto hay = [&](const QString& f) { return familias.contains(f, Qt::CaseInsensitive); };
  if (!pedida.trimmed().isEmpty() && hay(pedida.trimmed())) return pedida.trimmed();
  for (const char* f : {"Carlito", "Liberation Sans", "DejaVu Sans"}) {
    if (hay(QLatin1String(f))) return QLatin1String(f);
  }
  return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

Qt::Alignment alineacionQt(eAlineacion a) {
  switch (a) {
    case alCentro:
      return Qt::AlignHCenter;
    case alDerecha:
      return Qt::AlignRight;
    case alIzquierda:
      break;
  }
  return Qt::AlignLeft;
}

struct Columna {
  TCabeceraPDF cabecera;
  double x = 0;
  double ancho = 0;
};

class Reporte {
 public:
  Reporte(const cDescripcion& d, QPdfWriter* w) : uD(d), uW(w) {
    const double escala = std::clamp(d.escala, 25.0, 400.0) / 100.0;
    const QString familia = familiaDisponible(d.fuente);
    uNormal = QFont(familia);
    uNormal.setPointSizeF(9.0 * escala);
    uNegrita = uNormal;
    uNegrita.setBold(true);
    uTitulo = uNegrita;
    uTitulo.setPointSizeF(16.0 * escala);
    uEmpresa = uNegrita;
    uEmpresa.setPointSizeF(11.0 * escala);
    uPie = uNormal;
    uPie.setPointSizeF(7.5 * escala);
    uAncho = w->width();
    uAlto = w->height();
    uRelleno = mm(1.2);
    uLogo = cargaImagen(d.elemento(QStringLiteral("imagen"), QStringLiteral("logo")));
    uLogoPie = cargaImagen(d.elemento(QStringLiteral("imagen"), QStringLiteral("logoSoft")));
    preparaColumnas();
  }

  void pinta(QPainter& p) {
    const double altoEncabezado = encabezado(nullptr);
    const double altoPie = mm(10);
    const double arribaTabla = altoEncabezado + mm(4);
    const double abajoTabla = uAlto - altoPie - mm(2);
    const double altoTitulos = altoFila(titulosColumnas(), uNegrita);

    // Pages first, so every foot can say how many there are.
    QVector<QPair<int, int>> paginas;
    QVector<double> altos;
    const auto& filas = uD.tabla.datos().filas;
    altos.reserve(filas.size());
    for (const QStringList& f : filas) altos << altoFila(celdas(f), uNormal);
    const double disponible = std::max(mm(10), abajoTabla - arribaTabla - altoTitulos);
    int inicio = 0;
    while (inicio < filas.size() || paginas.isEmpty()) {
      double usado = 0;
      int fin = inicio;
      while (fin < filas.size() && (fin == inicio || usado + altos[fin] <= disponible)) {
        usado += std::min(altos[fin], disponible);
        ++fin;
      }
      paginas << qMakePair(inicio, fin);
      inicio = fin;
      if (filas.isEmpty()) break;
    }

    for (int n = 0; n < paginas.size(); ++n) {
      if (n > 0) uW->newPage();
      encabezado(&p);
      double y = arribaTabla;
      if (!uColumnas.isEmpty()) {
        pintaFila(p, y, altoTitulos, titulosColumnas(), uNegrita, kColorCabecera);
        y += altoTitulos;
        for (int i = paginas[n].first; i < paginas[n].second; ++i) {
          const double h = std::min(altos[i], disponible);
          pintaFila(p, y, h, celdas(filas[i]), uNormal, i % 2 ? kColorAlterno : QColor(Qt::white));
          y += h;
        }
      }
      pie(p, n, static_cast<int>(paginas.size()), altoPie);
    }
  }

 private:
  const cDescripcion& uD;
  QPdfWriter* uW;
  QFont uNormal, uNegrita, uTitulo, uEmpresa, uPie;
  double uAncho = 0, uAlto = 0, uRelleno = 0;
  QImage uLogo, uLogoPie;
  QVector<Columna> uColumnas;

  void preparaColumnas() {
    QVector<TCabeceraPDF> cabeceras = uD.tabla.cabeceras();
    if (cabeceras.isEmpty()) {
      for (const QString& t : uD.tabla.datos().titulos)
        cabeceras.push_back({t, tcTexto, 1, alIzquierda});
    }
    double total = 0;
    for (const TCabeceraPDF& c : cabeceras) total += std::max(0, c.ancho);
    double x = 0;
    for (const TCabeceraPDF& c : cabeceras) {
      const double parte = total > 0 ? std::max(0, c.ancho) / total : 1.0 / cabeceras.size();
      uColumnas.push_back(Columna{c, x, uAncho * parte});
      x += uAncho * parte;
    }
  }

  QStringList titulosColumnas() const {
    QStringList t;
    for (const Columna& c : uColumnas) t << c.cabecera.titulo;
    return t;
  }

  QStringList celdas(const QStringList& fila) const {
    QStringList t;
    for (int i = 0; i < uColumnas.size(); ++i) {
      t << (i < fila.size() ? textoCeldaPDF(fila[i], uColumnas[i].cabecera.tipo) : QString());
    }
    return t;
  }

  // Lays a text out in a width (breaking long words too); answers its height and, with a
  // painter, draws it.
  double texto(QPainter* p, const QString& t, const QFont& f, const QRectF& caja,
               Qt::Alignment alineacion) const {
    QTextLayout l(t, f, uW);
    QTextOption op(alineacion);
    op.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    l.setTextOption(op);
    l.beginLayout();
    double y = 0;
    for (QTextLine linea = l.createLine(); linea.isValid(); linea = l.createLine()) {
      linea.setLineWidth(std::max(1.0, caja.width()));
      linea.setPosition(QPointF(0, y));
      y += linea.height();
    }
    l.endLayout();
    if (p) {
      p->save();
      p->setClipRect(caja);
      p->setFont(f);
      l.draw(p, caja.topLeft());
      p->restore();
    }
    return std::max(y, QFontMetricsF(f, uW).height());
  }

  double altoFila(const QStringList& valores, const QFont& f) const {
    double h = 0;
    for (int i = 0; i < uColumnas.size(); ++i) {
      const double ancho = uColumnas[i].ancho - 2 * uRelleno;
      h = std::max(h, texto(nullptr, valores.value(i), f, QRectF(0, 0, ancho, 0), Qt::AlignLeft));
    }
    return h + 2 * uRelleno;
  }

  void pintaFila(QPainter& p, double y, double h, const QStringList& valores, const QFont& f,
                 const QColor& fondo) const {
    p.fillRect(QRectF(0, y, uAncho, h), fondo);
    p.setPen(Qt::black);
    for (int i = 0; i < uColumnas.size(); ++i) {
      const Columna& c = uColumnas[i];
      const QRectF caja(c.x + uRelleno, y + uRelleno, c.ancho - 2 * uRelleno, h - 2 * uRelleno);
      texto(&p, valores.value(i), f, caja, alineacionQt(c.cabecera.alineacion));
    }
    p.setPen(QPen(kColorLinea, mm(0.15)));
    p.drawLine(QPointF(0, y + h), QPointF(uAncho, y + h));
  }

  // Logo on the left, title and business lines beside it. Answers the height.
  double encabezado(QPainter* p) const {
    double xTexto = 0;
    double altoLogo = 0;
    if (!uLogo.isNull()) {
      const QSizeF tam = QSizeF(uLogo.size()).scaled(QSizeF(mm(45), mm(22)), Qt::KeepAspectRatio);
      if (p) p->drawImage(QRectF(QPointF(0, 0), tam), uLogo);
      xTexto = tam.width() + mm(5);
      altoLogo = tam.height();
    }
    const double ancho = uAncho - xTexto;
    double y = 0;
    auto linea = [&](const QString& t, const QFont& f) {
      if (p) p->setPen(Qt::black);
      y += texto(p, t, f, QRectF(xTexto, y, ancho, uAlto / 4), Qt::AlignLeft);
    };
    if (!uD.titulo.trimmed().isEmpty()) linea(uD.titulo, uTitulo);
    bool primera = true;
    for (const TElementoPDF& e : uD.elementos()) {
      if (e.tipo != QLatin1String("etiqueta") || e.clave == QLatin1String("titulo")) continue;
      if (e.valor.trimmed().isEmpty()) continue;
      const QString t =
          e.clave.startsWith(QLatin1Char('-')) ? e.valor : e.clave + QStringLiteral(": ") + e.valor;
      linea(t, primera && e.clave == QLatin1String("-empresa") ? uEmpresa : uNormal);
      primera = false;
    }
    const double alto = std::max(y, altoLogo) + mm(2);
    if (p) {
      p->setPen(QPen(kColorLinea, mm(0.3)));
      p->drawLine(QPointF(0, alto), QPointF(uAncho, alto));
    }
    return alto;
  }

  void pie(QPainter& p, int indice, int total, double altoPie) const {
    const double y = uAlto - altoPie;
    p.setPen(QPen(kColorLinea, mm(0.2)));
    p.drawLine(QPointF(0, y), QPointF(uAncho, y));
    double x = 0;
    if (!uLogoPie.isNull()) {
      const QSizeF tam =
          QSizeF(uLogoPie.size()).scaled(QSizeF(mm(30), altoPie - mm(2)), Qt::KeepAspectRatio);
      p.drawImage(QRectF(QPointF(0, y + mm(1)), tam), uLogoPie);
      x = tam.width() + mm(3);
    }
    p.setPen(kColorTenue);
    p.setFont(uPie);
    const QRectF caja(x, y + mm(1), uAncho - x, altoPie - mm(1));
    if (!uD.productor.trimmed().isEmpty())
      p.drawText(caja, Qt::AlignLeft | Qt::AlignVCenter, uD.productor);
    if (uD.numeraPaginas) {
      const int primera = uD.paginaInicial;
      p.drawText(caja, Qt::AlignRight | Qt::AlignVCenter,
                 QStringLiteral("Página %1 de %2").arg(primera + indice).arg(primera + total - 1));
    }
  }
};

bool falla(QString* error, const QString& texto) {
  if (error) *error = texto;
  return false;
}

}  // namespace

QString textoCeldaPDF(const QString& texto, eTipoDeContenido tipo) {
  if (tipo == tcMoneda) {
    double v = 0;
    return plat_leeMonto(texto, &v) ? plat_formatoMoneda(v) : texto;
  }
  if (tipo == tcFecha) {
    const QString t = texto.trimmed();
    for (const char* f : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-ddTHH:mm:ss.zzz",
                          "dd/MM/yyyy HH:mm:ss"}) {
      const QDateTime d = QDateTime::fromString(t, QLatin1String(f));
      if (d.isValid()) return d.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
    for (const char* f : {"yyyy-MM-dd", "dd/MM/yyyy"}) {
      const QDate d = QDate::fromString(t, QLatin1String(f));
      if (d.isValid()) return d.toString(QStringLiteral("dd/MM/yyyy"));
    }
  }
  return texto;
}

bool generaPDF(const cDescripcion& d, QString* error) {
  const QString formato = d.formato.trimmed();
  if (!formato.isEmpty() && formato.compare(QLatin1String("tabulado"), Qt::CaseInsensitive) != 0)
    return falla(error, QStringLiteral("Formato de reporte desconocido: %1").arg(formato));
  const QString ruta =
      !d.archivoSalida.trimmed().isEmpty() ? d.archivoSalida.trimmed() : d.archivo.trimmed();
  if (ruta.isEmpty()) return falla(error, QStringLiteral("No se indicó el archivo del reporte"));
  const QString carpeta = QFileInfo(ruta).absolutePath();
  if (!QDir().mkpath(carpeta))
    return falla(error, QStringLiteral("No se pudo crear la carpeta %1").arg(carpeta));

  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly))
    return falla(
        error,
        QStringLiteral("No se pudo escribir el reporte %1: %2").arg(ruta, archivo.errorString()));
  {
    QPdfWriter w(&archivo);
    w.setResolution(static_cast<int>(kResolucion));
    w.setTitle(d.titulo);
    w.setCreator(d.productor);
    w.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                d.apaisado ? QPageLayout::Landscape : QPageLayout::Portrait,
                                QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
    QPainter p;
    if (!p.begin(&w)) {
      archivo.cancelWriting();
      return falla(error, QStringLiteral("No se pudo crear el reporte %1").arg(ruta));
    }
    Reporte(d, &w).pinta(p);
    p.end();
  }
  if (!archivo.commit())
    return falla(
        error,
        QStringLiteral("No se pudo escribir el reporte %1: %2").arg(ruta, archivo.errorString()));
  if (error) error->clear();
  return true;
}
