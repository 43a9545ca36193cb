#include "TsistemaDatos.h"

#include <QCoreApplication>
#include <QDir>
#include <QSysInfo>

#include "db/TmiddleTier.h"
#include "printer/miniPrinter.h"
#include "resources/recursos.h"
#include "signing/firma.h"
#include "util/Log.h"

TsistemaDatos localSYS;
QString SYS_aliasRutaDB;

namespace {
// The connection must go before Qt's SQL drivers do: a program that ends with localSYS still
// holding its session would otherwise tear the driver down twice.
void liberaSesionGlobal() { localSYS = TsistemaDatos(); }
struct RegistroSalida {
  RegistroSalida() { qAddPostRoutine(liberaSesionGlobal); }
};
const RegistroSalida gRegistroSalida;
}  // namespace

void u_aplicaConfiguracionPlataforma(const TsistemaDatos& sistema) {
  if (!sistema.enlaceTicket.isEmpty()) setEnlaceTicketConfigurado(sistema.enlaceTicket);
  const QString carpeta = sistema.carpetaAplicacion.isEmpty()
                              ? QDir::currentPath() + QStringLiteral("/")
                              : sistema.carpetaAplicacion;
  miniPrinterConfigura(sistema.impresora, QDir(carpeta).filePath(QStringLiteral("Temp/tickets")));
  signingConfigura(carpeta);
  Log::configura(carpeta);
}

bool TNegocio::carga(TConexionSesion& conexion, int id, QString* error) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT idNegocio, nombre, rfc, razonSocial, regimenFiscal, calle, noExterior, "
      "noInterior, colonia, municipio, estado, codigoPostal FROM Negocio WHERE idNegocio = :id"));
  mt.setInteger(QStringLiteral("id"), id);
  const CmidTierResponse r = mt.reader();
  if (!r.ok() || r.getRowCount() == 0) {
    if (error) *error = r.ok() ? QStringLiteral("No existe el negocio %1").arg(id) : r.getError();
    return false;
  }
  idNegocio = r.getCeldaAsInt(QStringLiteral("idNegocio"));
  nombre = r.getCelda(QStringLiteral("nombre"));
  datosFiscales.rfc = r.getCelda(QStringLiteral("rfc"));
  datosFiscales.razon = r.getCelda(QStringLiteral("razonSocial"));
  datosFiscales.regimenFiscal = r.getCelda(QStringLiteral("regimenFiscal"));
  TDireccion& d = datosFiscales.direccion;
  d.calle = r.getCelda(QStringLiteral("calle"));
  d.noExterior = r.getCelda(QStringLiteral("noExterior"));
  d.noInterior = r.getCelda(QStringLiteral("noInterior"));
  d.colonia = r.getCelda(QStringLiteral("colonia"));
  d.municipio = r.getCelda(QStringLiteral("municipio"));
  d.estado = r.getCelda(QStringLiteral("estado"));
  d.codigoPostal = r.getCelda(QStringLiteral("codigoPostal"));
  return true;
}

QString u_getPCName() {
  if (!localSYS.estacion.trimmed().isEmpty()) return localSYS.estacion.trimmed();
  return QSysInfo::machineHostName();
}
