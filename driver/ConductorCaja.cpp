#include "ConductorCaja.h"

#include <QApplication>
#include <QDialog>

#include "checkout/TFRM_cerrarPuntoVenta.h"
#include "context/TsistemaDatos.h"
#include "operaciones/facturacion.h"
#include "printer/miniPrinter.h"
#include "sale/TFRM_caja.h"
#include "sale/TFRM_cajaSeleccionarKit.h"
#include "ui/TFRM_facturar.h"
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
  const QJsonValue v = p.value(accion);
  auto entero = [&](int* destino) {
    if (!v.isDouble()) {
      *error = QStringLiteral("'%1' espera un número").arg(accion);
      return false;
    }
    *destino = v.toInt();
    return true;
  };
  if (accion == "lectura" || accion == "busqueda" || accion == "cantidad") {
    if (!v.isString()) {
      *error = QStringLiteral("'%1' espera un texto").arg(accion);
      return false;
    }
    const QString campo = accion == "lectura"    ? QStringLiteral("Código de barras")
                          : accion == "busqueda" ? QStringLiteral("Buscar por nombre")
                                                 : QStringLiteral("Cantidad");
    if (accion != "lectura") uCaja->escribe(campo, QString());
    // Key by key, as a scanner or the cashier types.
    uCaja->teclea(campo, v.toString());
    if (accion != "lectura") uCaja->pulsaEnter(campo);
    if (accion == "busqueda") uResultados = QJsonArray::fromStringList(uCaja->resultados());
    return true;
  }
  if (accion == "tile") {
    int i = 0;
    if (!entero(&i)) return false;
    if (i < 0 || i >= uCaja->resultados().size()) {
      *error = QStringLiteral("no hay resultado %1").arg(i);
      return false;
    }
    uCaja->pulsa(QStringLiteral("Resultado %1").arg(i));
    return true;
  }
  if (accion == "clic") {
    const QJsonArray a = v.toArray();
    if (a.size() != 2 || !a[0].isDouble() || !a[1].isDouble()) {
      *error = QStringLiteral("'clic' espera [fila, columna]");
      return false;
    }
    uCaja->GRD_mainMouseUp(a[0].toInt(), a[1].toInt(), QPoint(640, 300));
    if (uCaja->visible(QStringLiteral("Promoción")))
      uDetallePromocion = uCaja->texto(QStringLiteral("Desde")) + QStringLiteral("|") +
                          uCaja->texto(QStringLiteral("Hasta")) + QStringLiteral("|") +
                          uCaja->texto(QStringLiteral("Detalle de la promoción"));
    return true;
  }
  if (accion == "mas" || accion == "menos") {
    int n = 0;
    if (!entero(&n)) return false;
    for (int i = 0; i < n; ++i) accion == "mas" ? uCaja->Image1Click() : uCaja->Image2Click();
    return true;
  }
  if (accion == "eliminar") {
    uCaja->BTN_eliminarClick();
    return true;
  }
  if (accion == "kit") {
    int id = 0;
    if (!entero(&id)) return false;
    uDialogo = [id](QDialog* d) {
      auto* dlg = qobject_cast<TFRM_cajaSeleccionarKit*>(d);
      if (!dlg || id == 0) return int(QDialog::Rejected);
      const QList<int> ids = dlg->idsEntradas();
      for (int i = 0; i < ids.size(); ++i)
        if (ids[i] == id) {
          dlg->pulsa(QStringLiteral("Entrada %1").arg(i));
          return int(QDialog::Accepted);
        }
      dlg->cancelar();
      return int(QDialog::Rejected);
    };
    uCaja->BTN_buscarKitClick();
    uDialogo = nullptr;
    return true;
  }
  if (accion == "responder") {
    if (!v.isArray()) {
      *error = QStringLiteral("'responder' espera una lista de \"OK\" o \"Cancel\"");
      return false;
    }
    for (const QJsonValue& r : v.toArray()) {
      if (r.toString() != "OK" && r.toString() != "Cancel") {
        *error = QStringLiteral("respuesta desconocida: %1").arg(r.toString());
        return false;
      }
      uRespuestas.push_back(r.toString() == "OK");
    }
    return true;
  }
  if (accion == "aceptar") {
    uCaja->pulsa(QStringLiteral("Aceptar"));
    return true;
  }
  if (accion == "cobrar") {
    if (!v.isObject()) {
      *error = QStringLiteral("'cobrar' espera un objeto");
      return false;
    }
    return cobra(v.toObject(), error);
  }
  if (accion == "facturar") {
    if (!v.isObject()) {
      *error = QStringLiteral("'facturar' espera un objeto");
      return false;
    }
    return factura(v.toObject(), error);
  }
  if (accion == "iniciar") {
    uCaja->BTN_iniciarClick();
    return true;
  }
  *error = QStringLiteral("paso desconocido: '%1'").arg(accion);
  return false;
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
      {"resultadosBusqueda", uResultados},
  };
  if (!uDetallePromocion.isNull()) o.insert("detallePromocion", uDetallePromocion);
  if (!uCobro.isEmpty()) o.insert("cobro", uCobro);
  if (!uFactura.isEmpty()) o.insert("factura", uFactura);
  return o;
}

