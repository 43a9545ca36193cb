#include "SesionSmtp.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTcpSocket>

#include "Bitacora.h"
#include "ServidorSmtp.h"

namespace {

constexpr int LINEA_MAXIMA = 4096;  // a command line; RFC 5321 asks for 512 at least
constexpr int CIERRE_MS = 5000;

QByteArray b64(const QString& texto) { return texto.toUtf8().toBase64(); }

// "FROM:<a@b> SIZE=10" -> address "a@b", parameters "SIZE=10". False when malformed.
bool leeRuta(const QByteArray& argumentos, const QByteArray& prefijo, QString* direccion,
             QList<QByteArray>* parametros) {
  if (!argumentos.toUpper().startsWith(prefijo)) return false;
  QByteArray resto = argumentos.mid(prefijo.size()).trimmed();
  QByteArray ruta;
  if (resto.startsWith('<')) {
    const qsizetype cierre = resto.indexOf('>');
    if (cierre < 0) return false;
    ruta = resto.mid(1, cierre - 1);
    resto = resto.mid(cierre + 1).trimmed();
  } else {
    const qsizetype espacio = resto.indexOf(' ');
    ruta = espacio < 0 ? resto : resto.left(espacio);
    resto = espacio < 0 ? QByteArray() : resto.mid(espacio + 1).trimmed();
  }
  // A source route (@a,@b:user@c) is obsolete; only the mailbox counts.
  if (ruta.startsWith('@') && ruta.contains(':')) ruta = ruta.mid(ruta.indexOf(':') + 1);
  *direccion = QString::fromUtf8(ruta);
  *parametros = resto.isEmpty() ? QList<QByteArray>() : resto.split(' ');
  return true;
}

bool direccionValida(const QString& d) {
  static const QRegularExpression forma(
      QStringLiteral("^[^@\\s<>()\\[\\],;:\"]+@[^@\\s<>()\\[\\],;:\"]+$"));
  return d.size() <= 254 && forma.match(d).hasMatch();
}

}  // namespace

