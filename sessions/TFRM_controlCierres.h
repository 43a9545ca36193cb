#pragma once
// "Control de Cierres": the cuts and closes of the business between two dates, of every cashier
// or of the one chosen, with a chart of the cash taken out per day and cashier. "Ver Sesión"
// opens the session view, where the supervisor types the session to look into.
//
// Named for tests and pos-script, besides the list's names (TListaPantalla): "Fecha Inicial",
// "Fecha Final" (date edits) with "Hoy Fecha Inicial", "Hoy Fecha Final"; "Cajero" (the chosen
// cashier's name) and "Seleccionar cajero"; "Ver Sesión"; "Retiros" (the chart).

#include "admin/TFRM_seleccionarCajero.h"
#include "shell/listas/TListaPantalla.h"

class TGraficaBarras;

class TFRM_controlCierres : public TListaPantalla {
  Q_OBJECT
 public:
  explicit TFRM_controlCierres(QWidget* parent = nullptr);

  // Runs the cashier selection; its answer replaces the filter whole.
  void BTN_seleccionarCajeroClick();
  void BTN_verSesionClick();
  const TGraficaBarras& graficaRetiros() const { return *uGraficaRetiros; }

  seleccionarCajeroRespuesta uSeleccionCajero;

 protected:
  void declaraColumnas(TGridControl& grid) override;
  QString columnaAjuste() const override { return QStringLiteral("Nombre"); }
  CmidTierResponse consulta() override;
  void despuesDeCargar() override;
  QVector<TColumnaPDF> columnasPDF() const override;
  QString rangoFechasPDF() const override;

 private:
  QDateEdit* DTP_desde = nullptr;
  QDateEdit* DTP_hasta = nullptr;
  QLabel* LBL_cajero = nullptr;
  QPushButton* BTN_seleccionarCajero = nullptr;
  QPushButton* BTN_verSesion = nullptr;
  TGraficaBarras* uGraficaRetiros = nullptr;
  CmidTierResponse uUltimaConsulta;
};
