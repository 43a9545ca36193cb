#include "sessions/TFRM_cajaCaptura.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "context/TsistemaDatos.h"
#include "operaciones/almacen.h"
#include "operaciones/cajas.h"
#include "sessions/controlesSesion.h"
#include "ui/TTecladoCampos.h"
#include "ui/comboAlmacenes.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/imagenes.h"
#include "util/utilerias.h"

TFRM_cajaCaptura::TFRM_cajaCaptura(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_cajaCaptura"));
  construye();
}

void TFRM_cajaCaptura::construye() {
  resize(640, 440);
  uTeclado = new TTecladoCampos(this);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(24, 18, 24, 18);
  raiz->setSpacing(10);
  LBL_titulo = new QLabel(this);
  raiz->addWidget(LBL_titulo);
  raiz->addSpacing(6);
  TXT_claveCaja = new QLineEdit(this);
  TXT_claveCaja->setMaxLength(20);
  TXT_descripcionCaja = new QLineEdit(this);
  TXT_descripcionCaja->setMaxLength(60);
  CMB_almacenes = new QComboBox(this);
  for (QWidget* w :
       {static_cast<QWidget*>(TXT_claveCaja), static_cast<QWidget*>(TXT_descripcionCaja),
        static_cast<QWidget*>(CMB_almacenes)})
    w->setMinimumHeight(44);
  uTeclado->agrega(TXT_claveCaja);
  uTeclado->agrega(TXT_descripcionCaja);
  raiz->addWidget(leyendaSesion(QStringLiteral("* Clave"), this));
  raiz->addWidget(TXT_claveCaja);
  raiz->addWidget(leyendaSesion(QStringLiteral("Descripción Corta"), this));
  raiz->addWidget(TXT_descripcionCaja);
  raiz->addWidget(leyendaSesion(QStringLiteral("* Almacén"), this));
  raiz->addWidget(CMB_almacenes);
  raiz->addStretch();
  auto* botones = new QHBoxLayout();
  botones->addStretch();
  BTN_aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  BTN_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  botones->addWidget(BTN_aceptar);
  botones->addWidget(BTN_cancelar);
  raiz->addLayout(botones);
  const TListaColores colores = getColores();
  aplicaColoresSesion(this, LBL_titulo, colores);
  estiloBotones({BTN_aceptar, BTN_cancelar}, colores);
  nombra(QStringLiteral("Título"), LBL_titulo);
  nombra(QStringLiteral("Clave"), TXT_claveCaja);
  nombra(QStringLiteral("Descripción Corta"), TXT_descripcionCaja);
  nombra(QStringLiteral("Almacén"), CMB_almacenes);
  nombra(QStringLiteral("Aceptar"), BTN_aceptar);
  nombra(QStringLiteral("Cancelar"), BTN_cancelar);
  connect(BTN_aceptar, &QPushButton::clicked, this, &TFRM_cajaCaptura::BTN_aceptarClick);
  connect(BTN_cancelar, &QPushButton::clicked, this, &TFRM_cajaCaptura::BTN_cancelarClick);
}

void TFRM_cajaCaptura::cargaComboAlmacen() {
  u_cargaComboAlmacenes(CMB_almacenes, uValueMember_CMB_almacenes, localSYS);
}

bool TFRM_cajaCaptura::initNuevo() {
  cargaComboAlmacen();
  CMB_almacenes->setCurrentIndex(-1);
  LBL_titulo->setText(QStringLiteral("Nueva Caja"));
  uEsNuevo = true;
  uAceptar = false;
  TXT_claveCaja->setEnabled(true);
  TXT_claveCaja->setFocus();
  u_ejecutaModal(this);
  return uAceptar;
}

bool TFRM_cajaCaptura::initEditar(int cajaId) {
  cargaComboAlmacen();
  LBL_titulo->setText(QStringLiteral("Editar Caja"));
  uEsNuevo = false;
  uAceptar = false;
  uCajaID = cajaId;
  TXT_claveCaja->setEnabled(false);
  TXT_descripcionCaja->setFocus();
  cargaCaja();
  u_ejecutaModal(this);
  return uAceptar;
}

void TFRM_cajaCaptura::cargaCaja() {
  if (uCajaID <= 0) return;
  const CmidTierResponse r = buscaCajaPorID(uCajaID, localSYS.getConexion());
  if (!r.ok() || r.getRowCount() == 0) return;
  TXT_claveCaja->setText(r.getCelda(QStringLiteral("puntoCaja_clave")));
  TXT_descripcionCaja->setText(r.getCelda(QStringLiteral("puntoCaja_descripcion")));
  CMB_almacenes->setCurrentIndex(FROM_arrayValue_TO_cboxIndex(
      uValueMember_CMB_almacenes, static_cast<int>(uValueMember_CMB_almacenes.size()) - 1,
      r.getCeldaAsInt(QStringLiteral("inventarioAlmacen_id"))));
}

void TFRM_cajaCaptura::BTN_aceptarClick() {
  uTeclado->oculta();
  TConexionSesion& conexion = localSYS.getConexion();
  bool guardado = false;
  if (uEsNuevo) {
    const QString clave = TXT_claveCaja->text().trimmed();
    if (clave.isEmpty()) {
      u_mensaje(QStringLiteral("Capturar clave"), mtCustom);
      return;
    }
    if (buscaCajaDuplciadaporClave(clave, localSYS.getIdNegocio(), conexion)) {
      u_mensaje(QStringLiteral("El nombre capturado ya existe, intente nuevamente"), mtCustom);
      return;
    }
    const int i = CMB_almacenes->currentIndex();
    if (i < 0 || i >= uValueMember_CMB_almacenes.size()) {
      u_mensaje(QStringLiteral("Seleccione un almacen"), mtCustom);
      return;
    }
    guardado = nuevaCaja(clave, TXT_descripcionCaja->text().trimmed(), localSYS.getIdNegocio(),
                         conexion, uValueMember_CMB_almacenes[i]);
  } else {
    guardado = editaCaja(uCajaID, TXT_descripcionCaja->text().trimmed(), conexion);
  }
  if (!guardado) return;
  uAceptar = true;
  accept();
}
