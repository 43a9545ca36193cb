// Steps of looking back at register sessions: the session view of one session (its three
// grids, total and charts as JSON, and a picture), and the closings control of a date range and
// cashier (its rows, chart and a picture of the module's panel with it chosen).
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QScreen>
#include <memory>

#include "ConductorCaja.h"
#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "pasos.h"
#include "sessions/TFRM_controlCierres.h"
#include "sessions/TFRM_verSesion.h"
#include "sessions/graficaBarras.h"
#include "shell/TFRM_main_puntoVenta.h"

namespace {

QJsonObject objeto(const QJsonValue& v, const char* paso, QString* error) {
  if (v.isObject()) return v.toObject();
  *error = QStringLiteral("'%1' espera un objeto").arg(QLatin1String(paso));
  return QJsonObject();
}

// The grid's visible columns named in `columnas` (JSON key -> column title), row by row.
QJsonArray filas(const TGridControl& g, const QList<QPair<const char*, const char*>>& columnas) {
  QJsonArray a;
  for (int f = 0; f < g.getRowCount(); ++f) {
    QJsonObject fila;
    for (const auto& [clave, titulo] : columnas)
      fila.insert(QLatin1String(clave), g.getCelda(QString::fromUtf8(titulo), f));
    a.append(fila);
  }
  return a;
}

// A chart as its data: categories and, per series, its values in pesos.
QJsonObject graficaJson(const TGraficaBarras& g) {
  QJsonArray series;
  for (const TserieGrafica& s : g.datos().series) {
    QJsonArray valores;
    for (qint64 c : s.centavos) valores.append(static_cast<double>(c) / 100.0);
    series.append(QJsonObject{{"nombre", s.nombre}, {"valores", valores}});
  }
  return QJsonObject{{"categorias", QJsonArray::fromStringList(g.datos().categorias)},
                     {"series", series},
                     {"vacia", g.muestraVacia()},
                     {"ejeMonto", QJsonArray::fromStringList(g.etiquetasMonto())}};
}

// The station's size unless the step gives "ancho" and "alto".
QSize tamanoPedido(const QJsonObject& o) {
  const QSize pantalla = QGuiApplication::primaryScreen()->size();
  return QSize(o.value("ancho").toInt(pantalla.width()), o.value("alto").toInt(pantalla.height()));
}

bool guardaImagen(QWidget* w, const QSize& tamano, const QString& archivo) {
  w->resize(w->size().boundedTo(tamano));
  w->show();
  QApplication::processEvents();
  const bool ok = w->grab().save(archivo);
  w->hide();
  return ok;
}

// "verSesion": {"sesion": number or text as typed, "archivo": png, "ancho", "alto"}.
bool verSesion(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = objeto(v, "verSesion", error);
  if (!error->isEmpty()) return false;
  if (!o.contains("sesion")) {
    *error = QStringLiteral("falta 'sesion'");
    return false;
  }
  TFRM_verSesion s;
  s.escribe(QStringLiteral("No. Sesión"), o.value("sesion").toVariant().toString());
  s.pulsa(QStringLiteral("Buscar"));
  QJsonObject r{{"numero", s.sesionMostrada()},
                {"encabezado", s.texto(QStringLiteral("Sesión"))},
                {"total", s.texto(QStringLiteral("Total"))},
                {"tickets", filas(s.gridTickets(), {{"operacionID", "_operacionID"},
                                                    {"ticket", "Ticket NO."},
                                                    {"fecha", "Fecha Hora Operación"},
                                                    {"total", "Total"},
                                                    {"uuid", "UUID"},
                                                    {"facturado", "Fecha Hora Facturación"}})},
                {"productos", filas(s.gridProductos(), {{"productoID", "_productoID"},
                                                        {"producto", "Producto"},
                                                        {"cantidad", "Cantidad"}})},
                {"metodosPago",
                 filas(s.gridMetodoPago(), {{"metodo", "Metodo de Pago"}, {"total", "Total"}})},
                {"graficas", QJsonObject{{"ventasPorHora", graficaJson(s.graficaVentas())},
                                         {"metodosPago", graficaJson(s.graficaMetodos())}}}};
  const QString archivo = o.value("archivo").toString();
  if (!archivo.isEmpty())
    r["captura"] =
        QJsonObject{{"archivo", archivo}, {"guardada", guardaImagen(&s, tamanoPedido(o), archivo)}};
  conductor.reportaOtraVez(QStringLiteral("sesion"), QStringLiteral("sesiones"), r);
  return true;
}

// "controlCierres": {"desde", "hasta" (yyyy-MM-dd, today by default), "cajero" (a cashier's key,
// chosen in the cashier selection), "archivo": png, "ancho", "alto"}.
bool controlCierres(ConductorCaja& conductor, const QJsonValue& v, QString* error) {
  const QJsonObject o = v.isObject() ? v.toObject() : QJsonObject();
  const QSize tamano = tamanoPedido(o);
  std::unique_ptr<QWidget> panel(TFRM_main_puntoVenta::ExecForm(localSYS));
  TFRM_main_puntoVenta* principal = TFRM_main_puntoVenta::desdePanel(panel.get());
  panel->resize(tamano);
  panel->show();
  QApplication::processEvents();
  if (!principal->eligeEntrada(QStringLiteral("Control de Cierres"))) {
    *error = QStringLiteral("el menú no ofrece \"Control de Cierres\"");
    return false;
  }
  auto* c = qobject_cast<TFRM_controlCierres*>(principal->getVentanaActiva());
  if (!c) {
    *error = QStringLiteral("\"Control de Cierres\" no abrió su pantalla");
    return false;
  }
  const QString hoy = QDate::currentDate().toString(Qt::ISODate);
  c->escribe(QStringLiteral("Fecha Inicial"), o.value("desde").toString(hoy));
  c->escribe(QStringLiteral("Fecha Final"), o.value("hasta").toString(hoy));
  const QString clave = o.value("cajero").toString();
  if (!clave.isEmpty()) {
    conductor.alDialogo(u_guionEligeCajero(clave));
    c->pulsa(QStringLiteral("Seleccionar cajero"));
    conductor.alDialogo(nullptr);
    if (!c->uSeleccionCajero.ok) {
      *error = QStringLiteral("no hay un cajero activo con la clave '%1'").arg(clave);
      return false;
    }
  }
  c->pulsa(QStringLiteral("Buscar"));
  QJsonObject r{
      {"cajero", c->texto(QStringLiteral("Cajero"))},
      {"mensaje",
       c->visible(QStringLiteral("Mensaje")) ? c->texto(QStringLiteral("Mensaje")) : QString()},
      {"filas", filas(c->grid(), {{"caja", "Caja"},
                                  {"sesion", "Sesión"},
                                  {"nombre", "Nombre"},
                                  {"fechaHora", "Fecha Hora"},
                                  {"tipo", "Tipo"},
                                  {"monto", "Monto"}})},
      {"grafica", graficaJson(c->graficaRetiros())}};
  const QString archivo = o.value("archivo").toString();
  if (!archivo.isEmpty()) {
    QApplication::processEvents();
    r["captura"] = QJsonObject{{"archivo", archivo}, {"guardada", panel->grab().save(archivo)}};
  }
  conductor.reporta(QStringLiteral("cierres"), r);
  return true;
}

const TPasosGuion::Registro kPasosSesiones{{
    {"verSesion", verSesion},
    {"controlCierres", controlCierres},
    },
    true};

}  // namespace
