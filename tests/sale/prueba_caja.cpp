#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <functional>

#include "checkout/TFRM_cerrarPuntoVenta.h"
#include "db/TmiddleTier.h"
#include "sale/TFRM_caja.h"
#include "sale/TFRM_cajaSeleccionarKit.h"
#include "sale/caja_delegado.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/ConsultaPrueba.h"
#include "support/RespondedorPrueba.h"

namespace {

class Caja : public ::testing::Test {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    ASSERT_TRUE(db);
    cat = std::make_unique<CatalogoPrueba>(db->conexion());
    cat->negocioBasico();
    cat->producto(1, "Café de olla 250 g", "7501000000011", 100);
    cat->producto(2, "Coca Cola 600 ml", "7501000000028", 18, "0.16|0|0.08|0|0");
    cat->producto(3, "Coca Cola light 600 ml", "7501000000035", 18);
    cat->kit(7, "Kit desayuno", 150, {{1, "1"}, {2, "2"}});
    cat->cajero(1, "Ana");
    cat->cajaAbierta(1, "ESTACION-PRUEBA", 1, 500);
    cat->credenciales();
    db->llenaLocalSYS(1);
  }
  void TearDown() override {
    delete caja;
    db.reset();
  }
  TFRM_caja* abre() {
    caja = new TFRM_caja();
    caja->resize(1280, 800);
    EXPECT_TRUE(caja->init());
    // The offscreen screen is smaller than a register's: work at the station's size.
    caja->showNormal();
    caja->resize(1280, 800);
    QApplication::processEvents();
    return caja;
  }
  QString celda(const char* col, int fila) {
    return caja->venta().lineas().getCelda(QString::fromUtf8(col), fila);
  }

  std::unique_ptr<BaseDatosPrueba> db;
  std::unique_ptr<CatalogoPrueba> cat;
  RespondedorPrueba respondedor;
  TFRM_caja* caja = nullptr;
};

TEST_F(Caja, ArranqueRevisaListaYEstacion) {
  abre();
  EXPECT_TRUE(caja->isVisible());
  EXPECT_EQ(caja->texto("Caja"), "Caja 1");
  EXPECT_EQ(caja->texto("Cajero"), "Ana Pérez López");
  EXPECT_EQ(caja->venta().uAlmacen, 1);
  EXPECT_TRUE(caja->uServicioTickets);
  EXPECT_EQ(caja->texto("Total"), "$ 0.00 MXN");
  EXPECT_EQ(caja->texto("Descuento"), "descuento $ 00.00 MXN");
  EXPECT_EQ(caja->texto("Impuestos"), "impuestos $ 00.00 MXN");
  delete caja;
  caja = nullptr;

  // Another station: no session bound to it.
  localSYS.estacion = "OTRA";
  caja = new TFRM_caja();
  EXPECT_FALSE(caja->init());
  EXPECT_FALSE(caja->isVisible());
  ASSERT_EQ(respondedor.mensajes.size(), 1u);
  EXPECT_TRUE(
      respondedor.mensajes[0].texto.startsWith("La estación de trabajo actual, no tiene una caja"));
  EXPECT_EQ(respondedor.mensajes[0].tipo, mtCustom);
  delete caja;

  // Without a default price list it does not open either.
  localSYS.estacion = "ESTACION-PRUEBA";
  sqlEjecuta(db->conexion(), "UPDATE ventasListaPrecios SET predeterminada = 0");
  caja = new TFRM_caja();
  EXPECT_FALSE(caja->init());
  ASSERT_EQ(respondedor.textos().size(), 2);
  EXPECT_EQ(respondedor.textos()[1],
            "No se encontro la lista de precios predeterminada. \n\rPuede seleccionar una lista "
            "predetminada en: Ventas\\Gestión\\Lista de Precios General'.");
  delete caja;
  caja = nullptr;

  // Incomplete ticket data (a four-digit postal code) turns the upload off, not the sale.
  sqlEjecuta(db->conexion(), "UPDATE ventasListaPrecios SET predeterminada = 1");
  sqlEjecuta(db->conexion(), "UPDATE Negocio SET codigoPostal = '0660'");
  db->llenaLocalSYS(1);
  abre();
  EXPECT_FALSE(caja->uServicioTickets);
}

