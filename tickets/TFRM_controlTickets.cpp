#include "tickets/TFRM_controlTickets.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTableView>

#include "facturacion/facturaTicket.h"
#include "grid/TGridControl.h"
#include "operaciones/puntoVenta.h"
#include "operaciones/tickets.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/programaPredeterminado.h"
#include "shell/registroPantallas.h"
#include "tickets/TFRM_facturaGlobal.h"
#include "tickets/TFRM_tickerVer.h"
#include "tickets/reglas/cargaPendientes.h"
#include "tickets/reglas/estadosTicket.h"
#include "tickets/reglas/reintentoCarga.h"
#include "ui/TFRM_enviarcorreoElectronico.h"
#include "ui/TFRM_espere.h"
#include "ui/TFRM_facturar.h"
#include "ui/descargaPDFFactura.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"
#include "workers/TgeneraTicketConWS.h"

REGISTRA_PANTALLA(TFRM_controlTickets);

namespace {

TListaPantalla::Opciones opciones() {
  TListaPantalla::Opciones o;
  o.verTodos = false;  // its filters are dates: nothing to clear
  o.limpiarBusca = true;
  return o;
}

const char* kVerTicket = "Ver ticket";
const char* kSubirTicket = "Subir Ticket";
const char* kFacturar = "Facturar";
const char* kVerPDF = "Ver PDF";
const char* kEnviarCorreo = "Enviar Correo Electrónico";

}  // namespace

TFRM_controlTickets::TFRM_controlTickets(QWidget* parent)
    : TListaPantalla(QStringLiteral("Control de Tickets"), opciones(), parent) {
  agregaFiltro(QStringLiteral("Desde"), campoFecha(QStringLiteral("Desde"), &DTP_fechaInicial));
  agregaFiltro(QStringLiteral("Hasta"), campoFecha(QStringLiteral("Hasta"), &DTP_fechaFinal));
  // The names go to the date edits themselves, not to the boxes holding them.
  nombra(QStringLiteral("Desde"), DTP_fechaInicial);
  nombra(QStringLiteral("Hasta"), DTP_fechaFinal);
  TXT_sesion =
      agregaCampoBusqueda(QStringLiteral("No. Sesión"), QStringLiteral("TXT_sesion"), 9, 120);
  TXT_sesion->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), TXT_sesion));
  TXT_sesion->setInputMethodHints(Qt::ImhDigitsOnly);

  // The state filter exists but is not offered: hidden and empty.
  CMB_estado = new QComboBox(this);
  CMB_estado->hide();
  auto* reiniciaEstado = new QPushButton(this);
  reiniciaEstado->hide();
  connect(reiniciaEstado, &QPushButton::clicked, this, [this] {
    CMB_estado->setCurrentIndex(-1);
    buscar();
  });
  nombra(QStringLiteral("Estado"), CMB_estado);
  nombra(QStringLiteral("Reiniciar Estado"), reiniciaEstado);

  LBL_total = new QLabel(this);
  LBL_total->setStyleSheet(QStringLiteral("font-size:20px;font-weight:700;color:#1F3A56;"));
  LBL_total->setMinimumWidth(150);
  agregaFiltro(QStringLiteral("Total"), LBL_total);

  BTN_facturaGlobal = agregaBotonAccion(QStringLiteral("Factura Global"));
  BTN_actualizaEstado = agregaBotonAccion(QStringLiteral("Actualiza Tickets Estado"));
  BTN_cargarPendientes = agregaBotonAccion(QStringLiteral("Cargar Pendientes"));
  connect(BTN_cargarPendientes, &QPushButton::clicked, this,
          &TFRM_controlTickets::subeTicketsFaltantes);
  connect(BTN_actualizaEstado, &QPushButton::clicked, this,
          &TFRM_controlTickets::compruebaEstadoTickets);
  connect(BTN_facturaGlobal, &QPushButton::clicked, this, &TFRM_controlTickets::facturaGlobal);

  popOpcionesMenu = new QMenu(this);
  popOpcionesMenu->setStyleSheet(
      QStringLiteral("QMenu{font-size:17px;padding:6px;background:white;border:1px solid #C5CED8;}"
                     "QMenu::item{padding:12px 40px 12px 24px;min-width:220px;}"
                     "QMenu::item:selected{background:#1F6FB2;color:white;}"
                     "QMenu::separator{height:1px;background:#D5DBE1;margin:4px 8px;}"));
  MNU_verTicket = popOpcionesMenu->addAction(QString::fromUtf8(kVerTicket));
  MNU_subirTicket = popOpcionesMenu->addAction(QString::fromUtf8(kSubirTicket));
  MNU_facturar = popOpcionesMenu->addAction(QString::fromUtf8(kFacturar));
  MNU_separador = popOpcionesMenu->addSeparator();
  MNU_verPDF = popOpcionesMenu->addAction(QString::fromUtf8(kVerPDF));
  MNU_enviarCorreo = popOpcionesMenu->addAction(QString::fromUtf8(kEnviarCorreo));
  connect(MNU_verTicket, &QAction::triggered, this, &TFRM_controlTickets::verTicket);
  connect(MNU_subirTicket, &QAction::triggered, this, &TFRM_controlTickets::subeTicket);
  connect(MNU_facturar, &QAction::triggered, this, &TFRM_controlTickets::facturarOperacion);
  connect(MNU_verPDF, &QAction::triggered, this, &TFRM_controlTickets::verPDF);
  connect(MNU_enviarCorreo, &QAction::triggered, this, &TFRM_controlTickets::enviarCorreo);

  for (const char* centrada : {"Sesión", "Ticket", "Uuid"})
    delegado()->setPintura(QString::fromUtf8(centrada), TPintura::Centro);
  delegado()->setPintura(QStringLiteral("Total"), TPintura::Moneda);
  delegado()->setPintura(QStringLiteral("Fecha Operación"), TPintura::Fecha);
  preparaGrid();
  LBL_total->setText(u_formatoMoneda(0));
  GRD_main->setColumnHidden(grid().indiceColumna(QStringLiteral("Cargado")), true);
}

