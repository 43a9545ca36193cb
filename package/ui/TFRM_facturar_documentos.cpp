// The invoicing screen for requests prepared elsewhere: the global invoice to the general public
// and the credit note of a return. The user sees what will be stamped and confirms.
#include <QDateTime>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "operaciones/clientes.h"
#include "ui/TFRM_facturar.h"
#include "ui/TTecladoCampos.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

namespace {

QLabel* valor(QWidget* padre) {
  auto* l = new QLabel(padre);
  l->setProperty("rol", QStringLiteral("valor"));
  l->setWordWrap(true);
  return l;
}

QLabel* leyenda(const QString& texto, QWidget* padre) {
  auto* l = new QLabel(texto, padre);
  l->setProperty("rol", QStringLiteral("leyenda"));
  return l;
}

// Concept columns as the module names them; a request may carry only some of them.
QString celda(const TTablaLT& t, const char* columna, int fila) {
  return t.getCelda(QLatin1String(columna), fila);
}

}  // namespace

QWidget* TFRM_facturar::construyeResumen() {
  auto* pagina = new QWidget(this);
  auto* v = new QVBoxLayout(pagina);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(10);
  auto* g = new QGridLayout();
  g->setHorizontalSpacing(28);
  g->setVerticalSpacing(2);
  LBL_receptor = valor(pagina);
  LBL_usoCFDI = valor(pagina);
  LBL_relacionado = valor(pagina);
  g->addWidget(leyenda(QStringLiteral("Receptor"), pagina), 0, 0);
  g->addWidget(LBL_receptor, 1, 0);
  g->addWidget(leyenda(QStringLiteral("Uso del CFDI"), pagina), 0, 1);
  g->addWidget(LBL_usoCFDI, 1, 1);
  uLeyendaRelacionado = leyenda(QStringLiteral("Relacionado con"), pagina);
  g->addWidget(uLeyendaRelacionado, 2, 0, 1, 2);
  g->addWidget(LBL_relacionado, 3, 0, 1, 2);
  g->setColumnStretch(0, 3);
  g->setColumnStretch(1, 2);
  v->addLayout(g);

  GRD_conceptos = new QTableWidget(0, 4, pagina);
  GRD_conceptos->setHorizontalHeaderLabels({QStringLiteral("Cantidad"), QStringLiteral("Concepto"),
                                            QStringLiteral("Clave"), QStringLiteral("Importe")});
  GRD_conceptos->verticalHeader()->hide();
  GRD_conceptos->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GRD_conceptos->setSelectionMode(QAbstractItemView::NoSelection);
  GRD_conceptos->verticalHeader()->setDefaultSectionSize(34);
  QHeaderView* h = GRD_conceptos->horizontalHeader();
  h->setSectionResizeMode(0, QHeaderView::Fixed);
  h->setSectionResizeMode(1, QHeaderView::Stretch);
  h->setSectionResizeMode(2, QHeaderView::Fixed);
  h->setSectionResizeMode(3, QHeaderView::Fixed);
  GRD_conceptos->setColumnWidth(0, 100);
  GRD_conceptos->setColumnWidth(2, 140);
  GRD_conceptos->setColumnWidth(3, 150);
  v->addWidget(GRD_conceptos, 1);
  LBL_importes = valor(pagina);
  LBL_importes->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  v->addWidget(LBL_importes);
  return pagina;
}

void TFRM_facturar::muestraSolicitud(const datosFacturar& d) {
  uPaginas->setCurrentIndex(1);
  LBL_receptor->setText(d.receptorRfc + QStringLiteral(" · ") + d.receptorNombre);
  LBL_usoCFDI->setText(u_descripcionClaveSAT(u_catalogoUsoCFDI(), d.usoCFDI));
  LBL_relacionado->setText(d.relacionados.join(QStringLiteral(", ")));
  LBL_relacionado->setVisible(!d.relacionados.isEmpty());
  uLeyendaRelacionado->setVisible(!d.relacionados.isEmpty());
  const TTablaLT& c = d.conceptos;
  GRD_conceptos->setRowCount(c.numFilas());
  for (int i = 0; i < c.numFilas(); ++i) {
    const double cantidad = u_strToFloat(celda(c, "_cantidad", i));
    const QString importe = celda(c, "_importe", i);
    const double monto =
        importe.isEmpty()
            ? u_truncaDecimales(cantidad * u_strToFloat(celda(c, "_precioVenta", i)), 2)
            : u_strToFloat(importe);
    const QStringList textos = {u_floatToStr(cantidad), celda(c, "inventarioProducto_nombre", i),
                                celda(c, "inventarioProducto_clave", i), u_formatoMoneda(monto)};
    for (int k = 0; k < textos.size(); ++k) {
      auto* item = new QTableWidgetItem(textos[k]);
      item->setTextAlignment(k == 3 ? (Qt::AlignRight | Qt::AlignVCenter)
                                    : (Qt::AlignLeft | Qt::AlignVCenter));
      GRD_conceptos->setItem(i, k, item);
    }
  }
  LBL_importes->setText(QStringLiteral("Subtotal %1     Descuento %2     Total %3")
                            .arg(u_formatoMoneda(u_strToFloat(d.subtotal)),
                                 u_formatoMoneda(u_strToFloat(d.descuento)),
                                 u_formatoMonedaMXN(u_strToFloat(d.total))));
  LBL_fecha->setText(u_fechaHoraTexto(QDateTime::currentDateTime()));
  LBL_total->setText(u_formatoMonedaMXN(u_strToFloat(d.total)));
  LBL_formaPago->setText(u_descripcionClaveSAT(u_catalogoFormaPago(), d.formaPago));
}