TEST_F(Caja, LecturaAlTreceavoCaracterSinEnter) {
  abre();
  caja->teclea("Código de barras", "750100000001");
  EXPECT_EQ(caja->venta().lineas().getRowCount(), 0);  // 12 characters: nothing yet
  caja->teclea("Código de barras", "1");
  ASSERT_EQ(caja->venta().lineas().getRowCount(), 1);
  EXPECT_EQ(caja->texto("Código de barras"), "");
  // Blanks around the code are trimmed before counting and looking up.
  caja->teclea("Código de barras", "  7501000000011 ");
  EXPECT_EQ(celda("Cantidad", 0), "2");
  // An unknown code changes nothing and says nothing.
  caja->teclea("Código de barras", "9999999999999");
  EXPECT_EQ(caja->venta().lineas().getRowCount(), 1);
  EXPECT_TRUE(respondedor.mensajes.empty());
  EXPECT_EQ(caja->texto("Total"), "TOTAL $ 232.00 MXN");
}

TEST_F(Caja, BusquedaPorNombreConTiles) {
  abre();
  caja->teclea("Buscar por nombre", "co");
  caja->pulsaEnter("Buscar por nombre");
  EXPECT_FALSE(caja->enResultados());  // fewer than 3 characters
  caja->escribe("Buscar por nombre", "COCA");
  caja->pulsaEnter("Buscar por nombre");
  ASSERT_TRUE(caja->enResultados());
  ASSERT_EQ(caja->resultados(), QStringList({"Coca Cola 600 ml", "Coca Cola light 600 ml"}));
  EXPECT_EQ(caja->geometriaResultado(1).x(), 10 + 220);
  EXPECT_EQ(caja->texto("Buscar por nombre"), "");
  caja->pulsa("Resultado 1");
  EXPECT_FALSE(caja->enResultados());
  EXPECT_TRUE(caja->resultados().isEmpty());
  ASSERT_EQ(caja->venta().lineas().getRowCount(), 1);
  EXPECT_EQ(celda("_Producto_id", 0), "3");

  caja->escribe("Buscar por nombre", "zzz");
  caja->buscarPorNombre();
  EXPECT_TRUE(caja->visible("Sin resultados"));
  EXPECT_TRUE(caja->visible("Cerrar Busqueda"));
  caja->pulsa("Cerrar Busqueda");
  EXPECT_FALSE(caja->enResultados());
  EXPECT_FALSE(caja->visible("Sin resultados"));
}

// Tiles fill each row of the results area before wrapping, and flow again when the register
// changes size.
TEST_F(Caja, LosResultadosLlenanCadaRenglon) {
  for (int i = 0; i < 9; ++i)
    cat->producto(20 + i, QString("Galletas surtidas %1").arg(i),
                  QString("75020000000%1").arg(10 + i), 25);
  abre();
  const auto llenos = [this](int n) {
    for (int i = 1; i < n; ++i) {
      const QRect antes = caja->geometriaResultado(i - 1), r = caja->geometriaResultado(i);
      EXPECT_LE(r.right(), caja->anchoResultados()) << i;
      // A tile starts a new row only when it would not fit beside the previous one.
      if (r.y() > antes.y())
        EXPECT_GT(antes.right() + 20 + r.width(), caja->anchoResultados()) << i;
      else
        EXPECT_EQ(r.y(), antes.y()) << i;
    }
  };
  caja->escribe("Buscar por nombre", "galletas");
  caja->pulsaEnter("Buscar por nombre");
  ASSERT_EQ(caja->resultados().size(), 9);
  EXPECT_GE(caja->anchoResultados(), 3 * 220);
  llenos(9);
  for (const QSize tam : {QSize(1024, 768), QSize(1366, 768)}) {
    caja->resize(tam);
    QApplication::processEvents();
    llenos(9);
  }
}

