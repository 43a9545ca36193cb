#include "sessions/reglas/corteCaja.h"

#include "operaciones/cajas.h"
#include "util/utilerias.h"

TResultado validaRetiro(double monto, double acumulado) {
  if (monto > acumulado)
    return TResultado::falla(
        QStringLiteral("Cantidad incorrecta, no puede retirar mas de la cantidad actual"));
  return TResultado::bien();
}

TResultado aplicaRetiro(bool esCorte, int sesionId, int cajaId, const QDateTime& fecha,
                        double monto, TConexionSesion& conexion) {
  const QString texto = u_floatToStr(monto);
  const bool guardado = esCorte ? aplicaCorteCaja(sesionId, fecha, texto, conexion)
                                : aplicaCierreCaja(sesionId, cajaId, fecha, texto, conexion);
  if (!guardado)
    return TResultado::falla(QStringLiteral("Ocurrió un inconveniente al guardar los datos."));
  return TResultado::bien();
}
