#include "ui/TFRM_facturar.h"

#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <atomic>

#include "facturacion/rfc.h"
#include "operaciones/puntoVenta.h"
#include "signing/firma.h"
#include "ui/TFRM_espere.h"
#include "ui/TTecladoCampos.h"
#include "ui/TTecladoPantalla.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"
#include "workers/TgeneraTicketConWS.h"
#include "workers/TtimbraFacturaConWS.h"

TFRM_facturar* FRM_facturar = nullptr;

namespace {

// The on-screen keyboard types lower case; RFCs and fiscal names are written in capitals.
void enMayusculas(QLineEdit* campo) {
  QObject::connect(campo, &QLineEdit::textChanged, campo, [campo](const QString& t) {
    const QString m = t.toUpper();
    if (m == t) return;
    const int cursor = campo->cursorPosition();
    campo->setText(m);
    campo->setCursorPosition(cursor);
  });
}

void llenaCatalogo(QComboBox* combo, const QVector<TclaveSAT>& catalogo) {
  combo->addItem(QStringLiteral("Seleccione..."), QString());
  for (const TclaveSAT& c : catalogo)
    combo->addItem(c.clave + QStringLiteral(" - ") + c.descripcion, c.clave);
}

}  // namespace

TFRM_facturar::TFRM_facturar(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_facturar"));
  construye();
}

void TFRM_facturar::construye() {
  resize(1000, 640);
  uTeclado = new TTecladoCampos(this);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(24, 18, 24, 18);
  raiz->setSpacing(14);
  LBL_titulo = new QLabel(QStringLiteral("Facturar Ticket"), this);
  raiz->addWidget(LBL_titulo);

  auto* resumen = new QFrame(this);
  resumen->setObjectName(QStringLiteral("resumenTicket"));
  auto* hr = new QGridLayout(resumen);
  hr->setContentsMargins(18, 12, 18, 12);
  hr->setHorizontalSpacing(28);
  const auto dato = [this, hr](int columna, const QString& leyenda, QLabel** etiqueta = nullptr) {
    auto* l = new QLabel(leyenda, this);
    l->setProperty("rol", QStringLiteral("leyenda"));
    auto* v = new QLabel(this);
    v->setProperty("rol", QStringLiteral("valor"));
    hr->addWidget(l, 0, columna);
    hr->addWidget(v, 1, columna);
    if (etiqueta) *etiqueta = l;
    return v;
  };
  LBL_ticket = dato(0, QStringLiteral("Ticket"), &LBL_ticketLeyenda);
  LBL_fecha = dato(1, QStringLiteral("Fecha"));
  LBL_total = dato(2, QStringLiteral("Total"));
  LBL_formaPago = dato(3, QStringLiteral("Forma de pago"));
  hr->setColumnStretch(3, 1);
  raiz->addWidget(resumen);

  uPaginas = new QStackedWidget(this);
  uPaginas->addWidget(construyeCaptura());
  uPaginas->addWidget(construyeResumen());
  raiz->addWidget(uPaginas, 1);

  auto* botones = new QHBoxLayout();
  botones->addStretch();
  BTN_facturar = new QPushButton(QStringLiteral("Facturar"), this);
  BTN_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  botones->addWidget(BTN_facturar);
  botones->addWidget(BTN_cancelar);
  raiz->addLayout(botones);

  aplicaColoresDialogo(
      this, LBL_titulo, getColores(),
      QStringLiteral("QFrame#resumenTicket{background:white;border:1px solid #D5DBE1;"
                     "border-radius:8px;}"
                     "QTableWidget{font-size:15px;background:white;border:1px solid #D5DBE1;"
                     "border-radius:8px;gridline-color:#E4E9EE;}"
                     "QHeaderView::section{font-size:14px;font-weight:600;padding:6px;"
                     "background:#E4E9EE;border:none;}"));
  estiloBotones({BTN_facturar, BTN_cancelar}, getColores());
  BTN_facturar->setMinimumHeight(52);
  BTN_cancelar->setMinimumHeight(52);
  for (const auto& [nombre, control] : std::initializer_list<std::pair<const char*, QWidget*>>{
           {"Título", LBL_titulo},
           {"Ticket", LBL_ticket},
           {"Fecha", LBL_fecha},
           {"Total", LBL_total},
           {"Forma de pago", LBL_formaPago},
           {"RFC", TXT_rfc},
           {"Nombre o razón social", TXT_nombre},
           {"Código postal", TXT_codigoPostal},
           {"Régimen fiscal", CMB_regimenFiscal},
           {"Uso del CFDI", CMB_usoCFDI},
           {"Correo electrónico", TXT_correo},
           {"Receptor", LBL_receptor},
           {"Uso del CFDI del receptor", LBL_usoCFDI},
           {"Relacionado con", LBL_relacionado},
           {"Conceptos", GRD_conceptos},
           {"Importes", LBL_importes},
           {"Facturar", BTN_facturar},
           {"Cancelar", BTN_cancelar},
           {"Teclado", uTeclado->teclado()}})
    nombra(QString::fromUtf8(nombre), control);
  connect(BTN_facturar, &QPushButton::clicked, this, &TFRM_facturar::BTN_facturarClick);
  connect(BTN_cancelar, &QPushButton::clicked, this, &TFRM_facturar::BTN_cancelarClick);
  connect(TXT_rfc, &QLineEdit::editingFinished, this, [this] { buscaReceptor(); });
  connect(uTeclado, &TTecladoCampos::enter, this, [this](QWidget* c) {
    if (c == TXT_rfc) buscaReceptor();
  });
}

