#include "decodificadorEscPos.h"

#include "printer/escPos.h"

namespace {

class Lector {
 public:
  explicit Lector(const QByteArray& b) : uBytes(b) {}

  TDocumentoEscPos lee() {
    while (uPos < uBytes.size() && uDoc.error.isEmpty()) paso();
    if (uHayLinea) cierraLinea();
    return uDoc;
  }

 private:
  const QByteArray& uBytes;
  qsizetype uPos = 0;
  TDocumentoEscPos uDoc;
  QByteArray uPendiente;
  bool uHayLinea = false;
  TLineaEscPos uLinea;
  int uAlineacion = 0;
  bool uNegrita = false;
  bool uDobleAlto = false;
  bool uDobleAncho = false;

  bool faltan(qsizetype n) {
    if (uPos + n <= uBytes.size()) return false;
    uDoc.error = QStringLiteral("Secuencia incompleta al final (posición %1)").arg(uPos);
    return true;
  }
  int byte(qsizetype i) const { return static_cast<unsigned char>(uBytes[i]); }

  void reinicia() {
    uAlineacion = 0;
    uNegrita = uDobleAlto = uDobleAncho = false;
  }

  void cierraLinea() {
    if (!uHayLinea) {
      uLinea = TLineaEscPos();
      uLinea.alineacion = uAlineacion;
    }
    uLinea.texto = uDoc.paginaCodigos == escpos::kPaginaWPC1252 ? deCp1252(uPendiente)
                                                                : QString::fromLatin1(uPendiente);
    uDoc.lineas << uLinea;
    uPendiente.clear();
    uHayLinea = false;
  }

  void caracter(char c) {
    if (!uHayLinea) {
      uLinea = TLineaEscPos();
      uLinea.alineacion = uAlineacion;
      uHayLinea = true;
    }
    uLinea.negrita |= uNegrita;
    uLinea.dobleAlto |= uDobleAlto;
    uLinea.dobleAncho |= uDobleAncho;
    uPendiente += c;
  }

  static int alineacionDe(int n) { return (n >= '0' ? n - '0' : n) & 3; }

  void paso() {
    const int b = byte(uPos);
    if (b == 0x0A) {
      cierraLinea();
      ++uPos;
    } else if (b == 0x0D) {
      ++uPos;
    } else if (b == 0x09) {
      caracter(' ');
      ++uPos;
    } else if (b == 0x1B) {
      esc();
    } else if (b == 0x1D) {
      gs();
    } else if (b < 0x20) {
      uDoc.error = QStringLiteral("Byte de control 0x%1 en la posición %2")
                       .arg(b, 2, 16, QLatin1Char('0'))
                       .arg(uPos);
    } else {
      caracter(uBytes[uPos]);
      ++uPos;
    }
  }

  void esc() {
    if (faltan(2)) return;
    const int c = byte(uPos + 1);
    switch (c) {
      case '@':
        reinicia();
        ++uDoc.inicializaciones;
        uPos += 2;
        return;
      case '2':
        uPos += 2;
        return;
      case 't':
      case 'a':
      case 'E':
      case '!':
      case 'd':
      case 'J':
      case '3':
      case '-':
      case 'M':
        break;
      case 'p':
        if (faltan(5)) return;
        uDoc.pulsos << TPulsoCajonEscPos{byte(uPos + 2) & 1, byte(uPos + 3), byte(uPos + 4)};
        uPos += 5;
        return;
      default:
        uDoc.error = QStringLiteral("Comando desconocido ESC 0x%1 en la posición %2")
                         .arg(c, 2, 16, QLatin1Char('0'))
                         .arg(uPos);
        return;
    }
    if (faltan(3)) return;
    const int n = byte(uPos + 2);
    uPos += 3;
    switch (c) {
      case 't':
        uDoc.paginaCodigos = n;
        break;
      case 'a':
        uAlineacion = alineacionDe(n);
        break;
      case 'E':
        uNegrita = n & 1;
        break;
      case '!':
        uNegrita = n & 0x08;
        uDobleAlto = n & 0x10;
        uDobleAncho = n & 0x20;
        break;
      case 'd':
        if (uHayLinea) cierraLinea();
        uDoc.lineasAvanzadas += n;
        break;
      default:
        break;
    }
  }

  void gs() {
    if (faltan(2)) return;
    const int c = byte(uPos + 1);
    if (c == '!') {
      if (faltan(3)) return;
      const int n = byte(uPos + 2);
      uDobleAncho = (n >> 4) & 7;
      uDobleAlto = n & 7;
      uPos += 3;
    } else if (c == 'V') {
      if (faltan(3)) return;
      const int m = byte(uPos + 2);
      if (uHayLinea) cierraLinea();
      ++uDoc.cortes;
      uDoc.cortaParcial = m == 1 || m == '1' || m == 66;
      uPos += (m == 65 || m == 66) ? 4 : 3;
    } else if (c == 'v') {
      raster();
    } else {
      uDoc.error = QStringLiteral("Comando desconocido GS 0x%1 en la posición %2")
                       .arg(c, 2, 16, QLatin1Char('0'))
                       .arg(uPos);
    }
  }

  void raster() {
    if (faltan(8)) return;
    if (byte(uPos + 2) != '0') {
      uDoc.error =
          QStringLiteral("Imagen GS v con formato desconocido en la posición %1").arg(uPos);
      return;
    }
    const int bytesFila = byte(uPos + 4) | (byte(uPos + 5) << 8);
    const int alto = byte(uPos + 6) | (byte(uPos + 7) << 8);
    if (faltan(8 + static_cast<qsizetype>(bytesFila) * alto)) return;
    QImage img(std::max(1, bytesFila * 8), std::max(1, alto), QImage::Format_Grayscale8);
    img.fill(255);
    const qsizetype datos = uPos + 8;
    for (int y = 0; y < alto; ++y) {
      uchar* fila = img.scanLine(y);
      for (int x = 0; x < bytesFila * 8; ++x) {
        const int b = byte(datos + static_cast<qsizetype>(y) * bytesFila + x / 8);
        if (b & (0x80 >> (x % 8))) fila[x] = 0;
      }
    }
    if (uHayLinea) cierraLinea();
    uDoc.imagenes << TImagenEscPos{img, uAlineacion, static_cast<int>(uDoc.lineas.size())};
    uPos = datos + static_cast<qsizetype>(bytesFila) * alto;
  }
};

}  // namespace

QStringList TDocumentoEscPos::textos() const {
  QStringList t;
  for (const TLineaEscPos& l : lineas) t << l.texto;
  return t;
}

int TDocumentoEscPos::buscaLinea(const QString& fragmento, int desde) const {
  for (int i = std::max(0, desde); i < lineas.size(); ++i) {
    if (lineas[i].texto.contains(fragmento)) return i;
  }
  return -1;
}

TDocumentoEscPos decodificaEscPos(const QByteArray& bytes) { return Lector(bytes).lee(); }
