#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "textoQt.h"
#include "util/montos.h"
#include "xlsx/exportaXlsx.h"

namespace {

QString parteDelLibro(const QString& archivo, const QString& parte) {
  QProcess p;
  p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archivo, parte});
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return QString();
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Text of the shared string a cell points at, or the cell's number.
QString celda(const QString& hoja, const QStringList& compartidas, const QString& ref) {
  const auto m =
      QRegularExpression(QStringLiteral("<c r=\"%1\"([^>]*)><v>([^<]*)</v></c>").arg(ref))
          .match(hoja);
  if (!m.hasMatch()) return QStringLiteral("(vacía)");
  if (m.captured(1).contains(QLatin1String("t=\"s\"")))
    return compartidas.value(m.captured(2).toInt());
  return QStringLiteral("#") + m.captured(2);
}

QStringList cadenas(const QString& xml) {
  QStringList out;
  auto it = QRegularExpression(QStringLiteral("<si><t[^>]*>([^<]*)</t></si>")).globalMatch(xml);
  while (it.hasNext()) out << it.next().captured(1);
  return out;
}

TEST(ExportaXlsx, CeldasTitulosYNumeros) {
  QTemporaryDir dir;
  const QString archivo = dir.filePath(QStringLiteral("Cajeros.xlsx"));
  const QVector<QStringList> filas = {
      {"0012", "Juan Pérez", "127.5", "$ 1,234.50", "7501234567890"},
      {"15", "Ana <López> & Cía", "-3", "", "x"},
  };
  QString error;
  ASSERT_TRUE(exportaXlsx(archivo, QStringLiteral("Cajeros"),
                          {"Clave", "Nombre", "Cantidad", "Saldo", "Código"}, filas, &error,
                          {150, 300}))
      << error.toStdString();
  const QString hoja = parteDelLibro(archivo, QStringLiteral("xl/worksheets/sheet1.xml"));
  ASSERT_FALSE(hoja.isEmpty());
  const QStringList comp = cadenas(parteDelLibro(archivo, QStringLiteral("xl/sharedStrings.xml")));

  EXPECT_EQ(celda(hoja, comp, "A1"), QStringLiteral("Cajeros"));
  EXPECT_EQ(celda(hoja, comp, "A3"), QStringLiteral("Clave"));
  EXPECT_EQ(celda(hoja, comp, "E3"), QStringLiteral("Código"));
  EXPECT_EQ(celda(hoja, comp, "A4"), QStringLiteral("0012"));
  EXPECT_EQ(celda(hoja, comp, "B4"), QStringLiteral("Juan Pérez"));
  EXPECT_EQ(celda(hoja, comp, "C4"), QStringLiteral("#127.5"));
  EXPECT_EQ(celda(hoja, comp, "D4"), QStringLiteral("#1234.5"));
  EXPECT_EQ(celda(hoja, comp, "E4"), QStringLiteral("7501234567890"));
  EXPECT_EQ(celda(hoja, comp, "A5"), QStringLiteral("#15"));
  EXPECT_EQ(celda(hoja, comp, "B5"), QStringLiteral("Ana &lt;López&gt; &amp; Cía"));
  EXPECT_EQ(celda(hoja, comp, "C5"), QStringLiteral("#-3"));
  EXPECT_EQ(celda(hoja, comp, "D5"), QStringLiteral("(vacía)"));
  // Header and title are bold (their own styles), the header row stays in view.
  EXPECT_TRUE(hoja.contains(QRegularExpression(QStringLiteral("<c r=\"A3\" s=\"\\d+\""))));
  EXPECT_TRUE(hoja.contains(QStringLiteral("<pane ySplit=\"3\"")));
  EXPECT_TRUE(
      hoja.contains(QRegularExpression(QStringLiteral("<col min=\"2\" max=\"2\" width=\"4[23]"))));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Cajeros.xlsx"});
}

TEST(ExportaXlsx, RutaImposibleNoDejaNada) {
  QTemporaryDir dir;
  QFile(dir.filePath(QStringLiteral("archivo"))).open(QIODevice::WriteOnly);
  QString error;
  EXPECT_FALSE(exportaXlsx(dir.filePath(QStringLiteral("archivo/x.xlsx")), QStringLiteral("T"),
                           {"A"}, {{"1"}}, &error));
  EXPECT_TRUE(error.startsWith(QStringLiteral("No se pudo"))) << error.toStdString();
  EXPECT_FALSE(exportaXlsx(QString(), QStringLiteral("T"), {"A"}, {}, &error));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"archivo"});
}

TEST(MontosPlataforma, FormatoYLectura) {
  EXPECT_EQ(plat_formatoMoneda(3 * 32.40), QStringLiteral("$ 97.20"));
  EXPECT_EQ(plat_formatoMoneda(1234567.891), QStringLiteral("$ 1,234,567.89"));
  EXPECT_EQ(plat_formatoNumero(1.005), QStringLiteral("1.01"));
  EXPECT_EQ(plat_formatoNumero(-0.001), QStringLiteral("0.00"));
  EXPECT_EQ(plat_formatoNumero(-1234.5), QStringLiteral("-1,234.50"));
  double v = 7;
  EXPECT_TRUE(plat_leeMonto(QStringLiteral(" $ 1,500.25 "), &v));
  EXPECT_DOUBLE_EQ(v, 1500.25);
  EXPECT_TRUE(plat_leeMonto(QStringLiteral(".5"), &v));
  EXPECT_DOUBLE_EQ(v, 0.5);
  for (const char* malo : {"", "$", "12a", "1.2.3", "--1", "1e5", "nan"}) {
    v = 7;
    EXPECT_FALSE(plat_leeMonto(QString::fromLatin1(malo), &v)) << malo;
    EXPECT_EQ(v, 7);
  }
}

}  // namespace
