// Receipts are checked the way a printer would see them: the ESC/POS stream written to each
// destination is decoded back into lines and pictures.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "lectorQR.h"
#include "printer/composicionTicket.h"
#include "printer/decodificadorEscPos.h"
#include "printer/miniPrinter.h"
#include "qr/FastQRCode.h"
#include "textoQt.h"
#include "ticketMuestra.h"

namespace {

QByteArray leeArchivo(const QString& ruta) {
  QFile f(ruta);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Impresora : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString logo;
  QString qr;
  QString salida;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    logo = dir.filePath(QStringLiteral("Formatos/AUN010101AB1/logoTicket.bmp"));
    QDir().mkpath(QFileInfo(logo).absolutePath());
    QImage img(200, 80, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(0, 0, 100, 80, Qt::black);
    p.end();
    ASSERT_TRUE(img.save(logo, "BMP"));
    qr = dir.filePath(QStringLiteral("cbb/1_77.bmp"));
    QDir().mkpath(QFileInfo(qr).absolutePath());
    ASSERT_TRUE(FastQRCode(kTextoQRMuestra.toUtf8(), QFile::encodeName(qr)));
    salida = dir.filePath(QStringLiteral("tickets"));
    miniPrinterConfigura(salida);
  }

  TDocumentoEscPos imprime(const RECticketInfo& info, TResultadoImpresion* r = nullptr) {
    miniPrinterImprimeTicket3(info);
    const TResultadoImpresion res = miniPrinterUltimoTicket();
    if (r) *r = res;
    return decodificaEscPos(leeArchivo(res.archivoEscPos));
  }
};

TEST_F(Impresora, ElTicketImpresoSeLeeCompleto) {
  TResultadoImpresion r;
  const TDocumentoEscPos doc = imprime(ticketMuestra(logo, qr), &r);
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_TRUE(r.error.isEmpty());
  EXPECT_EQ(QFileInfo(r.archivoEscPos).absolutePath(), QDir(salida).absolutePath());
  EXPECT_TRUE(QFileInfo(r.archivoEscPos).fileName().startsWith(QLatin1String("ticket_77_")));
  ASSERT_TRUE(doc.error.isEmpty()) << doc.error.toStdString();
  EXPECT_EQ(doc.inicializaciones, 1);
  EXPECT_EQ(doc.paginaCodigos, 16);
  for (const TLineaEscPos& l : doc.lineas) EXPECT_LE(l.texto.size(), 48) << l.texto.toStdString();

  // A line as "text|alignment|bold|double height".
  const auto linea = [&doc](int n) {
    const TLineaEscPos& l = doc.lineas.value(n);
    return QString("%1|%2|%3|%4").arg(l.texto).arg(l.alineacion).arg(l.negrita).arg(l.dobleAlto);
  };
  // Header: centred and bold, accents intact through the code page.
  const int nombre = doc.buscaLinea(QStringLiteral("Abarrotes La Única"));
  ASSERT_GE(nombre, 0);
  EXPECT_EQ(linea(nombre), "Abarrotes La Única|1|1|1");
  EXPECT_EQ(linea(nombre + 1), "RFC: AUN010101AB1|1|1|0");
  EXPECT_EQ(doc.lineas[nombre + 2].texto, QStringLiteral("Abarrotes La Única, S.A. de C.V."));
  const int rfc = nombre + 1;

  const int cajero = doc.buscaLinea(QStringLiteral("Cajero: Cajero Demo"));
  ASSERT_GT(cajero, rfc);
  EXPECT_EQ(linea(cajero), "Cajero: Cajero Demo|0|0|0");
  EXPECT_EQ(doc.buscaLinea(QStringLiteral("Ticket: 77")), cajero + 1);
  EXPECT_EQ(doc.buscaLinea(QStringLiteral("Fecha: 05/12/2024 14:30:00")), cajero + 2);

  // Concepts: quantity, description, unit price and amount on one line; a long description
  // continues underneath.
  const int c1 = doc.buscaLinea(QStringLiteral("Producto Muestra1"));
  ASSERT_GT(c1, cajero);
  EXPECT_EQ(doc.lineas[c1].texto.simplified(), QStringLiteral("5 Producto Muestra1 25.50 127.50"));
  EXPECT_TRUE(doc.lineas[c1].texto.endsWith(QLatin1String("127.50")));
  const QStringList l2 = doc.lineas[c1 + 1].texto.simplified().split(' ');
  EXPECT_EQ(l2.first(), QStringLiteral("1"));
  EXPECT_EQ(l2.mid(l2.size() - 2), QStringList({"1,600.00", "1,600.00"}));
  QString descripcion = l2.mid(1, l2.size() - 3).join(' ');
  int i = c1 + 2;
  for (; i < doc.lineas.size() && !doc.lineas[i].texto.contains(QStringLiteral("Jamón")); ++i) {
    descripcion += ' ' + doc.lineas[i].texto.trimmed();
  }
  EXPECT_EQ(descripcion, QStringLiteral("Café de olla con piloncillo y canela, bolsa"));
  ASSERT_LT(i, doc.lineas.size());
  EXPECT_EQ(doc.lineas[i].texto.simplified(), QStringLiteral("1.25 Jamón 180.00 225.00"));

  // The lines' sum, then the four fields, right-aligned, in order (no discount on this sale).
  const QStringList campos = {"Subtotal: $ 1,952.50", "Impuestos: $ 268.97", "Total: $ 2,221.47",
                              "Su Pago: $ 2,300.00", "Devuelto: $ 78.53"};
  int anterior = i;
  for (const QString& campo : campos) {
    const QString titulo = campo.section(':', 0, 0) + ':';
    const int n = doc.buscaLinea(titulo, anterior + 1);
    ASSERT_GT(n, anterior) << campo.toStdString();
    EXPECT_EQ(doc.lineas[n].texto.simplified(), campo);
    EXPECT_EQ(doc.lineas[n].alineacion, 2);
    anterior = n;
  }
  // Money signs line up under each other.
  EXPECT_EQ(doc.buscaLinea(QStringLiteral("Usted ahorró")), -1);
  EXPECT_TRUE(doc.lineas[anterior - 2].negrita);  // the total
  for (const int n : {anterior - 1, anterior - 2, anterior - 3, anterior - 4}) {
    EXPECT_EQ(doc.lineas[anterior].texto.size() - doc.lineas[anterior].texto.indexOf('$'),
              doc.lineas[n].texto.size() - doc.lineas[n].texto.indexOf('$'));
  }

  // Payments: cash as typed, then the rows with an amount; a zero row is not a payment.
  const int efectivo = doc.buscaLinea(QStringLiteral("Efectivo"), anterior);
  ASSERT_GT(efectivo, anterior);
  EXPECT_EQ(doc.lineas[efectivo].texto.simplified(), QStringLiteral("Efectivo $ 800.00"));
  EXPECT_EQ(doc.lineas[efectivo + 1].texto.simplified(),
            QStringLiteral("Tarjeta de Débito $ 1,500.00"));
  EXPECT_EQ(doc.lineas[efectivo + 2].texto.simplified(), QStringLiteral("Ref: 4321"));
  EXPECT_EQ(doc.lineas[efectivo].texto.indexOf('$'), doc.lineas[efectivo + 1].texto.indexOf('$'));
  EXPECT_EQ(doc.lineas[efectivo].texto.size(), 48);
  EXPECT_EQ(doc.buscaLinea(QStringLiteral("Vales")), -1);
  EXPECT_EQ(doc.buscaLinea(QStringLiteral("Otro")), -1);

  // The two free lines, wrapped at 48 columns and put back together whole.
  const int portal = doc.buscaLinea(QStringLiteral("Puede realizar"));
  ASSERT_GT(portal, efectivo);
  EXPECT_EQ(doc.lineas[portal].texto + ' ' + doc.lineas[portal + 1].texto, kPortalMuestra);
  EXPECT_EQ(doc.lineas[portal + 2].texto, QStringLiteral("6f1c2a9e-5b7d-4e0a-9c3f-2d8b1e4a7c55"));
  EXPECT_EQ(doc.lineas[portal + 2].alineacion, 1);

  // Logo before the header, QR after the identifier; both readable pictures.
  ASSERT_EQ(doc.imagenes.size(), 2);
  EXPECT_EQ(doc.imagenes[0].antesDeLinea, 0);
  EXPECT_EQ(doc.imagenes[0].imagen.size(), QSize(200, 80));
  EXPECT_EQ(doc.imagenes[0].imagen.pixelColor(50, 40), QColor(Qt::black));
  EXPECT_EQ(doc.imagenes[0].imagen.pixelColor(150, 40), QColor(Qt::white));
  EXPECT_GT(doc.imagenes[1].antesDeLinea, portal + 2);
  EXPECT_EQ(doc.imagenes[1].alineacion, 1);
  EXPECT_EQ(leeCodigosQR(doc.imagenes[1].imagen), QStringList{kTextoQRMuestra});

  EXPECT_EQ(doc.cortes, 1);
  EXPECT_TRUE(doc.cortaParcial);
  EXPECT_GT(doc.lineasAvanzadas, 0);
  EXPECT_TRUE(doc.pulsos.isEmpty());
}

TEST_F(Impresora, LaImagenDelTicketMuestraLoMismo) {
  RECticketInfo info = ticketMuestra(logo, qr);
  TResultadoImpresion r;
  const TDocumentoEscPos doc = imprime(info, &r);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(QFileInfo(r.archivoPng).absolutePath(), QFileInfo(r.archivoEscPos).absolutePath());
  EXPECT_EQ(QFileInfo(r.archivoPng).completeBaseName(),
            QFileInfo(r.archivoEscPos).completeBaseName());
  const QImage png(r.archivoPng);
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.width(), 576);
  EXPECT_EQ(png.format(), QImage::Format_Grayscale8);  // black on white is kept as grey
  int alturaMinima = 0;
  for (const TLineaEscPos& l : doc.lineas) alturaMinima += l.dobleAlto ? 52 : 26;
  for (const TImagenEscPos& im : doc.imagenes) alturaMinima += im.imagen.height();
  EXPECT_GE(png.height(), alturaMinima);
  EXPECT_LT(png.height(), alturaMinima + 200);
  EXPECT_EQ(leeCodigosQR(png), QStringList{kTextoQRMuestra});

