#include "ui/TFRM_capturaDevolucion.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "context/TsistemaDatos.h"
#include "operaciones/noSerie.h"
#include "ui/TFRM_editar.h"
#include "ui/TListaMarcas.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

namespace {

QString cantidadTexto(double valor) { return u_floatToStr(u_truncaDecimales(valor, 9)); }

}  // namespace

TFRM_capturaDevolucion::TFRM_capturaDevolucion(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_capturaDevolucion"));
  construye();
}

void TFRM_capturaDevolucion::construye() {
  resize(720, 620);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(24, 18, 24, 18);
  raiz->setSpacing(12);
  LBL_titulo = new QLabel(QStringLiteral("Devolución de artículo"), this);
  LBL_descripcion = new QLabel(this);
  LBL_descripcion->setProperty("rol", QStringLiteral("valor"));
  LBL_descripcion->setWordWrap(true);
  LBL_disponible = new QLabel(this);
  raiz->addWidget(LBL_titulo);
  raiz->addWidget(LBL_descripcion);
  raiz->addWidget(LBL_disponible);

  auto* g = new QGridLayout();
  g->setHorizontalSpacing(18);
  g->setVerticalSpacing(10);
  auto* cantidad = new QWidget(this);
  auto* h = new QHBoxLayout(cantidad);
  h->setContentsMargins(0, 0, 0, 0);
  BTN_menos = new QPushButton(QStringLiteral("−"), cantidad);
  BTN_cantidad = new QPushButton(cantidad);
  BTN_mas = new QPushButton(QStringLiteral("+"), cantidad);
  for (QPushButton* b : {BTN_menos, BTN_mas}) {
    b->setFixedSize(64, 52);
    b->setStyleSheet(QStringLiteral(
        "QPushButton{font-size:28px;font-weight:700;border:2px solid #C5CED8;border-radius:8px;"
        "background:#EEF2F6;color:#1E2A36;} QPushButton:pressed{background:#C9D3DD;}"));
  }
  BTN_cantidad->setMinimumHeight(52);
  BTN_cantidad->setStyleSheet(QStringLiteral(
      "QPushButton{font-size:22px;font-weight:700;border:2px solid #C5CED8;border-radius:8px;"
      "background:white;color:#1E2A36;}"));
  h->addWidget(BTN_menos);
  h->addWidget(BTN_cantidad, 1);
  h->addWidget(BTN_mas);
  u_agregaCampo(g, 0, 0, QStringLiteral("Cantidad a devolver"), cantidad, 2);
  CMB_motivo = new QComboBox(this);
  for (const TmotivoDevolucion& m : u_motivosDevolucion()) CMB_motivo->addItem(m.texto, m.id);
  CMB_estado = new QComboBox(this);
  CMB_estado->addItems(u_estadosProducto());
  u_agregaCampo(g, 1, 0, QStringLiteral("Motivo"), CMB_motivo);
  u_agregaCampo(g, 1, 1, QStringLiteral("Estado del producto"), CMB_estado);
  g->setColumnStretch(0, 1);
  g->setColumnStretch(1, 1);
  raiz->addLayout(g);

  LBL_leyendaSeries = new QLabel(QStringLiteral("Números de serie que regresan"), this);
  LBL_leyendaSeries->setProperty("rol", QStringLiteral("leyenda"));
  LST_noSerie = new TListaMarcas(this);
  raiz->addWidget(LBL_leyendaSeries);
  raiz->addWidget(LST_noSerie, 1);
  raiz->addStretch();

  auto* botones = new QHBoxLayout();
  botones->addStretch();
  BTN_aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  BTN_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  botones->addWidget(BTN_aceptar);
  botones->addWidget(BTN_cancelar);
  raiz->addLayout(botones);

  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, LBL_titulo, colores);
  estiloBotones({BTN_aceptar, BTN_cancelar}, colores);
  connect(BTN_cantidad, &QPushButton::clicked, this, &TFRM_capturaDevolucion::BTN_cantidadClick);
  connect(BTN_menos, &QPushButton::clicked, this, &TFRM_capturaDevolucion::restaPieza);
  connect(BTN_mas, &QPushButton::clicked, this, &TFRM_capturaDevolucion::sumaPieza);
  connect(BTN_aceptar, &QPushButton::clicked, this, &TFRM_capturaDevolucion::BTN_aceptarClick);
  connect(BTN_cancelar, &QPushButton::clicked, this, &TFRM_capturaDevolucion::BTN_cancelarClick);
}

