// Widgets of the cashier capture: three tabs, the photo and the buttons.
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include "admin/TFRM_cajerosCaptura.h"
#include "ui/TTecladoCampos.h"
#include "ui/TTecladoPantalla.h"
#include "ui/estiloDialogo.h"

TFRM_cajerosCaptura::TFRM_cajerosCaptura(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_cajerosCaptura"));
  construye();
}

QLineEdit* TFRM_cajerosCaptura::nuevoCampo(int longitud, bool soloDigitos) {
  auto* campo = new QLineEdit(this);
  campo->setMaxLength(longitud);
  campo->setMinimumHeight(44);
  if (soloDigitos) {
    // The key filter stops typed keys; the validator also stops the on-screen keyboard.
    campo->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), campo));
    campo->installEventFilter(this);
  }
  uTeclado->agrega(campo);
  return campo;
}

void TFRM_cajerosCaptura::construye() {
  resize(980, 700);
  uTeclado = new TTecladoCampos(this);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(22, 16, 22, 16);
  raiz->setSpacing(12);
  LBL_titulo = new QLabel(this);
  raiz->addWidget(LBL_titulo);

  PGC_cajero = new QTabWidget(this);
  PGC_cajero->addTab(construyePestanaCajero(), QStringLiteral("Cajero"));
  PGC_cajero->addTab(construyePestanaDireccion(), QStringLiteral("Dirección"));
  PGC_cajero->addTab(construyePestanaNota(), QStringLiteral("Nota"));
  raiz->addWidget(PGC_cajero, 1);

  auto* botones = new QHBoxLayout();
  botones->addStretch();
  BTN_aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  BTN_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  BTN_aceptar->setAutoDefault(false);
  BTN_cancelar->setAutoDefault(false);
  botones->addWidget(BTN_aceptar);
  botones->addWidget(BTN_cancelar);
  raiz->addLayout(botones);

  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, LBL_titulo, colores);
  estiloBotones({BTN_aceptar, BTN_cancelar, BTN_seleccionarImagen}, colores);
  for (const auto& [nombre, control] : std::initializer_list<std::pair<const char*, QWidget*>>{
           {"Título", LBL_titulo},
           {"Pestañas", PGC_cajero},
           {"Clave", TXT_clave},
           {"Estado", CMB_vendedorEstado},
           {"Nombre", TXT_nombre},
           {"A. Paterno", TXT_apellidoPaterno},
           {"A. Materno", TXT_apellidoMaterno},
           {"Masculino", RAD_masculino},
           {"Femenino", RAD_femenino},
           {"Fecha Nac.", DTP_fechaNacimiento},
           {"Mail", TXT_mail},
           {"Teléfono", TXT_telefono},
           {"Cell", TXT_cell},
           {"Foto", IMG_vendedor},
           {"Seleccionar", BTN_seleccionarImagen},
           {"Calle", TXT_calle},
           {"No. Exterior", TXT_noExterior},
           {"Int.", TXT_noInterior},
           {"Colonia", TXT_colonia},
           {"Localidad", TXT_localidad},
           {"Referencia", TXT_referencia},
           {"Municipio", TXT_municipio},
           {"Estado de la dirección", TXT_estado},
           {"País", TXT_pais},
           {"Código Postal", TXT_codigoPostal},
           {"Nota", TXT_nota},
           {"Aceptar", BTN_aceptar},
           {"Cancelar", BTN_cancelar},
           {"Teclado", uTeclado->teclado()}})
    nombra(QString::fromUtf8(nombre), control);
  connect(BTN_aceptar, &QPushButton::clicked, this, &TFRM_cajerosCaptura::BTN_aceptarClick);
  connect(BTN_cancelar, &QPushButton::clicked, this, &TFRM_cajerosCaptura::BTN_cancelarClick);
  connect(BTN_seleccionarImagen, &QPushButton::clicked, this, &TFRM_cajerosCaptura::imagenBuscar);
}

