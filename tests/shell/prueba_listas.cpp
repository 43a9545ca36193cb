#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <numeric>

#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "pdf/cDescripcion.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/listas/TListaPantalla.h"
#include "shell/listas/exportaLista.h"
#include "shell/listas/lineasCelda.h"
#include "shell/listas/repartoColumnas.h"
#include "shell/programaPredeterminado.h"
#include "support/RespondedorPrueba.h"

namespace {

// A list screen over a scripted data operation: it records the filters it was called with
// and answers the next prepared table.
class ListaDePrueba : public TListaPantalla {
 public:
  explicit ListaDePrueba(Opciones o = {}) : TListaPantalla("Lista de Prueba", o) {
    TXT_nombre = agregaCampoBusqueda("Nombre", "TXT_nombre");
    TXT_clave = agregaCampoBusqueda("Clave", "TXT_clave");
    delegado()->setPintura("Monto", TPintura::Moneda);
    delegado()->setPintura("Sitio", TPintura::Enlace);
    preparaGrid();
  }
  void declaraColumnas(TGridControl& g) override {
    g.add(2, "", "", "Edita", 40, true);
    g.add(0, "_id", "id", "", 30, false);
    g.add(0, "Nombre", "nombre", "", 150, true);
    g.add(0, "Monto", "monto", "", 90, true);
    g.add(0, "Sitio", "--", "", 90, true);
    g.add(0, "Sin campo", "", "", 50, true);
  }
  QString columnaAjuste() const override { return "Nombre"; }
  CmidTierResponse consulta() override {
    llamadas << QVariantList{filtroTexto(TXT_nombre), filtroTexto(TXT_clave)};
    return respuesta;
  }
  void accionFila(int fila, const QPoint&) override { acciones << fila; }
  QVector<TColumnaPDF> columnasPDF() const override {
    return {{"Nombre", 300, 0, 0}, {"Monto", 100, 1, 2}, {"Sitio", 80, 0, 1}};
  }

  static CmidTierResponse tabla(int filas) {
    CmidTierResponse r;
    r.setColumnas({"id", "nombre", "monto"});
    for (int i = 0; i < filas; ++i)
      r.agregaFila({i + 1, QString("Fila %1").arg(i + 1), 1234.5 * (i + 1)});
    r.setOk(true);
    return r;
  }

  // The search row has wrapped: "Buscar" sits below the first field.
  bool buscarBajoLosCampos() const {
    return BTN_buscar->mapTo(this, QPoint()).y() > TXT_nombre->mapTo(this, QPoint()).y();
  }

  CmidTierResponse respuesta = tabla(0);
  QList<QVariantList> llamadas;
  QList<int> acciones;

