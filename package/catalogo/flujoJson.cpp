#include "flujoJson.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringDecoder>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "catalogo/lectorJson.h"

namespace {

constexpr qsizetype kBloque = 1 << 20;
// Deeper nesting than any catalog needs; it keeps a hostile document from exhausting the stack.
constexpr int kProfundidadMaxima = 64;

bool esBlanco(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

int valorHex(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void agregaUtf8(QByteArray& destino, char32_t c) {
  if (c < 0x80) {
    destino += static_cast<char>(c);
  } else if (c < 0x800) {
    destino += static_cast<char>(0xC0 | (c >> 6));
    destino += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    destino += static_cast<char>(0xE0 | (c >> 12));
    destino += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    destino += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    destino += static_cast<char>(0xF0 | (c >> 18));
    destino += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    destino += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    destino += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

TFlujoJson::TFlujoJson(QIODevice* origen) : uOrigen(origen) { uBase = origen ? origen->pos() : 0; }

TFlujoJson::TFlujoJson(const QByteArray& datos) : uBuffer(datos), uFin(true) {}

bool TFlujoJson::rellena() {
  if (uIndice < uBuffer.size()) return true;
  if (uFin || !uOrigen) return false;
  uBase += uBuffer.size();
  uBuffer = uOrigen->read(kBloque);
  uIndice = 0;
  if (uBuffer.isEmpty()) {
    uFin = true;
    return false;
  }
  return true;
}

int TFlujoJson::mira() {
  if (uIndice < uBuffer.size() || rellena()) return static_cast<unsigned char>(uBuffer[uIndice]);
  return -1;
}

int TFlujoJson::toma() {
  const int c = mira();
  if (c >= 0) ++uIndice;
  return c;
}

void TFlujoJson::irA(qint64 posicion) {
  uNiveles.clear();
  if (!uOrigen) {
    uIndice = std::clamp<qsizetype>(posicion, 0, uBuffer.size());
    return;
  }
  if (posicion >= uBase && posicion <= uBase + uBuffer.size()) {
    uIndice = posicion - uBase;
    return;
  }
  uOrigen->seek(posicion);
  uBase = posicion;
  uBuffer.clear();
  uIndice = 0;
  uFin = false;
}

void TFlujoJson::lineaColumna(qint64 posicion, qint64* linea, qint64* columna) {
  // Counted the way an editor shows them: a multi-byte character is one column.
  *linea = 1;
  *columna = 1;
  auto cuenta = [&](const QByteArray& bloque, qint64 hasta) {
    for (qint64 i = 0; i < hasta; ++i) {
      if (bloque[i] == '\n') {
        ++*linea;
        *columna = 1;
      } else if ((bloque[i] & 0xC0) != 0x80) {
        ++*columna;
      }
    }
  };
  if (!uOrigen) {
    cuenta(uBuffer, std::min<qint64>(posicion, uBuffer.size()));
    return;
  }
  const qint64 antes = uOrigen->pos();
  uOrigen->seek(0);
  for (qint64 leidos = 0; leidos < posicion;) {
    const QByteArray bloque = uOrigen->read(std::min<qint64>(kBloque, posicion - leidos));
    if (bloque.isEmpty()) break;
    cuenta(bloque, bloque.size());
    leidos += bloque.size();
  }
  uOrigen->seek(antes);
}

void TFlujoJson::falla(const QString& razon, qint64 posicion) {
  if (posicion < 0) posicion = this->posicion();
  qint64 linea = 0, columna = 0;
  lineaColumna(posicion, &linea, &columna);
  u_errorImportacion(QStringLiteral("JSON mal formado en la posición %1 (línea %2, columna %3): %4")
                         .arg(posicion)
                         .arg(linea)
                         .arg(columna)
                         .arg(razon));
}

void TFlujoJson::saltaBlancos() {
  for (;;) {
    while (uIndice < uBuffer.size()) {
      if (!esBlanco(uBuffer[uIndice])) return;
      ++uIndice;
    }
    if (!rellena()) return;
  }
}

TFlujoJson::Tipo TFlujoJson::siguienteTipo() {
  saltaBlancos();
  switch (mira()) {
    case '{':
      return Tipo::Objeto;
    case '[':
      return Tipo::Lista;
    case '"':
      return Tipo::Texto;
    case 't':
    case 'f':
      return Tipo::Booleano;
    case 'n':
      return Tipo::Nulo;
    case '-':
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9':
      return Tipo::Numero;
    default:
      break;
  }
  if (mira() < 0) falla(QStringLiteral("el documento termina antes de tiempo"));
  falla(QStringLiteral("se esperaba un valor"));
}

void TFlujoJson::espera(int c, const char* que) {
  saltaBlancos();
  if (mira() != c) {
    if (mira() < 0) falla(QStringLiteral("el documento termina antes de tiempo"));
    falla(QStringLiteral("se esperaba %1").arg(QString::fromUtf8(que)));
  }
  toma();
}

void TFlujoJson::literal(const char* texto) {
  const qint64 inicio = posicion();
  for (const char* c = texto; *c; ++c) {
    if (mira() != *c) falla(QStringLiteral("se esperaba un valor"), inicio);
    toma();
  }
}

void TFlujoJson::leeCrudoTexto(QByteArray* destino) {
  // The opening quote is next. Runs of plain bytes are copied at once; escapes are decoded.
  const qint64 inicio = posicion();
  toma();
  for (;;) {
    if (uIndice >= uBuffer.size() && !rellena())
      falla(QStringLiteral("un texto no se cierra"), inicio);
    const char* datos = uBuffer.constData();
    qsizetype i = uIndice;
    const qsizetype n = uBuffer.size();
    while (i < n && datos[i] != '"' && datos[i] != '\\' &&
           static_cast<unsigned char>(datos[i]) >= 0x20)
      ++i;
    if (destino) destino->append(datos + uIndice, i - uIndice);
    uIndice = i;
    if (i == n) continue;
    const char c = datos[i];
    if (c == '"') {
      ++uIndice;
      return;
    }
    if (c != '\\') {
      if (c == '\0') falla(QStringLiteral("un texto contiene el carácter nulo"));
      falla(QStringLiteral("un texto contiene un carácter de control sin escapar"));
    }
    const qint64 escape = posicion();
    toma();
    const int e = toma();
    char32_t unidad = 0;
    switch (e) {
      case '"':
      case '\\':
      case '/':
        if (destino) *destino += static_cast<char>(e);
        continue;
      case 'b':
        if (destino) *destino += '\b';
        continue;
      case 'f':
        if (destino) *destino += '\f';
        continue;
      case 'n':
        if (destino) *destino += '\n';
        continue;
      case 'r':
        if (destino) *destino += '\r';
        continue;
      case 't':
        if (destino) *destino += '\t';
        continue;
      case 'u':
        break;
      default:
        falla(QStringLiteral("escape desconocido dentro de un texto"), escape);
    }
    auto cuatroHex = [&]() -> char32_t {
      char32_t v = 0;
      for (int k = 0; k < 4; ++k) {
        const int h = valorHex(toma());
        if (h < 0) falla(QStringLiteral("escape \\u mal formado dentro de un texto"), escape);
        v = v * 16 + static_cast<char32_t>(h);
      }
      return v;
    };
    unidad = cuatroHex();
    if (unidad == 0) falla(QStringLiteral("un texto contiene el carácter nulo (\\u0000)"), escape);
    if (unidad >= 0xD800 && unidad <= 0xDBFF) {
      if (toma() != '\\' || toma() != 'u')
        falla(QStringLiteral("sustituto UTF-16 sin pareja dentro de un texto"), escape);
      const char32_t baja = cuatroHex();
      if (baja < 0xDC00 || baja > 0xDFFF)
        falla(QStringLiteral("sustituto UTF-16 sin pareja dentro de un texto"), escape);
      unidad = 0x10000 + ((unidad - 0xD800) << 10) + (baja - 0xDC00);
    } else if (unidad >= 0xDC00 && unidad <= 0xDFFF) {
      falla(QStringLiteral("sustituto UTF-16 sin pareja dentro de un texto"), escape);
    }
    if (destino) agregaUtf8(*destino, unidad);
  }
}

QString TFlujoJson::leeTexto() {
  saltaBlancos();
  const qint64 inicio = posicion();
  if (mira() != '"') falla(QStringLiteral("se esperaba un texto"));
  QByteArray utf8;
  leeCrudoTexto(&utf8);
  QStringDecoder decodificador(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString texto = decodificador(utf8);
  if (decodificador.hasError()) falla(QStringLiteral("un texto no es UTF-8 válido"), inicio);
  return texto;
}

void TFlujoJson::saltaTexto() {
  saltaBlancos();
  const qint64 inicio = posicion();
  QByteArray utf8;
  leeCrudoTexto(&utf8);
  QStringDecoder decodificador(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  (void)QString(decodificador(utf8));
  if (decodificador.hasError()) falla(QStringLiteral("un texto no es UTF-8 válido"), inicio);
}

double TFlujoJson::leeNumero() {
  saltaBlancos();
  const qint64 inicio = posicion();
  char texto[64];
  int n = 0;
  auto agrega = [&](int c) {
    if (n >= static_cast<int>(sizeof texto) - 1)
      falla(QStringLiteral("número demasiado largo"), inicio);
    texto[n++] = static_cast<char>(c);
    toma();
  };
  auto digitos = [&] {
    int cuantos = 0;
    while (mira() >= '0' && mira() <= '9') {
      agrega(mira());
      ++cuantos;
    }
    return cuantos;
  };
  if (mira() == '-') agrega('-');
  if (mira() == '0') {
    agrega('0');
  } else if (digitos() == 0) {
    falla(QStringLiteral("número mal formado"), inicio);
  }
  if (mira() == '.') {
    agrega('.');
    if (digitos() == 0) falla(QStringLiteral("número mal formado"), inicio);
  }
  if (mira() == 'e' || mira() == 'E') {
    agrega('e');
    if (mira() == '+' || mira() == '-') agrega(mira());
    if (digitos() == 0) falla(QStringLiteral("número mal formado"), inicio);
  }
  double v = 0;
  const auto r = std::from_chars(texto, texto + n, v);
  if (r.ec == std::errc::result_out_of_range) {
    // Too small to tell from zero reads as zero; too large for a double is refused.
    const char* e = std::find(texto, texto + n, 'e');
    if (e == texto + n || e[1] != '-')
      falla(QStringLiteral("número fuera del intervalo que se puede guardar"), inicio);
    v = 0;
  } else if (r.ec != std::errc() || !std::isfinite(v)) {
    falla(QStringLiteral("número fuera del intervalo que se puede guardar"), inicio);
  }
  return v;
}

bool TFlujoJson::leeNumeroSiHay(double* valor) {
  if (siguienteTipo() != Tipo::Numero) return false;
  *valor = leeNumero();
  return true;
}

void TFlujoJson::abreObjeto() {
  espera('{', "\"{\"");
  uNiveles.push_back({});
}

bool TFlujoJson::siguienteMiembro(QString* clave) {
  TNivel& nivel = uNiveles.back();
  saltaBlancos();
  if (mira() == '}') {
    toma();
    uNiveles.pop_back();
    return false;
  }
  if (!nivel.primero) espera(',', "\",\" o \"}\"");
  nivel.primero = false;
  saltaBlancos();
  const qint64 inicio = posicion();
  if (mira() != '"') falla(QStringLiteral("se esperaba el nombre de un campo"));
  QString k = leeTexto();
  if (nivel.claves.contains(k))
    falla(QStringLiteral("la clave \"%1\" se repite en el mismo objeto").arg(k), inicio);
  nivel.claves.insert(k);
  espera(':', "\":\"");
  if (clave) *clave = std::move(k);
  return true;
}

void TFlujoJson::abreLista() {
  espera('[', "\"[\"");
  uNiveles.push_back({});
}

bool TFlujoJson::siguienteElemento() {
  TNivel& nivel = uNiveles.back();
  saltaBlancos();
  if (mira() == ']') {
    toma();
    uNiveles.pop_back();
    return false;
  }
  if (!nivel.primero) espera(',', "\",\" o \"]\"");
  nivel.primero = false;
  return true;
}

QJsonValue TFlujoJson::leeValorEn(int profundidad) {
  if (profundidad > kProfundidadMaxima)
    falla(QStringLiteral("el documento anida más de %1 niveles").arg(kProfundidadMaxima));
  switch (siguienteTipo()) {
    case Tipo::Objeto: {
      toma();
      QJsonObject objeto;
      saltaBlancos();
      if (mira() == '}') {
        toma();
        return objeto;
      }
      for (;;) {
        saltaBlancos();
        const qint64 inicio = posicion();
        if (mira() != '"') falla(QStringLiteral("se esperaba el nombre de un campo"));
        const QString clave = leeTexto();
        if (objeto.contains(clave))
          falla(QStringLiteral("la clave \"%1\" se repite en el mismo objeto").arg(clave), inicio);
        espera(':', "\":\"");
        objeto.insert(clave, leeValorEn(profundidad + 1));
        saltaBlancos();
        if (mira() == '}') {
          toma();
          return objeto;
        }
        espera(',', "\",\" o \"}\"");
      }
    }
    case Tipo::Lista: {
      toma();
      QJsonArray lista;
      saltaBlancos();
      if (mira() == ']') {
        toma();
        return lista;
      }
      for (;;) {
        lista.append(leeValorEn(profundidad + 1));
        saltaBlancos();
        if (mira() == ']') {
          toma();
          return lista;
        }
        espera(',', "\",\" o \"]\"");
      }
    }
    case Tipo::Texto:
      return leeTexto();
    case Tipo::Numero:
      return leeNumero();
    case Tipo::Booleano:
      if (mira() == 't') {
        literal("true");
        return true;
      }
      literal("false");
      return false;
    case Tipo::Nulo:
      literal("null");
      return QJsonValue(QJsonValue::Null);
  }
  return {};
}

void TFlujoJson::saltaValorEn(int profundidad) {
  if (profundidad > kProfundidadMaxima)
    falla(QStringLiteral("el documento anida más de %1 niveles").arg(kProfundidadMaxima));
  switch (siguienteTipo()) {
    case Tipo::Objeto: {
      toma();
      QSet<QString> claves;
      saltaBlancos();
      if (mira() == '}') {
        toma();
        return;
      }
      for (;;) {
        saltaBlancos();
        const qint64 inicio = posicion();
        if (mira() != '"') falla(QStringLiteral("se esperaba el nombre de un campo"));
        const QString clave = leeTexto();
        if (claves.contains(clave))
          falla(QStringLiteral("la clave \"%1\" se repite en el mismo objeto").arg(clave), inicio);
        claves.insert(clave);
        espera(':', "\":\"");
        saltaValorEn(profundidad + 1);
        saltaBlancos();
        if (mira() == '}') {
          toma();
          return;
        }
        espera(',', "\",\" o \"}\"");
      }
    }
    case Tipo::Lista: {
      toma();
      saltaBlancos();
      if (mira() == ']') {
        toma();
        return;
      }
      for (;;) {
        saltaValorEn(profundidad + 1);
        saltaBlancos();
        if (mira() == ']') {
          toma();
          return;
        }
        espera(',', "\",\" o \"]\"");
      }
    }
    case Tipo::Texto:
      saltaTexto();
      return;
    case Tipo::Numero:
      leeNumero();
      return;
    case Tipo::Booleano:
      literal(mira() == 't' ? "true" : "false");
      return;
    case Tipo::Nulo:
      literal("null");
      return;
  }
}

QJsonValue TFlujoJson::leeValor() { return leeValorEn(static_cast<int>(uNiveles.size())); }

void TFlujoJson::saltaValor() { saltaValorEn(static_cast<int>(uNiveles.size())); }

void TFlujoJson::terminaDocumento() {
  saltaBlancos();
  if (mira() >= 0) falla(QStringLiteral("sobra texto después del final del documento"));
}