TcommCapturaDevolucion TFRM_capturaDevolucion::init(const TcommCapturaDevolucion& captura) {
  uCaptura = captura;
  uCaptura.ok = false;
  LBL_descripcion->setText(captura.descripcion.trimmed());
  LBL_disponible->setText(textoDisponible());
  uVendidos.clear();
  const CmidTierResponse vendidos =
      localSYS.conexion ? buscaNoSerieVendidosPorDetalle(captura.fila, localSYS.getConexion())
                        : CmidTierResponse();
  for (int i = 0; i < vendidos.getRowCount(); ++i)
    uVendidos.push_back({vendidos.getCeldaAsInt(QStringLiteral("inventarioNoSerie_id"), i),
                         vendidos.getCeldaAsInt(QStringLiteral("inventarioNoSerieTicket_id"), i),
                         vendidos.getCelda(QStringLiteral("inventarioNoSerie_noSerie"), i)});
  const QVector<TnoSerieDevolver> elegidos = u_leeNoSerieDevolver(captura.noSerieDevolver);
  LST_noSerie->limpia();
  for (const TnoSerieDevolver& s : uVendidos) LST_noSerie->agrega(s.noSerie, elegidos.contains(s));
  LST_noSerie->setVisible(!uVendidos.isEmpty());
  LBL_leyendaSeries->setVisible(!uVendidos.isEmpty());
  if (captura.devolucion > 0)
    muestraCantidad(cantidadTexto(captura.devolucion));
  else
    muestraCantidad(captura.fraccion ? QString() : QStringLiteral("1"));
  BTN_menos->setVisible(!captura.fraccion);
  BTN_mas->setVisible(!captura.fraccion);
  if (!eligeMotivo(captura.tipoDevolucion)) CMB_motivo->setCurrentIndex(0);
  if (!eligeEstado(captura.estado)) CMB_estado->setCurrentIndex(0);
  u_ejecutaModal(this);
  return uCaptura;
}

QString TFRM_capturaDevolucion::textoDisponible() const {
  return QStringLiteral("Vendido: %1     Devuelto: %2     Por devolver: %3%4")
      .arg(cantidadTexto(uCaptura.cantidad), cantidadTexto(uCaptura.devuelto),
           cantidadTexto(u_pendienteDevolucion(uCaptura)),
           uCaptura.fraccion ? QString() : QStringLiteral("     (por pieza)"));
}

void TFRM_capturaDevolucion::muestraCantidad(const QString& texto) {
  uCantidad = texto;
  BTN_cantidad->setText(texto.isEmpty() ? QStringLiteral("Capturar") : texto);
}

void TFRM_capturaDevolucion::escribeCantidad(const QString& texto) {
  muestraCantidad(texto.trimmed());
}

void TFRM_capturaDevolucion::sumaPieza() {
  double q = 0;
  u_leeCantidadDevolucion(uCantidad, &q);
  const double tope = std::floor(u_pendienteDevolucion(uCaptura) + 1e-9);
  muestraCantidad(cantidadTexto(std::min(std::floor(q + 1e-9) + 1, std::max(0.0, tope))));
}

void TFRM_capturaDevolucion::restaPieza() {
  double q = 0;
  u_leeCantidadDevolucion(uCaptura.fraccion ? QString() : uCantidad, &q);
  muestraCantidad(cantidadTexto(std::max(0.0, std::ceil(q - 1e-9) - 1)));
}

bool TFRM_capturaDevolucion::eligeMotivo(int tipoDevolucion) {
  const int i = CMB_motivo->findData(tipoDevolucion);
  if (i < 0) return false;
  CMB_motivo->setCurrentIndex(i);
  return true;
}

bool TFRM_capturaDevolucion::eligeEstado(const QString& estado) {
  const int i = CMB_estado->findText(estado.trimmed());
  if (i < 0) return false;
  CMB_estado->setCurrentIndex(i);
  return true;
}

bool TFRM_capturaDevolucion::marcaNoSerie(const QString& noSerie, bool marcado) {
  return LST_noSerie->marca(noSerie, marcado);
}

void TFRM_capturaDevolucion::BTN_cantidadClick() {
  TFRM_editar editar(this);
  const TRespuestaEditar r =
      uCaptura.fraccion
          ? editar.initNumericoFraccion(QStringLiteral("Cantidad a devolver"), uCantidad, 12)
          : editar.initNumericoEntero(QStringLiteral("Cantidad a devolver"), uCantidad, 9);
  if (r.ok) muestraCantidad(r.texto);
}

void TFRM_capturaDevolucion::BTN_aceptarClick() {
  TcommCapturaDevolucion c = uCaptura;
  if (!u_leeCantidadDevolucion(uCantidad, &c.devolucion)) {
    u_mensaje(QStringLiteral("Capture la cantidad a devolver con números."));
    return;
  }
  c.tipoDevolucion = CMB_motivo->currentData().toInt();
  c.estado = CMB_estado->currentText();
  QVector<TnoSerieDevolver> elegidos;
  for (int i = 0; i < LST_noSerie->cuenta(); ++i)
    if (LST_noSerie->marcado(i)) elegidos.push_back(uVendidos.value(i));
  c.noSerieDevolver = u_escribeNoSerieDevolver(elegidos);
  const QString error = u_validaCapturaDevolucion(c, uVendidos);
  if (!error.isEmpty()) {
    u_mensaje(error);
    return;
  }
  c.devolucionAcumulado = u_truncaDecimales(c.devuelto + c.devolucion, 9);
  c.ok = true;
  uCaptura = c;
  accept();
}

void TFRM_capturaDevolucion::BTN_cancelarClick() { reject(); }

QString TFRM_capturaDevolucion::textoCantidad() const { return uCantidad; }

QStringList TFRM_capturaDevolucion::noSeriesOfrecidos() const {
  QStringList t;
  for (const TnoSerieDevolver& s : uVendidos) t << s.noSerie;
  return t;
}

QStringList TFRM_capturaDevolucion::noSeriesMarcados() const {
  QStringList t;
  for (int i = 0; i < LST_noSerie->cuenta(); ++i)
    if (LST_noSerie->marcado(i)) t << LST_noSerie->textos()[i];
  return t;
}
