#include "workers/clienteCorreo.h"

#include <curl/curl.h>

#include <QHostAddress>
#include <QLocale>
#include <QRegularExpression>
#include <QTimeZone>
#include <QUrl>
#include <QUuid>
#include <cstring>
#include <mutex>

#include "util/Log.h"

namespace {

bool esAsciiImprimible(const QString& t) {
  for (QChar c : t)
    if (c.unicode() < 0x20 || c.unicode() > 0x7E) return false;
  return true;
}

// A header text: as it is when plain ASCII, else RFC 2047 encoded words of whole characters.
QByteArray encabezado(const QString& texto) {
  if (esAsciiImprimible(texto)) return texto.toLatin1();
  QByteArray salida;
  QByteArray trozo;
  const auto cierra = [&] {
    if (trozo.isEmpty()) return;
    if (!salida.isEmpty()) salida += "\r\n ";
    salida += "=?UTF-8?B?" + trozo.toBase64() + "?=";
    trozo.clear();
  };
  for (int i = 0; i < texto.size(); ++i) {
    QString caracter = texto.at(i);
    if (texto.at(i).isHighSurrogate() && i + 1 < texto.size()) caracter += texto.at(++i);
    const QByteArray bytes = caracter.toUtf8();
    // 45 bytes of text make 60 of Base64: each encoded word stays under 75 characters.
    if (trozo.size() + bytes.size() > 45) cierra();
    trozo += bytes;
  }
  cierra();
  return salida;
}

QByteArray base64EnLineas(const QByteArray& datos) {
  const QByteArray b = datos.toBase64();
  QByteArray salida;
  for (qsizetype i = 0; i < b.size(); i += 76) salida += b.mid(i, 76) + "\r\n";
  return salida;
}

QByteArray nombreArchivo(const QString& nombre) {
  if (esAsciiImprimible(nombre) && !nombre.contains(QLatin1Char('"')) &&
      !nombre.contains(QLatin1Char('\\')))
    return "filename=\"" + nombre.toLatin1() + "\"";
  return "filename*=UTF-8''" + QUrl::toPercentEncoding(nombre);
}

QByteArray fechaRfc5322(const QDateTime& fecha) {
  const int segundos = fecha.offsetFromUtc();
  const int minutos = std::abs(segundos) / 60;
  return QLocale::c().toString(fecha, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")).toLatin1() +
         (segundos < 0 ? "-" : "+") + QByteArray::number(minutos / 60).rightJustified(2, '0') +
         QByteArray::number(minutos % 60).rightJustified(2, '0');
}

struct Lectura {
  const QByteArray* datos;
  qsizetype posicion = 0;
};

size_t lee(char* destino, size_t tamano, size_t cuantos, void* usuario) {
  auto* l = static_cast<Lectura*>(usuario);
  const qsizetype resta = l->datos->size() - l->posicion;
  const qsizetype n = std::min<qsizetype>(resta, qsizetype(tamano * cuantos));
  if (n <= 0) return 0;
  std::memcpy(destino, l->datos->constData() + l->posicion, size_t(n));
  l->posicion += n;
  return size_t(n);
}

bool esLocal(const QString& host) {
  if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) return true;
  const QHostAddress a(host);
  return !a.isNull() && a.isLoopback();
}

}  // namespace

bool u_correoValido(const QString& direccion) {
  static const QRegularExpression forma(QStringLiteral(
      "^[^@\\s<>(),;:\"\\[\\]]+@[^@\\s<>(),;:\"\\[\\]]+\\.[^@\\s<>(),;:\"\\[\\].]+$"));
  return forma.match(direccion).hasMatch();
}

QStringList u_separaCorreos(const QString& texto) {
  QStringList r;
  for (const QString& p : texto.split(QRegularExpression(QStringLiteral("[,;]")))) {
    const QString t = p.trimmed();
    if (!t.isEmpty()) r << t;
  }
  return r;
}

QByteArray u_componeCorreo(const TmensajeCorreo& m, const QDateTime& fecha,
                           const QString& idMensaje) {
  const QByteArray frontera = "=_pos_" + QUuid::createUuid().toByteArray(QUuid::Id128);
  const QString dominio = m.remitente.section(QLatin1Char('@'), 1);
  QByteArray s;
  s += "From: ";
  if (!m.nombreRemitente.trimmed().isEmpty()) s += encabezado(m.nombreRemitente.trimmed()) + " ";
  s += "<" + m.remitente.toLatin1() + ">\r\n";
  s += "To: " + m.para.join(QStringLiteral(", ")).toLatin1() + "\r\n";
  s += "Subject: " + encabezado(m.asunto) + "\r\n";
  s += "Date: " + fechaRfc5322(fecha) + "\r\n";
  s += "Message-ID: <" + idMensaje.toLatin1() + "@" + dominio.toLatin1() + ">\r\n";
  s += "MIME-Version: 1.0\r\n";
  s += "Content-Type: multipart/mixed; boundary=\"" + frontera + "\"\r\n\r\n";
  s += "--" + frontera + "\r\n";
  s += "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
  s += base64EnLineas(m.texto.toUtf8());
  if (!m.adjunto.isEmpty()) {
    const QByteArray archivo = nombreArchivo(m.nombreAdjunto);
    s += "--" + frontera + "\r\n";
    s += "Content-Type: " + m.tipoAdjunto.toLatin1() + "\r\n";
    s += "Content-Transfer-Encoding: base64\r\n";
    s += "Content-Disposition: attachment; " + archivo + "\r\n\r\n";
    s += base64EnLineas(m.adjunto);
  }
  s += "--" + frontera + "--\r\n";
  return s;
}

