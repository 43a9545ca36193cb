#pragma once
// The package's serial-number screen ("No. de Serie"): the business's serial numbers with their
// product, warehouse, state and the sale they went out on, searchable by serial number and by
// product, so a shop owner can answer "was this unit sold here, and when?". "Asignar a Ticket"
// links units in stock to a sold line of a serial-numbered product (TFRM_asignaNoSerie), which
// the register's sale does not do. Tests and pos-script use the actions and readings below.

#include <QDialog>
#include <QWidget>

#include "db/CmidTierResponse.h"
#include "ui/pantallaNombrada.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class TGridControl;
class TGridVista;
class TListaMarcas;
class TTecladoCampos;

// Named (TPantallaNombrada): the fields "No. de Serie" and "Producto", the buttons "Buscar",
// "Ver Todos" and "Asignar a Ticket", the grid "Lista" and its "Mensaje".
class TFRM_puntoNoSerie : public QWidget, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_puntoNoSerie(QWidget* parent = nullptr);

  // Run each time the screen is shown: searches with the current filters.
  void init();

  // Actions.
  void escribeNoSerie(const QString& texto);
  void escribeProducto(const QString& texto);
  void buscar();
  void BTN_verTodosClick();
  // Opens the assignment dialog, then searches again.
  void BTN_asignarClick();

  // Readings.
  const TGridControl& grid() const { return *uGrid; }
  QString textoMensaje() const;

 private:
  void construye();

  TGridControl* uGrid = nullptr;
  TGridVista* uVista = nullptr;
  QLabel* LBL_titulo = nullptr;
  QLabel* IMG_apuntador = nullptr;
  QLineEdit* TXT_noSerie = nullptr;
  QLineEdit* TXT_producto = nullptr;
  QPushButton* BTN_buscar = nullptr;
  QPushButton* BTN_verTodos = nullptr;
  QPushButton* BTN_asignar = nullptr;
  QTableView* GRD_main = nullptr;
  QLabel* LBL_msg = nullptr;
  TTecladoCampos* uTeclado = nullptr;
};

// Linking serial numbers in stock to a sold ticket line: the supervisor types the ticket
// number, picks one of its serial-numbered lines and ticks units of the sale's warehouse.
class TFRM_asignaNoSerie : public QDialog {
  Q_OBJECT
 public:
  explicit TFRM_asignaNoSerie(QWidget* parent = nullptr);

  // Runs modally; true when something was assigned.
  bool init();

  // Actions.
  void escribeTicket(const QString& texto);
  void buscar();
  bool eligeLinea(int indice);
  bool marcaNoSerie(const QString& noSerie, bool marcado = true);
  void BTN_asignarClick();
  void BTN_cerrarClick();

  // Readings: the ticket's serial-numbered lines as listed, and the units offered for the
  // chosen one.
  QStringList lineas() const;
  QStringList disponibles() const;

 private:
  void construye();
  void cargaDisponibles();

  CmidTierResponse uLineas;
  CmidTierResponse uDisponibles;
  bool uAsignado = false;
  QLabel* LBL_titulo = nullptr;
  QLineEdit* TXT_ticketNo = nullptr;
  QPushButton* BTN_buscar = nullptr;
  QListWidget* LST_lineas = nullptr;
  TListaMarcas* LST_disponibles = nullptr;
  QPushButton* BTN_asignar = nullptr;
  QPushButton* BTN_cerrar = nullptr;
  TTecladoCampos* uTeclado = nullptr;
};
