// Invoice PDFs: the local folder and its whole-or-nothing writes, the service's answer, the
// credentials lookup on both engines, and "Ver PDF" against the real sandbox.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>

#include "facturacion/pdfFacturas.h"
#include "operaciones/credenciales.h"
#include "platform/textoQt.h"
#include "shell/programaPredeterminado.h"
#include "signing/firma.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/RespondedorPrueba.h"
#include "support/SandboxPrueba.h"
#include "ui/descargaPDFFactura.h"
#include "workers/TthreadConexionRemotaPDF.h"

namespace {

const QByteArray kPdf = "%PDF-1.4\nfactura de prueba\n%%EOF\n";
QString base64(const QByteArray& b) { return QString::fromLatin1(b.toBase64()); }

QStringList archivos(const QString& carpeta) {
  return QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

}  // namespace

TEST(PdfFacturas, RutaSoloConUuidYRfcUtilizables) {
  struct Caso {
    QString rfc, uuid, esperado;
  };
  const QList<Caso> casos = {
      {"EKU9003173C9", "AB12-cd34", "/app/pdfFacturasGenerados/EKU9003173C9/AB12-cd34.pdf"},
      {" EKU9003173C9 ", " AB12 ", "/app/pdfFacturasGenerados/EKU9003173C9/AB12.pdf"},
      {"EKU9003173C9", "../../etc/passwd", ""},
      {"EKU9003173C9", "a/b", ""},
      {"EKU9003173C9", "", ""},
      {"", "AB12", ""},
      {"../x", "AB12", ""},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(u_rutaPDFFactura("/app", c.rfc, c.uuid), c.esperado)
        << c.rfc.toStdString() << " " << c.uuid.toStdString();
}

TEST(PdfFacturas, GuardaCompletoONada) {
  QTemporaryDir dir;
  ASSERT_TRUE(u_creaCarpetaPDFFacturas(dir.path(), "EKU9003173C9"));
  const QString carpeta = u_carpetaPDFFacturas(dir.path(), "EKU9003173C9");
  const QString ruta = carpeta + "/U1.pdf";

  QString error;
  ASSERT_TRUE(u_guardaPDFFactura(ruta, base64(kPdf), &error)) << error.toStdString();
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), kPdf);
  f.close();

  // Not Base64, Base64 of something else, nothing: refused, the file in place untouched and no
  // temporary left beside it.
  for (const QString& malo :
       {QString("%%%no es base64"), base64("<html>error</html>"), QString()}) {
    error.clear();
    EXPECT_FALSE(u_guardaPDFFactura(ruta, malo, &error));
    EXPECT_EQ(error, "El servicio de facturación no entregó un PDF válido");
  }
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), kPdf);
  EXPECT_EQ(archivos(carpeta), QStringList{"U1.pdf"});

  // A place that cannot be written (its folder is a file): the reason, and nothing appears.
  QFile tapon(dir.filePath("tapon"));
  ASSERT_TRUE(tapon.open(QIODevice::WriteOnly));
  tapon.close();
  error.clear();
  EXPECT_FALSE(u_guardaPDFFactura(dir.filePath("tapon/U2.pdf"), base64(kPdf), &error));
  EXPECT_TRUE(error.startsWith("No se pudo guardar el PDF")) << error.toStdString();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"tapon"});
}

TEST(PdfFacturas, RespuestaDelServicio) {
  struct Caso {
    int estado;
    QByteArray cuerpo;
    bool ok;
    QString error;
  };
  const QList<Caso> casos = {
      {200, "{\"ok\":true,\"pdf\":\"" + kPdf.toBase64() + "\"}", true, ""},
      {200, "{\"ok\":true,\"pdf\":\"" + QByteArray("hola").toBase64() + "\"}", false,
       "El servicio de facturación no entregó un PDF válido"},
      {200, "no es json", false, "El servicio de facturación no entregó un PDF válido"},
      {404, "{\"ok\":false,\"mensaje\":\"No existe la factura U9\"}", false,
       "El servicio de facturación no tiene la factura U9"},
      {500, "{\"ok\":false,\"mensaje\":\"Servicio no disponible\"}", false,
       "El servicio de facturación no pudo entregar el PDF (error 500): Servicio no disponible"},
      {401, "{\"ok\":false,\"mensaje\":\"Usuario, cuenta o contraseña incorrectos\"}", false,
       "El servicio de facturación rechazó el usuario, la cuenta o la contraseña del usuario en "
       "línea"},
  };
  for (const Caso& c : casos) {
    const generarPDFresultado r = u_leeRespuestaPDF(c.estado, c.cuerpo, " U9 ");
    EXPECT_EQ(r.ok, c.ok) << c.estado;
    EXPECT_EQ(r.error, c.error) << c.estado;
    EXPECT_EQ(r.pdf.isEmpty(), !c.ok);
  }
  // The password never goes into the address.
  const datosPDF d{"tienda", "cuenta1", "s3creta", "U9"};
  EXPECT_FALSE(u_urlPDFFactura("http://127.0.0.1:1", d.uuid).toString().contains("s3creta"));
  EXPECT_FALSE(u_urlPDFFactura("http://127.0.0.1:1", "x/../y").isValid());
}

