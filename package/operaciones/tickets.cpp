#include "operaciones/tickets.h"

#include <QSet>
#include <algorithm>

#include "db/TmiddleTier.h"
#include "operaciones/transaccion.h"
#include "util/utilerias.h"

namespace {

// The latest invoice of a ticket (a credit note never replaces it: those live in Comprobante).
const char* kUuidFactura =
    "COALESCE((SELECT a.uuid FROM puntoOperacionAdicional a WHERE a.puntoOperacion_id = o.id "
    "ORDER BY a.id DESC LIMIT 1), '')";

// States behind the indices of ticket control's state filter.
const char* const kEstadosFiltro[] = {"", "3", "2", "4", "6"};

QDateTime inicioDelDia(const QDate& d) { return QDateTime(d, QTime(0, 0)); }

}  // namespace

CmidTierResponse buscarOperacionesporSesionFecha(const QVariant& sesion,
                                                 const QDateTime& fechaInicial,
                                                 const QDateTime& fechaFinal,
                                                 const QVariant& reservado, const QVariant& estado,
                                                 int idNegocio, TConexionSesion& conexion) {
  Q_UNUSED(reservado);
  // Each filter adds a fixed clause, so every combination keeps a plan of its own that uses
  // the (business, date) index.
  QString sql = QStringLiteral(
                    "SELECT o.facturadoMetodo AS puntoOperacion_facturadoMetodo, "
                    "CASE WHEN o.facturadoMetodo = '3' THEN '1' ELSE '0' END AS _facturar, "
                    "o.id AS puntoOperacion_id, o.puntoCajaSesion_id AS puntoCajaSesion_id, "
                    "o.ticketNo AS puntoOperacion_ticketNo, o.total AS puntoOperacion_total, "
                    "o.fechaHora AS puntoOperacion_fechaHora, o.uuid AS puntoOperacion_uuid, ") +
                QLatin1String(kUuidFactura) +
                QStringLiteral(
                    " AS puntoOperacionAdicional_uuid, o.subtotal AS puntoOperacion_subtotal, "
                    "o.descuento AS puntoOperacion_descuento FROM puntoOperacion o "
                    "WHERE o.idNegocioFk = :negocio AND o.fechaHora >= :desde AND "
                    "o.fechaHora < :hasta");
  const bool porSesion = !sesion.isNull() && sesion.isValid();
  const int indiceEstado = estado.isNull() || !estado.isValid() ? -1 : estado.toInt();
  const bool porEstado = indiceEstado >= 0 && indiceEstado < int(std::size(kEstadosFiltro));
  if (porSesion) sql += QStringLiteral(" AND o.puntoCajaSesion_id = :sesion");
  if (porEstado) sql += QStringLiteral(" AND o.facturadoMetodo = :estado");
  sql += QStringLiteral(" ORDER BY o.fechaHora, o.ticketNo");
  TmiddleTier mt(conexion);
  mt.setQuery(sql);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setDateTime(QStringLiteral("desde"), inicioDelDia(fechaInicial.date()));
  mt.setDateTime(QStringLiteral("hasta"), inicioDelDia(fechaFinal.date().addDays(1)));
  if (porSesion) mt.setInteger(QStringLiteral("sesion"), sesion.toLongLong());
  if (porEstado)
    mt.setString(QStringLiteral("estado"), QString::fromLatin1(kEstadosFiltro[indiceEstado]));
  return mt.reader();
}

TperiodoFechas periodoFacturaGlobal(int periodo, const QDate& fecha, const QDate& hoy) {
  switch (periodo) {
    case 1:
      return {fecha, fecha};
    case 2:
      return {hoy.addDays(-6), hoy};
    case 3:
      return {hoy.addMonths(-1).addDays(1), hoy};
    case 4:
      return {hoy.addMonths(-2).addDays(1), hoy};
    default:
      return {};
  }
}