// Tiles are filled again by every search: none of the last search's shows or answers a touch,
// and each one adds the product it now shows.
TEST_F(Caja, OtraBusquedaNoDejaTilesDeLaAnterior) {
  abre();
  caja->escribe("Buscar por nombre", "COCA");
  caja->pulsaEnter("Buscar por nombre");
  ASSERT_EQ(caja->resultados().size(), 2);
  caja->escribe("Buscar por nombre", "café");
  caja->pulsaEnter("Buscar por nombre");
  const QStringList nombres = caja->resultados();
  ASSERT_EQ(nombres.size(), 1);
  EXPECT_FALSE(nombres[0].contains("Coca"));
  EXPECT_TRUE(caja->visible("Resultado 0"));
  EXPECT_FALSE(caja->visible("Resultado 1"));
  caja->pulsa("Resultado 1");
  EXPECT_TRUE(caja->enResultados());
  EXPECT_EQ(caja->venta().lineas().getRowCount(), 0);
  caja->pulsa("Resultado 0");
  ASSERT_EQ(caja->venta().lineas().getRowCount(), 1);
  EXPECT_EQ(celda("Descripción", 0), nombres[0]);
  EXPECT_FALSE(caja->visible("Resultado 0"));
}

// The register repaints only what changes: the names and pictures of tiles a search fills
// again, the results page as it replaces the sale's lines (with only the tiles in view shown),
// the tiles a scroll brings into view. At every step what the station shows must be what
// drawing the whole register anew shows, and every tile in view must be shown.
TEST_F(Caja, LoQueMuestraLaCajaEsComoRedibujada) {
  for (int i = 0; i < 16; ++i) {
    cat->producto(20 + i, QString("Galletas surtidas %1").arg(i),
                  QString("75020000000%1").arg(10 + i), 25);
    cat->producto(40 + i, QString("Galletas saladas con nombre largo de dos renglones %1").arg(i),
                  QString("75030000000%1").arg(10 + i), 25);
  }
  abre();
  const QRect lectura = caja->controlNombrado("Código de barras")->geometry();
  auto* barra = qobject_cast<QScrollBar*>(caja->controlNombrado("Barra de resultados"));
  ASSERT_NE(barra, nullptr);
  const std::vector<std::pair<const char*, std::function<void()>>> pasos = {
      {"surtidas desde la venta", [&] { caja->escribe("Buscar por nombre", "surtidas"); }},
      {"saladas en los mismos tiles", [&] { caja->escribe("Buscar por nombre", "saladas"); }},
      {"surtidas otra vez", [&] { caja->escribe("Buscar por nombre", "surtidas"); }},
      {"un tile elegido", [&] { caja->pulsa("Resultado 0"); }},
      {"galletas desde la venta", [&] { caja->escribe("Buscar por nombre", "galletas"); }},
      {"una página abajo", [&] { caja->pulsa("Barra de resultados"); }},
      {"saladas tras desplazar", [&] { caja->escribe("Buscar por nombre", "saladas"); }},
  };
  int desplazada = 0;
  for (const auto& [paso, accion] : pasos) {
    accion();
    if (!caja->texto("Buscar por nombre").isEmpty()) caja->pulsaEnter("Buscar por nombre");
    QApplication::processEvents();
    QImage visto = caja->screen()->grabWindow(caja->winId()).toImage();
    QImage redibujado = caja->grab().toImage();
    ASSERT_EQ(visto.size(), redibujado.size());
    for (QImage* i : {&visto, &redibujado}) {  // less the reading field, whose cursor blinks
      *i = i->convertToFormat(QImage::Format_RGB32);
      for (int y = lectura.top(); y <= lectura.bottom(); ++y)
        for (int x = lectura.left(); x <= lectura.right(); ++x) i->setPixel(x, y, 0);
    }
    EXPECT_TRUE(visto == redibujado) << paso;
    if (!caja->enResultados()) continue;
    desplazada = std::max(desplazada, barra->value());
    const QRect vista(0, barra->value(), caja->anchoResultados(), barra->pageStep());
    for (int i = 0; i < caja->resultados().size(); ++i)
      EXPECT_EQ(caja->visible(QString("Resultado %1").arg(i)),
                caja->geometriaResultado(i).intersects(vista))
          << paso << " " << i;
  }
  EXPECT_GT(desplazada, 0);      // the page down did scroll
  EXPECT_EQ(barra->value(), 0);  // and a new search shows its first results
}

