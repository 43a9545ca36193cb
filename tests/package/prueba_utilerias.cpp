#include <gtest/gtest.h>

#include <QLineEdit>

#include "ui/camposTexto.h"
#include "util/utilerias.h"

TEST(Truncamiento, EsDecimalNoBinario) {
  EXPECT_DOUBLE_EQ(u_truncaDecimales(1.15, 2), 1.15);
  EXPECT_DOUBLE_EQ(u_truncaDecimales(0.29, 2), 0.29);
  EXPECT_DOUBLE_EQ(u_truncaDecimales(10.999, 2), 10.99);
  EXPECT_DOUBLE_EQ(u_truncaDecimales(-1.239, 2), -1.23);
  EXPECT_DOUBLE_EQ(u_truncaDecimales(0.005, 2), 0.0);
  // 3 x 32.40 is 97.19999999999999 in binary: the noise is forgiven, not truncated.
  EXPECT_DOUBLE_EQ(u_truncaDecimales(3 * 32.40, 2), 97.20);
  EXPECT_DOUBLE_EQ(u_truncaDecimales(0.1 + 0.2, 2), 0.30);
  EXPECT_DOUBLE_EQ(u_truncaDecimales(2.675, 2), 2.67);
  EXPECT_DOUBLE_EQ(u_truncaDecimales(12.3456, 0), 12.0);
  EXPECT_DOUBLE_EQ(u_truncaDecimales(12.3456, 3), 12.345);
  // Values beyond the scaled-integer range are cut on their decimal text.
  EXPECT_DOUBLE_EQ(u_truncaDecimales(1234567890123.459, 2), 1234567890123.45);
  EXPECT_DOUBLE_EQ(u_truncaDecimales(-98765432109.999, 2), -98765432109.99);
}

TEST(Truncamiento, TextosYAcumulados) {
  EXPECT_EQ(u_truncaMoneda("10.999"), "10.99");
  EXPECT_EQ(u_truncaMoneda(" 97.2 "), "97.2");
  EXPECT_EQ(u_truncaMoneda("abc"), "0");
  EXPECT_EQ(u_truncaMoneda("1500.50"), "1500.5");
  // Ten lines of 0.1 add up to exactly 1.00, not 0.99.
  QList<double> v(10, 0.1);
  EXPECT_DOUBLE_EQ(u_acumulaFloat(2, v, 9), 1.0);
  EXPECT_DOUBLE_EQ(u_acumulaFloat(2, {100.0, -12.0, 16.0, -1.5}, 3), 102.5);
  EXPECT_DOUBLE_EQ(u_acumulaFloat(2, {100.0, -12.0, 16.0, -1.5}, 1), 88.0);
}

TEST(Formatos, MonedaYNumero) {
  EXPECT_EQ(u_formatoMoneda(1234.5), "$ 1,234.50");
  EXPECT_EQ(u_formatoMoneda(12), "$ 12.00");
  EXPECT_EQ(u_formatoMoneda(0), "$ 0.00");
  EXPECT_EQ(u_formatoMoneda(1234567.891), "$ 1,234,567.89");
  EXPECT_EQ(u_formatoMoneda(-1234.5), "$ -1,234.50");
  EXPECT_EQ(u_formatoMoneda(-0.001), "$ 0.00");
  EXPECT_EQ(u_formatoMoneda(1.005), "$ 1.01");  // rounds, after forgiving binary noise
  EXPECT_EQ(u_formatoMoneda(999.999), "$ 1,000.00");
  EXPECT_EQ(u_formatoMoneda(98765432109.5), "$ 98,765,432,109.50");
  EXPECT_EQ(u_formatoNumero(100), "100.00");
  EXPECT_EQ(u_formatoMonedaMXN(12), "$ 12.00 MXN");
}

