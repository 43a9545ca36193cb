#pragma once
// Every message and every modal dialog of the module goes through here, so a test can
// install a responder that records the messages and answers the questions and dialogs
// without ever entering a real modal loop.

#include <QString>
#include <functional>

class QDialog;

// Message kinds of the suite: 0 information, 1 warning, 2 error, 3 confirmation, 4 custom.
enum TipoMensaje { mtInformacion = 0, mtAdvertencia = 1, mtError = 2, mtConfirmacion = 3,
                   mtCustom = 4 };

// Shows a message. With kind 3 it asks OK / Cancel and answers true for OK.
bool u_mensaje(const QString& texto, int tipo = mtCustom);
// Confirmation with OK and Cancel; true for OK.
bool u_confirma(const QString& texto);
// Runs a dialog modally; answers QDialog::Accepted or Rejected.
int u_ejecutaModal(QDialog* dialogo);

class TRespondedorModal {
 public:
  virtual ~TRespondedorModal() = default;
  virtual void mensaje(const QString& texto, int tipo) = 0;
  virtual bool confirmacion(const QString& texto) = 0;
  virtual int dialogo(QDialog* dialogo) = 0;
};

// Installs a responder (nullptr restores the real dialogs).
void u_instalaRespondedor(TRespondedorModal* respondedor);
TRespondedorModal* u_respondedor();
