#include "recursos.h"

#include <QFile>
#include <QIcon>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

// The icons live in a static library: nothing references their resource object, so the
// linker would drop it unless it is registered by name.
static void registraIconos() { Q_INIT_RESOURCE(iconos); }

namespace {
QString gEnlaceConfigurado;

QString rutaImagen(const QString& nombre) {
  static const bool registrados = (registraIconos(), true);
  Q_UNUSED(registrados);
  return QStringLiteral(":/iconos/%1.svg").arg(nombre);
}
}  // namespace

TListaColores getColores() {
  return {
      {QStringLiteral("menuSeleccionadoFondo"), 0xFF1F6FB2},
      {QStringLiteral("menuSeleccionadoTexto"), 0xFFFFFFFF},
      {QStringLiteral("menuFondo"), 0xFFE9E9E9},
      {QStringLiteral("menuTexto"), 0xFF2B2B2B},
      {QStringLiteral("menuGrupoFondo"), 0xFFD4D8DD},
      {QStringLiteral("tituloFormulario1"), 0xFF1F6FB2},
      {QStringLiteral("tituloFormulario2"), 0xFF1F6FB2},
      {QStringLiteral("fondoSolido"), 0xFFF4F6F8},
      {QStringLiteral("textoCuerpo"), 0xFF2B2B2B},
      {QStringLiteral("botonFondo"), 0xFF1F6FB2},
      {QStringLiteral("botonTexto"), 0xFFFFFFFF},
      {QStringLiteral("botonFondoPresionado"), 0xFF17578C},
      {QStringLiteral("botonFondoDeshabilitado"), 0xFFB8C2CC},
      {QStringLiteral("encabezadoModulo"), 0xFF16324F},
      {QStringLiteral("encabezadoTexto"), 0xFFFFFFFF},
      {QStringLiteral("encabezadoSubtexto"), 0xFFAFC3D8},
      {QStringLiteral("menuSeparador"), 0xFFD3D7DC},
      {QStringLiteral("cuerpoFondo"), 0xFFF4F6F8},
  };
}

QString colorCss(quint32 argb) {
  return QStringLiteral("#%1").arg(argb & 0xFFFFFF, 6, 16, QChar('0'));
}

quint32 colorDe(const TListaColores& lista, const QString& nombre) {
  return lista.value(nombre, 0xFF808080);
}

void setEnlaceTicketConfigurado(const QString& enlace) { gEnlaceConfigurado = enlace; }

void getEnlaceTicket(QString* destino) {
  if (!destino) return;
  *destino = gEnlaceConfigurado.isEmpty() ? QStringLiteral("http://127.0.0.1:8790/portal")
                                          : gEnlaceConfigurado;
}

bool mini_existeImagen(const QString& nombre) { return QFile::exists(rutaImagen(nombre)); }

QPixmap mini_imagen(const QString& nombre, const QSize& tam) {
  // Grids draw the same icon on every row at every repaint: each name and size is drawn once.
  const QString clave =
      QStringLiteral("mini_imagen:%1:%2x%3").arg(nombre).arg(tam.width()).arg(tam.height());
  QPixmap pm;
  if (QPixmapCache::find(clave, &pm)) return pm;
  if (!mini_existeImagen(nombre)) return QPixmap();
  QSvgRenderer svg(rutaImagen(nombre));
  pm = QPixmap(tam);
  pm.fill(Qt::transparent);
  {
    QPainter p(&pm);
    svg.render(&p);
  }
  QPixmapCache::insert(clave, pm);
  return pm;
}

QIcon mini_icono(const QString& nombre, int lado) {
  QIcon icono;
  const QPixmap pm = mini_imagen(nombre, QSize(lado, lado));
  if (!pm.isNull()) icono.addPixmap(pm);
  return icono;
}
