#pragma once
// The steps pos-script knows, by area. Each area's file (pasos_caja.cpp, pasos_cobro.cpp, ...)
// registers its steps with a static TPasosGuion::Registro, so a new area adds a file of its
// own and nobody edits a shared list. A step gets the conductor and the step's value, and
// answers false with the error text (in Spanish, without the step's number) when the value is
// malformed.

#include <QJsonValue>
#include <QString>
#include <functional>
#include <initializer_list>
#include <utility>

class ConductorCaja;
class QJsonObject;
class TFRM_facturar;
class QDialog;

using TPasoGuion =
    std::function<bool(ConductorCaja& conductor, const QJsonValue& valor, QString* error)>;

class TPasosGuion {
 public:
  // The step of that action; empty when no area registered it.
  static TPasoGuion busca(const QString& accion);

  // Whether the step runs on a station whose register did not start (no open session): the
  // supervisor's steps do; the register's own are skipped until a session is opened.
  static bool sinCaja(const QString& accion);

  // Registers an area's steps when its file's static object is built; `sinCaja` for steps
  // that do not use the sale register.
  struct Registro {
    Registro(std::initializer_list<std::pair<const char*, TPasoGuion>> pasos, bool sinCaja = false);
  };
};

// Fills the invoicing screen of one ticket with a step's customer data ("rfc", "nombre",
// "codigoPostal", "correo", "regimenFiscal", "usoCFDI") and presses "Facturar"; answers the
// dialog's result. Steps of several areas invoice a ticket this way.
int u_guionLlenaFactura(TFRM_facturar& f, const QJsonObject& datos, QJsonObject& resultado);

// The cashier selection's answer: picks the cashier with that key and accepts (a key no row has
// accepts with no cashier chosen, as a supervisor pressing "Aceptar" would).
std::function<int(QDialog*)> u_guionEligeCajero(const QString& clave);
