#include "TImpresionTicket.h"

void TImpresionTicket::setFormaPago(const QList<tFormaPago>& v) {
  uFormasPago = TFormasPago{};
  for (qsizetype i = 0; i < v.size() && i < static_cast<qsizetype>(uFormasPago.size()); ++i) {
    uFormasPago[static_cast<size_t>(i)] = v[i];
  }
}
