#include "sessions/TFRM_cajaApertura.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "context/TsistemaDatos.h"
#include "sessions/controlesSesion.h"
#include "sessions/reglas/aperturaCaja.h"
#include "ui/TFRM_editar.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/limites.h"
#include "util/utilerias.h"

TFRM_cajaApertura::TFRM_cajaApertura(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_cajaApertura"));
  construye();
  uReloj = new QTimer(this);
  uReloj->setInterval(kIntervaloReloj);
  connect(uReloj, &QTimer::timeout, this, &TFRM_cajaApertura::actualizaReloj);
}

void TFRM_cajaApertura::construye() {
  resize(900, 600);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(24, 18, 24, 18);
  raiz->setSpacing(12);
  auto* encabezado = new QHBoxLayout();
  LBL_titulo = new QLabel(QStringLiteral("Apertura de Caja"), this);
  LBL_fechaHora = valorSesion(this);
  encabezado->addWidget(LBL_titulo);
  encabezado->addStretch();
  encabezado->addWidget(LBL_fechaHora);
  raiz->addLayout(encabezado);

  // Two columns, so the whole count fits a 768-pixel-high station: the register, cashier
  // and amounts on the left, the cash count on the right.
  auto* columnas = new QHBoxLayout();
  columnas->setSpacing(28);
  auto* g = new QGridLayout();
  g->setHorizontalSpacing(14);
  g->setVerticalSpacing(8);
  LBL_cajaClave = valorSesion(this);
  LBL_cajaDescripcion = valorSesion(this);
  LBL_seleccionarCajero = valorSesion(this);
  LBL_aperturaMonto = valorSesion(this, true);
  BTN_seleccionarCajero = new QPushButton(QStringLiteral("Seleccionar cajero"), this);
  BTN_aperturaMonto = botonEditaSesion(this);
  int fila = 0;
  g->addWidget(leyendaSesion(QStringLiteral("Caja"), this), fila++, 0, 1, 2);
  g->addWidget(LBL_cajaClave, fila++, 0, 1, 2);
  g->addWidget(leyendaSesion(QStringLiteral("Descripción"), this), fila++, 0, 1, 2);
  g->addWidget(LBL_cajaDescripcion, fila++, 0, 1, 2);
  g->addWidget(leyendaSesion(QStringLiteral("Cajero"), this), fila++, 0, 1, 2);
  g->addWidget(LBL_seleccionarCajero, fila++, 0, 1, 2);
  g->addWidget(BTN_seleccionarCajero, fila++, 0, 1, 2);
  g->addWidget(leyendaSesion(QStringLiteral("Monto de apertura"), this), fila++, 0, 1, 2);
  g->addWidget(LBL_aperturaMonto, fila, 0);
  g->addWidget(BTN_aperturaMonto, fila++, 1);
  g->setRowStretch(fila++, 1);
  g->setColumnStretch(0, 1);
  columnas->addLayout(g, 1);

  auto* conteo = new QGridLayout();
  conteo->setHorizontalSpacing(12);
  conteo->setVerticalSpacing(6);
  fila = 0;
  conteo->addWidget(leyendaSesion(QStringLiteral("Denominación"), this), fila, 0);
  conteo->addWidget(leyendaSesion(QStringLiteral("Cantidad"), this), fila, 1);
  conteo->addWidget(leyendaSesion(QStringLiteral("Importe"), this), fila++, 2);
  for (int valor : TConteoCaja::kBilletes) {
    auto* nombre =
        new QLabel(QStringLiteral("Billetes de ") + u_formatoMoneda(valor).chopped(3), this);
    LBL_denom.insert(valor, valorSesion(this));
    LBL_denomValor.insert(valor, valorSesion(this, true));
    BTN_denom.insert(valor, botonEditaSesion(this));
    LBL_denom[valor]->setObjectName(QStringLiteral("LBL_denom%1").arg(valor));
    LBL_denomValor[valor]->setObjectName(QStringLiteral("LBL_denom%1valor").arg(valor));
    conteo->addWidget(nombre, fila, 0);
    conteo->addWidget(LBL_denom[valor], fila, 1);
    conteo->addWidget(LBL_denomValor[valor], fila, 2);
    conteo->addWidget(BTN_denom[valor], fila++, 3);
    connect(BTN_denom[valor], &QPushButton::clicked, this,
            [this, valor] { BTN_denominacionClick(valor); });
  }
  LBL_denomMonedas = valorSesion(this, true);
  BTN_monedas = botonEditaSesion(this);
  conteo->addWidget(new QLabel(QStringLiteral("Monedas"), this), fila, 0);
  conteo->addWidget(LBL_denomMonedas, fila, 2);
  conteo->addWidget(BTN_monedas, fila++, 3);
  conteo->addWidget(separadorSesion(this), fila++, 0, 1, 4);
  LBL_total = valorSesion(this, true);
  LBL_total->setText(QStringLiteral("0"));
  LBL_total->setProperty("rol", QStringLiteral("total"));
  conteo->addWidget(leyendaSesion(QStringLiteral("Total capturado"), this), fila, 0);
  conteo->addWidget(LBL_total, fila++, 2);
  conteo->setColumnStretch(1, 1);
  conteo->setColumnStretch(2, 2);
  columnas->addLayout(conteo, 2);
  raiz->addLayout(columnas);
  raiz->addStretch();

  auto* botones = new QHBoxLayout();
  botones->addStretch();
  BTN_iniciar = new QPushButton(QStringLiteral("Iniciar"), this);
  BTN_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  botones->addWidget(BTN_iniciar);
  botones->addWidget(BTN_cancelar);
  raiz->addLayout(botones);

  const TListaColores colores = getColores();
  aplicaColoresSesion(this, LBL_titulo, colores);
  estiloBotones({BTN_seleccionarCajero, BTN_iniciar, BTN_cancelar}, colores);
  // Labels that show a register's key or description read "&&" as one "&".
  LBL_cajaClave->setBuddy(BTN_iniciar);
  LBL_cajaDescripcion->setBuddy(BTN_iniciar);
  for (const auto& [nombre, control] : std::initializer_list<std::pair<const char*, QWidget*>>{
           {"Caja", LBL_cajaClave},
           {"Descripción", LBL_cajaDescripcion},
           {"Cajero", LBL_seleccionarCajero},
           {"Seleccionar cajero", BTN_seleccionarCajero},
           {"Monto", LBL_aperturaMonto},
           {"Editar monto", BTN_aperturaMonto},
           {"Monedas", LBL_denomMonedas},
           {"Editar monedas", BTN_monedas},
           {"Total capturado", LBL_total},
           {"Fecha", LBL_fechaHora},
           {"Iniciar", BTN_iniciar},
           {"Cancelar", BTN_cancelar}})
    nombra(QString::fromUtf8(nombre), control);
  for (int valor : TConteoCaja::kBilletes) {
    const QString v = QString::number(valor);
    nombra(QStringLiteral("Billetes ") + v, LBL_denom[valor]);
    nombra(QStringLiteral("Valor ") + v, LBL_denomValor[valor]);
    nombra(QStringLiteral("Editar billetes ") + v, BTN_denom[valor]);
  }
  connect(BTN_seleccionarCajero, &QPushButton::clicked, this,
          &TFRM_cajaApertura::BTN_seleccionarCajeroClick);
  connect(BTN_aperturaMonto, &QPushButton::clicked, this,
          &TFRM_cajaApertura::BTN_aperturaMontoClick);
  connect(BTN_monedas, &QPushButton::clicked, this, &TFRM_cajaApertura::BTN_monedasClick);
  connect(BTN_iniciar, &QPushButton::clicked, this, &TFRM_cajaApertura::BTN_iniciarClick);
  connect(BTN_cancelar, &QPushButton::clicked, this, &TFRM_cajaApertura::BTN_cancelarClick);
}