  // The line height field of the record drives the picture.
  info.altoRenglon = 36;
  imprime(info, &r);
  EXPECT_GE(QImage(r.archivoPng).height(), png.height() + 10 * doc.lineas.size());
}

TEST_F(Impresora, SinLogoNiQRNiLineasLibres) {
  RECticketInfo info = ticketMuestra(dir.filePath(QStringLiteral("no/existe.bmp")), QString());
  info.ticket.getEtiqueta1().setValor(QString());
  info.ticket.getEtiqueta2().setValor(QString());
  info.ticket.setEfectivoValor(QString());
  TResultadoImpresion r;
  const TDocumentoEscPos doc = imprime(info, &r);
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_TRUE(doc.error.isEmpty());
  EXPECT_TRUE(doc.imagenes.isEmpty());
  EXPECT_EQ(doc.buscaLinea(QStringLiteral("Puede realizar")), -1);
  // Without the cash field (a reprint) the stored cash line is printed.
  EXPECT_GE(doc.buscaLinea(QStringLiteral("Efectivo")), 0);
  EXPECT_EQ(doc.cortes, 1);
}

TEST_F(Impresora, ElQRSeAmpliaEnPasosEnterosDentroDeSuCaja) {
  const QImage bmp(qr);
  RECticketInfo info = ticketMuestra(QString(), qr);
  for (const int caja : {260, 400, 100}) {
    info.anchoQR = info.altoQR = caja;
    const TDocumentoEscPos doc = imprime(info);
    ASSERT_EQ(doc.imagenes.size(), 1);
    const QImage impreso = doc.imagenes[0].imagen;
    EXPECT_LE(impreso.height(), caja);
    if (caja >= bmp.width()) {
      EXPECT_EQ(impreso.height(), bmp.height() * (caja / bmp.width())) << caja;
      EXPECT_EQ(leeCodigosQR(impreso), QStringList{kTextoQRMuestra}) << caja;
    }
  }
}

