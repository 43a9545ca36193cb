#pragma once
// Payment arithmetic of the checkout, without widgets: the cash field and six payment rows,
// the received amount, the change, the remainders and the sale validation.

#include <QString>
#include <QVariant>
#include <array>

#include "printer/TImpresionTicket.h"

struct TFilaPago {
  QString metodo = QStringLiteral("Otro");  // caption of the row's method button
  int metodoId = 0;                         // payment form id; 0 = none chosen
  QString monto;                            // amount text as typed
  QString referencia;
  QVariant externo;                         // null, or 1 once matched with an external payment
  bool habilitada = false;
};

class TCobro {
 public:
  static constexpr int kFilas = 6;

  void inicia(double total, double subtotal, double descuento, double impuestos);
  // Amount typed in a field: trimmed, "," "$" and blanks removed (blanks kept when
  // `quitaEspacios` is false), then read when numeric; anything else counts 0.
  static double monto(const QString& texto, bool quitaEspacios = true);

  // Recomputes received, paid and change (the comparison is made on truncated amounts).
  void calculaOperacion();
  // Cash remainder: total minus the six rows, "#,###,##0.00" (negative results as they are).
  QString restanteEfectivo() const;
  // Remainder for row n (0-based): total minus cash and the six rows.
  QString autoCompletaPago(int fila) const;
  void reiniciaFila(int fila);
  void reiniciaFilas();
  void aplicaMetodo(int fila, const QString& nombre, int formaPagoId);
  // First step of completing the sale; `mensaje` gets the text to show, if any.
  bool validaVenta(QString* mensaje) const;
  // The seven payment lines: 0 is cash, 1..6 the rows, all filled.
  TFormasPago formasPago(const QString& nombreEfectivo) const;

  double uTotal = 0, uSubtotal = 0, uDescuento = 0, uImpuestos = 0;
  double uRecibidoAcumulado = 0, uPagado = 0, uDevuelto = 0;
  bool uPuedeVender = false;
  QString efectivo;
  std::array<TFilaPago, kFilas> filas;
};
