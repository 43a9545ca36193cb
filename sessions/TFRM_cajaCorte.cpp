#include "sessions/TFRM_cajaCorte.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "context/TsistemaDatos.h"
#include "operaciones/cajas.h"
#include "sessions/controlesSesion.h"
#include "sessions/reglas/corteCaja.h"
#include "ui/TFRM_editar.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

TFRM_cajaCorte::TFRM_cajaCorte(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_cajaCorte"));
  construye();
  uReloj = new QTimer(this);
  uReloj->setInterval(kIntervaloReloj);
  connect(uReloj, &QTimer::timeout, this, &TFRM_cajaCorte::actualizaReloj);
}

void TFRM_cajaCorte::construye() {
  resize(660, 400);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(24, 18, 24, 18);
  raiz->setSpacing(12);
  auto* encabezado = new QHBoxLayout();
  LBL_titulo2texto = new QLabel(this);
  LBL_fechaHora = valorSesion(this);
  encabezado->addWidget(LBL_titulo2texto);
  encabezado->addStretch();
  encabezado->addWidget(LBL_fechaHora);
  raiz->addLayout(encabezado);

  auto* g = new QGridLayout();
  g->setHorizontalSpacing(14);
  g->setVerticalSpacing(10);
  LBL_cajaClave = valorSesion(this);
  LBL_cajaDescripcion = valorSesion(this);
  LBL_montoActual = valorSesion(this, true);
  LBL_corteMonto = valorSesion(this, true);
  BTN_corteMonto = botonEditaSesion(this);
  g->addWidget(leyendaSesion(QStringLiteral("Caja"), this), 0, 0);
  g->addWidget(LBL_cajaClave, 0, 1, 1, 2);
  g->addWidget(leyendaSesion(QStringLiteral("Descripción"), this), 1, 0);
  g->addWidget(LBL_cajaDescripcion, 1, 1, 1, 2);
  g->addWidget(separadorSesion(this), 2, 0, 1, 3);
  g->addWidget(leyendaSesion(QStringLiteral("Monto Actual"), this), 3, 0);
  g->addWidget(LBL_montoActual, 3, 1);
  g->addWidget(leyendaSesion(QStringLiteral("Monto a Retirar"), this), 4, 0);
  g->addWidget(LBL_corteMonto, 4, 1);
  g->addWidget(BTN_corteMonto, 4, 2);
  g->setColumnStretch(1, 1);
  raiz->addLayout(g);
  raiz->addStretch();

  auto* botones = new QHBoxLayout();
  botones->addStretch();
  BTN_aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  BTN_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  botones->addWidget(BTN_aceptar);
  botones->addWidget(BTN_cancelar);
  raiz->addLayout(botones);

  const TListaColores colores = getColores();
  aplicaColoresSesion(this, LBL_titulo2texto, colores);
  estiloBotones({BTN_aceptar, BTN_cancelar}, colores);
  LBL_montoActual->setProperty("rol", QStringLiteral("total"));
  LBL_corteMonto->setProperty("rol", QStringLiteral("total"));
  // Labels that show a register's key or description read "&&" as one "&".
  LBL_cajaClave->setBuddy(BTN_aceptar);
  LBL_cajaDescripcion->setBuddy(BTN_aceptar);
  for (const auto& [nombre, control] :
       std::initializer_list<std::pair<const char*, QWidget*>>{{"Título", LBL_titulo2texto},
                                                               {"Caja", LBL_cajaClave},
                                                               {"Descripción", LBL_cajaDescripcion},
                                                               {"Monto Actual", LBL_montoActual},
                                                               {"Monto a Retirar", LBL_corteMonto},
                                                               {"Editar monto", BTN_corteMonto},
                                                               {"Fecha", LBL_fechaHora},
                                                               {"Aceptar", BTN_aceptar},
                                                               {"Cancelar", BTN_cancelar}})
    nombra(QString::fromUtf8(nombre), control);
  connect(BTN_corteMonto, &QPushButton::clicked, this, &TFRM_cajaCorte::BTN_corteMontoClick);
  connect(BTN_aceptar, &QPushButton::clicked, this, &TFRM_cajaCorte::BTN_aceptarClick);
  connect(BTN_cancelar, &QPushButton::clicked, this, &TFRM_cajaCorte::BTN_cancelarClick);
}

