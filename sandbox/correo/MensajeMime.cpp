#include "MensajeMime.h"

#include <QHash>
#include <QJsonArray>
#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

constexpr int PROFUNDIDAD_MAXIMA = 10;

struct Parte {
  QList<QPair<QByteArray, QByteArray>> encabezados;  // lower-case names, unfolded values
  QByteArray cuerpo;

  QByteArray encabezado(const QByteArray& nombre) const {
    for (const auto& [n, v] : encabezados)
      if (n == nombre) return v;
    return {};
  }
};

Parte separa(const QByteArray& crudo) {
  Parte p;
  qsizetype fin = crudo.indexOf("\r\n\r\n");
  qsizetype salto = 4;
  const qsizetype finLf = crudo.indexOf("\n\n");
  if (fin < 0 || (finLf >= 0 && finLf < fin)) {
    fin = finLf;
    salto = 2;
  }
  const QByteArray cabeza = fin < 0 ? crudo : crudo.left(fin);
  p.cuerpo = fin < 0 ? QByteArray() : crudo.mid(fin + salto);
  for (QByteArray linea : cabeza.split('\n')) {
    if (linea.endsWith('\r')) linea.chop(1);
    if ((linea.startsWith(' ') || linea.startsWith('\t')) && !p.encabezados.isEmpty()) {
      p.encabezados.last().second += ' ' + linea.trimmed();
      continue;
    }
    const qsizetype dos = linea.indexOf(':');
    if (dos <= 0) continue;
    p.encabezados.append({linea.left(dos).trimmed().toLower(), linea.mid(dos + 1).trimmed()});
  }
  return p;
}

QString enJuego(const QByteArray& bytes, const QByteArray& juego) {
  QStringDecoder d(juego.isEmpty() ? "UTF-8" : juego.constData());
  if (!d.isValid()) return QString::fromLatin1(bytes);
  return d.decode(bytes);
}

QByteArray citadoImprimible(const QByteArray& texto, bool enPalabra) {
  QByteArray salida;
  salida.reserve(texto.size());
  for (qsizetype i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (enPalabra && c == '_') {
      salida += ' ';
    } else if (c == '=' && i + 1 < texto.size() && texto[i + 1] == '\n') {
      ++i;  // soft line break
    } else if (c == '=' && i + 2 < texto.size() && texto[i + 1] == '\r' && texto[i + 2] == '\n') {
      i += 2;
    } else if (c == '=' && i + 2 < texto.size()) {
      bool ok = false;
      const int valor = texto.mid(i + 1, 2).toInt(&ok, 16);
      if (ok) {
        salida += static_cast<char>(valor);
        i += 2;
      } else {
        salida += c;
      }
    } else {
      salida += c;
    }
  }
  return salida;
}

// RFC 2047: =?charset?B|Q?text?= words; blanks between two of them do not count.
QString decodificaEncabezado(const QByteArray& valor) {
  static const QRegularExpression palabra(QStringLiteral("=\\?([^?]+)\\?([BbQq])\\?([^?]*)\\?="));
  const QString texto = QString::fromLatin1(valor);
  QString salida;
  qsizetype desde = 0;
  bool anteriorCodificada = false;
  auto it = palabra.globalMatch(texto);
  while (it.hasNext()) {
    const QRegularExpressionMatch m = it.next();
    const QString entre = texto.mid(desde, m.capturedStart() - desde);
    if (!(anteriorCodificada && entre.trimmed().isEmpty()))
      salida += enJuego(entre.toLatin1(), "UTF-8");
    QByteArray juego = m.captured(1).toLatin1();
    juego = juego.left(juego.indexOf('*') < 0 ? juego.size() : juego.indexOf('*'));  // language
    const QByteArray datos = m.captured(3).toLatin1();
    salida += enJuego(m.captured(2).toUpper() == QLatin1String("B") ? QByteArray::fromBase64(datos)
                                                                    : citadoImprimible(datos, true),
                      juego);
    desde = m.capturedEnd();
    anteriorCodificada = true;
  }
  const QByteArray resto = valor.mid(desde);
  // Raw 8-bit headers (SMTPUTF8 clients) are taken as UTF-8.
  salida += enJuego(resto, "UTF-8");
  return salida.simplified();
}

struct TipoContenido {
  QByteArray valor;  // e.g. "multipart/mixed" or "attachment", lower case
  QHash<QByteArray, QString> parametros;
};