QWidget* TFRM_facturar::construyeCaptura() {
  auto* pagina = new QWidget(this);
  auto* g = new QGridLayout(pagina);
  g->setContentsMargins(0, 0, 0, 0);
  g->setHorizontalSpacing(18);
  g->setVerticalSpacing(12);
  const auto campo = [this](int longitud, bool simbolos = false) {
    auto* c = new QLineEdit(this);
    c->setMaxLength(longitud);
    c->setMinimumHeight(44);
    uTeclado->agrega(c, simbolos);
    return c;
  };
  TXT_rfc = campo(13, true);
  enMayusculas(TXT_rfc);
  TXT_rfc->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[A-Za-zÑñ&0-9]*")), TXT_rfc));
  TXT_nombre = campo(254, true);
  enMayusculas(TXT_nombre);
  TXT_codigoPostal = campo(5);
  TXT_codigoPostal->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
  TXT_correo = campo(100, true);
  CMB_regimenFiscal = new QComboBox(this);
  CMB_usoCFDI = new QComboBox(this);
  for (QComboBox* c : {CMB_regimenFiscal, CMB_usoCFDI}) c->setMinimumHeight(44);
  llenaCatalogo(CMB_regimenFiscal, u_catalogoRegimenFiscal());
  llenaCatalogo(CMB_usoCFDI, u_catalogoUsoCFDI());

  u_agregaCampo(g, 0, 0, QStringLiteral("* RFC"), TXT_rfc);
  u_agregaCampo(g, 0, 1, QStringLiteral("* Código postal"), TXT_codigoPostal);
  u_agregaCampo(g, 1, 0, QStringLiteral("* Nombre o razón social"), TXT_nombre, 2);
  u_agregaCampo(g, 2, 0, QStringLiteral("* Régimen fiscal"), CMB_regimenFiscal, 2);
  u_agregaCampo(g, 3, 0, QStringLiteral("* Uso del CFDI"), CMB_usoCFDI);
  u_agregaCampo(g, 3, 1, QStringLiteral("Correo electrónico"), TXT_correo);
  g->setColumnStretch(0, 3);
  g->setColumnStretch(1, 2);
  g->setRowStretch(4, 1);
  return pagina;
}

void TFRM_facturar::limpia() {
  for (QLineEdit* c : {TXT_rfc, TXT_nombre, TXT_codigoPostal, TXT_correo}) c->clear();
  CMB_regimenFiscal->setCurrentIndex(0);
  CMB_usoCFDI->setCurrentIndex(0);
  uTeclado->oculta();
  uUuid.clear();
  uFacturado = false;
  uTimbradoIncierto = false;
  uSolicitud = datosFacturar();
  LBL_titulo->setText(QStringLiteral("Facturar Ticket"));
  LBL_ticketLeyenda->setText(QStringLiteral("Ticket"));
  uPaginas->setCurrentIndex(0);
}

void TFRM_facturar::seleccionaClave(QComboBox* combo, const QString& clave) {
  const int i = combo->findData(clave);
  combo->setCurrentIndex(i < 0 ? 0 : i);
}

