// The mail sink as an SMTP client sees it: curl's dialogue (the one libcurl gives the product)
// and a raw conversation, and what its control API then tells.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "support/SandboxCorreoPrueba.h"

namespace {

const QByteArray PDF = "%PDF-1.4\n" + QByteArray(3000, 'x') + "\n%%EOF\n";

// A message as the product sends an invoice: text, and the PDF as a Base64 attachment whose
// name needs RFC 2231; a body line starting with "." tests dot-stuffing.
QByteArray mensajeConAdjunto() {
  QByteArray b64 = PDF.toBase64();
  QByteArray lineas;
  for (qsizetype i = 0; i < b64.size(); i += 76) lineas += b64.mid(i, 76) + "\r\n";
  return "From: Abarrotes La Esquina <tienda@ejemplo.mx>\r\n"
         "To: cliente@ejemplo.mx\r\n"
         "Subject: =?UTF-8?B?" +
         QByteArray("Factura ñ 15").toBase64() +
         "?=\r\n"
         "MIME-Version: 1.0\r\n"
         "Content-Type: multipart/mixed; boundary=\"frontera\"\r\n\r\n"
         "--frontera\r\nContent-Type: text/plain; charset=UTF-8\r\n"
         "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
         "Adjuntamos su factura de la compra del d=C3=ADa.\r\n.linea con punto\r\n"
         "--frontera\r\nContent-Type: application/pdf; name=\"factura.pdf\"\r\n"
         "Content-Disposition: attachment;\r\n filename*=UTF-8''factura%20%C3%B1.pdf\r\n"
         "Content-Transfer-Encoding: base64\r\n\r\n" +
         lineas + "--frontera--\r\n";
}

// curl's SMTP client; its exit code and error text.
QPair<int, QString> curl(const SandboxCorreoPrueba& s, const QStringList& extra,
                         const QByteArray& mensaje) {
  QTemporaryDir dir;
  QFile archivo(dir.filePath("mensaje.eml"));
  if (!archivo.open(QIODevice::WriteOnly)) return {-1, "sin archivo"};
  archivo.write(mensaje);
  archivo.close();
  QProcess p;
  p.start("curl", QStringList{"-sS", "--max-time", "10", s.urlSmtp(), "--mail-from",
                              "tienda@ejemplo.mx", "-T", archivo.fileName()} +
                      extra);
  if (!p.waitForFinished(20000)) return {-1, "curl no terminó"};
  return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

TEST(SandboxCorreo, CurlEnviaUnaFacturaConAdjunto) {
  SandboxCorreoPrueba s;
  ASSERT_TRUE(s.arranca());
  const auto [codigo, error] =
      curl(s, {"--mail-rcpt", "cliente@ejemplo.mx", "--mail-rcpt", "copia@ejemplo.mx"},
           mensajeConAdjunto());
  ASSERT_EQ(codigo, 0) << error.toStdString();

  const QJsonArray mensajes = s.mensajes();
  ASSERT_EQ(mensajes.size(), 1);
  const QJsonObject m = s.mensaje(mensajes.at(0).toObject().value("id").toInteger());
  EXPECT_EQ(m.value("remitente").toString(), "tienda@ejemplo.mx");
  EXPECT_EQ(m.value("destinatarios").toArray(),
            (QJsonArray{"cliente@ejemplo.mx", "copia@ejemplo.mx"}));
  EXPECT_EQ(m.value("de").toString(), "Abarrotes La Esquina <tienda@ejemplo.mx>");
  EXPECT_EQ(m.value("asunto").toString(), "Factura ñ 15");
  EXPECT_TRUE(
      m.value("texto").toString().startsWith("Adjuntamos su factura de la compra del día."));
  EXPECT_TRUE(m.value("texto").toString().contains("\r\n.linea con punto"));
  const QJsonArray adjuntos = m.value("adjuntos").toArray();
  ASSERT_EQ(adjuntos.size(), 1);
  EXPECT_EQ(adjuntos.at(0).toObject().value("nombre").toString(), "factura ñ.pdf");
  EXPECT_EQ(adjuntos.at(0).toObject().value("tipo").toString(), "application/pdf");
  EXPECT_EQ(adjuntos.at(0).toObject().value("tamano").toInt(), PDF.size());
  EXPECT_EQ(s.adjunto(m.value("id").toInteger(), 0), PDF);
  // Stored as sent: the dot curl doubled is undone.
  EXPECT_EQ(s.eml(m.value("id").toInteger()), mensajeConAdjunto());

  // Kept across a restart; numbering goes on.
  s.detiene();
  ASSERT_TRUE(s.arranca());
  ASSERT_EQ(curl(s, {"--mail-rcpt", "otro@ejemplo.mx"}, "Subject: dos\r\n\r\nhola\r\n").first, 0);
  const QJsonArray despues = s.mensajes();
  ASSERT_EQ(despues.size(), 2);
  EXPECT_EQ(despues.at(1).toObject().value("id").toInt(), 2);
  EXPECT_EQ(s.adjunto(1, 0), PDF);
  EXPECT_TRUE(s.borraMensajes());
  EXPECT_TRUE(s.mensajes().isEmpty());
}

TEST(SandboxCorreo, DireccionRechazadaYAutenticacion) {
  SandboxCorreoPrueba s;
  ASSERT_TRUE(s.arranca(
      {"--rechaza", ".*@rechazado\\.mx", "--usuario", "tienda", "--contrasena", "clave"}));
  const QByteArray m = "Subject: prueba\r\n\r\nhola\r\n";
  const QStringList usuario = {"--user", "tienda:clave"};
  // {extra curl arguments, accepted}
  const QList<QPair<QStringList, bool>> casos = {
      {usuario + QStringList{"--mail-rcpt", "nadie@rechazado.mx"}, false},
      {usuario + QStringList{"--mail-rcpt", "NADIE@Rechazado.MX"}, false},
      {QStringList{"--mail-rcpt", "si@ejemplo.mx"}, false},  // no AUTH
      {QStringList{"--user", "tienda:mala", "--mail-rcpt", "si@ejemplo.mx"}, false},
      {usuario + QStringList{"--mail-rcpt", "si@ejemplo.mx"}, true},
      {usuario + QStringList{"--login-options", "AUTH=LOGIN", "--mail-rcpt", "si@ejemplo.mx"},
       true},
  };
  for (const auto& [extra, aceptado] : casos)
    EXPECT_EQ(curl(s, extra, m).first == 0, aceptado) << extra.join(' ').toStdString();
  ASSERT_EQ(s.mensajes().size(), 2);
  EXPECT_EQ(s.mensajes().at(0).toObject().value("usuario").toString(), "tienda");

  // The patterns can change while it runs.
  ASSERT_TRUE(s.rechaza({"si@ejemplo\\.mx"}));
  EXPECT_NE(curl(s, usuario + QStringList{"--mail-rcpt", "si@ejemplo.mx"}, m).first, 0);
  EXPECT_EQ(curl(s, usuario + QStringList{"--mail-rcpt", "nadie@rechazado.mx"}, m).first, 0);
  EXPECT_FALSE(s.rechaza({"(sin cerrar"}));
  EXPECT_EQ(s.mensajes().size(), 3);
}

// A raw SMTP conversation: each command and the reply code it must get.
class Conversacion {
 public:
  explicit Conversacion(quint16 puerto) { uSocket.connectToHost("127.0.0.1", puerto); }
  // The next whole reply (every line of a multi-line one).
  QByteArray respuesta(int esperaMs = 3000) {
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < esperaMs) {
      const qsizetype fin = finDeRespuesta();
      if (fin >= 0) {
        const QByteArray r = uEntrada.left(fin);
        uEntrada.remove(0, fin);
        return r;
      }
      if (!uSocket.waitForReadyRead(100) && uSocket.state() != QAbstractSocket::ConnectedState)
        break;
      uEntrada += uSocket.readAll();
    }
    return {};
  }
  QByteArray envia(const QByteArray& linea) {
    uSocket.write(linea + "\r\n");
    return respuesta();
  }
  bool cerrada(int esperaMs) {
    return uSocket.state() != QAbstractSocket::ConnectedState ||
           uSocket.waitForDisconnected(esperaMs);
  }

 private:
  qsizetype finDeRespuesta() const {
    qsizetype inicio = 0;
    for (qsizetype fin; (fin = uEntrada.indexOf("\r\n", inicio)) >= 0; inicio = fin + 2)
      if (fin - inicio >= 4 && uEntrada[inicio + 3] == ' ') return fin + 2;
    return -1;
  }
  QTcpSocket uSocket;
  QByteArray uEntrada;
};

TEST(SandboxCorreo, DialogoSmtpYLimites) {
  SandboxCorreoPrueba s;
  ASSERT_TRUE(s.arranca({"--limite-mensaje", "2000", "--inactividad", "1"}));
  Conversacion c(s.puertoSmtp());
  ASSERT_TRUE(c.respuesta().startsWith("220 "));
  const QList<QPair<QByteArray, QByteArray>> pasos = {
      {"MAIL FROM:<a@ejemplo.mx>", "503"},
      {"EHLO caja1", "250"},
      {"RCPT TO:<b@ejemplo.mx>", "503"},
      {"MAIL FROM:<a@ejemplo.mx> SIZE=5000", "552"},
      {"MAIL FROM:<sin arroba>", "501"},
      {"MAIL FROM:<a@ejemplo.mx> SIZE=100", "250"},
      {"MAIL FROM:<a@ejemplo.mx>", "503"},
      {"DATA", "554"},
      {"RCPT TO:<malo>", "501"},
      {"RCPT TO:<b@ejemplo.mx>", "250"},
      {"RSET", "250"},
      {"DATA", "503"},
      {"NOOP", "250"},
      {"VRFY b@ejemplo.mx", "252"},
      {"STARTTLS", "502"},
      {"AUTH CRAM-MD5", "504"},
      {"HOLA", "500"},
      {"MAIL FROM:<>", "250"},  // the null sender of bounces
      {"RCPT TO:<b@ejemplo.mx>", "250"},
      {"DATA", "354"},
      {"Subject: largo\r\n\r\n" + QByteArray(2100, 'z') + "\r\n.", "552"},
      {"MAIL FROM:<a@ejemplo.mx>", "250"},
      {"RCPT TO:<b@ejemplo.mx>", "250"},
      {"DATA", "354"},
      {"Subject: puntos\r\n\r\n..empieza con punto\r\n..\r\n.", "250"},
  };
  for (const auto& [comando, codigo] : pasos)
    EXPECT_TRUE(c.envia(comando).startsWith(codigo)) << comando.left(40).toStdString();
  EXPECT_EQ(s.eml(1), "Subject: puntos\r\n\r\n.empieza con punto\r\n.\r\n");

  // Silence closes the conversation; then the service refuses new ones in error mode.
  EXPECT_TRUE(c.respuesta(2500).startsWith("421 "));
  EXPECT_TRUE(c.cerrada(1000));
  ASSERT_TRUE(s.modo("error"));
  Conversacion rechazada(s.puertoSmtp());
  EXPECT_TRUE(rechazada.respuesta().startsWith("421 "));
  ASSERT_TRUE(s.modo("normal"));
  Conversacion otra(s.puertoSmtp());
  EXPECT_TRUE(otra.respuesta().startsWith("220 "));
  EXPECT_TRUE(otra.envia("QUIT").startsWith("221 "));
  EXPECT_EQ(s.mensajes().size(), 1);
}

}  // namespace
