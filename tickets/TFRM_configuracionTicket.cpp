#include "tickets/TFRM_configuracionTicket.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "checkout/reglas/ticket_venta.h"
#include "context/TsistemaDatos.h"
#include "printer/miniPrinter.h"
#include "shell/registroPantallas.h"
#include "tickets/reglas/logoTicket.h"
#include "ui/dialogoArchivo.h"
#include "ui/mensajes.h"
#include "ui/recursosPantalla.h"
#include "util/utilerias.h"

REGISTRA_PANTALLA(TFRM_configuracionTicket);

namespace {
QString css(quint32 argb) { return QStringLiteral("#%1").arg(argb & 0xFFFFFF, 6, 16, QChar('0')); }
// The test page's portal address: a placeholder, the customer never scans it.
const char* kPortalMuestra = "https://facturacion.ejemplo.mx/ticket";
}  // namespace

TFRM_configuracionTicket::TFRM_configuracionTicket(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TFRM_configuracionTicket"));
  const TListaColores colores = getColores();
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(18, 14, 18, 14);
  raiz->setSpacing(14);
  auto* encabezado = new QHBoxLayout();
  auto* marca = new QLabel(this);
  marca->setFixedSize(28, 28);
  mini_cargaImage(QStringLiteral("apuntadorColor"), marca);
  LBL_titulo = new QLabel(QStringLiteral("Configuracón Ticket"), this);
  LBL_titulo->setStyleSheet(QStringLiteral("font-size:24px;font-weight:700;color:%1;")
                                .arg(css(colorDe(colores, QStringLiteral("tituloFormulario1")))));
  encabezado->addWidget(marca);
  encabezado->addWidget(LBL_titulo);
  encabezado->addStretch();
  raiz->addLayout(encabezado);

  auto* cuerpo = new QHBoxLayout();
  cuerpo->setSpacing(24);
  auto* logo = new QGroupBox(QStringLiteral("Logo del ticket"), this);
  auto* ll = new QVBoxLayout(logo);
  auto* indicaciones = new QLabel(
      QStringLiteral("Seleccione una imagen de 300x110px, extención .bmp para utilizar en los "
                     "tickets emitidos al cliente."),
      logo);
  indicaciones->setWordWrap(true);
  auto* leyendaVista = new QLabel(QStringLiteral("Vista Previa"), logo);
  IMG_vistaPrevia = new QLabel(logo);
  IMG_vistaPrevia->setFixedSize(LOGO_ANCHO_MAXIMO + 20, LOGO_ALTO_MAXIMO + 20);
  IMG_vistaPrevia->setAlignment(Qt::AlignCenter);
  IMG_vistaPrevia->setStyleSheet(QStringLiteral("border:1px dashed #C5CED8;background:white;"));
  BTN_buscar = new QPushButton(QStringLiteral("Buscar"), logo);
  BTN_restaurar = new QPushButton(QStringLiteral("Restaurar valores originales"), logo);
  ll->addWidget(indicaciones);
  ll->addSpacing(8);
  ll->addWidget(leyendaVista);
  ll->addWidget(IMG_vistaPrevia);
  auto* botonesLogo = new QHBoxLayout();
  botonesLogo->addWidget(BTN_buscar);
  botonesLogo->addWidget(BTN_restaurar);
  botonesLogo->addStretch();
  ll->addLayout(botonesLogo);
  ll->addStretch();

  auto* impresora = new QGroupBox(QStringLiteral("Impresora"), this);
  auto* li = new QVBoxLayout(impresora);
  BTN_imprimir = new QPushButton(QStringLiteral("Imprimir página de prueba"), impresora);
  auto* botonesImpresora = new QHBoxLayout();
  botonesImpresora->addWidget(BTN_imprimir);
  botonesImpresora->addStretch();
  li->addLayout(botonesImpresora);
  // The receipt as printed, so the logo can be judged without walking to the printer.
  auto* desplaza = new QScrollArea(impresora);
  desplaza->setWidgetResizable(false);
  desplaza->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  desplaza->setMinimumWidth(340);
  IMG_paginaPrueba = new QLabel(desplaza);
  IMG_paginaPrueba->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  desplaza->setWidget(IMG_paginaPrueba);
  li->addWidget(desplaza, 1);

  cuerpo->addWidget(logo, 1);
  cuerpo->addWidget(impresora, 1);
  raiz->addLayout(cuerpo, 1);

  setStyleSheet(
      QStringLiteral("QGroupBox{font-size:16px;font-weight:600;border:1px solid #D5DBE1;"
                     "border-radius:8px;margin-top:14px;padding:14px;}"
                     "QGroupBox::title{subcontrol-origin:margin;left:12px;padding:0 4px;}"
                     "QLabel{font-size:15px;}"));
  for (QPushButton* b : {BTN_buscar, BTN_restaurar, BTN_imprimir}) {
    mini_cornerButtonStyle(b, colores);
    b->setAutoDefault(false);
    b->setMinimumHeight(48);
  }
  connect(BTN_buscar, &QPushButton::clicked, this, &TFRM_configuracionTicket::BTN_buscarClick);
  connect(BTN_restaurar, &QPushButton::clicked, this,
          &TFRM_configuracionTicket::BTN_restaurarClick);
  connect(BTN_imprimir, &QPushButton::clicked, this, &TFRM_configuracionTicket::imprimeTicket);

  nombra(QStringLiteral("Título"), LBL_titulo);
  nombra(QStringLiteral("Indicaciones"), indicaciones);
  nombra(QStringLiteral("Vista Previa"), IMG_vistaPrevia);
  nombra(QStringLiteral("Buscar"), BTN_buscar);
  nombra(QStringLiteral("Restaurar"), BTN_restaurar);
  nombra(QStringLiteral("Imprimir"), BTN_imprimir);
  nombra(QStringLiteral("Página de prueba"), IMG_paginaPrueba);
}

