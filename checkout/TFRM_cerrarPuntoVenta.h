#pragma once
// The checkout: cash and up to six further payments, change, storing the sale, uploading and
// printing its ticket. Created once and reused for every sale.

#include <QDialog>
#include <QList>
#include <array>

#include "checkout/TRespuestaCerrarVenta.h"
#include "checkout/reglas/cobro.h"
#include "checkout/reglas/mercadoPago.h"
#include "db/CmidTierResponse.h"
#include "ui/pantallaNombrada.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class TFRM_espere;
class TGridControl;
class TTecladoPantalla;

struct tHoldFormaPago {
  QFrame* fondo = nullptr;
  QLabel* etiqueta = nullptr;
  int id = 0;
};

// Named for tests and pos-script (TPantallaNombrada): the cash field "Monto efectivo" and its
// button "Efectivo"; per row n = 1..6 "Forma de pago n", "Monto n", "Referencia n", "Detalle n";
// the method tiles "Método 0", "Método 1", ...; "Total", "Recibido", "Devuelto",
// "Detalle de referencia", "Despedida", "Estado de carga", "Requiere Factura", "Mercado Pago",
// "Otras Formas de Pago", "Ocultar", "Aceptar", "Cancelar", "Cerrar" and the keyboard "Teclado".
class TFRM_cerrarPuntoVenta : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  static constexpr int kAnchoCompacto = 415, kAnchoAmplio = 880, kAlto = 525;

  explicit TFRM_cerrarPuntoVenta(QWidget* parent = nullptr);
  ~TFRM_cerrarPuntoVenta() override;

  TRespuestaCerrarVenta init(double total, double subtotal, double descuento, double impuestos,
                             TGridControl& lineas, const QString& cajero, int almacen,
                             bool subirTicket);

  // Actions of the cashier (public for the scripted driver and tests).
  void BTN_efectivoClick();
  void BTN_resetEfectivoClick();
  void BTN_otrasFormasClick();
  void BTN_ocultarClick();
  // Compact or wide: a fixed size, kept on the station's screen.
  void fijaAncho(int ancho);
  void BTN_metodoClick(int fila);     // 1..6
  void seleccionaMetodo(int indice);  // a method tile
  void BTN_resetOtroClick(int fila);  // 1..6
  void BTN_aceptarClick();
  void BTN_cancelarClick();
  void BTN_cerrarClick();
  void BTN_abreCajonClick();
  void teclaNumerica(const QString& tecla);  // "0".."9", ".", "back", "enter"
  // Touching a field by its name ("Monto efectivo", "Monto 2", "Referencia 2", ...).
  void enfocaCampo(const QString& nombre);
  bool efectuarVenta();
  // Invoices a stored ticket through the package's invoicing screen; true when it was invoiced.
  bool facturarTicket(int operacionID);

  // MercadoPago Point payments of a card row (cerrarVenta_mercadoPago.cpp): the "Mercado Pago"
  // button looks up row uNoMetodoPago automatically, a row's detail icon opens the lookup.
  TDatosMercado buscaConfiguracionMercadoPago();
  bool validaConfiguracionMercadoPago(const TDatosMercado& datos);
  void conectaMercadoPago();
  void busquedaManual(int fila);  // 1..6

  // Payment-method ids of the method tiles, in order.
  QList<int> idsFormasPago() const;
  const TCobro& cobro() const { return uCobro; }
  bool enPanelFinal() const;
  bool enMetodos() const;

  int uOperacionID = 0;
  int uTicketNo = 0;

 protected:
  bool eventFilter(QObject* obj, QEvent* ev) override;

 private:
  void enfocaCampo(QLineEdit* campo);
  void construye();
  void leeCampos();
  // Reads the fields, recalculates and shows received and change.
  void muestraOperacion();
  void muestraCalculo();
  void reiniciarFormasDePago();
  int muestraFormaPago();
  void habilitaControles(bool habilitar);
  // Reads and checks the credentials, then runs one lookup of row r (0-based) on a lookup
  // screen of its own; false when the credentials were incomplete.
  bool buscaAbono(int r, bool automatica, TConsultaAbono* abono);
  void relacionaPago(int fila, const TConsultaAbono& abono);

  QLineEdit* TXT_efectivo = nullptr;
  std::array<QPushButton*, 6> BTN_otro{};
  std::array<QLineEdit*, 6> TXT_otro{};
  std::array<QLineEdit*, 6> TXT_referencia{};
  std::array<QLabel*, 6> IMG_verFormaPago{};
  QLabel* LBL_total = nullptr;
  QLabel* LBL_recibido = nullptr;
  QLabel* LBL_devuelto = nullptr;
  QLabel* LBL_detalleReferencia = nullptr;
  QLabel* LBL_despedida = nullptr;
  QLabel* LBL_statusCarga = nullptr;
  QLabel* IMG_statusCarga = nullptr;
  QFrame* hold_statusCarga = nullptr;
  QCheckBox* CHK_requiereFactura = nullptr;
  QPushButton* BTN_mercadoPago = nullptr;
  QPushButton* BTN_otrasFormas = nullptr;
  QPushButton* BTN_aceptar = nullptr;
  QPushButton* BTN_efectivo = nullptr;

  TCobro uCobro;
  bool uAceptar = false;
  QString uCajero;
  int uAlmacen = 0;
  bool uSubirTicket = false;
  bool uEsUsuarioEnLinea = false;
  TGridControl* uDatosGrid = nullptr;
  CmidTierResponse uResponseBusqueda;
  int uNoMetodoPago = 1;
  QLineEdit* uControl = nullptr;
  bool uFlagMoneda = true;
  QList<tHoldFormaPago> uListaComponentesDinamicos;
  TFRM_espere* uEspere = nullptr;  // the upload's wait, built once

  QStackedWidget* uPaneles = nullptr;   // payment panel / completion panel
  QStackedWidget* uPestanas = nullptr;  // rows / method tiles
  QWidget* uColumnaFilas = nullptr;
  QWidget* uAreaMetodos = nullptr;
  QFrame* uHoldRequiereFactura = nullptr;
  TTecladoPantalla* uTeclado = nullptr;
  QWidget* uTecladoNumerico = nullptr;
};
