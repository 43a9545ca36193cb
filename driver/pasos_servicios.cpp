// Steps of the external services: "serviciosExternos" captures the MercadoPago credentials on
// their screen, "historialPagos" reads the history of external payments.
#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>

#include "ConductorCaja.h"
#include "grid/TGridControl.h"
#include "pasos.h"
#include "pasosMercadoPago.h"
#include "sale/TFRM_caja.h"
#include "services/TFRM_cobroServiciosExternos.h"
#include "services/TFRM_historialServiciosExternos.h"

namespace {

bool objeto(const char* accion, const QJsonValue& v, QString* error) {
  if (v.isObject()) return true;
  *error = QStringLiteral("'%1' espera un objeto").arg(QString::fromUtf8(accion));
  return false;
}

bool serviciosExternos(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  if (!objeto("serviciosExternos", v, error)) return false;
  const QJsonObject datos = v.toObject();
  if (!conductor.encolaRespuestas(datos.value("responder").toArray(), error)) return false;
  QJsonObject resultado{{"abierto", false}};
  conductor.alDialogo([&](QDialog* d) {
    auto* f = qobject_cast<TFRM_cobroServiciosExternos*>(d);
    if (!f) return int(QDialog::Rejected);
    resultado["abierto"] = true;
    resultado["leido"] = QJsonObject{{"clientId", f->texto(QStringLiteral("Client ID"))},
                                     {"poi", f->texto(QStringLiteral("Point Blue no. Serie"))}};
    const auto campo = [&](const char* clave, const QString& nombre) {
      if (datos.contains(clave)) f->escribe(nombre, datos.value(clave).toString());
    };
    campo("clientId", QStringLiteral("Client ID"));
    campo("clientSecret", QStringLiteral("Client Secret"));
    campo("poi", QStringLiteral("Point Blue no. Serie"));
    u_capturaPantalla(f, datos.value("captura").toString());
    f->BTN_aceptarClick();
    if (f->result() != QDialog::Accepted) f->BTN_cancelarClick();
    return f->result();
  });
  TFRM_cobroServiciosExternos pantalla(&conductor.caja());
  resultado["guardado"] = pantalla.init();
  conductor.alDialogo(nullptr);
  conductor.reporta(QStringLiteral("serviciosExternos"), resultado);
  return true;
}

bool historialPagos(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  if (!objeto("historialPagos", v, error)) return false;
  const QJsonObject filtros = v.toObject();
  TFRM_historialServiciosExternos pantalla(&conductor.caja());
  pantalla.reinicia();
  if (filtros.contains("desde"))
    pantalla.escribe(QStringLiteral("Fecha Inicial"), filtros.value("desde").toString());
  if (filtros.contains("hasta"))
    pantalla.escribe(QStringLiteral("Fecha Final"), filtros.value("hasta").toString());
  pantalla.escribe(QStringLiteral("Monto"), filtros.value("monto").toString());
  pantalla.escribe(QStringLiteral("Referencia"), filtros.value("referencia").toString());
  pantalla.buscar();
  u_capturaPantalla(&pantalla, filtros.value("captura").toString());
  QJsonArray filas;
  const TGridControl& g = pantalla.grid();
  for (int i = 0; i < g.getRowCount(); ++i)
    filas << QJsonObject{{"ticket", g.getCelda(QStringLiteral("Ticket"), i)},
                         {"servicio", g.getCelda(QStringLiteral("Servicio Externo"), i)},
                         {"referencia", g.getCelda(QStringLiteral("Referencia"), i)},
                         {"monto", g.getCelda(QStringLiteral("Monto"), i)},
                         {"fecha", g.getCelda(QStringLiteral("Fecha"), i)}};
  conductor.reporta(QStringLiteral("historialPagos"),
                    QJsonObject{{"filas", filas},
                                {"mensaje", pantalla.visible(QStringLiteral("Mensaje"))
                                                ? pantalla.texto(QStringLiteral("Mensaje"))
                                                : QString()}});
  return true;
}

const TPasosGuion::Registro kPasosServicios{
    {"serviciosExternos", serviciosExternos},
    {"historialPagos", historialPagos},
};

}  // namespace
