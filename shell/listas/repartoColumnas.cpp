#include "shell/listas/repartoColumnas.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace {

// The chosen columns give up to (width - goal) each, in proportion to what each can give, until
// the row fits; pixels left by the rounding go one by one from the first.
void cede(QVector<int>& anchos, int& total, int disponible, const std::function<bool(int)>& elige,
          const std::function<int(int)>& meta) {
  const int falta = total - disponible;
  if (falta <= 0) return;
  long long holgura = 0;
  for (int c = 0; c < anchos.size(); ++c)
    if (elige(c)) holgura += std::max(0, anchos[c] - meta(c));
  if (holgura <= 0) return;
  if (holgura <= falta) {
    for (int c = 0; c < anchos.size(); ++c)
      if (elige(c)) anchos[c] = std::min(anchos[c], meta(c));
    total -= int(holgura);
    return;
  }
  int cedido = 0;
  for (int c = 0; c < anchos.size(); ++c) {
    if (!elige(c)) continue;
    const int parte = int(falta * (long long)std::max(0, anchos[c] - meta(c)) / holgura);
    anchos[c] -= parte;
    cedido += parte;
  }
  for (int c = 0; c < anchos.size() && cedido < falta; ++c) {
    if (elige(c) && anchos[c] > meta(c)) {
      --anchos[c];
      ++cedido;
    }
  }
  total -= cedido;
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
