// The external-service screens: the MercadoPago credentials (stored encrypted, the token left
// alone) and the history of matched payments on both engines.
#include <gtest/gtest.h>

#include "db/TmiddleTier.h"
#include "grid/TGridControl.h"
#include "operaciones/serviciosExternos.h"
#include "services/TFRM_cobroServiciosExternos.h"
#include "services/TFRM_historialServiciosExternos.h"
#include "services/reglas/credencialesMercadoPago.h"
#include "shell/programaPredeterminado.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/RespondedorPrueba.h"

namespace {

class CredencialesMercado : public ::testing::Test {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    ASSERT_TRUE(db);
    CatalogoPrueba(db->conexion()).negocioBasico();
    db->llenaLocalSYS(1);
    signingConfigura(db->carpeta() + "/");
  }
  // Runs the screen; `captura` acts on it while it is open.
  bool abre(std::function<void(TFRM_cobroServiciosExternos&)> captura) {
    r.manejadores.push_back([captura](QDialog* d) {
      auto* f = qobject_cast<TFRM_cobroServiciosExternos*>(d);
      if (!f) return int(QDialog::Rejected);
      captura(*f);
      if (f->result() != QDialog::Accepted) f->BTN_cancelarClick();
      return f->result();
    });
    TFRM_cobroServiciosExternos pantalla;
    return pantalla.init();
  }
  CmidTierResponse fila() { return buscaServiciosExternosMercadoPago(1, db->conexion()); }

  std::unique_ptr<BaseDatosPrueba> db;
  RespondedorPrueba r;
};

TEST_F(CredencialesMercado, ValidaGuardaCifradoYNoTocaElToken) {
  const struct {
    const char *id, *secreto, *poi, *mensaje;
  } casos[] = {
      {"", "s", "p",
       "Capture el valor 'Client ID', si desconoce este valor pulse el botón "
       "'Consultar Credenciales'"},
      {"i", "", "",
       "Capture el valor 'Client Secret', si desconoce este valor pulse el botón "
       "'Consultar Credenciales'"},
      {"i", "s", "",
       "Capture el valor 'Point Blue no. Serie', si desconoce este valor puede "
       "consultarlo oprimiento * en su dispositivo Point Blue."},
  };
  for (const auto& c : casos) {
    EXPECT_FALSE(abre([&](TFRM_cobroServiciosExternos& f) {
      EXPECT_TRUE(f.texto("Client ID").isEmpty());  // nothing stored yet
      f.escribe("Client ID", c.id);
      f.escribe("Client Secret", c.secreto);
      f.escribe("Point Blue no. Serie", c.poi);
      f.pulsa("Aceptar");
    }));
    EXPECT_EQ(r.textos().last(), QString::fromUtf8(c.mensaje));
  }
  EXPECT_EQ(fila().getRowCount(), 0);
  EXPECT_TRUE(r.preguntas.isEmpty());

  ASSERT_TRUE(actualizaTokenMercadoPago(crypt("APP_USR-1"), crypt("77"), "06/12/2026 09:00:00", 1,
                                        db->conexion()));
  r.respuestas = {false, true};  // the first confirmation is declined: still open, nothing saved
  EXPECT_TRUE(abre([&](TFRM_cobroServiciosExternos& f) {
    f.escribe("Client ID", "app-123");
    f.escribe("Client Secret", "  ");  // blanks are a value
    f.escribe("Point Blue no. Serie", "PAX-0001");
    f.pulsa("Aceptar");
    EXPECT_NE(f.result(), QDialog::Accepted);
    f.pulsa("Aceptar");
  }));
  EXPECT_EQ(
      r.preguntas.last(),
      "Compruebe que lso datos capturados sean correctos\n\r¿Desea guardar esta información?");
  CmidTierResponse f = fila();
  const QString cifrado = f.getCelda("puntoServiciosExternosMercadoPago_clienteID");
  EXPECT_NE(cifrado, "app-123");
  EXPECT_EQ(deCrypt(cifrado), "app-123");
  EXPECT_EQ(deCrypt(f.getCelda("puntoServiciosExternosMercadoPago_clienteSecret")), "  ");
  EXPECT_EQ(deCrypt(f.getCelda("puntoServiciosExternosMercadoPago_accessToken")), "APP_USR-1");
  EXPECT_EQ(f.getCelda("puntoServiciosExternosMercadoPago_vigencia"), "06/12/2026 09:00:00");

  // Opened again and saved as it is: the same values, encrypted anew.
  EXPECT_TRUE(abre([&](TFRM_cobroServiciosExternos& p) {
    EXPECT_EQ(p.texto("Client ID"), "app-123");
    EXPECT_EQ(p.texto("Point Blue no. Serie"), "PAX-0001");
    p.pulsa("Consultar Credenciales");
    p.pulsa("Aceptar");
  }));
  f = fila();
  EXPECT_NE(f.getCelda("puntoServiciosExternosMercadoPago_clienteID"), cifrado);
  EXPECT_EQ(deCrypt(f.getCelda("puntoServiciosExternosMercadoPago_clienteID")), "app-123");
  EXPECT_EQ(deCrypt(f.getCelda("puntoServiciosExternosMercadoPago_poi")), "PAX-0001");
  EXPECT_TRUE(abreConProgramaPredeterminadoSolicitudes().contains(
      "https://www.mercadopago.com.mx/mlm/account/credentials?type=basic"));

  // "Ver Historial Pagos" opens the history.
  QString abierto;
  abre([&](TFRM_cobroServiciosExternos& p) {
    r.manejadores.push_front([&](QDialog* d) {
      abierto = d->objectName();
      return int(QDialog::Rejected);
    });
    p.pulsa("Ver Historial Pagos");
  });
  EXPECT_EQ(abierto, "TFRM_historialServiciosExternos");
}