TEST_F(Caja, TecladoEnPantallaEscribeEnLaBusqueda) {
  abre();
  caja->pulsa("Buscar por nombre");
  ASSERT_TRUE(caja->visible("Teclado"));
  for (const char* t : {"C", "A", "F", "E"}) caja->pulsaTecla(t);
  caja->pulsaTecla("back");
  caja->pulsaTecla("É");
  EXPECT_EQ(caja->texto("Buscar por nombre"), "café");
  caja->pulsaTecla("enter");
  EXPECT_FALSE(caja->visible("Teclado"));
  ASSERT_EQ(caja->resultados().size(), 1);
}

TEST_F(Caja, SeleccionCantidadesYBorrado) {
  abre();
  caja->agregaKit(7);
  caja->teclea("Código de barras", "7501000000011");
  ASSERT_EQ(caja->venta().lineas().getRowCount(), 4);
  // A click on a component only clears the selection, even on its delete column.
  caja->GRD_mainMouseUp(1, 0);
  EXPECT_EQ(caja->venta().uFilaSeleccionada, -1);
  EXPECT_TRUE(respondedor.preguntas.isEmpty());
  caja->Image1Click();
  EXPECT_EQ(celda("Cantidad", 3), "1");

  caja->GRD_mainMouseUp(3, 10);
  EXPECT_EQ(caja->venta().uFilaSeleccionada, 3);
  EXPECT_EQ(caja->texto("Producto seleccionado"), "Café de olla 250 g");
  caja->Image1Click();
  caja->Image1Click();
  EXPECT_EQ(celda("Cantidad", 3), "3");
  EXPECT_EQ(caja->texto("Cantidad"), "3");
  caja->Image2Click();
  caja->Image2Click();
  caja->Image2Click();
  EXPECT_EQ(celda("Cantidad", 3), "1");
  caja->escribe("Cantidad", "");
  caja->teclea("Cantidad", "5a");  // letters never reach the field
  EXPECT_EQ(caja->texto("Cantidad"), "5");
  caja->pulsaEnter("Cantidad");
  EXPECT_EQ(celda("Cantidad", 3), "5");
  caja->escribe("Cantidad", "0");
  caja->cambiaCantidad();
  EXPECT_EQ(celda("Cantidad", 3), "1");
  caja->escribe("Cantidad", "");
  caja->cambiaCantidad();
  EXPECT_EQ(celda("Cantidad", 3), "1");
  // Ten digits fit the field but not a line: the cashier is told, the line keeps its quantity.
  caja->escribe("Cantidad", "9999999999");
  caja->pulsaEnter("Cantidad");
  EXPECT_EQ(celda("Cantidad", 3), "1");
  EXPECT_EQ(caja->texto("Cantidad"), "1");
  ASSERT_FALSE(respondedor.textos().isEmpty());
  EXPECT_EQ(respondedor.textos().last(), "La cantidad no puede pasar de 9,999.999.");

  // Deleting the kit header asks, and Cancel keeps everything.
  respondedor.respuestas = {false};
  caja->GRD_mainMouseUp(0, 0);
  EXPECT_EQ(caja->venta().lineas().getRowCount(), 4);
  caja->GRD_mainMouseUp(0, 0);
  EXPECT_EQ(respondedor.preguntas, QStringList({"¿Eliminar producto?", "¿Eliminar producto?"}));
  ASSERT_EQ(caja->venta().lineas().getRowCount(), 1);
  // The line now at the deleted position becomes the selection.
  EXPECT_EQ(caja->venta().uFilaSeleccionada, 0);
  EXPECT_EQ(caja->texto("Cantidad"), "1");
  caja->BTN_eliminarClick();
  EXPECT_EQ(caja->venta().lineas().getRowCount(), 0);
  EXPECT_EQ(caja->venta().uFilaSeleccionada, -1);
  EXPECT_EQ(caja->texto("Total"), "TOTAL $ 0.00 MXN");
  caja->BTN_eliminarClick();  // nothing designated: no question
  EXPECT_EQ(respondedor.preguntas.size(), 3);
}

