// The session view and the closings control as a supervisor uses them: the grids and charts
// against the amounts of TiendaSesiones.h, the faults of the number field, the ticket and
// invoice-PDF actions of a ticket row, and the closings list with its cashier filter.
#include <gtest/gtest.h>

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDir>
#include <QFile>

#include "facturacion/pdfFacturas.h"
#include "grid/TGridControl.h"
#include "sessions/TFRM_controlCierres.h"
#include "sessions/TFRM_verSesion.h"
#include "sessions/TiendaSesiones.h"
#include "sessions/graficaBarras.h"
#include "sessions/respuestasSesion.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/programaPredeterminado.h"
#include "support/FilasPrueba.h"
#include "support/RespondedorPrueba.h"
#include "support/SandboxPrueba.h"
#include "tickets/TFRM_tickerVer.h"

namespace {

// The values the chart draws, series by series.
QList<QList<double>> barras(const TGraficaBarras& g) {
  QList<QList<double>> v;
  for (QAbstractSeries* s : g.grafica()->series())
    for (QBarSet* b : static_cast<QAbstractBarSeries*>(s)->barSets()) {
      QList<double> serie;
      for (int i = 0; i < b->count(); ++i) serie << b->at(i);
      v << serie;
    }
  return v;
}

// A screen of the session tests, shown at `ancho` x `alto` over the hand-made store.
template <class Pantalla, int ancho, int alto>
class PantallaSesion : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    t = std::make_unique<TiendaSesiones>(conexion());
    db->llenaLocalSYS(1);
    p = std::make_unique<Pantalla>();
    p->resize(ancho, alto);
    p->show();
  }
  void TearDown() override {
    p.reset();
    localSYS = TsistemaDatos();
    PruebaAmbosMotores::TearDown();
  }
  std::unique_ptr<TiendaSesiones> t;
  std::unique_ptr<Pantalla> p;
  RespondedorPrueba r;
};

class VerSesion : public PantallaSesion<TFRM_verSesion, 1200, 720> {
 protected:
  TFRM_verSesion* v = nullptr;
  void SetUp() override {
    PantallaSesion::SetUp();
    v = p.get();
  }
  void abre(const QString& numero) {
    v->escribe("No. Sesión", numero);
    v->pulsa("Buscar");
  }
};

