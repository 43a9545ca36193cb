#pragma once
// Every message and every modal dialog of the module goes through here, so a test can
// install a responder that records the messages and answers the questions and dialogs
// without ever entering a real modal loop.

#include <QString>
#include <functional>

#include "util/resultado.h"

class QDialog;

// Shows a message. With kind 3 it asks OK / Cancel and answers true for OK.
bool u_mensaje(const QString& texto, int tipo = mtCustom);
// A rule's refusal: its text with its kind; nothing when it went through or is silent.
void u_muestra(const TResultado& resultado);
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
