#include "admin/TFRM_seleccionarCajero.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "grid/TGridControl.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/listas/TListaPantalla.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"

// The dialog's grid: active cashiers only, no exports.
class TListaCajerosActivos : public TListaPantalla {
 public:
  TListaCajerosActivos(TFRM_seleccionarCajero* dialogo)
      : TListaPantalla(QStringLiteral("Seleccionar Cajero"), Opciones::selector(), dialogo),
        uDialogo(dialogo) {
    TXT_nombre = agregaCampoBusqueda(QStringLiteral("Nombre"), QStringLiteral("TXT_nombre"), 20);
    TXT_clave = agregaCampoBusqueda(QStringLiteral("Clave"), QStringLiteral("TXT_clave"), 20);
    LBL_filtro = agregaNota();
    preparaGrid();
  }
  QLineEdit* TXT_nombre = nullptr;
  QLineEdit* TXT_clave = nullptr;
  QLabel* LBL_filtro = nullptr;
  QTableView* vista() const { return GRD_main; }
  QLabel* mensaje() const { return LBL_msg; }

 protected:
  void declaraColumnas(TGridControl& g) override {
    g.add(0, QStringLiteral("idCajero"), QStringLiteral("puntoCajero_id"), QString(), 30, false);
    g.add(0, QStringLiteral("idPresona"), QStringLiteral("persona_idPersona"), QString(), 40,
          false);
    g.add(0, QStringLiteral("Clave"), QStringLiteral("puntoCajero_clave"), QString(), 70, true);
    g.add(0, QStringLiteral("Nombre"), QStringLiteral("persona_nombre"), QString(), 30, true);
    g.add(0, QStringLiteral("EstadoID"), QStringLiteral("ventasVendedorEstado_id"), QString(), 30,
          false);
    g.add(0, QStringLiteral("Estado"), QStringLiteral("ventasVendedorEstado_etiqueta"), QString(),
          140, true);
  }
  QString columnaAjuste() const override { return QStringLiteral("Nombre"); }
  CmidTierResponse consulta() override {
    // Only active cashiers may work a register.
    const int estadoActivo = 1;
    LBL_filtro->setText(QStringLiteral("*Mostrando unicamente cajeros Activos"));
    return consultaCajeros(filtroTexto(TXT_nombre), filtroTexto(TXT_clave), estadoActivo,
                           uDialogo->uSistema.getIdNegocio(), uDialogo->uSistema.getConexion());
  }
  void liberacionEnGrid(int fila, int columna, const QPoint& global) override {
    Q_UNUSED(columna);
    Q_UNUSED(global);
    uDialogo->seleccionaFila(fila);
  }

 private:
  TFRM_seleccionarCajero* uDialogo;
};

TFRM_seleccionarCajero::TFRM_seleccionarCajero(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_seleccionarCajero"));
  resize(860, 620);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(8, 8, 8, 16);
  uLista = new TListaCajerosActivos(this);
  LBL_filtro = uLista->LBL_filtro;
  raiz->addWidget(uLista, 1);
  auto* botones = new QHBoxLayout();
  botones->setContentsMargins(18, 0, 18, 0);
  botones->addStretch();
  BTN_aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  BTN_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  for (QPushButton* b : {BTN_aceptar, BTN_cancelar}) {
    b->setAutoDefault(false);
    botones->addWidget(b);
  }
  raiz->addLayout(botones);
  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, nullptr, colores);
  estiloBotones({BTN_aceptar, BTN_cancelar}, colores);
  connect(BTN_aceptar, &QPushButton::clicked, this, &TFRM_seleccionarCajero::BTN_aceptarClick);
  connect(BTN_cancelar, &QPushButton::clicked, this, &TFRM_seleccionarCajero::BTN_cancelarClick);
  nombra(QStringLiteral("Nombre"), uLista->TXT_nombre);
  nombra(QStringLiteral("Clave"), uLista->TXT_clave);
  nombra(QStringLiteral("Filtro"), LBL_filtro);
  nombra(QStringLiteral("Mensaje"), uLista->mensaje());
  nombra(QStringLiteral("Lista"), uLista->vista());
  nombra(QStringLiteral("Aceptar"), BTN_aceptar);
  nombra(QStringLiteral("Cancelar"), BTN_cancelar);
  connect(uLista->vista(), &QTableView::doubleClicked, this,
          [this](const QModelIndex&) { BTN_aceptarClick(); });
  uLista->vista()->installEventFilter(this);
  // New rows: whatever was pointed at before no longer names the same cashier.
  connect(uLista, &TListaPantalla::busquedaTerminada, this, [this] {
    uFilaSeleccionada = -1;
    uRenglonValido = false;
    uLista->delegado()->setFilaResaltada(-1);
    uLista->vista()->clearSelection();
  });
}

