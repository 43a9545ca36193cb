#pragma once
// Runs a scenario of cashier steps on the real sale register and reports what the screen
// holds afterwards. Used by pos-script and by its tests.

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
  // "Aceptar" state, selected line, messages in order.
  QJsonObject reporte() const;

  // Answers of the modal runner.
  void mensaje(const QString& texto, int tipo) override;
  bool confirmacion(const QString& texto) override;
  int dialogo(QDialog* dialogo) override;

  bool iniciada() const { return uIniciada; }
  // Saves what the register shows now (window and open panels) as a PNG.
  bool captura(const QString& archivo) const;

 private:
  bool paso(const QJsonObject& p, QString* error);
  bool cobra(const QJsonObject& cobro, QString* error);
  bool factura(const QJsonObject& datos, QString* error);

  TFRM_caja* uCaja = nullptr;
  bool uIniciada = false;
  QJsonArray uMensajes;
  std::deque<bool> uRespuestas;
  std::function<int(QDialog*)> uDialogo;
  QString uDetallePromocion;
  QJsonArray uResultados;
  QJsonObject uCobro;    // what the last checkout did
  QJsonObject uFactura;  // what the last invoicing did
};
