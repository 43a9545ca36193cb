// What the cashier does on the register: start-up, readings, searches, tiles, grid clicks,
// quantities, deletion, kits and the hand-off to the checkout.
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>

#include "checkout/TFRM_cerrarPuntoVenta.h"
#include "operaciones/productos.h"
#include "operaciones/puntoVenta.h"
#include "platform/resources/recursos.h"
#include "sale/TFRM_caja.h"
#include "sale/TFRM_cajaSeleccionarKit.h"
#include "sale/TTileResultado.h"
#include "sale/caja_delegado.h"
#include "sale/reglas/promociones.h"
#include "shell/listas/anchosTactiles.h"
#include "shell/listas/lineasCelda.h"
#include "shell/listas/repartoColumnas.h"
#include "ui/TGridVista.h"
#include "ui/TTecladoPantalla.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

namespace {
constexpr int kAnchoTile = 200, kAltoTile = 240, kPasoX = 220, kPasoY = 260;
const QString kPrefijoTile = QStringLiteral("componente");  // 10 letters + "N"

}  // namespace

bool TFRM_caja::init() {
  buscaInfoCaja();
  reinicia();
  venta().uFilaSeleccionada = -1;
  venta().uAgruparConceptos = true;
  venta().uListaPreciosID =
      getIdListaPreciosPredeterminada(localSYS.getIdNegocio(), localSYS.getConexion());
  if (venta().uListaPreciosID == 0) {
    u_mensaje(
        QStringLiteral("No se encontro la lista de precios predeterminada. ") +
            QStringLiteral("\n\r") +
            QStringLiteral("Puede seleccionar una lista predetminada en: Ventas\\Gestión\\Lista de "
                           "Precios General'."),
        mtCustom);
    return false;
  }
  if (compruebaEstacionDisponible(u_getPCName(), localSYS.getConexion())) {
    u_mensaje(
        QStringLiteral(
            "La estación de trabajo actual, no tiene una caja relacionada a una sesión activa. "
            "Para asignar una caja a esta estación utilice el modulo 'Control de Caja' en el "
            "apartado 'Administración'."),
        mtCustom);
    return false;
  }
  uServicioTickets = compruebaDatosTicket();
  // Without a window manager full-screen alone does not size the window.
  if (QScreen* pantalla = screen()) setGeometry(pantalla->geometry());
  showFullScreen();
  TXT_lectura->setFocus();
  return true;
}

void TFRM_caja::buscaInfoCaja() {
  Tsalidas_comun salidas(localSYS.getConexion());
  const CmidTierResponse r = salidas.seletSesionDatosFromPcName(
      u_getPCName(), localSYS.getIdNegocio(), localSYS.getConexion().getProvider());
  if (!r.ok() || r.getRowCount() < 1) return;
  LBL_caja->setText(r.getCelda(QStringLiteral("puntoCaja_descripcion")));
  LBL_cajero->setText(r.getCelda(QStringLiteral("_nombreCompleto")));
  venta().uAlmacen = r.getCeldaAsInt(QStringLiteral("inventarioAlmacen_id"));
}

bool TFRM_caja::compruebaDatosTicket() {
  const TDatosFiscales& f = localSYS.getNegocio().getDatosFiscales();
  if (f.getRegimenFiscal().isEmpty()) return false;
  if (f.getDireccion().getCodigoPostal().size() < 5) return false;
  TCredenciales c;
  u_consultaCredencialesUsuario(localSYS.getIdNegocio(), localSYS.getConexion(), c);
  return c.existe;
}

void TFRM_caja::reinicia() {
  LBL_sinResultados->hide();
  BTN_cerrarBusqueda->hide();
  uPaginaResultados->hide();
  TXT_busquedaNombre->clear();
  TXT_cantidad->clear();
  ocultaTeclados();
  liberaTiles();
  uControlSeleccionado = 0;
  venta().reinicia();
  muestraTotales();
  LBL_productoSeleccionado->clear();
  TXT_lectura->clear();
  TXT_lectura->setFocus();
  PNL_monitor->hide();
  PNL_promocion->hide();
  refresca();
}

void TFRM_caja::muestraTotales() {
  LBL_total->setText(venta().textoTotal());
  LBL_descuento->setText(venta().textoDescuento());
  LBL_impuestos->setText(venta().textoImpuestos());
  BTN_cerrarVenta->setEnabled(venta().aceptarHabilitado());
  ajustaFuentesTotales();
}

