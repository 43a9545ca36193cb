#include "tickets/TFRM_facturaGlobal.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "grid/TGridControl.h"
#include "operaciones/tickets.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/listas/TListaPantalla.h"
#include "ui/TFRM_facturar.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

// The dialog's grid: the list machinery without exports or "Ver Todos".
class TListaFacturaGlobal : public TListaPantalla {
 public:
  explicit TListaFacturaGlobal(TFRM_facturaGlobal* dialogo)
      : TListaPantalla(QStringLiteral("Factura Global"), Opciones::selector(), dialogo), uDialogo(dialogo) {
    delegado()->setPintura(QStringLiteral("Total"), TPintura::Moneda);
    delegado()->setPintura(QStringLiteral("Fecha Operación"), TPintura::Fecha);
    delegado()->setPintura(QStringLiteral("Sesión"), TPintura::Centro);
    delegado()->setPintura(QStringLiteral("Ticket"), TPintura::Centro);
  }
  using TListaPantalla::agregaFiltro;
  using TListaPantalla::preparaGrid;
  QTableView* vista() const { return GRD_main; }
  QLabel* mensaje() const { return LBL_msg; }
  QPushButton* botonBuscar() const { return BTN_buscar; }

 protected:
  void declaraColumnas(TGridControl& g) override {
    g.add(2, QStringLiteral("Facturar"), QString(), QStringLiteral("unchecked"), 60, true);
    g.add(0, QStringLiteral("_facturar"), QStringLiteral("_facturar"), QString(), 70, false);
    g.add(0, QStringLiteral("_operacionID"), QStringLiteral("puntoOperacion_id"), QString(), 60,
          false);
    g.add(0, QStringLiteral("Sesión"), QStringLiteral("puntoCajaSesion_id"), QString(), 50, true);
    g.add(0, QStringLiteral("Ticket"), QStringLiteral("puntoOperacion_ticketNo"), QString(), 50,
          true);
    g.add(0, QStringLiteral("Total"), QStringLiteral("puntoOperacion_total"), QString(), 90, true);
    g.add(0, QStringLiteral("Fecha Operación"), QStringLiteral("puntoOperacion_fechaHora"),
          QString(), 185, true);
    g.add(0, QStringLiteral("_subtotal"), QStringLiteral("puntoOperacion_subtotal"), QString(), 80,
          false);
    g.add(0, QStringLiteral("_descuento"), QStringLiteral("puntoOperacion_descuento"), QString(),
          80, false);
    g.add(0, QStringLiteral("Referencia"), QStringLiteral("puntoOperacion_uuid"), QString(), 300,
          true);
  }
  QString columnaAjuste() const override { return QStringLiteral("Fecha Operación"); }
  CmidTierResponse consulta() override {
    // Uploaded and not invoiced yet: the only tickets a global invoice may gather.
    const int cargados = 3;
    const int p = uDialogo->periodo();
    return buscarOperacionesPorDiaSemanaMes(p, p == 1 ? uDialogo->DTP_fecha->date() : QDate(),
                                            cargados, localSYS.getIdNegocio(),
                                            localSYS.getConexion());
  }
  void despuesDeCargar() override { uDialogo->despuesDeCargar(); }
  void liberacionEnGrid(int fila, int columna, const QPoint& global) override {
    Q_UNUSED(columna);
    Q_UNUSED(global);
    uDialogo->GRD_mainClick(fila);
  }

 private:
  TFRM_facturaGlobal* uDialogo;
};

