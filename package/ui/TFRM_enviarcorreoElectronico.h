#pragma once
// E-mail of an invoice: the PDF from the local folder goes as an attachment to the addresses
// typed (the invoice's receiver is proposed), through the station's mail server, while the wait
// screen shows. A refused address or an unreachable server is told and the screen stays open
// to correct it.
//
// Named for tests and pos-script (TPantallaNombrada): "Título", "Para", "Asunto", "Mensaje",
// "Adjunto", "Enviar", "Cancelar", "Teclado".

#include <QDialog>

#include "context/TsistemaDatos.h"
#include "ui/pantallaNombrada.h"
#include "workers/clienteCorreo.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TTecladoCampos;

class TFRM_enviarcorreoElectronico : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_enviarcorreoElectronico(QWidget* parent = nullptr);

  // Modal e-mail of the invoice `uuid` of the ticket; its PDF must be in the local folder.
  // True when it was sent.
  bool initPuntoVenta(int operacionID, const QString& uuid, TsistemaDatos& sys);

  void BTN_enviarClick();
  void BTN_cancelarClick() { reject(); }

  // How long one sending may take, in milliseconds.
  void setTiempoEspera(int milisegundos) { uTiempoEsperaMs = milisegundos; }
  // The last sending's outcome.
  TresultadoCorreo resultado() const { return uResultado; }

 private:
  QLabel* LBL_titulo = nullptr;
  QLineEdit* TXT_para = nullptr;
  QLineEdit* TXT_asunto = nullptr;
  QPlainTextEdit* TXT_mensaje = nullptr;
  QLabel* LBL_adjunto = nullptr;
  QPushButton* BTN_enviar = nullptr;
  QPushButton* BTN_cancelar = nullptr;
  TTecladoCampos* uTeclado = nullptr;

  TsistemaDatos* uSys = nullptr;
  QString uUuid;
  QString uPdf;
  bool uEnviado = false;
  int uTiempoEsperaMs = 30000;
  TresultadoCorreo uResultado;
};