SesionSmtp::SesionSmtp(ServidorSmtp* servidor, QTcpSocket* socket)
    : QObject(servidor), uServidor(servidor), uSocket(socket) {
  uSocket->setParent(this);
  uInactividad.setSingleShot(true);
  connect(&uInactividad, &QTimer::timeout, this, [this] {
    if (uCerrando)
      cierra();
    else
      despide("421 4.4.2 Tiempo de espera agotado, se cierra la conexión");
  });
  connect(uSocket, &QTcpSocket::readyRead, this, &SesionSmtp::lee);
  connect(uSocket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
  uInactividad.start(uServidor->opciones().inactividadMs);
  saluda();
}

void SesionSmtp::cierra() {
  uCerrando = true;
  uInactividad.stop();
  uSocket->abort();
  deleteLater();
}

void SesionSmtp::saluda() {
  if (uServidor->modo().es("error")) {
    despide("421 4.3.2 Servicio no disponible, intente más tarde");
    return;
  }
  respondeTarde("220 127.0.0.1 ESMTP pos-sandbox-correo: servidor de correo de prueba listo");
}

void SesionSmtp::responde(const QByteArray& respuesta) {
  if (!uCerrando) uSocket->write(respuesta + "\r\n");
}

void SesionSmtp::respondeTarde(const QByteArray& respuesta) {
  if (!uServidor->modo().es("lento")) {
    responde(respuesta);
    return;
  }
  uEnPausa = true;
  uInactividad.stop();
  QTimer::singleShot(uServidor->modo().retrasoMs(), this, [this, respuesta] {
    uEnPausa = false;
    responde(respuesta);
    uInactividad.start(uServidor->opciones().inactividadMs);
    procesa();
  });
}

void SesionSmtp::despide(const QByteArray& respuesta) {
  responde(respuesta);
  uCerrando = true;
  uEntrada.clear();
  uInactividad.start(CIERRE_MS);
  uSocket->disconnectFromHost();
}

void SesionSmtp::lee() {
  const QByteArray llegado = uSocket->readAll();
  if (uCerrando) return;
  uEntrada += llegado;
  if (uEnPausa) {
    // Commands sent ahead wait for the delayed answer, within bounds.
    if (uEntrada.size() > uServidor->opciones().limiteMensaje + LINEA_MAXIMA) cierra();
    return;
  }
  uInactividad.start(uServidor->opciones().inactividadMs);
  procesa();
}

void SesionSmtp::procesa() {
  qsizetype posicion = 0;
  while (!uEnPausa && !uCerrando) {
    const qsizetype salto = uEntrada.indexOf('\n', posicion);
    if (salto < 0) break;
    QByteArray linea = uEntrada.mid(posicion, salto - posicion);
    posicion = salto + 1;
    if (linea.endsWith('\r')) linea.chop(1);
    if (!uEnDatos) {
      comando(linea);
    } else if (uLineaDescartada) {
      uLineaDescartada = false;  // the end of a line too long to keep
    } else {
      lineaDeDatos(linea);
    }
  }
  if (uCerrando) return;
  uEntrada.remove(0, posicion);
  if (uEnPausa) return;
  if (uEnDatos) {
    // A data line still arriving counts against the message's limit.
    if (uDatos.size() + uEntrada.size() > uServidor->opciones().limiteMensaje) {
      uExcedido = true;
      uDatos.clear();
      if (uEntrada.size() > 2) {  // cannot be the final "." any more
        uLineaDescartada = true;
        uEntrada.clear();
      }
    }
  } else if (uEntrada.size() > LINEA_MAXIMA) {
    despide("500 5.5.2 Línea demasiado larga");
  }
}

void SesionSmtp::comando(const QByteArray& linea) {
  if (uAutenticacion != Autenticacion::Ninguna) {
    pasoDeAutenticacion(linea);
    return;
  }
  const qsizetype espacio = linea.indexOf(' ');
  const QByteArray verbo = (espacio < 0 ? linea : linea.left(espacio)).toUpper();
  const QByteArray argumentos = espacio < 0 ? QByteArray() : linea.mid(espacio + 1).trimmed();
  const auto& o = uServidor->opciones();

  if (verbo == "EHLO" || verbo == "HELO") {
    if (argumentos.isEmpty()) return responde("501 5.5.4 Falta el nombre del cliente");
    uSaludo = QString::fromUtf8(argumentos);
    reiniciaTransaccion();
    if (verbo == "HELO") return responde("250 127.0.0.1");
    return responde("250-127.0.0.1 le saluda, " + argumentos + "\r\n250-SIZE " +
                    QByteArray::number(o.limiteMensaje) +
                    "\r\n250-8BITMIME\r\n250-SMTPUTF8\r\n250-PIPELINING\r\n250-AUTH PLAIN "
                    "LOGIN\r\n250 ENHANCEDSTATUSCODES");
  }
  if (verbo == "NOOP") return responde("250 2.0.0 Bien");
  if (verbo == "RSET") {
    reiniciaTransaccion();
    return responde("250 2.0.0 Transacción reiniciada");
  }
  if (verbo == "QUIT") return despide("221 2.0.0 Hasta luego");
  if (verbo == "VRFY" || verbo == "EXPN")
    return responde("252 2.5.0 No se verifican direcciones; envíe el mensaje");
  if (verbo == "HELP")
    return responde("214 2.0.0 Comandos: EHLO HELO AUTH MAIL RCPT DATA RSET NOOP VRFY HELP QUIT");
  if (verbo == "STARTTLS") return responde("502 5.5.1 Este servidor de prueba no ofrece STARTTLS");
  if (verbo == "AUTH") return autentica(argumentos);

  if (verbo == "MAIL") {
    if (uSaludo.isEmpty()) return responde("503 5.5.1 Primero envíe EHLO o HELO");
    if (!o.usuario.isEmpty() && uUsuario.isEmpty())
      return responde("530 5.7.0 Se requiere autenticación");
    if (uConRemitente) return responde("503 5.5.1 Ya hay un remitente; envíe RSET");
    QString direccion;
    QList<QByteArray> parametros;
    if (!leeRuta(argumentos, "FROM:", &direccion, &parametros) ||
        (!direccion.isEmpty() && !direccionValida(direccion)))
      return responde("501 5.1.7 Dirección de remitente no válida");
    for (const QByteArray& p : parametros)
      if (p.toUpper().startsWith("SIZE=") && p.mid(5).toLongLong() > o.limiteMensaje)
        return responde("552 5.3.4 El mensaje excede el tamaño máximo de " +
                        QByteArray::number(o.limiteMensaje) + " bytes");
    uConRemitente = true;
    uRemitente = direccion;
    return responde("250 2.1.0 Remitente aceptado");
  }
  if (verbo == "RCPT") {
    if (!uConRemitente) return responde("503 5.5.1 Primero envíe MAIL FROM");
    QString direccion;
    QList<QByteArray> parametros;
    if (!leeRuta(argumentos, "TO:", &direccion, &parametros) || !direccionValida(direccion))
      return responde("501 5.1.3 Dirección de destinatario no válida");
    if (uDestinatarios.size() >= o.maxDestinatarios)
      return responde("452 4.5.3 Demasiados destinatarios");
    if (uServidor->rechaza(direccion)) {
      bitacora(QStringLiteral("RCPT %1 rechazado").arg(direccion));
      return responde("550 5.1.1 <" + direccion.toUtf8() +
                      ">: buzón inexistente, destinatario rechazado");
    }
    uDestinatarios << direccion;
    return responde("250 2.1.5 Destinatario aceptado");
  }
  if (verbo == "DATA") {
    if (!uConRemitente) return responde("503 5.5.1 Primero envíe MAIL FROM");
    if (uDestinatarios.isEmpty()) return responde("554 5.5.1 No hay destinatarios válidos");
    uEnDatos = true;
    uExcedido = false;
    uLineaDescartada = false;
    uDatos.clear();
    return responde("354 Termine el mensaje con una línea que solo tenga un punto");
  }
  if (verbo == "BDAT") return responde("502 5.5.1 Comando no implementado");
  if (verbo.isEmpty()) return responde("500 5.5.2 Comando vacío");
  responde("500 5.5.2 Comando no reconocido");
}

void SesionSmtp::lineaDeDatos(const QByteArray& linea) {
  if (linea == ".") {
    finDeDatos();
    return;
  }
  if (uExcedido) return;
  // Dot-stuffing: a line of the message that begins with "." came with one more.
  const QByteArray contenido = linea.startsWith('.') ? linea.mid(1) : linea;
  if (uDatos.size() + contenido.size() + 2 > uServidor->opciones().limiteMensaje) {
    uExcedido = true;
    uDatos.clear();
    uDatos.squeeze();
    return;
  }
  uDatos += contenido;
  uDatos += "\r\n";
}

void SesionSmtp::finDeDatos() {
  uEnDatos = false;
  const auto& o = uServidor->opciones();
  if (uExcedido) {
    bitacora(QStringLiteral("mensaje de %1 rechazado: excede %2 bytes")
                 .arg(uRemitente)
                 .arg(o.limiteMensaje));
    reiniciaTransaccion();
    return responde("552 5.3.4 El mensaje excede el tamaño máximo de " +
                    QByteArray::number(o.limiteMensaje) + " bytes");
  }
  QString error;
  const QJsonObject r =
      uServidor->buzon().guarda({uRemitente, uDestinatarios, uSaludo, uUsuario}, uDatos, &error);
  const QString para = uDestinatarios.join(QLatin1Char(','));
  reiniciaTransaccion();
  if (r.isEmpty()) {
    bitacora(QStringLiteral("no se pudo guardar un mensaje: %1").arg(error));
    return respondeTarde("451 4.3.0 No se pudo guardar el mensaje");
  }
  const qint64 id = r.value(QStringLiteral("id")).toInteger();
  bitacora(QStringLiteral("mensaje %1 de %2 para %3: \"%4\", %5 adjuntos, %6 bytes")
               .arg(QString::number(id), r.value(QStringLiteral("remitente")).toString(), para,
                    r.value(QStringLiteral("asunto")).toString())
               .arg(r.value(QStringLiteral("adjuntos")).toArray().size())
               .arg(r.value(QStringLiteral("tamano")).toInteger()));
  respondeTarde("250 2.0.0 Mensaje " + QByteArray::number(id) + " aceptado");
}

void SesionSmtp::autentica(const QByteArray& argumentos) {
  if (uSaludo.isEmpty()) return responde("503 5.5.1 Primero envíe EHLO o HELO");
  if (!uUsuario.isEmpty()) return responde("503 5.5.1 Ya está autenticado");
  if (uConRemitente) return responde("503 5.5.1 No se autentica durante una transacción");
  const QList<QByteArray> partes = argumentos.split(' ');
  const QByteArray mecanismo = partes.value(0).toUpper();
  const QByteArray inicial = partes.value(1);
  if (mecanismo == "PLAIN") {
    uAutenticacion = Autenticacion::PlainRespuesta;
    if (inicial.isEmpty()) return responde("334 ");
    return pasoDeAutenticacion(inicial);
  }
  if (mecanismo == "LOGIN") {
    uAutenticacion = Autenticacion::LoginUsuario;
    if (inicial.isEmpty()) return responde("334 " + b64(QStringLiteral("Username:")));
    return pasoDeAutenticacion(inicial);
  }
  responde("504 5.5.4 Mecanismo de autenticación no soportado");
}

void SesionSmtp::pasoDeAutenticacion(const QByteArray& linea) {
  const Autenticacion paso = uAutenticacion;
  uAutenticacion = Autenticacion::Ninguna;
  if (linea == "*") return responde("501 5.0.0 Autenticación cancelada");
  const auto decodificado =
      QByteArray::fromBase64Encoding(linea, QByteArray::AbortOnBase64DecodingErrors);
  if (!decodificado) return responde("501 5.5.2 La respuesta no está en Base64");
  const QByteArray datos = *decodificado;
  QString usuario, contrasena;
  switch (paso) {
    case Autenticacion::PlainRespuesta: {
      // authorization identity NUL user NUL password
      const QList<QByteArray> campos = datos.split('\0');
      if (campos.size() != 3) return responde("501 5.5.2 Respuesta PLAIN mal formada");
      usuario = QString::fromUtf8(campos[1]);
      contrasena = QString::fromUtf8(campos[2]);
      break;
    }
    case Autenticacion::LoginUsuario:
      uUsuarioPendiente = QString::fromUtf8(datos);
      uAutenticacion = Autenticacion::LoginContrasena;
      return responde("334 " + b64(QStringLiteral("Password:")));
    case Autenticacion::LoginContrasena:
      usuario = uUsuarioPendiente;
      contrasena = QString::fromUtf8(datos);
      break;
    case Autenticacion::Ninguna:
      return;
  }
  if (!credencialesValidas(usuario, contrasena)) {
    bitacora(QStringLiteral("AUTH fallida para %1").arg(usuario));
    return responde("535 5.7.8 Usuario o contraseña incorrectos");
  }
  uUsuario = usuario;
  responde("235 2.7.0 Autenticación aceptada");
}

bool SesionSmtp::credencialesValidas(const QString& usuario, const QString& contrasena) const {
  const auto& o = uServidor->opciones();
  if (o.usuario.isEmpty()) return !usuario.isEmpty() && !contrasena.isEmpty();
  return usuario == o.usuario && contrasena == o.contrasena;
}

void SesionSmtp::reiniciaTransaccion() {
  uConRemitente = false;
  uRemitente.clear();
  uDestinatarios.clear();
  uEnDatos = false;
  uExcedido = false;
  uLineaDescartada = false;
  uDatos.clear();
}
