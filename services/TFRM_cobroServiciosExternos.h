#pragma once
// "Servicios Externos": the business's MercadoPago credentials (client id, client secret and
// the serial of its Point terminal), stored encrypted. Opened from the payment methods and by
// the checkout when the configuration is incomplete; it also opens the payment history.

#include <QDialog>

#include "ui/pantallaNombrada.h"

class QLineEdit;
class TTecladoCampos;

// Named for tests and pos-script (TPantallaNombrada): "Client ID", "Client Secret",
// "Point Blue no. Serie", "Consultar Credenciales", "Ver Historial Pagos", "Aceptar",
// "Cancelar", "Teclado".
class TFRM_cobroServiciosExternos : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_cobroServiciosExternos(QWidget* parent = nullptr);

  // Loads the stored credentials and runs the screen; true when they were saved.
  bool init();
  void buscar();
  void BTN_aceptarClick();
  void BTN_cancelarClick();
  void BTN_consultarCredencialesClick();
  void BTN_verHistorialClick();

  bool uAceptar = false;

 private:
  QLineEdit* TXT_clienteID = nullptr;
  QLineEdit* TXT_clienteSecret = nullptr;
  QLineEdit* TXT_poi = nullptr;
  TTecladoCampos* uTeclado = nullptr;
};
