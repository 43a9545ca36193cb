#pragma once
// "Seleccionar Forma de Pago": the payment-method picker of the package, where the business
// enables the methods its checkout offers (a name of its own tied to a SAT payment form) and
// removes them (they are only set inactive).

#include <QDialog>

#include "ui/pantallaNombrada.h"

class QComboBox;
class QLineEdit;
class QTableView;
class TGridControl;
class TTecladoCampos;

// Named for tests and pos-script (TPantallaNombrada): "Nombre", "Forma de pago SAT",
// "Agregar", "Lista", "Eliminar", "Cerrar", "Teclado".
class TFRM_seleccionarFormaPagoFirebird : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_seleccionarFormaPagoFirebird(QWidget* parent = nullptr);
  ~TFRM_seleccionarFormaPagoFirebird() override;

  // Loads the catalogue and the enabled methods and runs the picker; true when it changed any.
  bool init();
  void buscar();
  void BTN_agregarClick();
  void BTN_eliminarClick();
  void seleccionaFila(int fila);
  TGridControl& grid() const { return *uGrid; }

  bool uCambios = false;
  int uFilaSeleccionada = -1;

 private:
  QLineEdit* TXT_nombre = nullptr;
  QComboBox* CMB_formaPago = nullptr;
  QTableView* GRD_main = nullptr;
  TGridControl* uGrid = nullptr;
  TTecladoCampos* uTeclado = nullptr;
};