 private:
  QLineEdit* TXT_nombre = nullptr;
  QLineEdit* TXT_clave = nullptr;
};

TEST(Listas, LosFiltrosSonPatronesONulosConTipo) {
  QLineEdit campo;
  const QVariant vacio = TListaPantalla::filtroTexto(&campo);
  EXPECT_TRUE(vacio.isNull());
  EXPECT_EQ(vacio.metaType(), QMetaType::fromType<QString>());
  campo.setText("   ");
  EXPECT_TRUE(TListaPantalla::filtroTexto(&campo).isNull());
  campo.setText("  ana maría ");
  EXPECT_EQ(TListaPantalla::filtroTexto(&campo).toString(), "%ana maría%");
  EXPECT_EQ(TListaPantalla::nuloEntero().metaType(), QMetaType::fromType<int>());
  EXPECT_TRUE(TListaPantalla::nuloEntero().isNull());
}

TEST(Listas, BuscarVerTodosYElMensajeDeVacio) {
  ListaDePrueba l;
  l.resize(900, 500);
  l.show();
  l.init();
  EXPECT_EQ(l.texto("Mensaje"), "No hay elementos que mostrar");
  EXPECT_TRUE(l.visible("Mensaje"));

  l.respuesta = ListaDePrueba::tabla(3);
  l.escribe("Nombre", " fila ");
  l.pulsaEnter("Nombre");  // Enter in a search field searches
  ASSERT_EQ(l.llamadas.size(), 2);
  EXPECT_EQ(l.llamadas.last()[0].toString(), "%fila%");
  EXPECT_TRUE(l.llamadas.last()[1].isNull());
  EXPECT_EQ(l.grid().getRowCount(), 3);
  EXPECT_FALSE(l.visible("Mensaje"));
  EXPECT_TRUE(l.texto("Mensaje").isEmpty());

  // A failed search keeps the rows.
  l.respuesta = CmidTierResponse::fallo("sin conexión");
  l.pulsa("Buscar");
  EXPECT_EQ(l.grid().getRowCount(), 3);
  EXPECT_FALSE(l.visible("Mensaje"));

  // A clear button only clears its field on screens like this one.
  l.escribe("Clave", "X");
  l.pulsa("Borrar Clave");
  EXPECT_TRUE(l.texto("Clave").isEmpty());
  EXPECT_EQ(l.llamadas.size(), 3);

  // "Ver Todos" clears every field before it searches.
  l.respuesta = ListaDePrueba::tabla(0);
  l.escribe("Clave", "Y");
  l.pulsa("Ver Todos");
  ASSERT_EQ(l.llamadas.size(), 4);
  EXPECT_TRUE(l.llamadas.last()[0].isNull());
  EXPECT_TRUE(l.llamadas.last()[1].isNull());
  EXPECT_TRUE(l.texto("Nombre").isEmpty());
  EXPECT_EQ(l.grid().getRowCount(), 0);
  EXPECT_TRUE(l.visible("Mensaje"));
}

TEST(Listas, OpcionesDeLimpiarYDeBusquedaInicial) {
  TListaPantalla::Opciones o;
  o.limpiarBusca = true;
  o.busquedaUnaVez = true;
  o.verTodosBusca = false;
  ListaDePrueba l(o);
  l.init();
  l.init();
  EXPECT_EQ(l.llamadas.size(), 1);
  l.escribe("Nombre", "a");
  l.pulsa("Borrar Nombre");
  EXPECT_EQ(l.llamadas.size(), 2);
  l.escribe("Clave", "b");
  l.pulsa("Ver Todos");
  EXPECT_EQ(l.llamadas.size(), 2);
  EXPECT_EQ(l.texto("Clave"), "b");
}

TEST(Listas, ValorDeCeldaYAccionSoloEnLaPrimeraColumnaDeUnaFila) {
  ListaDePrueba l;
  l.resize(900, 500);
  l.show();
  l.respuesta = ListaDePrueba::tabla(2);
  l.buscar();
  EXPECT_EQ(l.GRD_mainGetValue(2, 1), "Fila 2");
  EXPECT_EQ(l.GRD_mainGetValue(3, 0), "1234.5");
  EXPECT_EQ(l.GRD_mainGetValue(2, 2), "");
  EXPECT_EQ(l.GRD_mainGetValue(6, 0), "");
  EXPECT_EQ(l.GRD_mainGetValue(-1, 0), "");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&l));
  l.pulsaCelda("Lista", 1, 0);
  l.pulsaCelda("Lista", 0, 2);
  EXPECT_EQ(l.acciones, QList<int>({1}));
  // The visible columns fill the grid exactly; the stretch column takes the spare width.
  const auto anchoTotal = [&l] {
    int total = 0;
    for (int c = 0; c < l.grid().getColumnCount(); ++c) total += l.anchoColumna("Lista", c);
    return total;
  };
  EXPECT_EQ(anchoTotal(), l.anchoGrid("Lista"));
  EXPECT_GT(l.anchoColumna("Lista", 2), 300);
  EXPECT_LT(l.anchoColumna("Lista", 3), 200);
  // A narrow screen: the search row wraps instead of widening it, and the grid shares the
  // shortage: every column stays in sight, none is cut off.
  l.resize(560, 500);
  QApplication::processEvents();
  EXPECT_EQ(l.width(), 560);
  EXPECT_TRUE(l.buscarBajoLosCampos());
  EXPECT_LE(anchoTotal(), l.anchoGrid("Lista"));
}

