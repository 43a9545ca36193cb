// The checkout's MercadoPago Point lookups: the "Mercado Pago" button (automatic: a single
// match fills the row) and a card row's detail icon (the lookup screen). Either one needs the
// business's credentials; when they are incomplete the credentials screen opens.
#include <QLabel>
#include <QLineEdit>

#include "checkout/TFRM_cerrarPuntoVenta.h"
#include "checkout/TFRM_mercadoPagoSeleccionarAbono.h"
#include "checkout/reglas/clienteMercadoPago.h"
#include "context/TsistemaDatos.h"
#include "services/TFRM_cobroServiciosExternos.h"
#include "ui/mensajes.h"
#include "util/utilerias.h"

TDatosMercado TFRM_cerrarPuntoVenta::buscaConfiguracionMercadoPago() {
  TDatosMercado datos;
  u_muestra(u_leeConfiguracionMercadoPago(localSYS.getIdNegocio(), localSYS.getConexion(), &datos));
  return datos;
}

bool TFRM_cerrarPuntoVenta::validaConfiguracionMercadoPago(const TDatosMercado& datos) {
  if (mercadoPago::configuracionCompleta(datos)) return true;
  u_mensaje(QString::fromUtf8(mercadoPago::kConfiguracionIncompleta), mtCustom);
  TFRM_cobroServiciosExternos configuracopnMercadoPago(this);
  configuracopnMercadoPago.init();
  return false;
}

bool TFRM_cerrarPuntoVenta::buscaAbono(int r, bool automatica, TConsultaAbono* abono) {
  const TDatosMercado datos = buscaConfiguracionMercadoPago();
  if (!validaConfiguracionMercadoPago(datos)) return false;
  TFRM_mercadoPagoSeleccionarAbono consulta(this);
  *abono = automatica ? consulta.consultaAbono(TXT_otro[r]->text(), datos)
                      : consulta.consultaPagos(TXT_otro[r]->text(), datos);
  return true;
}

void TFRM_cerrarPuntoVenta::conectaMercadoPago() {
  const int r = uNoMetodoPago - 1;
  if (r < 0 || r >= TCobro::kFilas) return;
  LBL_detalleReferencia->setText(QStringLiteral("Buscando"));
  TConsultaAbono abono;
  if (!buscaAbono(r, true, &abono)) return;
  if (!abono.ok) {
    LBL_detalleReferencia->setText(QStringLiteral("No se encontraron pagos"));
    return;
  }
  relacionaPago(r, abono);
}

void TFRM_cerrarPuntoVenta::busquedaManual(int fila) {
  if (fila < 1 || fila > TCobro::kFilas) return;
  const int r = fila - 1;
  TConsultaAbono abono;
  if (!buscaAbono(r, false, &abono)) return;
  if (!abono.ok) {
    BTN_resetOtroClick(fila);
    return;
  }
  TXT_otro[r]->setText(u_truncaMoneda(u_floatToStr(abono.monto)));
  relacionaPago(r, abono);
}

void TFRM_cerrarPuntoVenta::relacionaPago(int r, const TConsultaAbono& abono) {
  TXT_referencia[r]->setText(abono.pagoID);
  uCobro.filas[r].externo = 1;
  LBL_detalleReferencia->setText(mercadoPago::detallePago(abono));
  muestraOperacion();
}