TreceptorFactura TFRM_facturar::receptorCapturado() const {
  TreceptorFactura r;
  r.rfc = TXT_rfc->text().trimmed().toUpper();
  r.nombre = TXT_nombre->text().simplified();
  r.codigoPostal = TXT_codigoPostal->text().trimmed();
  r.regimenFiscal = CMB_regimenFiscal->currentData().toString();
  r.usoCFDI = CMB_usoCFDI->currentData().toString();
  r.correo = TXT_correo->text().trimmed();
  return r;
}

bool TFRM_facturar::buscaReceptor() {
  if (!uSys) return false;
  const QString rfc = TXT_rfc->text().trimmed().toUpper();
  if (!esRfcValido(rfc)) return false;
  const CmidTierResponse r = buscaReceptorPorRfc(rfc, uSys->getIdNegocio(), uSys->getConexion());
  if (!r.ok() || r.getRowCount() == 0) return false;
  TXT_nombre->setText(r.getCelda(QStringLiteral("Receptor_nombre")));
  TXT_codigoPostal->setText(r.getCelda(QStringLiteral("Receptor_codigoPostal")));
  seleccionaClave(CMB_regimenFiscal, r.getCelda(QStringLiteral("Receptor_regimenFiscal")));
  seleccionaClave(CMB_usoCFDI, r.getCelda(QStringLiteral("Receptor_usoCFDI")));
  TXT_correo->setText(r.getCelda(QStringLiteral("Receptor_correo")));
  return true;
}

bool TFRM_facturar::compruebaTicket() {
  uTicket = buscaTicketParaFacturar(uOperacionID, uSys->getIdNegocio(), uSys->getConexion());
  if (!uTicket.ok()) {
    u_mensaje(QStringLiteral("No se pudo leer el ticket: ") + uTicket.getError(), mtError);
    return false;
  }
  if (uTicket.getRowCount() == 0) {
    u_mensaje(QStringLiteral("No se encontró el ticket"));
    return false;
  }
  const QString estado = uTicket.getCelda(QStringLiteral("puntoOperacion_facturadoMetodo"));
  const QString ticketNo = uTicket.getCelda(QStringLiteral("puntoOperacion_ticketNo"));
  if (estado == QLatin1String(ESTADO_TICKET_FACTURADO)) {
    u_mensaje(QStringLiteral("El ticket %1 ya fue facturado.\rUUID: %2")
                  .arg(ticketNo, uTicket.getCelda(QStringLiteral("puntoOperacionAdicional_uuid"))));
    return false;
  }
  if (estado == QLatin1String(ESTADO_TICKET_FACTURA_GLOBAL)) {
    u_mensaje(QStringLiteral("El ticket %1 ya está incluido en una factura global").arg(ticketNo));
    return false;
  }
  if (!estado.isEmpty() && estado != QLatin1String(ESTADO_TICKET_CARGADO)) {
    u_mensaje(QStringLiteral("El ticket %1 ya no se puede facturar").arg(ticketNo));
    return false;
  }
  return true;
}

bool TFRM_facturar::initPuntoVentaTicket(int operacionID, TsistemaDatos& sys) {
  uSys = &sys;
  uOperacionID = operacionID;
  limpia();
  uModo = Modo::Ticket;
  if (operacionID <= 0 || !sys.conexion) return false;
  if (!compruebaNegocio() || !compruebaTicket()) return false;

  uFormaPago =
      calculaFormaDePagoPorTicket(uTicket.getCeldaAsFloat(QStringLiteral("puntoOperacion_total")),
                                  consultaFormaPago(operacionID, sys.getConexion()));
  LBL_ticket->setText(uTicket.getCelda(QStringLiteral("puntoOperacion_ticketNo")));
  LBL_fecha->setText(u_fechaHoraTexto(
      u_leeFechaHora(uTicket.getCelda(QStringLiteral("puntoOperacion_fechaHora")))));
  LBL_total->setText(
      u_formatoMonedaMXN(uTicket.getCeldaAsFloat(QStringLiteral("puntoOperacion_total"))));
  LBL_formaPago->setText(u_descripcionClaveSAT(u_catalogoFormaPago(), uFormaPago.clave));
  TXT_rfc->setFocus();
  u_ejecutaModal(this);
  uTeclado->oculta();
  return uFacturado;
}

