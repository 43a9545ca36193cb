#include "services/TFRM_historialServiciosExternos.h"

#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "operaciones/serviciosExternos.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/listas/TListaPantalla.h"
#include "ui/estiloDialogo.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

class TListaHistorialExternos : public TListaPantalla {
 public:
  explicit TListaHistorialExternos(QWidget* padre)
      : TListaPantalla(QStringLiteral("Historial Servicios Externos"), opciones(), padre) {
    DTP_fechaInicial = fecha(QStringLiteral("Fecha Inicial"), [this] {
      DTP_fechaInicial->setDateTime(QDateTime::currentDateTime().addMonths(-1));
    });
    DTP_fechafinal = fecha(QStringLiteral("Fecha Final"),
                           [this] { DTP_fechafinal->setDateTime(QDateTime::currentDateTime()); });
    TXT_monto = agregaCampoBusqueda(QStringLiteral("Monto"), QStringLiteral("TXT_monto"), 20, 120);
    TXT_referencia = agregaCampoBusqueda(QStringLiteral("Referencia"),
                                         QStringLiteral("TXT_referencia"), 50, 160);
    preparaGrid();
    delegado()->setPintura(QStringLiteral("Monto"), TPintura::Moneda);
    delegado()->setFondoColumna(QStringLiteral("Monto"), QColor::fromRgba(0xFFFBE0BD));
    delegado()->setPintura(QStringLiteral("Fecha"), TPintura::Fecha);
  }
  void reinicia() {
    DTP_fechaInicial->setDateTime(QDateTime::currentDateTime().addMonths(-1));
    DTP_fechafinal->setDateTime(QDateTime::currentDateTime());
    TXT_monto->clear();
    TXT_referencia->clear();
  }
  QTableView* vista() const { return GRD_main; }
  QLabel* mensaje() const { return LBL_msg; }
  QLineEdit* TXT_monto = nullptr;
  QLineEdit* TXT_referencia = nullptr;

 protected:
  void declaraColumnas(TGridControl& g) override {
    g.add(0, QStringLiteral("_id"), QStringLiteral("puntoFormaPagoAplicada_id"), QString(), 40,
          false);
    g.add(0, QStringLiteral("Ticket"), QStringLiteral("puntoOperacion_ticketNo"), QString(), 50,
          true);
    g.add(0, QStringLiteral("Servicio Externo"), QStringLiteral("_servicioExterno"), QString(), 150,
          true);
    g.add(0, QStringLiteral("Referencia"), QStringLiteral("puntoFormaPagoAplicada_referencia"),
          QString(), 150, true);
    g.add(0, QStringLiteral("Monto"), QStringLiteral("puntoFormaPagoAplicada_valor"), QString(),
          100, true);
    g.add(0, QStringLiteral("Fecha"), QStringLiteral("puntoOperacion_fechaHora"), QString(), 200,
          true);
    g.add(0, QStringLiteral(" "), QString(), QString(), 100, true);
  }
  QString columnaAjuste() const override { return QStringLiteral(" "); }
  CmidTierResponse consulta() override {
    const QVariant monto = TXT_monto->text().isEmpty() ? QVariant() : QVariant(TXT_monto->text());
    const QVariant referencia =
        TXT_referencia->text().isEmpty()
            ? QVariant()
            : QVariant(QStringLiteral("%") + TXT_referencia->text() + QStringLiteral("%"));
    return buscaPagosExternos(DTP_fechaInicial->dateTime(), DTP_fechafinal->dateTime(), monto,
                              referencia, localSYS.getIdNegocio(), localSYS.getConexion());
  }
  QVector<TColumnaPDF> columnasPDF() const override {
    return {{QStringLiteral("Ticket."), 30, 0, 1},
            {QStringLiteral("Servicio Externo"), 80, 0, 1},
            {QStringLiteral("Referencia"), 90, 0, 1},
            {QStringLiteral("Monto"), 80, 1, 0},
            {QStringLiteral("Fecha"), 80, 2, 1}};
  }
  QString rangoFechasPDF() const override {
    return QStringLiteral("Del: ") + u_fechaHoraTexto(DTP_fechaInicial->dateTime()) +
           QStringLiteral(" Al: ") + u_fechaHoraTexto(DTP_fechafinal->dateTime());
  }

