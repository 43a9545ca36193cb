// Steps of returns and serial numbers: "devolucion" returns goods of a stored ticket through
// the return screen (an exchange or a credit note stamped through the invoicing screen),
// "asignarNoSerie" links units in stock to a sold line through the serial-number screen, and
// "entradaMenu" opens a side-menu entry (the returns and credit-note lists, the serial numbers)
// as a supervisor reads it, at a station's size.
#include <QApplication>
#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>
#include <QPixmap>
#include <QSet>

#include "ConductorCaja.h"
#include "context/TsistemaDatos.h"
#include "operaciones/almacen.h"
#include "operaciones/noSerie.h"
#include "pasos.h"
#include "returns/TFRM_devolucion.h"
#include "shell/TFRM_main_puntoVenta.h"
#include "shell/listas/TListaPantalla.h"
#include "ui/TFRM_capturaDevolucion.h"
#include "ui/TFRM_facturar.h"
#include "ui/TFRM_puntoNoSerie.h"

namespace {

// A station's screen as "ancho" x "alto" (1024 x 768 unless given).
QSize tamanoEstacion(const QJsonObject& o) {
  return {o.value("ancho").toInt(1024), o.value("alto").toInt(768)};
}

// Each step of a kind adds its result to the report's list of that kind, in order.
void agregaAlReporte(ConductorCaja& conductor, const QString& clave, const QJsonObject& resultado) {
  QJsonArray lista = conductor.reportado(clave).toArray();
  lista.append(resultado);
  conductor.reporta(clave, lista);
}

// A dialog as the station shows it: at its own size, centred on a screen of `estacion`
// (whatever does not fit is cut off, as on the station).
bool capturaDialogo(QWidget* dialogo, const QSize& estacion, const QString& archivo) {
  dialogo->show();
  QApplication::processEvents();
  QPixmap lienzo(estacion);
  lienzo.fill(QColor(0x5A, 0x65, 0x70));
  QPainter p(&lienzo);
  const QPixmap imagen = dialogo->grab();
  p.drawPixmap((estacion.width() - imagen.width()) / 2, (estacion.height() - imagen.height()) / 2,
               imagen);
  p.end();
  dialogo->hide();
  return lienzo.save(archivo);
}

// The row of the return screen's grid that a step's line names: "fila" as is, or the first
// row of the product key "clave".
int filaDeLinea(const TdocumentoDevolucion& doc, const QJsonObject& linea) {
  if (linea.contains("fila")) return linea.value("fila").toInt(-1);
  const QString clave = linea.value("clave").toString();
  const TGridControl& g = doc.lineas();
  for (int r = 0; r < g.getRowCount(); ++r)
    if (g.getCelda(QStringLiteral("Clave"), r) == clave) return r;
  return -1;
}

QStringList textos(const QJsonValue& v) {
  QStringList t;
  for (const QJsonValue& e : v.toArray()) t << e.toString();
  return t;
}

// Stock in the sale's warehouse and the serial numbers of every product of the ticket, as the
// return left them.
void reportaExistencias(const TdocumentoDevolucion& doc, QJsonObject& resultado) {
  const TGridControl& g = doc.lineas();
  QJsonArray lineas, existencias, series;
  QSet<int> productos;
  for (int r = 0; r < g.getRowCount(); ++r) {
    lineas.append(QJsonObject{{"clave", g.getCelda(QStringLiteral("Clave"), r)},
                              {"descripcion", g.getCelda(QStringLiteral("Descripción"), r)},
                              {"cantidad", g.getCelda(QStringLiteral("Cantidad"), r)},
                              {"devuelto", g.getCelda(QStringLiteral("Devuelto"), r)}});
    const int producto = g.getCeldaAsInt(QStringLiteral("_Producto_id"), r);
    if (producto <= 0 || productos.contains(producto)) continue;
    productos.insert(producto);
    existencias.append(
        QJsonObject{{"clave", g.getCelda(QStringLiteral("Clave"), r)},
                    {"existencia", existenciaProducto(localSYS.getConexion(), doc.venta().almacenID,
                                                      producto, localSYS.getIdNegocio())}});
  }
  const CmidTierResponse s =
      consultaNoSerie(QVariant(), QVariant(), localSYS.getIdNegocio(), localSYS.getConexion());
  for (int i = 0; i < s.getRowCount(); ++i)
    if (productos.contains(s.getCeldaAsInt(QStringLiteral("inventarioProducto_id"), i)))
      series.append(
          QJsonObject{{"noSerie", s.getCelda(QStringLiteral("inventarioNoSerie_noSerie"), i)},
                      {"estado", s.getCelda(QStringLiteral("_estado_leyenda"), i)},
                      {"ticketNo", s.getCelda(QStringLiteral("puntoOperacion_ticketNo"), i)}});
  resultado["lineas"] = lineas;
  resultado["existencias"] = existencias;
  resultado["noSeries"] = series;
}

bool devolucion(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  if (!v.isObject()) {
    *error = QStringLiteral("'devolucion' espera un objeto");
    return false;
  }
  const QJsonObject d = v.toObject();
  const QString tipoTexto = d.value("tipo").toString();
  const int tipo = tipoTexto == QStringLiteral("cambio físico")     ? DEVOLUCION_CAMBIO_FISICO
                   : tipoTexto == QStringLiteral("nota de crédito") ? DEVOLUCION_NOTA_CREDITO
                                                                    : 0;
  if (tipo == 0 && d.contains("tipo")) {
    *error = QStringLiteral("'tipo' es \"cambio físico\" o \"nota de crédito\"");
    return false;
  }
  if (!conductor.encolaRespuestas(d.value("responder").toArray(), error)) return false;

  TFRM_devolucion pantalla;
  QJsonObject resultado;
  pantalla.escribeTicket(d.value("ticket").toVariant().toString());
  pantalla.buscar();
  resultado["mensajeBusqueda"] = pantalla.textoMensaje();
  resultado["encontrado"] = pantalla.documento().cargado();
  resultado["noFacturada"] = pantalla.notaNoFacturadaVisible();
  if (tipo != 0) resultado["tipoHabilitado"] = pantalla.eligeTipo(tipo);

  // Each line through the capture dialog, as the supervisor fills it in; a refused capture
  // is cancelled after its message (the report's messages say why).
  QJsonArray capturas;
  for (const QJsonValue& lv : d.value("lineas").toArray()) {
    const QJsonObject l = lv.toObject();
    const int fila = filaDeLinea(pantalla.documento(), l);
    if (fila < 0 || fila >= pantalla.documento().lineas().getRowCount()) {
      *error = QStringLiteral("el ticket no tiene la línea %1")
                   .arg(l.contains("fila") ? QString::number(l.value("fila").toInt())
                                           : l.value("clave").toString());
      return false;
    }
    QJsonObject captura{{"fila", fila}, {"abierta", false}, {"ok", false}};
    conductor.alDialogo([&](QDialog* dlg) {
      auto* c = qobject_cast<TFRM_capturaDevolucion*>(dlg);
      if (!c) return int(QDialog::Rejected);
      captura["abierta"] = true;
      captura["disponible"] = c->textoDisponible();
      captura["noSeriesOfrecidos"] = QJsonArray::fromStringList(c->noSeriesOfrecidos());
      if (l.contains("cantidad")) c->escribeCantidad(l.value("cantidad").toVariant().toString());
      if (l.contains("motivo") && !c->eligeMotivo(l.value("motivo").toInt()))
        captura["motivoAusente"] = l.value("motivo");
      if (l.contains("estado") && !c->eligeEstado(l.value("estado").toString()))
        captura["estadoAusente"] = l.value("estado");
      for (const QString& s : textos(l.value("noSerie")))
        if (!c->marcaNoSerie(s)) captura["noSerieAusente"] = s;
      c->BTN_aceptarClick();
      if (c->result() != QDialog::Accepted) c->BTN_cancelarClick();
      return c->result();
    });
    pantalla.capturaDevolucion(fila);
    conductor.alDialogo(nullptr);
    captura["devolucion"] =
        pantalla.documento().lineas().getCelda(QStringLiteral("Devolución"), fila);
    captura["ok"] =
        captura.value("abierta").toBool() &&
        pantalla.documento().lineas().getCeldaAsFloat(QStringLiteral("Devolución"), fila) > 0;
    capturas.append(captura);
  }
  resultado["capturas"] = capturas;
  if (d.contains("captura")) {
    resultado["captura"] =
        capturaDialogo(&pantalla, tamanoEstacion(d), d.value("captura").toString());
    resultado["tamanoPantalla"] =
        QStringLiteral("%1x%2").arg(pantalla.width()).arg(pantalla.height());
  }

  // A credit note opens the invoicing screen on the request: "Facturar" unless told to cancel.
  const QJsonObject respuestasFactura = d.value("factura").toObject();
  QJsonObject factura{{"abierta", false}};
  conductor.alDialogo([&](QDialog* dlg) {
    auto* f = qobject_cast<TFRM_facturar*>(dlg);
    if (!f) return int(QDialog::Rejected);
    factura["abierta"] = true;
    factura["receptor"] = f->texto(QStringLiteral("Receptor"));
    factura["relacionado"] = f->texto(QStringLiteral("Relacionado con"));
    factura["importes"] = f->texto(QStringLiteral("Importes"));
    if (respuestasFactura.value("facturar").toBool(true)) f->BTN_facturarClick();
    if (f->result() != QDialog::Accepted) f->BTN_cancelarClick();
    return f->result();
  });
  if (d.value("aceptar").toBool(true)) pantalla.BTN_aceptarDevolucionClick();
  conductor.alDialogo(nullptr);
  if (factura.value("abierta").toBool()) resultado["factura"] = factura;

  const TresultadoDevolucion& r = pantalla.resultado();
  QJsonArray ids;
  for (int id : r.devoluciones) ids.append(id);
  resultado["aceptada"] = pantalla.aceptada();
  resultado["ids"] = ids;
  resultado["uuidNota"] = r.uuidNota;
  resultado["mensajes"] = QJsonArray::fromStringList(r.mensajes);

  // What the sale holds now, read again as a new search shows it.
  TdocumentoDevolucion despues(localSYS);
  despues.buscar(d.value("ticket").toVariant().toString());
  reportaExistencias(despues, resultado);
  agregaAlReporte(conductor, QStringLiteral("devoluciones"), resultado);
  return true;
}

bool asignarNoSerie(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  if (!v.isObject()) {
    *error = QStringLiteral("'asignarNoSerie' espera un objeto");
    return false;
  }
  const QJsonObject a = v.toObject();
  const QString ticket = a.value("ticket").toVariant().toString();
  const QString producto = a.value("producto").toString();
  QJsonObject resultado{{"abierto", false}};
  TFRM_puntoNoSerie pantalla;
  conductor.alDialogo([&](QDialog* dlg) {
    auto* f = qobject_cast<TFRM_asignaNoSerie*>(dlg);
    if (!f) return int(QDialog::Rejected);
    resultado["abierto"] = true;
    f->escribeTicket(ticket);
    f->buscar();
    // The line whose text names the product, else the first.
    const QStringList lineas = f->lineas();
    int linea = 0;
    for (int i = 0; i < lineas.size(); ++i)
      if (!producto.isEmpty() && lineas[i].contains(producto, Qt::CaseInsensitive)) linea = i;
    f->eligeLinea(linea);
    resultado["lineas"] = QJsonArray::fromStringList(lineas);
    resultado["disponibles"] = QJsonArray::fromStringList(f->disponibles());
    QJsonArray ausentes;
    for (const QJsonValue& s : a.value("noSerie").toArray())
      if (!f->marcaNoSerie(s.toString())) ausentes.append(s);
    resultado["noSeriesAusentes"] = ausentes;
    f->BTN_asignarClick();
    resultado["lineasDespues"] = QJsonArray::fromStringList(f->lineas());
    f->BTN_cerrarClick();
    return f->result();
  });
  pantalla.BTN_asignarClick();
  conductor.alDialogo(nullptr);
  // The screen searched again after the dialog: its rows are the serial numbers as they stand.
  // "asignado": every unit asked for is now sold on that ticket.
  const TGridControl& g = pantalla.grid();
  const QStringList pedidos = textos(a.value("noSerie"));
  int vendidos = 0;
  QJsonArray series;
  for (int r = 0; r < g.getRowCount(); ++r) {
    const QString noSerie = g.getCelda(QStringLiteral("No. de Serie"), r);
    const QString estado = g.getCelda(QStringLiteral("Estado"), r);
    const QString ticketNo = g.getCelda(QStringLiteral("Ticket"), r);
    if (pedidos.contains(noSerie) && estado == u_leyendaEstadoNoSerie(NOSERIE_VENDIDO) &&
        ticketNo == ticket)
      ++vendidos;
    if (producto.isEmpty() ||
        g.getCelda(QStringLiteral("Producto"), r).contains(producto, Qt::CaseInsensitive))
      series.append(QJsonObject{{"noSerie", noSerie}, {"estado", estado}, {"ticketNo", ticketNo}});
  }
  resultado["asignado"] = !pedidos.isEmpty() && vendidos == pedidos.size();
  resultado["noSeries"] = series;
  agregaAlReporte(conductor, QStringLiteral("asignacionesNoSerie"), resultado);
  return true;
}

// The module's main panel at the station's size with one side-menu entry chosen; "campos"
// are typed into the screen's named search fields before "Buscar". Reports the entry, the
// rows the screen shows (visible columns by title) and its message.
bool entradaMenu(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject m = v.toObject();
  const QString entrada = m.value("entrada").toString();
  if (entrada.isEmpty()) {
    *error = QStringLiteral("'entradaMenu' espera {\"entrada\": ...}");
    return false;
  }
  QWidget* panel = TFRM_main_puntoVenta::ExecForm(localSYS);
  TFRM_main_puntoVenta* forma = TFRM_main_puntoVenta::desdePanel(panel);
  panel->resize(tamanoEstacion(m));
  panel->show();
  QJsonObject resultado{{"entrada", entrada}, {"elegida", forma->eligeEntrada(entrada)}};
  QApplication::processEvents();
  QWidget* activa = forma->getVentanaActiva();
  TPantallaNombrada* nombrada = dynamic_cast<TPantallaNombrada*>(activa);
  const QJsonObject campos = m.value("campos").toObject();
  if (nombrada && !campos.isEmpty()) {
    for (auto c = campos.constBegin(); c != campos.constEnd(); ++c)
      nombrada->escribe(c.key(), c.value().toString());
    nombrada->pulsa(QStringLiteral("Buscar"));
  }
  const TGridControl* g = nullptr;
  if (auto* lista = qobject_cast<TListaPantalla*>(activa)) {
    g = &lista->grid();
    resultado["mensaje"] = lista->visible(QStringLiteral("Mensaje"))
                               ? lista->texto(QStringLiteral("Mensaje"))
                               : QString();
  } else if (auto* series = qobject_cast<TFRM_puntoNoSerie*>(activa)) {
    g = &series->grid();
    resultado["mensaje"] = series->textoMensaje();
  }
  QJsonArray filas;
  for (int r = 0; g && r < g->getRowCount(); ++r) {
    QJsonObject fila;
    for (int c = 0; c < g->getColumnCount(); ++c)
      if (g->columna(c).visible && g->columna(c).tipo != TGridControl::Imagen)
        fila.insert(g->columna(c).nombre, g->getCelda(c, r));
    filas.append(fila);
  }
  resultado["filas"] = filas;
  QApplication::processEvents();
  if (m.contains("captura"))
    resultado["captura"] = panel->grab().save(m.value("captura").toString());
  delete panel;
  agregaAlReporte(conductor, QStringLiteral("entradasMenu"), resultado);
  return true;
}

const TPasosGuion::Registro kPasosDevoluciones{
    {"devolucion", devolucion},
    {"asignarNoSerie", asignarNoSerie},
    {"entradaMenu", entradaMenu},
};

}  // namespace
