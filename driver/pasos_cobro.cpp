// Steps of the checkout and its invoicing: "cobrar" completes the sale on the checkout,
// "facturar" invoices a stored ticket through the invoicing screen.
#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>

#include "ConductorCaja.h"
#include "checkout/TFRM_cerrarPuntoVenta.h"
#include "context/TsistemaDatos.h"
#include "operaciones/facturacion.h"
#include "pasos.h"
#include "pasosMercadoPago.h"
#include "printer/miniPrinter.h"
#include "sale/TFRM_caja.h"
#include "ui/TFRM_facturar.h"

int u_guionLlenaFactura(TFRM_facturar& f, const QJsonObject& datos, QJsonObject& resultado) {
  // As the cashier: the RFC first (a known customer fills the rest in), then what was given.
  f.escribe(QStringLiteral("RFC"), datos.value("rfc").toString());
  resultado["clienteConocido"] = f.buscaReceptor();
  const auto texto = [&datos, &f](const char* campo, const QString& destino) {
    if (datos.contains(campo)) f.escribe(destino, datos.value(campo).toString());
  };
  texto("nombre", QStringLiteral("Nombre o razón social"));
  texto("codigoPostal", QStringLiteral("Código postal"));
  texto("correo", QStringLiteral("Correo electrónico"));
  const auto clave = [&datos, &f](const char* campo, const QString& destino) {
    if (datos.contains(campo)) f.elige(destino, datos.value(campo).toString());
  };
  clave("regimenFiscal", QStringLiteral("Régimen fiscal"));
  clave("usoCFDI", QStringLiteral("Uso del CFDI"));
  if (datos.contains("captura")) f.grab().save(datos.value("captura").toString());
  f.BTN_facturarClick();
  if (f.result() != QDialog::Accepted) f.BTN_cancelarClick();
  return f.result();
}

