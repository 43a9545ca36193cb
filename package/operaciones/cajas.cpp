#include "cajas.h"

#include <cmath>

#include "db/TmiddleTier.h"
#include "operaciones/transaccion.h"
#include "util/utilerias.h"

namespace {

QVariant patronONulo(const QVariant& v) {
  if (!v.isValid() || v.isNull()) return QVariant(QMetaType::fromType<QString>());
  return QVariant(v.toString());
}

// Active sessions matching one column (estacion, puntoCajero_id, ...); -1 when the query fails.
int sesionesActivas(TmiddleTier& mt, const QString& condicion, const QString& nombre,
                    const QVariant& valor) {
  mt.setQuery(QStringLiteral("SELECT COUNT(*) FROM puntoCajaSesion WHERE activa = 1 AND ") +
              condicion);
  mt.setVariant(nombre, valor);
  const QVariant n = mt.scalar();
  return n.isValid() ? n.toInt() : -1;
}

// Amounts are compared at the cent, with the binary noise of arithmetic forgiven.
long long centavos(double valor) { return std::llround(u_truncaDecimales(valor, 2) * 100.0); }

}  // namespace

bool compruebaCajeroDisponible(int cajeroId, TConexionSesion& conexion) {
  if (cajeroId <= 0) return false;
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("SELECT ventasVendedorEstado_id FROM puntoCajero WHERE id = :id"));
  mt.setInteger(QStringLiteral("id"), cajeroId);
  const QVariant estado = mt.scalar();
  if (!estado.isValid() || estado.toInt() != 1) return false;
  return sesionesActivas(mt, QStringLiteral("puntoCajero_id = :cajero"), QStringLiteral("cajero"),
                         QVariant::fromValue<qlonglong>(cajeroId)) == 0;
}

