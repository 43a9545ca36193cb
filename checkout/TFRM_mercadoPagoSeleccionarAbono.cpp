#include "checkout/TFRM_mercadoPagoSeleccionarAbono.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "checkout/reglas/cobro.h"
#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/listas/TListaPantalla.h"
#include "signing/firma.h"
#include "ui/TFRM_espere.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

// The results grid with its filters; its search is the dialog's.
class TListaAbonos : public TListaPantalla {
 public:
  explicit TListaAbonos(TFRM_mercadoPagoSeleccionarAbono* dialogo)
      : TListaPantalla(QStringLiteral("Pagos de Mercado Pago"), Opciones::selector(), dialogo),
        uDialogo(dialogo) {
    TXT_monto = agregaCampoBusqueda(QStringLiteral("Monto"), QStringLiteral("TXT_monto"), 20, 160);
    TXT_poi = agregaCampoBusqueda(QStringLiteral("POI"), QStringLiteral("TXT_poi"), 50, 200);
    CMB_rango = new QComboBox(this);
    CMB_rango->addItems(mercadoPago::rangos());
    CMB_rango->setMinimumHeight(44);
    CMB_rango->setMinimumWidth(140);
    agregaFiltro(QStringLiteral("Rango"), CMB_rango);
    TXT_monto->installEventFilter(this);
    preparaGrid();
    delegado()->setPintura(QStringLiteral("Monto"), TPintura::Derecha);
  }
  QLineEdit* TXT_monto = nullptr;
  QLineEdit* TXT_poi = nullptr;
  QComboBox* CMB_rango = nullptr;
  QTableView* vista() const { return GRD_main; }
  QLabel* mensaje() const { return LBL_msg; }
  QPushButton* botonBuscar() const { return BTN_buscar; }

 protected:
  void declaraColumnas(TGridControl& g) override {
    g.add(0, QStringLiteral("Pago ID"), QStringLiteral("id"), QString(), 100, true);
    g.add(0, QStringLiteral("Fecha"), QStringLiteral("fecha"), QString(), 150, true);
    g.add(0, QStringLiteral("Monto"), QStringLiteral("monto"), QString(), 80, true);
    g.add(0, QStringLiteral("Tarjeta"), QStringLiteral("tarjeta"), QString(), 120, true);
    g.add(0, QStringLiteral("Nombre"), QStringLiteral("nombre"), QString(), 220, true);
    g.add(0, QStringLiteral("POI"), QStringLiteral("poi"), QString(), 100, true);
    g.add(0, QStringLiteral("Concepto"), QStringLiteral("concepto"), QString(), 150, true);
  }
  QString columnaAjuste() const override { return QStringLiteral("Concepto"); }
  CmidTierResponse consulta() override {
    QList<TPagoMercado> pagos;
    if (!uDialogo->buscaPagos(uDialogo->uPorRango, &pagos))
      return CmidTierResponse::fallo(QStringLiteral("búsqueda de pagos"));
    CmidTierResponse r;
    r.setColumnas({QStringLiteral("id"), QStringLiteral("fecha"), QStringLiteral("monto"),
                   QStringLiteral("tarjeta"), QStringLiteral("nombre"), QStringLiteral("poi"),
                   QStringLiteral("concepto")});
    for (const TPagoMercado& p : pagos)
      r.agregaFila({p.id, p.fecha, p.monto, p.tarjeta, p.nombre, p.poi, p.concepto});
    r.setOk(true);
    return r;
  }
  void liberacionEnGrid(int fila, int columna, const QPoint& global) override {
    Q_UNUSED(columna);
    Q_UNUSED(global);
    uDialogo->seleccionaFila(fila);
  }
  // Decimals only, as u_soloDecimales lets them through.
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    if (objeto == TXT_monto && evento->type() == QEvent::KeyPress) {
      const auto* k = static_cast<QKeyEvent*>(evento);
      if (!k->text().isEmpty() && k->text()[0].unicode() >= 32 &&
          !u_soloDecimales(TXT_monto->text(), k->text()[0]))
        return true;
    }
    return TListaPantalla::eventFilter(objeto, evento);
  }

 private:
  TFRM_mercadoPagoSeleccionarAbono* uDialogo;
};

TFRM_mercadoPagoSeleccionarAbono::TFRM_mercadoPagoSeleccionarAbono(QWidget* parent)
    : QDialog(parent), uConfiguracion(u_configuracionMercado(localSYS)) {
  setObjectName(QStringLiteral("TFRM_mercadoPagoSeleccionarAbono"));
  setWindowTitle(tituloVentanaSuite());
  resize(980, 600);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(8, 8, 8, 16);
  uLista = new TListaAbonos(this);
  raiz->addWidget(uLista, 1);
  auto* botones = new QHBoxLayout();
  botones->setContentsMargins(18, 0, 18, 0);
  botones->addStretch();
  auto* aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  auto* cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  for (QPushButton* b : {aceptar, cancelar}) {
    b->setAutoDefault(false);
    b->setMinimumHeight(48);
    botones->addWidget(b);
  }
  raiz->addLayout(botones);
  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, nullptr, colores);
  estiloBotones({aceptar, cancelar}, colores);
  connect(aceptar, &QPushButton::clicked, this,
          &TFRM_mercadoPagoSeleccionarAbono::BTN_aceptarClick);
  connect(cancelar, &QPushButton::clicked, this,
          &TFRM_mercadoPagoSeleccionarAbono::BTN_cancelarClick);
  nombra(QStringLiteral("Monto"), uLista->TXT_monto);
  nombra(QStringLiteral("POI"), uLista->TXT_poi);
  nombra(QStringLiteral("Rango"), uLista->CMB_rango);
  nombra(QStringLiteral("Buscar"), uLista->botonBuscar());
  nombra(QStringLiteral("Lista"), uLista->vista());
  nombra(QStringLiteral("Mensaje"), uLista->mensaje());
  nombra(QStringLiteral("Aceptar"), aceptar);
  nombra(QStringLiteral("Cancelar"), cancelar);
  connect(uLista, &TListaPantalla::busquedaTerminada, this, [this](bool ok) {
    if (!ok) return;
    uFilaSeleccionada = -1;
    uLista->delegado()->setFilaResaltada(-1);
    uLista->vista()->clearSelection();
  });
}

