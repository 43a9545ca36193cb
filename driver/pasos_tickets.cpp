// Steps of the tickets after the sale, as a supervisor runs them on ticket control: list the
// tickets of a window, upload one or every pending one, invoice one, refresh the states from
// the service, a global invoice of a period with chosen tickets, reprint one, open and e-mail
// an invoice PDF, the ticket configuration (logo, test page), and pictures of these screens.
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <memory>

#include "ConductorCaja.h"
#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "pasos.h"
#include "printer/miniPrinter.h"
#include "shell/programaPredeterminado.h"
#include "tickets/TFRM_configuracionTicket.h"
#include "tickets/TFRM_controlTickets.h"
#include "tickets/TFRM_facturaGlobal.h"
#include "tickets/TFRM_tickerVer.h"
#include "ui/TFRM_enviarcorreoElectronico.h"
#include "ui/TFRM_facturar.h"

namespace {

QJsonObject objeto(const QJsonValue& v, const char* paso, QString* error) {
  if (v.isObject()) return v.toObject();
  if (!v.isNull() && !v.isUndefined() && !(v.isBool() && v.toBool()))
    *error = QStringLiteral("'%1' espera un objeto").arg(QLatin1String(paso));
  return QJsonObject();
}

// Ticket control over the window of the step ("desde", "hasta": yyyy-MM-dd, today by default;
// "sesion"), searched.
std::unique_ptr<TFRM_controlTickets> control(const QJsonObject& o) {
  auto c = std::make_unique<TFRM_controlTickets>();
  c->uMuestraMenu = false;
  const QString hoy = QDate::currentDate().toString(Qt::ISODate);
  c->escribe(QStringLiteral("Desde"), o.value("desde").toString(hoy));
  c->escribe(QStringLiteral("Hasta"), o.value("hasta").toString(hoy));
  c->escribe(QStringLiteral("No. Sesión"), o.value("sesion").toVariant().toString());
  c->buscar();
  return c;
}

QJsonObject filaJson(const TfilaControl& t) {
  return QJsonObject{{"operacionID", t.operacionID},
                     {"sesion", t.sesion},
                     {"ticket", t.ticket},
                     {"total", t.total},
                     {"fecha", t.fecha},
                     {"estado", t.estado},
                     {"identificador", t.identificador},
                     {"uuid", t.uuid}};
}

QJsonObject listaJson(const TFRM_controlTickets& c) {
  QJsonArray filas;
  for (const TfilaControl& t : c.tickets()) filas.append(filaJson(t));
  return QJsonObject{{"total", c.texto(QStringLiteral("Total"))}, {"filas", filas}};
}

// The row of the step's "ticket" (its number) in the window; -1 with the error when absent.
int filaDelTicket(const TFRM_controlTickets& c, const QJsonObject& o, QString* error) {
  const QString ticket = o.value("ticket").toVariant().toString();
  if (ticket.isEmpty()) {
    *error = QStringLiteral("falta 'ticket' (su número)");
    return -1;
  }
  const QVector<TfilaControl> filas = c.tickets();
  for (int f = 0; f < filas.size(); ++f)
    if (filas[f].ticket == ticket) return f;
  *error = QStringLiteral("el ticket %1 no está en la ventana consultada").arg(ticket);
  return -1;
}

// A menu entry of ticket control on one ticket; reports the entries offered, the entry run
// and the ticket afterwards.
bool accionTicket(ConductorCaja& conductor, const QJsonObject& o, const QString& entrada,
                  const QString& clave, QString* error,
                  const std::function<void(TFRM_controlTickets&, QJsonObject&)>& despues = {}) {
  if (!conductor.encolaRespuestas(o.value("responder").toArray(), error)) return false;
  auto c = control(o);
  const int fila = filaDelTicket(*c, o, error);
  if (fila < 0) return false;
  c->abreMenu(fila);
  QJsonObject r{{"ticket", o.value("ticket").toVariant().toString()},
                {"opciones", QJsonArray::fromStringList(c->opcionesMenu())}};
  r["ejecutada"] = c->eligeOpcion(entrada);
  if (despues) despues(*c, r);
  c->buscar();
  r["despues"] = filaJson(c->tickets().value(filaDelTicket(*c, o, error)));
  error->clear();
  conductor.reporta(clave, r);
  return true;
}

bool listarTickets(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "listarTickets", error);
  if (!error->isEmpty()) return false;
  conductor.reporta(QStringLiteral("tickets"), listaJson(*control(o)));
  return true;
}

