#pragma once
// "Sesión": one register session looked back at by its number: its tickets, the products it
// sold (added up per product) and what it took per payment method, with the session total and
// two charts (sales by hour, totals per method). A ticket row opens the ticket ("ver" icon)
// or its invoice PDF (the UUID, downloaded once from the invoicing service when missing).
//
// Named for tests and pos-script (TPantallaNombrada): "No. Sesión", "Buscar", "Sesión" (the
// session's register, cashier and dates), "Ver Tickets", "Ver Productos", "Ver Metodo Pago",
// the grids "Tickets", "Productos", "Metodos de Pago", "Total", "Ventas por hora",
// "Totales por método" (the charts), "Imprimir", "Aceptar", "Cancelar", "Teclado".

#include <QDialog>

#include "operaciones/credenciales.h"
#include "sessions/reglas/consultaSesion.h"
#include "ui/pantallaNombrada.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableView;
class TDelegadoLista;
class TGraficaBarras;
class TGridControl;
class TGridVista;
class TTecladoCampos;

class TFRM_verSesion : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_verSesion(QWidget* parent = nullptr);
  ~TFRM_verSesion() override;

  // Empty: the supervisor types the number.
  void init();
  // Handed a session: it is searched before the screen shows.
  void initSesion(int sesion);

  // Reads the number field and loads the session; an empty field does nothing.
  void buscar();
  // Which grid is in front: 0 tickets, 1 products, 2 payment methods.
  void muestraGrid(int cual);
  int gridAlFrente() const;
  // A touch on the tickets grid: column 0 opens the ticket, column "UUID" its invoice PDF.
  void GRD_mainMouseUp(int fila, int columna);
  void verPDF(int fila);

  const TGridControl& gridTickets() const { return *uGRD_mainControl; }
  const TGridControl& gridProductos() const { return *uGRD_productosControl; }
  const TGridControl& gridMetodoPago() const { return *uGRD_metodoPagoControl; }
  const TGraficaBarras& graficaVentas() const { return *uGraficaVentas; }
  const TGraficaBarras& graficaMetodos() const { return *uGraficaMetodos; }
  // The session last loaded (0 when none) and its total to the cent.
  int sesionMostrada() const { return uSesion; }
  double total() const { return uTotal; }
  // The local path of the invoice PDF the last "UUID" touch made sure of (empty when none).
  QString ultimoPDF() const { return uUltimoPDF; }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

  TcredencialesServicio uCredenciales;
  int uModo = 0;

 private:
  QTableView* nuevoGrid(TGridControl** control, TDelegadoLista** delegado);
  void limpia();
  // Each grid's columns share its width the way the list screens' do.
  void ajustaAnchos();
  void buscarTicketsporSesion(int sesion);
  void buscarProductosPorSesion(int sesion);
  void buscarTotalFormaPagoSesion(int sesion);

  int uSesion = 0;
  double uTotal = 0;
  QString uUltimoPDF;
  TGridControl* uGRD_mainControl = nullptr;
  TGridControl* uGRD_productosControl = nullptr;
  TGridControl* uGRD_metodoPagoControl = nullptr;
  QList<TGridVista*> uVistas;
  QList<QTableView*> uTablas;
  QStringList uAjustes;
  TDelegadoLista* uDelegadoTickets = nullptr;
  TDelegadoLista* uDelegadoProductos = nullptr;
  TDelegadoLista* uDelegadoMetodos = nullptr;
  TTecladoCampos* uTeclado = nullptr;

  QLineEdit* TXT_sesion = nullptr;
  QLabel* LBL_sesion = nullptr;
  QLabel* LBL_total = nullptr;
  QStackedWidget* uPila = nullptr;
  QTableView* GRD_main = nullptr;
  QTableView* GRD_productos = nullptr;
  QTableView* GRD_metodoPago = nullptr;
  TGraficaBarras* uGraficaVentas = nullptr;
  TGraficaBarras* uGraficaMetodos = nullptr;
  QPushButton* BTN_buscar = nullptr;
  QPushButton* BTN_verTickets = nullptr;
  QPushButton* BTN_verProductos = nullptr;
  QPushButton* BTN_verMetodoPago = nullptr;
  QPushButton* BTN_imprimir = nullptr;
  QPushButton* BTN_aceptar = nullptr;
  QPushButton* BTN_cancelar = nullptr;
};