TFRM_facturaGlobal::TFRM_facturaGlobal(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_facturaGlobal"));
  setWindowTitle(tituloVentanaSuite());
  resize(980, 660);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(8, 8, 8, 16);
  uLista = new TListaFacturaGlobal(this);

  auto* periodos = new QWidget(uLista);
  auto* lp = new QHBoxLayout(periodos);
  lp->setContentsMargins(0, 0, 0, 0);
  lp->setSpacing(14);
  auto* grupo = new QButtonGroup(this);
  RDB_dia = new QRadioButton(QStringLiteral("Día"), periodos);
  RDB_semana = new QRadioButton(QStringLiteral("Semana"), periodos);
  RDB_mes = new QRadioButton(QStringLiteral("Mes"), periodos);
  RDB_bimestral = new QRadioButton(QStringLiteral("Bimestral"), periodos);
  for (QRadioButton* r : {RDB_dia, RDB_semana, RDB_mes, RDB_bimestral}) {
    r->setMinimumHeight(44);
    r->setStyleSheet(
        QStringLiteral("QRadioButton{font-size:16px;}"
                       "QRadioButton::indicator{width:26px;height:26px;}"));
    grupo->addButton(r);
    lp->addWidget(r);
    nombra(r->text(), r);
    connect(r, &QRadioButton::toggled, this, [this](bool marcado) {
      if (!marcado) return;
      buscar();
    });
  }
  uLista->agregaFiltro(QStringLiteral("Periodo"), periodos);
  DTP_fecha = new QDateEdit(QDate::currentDate(), uLista);
  DTP_fecha->setCalendarPopup(true);
  DTP_fecha->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  DTP_fecha->setMinimumHeight(44);
  DTP_fecha->setMinimumWidth(160);
  DTP_fecha->setStyleSheet(QStringLiteral("QDateEdit{font-size:16px;padding:4px 8px;}"));
  uLista->agregaFiltro(QStringLiteral("Fecha"), DTP_fecha);
  uLista->preparaGrid();
  raiz->addWidget(uLista, 1);

  auto* pie = new QHBoxLayout();
  pie->setContentsMargins(18, 0, 18, 0);
  pie->setSpacing(12);
  CHK_seleccionarTodo = new QCheckBox(QStringLiteral("Seleccionar Todo"), this);
  CHK_seleccionarTodo->setStyleSheet(
      QStringLiteral("QCheckBox{font-size:16px;} QCheckBox::indicator{width:26px;height:26px;}"));
  CHK_seleccionarTodo->setMinimumHeight(44);
  auto* leyendaTotal = new QLabel(QStringLiteral("Total"), this);
  LBL_total = new QLabel(this);
  LBL_total->setStyleSheet(QStringLiteral("font-size:20px;font-weight:700;"));
  BTN_aceptar = new QPushButton(QStringLiteral("Generar Factura Global"), this);
  BTN_cerrar = new QPushButton(QStringLiteral("Cerrar"), this);
  pie->addWidget(CHK_seleccionarTodo);
  pie->addStretch();
  pie->addWidget(leyendaTotal);
  pie->addWidget(LBL_total);
  pie->addSpacing(20);
  pie->addWidget(BTN_aceptar);
  pie->addWidget(BTN_cerrar);
  raiz->addLayout(pie);

  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, nullptr, colores);
  estiloBotones({BTN_aceptar, BTN_cerrar}, colores);
  for (QPushButton* b : {BTN_aceptar, BTN_cerrar}) b->setAutoDefault(false);
  connect(CHK_seleccionarTodo, &QCheckBox::toggled, this,
          &TFRM_facturaGlobal::CHK_seleccionarTodoClick);
  connect(BTN_aceptar, &QPushButton::clicked, this, &TFRM_facturaGlobal::BTN_aceptarClick);
  connect(BTN_cerrar, &QPushButton::clicked, this, &QDialog::reject);

  nombra(QStringLiteral("Fecha"), DTP_fecha);
  nombra(QStringLiteral("Buscar"), uLista->botonBuscar());
  nombra(QStringLiteral("Seleccionar Todo"), CHK_seleccionarTodo);
  nombra(QStringLiteral("Total"), LBL_total);
  nombra(QStringLiteral("Lista"), uLista->vista());
  nombra(QStringLiteral("Mensaje"), uLista->mensaje());
  nombra(QStringLiteral("Generar Factura Global"), BTN_aceptar);
  nombra(QStringLiteral("Cerrar"), BTN_cerrar);
}

TFRM_facturaGlobal::~TFRM_facturaGlobal() = default;

TGridControl& TFRM_facturaGlobal::grid() const { return uLista->grid(); }

int TFRM_facturaGlobal::periodo() const {
  if (RDB_dia->isChecked()) return 1;
  if (RDB_semana->isChecked()) return 2;
  if (RDB_mes->isChecked()) return 3;
  if (RDB_bimestral->isChecked()) return 4;
  return 0;
}

