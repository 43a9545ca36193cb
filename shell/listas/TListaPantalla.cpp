#include "shell/listas/TListaPantalla.h"

#include <QDateEdit>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/listas/TFilaFlujo.h"
#include "shell/listas/anchosTactiles.h"
#include "ui/TGridVista.h"
#include "ui/TTecladoCampos.h"
#include "ui/TTecladoPantalla.h"
#include "ui/exportarGridExcel.h"
#include "ui/mensajes.h"
#include "ui/recursosPantalla.h"

namespace {

QString css(quint32 argb) { return QStringLiteral("#%1").arg(argb & 0xFFFFFF, 6, 16, QChar('0')); }

constexpr int kAnchoMinimoCampo = 140;

const char* kEstiloLista =
    "QLineEdit{font-size:16px;padding:6px 10px;border:2px solid #C5CED8;border-radius:8px;"
    "background:white;min-height:30px;}"
    "QLineEdit:focus{border-color:#1F6FB2;}"
    "QLabel[rol=\"leyenda\"]{font-size:13px;color:#5A6673;}"
    "QLabel[rol=\"nota\"]{font-size:13px;color:#5A6673;font-style:italic;}"
    "QPushButton[rol=\"borrar\"]{background:#E9EEF3;color:#44515E;border:none;border-radius:8px;"
    "font-size:18px;min-width:44px;max-width:44px;min-height:44px;max-height:44px;}"
    "QPushButton[rol=\"borrar\"]:pressed{background:#C9D3DD;}"
    "QComboBox,QDateEdit{font-size:16px;padding:6px 10px;border:2px solid #C5CED8;"
    "border-radius:8px;background:white;min-height:30px;}"
    "QComboBox::drop-down,QDateEdit::drop-down{subcontrol-origin:padding;"
    "subcontrol-position:center right;width:40px;border:none;}"
    "QComboBox::down-arrow,QDateEdit::down-arrow{image:url(:/iconos/flechaCerrada.svg);"
    "width:22px;height:22px;}"
    "QComboBox QAbstractItemView{font-size:16px;} QComboBox QAbstractItemView::item{"
    "min-height:40px;}"
    "QTableView{font-size:15px;border:1px solid #D5DBE1;background:white;}"
    "QHeaderView::section{background:#EEF2F6;color:#2B2B2B;font-size:13px;font-weight:600;"
    "padding:8px 1px;border:none;border-bottom:2px solid #C5CED8;}"
    "QLabel#LBL_msg{font-size:18px;color:#5A6673;background:transparent;}";

}  // namespace

TListaPantalla::TListaPantalla(const QString& titulo, const Opciones& opciones, QWidget* parent)
    : QWidget(parent), uTitulo(titulo), uOpciones(opciones) {
  construye();
  aplicaColoresMarca();
}

TListaPantalla::~TListaPantalla() = default;