bool subirTicket(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "subirTicket", error);
  return error->isEmpty() && accionTicket(conductor, o, QStringLiteral("Subir Ticket"),
                                          QStringLiteral("subida"), error);
}

bool cargarPendientes(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "cargarPendientes", error);
  if (!error->isEmpty() || !conductor.encolaRespuestas(o.value("responder").toArray(), error))
    return false;
  auto c = control(o);
  int antes = 0;
  for (const TfilaControl& t : c->tickets()) antes += t.estado.isEmpty();
  c->pulsa(QStringLiteral("Cargar Pendientes"));
  QJsonObject r = listaJson(*c);
  r["pendientesAntes"] = antes;
  conductor.reporta(QStringLiteral("cargaPendientes"), r);
  return true;
}

bool facturarTicket(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "facturarTicket", error);
  if (!error->isEmpty()) return false;
  QJsonObject factura;
  conductor.alDialogo([&](QDialog* d) {
    auto* f = qobject_cast<TFRM_facturar*>(d);
    return f ? u_guionLlenaFactura(*f, o, factura) : int(QDialog::Rejected);
  });
  const bool ok = accionTicket(conductor, o, QStringLiteral("Facturar"),
                               QStringLiteral("facturaTicket"), error);
  conductor.alDialogo(nullptr);
  if (ok) {
    QJsonObject r = conductor.reportado(QStringLiteral("facturaTicket")).toObject();
    r["factura"] = factura;
    conductor.reporta(QStringLiteral("facturaTicket"), r);
  }
  return ok;
}

bool actualizarEstados(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "actualizarEstados", error);
  if (!error->isEmpty()) return false;
  auto c = control(o);
  c->pulsa(QStringLiteral("Actualiza Tickets Estado"));
  const datosThreadEstadoTicket s = c->ultimoSondeo();
  QJsonObject r = listaJson(*c);
  r["ok"] = s.ok;
  r["error"] = s.error;
  r["mensaje"] = mensajeEstadoTickets(s);
  conductor.reporta(QStringLiteral("estados"), r);
  return true;
}

// "facturaGlobal": {"periodo": "Día"|"Semana"|"Mes"|"Bimestral", "fecha": yyyy-MM-dd,
// "tickets": [numbers] or "todos"}.
bool facturaGlobal(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "facturaGlobal", error);
  if (!error->isEmpty()) return false;
  const QString periodo = o.value("periodo").toString(QStringLiteral("Día"));
  if (!QStringList{"Día", "Semana", "Mes", "Bimestral"}.contains(periodo)) {
    *error = QStringLiteral("periodo desconocido: '%1'").arg(periodo);
    return false;
  }
  const bool todos = o.value("tickets").toString() == QLatin1String("todos");
  QStringList elegidos;
  for (const QJsonValue& t : o.value("tickets").toArray()) elegidos << t.toVariant().toString();
  QJsonObject r{{"abierto", false}};
  conductor.alDialogo([&](QDialog* d) {
    auto* g = qobject_cast<TFRM_facturaGlobal*>(d);
    if (!g) return int(QDialog::Rejected);
    r["abierto"] = true;
    if (o.contains("fecha")) g->escribe(QStringLiteral("Fecha"), o.value("fecha").toString());
    g->marca(periodo, true);
    g->pulsa(QStringLiteral("Buscar"));
    QJsonArray listados;
    for (int f = 0; f < g->grid().getRowCount(); ++f)
      listados.append(g->grid().getCelda(QStringLiteral("Ticket"), f));
    r["listados"] = listados;
    if (todos) g->marca(QStringLiteral("Seleccionar Todo"), true);
    for (int f = 0; f < g->grid().getRowCount(); ++f)
      if (elegidos.contains(g->grid().getCelda(QStringLiteral("Ticket"), f))) g->GRD_mainClick(f);
    QJsonArray marcados;
    for (int f = 0; f < g->grid().getRowCount(); ++f)
      if (g->grid().getCelda(QStringLiteral("_facturar"), f) == QLatin1String("1"))
        marcados.append(g->grid().getCelda(QStringLiteral("Ticket"), f));
    r["elegidos"] = marcados;
    r["total"] = g->texto(QStringLiteral("Total"));
    // The invoicing screen stamps what it is shown.
    conductor.alDialogo([&](QDialog* d2) {
      auto* f = qobject_cast<TFRM_facturar*>(d2);
      if (!f) return int(QDialog::Rejected);
      r["conceptos"] = f->filas(QStringLiteral("Conceptos"));
      f->BTN_facturarClick();
      if (f->result() != QDialog::Accepted) f->BTN_cancelarClick();
      return f->result();
    });
    g->pulsa(QStringLiteral("Generar Factura Global"));
    conductor.alDialogo(nullptr);
    r["uuid"] = g->ultimaFactura();
    r["restantes"] = g->grid().getRowCount();
    g->pulsa(QStringLiteral("Cerrar"));
    return int(QDialog::Rejected);
  });
  auto c = control(o);
  c->pulsa(QStringLiteral("Factura Global"));
  conductor.alDialogo(nullptr);
  r["lista"] = listaJson(*c);
  conductor.reporta(QStringLiteral("facturaGlobal"), r);
  return true;
}

