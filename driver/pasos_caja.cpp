// Steps of the sale register: readings, searches, tiles, grid clicks, quantities, deletion,
// kits, answers to confirmations, "Aceptar" and "Iniciar".
#include <QDialog>
#include <QJsonArray>

#include "ConductorCaja.h"
#include "pasos.h"
#include "sale/TFRM_caja.h"
#include "sale/TFRM_cajaSeleccionarKit.h"

namespace {

bool texto(const QString& accion, const QJsonValue& v, QString* error) {
  if (v.isString()) return true;
  *error = QStringLiteral("'%1' espera un texto").arg(accion);
  return false;
}

bool entero(const QString& accion, const QJsonValue& v, int* destino, QString* error) {
  if (!v.isDouble()) {
    *error = QStringLiteral("'%1' espera un número").arg(accion);
    return false;
  }
  *destino = v.toInt();
  return true;
}

// Key by key, as a scanner or the cashier types; the search and the quantity are typed into an
// emptied field and end with Enter.
TPasoGuion tecleo(const char* accion, const char* campo, bool conEnter) {
  return [=](ConductorCaja& c, const QJsonValue& v, QString* error) {
    if (!texto(QString::fromUtf8(accion), v, error)) return false;
    const QString nombre = QString::fromUtf8(campo);
    if (conEnter) c.caja().escribe(nombre, QString());
    c.caja().teclea(nombre, v.toString());
    if (conEnter) c.caja().pulsaEnter(nombre);
    return true;
  };
}

bool busqueda(ConductorCaja& c, const QJsonValue& v, QString* error) {
  if (!tecleo("busqueda", "Buscar por nombre", true)(c, v, error)) return false;
  c.reporta(QStringLiteral("resultadosBusqueda"),
            QJsonArray::fromStringList(c.caja().resultados()));
  return true;
}

bool tile(ConductorCaja& c, const QJsonValue& v, QString* error) {
  int i = 0;
  if (!entero(QStringLiteral("tile"), v, &i, error)) return false;
  if (i < 0 || i >= c.caja().resultados().size()) {
    *error = QStringLiteral("no hay resultado %1").arg(i);
    return false;
  }
  c.caja().pulsa(QStringLiteral("Resultado %1").arg(i));
  return true;
}

bool clic(ConductorCaja& c, const QJsonValue& v, QString* error) {
  const QJsonArray a = v.toArray();
  if (a.size() != 2 || !a[0].isDouble() || !a[1].isDouble()) {
    *error = QStringLiteral("'clic' espera [fila, columna]");
    return false;
  }
  TFRM_caja& caja = c.caja();
  caja.GRD_mainMouseUp(a[0].toInt(), a[1].toInt(), QPoint(640, 300));
  if (caja.visible(QStringLiteral("Promoción")))
    c.reporta(QStringLiteral("detallePromocion"),
              caja.texto(QStringLiteral("Desde")) + QStringLiteral("|") +
                  caja.texto(QStringLiteral("Hasta")) + QStringLiteral("|") +
                  caja.texto(QStringLiteral("Detalle de la promoción")));
  return true;
}

// No quantity goes past 9,999.999, so no cashier taps an image more often than that.
constexpr int kMaxVeces = 9999;

TPasoGuion veces(const char* accion, void (TFRM_caja::*imagen)()) {
  return [=](ConductorCaja& c, const QJsonValue& v, QString* error) {
    int n = 0;
    if (!entero(QString::fromUtf8(accion), v, &n, error)) return false;
    if (v.toDouble() < 0 || v.toDouble() > kMaxVeces) {
      *error = QStringLiteral("'%1' admite de 0 a %2 veces").arg(QString::fromUtf8(accion)).arg(kMaxVeces);
      return false;
    }
    for (int i = 0; i < n; ++i) (c.caja().*imagen)();
    return true;
  };
}

TPasoGuion boton(void (TFRM_caja::*accion)()) {
  return [=](ConductorCaja& c, const QJsonValue&, QString*) {
    (c.caja().*accion)();
    return true;
  };
}

bool kit(ConductorCaja& c, const QJsonValue& v, QString* error) {
  int id = 0;
  if (!entero(QStringLiteral("kit"), v, &id, error)) return false;
  c.alDialogo([id](QDialog* d) {
    auto* dlg = qobject_cast<TFRM_cajaSeleccionarKit*>(d);
    if (!dlg || id == 0) return int(QDialog::Rejected);
    const int i = dlg->idsEntradas().indexOf(id);
    if (i >= 0) {
      dlg->pulsa(QStringLiteral("Entrada %1").arg(i));
      return int(QDialog::Accepted);
    }
    dlg->cancelar();
    return int(QDialog::Rejected);
  });
  c.caja().BTN_buscarKitClick();
  c.alDialogo(nullptr);
  return true;
}

bool responder(ConductorCaja& c, const QJsonValue& v, QString* error) {
  if (!v.isArray()) {
    *error = QStringLiteral("'responder' espera una lista de \"OK\" o \"Cancel\"");
    return false;
  }
  return c.encolaRespuestas(v.toArray(), error);
}

bool aceptar(ConductorCaja& c, const QJsonValue&, QString*) {
  c.caja().pulsa(QStringLiteral("Aceptar"));
  return true;
}

bool captura(ConductorCaja& c, const QJsonValue& v, QString* error) {
  if (!texto(QStringLiteral("captura"), v, error)) return false;
  if (c.captura(v.toString())) return true;
  *error = QStringLiteral("no se pudo guardar la captura %1").arg(v.toString());
  return false;
}

const TPasosGuion::Registro kPasosCaja{
    {"captura", captura},
    {"lectura", tecleo("lectura", "Código de barras", false)},
    {"busqueda", busqueda},
    {"cantidad", tecleo("cantidad", "Cantidad", true)},
    {"tile", tile},
    {"clic", clic},
    {"mas", veces("mas", &TFRM_caja::Image1Click)},
    {"menos", veces("menos", &TFRM_caja::Image2Click)},
    {"eliminar", boton(&TFRM_caja::BTN_eliminarClick)},
    {"kit", kit},
    {"responder", responder},
    {"aceptar", aceptar},
    {"iniciar", boton(&TFRM_caja::BTN_iniciarClick)},
};

}  // namespace