bool guardaAperturaCaja(const RECaperturaCaja& a, const QString& descripcion, int idNegocio,
                        TConexionSesion& conexion) {
  if (a.cajaID <= 0 || a.cajeroID <= 0 || a.estacion.trimmed().isEmpty()) return false;
  for (int n :
       {a.billetes1000, a.billetes500, a.billetes200, a.billetes100, a.billetes50, a.billetes20})
    if (n < 0) return false;
  if (a.monedas < 0 || a.montoApertura < 0) return false;

  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) return false;
  // Checked again inside the write transaction: two supervisors may open at the same time.
  mt.setQuery(
      QStringLiteral("SELECT estado FROM puntoCaja WHERE id = :caja AND idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("caja"), a.cajaID);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const QVariant estado = mt.scalar();
  if (!estado.isValid() || estado.toInt() != 0) return false;
  if (sesionesActivas(mt, QStringLiteral("estacion = :estacion"), QStringLiteral("estacion"),
                      a.estacion) != 0)
    return false;
  if (!compruebaCajeroDisponible(a.cajeroID, conexion)) return false;

  mt.setQuery(QStringLiteral(
      "INSERT INTO puntoCajaSesion (puntoCaja_id, cajaNombre, puntoCajero_id, fechaApertura, "
      "montoApertura, billetes1000, billetes500, billetes200, billetes100, billetes50, "
      "billetes20, monedas, estacion, activa, idNegocioFk) VALUES (:caja, :nombre, :cajero, "
      ":fecha, :monto, :b1000, :b500, :b200, :b100, :b50, :b20, :monedas, :estacion, 1, "
      ":negocio) RETURNING id"));
  mt.setInteger(QStringLiteral("caja"), a.cajaID);
  mt.setString(QStringLiteral("nombre"), descripcion);
  mt.setInteger(QStringLiteral("cajero"), a.cajeroID);
  mt.setDateTime(QStringLiteral("fecha"),
                 a.fechaApertura.isValid() ? a.fechaApertura : QDateTime::currentDateTime());
  mt.setDouble(QStringLiteral("monto"), a.montoApertura);
  mt.setInteger(QStringLiteral("b1000"), a.billetes1000);
  mt.setInteger(QStringLiteral("b500"), a.billetes500);
  mt.setInteger(QStringLiteral("b200"), a.billetes200);
  mt.setInteger(QStringLiteral("b100"), a.billetes100);
  mt.setInteger(QStringLiteral("b50"), a.billetes50);
  mt.setInteger(QStringLiteral("b20"), a.billetes20);
  mt.setDouble(QStringLiteral("monedas"), a.monedas);
  mt.setString(QStringLiteral("estacion"), a.estacion.trimmed());
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const QVariant sesion = mt.scalar();
  if (!sesion.isValid() || sesion.toLongLong() <= 0) return false;

  mt.setQuery(QStringLiteral(
      "UPDATE puntoCaja SET estado = 1, puntoCajaSesion_id = :sesion WHERE id = :caja AND "
      "estado = 0"));
  mt.setInteger(QStringLiteral("sesion"), sesion.toLongLong());
  mt.setInteger(QStringLiteral("caja"), a.cajaID);
  if (mt.nonQuery() != 1) return false;
  return tx.termina();
}

double calculaCajaAcumuladoPorSesion(int sesionId, int idNegocio, TConexionSesion& conexion) {
  if (sesionId <= 0) return 0;
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT s.montoApertura AS apertura, "
      "(SELECT COALESCE(SUM(f.importe), 0) FROM puntoFormaPagoAplicada f INNER JOIN "
      "puntoOperacion o ON o.id = f.puntoOperacion_id WHERE o.puntoCajaSesion_id = s.id AND "
      "o.idNegocioFk = :negocio AND f.posicion = 0) AS efectivo, "
      "(SELECT COALESCE(SUM(o.devuelto), 0) FROM puntoOperacion o WHERE o.puntoCajaSesion_id = "
      "s.id AND o.idNegocioFk = :negocio) AS cambio, "
      "(SELECT COALESCE(SUM(c.monto), 0) FROM puntoCorte c WHERE c.puntoCajaSesion_id = s.id) "
      "AS retiros "
      "FROM puntoCajaSesion s WHERE s.id = :sesion AND s.idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("sesion"), sesionId);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const CmidTierResponse r = mt.reader();
  if (!r.ok() || r.getRowCount() == 0) return 0;
  const long long total = centavos(r.getCeldaAsFloat(QStringLiteral("apertura"))) +
                          centavos(r.getCeldaAsFloat(QStringLiteral("efectivo"))) -
                          centavos(r.getCeldaAsFloat(QStringLiteral("cambio"))) -
                          centavos(r.getCeldaAsFloat(QStringLiteral("retiros")));
  return static_cast<double>(total) / 100.0;
}

namespace {

// The register of an active session; 0 when the session is not active.
int cajaDeSesionActiva(TmiddleTier& mt, int sesionId) {
  mt.setQuery(
      QStringLiteral("SELECT puntoCaja_id FROM puntoCajaSesion WHERE id = :sesion AND activa = 1"));
  mt.setInteger(QStringLiteral("sesion"), sesionId);
  return mt.scalar().toInt();
}

int negocioDeSesion(TmiddleTier& mt, int sesionId) {
  mt.setQuery(QStringLiteral("SELECT idNegocioFk FROM puntoCajaSesion WHERE id = :sesion"));
  mt.setInteger(QStringLiteral("sesion"), sesionId);
  return mt.scalar().toInt();
}

bool insertaRetiro(TmiddleTier& mt, int sesionId, const QDateTime& fechaHora, double monto,
                   bool esCorte) {
  mt.setQuery(QStringLiteral(
      "INSERT INTO puntoCorte (puntoCajaSesion_id, fechaHora, monto, esCorte) VALUES (:sesion, "
      ":fecha, :monto, :esCorte)"));
  mt.setInteger(QStringLiteral("sesion"), sesionId);
  mt.setDateTime(QStringLiteral("fecha"),
                 fechaHora.isValid() ? fechaHora : QDateTime::currentDateTime());
  mt.setDouble(QStringLiteral("monto"), monto);
  mt.setInteger(QStringLiteral("esCorte"), esCorte ? 1 : 0);
  return mt.nonQuery() == 1;
}

}  // namespace

bool aplicaCorteCaja(int sesionId, const QDateTime& fechaHora, const QString& monto,
                     TConexionSesion& conexion) {
  const QString texto = monto.trimmed();
  if (sesionId <= 0 || !esNumerico(texto)) return false;
  const double valor = texto.toDouble();
  if (valor < 0) return false;
  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) return false;
  if (cajaDeSesionActiva(mt, sesionId) <= 0) return false;
  const double saldo =
      calculaCajaAcumuladoPorSesion(sesionId, negocioDeSesion(mt, sesionId), conexion);
  if (centavos(valor) > centavos(saldo)) return false;
  if (!insertaRetiro(mt, sesionId, fechaHora, valor, true)) return false;
  return tx.termina();
}

bool aplicaCierreCaja(int sesionId, int cajaId, const QDateTime& fechaHora, const QString& monto,
                      TConexionSesion& conexion) {
  const QString texto = monto.trimmed();
  if (sesionId <= 0 || cajaId <= 0 || !esNumerico(texto)) return false;
  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) return false;
  if (cajaDeSesionActiva(mt, sesionId) != cajaId) return false;
  const QDateTime cuando = fechaHora.isValid() ? fechaHora : QDateTime::currentDateTime();
  if (!insertaRetiro(mt, sesionId, cuando, texto.toDouble(), false)) return false;
  mt.setQuery(QStringLiteral(
      "UPDATE puntoCajaSesion SET activa = 0, fechaCierre = :fecha WHERE id = :sesion AND "
      "activa = 1"));
  mt.setDateTime(QStringLiteral("fecha"), cuando);
  mt.setInteger(QStringLiteral("sesion"), sesionId);
  if (mt.nonQuery() != 1) return false;
  mt.setQuery(QStringLiteral(
      "UPDATE puntoCaja SET estado = 0, puntoCajaSesion_id = NULL WHERE id = :caja AND "
      "puntoCajaSesion_id = :sesion"));
  mt.setInteger(QStringLiteral("caja"), cajaId);
  mt.setInteger(QStringLiteral("sesion"), sesionId);
  if (mt.nonQuery() != 1) return false;
  return tx.termina();
}

