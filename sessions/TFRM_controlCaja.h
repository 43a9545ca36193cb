#pragma once
// "Control Caja": the business's registers with their state, session, cashier, last cut and
// balance. A row's options menu edits, opens, cuts or closes the register; "Nueva Caja"
// creates one.

#include <QDateTime>
#include <QPointF>

#include "context/TsistemaDatos.h"
#include "shell/listas/TListaPantalla.h"

class QMenu;
class QAction;

// Filled when the options menu opens.
struct REC_datosRequeridos {
  TsistemaDatos sys;
  QString cajaClave;
  int cajaEstado = 0;
  QPointF pointF;
  int pointX = 0;
  int pointY = 0;
};

class TFRM_controlCaja : public TListaPantalla {
  Q_OBJECT
 public:
  explicit TFRM_controlCaja(QWidget* parent = nullptr);

  void BTN_nuevaCajaClick();
  void BTN_reiniciarTXTclaveClick();
  void BTN_reiniciarTXTdescripcionClick();
  // Prepares the options menu for row `fila` (enabling by the row's state).
  void popOpciones(int fila);
  // 1 "Editar Caja", 2 "Apertura", 3 "Corte", 4 "Cierre", on row uFila.
  void accionMenuFlotante(int opcion);
  // Fills "Saldo" of every row.
  void saldoCaja();
  // The options menu as the user sees it: option 1..4 chosen (nothing when disabled), its
  // caption and whether it is enabled.
  void eligeOpcion(int opcion);
  QString textoOpcion(int opcion) const;
  bool opcionHabilitada(int opcion) const;
  int uFila = -1;
  REC_datosRequeridos uDatosRequeridos;
  // Tests set it so the menu is prepared but not shown.
  bool uMuestraMenu = true;

 protected:
  void declaraColumnas(TGridControl& grid) override;
  QString columnaAjuste() const override { return QStringLiteral("Descripción"); }
  CmidTierResponse consulta() override;
  void despuesDeCargar() override { saldoCaja(); }
  void accionFila(int fila, const QPoint& global) override;
  QVector<TColumnaPDF> columnasPDF() const override;

 private:
  QAction* opcion(int opcion) const;

  QLineEdit* TXT_clave = nullptr;
  QLineEdit* TXT_descripcion = nullptr;
  QPushButton* BTN_nuevaCaja = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* MenuItem1 = nullptr;
  QAction* MenuItem2 = nullptr;
  QAction* MenuItem3 = nullptr;
  QAction* MenuItem4 = nullptr;
};