TFRM_controlTickets::~TFRM_controlTickets() = default;

QWidget* TFRM_controlTickets::campoFecha(const QString& etiqueta, QDateEdit** campo) {
  auto* caja = new QWidget(this);
  auto* l = new QHBoxLayout(caja);
  l->setContentsMargins(0, 0, 0, 0);
  l->setSpacing(4);
  auto* fecha = new QDateEdit(QDate::currentDate(), caja);
  fecha->setCalendarPopup(true);
  fecha->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  fecha->setMinimumHeight(44);
  fecha->setMinimumWidth(150);
  fecha->setStyleSheet(QStringLiteral("QDateEdit{font-size:16px;padding:4px 8px;}"));
  auto* reinicia = new QPushButton(QStringLiteral("↺"), caja);
  reinicia->setProperty("rol", QStringLiteral("borrar"));
  reinicia->setFocusPolicy(Qt::NoFocus);
  reinicia->setToolTip(QStringLiteral("Hoy"));
  connect(reinicia, &QPushButton::clicked, this, [this, fecha] {
    fecha->setDate(QDate::currentDate());
    buscar();
  });
  l->addWidget(fecha);
  l->addWidget(reinicia);
  nombra(QStringLiteral("Reiniciar ") + etiqueta, reinicia);
  *campo = fecha;
  return caja;
}

