#include "services/TFRM_cobroServiciosExternos.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "context/TsistemaDatos.h"
#include "services/TFRM_historialServiciosExternos.h"
#include "services/reglas/credencialesMercadoPago.h"
#include "shell/programaPredeterminado.h"
#include "ui/TTecladoCampos.h"
#include "ui/TTecladoPantalla.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"

TFRM_cobroServiciosExternos::TFRM_cobroServiciosExternos(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_cobroServiciosExternos"));
  setWindowTitle(tituloVentanaSuite());
  resize(720, 560);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(24, 18, 24, 18);
  raiz->setSpacing(10);
  auto* titulo = new QLabel(QStringLiteral("Servicios Externos"), this);
  titulo->setProperty("rol", QStringLiteral("titulo"));
  raiz->addWidget(titulo);
  auto* seccion = new QLabel(QStringLiteral("Mercado Pago"), this);
  seccion->setStyleSheet(QStringLiteral("font-size:18px;font-weight:700;"));
  raiz->addWidget(seccion);

  auto* g = new QGridLayout();
  g->setHorizontalSpacing(12);
  g->setVerticalSpacing(4);
  TXT_clienteID = new QLineEdit(this);
  TXT_clienteID->setMaxLength(200);
  TXT_clienteSecret = new QLineEdit(this);
  TXT_clienteSecret->setMaxLength(200);
  TXT_clienteSecret->setEchoMode(QLineEdit::Password);
  TXT_poi = new QLineEdit(this);
  TXT_poi->setMaxLength(30);
  u_agregaCampo(g, 0, 0, QStringLiteral("Client ID"), TXT_clienteID, 2);
  u_agregaCampo(g, 2, 0, QStringLiteral("Client Secret"), TXT_clienteSecret, 2);
  u_agregaCampo(g, 4, 0, QStringLiteral("Point Blue no. Serie"), TXT_poi);
  raiz->addLayout(g);

  const QUrl pagina(u_paginaCredencialesMercadoPago());
  auto* ayuda =
      new QLabel(QStringLiteral("Consulte las credenciales de Mercado Pago desde la pagina\n") +
                     pagina.toString(QUrl::RemovePath | QUrl::RemoveQuery) +
                     QStringLiteral(" y capture los espacios necsarios.\n") +
                     QStringLiteral("Consulte el no de serie oprimiento * en su "
                                    "dispositivo Point Blue."),
                 this);
  ayuda->setWordWrap(true);
  ayuda->setProperty("rol", QStringLiteral("leyenda"));
  raiz->addWidget(ayuda);

  auto* opciones = new QHBoxLayout();
  auto* consultar = new QPushButton(QStringLiteral("Consultar Credenciales"), this);
  auto* historial = new QPushButton(QStringLiteral("Ver Historial Pagos"), this);
  opciones->addWidget(consultar);
  opciones->addWidget(historial);
  opciones->addStretch();
  raiz->addLayout(opciones);
  raiz->addStretch();
  auto* botones = new QHBoxLayout();
  botones->addStretch();
  auto* aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  auto* cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  botones->addWidget(aceptar);
  botones->addWidget(cancelar);
  raiz->addLayout(botones);
  for (QPushButton* b : {consultar, historial, aceptar, cancelar}) {
    b->setAutoDefault(false);
    b->setMinimumHeight(48);
  }
  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, titulo, colores);
  estiloBotones({consultar, historial, aceptar, cancelar}, colores);

  uTeclado = new TTecladoCampos(this);
  for (QLineEdit* campo : {TXT_clienteID, TXT_clienteSecret, TXT_poi})
    uTeclado->agrega(campo, true);

  connect(aceptar, &QPushButton::clicked, this, &TFRM_cobroServiciosExternos::BTN_aceptarClick);
  connect(cancelar, &QPushButton::clicked, this, &TFRM_cobroServiciosExternos::BTN_cancelarClick);
  connect(consultar, &QPushButton::clicked, this,
          &TFRM_cobroServiciosExternos::BTN_consultarCredencialesClick);
  connect(historial, &QPushButton::clicked, this,
          &TFRM_cobroServiciosExternos::BTN_verHistorialClick);
  for (const auto& [nombre, control] : std::initializer_list<std::pair<const char*, QWidget*>>{
           {"Client ID", TXT_clienteID},
           {"Client Secret", TXT_clienteSecret},
           {"Point Blue no. Serie", TXT_poi},
           {"Consultar Credenciales", consultar},
           {"Ver Historial Pagos", historial},
           {"Aceptar", aceptar},
           {"Cancelar", cancelar},
           {"Teclado", uTeclado->teclado()}})
    nombra(QString::fromUtf8(nombre), control);
}

bool TFRM_cobroServiciosExternos::init() {
  uAceptar = false;
  buscar();
  u_ejecutaModal(this);
  return uAceptar;
}

void TFRM_cobroServiciosExternos::buscar() {
  const TCredencialesMercado c =
      u_cargaCredencialesMercadoPago(localSYS.getIdNegocio(), localSYS.getConexion());
  TXT_clienteID->setText(c.clienteID);
  TXT_clienteSecret->setText(c.clienteSecret);
  TXT_poi->setText(c.poi);
}

void TFRM_cobroServiciosExternos::BTN_aceptarClick() {
  const TCredencialesMercado c{TXT_clienteID->text(), TXT_clienteSecret->text(), TXT_poi->text()};
  const TResultado valido = u_validaCredencialesMercadoPago(c);
  if (!valido.ok) return u_muestra(valido);
  if (!u_confirma(QStringLiteral("Compruebe que lso datos capturados sean correctos\n\r"
                                 "¿Desea guardar esta información?")))
    return;
  const TResultado guardado =
      u_guardaCredencialesMercadoPago(c, localSYS.getIdNegocio(), localSYS.getConexion());
  uAceptar = guardado.ok;
  if (!guardado.ok) return u_muestra(guardado);
  accept();
}

void TFRM_cobroServiciosExternos::BTN_cancelarClick() {
  uAceptar = false;
  reject();
}

void TFRM_cobroServiciosExternos::BTN_consultarCredencialesClick() {
  abreConProgramaPredeterminado(u_paginaCredencialesMercadoPago());
}

void TFRM_cobroServiciosExternos::BTN_verHistorialClick() {
  TFRM_historialServiciosExternos historial(this);
  historial.init();
}
