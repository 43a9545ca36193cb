// Every screen of the module's screen registry and the package's dialogs, opened on the two
// station sizes (1024x768 and 1366x768): no visible button or field may lie outside the screen
// or be cut off by the panel that holds it, and an on-screen keyboard may not cover the field
// it types into. Screens added to the registry are walked without touching this file.
//
// Each size runs in a child process whose offscreen screen has that size (the offscreen
// platform reads its screens from a JSON file). Pictures of every window land in
// build/capturas/<ancho>x<alto>/ for a person to look at.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QWindow>
#include <functional>

#include "db/TmiddleTier.h"
#include "host/VentanaHost.h"
#include "sessions/TFRM_cajaApertura.h"
#include "sessions/TFRM_cajaCorte.h"
#include "sessions/TFRM_verSesion.h"
#include "shell/TFRM_main_puntoVenta.h"
#include "shell/listas/anchosTactiles.h"
#include "shell/listas/lineasCelda.h"
#include "shell/registroPantallas.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/ImportaPrueba.h"
#include "ui/TFRM_editar.h"
#include "ui/TFRM_facturar.h"
#include "ui/TFRM_seleccionarProducto.h"
#include "ui/TTecladoPantalla.h"
#include "ui/dialogoArchivo.h"
#include "ui/mensajes.h"
#include "ui/pantallaNombrada.h"
#include "util/limites.h"

namespace {

const char* const kVariable = "POS_GEOMETRIA";

// Buttons that end a dialog or store what it holds: the walk presses every other one.
const QStringList kTerminales = {"Aceptar", "Cancelar", "Cerrar",   "Guardar",
                                 "Iniciar", "Facturar", "Eliminar", "Minimizar"};

bool esTerminal(const QString& boton) {
  for (const QString& t : kTerminales)
    if (boton == t || boton.startsWith(t + QLatin1Char(' '))) return true;
  return false;
}

// A control a user touches: buttons, fields, lists, grids and scrolling areas. What lives
// inside a scrolling area (the menu's entries, result tiles) is reached by scrolling, so only
// the area itself is measured; the inner parts of composite controls are theirs.
bool esControl(QWidget* w) {
  return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
         qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
         qobject_cast<QAbstractScrollArea*>(w);
}

bool interno(QWidget* w, QWidget* ventana) {
  for (QWidget* p = w->parentWidget(); p && p != ventana; p = p->parentWidget())
    if (qobject_cast<QAbstractScrollArea*>(p) || qobject_cast<QComboBox*>(p) ||
        qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QTabBar*>(p))
      return true;
  return qobject_cast<QTabBar*>(w->parentWidget()) != nullptr;
}

QString describe(QWidget* w) {
  QString t;
  if (auto* b = qobject_cast<QAbstractButton*>(w)) t = b->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) t = e->placeholderText();
  if (t.isEmpty()) t = w->objectName();
  return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(w->metaObject()->className()), t);
}