void TFRM_controlTickets::declaraColumnas(TGridControl& g) {
  g.add(2, QStringLiteral("Estado"), QString(), QString(), 50, true);
  g.add(0, QStringLiteral("_metodo"), QStringLiteral("puntoOperacion_facturadoMetodo"), QString(),
        70, false);
  g.add(2, QStringLiteral("Facturar"), QString(), QString(), 70, false);
  g.add(0, QStringLiteral("_facturar"), QStringLiteral("_facturar"), QString(), 70, false);
  g.add(2, QStringLiteral("Cargado"), QString(), QString(), 60, true);
  g.add(0, QStringLiteral("_cargado"), QStringLiteral("_facturar"), QString(), 70, false);
  g.add(0, QStringLiteral("_operacionID"), QStringLiteral("puntoOperacion_id"), QString(), 60,
        false);
  g.add(0, QStringLiteral("Sesión"), QStringLiteral("puntoCajaSesion_id"), QString(), 50, true);
  g.add(0, QStringLiteral("Ticket"), QStringLiteral("puntoOperacion_ticketNo"), QString(), 50,
        true);
  g.add(0, QStringLiteral("Total"), QStringLiteral("puntoOperacion_total"), QString(), 90, true);
  g.add(0, QStringLiteral("Fecha Operación"), QStringLiteral("puntoOperacion_fechaHora"), QString(),
        185, true);
  g.add(0, QStringLiteral("Ticket"), QStringLiteral("puntoOperacion_uuid"), QString(), 260, true);
  g.add(0, QStringLiteral("Uuid"), QStringLiteral("puntoOperacionAdicional_uuid"), QString(), 260,
        true);
  g.add(0, QStringLiteral("_subtotal"), QStringLiteral("--"), QString(), 200, false);
  g.add(0, QStringLiteral("_descuento"), QStringLiteral("--"), QString(), 200, false);
}

bool TFRM_controlTickets::ventanaValida() {
  if (DTP_fechaInicial->date() <= DTP_fechaFinal->date()) return true;
  u_mensaje(QStringLiteral("La fecha 'Desde' es posterior a la fecha 'Hasta'."));
  return false;
}

CmidTierResponse TFRM_controlTickets::consulta() {
  if (!ventanaValida()) return CmidTierResponse();
  const QString sesion = TXT_sesion->text().trimmed();
  const QVariant nulo(QMetaType::fromType<int>());
  const QVariant filtroSesion = sesion.isEmpty() ? nulo : QVariant(sesion.toLongLong());
  const QVariant estado =
      CMB_estado->currentIndex() >= 0 ? QVariant(CMB_estado->currentIndex()) : nulo;
  return buscarOperacionesporSesionFecha(filtroSesion, DTP_fechaInicial->dateTime(),
                                         DTP_fechaFinal->dateTime(), nulo, estado,
                                         localSYS.getIdNegocio(), localSYS.getConexion());
}

void TFRM_controlTickets::despuesDeCargar() {
  TGridControl& g = grid();
  QList<double> totales;
  for (int f = 0; f < g.getRowCount(); ++f) {
    g.setCelda(QStringLiteral("Estado"), f,
               imagenEstadoTicket(g.getCelda(QStringLiteral("_metodo"), f)));
    totales << g.getCeldaAsFloat(QStringLiteral("Total"), f);
  }
  g.refresca();
  LBL_total->setText(
      u_formatoMoneda(totales.isEmpty() ? 0 : u_acumulaFloat(2, totales, int(totales.size()) - 1)));
  // What was just uploaded or invoiced changes the main panel's count too.
  if (TreintentoCargaTickets* r = u_reintentoCarga()) r->cuentaPendientes();
}

void TFRM_controlTickets::limpiaFiltros() {
  TListaPantalla::limpiaFiltros();
  DTP_fechaInicial->setDate(QDate::currentDate());
  DTP_fechaFinal->setDate(QDate::currentDate());
  CMB_estado->setCurrentIndex(-1);
}

QVector<TColumnaPDF> TFRM_controlTickets::columnasPDF() const {
  return {
      {QStringLiteral("Sesión"), 40, 0, 1}, {QStringLiteral("Ticket"), 50, 0, 1},
      {QStringLiteral("Total"), 40, 1, 2},  {QStringLiteral("Fecha"), 120, 0, 1},
      {QStringLiteral("UUID"), 150, 0, 0},  {QStringLiteral("Fecha Hora Facturado"), 120, 0, 0}};
}

void TFRM_controlTickets::liberacionEnGrid(int fila, int columna, const QPoint& global) {
  Q_UNUSED(columna);
  abreMenu(fila, global);
}

