#pragma once
// The sale register: the cashier's full-screen window. The sale itself lives in TLineasVenta;
// this screen reads the barcode scanner and the keyboards, shows lines, tiles and totals, and
// hands the sale to the checkout.

#include <QCache>
#include <QFrame>
#include <QList>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <memory>

#include "checkout/TRespuestaCerrarVenta.h"
#include "db/CmidTierResponse.h"
#include "sale/reglas/lineas_venta.h"
#include "ui/pantallaNombrada.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTableView;
class TCajaDelegado;
class TGridVista;
class TTecladoPantalla;
class TTileResultado;

// One search-result tile.
struct tHoldProducto {
  TTileResultado* fondo = nullptr;
};

// The checkout as the register calls it (total, subtotal, descuento, impuestos, lineas,
// cajero, almacen, subirTicket).
using TCobroVenta = std::function<TRespuestaCerrarVenta(double, double, double, double,
                                                        TGridControl&, const QString&, int, bool)>;

// Tests and pos-script act on it through its handlers and TPantallaNombrada's names: the fields
// "Código de barras", "Buscar por nombre", "Cantidad"; the buttons "Iniciar", "Minimizar",
// "Buscar", "Buscar Kit", "Ver Promoción", "Cerrar Busqueda", "Eliminar", "Aceptar", the images
// "Más" and "Menos", the tiles "Resultado 0", "Resultado 1", ...; the texts "Caja", "Cajero",
// "Total", "Descuento", "Impuestos", "Producto seleccionado", "Sin resultados"; the panels
// "Precios por volumen" (its "Cerrar precios") and "Promoción" ("Desde", "Hasta",
// "Detalle de la promoción", "Eliminar promoción", "Cerrar promoción"); the grids "Líneas" and
// "Precios"; the keyboard "Teclado"; the results' scroll bar "Barra de resultados".
class TFRM_caja : public QWidget, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_caja(QWidget* parent = nullptr);
  ~TFRM_caja() override;

  // Start-up checks; shows the window full screen when they pass. Answers whether it showed.
  bool init();
  void setCobro(TCobroVenta cobro) { uCobro = std::move(cobro); }

  // Handlers (the screen's own, public so the scripted driver and tests act as the cashier).
  void TXT_lecturaKeyUp();
  void buscarPorNombre();
  void seleccionaTile(int indice);
  void GRD_mainMouseUp(int fila, int columna, const QPoint& puntero = QPoint());
  void Image1Click();  // plus
  void Image2Click();  // minus
  void cambiaCantidad();
  void BTN_eliminarClick();
  void BTN_iniciarClick();
  void BTN_minimizarClick();
  void BTN_buscarKitClick();
  void BTN_verPromocionClick();
  void BTN_cerrarVentaClick();
  void BTN_cerrarBusquedaClick();
  void eliminarPromocionClick();
  void detallePromo(int fila, const QPoint& puntero = QPoint());
  void agregaKit(int kitId);
  void reinicia();

  TLineasVenta& venta() { return *uVenta; }
  // Names of the tiles of the last search, in order, and where each one lies.
  QStringList resultados() const;
  QRect geometriaResultado(int indice) const;
  int anchoResultados() const;
  bool enResultados() const;

  int uTicketNumero = 0;
  bool uServicioTickets = false;
  int uAlturaFila = 20;
  int uFuenteSieze = 15;
  QString uBanner;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* obj, QEvent* ev) override;

 private:
  void construye();
  void buscaInfoCaja();
  bool compruebaDatosTicket();
  void ajustaTamanio();
  void ajustaColumnas();
  // The amounts' fonts shrink until their longest word fits the totals panel.
  void ajustaFuentesTotales();
  // Places the result tiles left to right over the results area's width.
  void acomodaTiles();
  void muestraTilesALaVista();
  void muestraTotales();
  void liberaTiles();
  // The tile at that place of the results, built the first time a search needs it and filled
  // again by every later one.
  tHoldProducto tileResultado(int indice);
  QPixmap imagenTile(const QByteArray& bytes, const QSize& tam);
  void muestraResultados();
  void ocultaPaneles();
  void ocultaTeclados();
  void muestraTeclado(QLineEdit* destino);
  void seleccionaFila(int fila);
  void muestraMonitor(const QPoint& puntero);
  void colocaPanel(QWidget* panel, const QPoint& puntero);
  void eliminaFila(int fila);
  void refresca();
  // After every action the next scan must land in the reading field.
  void vuelveALectura();
  // Brings a line into view (it is painted as the selected one).
  void muestraFila(int fila);
  // After a reading or a tile: selects a line read again, repaints, shows the line.
  void marcaAgregada(int fila, int filasAntes);

  QLineEdit* TXT_lectura = nullptr;
  QLineEdit* TXT_busquedaNombre = nullptr;
  QLineEdit* TXT_cantidad = nullptr;
  // The totals panel: narrower on a 1024-wide station, so the lines keep their width.
  static constexpr int kAnchoTotales = 330;
  static constexpr int kAnchoTotalesAngosto = 282;
  QFrame* uPanelTotales = nullptr;
  QLabel* LBL_total = nullptr;
  QLabel* LBL_descuento = nullptr;
  QLabel* LBL_impuestos = nullptr;
  QLabel* LBL_caja = nullptr;
  QLabel* LBL_cajero = nullptr;
  QLabel* LBL_productoSeleccionado = nullptr;
  QLabel* LBL_sinResultados = nullptr;
  QPushButton* BTN_cerrarBusqueda = nullptr;
  QPushButton* BTN_cerrarVenta = nullptr;
  QPushButton* BTN_verPromocion = nullptr;
  QFrame* PNL_monitor = nullptr;
  QFrame* PNL_promocion = nullptr;
  QLabel* LBL_promocionDesde = nullptr;
  QLabel* LBL_promocionHasta = nullptr;
  QLabel* LBL_promocionDescripcion = nullptr;
  QTableView* GRD_main = nullptr;
  QTableView* GRD_monitor = nullptr;

  std::unique_ptr<TLineasVenta> uVenta;
  CmidTierResponse uResponseBusqueda;
  int uIndiBusquedaSeleccionado = -1;
  QLineEdit* uControl = nullptr;
  int uControlSeleccionado = 0;
  QList<tHoldProducto> uListaComponentesDinamicos;  // the tiles of the last search
  QList<tHoldProducto> uTilesHechos;
  TCobroVenta uCobro;

  QWidget* uPaginaResultados = nullptr;  // over the sale's lines while it shows
  QWidget* uAreaTiles = nullptr;
  QScrollArea* uScrollTiles = nullptr;
  QLabel* uBannerImagen = nullptr;
  TTecladoPantalla* uTeclado = nullptr;
  TCajaDelegado* uDelegado = nullptr;
  TGridVista* uVistaLineas = nullptr;
  // Pictures the tiles show again and again, drawn once: the placeholder, and each product
  // picture by its bytes, already scaled to the tile.
  QPixmap uSinImagenTile;
  QCache<QByteArray, QPixmap> uImagenesTiles{120};
};

// The register window of the module (created once, reused for every sale).
TFRM_caja* FRM_caja();
