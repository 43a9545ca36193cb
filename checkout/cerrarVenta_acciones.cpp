// The checkout's behaviour: opening, payment rows, keypads, completing the sale.
#include <QCheckBox>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <atomic>

#include "checkout/TFRM_cerrarPuntoVenta.h"
#include "checkout/reglas/completaVenta.h"
#include "context/TsistemaDatos.h"
#include "operaciones/puntoVenta.h"
#include "printer/miniPrinter.h"
#include "ui/TFRM_espere.h"
#include "ui/TFRM_facturar.h"
#include "ui/TTecladoPantalla.h"
#include "ui/camposTexto.h"
#include "ui/mensajes.h"
#include "ui/recursosPantalla.h"
#include "util/utilerias.h"

namespace {
const QString kPrefijoTile = QStringLiteral("componenteN");
}

TRespuestaCerrarVenta TFRM_cerrarPuntoVenta::init(double total, double subtotal, double descuento,
                                                  double impuestos, TGridControl& lineas,
                                                  const QString& cajero, int almacen,
                                                  bool subirTicket) {
  TRespuestaCerrarVenta respuesta;
  uSubirTicket = subirTicket;
  uEsUsuarioEnLinea = localSYS.getUsuarioEnLinea();
  CHK_requiereFactura->setChecked(false);
  uHoldRequiereFactura->setEnabled(uEsUsuarioEnLinea);
  hold_statusCarga->hide();
  LBL_statusCarga->clear();
  LBL_despedida->setText(QStringLiteral("Calculando operación"));
  uCajero = cajero;
  uAlmacen = almacen;
  uColumnaFilas->hide();
  fijaAncho(kAnchoCompacto);
  uCobro.inicia(total, subtotal, descuento, impuestos);
  uDatosGrid = &lineas;
  LBL_total->setText(u_formatoMoneda(total));
  LBL_recibido->clear();
  LBL_devuelto->clear();
  uPestanas->setCurrentIndex(0);
  uTeclado->hide();
  uTecladoNumerico->show();
  muestraOperacion();
  uCobro.uPuedeVender = false;
  uPaneles->setCurrentIndex(0);

  uResponseBusqueda = buscaFormasDePagoPorNegocio(localSYS.getIdNegocio(), localSYS.getConexion());
  if (!uResponseBusqueda.ok()) return respuesta;

  reiniciarFormasDePago();
  muestraOperacion();
  uControl = TXT_efectivo;
  TXT_efectivo->clear();
  TXT_efectivo->setFocus();
  uFlagMoneda = true;
  uAceptar = false;
  habilitaControles(true);
  BTN_otrasFormas->setEnabled(muestraFormaPago() > 0);

  u_ejecutaModal(this);
  respuesta.ok = uAceptar;
  respuesta.ticketOperacionID = uOperacionID;
  respuesta.requiereFactura = CHK_requiereFactura->isChecked();
  respuesta.ticketNo = uTicketNo;
  return respuesta;
}

QList<int> TFRM_cerrarPuntoVenta::idsFormasPago() const {
  QList<int> ids;
  for (const tHoldFormaPago& t : uListaComponentesDinamicos) ids << t.id;
  return ids;
}

bool TFRM_cerrarPuntoVenta::enPanelFinal() const { return uPaneles->currentIndex() == 1; }
bool TFRM_cerrarPuntoVenta::enMetodos() const { return uPestanas->currentIndex() == 1; }

void TFRM_cerrarPuntoVenta::leeCampos() {
  uCobro.efectivo = TXT_efectivo->text();
  for (int i = 0; i < TCobro::kFilas; ++i) {
    uCobro.filas[i].monto = TXT_otro[i]->text();
    uCobro.filas[i].referencia = TXT_referencia[i]->text();
  }
}

void TFRM_cerrarPuntoVenta::muestraOperacion() {
  leeCampos();
  uCobro.calculaOperacion();
  muestraCalculo();
}