CmidTierResponse buscarOperacionesPorDiaSemanaMes(int periodo, const QDate& fecha,
                                                  const QVariant& estado, int idNegocio,
                                                  TConexionSesion& conexion) {
  const TperiodoFechas p = periodoFacturaGlobal(periodo, fecha, QDate::currentDate());
  const bool porFecha = p.desde.isValid() && p.hasta.isValid();
  const bool porEstado = !estado.isNull() && estado.isValid();
  QString sql = QStringLiteral(
      "SELECT CASE WHEN o.uuid = '' THEN '-1' ELSE '0' END AS _facturar, "
      "o.id AS puntoOperacion_id, o.puntoCajaSesion_id AS puntoCajaSesion_id, "
      "o.ticketNo AS puntoOperacion_ticketNo, o.total AS puntoOperacion_total, "
      "o.fechaHora AS puntoOperacion_fechaHora, o.subtotal AS puntoOperacion_subtotal, "
      "o.descuento AS puntoOperacion_descuento, o.uuid AS puntoOperacion_uuid "
      "FROM puntoOperacion o WHERE o.idNegocioFk = :negocio");
  if (porEstado) sql += QStringLiteral(" AND o.facturadoMetodo = :estado");
  if (porFecha) sql += QStringLiteral(" AND o.fechaHora >= :desde AND o.fechaHora < :hasta");
  sql += QStringLiteral(" ORDER BY o.fechaHora, o.ticketNo");
  TmiddleTier mt(conexion);
  mt.setQuery(sql);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (porEstado) mt.setString(QStringLiteral("estado"), QString::number(estado.toInt()));
  if (porFecha) {
    mt.setDateTime(QStringLiteral("desde"), inicioDelDia(p.desde));
    mt.setDateTime(QStringLiteral("hasta"), inicioDelDia(p.hasta.addDays(1)));
  }
  return mt.reader();
}

CmidTierResponse buscaTicketPorOperacionID(int operacionID, int idNegocio,
                                           TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT o.fechaHora AS puntoOperacion_fechaHora, o.total AS puntoOperacion_total, "
      "o.ticketNo AS puntoOperacion_ticketNo, o.cajeroNombre AS nombre, "
      "o.impuestos AS puntoOperacion_impuestos, o.pago AS puntoOperacion_pago, "
      "o.devuelto AS puntoOperacion_devuelto, o.facturadoMetodo AS puntoOperacion_facturadoMetodo, "
      "o.uuid AS puntoOperacion_uuid FROM puntoOperacion o "
      "WHERE o.id = :id AND o.idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.reader();
}

CmidTierResponse buscaTicketDetallePorOperacionID(int operacionID, int idNegocio,
                                                  TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  // The sale keeps the category label and description it showed, so a product renamed later
  // still reads as it was sold.
  mt.setQuery(QStringLiteral(
      "SELECT d.kitID AS puntoOperacionDetalle_kitID, "
      "d.promocionID AS puntoOperacionDetalle_promocionID, "
      "d.cabecera AS puntoOperacionDetalle_cabecera, d.categoria AS inventarioCategoria_etiqueta, "
      "d.descripcion AS inventarioProducto_nombre, d.cantidad AS puntoOperacionDetalle_cantidad, "
      "d.precio AS _precioConIMPT, d.importe AS puntoOperacionDetalle_importe "
      "FROM puntoOperacionDetalle d INNER JOIN puntoOperacion o ON o.id = d.puntoOperacion_id "
      "WHERE d.puntoOperacion_id = :id AND o.idNegocioFk = :negocio ORDER BY d.fila, d.id"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.reader();
}

int buscaTicketEstadoFacturadoPorOperacionID(int operacionID, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral("SELECT facturadoMetodo FROM puntoOperacion WHERE id = :id"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  const QVariant v = mt.scalar();
  if (!v.isValid()) return -1;
  return u_strToInt(v.toString().trimmed());
}

bool buscaFormaDePagoPorTicket(int operacionID, int idNegocio, TConexionSesion& conexion,
                               TFormasPago& formas) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT p.posicion, p.formaPago_id, p.nombre, p.valor, p.referencia, p.servicioExterno "
      "FROM puntoFormaPagoAplicada p INNER JOIN puntoOperacion o ON o.id = p.puntoOperacion_id "
      "WHERE p.puntoOperacion_id = :id AND o.idNegocioFk = :negocio ORDER BY p.posicion, p.id"));
  mt.setInteger(QStringLiteral("id"), operacionID);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const CmidTierResponse r = mt.reader();
  if (!r.ok()) return false;
  formas = TFormasPago();
  for (int i = 0; i < r.getRowCount(); ++i) {
    const int posicion = r.getCeldaAsInt(QStringLiteral("posicion"), i);
    if (posicion < 0 || posicion >= int(formas.size())) continue;
    tFormaPago& f = formas[posicion];
    f.id = r.getCeldaAsInt(QStringLiteral("formaPago_id"), i);
    f.nombre = r.getCelda(QStringLiteral("nombre"), i);
    f.valor = r.getCelda(QStringLiteral("valor"), i);
    f.referencia = r.getCelda(QStringLiteral("referencia"), i);
    const QString externo = r.getCelda(QStringLiteral("servicioExterno"), i);
    if (!externo.isEmpty()) f.servicioExterno = externo.toLongLong();
  }
  return true;
}