CmidTierResponse filtraCajas(const QVariant& clave, const QVariant& descripcion, int idNegocio,
                             TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT puntoCaja.id AS puntoCaja_id, puntoCaja.clave AS puntoCaja_clave, "
      "puntoCaja.descripcion AS puntoCaja_descripcion, puntoCaja.inventarioAlmacen_id AS "
      "puntoCaja_inventarioAlmacen_id, inventarioAlmacen.nombre AS inventarioAlmacen_nombre, "
      "puntoCaja.estado AS puntoCaja_estado, CASE puntoCaja.estado WHEN 1 THEN 'Abierta' WHEN 0 "
      "THEN 'Cerrada' ELSE 'Estado ' || puntoCaja.estado END AS _estado_leyenda, "
      "puntoCajaSesion.puntoCajero_id AS puntoCajero_id, Persona.nombre || ' ' || "
      "Persona.apellidoPaterno || ' ' || Persona.apellidoMaterno AS _nombreCompleto, "
      "puntoCajaSesion.id AS puntoCajaSesion_id, puntoCajaSesion.fechaApertura AS "
      "puntoCajaSesion_fechaApertura, (SELECT MAX(puntoCorte.fechaHora) FROM puntoCorte WHERE "
      "puntoCorte.puntoCajaSesion_id = puntoCajaSesion.id AND puntoCorte.esCorte = 1) AS "
      "_ultimoFechaHoraCorte "
      "FROM puntoCaja LEFT JOIN inventarioAlmacen ON inventarioAlmacen.id = "
      "puntoCaja.inventarioAlmacen_id LEFT JOIN puntoCajaSesion ON puntoCajaSesion.id = "
      "puntoCaja.puntoCajaSesion_id LEFT JOIN puntoCajero ON puntoCajero.id = "
      "puntoCajaSesion.puntoCajero_id LEFT JOIN Persona ON Persona.idPersona = "
      "puntoCajero.persona_idPersona "
      "WHERE puntoCaja.idNegocioFk = :negocio AND (:clave IS NULL OR LOWER(puntoCaja.clave) LIKE "
      "LOWER(:clave)) AND (:descripcion IS NULL OR LOWER(puntoCaja.descripcion) LIKE "
      "LOWER(:descripcion)) ORDER BY puntoCaja.clave, puntoCaja.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setVariant(QStringLiteral("clave"), patronONulo(clave));
  mt.setVariant(QStringLiteral("descripcion"), patronONulo(descripcion));
  return mt.reader();
}

CmidTierResponse buscaCajaPorID(int cajaId, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral("SELECT clave AS puntoCaja_clave, descripcion AS puntoCaja_descripcion, "
                     "inventarioAlmacen_id AS inventarioAlmacen_id FROM puntoCaja WHERE id = :id"));
  mt.setInteger(QStringLiteral("id"), cajaId);
  return mt.reader();
}

bool buscaCajaDuplciadaporClave(const QString& clave, int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT COUNT(*) FROM puntoCaja WHERE idNegocioFk = :negocio AND LOWER(TRIM(clave)) = "
      "LOWER(:clave)"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setString(QStringLiteral("clave"), clave.trimmed());
  return mt.scalar().toInt() > 0;
}

bool nuevaCaja(const QString& clave, const QString& descripcion, int idNegocio,
               TConexionSesion& conexion, int almacenId) {
  const QString c = clave.trimmed();
  if (c.isEmpty() || c.size() > 20 || descripcion.size() > 60) return false;
  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) return false;
  if (buscaCajaDuplciadaporClave(c, idNegocio, conexion)) return false;
  mt.setQuery(QStringLiteral(
      "SELECT COUNT(*) FROM inventarioAlmacen WHERE id = :almacen AND idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("almacen"), almacenId);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (mt.scalar().toInt() != 1) return false;
  mt.setQuery(QStringLiteral(
      "INSERT INTO puntoCaja (clave, descripcion, inventarioAlmacen_id, estado, idNegocioFk) "
      "VALUES (:clave, :descripcion, :almacen, 0, :negocio)"));
  mt.setString(QStringLiteral("clave"), c);
  mt.setString(QStringLiteral("descripcion"), descripcion);
  mt.setInteger(QStringLiteral("almacen"), almacenId);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (mt.nonQuery() != 1) return false;
  return tx.termina();
}

bool editaCaja(int cajaId, const QString& descripcion, TConexionSesion& conexion) {
  if (cajaId <= 0 || descripcion.size() > 60) return false;
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("UPDATE puntoCaja SET descripcion = :descripcion WHERE id = :id"));
  mt.setString(QStringLiteral("descripcion"), descripcion);
  mt.setInteger(QStringLiteral("id"), cajaId);
  return mt.nonQuery() == 1;
}
