#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "pdf/generaPDF.h"
#include "shell/programaPredeterminado.h"
#include "textoQt.h"

namespace {

QString ejecuta(const QString& programa, const QStringList& argumentos) {
  QProcess p;
  p.start(programa, argumentos);
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return QString();
  return QString::fromUtf8(p.readAllStandardOutput());
}

QString textoPDF(const QString& archivo, int pagina = 0) {
  QStringList args{QStringLiteral("-layout")};
  if (pagina > 0) args << "-f" << QString::number(pagina) << "-l" << QString::number(pagina);
  return ejecuta(QStringLiteral("pdftotext"), args << archivo << QStringLiteral("-"));
}

int paginasPDF(const QString& archivo) {
  const QString info = ejecuta(QStringLiteral("pdfinfo"), {archivo});
  const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

cDescripcion descripcionCierres(const QString& archivo, const QString& logo, int filas) {
  cDescripcion d;
  d.productor = QStringLiteral("Punto de Venta");
  d.titulo = QStringLiteral("Control de Cierres");
  d.apaisado = false;
  d.numeraPaginas = true;
  d.fuente = QStringLiteral("Calibri");
  d.escala = 100.0;
  d.archivoSalida = archivo;
  d.contexto = QStringLiteral("sesion");
  d.archivo = archivo;
  d.paginaInicial = 1;
  d.formato = QStringLiteral("tabulado");
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("titulo"), d.titulo);
  d.addElemento(QStringLiteral("imagen"), QStringLiteral("logo"), logo);
  d.addElemento(QStringLiteral("imagen"), QStringLiteral("logoSoft"),
                QStringLiteral("no-existe.png"));
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("-empresa"),
                QStringLiteral("Abarrotes La Única"));
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("-rfc"), QStringLiteral("AUN010101AB1"));
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("-razonsocial"),
                QStringLiteral("Abarrotes La Única, S.A. de C.V."));
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("-direccion1"),
                QStringLiteral("Av. Juárez 100  Centro 06000 Cuauhtémoc CDMX"));
  d.addElemento(QStringLiteral("etiqueta"), QStringLiteral("-fecha"),
                QStringLiteral("05/12/2024 14:30:00"));
  cTabla t;
  t.addCabecera(QStringLiteral("Caja"), tcTexto, 40, alIzquierda);
  t.addCabecera(QStringLiteral("Sesión"), 0, 40, 1);
  t.addCabecera(QStringLiteral("Nombre"), tcTexto, 150, alIzquierda);
  t.addCabecera(QStringLiteral("Fecha Hora"), tcFecha, 70, alIzquierda);
  t.addCabecera(QStringLiteral("Monto"), 1, 60, 2);
  TDatosTablaPDF datos;
  datos.titulos = {"Caja", "Sesión", "Nombre", "Fecha Hora", "Monto"};
  for (int i = 0; i < filas; ++i) {
    datos.filas << QStringList{
        QStringLiteral("CAJA%1").arg(i % 3 + 1), QString::number(100 + i),
        QStringLiteral("Cajera Número %1").arg(i),
        QStringLiteral("2024-12-05 14:%1:00").arg(i % 60, 2, 10, QLatin1Char('0')),
        QString::number(1234.5 + i, 'f', 2)};
  }
  t.setDatos(datos);
  d.tabla = t;
  return d;
}

TEST(GeneraPDF, ReporteDeVariasPaginasLegible) {
  QTemporaryDir dir;
  const QString logo = dir.filePath(QStringLiteral("Formatos/AUN010101AB1/logo.png"));
  QDir().mkpath(QFileInfo(logo).absolutePath());
  QImage img(240, 90, QImage::Format_RGB32);
  img.fill(QColor(0x1F, 0x6F, 0xB2));
  ASSERT_TRUE(img.save(logo));
  const QString archivo = dir.filePath(QStringLiteral("exportes/Control de Cierres.pdf"));

  QString error;
  ASSERT_TRUE(generaPDF(descripcionCierres(archivo, logo, 150), &error)) << error.toStdString();
  EXPECT_TRUE(error.isEmpty());
  QFile f(archivo);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.read(5).startsWith("%PDF-"));

  const int paginas = paginasPDF(archivo);
  ASSERT_GT(paginas, 2);
  const QString primera = textoPDF(archivo, 1);
  EXPECT_TRUE(primera.contains(QStringLiteral("Control de Cierres")));
  EXPECT_TRUE(primera.contains(QStringLiteral("Abarrotes La Única, S.A. de C.V.")));
  EXPECT_TRUE(primera.contains(QStringLiteral("Cuauhtémoc")));
  EXPECT_TRUE(primera.contains(QStringLiteral("Página 1 de %1").arg(paginas)));
  // Money and dates in the house formats; the row reads left to right in column order.
  EXPECT_TRUE(primera.contains(QRegularExpression(
      QStringLiteral("CAJA1\\s+100\\s+Cajera Número 0\\s+05/12/2024 14:00:00\\s+\\$ 1,234.50"))))
      << primera.toStdString();

  // Later pages repeat the column headers and carry on with the rows, none lost.
  const QString ultima = textoPDF(archivo, paginas);
  EXPECT_TRUE(ultima.contains(
      QRegularExpression(QStringLiteral("Caja\\s+Sesión\\s+Nombre\\s+Fecha Hora\\s+Monto"))));
  EXPECT_TRUE(ultima.contains(QStringLiteral("Cajera Número 149")));
  EXPECT_TRUE(ultima.contains(QStringLiteral("Página %1 de %1").arg(paginas)));
  const QString todo = textoPDF(archivo);
  EXPECT_EQ(todo.count(QRegularExpression(QStringLiteral("Cajera Número \\d+\\b"))), 150);
}

