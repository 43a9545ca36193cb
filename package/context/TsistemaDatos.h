#pragma once
// Session context of the suite: database session, current business, application folder and
// the online-user flag. The host fills one and hands it to the module's entry, which copies
// it into the process-wide localSYS.

#include <QString>
#include <memory>

#include "db/TConexionSesion.h"

class TDireccion {
 public:
  QString getCalle() const { return calle; }
  QString getNoExterior() const { return noExterior; }
  QString getNoInterior() const { return noInterior; }
  QString getColonia() const { return colonia; }
  QString getMunicipio() const { return municipio; }
  QString getEstado() const { return estado; }
  QString getCodigoPostal() const { return codigoPostal; }

  QString calle, noExterior, noInterior, colonia, municipio, estado, codigoPostal;
};

class TDatosFiscales {
 public:
  QString getRfc() const { return rfc; }
  QString getRazon() const { return razon; }
  QString getRegimenFiscal() const { return regimenFiscal; }
  const TDireccion& getDireccion() const { return direccion; }

  QString rfc, razon, regimenFiscal;
  TDireccion direccion;
};

class TNegocio {
 public:
  int getIdNegocio() const { return idNegocio; }
  QString getNombre() const { return nombre; }
  const TDatosFiscales& getDatosFiscales() const { return datosFiscales; }

  // Reads the business and its fiscal data; false when the business does not exist.
  bool carga(TConexionSesion& conexion, int id, QString* error = nullptr);

  int idNegocio = 0;
  QString nombre;
  TDatosFiscales datosFiscales;
};

class TsistemaDatos {
 public:
  TConexionSesion& getConexion() const { return *conexion; }
  const TNegocio& getNegocio() const { return negocio; }
  int getIdNegocio() const { return negocio.getIdNegocio(); }
  QString getCarpetaAplicacion() const { return carpetaAplicacion; }
  bool getUsuarioEnLinea() const { return usuarioEnLinea; }

  std::shared_ptr<TConexionSesion> conexion;
  TNegocio negocio;
  QString carpetaAplicacion;  // logos, QR images, exports and logs live under it
  bool usuarioEnLinea = false;
  QString estacion;           // station name; empty means the computer name
  QString impresora;          // receipt destination: device, host:9100 or a folder
  QString urlFacturacion;     // online invoicing service
  QString urlMercadoPago;     // card-payment API
  QString urlMercadoPagoPoint;
  QString caMercadoPago;      // extra certificate authority (PEM) trusted for both
  QString enlaceTicket;       // invoicing portal link printed on receipts
  QString servidorCorreo;     // mail server of invoice e-mails (smtp:// or smtps://)
  QString correoRemitente;    // the shop's sender address
};

// Process-wide context, filled by the module entry before any screen opens.
extern TsistemaDatos localSYS;
// Database alias of the session, set by the module entry.
extern QString SYS_aliasRutaDB;

// Points the platform stand-ins (portal link, receipt printer, signing key folder) at what the
// station configuration says; called once the context is filled.
void u_aplicaConfiguracionPlataforma(const TsistemaDatos& sistema);

// The station's name: the configured station name when there is one (several stations may
// run on one machine), else the computer name.
QString u_getPCName();