TFRM_seleccionarCajero::~TFRM_seleccionarCajero() = default;

TGridControl& TFRM_seleccionarCajero::grid() const { return uLista->grid(); }

void TFRM_seleccionarCajero::buscar() { uLista->buscar(); }

void TFRM_seleccionarCajero::init(const TsistemaDatos& sistema, seleccionarCajeroRespuesta& r) {
  uSistema = sistema;
  LBL_filtro->clear();
  uLista->TXT_nombre->clear();
  uLista->TXT_clave->clear();
  uFilaSeleccionada = -1;
  uRenglonValido = false;
  uAceptar = false;
  buscar();
  r = seleccionarCajeroRespuesta();
  u_ejecutaModal(this);
  respuesta(r);
}

void TFRM_seleccionarCajero::seleccionaFila(int fila) {
  if (fila < 0 || fila >= grid().getRowCount()) return;
  uFilaSeleccionada = fila;
  uRenglonValido = true;
  uLista->delegado()->setFilaResaltada(fila);
  uLista->vista()->selectRow(fila);
  uLista->vista()->viewport()->update();
}

void TFRM_seleccionarCajero::BTN_aceptarClick() {
  if (!uRenglonValido) return;
  uAceptar = true;
  accept();
}

void TFRM_seleccionarCajero::respuesta(seleccionarCajeroRespuesta& r) const {
  r = seleccionarCajeroRespuesta();
  const TGridControl& g = grid();
  if (!uAceptar || g.getRowCount() == 0 || uFilaSeleccionada < 0 ||
      uFilaSeleccionada >= g.getRowCount())
    return;
  const int f = uFilaSeleccionada;
  r.ok = true;
  r.cajero.id = g.getCeldaAsInt(QStringLiteral("idCajero"), f);
  r.cajero.personaID = g.getCeldaAsInt(QStringLiteral("idPresona"), f);
  r.cajero.clave = g.getCelda(QStringLiteral("Clave"), f);
  r.cajero.nombreCompleto = g.getCelda(QStringLiteral("Nombre"), f);
  r.cajero.estadoVendedor = g.getCeldaAsInt(QStringLiteral("EstadoID"), f);
  r.cajero.estado = g.getCelda(QStringLiteral("Estado"), f);
}

bool TFRM_seleccionarCajero::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == uLista->vista() && evento->type() == QEvent::KeyRelease) {
    const auto* k = static_cast<QKeyEvent*>(evento);
    if ((k->key() == Qt::Key_Up || k->key() == Qt::Key_Down) && grid().getRowCount() > 0) {
      const QModelIndex actual = uLista->vista()->currentIndex();
      if (actual.isValid()) seleccionaFila(actual.row());
    }
  } else if (objeto == uLista->vista() && evento->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(evento);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      BTN_aceptarClick();
      return true;
    }
  }
  return QDialog::eventFilter(objeto, evento);
}

seleccionarCajeroRespuesta seleccionarCajero(const TsistemaDatos& sistema) {
  seleccionarCajeroRespuesta r;
  TFRM_seleccionarCajero dialogo;
  dialogo.init(sistema, r);
  return r;
}