void TFRM_caja::ajustaFuentesTotales() {
  const QMargins m = uPanelTotales->layout()->contentsMargins();
  const int ancho = uPanelTotales->width() - m.left() - m.right();
  for (auto [etiqueta, pixeles] :
       {std::pair{LBL_descuento, 18}, std::pair{LBL_impuestos, 18}, std::pair{LBL_total, 24}}) {
    QFont f = etiqueta->font();
    f.setBold(etiqueta == LBL_total);
    // One line when it fits at no less than four fifths of the size ("MXN" alone on a second
    // line reads badly); otherwise the size at which every word fits, on two lines.
    const int piso = pixeles * 4 / 5;
    int unaLinea = pixeles;
    for (; unaLinea >= piso; --unaLinea) {
      f.setPixelSize(unaLinea);
      if (QFontMetrics(f).horizontalAdvance(etiqueta->text()) <= ancho) break;
    }
    if (unaLinea >= piso) {
      etiqueta->setFont(f);
      continue;
    }
    const QStringList palabras = etiqueta->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (; pixeles > 12; --pixeles) {
      f.setPixelSize(pixeles);
      const QFontMetrics fm(f);
      if (std::all_of(palabras.begin(), palabras.end(),
                      [&](const QString& p) { return fm.horizontalAdvance(p) <= ancho; }))
        break;
    }
    f.setPixelSize(pixeles);
    etiqueta->setFont(f);
  }
}

void TFRM_caja::refresca() {
  uDelegado->setFilaSeleccionada(venta().uFilaSeleccionada);
  muestraTotales();
  venta().lineas().refresca();
  ajustaColumnas();
  GRD_main->viewport()->update();
}

bool TFRM_caja::enResultados() const { return !uPaginaResultados->isHidden(); }

QStringList TFRM_caja::resultados() const {
  QStringList nombres;
  for (const tHoldProducto& t : uListaComponentesDinamicos) nombres << t.fondo->nombre();
  return nombres;
}

int TFRM_caja::anchoResultados() const { return uScrollTiles->viewport()->width(); }

QRect TFRM_caja::geometriaResultado(int indice) const {
  if (indice < 0 || indice >= uListaComponentesDinamicos.size()) return QRect();
  return uListaComponentesDinamicos[indice].fondo->geometry();
}

void TFRM_caja::TXT_lecturaKeyUp() {
  const QString texto = TXT_lectura->text().trimmed();
  if (texto.size() < 13) return;
  uResponseBusqueda = filtraProductosPorcodigoBarras(texto, QVariant(true), localSYS.getIdNegocio(),
                                                     localSYS.getConexion());
  if (!uResponseBusqueda.ok() || uResponseBusqueda.getRowCount() < 1) return;
  uIndiBusquedaSeleccionado = 0;
  TResultado resultado;
  const int antes = venta().lineas().getRowCount();
  const int fila = venta().agregarConcepto(uResponseBusqueda, 0, &resultado);
  u_muestra(resultado);
  uResponseBusqueda = CmidTierResponse();
  TXT_cantidad->clear();
  LBL_productoSeleccionado->clear();
  TXT_lectura->clear();
  TXT_lectura->setFocus();
  marcaAgregada(fila, antes);
}

void TFRM_caja::buscarPorNombre() {
  const QString texto = TXT_busquedaNombre->text().trimmed();
  if (texto.isEmpty() || texto.size() < 3) return;
  uPaginaResultados->show();
  liberaTiles();
  uResponseBusqueda =
      filtraProductosPorNombre(QStringLiteral("%") + texto + QStringLiteral("%"), QVariant(true),
                               localSYS.getIdNegocio(), localSYS.getConexion());
  muestraResultados();
  TXT_busquedaNombre->clear();
  ocultaTeclados();
  TXT_lectura->clear();
  TXT_lectura->setFocus();
}

void TFRM_caja::muestraResultados() {
  const int n = uResponseBusqueda.ok() ? uResponseBusqueda.getRowCount() : 0;
  LBL_sinResultados->setVisible(n == 0);
  BTN_cerrarBusqueda->setVisible(n == 0);
  const int colNombre = uResponseBusqueda.columna(QStringLiteral("inventarioProducto_nombre"));
  const int colImagen = uResponseBusqueda.columna(QStringLiteral("inventarioProducto_imagen"));
  for (int i = 0; i < n; ++i) uListaComponentesDinamicos << tileResultado(i);
  // A new search shows its first results.
  uScrollTiles->verticalScrollBar()->setValue(0);
  // The results page was hidden until now: its area takes its size before the tiles are placed.
  uPaginaResultados->layout()->activate();
  acomodaTiles();
  // A search that fills the places the last one showed moves nothing: each tile in view whose
  // product changed repaints what changed in it (it is opaque), and the area, the page and the
  // window under them are left alone.
  for (int i = 0; i < n; ++i) {
    TTileResultado* t = uListaComponentesDinamicos[i].fondo;
    const QByteArray bytes = uResponseBusqueda.getCelda(colImagen, i).toLatin1();
    t->muestra(uResponseBusqueda.getCelda(colNombre, i), imagenTile(bytes, t->areaImagen().size()));
  }
}

