#pragma once
// The ticket upload's contract with the online invoicing service: the body it sends and how
// its answer reads. No input or output here, so the protocol is followed without a thread.

#include <QByteArray>
#include <QJsonObject>
#include <QNetworkReply>
#include <QString>
#include <QUrl>

#include "db/CmidTierResponse.h"
#include "operaciones/credenciales.h"

// Answer of one ticket upload.
struct generarTicketRsultado {
  bool ok = false;
  QString identificador;      // the ticket's identifier at the service (the QR code's id)
  QString mensaje;            // why it failed, in Spanish; empty on success
  bool sinRespuesta = false;  // the service could not be reached (or did not answer in time)
  // The stored password could not be decrypted (key file missing or replaced): no upload will
  // work until a supervisor acts, so the checkout says so beyond "not uploaded".
  bool credencialesIlegibles = false;
};

// Address of the upload under the configured base URL ("http://host:port" or with a path).
// An invalid URL when the base is not an http or https address with a host.
QUrl u_urlCargaTicket(const QString& urlBase);

// Body of the upload: business RFC, credentials and the ticket built from the result tables of
// buscaOperacionParaCarga, buscaDetalleParaCarga and buscaPagosParaCarga. Money goes truncated
// to the cent; quantities, unit prices and line taxes keep six decimals.
QJsonObject u_cuerpoCargaTicket(const QString& rfc, const TcredencialesServicio& credenciales,
                                const CmidTierResponse& operacion, const CmidTierResponse& detalle,
                                const CmidTierResponse& pagos);

// Reads the service's HTTP answer (status and body).
generarTicketRsultado u_leeRespuestaCarga(int estadoHttp, const QByteArray& cuerpo);

// Message for an upload that got no HTTP answer at all.
QString u_mensajeSinRespuesta(QNetworkReply::NetworkError error, bool expiro);