class HistorialExternos : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    CatalogoPrueba(conexion()).negocioBasico();
    db->llenaLocalSYS(1);
    venta(1, "2026-11-20 10:00:00", "1311000001", "116", 1);
    venta(2, "2026-12-01 12:30:00", "1311000002", "1,160.00", 1);
    venta(3, "2026-12-05 18:00:00", "1311000021", "116.00", 1);
    venta(4, "2026-12-05 19:00:00", "VOUCHER-1311000003", "116", QVariant());  // typed, not matched
    venta(5, "2026-09-01 09:00:00", "1311000099", "116", 1);                   // too old
  }
  void venta(int ticket, const QString& fecha, const QString& referencia, const QString& valor,
             const QVariant& externo) {
    TmiddleTier mt(conexion());
    mt.setQuery("INSERT INTO puntoOperacion (idNegocioFk, ticketNo, fechaHora) VALUES (1, :t, :f)");
    mt.setInteger("t", ticket);
    mt.setDateTime("f", QDateTime::fromString(fecha, "yyyy-MM-dd HH:mm:ss"));
    ASSERT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
    mt.setQuery(
        "INSERT INTO puntoFormaPagoAplicada (puntoOperacion_id, posicion, valor, importe, "
        "referencia, servicioExterno, idNegocioFk) SELECT id, 1, :v, :i, :r, :e, 1 FROM "
        "puntoOperacion WHERE ticketNo = :t");
    mt.setString("v", valor);
    mt.setDouble("i", QString(valor).remove(',').toDouble());
    mt.setString("r", referencia);
    mt.setVariant("e", externo.isNull() ? QVariant(QMetaType::fromType<qlonglong>()) : externo);
    mt.setInteger("t", ticket);
    ASSERT_EQ(mt.nonQuery(), 1) << mt.ultimoError().toStdString();
  }
  QStringList tickets(const TFRM_historialServiciosExternos& h) {
    QStringList t;
    for (int i = 0; i < h.grid().getRowCount(); ++i) t << h.grid().getCelda("Ticket", i);
    return t;
  }
  RespondedorPrueba r;
};

TEST_P(HistorialExternos, FiltraPorFechasMontoYReferencia) {
  TFRM_historialServiciosExternos h;
  h.reinicia();
  EXPECT_EQ(h.grid().getRowCount(), 0);  // no search until asked
  h.pulsa("PDF");
  EXPECT_EQ(r.textos().last(), "No hay elementos que mostrar");
  h.escribe("Fecha Inicial", "2026-11-06T00:00:00");
  h.escribe("Fecha Final", "2026-12-06T00:00:00");
  const struct {
    const char *monto, *referencia;
    QStringList esperados;
  } casos[] = {
      {"", "", {"3", "2", "1"}},  // newest first; typed references and old ones never
      {"116", "", {"3", "1"}},    // amounts compare as amounts
      {"$1,160.00", "", {"2"}},  {"", "00002", {"3", "2"}},  // a fragment anywhere in the reference
      {"116", "0001", {"1"}},                                // both narrow
      {"abc", "", {}},
  };
  for (const auto& c : casos) {
    h.escribe("Monto", c.monto);
    h.escribe("Referencia", c.referencia);
    h.pulsa("Buscar");
    EXPECT_EQ(tickets(h), c.esperados) << c.monto << " " << c.referencia;
  }
  EXPECT_TRUE(h.visible("Mensaje"));
  EXPECT_EQ(h.grid().getColumnCount(), 7);
  h.pulsa("Ver Todos");
  EXPECT_TRUE(h.texto("Monto").isEmpty());
  EXPECT_EQ(tickets(h), QStringList({"3", "2", "1"}));
  EXPECT_EQ(h.grid().getCelda("Servicio Externo", 0), "Mercado Pago");
  EXPECT_EQ(h.grid().getCelda("Referencia", 1), "1311000002");
  EXPECT_EQ(h.grid().getCelda("Monto", 1), "1,160.00");
  // The resets: amount and reference cleared, dates back to the last month, no search.
  h.escribe("Monto", "116");
  h.pulsa("Borrar Monto");
  h.pulsa("Borrar Fecha Inicial");
  EXPECT_TRUE(h.texto("Monto").isEmpty());
  EXPECT_EQ(h.dato("Fecha Inicial").toDateTime().date(), QDate::currentDate().addMonths(-1));
  EXPECT_EQ(tickets(h), QStringList({"3", "2", "1"}));
}

INSTANCIA_AMBOS_MOTORES(HistorialExternos);

}  // namespace
