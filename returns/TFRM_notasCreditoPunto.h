#pragma once
// "Notas de Crédito": the credit notes issued for point-of-sale sales in a date range, optionally
// for one sale invoice; a touch on a UUID opens that document's PDF (downloaded from the
// invoicing service the first time).

#include "shell/listas/TListaPantalla.h"

class QDateEdit;

class TFRM_notasCreditoPunto : public TListaPantalla {
  Q_OBJECT
 public:
  explicit TFRM_notasCreditoPunto(QWidget* parent = nullptr);

  // Actions.
  void escribeUuidVenta(const QString& texto);
  void fijaFechas(const QDate& desde, const QDate& hasta);
  // Opens the PDF of the UUID in that cell of the "Comprobante" or "Nota de Crédito" column;
  // answers the PDF's path, empty when nothing was opened.
  QString verPDF(int fila, int columna);

 protected:
  void declaraColumnas(TGridControl& grid) override;
  QString columnaAjuste() const override { return QStringLiteral("Cliente"); }
  CmidTierResponse consulta() override;
  QVector<TColumnaPDF> columnasPDF() const override;
  void liberacionEnGrid(int fila, int columna, const QPoint& global) override;

 private:
  QDateEdit* DTP_fechaInicial = nullptr;
  QDateEdit* DTP_fechaFinal = nullptr;
  QLineEdit* TXT_uuidVenta = nullptr;
};