void TListaPantalla::construye() {
  setObjectName(QStringLiteral("listaPantalla"));
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(18, 14, 18, 14);
  raiz->setSpacing(10);

  auto* encabezado = new QHBoxLayout();
  encabezado->setSpacing(10);
  IMG_apuntador = new QLabel(this);
  IMG_apuntador->setFixedSize(28, 28);
  LBL_titulo = new QLabel(uTitulo, this);
  LBL_titulo->setTextFormat(Qt::PlainText);
  encabezado->addWidget(IMG_apuntador);
  encabezado->addWidget(LBL_titulo);
  encabezado->addStretch();
  uFilaAcciones = new QHBoxLayout();
  uFilaAcciones->setSpacing(8);
  encabezado->addLayout(uFilaAcciones);
  raiz->addLayout(encabezado);

  uFilaBusqueda = new TFilaFlujo(12, 8);
  raiz->addLayout(uFilaBusqueda);
  uZonaNotas = new QWidget(this);
  auto* notas = new QVBoxLayout(uZonaNotas);
  notas->setContentsMargins(0, 0, 0, 0);
  uZonaNotas->hide();
  raiz->addWidget(uZonaNotas);

  BTN_buscar = new QPushButton(QStringLiteral("Buscar"), this);
  BTN_verTodos = new QPushButton(QStringLiteral("Ver Todos"), this);
  BTN_verTodos->setVisible(uOpciones.verTodos);
  connect(BTN_buscar, &QPushButton::clicked, this, &TListaPantalla::BTN_buscarClick);
  connect(BTN_verTodos, &QPushButton::clicked, this, &TListaPantalla::BTN_verTodosClick);
  if (uOpciones.exportar) {
    BTN_exportarPDF = new QPushButton(QStringLiteral("PDF"), this);
    BTN_exportarExcel = new QPushButton(QStringLiteral("Excel"), this);
    uFilaAcciones->addWidget(BTN_exportarPDF);
    uFilaAcciones->addWidget(BTN_exportarExcel);
    connect(BTN_exportarPDF, &QPushButton::clicked, this, &TListaPantalla::BTN_exportarPDFClick);
    connect(BTN_exportarExcel, &QPushButton::clicked, this,
            &TListaPantalla::BTN_exportarExcelClick);
  }

  // The empty-result message shares the grid's cell and is raised over it.
  auto* zonaGrid = new QGridLayout();
  GRD_main = new QTableView(this);
  GRD_main->setObjectName(QStringLiteral("GRD_main"));
  GRD_main->setSelectionBehavior(QAbstractItemView::SelectRows);
  GRD_main->setSelectionMode(QAbstractItemView::SingleSelection);
  GRD_main->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GRD_main->setShowGrid(false);
  GRD_main->setWordWrap(false);
  GRD_main->horizontalHeader()->setHighlightSections(false);
  GRD_main->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  GRD_main->viewport()->setMouseTracking(true);
  GRD_main->viewport()->installEventFilter(this);
  LBL_msg = new QLabel(this);
  LBL_msg->setObjectName(QStringLiteral("LBL_msg"));
  LBL_msg->setAlignment(Qt::AlignCenter);
  LBL_msg->setAttribute(Qt::WA_TransparentForMouseEvents);
  LBL_msg->hide();
  zonaGrid->addWidget(GRD_main, 0, 0);
  zonaGrid->addWidget(LBL_msg, 0, 0, Qt::AlignCenter);
  raiz->addLayout(zonaGrid, 1);

  uGRD_mainControl = new TGridControl(this);
  uVista = new TGridVista(uGRD_mainControl, GRD_main, this);
  uDelegado = new TDelegadoLista(
      uGRD_mainControl, [this](int c, int f) { return GRD_mainGetValue(c, f); }, this);
  GRD_main->setItemDelegate(uDelegado);
  uTeclado = new TTecladoCampos(this);
  connect(uTeclado, &TTecladoCampos::enter, this, [this](QWidget* campo) {
    if (uCampos.contains(qobject_cast<QLineEdit*>(campo))) buscar();
  });
  nombra(QStringLiteral("Título"), LBL_titulo);
  nombra(QStringLiteral("Buscar"), BTN_buscar);
  nombra(QStringLiteral("Ver Todos"), BTN_verTodos);
  if (BTN_exportarPDF) nombra(QStringLiteral("PDF"), BTN_exportarPDF);
  if (BTN_exportarExcel) nombra(QStringLiteral("Excel"), BTN_exportarExcel);
  nombra(QStringLiteral("Mensaje"), LBL_msg);
  nombra(QStringLiteral("Lista"), GRD_main);
  nombra(QStringLiteral("Teclado"), uTeclado->teclado());
}

void TListaPantalla::aplicaColoresMarca() {
  uColores = getColores();
  const QString clave =
      uOpciones.dialogo ? QStringLiteral("tituloFormulario2") : QStringLiteral("tituloFormulario1");
  LBL_titulo->setStyleSheet(QStringLiteral("font-size:24px;font-weight:700;color:%1;")
                                .arg(css(colorDe(uColores, clave))));
  mini_cargaImage(QStringLiteral("apuntadorColor"), IMG_apuntador);
  QString estilo = QString::fromLatin1(kEstiloLista);
  if (uOpciones.dialogo) {
    estilo += QStringLiteral("#listaPantalla{background:%1;} QLabel{color:%2;}")
                  .arg(css(colorDe(uColores, QStringLiteral("fondoSolido"))),
                       css(colorDe(uColores, QStringLiteral("textoCuerpo"))));
    setAttribute(Qt::WA_StyledBackground, true);
  }
  // Set once: a second style sheet leaves rules unapplied to already styled children.
  setStyleSheet(estilo);
  for (QPushButton* b : {BTN_buscar, BTN_verTodos, BTN_exportarPDF, BTN_exportarExcel}) {
    if (!b) continue;
    mini_cornerButtonStyle(b, uColores);
    b->setAutoDefault(false);
  }
}