QString rect(const QRect& r) {
  return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

class Recorrido : public TRespondedorModal {
 public:
  explicit Recorrido(QString carpeta) : uCarpeta(std::move(carpeta)) {
    QDir().mkpath(uCarpeta);
    u_instalaRespondedor(this);
  }
  ~Recorrido() override { u_instalaRespondedor(nullptr); }

  void mensaje(const QString&, int) override {}
  bool confirmacion(const QString&) override { return false; }  // Cancel: nothing changes
  int dialogo(QDialog* d) override {
    dialogos << d->metaObject()->className();
    d->show();
    procesa();
    revisa(QStringLiteral("diálogo %1").arg(QString::fromLatin1(d->metaObject()->className())));
    if (uProfundidad == 0) {
      ++uProfundidad;
      revisaTeclados(d);
      if (auto* n = dynamic_cast<TPantallaNombrada*>(d)) pulsaBotones(n, d);
      --uProfundidad;
    }
    d->hide();
    return QDialog::Rejected;
  }

  static void procesa() {
    for (int i = 0; i < 3; ++i) {
      QApplication::processEvents();
      QTest::qWait(20);
    }
  }

  // Every visible window: inside the screen, its controls inside the screen and not cut off.
  void falla(const QString& donde, const QString& que) {
    // The same fault seen again from another step is told once.
    if (uVistas.contains(que)) return;
    uVistas.insert(que);
    fallas << donde + QStringLiteral(": ") + que;
  }

  void revisa(const QString& donde) {
    const QRect pantalla = QGuiApplication::primaryScreen()->geometry();
    for (QWidget* v : QApplication::topLevelWidgets()) {
      if (!v->isVisible() || v->windowType() == Qt::ToolTip) continue;
      const QRect marco(v->mapToGlobal(QPoint(0, 0)), v->size());
      if (!pantalla.contains(marco))
        falla(donde, QStringLiteral("la ventana %1 %2 sale de la pantalla %3")
                         .arg(describe(v), rect(marco), rect(pantalla)));
      for (QWidget* w : v->findChildren<QWidget*>()) {
        if (w->window() != v || !w->isVisible()) continue;
        revisaContenido(donde, w);
        if (!esControl(w) || interno(w, v)) continue;
        // A field a user types into has a length its column and the receipt can carry (Qt's
        // own file dialog aside).
        auto* campo = qobject_cast<QLineEdit*>(w);
        if (campo && !campo->isReadOnly() && campo->maxLength() > kMaxLargoTexto &&
            !qobject_cast<QFileDialog*>(v))
          falla(donde, QStringLiteral("%1 admite %2 caracteres; a lo más %3")
                           .arg(describe(w))
                           .arg(campo->maxLength())
                           .arg(kMaxLargoTexto));
        const QRect r(w->mapToGlobal(QPoint(0, 0)), w->size());
        if (!pantalla.contains(r)) {
          falla(donde, QStringLiteral("%1 %2 queda fuera de la pantalla %3")
                           .arg(describe(w), rect(r), rect(pantalla)));
          continue;
        }
        for (QWidget* p = w->parentWidget(); p && p != v; p = p->parentWidget()) {
          const QRect rp(p->mapToGlobal(QPoint(0, 0)), p->size());
          if (!rp.contains(r)) {
            falla(donde, QStringLiteral("%1 %2 queda recortado por %3 %4")
                             .arg(describe(w), rect(r), describe(p), rect(rp)));
            break;
          }
        }
      }
      captura(v, donde + QStringLiteral(" - ") + QString::fromLatin1(v->metaObject()->className()));
    }
  }

  // A grid that scrolls sideways hides columns from the cashier; a date field narrower than its
  // date shows a year cut short.
  void revisaContenido(const QString& donde, QWidget* w) {
    if (auto* t = qobject_cast<QTableView*>(w)) {
      if (t->horizontalScrollBar()->isVisible())
        falla(donde, QStringLiteral("la lista %1 %2 se desplaza de lado (columnas de %3 px en %4)")
                         .arg(describe(t), rect(QRect(t->mapToGlobal(QPoint()), t->size())))
                         .arg(t->horizontalHeader()->length())
                         .arg(t->viewport()->width()));
      revisaTextos(donde, t);
    } else if (auto* f = qobject_cast<QDateTimeEdit*>(w)) {
      const auto* campo = f->findChild<QLineEdit*>();
      if (!campo) return;
      const QMargins m = campo->textMargins();
      const int cabe = campo->contentsRect().width() - m.left() - m.right() - 4;
      const int texto = campo->fontMetrics().horizontalAdvance(campo->text());
      if (texto > cabe)
        falla(donde, QStringLiteral("la fecha %1 \"%2\" no cabe en su campo (%3 px en %4)")
                         .arg(describe(f), campo->text())
                         .arg(texto)
                         .arg(cabe));
    }
  }

  // Titles, numbers, amounts, dates, keys and short names show whole (names on up to two
  // lines); only a name longer than kLargoNombre, or an identifier of kLargoClave characters
  // (a UUID, touched rather than read), may be cut.
  void revisaTextos(const QString& donde, QTableView* t) {
    const auto* celdas = dynamic_cast<const TCeldasLegibles*>(t->itemDelegate());
    if (!celdas || !t->model()) return;
    const QAbstractItemModel& m = *t->model();
    QHeaderView* h = t->horizontalHeader();
    for (int c = 0; c < m.columnCount(); ++c) {
      if (t->isColumnHidden(c) || t->columnWidth(c) <= 0) continue;
      const QString titulo = m.headerData(c, Qt::Horizontal).toString();
      const int pide = u_anchoTitulo(h, c, titulo);
      if (h->isVisible() && pide > h->sectionSize(c))
        falla(donde, QStringLiteral("%1: el título \"%2\" no cabe en %3 px (pide %4)")
                         .arg(describe(t), titulo)
                         .arg(h->sectionSize(c))
                         .arg(pide));
      for (int f = 0; f < std::min(m.rowCount(), 60); ++f) {
        const QString valor = m.data(m.index(f, c)).toString();
        const QString v = valor.trimmed();
        const bool largo =
            v.size() > kLargoNombre || (!v.contains(QLatin1Char(' ')) && v.size() >= kLargoClave);
        if (!largo && celdas->recortada(t->font(), c, f, t->columnWidth(c))) {
          falla(donde, QStringLiteral("%1: \"%2\" se corta en la columna \"%3\" (%4 px)")
                           .arg(describe(t), valor, titulo)
                           .arg(t->columnWidth(c)));
          break;
        }
      }
    }
  }

  static constexpr int kLargoNombre = 36;
  static constexpr int kLargoClave = 32;

  // Touching each field that has an on-screen keyboard: the keyboard must leave it in view.
  void revisaTeclados(QWidget* ventana) {
    for (QLineEdit* campo : ventana->findChildren<QLineEdit*>()) {
      if (!campo->isVisible() || !campo->isEnabled() || interno(campo, ventana)) continue;
      QTest::mouseClick(campo, Qt::LeftButton);
      procesa();
      for (TTecladoPantalla* t : ventana->findChildren<TTecladoPantalla*>()) {
        if (!t->isVisible()) continue;
        const QRect rt(t->mapToGlobal(QPoint(0, 0)), t->size());
        const QRect rc(campo->mapToGlobal(QPoint(0, 0)), campo->size());
        if (rt.intersects(rc))
          falla(
              QString::fromLatin1(ventana->metaObject()->className()),
              QStringLiteral("el teclado %1 cubre %2 %3").arg(rect(rt), describe(campo), rect(rc)));
        revisa(QStringLiteral("%1 con teclado")
                   .arg(QString::fromLatin1(ventana->metaObject()->className())));
        t->pulsa(QStringLiteral("cerrar"));
        procesa();
      }
    }
  }

  void pulsaBotones(TPantallaNombrada* n, QWidget* ventana) {
    for (const QString& b : n->botones()) {
      if (esTerminal(b) || !n->visible(b) || !n->habilitado(b)) continue;
      n->pulsa(b);
      procesa();
      if (!ventana->isVisible()) return;
      revisa(QStringLiteral("%1 tras \"%2\"")
                 .arg(QString::fromLatin1(ventana->metaObject()->className()), b));
    }
  }

  void captura(QWidget* v, QString nombre) {
    nombre.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9áéíóúñÁÉÍÓÚÑ_ -]")),
                   QStringLiteral("_"));
    v->grab().save(QStringLiteral("%1/%2.png").arg(uCarpeta, nombre.left(90)));
  }

  QStringList fallas;
  QStringList dialogos;

 private:
  QString uCarpeta;
  int uProfundidad = 0;
  QSet<QString> uVistas;
};