void TFRM_cerrarPuntoVenta::muestraCalculo() {
  LBL_recibido->setText(u_formatoMoneda(uCobro.uRecibidoAcumulado));
  LBL_devuelto->setText(u_formatoMoneda(uCobro.uDevuelto));
}

void TFRM_cerrarPuntoVenta::habilitaControles(bool h) {
  TXT_efectivo->setEnabled(h);
  BTN_efectivo->setEnabled(h);
  BTN_aceptar->setEnabled(h);
  for (int i = 0; i < TCobro::kFilas; ++i) {
    BTN_otro[i]->setEnabled(h);
    const bool fila = h && uCobro.filas[i].habilitada;
    TXT_otro[i]->setEnabled(fila);
    TXT_referencia[i]->setEnabled(fila);
  }
}

void TFRM_cerrarPuntoVenta::reiniciarFormasDePago() {
  uCobro.reiniciaFilas();
  BTN_mercadoPago->setEnabled(false);
  LBL_detalleReferencia->clear();
  for (int i = 0; i < TCobro::kFilas; ++i) {
    IMG_verFormaPago[i]->hide();
    BTN_otro[i]->setText(QStringLiteral("Otro"));
    TXT_otro[i]->clear();
    TXT_referencia[i]->clear();
    TXT_otro[i]->setEnabled(false);
    TXT_referencia[i]->setEnabled(false);
  }
}

int TFRM_cerrarPuntoVenta::muestraFormaPago() {
  const int n = uResponseBusqueda.getRowCount();
  // The business's methods seldom change between sales: the last sale's tiles stay when they
  // show the same ones.
  bool iguales = n == uListaComponentesDinamicos.size();
  for (int i = 0; iguales && i < n; ++i)
    iguales = uListaComponentesDinamicos[i].id ==
                  uResponseBusqueda.getCeldaAsInt(QStringLiteral("formaPago_id"), i) &&
              uListaComponentesDinamicos[i].etiqueta->text() ==
                  uResponseBusqueda.getCelda(QStringLiteral("puntoMetodoPago_nombre"), i);
  if (iguales) return n;
  for (tHoldFormaPago& t : uListaComponentesDinamicos) delete t.fondo;
  uListaComponentesDinamicos.clear();
  for (int i = 0; i < n; ++i) {
    tHoldFormaPago t;
    t.fondo = new QFrame(uAreaMetodos);
    t.fondo->setObjectName(kPrefijoTile + QString::number(i));
    t.fondo->setGeometry(10, 10 + 60 * i, 400, 50);
    t.fondo->setCursor(Qt::PointingHandCursor);
    t.fondo->setStyleSheet(
        QStringLiteral("QFrame{background:white;border:1px solid #C5CED8;"
                       "border-radius:8px;}QLabel{border:none;font-size:17px;}"));
    t.etiqueta = new QLabel(uResponseBusqueda.getCelda(QStringLiteral("puntoMetodoPago_nombre"), i),
                            t.fondo);
    t.etiqueta->setGeometry(14, 0, 372, 50);
    t.id = uResponseBusqueda.getCeldaAsInt(QStringLiteral("formaPago_id"), i);
    t.fondo->installEventFilter(this);
    t.fondo->show();
    nombra(QStringLiteral("Método %1").arg(i), t.fondo);
    uListaComponentesDinamicos << t;
  }
  uAreaMetodos->resize(420, 20 + 60 * n);
  return n;
}

void TFRM_cerrarPuntoVenta::BTN_otrasFormasClick() {
  uColumnaFilas->show();
  fijaAncho(kAnchoAmplio);
}

void TFRM_cerrarPuntoVenta::BTN_ocultarClick() {
  uColumnaFilas->hide();
  fijaAncho(kAnchoCompacto);
  reiniciarFormasDePago();
  muestraOperacion();
}

