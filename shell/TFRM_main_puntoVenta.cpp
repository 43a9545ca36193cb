#include "TFRM_main_puntoVenta.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "operaciones/clientes.h"
#include "shell/menuLateral.h"
#include "tickets/reglas/reintentoCarga.h"
#include "ui/TEstiloComponentesBPLFrm.h"
#include "ui/mensajes.h"
#include "ui/traduccionesQt.h"
#include "util/utilerias.h"

namespace {
constexpr quint32 FONDO_MENU = 0xFFE9E9E9;
constexpr int DURACION_ANIMACION = 200;
constexpr int ANCHO_MENU = 248;
constexpr int ALTO_ITEM = 52;
const QString kCaja = QStringLiteral("Caja");
const QString kControlTickets = QStringLiteral("Control de Tickets");
}  // namespace

QWidget* TFRM_main_puntoVenta::ExecForm(TsistemaDatos& sistemaDatos) {
  SYS_aliasRutaDB.clear();
  localSYS = sistemaDatos;
  SYS_aliasRutaDB = localSYS.conexion ? localSYS.conexion->getDatabase() : QString();
  u_aplicaConfiguracionPlataforma(localSYS);
  u_instalaTraduccionesQt();
  auto* forma = new TFRM_main_puntoVenta();
  forma->init();
  return forma->PNL_puntoVenta;
}

TFRM_main_puntoVenta* TFRM_main_puntoVenta::desdePanel(QWidget* panel) {
  if (!panel) return nullptr;
  return panel->findChild<TFRM_main_puntoVenta*>(QString(), Qt::FindDirectChildrenOnly);
}

TFRM_main_puntoVenta::TFRM_main_puntoVenta() : QObject(nullptr) {
  construyePanel();
  // Created without owner; it lives as long as the panel the host embeds, and with it the
  // screens it created.
  setParent(PNL_puntoVenta);
}

TFRM_main_puntoVenta::~TFRM_main_puntoVenta() {
  for (TModuloMenu& m : modulos)
    if (m.animacion) m.animacion->stop();
  uPantallas.clear();
}

void TFRM_main_puntoVenta::init() {
  uBaseDeDatos = SYS_aliasRutaDB;
  if (!EstiloComponentesBPLFrm) EstiloComponentesBPLFrm = new TEstiloComponentesBPLFrm();
  listaColores = getColores();
  aplicaEstilos();
  reiniciaMenu();
  LBL_moduloNombre->setText(QStringLiteral("Punto de Venta"));
  LBL_negocio->setText(localSYS.getNegocio().getNombre());
  actualizaReloj();
  muestraPendientes(0);
  if (TreintentoCargaTickets* r = u_iniciaReintentoCarga(localSYS)) {
    connect(r, &TreintentoCargaTickets::pendientes, this, &TFRM_main_puntoVenta::muestraPendientes,
            Qt::QueuedConnection);
    r->cuentaPendientes();
  }
}

QString TFRM_main_puntoVenta::textoPendientes() const {
  return BTN_pendientes->isVisibleTo(PNL_puntoVenta) ? BTN_pendientes->text() : QString();
}

void TFRM_main_puntoVenta::muestraPendientes(int cantidad) {
  uPendientes = cantidad;
  BTN_pendientes->setVisible(cantidad > 0);
  BTN_pendientes->setText(cantidad == 1 ? QStringLiteral("1 ticket sin cargar")
                                        : QStringLiteral("%1 tickets sin cargar").arg(cantidad));
}

void TFRM_main_puntoVenta::construyePanel() {
  PNL_puntoVenta = new QWidget();
  PNL_puntoVenta->setObjectName(QStringLiteral("PNL_puntoVenta"));
  auto* l = new QVBoxLayout(PNL_puntoVenta);
  l->setContentsMargins(0, 0, 0, 0);
  l->setSpacing(0);
  l->addWidget(construyeEncabezado());
  auto* fila = new QHBoxLayout();
  fila->setSpacing(0);
  fila->addWidget(construyeMenu());
  _body = new TCuerpoModulo(PNL_puntoVenta);
  _body->setObjectName(QStringLiteral("_body"));
  fila->addWidget(_body, 1);
  l->addLayout(fila, 1);

  PNL_puntoVenta->installEventFilter(this);
  LBL_moduloNombre->installEventFilter(this);
  uReloj = new QTimer(this);
  uReloj->setInterval(10000);
  connect(uReloj, &QTimer::timeout, this, &TFRM_main_puntoVenta::actualizaReloj);
  uReloj->start();
}