TEST_P(VerSesion, GridsTotalYGraficasDeLaSesion) {
  v->escribe("No. Sesión", QString::number(t->sesionA));
  v->pulsaEnter("No. Sesión");
  EXPECT_TRUE(r.textos().isEmpty()) << r.textos().join("|").toStdString();
  EXPECT_EQ(v->texto("Total"), "$ 1,422.36");
  EXPECT_EQ(columnaDe(v->gridTickets(), "Ticket NO."), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(columnaDe(v->gridTickets(), "UUID"), (QStringList{"", "", "UUID-T3"}));
  EXPECT_EQ(columnaDe(v->gridProductos(), "Cantidad"), (QStringList{"2.255", "5"}));
  EXPECT_EQ(columnaDe(v->gridMetodoPago(), "Metodo de Pago"),
            (QStringList{"Efectivo", "Tarjeta", "Transferencia"}));
  EXPECT_EQ(columnaDe(v->gridMetodoPago(), "Total"), (QStringList{"1097.20", "90.60", "234.56"}));
  EXPECT_TRUE(v->texto("Sesión").contains("Cierre: 02/03/2026 18:00"));

  EXPECT_EQ(v->graficaVentas().datos().categorias, (QStringList{"9 h", "10 h", "11 h"}));
  EXPECT_EQ(barras(v->graficaVentas()), (QList<QList<double>>{{187.8, 0, 1234.56}}));
  EXPECT_EQ(barras(v->graficaMetodos()), (QList<QList<double>>{{1097.2, 90.6, 234.56}}));
  const QStringList etiquetas = v->graficaVentas().etiquetasMonto();
  ASSERT_FALSE(etiquetas.isEmpty());
  EXPECT_EQ(etiquetas.first(), "$ 0.00");
  EXPECT_EQ(etiquetas.last(), "$ 1,500.00");

  // The three grids take turns in front; an empty field searches nothing and keeps them.
  v->pulsa("Ver Productos");
  EXPECT_EQ(v->gridAlFrente(), 1);
  v->pulsa("Ver Metodo Pago");
  EXPECT_EQ(v->gridAlFrente(), 2);
  v->escribe("No. Sesión", "  ");
  v->pulsa("Buscar");
  EXPECT_EQ(v->gridTickets().getRowCount(), 3);
  EXPECT_EQ(v->sesionMostrada(), t->sesionA);
}

TEST_P(VerSesion, NumerosQueNoSirvenDejanLaPantallaUsable) {
  struct Caso {
    QString numero;
    QString mensaje;
  };
  const QList<Caso> casos = {
      {"999999", "La sesión 999999 no existe en este negocio."},
      {QString::number(t->sesionOtro),
       QString("La sesión %1 no existe en este negocio.").arg(t->sesionOtro)},
      {"12a", "El número de sesión solo admite dígitos: \"12a\" no es un número."},
  };
  for (const Caso& c : casos) {
    abre(QString::number(t->sesionA));
    ASSERT_EQ(v->gridTickets().getRowCount(), 3);
    r.mensajes.clear();
    abre(c.numero);
    EXPECT_EQ(r.textos(), QStringList{c.mensaje});
    // Nothing of the session shown before stays under the new number.
    EXPECT_EQ(v->gridTickets().getRowCount(), 0);
    EXPECT_EQ(v->gridMetodoPago().getRowCount(), 0);
    EXPECT_EQ(v->texto("Total"), "$ 0.00");
    EXPECT_TRUE(v->graficaVentas().muestraVacia());
    EXPECT_TRUE(v->graficaVentas().textoVacia().contains("Esta sesión no tiene ventas."));
  }
  // Letters cannot be typed at all.
  v->escribe("No. Sesión", "");
  v->teclea("No. Sesión", "4x2");
  EXPECT_EQ(v->texto("No. Sesión"), "42");

  // An open session shows what it has so far, and says it is open.
  r.mensajes.clear();
  abre(QString::number(t->sesionB));
  EXPECT_TRUE(r.textos().isEmpty());
  EXPECT_EQ(v->texto("Total"), "$ 50.00");
  EXPECT_TRUE(v->texto("Sesión").contains("Sesión abierta"));
}

TEST_P(VerSesion, FilaDeTicketAbreElTicket) {
  abre(QString::number(t->sesionA));
  int abierto = 0;
  r.manejadores.push_back([&](QDialog* d) {
    auto* ticket = qobject_cast<TFRM_tickerVer*>(d);
    EXPECT_TRUE(ticket);
    if (ticket) abierto = ticket->uOperacionID;
    return int(QDialog::Accepted);
  });
  v->pulsaCelda("Tickets", 2, 0);
  EXPECT_EQ(abierto, t->ticketFacturado);
  // A ticket without an invoice: its UUID cell does nothing.
  abreConProgramaPredeterminadoOlvida();
  v->pulsaCelda("Tickets", 0, 5);
  EXPECT_TRUE(r.textos().isEmpty());
  EXPECT_TRUE(abreConProgramaPredeterminadoSolicitudes().isEmpty());
  EXPECT_EQ(r.dialogos.size(), 1);
}

INSTANCIA_AMBOS_MOTORES(VerSesion);

// The invoice PDF of a ticket row against the real sandbox.
TEST(VerSesionPdf, DescargaUnaVezYFallasSinArchivo) {
  auto db = BaseDatosPrueba::crea(Motor::SQLite);
  ASSERT_TRUE(db);
  TiendaSesiones t(db->conexion());
  CatalogoPrueba(db->conexion()).credencialesCifradas(db->carpeta());
  db->llenaLocalSYS(1);
  SandboxPrueba sandbox;
  ASSERT_TRUE(sandbox.arrancaParaTienda());
  const QJsonArray generados = sandbox.generaTickets("EKU9003173C9", 1);
  ASSERT_EQ(generados.size(), 1);
  const QString uuid = sandbox.facturaEnPortal(generados[0].toObject()["identificador"].toString());
  ASSERT_FALSE(uuid.isEmpty());
  t.s.valor("UPDATE puntoOperacionAdicional SET uuid = :u", {{"u", uuid}});
  const QString carpeta = u_carpetaPDFFacturas(localSYS.carpetaAplicacion, "EKU9003173C9");
  const QString ruta = carpeta + "/" + uuid + ".pdf";
  RespondedorPrueba r;
  TFRM_verSesion v;
  v.resize(1200, 720);
  v.show();
  v.escribe("No. Sesión", QString::number(t.sesionA));
  v.pulsa("Buscar");
  abreConProgramaPredeterminadoOlvida();

  const auto sinArchivo = [&](const QString& mensaje) {
    r.mensajes.clear();
    v.pulsaCelda("Tickets", 2, 5);
    EXPECT_EQ(r.textos(), QStringList{mensaje});
    EXPECT_TRUE(QDir(carpeta).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(abreConProgramaPredeterminadoSolicitudes().isEmpty());
  };
  ASSERT_TRUE(sandbox.modo("error"));
  sinArchivo(
      "El servicio de facturación no pudo entregar el PDF (error 500): Servicio no "
      "disponible");
  sandbox.detiene();
  sinArchivo("No se pudo conectar con el servicio de facturación");

  ASSERT_TRUE(sandbox.arrancaParaTienda());
  ASSERT_TRUE(sandbox.modo("normal"));
  r.mensajes.clear();
  v.pulsaCelda("Tickets", 2, 5);
  EXPECT_TRUE(r.textos().isEmpty()) << r.textos().join("|").toStdString();
  EXPECT_EQ(v.ultimoPDF(), ruta);
  EXPECT_EQ(QDir(carpeta).entryList(QDir::Files), QStringList{uuid + ".pdf"});
  // Once on disk it opens without the service.
  sandbox.detiene();
  v.pulsaCelda("Tickets", 2, 5);
  EXPECT_TRUE(r.textos().isEmpty());
  EXPECT_EQ(abreConProgramaPredeterminadoSolicitudes(), (QStringList{ruta, ruta}));
  localSYS = TsistemaDatos();
}

class ControlCierres : public PantallaSesion<TFRM_controlCierres, 1000, 700> {
 protected:
  TFRM_controlCierres* l = nullptr;
  void SetUp() override {
    PantallaSesion::SetUp();
    l = p.get();
  }
  void fechas(const QDate& desde, const QDate& hasta) {
    l->escribe("Fecha Inicial", desde.toString(Qt::ISODate));
    l->escribe("Fecha Final", hasta.toString(Qt::ISODate));
    l->pulsa("Buscar");
  }
};

TEST_P(ControlCierres, FechasCajeroYGrafica) {
  // The first display is today's, of every cashier: nothing stored today.
  l->init();
  EXPECT_EQ(l->grid().getRowCount(), 0);
  EXPECT_EQ(l->texto("Mensaje"), "No hay elementos que mostrar");
  EXPECT_TRUE(l->graficaRetiros().muestraVacia());

  const QDate d = TiendaSesiones::kDia;
  fechas(d, d.addDays(1));
  EXPECT_EQ(columnaDe(l->grid(), "Tipo"), (QStringList{"Corte", "Cierre", "Corte"}));
  EXPECT_EQ(columnaDe(l->grid(), "Monto"), (QStringList{"300", "1297.2", "20"}));
  EXPECT_EQ(barras(l->graficaRetiros()), (QList<QList<double>>{{1597.2, 0}, {0, 20}}));
  EXPECT_EQ(l->graficaRetiros().etiquetasMonto().last(), "$ 2,000.00");

  r.manejadores.push_back(eligeCajero("C02"));
  l->pulsa("Seleccionar cajero");
  EXPECT_EQ(l->texto("Cajero"), "Beto Pérez López");
  l->pulsa("Buscar");
  EXPECT_EQ(columnaDe(l->grid(), "Sesión"), QStringList{QString::number(t->sesionB)});
  // A cancelled selection puts every cashier back; the label keeps the last name.
  r.manejadores.push_back(eligeCajero(""));
  l->pulsa("Seleccionar cajero");
  l->pulsa("Buscar");
  EXPECT_EQ(l->grid().getRowCount(), 3);
  EXPECT_EQ(l->texto("Cajero"), "Beto Pérez López");

  // Reversed dates: told, and the list stays as it was.
  fechas(d.addDays(1), d);
  EXPECT_EQ(r.textos().last(), "La fecha inicial es posterior a la fecha final.");
  EXPECT_EQ(l->grid().getRowCount(), 3);

  // "Ver Sesión" opens the session view with its field empty.
  QString numero = "sin abrir";
  r.manejadores.push_back([&](QDialog* dlg) {
    auto* s = qobject_cast<TFRM_verSesion*>(dlg);
    EXPECT_TRUE(s);
    if (s) numero = s->texto("No. Sesión");
    return int(QDialog::Accepted);
  });
  l->pulsa("Ver Sesión");
  EXPECT_EQ(numero, "");
}

INSTANCIA_AMBOS_MOTORES(ControlCierres);

TEST(ControlCierresPintura, MontoVacioQuedaVacio) {
  EXPECT_EQ(TDelegadoLista::textoCelda("", TPintura::Moneda), "");
  EXPECT_EQ(TDelegadoLista::textoCelda("1297.2", TPintura::Moneda), "$ 1,297.20");
  EXPECT_EQ(TDelegadoLista::textoCelda("$1,297.2", TPintura::Moneda), "$ 1,297.20");
}

}  // namespace
