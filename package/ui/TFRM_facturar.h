#pragma once
// The package's invoicing screen. For one ticket it takes the customer's fiscal data (known
// customers are filled in from their RFC), uploads the ticket first when it never reached the
// invoicing service, has the invoice stamped there and records it on the ticket.

#include <QDialog>

#include "context/TsistemaDatos.h"
#include "db/CmidTierResponse.h"
#include "facturacion/facturaTicket.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TTecladoCampos;

class TFRM_facturar : public QDialog {
  Q_OBJECT
 public:
  explicit TFRM_facturar(QWidget* parent = nullptr);

  // Modal invoicing of one ticket of the current business. True when an invoice was stamped
  // and stored; every refusal and failure has told the user why.
  bool initPuntoVentaTicket(int operacionID, TsistemaDatos& sys);

  // Actions of the user (public for tests).
  void BTN_facturarClick();
  void BTN_cancelarClick();
  // Fills the receiver's data when the typed RFC is a known customer; true when it was.
  bool buscaReceptor();

  TreceptorFactura receptorCapturado() const;
  QString uuidFactura() const { return uUuid; }

  QLabel* LBL_titulo = nullptr;
  QLabel* LBL_ticket = nullptr;
  QLabel* LBL_fecha = nullptr;
  QLabel* LBL_total = nullptr;
  QLabel* LBL_formaPago = nullptr;
  QLineEdit* TXT_rfc = nullptr;
  QLineEdit* TXT_nombre = nullptr;
  QLineEdit* TXT_codigoPostal = nullptr;
  QComboBox* CMB_regimenFiscal = nullptr;
  QComboBox* CMB_usoCFDI = nullptr;
  QLineEdit* TXT_correo = nullptr;
  QPushButton* BTN_facturar = nullptr;
  QPushButton* BTN_cancelar = nullptr;
  TTecladoCampos* uTeclado = nullptr;

 private:
  void construye();
  void limpia();
  // The ticket must be known to the business and still open for an individual invoice.
  bool compruebaTicket();
  // Uploads the ticket when it has no identifier at the service yet.
  bool aseguraTicketCargado();
  static void seleccionaClave(QComboBox* combo, const QString& clave);

  TsistemaDatos* uSys = nullptr;
  int uOperacionID = 0;
  CmidTierResponse uTicket;
  TformaPagoTicket uFormaPago;
  QString uUuid;
  bool uFacturado = false;
};

// The invoicing screen's single instance: created when first needed and released after use.
extern TFRM_facturar* FRM_facturar;
