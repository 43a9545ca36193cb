#include "ui/TFRM_enviarcorreoElectronico.h"

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <atomic>

#include "facturacion/pdfFacturas.h"
#include "operaciones/facturacion.h"
#include "operaciones/tickets.h"
#include "ui/TFRM_espere.h"
#include "ui/TTecladoCampos.h"
#include "ui/TTecladoPantalla.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/limites.h"
#include "workers/hiloTrabajo.h"

TFRM_enviarcorreoElectronico::TFRM_enviarcorreoElectronico(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_enviarcorreoElectronico"));
  setWindowTitle(tituloVentanaSuite());
  resize(760, 560);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(28, 22, 28, 22);
  raiz->setSpacing(12);
  LBL_titulo = new QLabel(QStringLiteral("Enviar Correo Electrónico"), this);
  raiz->addWidget(LBL_titulo);
  auto* g = new QGridLayout();
  g->setVerticalSpacing(4);
  TXT_para = new QLineEdit(this);
  TXT_para->setMaxLength(kMaxLargoCorto);
  TXT_para->setPlaceholderText(QStringLiteral("cliente@ejemplo.mx; otro@ejemplo.mx"));
  TXT_asunto = new QLineEdit(this);
  TXT_asunto->setMaxLength(200);
  TXT_mensaje = new QPlainTextEdit(this);
  TXT_mensaje->setMinimumHeight(120);
  LBL_adjunto = new QLabel(this);
  LBL_adjunto->setProperty("rol", QStringLiteral("valor"));
  u_agregaCampo(g, 0, 0, QStringLiteral("Para"), TXT_para);
  u_agregaCampo(g, 2, 0, QStringLiteral("Asunto"), TXT_asunto);
  u_agregaCampo(g, 4, 0, QStringLiteral("Mensaje"), TXT_mensaje);
  u_agregaCampo(g, 6, 0, QStringLiteral("Adjunto"), LBL_adjunto);
  raiz->addLayout(g, 1);
  auto* botones = new QHBoxLayout();
  botones->addStretch();
  BTN_enviar = new QPushButton(QStringLiteral("Enviar"), this);
  BTN_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  for (QPushButton* b : {BTN_enviar, BTN_cancelar}) {
    b->setAutoDefault(false);
    botones->addWidget(b);
  }
  raiz->addLayout(botones);
  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, LBL_titulo, colores);
  estiloBotones({BTN_enviar, BTN_cancelar}, colores);
  uTeclado = new TTecladoCampos(this);
  uTeclado->agrega(TXT_para, true);
  uTeclado->agrega(TXT_asunto, true);
  uTeclado->agrega(TXT_mensaje);
  connect(BTN_enviar, &QPushButton::clicked, this, &TFRM_enviarcorreoElectronico::BTN_enviarClick);
  connect(BTN_cancelar, &QPushButton::clicked, this,
          &TFRM_enviarcorreoElectronico::BTN_cancelarClick);

  nombra(QStringLiteral("Título"), LBL_titulo);
  nombra(QStringLiteral("Para"), TXT_para);
  nombra(QStringLiteral("Asunto"), TXT_asunto);
  nombra(QStringLiteral("Mensaje"), TXT_mensaje);
  nombra(QStringLiteral("Adjunto"), LBL_adjunto);
  nombra(QStringLiteral("Enviar"), BTN_enviar);
  nombra(QStringLiteral("Cancelar"), BTN_cancelar);
  nombra(QStringLiteral("Teclado"), uTeclado->teclado());
}

