#include "ui/descargaPDFFactura.h"

#include <QFile>

#include "facturacion/pdfFacturas.h"
#include "shell/programaPredeterminado.h"
#include "ui/TFRM_espere.h"
#include "ui/mensajes.h"
#include "workers/TthreadConexionRemotaPDF.h"

QString u_aseguraPDFFactura(const QString& uuid, const TcredencialesServicio& credenciales,
                            const TsistemaDatos& sys) {
  const QString rfc = sys.getNegocio().getDatosFiscales().getRfc();
  const QString ruta = u_rutaPDFFactura(sys.carpetaAplicacion, rfc, uuid);
  if (ruta.isEmpty()) {
    u_mensaje(QStringLiteral("El UUID de la factura no es válido: ") + uuid.trimmed());
    return QString();
  }
  QString error;
  if (!u_creaCarpetaPDFFacturas(sys.carpetaAplicacion, rfc, &error)) {
    u_mensaje(error);
    return QString();
  }
  if (QFile::exists(ruta)) return ruta;

  TthreadConexionRemotaPDF descarga;
  descarga.setParametros(
      {credenciales.usuario, credenciales.cuenta, credenciales.contrasena, uuid.trimmed()});
  std::atomic<bool> activo{true};
  descarga.inicia(&activo);
  TFRM_espere espere;
  espere.inicia(&activo);
  const generarPDFresultado r = descarga.getResultadoPDF();
  if (!r.ok) {
    u_mensaje(r.error);
    return QString();
  }
  if (!u_guardaPDFFactura(ruta, r.pdf, &error)) {
    u_mensaje(error);
    return QString();
  }
  return ruta;
}

bool u_abrePDFFactura(const QString& uuid, const TcredencialesServicio& credenciales,
                      const TsistemaDatos& sys) {
  const QString ruta = u_aseguraPDFFactura(uuid, credenciales, sys);
  return !ruta.isEmpty() && abreConProgramaPredeterminado(ruta);
}
