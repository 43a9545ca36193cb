#pragma once
// "Seleccionar Cajero": modal picker of an active cashier, searchable by name and key.

#include <QDialog>

#include "context/TsistemaDatos.h"
#include "operaciones/cajeros.h"
#include "ui/pantallaNombrada.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TGridControl;
class TListaCajerosActivos;

struct seleccionarCajeroRespuesta {
  bool ok = false;
  UREC_cajero cajero;
};

// Named for tests (TPantallaNombrada): "Nombre", "Clave", "Filtro" (the note on the filter),
// "Mensaje", "Lista", "Aceptar", "Cancelar".
class TFRM_seleccionarCajero : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_seleccionarCajero(QWidget* parent = nullptr);
  ~TFRM_seleccionarCajero() override;

  // Runs the picker and fills `respuesta` (ok false and an empty cashier unless one was
  // accepted).
  void init(const TsistemaDatos& sistema, seleccionarCajeroRespuesta& respuesta);

  void buscar();
  void BTN_aceptarClick();
  void BTN_cancelarClick() { reject(); }
  // A pointer release or an arrow key on a row.
  void seleccionaFila(int fila);

  TGridControl& grid() const;

  TsistemaDatos uSistema;
  int uFilaSeleccionada = -1;
  bool uRenglonValido = false;
  bool uAceptar = false;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void respuesta(seleccionarCajeroRespuesta& r) const;

  TListaCajerosActivos* uLista = nullptr;
  QLabel* LBL_filtro = nullptr;
  QPushButton* BTN_aceptar = nullptr;
  QPushButton* BTN_cancelar = nullptr;
};

// The picker in one call, for the screens that need a cashier.
seleccionarCajeroRespuesta seleccionarCajero(const TsistemaDatos& sistema);