TEST_F(Caja, MonitorDePreciosYPaneles) {
  cat->escalaProducto(1, 5, 10);
  abre();
  caja->teclea("Código de barras", "7501000000011");
  caja->GRD_mainMouseUp(0, 31, QPoint(600, 400));
  ASSERT_TRUE(caja->visible("Precios por volumen"));
  EXPECT_EQ(TMonitorDelegado::textoCelda(caja->venta().monitor(), 4, 1), "$ 104.40");
  caja->pulsa("Código de barras");
  EXPECT_FALSE(caja->visible("Precios por volumen"));
}

TEST_F(Caja, BuscarKitYCancelar) {
  abre();
  respondedor.manejadores.push_back([](QDialog* d) {
    auto* k = qobject_cast<TFRM_cajaSeleccionarKit*>(d);
    EXPECT_EQ(d->windowTitle(), "Seleccionar Kit");
    EXPECT_EQ(k->idsEntradas(), QList<int>({7}));
    k->pulsa("Entrada 0");
    return int(QDialog::Accepted);
  });
  respondedor.manejadores.push_back([](QDialog* d) {
    qobject_cast<TFRM_cajaSeleccionarKit*>(d)->cancelar();
    return int(QDialog::Rejected);
  });
  caja->BTN_buscarKitClick();
  EXPECT_EQ(caja->venta().lineas().getRowCount(), 3);
  caja->BTN_buscarKitClick();
  EXPECT_EQ(caja->venta().lineas().getRowCount(), 3);
  EXPECT_EQ(TCajaDelegado::textoCelda(caja->venta().lineas(), 11, 1), "   - Café de olla 250 g");
  EXPECT_EQ(TCajaDelegado::textoCelda(caja->venta().lineas(), 31, 0), "$ 174.00");
  EXPECT_EQ(TCajaDelegado::fondoFila("2"), 0xFFFFC37Bu);
  EXPECT_EQ(TCajaDelegado::fondoFila("20"), 0xFFF9EAD8u);
}