QString TFRM_configuracionTicket::rutaLogo() const {
  return rutaLogoTicket(localSYS.carpetaAplicacion,
                        localSYS.getNegocio().getDatosFiscales().getRfc());
}

void TFRM_configuracionTicket::init() { mostrarLogo(); }

void TFRM_configuracionTicket::mostrarLogo() {
  const QPixmap logo(rutaLogo());
  IMG_vistaPrevia->setVisible(!logo.isNull());
  IMG_vistaPrevia->setPixmap(logo);
}

void TFRM_configuracionTicket::BTN_buscarClick() {
  const QString archivo = u_dialogoAbrirArchivo(QStringLiteral("Logo del ticket"),
                                                QStringLiteral("Archivos de imagen BMP (*.bmp)"));
  if (!archivo.isEmpty()) cargaLogo(archivo);
}

void TFRM_configuracionTicket::cargaLogo(const QString& archivo) {
  rutaImagen = archivo;
  const TResultado r = compruebaArchivoLogo(archivo);
  if (!r.ok) {
    u_muestra(r);
    return;
  }
  copiaArchivoLogo(archivo, localSYS.carpetaAplicacion,
                   localSYS.getNegocio().getDatosFiscales().getRfc());
  mostrarLogo();
}

void TFRM_configuracionTicket::BTN_restaurarClick() {
  IMG_vistaPrevia->hide();
  restauraLogoTicket(localSYS.carpetaAplicacion, localSYS.getNegocio().getDatosFiscales().getRfc());
}

void TFRM_configuracionTicket::imprimeTicket() {
  TImpresionTicket t;
  const TNegocio& negocio = localSYS.getNegocio();
  t.setNombreNegocio(negocio.getNombre());
  t.setRfc(negocio.getDatosFiscales().getRfc());
  t.setRazon(negocio.getDatosFiscales().getRazon());
  t.setLConceptos({});
  struct Muestra {
    double cantidad;
    const char* descripcion;
    double unitario, importe;
    const char* categoria;
  };
  for (const Muestra& m : {Muestra{5, "Producto Muestra1", 25.5, 127.5, "Categoria Muestra 1"},
                           Muestra{1, "Producto Muestra2", 17.5, 17.5, "Categoria Muestra 1"},
                           Muestra{3, "Producto Muestra3", 67, 201, "Categoria Muestra 1"},
                           Muestra{1, "Producto Muestra4", 1600, 1600, "Categoria Muestra 2"}}) {
    TConcepto c;
    c.setCantidad(m.cantidad);
    c.setDescripcion(QString::fromUtf8(m.descripcion));
    c.setValorUnitario(m.unitario);
    c.setImporte(m.importe);
    c.setCategoria(QString::fromUtf8(m.categoria));
    t.getLConceptos().append(c);
  }
  t.setCajero(QStringLiteral("Cajero Demo"));
  t.setNumeroTicket(QStringLiteral("XXX"));
  t.setFecha(QDateTime::currentDateTime());
  const QString muestra = u_formatoMoneda(999.99);
  t.setCampoAdicional3(TCampoAdicional(QStringLiteral("Impuestos"), muestra));
  t.setCampoAdicional4(TCampoAdicional(QStringLiteral("Total"), muestra));
  t.setCampoAdicional5(TCampoAdicional(QStringLiteral("Su Pago"), muestra));
  t.setCampoAdicional6(TCampoAdicional(QStringLiteral("Devuelto"), muestra));
  // This page's QR code points to a fixed text, not to the portal.
  t.setArchivoCBB(
      generaCBB(QStringLiteral("XXX"), QStringLiteral("NNN"), QStringLiteral("enlace_ticket")));
  uImpresion = imprimeTicketArmado(t, QStringLiteral("XXX"), QStringLiteral("NNN"), true,
                                   QString::fromLatin1(kPortalMuestra));
  const QPixmap pagina(miniPrinterUltimoTicket().archivoPng);
  IMG_paginaPrueba->setPixmap(
      pagina.isNull() ? QPixmap() : pagina.scaledToWidth(320, Qt::SmoothTransformation));
  IMG_paginaPrueba->adjustSize();
  if (!miniPrinterUltimoTicket().ok && !miniPrinterUltimoTicket().error.isEmpty())
    u_mensaje(miniPrinterUltimoTicket().error);
}
