#include "sessions/reglas/conteoCaja.h"

#include <cmath>

int TConteoCaja::indice(int valor) {
  for (int i = 0; i < static_cast<int>(kBilletes.size()); ++i)
    if (kBilletes[i] == valor) return i;
  return -1;
}

double TConteoCaja::total() const {
  long long notas = 0;
  for (int i = 0; i < static_cast<int>(kBilletes.size()); ++i)
    notas += static_cast<long long>(kBilletes[i]) * billetes[i];
  return static_cast<double>(notas) + monedas;
}

bool conteoCuadra(double total, double monto) {
  if (!std::isfinite(total) || !std::isfinite(monto)) return false;
  // Past a billion pesos the nine-decimal scale would overflow; such counts compare as doubles.
  if (std::fabs(total) >= 1e9 || std::fabs(monto) >= 1e9) return total == monto;
  // Compared at nine decimals: far below any coin, far above the noise of a double sum.
  return std::llround(total * 1e9) == std::llround(monto * 1e9);
}
