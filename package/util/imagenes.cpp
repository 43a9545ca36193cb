#include "imagenes.h"

#include <QBuffer>

QByteArray u_bitmap_TO_bytes(const QImage& imagen) {
  QByteArray bytes;
  if (imagen.isNull()) return bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!imagen.save(&buffer, "PNG")) return QByteArray();
  return bytes;
}

QImage u_bytes_TO_bitmap(const QByteArray& bytes) {
  QImage imagen;
  if (!bytes.isEmpty()) imagen.loadFromData(bytes);
  return imagen;
}

int FROM_arrayValue_TO_cboxIndex(const QVector<int>& valores, int ultimoIndice, int valor) {
  const int ultimo = std::min<int>(ultimoIndice, static_cast<int>(valores.size()) - 1);
  for (int i = 0; i <= ultimo; ++i)
    if (valores[i] == valor) return i;
  return -1;
}
