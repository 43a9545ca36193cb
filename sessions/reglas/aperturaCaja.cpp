#include "sessions/reglas/aperturaCaja.h"

#include "operaciones/cajas.h"
#include "operaciones/puntoVenta.h"
#include "util/limites.h"

namespace {
const QString kNoGuardado = QStringLiteral("Ocurrió un inconveniente al guardar los datos.");
}

TAperturaResultado abreCaja(const TAperturaCaja& a, const QString& estacion, const QDateTime& fecha,
                            int idNegocio, TConexionSesion& conexion) {
  TAperturaResultado r;
  // Amounts past what the money arithmetic holds to the cent are refused before comparing.
  for (const QString& problema :
       {u_revisaMonto(a.monto, QStringLiteral("El monto de apertura")),
        u_revisaMonto(a.conteo.monedas, QStringLiteral("El monto en monedas")),
        u_revisaMonto(a.conteo.total(), QStringLiteral("La suma de billetes y monedas"))}) {
    if (!problema.isEmpty()) {
      r.resultado = TResultado::falla(problema + QLatin1Char('.'));
      return r;
    }
  }
  if (!conteoCuadra(a.conteo.total(), a.monto)) {
    r.resultado = TResultado::falla(QStringLiteral(
        "La suma total después de ingresar la cantidad de billetes y/o monedas es incorrecto."));
    return r;
  }
  if (a.cajeroID <= 0) {
    r.resultado = TResultado::falla(QStringLiteral("Seleccione un cajero."));
    r.sinCajero = true;
    return r;
  }
  if (!compruebaCajeroDisponible(a.cajeroID, conexion)) {
    r.resultado = TResultado::falla(QStringLiteral("El cajero seleccionado no esta disponible"));
    return r;
  }
  if (!compruebaEstacionDisponible(estacion, conexion)) {
    r.resultado = TResultado::falla(QStringLiteral(
        "La estación de trabajo actual, esta relacionada a una sesión activa. Para iniciar una "
        "nueva sesión cierre la sesión actual."));
    return r;
  }
  RECaperturaCaja rec;
  rec.cajaID = a.cajaID;
  rec.fechaApertura = fecha;
  rec.cajeroID = a.cajeroID;
  rec.montoApertura = a.monto;
  rec.billetes1000 = a.conteo.billetes[0];
  rec.billetes500 = a.conteo.billetes[1];
  rec.billetes200 = a.conteo.billetes[2];
  rec.billetes100 = a.conteo.billetes[3];
  rec.billetes50 = a.conteo.billetes[4];
  rec.billetes20 = a.conteo.billetes[5];
  rec.monedas = a.conteo.monedas;
  rec.estacion = estacion;
  if (!guardaAperturaCaja(rec, a.cajaNombre, idNegocio, conexion))
    r.resultado = TResultado::falla(kNoGuardado);
  return r;
}