// The lists filled as a working day leaves them: today's sale in the open session with its
// references and invoice, one of its products returned, a credit note for it.
void datosDeUnDia(TConexionSesion& conexion, int operacion) {
  const QDateTime ahora = QDateTime::currentDateTime();
  const QStringList sql = {
      "UPDATE puntoOperacion SET fechaHora = :ahora, facturadoMetodo = '3', "
      "facturadoFecha = :ahora, puntoCajaSesion_id = 1, "
      "uuid = '5f0c2a1e-8d7b-4c39-9e21-3b6a0f4d7c18' WHERE id = :op",
      "INSERT INTO puntoOperacionAdicional (puntoOperacion_id, uuid, fecha) VALUES (:op, "
      "'A1B2C3D4-E5F6-4789-ABCD-0123456789EF', :ahora)",
      "INSERT INTO ventasDevolucion (puntoOperacionDetalle_id, fechaDevolucion, cantidad, "
      "devolucionTipo, estadoProducto, idNegocioFk) SELECT id, :ahora, 1, 1, "
      "'Empaque abierto, producto en buen estado', 1 FROM puntoOperacionDetalle WHERE "
      "puntoOperacion_id = :op",
      "INSERT INTO Receptor (rfc, nombre, idNegocioFk) VALUES ('GOMA800101AB1', "
      "'Comercializadora de Abarrotes del Valle de México S.A. de C.V.', 1)",
      "INSERT INTO Comprobante (uuid, tipoDocumento, fecha, puntoOperacion_id, uuidRelacionado, "
      "Receptor_idReceptor, idNegocioFk) SELECT '9E8D7C6B-5A49-4382-A1B0-FEDCBA987654', 'CRE', "
      ":ahora, :op, 'A1B2C3D4-E5F6-4789-ABCD-0123456789EF', MAX(idReceptor), 1 FROM Receptor"};
  for (const QString& s : sql) {
    TmiddleTier mt(conexion);
    mt.setQuery(s);
    if (s.contains(QStringLiteral(":ahora"))) mt.setDateTime(QStringLiteral("ahora"), ahora);
    if (s.contains(QStringLiteral(":op"))) mt.setInteger(QStringLiteral("op"), operacion);
    ASSERT_GE(mt.nonQuery(), 0) << mt.ultimoError().toStdString() << "\n" << s.toStdString();
  }
}

