#pragma once
// Completing a sale, without a screen: the payment checks, storing the sale with its stock
// discount (one call of the package's sale-storing operation), the ticket upload and the
// receipt, in that order and with the texts the checkout shows. The checkout screen calls it
// from efectuarVenta and lends it, through TPantallaVenta, what only a screen has: its labels
// after each recalculation, the completion panel and the wait screen while the ticket uploads.
// Without a screen the upload is awaited on a local event loop, so a test runs the whole
// sequence.

#include <QString>
#include <atomic>
#include <functional>

#include "checkout/reglas/cobro.h"
#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "util/resultado.h"

struct TDatosVenta {
  TGridControl* lineas = nullptr;  // the register's sale lines, read only
  QString cajero;
  int almacen = 0;
  bool subirTicket = false;
  QString nombreEfectivo = QStringLiteral("Efectivo");  // caption of the cash payment line
  bool requiereFactura = false;
};

// What the screen does at each step; every one may be left empty.
struct TPantallaVenta {
  std::function<void()> recalculada;  // the payments were recalculated: show them
  std::function<void()> validada;     // the payments passed: the completion panel, from here on
  std::function<void(int ticketNo)> almacenada;  // stored, before the upload
  // Shown while the ticket uploads; returns once *ocupado is false.
  std::function<void(std::atomic<bool>* ocupado)> esperaCarga;
};

struct TVentaCompletada {
  bool ok = false;             // stored (and printed)
  TResultado resultado;        // the refusal to show when not ok; its text may be empty
  bool validada = false;       // the payments passed (refusals after that come from storing)
  bool sinExistencia = false;  // refused for stock: the completion panel stays, the text with it
  int operacionID = 0;
  int ticketNo = 0;
  QString identificador;  // the ticket's id at the invoicing service; empty when not uploaded
  // Shown after the completion panel when the upload cannot work until a supervisor acts
  // (the stored password cannot be decrypted); empty otherwise.
  TResultado aviso;
};

// Runs efectuarVenta's steps on `cobro` (whose fields hold what was typed); its received and
// change amounts are recalculated, and the change is never negative in what is stored.
TVentaCompletada completaVenta(TCobro& cobro, const TDatosVenta& datos, TsistemaDatos& sistema,
                               const TPantallaVenta& pantalla = {});
