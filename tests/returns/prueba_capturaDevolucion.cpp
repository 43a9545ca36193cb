// One line's capture: what the capture dialog and the return document refuse, and the serial
// numbers' text format.
#include <gtest/gtest.h>

#include <limits>

#include "devoluciones/capturaDevolucion.h"
#include "platform/textoQt.h"

namespace {

const QVector<TnoSerieDevolver> kVendidos = {{11, 21, "A1"}, {12, 22, "B2"}};

struct Caso {
  const char* nombre;
  double cantidad, devuelto, devolucion;
  bool fraccion;
  QVector<TnoSerieDevolver> vendidos;
  QVector<TnoSerieDevolver> elegidos;
  const char* error;  // empty: accepted
};

class CapturaDevolucion : public ::testing::TestWithParam<Caso> {};

TEST_P(CapturaDevolucion, Valida) {
  const Caso& c = GetParam();
  TcommCapturaDevolucion captura;
  captura.cantidad = c.cantidad;
  captura.devuelto = c.devuelto;
  captura.devolucion = c.devolucion;
  captura.fraccion = c.fraccion;
  captura.noSerieDevolver = u_escribeNoSerieDevolver(c.elegidos);
  EXPECT_EQ(u_validaCapturaDevolucion(captura, c.vendidos), QString::fromUtf8(c.error));
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// One case a row: {name, sold, returned before, to return, fraction, sold serial numbers,
// chosen ones, error}.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Casos, CapturaDevolucion,
    ::testing::Values(
        Caso{"TodoLoQueQueda", 5, 2, 3, false, {}, {}, ""},
        Caso{"Cero", 5, 2, 0, false, {}, {}, ""},
        Caso{"MasDeLoQueQueda", 5, 2, 4, false, {}, {},
             "La cantidad a devolver excede lo disponible: quedan 3."},
        Caso{"NadaQueDevolver", 5, 5, 1, false, {}, {}, "No hay más artículos por devolver."},
        Caso{"Negativa", 5, 0, -1, false, {}, {}, "La cantidad a devolver no puede ser negativa."},
        Caso{"NoEsNumero", 5, 0, kNaN, false, {}, {},
             "La cantidad a devolver no puede ser negativa."},
        Caso{"FraccionPorPieza", 5, 0, 1.5, false, {}, {},
             "Este producto se devuelve por pieza: capture una cantidad entera."},
        // Bulk goods: fractions pass and are compared without binary noise (2.5 - 0.3 - 0.2).
        Caso{"FraccionAGranel", 2.5, 0.3, 2.2, true, {}, {}, ""},
        Caso{"FraccionExcede", 2.5, 0.3, 2.21, true, {}, {},
             "La cantidad a devolver excede lo disponible: quedan 2.2."},
        Caso{"SeriesDeLaVenta", 2, 0, 2, false, kVendidos, kVendidos, ""},
        Caso{"SerieAjena", 2, 0, 1, false, kVendidos, {{13, 23, "C3"}},
             "El número de serie C3 no se vendió en este ticket."},
        // A known number with another link id is not the unit this line holds.
        Caso{"EnlaceAjeno", 2, 0, 1, false, kVendidos, {{11, 99, "A1"}},
             "El número de serie A1 no se vendió en este ticket."},
        Caso{"SerieRepetida", 2, 0, 2, false, kVendidos, {{11, 21, "A1"}, {11, 21, "A1"}},
             "El número de serie A1 se eligió dos veces."},
        Caso{"MasSeriesQuePiezas", 2, 0, 1, false, kVendidos, kVendidos,
             "Eligió más números de serie que piezas a devolver."},
        Caso{"FaltanSeries", 2, 0, 2, false, kVendidos, {{11, 21, "A1"}},
             "Elija el número de serie de cada pieza que regresa: faltan 1."},
        // Three sold, two with serial numbers: one piece may come back without one.
        Caso{"PiezaSinSerie", 3, 0, 2, false, kVendidos, {{12, 22, "B2"}}, ""},
        Caso{"PiezasSinSerieAgotadas", 3, 0, 3, false, kVendidos, {{12, 22, "B2"}},
             "Elija el número de serie de cada pieza que regresa: faltan 1."}),
    [](const ::testing::TestParamInfo<Caso>& i) { return std::string(i.param.nombre); });
// clang-format on

TEST(NoSerieDevolver, FormatoDeIdaYVuelta) {
  const QString texto = "|11|21|A1/|12|22|B2";
  EXPECT_EQ(u_escribeNoSerieDevolver(kVendidos), texto);
  EXPECT_EQ(u_leeNoSerieDevolver(texto), kVendidos);
  // Field 0 is not used; short entries are ignored.
  EXPECT_EQ(u_leeNoSerieDevolver("x|11|21|A1/|5|6/"), (QVector<TnoSerieDevolver>{{11, 21, "A1"}}));
  EXPECT_TRUE(u_leeNoSerieDevolver("").isEmpty());
}

TEST(NoSerieDevolver, CantidadEscrita) {
  double q = -7;
  for (const char* bueno : {"2", " 0.5 ", ".5", "10"})
    EXPECT_TRUE(u_leeCantidadDevolucion(bueno, &q)) << bueno;
  for (const char* malo : {"", "abc", "1,5", "2 piezas", "1e3", "--1"})
    EXPECT_FALSE(u_leeCantidadDevolucion(malo, &q)) << malo;
  EXPECT_TRUE(u_leeCantidadDevolucion("-1", &q));
  EXPECT_EQ(q, -1);
}

}  // namespace