void TFRM_caja::acomodaTiles() {
  const int ancho = std::max(kAnchoTile + 20, uScrollTiles->viewport()->width());
  int x = 10, y = 10;
  for (const tHoldProducto& t : uListaComponentesDinamicos) {
    if (x + kAnchoTile > ancho && x > 10) {
      x = 10;
      y += kPasoY;
    }
    t.fondo->move(x, y);
    x += kPasoX;
  }
  uAreaTiles->resize(ancho, y + kPasoY);
  muestraTilesALaVista();
}

void TFRM_caja::muestraTilesALaVista() {
  // Only the tiles in view are shown: the page appears with a dozen tiles instead of sixty, and
  // the scroll shows the others as they come into view.
  const QRect aLaVista(-uAreaTiles->pos(), uScrollTiles->viewport()->size());
  const int n = uListaComponentesDinamicos.size();
  for (int i = 0; i < uTilesHechos.size(); ++i) {
    TTileResultado* t = uTilesHechos[i].fondo;
    const bool ver = i < n && t->geometry().intersects(aLaVista);
    if (t->isHidden() == ver) t->setVisible(ver);
  }
}

namespace {

// A tile draws its picture on white: composed on it once, every tile copies it instead of
// blending it again.
QPixmap sobreBlanco(const QPixmap& imagen) {
  if (!imagen.hasAlphaChannel()) return imagen;
  QPixmap opaca(imagen.size());
  opaca.setDevicePixelRatio(imagen.devicePixelRatio());
  opaca.fill(Qt::white);
  QPainter p(&opaca);
  p.drawPixmap(0, 0, imagen);
  return opaca;
}

}  // namespace

QPixmap TFRM_caja::imagenTile(const QByteArray& bytes, const QSize& tam) {
  if (bytes.size() > 16) {
    if (const QPixmap* hecha = uImagenesTiles.object(bytes)) return *hecha;
    QPixmap pm;
    if (pm.loadFromData(bytes)) {
      pm = sobreBlanco(pm.scaled(tam, Qt::KeepAspectRatio, Qt::SmoothTransformation));
      uImagenesTiles.insert(bytes, new QPixmap(pm));
      return pm;
    }
  }
  if (uSinImagenTile.isNull())
    uSinImagenTile = sobreBlanco(mini_imagen(QStringLiteral("sinImagen"), QSize(96, 96)));
  return uSinImagenTile;
}

tHoldProducto TFRM_caja::tileResultado(int indice) {
  while (uTilesHechos.size() <= indice) {
    const int i = uTilesHechos.size();
    tHoldProducto t;
    t.fondo = new TTileResultado(uAreaTiles);
    t.fondo->resize(kAnchoTile, kAltoTile);
    t.fondo->hide();
    t.fondo->setObjectName(kPrefijoTile + QStringLiteral("N") + QString::number(i));
    t.fondo->installEventFilter(this);
    nombra(QStringLiteral("Resultado %1").arg(i), t.fondo);
    uTilesHechos << t;
  }
  return uTilesHechos[indice];
}

void TFRM_caja::liberaTiles() {
  // Kept for the next search, which fills them again and hides those it does not need (they
  // lie on the results page, hidden meanwhile).
  uListaComponentesDinamicos.clear();
}

void TFRM_caja::seleccionaTile(int indice) {
  if (indice < 0 || indice >= uListaComponentesDinamicos.size()) return;
  uIndiBusquedaSeleccionado = indice;
  uPaginaResultados->hide();
  ocultaTeclados();
  TResultado resultado;
  const int antes = venta().lineas().getRowCount();
  const int fila = venta().agregarConcepto(uResponseBusqueda, indice, &resultado);
  u_muestra(resultado);
  uResponseBusqueda = CmidTierResponse();
  TXT_cantidad->clear();
  LBL_productoSeleccionado->clear();
  liberaTiles();
  marcaAgregada(fila, antes);
  vuelveALectura();
}