QWidget* TFRM_main_puntoVenta::construyeEncabezado() {
  auto* encabezado = new QFrame(PNL_puntoVenta);
  encabezado->setObjectName(QStringLiteral("encabezado"));
  encabezado->setFixedHeight(64);
  auto* l = new QHBoxLayout(encabezado);
  l->setContentsMargins(20, 0, 24, 0);
  l->setSpacing(14);
  auto* icono = new QLabel(encabezado);
  icono->setFixedSize(32, 32);
  icono->setPixmap(mini_imagen(QStringLiteral("menuCajaSel"), icono->size()));
  l->addWidget(icono);
  LBL_moduloNombre = new QLabel(encabezado);
  LBL_moduloNombre->setObjectName(QStringLiteral("LBL_moduloNombre"));
  l->addWidget(LBL_moduloNombre);
  l->addStretch(1);
  // Tickets the invoicing service has not got yet; a touch opens ticket control.
  BTN_pendientes = new QPushButton(encabezado);
  BTN_pendientes->setObjectName(QStringLiteral("BTN_pendientes"));
  BTN_pendientes->setFocusPolicy(Qt::NoFocus);
  BTN_pendientes->setCursor(Qt::PointingHandCursor);
  BTN_pendientes->setMinimumHeight(40);
  BTN_pendientes->hide();
  connect(BTN_pendientes, &QPushButton::clicked, this,
          [this] { eligeEntrada(QStringLiteral("Control de Tickets")); });
  l->addWidget(BTN_pendientes);
  auto* derecha = new QVBoxLayout();
  derecha->setSpacing(2);
  LBL_negocio = new QLabel(encabezado);
  LBL_estacion = new QLabel(encabezado);
  LBL_negocio->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  LBL_estacion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  derecha->addStretch(1);
  derecha->addWidget(LBL_negocio);
  derecha->addWidget(LBL_estacion);
  derecha->addStretch(1);
  l->addLayout(derecha);
  return encabezado;
}