TEST_F(Impresora, LosControlesEnLosTextosNoLleganALaImpresora) {
  RECticketInfo info = ticketMuestra(QString(), QString());
  TConcepto c;
  c.setCantidad(1);
  c.setDescripcion(QStringLiteral("Pan\x1B@\x1DV\x01 dulce"));
  info.ticket.getLConceptos().append(c);
  info.ticket.setCajero(QStringLiteral("Ana\nLópez"));
  const TDocumentoEscPos doc = imprime(info);
  EXPECT_TRUE(doc.error.isEmpty()) << doc.error.toStdString();
  EXPECT_EQ(doc.inicializaciones, 1);
  EXPECT_EQ(doc.cortes, 1);
  EXPECT_GE(doc.buscaLinea(QStringLiteral("Pan @ V dulce")), 0);
  EXPECT_GE(doc.buscaLinea(QStringLiteral("Cajero: Ana López")), 0);
}

TEST_F(Impresora, ImpresoraDeRedRecibeElTicketYElPulsoDelCajon) {
  QTcpServer servidor;
  ASSERT_TRUE(servidor.listen(QHostAddress::LocalHost, 0));
  miniPrinterConfigura(QStringLiteral("127.0.0.1:%1").arg(servidor.serverPort()), salida);

  auto recibe = [&]() {
    QByteArray datos;
    if (!servidor.waitForNewConnection(3000)) return datos;
    QTcpSocket* s = servidor.nextPendingConnection();
    while (s->state() == QAbstractSocket::ConnectedState && s->waitForReadyRead(2000))
      datos += s->readAll();
    datos += s->readAll();
    delete s;
    return datos;
  };

  ASSERT_TRUE(miniPrinterImprimeTicket3(ticketMuestra(logo, qr)));
  const TResultadoImpresion r = miniPrinterUltimoTicket();
  EXPECT_TRUE(r.ok) << r.error.toStdString();
  const QByteArray recibido = recibe();
  EXPECT_EQ(recibido, leeArchivo(r.archivoEscPos));
  EXPECT_EQ(decodificaEscPos(recibido).buscaLinea(QStringLiteral("Ticket: 77")) >= 0, true);
  EXPECT_TRUE(QFileInfo::exists(r.archivoPng));

  ASSERT_TRUE(miniPrinterAbreCajon());
  EXPECT_EQ(recibe(), QByteArray::fromHex("1b700019fa"));

  // The record's own destination wins over the configured one.
  miniPrinterConfigura(dir.filePath(QStringLiteral("otra")));
  RECticketInfo info = ticketMuestra(QString(), QString());
  info.impresora = QStringLiteral("127.0.0.1:%1").arg(servidor.serverPort());
  ASSERT_TRUE(miniPrinterImprimeTicket3(info));
  EXPECT_EQ(decodificaEscPos(recibe()).cortes, 1);
}

