// The return screens as a supervisor uses them, against the real invoicing sandbox on both
// engines: a credit note issued once even when its answer is lost or the service is down, and
// the two lists that show what was done.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonArray>
#include <QThread>

#include "TiendaDevoluciones.h"
#include "operaciones/clientes.h"
#include "platform/textoQt.h"
#include "returns/TFRM_devolucion.h"
#include "returns/TFRM_devolucionesPuntoVenta.h"
#include "returns/TFRM_notasCreditoPunto.h"
#include "shell/programaPredeterminado.h"
#include "signing/firma.h"
#include "support/ClienteFacturaPrueba.h"
#include "support/RespondedorPrueba.h"
#include "support/SandboxPrueba.h"
#include "ui/TFRM_capturaDevolucion.h"
#include "ui/TFRM_facturar.h"
#include "workers/TtimbraFacturaConWS.h"

namespace {

class PantallasDevolucion : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    tienda = std::make_unique<TiendaDevoluciones>(*db);
    tienda->catalogo().credencialesCifradas(db->carpeta());
    ASSERT_TRUE(u_rfcPublicoGeneralExiste(1, db->conexion()));
    db->llenaLocalSYS(1);
    ASSERT_TRUE(sandbox.arrancaParaTienda());
    venta = tienda->vende();
    refresco = tienda->detalle(venta.operacionID, TiendaDevoluciones::kRefresco);
  }
  void TearDown() override {
    TtimbraFacturaConWS::setTiempoEsperaPredeterminado(0);
    signingConfigura(QString());
    PruebaAmbosMotores::TearDown();
  }

  // The customer invoices the sale at the checkout; answers the invoice's UUID.
  QString factura() {
    r.enDialogo<TFRM_facturar>(facturaAClientePrueba);
    TFRM_facturar pantalla;
    EXPECT_TRUE(pantalla.initPuntoVentaTicket(venta.operacionID, localSYS))
        << r.textos().join(" | ").toStdString();
    return pantalla.uuidFactura();
  }

  // The supervisor opens the return, finds the ticket, captures `cantidad` refrescos, chooses
  // the kind and accepts; `facturar` answers the invoicing screen (pressing "Facturar" once,
  // then closing it whatever came of it).
  void devuelveRefrescos(TFRM_devolucion& pantalla, const QString& cantidad, int tipo,
                         bool capturar = true) {
    r.manejadores.push_back([&, cantidad, tipo, capturar](QDialog* d) {
      pantalla.escribeTicket(QString::number(venta.ticketNo));
      pantalla.buscar();
      pantalla.eligeTipo(tipo);
      if (capturar) pantalla.capturaDevolucion(2);
      pantalla.BTN_aceptarDevolucionClick();
      return d->result();
    });
    if (capturar)
      r.enDialogo<TFRM_capturaDevolucion>([cantidad](TFRM_capturaDevolucion& c) {
        c.escribeCantidad(cantidad);
        c.eligeEstado("Dañado");
        c.BTN_aceptarClick();
      });
    if (tipo == DEVOLUCION_NOTA_CREDITO)
      r.manejadores.push_back([](QDialog* d) {
        auto* f = qobject_cast<TFRM_facturar*>(d);
        f->BTN_facturarClick();
        if (d->result() != QDialog::Accepted) f->BTN_cancelarClick();
        return d->result();
      });
    pantalla.init();
  }

  QJsonArray notasEnElServicio() {
    QJsonArray notas;
    for (const QJsonValue& f : sandbox.facturas())
      if (f.toObject()["tipoDocumento"].toString() == "CRE") notas.append(f);
    return notas;
  }

  std::unique_ptr<TiendaDevoluciones> tienda;
  TiendaDevoluciones::Venta venta;
  int refresco = 0;
  RespondedorPrueba r;
  SandboxPrueba sandbox;
};