QWidget* TFRM_main_puntoVenta::construyeMenu() {
  auto* area = new QScrollArea(PNL_puntoVenta);
  area->setObjectName(QStringLiteral("areaMenu"));
  area->setFixedWidth(ANCHO_MENU);
  area->setFrameShape(QFrame::NoFrame);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setWidgetResizable(true);
  auto* menu = new QWidget();
  menu->setObjectName(QStringLiteral("menuLateral"));
  auto* l = new QVBoxLayout(menu);
  l->setContentsMargins(0, 0, 0, 0);
  l->setSpacing(0);

  auto* admin =
      new TGrupoMenu(QStringLiteral("Administración"), QStringLiteral("menuAdministracion"), menu);
  agregaElemento(admin->encabezado(), QString(), 12, true, true);
  connect(admin->encabezado(), &QToolButton::clicked, this,
          [this] { controlaModulos(GRUPO_ADMINISTRACION); });
  agregaEntrada(admin, QStringLiteral("Permisos"), QStringLiteral("menuPermisos"), QString(),
                false);
  agregaEntrada(admin, QStringLiteral("Control de Cajas"), QStringLiteral("menuControlCajas"),
                QStringLiteral("TFRM_controlCaja"));
  agregaEntrada(admin, QStringLiteral("Cajeros"), QStringLiteral("menuCajeros"),
                QStringLiteral("TFRM_cajeros"));
  agregaEntrada(admin, QStringLiteral("Formas de Pago"), QStringLiteral("menuFormasPago"),
                QStringLiteral("TFRM_formasPago"));
  agregaEntrada(admin, QStringLiteral("Configuración Ticket"),
                QStringLiteral("menuConfiguracionTicket"),
                QStringLiteral("TFRM_configuracionTicket"));

  auto* servicios =
      new TGrupoMenu(QStringLiteral("Servicios al Cliente"), QStringLiteral("menuServicios"), menu);
  agregaElemento(servicios->encabezado(), QString(), 12, true, true);
  connect(servicios->encabezado(), &QToolButton::clicked, this,
          [this] { controlaModulos(GRUPO_SERVICIOS); });
  agregaEntrada(servicios, QStringLiteral("Control de Cierres"),
                QStringLiteral("menuControlCierres"), QStringLiteral("TFRM_controlCierres"));
  agregaEntrada(servicios, QStringLiteral("Existencias"), QStringLiteral("menuExistencias"),
                QStringLiteral("TFRM_consultarExistencias"));
  agregaEntrada(servicios, QStringLiteral("No. de Serie"), QStringLiteral("menuNoSerie"),
                QStringLiteral("TFRM_puntoNoSerie"));
  agregaEntrada(servicios, QStringLiteral("Devoluciónes"), QStringLiteral("menuDevoluciones"),
                QStringLiteral("TFRM_devolucionesPuntoVenta"));
  agregaEntrada(servicios, QStringLiteral("Notas de Crédito"), QStringLiteral("menuNotasCredito"),
                QStringLiteral("TFRM_notasCreditoPunto"));

  modulos[GRUPO_ADMINISTRACION].elemento = admin;
  modulos[GRUPO_SERVICIOS].elemento = servicios;
  for (TModuloMenu& m : modulos) {
    m.entradas = m.elemento->entradasVisibles();
    l->addWidget(m.elemento);
  }

  const std::pair<QString, QString> items[] = {
      {kCaja, QStringLiteral("TFRM_caja")},
      {kControlTickets, QStringLiteral("TFRM_controlTickets")}};
  for (const auto& [titulo, clase] : items) {
    auto* e = new TElementoMenu(
        titulo, titulo == kCaja ? QStringLiteral("menuCaja") : QStringLiteral("menuControlTickets"),
        ALTO_ITEM, menu);
    e->setIconSize(QSize(26, 26));
    e->setTamLetra(16);
    agregaElemento(e, clase, 12, true, false);
    const QString t = titulo;
    connect(e, &QToolButton::clicked, this, [this, t] { eligeEntrada(t); });
    l->addWidget(e);
  }
  l->addStretch(1);
  area->setWidget(menu);
  return area;
}

void TFRM_main_puntoVenta::agregaEntrada(TGrupoMenu* grupo, const QString& titulo,
                                         const QString& icono, const QString& clase, bool visible) {
  TElementoMenu* e = grupo->agregaEntrada(titulo, icono, visible);
  agregaElemento(e, clase, 30, false, false);
  connect(e, &QToolButton::clicked, this, [this, titulo] { eligeEntrada(titulo); });
}

void TFRM_main_puntoVenta::agregaElemento(TElementoMenu* e, const QString& clase, int sangria,
                                          bool negrita, bool encabezado) {
  uMenu.push_back({e, clase, sangria, negrita, encabezado});
}

void TFRM_main_puntoVenta::aplicaEstilos() {
  TEstiloComponentesBPLFrm& estilo = u_estiloComponentes();
  PNL_puntoVenta->findChild<QFrame*>(QStringLiteral("encabezado"))
      ->setStyleSheet(QStringLiteral("#encabezado{%1}").arg(estilo.estiloEncabezado()));
  LBL_moduloNombre->setStyleSheet(estilo.estiloTituloEncabezado());
  LBL_negocio->setStyleSheet(estilo.estiloTituloEncabezado() +
                             QStringLiteral("font-size:16px;font-weight:600;"));
  LBL_estacion->setStyleSheet(estilo.estiloSubtituloEncabezado());
  BTN_pendientes->setStyleSheet(
      QStringLiteral("#BTN_pendientes{background:#FFF4D6;color:#7A4B00;border:1px solid #E8B84A;"
                     "border-radius:8px;padding:6px 14px;font-size:15px;font-weight:600;}"
                     "#BTN_pendientes:pressed{background:#F5E2B0;}"));
  const QString fondoMenu = TEstiloComponentesBPLFrm::css(FONDO_MENU);
  const QString separador = TEstiloComponentesBPLFrm::css(colorDe(listaColores, "menuSeparador"));
  PNL_puntoVenta->findChild<QScrollArea*>(QStringLiteral("areaMenu"))
      ->setStyleSheet(QStringLiteral("#areaMenu{background:%1;border-right:1px solid %2;}"
                                     "#menuLateral{background:%1;}")
                          .arg(fondoMenu, separador));
  _body->setStyleSheet(
      QStringLiteral("#_body{background:%1;}")
          .arg(TEstiloComponentesBPLFrm::css(colorDe(listaColores, "cuerpoFondo"))));
}

