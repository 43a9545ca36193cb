#include <gtest/gtest.h>

#include <QLabel>
#include <QLayout>
#include <QTest>
#include <memory>

#include "shell/TFRM_main_puntoVenta.h"
#include "shell/menuLateral.h"
#include "shell/registroPantallas.h"
#include "support/RespondedorPrueba.h"
#include "ui/recursosPantalla.h"

namespace {

// Screens standing in for the real ones: they count their creations and their init calls.
struct Contadores {
  int creadas = 0;
  int inits = 0;
};
Contadores gLista, gConContenido, gCaja;

class PantallaListaFalsa : public QWidget {
 public:
  PantallaListaFalsa() { ++gLista.creadas; }
  void init() { ++gLista.inits; }
};

// A form whose embedded element is one of its children, not the form itself.
class PantallaConContenido : public QWidget {
 public:
  PantallaConContenido() : panel(new QWidget(this)) { ++gConContenido.creadas; }
  void init() { ++gConContenido.inits; }
  QWidget* contenido() { return panel; }
  QWidget* panel;
};

class PantallaVacia : public QWidget {
 public:
  void init() {}
};

class CajaFalsa : public QWidget {
 public:
  CajaFalsa() { ++gCaja.creadas; }
  void init() {
    ++gCaja.inits;
    showFullScreen();
  }
};

// Registers the stand-ins under real screen names for one test, keeps every other screen of
// the menu out (they need a business database) and puts back what was there.
class PantallasFalsas {
 public:
  PantallasFalsas() {
    gLista = gConContenido = gCaja = {};
    // "Control de Cajas" stays without a screen; the others get an empty one.
    anteriores.emplace_back("TFRM_controlCaja", buscaPantalla("TFRM_controlCaja"));
    eliminaPantalla("TFRM_controlCaja");
    for (const char* c :
         {"TFRM_configuracionTicket", "TFRM_controlCierres", "TFRM_consultarExistencias",
          "TFRM_puntoNoSerie", "TFRM_devolucionesPuntoVenta", "TFRM_notasCreditoPunto",
          "TFRM_controlTickets"})
      cambia(c, {[] { return std::make_unique<TPantallaForma<PantallaVacia>>(); }, false});
    cambia("TFRM_cajeros",
           {[] { return std::make_unique<TPantallaForma<PantallaListaFalsa>>(); }, false});
    cambia("TFRM_formasPago",
           {[] { return std::make_unique<TPantallaForma<PantallaConContenido>>(); }, false});
    cambia("TFRM_caja", {[] { return std::make_unique<TPantallaForma<CajaFalsa>>(); }, true});
  }
  ~PantallasFalsas() {
    for (auto& [clase, registro] : anteriores) {
      if (registro)
        registraPantalla(clase, *registro);
      else
        eliminaPantalla(clase);
    }
  }

 private:
  void cambia(const QString& clase, TRegistroPantalla r) {
    anteriores.emplace_back(clase, registraPantalla(clase, std::move(r)));
  }
  std::vector<std::pair<QString, std::optional<TRegistroPantalla>>> anteriores;
};

class Menu : public ::testing::Test {
 protected:
  void SetUp() override {
    forma = new TFRM_main_puntoVenta();
    forma->init();
    panel.reset(forma->panel());
    panel->resize(1280, 800);
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
  }

  // Lets the animation run out and the layout follow it.
  void esperaAnimacion() {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !forma->animando(); }, 3000));
    QCoreApplication::processEvents();
  }
  int altoReal(int grupo) {
    QWidget* g =
        forma->elementoMenu(grupo == 0 ? "Administración" : "Servicios al Cliente")->parentWidget();
    (void)QTest::qWaitFor([&] { return g->height() == forma->altoGrupo(grupo); }, 1000);
    return g->height();
  }

  PantallasFalsas falsas;
  TFRM_main_puntoVenta* forma = nullptr;
  std::unique_ptr<QWidget> panel;
};

