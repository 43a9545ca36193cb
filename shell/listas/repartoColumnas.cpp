#include "shell/listas/repartoColumnas.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace {

// The chosen columns give up to (width - goal) each until the row fits, the widest first: each
// is cut down to one common level (never below its goal), so a short code stays whole while the
// long names are cut alike.
void cede(QVector<int>& anchos, int& total, int disponible, const std::function<bool(int)>& elige,
          const std::function<int(int)>& meta) {
  const int falta = total - disponible;
  if (falta <= 0) return;
  const auto corte = [&](int nivel) {
    long long suma = 0;
    for (int c = 0; c < anchos.size(); ++c)
      if (elige(c)) suma += std::max(0, anchos[c] - std::max(meta(c), nivel));
    return suma;
  };
  const long long holgura = corte(0);
  if (holgura <= 0) return;
  if (holgura <= falta) {
    for (int c = 0; c < anchos.size(); ++c)
      if (elige(c)) anchos[c] = std::min(anchos[c], meta(c));
    total -= int(holgura);
    return;
  }
  // The highest level whose cut still covers the shortage.
  int bajo = 0, alto = *std::max_element(anchos.begin(), anchos.end());
  while (alto - bajo > 1) {
    const int medio = (bajo + alto) / 2;
    (corte(medio) >= falta ? bajo : alto) = medio;
  }
  long long sobra = corte(bajo) - falta;  // fewer than the columns cut to that level
  for (int c = 0; c < anchos.size(); ++c) {
    if (!elige(c) || anchos[c] <= std::max(meta(c), bajo)) continue;
    anchos[c] = std::max(meta(c), bajo);
    if (sobra > 0 && anchos[c] == bajo) {
      ++anchos[c];
      --sobra;
    }
  }
  total = disponible;
}

}  // namespace

QVector<int> repartoColumnas(const QVector<TColumnaReparto>& entrada, int disponible) {
  QVector<TColumnaReparto> columnas = entrada;
  for (TColumnaReparto& c : columnas) {
    c.completo = std::max(0, c.completo);
    c.legible = std::clamp(c.legible, 0, c.completo);
    c.minimo = std::clamp(c.minimo, 0, c.legible);
  }
  QVector<int> anchos(columnas.size());
  for (int c = 0; c < columnas.size(); ++c) anchos[c] = columnas[c].completo;
  int total = std::accumulate(anchos.begin(), anchos.end(), 0);
  const auto clase = [&](int c) { return columnas[c].clase; };

  const auto legible = [&](int c) { return columnas[c].legible; };
  cede(
      anchos, total, disponible, [&](int c) { return clase(c) == TColumnaReparto::Texto; },
      legible);
  cede(
      anchos, total, disponible, [&](int c) { return clase(c) == TColumnaReparto::Ajuste; },
      legible);
  cede(
      anchos, total, disponible, [&](int c) { return clase(c) == TColumnaReparto::Angosta; },
      legible);
  // Still too wide: names read cut short before a number, an amount or a date does.
  const auto minimo = [&](int c) { return columnas[c].minimo; };
  cede(
      anchos, total, disponible, [&](int c) { return clase(c) != TColumnaReparto::Angosta; },
      minimo);
  cede(
      anchos, total, disponible, [&](int c) { return clase(c) == TColumnaReparto::Angosta; },
      minimo);

  if (total < disponible) {
    for (int c = 0; c < columnas.size(); ++c) {
      if (clase(c) == TColumnaReparto::Ajuste) {
        anchos[c] += disponible - total;
        break;
      }
    }
  }
  return anchos;
}