void TFRM_controlTickets::popOpciones(int fila) {
  for (QAction* a : popOpcionesMenu->actions()) a->setVisible(true);
  const TaccionesTicket a = accionesTicket(grid().getCelda(QStringLiteral("_metodo"), fila));
  MNU_subirTicket->setVisible(a.subirTicket);
  MNU_facturar->setVisible(a.facturar);
  MNU_verPDF->setVisible(a.verPDF);
  MNU_enviarCorreo->setVisible(a.enviarCorreo);
}

void TFRM_controlTickets::abreMenu(int fila, const QPoint& global) {
  if (fila < 0 || fila >= grid().getRowCount()) return;
  uFila = fila;
  popOpciones(fila);
  if (uMuestraMenu) {
    // Kept on screen: raised by what would pass the screen's bottom.
    QPoint p = global;
    const QScreen* pantalla = QGuiApplication::screenAt(global);
    const int alto = pantalla ? pantalla->geometry().height() : 768;
    if (p.y() + 150 > alto - 50) p.ry() -= p.y() + 150 - (alto - 50);
    popOpcionesMenu->exec(p);
    buscar();
  }
}

QStringList TFRM_controlTickets::opcionesMenu() const {
  QStringList r;
  for (const QAction* a : popOpcionesMenu->actions())
    if (a->isVisible() && !a->isSeparator()) r << a->text();
  return r;
}

bool TFRM_controlTickets::eligeOpcion(const QString& entrada) {
  for (QAction* a : popOpcionesMenu->actions()) {
    if (a->isSeparator() || !a->isVisible() || a->text() != entrada) continue;
    a->trigger();
    return true;
  }
  return false;
}

QVector<TfilaControl> TFRM_controlTickets::tickets() const {
  const TGridControl& g = grid();
  // Two columns are titled "Ticket": the number, and the identifier at the service.
  int identificador = -1;
  for (int c = 0; c < g.getColumnCount(); ++c)
    if (g.columna(c).campo == QLatin1String("puntoOperacion_uuid")) identificador = c;
  QVector<TfilaControl> r;
  for (int f = 0; f < g.getRowCount(); ++f)
    r.append({g.getCeldaAsInt(QStringLiteral("_operacionID"), f),
              g.getCelda(QStringLiteral("Sesión"), f), g.getCelda(QStringLiteral("Ticket"), f),
              g.getCelda(QStringLiteral("Total"), f),
              g.getCelda(QStringLiteral("Fecha Operación"), f),
              g.getCelda(QStringLiteral("_metodo"), f), g.getCelda(identificador, f),
              g.getCelda(QStringLiteral("Uuid"), f)});
  return r;
}

QString TFRM_controlTickets::celda(const QString& columna) const {
  if (uFila < 0 || uFila >= grid().getRowCount()) return QString();
  return grid().getCelda(columna, uFila);
}

void TFRM_controlTickets::verTicket() {
  const int op = u_strToInt(celda(QStringLiteral("_operacionID")));
  if (op <= 0) return;
  TFRM_tickerVer ver(this);
  ver.init(op);
}

void TFRM_controlTickets::subeTicket() {
  const int op = u_strToInt(celda(QStringLiteral("_operacionID")));
  if (op <= 0 || !celda(QStringLiteral("_metodo")).isEmpty()) return;
  TgeneraTicketConWS carga;
  std::atomic<bool> activo{true};
  carga.generaTicket(op, &activo);
  TFRM_espere espere(this);
  espere.inicia(&activo);
  buscar();
  const generarTicketRsultado r = carga.getResultado();
  if (!r.ok) u_mensaje(r.mensaje);
}

void TFRM_controlTickets::facturarOperacion() {
  const int op = u_strToInt(celda(QStringLiteral("_operacionID")));
  if (op > 0) {
    TFRM_facturar facturar(this);
    facturar.initPuntoVentaTicket(op, localSYS);
  }
  buscar();
}

void TFRM_controlTickets::consultaCredencialesUsuario() {
  ::consultaCredencialesUsuario(localSYS.getIdNegocio(), localSYS.getConexion(), uCredenciales);
}