bool ConductorCaja::captura(const QString& archivo) const {
  // The offscreen screen is smaller than a register's; shoot at the station's size.
  uCaja->setWindowState(Qt::WindowNoState);
  QApplication::processEvents();
  uCaja->setGeometry(0, 0, 1280, 800);
  QApplication::processEvents();
  return uCaja->grab().save(archivo);
}

bool ConductorCaja::cobra(const QJsonObject& c, QString* error) {
  for (const QJsonValue& r : c.value("responder").toArray()) {
    if (r.toString() != "OK" && r.toString() != "Cancel") {
      *error = QStringLiteral("respuesta desconocida: %1").arg(r.toString());
      return false;
    }
    uRespuestas.push_back(r.toString() == "OK");
  }
  const QJsonArray pagos = c.value("pagos").toArray();
  if (pagos.size() > 6) {
    *error = QStringLiteral("a lo más seis pagos además del efectivo");
    return false;
  }
  QJsonObject resultado{{"abierto", false}};
  QString errorCobro;
  uDialogo = [&](QDialog* d) {
    auto* f = qobject_cast<TFRM_cerrarPuntoVenta*>(d);
    if (!f) return int(QDialog::Rejected);
    resultado["abierto"] = true;
    if (!pagos.isEmpty()) f->BTN_otrasFormasClick();
    for (int i = 0; i < pagos.size(); ++i) {
      const QJsonObject p = pagos[i].toObject();
      const QString n = QString::number(i + 1);
      f->BTN_metodoClick(i + 1);
      if (p.contains("metodo")) {
        const int tile = f->idsFormasPago().indexOf(p.value("metodo").toInt());
        if (tile < 0) {
          errorCobro = QStringLiteral("no hay forma de pago %1").arg(p.value("metodo").toInt());
          f->BTN_cancelarClick();
          return int(QDialog::Rejected);
        }
        f->pulsa(QStringLiteral("Método %1").arg(tile));
      }
      if (p.contains("monto")) {
        f->escribe(QStringLiteral("Monto ") + n, QString());
        f->teclea(QStringLiteral("Monto ") + n, p.value("monto").toString());
      }
      f->enfocaCampo(QStringLiteral("Referencia ") + n);
      f->teclea(QStringLiteral("Referencia ") + n, p.value("referencia").toString());
    }
    f->enfocaCampo(QStringLiteral("Monto efectivo"));
    for (const QChar ch : c.value("efectivo").toString()) f->teclaNumerica(QString(ch));
    f->marca(QStringLiteral("Requiere Factura"), c.value("requiereFactura").toBool());
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
  };
  uCaja->pulsa(QStringLiteral("Aceptar"));
  uDialogo = nullptr;
  if (!errorCobro.isEmpty()) {
    *error = errorCobro;
    return false;
  }
  resultado["lineasDespues"] = uCaja->venta().lineas().getRowCount();
  resultado["ticketRegistro"] = uCaja->uTicketNumero;
  uCobro = resultado;
  return true;
}

bool ConductorCaja::factura(const QJsonObject& datos, QString* error) {
  const int operacionID = datos.contains("operacionID") ? datos.value("operacionID").toInt()
                                                        : uCobro.value("operacionID").toInt();
  if (operacionID <= 0) {
    *error = QStringLiteral("'facturar' necesita una venta cobrada antes o un 'operacionID'");
    return false;
  }
  QJsonObject resultado{{"abierto", false}, {"operacionID", operacionID}};
  uDialogo = [&](QDialog* d) {
    auto* f = qobject_cast<TFRM_facturar*>(d);
    if (!f) return int(QDialog::Rejected);
    resultado["abierto"] = true;
    // As the cashier: the RFC first (a known customer fills the rest in), then what was given.
    f->escribe(QStringLiteral("RFC"), datos.value("rfc").toString());
    resultado["clienteConocido"] = f->buscaReceptor();
    const auto texto = [&datos, f](const char* campo, const QString& destino) {
      if (datos.contains(campo)) f->escribe(destino, datos.value(campo).toString());
    };
    texto("nombre", QStringLiteral("Nombre o razón social"));
    texto("codigoPostal", QStringLiteral("Código postal"));
    texto("correo", QStringLiteral("Correo electrónico"));
    const auto clave = [&datos, f](const char* campo, const QString& destino) {
      if (datos.contains(campo)) f->elige(destino, datos.value(campo).toString());
    };
    clave("regimenFiscal", QStringLiteral("Régimen fiscal"));
    clave("usoCFDI", QStringLiteral("Uso del CFDI"));
    f->BTN_facturarClick();
    if (f->result() != QDialog::Accepted) f->BTN_cancelarClick();
    return f->result();
  };
  TFRM_cerrarPuntoVenta checkout(uCaja);
  resultado["ok"] = checkout.facturarTicket(operacionID);
  uDialogo = nullptr;
  const CmidTierResponse t =
      buscaTicketParaFacturar(operacionID, localSYS.getIdNegocio(), localSYS.getConexion());
  resultado["uuid"] = t.getCelda(QStringLiteral("puntoOperacionAdicional_uuid"));
  resultado["estado"] = t.getCelda(QStringLiteral("puntoOperacion_facturadoMetodo"));
  uFactura = resultado;
  return true;
}