void TFRM_caja::BTN_cerrarBusquedaClick() {
  LBL_sinResultados->hide();
  BTN_cerrarBusqueda->hide();
  uPaginaResultados->hide();
  vuelveALectura();
}

void TFRM_caja::seleccionaFila(int fila) {
  venta().uFilaSeleccionada = fila;
  if (fila >= 0) {
    LBL_productoSeleccionado->setText(
        venta().lineas().getCelda(QStringLiteral("Descripción"), fila));
    TXT_cantidad->setText(venta().lineas().getCelda(QStringLiteral("Cantidad"), fila));
  }
}

void TFRM_caja::GRD_mainMouseUp(int fila, int columna, const QPoint& puntero) {
  ocultaPaneles();
  TGridControl& g = venta().lineas();
  if (fila < 0 || fila >= g.getRowCount() || columna < 0 || columna >= g.getColumnCount()) return;
  if (venta().tipoLinea(fila) == lineas::kComponenteKit) {
    venta().uFilaSeleccionada = -1;
    refresca();
    return;
  }
  seleccionaFila(fila);
  if (columna == 0) {
    eliminaFila(fila);
  } else if (columna == g.indiceColumna(QStringLiteral("Descripción"))) {
    detallePromo(fila, puntero);
    PNL_monitor->hide();
  } else if (columna == g.indiceColumna(QStringLiteral("Precio"))) {
    if (venta().tipoLinea(fila) == lineas::kProducto && venta().preparaEscalaPrecios(fila))
      muestraMonitor(puntero);
  }
  refresca();
  muestraFila(venta().uFilaSeleccionada);
  vuelveALectura();
}

void TFRM_caja::colocaPanel(QWidget* panel, const QPoint& puntero) {
  const int alto = height() > 0 ? height() : 800;
  int x = puntero.x() - panel->width() / 2;
  int y = puntero.y();
  if (y + 90 > alto - 200) y -= (y + 90) - (alto - 200);
  y -= 20;
  x = std::clamp(x, 0, std::max(0, width() - panel->width()));
  y = std::clamp(y, 0, std::max(0, alto - panel->height()));
  panel->move(x, y);
  panel->raise();
  panel->show();
}

void TFRM_caja::muestraMonitor(const QPoint& puntero) {
  venta().monitor().refresca();
  colocaPanel(PNL_monitor, puntero);
}

void TFRM_caja::detallePromo(int fila, const QPoint& puntero) {
  const int promocion = venta().lineas().getCeldaAsInt(QStringLiteral("_promocionID"), fila);
  if (promocion <= 0) return;
  const TDetallePromocion d = detallePromocion(promocion, localSYS.getConexion());
  if (!d.ok) return;
  LBL_promocionDesde->setText(d.desde);
  LBL_promocionHasta->setText(d.hasta);
  LBL_promocionDescripcion->setText(QString(d.descripcion).replace('\r', '\n'));
  colocaPanel(PNL_promocion, puntero);
}

void TFRM_caja::eliminarPromocionClick() {
  BTN_eliminarClick();
  ocultaPaneles();
}

void TFRM_caja::Image1Click() {
  const int f = venta().uFilaSeleccionada;
  if (f < 0 || venta().tipoLinea(f) != lineas::kProducto) return;
  TResultado r;
  venta().cambiaCantidad(f, venta().lineas().getCeldaAsFloat(QStringLiteral("Cantidad"), f) + 1,
                         &r);
  u_muestra(r);
  TXT_cantidad->setText(venta().lineas().getCelda(QStringLiteral("Cantidad"), f));
  refresca();
  vuelveALectura();
}

void TFRM_caja::Image2Click() {
  const int f = venta().uFilaSeleccionada;
  if (f < 0 || venta().tipoLinea(f) != lineas::kProducto) return;
  venta().cambiaCantidad(f, venta().lineas().getCeldaAsFloat(QStringLiteral("Cantidad"), f) - 1);
  TXT_cantidad->setText(venta().lineas().getCelda(QStringLiteral("Cantidad"), f));
  refresca();
  vuelveALectura();
}