namespace {

bool cobrar(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  if (!v.isObject()) {
    *error = QStringLiteral("'cobrar' espera un objeto");
    return false;
  }
  const QJsonObject c = v.toObject();
  if (!conductor.encolaRespuestas(c.value("responder").toArray(), error)) return false;
  const QJsonArray pagos = c.value("pagos").toArray();
  if (pagos.size() > 6) {
    *error = QStringLiteral("a lo más seis pagos además del efectivo");
    return false;
  }
  QJsonObject resultado{{"abierto", false}};
  QJsonArray filas;
  QString errorCobro;
  conductor.alDialogo([&](QDialog* d) {
    auto* f = qobject_cast<TFRM_cerrarPuntoVenta*>(d);
    if (!f) return int(QDialog::Rejected);
    resultado["abierto"] = true;
    if (!pagos.isEmpty()) f->BTN_otrasFormasClick();
    for (int i = 0; i < pagos.size(); ++i) {
      const QJsonObject p = pagos[i].toObject();
      const QString n = QString::number(i + 1);
      f->BTN_metodoClick(i + 1);
      // "formaPago" is the SAT payment form of the method's tile; "metodo", its first name,
      // is still read the same way so older scenarios run unchanged.
      const QString clave =
          p.contains("formaPago") ? QStringLiteral("formaPago") : QStringLiteral("metodo");
      if (p.contains(clave)) {
        const int tile = f->idsFormasPago().indexOf(p.value(clave).toInt());
        if (tile < 0) {
          errorCobro = QStringLiteral("no hay forma de pago %1").arg(p.value(clave).toInt());
          f->BTN_cancelarClick();
          return int(QDialog::Rejected);
        }
        f->pulsa(QStringLiteral("Método %1").arg(tile));
      }
      if (p.contains("monto")) {
        f->escribe(QStringLiteral("Monto ") + n, QString());
        f->teclea(QStringLiteral("Monto ") + n, p.value("monto").toString());
      }
      QJsonObject busqueda;
      if (p.value("mercadoPago").isObject()) {
        busqueda = u_buscaPagoMercadoPago(conductor, *f, i + 1, p.value("mercadoPago").toObject());
        busqueda["detalle"] = f->texto(QStringLiteral("Detalle de referencia"));
      } else {
        f->enfocaCampo(QStringLiteral("Referencia ") + n);
        f->teclea(QStringLiteral("Referencia ") + n, p.value("referencia").toString());
      }
      filas << busqueda;
    }
    for (int i = 0; i < pagos.size(); ++i) {
      QJsonObject fila = u_reporteFilaPago(*f, i + 1);
      const QJsonObject busqueda = filas[i].toObject();
      for (auto it = busqueda.begin(); it != busqueda.end(); ++it)
        fila.insert(it.key(), it.value());
      filas[i] = fila;
    }
    resultado["filas"] = filas;
    f->enfocaCampo(QStringLiteral("Monto efectivo"));
    for (const QChar ch : c.value("efectivo").toString()) f->teclaNumerica(QString(ch));
    f->marca(QStringLiteral("Requiere Factura"), c.value("requiereFactura").toBool());
    // The checkout as the cashier sees it before completing the sale.
    if (c.contains("captura") && !f->grab().save(c.value("captura").toString()))
      errorCobro =
          QStringLiteral("no se pudo guardar la captura %1").arg(c.value("captura").toString());
    const bool ok = f->efectuarVenta();
    resultado["ok"] = ok;
    resultado["despedida"] = f->texto(QStringLiteral("Despedida"));
    resultado["estadoCarga"] = f->visible(QStringLiteral("Estado de carga"))
                                   ? f->texto(QStringLiteral("Estado de carga"))
                                   : QString();
    resultado["recibido"] = f->texto(QStringLiteral("Recibido"));
    resultado["devuelto"] = f->texto(QStringLiteral("Devuelto"));
    if (ok) {
      resultado["operacionID"] = f->uOperacionID;
      resultado["ticketNo"] = f->uTicketNo;
      const TResultadoImpresion imp = miniPrinterUltimoTicket();
      resultado["escpos"] = imp.archivoEscPos;
      resultado["png"] = imp.archivoPng;
      resultado["impresionError"] = imp.error;
      f->BTN_cerrarClick();
      return int(QDialog::Accepted);
    }
    if (f->enPanelFinal()) {
      f->BTN_cerrarClick();
      return int(QDialog::Accepted);
    }
    f->BTN_cancelarClick();
    return int(QDialog::Rejected);
  });
  conductor.caja().pulsa(QStringLiteral("Aceptar"));
  conductor.alDialogo(nullptr);
  if (!errorCobro.isEmpty()) {
    *error = errorCobro;
    return false;
  }
  resultado["lineasDespues"] = conductor.caja().venta().lineas().getRowCount();
  resultado["ticketRegistro"] = conductor.caja().uTicketNumero;
  conductor.reportaOtraVez(QStringLiteral("cobro"), QStringLiteral("cobros"), resultado);
  return true;
}

bool facturar(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  if (!v.isObject()) {
    *error = QStringLiteral("'facturar' espera un objeto");
    return false;
  }
  const QJsonObject datos = v.toObject();
  const int operacionID =
      datos.contains("operacionID")
          ? datos.value("operacionID").toInt()
          : conductor.reportado(QStringLiteral("cobro")).toObject().value("operacionID").toInt();
  if (operacionID <= 0) {
    *error = QStringLiteral("'facturar' necesita una venta cobrada antes o un 'operacionID'");
    return false;
  }
  QJsonObject resultado{{"abierto", false}, {"operacionID", operacionID}};
  conductor.alDialogo([&](QDialog* d) {
    auto* f = qobject_cast<TFRM_facturar*>(d);
    if (!f) return int(QDialog::Rejected);
    resultado["abierto"] = true;
    return u_guionLlenaFactura(*f, datos, resultado);
  });
  TFRM_cerrarPuntoVenta checkout(&conductor.caja());
  resultado["ok"] = checkout.facturarTicket(operacionID);
  conductor.alDialogo(nullptr);
  const CmidTierResponse t =
      buscaTicketParaFacturar(operacionID, localSYS.getIdNegocio(), localSYS.getConexion());
  resultado["uuid"] = t.getCelda(QStringLiteral("puntoOperacionAdicional_uuid"));
  resultado["estado"] = t.getCelda(QStringLiteral("puntoOperacion_facturadoMetodo"));
  conductor.reporta(QStringLiteral("factura"), resultado);
  return true;
}

const TPasosGuion::Registro kPasosCobro{
    {"cobrar", cobrar},
    {"facturar", facturar},
};

}  // namespace