void TFRM_main_puntoVenta::reiniciaMenu() {
  for (TModuloMenu& m : modulos) {
    if (m.animacion) m.animacion->stop();
    m.abierto = false;
    m.elemento->fijaAlto(TGrupoMenu::ALTO_CERRADO);
  }
  uElegida.clear();
  pintaMenu();
}

void TFRM_main_puntoVenta::pintaMenu() {
  const quint32 textoNormal = colorDe(listaColores, QStringLiteral("menuTexto"));
  for (const TEntradaMenu& e : uMenu) {
    const bool elegido = !e.encabezado && e.elemento->text() == uElegida;
    e.elemento->pinta(
        elegido ? colorDe(listaColores, QStringLiteral("menuSeleccionadoFondo")) : FONDO_MENU,
        elegido ? colorDe(listaColores, QStringLiteral("menuSeleccionadoTexto")) : textoNormal,
        elegido, e.sangria, e.negrita, e.encabezado ? 32 : 12);
  }
}

void TFRM_main_puntoVenta::anima(int grupo, int alto) {
  TModuloMenu& m = modulos[grupo];
  if (m.animacion) m.animacion->stop();
  const int desde = m.elemento->maximumHeight();
  auto* animacion = new QParallelAnimationGroup(this);
  // Growing moves the maximum first and shrinking the minimum first, so the minimum never
  // passes the maximum between two frames.
  const QList<QByteArray> propiedades = alto >= desde
                                            ? QList<QByteArray>{"maximumHeight", "minimumHeight"}
                                            : QList<QByteArray>{"minimumHeight", "maximumHeight"};
  for (const QByteArray& propiedad : propiedades) {
    auto* a = new QPropertyAnimation(m.elemento, propiedad, animacion);
    a->setDuration(DURACION_ANIMACION);
    a->setStartValue(desde);
    a->setEndValue(alto);
    a->setEasingCurve(QEasingCurve::OutCubic);
    connect(a, &QVariantAnimation::valueChanged, m.elemento, &TGrupoMenu::actualizaFlecha);
    animacion->addAnimation(a);
  }
  connect(animacion, &QAbstractAnimation::finished, m.elemento, &TGrupoMenu::actualizaFlecha);
  m.animacion = animacion;
  animacion->start(QAbstractAnimation::DeleteWhenStopped);
}

void TFRM_main_puntoVenta::controlaModulos(int grupo) {
  if (grupo < 0 || grupo >= static_cast<int>(modulos.size())) return;
  const bool estabaAbierto = modulos[grupo].abierto;
  for (int i = 0; i < static_cast<int>(modulos.size()); ++i) {
    if (!modulos[i].abierto) continue;
    anima(i, TGrupoMenu::ALTO_CERRADO);
    modulos[i].abierto = false;
  }
  if (estabaAbierto) return;
  anima(grupo, TGrupoMenu::altoAbierto(modulos[grupo].entradas));
  modulos[grupo].abierto = true;
}

void TFRM_main_puntoVenta::colapsaTodo() {
  for (int i = 0; i < static_cast<int>(modulos.size()); ++i) {
    if (!modulos[i].abierto) continue;
    anima(i, TGrupoMenu::ALTO_CERRADO);
    modulos[i].abierto = false;
  }
}