void TFRM_caja::cambiaCantidad() {
  const int f = venta().uFilaSeleccionada;
  if (f < 0 || venta().tipoLinea(f) != lineas::kProducto) return;
  if (TXT_cantidad->text().trimmed().isEmpty()) TXT_cantidad->setText(QStringLiteral("1"));
  TResultado r;
  venta().cambiaCantidad(f, u_strToFloat(TXT_cantidad->text()), &r);
  u_muestra(r);
  TXT_cantidad->setText(venta().lineas().getCelda(QStringLiteral("Cantidad"), f));
  refresca();
  vuelveALectura();
}

void TFRM_caja::eliminaFila(int fila) {
  TGridControl& g = venta().lineas();
  if (fila < 0 || g.getRowCount() == 0 || fila >= g.getRowCount()) return;
  const bool confirmado = u_confirma(QStringLiteral("¿Eliminar producto?"));
  TXT_lectura->setFocus();
  if (!confirmado) return;
  venta().eliminaGrupo(fila);
  LBL_productoSeleccionado->clear();
  TXT_cantidad->clear();
  venta().uFilaSeleccionada = -1;
  if (g.getRowCount() > 0 && fila < g.getRowCount()) seleccionaFila(fila);
  refresca();
  muestraFila(venta().uFilaSeleccionada);
}

void TFRM_caja::BTN_eliminarClick() {
  ocultaPaneles();
  eliminaFila(venta().uFilaSeleccionada);
}

void TFRM_caja::BTN_iniciarClick() {
  LBL_sinResultados->hide();
  BTN_cerrarBusqueda->hide();
  TXT_lectura->clear();
  TXT_lectura->setFocus();
  ocultaTeclados();
  venta().uFilaSeleccionada = -1;
  LBL_productoSeleccionado->clear();
  TXT_cantidad->clear();
  PNL_monitor->hide();
  refresca();
}

void TFRM_caja::BTN_minimizarClick() {
  if (venta().lineas().getRowCount() > 0 &&
      !u_confirma(QStringLiteral(
          "¿Si minimiza la caja perdera los productos capturados, ¿Desea continuar?")))
    return;
  hide();
  ocultaPaneles();
}

void TFRM_caja::BTN_buscarKitClick() {
  auto* dialogo = new TFRM_cajaSeleccionarKit(this);
  const TRespuestaSeleccionKit r = dialogo->initKit();
  delete dialogo;
  vuelveALectura();
  if (!r.ok) return;
  agregaKit(r.id);
  ocultaPaneles();
  TXT_busquedaNombre->clear();
  TXT_lectura->clear();
}

void TFRM_caja::agregaKit(int kitId) {
  venta().agregaKit(kitId);
  refresca();
  muestraFila(venta().uFilaSeleccionada);
  vuelveALectura();
}

void TFRM_caja::BTN_verPromocionClick() {
  // Promotion mode of the selection dialog: nothing is added to the sale.
  auto* dialogo = new TFRM_cajaSeleccionarKit(this);
  dialogo->initPromo();
  delete dialogo;
}

void TFRM_caja::BTN_cerrarVentaClick() {
  ocultaPaneles();
  if (venta().lineas().getRowCount() < 1) return;
  if (!uCobro) {
    // The checkout is created once and reused for every sale.
    uCobro = [this](double total, double subtotal, double descuento, double impuestos,
                    TGridControl& lineas, const QString& cajero, int almacen, bool subir) {
      static QPointer<TFRM_cerrarPuntoVenta> forma;
      if (!forma) forma = new TFRM_cerrarPuntoVenta(this);
      return forma->init(total, subtotal, descuento, impuestos, lineas, cajero, almacen, subir);
    };
  }
  TRespuestaCerrarVenta r;
  r = uCobro(venta().uTotal, venta().uSubtotal, venta().uDescuento, venta().uImpuestos,
             venta().lineas(), LBL_cajero->text(), venta().uAlmacen, uServicioTickets);
  if (!r.ok) {
    vuelveALectura();
    return;
  }
  uTicketNumero = r.ticketNo;
  reinicia();
}

void TFRM_caja::ocultaPaneles() {
  PNL_monitor->hide();
  PNL_promocion->hide();
}

void TFRM_caja::ocultaTeclados() { uTeclado->hide(); }

void TFRM_caja::vuelveALectura() {
  activateWindow();
  TXT_lectura->setFocus();
}

void TFRM_caja::marcaAgregada(int fila, int filasAntes) {
  // A product read again (its line only grew) is the line the cashier means next, as a new
  // line is; lines added by the sale rules keep the selection the rules gave.
  if (fila >= 0 && venta().lineas().getRowCount() == filasAntes) venta().uFilaSeleccionada = fila;
  refresca();
  muestraFila(venta().uFilaSeleccionada >= 0 ? venta().uFilaSeleccionada : fila);
}

