#include "pasosMercadoPago.h"

#include <QDialog>
#include <QJsonArray>
#include <QLayout>
#include <QPixmap>

#include "ConductorCaja.h"
#include "checkout/TFRM_cerrarPuntoVenta.h"
#include "checkout/TFRM_mercadoPagoSeleccionarAbono.h"
#include "services/TFRM_cobroServiciosExternos.h"

QJsonObject u_buscaPagoMercadoPago(ConductorCaja& conductor, TFRM_cerrarPuntoVenta& cobro, int fila,
                                   const QJsonObject& instruccion) {
  QJsonObject visto{{"pantalla", false}, {"configuracionIncompleta", false}};
  const bool manual = instruccion.value("busqueda").toString() == QStringLiteral("manual");
  conductor.alDialogo([&](QDialog* d) {
    if (qobject_cast<TFRM_cobroServiciosExternos*>(d)) {
      visto["configuracionIncompleta"] = true;
      return int(QDialog::Rejected);
    }
    auto* consulta = qobject_cast<TFRM_mercadoPagoSeleccionarAbono*>(d);
    if (!consulta) return int(QDialog::Rejected);
    visto["pantalla"] = true;
    if (instruccion.contains("monto"))
      consulta->escribe(QStringLiteral("Monto"), instruccion.value("monto").toString());
    if (manual) {
      if (instruccion.contains("rango"))
        consulta->eligeOpcion(QStringLiteral("Rango"), instruccion.value("rango").toString());
      consulta->BTN_buscarClick();
    }
    QJsonArray resultados;
    for (int i = 0; i < consulta->filas(QStringLiteral("Lista")); ++i)
      resultados << consulta->getFila(i).pagoID;
    visto["resultados"] = resultados;
    if (instruccion.contains("fila")) consulta->seleccionaFila(instruccion.value("fila").toInt());
    u_capturaPantalla(consulta, instruccion.value("captura").toString());
    if (instruccion.contains("fila")) {
      consulta->BTN_aceptarClick();
    }
    if (consulta->result() != QDialog::Accepted) consulta->BTN_cancelarClick();
    return consulta->result();
  });
  if (manual)
    cobro.pulsa(QStringLiteral("Detalle %1").arg(fila));
  else
    cobro.pulsa(QStringLiteral("Mercado Pago"));
  conductor.alDialogo(nullptr);
  return visto;
}

void u_capturaPantalla(QWidget* pantalla, const QString& archivo) {
  if (archivo.isEmpty()) return;
  pantalla->ensurePolished();
  if (auto* l = pantalla->layout()) l->activate();
  pantalla->grab().save(archivo);
}

QJsonObject u_reporteFilaPago(const TFRM_cerrarPuntoVenta& cobro, int fila) {
  const QString n = QString::number(fila);
  const TFilaPago& f = cobro.cobro().filas[fila - 1];
  return {{"referencia", cobro.texto(QStringLiteral("Referencia ") + n)},
          {"monto", cobro.texto(QStringLiteral("Monto ") + n)},
          {"externo", f.externo.isNull() || !f.externo.isValid() ? QJsonValue()
                                                                 : QJsonValue(f.externo.toInt())},
          {"metodo", cobro.texto(QStringLiteral("Forma de pago ") + n)},
          {"detalle", QString()}};
}