TEST_F(Caja, AceptarEntregaLaVentaAlCobro) {
  abre();
  int llamadas = 0;
  caja->setCobro([&](double total, double subtotal, double descuento, double impuestos,
                     TGridControl& lineas, const QString& cajero, int almacen, bool subir) {
    ++llamadas;
    EXPECT_DOUBLE_EQ(total, 116);
    EXPECT_DOUBLE_EQ(subtotal, 100);
    EXPECT_DOUBLE_EQ(descuento, 0);
    EXPECT_DOUBLE_EQ(impuestos, 16);
    EXPECT_EQ(&lineas, &caja->venta().lineas());
    EXPECT_EQ(cajero, "Ana Pérez López");
    EXPECT_EQ(almacen, 1);
    EXPECT_TRUE(subir);
    TRespuestaCerrarVenta r;
    r.ok = llamadas > 1;
    r.ticketNo = 41;
    return r;
  });
  caja->BTN_cerrarVentaClick();
  EXPECT_EQ(llamadas, 0);  // no lines: nothing happens
  caja->teclea("Código de barras", "7501000000011");
  caja->BTN_cerrarVentaClick();
  EXPECT_EQ(caja->venta().lineas().getRowCount(), 1);  // not completed: the sale stays
  const int grupo = caja->venta().uCotizacionProductoAgrupado;
  caja->BTN_cerrarVentaClick();
  EXPECT_EQ(caja->venta().lineas().getRowCount(), 0);
  EXPECT_EQ(caja->uTicketNumero, 41);
  caja->teclea("Código de barras", "7501000000011");
  EXPECT_EQ(celda("_grupo", 0).toInt(), grupo + 1);  // counters go on across sales
}

TEST_F(Caja, MinimizarPreguntaConLineas) {
  abre();
  caja->BTN_minimizarClick();
  EXPECT_FALSE(caja->isVisible());
  EXPECT_TRUE(respondedor.preguntas.isEmpty());
  ASSERT_TRUE(caja->init());
  caja->teclea("Código de barras", "7501000000011");
  respondedor.respuestas = {false};
  caja->BTN_minimizarClick();
  EXPECT_TRUE(caja->isVisible());
  caja->BTN_minimizarClick();
  EXPECT_FALSE(caja->isVisible());
  ASSERT_TRUE(caja->init());  // reopening starts a new sale
  EXPECT_EQ(caja->venta().lineas().getRowCount(), 0);
}

// After every action the reading field holds the focus again, so the next scan is never
// typed into another field.
TEST_F(Caja, CadaAccionDevuelveElFocoALaLectura) {
  cat->escalaProducto(1, 5, 10);
  abre();
  caja->teclea("Código de barras", "7501000000011");
  caja->teclea("Código de barras", "7501000000028");
  const std::vector<std::pair<const char*, std::function<void()>>> acciones = {
      {"lectura", [&] { caja->teclea("Código de barras", "7501000000035"); }},
      {"clic en una línea", [&] { caja->pulsaCelda("Líneas", 0, 7); }},
      {"cantidad con Enter",
       [&] {
         caja->pulsa("Cantidad");
         caja->escribe("Cantidad", "3");
         caja->pulsaEnter("Cantidad");
       }},
      {"más", [&] { caja->pulsa("Más"); }},
      {"menos", [&] { caja->pulsa("Menos"); }},
      {"eliminar cancelado",
       [&] {
         respondedor.respuestas = {false};
         caja->pulsa("Eliminar");
       }},
      {"kit cancelado", [&] { caja->pulsa("Buscar Kit"); }},
      {"resultado elegido",
       [&] {
         caja->teclea("Buscar por nombre", "coca");
         caja->pulsaEnter("Buscar por nombre");
         caja->pulsa("Resultado 0");
       }},
      {"sin resultados cerrado",
       [&] {
         caja->teclea("Buscar por nombre", "zzz");
         caja->pulsaEnter("Buscar por nombre");
         caja->pulsa("Cerrar Busqueda");
       }},
      {"monitor cerrado",
       [&] {
         caja->GRD_mainMouseUp(0, 31, QPoint(300, 300));
         caja->pulsa("Cerrar precios");
       }},
      {"teclado cerrado",
       [&] {
         caja->pulsa("Buscar por nombre");
         caja->pulsaTecla("cerrar");
       }},
      {"cobro cerrado sin venta", [&] { caja->pulsa("Aceptar"); }},
  };
  for (const auto& [nombre, accion] : acciones) {
    caja->pulsa("Cantidad");  // the focus elsewhere first
    ASSERT_FALSE(caja->tieneFoco("Código de barras"));
    accion();
    EXPECT_TRUE(caja->tieneFoco("Código de barras")) << nombre;
  }
}