// "type/subtype; a=b; c="d e"; f*=utf-8''%C3%B1; g*0=..; g*1=.."
TipoContenido leeTipo(const QByteArray& encabezado) {
  TipoContenido t;
  QList<QByteArray> trozos;
  QByteArray actual;
  bool comillas = false;
  for (const char c : encabezado) {
    if (c == '"') comillas = !comillas;
    if (c == ';' && !comillas) {
      trozos << actual;
      actual.clear();
    } else {
      actual += c;
    }
  }
  trozos << actual;
  t.valor = trozos.takeFirst().trimmed().toLower();
  QMap<QByteArray, QMap<int, QPair<QByteArray, bool>>> continuados;
  for (const QByteArray& trozo : trozos) {
    const qsizetype igual = trozo.indexOf('=');
    if (igual <= 0) continue;
    QByteArray nombre = trozo.left(igual).trimmed().toLower();
    QByteArray valor = trozo.mid(igual + 1).trimmed();
    if (valor.size() >= 2 && valor.startsWith('"') && valor.endsWith('"'))
      valor = valor.mid(1, valor.size() - 2).replace("\\\"", "\"").replace("\\\\", "\\");
    const bool extendido = nombre.endsWith('*');
    if (extendido) nombre.chop(1);
    int orden = 0;
    const qsizetype estrella = nombre.indexOf('*');
    if (estrella > 0) {
      orden = nombre.mid(estrella + 1).toInt();
      nombre = nombre.left(estrella);
    }
    continuados[nombre][orden] = {valor, extendido};
  }
  for (auto it = continuados.cbegin(); it != continuados.cend(); ++it) {
    QByteArray juego, bytes;
    bool primero = true;
    for (const auto& [valor, extendido] : it.value()) {
      QByteArray v = valor;
      if (extendido && primero && v.count('\'') >= 2) {
        juego = v.left(v.indexOf('\''));
        v = v.mid(v.indexOf('\'', v.indexOf('\'') + 1) + 1);
      }
      bytes += extendido ? QByteArray::fromPercentEncoding(v) : v;
      primero = false;
    }
    t.parametros.insert(it.key(),
                        juego.isEmpty() ? decodificaEncabezado(bytes) : enJuego(bytes, juego));
  }
  return t;
}

QByteArray decodificaCuerpo(const Parte& p) {
  const QByteArray codificacion = p.encabezado("content-transfer-encoding").trimmed().toLower();
  if (codificacion == "base64") return QByteArray::fromBase64(p.cuerpo);
  if (codificacion == "quoted-printable") return citadoImprimible(p.cuerpo, false);
  return p.cuerpo;
}

void recorre(const Parte& parte, int profundidad, MensajeMime* m) {
  const TipoContenido tipo = leeTipo(parte.encabezado("content-type"));
  const QString frontera = tipo.parametros.value("boundary");
  if (tipo.valor.startsWith("multipart/") && !frontera.isEmpty() &&
      profundidad < PROFUNDIDAD_MAXIMA) {
    const QByteArray marca = "--" + frontera.toLatin1();
    QList<QByteArray> partes;
    QByteArray actual;
    bool dentro = false;
    for (QByteArray linea : parte.cuerpo.split('\n')) {
      const QByteArray limpia = linea.endsWith('\r') ? linea.chopped(1) : linea;
      if (limpia.trimmed() == marca + "--") {
        if (dentro) partes << actual;
        dentro = false;
        break;
      }
      if (limpia.trimmed() == marca) {
        if (dentro) partes << actual;
        actual.clear();
        dentro = true;
        continue;
      }
      if (dentro) actual += linea + '\n';
    }
    if (dentro) partes << actual;
    for (QByteArray& crudo : partes) {
      // The line break before a boundary belongs to the boundary.
      if (crudo.endsWith("\r\n"))
        crudo.chop(2);
      else if (crudo.endsWith('\n'))
        crudo.chop(1);
      recorre(separa(crudo), profundidad + 1, m);
    }
    return;
  }
  const TipoContenido disposicion = leeTipo(parte.encabezado("content-disposition"));
  QString nombre = disposicion.parametros.value("filename");
  if (nombre.isEmpty()) nombre = tipo.parametros.value("name");
  const bool esAdjunto = disposicion.valor == "attachment" || !nombre.isEmpty();
  const QByteArray contenido = decodificaCuerpo(parte);
  if (esAdjunto) {
    m->adjuntos.append({nombre,
                        tipo.valor.isEmpty() ? QStringLiteral("application/octet-stream")
                                             : QString::fromLatin1(tipo.valor),
                        contenido});
  } else if (m->texto.isEmpty() && (tipo.valor.isEmpty() || tipo.valor == "text/plain")) {
    m->texto = enJuego(contenido, tipo.parametros.value("charset").toLatin1());
  }
}

}  // namespace

MensajeMime leeMensajeMime(const QByteArray& crudo) {
  const Parte raiz = separa(crudo);
  MensajeMime m;
  m.de = decodificaEncabezado(raiz.encabezado("from"));
  m.para = decodificaEncabezado(raiz.encabezado("to"));
  m.cc = decodificaEncabezado(raiz.encabezado("cc"));
  m.asunto = decodificaEncabezado(raiz.encabezado("subject"));
  m.fecha = QString::fromLatin1(raiz.encabezado("date"));
  m.idMensaje = QString::fromLatin1(raiz.encabezado("message-id"));
  recorre(raiz, 0, &m);
  return m;
}

QJsonObject resumenMime(const MensajeMime& m) {
  QJsonArray adjuntos;
  for (const AdjuntoMime& a : m.adjuntos)
    adjuntos.append(QJsonObject{{QStringLiteral("nombre"), a.nombre},
                                {QStringLiteral("tipo"), a.tipo},
                                {QStringLiteral("tamano"), a.contenido.size()}});
  return {{QStringLiteral("de"), m.de},          {QStringLiteral("para"), m.para},
          {QStringLiteral("cc"), m.cc},          {QStringLiteral("asunto"), m.asunto},
          {QStringLiteral("fecha"), m.fecha},    {QStringLiteral("idMensaje"), m.idMensaje},
          {QStringLiteral("adjuntos"), adjuntos}};
}
