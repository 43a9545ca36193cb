#pragma once
// What the sandbox fixtures share: one sandbox executable run for a test on free loopback
// ports with a data folder of its own, stopped with the object, and bounded HTTP(S) calls to
// it.

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QSslConfiguration>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

// One answer; estado 0 when no HTTP answer came (refused, timed out, TLS failure).
struct RespuestaSandbox {
  int estado = 0;
  QJsonObject cuerpo;  // the body when it is a JSON object
  QByteArray crudo;    // the body as received
  QString error;       // the client's error text when there was no answer
};

RespuestaSandbox llamaHttp(const QString& metodo, const QUrl& url, const QByteArray& cuerpo = {},
                           const QList<QPair<QByteArray, QByteArray>>& encabezados = {},
                           int tiempoMs = 5000,
                           const std::optional<QSslConfiguration>& ssl = std::nullopt);

class SandboxProcesoPrueba {
 public:
  SandboxProcesoPrueba() = default;
  ~SandboxProcesoPrueba();
  SandboxProcesoPrueba(const SandboxProcesoPrueba&) = delete;
  SandboxProcesoPrueba& operator=(const SandboxProcesoPrueba&) = delete;

  // Starts `programa` (a file in the binaries folder) with `argumentos` and reads the ports of
  // its "ESCUCHANDO ..." line. Empty, with a test failure, when it does not report them within
  // a few seconds.
  QList<quint16> arranca(const QString& programa, const QStringList& argumentos);
  void detiene();
  bool activo() const;
  QString carpetaDatos() const { return uDatos.path(); }
  static QString ruta(const QString& programa);

 private:
  std::unique_ptr<QProcess> uProceso;
  QTemporaryDir uDatos;
};
