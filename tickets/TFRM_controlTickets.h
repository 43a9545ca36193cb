#pragma once
// "Control de Tickets": the business's tickets of a date range, optionally of one register
// session, with where each stands at the invoicing service. From a ticket's menu a supervisor
// views or reprints it, uploads it, invoices it, opens or e-mails its invoice PDF; for all of
// them, uploads the pending ones, refreshes their state from the service and opens the global
// invoice.
//
// Named for tests and pos-script, besides the list's names (TListaPantalla): "Desde", "Hasta"
// (date edits) and their "Reiniciar Desde", "Reiniciar Hasta"; "No. Sesión" and "Borrar No.
// Sesión"; "Estado" (hidden, empty) and "Reiniciar Estado"; "Total"; the buttons "Cargar
// Pendientes", "Actualiza Tickets Estado", "Factura Global".

#include <QStringList>
#include <memory>

#include "operaciones/credenciales.h"
#include "shell/listas/TListaPantalla.h"
#include "tickets/reglas/TthreadGetEstadoTicket.h"
#include "workers/TthreadConexionRemotaPDF.h"

class QAction;
class QComboBox;
class QDateEdit;
class QMenu;

// One listed ticket as the supervisor reads its row.
struct TfilaControl {
  int operacionID = 0;
  QString sesion, ticket, total, fecha;
  QString estado;         // "_metodo": empty, "2", "3", "4", "6"
  QString identificador;  // the ticket's identifier at the invoicing service
  QString uuid;           // its invoice's fiscal UUID
};

class TFRM_controlTickets : public TListaPantalla {
  Q_OBJECT
 public:
  explicit TFRM_controlTickets(QWidget* parent = nullptr);
  ~TFRM_controlTickets() override;

  // The menu of row `fila`: the row is recorded in uFila, the entries its state allows are
  // shown, the menu opens (unless uMuestraMenu is false), and the list is searched again.
  void abreMenu(int fila, const QPoint& global = QPoint());
  // Prepares the menu's entries for row `fila`.
  void popOpciones(int fila);
  // The menu's entries the user sees, in order (the separator left out).
  QStringList opcionesMenu() const;
  // Runs a menu entry on uFila as a touch on it would; false when it is not offered.
  bool eligeOpcion(const QString& entrada);

  // Menu entries, on uFila.
  void verTicket();
  void subeTicket();
  void facturarOperacion();
  void verPDF();
  void enviarCorreo();
  // Buttons.
  void subeTicketsFaltantes();
  void compruebaEstadoTickets();
  void facturaGlobal();
  // The invoicing prerequisites: postal code, tax regime, online account; the message lists
  // what is missing.
  bool compruebaInformacionNecesariaTickets();
  // Loads the online account's credentials; they keep their values when the lookup fails.
  void consultaCredencialesUsuario();

  // The listed tickets, in row order.
  QVector<TfilaControl> tickets() const;
  // Readings for pos-script and tests: the invoice PDF last made sure of (its local path), the
  // outcome of the last status poll.
  QString ultimoPDF() const { return uUltimoPDF; }
  datosThreadEstadoTicket ultimoSondeo() const { return uThread_ResEstadoTicket; }

  int uFila = -1;
  // Tests and pos-script set it so the menu is prepared but not shown.
  bool uMuestraMenu = true;

 protected:
  void declaraColumnas(TGridControl& grid) override;
  QString columnaAjuste() const override { return QString(); }
  CmidTierResponse consulta() override;
  void despuesDeCargar() override;
  void liberacionEnGrid(int fila, int columna, const QPoint& global) override;
  QVector<TColumnaPDF> columnasPDF() const override;
  void limpiaFiltros() override;

 private:
  QWidget* campoFecha(const QString& etiqueta, QDateEdit** campo);
  QString celda(const QString& columna) const;
  bool ventanaValida();
  void thread_GetEstadoTicket_End();

  QDateEdit* DTP_fechaInicial = nullptr;
  QDateEdit* DTP_fechaFinal = nullptr;
  QLineEdit* TXT_sesion = nullptr;
  QComboBox* CMB_estado = nullptr;
  QLabel* LBL_total = nullptr;
  QPushButton* BTN_cargarPendientes = nullptr;
  QPushButton* BTN_actualizaEstado = nullptr;
  QPushButton* BTN_facturaGlobal = nullptr;
  QMenu* popOpcionesMenu = nullptr;
  QAction* MNU_verTicket = nullptr;
  QAction* MNU_subirTicket = nullptr;
  QAction* MNU_facturar = nullptr;
  QAction* MNU_separador = nullptr;
  QAction* MNU_verPDF = nullptr;
  QAction* MNU_enviarCorreo = nullptr;

  TcredencialesServicio uCredenciales;  // uCredencialesUsuario, uCredencialesCuenta, ...Password
  std::unique_ptr<TthreadGetEstadoTicket> uThread_GetEstadoTicket;
  datosThreadEstadoTicket uThread_ResEstadoTicket;
  std::atomic<bool> uThread_EstadoTicketActivo{false};
  QString uUltimoPDF;
};
