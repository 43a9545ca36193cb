#pragma once
// The cash count of a register opening: notes of 1000, 500, 200, 100, 50 and 20 pesos and the
// coin amount, and whether it adds up to the opening amount.

#include <array>

struct TConteoCaja {
  static constexpr std::array<int, 6> kBilletes = {1000, 500, 200, 100, 50, 20};
  std::array<int, 6> billetes = {0, 0, 0, 0, 0, 0};  // in the order of kBilletes
  double monedas = 0;

  // Index of a note value in kBilletes, -1 for any other value.
  static int indice(int valor);
  // Each note product an integer, the sum a double.
  double total() const;
};

// The count must equal the opening amount exactly, above as well as below; binary noise of
// the sum (1000.1 + 0.2) is forgiven, a cent or a fraction of one is not.
bool conteoCuadra(double total, double monto);
