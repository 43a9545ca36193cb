#include "ConductorCaja.h"

#include <QApplication>
#include <QDialog>

#include "pasos.h"
#include "sale/TFRM_caja.h"
#include "util/utilerias.h"

ConductorCaja::ConductorCaja() {
  u_instalaRespondedor(this);
  uCaja = new TFRM_caja();
  uCaja->resize(1280, 800);
  uIniciada = uCaja->init();
}

ConductorCaja::~ConductorCaja() {
  u_instalaRespondedor(nullptr);
  delete uCaja;
}

void ConductorCaja::mensaje(const QString& texto, int tipo) {
  uMensajes.append(QJsonObject{{"texto", texto}, {"tipo", tipo}});
}

bool ConductorCaja::confirmacion(const QString& texto) {
  bool r = true;
  if (!uRespuestas.empty()) {
    r = uRespuestas.front();
    uRespuestas.pop_front();
  }
  uMensajes.append(
      QJsonObject{{"texto", texto}, {"tipo", mtConfirmacion}, {"respuesta", r ? "OK" : "Cancel"}});
  return r;
}

int ConductorCaja::dialogo(QDialog* d) {
  if (!uDialogo) return QDialog::Rejected;
  auto h = std::move(uDialogo);
  uDialogo = nullptr;
  return h(d);
}

bool ConductorCaja::ejecuta(const QJsonArray& pasos, QString* error) {
  for (int i = 0; i < pasos.size(); ++i) {
    if (!pasos[i].isObject()) {
      *error = QStringLiteral("Paso %1: se esperaba un objeto").arg(i);
      return false;
    }
    QString e;
    if (!paso(pasos[i].toObject(), &e)) {
      *error = QStringLiteral("Paso %1: %2").arg(i).arg(e);
      return false;
    }
  }
  return true;
}

bool ConductorCaja::paso(const QJsonObject& p, QString* error) {
  if (p.size() != 1) {
    *error = QStringLiteral("cada paso lleva exactamente una acción");
    return false;
  }
  const QString accion = p.keys().first();
  const TPasoGuion paso = TPasosGuion::busca(accion);
  if (!paso) {
    *error = QStringLiteral("paso desconocido: '%1'").arg(accion);
    return false;
  }
  // A station without an open session runs only the supervisor's steps until one of them
  // opens its register.
  if (!uIniciada && !TPasosGuion::sinCaja(accion)) return true;
  return paso(*this, p.value(accion), error);
}

void ConductorCaja::reiniciaCaja() { uIniciada = uCaja->init(); }

bool ConductorCaja::encolaRespuestas(const QJsonArray& respuestas, QString* error) {
  for (const QJsonValue& r : respuestas) {
    if (r.toString() != "OK" && r.toString() != "Cancel") {
      *error = QStringLiteral("respuesta desconocida: %1").arg(r.toString());
      return false;
    }
    uRespuestas.push_back(r.toString() == "OK");
  }
  return true;
}

QJsonObject ConductorCaja::reporte() const {
  TLineasVenta& venta = uCaja->venta();
  const TGridControl& g = venta.lineas();
  QJsonArray columnas;
  for (const auto& c : g.columnas()) columnas.append(c.nombre);
  QJsonArray valores, porNombre;
  for (int r = 0; r < g.getRowCount(); ++r) {
    QJsonArray fila;
    QJsonObject obj;
    for (int c = 0; c < g.getColumnCount(); ++c) {
      fila.append(g.getCelda(c, r));
      if (!obj.contains(g.columna(c).nombre)) obj.insert(g.columna(c).nombre, g.getCelda(c, r));
    }
    valores.append(fila);
    porNombre.append(obj);
  }
  QJsonObject o{
      {"iniciada", uIniciada},
      {"columnas", columnas},
      {"lineas", valores},
      {"lineasPorNombre", porNombre},
      {"uSubtotal", u_floatToStr(venta.uSubtotal)},
      {"uDescuento", u_floatToStr(venta.uDescuento)},
      {"uImpuestos", u_floatToStr(venta.uImpuestos)},
      {"uTotal", u_floatToStr(venta.uTotal)},
      {"LBL_total", uCaja->texto(QStringLiteral("Total"))},
      {"LBL_descuento", uCaja->texto(QStringLiteral("Descuento"))},
      {"LBL_impuestos", uCaja->texto(QStringLiteral("Impuestos"))},
      {"aceptarHabilitado", uCaja->habilitado(QStringLiteral("Aceptar"))},
      {"filaSeleccionada", venta.uFilaSeleccionada},
      {"caja", uCaja->texto(QStringLiteral("Caja"))},
      {"cajero", uCaja->texto(QStringLiteral("Cajero"))},
      {"mensajes", uMensajes},
      {"resultadosBusqueda", QJsonArray()},
  };
  for (auto e = uReporte.constBegin(); e != uReporte.constEnd(); ++e) o.insert(e.key(), e.value());
  return o;
}

bool ConductorCaja::captura(const QString& archivo) const {
  // The window on top: an open dialog (the checkout, the invoicing screen) or the register,
  // full screen on the station-sized offscreen screen.
  QApplication::processEvents();
  QWidget* arriba = QApplication::activeModalWidget();
  return (arriba ? arriba : static_cast<QWidget*>(uCaja))->grab().save(archivo);
}