bool TFRM_cajaApertura::init(int cajaId, const QString& cajaClave, const QString& cajaDescripcion) {
  uCajaID = cajaId;
  uCajaNombre = cajaDescripcion;
  LBL_cajaClave->setText(u_duplicaAmpersand(cajaClave));
  LBL_cajaDescripcion->setText(u_duplicaAmpersand(cajaDescripcion));
  LBL_seleccionarCajero->clear();
  LBL_aperturaMonto->clear();
  for (int valor : TConteoCaja::kBilletes) {
    LBL_denom[valor]->clear();
    LBL_denomValor[valor]->clear();
  }
  LBL_denomMonedas->clear();
  LBL_fechaHora->clear();
  uSeleccionCajero = seleccionarCajeroRespuesta();
  uReloj->start();
  u_ejecutaModal(this);
  uReloj->stop();
  return true;
}

int TFRM_cajaApertura::intervaloReloj() const { return uReloj->interval(); }
bool TFRM_cajaApertura::relojEnMarcha() const { return uReloj->isActive(); }

void TFRM_cajaApertura::actualizaReloj() {
  LBL_fechaHora->setText(u_fechaHoraTexto(QDateTime::currentDateTime()));
}

int& TFRM_cajaApertura::cuenta(int valor) {
  switch (valor) {
    case 1000:
      return uDenominacion1000;
    case 500:
      return uDenominacion500;
    case 200:
      return uDenominacion200;
    case 100:
      return uDenominacion100;
    case 50:
      return uDenominacion50;
    default:
      return uDenominacion20;
  }
}