void TFRM_cerrarPuntoVenta::fijaAncho(int ancho) {
  setFixedSize(ancho, kAlto);
  // The cash column stays where the compact screen had it, centred on the station; the wide
  // screen only moves left when it would pass the right edge.
  QScreen* s = parentWidget() ? parentWidget()->screen() : screen();
  if (!s) return;
  const QRect d = s->availableGeometry();
  const int compacto = d.x() + (d.width() - kAnchoCompacto) / 2;
  const int marco = isVisible() ? frameGeometry().width() - width() : 0;
  const int x = std::max(d.x(), std::min(compacto, d.x() + d.width() - ancho - marco));
  move(x, d.y() + std::max(0, (d.height() - kAlto) / 2));
}

void TFRM_cerrarPuntoVenta::BTN_metodoClick(int fila) {
  if (fila < 1 || fila > TCobro::kFilas) return;
  uPestanas->setCurrentIndex(1);
  uNoMetodoPago = fila;
  leeCampos();
  TXT_otro[fila - 1]->setText(uCobro.autoCompletaPago(fila - 1));
  muestraOperacion();
}

void TFRM_cerrarPuntoVenta::seleccionaMetodo(int indice) {
  if (indice < 0 || indice >= uResponseBusqueda.getRowCount()) return;
  uPestanas->setCurrentIndex(0);
  uTeclado->hide();
  const QString nombre =
      uResponseBusqueda.getCelda(QStringLiteral("puntoMetodoPago_nombre"), indice);
  const int forma = uResponseBusqueda.getCeldaAsInt(QStringLiteral("formaPago_id"), indice);
  const int r = uNoMetodoPago - 1;
  if (forma == 4) {
    BTN_mercadoPago->setEnabled(true);
    IMG_verFormaPago[r]->show();
  }
  uCobro.aplicaMetodo(r, nombre, forma);
  BTN_otro[r]->setText(nombre);
  TXT_otro[r]->setEnabled(true);
  TXT_referencia[r]->setEnabled(true);
}

void TFRM_cerrarPuntoVenta::BTN_resetOtroClick(int fila) {
  if (fila < 1 || fila > TCobro::kFilas) return;
  const int r = fila - 1;
  uCobro.reiniciaFila(r);
  BTN_otro[r]->setText(QStringLiteral("Otro"));
  TXT_otro[r]->clear();
  TXT_referencia[r]->clear();
  TXT_otro[r]->setEnabled(false);
  TXT_referencia[r]->setEnabled(false);
  IMG_verFormaPago[r]->hide();
  LBL_detalleReferencia->clear();
  muestraOperacion();
}

void TFRM_cerrarPuntoVenta::BTN_efectivoClick() {
  leeCampos();
  TXT_efectivo->setText(uCobro.restanteEfectivo());
  TXT_efectivo->setFocus();
  muestraOperacion();
}

void TFRM_cerrarPuntoVenta::BTN_resetEfectivoClick() {
  TXT_efectivo->clear();
  muestraOperacion();
  TXT_efectivo->setFocus();
}

void TFRM_cerrarPuntoVenta::enfocaCampo(const QString& nombre) {
  if (nombre == QStringLiteral("Monto efectivo")) return enfocaCampo(TXT_efectivo);
  const int fila = nombre.section(QLatin1Char(' '), -1).toInt();
  if (fila < 1 || fila > TCobro::kFilas) return;
  if (nombre.startsWith(QStringLiteral("Monto "))) enfocaCampo(TXT_otro[fila - 1]);
  if (nombre.startsWith(QStringLiteral("Referencia "))) enfocaCampo(TXT_referencia[fila - 1]);
}

