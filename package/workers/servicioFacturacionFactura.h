#pragma once
// The invoice stamping's contract with the online invoicing service: the body built from an
// invoice request and how the answer reads. No input or output here.

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QUrl>

#include "facturacion/datosFacturar.h"
#include "workers/servicioFacturacionTicket.h"

struct TresultadoTimbrado {
  bool ok = false;
  QString uuid;           // fiscal UUID of the stamped document
  QString fechaTimbrado;  // as the service gave it
  QString mensaje;        // why it failed, in Spanish; empty on success
  bool enviado = false;   // the request left for the service
  int estadoHttp = 0;     // its answer's status; 0 when none came
};

// A failed stamping that may still have stamped the document: the request left and no answer
// came, the service failed on its side (5xx), the answer could not be read, or the key was
// already used (409). Only a clear refusal of the request (4xx) says nothing was stamped.
bool u_timbradoIncierto(const TresultadoTimbrado& r);

QUrl u_urlTimbrado(const QString& urlBase);

// Body of the stamping: issuer RFC, credentials and the request. Tickets travel by their
// identifiers (the service already has their concepts); concepts of the request, when there
// are any, travel with the amounts as JSON numbers.
QJsonObject u_cuerpoTimbrado(const QString& rfc, const TcredencialesServicio& credenciales,
                             const datosFacturar& datos);

TresultadoTimbrado u_leeRespuestaTimbrado(int estadoHttp, const QByteArray& cuerpo);
