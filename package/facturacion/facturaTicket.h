#pragma once
// What the invoicing screen decides without widgets: the SAT catalogues it offers, whether a
// receiver can be invoiced, the payment form of a ticket, the prerequisites of invoicing and
// the request of an individual invoice.

#include <QString>
#include <QVector>

#include "context/TsistemaDatos.h"
#include "db/CmidTierResponse.h"
#include "facturacion/datosFacturar.h"
#include "operaciones/facturacion.h"

struct TclaveSAT {
  QString clave;
  QString descripcion;
  // Who may use it: persona física (13-character RFC), persona moral (12).
  bool fisica = true;
  bool moral = true;
};

const QVector<TclaveSAT>& u_catalogoRegimenFiscal();
const QVector<TclaveSAT>& u_catalogoUsoCFDI();
const QVector<TclaveSAT>& u_catalogoFormaPago();
// "04 Tarjeta de crédito"; the key alone when the catalogue does not know it.
QString u_descripcionClaveSAT(const QVector<TclaveSAT>& catalogo, const QString& clave);

// 12 characters for a company (persona moral), 13 for a person: letters (Ñ and & included),
// a yymmdd date that exists and a three-character check (facturacion/rfc.h).
bool esRfcValido(const QString& rfc);

// Empty when an individual invoice can be made to this receiver, otherwise the reason, in
// Spanish, for the cashier.
QString u_validaReceptorFactura(const TreceptorFactura& receptor);

// The payment form that dominates a ticket and its amount. `pagos` is the answer of
// consultaFormaPago. The largest applied payment wins (the earlier one on a tie); an uncovered
// rest larger than it counts as cash. The key always has two characters ("3" gives "03").
struct TformaPagoTicket {
  QString clave;
  double importe = 0;
};
TformaPagoTicket calculaFormaDePagoPorTicket(double total, const CmidTierResponse& pagos);

// Empty when the business can invoice; otherwise the message listing what is missing: the
// postal code of its fiscal address, its tax regime, the online-user data.
QString u_compruebaDatosFacturacion(const TNegocio& negocio, bool hayUsuarioEnLinea);

// The request of an individual invoice of one ticket (a row of buscaTicketParaFacturar).
// The concepts are the ticket's own, which the invoicing service already has.
datosFacturar u_preparaFacturaTicket(const TNegocio& negocio, const CmidTierResponse& ticket,
                                     const TformaPagoTicket& forma,
                                     const TreceptorFactura& receptor);
