#pragma once
// "Cajeros": the business's cashiers by name and key; a row's "Edita" icon edits it and
// "Nuevo Cajero" creates one.

#include "shell/listas/TListaPantalla.h"

class TFRM_cajeros : public TListaPantalla {
  Q_OBJECT
 public:
  explicit TFRM_cajeros(QWidget* parent = nullptr);

  void BTN_nuevoClick();
  void BTN_borrarTXTnombreClick();
  void BTN_borrarTXTclaveClick();

 protected:
  void declaraColumnas(TGridControl& grid) override;
  QString columnaAjuste() const override { return QStringLiteral("Nombre"); }
  CmidTierResponse consulta() override;
  void accionFila(int fila, const QPoint& global) override;
  QVector<TColumnaPDF> columnasPDF() const override;

 private:
  QLineEdit* TXT_nombre = nullptr;
  QLineEdit* TXT_clave = nullptr;
  QPushButton* BTN_nuevo = nullptr;
};