// A date (narrow: whole 160, short 120), two names and the stretch column, on ever narrower
// grids: the names give way first, then the stretch column, then the date; then the names down
// to their least before the date.
TEST(Listas, RepartoDeColumnas) {
  const QVector<TColumnaReparto> columnas = {{TColumnaReparto::Angosta, 160, 120, 40},
                                             {TColumnaReparto::Texto, 300, 100, 40},
                                             {TColumnaReparto::Texto, 150, 100, 40},
                                             {TColumnaReparto::Ajuste, 200, 140, 40}};
  const struct {
    int disponible;
    QVector<int> anchos;
  } casos[] = {
      {1000, {160, 300, 150, 390}},  // room: the stretch column takes it
      {810, {160, 300, 150, 200}},  {660, {160, 150, 150, 200}},  // the names, the longest first
      {560, {160, 100, 100, 200}},  {500, {160, 100, 100, 140}},  // then the stretch column
      {480, {140, 100, 100, 140}},  // then the date, towards its short form
      {300, {120, 60, 60, 60}},     // then the names towards their least
      {200, {80, 40, 40, 40}},      // and only then the date
      {100, {40, 40, 40, 40}},      // never below it
  };
  for (const auto& c : casos)
    EXPECT_EQ(repartoColumnas(columnas, c.disponible), c.anchos) << c.disponible;

  // Whatever the width: the columns fill it exactly (down to their least widths), and no
  // column narrows when the grid widens (but for a pixel of rounding).
  QVector<int> antes = repartoColumnas(columnas, 0);
  for (int d = 1; d <= 1200; ++d) {
    const QVector<int> a = repartoColumnas(columnas, d);
    EXPECT_EQ(std::accumulate(a.begin(), a.end(), 0), std::max(d, 160)) << d;
    for (int i = 0; i < a.size(); ++i) EXPECT_GE(a[i], antes[i] - 1) << d << " " << i;
    antes = a;
  }
  // Without a stretch column the spare width stays empty.
  EXPECT_EQ(repartoColumnas({{TColumnaReparto::Texto, 90, 50, 40}}, 300), QVector<int>({90}));
}

// At the least width that shows a text whole on two lines nothing is cut, the words stay in
// order and no line is wider; a pixel narrower something is cut. A single word is never broken.
TEST(Listas, TextoEnDosLineas) {
  QFont f;
  f.setPixelSize(15);
  const QFontMetrics fm(f);
  for (const char* t : {"Caja principal", "María Guadalupe Hernández López", "06/12/2026 14:42:05",
                        "Comercializadora de Abarrotes del Valle de México", "XAXX010101000"}) {
    const QString texto = QString::fromUtf8(t);
    const int ancho = u_anchoDosLineas(fm, texto);
    bool cortado = true;
    const QString lineas = u_lineasCelda(fm, texto, ancho, &cortado);
    EXPECT_FALSE(cortado) << t;
    EXPECT_LE(lineas.count(QLatin1Char('\n')), 1) << t;
    EXPECT_EQ(QString(lineas).replace(QLatin1Char('\n'), QLatin1Char(' ')), texto);
    for (const QString& l : lineas.split(QLatin1Char('\n')))
      EXPECT_LE(fm.horizontalAdvance(l), ancho);
    u_lineasCelda(fm, texto, ancho - 1, &cortado);
    EXPECT_TRUE(cortado) << t;
  }
  bool cortado = true;
  EXPECT_EQ(u_lineasCelda(fm, QStringLiteral("Caja"), 200, &cortado), QStringLiteral("Caja"));
  EXPECT_FALSE(cortado);
  EXPECT_FALSE(u_lineasCelda(fm, QStringLiteral("XAXX010101000"), 30).contains(QLatin1Char('\n')));
}

