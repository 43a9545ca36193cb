#pragma once
// A filled receipt like the one the checkout prints after a sale.

#include <QDateTime>
#include <QString>

#include "printer/TImpresionTicket.h"

inline const QString kTextoQRMuestra =
    QStringLiteral("http://127.0.0.1:8790/portal?id=6f1c2a9e-5b7d-4e0a-9c3f-2d8b1e4a7c55");
inline const QString kPortalMuestra =
    QStringLiteral("Puede realizar su factura electrónica en: http://127.0.0.1:8790/portal");

inline RECticketInfo ticketMuestra(const QString& archivoLogo, const QString& archivoQR) {
  TImpresionTicket t;
  t.setNombreNegocio(QStringLiteral("Abarrotes La Única"));
  t.setRfc(QStringLiteral("AUN010101AB1"));
  t.setRazon(QStringLiteral("Abarrotes La Única, S.A. de C.V."));
  t.setLConceptos({});
  auto concepto = [&](double cant, const QString& desc, double unitario, double importe) {
    TConcepto c;
    c.setCantidad(cant);
    c.setDescripcion(desc);
    c.setValorUnitario(unitario);
    c.setImporte(importe);
    c.setCategoria(QStringLiteral("Categoria Muestra 1"));
    t.getLConceptos().append(c);
  };
  // The importe of a concept is the line's taxes, as the checkout passes it.
  concepto(5, QStringLiteral("Producto Muestra1"), 25.5, 20.4);
  concepto(1, QStringLiteral("Café de olla con piloncillo y canela, bolsa"), 1600, 248.57);
  concepto(1.25, QStringLiteral("Jamón"), 180, 0);
  t.setCajero(QStringLiteral("Cajero Demo"));
  t.setNumeroTicket(QStringLiteral("77"));
  t.setFecha(QDateTime(QDate(2024, 12, 5), QTime(14, 30, 0)));
  t.setCampoAdicional3(TCampoAdicional(QStringLiteral("Impuestos"), QStringLiteral("$ 268.97")));
  t.setCampoAdicional4(TCampoAdicional(QStringLiteral("Total"), QStringLiteral("$ 2,221.47")));
  t.setCampoAdicional5(TCampoAdicional(QStringLiteral("Su Pago"), QStringLiteral("$ 2,300.00")));
  t.setCampoAdicional6(TCampoAdicional(QStringLiteral("Devuelto"), QStringLiteral("$ 78.53")));
  t.setEfectivoValor(QStringLiteral("800"));
  TFormasPago formas;
  formas[0].nombre = QStringLiteral("Efectivo");
  formas[0].valor = QStringLiteral("800");
  for (size_t i = 1; i < formas.size(); ++i) formas[i].nombre = QStringLiteral("Otro");
  formas[1] = {3, QStringLiteral("Tarjeta de Débito"), QStringLiteral("1,500.00"),
               QStringLiteral("4321"), QVariant(1)};
  formas[2] = {5, QStringLiteral("Vales"), QStringLiteral("0"), QString(), QVariant()};
  t.setFormaPago(formas);
  t.setArchivoCBB(archivoQR);
  t.getEtiqueta1().setValor(kPortalMuestra);
  t.getEtiqueta2().setValor(QStringLiteral("6f1c2a9e-5b7d-4e0a-9c3f-2d8b1e4a7c55"));
  return RECticketInfo{QString(), 26, 260, 260, t, archivoLogo};
}
