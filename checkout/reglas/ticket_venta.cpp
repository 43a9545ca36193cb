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
  const QString carpeta = QDir(carpetaApp()).filePath(QStringLiteral("Temp/otros/") + rfc() + QStringLiteral("/cbb"));
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

RECticketInfo imprimeTicket(const TDatosTicketVenta& d, const TGridControl& lineas) {
  return imprimeTicketArmado(armaTicketVenta(d, lineas), d.identificador,
                             QString::number(d.ticketNo), !d.requiereFactura);
}

RECticketInfo imprimeTicketArmado(TImpresionTicket t, const QString& identificador,
                                  const QString& ticketNo, bool conPortal, QString enlace) {
  if (t.getArchivoCBB().isEmpty() && !identificador.isEmpty())
    t.setArchivoCBB(generaCBB(identificador, ticketNo));
  RECticketInfo info;
  info.impresora = QString();
  info.altoRenglon = 26;
  info.anchoQR = 260;
  info.altoQR = 260;
  info.archivoLogo = QDir(carpetaApp()).filePath(QStringLiteral("Formatos/") + rfc() + QStringLiteral("/logoTicket.bmp"));
  if (enlace.isEmpty()) getEnlaceTicket(&enlace);
  if (conPortal) {
    t.getEtiqueta1().setValor(QStringLiteral("Puede realizar su factura electrónica en: ") + enlace);
    t.getEtiqueta2().setValor(identificador);
  }
  info.ticket = t;
  miniPrinterImprimeTicket3(info);
  return info;
}