TEST_F(Menu, GruposAbrenYCierranConSusAlturas) {
  EXPECT_EQ(forma->moduloNombre(), "Punto de Venta");
  for (int g : {0, 1}) {
    EXPECT_FALSE(forma->grupoAbierto(g));
    EXPECT_EQ(forma->altoGrupo(g), 39);
    EXPECT_FALSE(forma->flechaAbierta(g));
  }

  forma->controlaModulos(0);
  EXPECT_TRUE(forma->grupoAbierto(0));
  esperaAnimacion();
  EXPECT_EQ(forma->altoGrupo(0), 204);
  EXPECT_EQ(altoReal(0), 204);
  EXPECT_TRUE(forma->flechaAbierta(0));

  // Clicking the open group closes it.
  forma->elementoMenu("Administración")->click();
  EXPECT_FALSE(forma->grupoAbierto(0));
  esperaAnimacion();
  EXPECT_EQ(altoReal(0), 39);
  EXPECT_FALSE(forma->flechaAbierta(0));

  // Clicking the other group closes the first and opens the second.
  forma->controlaModulos(0);
  esperaAnimacion();
  forma->elementoMenu("Servicios al Cliente")->click();
  EXPECT_FALSE(forma->grupoAbierto(0));
  EXPECT_TRUE(forma->grupoAbierto(1));
  esperaAnimacion();
  EXPECT_EQ(altoReal(0), 39);
  EXPECT_EQ(altoReal(1), 244);
  EXPECT_FALSE(forma->flechaAbierta(0));
  EXPECT_TRUE(forma->flechaAbierta(1));

  // A click in the middle of an animation turns it around from where it is.
  forma->controlaModulos(1);
  QTest::qWait(60);
  forma->controlaModulos(1);
  esperaAnimacion();
  EXPECT_TRUE(forma->grupoAbierto(1));
  EXPECT_EQ(altoReal(1), 244);
}

TEST_F(Menu, UnGrupoCerradoRecortaSusEntradasYPermisosNuncaSeVe) {
  QWidget* cajas = forma->elementoMenu("Control de Cajas");
  EXPECT_TRUE(cajas->visibleRegion().isEmpty()) << "a closed group shows no entry";
  forma->controlaModulos(0);
  esperaAnimacion();
  (void)QTest::qWaitFor([&] { return !cajas->visibleRegion().isEmpty(); }, 1000);
  EXPECT_FALSE(cajas->visibleRegion().isEmpty());
  EXPECT_EQ(cajas->y(), 40) << "the hidden entry takes no place";

  QWidget* permisos = forma->elementoMenu("Permisos");
  ASSERT_NE(permisos, nullptr);
  EXPECT_FALSE(permisos->isVisible());
  EXPECT_FALSE(forma->eligeEntrada("Permisos"));
  EXPECT_FALSE(permisos->isVisible());
  EXPECT_TRUE(forma->entradaElegida().isEmpty());
  EXPECT_FALSE(forma->eligeEntrada("Administración")) << "a group is opened, never chosen";
  EXPECT_FALSE(forma->eligeEntrada("No existe"));
}

TEST_F(Menu, ColoresDeLaEntradaElegida) {
  const TListaColores colores = getColores();
  auto* cajeros = forma->elementoMenu("Cajeros");
  auto* existencias = forma->elementoMenu("Existencias");
  ASSERT_TRUE(forma->eligeEntrada("Existencias"));
  EXPECT_TRUE(existencias->elegido());
  EXPECT_EQ(existencias->fondo(), colores.value("menuSeleccionadoFondo"));
  EXPECT_EQ(existencias->colorTexto(), colores.value("menuSeleccionadoTexto"));
  EXPECT_EQ(cajeros->fondo(), 0xFFE9E9E9u);

  cajeros->click();
  EXPECT_EQ(forma->entradaElegida(), "Cajeros");
  EXPECT_TRUE(cajeros->elegido());
  EXPECT_EQ(cajeros->fondo(), colores.value("menuSeleccionadoFondo"));
  EXPECT_FALSE(existencias->elegido());
  EXPECT_EQ(existencias->fondo(), 0xFFE9E9E9u);
  EXPECT_EQ(existencias->colorTexto(), colores.value("menuTexto"));
  EXPECT_EQ(forma->elementoMenu("Administración")->fondo(), 0xFFE9E9E9u);
  // The selected icon is drawn from the "Sel" image.
  EXPECT_EQ(cajeros->icon().pixmap(24, 24).toImage(),
            mini_icono("menuCajerosSel").pixmap(24, 24).toImage());
}