bool reimprimir(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "reimprimir", error);
  if (!error->isEmpty()) return false;
  QJsonObject r;
  conductor.alDialogo([&](QDialog* d) {
    auto* t = qobject_cast<TFRM_tickerVer*>(d);
    if (!t) return int(QDialog::Rejected);
    for (const char* n : {"Fecha", "No. ticket", "Cajero", "Total"})
      r[QString::fromUtf8(n)] = t->texto(QString::fromUtf8(n));
    r["lineas"] = t->filas(QStringLiteral("Lista"));
    r["facturarHabilitado"] = t->habilitado(QStringLiteral("Facturar"));
    t->pulsa(QStringLiteral("Imprimir"));
    const TResultadoImpresion imp = miniPrinterUltimoTicket();
    r["escpos"] = imp.archivoEscPos;
    r["png"] = imp.archivoPng;
    r["impresionError"] = imp.error;
    r["portal"] = t->ultimaImpresion().ticket.getEtiqueta1().getValor();
    t->pulsa(QStringLiteral("Cerrar"));
    return int(QDialog::Accepted);
  });
  const bool ok =
      accionTicket(conductor, o, QStringLiteral("Ver ticket"), QStringLiteral("reimpresion"), error,
                   [&r](TFRM_controlTickets&, QJsonObject& s) {
                     for (auto e = r.constBegin(); e != r.constEnd(); ++e)
                       s.insert(e.key(), e.value());
                   });
  conductor.alDialogo(nullptr);
  return ok;
}

bool verPDF(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "verPDF", error);
  if (!error->isEmpty()) return false;
  abreConProgramaPredeterminadoOlvida();
  return accionTicket(conductor, o, QStringLiteral("Ver PDF"), QStringLiteral("pdf"), error,
                      [](TFRM_controlTickets& c, QJsonObject& r) {
                        r["archivo"] = c.ultimoPDF();
                        r["abierto"] =
                            QJsonArray::fromStringList(abreConProgramaPredeterminadoSolicitudes());
                      });
}

// "enviarCorreo": {"ticket", "para", "asunto"?}.
bool enviarCorreo(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "enviarCorreo", error);
  if (!error->isEmpty()) return false;
  QJsonObject r{{"abierto", false}};
  conductor.alDialogo([&](QDialog* d) {
    auto* e = qobject_cast<TFRM_enviarcorreoElectronico*>(d);
    if (!e) return int(QDialog::Rejected);
    r["abierto"] = true;
    r["propuesto"] = e->texto(QStringLiteral("Para"));
    r["adjunto"] = e->texto(QStringLiteral("Adjunto"));
    if (o.contains("para")) e->escribe(QStringLiteral("Para"), o.value("para").toString());
    if (o.contains("asunto")) e->escribe(QStringLiteral("Asunto"), o.value("asunto").toString());
    r["asunto"] = e->texto(QStringLiteral("Asunto"));
    e->pulsa(QStringLiteral("Enviar"));
    r["ok"] = e->resultado().ok;
    r["mensaje"] = e->resultado().mensaje;
    if (e->result() != QDialog::Accepted) e->pulsa(QStringLiteral("Cancelar"));
    return e->result();
  });
  const bool ok =
      accionTicket(conductor, o, QStringLiteral("Enviar Correo Electrónico"),
                   QStringLiteral("correo"), error, [&r](TFRM_controlTickets& c, QJsonObject& s) {
                     s["archivo"] = c.ultimoPDF();
                     for (auto e = r.constBegin(); e != r.constEnd(); ++e)
                       s.insert(e.key(), e.value());
                   });
  conductor.alDialogo(nullptr);
  return ok;
}