TConteoCaja TFRM_cajaApertura::conteo() const {
  TConteoCaja c;
  c.billetes = {uDenominacion1000, uDenominacion500, uDenominacion200,
                uDenominacion100,  uDenominacion50,  uDenominacion20};
  c.monedas = uDenominacionMonedas;
  return c;
}

void TFRM_cajaApertura::BTN_seleccionarCajeroClick() {
  TFRM_seleccionarCajero seleccion(this);
  seleccion.init(localSYS, uSeleccionCajero);
  if (uSeleccionCajero.ok) LBL_seleccionarCajero->setText(uSeleccionCajero.cajero.nombreCompleto);
}

// The keypad takes twenty digits; what the money arithmetic cannot hold is refused as typed,
// and the amount shown stays the one before.
bool TFRM_cajaApertura::montoAceptado(double monto, const QString& campo) {
  const QString problema = u_revisaMonto(monto, campo);
  if (problema.isEmpty()) return true;
  u_mensaje(problema + QLatin1Char('.'), mtCustom);
  return false;
}

void TFRM_cajaApertura::BTN_aperturaMontoClick() {
  TFRM_editar editar(this);
  const TRespuestaEditar r = editar.initNumericoFraccion(QStringLiteral("Apertura Monto"),
                                                         u_floatToStr(uAperturaMonto), 20);
  if (!r.ok || r.texto.isEmpty()) return;
  const double monto = u_strToFloat(u_truncaMoneda(r.texto));
  if (!montoAceptado(monto, QStringLiteral("El monto de apertura"))) return;
  uAperturaMonto = monto;
  LBL_aperturaMonto->setText(u_formatoMoneda(uAperturaMonto));
}

void TFRM_cajaApertura::BTN_denominacionClick(int valor) {
  if (TConteoCaja::indice(valor) < 0) return;
  TFRM_editar editar(this);
  const TRespuestaEditar r =
      editar.initNumericoEntero(QStringLiteral("Billetes"), QString::number(cuenta(valor)), 20);
  if (!r.ok || r.texto.isEmpty()) return;
  bool ok = false;
  const int n = r.texto.toInt(&ok);
  // A count past what an int holds is no count of notes.
  if (!ok || n < 0) {
    u_mensaje(QStringLiteral("Cantidad de billetes no válida."), mtCustom);
    return;
  }
  cuenta(valor) = n;
  LBL_denom[valor]->setText(r.texto);
  LBL_denomValor[valor]->setText(u_formatoMoneda(static_cast<double>(n) * valor));
  compruebaTotalCapturado();
}

void TFRM_cajaApertura::BTN_monedasClick() {
  TFRM_editar editar(this);
  const TRespuestaEditar r =
      editar.initNumericoFraccion(QStringLiteral("Monto"), u_floatToStr(uDenominacionMonedas), 20);
  if (!r.ok || r.texto.isEmpty()) return;
  const double monedas = u_strToFloat(r.texto);
  if (!montoAceptado(monedas, QStringLiteral("El monto en monedas"))) return;
  uDenominacionMonedas = monedas;
  LBL_denomMonedas->setText(u_formatoMoneda(uDenominacionMonedas));
  compruebaTotalCapturado();
}

bool TFRM_cajaApertura::compruebaTotalCapturado() {
  const double total = conteo().total();
  LBL_total->setText(u_floatToStr(total));
  return conteoCuadra(total, uAperturaMonto);
}

void TFRM_cajaApertura::BTN_iniciarClick() {
  TAperturaCaja a;
  a.cajaID = uCajaID;
  a.cajaNombre = uCajaNombre;
  a.cajeroID = uSeleccionCajero.cajero.id;
  a.monto = uAperturaMonto;
  a.conteo = conteo();
  const TAperturaResultado r = abreCaja(a, u_getPCName(), QDateTime::currentDateTime(),
                                        localSYS.getIdNegocio(), localSYS.getConexion());
  if (!r.resultado.ok) {
    u_muestra(r.resultado);
    if (r.sinCajero) LBL_seleccionarCajero->clear();
    return;
  }
  accept();
}