QLineEdit* TListaPantalla::agregaCampoBusqueda(const QString& etiqueta, const QString& nombre,
                                               int longitudMaxima, int ancho) {
  auto* caja = new QWidget(this);
  auto* columna = new QVBoxLayout(caja);
  columna->setContentsMargins(0, 0, 0, 0);
  columna->setSpacing(3);
  auto* leyenda = new QLabel(etiqueta, this);
  leyenda->setProperty("rol", QStringLiteral("leyenda"));
  auto* fila = new QHBoxLayout();
  fila->setSpacing(4);
  auto* campo = new QLineEdit(this);
  campo->setObjectName(nombre);
  campo->setMaxLength(longitudMaxima);
  // The declared width is what the field takes with room to spare; on a 1024-pixel station
  // the search row gives way down to a width that still shows a name.
  campo->setMinimumWidth(std::min(ancho, kAnchoMinimoCampo));
  campo->setMaximumWidth(std::max(ancho, kAnchoMinimoCampo) + 80);
  campo->setMinimumHeight(44);
  auto* borrar = new QPushButton(QStringLiteral("✕"), this);
  borrar->setObjectName(QStringLiteral("BTN_borrar") + nombre);
  borrar->setProperty("rol", QStringLiteral("borrar"));
  borrar->setFocusPolicy(Qt::NoFocus);
  borrar->setAutoDefault(false);
  borrar->setCursor(Qt::PointingHandCursor);
  fila->addWidget(campo, 1);
  fila->addWidget(borrar);
  columna->addWidget(leyenda);
  columna->addLayout(fila);
  uFilaBusqueda->addWidget(caja);
  uCampos << campo;
  uBorrar << borrar;
  nombra(etiqueta, campo);
  nombra(QStringLiteral("Borrar ") + etiqueta, borrar);
  uTeclado->agrega(campo);
  connect(campo, &QLineEdit::returnPressed, this, &TListaPantalla::buscar);
  connect(borrar, &QPushButton::clicked, this, [this, campo] {
    campo->clear();
    if (uOpciones.limpiarBusca) buscar();
  });
  return campo;
}

void TListaPantalla::agregaFiltro(const QString& etiqueta, QWidget* filtro) {
  auto* caja = new QWidget(this);
  auto* columna = new QVBoxLayout(caja);
  columna->setContentsMargins(0, 0, 0, 0);
  columna->setSpacing(3);
  auto* leyenda = new QLabel(etiqueta, this);
  leyenda->setProperty("rol", QStringLiteral("leyenda"));
  columna->addWidget(leyenda);
  columna->addWidget(filtro);
  uFilaBusqueda->addWidget(caja);
  nombra(etiqueta, filtro);
  QList<QDateTimeEdit*> fechas = filtro->findChildren<QDateTimeEdit*>();
  if (auto* f = qobject_cast<QDateTimeEdit*>(filtro)) fechas << f;
  for (QDateTimeEdit* f : fechas) vigilaAnchoFecha(f);
}

void TListaPantalla::vigilaAnchoFecha(QDateTimeEdit* fecha) {
  // The field's frame, padding and calendar button come from the style sheet, known only once
  // it is laid out: each time its text area changes size, the field widens until a whole date
  // fits in it.
  if (auto* campo = fecha->findChild<QLineEdit*>()) {
    uTextosFecha.insert(campo, fecha);
    campo->installEventFilter(this);
  }
}

int TListaPantalla::faltaAnchoFecha(const QDateTimeEdit* fecha) {
  const auto* campo = fecha->findChild<QLineEdit*>();
  if (!campo) return 0;
  // The widest date of its format: two-digit days and months, a four-digit year.
  const QString ejemplo =
      QDateTime(QDate(2088, 12, 28), QTime(23, 58, 58)).toString(fecha->displayFormat());
  const QMargins m = campo->textMargins();
  // QLineEdit keeps 2 px on each side of its text and 1 px for the cursor.
  const int necesita = campo->fontMetrics().horizontalAdvance(ejemplo) + m.left() + m.right() + 5;
  return std::max(0, necesita - campo->contentsRect().width());
}