TEST_F(Impresora, ImpresoraInalcanzableInformaSinDetenerse) {
  quint16 puerto = 0;
  {
    QTcpServer libre;
    ASSERT_TRUE(libre.listen(QHostAddress::LocalHost, 0));
    puerto = libre.serverPort();
  }
  miniPrinterConfigura(QStringLiteral("127.0.0.1:%1").arg(puerto), salida);
  EXPECT_FALSE(miniPrinterImprimeTicket3(ticketMuestra(logo, qr)));
  TResultadoImpresion r = miniPrinterUltimoTicket();
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.error.startsWith(QStringLiteral("No se pudo conectar con la impresora 127.0.0.1:")))
      << r.error.toStdString();
  // The picture is still there to look at.
  EXPECT_TRUE(QFileInfo::exists(r.archivoPng));
  EXPECT_FALSE(miniPrinterAbreCajon());
  EXPECT_FALSE(miniPrinterUltimoCajon().error.isEmpty());

  // A folder that cannot be made (a file is in the way).
  QFile(dir.filePath(QStringLiteral("archivo"))).open(QIODevice::WriteOnly);
  miniPrinterConfigura(dir.filePath(QStringLiteral("archivo/tickets")));
  EXPECT_FALSE(miniPrinterImprimeTicket3(ticketMuestra(logo, qr)));
  r = miniPrinterUltimoTicket();
  EXPECT_TRUE(r.error.startsWith(QStringLiteral("No se pudo crear la carpeta")))
      << r.error.toStdString();
  EXPECT_TRUE(r.archivoEscPos.isEmpty());

  miniPrinterConfigura(QStringLiteral("/dev/pos-no-existe/lp9"), salida);
  EXPECT_FALSE(miniPrinterImprimeTicket3(ticketMuestra(logo, qr)));
  r = miniPrinterUltimoTicket();
  EXPECT_TRUE(
      r.error.startsWith(QStringLiteral("No se pudo abrir la impresora /dev/pos-no-existe/lp9")))
      << r.error.toStdString();
}

