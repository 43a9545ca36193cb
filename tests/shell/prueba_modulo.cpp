#include <gtest/gtest.h>

#include <QFile>
#include <QTest>
#include <memory>

#include "db/TmiddleTier.h"
#include "host/CargadorModulo.h"
#include "shell/TFRM_main_puntoVenta.h"
#include "shell/menuLateral.h"
#include "support/BaseDatosPrueba.h"
#include "support/RespondedorPrueba.h"

namespace {

class EntradaModulo : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    TmiddleTier mt(conexion());
    mt.setQuery(
        "INSERT INTO Negocio (idNegocio, nombre, rfc) VALUES (3, 'Ferretería El Clavo', "
        "'FEC990101AB1')");
    ASSERT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
    sistema.conexion = db->compartida();
    ASSERT_TRUE(sistema.negocio.carga(conexion(), 3));
    sistema.carpetaAplicacion = db->carpeta() + "/";
    sistema.estacion = "CAJA-PRUEBA-7";
    sistema.enlaceTicket = "http://127.0.0.1:9/portal-prueba";
  }
  void TearDown() override {
    localSYS = TsistemaDatos();
    SYS_aliasRutaDB.clear();
    PruebaAmbosMotores::TearDown();
  }

  int clientesPublicoGeneral() {
    TmiddleTier mt(conexion());
    mt.setQuery("SELECT COUNT(*) FROM Receptor WHERE idNegocioFk = 3 AND rfc = 'XAXX010101000'");
    return mt.scalar().toInt();
  }

  TsistemaDatos sistema;
};

// The host's own loading path: the built library, the registered class, its ExecForm.
TEST_P(EntradaModulo, ExecFormDesdeLaBibliotecaCargada) {
  localSYS = TsistemaDatos();
  SYS_aliasRutaDB = "alias anterior";
  CargadorModulo cargador(POS_BINARIOS);
  QString error;
  std::unique_ptr<QWidget> panel(cargador.abre(sistema, CargadorModulo::claseEntrada(), &error));
  ASSERT_TRUE(panel) << error.toStdString();
  EXPECT_TRUE(error.isEmpty());

  EXPECT_EQ(SYS_aliasRutaDB, conexion().getDatabase());
  EXPECT_EQ(localSYS.conexion, sistema.conexion);
  EXPECT_EQ(localSYS.getIdNegocio(), 3);
  EXPECT_EQ(localSYS.getNegocio().getNombre(), "Ferretería El Clavo");
  EXPECT_EQ(u_getPCName(), "CAJA-PRUEBA-7");
  QString enlace;
  getEnlaceTicket(&enlace);
  EXPECT_EQ(enlace, "http://127.0.0.1:9/portal-prueba");

  TFRM_main_puntoVenta* forma = TFRM_main_puntoVenta::desdePanel(panel.get());
  ASSERT_NE(forma, nullptr);
  EXPECT_EQ(forma->panel(), panel.get());
  EXPECT_EQ(forma->getBaseDeDatos(), conexion().getDatabase());
  EXPECT_EQ(forma->moduloNombre(), "Punto de Venta");
  EXPECT_TRUE(panel->parentWidget() == nullptr) << "the host embeds it";
  // Qt's own dialogs (files, printing) speak Spanish once the module is open.
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Open"), "&Abrir");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancelar");

  // The general-public customer appears with the first paint, and only once.
  EXPECT_FALSE(forma->pintadoInicial());
  EXPECT_EQ(clientesPublicoGeneral(), 0);
  panel->resize(1280, 800);
  panel->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return forma->pintadoInicial(); }, 3000));
  EXPECT_EQ(clientesPublicoGeneral(), 1);
  panel->repaint();
  panel->hide();
  panel->show();
  QTest::qWait(50);
  EXPECT_EQ(clientesPublicoGeneral(), 1);

  // "Caja" opens the module's own register, which runs its start-up checks (this business
  // has no price list yet) and never enters the body.
  {
    RespondedorPrueba respuestas;
    ASSERT_TRUE(forma->eligeEntrada("Caja"));
    ASSERT_EQ(respuestas.mensajes.size(), 1u);
    EXPECT_TRUE(respuestas.textos().first().startsWith(
        "No se encontro la lista de precios predeterminada."))
        << respuestas.textos().first().toStdString();
    EXPECT_EQ(forma->cuerpo()->pantallas(), 0);
  }

  // Opening the module again gives a new main form on the same context.
  std::unique_ptr<QWidget> otro(cargador.abre(sistema, CargadorModulo::claseEntrada(), &error));
  ASSERT_TRUE(otro);
  EXPECT_NE(TFRM_main_puntoVenta::desdePanel(otro.get()), forma);
  otro->grab();
  EXPECT_EQ(clientesPublicoGeneral(), 1);
}

INSTANCIA_AMBOS_MOTORES(EntradaModulo);

TEST(CargadorModulo, ErroresDeCarga) {
  QString error;
  CargadorModulo ausente("/no/existe");
  EXPECT_FALSE(ausente.carga(&error));
  EXPECT_EQ(error, "No se encontró el módulo del punto de venta: /no/existe/libpuntoventa.so");

  QTemporaryDir carpeta;
  QFile falso(carpeta.filePath("libpuntoventa.so"));
  ASSERT_TRUE(falso.open(QIODevice::WriteOnly));
  falso.write("no soy una biblioteca");
  falso.close();
  CargadorModulo corrupto(carpeta.path());
  TsistemaDatos s;
  EXPECT_EQ(corrupto.abre(s, CargadorModulo::claseEntrada(), &error), nullptr);
  EXPECT_TRUE(error.startsWith("No se pudo cargar el módulo del punto de venta " +
                               carpeta.filePath("libpuntoventa.so")))
      << error.toStdString();

  // A library that loads but registers no such class.
  CargadorModulo ajeno(POS_BINARIOS, "libposcomun.so");
  EXPECT_EQ(ajeno.abre(s, "TFRM_noRegistrada", &error), nullptr);
  EXPECT_EQ(error, QString("El módulo %1 no registró la clase TFRM_noRegistrada.")
                       .arg(QString(POS_BINARIOS) + "/libposcomun.so"));
}

}  // namespace
