#pragma once
// Product picker: a searchable modal list of the business's active products (by name, or by
// an exact barcode), with the on-screen keyboard. Answers the chosen product's description.

#include <QDialog>

#include "context/TsistemaDatos.h"
#include "operaciones/productos.h"
#include "ui/pantallaNombrada.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TGridControl;
class TTecladoPantalla;

// Named for tests (TPantallaNombrada): "Nombre o código de barras", "Buscar", "Mensaje",
// "Lista", "Aceptar", "Cancelar" and the keyboard "Teclado".
class TFRM_seleccionarProducto : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_seleccionarProducto(TsistemaDatos& sistema, QWidget* parent = nullptr);

  // Runs the picker; ok false unless a product was accepted.
  TproductoSeleccionadoDescripcion ejecuta();

  void buscar();
  void seleccionaFila(int fila);
  void BTN_aceptarClick();

  TGridControl* grid() const { return uGrid; }
  int filaSeleccionada() const { return uFila; }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  QLineEdit* TXT_buscar = nullptr;
  QLabel* LBL_msg = nullptr;
  QTableView* GRD_main = nullptr;
  QPushButton* BTN_buscar = nullptr;
  QPushButton* BTN_aceptar = nullptr;
  QPushButton* BTN_cancelar = nullptr;
  TTecladoPantalla* uTeclado = nullptr;
  TsistemaDatos& uSistema;
  TGridControl* uGrid = nullptr;
  int uFila = -1;
  bool uAceptado = false;
};

// The picker in one call.
TproductoSeleccionadoDescripcion seleccionarProducto(TsistemaDatos& sistema);
