#pragma once
// "Formas de Pago": the payment methods the business offers at the checkout. "Seleccionar Forma
// de Pago" opens the package's picker (adding and removing methods) and "Servicios Externos"
// the MercadoPago credentials; the list is searched again after either.

#include "shell/listas/TListaPantalla.h"

// Named for tests (TListaPantalla's names plus): "Nombre", "Borrar Nombre",
// "Seleccionar Forma de Pago", "Servicios Externos".
class TFRM_formasPago : public TListaPantalla {
  Q_OBJECT
 public:
  explicit TFRM_formasPago(QWidget* parent = nullptr);

  void BTN_seleccionarFormaPagoClick();
  void BTN_serviciosExternosClick();

 protected:
  void declaraColumnas(TGridControl& grid) override;
  QString columnaAjuste() const override { return QStringLiteral("Nombre"); }
  CmidTierResponse consulta() override;
  QVector<TColumnaPDF> columnasPDF() const override;

 private:
  QLineEdit* TXT_nombre = nullptr;
  QString uBaseDeDatos;
};
