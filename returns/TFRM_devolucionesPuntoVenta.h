#pragma once
// "Devoluciones": the returns recorded at the point of sale, by date range or by ticket number,
// and the start of a new return ("Nueva Devolución").

#include "shell/listas/TListaPantalla.h"

class QDateEdit;

class TFRM_devolucionesPuntoVenta : public TListaPantalla {
  Q_OBJECT
 public:
  explicit TFRM_devolucionesPuntoVenta(QWidget* parent = nullptr);

  // Actions.
  void escribeTicket(const QString& texto);
  void fijaFechas(const QDate& desde, const QDate& hasta);
  // Opens the return screen modally, then searches again.
  void BTN_nuevaDevolucionClick();

 protected:
  void declaraColumnas(TGridControl& grid) override;
  QString columnaAjuste() const override { return QStringLiteral("Estado"); }
  CmidTierResponse consulta() override;
  QVector<TColumnaPDF> columnasPDF() const override;

 private:
  QDateEdit* DTP_fechaInicial = nullptr;
  QDateEdit* DTP_fechaFinal = nullptr;
  QLineEdit* TXT_ticket = nullptr;
  QPushButton* BTN_nuevaDevolucion = nullptr;
};
