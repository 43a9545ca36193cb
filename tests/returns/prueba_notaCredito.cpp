// The credit note's request built from the return grid: concepts, tax records and totals to
// the cent, truncated where the rules say so.
#include <gtest/gtest.h>

#include "platform/textoQt.h"
#include "returns/reglas/documentoDevolucion.h"
#include "returns/reglas/notaCreditoDevolucion.h"
#include "support/FilasPrueba.h"

namespace {

struct Renglon {
  const char* devolucion;
  const char* precioLista;
  const char* precioVenta;
  const char* descuento;
  const char* ivaTbase;
  const char* iepsTbase = "";
  const char* ivaRbase = "";
  const char* isrRbase = "";
  const char* ivaT = "1";  // the sold line's VAT (only its sign matters to the concept)
  const char* iepsT = "0";
};

struct Caso {
  const char* nombre;
  std::vector<Renglon> renglones;
  // Per concept "quantity|gross|discount|IEPS|VAT|subtotal" (the subtotal column stays 0).
  QStringList conceptos;
  const char* totales;  // "subtotal|discount|total"
};

class NotaCredito : public ::testing::TestWithParam<Caso> {};

TEST_P(NotaCredito, ConceptosYTotales) {
  const Caso& caso = GetParam();
  TGridControl g;
  TdocumentoDevolucion::declaraColumnas(g);
  for (const Renglon& r : caso.renglones)
    g.agregarRegistro({{"Devolución", r.devolucion},
                       {"_precioLista", r.precioLista},
                       {"_precioVenta", r.precioVenta},
                       {"_descuento", r.descuento},
                       {"_ivaTbase", r.ivaTbase},
                       {"_iepsTbase", r.iepsTbase},
                       {"_ivaRbase", r.ivaRbase},
                       {"_isrRbase", r.isrRbase},
                       {"_ivaT", r.ivaT},
                       {"_iepsT", r.iepsT},
                       {"Descripción", "Artículo"},
                       {"Clave", "P1"}});
  TventaDevolucion venta;
  venta.uuidFactura = "AAAAAAAA-0000-4000-8000-000000000001";
  venta.receptorID = 7;
  venta.receptorRfc = "XOJI740919U48";
  venta.receptorNombre = "INGRID XODAR JIMENEZ";
  TNegocio negocio;
  negocio.nombre = "Abarrotes La Esperanza";
  negocio.datosFiscales.regimenFiscal = "601";
  negocio.datosFiscales.direccion.codigoPostal = "06600";

  const datosFacturar d = reuneDatosFacturaNotaDeCredito(g, venta, negocio);
  ASSERT_EQ(d.numFilas, static_cast<int>(caso.conceptos.size()));
  ASSERT_EQ(d.impuestos.size(), d.numFilas);
  EXPECT_EQ(d.numColumnas, 13);
  EXPECT_TRUE(filasComo(d.conceptos,
                        {"_cantidad", "_importe", "_descuento", "_iepsT", "_ivaT", "_subtotal"},
                        caso.conceptos));
  EXPECT_EQ(QStringList({d.subtotal, d.descuento, d.total}).join('|'), caso.totales);
  // The fixed header of every credit note.
  EXPECT_EQ(d.relacionados, QStringList{venta.uuidFactura});
  EXPECT_TRUE(d.ticketsReferencia.isEmpty());
  EXPECT_EQ(QStringList({d.tipoDocumento, d.formaPago, d.metodoPago, d.moneda, d.usoCFDI,
                         d.lugarExpedicion, d.emisorNombre, d.emisorRegimen, d.receptorRfc}),
            QStringList({"CRE", "01", "PUE", "MXN", "G02", "06600", "Abarrotes La Esperanza", "601",
                         "XOJI740919U48"}));
  EXPECT_EQ(d.receptorID, 7);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, NotaCredito,
    ::testing::Values(
        Caso{"DosDeTresConIva", {{"2", "10", "10", "0", "0.16"}}, {"2|20|0|0|3.2|0"}, "20|0|23.2"},
        // The sold line's whole discount is taken, whatever part comes back.
        Caso{"DescuentoEntero",
             {{"1", "10", "10", "1.5", "0.16"}},
             {"1|10|1.5|0|1.36|0"},
             "10|1.5|9.86"},
        // 3 × 32.40 is 97.19999999999999 in binary and must stay 97.20.
        Caso{"RuidoBinario",
             {{"3", "32.4", "32.4", "0", "0.16"}},
             {"3|97.2|0|0|15.55|0"},
             "97.2|0|112.75"},
        // The IEPS rate is cut to two decimals before use; VAT goes on the base plus IEPS.
        Caso{"IepsTruncado",
             {{"1", "100", "100", "0", "0.16", "0.265", "", "", "1", "26.5"}},
             {"1|100|0|26|20.16|0"},
             "100|0|146.16"},
        // Withholdings are neither truncated nor rounded, and go once per returned piece.
        Caso{"Retenciones",
             {{"2", "50", "50", "0", "0.16", "", "0.106667", "0.1"}},
             {"2|100|0|0|16|0"},
             "100|0|74.6666"},
        Caso{"SinCapturaNoHayConcepto",
             {{"", "10", "10", "0", "0.16"},
              {"0", "10", "10", "0", "0.16"},
              {"0.5", "36", "36", "0", "abc"}},
             {"0.5|18|0|0|0|0"},
             "18|0|18"}),
    [](const ::testing::TestParamInfo<Caso>& i) { return std::string(i.param.nombre); });

TEST(NotaCreditoImpuestos, RenglonConIepsEIva) {
  TGridControl g;
  TdocumentoDevolucion::declaraColumnas(g);
  g.agregarRegistro({{"Devolución", "2"},
                     {"_precioVenta", "10"},
                     {"_ivaT", "4.8"},
                     {"_iepsT", "3"},
                     {"_ivaTbase", "0.16"},
                     {"_iepsTbase", "0.08"}});
  g.agregarRegistro({{"Devolución", "1"}, {"_precioVenta", "10"}, {"_ivaT", "0"}});
  const TticketImpuestos t = getImpuestoRenglon(g, 0);
  const Timpuesto& ieps = t.impuestos[0];
  EXPECT_EQ(QStringList({ieps.clave, ieps.nombre, ieps.tipo, ieps.tipoFactor, ieps.tasa,
                         ieps.importe, ieps.base}),
            QStringList({"003", "IEPS Trasladado", "Traslado", "Tasa", "0.08", "3", "10"}));
  // VAT base: sale price × returned quantity + the sold line's IEPS.
  const Timpuesto& iva = t.impuestos[1];
  EXPECT_EQ(QStringList({iva.clave, iva.nombre, iva.tasa, iva.importe, iva.base}),
            QStringList({"002", "IVA Trasladado", "0.16", "3.68", "23"}));
  for (int i = 2; i < 5; ++i) EXPECT_TRUE(t.impuestos[i].vacio());
  const TticketImpuestos sin = getImpuestoRenglon(g, 1);
  for (const Timpuesto& i : sin.impuestos) EXPECT_TRUE(i.vacio());
}

}  // namespace