QString TFRM_facturar::initGlobal(const datosFacturar& datos, TsistemaDatos& sys) {
  uSys = &sys;
  uOperacionID = 0;
  limpia();
  uModo = Modo::Global;
  if (!sys.conexion || !compruebaNegocio()) return QString();
  if (datos.ticketsReferencia.isEmpty() && datos.conceptos.numFilas() == 0) {
    u_mensaje(QStringLiteral("No hay tickets que facturar"));
    return QString();
  }
  uSolicitud = datos;
  LBL_titulo->setText(QStringLiteral("Factura Global"));
  LBL_ticketLeyenda->setText(QStringLiteral("Tickets"));
  LBL_ticket->setText(
      QString::number(qMax<qsizetype>(datos.ticketsReferencia.size(), datos.conceptos.numFilas())));
  muestraSolicitud(datos);
  u_ejecutaModal(this);
  return uFacturado ? uUuid : QString();
}

bool TFRM_facturar::initPuntoVentaNotaDeCredito(int ticketID, const datosFacturar& datos,
                                                TsistemaDatos& sys) {
  uSys = &sys;
  uOperacionID = ticketID;
  limpia();
  uModo = Modo::NotaDeCredito;
  if (!sys.conexion || !compruebaNegocio()) return false;
  if (datos.relacionados.isEmpty() || datos.relacionados.first().trimmed().isEmpty()) {
    u_mensaje(
        QStringLiteral("La venta no tiene una factura con la cual relacionar la nota de "
                       "crédito"));
    return false;
  }
  if (datos.conceptos.numFilas() == 0) {
    u_mensaje(QStringLiteral("No hay conceptos para la nota de crédito"));
    return false;
  }
  uSolicitud = datos;
  // The return knows the receiver by its invoice; what CFDI 4.0 also asks of it (postal code,
  // tax regime) is kept with the receiver.
  if (uSolicitud.receptorCodigoPostal.isEmpty() || uSolicitud.receptorRegimen.isEmpty()) {
    const CmidTierResponse receptor =
        buscaReceptorPorRfc(uSolicitud.receptorRfc, sys.getIdNegocio(), sys.getConexion());
    if (receptor.getRowCount() > 0) {
      if (uSolicitud.receptorCodigoPostal.isEmpty())
        uSolicitud.receptorCodigoPostal =
            receptor.getCelda(QStringLiteral("Receptor_codigoPostal"));
      if (uSolicitud.receptorRegimen.isEmpty())
        uSolicitud.receptorRegimen = receptor.getCelda(QStringLiteral("Receptor_regimenFiscal"));
      if (uSolicitud.receptorCorreo.isEmpty())
        uSolicitud.receptorCorreo = receptor.getCelda(QStringLiteral("Receptor_correo"));
    }
  }
  // The general public (a sale in a global invoice) needs neither.
  if ((uSolicitud.receptorCodigoPostal.isEmpty() || uSolicitud.receptorRegimen.isEmpty()) &&
      uSolicitud.receptorRfc.trimmed().toUpper() != QLatin1String(RFC_PUBLICO_GENERAL)) {
    u_mensaje(QStringLiteral("Faltan el código postal o el régimen fiscal del cliente %1")
                  .arg(uSolicitud.receptorRfc));
    return false;
  }
  LBL_titulo->setText(QStringLiteral("Nota de Crédito"));
  const CmidTierResponse ticket =
      buscaTicketParaFacturar(ticketID, sys.getIdNegocio(), sys.getConexion());
  LBL_ticket->setText(ticket.getCelda(QStringLiteral("puntoOperacion_ticketNo")));
  muestraSolicitud(uSolicitud);
  u_ejecutaModal(this);
  return uFacturado;
}

void TFRM_facturar::facturaDocumento() {
  const bool nota = uModo == Modo::NotaDeCredito;
  const TresultadoTimbrado r = timbraSolicitud(uSolicitud);
  if (r.enviado) uTimbradoIncierto = r.ok || u_timbradoIncierto(r);
  if (!r.ok) {
    u_mensaje((nota ? QStringLiteral("No se pudo timbrar la nota de crédito:\r")
                    : QStringLiteral("No se pudo timbrar la factura:\r")) +
                  r.mensaje,
              mtError);
    return;
  }
  TcomprobanteEmitido c;
  c.uuid = r.uuid;
  c.tipoDocumento =
      uSolicitud.tipoDocumento.isEmpty() ? QStringLiteral("FAC") : uSolicitud.tipoDocumento;
  c.fecha = QDateTime::currentDateTime();
  c.operacionID = uOperacionID;
  c.receptorID = uSolicitud.receptorID > 0
                     ? uSolicitud.receptorID
                     : u_idReceptorPublicoGeneral(uSys->getIdNegocio(), uSys->getConexion());
  c.uuidRelacionado = uSolicitud.relacionados.value(0).trimmed();
  c.subtotal = u_strToFloat(uSolicitud.subtotal);
  c.descuento = u_strToFloat(uSolicitud.descuento);
  c.total = u_strToFloat(uSolicitud.total);
  QString error;
  if (!guardaComprobante(uSys->getIdNegocio(), c, uSys->getConexion(), &error)) {
    u_mensaje(QStringLiteral("El documento se timbró con UUID %1, pero no se pudo guardar: %2\r"
                             "Vuelva a presionar 'Facturar' para guardarlo.")
                  .arg(r.uuid, error),
              mtError);
    return;
  }
  uUuid = r.uuid;
  uFacturado = true;
  uTimbradoIncierto = false;
  u_mensaje((nota ? QStringLiteral("Nota de crédito generada correctamente.\rUUID: %1")
                  : QStringLiteral("Factura generada correctamente.\rUUID: %1"))
                .arg(r.uuid),
            mtInformacion);
  accept();
}
