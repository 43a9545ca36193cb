#include "checkout/reglas/cobro.h"

#include "util/utilerias.h"

void TCobro::inicia(double total, double subtotal, double descuento, double impuestos) {
  uTotal = total;
  uSubtotal = subtotal;
  uDescuento = descuento;
  uImpuestos = impuestos;
  efectivo.clear();
  reiniciaFilas();
  uPuedeVender = false;
  calculaOperacion();
}

double TCobro::monto(const QString& texto, bool quitaEspacios) {
  QString t = texto.trimmed();
  t.remove(',').remove('$');
  if (quitaEspacios) t.remove(' ');
  return esNumerico(t) ? t.toDouble() : 0.0;
}

void TCobro::calculaOperacion() {
  uPuedeVender = false;
  uDevuelto = 0;
  QList<double> montos{monto(efectivo)};
  for (const TFilaPago& f : filas) montos << monto(f.monto);
  uRecibidoAcumulado = u_acumulaFloat(9, montos, kFilas);
  const double recibido = u_truncaDecimales(uRecibidoAcumulado, 2);
  const double total = u_truncaDecimales(uTotal, 2);
  if (recibido >= total) {
    uPuedeVender = true;
    uPagado = uRecibidoAcumulado;
    uDevuelto = u_acumulaFloat(2, {recibido, -total}, 1);
  }
}

QString TCobro::restanteEfectivo() const {
  QList<double> v{uTotal};
  // This button reads the rows without removing blanks.
  for (const TFilaPago& f : filas) v << -monto(f.monto, false);
  return u_formatoNumero(u_acumulaFloat(9, v, kFilas));
}

QString TCobro::autoCompletaPago(int) const {
  QList<double> v{uTotal, -monto(efectivo)};
  for (const TFilaPago& f : filas) v << -monto(f.monto);
  return u_formatoNumero(u_acumulaFloat(9, v, kFilas + 1));
}

void TCobro::reiniciaFila(int fila) {
  if (fila < 0 || fila >= kFilas) return;
  filas[fila] = TFilaPago();
}

void TCobro::reiniciaFilas() {
  for (int i = 0; i < kFilas; ++i) reiniciaFila(i);
}

void TCobro::aplicaMetodo(int fila, const QString& nombre, int formaPagoId) {
  if (fila < 0 || fila >= kFilas) return;
  filas[fila].metodo = nombre;
  filas[fila].metodoId = formaPagoId;
  filas[fila].habilitada = true;
}

bool TCobro::validaVenta(QString* mensaje) const {
  if (!uPuedeVender) return false;
  for (const TFilaPago& f : filas) {
    if (!f.monto.isEmpty() && f.referencia.trimmed().isEmpty()) {
      if (mensaje) *mensaje = QStringLiteral("Capture una referencia para todos las formas de pago");
      return false;
    }
  }
  return true;
}

TFormasPago TCobro::formasPago(const QString& nombreEfectivo) const {
  TFormasPago f;
  f[0].id = 0;
  f[0].nombre = nombreEfectivo;
  f[0].valor = efectivo;
  for (int i = 0; i < kFilas; ++i) {
    f[i + 1].id = filas[i].metodoId;
    f[i + 1].nombre = filas[i].metodo;
    f[i + 1].valor = filas[i].monto;
    f[i + 1].referencia = filas[i].referencia;
    f[i + 1].servicioExterno = filas[i].externo;
  }
  return f;
}