TEST(Listas, PinturaDeCeldasPorTitulo) {
  EXPECT_EQ(TDelegadoLista::textoCelda("1234.5", TPintura::Moneda), "$ 1,234.50");
  EXPECT_EQ(TDelegadoLista::textoCelda("$1,234.567", TPintura::Moneda), "$ 1,234.57");
  EXPECT_EQ(TDelegadoLista::textoCelda("", TPintura::Moneda), "");
  EXPECT_EQ(TDelegadoLista::textoCelda("(empty)", TPintura::Moneda), "");
  EXPECT_EQ(TDelegadoLista::textoCelda("(empty)", TPintura::Izquierda), "");
  EXPECT_EQ(TDelegadoLista::textoCelda("-0.5", TPintura::Moneda), "$ -0.50");
  EXPECT_EQ(TDelegadoLista::textoCelda("2026-03-02 08:05:09", TPintura::Fecha),
            "02/03/2026 08:05:09");
  EXPECT_EQ(TDelegadoLista::textoCorto("2026-03-02 08:05:09", TPintura::Fecha), "02/03/26 08:05");
  EXPECT_EQ(TDelegadoLista::textoCorto("sin fecha", TPintura::Fecha), "sin fecha");
  EXPECT_EQ(TDelegadoLista::textoCelda("hola", TPintura::Enlace), "hola");
  ListaDePrueba l;
  l.respuesta = ListaDePrueba::tabla(1);
  l.buscar();
  EXPECT_EQ(l.delegado()->textoCelda(3, 0), "$ 1,234.50");
  EXPECT_EQ(l.delegado()->textoCelda(2, 0), "Fila 1");
  EXPECT_TRUE(l.delegado()->esClicable(0));
  EXPECT_TRUE(l.delegado()->esClicable(4));
  EXPECT_FALSE(l.delegado()->esClicable(2));
}

TEST(Listas, SinFilasNoHayDialogoDeExportacion) {
  RespondedorPrueba r;
  ListaDePrueba l;
  l.buscar();
  l.pulsa("PDF");
  l.pulsa("Excel");
  EXPECT_EQ(r.textos(), QStringList(2, "No hay elementos que mostrar"));
  for (const auto& m : r.mensajes) EXPECT_EQ(m.tipo, 4);
  EXPECT_TRUE(r.dialogos.isEmpty());
  // Columns without rows: the export itself does nothing either.
  EXPECT_TRUE(exportaGridGeneraPDF(l.grid(), "X", {}, localSYS).isEmpty());
  EXPECT_TRUE(r.dialogos.isEmpty());
}

class ExportaPDF : public ::testing::Test {
 protected:
  void SetUp() override {
    abreConProgramaPredeterminadoOlvida();
    localSYS = TsistemaDatos();
    TNegocio& n = localSYS.negocio;
    n.idNegocio = 1;
    n.nombre = "Abarrotes La Esperanza";
    n.datosFiscales.rfc = "EKU9003173C9";
    n.datosFiscales.razon = "La Esperanza SA de CV";
    TDireccion& d = n.datosFiscales.direccion;
    d.calle = "Av. Juárez";
    d.noExterior = "12";
    d.colonia = "Centro";
    d.codigoPostal = "06600";
    d.estado = "CDMX";
  }
  void TearDown() override { localSYS = TsistemaDatos(); }
  // Answers the save question with a file of the temporary folder.
  void responde(const QString& nombre) {
    r.manejadores.push_back([this, nombre](QDialog* d) {
      auto* f = qobject_cast<QFileDialog*>(d);
      EXPECT_TRUE(f);
      sugerido = f->selectedFiles().value(0);
      f->selectFile(carpeta.filePath(nombre));
      return int(QDialog::Accepted);
    });
  }
  RespondedorPrueba r;
  QTemporaryDir carpeta;
  QString sugerido;
};

