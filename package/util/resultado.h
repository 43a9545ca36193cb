#pragma once
// What a rule answers instead of showing anything: whether it went through and, when not, the
// user's text exactly as the screen must show it (through u_mensaje) and its message kind.
// Rules never see a widget; screens show the text.

#include <QString>

// Message kinds of the suite: 0 information, 1 warning, 2 error, 3 confirmation, 4 custom.
enum TipoMensaje {
  mtInformacion = 0,
  mtAdvertencia = 1,
  mtError = 2,
  mtConfirmacion = 3,
  mtCustom = 4
};

struct TResultado {
  bool ok = true;
  QString mensaje;  // empty: nothing to show (a refusal may be silent)
  int tipo = mtCustom;

  static TResultado bien() { return {}; }
  static TResultado falla(const QString& mensaje, int tipo = mtCustom) {
    return {false, mensaje, tipo};
  }
};