void TFRM_controlTickets::verPDF() {
  const QString uuid = celda(QStringLiteral("Uuid")).trimmed();
  if (uuid.isEmpty()) {
    u_mensaje(QStringLiteral("No existe uuid"));
    return;
  }
  consultaCredencialesUsuario();
  uUltimoPDF = u_aseguraPDFFactura(uuid, uCredenciales, localSYS);
  if (!uUltimoPDF.isEmpty()) abreConProgramaPredeterminado(uUltimoPDF);
}

void TFRM_controlTickets::enviarCorreo() {
  const QString uuid = celda(QStringLiteral("Uuid")).trimmed();
  if (uuid.isEmpty()) {
    u_mensaje(QStringLiteral("No existe uuid"));
    return;
  }
  consultaCredencialesUsuario();
  uUltimoPDF = u_aseguraPDFFactura(uuid, uCredenciales, localSYS);
  if (uUltimoPDF.isEmpty()) return;
  TFRM_enviarcorreoElectronico correo(this);
  correo.initPuntoVenta(u_strToInt(celda(QStringLiteral("_operacionID"))), uuid, localSYS);
}

bool TFRM_controlTickets::compruebaInformacionNecesariaTickets() {
  TCredenciales c;
  u_consultaCredencialesUsuario(localSYS.getIdNegocio(), localSYS.getConexion(), c);
  const QString faltan = u_compruebaDatosFacturacion(localSYS.getNegocio(), c.existe);
  if (faltan.isEmpty()) return true;
  u_mensaje(faltan);
  return false;
}

void TFRM_controlTickets::subeTicketsFaltantes() {
  if (!compruebaInformacionNecesariaTickets()) return;
  const TGridControl& g = grid();
  QVector<int> pendientes;
  for (int f = 0; f < g.getRowCount(); ++f)
    if (g.getCelda(QStringLiteral("_metodo"), f).isEmpty())
      pendientes << g.getCeldaAsInt(QStringLiteral("_operacionID"), f);
  if (pendientes.isEmpty()) {
    u_mensaje(QStringLiteral("No hay tickets pendientes por cargar"));
    return;
  }
  if (!u_confirma(QStringLiteral("Se encontraron ") + QString::number(pendientes.size()) +
                  QStringLiteral(" tickets sin cargar. ¿Desea cargarlos ahora?")))
    return;
  std::vector<std::atomic<bool>> banderas(size_t(pendientes.size()));
  QVector<std::atomic<bool>*> punteros;
  for (auto& b : banderas) punteros << &b;
  TcargaPendientes carga;
  carga.inicia(pendientes, punteros);
  TFRM_espere espere(this);
  espere.iniciaArray(punteros);
  buscar();
}

void TFRM_controlTickets::compruebaEstadoTickets() {
  if (!compruebaInformacionNecesariaTickets()) return;
  if (!ventanaValida()) return;
  consultaCredencialesUsuario();
  const TventanaEstado ventana = ventanaEstadoTickets(
      DTP_fechaInicial->dateTime(), DTP_fechaFinal->dateTime(), QDateTime::currentDateTime());
  uThread_GetEstadoTicket = std::make_unique<TthreadGetEstadoTicket>();
  uThread_GetEstadoTicket->setParametros(parametrosEstadoTickets(ventana, uCredenciales));
  connect(uThread_GetEstadoTicket.get(), &TthreadGetEstadoTicket::terminado, this,
          &TFRM_controlTickets::thread_GetEstadoTicket_End);
  // The end handler clears the flag: the wait ends once it has run.
  uThread_EstadoTicketActivo = true;
  uThread_GetEstadoTicket->inicia(localSYS, nullptr);
  TFRM_espere espere(this);
  espere.inicia(&uThread_EstadoTicketActivo);
  buscar();
}

void TFRM_controlTickets::thread_GetEstadoTicket_End() {
  uThread_ResEstadoTicket = uThread_GetEstadoTicket->getResultado();
  uThread_EstadoTicketActivo = false;
  u_mensaje(mensajeEstadoTickets(uThread_ResEstadoTicket));
}

void TFRM_controlTickets::facturaGlobal() {
  if (!compruebaInformacionNecesariaTickets()) return;
  {
    TFRM_facturaGlobal global(this);
    global.init();
  }
  buscar();
}