TEST_P(PantallasDevolucion, NotaDeCreditoYLasListas) {
  // Not invoiced yet: only an exchange, and the screen says why.
  TFRM_devolucion pantalla;
  r.manejadores.push_back([&](QDialog* d) {
    pantalla.escribeTicket(QString::number(venta.ticketNo));
    pantalla.buscar();
    EXPECT_TRUE(pantalla.notaNoFacturadaVisible());
    EXPECT_FALSE(pantalla.tiposHabilitados());
    EXPECT_EQ(pantalla.tipoElegido(), DEVOLUCION_CAMBIO_FISICO);
    EXPECT_FALSE(pantalla.eligeTipo(DEVOLUCION_NOTA_CREDITO));
    pantalla.BTN_cancelarClick();
    return d->result();
  });
  pantalla.init();

  const QString uuidVenta = factura();
  ASSERT_FALSE(uuidVenta.isEmpty());
  devuelveRefrescos(pantalla, "2", DEVOLUCION_NOTA_CREDITO);
  ASSERT_TRUE(pantalla.aceptada());
  const TresultadoDevolucion& resultado = pantalla.resultado();
  EXPECT_TRUE(resultado.mensajes.isEmpty()) << resultado.mensajes.join(" | ").toStdString();
  ASSERT_TRUE(resultado.notaEmitida) << r.textos().join(" | ").toStdString();
  EXPECT_EQ(resultado.devoluciones.size(), 1);
  EXPECT_EQ(r.preguntas.last(),
            "¿Realizar devolución?\n\rCompruebe que la información capturada sea correcta ");

  const QJsonArray notas = notasEnElServicio();
  ASSERT_EQ(notas.size(), 1);
  const QJsonObject nota = notas[0].toObject();
  EXPECT_EQ(nota["uuid"].toString(), resultado.uuidNota);
  EXPECT_TRUE(nota["idempotencia"].toObject()["clave"].toString().startsWith("nota-1-"));
  const QJsonObject solicitud = nota["factura"].toObject();
  EXPECT_EQ(solicitud["relacionados"].toArray(), QJsonArray{uuidVenta});
  EXPECT_EQ(solicitud["receptor"].toObject()["rfc"].toString(), "XOJI740919U48");
  const QJsonArray conceptos = solicitud["conceptos"].toArray();
  ASSERT_EQ(conceptos.size(), 1);
  EXPECT_EQ(conceptos[0].toObject()["cantidad"].toDouble(), 2);
  EXPECT_EQ(conceptos[0].toObject()["importe"].toDouble(), 40);
  EXPECT_EQ(solicitud["total"].toDouble(), 46.4);
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kRefresco), 9);
  EXPECT_DOUBLE_EQ(tienda->devuelto(refresco), 2);

  TFRM_notasCreditoPunto notasCredito;
  notasCredito.init();
  ASSERT_EQ(notasCredito.grid().getRowCount(), 1);
  EXPECT_EQ(notasCredito.grid().getCelda("Comprobante", 0), uuidVenta);
  EXPECT_EQ(notasCredito.grid().getCelda("Nota de Crédito", 0), resultado.uuidNota);
  EXPECT_EQ(notasCredito.grid().getCelda("RFC", 0), "XOJI740919U48");
  // A touch on either UUID opens its PDF, fetched from the service the first time.
  abreConProgramaPredeterminadoOlvida();
  for (const char* columna : {"Nota de Crédito", "Comprobante"}) {
    const QString uuid = notasCredito.grid().getCelda(columna, 0);
    const QString ruta =
        notasCredito.verPDF(0, notasCredito.grid().indiceColumna(QString::fromUtf8(columna)));
    EXPECT_TRUE(ruta.endsWith(uuid + ".pdf")) << ruta.toStdString();
    QFile pdf(ruta);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << r.textos().join(" | ").toStdString();
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
  }
  EXPECT_EQ(abreConProgramaPredeterminadoSolicitudes().size(), 2);
  EXPECT_TRUE(notasCredito.verPDF(0, notasCredito.grid().indiceColumna("RFC")).isEmpty());
  notasCredito.escribeUuidVenta(uuidVenta.left(8).toLower());
  notasCredito.buscar();
  EXPECT_EQ(notasCredito.grid().getRowCount(), 1);
  notasCredito.escribeUuidVenta("FFFFFFFF");
  notasCredito.buscar();
  EXPECT_EQ(notasCredito.grid().getRowCount(), 0);
  EXPECT_EQ(notasCredito.texto("Mensaje"), "No hay elementos que mostrar");
  notasCredito.BTN_verTodosClick();
  EXPECT_EQ(notasCredito.grid().getRowCount(), 1);

  TFRM_devolucionesPuntoVenta devoluciones;
  devoluciones.init();
  ASSERT_EQ(devoluciones.grid().getRowCount(), 1);
  EXPECT_EQ(devoluciones.grid().getCelda("Ticket", 0), QString::number(venta.ticketNo));
  EXPECT_EQ(devoluciones.grid().getCelda("Cantidad", 0), "2");
  EXPECT_EQ(devoluciones.grid().getCelda("Estado", 0), "Dañado");
  // "0" is no ticket: the grid keeps what it shows.
  devoluciones.escribeTicket("0");
  devoluciones.buscar();
  EXPECT_EQ(devoluciones.grid().getRowCount(), 1);
  devoluciones.escribeTicket("999");
  devoluciones.buscar();
  EXPECT_EQ(devoluciones.grid().getRowCount(), 0);
  // A second opening does not search by itself.
  devoluciones.init();
  EXPECT_EQ(devoluciones.grid().getRowCount(), 0);
}

