#pragma once
// The invoicing-service sandbox for one test: the real executable on a free loopback port with
// a data folder of its own. It is stopped when the object goes, so no test leaves it running.

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class SandboxPrueba {
 public:
  SandboxPrueba() = default;
  ~SandboxPrueba();
  SandboxPrueba(const SandboxPrueba&) = delete;
  SandboxPrueba& operator=(const SandboxPrueba&) = delete;

  // Starts it on the data folder (the same one again after detiene) and reads its port. False,
  // with a test failure, when it does not report the port within a few seconds.
  bool arranca(const QStringList& argumentos = {});
  void detiene();
  // Starts it accepting only the credentials of CatalogoPrueba::credencialesCifradas and points
  // localSYS at it.
  bool arrancaParaTienda();
  bool activo() const;

  quint16 puerto() const { return uPuerto; }
  QString url() const;  // http://127.0.0.1:<puerto>
  QString carpetaDatos() const { return uDatos.path(); }
  // The executable, for tests that run it with arguments of their own.
  static QString ejecutable();

  // One call to the sandbox, bounded in time; estado 0 when no HTTP answer came.
  struct Respuesta {
    int estado = 0;
    QJsonObject cuerpo;
  };
  Respuesta post(const QString& ruta, const QByteArray& cuerpo, int tiempoMs = 5000) const;
  Respuesta post(const QString& ruta, const QJsonObject& cuerpo, int tiempoMs = 5000) const;
  Respuesta get(const QString& ruta, int tiempoMs = 5000) const;

  // POST /control/modo; true when accepted.
  bool modo(const QString& modo, int retrasoMs = -1) const;
  // GET /control/tickets.
  QJsonArray tickets() const;
  // GET /control/facturas.
  QJsonArray facturas() const;

 private:
  std::unique_ptr<QProcess> uProceso;
  QTemporaryDir uDatos;
  quint16 uPuerto = 0;
};
