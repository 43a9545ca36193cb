#include <gtest/gtest.h>

#include "checkout/reglas/cobro.h"

namespace {

TEST(Cobro, MontosCapturados) {
  EXPECT_DOUBLE_EQ(TCobro::monto(" $ 1,234.50 "), 1234.5);
  EXPECT_DOUBLE_EQ(TCobro::monto("abc"), 0);
  EXPECT_DOUBLE_EQ(TCobro::monto(""), 0);
  EXPECT_DOUBLE_EQ(TCobro::monto("1 000"), 1000);
  EXPECT_DOUBLE_EQ(TCobro::monto("1 000", false), 0);  // the cash button keeps blanks
}

TEST(Cobro, ComparacionTruncadaYCambio) {
  TCobro c;
  c.inicia(100.005, 86.21, 0, 13.79);
  c.efectivo = "100";
  c.calculaOperacion();
  EXPECT_TRUE(c.uPuedeVender);  // 100.00 against 100.00 once truncated
  EXPECT_DOUBLE_EQ(c.uDevuelto, 0);
  EXPECT_DOUBLE_EQ(c.uPagado, 100);

  c.inicia(97.2, 0, 0, 0);
  c.efectivo = "50";
  c.filas[0].monto = "47.19";
  c.calculaOperacion();
  EXPECT_FALSE(c.uPuedeVender);
  EXPECT_DOUBLE_EQ(c.uDevuelto, 0);
  c.filas[0].monto = "1,000.00";
  c.calculaOperacion();
  EXPECT_TRUE(c.uPuedeVender);
  EXPECT_DOUBLE_EQ(c.uRecibidoAcumulado, 1050);
  EXPECT_DOUBLE_EQ(c.uDevuelto, 952.8);
  c.filas[0].monto = "no";
  c.calculaOperacion();
  EXPECT_DOUBLE_EQ(c.uRecibidoAcumulado, 50);  // non-numeric counts 0
  EXPECT_DOUBLE_EQ(c.uPagado, 1050);           // paid keeps the last covering amount
}

TEST(Cobro, RestantesYAutocompletado) {
  TCobro c;
  c.inicia(1234.5, 0, 0, 0);
  c.filas[1].monto = "200";
  EXPECT_EQ(c.restanteEfectivo(), "1,034.50");
  c.efectivo = "34.5";
  EXPECT_EQ(c.autoCompletaPago(0), "1,000.00");
  c.efectivo = "2000";
  EXPECT_EQ(c.autoCompletaPago(0), "-965.50");
  c.filas[2].monto = "1,500";
  EXPECT_EQ(c.restanteEfectivo(), "-465.50");  // negative results are written as they are
}

TEST(Cobro, ValidacionYLineasDePago) {
  TCobro c;
  c.inicia(100, 0, 0, 0);
  QString m;
  EXPECT_FALSE(c.validaVenta(&m));  // amounts do not cover: refused silently
  EXPECT_TRUE(m.isEmpty());
  c.efectivo = "40";
  c.aplicaMetodo(0, "Tarjeta de crédito", 4);
  c.filas[0].monto = "60";
  c.filas[0].referencia = "   ";
  c.calculaOperacion();
  EXPECT_FALSE(c.validaVenta(&m));
  EXPECT_EQ(m, "Capture una referencia para todos las formas de pago");
  c.filas[0].referencia = "A1";
  c.filas[3].monto = "0";  // a row never given a method but holding text
  c.filas[3].referencia = "R";
  c.calculaOperacion();
  EXPECT_TRUE(c.validaVenta(&m));
  const TFormasPago f = c.formasPago("Efectivo");
  EXPECT_EQ(f[0].nombre, "Efectivo");
  EXPECT_EQ(f[0].valor, "40");
  EXPECT_EQ(f[0].id, 0);
  EXPECT_EQ(f[1].id, 4);
  EXPECT_EQ(f[1].nombre, "Tarjeta de crédito");
  EXPECT_EQ(f[1].referencia, "A1");
  EXPECT_EQ(f[4].nombre, "Otro");
  EXPECT_EQ(f[4].id, 0);
  EXPECT_EQ(f[4].valor, "0");
  EXPECT_EQ(f[6].valor, "");
  EXPECT_TRUE(f[6].servicioExterno.isNull());
  c.reiniciaFila(0);
  EXPECT_EQ(c.filas[0].metodo, "Otro");
  EXPECT_FALSE(c.filas[0].habilitada);
}

}  // namespace