QDateEdit* TListaPantalla::agregaFiltroFecha(const QString& etiqueta, const QString& nombre) {
  auto* caja = new QWidget(this);
  auto* h = new QHBoxLayout(caja);
  h->setContentsMargins(0, 0, 0, 0);
  h->setSpacing(4);
  auto* fecha = new QDateEdit(QDate::currentDate(), caja);
  fecha->setObjectName(nombre);
  fecha->setCalendarPopup(true);
  fecha->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  fecha->setMinimumSize(160, 44);
  auto* hoy = new QPushButton(QStringLiteral("✕"), caja);
  hoy->setObjectName(QStringLiteral("BTN_reiniciar") + nombre);
  hoy->setProperty("rol", QStringLiteral("borrar"));
  hoy->setFocusPolicy(Qt::NoFocus);
  hoy->setAutoDefault(false);
  hoy->setCursor(Qt::PointingHandCursor);
  h->addWidget(fecha, 1);
  h->addWidget(hoy);
  connect(hoy, &QPushButton::clicked, fecha, [fecha] { fecha->setDate(QDate::currentDate()); });
  agregaFiltro(etiqueta, caja);
  nombra(etiqueta, fecha);
  nombra(QStringLiteral("Hoy ") + etiqueta, hoy);
  return fecha;
}

QDateTime TListaPantalla::inicioDelDia(const QDateEdit* fecha) {
  return QDateTime(fecha->date(), QTime(0, 0, 0));
}

QDateTime TListaPantalla::finDelDia(const QDateEdit* fecha) {
  return QDateTime(fecha->date(), QTime(23, 59, 59, 999));
}

QPushButton* TListaPantalla::agregaBotonAccion(const QString& texto) {
  auto* b = new QPushButton(texto, this);
  mini_cornerButtonStyle(b, uColores);
  b->setAutoDefault(false);
  uFilaAcciones->insertWidget(0, b);
  nombra(texto, b);
  return b;
}

QPushButton* TListaPantalla::agregaBotonOpcion(const QString& texto) {
  if (!uFilaOpciones) {
    // Made on first use, right under the title, so screens without options keep their rows.
    uFilaOpciones = new QHBoxLayout();
    uFilaOpciones->setSpacing(8);
    uFilaOpciones->addStretch();
    static_cast<QVBoxLayout*>(layout())->insertLayout(1, uFilaOpciones);
  }
  auto* b = new QPushButton(texto, this);
  mini_cornerButtonStyle(b, uColores);
  b->setAutoDefault(false);
  uFilaOpciones->insertWidget(uFilaOpciones->count() - 1, b);
  nombra(texto, b);
  return b;
}

QLabel* TListaPantalla::agregaNota() {
  auto* nota = new QLabel(uZonaNotas);
  nota->setProperty("rol", QStringLiteral("nota"));
  uZonaNotas->layout()->addWidget(nota);
  uZonaNotas->show();
  return nota;
}

void TListaPantalla::preparaGrid() {
  // The buttons close the search row, after the screen's own fields.
  auto* caja = new QWidget(this);
  auto* botones = new QVBoxLayout(caja);
  botones->setContentsMargins(0, 0, 0, 0);
  botones->addStretch();
  auto* fila = new QHBoxLayout();
  fila->setSpacing(8);
  fila->addWidget(BTN_buscar);
  fila->addWidget(BTN_verTodos);
  botones->addLayout(fila);
  uFilaBusqueda->addWidget(caja);

  uGRD_mainControl->setAlturaFila(11);
  declaraColumnas(*uGRD_mainControl);
  uVista->renuevaColumnas();
  uVista->ajustaColumna(columnaAjuste());
  uBusquedaInicial = false;
}

QVariant TListaPantalla::nuloTexto() { return QVariant(QMetaType::fromType<QString>()); }
QVariant TListaPantalla::nuloEntero() { return QVariant(QMetaType::fromType<int>()); }

QVariant TListaPantalla::filtroTexto(const QLineEdit* campo) {
  const QString t = campo ? campo->text().trimmed() : QString();
  if (t.isEmpty()) return nuloTexto();
  return QVariant(QStringLiteral("%") + t + QStringLiteral("%"));
}

