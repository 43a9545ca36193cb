#pragma once
// The package's invoicing screen. For one ticket it takes the customer's fiscal data (known
// customers are filled in from their RFC), uploads the ticket first when it never reached the
// invoicing service, has the invoice stamped there and records it on the ticket. For a request
// prepared elsewhere (a global invoice, a credit note) it shows what will be stamped, stamps it
// and records the fiscal document.

#include <QDialog>

#include "context/TsistemaDatos.h"
#include "db/CmidTierResponse.h"
#include "facturacion/facturaTicket.h"
#include "ui/pantallaNombrada.h"
#include "workers/servicioFacturacionFactura.h"

class QComboBox;
class QStackedWidget;
class QTableWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class TTecladoCampos;

//
// Named for tests and pos-script (TPantallaNombrada): "Título", "Ticket", "Fecha", "Total",
// "Forma de pago"; the customer's fields "RFC", "Nombre o razón social", "Código postal",
// "Régimen fiscal", "Uso del CFDI", "Correo electrónico"; a prepared request's "Receptor",
// "Uso del CFDI del receptor", "Relacionado con", "Conceptos", "Importes"; the buttons
// "Facturar" and "Cancelar"; the keyboard "Teclado".
class TFRM_facturar : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_facturar(QWidget* parent = nullptr);

  // Modal invoicing of one ticket of the current business. True when an invoice was stamped
  // and stored; every refusal and failure has told the user why.
  bool initPuntoVentaTicket(int operacionID, TsistemaDatos& sys);

  // Modal stamping of a global invoice to the general public. Answers the invoice's fiscal
  // UUID; empty when it was cancelled or failed (the user has been told why).
  QString initGlobal(const datosFacturar& datos, TsistemaDatos& sys);

  // Modal stamping of a credit note for the sale `ticketID`, related to the invoice named in
  // the request. True only when the credit note was issued and recorded.
  bool initPuntoVentaNotaDeCredito(int ticketID, const datosFacturar& datos, TsistemaDatos& sys);

  // Actions of the user (public for tests).
  void BTN_facturarClick();
  void BTN_cancelarClick();
  // Fills the receiver's data when the typed RFC is a known customer; true when it was.
  bool buscaReceptor();

  TreceptorFactura receptorCapturado() const;
  QString uuidFactura() const { return uUuid; }
  // A prepared document that was not issued may still have been stamped: the last request
  // left and got no clear refusal, or it was stamped but could not be stored.
  bool timbradoSinConfirmar() const { return uTimbradoIncierto; }

 private:
  enum class Modo { Ticket, Global, NotaDeCredito };

  void construye();
  QWidget* construyeCaptura();
  QWidget* construyeResumen();
  // Shows a prepared request on the summary page.
  void muestraSolicitud(const datosFacturar& datos);
  bool compruebaNegocio();
  // Stamps the request at the service while the wait screen shows.
  TresultadoTimbrado timbraSolicitud(const datosFacturar& datos);
  void facturaTicket();
  void facturaDocumento();
  void limpia();
  // The ticket must be known to the business and still open for an individual invoice.
  bool compruebaTicket();
  // Uploads the ticket when it has no identifier at the service yet.
  bool aseguraTicketCargado();
  static void seleccionaClave(QComboBox* combo, const QString& clave);

  QLabel* LBL_titulo = nullptr;
  QLabel* LBL_ticketLeyenda = nullptr;
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
  QStackedWidget* uPaginas = nullptr;  // 0 the customer's data, 1 a prepared request
  QLabel* LBL_receptor = nullptr;
  QLabel* LBL_usoCFDI = nullptr;
  QLabel* LBL_relacionado = nullptr;
  QTableWidget* GRD_conceptos = nullptr;
  QLabel* LBL_importes = nullptr;
  QPushButton* BTN_facturar = nullptr;
  QPushButton* BTN_cancelar = nullptr;
  TTecladoCampos* uTeclado = nullptr;
  QLabel* uLeyendaRelacionado = nullptr;
  Modo uModo = Modo::Ticket;
  datosFacturar uSolicitud;
  TsistemaDatos* uSys = nullptr;
  int uOperacionID = 0;
  CmidTierResponse uTicket;
  TformaPagoTicket uFormaPago;
  QString uUuid;
  bool uFacturado = false;
  bool uTimbradoIncierto = false;
};

// The invoicing screen's single instance: created when first needed and released after use.
extern TFRM_facturar* FRM_facturar;