TEST(GeneraPDF, DescripcionesQueNoSePuedenEscribir) {
  QTemporaryDir dir;
  QString error;
  cDescripcion d = descripcionCierres(dir.filePath(QStringLiteral("a.pdf")), QString(), 3);
  d.formato = QStringLiteral("columnas");
  EXPECT_FALSE(generaPDF(d, &error));
  EXPECT_EQ(error, QStringLiteral("Formato de reporte desconocido: columnas"));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.pdf"))));

  d = descripcionCierres(QString(), QString(), 3);
  EXPECT_FALSE(generaPDF(d, &error));
  EXPECT_FALSE(error.isEmpty());

  QFile(dir.filePath(QStringLiteral("archivo"))).open(QIODevice::WriteOnly);
  d = descripcionCierres(dir.filePath(QStringLiteral("archivo/b.pdf")), QString(), 3);
  EXPECT_FALSE(generaPDF(d, &error));
  EXPECT_TRUE(error.startsWith(QStringLiteral("No se pudo"))) << error.toStdString();

  // Without rows the headers are still printed on one page; the flags turn the page and
  // drop the page numbers. The second file name stands in when the first is empty.
  d = descripcionCierres(QString(), QString(), 0);
  d.archivo = dir.filePath(QStringLiteral("vacio.pdf"));
  d.apaisado = true;
  d.numeraPaginas = false;
  ASSERT_TRUE(generaPDF(d, &error)) << error.toStdString();
  const QString vacio = dir.filePath(QStringLiteral("vacio.pdf"));
  EXPECT_EQ(paginasPDF(vacio), 1);
  EXPECT_TRUE(textoPDF(vacio).contains(QStringLiteral("Fecha Hora")));
  EXPECT_FALSE(textoPDF(vacio).contains(QStringLiteral("Página")));
  const auto tam = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)"))
                       .match(ejecuta(QStringLiteral("pdfinfo"), {vacio}));
  ASSERT_TRUE(tam.hasMatch());
  EXPECT_GT(tam.captured(1).toDouble(), tam.captured(2).toDouble());
}

TEST(GeneraPDF, FormatoDeCeldas) {
  EXPECT_EQ(textoCeldaPDF(QStringLiteral("1234.5"), tcMoneda), QStringLiteral("$ 1,234.50"));
  EXPECT_EQ(textoCeldaPDF(QStringLiteral("$ 97.19999999999999"), tcMoneda),
            QStringLiteral("$ 97.20"));
  EXPECT_EQ(textoCeldaPDF(QStringLiteral("-3"), tcMoneda), QStringLiteral("$ -3.00"));
  // A name under a money column stays a name.
  EXPECT_EQ(textoCeldaPDF(QStringLiteral("Juan Pérez"), tcMoneda), QStringLiteral("Juan Pérez"));
  EXPECT_EQ(textoCeldaPDF(QStringLiteral("1234.5"), tcTexto), QStringLiteral("1234.5"));
  EXPECT_EQ(textoCeldaPDF(QStringLiteral("2024-12-05T08:05:09"), tcFecha),
            QStringLiteral("05/12/2024 08:05:09"));
  EXPECT_EQ(textoCeldaPDF(QStringLiteral("2024-12-05"), tcFecha), QStringLiteral("05/12/2024"));
  EXPECT_EQ(textoCeldaPDF(QStringLiteral("ayer"), tcFecha), QStringLiteral("ayer"));
}

TEST(ProgramaPredeterminado, SoloSeAnotaEnPruebas) {
  ASSERT_EQ(qEnvironmentVariable("POS_SIN_ABRIR"), QStringLiteral("1"));
  QTemporaryDir dir;
  const QString archivo = dir.filePath(QStringLiteral("reporte.pdf"));
  QFile(archivo).open(QIODevice::WriteOnly);
  abreConProgramaPredeterminadoOlvida();
  EXPECT_TRUE(abreConProgramaPredeterminado(archivo));
  EXPECT_FALSE(abreConProgramaPredeterminado(dir.filePath(QStringLiteral("no-existe.pdf"))));
  EXPECT_TRUE(abreConProgramaPredeterminado(QStringLiteral("https://example.com/portal")));
  EXPECT_EQ(abreConProgramaPredeterminadoSolicitudes(),
            QStringList({QFileInfo(archivo).absoluteFilePath(), "https://example.com/portal"}));
}

}  // namespace