bool actualizaEstadoTicket(const QStringList& identificadores, int idNegocio,
                           TConexionSesion& conexion,
                           const QHash<QString, TfacturaServicio>& facturas, QString* error) {
  // A poll may bring thousands of tickets: they go in lots, each lot one INSERT and one UPDATE
  // over a list of bound values, instead of two statements per ticket.
  constexpr int kLote = 100;
  QStringList lista;
  QSet<QString> vistos;
  for (const QString& crudo : identificadores) {
    const QString id = crudo.trimmed();
    if (!id.isEmpty() && !vistos.contains(id)) {
      vistos.insert(id);
      lista << id;
    }
  }
  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  const auto falla = [&] {
    if (error) *error = mt.ultimoError();
    return false;
  };
  if (!tx.inicia()) return falla();
  const QDateTime ahora = QDateTime::currentDateTime();
  for (qsizetype inicio = 0; inicio < lista.size(); inicio += kLote) {
    const qsizetype n = std::min<qsizetype>(kLote, lista.size() - inicio);
    // (identifier, stamping date, invoice UUID) of each ticket of the lot.
    QStringList filas;
    for (qsizetype k = 0; k < n; ++k) filas << QStringLiteral("(:i%1, :f%1, :u%1)").arg(k);
    const QString valores =
        QStringLiteral("(VALUES ") + filas.join(QStringLiteral(", ")) + QLatin1Char(')');
    const auto enlaza = [&] {
      mt.setInteger(QStringLiteral("negocio"), idNegocio);
      for (qsizetype k = 0; k < n; ++k) {
        const QString id = lista.at(inicio + k);
        const TfacturaServicio f = facturas.value(id);
        mt.setString(QStringLiteral("i%1").arg(k), id);
        mt.setDateTime(QStringLiteral("f%1").arg(k), f.fecha.isValid() ? f.fecha : ahora);
        mt.setString(QStringLiteral("u%1").arg(k), f.uuid.trimmed());
      }
    };
    // The invoice lines first, while the tickets still tell which of them change.
    mt.setQuery(
        QStringLiteral("INSERT INTO puntoOperacionAdicional (puntoOperacion_id, uuid, fecha) "
                       "SELECT o.id, v.column3, v.column2 FROM puntoOperacion o INNER JOIN ") +
        valores +
        QStringLiteral(" AS v ON v.column1 = o.uuid WHERE o.idNegocioFk = :negocio AND "
                       "o.facturadoMetodo = '3' AND v.column3 <> ''"));
    enlaza();
    if (mt.nonQuery() < 0) return falla();
    mt.setQuery(QStringLiteral("UPDATE puntoOperacion SET facturadoMetodo = '2', facturadoFecha = "
                               "(SELECT v.column2 FROM ") +
                valores +
                QStringLiteral(" AS v WHERE v.column1 = puntoOperacion.uuid) WHERE idNegocioFk = "
                               ":negocio AND facturadoMetodo = '3' AND uuid IN (SELECT w.column1 "
                               "FROM ") +
                valores + QStringLiteral(" AS w)"));
    enlaza();
    if (mt.nonQuery() < 0) return falla();
  }
  if (!tx.termina()) return falla();
  return true;
}

int cuentaTicketsPendientesCarga(int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT COUNT(*) FROM puntoOperacion WHERE idNegocioFk = :negocio AND facturadoMetodo = '' "
      "AND uuid = ''"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const QVariant n = mt.scalar();
  return n.isValid() ? n.toInt() : -1;
}

QVector<int> buscaTicketsPendientesCarga(int idNegocio, int limite, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT id FROM puntoOperacion WHERE idNegocioFk = :negocio AND facturadoMetodo = '' "
      "AND uuid = '' ORDER BY fechaHora, id LIMIT :limite"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setInteger(QStringLiteral("limite"), limite);
  const CmidTierResponse r = mt.reader();
  QVector<int> ids;
  for (int i = 0; i < r.getRowCount(); ++i) ids << r.getCeldaAsInt(QStringLiteral("id"), i);
  return ids;
}