TEST_P(PantallasDevolucion, RespuestaPerdidaNoTimbraDosNotas) {
  factura();
  TtimbraFacturaConWS::setTiempoEsperaPredeterminado(800);
  ASSERT_TRUE(sandbox.modo("lento", 2500));
  TFRM_devolucion pantalla;
  devuelveRefrescos(pantalla, "3", DEVOLUCION_NOTA_CREDITO);
  EXPECT_FALSE(pantalla.resultado().notaEmitida);
  EXPECT_TRUE(r.textos().join("|").contains("no respondió a tiempo"))
      << r.textos().join(" | ").toStdString();
  EXPECT_TRUE(r.textos().last().startsWith("No se confirmó si la nota de crédito se timbró."));
  EXPECT_EQ(tienda->devoluciones(), 0);
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kRefresco), 7);
  // The service stamped it all the same, once its slow answer was on its way.
  ASSERT_TRUE(sandbox.modo("normal"));
  QElapsedTimer espera;
  espera.start();
  while (notasEnElServicio().isEmpty() && espera.elapsed() < 5000) QThread::msleep(100);
  ASSERT_EQ(notasEnElServicio().size(), 1);

  // The retry brings the same return back and gets the same credit note.
  TFRM_devolucion otra;
  devuelveRefrescos(otra, QString(), DEVOLUCION_NOTA_CREDITO, false);
  EXPECT_TRUE(
      otra.textoMensaje().startsWith("Esta venta tiene una nota de crédito que no se "
                                     "confirmó."));
  ASSERT_TRUE(otra.resultado().notaEmitida) << r.textos().join(" | ").toStdString();
  const QJsonArray notas = notasEnElServicio();
  ASSERT_EQ(notas.size(), 1);
  EXPECT_EQ(notas[0].toObject()["uuid"].toString(), otra.resultado().uuidNota);
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kRefresco), 10);
  EXPECT_DOUBLE_EQ(tienda->devuelto(refresco), 3);
}

TEST_P(PantallasDevolucion, ServicioCaidoNoRegistraNada) {
  factura();
  ASSERT_TRUE(sandbox.modo("error"));
  TFRM_devolucion pantalla;
  devuelveRefrescos(pantalla, "1", DEVOLUCION_NOTA_CREDITO);
  EXPECT_FALSE(pantalla.resultado().notaEmitida);
  EXPECT_TRUE(r.textos().join("|").contains("Servicio no disponible"));
  EXPECT_EQ(tienda->devoluciones(), 0);
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kRefresco), 7);
  EXPECT_TRUE(notasEnElServicio().isEmpty());

  // Until it is retried, the sale offers nothing but that credit note.
  TFRM_devolucion cambio;
  r.manejadores.push_back([&](QDialog* d) {
    cambio.escribeTicket(QString::number(venta.ticketNo));
    cambio.buscar();
    EXPECT_FALSE(cambio.tiposHabilitados());
    EXPECT_EQ(cambio.tipoElegido(), DEVOLUCION_NOTA_CREDITO);
    cambio.BTN_cancelarClick();
    return d->result();
  });
  cambio.init();

  ASSERT_TRUE(sandbox.modo("normal"));
  TFRM_devolucion reintento;
  devuelveRefrescos(reintento, QString(), DEVOLUCION_NOTA_CREDITO, false);
  ASSERT_TRUE(reintento.resultado().notaEmitida) << r.textos().join(" | ").toStdString();
  EXPECT_EQ(notasEnElServicio().size(), 1);
  EXPECT_DOUBLE_EQ(tienda->existencia(TiendaDevoluciones::kRefresco), 8);
}

INSTANCIA_AMBOS_MOTORES(PantallasDevolucion);

}  // namespace