 private:
  static Opciones opciones() {
    Opciones o;
    o.dialogo = true;
    return o;
  }
  // A date filter with its reset button, which resets it without searching.
  QDateTimeEdit* fecha(const QString& etiqueta, std::function<void()> reinicio) {
    auto* caja = new QWidget(this);
    auto* fila = new QHBoxLayout(caja);
    fila->setContentsMargins(0, 0, 0, 0);
    fila->setSpacing(4);
    auto* campo = new QDateTimeEdit(caja);
    campo->setDisplayFormat(QStringLiteral("dd/MM/yyyy HH:mm"));
    campo->setCalendarPopup(true);
    campo->setMinimumHeight(44);
    auto* borrar = new QPushButton(QStringLiteral("✕"), caja);
    borrar->setProperty("rol", QStringLiteral("borrar"));
    borrar->setFocusPolicy(Qt::NoFocus);
    borrar->setAutoDefault(false);
    fila->addWidget(campo, 1);
    fila->addWidget(borrar);
    agregaFiltro(etiqueta, caja);
    nombra(etiqueta, campo);
    nombra(QStringLiteral("Borrar ") + etiqueta, borrar);
    QObject::connect(borrar, &QPushButton::clicked, this, std::move(reinicio));
    return campo;
  }

  QDateTimeEdit* DTP_fechaInicial = nullptr;
  QDateTimeEdit* DTP_fechafinal = nullptr;
  friend class TFRM_historialServiciosExternos;
};

TFRM_historialServiciosExternos::TFRM_historialServiciosExternos(QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("TFRM_historialServiciosExternos"));
  setWindowTitle(tituloVentanaSuite());
  resize(1000, 640);
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(8, 8, 8, 16);
  uLista = new TListaHistorialExternos(this);
  raiz->addWidget(uLista, 1);
  auto* botones = new QHBoxLayout();
  botones->setContentsMargins(18, 0, 18, 0);
  botones->addStretch();
  auto* cerrar = new QPushButton(QStringLiteral("Cerrar"), this);
  cerrar->setAutoDefault(false);
  cerrar->setMinimumHeight(48);
  botones->addWidget(cerrar);
  raiz->addLayout(botones);
  const TListaColores colores = getColores();
  aplicaColoresDialogo(this, nullptr, colores);
  estiloBotones({cerrar}, colores);
  connect(cerrar, &QPushButton::clicked, this, &TFRM_historialServiciosExternos::BTN_cerrarClick);
  for (const char* nombre :
       {"Fecha Inicial", "Fecha Final", "Borrar Fecha Inicial", "Borrar Fecha Final", "Monto",
        "Referencia", "Borrar Monto", "Borrar Referencia", "Buscar", "Ver Todos", "PDF", "Excel"})
    nombra(QString::fromUtf8(nombre), uLista->controlNombrado(QString::fromUtf8(nombre)));
  nombra(QStringLiteral("Lista"), uLista->vista());
  nombra(QStringLiteral("Mensaje"), uLista->mensaje());
  nombra(QStringLiteral("Cerrar"), cerrar);
}

TFRM_historialServiciosExternos::~TFRM_historialServiciosExternos() = default;

TGridControl& TFRM_historialServiciosExternos::grid() const { return uLista->grid(); }

void TFRM_historialServiciosExternos::reinicia() { uLista->reinicia(); }

void TFRM_historialServiciosExternos::init() {
  reinicia();
  u_ejecutaModal(this);
}

void TFRM_historialServiciosExternos::buscar() { uLista->buscar(); }
