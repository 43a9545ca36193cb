#include <gtest/gtest.h>

#include <QLineEdit>

#include "ui/camposTexto.h"
#include "util/utilerias.h"

TEST(Truncamiento, EsDecimalNoBinario) {
  const struct {
    double valor;
    int decimales;
    double esperado;
  } casos[] = {
      {1.15, 2, 1.15},
      {0.29, 2, 0.29},
      {10.999, 2, 10.99},
      {-1.239, 2, -1.23},
      {0.005, 2, 0.0},
      {3 * 32.40, 2, 97.20},  // 97.19999999999999 in binary: noise is forgiven, not cut
      {0.1 + 0.2, 2, 0.30},
      {2.675, 2, 2.67},
      {12.3456, 0, 12.0},
      {12.3456, 3, 12.345},
      // Past 2^23 a fixed number of decimals no longer absorbs the noise.
      {258908 * 32.40, 2, 8388619.20},
      {-258908 * 32.40, 2, -8388619.20},
      {8388608.0, 2, 8388608.0},
      {8388607.99, 2, 8388607.99},
      {8388608.01, 2, 8388608.01},
      {999999999999.99, 2, 999999999999.99},
      {-999999999999.99, 2, -999999999999.99},
      {999999999999.999, 2, 999999999999.99},
      {9999.999 * 999999.99, 2, 9999998900.00},  // the largest line the bounds allow
  };
  for (const auto& c : casos)
    EXPECT_EQ(u_truncaDecimales(c.valor, c.decimales), c.esperado)
        << u_floatToStr(c.valor).toStdString() << " a " << c.decimales;
}

// Quantities with up to three decimals times prices in cents, across every magnitude up to
// the largest line the bounds allow: the truncated double is the exact decimal, cut.
TEST(Truncamiento, ExactoEnTodoElIntervalo) {
  quint64 estado = 12345;
  auto azar = [&](quint64 hasta) {
    estado = estado * 6364136223846793005ULL + 1442695040888963407ULL;
    return (estado >> 17) % hasta;
  };
  int revisados = 0;
  for (quint64 maxCentavos = 10; maxCentavos <= 100000000; maxCentavos *= 10) {
    for (quint64 maxMilesimas = 10; maxMilesimas <= 10000000; maxMilesimas *= 10) {
      for (int i = 0; i < 400; ++i) {
        const qint64 centavos = static_cast<qint64>(azar(maxCentavos));
        const qint64 milesimas = static_cast<qint64>(azar(maxMilesimas));
        const bool negativo = azar(2) == 1;
        const double producto = (milesimas / 1000.0) * (centavos / 100.0);
        // The exact product has five decimals; cut to cents in integers.
        const qint64 exacto = (centavos * milesimas) / 1000;
        const double esperado = static_cast<double>(exacto) / 100.0;
        ASSERT_EQ(u_truncaDecimales(negativo ? -producto : producto, 2),
                  negativo ? -esperado : esperado)
            << milesimas << " milésimas x " << centavos << " centavos";
        ++revisados;
      }
    }
  }
  EXPECT_EQ(revisados, 8 * 7 * 400);
}

TEST(Formatos, RedondeaSobreLaCifraDecimal) {
  const struct {
    double valor;
    const char* esperado;
  } casos[] = {
      {258908 * 32.40, "$ 8,388,619.20"},
      {-258908 * 32.40, "$ -8,388,619.20"},
      {999999999999.99, "$ 999,999,999,999.99"},
      {999999999999.995, "$ 1,000,000,000,000.00"},
  };
  for (const auto& c : casos) EXPECT_EQ(u_formatoMoneda(c.valor).toStdString(), c.esperado);
  // Absurd amounts are written out in full, not wrapped around a 64-bit integer.
  QString enorme = QStringLiteral("$ 100");
  for (int i = 0; i < 102; ++i) enorme += QStringLiteral(",000");
  EXPECT_EQ(u_formatoMoneda(1e308).toStdString(), (enorme + QStringLiteral(".00")).toStdString());
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
