#pragma once
// Texts of a large document (product keys, barcodes) each mapped to an int, in a fraction of
// the memory of a QHash<QString, int>: a million keys take about 30 MB instead of about 100.
// The UTF-8 bytes live one after another in an arena and an open-addressing table holds their
// offsets.

#include <QByteArray>
#include <QString>
#include <vector>

class TIndiceTextos {
 public:
  // The value stored for `texto`, or -1 when it was never added.
  int busca(const QString& texto) const;
  // Adds `texto` with `valor` (>= 0) and answers -1; when the text was added before, nothing
  // changes and the value it already has is answered. `lugar` receives where the text is kept,
  // for texto().
  int agrega(const QString& texto, int valor, quint32* lugar = nullptr);
  QString texto(quint32 lugar) const { return QString::fromUtf8(textoEn(lugar)); }
  qsizetype size() const { return uCuantos; }

 private:
  qsizetype ranura(const QByteArray& utf8, size_t hash) const;
  QByteArray textoEn(quint32 desplazamiento) const;
  void crece();

  QByteArray uArena;             // [length: 2 bytes][bytes] for each text
  std::vector<quint32> uTabla;   // arena offset + 1; 0 = free. Size is a power of two.
  std::vector<qint32> uValores;  // parallel to uTabla
  qsizetype uCuantos = 0;
};
