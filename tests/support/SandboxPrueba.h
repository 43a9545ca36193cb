#pragma once
// The invoicing-service sandbox for one test: the real executable on a free loopback port with
// a data folder of its own. It is stopped when the object goes, so no test leaves it running.

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include "support/SandboxProcesoPrueba.h"

// A ticket as a shop uploads it: one concept of 100 plus 16 % VAT, paid in cash; `total` is
// written as given, for a ticket whose amount is what a test looks for.
QJsonObject ticketSandbox(qint64 ticketNo,
                          const QString& descripcion = QStringLiteral("Café de olla"),
                          double total = 116);
// The "mensaje" of an answer.
QString mensajeSandbox(const RespuestaSandbox& r);

// Uploads a stored sale through the package's worker to the configured service and answers
// the identifier it got; a test failure when the upload does not succeed.
QString subeTicket(int operacion);

class SandboxPrueba {
 public:
  using Respuesta = RespuestaSandbox;

  // Starts it on the data folder (the same one again after detiene) and reads its port. False,
  // with a test failure, when it does not report the port within a few seconds.
  bool arranca(const QStringList& argumentos = {});
  void detiene() { uProceso.detiene(); }
  // Starts it accepting only the credentials of CatalogoPrueba::credencialesCifradas and points
  // localSYS at it.
  bool arrancaParaTienda();
  bool activo() const { return uProceso.activo(); }

  quint16 puerto() const { return uPuerto; }
  QString url() const;  // http://127.0.0.1:<puerto>
  QString carpetaDatos() const { return uProceso.carpetaDatos(); }
  // The executable, for tests that run it with arguments of their own.
  static QString ejecutable();

  // One call to the sandbox, bounded in time; estado 0 when no HTTP answer came.
  Respuesta post(const QString& ruta, const QByteArray& cuerpo, int tiempoMs = 5000) const;
  Respuesta post(const QString& ruta, const QJsonObject& cuerpo, int tiempoMs = 5000) const;
  Respuesta get(const QString& ruta, int tiempoMs = 5000) const;
  Respuesta llama(const QString& metodo, const QString& ruta, const QByteArray& cuerpo,
                  const QList<QPair<QByteArray, QByteArray>>& encabezados = {},
                  int tiempoMs = 5000) const;

  // POST /control/modo; true when accepted.
  bool modo(const QString& modo, int retrasoMs = -1) const;
  // GET /control/tickets.
  QJsonArray tickets() const;
  // GET /control/facturas.
  QJsonArray facturas() const;
  // POST /control/tickets/<identificador>/facturar: the customer invoices the ticket at the
  // portal (optionally to `receptor`); the new invoice's UUID, empty when refused.
  QString facturaEnPortal(const QString& identificador, const QString& receptor = {}) const;
  // POST /control/tickets/generar: `cantidad` tickets of `rfc`, in `estado` 1 (uploaded) or 2
  // (invoiced at the portal); the answer's list of {identificador, ticketNo}.
  QJsonArray generaTickets(const QString& rfc, int cantidad, int estado = 1,
                           const QJsonObject& extra = {}) const;

 private:
  SandboxProcesoPrueba uProceso;
  quint16 uPuerto = 0;
};