bool TFRM_facturar::aseguraTicketCargado() {
  if (!uTicket.getCelda(QStringLiteral("puntoOperacion_uuid")).trimmed().isEmpty()) return true;
  std::atomic<bool> ocupado{true};
  TgeneraTicketConWS carga;
  carga.generaTicket(uOperacionID, &ocupado);
  TFRM_espere espere(this);
  espere.inicia(&ocupado);
  const generarTicketRsultado r = carga.getResultado();
  if (!r.ok) {
    u_mensaje(
        QStringLiteral("No se pudo cargar el ticket al servicio de facturación:\r") + r.mensaje,
        mtError);
    return false;
  }
  uTicket = buscaTicketParaFacturar(uOperacionID, uSys->getIdNegocio(), uSys->getConexion());
  return uTicket.ok() && uTicket.getRowCount() > 0;
}

bool TFRM_facturar::compruebaNegocio() {
  TCredenciales credenciales;
  u_consultaCredencialesUsuario(uSys->getIdNegocio(), uSys->getConexion(), credenciales);
  const QString faltantes = u_compruebaDatosFacturacion(uSys->getNegocio(), credenciales.existe);
  if (faltantes.isEmpty()) return true;
  u_mensaje(faltantes, mtInformacion);
  return false;
}

TresultadoTimbrado TFRM_facturar::timbraSolicitud(const datosFacturar& datos) {
  TresultadoTimbrado fallo;
  TCredenciales credenciales;
  if (!u_consultaCredencialesUsuario(uSys->getIdNegocio(), uSys->getConexion(), credenciales) ||
      !credenciales.existe) {
    fallo.mensaje = QStringLiteral("No se encontraron los datos de usuario en línea del negocio");
    return fallo;
  }
  const QString contrasena = deCrypt(credenciales.contrasena);
  if (contrasena.isEmpty()) {
    fallo.mensaje = QStringLiteral("No se pudo descifrar la contraseña del usuario en línea");
    return fallo;
  }
  std::atomic<bool> ocupado{true};
  TtimbraFacturaConWS timbrado;
  timbrado.timbra(u_urlTimbrado(uSys->urlFacturacion),
                  u_cuerpoTimbrado(uSys->getNegocio().getDatosFiscales().getRfc(),
                                   {credenciales.usuario, credenciales.cuenta, contrasena}, datos),
                  &ocupado, datos.claveIdempotencia);
  TFRM_espere espere(this);
  espere.inicia(&ocupado);
  return timbrado.getResultado();
}

void TFRM_facturar::BTN_facturarClick() {
  if (!uSys || uFacturado) return;
  uTeclado->oculta();
  if (uModo == Modo::Ticket)
    facturaTicket();
  else
    facturaDocumento();
}

void TFRM_facturar::facturaTicket() {
  const TreceptorFactura receptor = receptorCapturado();
  const QString error = u_validaReceptorFactura(receptor);
  if (!error.isEmpty()) {
    u_mensaje(error);
    return;
  }
  // A mistyped RFC is refused by the stamping service after the customer has left; a wrong
  // check digit alone may still be the customer's real RFC, so the cashier decides.
  const QString aviso = u_avisoDigitoRfc(receptor.rfc);
  if (!aviso.isEmpty() && !u_confirma(aviso + QStringLiteral("\r¿Desea facturar con este RFC?")))
    return;
  // The ticket may have moved on since the screen opened (another station, the status poll).
  if (!compruebaTicket()) {
    reject();
    return;
  }
  if (!aseguraTicketCargado()) return;

  const TresultadoTimbrado r =
      timbraSolicitud(u_preparaFacturaTicket(uSys->getNegocio(), uTicket, uFormaPago, receptor));
  if (!r.ok) {
    u_mensaje(QStringLiteral("No se pudo timbrar la factura:\r") + r.mensaje, mtError);
    return;
  }
  QString errorGuardado;
  if (!guardaFacturaTicket(uOperacionID, uSys->getIdNegocio(), r.uuid, receptor,
                           QDateTime::currentDateTime(), uSys->getConexion(), &errorGuardado)) {
    // The service keeps the invoice; facturar again answers the same UUID and stores it.
    u_mensaje(QStringLiteral("La factura se timbró con UUID %1, pero no se pudo guardar: %2\r"
                             "Vuelva a presionar 'Facturar' para guardarla.")
                  .arg(r.uuid, errorGuardado),
              mtError);
    return;
  }
  uUuid = r.uuid;
  uFacturado = true;
  u_mensaje(QStringLiteral("Factura generada correctamente.\rUUID: %1").arg(r.uuid), mtInformacion);
  accept();
}

void TFRM_facturar::BTN_cancelarClick() {
  uTeclado->oculta();
  reject();
}
