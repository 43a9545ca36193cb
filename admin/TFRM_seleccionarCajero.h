#pragma once
// "Seleccionar Cajero": modal picker of an active cashier, searchable by name and key.

#include <QDialog>

#include "context/TsistemaDatos.h"
#include "operaciones/cajeros.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TGridControl;
class TListaCajerosActivos;

struct seleccionarCajeroRespuesta {
  bool ok = false;
  UREC_cajero cajero;
};

class TFRM_seleccionarCajero : public QDialog {
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
  QLineEdit* TXT_nombre() const;
  QLineEdit* TXT_clave() const;
  QLabel* LBL_msgMain() const;
  QLabel* LBL_filtro = nullptr;
  QPushButton* BTN_aceptar = nullptr;
  QPushButton* BTN_cancelar = nullptr;

  TsistemaDatos uSistema;
  int uFilaSeleccionada = -1;
  bool uRenglonValido = false;
  bool uAceptar = false;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void respuesta(seleccionarCajeroRespuesta& r) const;

  TListaCajerosActivos* uLista = nullptr;
};

// The picker in one call, for the screens that need a cashier.
seleccionarCajeroRespuesta seleccionarCajero(const TsistemaDatos& sistema);
