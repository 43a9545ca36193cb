#pragma once
// "Ticket": one stored ticket, its header and lines. "Imprimir" reprints it with the checkout's
// receipt (the same printer code) from the stored sale; "Facturar" opens the invoicing of the
// ticket while it is uploaded and not invoiced.
//
// Named for tests and pos-script (TPantallaNombrada): "Fecha", "No. ticket", "Cajero", "Total",
// "Lista", "Imprimir", "Facturar", "Cerrar".

#include <QDialog>

#include "printer/TImpresionTicket.h"
#include "tickets/reglas/reimpresionTicket.h"
#include "ui/pantallaNombrada.h"

class QLabel;
class QPushButton;
class QTableView;
class TDelegadoLista;
class TGridControl;
class TGridVista;

class TFRM_tickerVer : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_tickerVer(QWidget* parent = nullptr);
  ~TFRM_tickerVer() override;

  // Loads the operation and shows the screen modally.
  void init(int operacionID);
  // Loads without showing (init's first half; pos-script reprints this way).
  void buscar();
  void reimprimirTicket();
  void BTN_facturarClick();
  // "Facturar" is enabled only while the ticket is uploaded and not invoiced (state 3).
  void compruebaEstadoTicketFacturado();

  const TGridControl& grid() const { return *uGrid; }
  // What the last reprint handed to the printer.
  RECticketInfo ultimaImpresion() const { return uImpresion; }

  int uOperacionID = 0;
  QString uPago, uDevuelto, uImpuestos, ufacturaMetodo, uUUID;

 private:
  void agregaProductosOperacion();
  TticketGuardado ticketMostrado() const;

  QLabel* LBL_fecha = nullptr;
  QLabel* LBL_noTicket = nullptr;
  QLabel* LBL_cajero = nullptr;
  QLabel* LBL_total = nullptr;
  QTableView* GRD_main = nullptr;
  TGridControl* uGrid = nullptr;
  TGridVista* uVista = nullptr;
  TDelegadoLista* uDelegado = nullptr;
  QPushButton* BTN_imprimir = nullptr;
  QPushButton* BTN_facturar = nullptr;
  QPushButton* BTN_cerrar = nullptr;
  RECticketInfo uImpresion;
};