TEST_F(Menu, CajaYControlDeTicketsCierranLosGrupos) {
  forma->controlaModulos(1);
  esperaAnimacion();
  ASSERT_TRUE(forma->eligeEntrada("Control de Tickets"));
  EXPECT_FALSE(forma->grupoAbierto(1));
  esperaAnimacion();
  EXPECT_EQ(altoReal(1), 39);

  forma->controlaModulos(0);
  ASSERT_TRUE(forma->eligeEntrada("Caja"));
  EXPECT_FALSE(forma->grupoAbierto(0));
  esperaAnimacion();
  EXPECT_EQ(altoReal(0), 39);

  // Other entries leave the groups as they are.
  forma->controlaModulos(0);
  forma->eligeEntrada("Cajeros");
  EXPECT_TRUE(forma->grupoAbierto(0));
}

TEST_F(Menu, PantallasSeCreanUnaVezYSeIncrustanEnElCuerpo) {
  TCuerpoModulo* cuerpo = forma->cuerpo();
  EXPECT_EQ(cuerpo->pantallas(), 0);

  ASSERT_TRUE(forma->eligeEntrada("Cajeros"));
  EXPECT_EQ(gLista.creadas, 1);
  EXPECT_EQ(gLista.inits, 1);
  QWidget* lista = forma->getVentanaActiva();
  ASSERT_NE(lista, nullptr);
  EXPECT_EQ(lista->parentWidget(), cuerpo);
  EXPECT_TRUE(lista->isVisible());
  EXPECT_FALSE(lista->isWindow()) << "the form is never shown as a window";
  EXPECT_EQ(cuerpo->pantallas(), 1);

  forma->eligeEntrada("Cajeros");
  EXPECT_EQ(gLista.creadas, 1);
  EXPECT_EQ(gLista.inits, 2) << "every choice refreshes the screen";
  EXPECT_EQ(cuerpo->pantallas(), 1);

  // A form that offers its own content element gets that element embedded.
  forma->eligeEntrada("Formas de Pago");
  auto* conContenido =
      static_cast<TPantallaForma<PantallaConContenido>*>(forma->pantalla("TFRM_formasPago"));
  ASSERT_NE(conContenido, nullptr);
  EXPECT_EQ(forma->getVentanaActiva(), conContenido->forma()->panel);
  EXPECT_EQ(conContenido->forma()->panel->parentWidget(), cuerpo);
  EXPECT_EQ(cuerpo->pantallas(), 1);
  EXPECT_NE(lista->parentWidget(), cuerpo);
  EXPECT_FALSE(lista->isVisible());

  // The sale register shows itself; whatever was in the body leaves it.
  forma->eligeEntrada("Cajeros");
  EXPECT_EQ(conContenido->forma()->panel->parentWidget(), conContenido->forma())
      << "an element taken from its form goes back to it";
  EXPECT_EQ(gLista.inits, 3);
  ASSERT_TRUE(forma->eligeEntrada("Caja"));
  EXPECT_EQ(gCaja.creadas, 1);
  EXPECT_EQ(gCaja.inits, 1);
  EXPECT_EQ(forma->getVentanaActiva(), nullptr);
  EXPECT_EQ(cuerpo->pantallas(), 0);
  EXPECT_NE(lista->parentWidget(), cuerpo);
  EXPECT_FALSE(lista->isVisible());
  auto* caja = static_cast<TPantallaForma<CajaFalsa>*>(forma->pantalla("TFRM_caja"))->forma();
  EXPECT_TRUE(caja->isWindow());
  EXPECT_TRUE(caja->isVisible());

  forma->eligeEntrada("Caja");
  EXPECT_EQ(gCaja.creadas, 1);
  EXPECT_EQ(gCaja.inits, 2);

  // Back to the list: the same object, refreshed again.
  forma->eligeEntrada("Cajeros");
  EXPECT_EQ(forma->getVentanaActiva(), lista);
  EXPECT_EQ(gLista.creadas, 1);
  EXPECT_EQ(gLista.inits, 4);

  // An entry whose screen is not registered says so, creates nothing and keeps the body.
  RespondedorPrueba respondedor;
  ASSERT_TRUE(forma->eligeEntrada("Control de Cajas"));
  EXPECT_EQ(respondedor.textos(),
            QStringList{"\"Control de Cajas\" todavía no está disponible en este punto de venta."});
  EXPECT_EQ(forma->pantalla("TFRM_controlCaja"), nullptr);
  EXPECT_EQ(forma->getVentanaActiva(), lista);
  EXPECT_EQ(forma->entradaElegida(), "Cajeros");
}

