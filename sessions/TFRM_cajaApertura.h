#pragma once
// "Apertura de Caja": opens a work session on a register with its cashier, the opening amount
// and the cash count, bound to this station.

#include <QDialog>
#include <QHash>

#include "admin/TFRM_seleccionarCajero.h"
#include "sessions/reglas/conteoCaja.h"
#include "ui/pantallaNombrada.h"

class QLabel;
class QPushButton;
class QTimer;

// Named for tests (TPantallaNombrada): "Caja", "Descripción", "Cajero", "Seleccionar cajero",
// "Monto", "Editar monto", per note value V "Billetes V", "Valor V", "Editar billetes V";
// "Monedas", "Editar monedas", "Total capturado", "Fecha", "Iniciar", "Cancelar".
class TFRM_cajaApertura : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_cajaApertura(QWidget* parent = nullptr);

  // Shows the register and runs the screen modally; always true (the list refreshes).
  bool init(int cajaId, const QString& cajaClave, const QString& cajaDescripcion);

  void BTN_seleccionarCajeroClick();
  void BTN_aperturaMontoClick();
  // One note value: 1000, 500, 200, 100, 50 or 20.
  void BTN_denominacionClick(int valor);
  void BTN_monedasClick();
  void BTN_iniciarClick();
  void BTN_cancelarClick() { reject(); }
  bool compruebaTotalCapturado();
  void actualizaReloj();
  // The clock's timer: its interval in milliseconds and whether it runs.
  int intervaloReloj() const;
  bool relojEnMarcha() const;

  static constexpr int kIntervaloReloj = 950;

  int uCajaID = 0;
  QString uCajaNombre;
  seleccionarCajeroRespuesta uSeleccionCajero;
  double uAperturaMonto = 0;
  int uDenominacion1000 = 0, uDenominacion500 = 0, uDenominacion200 = 0, uDenominacion100 = 0,
      uDenominacion50 = 0, uDenominacion20 = 0;
  double uDenominacionMonedas = 0;

 private:
  bool montoAceptado(double monto, const QString& campo);

  QLabel* LBL_titulo = nullptr;
  QLabel* LBL_cajaClave = nullptr;
  QLabel* LBL_cajaDescripcion = nullptr;
  QLabel* LBL_seleccionarCajero = nullptr;
  QLabel* LBL_aperturaMonto = nullptr;
  QLabel* LBL_denomMonedas = nullptr;
  QLabel* LBL_total = nullptr;
  QLabel* LBL_fechaHora = nullptr;
  // Count and value labels by note value (LBL_denom1000, LBL_denom1000valor, ...).
  QHash<int, QLabel*> LBL_denom;
  QHash<int, QLabel*> LBL_denomValor;
  QHash<int, QPushButton*> BTN_denom;
  QPushButton* BTN_seleccionarCajero = nullptr;
  QPushButton* BTN_aperturaMonto = nullptr;
  QPushButton* BTN_monedas = nullptr;
  QPushButton* BTN_iniciar = nullptr;
  QPushButton* BTN_cancelar = nullptr;
  QTimer* uReloj = nullptr;

  void construye();
  int& cuenta(int valor);
  TConteoCaja conteo() const;
};