TFRM_mercadoPagoSeleccionarAbono::~TFRM_mercadoPagoSeleccionarAbono() = default;

TGridControl& TFRM_mercadoPagoSeleccionarAbono::grid() const { return uLista->grid(); }

void TFRM_mercadoPagoSeleccionarAbono::prepara(const QString& monto, const TDatosMercado& datos) {
  uMercadoDatos = datos;
  uMonto = monto;
  uFilaSeleccionada = -1;
  uAceptar = false;
  uLista->TXT_poi->setText(deCrypt(datos.poi));
  uLista->TXT_monto->setText(monto);
}

TConsultaAbono TFRM_mercadoPagoSeleccionarAbono::consultaAbono(const QString& monto,
                                                               const TDatosMercado& datos) {
  prepara(monto, datos);
  // The automatic lookup searches the last hour; every search the user asks for goes by range.
  uPorRango = false;
  uLista->buscar();
  uPorRango = true;
  const int filas = grid().getRowCount();
  if (filas == 1) return getFila(0);
  if (filas == 0) return {};
  u_ejecutaModal(this);
  if (!uAceptar || uFilaSeleccionada < 0 || uFilaSeleccionada >= grid().getRowCount()) return {};
  return getFila(uFilaSeleccionada);
}

TConsultaAbono TFRM_mercadoPagoSeleccionarAbono::consultaPagos(const QString& monto,
                                                               const TDatosMercado& datos) {
  prepara(monto, datos);
  uLista->CMB_rango->setCurrentIndex(0);
  uMontoAbono = monto;
  u_ejecutaModal(this);
  if (!uAceptar || uFilaSeleccionada < 0 || uFilaSeleccionada >= grid().getRowCount()) return {};
  return getFila(uFilaSeleccionada);
}

void TFRM_mercadoPagoSeleccionarAbono::BTN_buscarClick() { uLista->buscar(); }

bool TFRM_mercadoPagoSeleccionarAbono::buscaPagos(bool porRango, QList<TPagoMercado>* pagos) {
  const QString inicio = porRango ? mercadoPago::inicioRango(uLista->CMB_rango->currentText())
                                  : mercadoPago::inicioRango(QStringLiteral("1 Hora"));
  std::atomic<bool> ocupado{true};
  TbuscaPagosMercado busqueda;
  busqueda.inicia(uConfiguracion, uMercadoDatos, localSYS.conexion, localSYS.getIdNegocio(), inicio,
                  uLista->TXT_monto->text(), uLista->TXT_poi->text(), &ocupado);
  TFRM_espere espere;
  espere.inicia(&ocupado);
  const TBusquedaMercado r = busqueda.resultado();
  uMercadoDatos = r.datos;
  if (r.ok) *pagos = r.pagos;
  return r.ok;
}

void TFRM_mercadoPagoSeleccionarAbono::seleccionaFila(int fila) {
  if (fila < 0 || fila >= grid().getRowCount()) return;
  uFilaSeleccionada = fila;
  uLista->delegado()->setFilaResaltada(fila);
  uLista->vista()->selectRow(fila);
  uLista->vista()->viewport()->update();
}

void TFRM_mercadoPagoSeleccionarAbono::BTN_aceptarClick() {
  if (uFilaSeleccionada < 0 || uFilaSeleccionada >= grid().getRowCount() || uMonto.isEmpty())
    return;
  if (!u_confirma(QStringLiteral("¿Relacionar pago?"))) return;
  if (TCobro::monto(grid().getCelda(QStringLiteral("Monto"), uFilaSeleccionada)) !=
          TCobro::monto(uMonto) &&
      !u_confirma(QStringLiteral("La cantidad seleccionada es diferente del monto del pago\n\r"
                                 "¿Desea continuar?")))
    return;
  uAceptar = true;
  accept();
}

void TFRM_mercadoPagoSeleccionarAbono::BTN_cancelarClick() {
  uAceptar = false;
  reject();
}

TConsultaAbono TFRM_mercadoPagoSeleccionarAbono::getFila(int fila) const {
  TConsultaAbono a;
  a.ok = true;
  a.pagoID = grid().getCelda(QStringLiteral("Pago ID"), fila);
  a.tarjeta = grid().getCelda(QStringLiteral("Tarjeta"), fila);
  a.nombre = grid().getCelda(QStringLiteral("Nombre"), fila);
  a.concepto = grid().getCelda(QStringLiteral("Concepto"), fila);
  a.monto = grid().getCelda(QStringLiteral("Monto"), fila).toDouble();
  return a;
}
