#pragma once
// Answer of the checkout to the sale register.

struct TRespuestaCerrarVenta {
  bool ok = false;             // a sale was completed
  int ticketOperacionID = 0;   // stored operation id (meaningful when ok)
  bool requiereFactura = false;
  int ticketNo = 0;
};
