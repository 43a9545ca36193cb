#include "services/reglas/credencialesMercadoPago.h"

#include "operaciones/serviciosExternos.h"
#include "signing/firma.h"

QString u_paginaCredencialesMercadoPago() {
  return QStringLiteral("https://www.mercadopago.com.mx/mlm/account/credentials?type=basic");
}

TCredencialesMercado u_cargaCredencialesMercadoPago(int idNegocio, TConexionSesion& conexion) {
  TCredencialesMercado c;
  const CmidTierResponse r = consultaMercadoPago(idNegocio, conexion);
  if (!r.ok() || r.getRowCount() == 0) return c;
  c.clienteID = deCrypt(r.getCelda(QStringLiteral("puntoServiciosExternosMercadoPago_clienteID")));
  c.clienteSecret =
      deCrypt(r.getCelda(QStringLiteral("puntoServiciosExternosMercadoPago_clienteSecret")));
  c.poi = deCrypt(r.getCelda(QStringLiteral("puntoServiciosExternosMercadoPago_poi")));
  return c;
}

TResultado u_validaCredencialesMercadoPago(const TCredencialesMercado& c) {
  if (c.clienteID.isEmpty())
    return TResultado::falla(QStringLiteral(
        "Capture el valor 'Client ID', si desconoce este valor pulse el botón 'Consultar "
        "Credenciales'"));
  if (c.clienteSecret.isEmpty())
    return TResultado::falla(QStringLiteral(
        "Capture el valor 'Client Secret', si desconoce este valor pulse el botón 'Consultar "
        "Credenciales'"));
  if (c.poi.isEmpty())
    return TResultado::falla(QStringLiteral(
        "Capture el valor 'Point Blue no. Serie', si desconoce este valor puede consultarlo "
        "oprimiento * en su dispositivo Point Blue."));
  return TResultado::bien();
}

TResultado u_guardaCredencialesMercadoPago(const TCredencialesMercado& c, int idNegocio,
                                           TConexionSesion& conexion) {
  const QString cliente = crypt(c.clienteID), secreto = crypt(c.clienteSecret), poi = crypt(c.poi);
  const bool cifrado = !cliente.isEmpty() && !secreto.isEmpty() && !poi.isEmpty();
  if (!cifrado || !actualizarOpcionesMercadoPago(cliente, secreto, poi, idNegocio, conexion))
    return TResultado::falla(QStringLiteral("Ocurrió un inconveniente al guardar los datos."));
  return TResultado::bien();
}