class CredencialesUsuario : public PruebaAmbosMotores {};

TEST_P(CredencialesUsuario, EnClaroONadaCambia) {
  CatalogoPrueba cat(conexion());
  cat.negocioBasico();
  TcredencialesServicio c{"antes", "antes", "antes"};
  EXPECT_FALSE(consultaCredencialesUsuario(1, conexion(), c));  // no online account
  EXPECT_EQ(c.usuario, "antes");
  EXPECT_EQ(consultaDatosUsuarioEnLinea(1, conexion()).getRowCount(), 0);

  cat.credencialesCifradas(db->carpeta());
  const CmidTierResponse fila = consultaDatosUsuarioEnLinea(1, conexion());
  ASSERT_EQ(fila.getRowCount(), 1);
  EXPECT_EQ(fila.getCelda("ventasPromociones_usuario"), "tienda");
  EXPECT_NE(fila.getCelda("ventasPromociones_contrasena"), "x");  // stored encrypted
  ASSERT_TRUE(consultaCredencialesUsuario(1, conexion(), c));
  EXPECT_EQ(c.usuario, "tienda");
  EXPECT_EQ(c.cuenta, "cuenta1");
  EXPECT_EQ(c.contrasena, "x");
  signingConfigura(QString());
}

INSTANCIA_AMBOS_MOTORES(CredencialesUsuario);

// "Ver PDF" as the screens run it: downloaded once behind the wait screen, then opened from
// the folder without the service.
class VerPdfFactura : public ::testing::Test {
 protected:
  void SetUp() override {
    db = BaseDatosPrueba::crea(Motor::SQLite);
    CatalogoPrueba(db->conexion()).negocioBasico();
    db->llenaLocalSYS(1);
    ASSERT_TRUE(sandbox.arrancaParaTienda());
    const QJsonArray t = sandbox.generaTickets("EKU9003173C9", 1);
    ASSERT_EQ(t.size(), 1);
    uuid = sandbox.facturaEnPortal(t[0].toObject()["identificador"].toString());
    ASSERT_FALSE(uuid.isEmpty());
    abreConProgramaPredeterminadoOlvida();
  }
  QString carpeta() const {
    return u_carpetaPDFFacturas(localSYS.carpetaAplicacion, "EKU9003173C9");
  }

  std::unique_ptr<BaseDatosPrueba> db;
  SandboxPrueba sandbox;
  RespondedorPrueba r;
  QString uuid;
  const TcredencialesServicio cuenta{"tienda", "cuenta1", "x"};
};

TEST_F(VerPdfFactura, UnaDescargaLuegoDelDisco) {
  ASSERT_TRUE(u_abrePDFFactura(uuid, cuenta, localSYS)) << r.textos().join("|").toStdString();
  const QString ruta = carpeta() + "/" + uuid + ".pdf";
  EXPECT_EQ(abreConProgramaPredeterminadoSolicitudes(), QStringList{ruta});
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().contains(uuid.toLatin1()));
  // With the service gone the file on disk is enough.
  sandbox.detiene();
  EXPECT_EQ(u_aseguraPDFFactura(uuid, cuenta, localSYS), ruta);
  EXPECT_TRUE(r.textos().isEmpty());
}

TEST_F(VerPdfFactura, FallasDelServicioNoDejanArchivo) {
  struct Caso {
    const char* modo;
    QString uuid;
    QString mensaje;
  };
  const QList<Caso> casos = {
      {"error", uuid,
       "El servicio de facturación no pudo entregar el PDF (error 500): Servicio no disponible"},
      {"normal", "0000-NO-EXISTE", "El servicio de facturación no tiene la factura 0000-NO-EXISTE"},
  };
  for (const Caso& c : casos) {
    ASSERT_TRUE(sandbox.modo(c.modo));
    r.mensajes.clear();
    EXPECT_EQ(u_aseguraPDFFactura(c.uuid, cuenta, localSYS), "");
    EXPECT_EQ(r.textos(), QStringList{c.mensaje});
  }
  // Slower than the client waits: it gives up with its own reason.
  ASSERT_TRUE(sandbox.modo("lento", 3000));
  TthreadConexionRemotaPDF lenta;
  lenta.setTiempoEspera(300);
  lenta.setParametros({"tienda", "cuenta1", "x", uuid});
  std::atomic<bool> activo{true};
  lenta.inicia(&activo);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !activo.load(); }, 10000));
  EXPECT_EQ(lenta.getResultadoPDF().error, "El servicio de facturación no respondió a tiempo");
  // A service that is not there at all.
  sandbox.detiene();
  r.mensajes.clear();
  EXPECT_EQ(u_aseguraPDFFactura(uuid, cuenta, localSYS), "");
  EXPECT_EQ(r.textos(), QStringList{"No se pudo conectar con el servicio de facturación"});
  EXPECT_TRUE(archivos(carpeta()).isEmpty());
  EXPECT_TRUE(abreConProgramaPredeterminadoSolicitudes().isEmpty());
}