TEST_F(Impresora, DispositivoYCajonEnCarpeta) {
  // Any existing file that is not a folder is written to like a printer device.
  const QString dispositivo = dir.filePath(QStringLiteral("lp0"));
  QFile(dispositivo).open(QIODevice::WriteOnly);
  miniPrinterConfigura(dispositivo, salida);
  ASSERT_TRUE(miniPrinterImprimeTicket3(ticketMuestra(logo, qr)));
  const TResultadoImpresion r = miniPrinterUltimoTicket();
  EXPECT_EQ(r.destino, dispositivo);
  EXPECT_EQ(leeArchivo(dispositivo), leeArchivo(r.archivoEscPos));
  ASSERT_TRUE(miniPrinterAbreCajon());
  EXPECT_TRUE(leeArchivo(dispositivo).endsWith(QByteArray::fromHex("1b700019fa")));

  miniPrinterConfigura(salida);
  ASSERT_TRUE(miniPrinterAbreCajon());
  const TResultadoImpresion cajon = miniPrinterUltimoCajon();
  const TDocumentoEscPos doc = decodificaEscPos(leeArchivo(cajon.archivoEscPos));
  ASSERT_EQ(doc.pulsos.size(), 1);
  EXPECT_EQ(doc.pulsos[0].pin, 0);
  EXPECT_EQ(doc.pulsos[0].encendido, 25);
  EXPECT_EQ(doc.pulsos[0].apagado, 250);
  EXPECT_TRUE(doc.lineas.isEmpty());
}

TEST(DecodificadorEscPos, SecuenciasIncompletasODesconocidas) {
  EXPECT_TRUE(decodificaEscPos(QByteArray::fromHex("1d7630000200"))
                  .error.startsWith(QStringLiteral("Secuencia incompleta")));
  EXPECT_TRUE(decodificaEscPos(QByteArray::fromHex("1b5a"))
                  .error.startsWith(QStringLiteral("Comando desconocido ESC 0x5a")));
  const TDocumentoEscPos doc = decodificaEscPos(QByteArray("hola\n") + QByteArray::fromHex("1b61"));
  EXPECT_EQ(doc.textos(), QStringList{"hola"});
  EXPECT_FALSE(doc.error.isEmpty());
}

}  // namespace

TEST(AjusteDeRenglones, PalabrasYCortesSinPerderNada) {
  const struct {
    const char* texto;
    int columnas;
    QStringList esperado;
  } casos[] = {
      {"Cabe   con espacios", 48, {"Cabe   con espacios"}},
      {"Refresco de cola sabor original", 10, {"Refresco", "de cola", "sabor", "original"}},
      {"abcdefghijklmnopqrstuvwxyz", 10, {"abcdefghij", "klmnopqrst", "uvwxyz"}},
      {"ver https://ejemplo.mx/facturar?id=123",
       12,
       {"ver https://", "ejemplo.mx/f", "acturar?id=1", "23"}},
      {"", 10, {""}},
  };
  for (const auto& c : casos)
    EXPECT_EQ(ajustaRenglones(QString::fromUtf8(c.texto), c.columnas), c.esperado) << c.texto;
  // A name of a million characters: every character kept, in order, no line too long. The
  // cost of this (linear now, quadratic before) is measured in bench_ticket.
  const QString largo = QString(1000000, QLatin1Char('x')) + QStringLiteral(" fin");
  const QStringList lineas = ajustaRenglones(largo, kColumnasTicket);
  EXPECT_EQ(lineas.join(QString()).count(QLatin1Char('x')), 1000000);
  for (const QString& l : lineas) ASSERT_LE(l.size(), kColumnasTicket);
  EXPECT_TRUE(lineas.last().endsWith(QStringLiteral("x fin")));
}
