#pragma once
// "Devolución": the return of goods from one sale ticket, opened modally from the returns list.
// The supervisor finds the sale by its ticket number, captures per line what comes back (the
// package's capture dialog) and chooses "cambio físico" or "nota de crédito". The return itself
// is the document of returns/reglas; this screen shows it and wires the supervisor's touches
// to it. Tests and pos-script use the actions and readings below.

#include <QDialog>
#include <QMap>
#include <memory>

#include "returns/reglas/documentoDevolucion.h"
#include "returns/reglas/registroDevolucion.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class TDelegadoLista;
class TGridVista;
class TTecladoCampos;

class TFRM_devolucion : public QDialog {
  Q_OBJECT
 public:
  explicit TFRM_devolucion(QWidget* parent = nullptr);
  ~TFRM_devolucion() override;

  // Resets the screen and shows it modally.
  void init();

  // Actions.
  void escribeTicket(const QString& texto);
  void buscar();
  // Ticks a return kind: 1 "cambio físico", 2 "nota de crédito"; false when it is disabled.
  bool eligeTipo(int tipo);
  // A click on the "Devolver" cell of grid row `fila`.
  void capturaDevolucion(int fila);
  void BTN_aceptarDevolucionClick();
  void BTN_cancelarClick();

  // Readings.
  const TdocumentoDevolucion& documento() const { return *uDocumento; }
  int tipoElegido() const;
  bool tiposHabilitados() const;
  QString textoMensaje() const;
  bool notaNoFacturadaVisible() const;
  // The sale panel as shown: "Vendedor", "Fecha Venta", "Almacén", "Cliente", "RFC",
  // "Subtotal", "Descuento", "Total".
  QMap<QString, QString> textosVenta() const;
  // What the last acceptance did.
  const TresultadoDevolucion& resultado() const { return uResultado; }
  bool aceptada() const { return uAceptada; }

  // Returns what the credit note's invoicing screen answered; the default runs the package's
  // invoicing screen (tests of the rules give their own).
  void setEmisorNota(TemisorNotaCredito emisor) { uEmisor = std::move(emisor); }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void construye();
  // A fresh return bound to the grid.
  void nuevoDocumento();
  void desligaDocumento();
  void limpiaVenta();
  void muestraVenta();
  void muestraMensaje(const QString& texto);
  TemisionNota emiteNota(int ticketID, const datosFacturar& datos);

  std::unique_ptr<TdocumentoDevolucion> uDocumento;
  TemisorNotaCredito uEmisor;
  TresultadoDevolucion uResultado;
  bool uAceptada = false;

  QLabel* LBL_titulo = nullptr;
  QLineEdit* TXT_ticketNo = nullptr;
  QPushButton* BTN_buscar = nullptr;
  QLabel* LBL_vendedor = nullptr;
  QLabel* LBL_fechaVenta = nullptr;
  QLabel* LBL_almacen = nullptr;
  QLabel* LBL_cliente = nullptr;
  QLabel* LBL_rfc = nullptr;
  QTableView* GRD_main = nullptr;
  TGridVista* uVista = nullptr;
  TDelegadoLista* uDelegado = nullptr;
  QLabel* LBL_subtotal = nullptr;
  QLabel* LBL_descuento = nullptr;
  QLabel* LBL_total = nullptr;
  QRadioButton* RAD_cambioFisico = nullptr;
  QRadioButton* RAD_notaCredito = nullptr;
  QButtonGroup* uTipos = nullptr;
  QLabel* LBL_msg = nullptr;
  QLabel* LBL_noFacturada = nullptr;
  QPushButton* BTN_aceptarDevolucion = nullptr;
  QPushButton* BTN_cancelar = nullptr;
  TTecladoCampos* uTeclado = nullptr;
};