QWidget* TFRM_cajerosCaptura::construyePestanaCajero() {
  auto* pagina = new QWidget(this);
  auto* h = new QHBoxLayout(pagina);
  h->setContentsMargins(18, 16, 18, 16);
  h->setSpacing(24);
  auto* g = new QGridLayout();
  g->setHorizontalSpacing(16);
  g->setVerticalSpacing(10);
  TXT_clave = nuevoCampo(10);
  TXT_nombre = nuevoCampo(100);
  TXT_apellidoPaterno = nuevoCampo(100);
  TXT_apellidoMaterno = nuevoCampo(100);
  CMB_vendedorEstado = new QComboBox(pagina);
  CMB_vendedorEstado->setMinimumHeight(44);
  CMB_vendedorEstado->setEnabled(false);
  RAD_masculino = new QRadioButton(QStringLiteral("Masculino"), pagina);
  RAD_femenino = new QRadioButton(QStringLiteral("Femenino"), pagina);
  auto* sexo = new QWidget(pagina);
  auto* hs = new QHBoxLayout(sexo);
  hs->setContentsMargins(0, 0, 0, 0);
  hs->addWidget(RAD_masculino);
  hs->addWidget(RAD_femenino);
  hs->addStretch();
  DTP_fechaNacimiento = new QDateEdit(pagina);
  DTP_fechaNacimiento->setCalendarPopup(true);
  DTP_fechaNacimiento->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  DTP_fechaNacimiento->setMinimumHeight(44);
  TXT_mail = nuevoCampo(100);
  uTeclado->agrega(TXT_mail, true);  // an address needs "@" and "."
  TXT_telefono = nuevoCampo(10, true);
  TXT_cell = nuevoCampo(10, true);
  for (QLineEdit* c : {TXT_mail, TXT_telefono, TXT_cell}) c->installEventFilter(this);

  u_agregaCampo(g, 0, 0, QStringLiteral("* Clave"), TXT_clave);
  u_agregaCampo(g, 0, 1, QStringLiteral("* Estado"), CMB_vendedorEstado);
  u_agregaCampo(g, 1, 0, QStringLiteral("* Nombre"), TXT_nombre, 2);
  u_agregaCampo(g, 2, 0, QStringLiteral("* A. Paterno"), TXT_apellidoPaterno);
  u_agregaCampo(g, 2, 1, QStringLiteral("* A. Materno"), TXT_apellidoMaterno);
  u_agregaCampo(g, 3, 0, QStringLiteral("Sexo"), sexo);
  u_agregaCampo(g, 3, 1, QStringLiteral("Fecha Nac."), DTP_fechaNacimiento);
  u_agregaCampo(g, 4, 0, QStringLiteral("Mail"), TXT_mail, 2);
  u_agregaCampo(g, 5, 0, QStringLiteral("Teléfono"), TXT_telefono);
  u_agregaCampo(g, 5, 1, QStringLiteral("Cell"), TXT_cell);
  g->setRowStretch(6, 1);
  h->addLayout(g, 1);

  auto* foto = new QVBoxLayout();
  foto->setSpacing(10);
  IMG_vendedor = new QLabel(pagina);
  IMG_vendedor->setFixedSize(220, 220);
  IMG_vendedor->setAlignment(Qt::AlignCenter);
  IMG_vendedor->setStyleSheet(
      QStringLiteral("background:#F4F6F8;border:1px solid #D5DBE1;border-radius:8px;"));
  BTN_seleccionarImagen = new QPushButton(QStringLiteral("Seleccionar"), pagina);
  foto->addWidget(IMG_vendedor);
  foto->addWidget(BTN_seleccionarImagen);
  foto->addStretch();
  h->addLayout(foto);
  return pagina;
}

QWidget* TFRM_cajerosCaptura::construyePestanaDireccion() {
  auto* pagina = new QWidget(this);
  auto* g = new QGridLayout(pagina);
  g->setContentsMargins(18, 16, 18, 16);
  g->setHorizontalSpacing(16);
  g->setVerticalSpacing(10);
  TXT_calle = nuevoCampo(200);
  TXT_noExterior = nuevoCampo(30);
  TXT_noInterior = nuevoCampo(30);
  TXT_noInterior->installEventFilter(this);
  TXT_colonia = nuevoCampo(100);
  TXT_localidad = nuevoCampo(100);
  TXT_referencia = nuevoCampo(100);
  TXT_municipio = nuevoCampo(100);
  TXT_estado = nuevoCampo(50);
  TXT_pais = nuevoCampo(50);
  TXT_codigoPostal = nuevoCampo(20, true);
  TXT_codigoPostal->installEventFilter(this);
  u_agregaCampo(g, 0, 0, QStringLiteral("Calle"), TXT_calle, 2);
  u_agregaCampo(g, 0, 2, QStringLiteral("No. Exterior"), TXT_noExterior);
  u_agregaCampo(g, 0, 3, QStringLiteral("Int."), TXT_noInterior);
  u_agregaCampo(g, 1, 0, QStringLiteral("Colonia"), TXT_colonia, 2);
  u_agregaCampo(g, 1, 2, QStringLiteral("Localidad"), TXT_localidad, 2);
  u_agregaCampo(g, 2, 0, QStringLiteral("Referencia"), TXT_referencia, 4);
  u_agregaCampo(g, 3, 0, QStringLiteral("Municipio"), TXT_municipio, 2);
  u_agregaCampo(g, 3, 2, QStringLiteral("Estado"), TXT_estado, 2);
  u_agregaCampo(g, 4, 0, QStringLiteral("País"), TXT_pais, 2);
  u_agregaCampo(g, 4, 2, QStringLiteral("Código Postal"), TXT_codigoPostal, 2);
  for (int c = 0; c < 4; ++c) g->setColumnStretch(c, 1);
  g->setRowStretch(5, 1);
  return pagina;
}

QWidget* TFRM_cajerosCaptura::construyePestanaNota() {
  auto* pagina = new QWidget(this);
  auto* v = new QVBoxLayout(pagina);
  v->setContentsMargins(18, 16, 18, 16);
  auto* l = new QLabel(QStringLiteral("Nota"), pagina);
  l->setProperty("rol", QStringLiteral("leyenda"));
  TXT_nota = new QPlainTextEdit(pagina);
  TXT_nota->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  uTeclado->agrega(TXT_nota);
  // A memo has no length limit of its own: text past 200 characters is cut back.
  connect(TXT_nota, &QPlainTextEdit::textChanged, this, [this] {
    const QString t = TXT_nota->toPlainText();
    if (t.size() <= 200) return;
    const QSignalBlocker bloqueo(TXT_nota);
    TXT_nota->setPlainText(t.left(200));
    TXT_nota->moveCursor(QTextCursor::End);
  });
  v->addWidget(l);
  v->addWidget(TXT_nota, 1);
  return pagina;
}
