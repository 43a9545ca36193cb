#pragma once
// "Corte de Caja" / "Cierre de Caja": withdraws money from an open session (a cut, the
// session stays open) or closes the session withdrawing all it holds.

#include <QDialog>

#include "ui/pantallaNombrada.h"

class QLabel;
class QPushButton;
class QTimer;

// Named for tests (TPantallaNombrada): "Título", "Caja", "Descripción", "Monto Actual",
// "Monto a Retirar", "Editar monto", "Fecha", "Aceptar", "Cancelar".
class TFRM_cajaCorte : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_cajaCorte(QWidget* parent = nullptr);

  bool initCorte(int cajaId, const QString& cajaClave, const QString& cajaDescripcion,
                 int sesionId);
  bool initCierre(int cajaId, const QString& cajaClave, const QString& cajaDescripcion,
                  int sesionId);

  void BTN_corteMontoClick();
  void BTN_aceptarClick();
  void BTN_cancelarClick() { reject(); }
  void cajaSesionAcumulado();
  void actualizaReloj();
  // The clock's timer: its interval in milliseconds and whether it runs.
  int intervaloReloj() const;
  bool relojEnMarcha() const;

  static constexpr int kIntervaloReloj = 1000;

  int uCajaID = 0;
  int uSesionID = 0;
  bool uEsCorte = true;
  double uCorteMonto = 0;
  double uAcumulado = 0;

 private:
  QLabel* LBL_titulo2texto = nullptr;
  QLabel* LBL_cajaClave = nullptr;
  QLabel* LBL_cajaDescripcion = nullptr;
  QLabel* LBL_montoActual = nullptr;
  QLabel* LBL_corteMonto = nullptr;
  QLabel* LBL_fechaHora = nullptr;
  QPushButton* BTN_corteMonto = nullptr;
  QPushButton* BTN_aceptar = nullptr;
  QPushButton* BTN_cancelar = nullptr;
  QTimer* uReloj = nullptr;

  void construye();
  void prepara(int cajaId, const QString& cajaClave, const QString& cajaDescripcion, int sesionId);
  bool ejecuta();
};