TEST(Formatos, TextoDeFlotanteEsElMasCorto) {
  EXPECT_EQ(u_floatToStr(3 * 32.40), "97.19999999999999");
  EXPECT_EQ(u_floatToStr(12.0), "12");
  EXPECT_EQ(u_floatToStr(0.1), "0.1");
  EXPECT_EQ(u_floatToStr(-0.0), "0");
  EXPECT_EQ(u_floatToStr(1e20), "100000000000000000000");
  EXPECT_EQ(u_strToFloat(u_floatToStr(3 * 32.40)), 3 * 32.40);
}

TEST(Entrada, NumerosYMontos) {
  EXPECT_TRUE(esNumerico("12"));
  EXPECT_TRUE(esNumerico("-3.5"));
  EXPECT_TRUE(esNumerico(".5"));
  EXPECT_FALSE(esNumerico(""));
  EXPECT_FALSE(esNumerico("."));
  EXPECT_FALSE(esNumerico("1.2.3"));
  EXPECT_FALSE(esNumerico(" 12"));
  EXPECT_FALSE(esNumerico("12a"));
  EXPECT_DOUBLE_EQ(u_parseMonto("$ 1,234.50"), 1234.5);
  EXPECT_DOUBLE_EQ(u_parseMonto("  100 "), 100);
  EXPECT_DOUBLE_EQ(u_parseMonto("cien"), 0);
  EXPECT_EQ(u_split("0.16||!0.08!||", "|"), QStringList({"0.16", "", "!0.08!", "", ""}));
  EXPECT_EQ(u_normalizaBusqueda("Café Ñandú ÁRBOL"), "cafe nandu arbol");
}

TEST(Entrada, FiltrosDeTeclas) {
  EXPECT_TRUE(u_soloNumeros('7'));
  EXPECT_FALSE(u_soloNumeros('a'));
  EXPECT_TRUE(u_soloNumeros(QChar(8)));
  EXPECT_TRUE(u_soloDecimales("12", '.'));
  EXPECT_FALSE(u_soloDecimales("12.5", '.'));
  EXPECT_FALSE(u_maxLength(3, "abc", 'd'));
  EXPECT_TRUE(u_maxLength(3, "abc", QChar(8)));

  QLineEdit campo;
  for (QChar c : QString("12.345")) textoMascaraMoneda(&campo, 0, c, true, 11);
  EXPECT_EQ(campo.text(), "12.34");  // no third decimal
  textoMascaraMoneda(&campo, 0, '.', true, 11);
  EXPECT_EQ(campo.text(), "12.34");
  textoMascaraMoneda(&campo, 8, QChar(), false, 11);
  EXPECT_EQ(campo.text(), "12.3");
  campo.clear();
  textoMascaraMoneda(&campo, 0, '.', true, 11);
  EXPECT_EQ(campo.text(), "0.");
  campo.setText("1234567890");
  textoMascaraMoneda(&campo, 0, '1', true, 10);
  EXPECT_EQ(campo.text(), "1234567890");
  campo.clear();
  textoMascaraMoneda(&campo, 0, 'A', false, 50);
  EXPECT_EQ(campo.text(), "A");
}

TEST(Fechas, LoMostradoSeLeeDeVuelta) {
  const QDateTime d(QDate(2026, 12, 5), QTime(9, 7, 3));
  EXPECT_EQ(u_fechaHoraTexto(d), "05/12/2026 09:07:03");
  EXPECT_EQ(u_leeFechaHora(u_fechaHoraTexto(d)), d);
  EXPECT_EQ(u_leeFechaHora(u_fechaHoraBD(d)), d);
  EXPECT_FALSE(u_leeFechaHora("mañana").isValid());
  EXPECT_EQ(u_fechaHoraMostrable("2026-12-05 09:07:03"), "05/12/2026 09:07:03");
  EXPECT_EQ(u_fechaHoraMostrable("2026-12-05T09:07:03.250"), "05/12/2026 09:07:03");
  // Only whole stored date-times change: keys, amounts and bad dates stay as they are.
  for (const QString t : {"2026-13-05 09:07:03", "2026-12-05", "TK-2026-12-05", "1234.5", ""})
    EXPECT_EQ(u_fechaHoraMostrable(t), t);
}
