#pragma once
// "Caja Captura": creates a register (key, description, warehouse) or edits the description
// of one. Answers whether it stored something.

#include <QDialog>
#include <QVector>

#include "ui/pantallaNombrada.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TTecladoCampos;

// Named for tests (TPantallaNombrada): "Título", "Clave", "Descripción Corta", "Almacén",
// "Aceptar", "Cancelar".
class TFRM_cajaCaptura : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_cajaCaptura(QWidget* parent = nullptr);

  bool initNuevo();
  bool initEditar(int cajaId);

  void BTN_aceptarClick();
  void BTN_cancelarClick() { reject(); }
  void cargaComboAlmacen();
  void cargaCaja();

  bool uEsNuevo = true;
  int uCajaID = 0;
  bool uAceptar = false;
  QVector<int> uValueMember_CMB_almacenes;

 private:
  void construye();

  QLabel* LBL_titulo = nullptr;
  QLineEdit* TXT_claveCaja = nullptr;
  QLineEdit* TXT_descripcionCaja = nullptr;
  QComboBox* CMB_almacenes = nullptr;
  QPushButton* BTN_aceptar = nullptr;
  QPushButton* BTN_cancelar = nullptr;
  TTecladoCampos* uTeclado = nullptr;
};