// "configuracionTicket": {"logo": file, "restaurar": true, "imprimir": true}, in that order.
bool configuracionTicket(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "configuracionTicket", error);
  if (!error->isEmpty()) return false;
  TFRM_configuracionTicket c;
  c.init();
  QJsonObject r;
  if (o.contains("logo")) c.cargaLogo(o.value("logo").toString());
  if (o.value("restaurar").toBool()) c.pulsa(QStringLiteral("Restaurar"));
  r["vistaPrevia"] = c.visible(QStringLiteral("Vista Previa"));
  if (o.value("imprimir").toBool()) {
    c.pulsa(QStringLiteral("Imprimir"));
    const TResultadoImpresion imp = miniPrinterUltimoTicket();
    r["escpos"] = imp.archivoEscPos;
    r["png"] = imp.archivoPng;
    r["logo"] = c.ultimaImpresion().archivoLogo;
  }
  conductor.reporta(QStringLiteral("configuracionTicket"), r);
  return true;
}

// "capturaTickets": {"pantalla": "control"|"global"|"ticket"|"configuracion"|"correo",
// "archivo": png, "ancho", "alto", "ticket" (for "ticket" and "correo") and the window}. The
// screen at the station's size as the supervisor sees it.
bool capturaTickets(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "capturaTickets", error);
  if (!error->isEmpty()) return false;
  const QString pantalla = o.value("pantalla").toString();
  const QString archivo = o.value("archivo").toString();
  const QSize tamano(o.value("ancho").toInt(1024), o.value("alto").toInt(768));
  if (archivo.isEmpty()) {
    *error = QStringLiteral("falta 'archivo'");
    return false;
  }
  bool guardada = false;
  const auto toma = [&](QWidget* w, const QSize& t) {
    w->resize(t);
    w->show();
    QApplication::processEvents();
    guardada = w->grab().save(archivo);
    w->hide();
  };
  // A dialog is shot at the size it opens with, inside the station's screen.
  const auto tomaDialogo = [&](QDialog* d) {
    toma(d, d->size().boundedTo(tamano));
    return int(QDialog::Rejected);
  };
  if (pantalla == QLatin1String("control")) {
    toma(control(o).get(), tamano);
  } else if (pantalla == QLatin1String("configuracion")) {
    TFRM_configuracionTicket c;
    c.init();
    if (o.value("imprimir").toBool()) c.pulsa(QStringLiteral("Imprimir"));
    toma(&c, tamano);
  } else if (pantalla == QLatin1String("global")) {
    conductor.alDialogo(tomaDialogo);
    control(o)->pulsa(QStringLiteral("Factura Global"));
  } else if (pantalla == QLatin1String("ticket") || pantalla == QLatin1String("correo")) {
    auto c = control(o);
    const int fila = filaDelTicket(*c, o, error);
    if (fila < 0) return false;
    c->abreMenu(fila);
    conductor.alDialogo(tomaDialogo);
    c->eligeOpcion(pantalla == QLatin1String("ticket")
                       ? QStringLiteral("Ver ticket")
                       : QStringLiteral("Enviar Correo Electrónico"));
  } else {
    *error = QStringLiteral("pantalla desconocida: '%1'").arg(pantalla);
    return false;
  }
  conductor.alDialogo(nullptr);
  conductor.reporta(QStringLiteral("captura ") + pantalla,
                    QJsonObject{{"archivo", archivo}, {"guardada", guardada}});
  return true;
}

const TPasosGuion::Registro kPasosTickets{
    {"listarTickets", listarTickets},
    {"subirTicket", subirTicket},
    {"cargarPendientes", cargarPendientes},
    {"facturarTicket", facturarTicket},
    {"actualizarEstados", actualizarEstados},
    {"facturaGlobal", facturaGlobal},
    {"reimprimir", reimprimir},
    {"verPDF", verPDF},
    {"enviarCorreo", enviarCorreo},
    {"configuracionTicket", configuracionTicket},
    {"capturaTickets", capturaTickets},
};

}  // namespace