// The grid brings the line just added, or read again, into view and paints it selected.
TEST_F(Caja, LaLineaAgregadaQuedaALaVista) {
  for (int i = 0; i < 25; ++i)
    cat->producto(10 + i, QStringLiteral("Producto %1").arg(i),
                  QStringLiteral("75020000000%1").arg(10 + i), 10);
  abre();
  for (int i = 0; i < 25; ++i) {
    caja->teclea("Código de barras", QStringLiteral("75020000000%1").arg(10 + i));
    EXPECT_TRUE(caja->filaVisible("Líneas", i)) << i;
    EXPECT_EQ(caja->venta().uFilaSeleccionada, i);
  }
  ASSERT_FALSE(caja->filaVisible("Líneas", 0));
  caja->teclea("Código de barras", "7502000000010");  // the first product again
  EXPECT_EQ(celda("Cantidad", 0), "2");
  EXPECT_EQ(caja->venta().uFilaSeleccionada, 0);
  EXPECT_TRUE(caja->filaVisible("Líneas", 0));
}

// On both station sizes the register's columns fit the grid ("Precio" in sight, no horizontal
// scroll bar) and "Descripción" takes what is left.
TEST_F(Caja, LasColumnasCabenEnLaEstacion) {
  abre();
  caja->teclea("Código de barras", "7501000000011");
  const int precio = caja->venta().lineas().indiceColumna("Precio");
  const int descripcion = caja->venta().lineas().indiceColumna("Descripción");
  for (const QSize tam : {QSize(1024, 768), QSize(1366, 768)}) {
    caja->resize(tam);
    QApplication::processEvents();
    int total = 0;
    for (int c = 0; c < caja->venta().lineas().getColumnCount(); ++c)
      total += caja->anchoColumna("Líneas", c);
    EXPECT_LE(total, caja->anchoGrid("Líneas")) << tam.width();
    EXPECT_GE(total, caja->anchoGrid("Líneas") - 1) << tam.width();
    EXPECT_GE(caja->anchoColumna("Líneas", precio), 100) << tam.width();
    EXPECT_GE(caja->anchoColumna("Líneas", descripcion), 160) << tam.width();
  }
}

// "Otras Formas de Pago" widens the checkout to 880 and "Ocultar" brings it back to 415; both
// stay on the screen with the cash column where it was when that fits.
TEST_F(Caja, ElCobroSeEnsanchaYVuelveSinSalirDeLaPantalla) {
  abre();
  caja->teclea("Código de barras", "7501000000011");
  respondedor.manejadores.push_back([](QDialog* d) {
    auto* f = qobject_cast<TFRM_cerrarPuntoVenta*>(d);
    d->show();
    QApplication::processEvents();
    const QRect pantalla = d->screen()->availableGeometry();
    EXPECT_EQ(d->width(), 415);
    const int x = d->x();
    f->BTN_otrasFormasClick();  // (the fixture has no payment methods: the button is off)
    QApplication::processEvents();
    EXPECT_EQ(d->width(), 880);
    // (The station sizes themselves are walked by tests/geometria; this screen is Qt's 800x600.)
    if (pantalla.width() >= 880) {
      EXPECT_TRUE(pantalla.contains(d->geometry())) << d->x() << " " << pantalla.width();
    } else {
      EXPECT_EQ(d->x(), pantalla.x());  // as far left as it goes
    }
    if (x + 880 <= pantalla.right()) {
      EXPECT_EQ(d->x(), x);
    }
    f->pulsa("Ocultar");
    QApplication::processEvents();
    EXPECT_EQ(d->width(), 415);
    EXPECT_TRUE(pantalla.contains(d->geometry()));
    return int(QDialog::Rejected);
  });
  caja->pulsa("Aceptar");
  EXPECT_TRUE(respondedor.manejadores.empty());
}

}  // namespace
