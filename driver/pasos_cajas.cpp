// Steps of a supervisor at "Control de Cajas": opening a register on this station with its cash
// count, a cut and the close, each through the register's row options and the dialogs a
// supervisor fills (the numeric keypad and the cashier picker included).
#include <QApplication>
#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <functional>

#include "ConductorCaja.h"
#include "admin/TFRM_seleccionarCajero.h"
#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "pasos.h"
#include "sessions/TFRM_cajaApertura.h"
#include "sessions/TFRM_cajaCorte.h"
#include "sessions/TFRM_controlCaja.h"
#include "shell/TFRM_main_puntoVenta.h"
#include "ui/TFRM_editar.h"

namespace {

// Row options of the register control, as its menu numbers them.
constexpr int kApertura = 2, kCorte = 3, kCierre = 4;

// The numeric keypad: types `texto` and accepts; any other dialog is refused.
std::function<int(QDialog*)> tecleaEnTeclado(const QString& texto, QString* error) {
  return [texto, error](QDialog* d) {
    auto* e = qobject_cast<TFRM_editar*>(d);
    if (!e) return int(QDialog::Rejected);
    if (!e->setTexto(texto)) {
      *error = QStringLiteral("el teclado numérico no acepta \"%1\"").arg(texto);
      return int(QDialog::Rejected);
    }
    e->acepta();
    return d->result();
  };
}

// One row of the register control as the report shows it.
QJsonObject filaCaja(const TGridControl& g, int f) {
  QJsonObject o;
  for (const char* c : {"Clave", "Descripción", "Estado", "Cajero", "Apertura", "Corte", "Saldo"})
    o.insert(QString::fromUtf8(c).toLower().replace(QStringLiteral("ó"), QStringLiteral("o")),
             g.getCelda(QString::fromUtf8(c), f));
  return o;
}

int filaDeLaCaja(const TGridControl& g, const QString& clave) {
  for (int f = 0; f < g.getRowCount(); ++f)
    if (g.getCelda(QStringLiteral("Clave"), f) == clave) return f;
  return -1;
}

// Opens "Control de Cajas" from the side menu, runs `opcion` on the register `caja` with
// `llena` filling the dialog it opens, and reports the row before and after under
// "cajas" (a list, one entry per step).
bool opcionDeCaja(ConductorCaja& conductor, const QJsonValue& v, const char* paso, int opcion,
                  const std::function<int(QDialog*, QString*)>& llena, QString* error) {
  const QJsonObject o = v.toObject();
  const QString caja = o.value("caja").toString();
  if (!v.isObject() || caja.isEmpty()) {
    *error = QStringLiteral("'%1' espera {\"caja\": clave, ...}").arg(QLatin1String(paso));
    return false;
  }
  if (!conductor.encolaRespuestas(o.value("responder").toArray(), error)) return false;
  std::unique_ptr<QWidget> panel(TFRM_main_puntoVenta::ExecForm(localSYS));
  TFRM_main_puntoVenta* forma = TFRM_main_puntoVenta::desdePanel(panel.get());
  panel->resize(1024, 768);
  forma->eligeEntrada(QStringLiteral("Control de Cajas"));
  auto* control = qobject_cast<TFRM_controlCaja*>(forma->getVentanaActiva());
  if (!control) {
    *error = QStringLiteral("no se abrió Control de Cajas");
    return false;
  }
  control->uMuestraMenu = false;
  int fila = filaDeLaCaja(control->grid(), caja);
  if (fila < 0) {
    *error = QStringLiteral("la caja %1 no está en Control de Cajas").arg(caja);
    return false;
  }
  QJsonObject r{{"paso", QLatin1String(paso)}, {"antes", filaCaja(control->grid(), fila)}};
  control->pulsaCelda(QStringLiteral("Lista"), fila, 0);
  r["opcion"] = control->textoOpcion(opcion);
  r["habilitada"] = control->opcionHabilitada(opcion);
  QString errorDialogo;
  bool abierto = false;
  int resultado = QDialog::Rejected;
  conductor.alDialogo([&](QDialog* d) {
    abierto = true;
    resultado = llena(d, &errorDialogo);
    return resultado;
  });
  if (control->opcionHabilitada(opcion)) control->eligeOpcion(opcion);
  conductor.alDialogo(nullptr);
  if (!errorDialogo.isEmpty()) {
    *error = errorDialogo;
    return false;
  }
  r["abierto"] = abierto;
  r["aceptado"] = resultado == QDialog::Accepted;
  fila = filaDeLaCaja(control->grid(), caja);
  if (fila >= 0) r["despues"] = filaCaja(control->grid(), fila);
  QJsonArray lista = conductor.reportado(QStringLiteral("cajas")).toArray();
  lista.append(r);
  conductor.reporta(QStringLiteral("cajas"), lista);
  return true;
}

// The dialog as the supervisor sees it, when the step asks for its picture ("captura").
void capturaSiLaPide(QDialog* d, const QJsonObject& o) {
  if (!o.contains("captura")) return;
  d->show();
  QApplication::processEvents();
  d->grab().save(o.value("captura").toString());
}

// "aperturaCaja": {"caja", "cajero": key, "monto": text, "billetes": {"1000": n, ...},
// "monedas": text, "captura": png of the filled dialog}.
bool aperturaCaja(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = v.toObject();
  return opcionDeCaja(
      conductor, v, "aperturaCaja", kApertura,
      [&conductor, o](QDialog* d, QString* err) {
        auto* a = qobject_cast<TFRM_cajaApertura*>(d);
        if (!a) return int(QDialog::Rejected);
        if (o.contains("cajero")) {
          const QString clave = o.value("cajero").toString();
          conductor.alDialogo(u_guionEligeCajero(clave));
          a->pulsa(QStringLiteral("Seleccionar cajero"));
        }
        if (o.contains("monto")) {
          conductor.alDialogo(tecleaEnTeclado(o.value("monto").toVariant().toString(), err));
          a->pulsa(QStringLiteral("Editar monto"));
        }
        const QJsonObject billetes = o.value("billetes").toObject();
        for (auto b = billetes.begin(); b != billetes.end() && err->isEmpty(); ++b) {
          conductor.alDialogo(tecleaEnTeclado(b.value().toVariant().toString(), err));
          a->pulsa(QStringLiteral("Editar billetes ") + b.key());
        }
        if (o.contains("monedas") && err->isEmpty()) {
          conductor.alDialogo(tecleaEnTeclado(o.value("monedas").toVariant().toString(), err));
          a->pulsa(QStringLiteral("Editar monedas"));
        }
        if (!err->isEmpty()) return int(QDialog::Rejected);
        capturaSiLaPide(a, o);
        a->pulsa(QStringLiteral("Iniciar"));
        // A refused opening keeps the dialog open, as for the supervisor: it is cancelled.
        if (a->result() != QDialog::Accepted) a->pulsa(QStringLiteral("Cancelar"));
        // The register of this station finds its new session, as when the cashier opens it.
        else if (!conductor.iniciada())
          conductor.reiniciaCaja();
        return a->result();
      },
      error);
}

// The cut ("corteCaja", with "monto") and the close ("cierreCaja": all of the balance).
bool retiro(ConductorCaja& conductor, const QJsonValue& v, const char* paso, int opcion,
            QString* error) {
  const QJsonObject o = v.toObject();
  return opcionDeCaja(
      conductor, v, paso, opcion,
      [&conductor, o](QDialog* d, QString* err) {
        auto* c = qobject_cast<TFRM_cajaCorte*>(d);
        if (!c) return int(QDialog::Rejected);
        if (o.contains("monto")) {
          conductor.alDialogo(tecleaEnTeclado(o.value("monto").toVariant().toString(), err));
          c->pulsa(QStringLiteral("Editar monto"));
          if (!err->isEmpty()) return int(QDialog::Rejected);
        }
        capturaSiLaPide(c, o);
        c->pulsa(QStringLiteral("Aceptar"));
        if (c->result() != QDialog::Accepted) c->pulsa(QStringLiteral("Cancelar"));
        return c->result();
      },
      error);
}

bool corteCaja(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  return retiro(conductor, v, "corteCaja", kCorte, error);
}

bool cierreCaja(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  return retiro(conductor, v, "cierreCaja", kCierre, error);
}

const TPasosGuion::Registro kPasosCajas{{
                                            {"aperturaCaja", aperturaCaja},
                                            {"corteCaja", corteCaja},
                                            {"cierreCaja", cierreCaja},
                                        },
                                        true};

}  // namespace

std::function<int(QDialog*)> u_guionEligeCajero(const QString& clave) {
  return [clave](QDialog* d) {
    auto* s = qobject_cast<TFRM_seleccionarCajero*>(d);
    if (!s) return int(QDialog::Rejected);
    for (int f = 0; f < s->grid().getRowCount(); ++f)
      if (s->grid().getCelda(QStringLiteral("Clave"), f) == clave) s->seleccionaFila(f);
    s->BTN_aceptarClick();
    return d->result();
  };
}