// With the module's real registry, every entry a user can choose either has its screen or
// answers the message above: none opens an empty body in silence.
TEST(MenuReal, CadaEntradaTienePantallaOLoDice) {
  auto* forma = new TFRM_main_puntoVenta();
  forma->init();
  std::unique_ptr<QWidget> panel(forma->panel());
  const auto entradas = forma->entradasElegibles();
  ASSERT_GE(entradas.size(), 10);
  for (const auto& [titulo, clase] : entradas) {
    SCOPED_TRACE(titulo.toStdString());
    const auto registro = buscaPantalla(clase);
    if (registro && registro->fabrica) continue;
    RespondedorPrueba respondedor;
    EXPECT_TRUE(forma->eligeEntrada(titulo));
    EXPECT_EQ(respondedor.textos().size(), 1);
    EXPECT_EQ(forma->getVentanaActiva(), nullptr);
  }
}

// The screens belong to the form: closing the host's window (the panel) releases them.
TEST(MenuVida, ElPanelSeLlevaLaFormaYSusPantallas) {
  PantallasFalsas falsas;
  auto* forma = new TFRM_main_puntoVenta();
  forma->init();
  QPointer<TFRM_main_puntoVenta> vigilada(forma);
  forma->eligeEntrada("Cajeros");
  forma->eligeEntrada("Formas de Pago");
  QPointer<QWidget> lista =
      static_cast<TPantallaForma<PantallaListaFalsa>*>(forma->pantalla("TFRM_cajeros"))->forma();
  ASSERT_TRUE(lista);
  EXPECT_EQ(TFRM_main_puntoVenta::desdePanel(forma->panel()), forma);
  delete forma->panel();
  EXPECT_FALSE(vigilada);
  EXPECT_FALSE(lista) << "a screen out of the body is released with the form";
}

}  // namespace

namespace {

bool tieneTrazo(const QPixmap& pm) {
  const QImage img = pm.toImage();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (qAlpha(img.pixel(x, y)) > 0) return true;
  return false;
}

TEST(Recursos, ImagenesYColoresQueUsaElModulo) {
  QStringList nombres = {
      "Elimina", "Edita", "Engrane", "view",    "activo",        "unchecked",      "checked",
      "arrowUp", "doc",   "docG",    "docU",    "sinImagen",     "apuntadorColor", "devolver",
      "mas",     "menos", "buscar",  "teclado", "flechaAbierta", "flechaCerrada"};
  for (const char* m :
       {"menuAdministracion", "menuServicios", "menuPermisos", "menuControlCajas", "menuCajeros",
        "menuFormasPago", "menuConfiguracionTicket", "menuControlCierres", "menuExistencias",
        "menuNoSerie", "menuDevoluciones", "menuNotasCredito", "menuCaja", "menuControlTickets"})
    nombres << m << QString(m) + "Sel";
  for (const QString& n : nombres) {
    EXPECT_TRUE(mini_existeImagen(n)) << n.toStdString();
    EXPECT_TRUE(tieneTrazo(mini_imagen(n, QSize(24, 24)))) << n.toStdString();
  }
  EXPECT_TRUE(mini_imagen("noExiste").isNull());
  QLabel etiqueta;
  etiqueta.resize(40, 40);
  EXPECT_TRUE(mini_cargaImage("activo", &etiqueta));
  EXPECT_EQ(etiqueta.pixmap().size(), QSize(40, 40));

  const TListaColores colores = getColores();
  for (const char* c : {"menuSeleccionadoFondo", "menuSeleccionadoTexto", "menuTexto",
                        "tituloFormulario1", "tituloFormulario2", "fondoSolido", "textoCuerpo"})
    EXPECT_TRUE(colores.contains(c)) << c;
  EXPECT_NE(colores.value("menuSeleccionadoFondo"), 0xFFE9E9E9u)
      << "the chosen entry must stand out from the menu";
}

}  // namespace