bool TFRM_enviarcorreoElectronico::initPuntoVenta(int operacionID, const QString& uuid,
                                                  TsistemaDatos& sys) {
  uSys = &sys;
  uUuid = uuid.trimmed();
  uEnviado = false;
  uResultado = TresultadoCorreo();
  uPdf =
      u_rutaPDFFactura(sys.carpetaAplicacion, sys.getNegocio().getDatosFiscales().getRfc(), uUuid);
  if (uPdf.isEmpty() || !QFile::exists(uPdf)) {
    u_mensaje(QStringLiteral("No se encontró el PDF de la factura %1").arg(uUuid));
    return false;
  }
  const QString negocio = sys.getNegocio().getNombre();
  const CmidTierResponse t =
      buscaTicketPorOperacionID(operacionID, sys.getIdNegocio(), sys.getConexion());
  const QString ticket = t.getCelda(QStringLiteral("puntoOperacion_ticketNo"));
  TXT_para->setText(buscaCorreoReceptorFactura(operacionID, uUuid, sys.getConexion()));
  TXT_asunto->setText(
      QStringLiteral("Factura electrónica del ticket %1 - %2").arg(ticket, negocio));
  TXT_mensaje->setPlainText(
      QStringLiteral("Estimado cliente:\n\nLe enviamos adjunta su factura electrónica con folio "
                     "fiscal %1.\n\nGracias por su compra.\n%2")
          .arg(uUuid, negocio));
  LBL_adjunto->setText(QStringLiteral("%1 (%2 KB)")
                           .arg(QFileInfo(uPdf).fileName())
                           .arg((QFileInfo(uPdf).size() + 1023) / 1024));
  u_ejecutaModal(this);
  return uEnviado;
}

void TFRM_enviarcorreoElectronico::BTN_enviarClick() {
  if (!uSys || uEnviado) return;
  const QStringList para = u_separaCorreos(TXT_para->text());
  if (para.isEmpty()) {
    u_mensaje(QStringLiteral("Capture el correo electrónico del destinatario"));
    return;
  }
  for (const QString& d : para) {
    if (!u_correoValido(d)) {
      u_mensaje(QStringLiteral("El correo electrónico '%1' no es válido").arg(d));
      return;
    }
  }
  // A mail is not stored, but a body pasted by mistake (a whole document) is refused rather
  // than sent.
  const QString largo =
      u_revisaTexto(TXT_mensaje->toPlainText(), kMaxLargoTexto, QStringLiteral("El mensaje"));
  if (!largo.isEmpty()) {
    u_mensaje(largo + QLatin1Char('.'));
    return;
  }
  if (uSys->correoRemitente.trimmed().isEmpty()) {
    u_mensaje(QStringLiteral("No está configurado el correo del remitente de la estación"));
    return;
  }
  QFile archivo(uPdf);
  if (!archivo.open(QIODevice::ReadOnly)) {
    u_mensaje(QStringLiteral("No se pudo leer el PDF de la factura %1").arg(uUuid));
    return;
  }
  TmensajeCorreo m;
  m.remitente = uSys->correoRemitente.trimmed();
  m.nombreRemitente = uSys->getNegocio().getNombre();
  m.para = para;
  m.asunto = TXT_asunto->text().trimmed();
  m.texto = TXT_mensaje->toPlainText();
  m.nombreAdjunto = QFileInfo(uPdf).fileName();
  m.adjunto = archivo.readAll();
  const QString servidor = uSys->servidorCorreo;
  const int tiempo = uTiempoEsperaMs;
  THiloTrabajo<TresultadoCorreo> envio;
  std::atomic<bool> activo{true};
  TresultadoCorreo siFalla;
  siFalla.mensaje = QStringLiteral("Ocurrió un error inesperado al enviar el correo");
  envio.arranca([servidor, m, tiempo] { return u_enviaCorreo(servidor, m, tiempo); }, siFalla,
                &activo);
  TFRM_espere espere(this);
  espere.inicia(&activo);
  uResultado = envio.resultado();
  if (!uResultado.ok) {
    u_mensaje(uResultado.mensaje, mtError);
    return;
  }
  uEnviado = true;
  u_mensaje(QStringLiteral("Factura enviada a %1").arg(para.join(QStringLiteral(", "))),
            mtInformacion);
  accept();
}
