#pragma once
// The invoice-PDF download's contract with the online invoicing service: the address of one
// invoice's PDF, the headers that carry the online account, and how the answer reads. No input
// or output here; TthreadConexionRemotaPDF does the HTTP.

#include <QByteArray>
#include <QString>
#include <QUrl>

#include "operaciones/credenciales.h"
#include "workers/clienteHttp.h"

// What one download asks for: the online account (password in clear) and the invoice's UUID.
struct datosPDF {
  QString usuario;
  QString cuenta;
  QString contrasena;
  QString uuid;
};

// Answer of one download: the PDF as Base64 text on success, else why it failed (Spanish).
struct generarPDFresultado {
  bool ok = false;
  QString pdf;
  QString error;
};

// GET <base>/api/v1/facturas/<UUID>/pdf. Invalid when the base is not an http(s) address or the
// UUID is not one (letters, digits and hyphens only, so it can never leave its path).
QUrl u_urlPDFFactura(const QString& urlBase, const QString& uuid);

// The online account travels as HTTP Basic (user and password) plus the account in
// "X-Cuenta", never in the address, so no log of addresses ever holds the password.
TencabezadosHttp u_encabezadosCuenta(const datosPDF& datos);

// Reads the service's answer. Success needs a non-empty Base64 text that decodes to a PDF.
generarPDFresultado u_leeRespuestaPDF(int estadoHttp, const QByteArray& cuerpo,
                                      const QString& uuid);

// One whole download, blocking (worker threads only).
generarPDFresultado u_descargaPDFFactura(const QString& urlBase, const datosPDF& datos,
                                         int tiempoEsperaMs);