TEST_F(ExportaPDF, LaDescripcionLlevaElEncabezadoEnOrdenYLasColumnasDescritas) {
  ListaDePrueba l;
  l.respuesta = ListaDePrueba::tabla(2);
  l.buscar();
  const cDescripcion d = descripcionPDF(
      l.grid(), l.titulo(), {{"Nombre", 300, 0, 0}, {"Monto", 100, 1, 2}, {"Sitio", 80, 0, 1}},
      "/tmp/x.pdf", localSYS);
  EXPECT_EQ(d.titulo, "Lista de Prueba");
  EXPECT_EQ(d.archivoSalida, "/tmp/x.pdf");
  EXPECT_EQ(d.archivo, "/tmp/x.pdf");
  QStringList claves;
  for (const TElementoPDF& e : d.elementos()) claves << e.tipo + ":" + e.clave;
  EXPECT_EQ(claves, QStringList({"etiqueta:titulo", "imagen:logo", "imagen:logoSoft",
                                 "etiqueta:-empresa", "etiqueta:-rfc", "etiqueta:-razonsocial",
                                 "etiqueta:-direccion1", "etiqueta:-fecha"}));
  EXPECT_EQ(d.elemento("imagen", "logo"), "Formatos/EKU9003173C9/logo.png");
  EXPECT_EQ(d.elemento("imagen", "logoSoft"), "footer.png");
  EXPECT_EQ(d.elemento("etiqueta", "-empresa"), "Abarrotes La Esperanza");
  // Seven parts, six blanks, empty parts included (interior number and municipio).
  EXPECT_EQ(d.elemento("etiqueta", "-direccion1"), "Av. Juárez 12  Centro 06600  CDMX");
  ASSERT_EQ(d.tabla.cabeceras().size(), 3);
  EXPECT_EQ(d.tabla.cabeceras()[1].tipo, tcMoneda);
  EXPECT_EQ(d.tabla.cabeceras()[1].alineacion, alDerecha);
  // Visible data columns with a field: the image, the hidden id and the unbound one are out.
  EXPECT_EQ(d.tabla.datos().titulos, QStringList({"Nombre", "Monto", "Sitio"}));
  ASSERT_EQ(d.tabla.datos().filas.size(), 2);
  EXPECT_EQ(d.tabla.datos().filas[1], QStringList({"Fila 2", "2469", ""}));
}

TEST_F(ExportaPDF, LaExtensionSeRevisaConMayusculasYElArchivoSeAbre) {
  ListaDePrueba l;
  l.respuesta = ListaDePrueba::tabla(3);
  l.buscar();
  responde("reporte.PDF");
  l.pulsa("PDF");
  EXPECT_TRUE(sugerido.endsWith("/Lista de Prueba.pdf")) << sugerido.toStdString();
  const QString escrito = carpeta.filePath("reporte.PDF.pdf");
  EXPECT_TRUE(QFile::exists(escrito));
  EXPECT_FALSE(QFile::exists(carpeta.filePath("reporte.PDF")));
  EXPECT_EQ(abreConProgramaPredeterminadoSolicitudes(), QStringList(escrito));

  responde("lista.pdf");
  EXPECT_EQ(exportaGridGeneraPDF(l.grid(), l.titulo(), {{"Nombre", 1, 0, 0}}, localSYS),
            carpeta.filePath("lista.pdf"));
  QFile pdf(carpeta.filePath("lista.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));

  // Cancelling the question ends the export.
  abreConProgramaPredeterminadoOlvida();
  l.pulsa("PDF");
  EXPECT_TRUE(abreConProgramaPredeterminadoSolicitudes().isEmpty());
}

TEST_F(ExportaPDF, ExcelEscribeUnLibroDeLasColumnasImpresas) {
  ListaDePrueba l;
  l.respuesta = ListaDePrueba::tabla(2);
  l.buscar();
  responde("lista");
  l.pulsa("Excel");
  QFile xlsx(carpeta.filePath("lista.xlsx"));
  ASSERT_TRUE(xlsx.open(QIODevice::ReadOnly));
  EXPECT_TRUE(xlsx.read(2) == "PK");  // a zip container, as every .xlsx
  EXPECT_EQ(abreConProgramaPredeterminadoSolicitudes(), QStringList(xlsx.fileName()));
  EXPECT_TRUE(r.mensajes.empty());
}

}  // namespace
