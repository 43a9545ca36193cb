#pragma once
// "Factura Global": the uploaded, not yet invoiced tickets of a day, week, month or two
// months; the supervisor picks which go into one invoice to the general public, which the
// invoicing screen stamps; the chosen tickets are then marked as in that global invoice.
//
// Named for tests and pos-script (TPantallaNombrada): "Día", "Semana", "Mes", "Bimestral" (the
// period), "Fecha", "Buscar", "Seleccionar Todo", "Total", "Lista", "Mensaje", "Generar Factura
// Global", "Cerrar".

#include <QDialog>

#include "tickets/reglas/facturaGlobal.h"
#include "ui/pantallaNombrada.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class TGridControl;
class TListaFacturaGlobal;

class TFRM_facturaGlobal : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_facturaGlobal(QWidget* parent = nullptr);
  ~TFRM_facturaGlobal() override;

  // Resets the screen, searches the day's tickets and shows it modally.
  void init();
  void buscar();
  // A touch on a row: chooses or unchooses it (a row marked -1 stays as it is).
  void GRD_mainClick(int fila);
  void CHK_seleccionarTodoClick(bool marcado);
  void BTN_aceptarClick();

  TGridControl& grid() const;
  // The UUID of the last global invoice stamped here; empty when none.
  QString ultimaFactura() const { return uUltimaFactura; }
  // The period ticked: 1 day, 2 week, 3 month, 4 two months, 0 none.
  int periodo() const;

  bool uFlagClickGrid = false;
  datosFacturar uDataFacturar;

 private:
  friend class TListaFacturaGlobal;
  void despuesDeCargar();
  void pintaFila(int fila);

  TListaFacturaGlobal* uLista = nullptr;
  QRadioButton* RDB_dia = nullptr;
  QRadioButton* RDB_semana = nullptr;
  QRadioButton* RDB_mes = nullptr;
  QRadioButton* RDB_bimestral = nullptr;
  QDateEdit* DTP_fecha = nullptr;
  QCheckBox* CHK_seleccionarTodo = nullptr;
  QLabel* LBL_total = nullptr;
  QPushButton* BTN_aceptar = nullptr;
  QPushButton* BTN_cerrar = nullptr;
  QString uUltimaFactura;
};
