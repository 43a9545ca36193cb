#include "escPos.h"

using namespace escpos;

namespace {

// The 0x80..0x9F block of Windows-1252; 0 marks the five unassigned positions.
constexpr char16_t kBloque80[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char comando(int n) { return static_cast<char>(n & 0xFF); }

}  // namespace

QByteArray aCp1252(const QString& texto) {
  QByteArray out;
  out.reserve(texto.size());
  for (const QChar c : texto) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out += static_cast<char>(u);
      continue;
    }
    char b = '?';
    for (int i = 0; i < 32; ++i) {
      if (kBloque80[i] != 0 && kBloque80[i] == u) {
        b = static_cast<char>(0x80 + i);
        break;
      }
    }
    out += b;
  }
  return out;
}

QString deCp1252(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x80 && b < 0xA0) {
      const char16_t u = kBloque80[b - 0x80];
      out += u ? QChar(u) : QChar(QChar::ReplacementCharacter);
    } else {
      out += QChar(b);
    }
  }
  return out;
}

QByteArray rasterEscPos(const QImage& imagen) {
  const QImage gris = imagen.convertToFormat(QImage::Format_Grayscale8);
  const int ancho = gris.width();
  const int alto = gris.height();
  if (ancho < 1 || alto < 1 || alto > 0xFFFF) return QByteArray();
  const int bytesFila = (ancho + 7) / 8;
  QByteArray out;
  out.reserve(8 + bytesFila * alto);
  out += GS;
  out += 'v';
  out += '0';
  out += comando(0);
  out += comando(bytesFila);
  out += comando(bytesFila >> 8);
  out += comando(alto);
  out += comando(alto >> 8);
  for (int y = 0; y < alto; ++y) {
    const uchar* fila = gris.constScanLine(y);
    for (int b = 0; b < bytesFila; ++b) {
      unsigned char byte = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int x = b * 8 + bit;
        if (x < ancho && fila[x] < 128) byte |= static_cast<unsigned char>(0x80 >> bit);
      }
      out += static_cast<char>(byte);
    }
  }
  return out;
}

QByteArray pulsoCajonEscPos() {
  return QByteArray() + ESC + 'p' + comando(0) + comando(25) + comando(250);
}

QByteArray codificaEscPos(const QVector<TRenglonTicket>& renglones) {
  QByteArray out;
  out += ESC;
  out += '@';
  out += ESC;
  out += 't';
  out += comando(kPaginaWPC1252);

  int alineacion = -1;
  int negrita = -1;
  int tamano = -1;
  auto alinea = [&](int a) {
    if (a == alineacion) return;
    out += QByteArray() + ESC + 'a' + comando(a);
    alineacion = a;
  };
  for (const TRenglonTicket& r : renglones) {
    alinea(r.alineacion);
    if (!r.imagen.isNull()) {
      out += rasterEscPos(r.imagen);
      continue;
    }
    if (static_cast<int>(r.negrita) != negrita) {
      out += QByteArray() + ESC + 'E' + comando(r.negrita ? 1 : 0);
      negrita = r.negrita;
    }
    const int t = r.dobleAlto ? 0x01 : 0x00;
    if (t != tamano) {
      out += QByteArray() + GS + '!' + comando(t);
      tamano = t;
    }
    out += aCp1252(limpiaTextoTicket(r.texto));
    out += LF;
  }
  alinea(aliIzquierda);
  out += QByteArray() + ESC + 'd' + comando(4);
  out += QByteArray() + GS + 'V' + comando(1);
  return out;
}