void TFRM_cerrarPuntoVenta::enfocaCampo(QLineEdit* campo) {
  uControl = campo;
  uTeclado->setDestino(campo);
  const bool referencia =
      std::find(TXT_referencia.begin(), TXT_referencia.end(), campo) != TXT_referencia.end();
  uFlagMoneda = !referencia;
  if (referencia) {
    uTecladoNumerico->hide();
    uTeclado->adjustSize();
    uTeclado->move((width() - uTeclado->width()) / 2, height() - uTeclado->height() - 8);
    uTeclado->raise();
    uTeclado->show();
  } else {
    uTeclado->hide();
    uTecladoNumerico->show();
    if (campo == TXT_efectivo) campo->setCursorPosition(campo->text().size());
  }
}

void TFRM_cerrarPuntoVenta::teclaNumerica(const QString& tecla) {
  if (tecla == QStringLiteral("enter")) {
    efectuarVenta();
    return;
  }
  if (!uControl) return;
  if (tecla == QStringLiteral("back")) {
    if (!uControl->text().isEmpty()) textoMascaraMoneda(uControl, 8, QChar(), false, 11);
  } else {
    textoMascaraMoneda(uControl, 0, tecla[0], uFlagMoneda, 11);
  }
}

void TFRM_cerrarPuntoVenta::BTN_aceptarClick() {
  if (!efectuarVenta()) return;
  habilitaControles(false);
  BTN_mercadoPago->setEnabled(false);
  for (QLabel* i : IMG_verFormaPago) i->hide();
}

void TFRM_cerrarPuntoVenta::BTN_cancelarClick() {
  uAceptar = false;
  reject();
}

void TFRM_cerrarPuntoVenta::BTN_cerrarClick() { accept(); }

void TFRM_cerrarPuntoVenta::BTN_abreCajonClick() { miniPrinterAbreCajon(); }

bool TFRM_cerrarPuntoVenta::efectuarVenta() {
  leeCampos();
  TDatosVenta datos;
  datos.lineas = uDatosGrid;
  datos.cajero = uCajero;
  datos.almacen = uAlmacen;
  datos.subirTicket = uSubirTicket;
  datos.nombreEfectivo = BTN_efectivo->text();
  datos.requiereFactura = CHK_requiereFactura->isChecked();
  TPantallaVenta pantalla;
  pantalla.recalculada = [this] { muestraCalculo(); };
  pantalla.validada = [this] { uPaneles->setCurrentIndex(1); };
  pantalla.almacenada = [this](int ticketNo) {
    uTicketNo = ticketNo;
    uTeclado->hide();
    uOperacionID = -1;
  };
  pantalla.esperaCarga = [this](std::atomic<bool>* ocupado) {
    if (!uEspere) uEspere = new TFRM_espere(this);
    uEspere->inicia(ocupado);
  };
  const TVentaCompletada v = completaVenta(uCobro, datos, localSYS, pantalla);
  if (!v.ok) {
    u_muestra(v.resultado);
    if (v.sinExistencia) {
      LBL_despedida->setText(v.resultado.mensaje);
      uAceptar = false;
    } else if (v.validada) {
      uPaneles->setCurrentIndex(0);  // nothing was stored: back to the payments
    }
    return false;
  }
  LBL_despedida->setText(QStringLiteral("¡Gracias por su compra!"));
  uOperacionID = v.operacionID;
  uAceptar = true;
  if (v.identificador.isEmpty()) {
    IMG_statusCarga->clear();
    LBL_statusCarga->setText(QStringLiteral("¡No se cargó el ticket!"));
  } else {
    mini_cargaImage(QStringLiteral("activo"), IMG_statusCarga);
    LBL_statusCarga->setText(QStringLiteral("¡Ticket cargado correctamente!"));
  }
  hold_statusCarga->show();
  if (!v.aviso.mensaje.isEmpty()) u_muestra(v.aviso);
  return true;
}

bool TFRM_cerrarPuntoVenta::facturarTicket(int operacionID) {
  if (!FRM_facturar) FRM_facturar = new TFRM_facturar(this);
  const bool facturado = FRM_facturar->initPuntoVentaTicket(operacionID, localSYS);
  delete FRM_facturar;
  FRM_facturar = nullptr;
  return facturado;
}
