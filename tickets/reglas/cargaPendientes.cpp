#include "tickets/reglas/cargaPendientes.h"

#include <algorithm>

TcargaPendientes::TcargaPendientes(int simultaneas, QObject* parent)
    : QObject(parent), uSimultaneas(std::max(1, simultaneas)) {}

void TcargaPendientes::inicia(const QVector<int>& operaciones,
                              const QVector<std::atomic<bool>*>& banderas) {
  uOperaciones = operaciones;
  uBanderas = banderas;
  uCargas.clear();
  uSiguiente = uActivas = uMaximo = 0;
  for (std::atomic<bool>* b : uBanderas)
    if (b) b->store(true);
  for (int i = 0; i < uOperaciones.size(); ++i)
    uCargas.push_back(std::make_unique<TgeneraTicketConWS>());
  while (uActivas < uSimultaneas && uSiguiente < uOperaciones.size()) siguiente();
}

void TcargaPendientes::siguiente() {
  const int i = uSiguiente++;
  TgeneraTicketConWS* carga = uCargas[size_t(i)].get();
  ++uActivas;
  uMaximo = std::max(uMaximo, uActivas);
  connect(carga, &TgeneraTicketConWS::terminado, this, [this] {
    --uActivas;
    if (uSiguiente < uOperaciones.size()) siguiente();
  });
  carga->generaTicket(uOperaciones[i], uBanderas.value(i));
}

generarTicketRsultado TcargaPendientes::resultado(int i) const {
  if (i < 0 || i >= int(uCargas.size())) return {};
  return uCargas[size_t(i)]->getResultado();
}

int TcargaPendientes::cargados() const {
  int n = 0;
  for (const auto& c : uCargas) n += c->getResultado().ok ? 1 : 0;
  return n;
}
