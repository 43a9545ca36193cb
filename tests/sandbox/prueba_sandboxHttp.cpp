// The sandboxes' HTTP server under hostile or broken clients, through raw sockets against the
// invoicing sandbox: bounded requests, idle connections, pipelined requests.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTest>
#include <memory>
#include <vector>

#include "support/SandboxPrueba.h"

namespace {

// Sends `enviado` on a new connection and reads until the server closes it or `esperaMs` pass.
QByteArray intercambio(quint16 puerto, const QByteArray& enviado, int esperaMs = 5000) {
  QTcpSocket s;
  s.connectToHost(QStringLiteral("127.0.0.1"), puerto);
  if (!s.waitForConnected(3000)) return {};
  s.write(enviado);
  QByteArray recibido;
  QElapsedTimer reloj;
  reloj.start();
  while (reloj.elapsed() < esperaMs && s.state() == QAbstractSocket::ConnectedState) {
    s.waitForReadyRead(100);
    recibido += s.readAll();
  }
  return recibido + s.readAll();
}

TEST(SandboxHttp, PeticionesFueraDeLimiteSeRechazanYSeCierran) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const QByteArray inicio = "POST /api/v1/tickets HTTP/1.1\r\nHost: x\r\n";
  struct Caso {
    QByteArray enviado;
    QByteArray estado;
    QString mensaje;
  };
  const std::vector<Caso> casos = {
      // A 50 MB body is refused from its headers, before a byte of it is read.
      {inicio + "Content-Length: 52428800\r\n\r\n{\"rfc\":", "HTTP/1.1 413 ",
       "La petición excede el tamaño máximo de 4194304 bytes"},
      {inicio + "X-Relleno: " + QByteArray(70000, 'a') + "\r\n\r\n", "HTTP/1.1 431 ",
       "Los encabezados de la petición exceden 65536 bytes"},
      {inicio + "Transfer-Encoding: chunked\r\n\r\n5\r\nhola\r\n", "HTTP/1.1 411 ", ""},
      {inicio + "Content-Length: -3\r\n\r\n", "HTTP/1.1 400 ", ""},
      {"HOLA\r\n\r\n", "HTTP/1.1 400 ", "La línea de petición no es válida"},
      {"GET /control/tickets HTTP/2.0\r\n\r\n", "HTTP/1.1 505 ", ""},
  };
  for (const Caso& c : casos) {
    const QByteArray r = intercambio(s.puerto(), c.enviado);
    EXPECT_TRUE(r.startsWith(c.estado))
        << c.estado.toStdString() << " <- " << r.left(200).toStdString();
    EXPECT_TRUE(r.contains("Connection: close")) << c.estado.toStdString();
    EXPECT_TRUE(r.contains("\"ok\":false")) << c.estado.toStdString();
    EXPECT_TRUE(QString::fromUtf8(r).contains(c.mensaje)) << c.mensaje.toStdString();
  }
  // A client that sends all of a 5 MiB body before reading still gets the answer.
  const auto grande = s.post("/api/v1/tickets", QByteArray(5 * 1024 * 1024, ' '), 20000);
  EXPECT_EQ(grande.estado, 413);
  EXPECT_EQ(grande.cuerpo.value("mensaje").toString(),
            "La petición excede el tamaño máximo de 4194304 bytes");
  EXPECT_TRUE(s.activo());
  EXPECT_TRUE(s.tickets().isEmpty());
}

TEST(SandboxHttp, ConexionesOciosasNoLoDejanInalcanzable) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca({"--inactividad", "2", "--max-conexiones", "64"}));
  // 174 clients that start a request and never finish it, more than the server holds at once.
  std::vector<std::unique_ptr<QTcpSocket>> ociosos;
  for (int i = 0; i < 174; ++i) {
    auto c = std::make_unique<QTcpSocket>();
    c->connectToHost(QStringLiteral("127.0.0.1"), s.puerto());
    ASSERT_TRUE(c->waitForConnected(3000)) << i;
    c->write(i % 2 ? "POST /api/v1/tickets HTTP/1.1\r\nContent-Length: 100\r\n\r\n{"
                   : "GET /control/tic");
    c->flush();
    ociosos.push_back(std::move(c));
  }
  QTest::qWait(200);
  // The server still answers a real client at once.
  QElapsedTimer reloj;
  reloj.start();
  EXPECT_EQ(s.get("/control/tickets", 3000).estado, 200);
  EXPECT_LT(reloj.elapsed(), 1500);

  // Past the time limit every one of them has been closed; a partial request got 408.
  int abiertos = 0, con408 = 0;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        abiertos = 0;
        for (auto& c : ociosos) {
          c->waitForReadyRead(1);
          abiertos += c->state() == QAbstractSocket::ConnectedState ? 1 : 0;
        }
        return abiertos == 0;
      },
      8000))
      << abiertos << " conexiones siguen abiertas";
  for (auto& c : ociosos) con408 += c->readAll().startsWith("HTTP/1.1 408 ") ? 1 : 0;
  EXPECT_GT(con408, 0);
  EXPECT_EQ(s.get("/control/tickets").estado, 200);
}

TEST(SandboxHttp, PeticionesEncadenadasSeRespondenEnOrden) {
  SandboxPrueba s;
  ASSERT_TRUE(s.arranca());
  const QByteArray r = intercambio(s.puerto(),
                                   "GET /control/tickets HTTP/1.1\r\nHost: x\r\n\r\n"
                                   "GET /api/v1/tickets/NO-EXISTE HTTP/1.1\r\nHost: x\r\n\r\n"
                                   "DELETE /control/tickets HTTP/1.1\r\nHost: x\r\n"
                                   "Connection: close\r\n\r\n");
  const qsizetype a = r.indexOf("HTTP/1.1 200 "), b = r.indexOf("HTTP/1.1 404 "),
                  c = r.indexOf("HTTP/1.1 405 ");
  EXPECT_TRUE(a == 0 && a < b && b < c) << r.toStdString();
  EXPECT_TRUE(r.contains("No existe el ticket NO-EXISTE"));
  EXPECT_TRUE(r.contains("Método DELETE no permitido en /control/tickets"));
}

}  // namespace