void TFRM_facturaGlobal::init() {
  LBL_total->setText(u_formatoMoneda(0));
  uFlagClickGrid = false;
  uUltimaFactura.clear();
  DTP_fecha->setDate(QDate::currentDate());
  {
    const QSignalBlocker b(RDB_dia);
    RDB_dia->setChecked(true);
  }
  buscar();
  u_ejecutaModal(this);
}

void TFRM_facturaGlobal::buscar() {
  uLista->buscar();
  const QSignalBlocker b(CHK_seleccionarTodo);
  CHK_seleccionarTodo->setChecked(false);
}

void TFRM_facturaGlobal::pintaFila(int f) {
  TGridControl& g = grid();
  const QString marca = g.getCelda(QStringLiteral("_facturar"), f);
  g.setCelda(QStringLiteral("Facturar"), f,
             marca == QLatin1String("1")    ? QStringLiteral("checked")
             : marca == QLatin1String("-1") ? QStringLiteral("activo")
                                            : QStringLiteral("unchecked"));
}

void TFRM_facturaGlobal::despuesDeCargar() {
  TGridControl& g = grid();
  QList<double> totales;
  for (int f = 0; f < g.getRowCount(); ++f) {
    pintaFila(f);
    totales << g.getCeldaAsFloat(QStringLiteral("Total"), f);
  }
  g.refresca();
  LBL_total->setText(
      u_formatoMoneda(totales.isEmpty() ? 0 : u_acumulaFloat(2, totales, int(totales.size()) - 1)));
}

void TFRM_facturaGlobal::GRD_mainClick(int fila) {
  TGridControl& g = grid();
  if (fila < 0 || fila >= g.getRowCount()) return;
  uFlagClickGrid = true;
  CHK_seleccionarTodo->setChecked(false);
  uFlagClickGrid = false;
  const int marca = g.getCeldaAsInt(QStringLiteral("_facturar"), fila);
  if (marca == 0)
    g.setCelda(QStringLiteral("_facturar"), fila, QStringLiteral("1"));
  else if (marca == 1)
    g.setCelda(QStringLiteral("_facturar"), fila, QStringLiteral("0"));
  pintaFila(fila);
  g.refresca();
}

void TFRM_facturaGlobal::CHK_seleccionarTodoClick(bool marcado) {
  if (uFlagClickGrid) return;
  TGridControl& g = grid();
  for (int f = 0; f < g.getRowCount(); ++f) {
    g.setCelda(QStringLiteral("_facturar"), f, marcado ? QStringLiteral("1") : QStringLiteral("0"));
    pintaFila(f);
  }
  g.refresca();
}

void TFRM_facturaGlobal::BTN_aceptarClick() {
  const TGridControl& g = grid();
  QVector<TticketGlobal> elegidos;
  for (int f = 0; f < g.getRowCount(); ++f) {
    if (g.getCelda(QStringLiteral("_facturar"), f) != QLatin1String("1")) continue;
    elegidos.append(
        {g.getCeldaAsInt(QStringLiteral("_operacionID"), f),
         g.getCelda(QStringLiteral("Ticket"), f), g.getCelda(QStringLiteral("_subtotal"), f),
         g.getCelda(QStringLiteral("_descuento"), f), g.getCelda(QStringLiteral("Total"), f),
         g.getCelda(QStringLiteral("Referencia"), f)});
  }
  if (elegidos.isEmpty()) return;
  uDataFacturar = preparaFacturaGlobal(elegidos, localSYS.getNegocio(), localSYS.getConexion());
  QString uuid;
  {
    TFRM_facturar facturar(this);
    uuid = facturar.initGlobal(uDataFacturar, localSYS).trimmed();
  }
  if (!uuid.isEmpty()) {
    uUltimaFactura = uuid;
    QVector<int> operaciones;
    for (const TticketGlobal& t : elegidos) operaciones << t.operacionID;
    QString error;
    if (marcaTicketsFacturaGlobal(operaciones, uuid, QDateTime::currentDateTime(),
                                  localSYS.getConexion(), &error) < 0)
      u_mensaje(QStringLiteral("La factura global %1 se timbró, pero no se pudieron marcar sus "
                               "tickets: %2\rGenere de nuevo la factura global con los mismos "
                               "tickets para marcarlos.")
                    .arg(uuid, error),
                mtError);
  }
  buscar();
}
