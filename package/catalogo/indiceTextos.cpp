#include "indiceTextos.h"

#include <QHashFunctions>

QByteArray TIndiceTextos::textoEn(quint32 desplazamiento) const {
  const auto* p = reinterpret_cast<const uchar*>(uArena.constData()) + desplazamiento;
  const qsizetype largo = p[0] | (p[1] << 8);
  return QByteArray::fromRawData(reinterpret_cast<const char*>(p + 2), largo);
}

qsizetype TIndiceTextos::ranura(const QByteArray& utf8, size_t hash) const {
  const size_t mascara = uTabla.size() - 1;
  for (size_t i = hash & mascara;; i = (i + 1) & mascara) {
    const quint32 entrada = uTabla[i];
    if (entrada == 0 || textoEn(entrada - 1) == utf8) return static_cast<qsizetype>(i);
  }
}

int TIndiceTextos::busca(const QString& texto) const {
  if (uTabla.empty()) return -1;
  const QByteArray utf8 = texto.toUtf8();
  const qsizetype i = ranura(utf8, qHash(utf8));
  return uTabla[i] == 0 ? -1 : uValores[i];
}

void TIndiceTextos::crece() {
  std::vector<quint32> tabla(uTabla.empty() ? 1024 : uTabla.size() * 2, 0);
  std::vector<qint32> valores(tabla.size(), -1);
  tabla.swap(uTabla);
  valores.swap(uValores);
  for (size_t j = 0; j < tabla.size(); ++j) {
    if (tabla[j] == 0) continue;
    const QByteArray utf8 = textoEn(tabla[j] - 1);
    const qsizetype i = ranura(utf8, qHash(utf8));
    uTabla[i] = tabla[j];
    uValores[i] = valores[j];
  }
}

int TIndiceTextos::agrega(const QString& texto, int valor, quint32* lugar) {
  // Half full at most, so probes stay short.
  if ((uCuantos + 1) * 2 > static_cast<qsizetype>(uTabla.size())) crece();
  // Longer texts are refused before they get here (keys and codes have a length bound).
  const QByteArray utf8 = texto.toUtf8().left(0xFFFF);
  const qsizetype i = ranura(utf8, qHash(utf8));
  if (uTabla[i] != 0) {
    if (lugar) *lugar = uTabla[i] - 1;
    return uValores[i];
  }
  const auto desplazamiento = static_cast<quint32>(uArena.size());
  if (lugar) *lugar = desplazamiento;
  uArena.append(static_cast<char>(utf8.size() & 0xFF));
  uArena.append(static_cast<char>((utf8.size() >> 8) & 0xFF));
  uArena.append(utf8);
  uTabla[i] = desplazamiento + 1;
  uValores[i] = valor;
  ++uCuantos;
  return -1;
}
