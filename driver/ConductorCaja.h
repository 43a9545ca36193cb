#pragma once
// Runs a scenario of steps on the real sale register and reports what the screen holds
// afterwards. Used by pos-script and by its tests. The steps themselves live by area in
// pasos_*.cpp (see pasos.h); the conductor answers every message, confirmation and dialog,
// and keeps what the steps report.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <deque>
#include <functional>

#include "ui/mensajes.h"

class TFRM_caja;

class ConductorCaja : public TRespondedorModal {
 public:
  ConductorCaja();
  ~ConductorCaja() override;

  // Runs the steps; false with `error` for an unknown step or a malformed one.
  bool ejecuta(const QJsonArray& pasos, QString* error);
  // The report: lines (columns in table order, duplicates as they stand), totals, labels,
  // "Aceptar" state, selected line, messages in order, and what the steps reported.
  QJsonObject reporte() const;

  // Answers of the modal runner.
  void mensaje(const QString& texto, int tipo) override;
  bool confirmacion(const QString& texto) override;
  int dialogo(QDialog* dialogo) override;

  bool iniciada() const { return uIniciada; }
  // Starts the register again (after a session was opened on this station).
  void reiniciaCaja();
  // Saves what the register shows now (window and open panels) as a PNG.
  bool captura(const QString& archivo) const;

  // For the steps.
  TFRM_caja& caja() const { return *uCaja; }
  // Queues "OK" / "Cancel" answers for the next confirmations.
  bool encolaRespuestas(const QJsonArray& respuestas, QString* error);
  // The next modal dialog goes to `manejador` (until it is cleared with an empty one).
  void alDialogo(std::function<int(QDialog*)> manejador) { uDialogo = std::move(manejador); }
  // An entry of the report.
  void reporta(const QString& clave, const QJsonValue& valor) { uReporte.insert(clave, valor); }
  QJsonValue reportado(const QString& clave) const { return uReporte.value(clave); }
  // A step a script may run more than once: the last run under `clave`, every run in order
  // under `lista`.
  void reportaOtraVez(const QString& clave, const QString& lista, const QJsonValue& valor) {
    QJsonArray todas = uReporte.value(lista).toArray();
    todas.append(valor);
    uReporte.insert(lista, todas);
    uReporte.insert(clave, valor);
  }

 private:
  bool paso(const QJsonObject& p, QString* error);

  TFRM_caja* uCaja = nullptr;
  bool uIniciada = false;
  QJsonArray uMensajes;
  std::deque<bool> uRespuestas;
  std::function<int(QDialog*)> uDialogo;
  QJsonObject uReporte;
};