void TFRM_caja::muestraFila(int fila) {
  if (fila < 0 || fila >= venta().lineas().getRowCount()) return;
  const int columna = venta().lineas().indiceColumna(QStringLiteral("Descripción"));
  GRD_main->doItemsLayout();  // the rows just added, before the view lays them out itself
  GRD_main->scrollTo(GRD_main->model()->index(fila, columna));
}

void TFRM_caja::muestraTeclado(QLineEdit* destino) {
  uControl = destino;
  uTeclado->setDestino(destino);
  uTeclado->adjustSize();
  uTeclado->move((width() - uTeclado->width()) / 2, height() - uTeclado->height() - 10);
  uTeclado->raise();
  uTeclado->show();
}

void TFRM_caja::ajustaTamanio() {
  const int ancho = width();
  if (ancho >= 1600) {
    uAlturaFila = 30;
    uFuenteSieze = 25;
    uBanner = QStringLiteral("posBanner1480");
  } else if (ancho > 1280) {
    uAlturaFila = 20;
    uFuenteSieze = 15;
    uBanner = QStringLiteral("posBanner1160");
  } else {
    uAlturaFila = 20;
    uFuenteSieze = 15;
    uBanner = QStringLiteral("posBanner840");
  }
  uDelegado->setFuente(uFuenteSieze);
  GRD_main->verticalHeader()->setDefaultSectionSize(uAlturaFila * 2 + 8);
  uPanelTotales->setFixedWidth(ancho <= 1280 ? kAnchoTotalesAngosto : kAnchoTotales);
  ajustaFuentesTotales();
  ajustaColumnas();
}

void TFRM_caja::ajustaColumnas() {
  // "Cantidad", "U. de Medida", "Clave", "Precio" and "Imp" take what their texts and titles
  // need, "Descripción" the rest, on up to two lines: on a narrow register the description
  // gives way first, down to two lines of its longest text.
  const int disponible = GRD_main->viewport()->width();
  if (disponible <= 0) return;
  const TGridControl& g = venta().lineas();
  const int relleno = 2 * TCajaDelegado::kMargen + 4;
  const int filas = std::min(g.getRowCount(), 200);
  // Kit and promotion headers are bold: each row is measured with its own font.
  QFont fuente = GRD_main->font();
  fuente.setPointSize(uFuenteSieze);
  const QFontMetrics normal(fuente);
  fuente.setBold(true);
  const QFontMetrics gruesa(fuente);
  const int descripcion = g.indiceColumna(QStringLiteral("Descripción"));
  QVector<int> visibles;
  QVector<TColumnaReparto> reparto;
  for (int c = 0; c < g.getColumnCount(); ++c) {
    if (GRD_main->isColumnHidden(c)) continue;
    const TGridControl::Columna& col = g.columna(c);
    TColumnaReparto r;
    if (col.tipo == TGridControl::Imagen) {
      r.clase = TColumnaReparto::Angosta;
      r.completo = r.legible = r.minimo = col.ancho;
    } else {
      int contenido = u_anchoTitulo(GRD_main->horizontalHeader(), c, col.nombre);
      int dosLineas = contenido;
      for (int f = 0; f < filas; ++f) {
        const QFontMetrics& fm = TCajaDelegado::filaCabecera(g, f) ? gruesa : normal;
        const QString texto = TCajaDelegado::textoCelda(g, c, f);
        const int unaLinea = fm.horizontalAdvance(texto) + relleno;
        contenido = std::max(contenido, unaLinea);
        // Two lines are never wider than one: most rows need no second measure.
        if (c == descripcion && unaLinea > dosLineas)
          dosLineas = std::max(dosLineas, u_anchoDosLineas(fm, texto) + relleno);
      }
      r.completo = contenido;
      r.minimo = 40;
      if (c == descripcion) {
        r.clase = TColumnaReparto::Ajuste;
        r.legible = std::min(dosLineas, 220);
      } else {
        r.clase = TColumnaReparto::Angosta;
        r.legible = contenido;
      }
    }
    visibles << c;
    reparto << r;
  }
  const QVector<int> anchos = repartoColumnas(reparto, disponible);
  for (int i = 0; i < visibles.size(); ++i) GRD_main->setColumnWidth(visibles[i], anchos[i]);
}

void TFRM_caja::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  ajustaTamanio();
}

void TFRM_caja::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  ajustaTamanio();
}
