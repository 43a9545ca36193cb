// Wrapping a receipt's text as it grows: the cost per character stays the same from a thousand
// characters to a million (it grew with the square of the length before), beside copying the
// same text once as the baseline.
#include <benchmark/benchmark.h>

#include <QString>

#include "printer/composicionTicket.h"

namespace {

QString textoDe(qsizetype largo) {
  // One long word (a pasted link) after a few ordinary ones: the worst case of the wrap.
  return QStringLiteral("Producto con un nombre ") + QString(largo, QLatin1Char('x'));
}

void BM_CopiaTexto(benchmark::State& state) {
  const QString texto = textoDe(state.range(0));
  for (auto _ : state) {
    QString copia = limpiaTextoTicket(texto);
    benchmark::DoNotOptimize(copia.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_AjustaRenglones(benchmark::State& state) {
  const QString texto = textoDe(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ajustaRenglones(texto, kColumnasTicket));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_CopiaTexto)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AjustaRenglones)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
