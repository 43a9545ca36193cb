#pragma once
// A write transaction that rolls back unless it is ended with termina(), so every early return
// of a data operation leaves nothing half-stored.

#include "db/TmiddleTier.h"

class TTransaccion {
 public:
  explicit TTransaccion(TmiddleTier& mt) : uMt(mt) {}
  ~TTransaccion() {
    if (uAbierta) uMt.transaccionRollback();
  }
  TTransaccion(const TTransaccion&) = delete;
  TTransaccion& operator=(const TTransaccion&) = delete;

  bool inicia() {
    uAbierta = uMt.transaccionInicia(true);
    return uAbierta;
  }
  bool termina() {
    if (!uAbierta) return false;
    uAbierta = false;
    if (uMt.transaccionTermina()) return true;
    uMt.transaccionRollback();
    return false;
  }

 private:
  TmiddleTier& uMt;
  bool uAbierta = false;
};
