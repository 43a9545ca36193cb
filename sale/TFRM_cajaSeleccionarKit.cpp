#include "sale/TFRM_cajaSeleccionarKit.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "context/TsistemaDatos.h"
#include "operaciones/productos.h"
#include "ui/mensajes.h"
#include "ui/recursosPantalla.h"

namespace {
QString css(quint32 argb) { return QStringLiteral("#%1").arg(argb & 0xFFFFFF, 6, 16, QChar('0')); }
}  // namespace

TFRM_cajaSeleccionarKit::TFRM_cajaSeleccionarKit(QWidget* parent) : QDialog(parent) {
  const TListaColores colores = getColores();
  setModal(true);
  resize(520, 560);
  setObjectName(QStringLiteral("seleccionKit"));
  setStyleSheet(QStringLiteral("#seleccionKit{background:%1;}")
                    .arg(css(colorDe(colores, QStringLiteral("fondoSolido")))));
  auto* v = new QVBoxLayout(this);
  uTitulo = new QLabel(this);
  uTitulo->setStyleSheet(QStringLiteral("font-size:22px;font-weight:700;color:%1;")
                             .arg(css(colorDe(colores, QStringLiteral("tituloFormulario2")))));
  v->addWidget(uTitulo);
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(false);
  uArea = new QWidget();
  scroll->setWidget(uArea);
  v->addWidget(scroll, 1);
  auto* cancelarBtn = new QPushButton(QStringLiteral("Cancelar"), this);
  mini_cornerButtonStyle(cancelarBtn, colores);
  v->addWidget(cancelarBtn);
  connect(cancelarBtn, &QPushButton::clicked, this, &TFRM_cajaSeleccionarKit::cancelar);
}

TFRM_cajaSeleccionarKit::~TFRM_cajaSeleccionarKit() { liberaEntradas(); }

void TFRM_cajaSeleccionarKit::liberaEntradas() {
  for (tHoldKit& e : uListaComponentesDinamicos) delete e.fondo;
  uListaComponentesDinamicos.clear();
}

void TFRM_cajaSeleccionarKit::lista(const QString& columnaNombre, const QString& columnaId) {
  liberaEntradas();
  const int ancho = 460;
  for (int i = 0; i < uResponseBusqueda.getRowCount(); ++i) {
    tHoldKit e;
    e.fondo = new QFrame(uArea);
    e.fondo->setObjectName(QStringLiteral("componenteN") + QString::number(i));
    e.fondo->setGeometry(10, 10 + 60 * i, ancho, 52);
    e.fondo->setCursor(Qt::PointingHandCursor);
    e.fondo->setStyleSheet(QStringLiteral("QFrame{background:white;border:1px solid #C5CED8;"
                                          "border-radius:8px;}QLabel{border:none;}"));
    e.etiqueta = new QLabel(uResponseBusqueda.getCelda(columnaNombre, i), e.fondo);
    e.etiqueta->setGeometry(14, 0, ancho - 28, 52);
    e.etiqueta->setFont(QFont(QStringLiteral("Segoe UI"), 14));
    e.id = uResponseBusqueda.getCeldaAsInt(columnaId, i);
    e.fondo->installEventFilter(this);
    nombra(QStringLiteral("Entrada %1").arg(uListaComponentesDinamicos.size()), e.fondo);
    uListaComponentesDinamicos << e;
  }
  uArea->resize(ancho + 20, 20 + 60 * uResponseBusqueda.getRowCount());
}

TRespuestaSeleccionKit TFRM_cajaSeleccionarKit::ejecuta(const QString& titulo) {
  uTitulo->setText(titulo);
  setWindowTitle(titulo);
  uOk = false;
  uSelectedKitID = 0;
  u_ejecutaModal(this);
  return {uOk, uSelectedKitID};
}

TRespuestaSeleccionKit TFRM_cajaSeleccionarKit::initKit() {
  uResponseBusqueda = consultaKitFecha(QVariant(), localSYS.getIdNegocio(), QVariant(1),
                                       QDateTime::currentDateTime(), 1, localSYS.getConexion());
  if (uResponseBusqueda.ok()) lista(QStringLiteral("ventasKit_nombre"), QStringLiteral("ventasKit_id"));
  return ejecuta(QStringLiteral("Seleccionar Kit"));
}

TRespuestaSeleccionKit TFRM_cajaSeleccionarKit::initPromo() {
  uResponseBusqueda = consultaPromocion(QVariant(), QVariant(QDateTime::currentDateTime()),
                                        localSYS.getIdNegocio(), QVariant(1), 1, localSYS.getConexion());
  if (uResponseBusqueda.ok())
    lista(QStringLiteral("ventasPromociones_nombre"), QStringLiteral("ventasPromociones_id"));
  return ejecuta(QStringLiteral("Seleccionar Promoción"));
}

void TFRM_cajaSeleccionarKit::eligeEntrada(int indice) {
  if (indice < 0 || indice >= uListaComponentesDinamicos.size()) return;
  uIndiBusquedaSeleccionado = indice;
  uOk = true;
  uSelectedKitID = uListaComponentesDinamicos[indice].id;
  accept();
}

QList<int> TFRM_cajaSeleccionarKit::idsEntradas() const {
  QList<int> ids;
  for (const tHoldKit& e : uListaComponentesDinamicos) ids << e.id;
  return ids;
}

void TFRM_cajaSeleccionarKit::cancelar() {
  uOk = false;
  reject();
}

bool TFRM_cajaSeleccionarKit::eventFilter(QObject* obj, QEvent* ev) {
  if (ev->type() == QEvent::MouseButtonRelease) {
    const QString nombre = obj->objectName();
    if (nombre.startsWith(QStringLiteral("componenteN"))) {
      eligeEntrada(nombre.mid(11).toInt());
      return true;
    }
  }
  return QDialog::eventFilter(obj, ev);
}