bool TFRM_main_puntoVenta::eligeEntrada(const QString& titulo) {
  const TEntradaMenu* entrada = nullptr;
  for (const TEntradaMenu& e : uMenu)
    if (e.elemento->text() == titulo) entrada = &e;
  if (!entrada || entrada->encabezado || entrada->elemento->isHidden()) return false;
  // An entry whose screen this module does not have yet says so instead of emptying the body.
  const std::optional<TRegistroPantalla> registro = buscaPantalla(entrada->clase);
  if (!entrada->clase.isEmpty() && (!registro || !registro->fabrica)) {
    u_mensaje(QStringLiteral("\"%1\" todavía no está disponible en este punto de venta.")
                  .arg(titulo),
              mtInformacion);
    return true;
  }
  if (titulo == kCaja || titulo == kControlTickets) colapsaTodo();
  uElegida = titulo;
  pintaMenu();
  muestraPantalla(entrada->clase);
  return true;
}

void TFRM_main_puntoVenta::quitaVentanaActiva() {
  if (ventanaActiva) {
    _body->layout()->removeWidget(ventanaActiva);
    ventanaActiva->hide();
    ventanaActiva->setParent(uPadres.take(ventanaActiva));
  }
  ventanaActiva = nullptr;
  _body->update();
}

void TFRM_main_puntoVenta::muestraPantalla(const QString& clase) {
  quitaVentanaActiva();
  if (clase.isEmpty()) return;
  // Screens of subsystems not built into this module yet are simply not registered.
  const std::optional<TRegistroPantalla> registro = buscaPantalla(clase);
  if (!registro || !registro->fabrica) return;
  std::unique_ptr<TPantallaMenu>& p = uPantallas[clase];
  if (!p) p = registro->fabrica();
  if (!p) {
    uPantallas.erase(clase);
    return;
  }
  if (registro->ventanaPropia) {
    p->init();
    return;
  }
  QWidget* contenido = p->contenido();
  if (!contenido) return;
  ventanaActiva = contenido;
  p->init();
  if (!ventanaActiva) return;
  uPadres.insert(contenido, contenido->parentWidget());
  _body->layout()->addWidget(contenido);
  contenido->show();
}

QVector<QPair<QString, QString>> TFRM_main_puntoVenta::entradasElegibles() const {
  QVector<QPair<QString, QString>> r;
  for (const TEntradaMenu& e : uMenu)
    if (!e.encabezado && !e.elemento->isHidden()) r.append({e.elemento->text(), e.clase});
  return r;
}

TPantallaMenu* TFRM_main_puntoVenta::pantalla(const QString& clase) const {
  auto it = uPantallas.find(clase);
  return it == uPantallas.end() ? nullptr : it->second.get();
}

int TFRM_main_puntoVenta::altoGrupo(int grupo) const {
  return modulos.at(grupo).elemento->maximumHeight();
}

bool TFRM_main_puntoVenta::flechaAbierta(int grupo) const {
  return modulos.at(grupo).elemento->flechaAbierta();
}

bool TFRM_main_puntoVenta::animando() const {
  for (const TModuloMenu& m : modulos)
    if (m.animacion && m.animacion->state() == QAbstractAnimation::Running) return true;
  return false;
}

TElementoMenu* TFRM_main_puntoVenta::elementoMenu(const QString& titulo) const {
  for (const TEntradaMenu& e : uMenu)
    if (e.elemento->text() == titulo) return e.elemento;
  return nullptr;
}

bool TFRM_main_puntoVenta::eventFilter(QObject* objeto, QEvent* evento) {
  if (!uFlagPaintOnce && evento->type() == QEvent::Paint &&
      (objeto == PNL_puntoVenta || objeto == LBL_moduloNombre))
    primerPintado();
  return QObject::eventFilter(objeto, evento);
}

void TFRM_main_puntoVenta::primerPintado() {
  uFlagPaintOnce = true;
  PNL_puntoVenta->removeEventFilter(this);
  LBL_moduloNombre->removeEventFilter(this);
  if (localSYS.conexion) u_rfcPublicoGeneralExiste(localSYS.getIdNegocio(), localSYS.getConexion());
}

void TFRM_main_puntoVenta::actualizaReloj() {
  const QString fecha = u_fechaHoraTexto(QDateTime::currentDateTime()).left(16);
  LBL_estacion->setText(QStringLiteral("Estación %1   ·   %2").arg(u_getPCName(), fecha));
}