QString carpetaCapturas(const QSize& s) {
  return QStringLiteral(POS_BINARIOS "/../capturas/%1x%2").arg(s.width()).arg(s.height());
}

// The walk itself, in the child process (skipped in a plain run of the program).
TEST(RecorridoGeometria, PantallasYDialogos) {
  const QString tam = qEnvironmentVariable(kVariable);
  if (tam.isEmpty()) GTEST_SKIP() << "solo en el proceso hijo de Geometria.*";
  const QStringList wh = tam.split(QLatin1Char('x'));
  const QSize esperado(wh.value(0).toInt(), wh.value(1).toInt());
  ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), esperado);

  auto db = BaseDatosPrueba::crea(Motor::SQLite);
  ASSERT_TRUE(db);
  QFile demo(QStringLiteral(POS_FUENTES "/data/catalogo-demo.json"));
  ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
  const int negocio = importaPrueba(db->conexion(), demo.readAll());
  ASSERT_EQ(negocio, 1);
  CatalogoPrueba cat(db->conexion(), negocio);
  const int operacion = cat.ventaGuardada(9001);
  datosDeUnDia(db->conexion(), operacion);
  db->llenaLocalSYS(negocio);
  localSYS.estacion = QStringLiteral("CAJA-DEMO-1");

  Recorrido r(carpetaCapturas(esperado));
  QWidget* panel = TFRM_main_puntoVenta::ExecForm(localSYS);
  auto* forma = TFRM_main_puntoVenta::desdePanel(panel);
  VentanaHost host(panel);
  // Maximised, as the host shows it on a station: the window with its frame fills the screen.
  host.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
  host.show();
  Recorrido::procesa();
  const QMargins marco = host.windowHandle()->frameMargins();
  host.setGeometry(QGuiApplication::primaryScreen()->availableGeometry() - marco);
  Recorrido::procesa();
  r.revisa(QStringLiteral("menú"));

  const QStringList clases = pantallasRegistradas();
  EXPECT_GE(clases.size(), 4);
  for (const QString& clase : clases) {
    forma->muestraPantalla(clase);
    Recorrido::procesa();
    r.revisa(clase);
    TPantallaMenu* p = forma->pantalla(clase);
    ASSERT_NE(p, nullptr) << clase.toStdString();
    if (TPantallaNombrada* n = p->nombrada()) {
      // The register with one line goes on to the checkout ("Aceptar" opens it).
      if (clase == QStringLiteral("TFRM_caja")) {
        // A sale as a cashier rings it: long names, keys, units by weight, a dozen of one.
        for (const char* codigo :
             {"7507936447327", "7507843546960", "7501548659390", "7506395813186", "7503138438392"})
          n->teclea(QStringLiteral("Código de barras"), QString::fromLatin1(codigo));
        n->teclea(QStringLiteral("Cantidad"), QStringLiteral("12"));
        n->pulsaEnter(QStringLiteral("Cantidad"));
        Recorrido::procesa();
        r.revisa(QStringLiteral("TFRM_caja con una venta"));
        n->pulsa(QStringLiteral("Aceptar"));
      }
      QWidget* ventana = p->contenido() ? p->contenido()->window() : &host;
      r.pulsaBotones(n, ventana);
    }
    for (QWidget* v : QApplication::topLevelWidgets())
      if (v != &host && v->isVisible()) v->hide();
  }

  // Dialogs the walk does not reach by buttons (a row's options menu opens them), and the
  // package's dialogs that no registered screen opened on its own.
  TFRM_cajaApertura().init(2, QStringLiteral("CAJA-2"), QStringLiteral("Caja rápida"));
  TFRM_cajaCorte().initCorte(1, QStringLiteral("CAJA-1"), QStringLiteral("Caja principal"), 1);
  TFRM_verSesion().initSesion(1);  // the demo register's session, with the day's sale
  TFRM_editar().initNumericoFraccion(QStringLiteral("Monto"), QStringLiteral("100"), 10);
  seleccionarProducto(localSYS);
  TFRM_facturar().initPuntoVentaTicket(operacion, localSYS);
  u_dialogoGuardarArchivo(QStringLiteral("Exportar"), QStringLiteral("lista.pdf"),
                          QStringLiteral("PDF (*.pdf)"));
  for (const char* d :
       {"TFRM_cajaApertura", "TFRM_cajaCorte", "TFRM_cajaCaptura", "TFRM_cajerosCaptura",
        "TFRM_cajaSeleccionarKit", "TFRM_editar", "TFRM_seleccionarProducto", "TFRM_facturar",
        "TFRM_cerrarPuntoVenta", "TFRM_verSesion", "QFileDialog"})
    EXPECT_TRUE(r.dialogos.contains(QString::fromLatin1(d))) << d;

  EXPECT_TRUE(r.fallas.isEmpty()) << r.fallas.join(QLatin1Char('\n')).toStdString();
  localSYS = TsistemaDatos();
}

