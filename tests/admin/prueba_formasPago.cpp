// "Formas de Pago" and the package's picker: the list searches once, the picker adds methods
// under a name of their own and removes them by setting them inactive.
#include <gtest/gtest.h>

#include "admin/TFRM_formasPago.h"
#include "db/TmiddleTier.h"
#include "grid/TGridControl.h"
#include "operaciones/puntoVenta.h"
#include "services/TFRM_cobroServiciosExternos.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/FilasPrueba.h"
#include "support/RespondedorPrueba.h"
#include "ui/TFRM_seleccionarFormaPagoFirebird.h"

namespace {

class FormasPago : public ::testing::Test {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    ASSERT_TRUE(db);
    CatalogoPrueba(db->conexion()).negocioBasico();
    db->llenaLocalSYS(1);
    TmiddleTier mt(db->conexion());
    mt.setQuery(
        "INSERT INTO puntoMetodoPago (nombre, formaPago_id, orden, idNegocioFk) VALUES "
        "('Tarjeta de crédito', 4, 1, 1)");
    ASSERT_EQ(mt.nonQuery(), 1);
  }
  static QStringList nombres(const TGridControl& g) { return columnaDe(g, "Nombre"); }
  // The picker opened from the list; `acciones` run on it while it is open.
  void enElSelector(std::function<void(TFRM_seleccionarFormaPagoFirebird&)> acciones) {
    r.manejadores.push_back([acciones](QDialog* d) {
      auto* s = qobject_cast<TFRM_seleccionarFormaPagoFirebird*>(d);
      if (!s) return int(QDialog::Rejected);
      acciones(*s);
      return int(QDialog::Accepted);
    });
  }
  std::unique_ptr<BaseDatosPrueba> db;
  RespondedorPrueba r;
};

TEST_F(FormasPago, AgregaYEliminaDesdeElSelector) {
  TFRM_formasPago l;
  l.init();
  EXPECT_EQ(nombres(l.grid()), QStringList({"Tarjeta de crédito"}));
  enElSelector([&](TFRM_seleccionarFormaPagoFirebird& s) {
    EXPECT_EQ(nombres(s.grid()), QStringList({"Tarjeta de crédito"}));
    s.pulsa("Agregar");  // no name
    s.escribe("Nombre", "tarjeta de CRÉDITO");
    s.elige("Forma de pago SAT", 28);
    s.pulsa("Agregar");  // the same name, whatever the case
    s.escribe("Nombre", "Vales");
    s.elige("Forma de pago SAT", 8);
    s.pulsa("Agregar");
    s.escribe("Nombre", "Transferencia");
    s.elige("Forma de pago SAT", 3);
    s.pulsa("Agregar");
    EXPECT_EQ(s.grid().getCelda("Forma de pago SAT", 2), "Transferencia electrónica de fondos");
    s.seleccionaFila(1);
    s.pulsa("Eliminar");
  });
  l.pulsa("Seleccionar Forma de Pago");
  EXPECT_EQ(r.textos().mid(0, 2),
            QStringList({"Capture el nombre de la forma de pago",
                         "Ya existe la forma de pago \"tarjeta de CRÉDITO\""}));
  EXPECT_EQ(r.preguntas, QStringList({"¿Desea eliminar la forma de pago \"Vales\"?"}));
  // The list reflects the picker; the checkout offers the same methods.
  EXPECT_EQ(nombres(l.grid()), QStringList({"Tarjeta de crédito", "Transferencia"}));
  const CmidTierResponse cobro = buscaFormasDePagoPorNegocio(1, db->conexion());
  ASSERT_EQ(cobro.getRowCount(), 2);
  EXPECT_EQ(cobro.getCeldaAsInt("formaPago_id", 1), 3);
  TmiddleTier mt(db->conexion());
  mt.setQuery("SELECT activo FROM puntoMetodoPago WHERE nombre = 'Vales'");
  EXPECT_EQ(mt.scalar().toInt(), 0);  // removed, never deleted

  // Shown again: no new search until asked; the name filter and its clear button search.
  mt.setQuery("UPDATE puntoMetodoPago SET nombre = 'Débito' WHERE nombre = 'Transferencia'");
  ASSERT_EQ(mt.nonQuery(), 1);
  l.init();
  EXPECT_EQ(nombres(l.grid()), QStringList({"Tarjeta de crédito", "Transferencia"}));
  l.escribe("Nombre", " déb ");
  l.pulsa("Buscar");
  EXPECT_EQ(nombres(l.grid()), QStringList({"Débito"}));
  l.pulsa("Borrar Nombre");
  EXPECT_EQ(nombres(l.grid()), QStringList({"Tarjeta de crédito", "Débito"}));

  // "Servicios Externos" opens the credentials and searches again after.
  QString abierto;
  r.manejadores.push_back([&](QDialog* d) {
    abierto = d->objectName();
    return int(QDialog::Rejected);
  });
  l.pulsa("Servicios Externos");
  EXPECT_EQ(abierto, "TFRM_cobroServiciosExternos");
}

// The body beside the side menu (248 wide) and under the host's header (64 high) of a 1024x768
// station holds the whole screen, and so do the picker and the credentials dialog.
TEST_F(FormasPago, CabeEnUnaEstacionDe1024x768) {
  TFRM_formasPago l;
  TFRM_seleccionarFormaPagoFirebird selector;
  TFRM_cobroServiciosExternos servicios;
  const QSize cuerpo(1024 - 248, 768 - 64);
  EXPECT_LE(l.minimumSizeHint().width(), cuerpo.width());
  EXPECT_LE(l.minimumSizeHint().height(), cuerpo.height());
  for (QDialog* d : std::initializer_list<QDialog*>{&selector, &servicios}) {
    EXPECT_LE(d->minimumSizeHint().width(), 1024) << d->objectName().toStdString();
    EXPECT_LE(d->size().width(), 1024);
    EXPECT_LE(d->size().height(), 768);
  }
  if (!qEnvironmentVariableIsEmpty("POS_CAPTURAS")) {
    l.init();
    for (const QSize& s : {cuerpo, QSize(1366 - 248, 768 - 64)}) {
      l.resize(s);
      l.grab().save(qEnvironmentVariable("POS_CAPTURAS") +
                    QString("/formas-%1.png").arg(s.width()));
    }
    selector.grab().save(qEnvironmentVariable("POS_CAPTURAS") + "/selector.png");
  }
}

}  // namespace
