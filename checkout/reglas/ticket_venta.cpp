#include "checkout/reglas/ticket_venta.h"

#include <QDir>
#include <QFile>

#include "context/TsistemaDatos.h"
#include "platform/resources/recursos.h"
#include "printer/miniPrinter.h"
#include "qr/FastQRCode.h"
#include "util/utilerias.h"

namespace {
QString carpetaApp() {
  return localSYS.carpetaAplicacion.isEmpty() ? QDir::currentPath() : localSYS.carpetaAplicacion;
}
QString rfc() { return localSYS.getNegocio().getDatosFiscales().getRfc(); }
}  // namespace

QString generaCBB(const QString& identificador, const QString& ticketNo) {
  QString enlace;
  getEnlaceTicket(&enlace);
  return generaCBB(identificador, ticketNo, enlace);
}

QString generaCBB(const QString& identificador, const QString& ticketNo, const QString& enlace) {
  const QString carpeta =
      QDir(carpetaApp()).filePath(QStringLiteral("Temp/otros/") + rfc() + QStringLiteral("/cbb"));
  QDir().mkpath(carpeta);
  const QString archivo = carpeta + QLatin1Char('/') + QString::number(localSYS.getIdNegocio()) +
                          QLatin1Char('_') + ticketNo + QStringLiteral(".bmp");
  // The identifier goes into the link as it is, without encoding.
  const QString texto = enlace + QStringLiteral("?id=") + identificador;
  FastQRCode(texto.toLocal8Bit(), archivo.toLocal8Bit());
  return QFile::exists(archivo) ? archivo : QString();
}

TImpresionTicket armaTicketVenta(const TDatosTicketVenta& d, const TGridControl& lineas) {
  TImpresionTicket t;
  const TNegocio& negocio = localSYS.getNegocio();
  t.setNombreNegocio(negocio.getNombre());
  t.setRfc(negocio.getDatosFiscales().getRfc());
  t.setRazon(negocio.getDatosFiscales().getRazon());
  t.setLConceptos({});
  for (int r = 0; r < lineas.getRowCount(); ++r) {
    TConcepto c;
    c.setCantidad(lineas.getCeldaAsFloat(QStringLiteral("Cantidad"), r));
    c.setDescripcion(lineas.getCelda(QStringLiteral("Descripción"), r));
    c.setValorUnitario(lineas.getCeldaAsFloat(QStringLiteral("Precio Unitario"), r));
    c.setImporte(lineas.getCeldaAsFloat(QStringLiteral("Imp"), r));
    c.setCategoria(lineas.getCelda(QStringLiteral("Categoría"), r));
    t.getLConceptos().append(c);
  }
  t.setCajero(d.cajero);
  t.setNumeroTicket(QString::number(d.ticketNo));
  t.setFecha(QDateTime::currentDateTime());
  t.setCampoAdicional3(TCampoAdicional(QStringLiteral("Impuestos"), u_formatoMoneda(d.impuestos)));
  t.setCampoAdicional4(TCampoAdicional(QStringLiteral("Total"), u_formatoMoneda(d.total)));
  t.setCampoAdicional5(TCampoAdicional(QStringLiteral("Su Pago"), u_formatoMoneda(d.pagado)));
  t.setCampoAdicional6(TCampoAdicional(QStringLiteral("Devuelto"), u_formatoMoneda(d.devuelto)));
  t.setEfectivoValor(d.efectivoTexto);
  t.setFormaPago(d.formas);
  t.setArchivoCBB(QString());
  return t;
}

TTicketPreparado preparaTicket(TImpresionTicket t) {
  TTicketPreparado p;
  p.info.impresora = QString();
  p.info.altoRenglon = 26;
  p.info.anchoQR = 260;
  p.info.altoQR = 260;
  p.info.archivoLogo =
      QDir(carpetaApp())
          .filePath(QStringLiteral("Formatos/") + rfc() + QStringLiteral("/logoTicket.bmp"));
  p.info.ticket = std::move(t);
  p.cuerpo = componeCuerpoTicket(p.info);
  return p;
}

TTicketPreparado preparaTicketVenta(const TDatosTicketVenta& d, const TGridControl& lineas) {
  TTicketPreparado p = preparaTicket(armaTicketVenta(d, lineas));
  p.fechaAlImprimir = true;
  return p;
}

RECticketInfo imprimePreparado(TTicketPreparado p, const QString& identificador,
                               const QString& ticketNo, bool conPortal, QString enlace) {
  TImpresionTicket& t = p.info.ticket;
  if (p.fechaAlImprimir) {
    // Laid out before a wait for the service: a wait that crossed into another second
    // would print a time the receipt was not printed at.
    const QString formato = QStringLiteral("yyyyMMddHHmmss");
    const QDateTime ahora = QDateTime::currentDateTime();
    if (ahora.toString(formato) != t.getFecha().toString(formato)) {
      t.setFecha(ahora);
      p.cuerpo = componeCuerpoTicket(p.info);
    }
  }
  if (t.getArchivoCBB().isEmpty() && !identificador.isEmpty())
    t.setArchivoCBB(generaCBB(identificador, ticketNo));
  if (enlace.isEmpty()) getEnlaceTicket(&enlace);
  if (conPortal) {
    t.getEtiqueta1().setValor(QStringLiteral("Puede realizar su factura electrónica en: ") +
                              enlace);
    t.getEtiqueta2().setValor(identificador);
  }
  miniPrinterImprimeRenglones(p.info, p.cuerpo + componeFinTicket(p.info));
  return p.info;
}

RECticketInfo imprimeTicketArmado(TImpresionTicket t, const QString& identificador,
                                  const QString& ticketNo, bool conPortal, QString enlace) {
  return imprimePreparado(preparaTicket(std::move(t)), identificador, ticketNo, conPortal,
                          std::move(enlace));
}