void TListaPantalla::init() {
  if (uOpciones.busquedaUnaVez && uBusquedaInicial) return;
  buscar();
  uBusquedaInicial = true;
}

void TListaPantalla::buscar() {
  uTeclado->oculta();
  const CmidTierResponse r = consulta();
  if (r.ok()) {
    uGRD_mainControl->setTabla(r);
    despuesDeCargar();
  }
  muestraMensajeVacio();
  GRD_mainResize();
  emit busquedaTerminada(r.ok());
}

void TListaPantalla::muestraMensajeVacio() {
  if (uGRD_mainControl->getRowCount() > 0) {
    LBL_msg->clear();
    LBL_msg->hide();
  } else {
    LBL_msg->setText(QString::fromUtf8(kSinElementos));
    LBL_msg->show();
    LBL_msg->raise();
  }
}

void TListaPantalla::limpiaFiltros() {
  for (QLineEdit* c : uCampos) c->clear();
}

void TListaPantalla::BTN_verTodosClick() {
  if (!uOpciones.verTodosBusca) return;
  limpiaFiltros();
  buscar();
}

void TListaPantalla::BTN_exportarPDFClick() {
  if (uGRD_mainControl->getRowCount() < 1) {
    u_mensaje(QString::fromUtf8(kSinElementos), mtCustom);
    return;
  }
  exportaGridGeneraPDF(*uGRD_mainControl, uTitulo, columnasPDF(), localSYS, rangoFechasPDF());
}

void TListaPantalla::BTN_exportarExcelClick() {
  if (uGRD_mainControl->getRowCount() < 1) {
    u_mensaje(QString::fromUtf8(kSinElementos), mtCustom);
    return;
  }
  exportarGridExcelUNI(*uGRD_mainControl, uTitulo, localSYS);
}

QString TListaPantalla::GRD_mainGetValue(int columna, int fila) const {
  const QVector<QStringList>& tabla = uGRD_mainControl->getTabla();
  if (tabla.isEmpty()) return QString();
  if (columna < 0 || columna >= tabla.size() || columna >= uGRD_mainControl->getColumnCount())
    return QString();
  if (fila < 0 || fila >= tabla.first().size()) return QString();
  return tabla[columna][fila];
}

void TListaPantalla::GRD_mainResize() {
  uVista->ajustaColumna(columnaAjuste());
  ajustaAnchosTactiles();
}

void TListaPantalla::ajustaAnchosTactiles() {
  u_ajustaAnchosTactiles(GRD_main, *uGRD_mainControl, *uDelegado, columnaAjuste());
}

void TListaPantalla::liberacionEnGrid(int fila, int columna, const QPoint& global) {
  if (columna == 0) accionFila(fila, global);
}

void TListaPantalla::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  GRD_mainResize();
}

void TListaPantalla::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  GRD_mainResize();
}

bool TListaPantalla::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::Resize) {
    if (QDateTimeEdit* fecha = uTextosFecha.value(objeto)) {
      const int falta = faltaAnchoFecha(fecha);
      if (falta > 0) fecha->setMinimumWidth(fecha->width() + falta);
    }
  }
  if (objeto == GRD_main->viewport()) {
    if (evento->type() == QEvent::Resize) {
      // Runs after the grid binding's own stretch (its filter was installed later).
      ajustaAnchosTactiles();
    } else if (evento->type() == QEvent::MouseButtonRelease) {
      const auto* m = static_cast<QMouseEvent*>(evento);
      const QModelIndex i = GRD_main->indexAt(m->position().toPoint());
      if (m->button() == Qt::LeftButton && i.isValid() && i.row() < uGRD_mainControl->getRowCount())
        liberacionEnGrid(i.row(), i.column(), m->globalPosition().toPoint());
    } else if (evento->type() == QEvent::MouseMove) {
      const auto* m = static_cast<QMouseEvent*>(evento);
      const QModelIndex i = GRD_main->indexAt(m->position().toPoint());
      GRD_main->viewport()->setCursor(i.isValid() && uDelegado->esClicable(i.column())
                                          ? Qt::PointingHandCursor
                                          : Qt::ArrowCursor);
    }
  }
  return QWidget::eventFilter(objeto, evento);
}