class Geometria : public ::testing::TestWithParam<QSize> {};

TEST_P(Geometria, TodoCabeEnLaPantalla) {
  if (!qEnvironmentVariableIsEmpty(kVariable)) GTEST_SKIP();
  const QSize s = GetParam();
  QTemporaryDir dir;
  const QString config = dir.filePath(QStringLiteral("pantalla.json"));
  QFile f(config);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QStringLiteral("{\"screens\":[{\"name\":\"estacion\",\"x\":0,\"y\":0,\"width\":%1,"
                         "\"height\":%2,\"logicalDpi\":96,\"logicalBaseDpi\":96,\"dpr\":1}]}")
              .arg(s.width())
              .arg(s.height())
              .toUtf8());
  f.close();
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  entorno.insert(QStringLiteral("QT_QPA_PLATFORM"),
                 QStringLiteral("offscreen:configfile=") + config);
  entorno.insert(QString::fromLatin1(kVariable),
                 QStringLiteral("%1x%2").arg(s.width()).arg(s.height()));
  QProcess hijo;
  hijo.setProcessEnvironment(entorno);
  hijo.setProcessChannelMode(QProcess::MergedChannels);
  hijo.start(QCoreApplication::applicationFilePath(),
             {QStringLiteral("--gtest_filter=RecorridoGeometria.*")});
  ASSERT_TRUE(hijo.waitForFinished(240000));
  const QString salida = QString::fromUtf8(hijo.readAll());
  EXPECT_EQ(hijo.exitCode(), 0) << salida.toStdString();
  EXPECT_TRUE(salida.contains(QStringLiteral("[  PASSED  ] 1 test"))) << salida.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Estaciones, Geometria,
                         ::testing::Values(QSize(1024, 768), QSize(1366, 768)),
                         [](const ::testing::TestParamInfo<QSize>& i) {
                           return std::to_string(i.param.width()) + "x" +
                                  std::to_string(i.param.height());
                         });

}  // namespace