void TFRM_cajaCorte::prepara(int cajaId, const QString& cajaClave, const QString& cajaDescripcion,
                             int sesionId) {
  uCajaID = cajaId;
  LBL_cajaClave->setText(u_duplicaAmpersand(cajaClave));
  LBL_cajaDescripcion->setText(u_duplicaAmpersand(cajaDescripcion));
  uCorteMonto = 0;
  uSesionID = sesionId;
}

bool TFRM_cajaCorte::ejecuta() {
  uReloj->start();
  u_ejecutaModal(this);
  uReloj->stop();
  return true;
}

bool TFRM_cajaCorte::initCorte(int cajaId, const QString& cajaClave, const QString& cajaDescripcion,
                               int sesionId) {
  uEsCorte = true;
  LBL_titulo2texto->setText(QStringLiteral("Corte de Caja"));
  prepara(cajaId, cajaClave, cajaDescripcion, sesionId);
  BTN_corteMonto->setEnabled(true);
  cajaSesionAcumulado();
  LBL_corteMonto->clear();
  LBL_fechaHora->clear();
  return ejecuta();
}

bool TFRM_cajaCorte::initCierre(int cajaId, const QString& cajaClave,
                                const QString& cajaDescripcion, int sesionId) {
  uEsCorte = false;
  LBL_titulo2texto->setText(QStringLiteral("Cierre de Caja"));
  prepara(cajaId, cajaClave, cajaDescripcion, sesionId);
  BTN_corteMonto->setEnabled(false);
  cajaSesionAcumulado();
  uCorteMonto = uAcumulado;
  LBL_corteMonto->setText(u_formatoMoneda(uCorteMonto));
  LBL_fechaHora->clear();
  return ejecuta();
}

void TFRM_cajaCorte::cajaSesionAcumulado() {
  uAcumulado =
      calculaCajaAcumuladoPorSesion(uSesionID, localSYS.getIdNegocio(), localSYS.getConexion());
  LBL_montoActual->setText(u_formatoMoneda(uAcumulado));
}

int TFRM_cajaCorte::intervaloReloj() const { return uReloj->interval(); }
bool TFRM_cajaCorte::relojEnMarcha() const { return uReloj->isActive(); }

void TFRM_cajaCorte::actualizaReloj() {
  LBL_fechaHora->setText(u_fechaHoraTexto(QDateTime::currentDateTime()));
}

void TFRM_cajaCorte::BTN_corteMontoClick() {
  if (!uEsCorte) return;
  TFRM_editar editar(this);
  const TRespuestaEditar r =
      editar.initNumericoFraccion(QStringLiteral("Corte Monto"), u_floatToStr(uCorteMonto), 20);
  if (!r.ok || r.texto.isEmpty()) return;
  uCorteMonto = u_strToFloat(u_truncaMoneda(r.texto));
  LBL_corteMonto->setText(u_formatoMoneda(uCorteMonto));
}

void TFRM_cajaCorte::BTN_aceptarClick() {
  const TResultado limite = validaRetiro(uCorteMonto, uAcumulado);
  if (!limite.ok) {
    u_muestra(limite);
    return;
  }
  if (!u_confirma(uEsCorte ? QStringLiteral("¿Realizar Corte de Caja?")
                           : QStringLiteral("¿Realizar Cierre de Caja?")))
    return;
  const TResultado guardado =
      aplicaRetiro(uEsCorte, uSesionID, uCajaID, QDateTime::currentDateTime(), uCorteMonto,
                   localSYS.getConexion());
  if (!guardado.ok) {
    u_muestra(guardado);
    return;
  }
  accept();
}