QString u_mensajeFalloCorreo(int codigo, long respuesta, const QString& detalle,
                             const QString& servidor, const QString& destinatarios) {
  switch (codigo) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
      return QStringLiteral("La dirección del servidor de correo no es válida: ") + servidor;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
      return QStringLiteral("No se pudo conectar con el servidor de correo ") + servidor;
    case CURLE_OPERATION_TIMEDOUT:
      return QStringLiteral("El servidor de correo no respondió a tiempo");
    case CURLE_LOGIN_DENIED:
      return QStringLiteral("El servidor de correo rechazó el usuario o la contraseña");
    case CURLE_USE_SSL_FAILED:
      return QStringLiteral("El servidor de correo no ofrece una conexión segura (STARTTLS)");
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
      return QStringLiteral("No se pudo verificar el certificado del servidor de correo");
    default:
      break;
  }
  if (respuesta == 421)
    return QStringLiteral("El servidor de correo no está disponible; intente más tarde");
  if (respuesta == 530) return QStringLiteral("El servidor de correo pide usuario y contraseña");
  if (respuesta == 552)
    return QStringLiteral("El mensaje excede el tamaño que acepta el servidor de correo");
  if (detalle.contains(QLatin1String("RCPT")))
    return QStringLiteral("El servidor de correo rechazó la dirección ") + destinatarios;
  if (detalle.contains(QLatin1String("MAIL")))
    return QStringLiteral("El servidor de correo rechazó la dirección del remitente");
  return QStringLiteral("No se pudo enviar el correo: ") + detalle;
}

TresultadoCorreo u_enviaCorreo(const QString& servidor, const TmensajeCorreo& m,
                               int tiempoEsperaMs) {
  TresultadoCorreo r;
  const QUrl url(servidor.trimmed(), QUrl::StrictMode);
  const QString esquema = url.scheme().toLower();
  const QString visible = url.toString(QUrl::RemoveUserInfo);
  if (servidor.trimmed().isEmpty()) {
    r.mensaje = QStringLiteral("No está configurado el servidor de correo de la estación");
    return r;
  }
  if (!url.isValid() || url.host().isEmpty() ||
      (esquema != QLatin1String("smtp") && esquema != QLatin1String("smtps"))) {
    r.mensaje = QStringLiteral("La dirección del servidor de correo no es válida: ") + visible;
    return r;
  }
  if (!u_correoValido(m.remitente)) {
    r.mensaje = QStringLiteral("La dirección del remitente no es válida: ") + m.remitente;
    return r;
  }
  static std::once_flag inicio;
  std::call_once(inicio, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  const QByteArray cuerpo = u_componeCorreo(m, QDateTime::currentDateTime(),
                                            QUuid::createUuid().toString(QUuid::WithoutBraces));
  CURL* curl = curl_easy_init();
  if (!curl) {
    r.mensaje = QStringLiteral("No se pudo preparar el envío del correo");
    return r;
  }
  QUrl sinCuenta = url;
  sinCuenta.setUserInfo(QString());
  const QByteArray direccion = sinCuenta.toString().toUtf8();
  const QByteArray usuario = url.userName().toUtf8();
  const QByteArray clave = url.password().toUtf8();
  const QByteArray remitente = "<" + m.remitente.toUtf8() + ">";
  curl_slist* destinatarios = nullptr;
  for (const QString& d : m.para)
    destinatarios = curl_slist_append(destinatarios, ("<" + d.toUtf8() + ">").constData());
  Lectura lectura{&cuerpo};
  char error[CURL_ERROR_SIZE] = {0};

  curl_easy_setopt(curl, CURLOPT_URL, direccion.constData());
  curl_easy_setopt(curl, CURLOPT_MAIL_FROM, remitente.constData());
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, destinatarios);
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, lee);
  curl_easy_setopt(curl, CURLOPT_READDATA, &lectura);
  curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(cuerpo.size()));
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long(tiempoEsperaMs > 0 ? tiempoEsperaMs : 30000));
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, 10000L);
  if (!usuario.isEmpty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, usuario.constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, clave.constData());
  }
  // Credentials and invoices never cross a network in clear; only this machine's own relay
  // may be spoken to without TLS.
  if (esquema == QLatin1String("smtp") && !esLocal(url.host()))
    curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);

  const CURLcode codigo = curl_easy_perform(curl);
  long respuesta = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &respuesta);
  curl_slist_free_all(destinatarios);
  curl_easy_cleanup(curl);

  const QString detalle =
      error[0] ? QString::fromUtf8(error) : QString::fromUtf8(curl_easy_strerror(codigo));
  Log::escribe(QStringLiteral("correo"),
               QStringLiteral("%1 a %2 por %3: resultado %4, respuesta %5%6")
                   .arg(m.nombreAdjunto, m.para.join(QStringLiteral(", ")), visible)
                   .arg(int(codigo))
                   .arg(respuesta)
                   .arg(codigo == CURLE_OK ? QString() : QStringLiteral(", ") + detalle));
  if (codigo == CURLE_OK) {
    r.ok = true;
    return r;
  }
  r.mensaje = u_mensajeFalloCorreo(int(codigo), respuesta, detalle, visible,
                                   m.para.join(QStringLiteral(", ")));
  return r;
}
