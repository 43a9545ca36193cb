#include "returns/reglas/registroDevolucion.h"

#include <QUuid>
#include <algorithm>

#include "operaciones/devoluciones.h"
#include "operaciones/inventario.h"
#include "operaciones/noSerie.h"
#include "operaciones/transaccion.h"
#include "util/utilerias.h"

namespace {

constexpr double kTolerancia = 1e-9;
const QString kCabeceraKit = QStringLiteral("2");

QString cantidad(double valor) { return u_floatToStr(u_truncaDecimales(valor, 9)); }

// What unconfirmed credit notes other than `notaID` hold of the line and have not recorded.
double reservado(TmiddleTier& mt, int detalleID, int notaID) {
  mt.setQuery(QStringLiteral(
      "SELECT COALESCE(SUM(d.cantidad), 0) FROM ventasDevolucionNotaDetalle d JOIN "
      "ventasDevolucionNota n ON n.id = d.ventasDevolucionNota_id WHERE "
      "d.puntoOperacionDetalle_id = :detalle AND n.estado = 0 AND d.registrada = 0 AND n.id <> "
      ":nota"));
  mt.setInteger(QStringLiteral("detalle"), detalleID);
  mt.setInteger(QStringLiteral("nota"), notaID);
  return mt.scalar().toDouble();
}

// Refusal of a capture larger than what the locked line has left; empty when it fits.
QString excede(const CmidTierResponse& renglon, double capturado, double apartado) {
  const double resta =
      u_truncaDecimales(renglon.getCeldaAsFloat(QStringLiteral("cantidad")) -
                            renglon.getCeldaAsFloat(QStringLiteral("devolucion")) - apartado,
                        9);
  if (capturado <= resta + kTolerancia) return QString();
  QString m = QStringLiteral("No se registró la devolución de %1: quedan %2 por devolver")
                  .arg(renglon.getCelda(QStringLiteral("descripcion")).trimmed(),
                       cantidad(std::max(0.0, resta)));
  if (apartado > kTolerancia)
    m +=
        QStringLiteral(" (%1 los tiene una nota de crédito sin confirmar)").arg(cantidad(apartado));
  return m + QStringLiteral(".");
}

// The serial number's link still ties it to the line.
bool sigueLigado(TmiddleTier& mt, const TnoSerieDevolver& s, int detalleID) {
  mt.setQuery(
      QStringLiteral("SELECT COUNT(*) FROM inventarioNoSerieTicket WHERE id = :enlace AND "
                     "puntoOperacionDetalle_id = :detalle AND inventarioNoSerie_id = :serie"));
  mt.setInteger(QStringLiteral("enlace"), s.enlaceID);
  mt.setInteger(QStringLiteral("detalle"), detalleID);
  mt.setInteger(QStringLiteral("serie"), s.noSerieID);
  return mt.scalar().toInt() == 1;
}

QString serieAjena(const TnoSerieDevolver& s) {
  return QStringLiteral("El número de serie %1 ya no está ligado a esta venta.").arg(s.noSerie);
}

// Stock back for the line: its product, or a kit header's components in proportion.
bool regresaExistencia(TmiddleTier& mt, const CmidTierResponse& renglon, double q, int idNegocio) {
  TConexionInventario inventario;
  const int almacen = renglon.getCeldaAsInt(QStringLiteral("inventarioAlmacen_id"));
  const int producto = renglon.getCeldaAsInt(QStringLiteral("inventarioProducto_id"));
  if (producto > 0 || renglon.getCelda(QStringLiteral("_tipoInsercion")) != kCabeceraKit)
    return inventario.devuelveProductoFromCotizacion(
        {q, almacen, producto, renglon.getCelda(QStringLiteral("descripcion")),
         renglon.getCeldaAsInt(QStringLiteral("unidadesMedida_id"))},
        mt.conexion(), idNegocio);
  mt.setQuery(QStringLiteral(
      "SELECT inventarioProducto_id, cantidad, descripcion, unidadesMedida_id FROM "
      "puntoOperacionDetalle WHERE puntoOperacion_id = :op AND grupo = :grupo AND tipoInsercion "
      "= '20' AND inventarioProducto_id IS NOT NULL ORDER BY fila, id"));
  mt.setInteger(QStringLiteral("op"), renglon.getCeldaAsInt(QStringLiteral("puntoOperacion_id")));
  mt.setInteger(QStringLiteral("grupo"), renglon.getCeldaAsInt(QStringLiteral("_grupo")));
  const CmidTierResponse piezas = mt.reader();
  if (!piezas.ok()) return false;
  const double kits = renglon.getCeldaAsFloat(QStringLiteral("cantidad"));
  for (int i = 0; i < piezas.getRowCount(); ++i) {
    const double porKit =
        kits > 0 ? piezas.getCeldaAsFloat(QStringLiteral("cantidad"), i) / kits : 0;
    if (!inventario.devuelveProductoFromCotizacion(
            {u_truncaDecimales(porKit * q, 9), almacen,
             piezas.getCeldaAsInt(QStringLiteral("inventarioProducto_id"), i),
             piezas.getCelda(QStringLiteral("descripcion"), i),
             piezas.getCeldaAsInt(QStringLiteral("unidadesMedida_id"), i)},
            mt.conexion(), idNegocio))
      return false;
  }
  return true;
}

TresultadoLineaDevolucion rechazo(const QString& mensaje) {
  TresultadoLineaDevolucion r;
  r.mensaje = mensaje;
  return r;
}

}  // namespace

TresultadoLineaDevolucion registraDevolucionLinea(const TlineaDevolucion& linea,
                                                  const QDateTime& fecha, int notaID, int idNegocio,
                                                  TConexionSesion& conexion) {
  if (!(linea.cantidad > 0)) return rechazo(QStringLiteral("Capture una devolución."));
  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) return rechazo(mt.ultimoError());
  const CmidTierResponse renglon = bloqueaRenglonVenta(mt, linea.fila, idNegocio);
  if (!renglon.ok()) return rechazo(renglon.getError());
  if (renglon.getRowCount() == 0)
    return rechazo(QStringLiteral("El renglón no pertenece a una venta de este negocio."));
  const double devuelto = renglon.getCeldaAsFloat(QStringLiteral("devolucion"));

  int detalleNota = 0;
  if (notaID > 0) {
    mt.setQuery(QStringLiteral(
        "SELECT id, registrada FROM ventasDevolucionNotaDetalle WHERE ventasDevolucionNota_id = "
        ":nota AND puntoOperacionDetalle_id = :detalle"));
    mt.setInteger(QStringLiteral("nota"), notaID);
    mt.setInteger(QStringLiteral("detalle"), linea.fila);
    const CmidTierResponse d = mt.reader();
    if (!d.ok() || d.getRowCount() != 1)
      return rechazo(QStringLiteral("El renglón no es parte de la nota de crédito."));
    if (d.getCeldaAsInt(QStringLiteral("registrada")) == 1) {
      // Another station recorded it under the same credit note.
      TresultadoLineaDevolucion r;
      r.ok = true;
      r.devuelto = devuelto;
      return r;
    }
    detalleNota = d.getCeldaAsInt(QStringLiteral("id"));
  }
  const QString error = excede(renglon, linea.cantidad, reservado(mt, linea.fila, notaID));
  if (!error.isEmpty()) return rechazo(error);

  if (!regresaExistencia(mt, renglon, linea.cantidad, idNegocio))
    return rechazo(QStringLiteral("No se pudo regresar %1 al inventario del almacén de la venta.")
                       .arg(linea.descripcion.trimmed()));

  QStringList series;
  Tproductos productos(conexion);
  for (const TnoSerieDevolver& s : u_leeNoSerieDevolver(linea.noSerieDevolver)) {
    if (!sigueLigado(mt, s, linea.fila) ||
        !productos.deleteRelacionNoSerieConTicket(s.enlaceID).ok() ||
        !productos.updateInventarioEstadoNoSerieEstado(s.noSerieID).ok())
      return rechazo(serieAjena(s));
    series << s.noSerie;
  }

  TresultadoLineaDevolucion r;
  r.devuelto = u_truncaDecimales(devuelto + linea.cantidad, 9);
  r.series = series.join(QLatin1Char(','));
  Tventas ventas(conexion);
  const CmidTierResponse registro =
      ventas.insertPorductoDevolucion(linea.fila, linea.estado.trimmed(), fecha,
                                      linea.cantidadTexto, linea.tipoDevolucion, r.series, notaID);
  if (!registro.ok()) return rechazo(registro.getError());
  if (!ventas.updateOperacionPuntoVentaSETdevolucion(linea.fila, u_floatToStr(r.devuelto)).ok())
    return rechazo(ventas.ultimoError());
  if (detalleNota > 0) {
    mt.setQuery(
        QStringLiteral("UPDATE ventasDevolucionNotaDetalle SET registrada = 1 WHERE id = :id"));
    mt.setInteger(QStringLiteral("id"), detalleNota);
    if (mt.nonQuery() != 1) return rechazo(mt.ultimoError());
  }
  if (!tx.termina()) return rechazo(mt.ultimoError());
  r.ok = true;
  r.devolucionID = registro.getCeldaAsInt(QStringLiteral("ventasDevolucion_id"));
  return r;
}

CmidTierResponse buscaNotaPendiente(int operacionID, int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT n.id AS ventasDevolucionNota_id, n.clave AS clave, d.puntoOperacionDetalle_id AS "
      "puntoOperacionDetalle_id, d.cantidad AS cantidad, d.noSerieDevolver AS noSerieDevolver, "
      "d.estadoProducto AS estadoProducto, d.tipoDevolucion AS tipoDevolucion, d.registrada AS "
      "registrada FROM ventasDevolucionNota n JOIN ventasDevolucionNotaDetalle d ON "
      "d.ventasDevolucionNota_id = n.id WHERE n.puntoOperacion_id = :op AND n.idNegocioFk = "
      ":negocio AND n.estado = 0 ORDER BY n.id, d.puntoOperacionDetalle_id"));
  mt.setInteger(QStringLiteral("op"), operacionID);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  return mt.reader();
}

namespace {

TreservaNota reservaRechazada(const QString& mensaje) {
  TreservaNota r;
  r.mensaje = mensaje;
  return r;
}

// The unconfirmed credit note holds exactly these lines and serial numbers.
bool mismasLineas(const CmidTierResponse& nota, QVector<TlineaDevolucion> lineas) {
  if (nota.getRowCount() != lineas.size()) return false;
  std::sort(lineas.begin(), lineas.end(),
            [](const TlineaDevolucion& a, const TlineaDevolucion& b) { return a.fila < b.fila; });
  for (int i = 0; i < lineas.size(); ++i) {
    if (nota.getCeldaAsInt(QStringLiteral("puntoOperacionDetalle_id"), i) != lineas[i].fila ||
        std::abs(nota.getCeldaAsFloat(QStringLiteral("cantidad"), i) - lineas[i].cantidad) >
            kTolerancia ||
        u_leeNoSerieDevolver(nota.getCelda(QStringLiteral("noSerieDevolver"), i)) !=
            u_leeNoSerieDevolver(lineas[i].noSerieDevolver))
      return false;
  }
  return true;
}

}  // namespace

TreservaNota reservaNotaDeCredito(int operacionID, const QVector<TlineaDevolucion>& lineas,
                                  int idNegocio, TConexionSesion& conexion) {
  if (lineas.isEmpty()) return reservaRechazada(QStringLiteral("Capture una devolución."));
  QVector<TlineaDevolucion> ordenadas = lineas;
  // Lines are locked in id order, so two stations never wait on each other crosswise.
  std::sort(ordenadas.begin(), ordenadas.end(),
            [](const TlineaDevolucion& a, const TlineaDevolucion& b) { return a.fila < b.fila; });
  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) return reservaRechazada(mt.ultimoError());
  QVector<CmidTierResponse> renglones;
  for (const TlineaDevolucion& l : ordenadas) {
    const CmidTierResponse renglon = bloqueaRenglonVenta(mt, l.fila, idNegocio);
    if (!renglon.ok()) return reservaRechazada(renglon.getError());
    if (renglon.getRowCount() == 0 ||
        renglon.getCeldaAsInt(QStringLiteral("puntoOperacion_id")) != operacionID)
      return reservaRechazada(QStringLiteral("El renglón no pertenece a la venta."));
    renglones << renglon;
  }

  const CmidTierResponse pendiente = buscaNotaPendiente(operacionID, idNegocio, conexion);
  if (!pendiente.ok()) return reservaRechazada(pendiente.getError());
  if (pendiente.getRowCount() > 0) {
    if (!mismasLineas(pendiente, ordenadas))
      return reservaRechazada(QStringLiteral(
          "Esta venta tiene una nota de crédito que no se confirmó. Vuelva a buscar el ticket "
          "para reintentarla."));
    TreservaNota r;
    r.ok = true;
    r.id = pendiente.getCeldaAsInt(QStringLiteral("ventasDevolucionNota_id"));
    r.clave = pendiente.getCelda(QStringLiteral("clave"));
    return r;
  }

  for (int i = 0; i < ordenadas.size(); ++i) {
    const QString error =
        excede(renglones[i], ordenadas[i].cantidad, reservado(mt, ordenadas[i].fila, 0));
    if (!error.isEmpty()) return reservaRechazada(error);
    for (const TnoSerieDevolver& s : u_leeNoSerieDevolver(ordenadas[i].noSerieDevolver))
      if (!sigueLigado(mt, s, ordenadas[i].fila)) return reservaRechazada(serieAjena(s));
  }

  TreservaNota r;
  r.clave = QStringLiteral("nota-%1-%2")
                .arg(idNegocio)
                .arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
  mt.setQuery(QStringLiteral(
      "INSERT INTO ventasDevolucionNota (idNegocioFk, puntoOperacion_id, fecha, clave, estado) "
      "VALUES (:negocio, :op, :fecha, :clave, 0) RETURNING id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setInteger(QStringLiteral("op"), operacionID);
  mt.setDateTime(QStringLiteral("fecha"), QDateTime::currentDateTime());
  mt.setString(QStringLiteral("clave"), r.clave);
  r.id = mt.scalar().toInt();
  if (r.id <= 0) return reservaRechazada(mt.ultimoError());
  mt.setQuery(QStringLiteral(
      "INSERT INTO ventasDevolucionNotaDetalle (ventasDevolucionNota_id, "
      "puntoOperacionDetalle_id, cantidad, noSerieDevolver, estadoProducto, tipoDevolucion) "
      "VALUES (:nota, :detalle, :cantidad, :series, :estado, :tipo)"));
  for (const TlineaDevolucion& l : ordenadas) {
    mt.setInteger(QStringLiteral("nota"), r.id);
    mt.setInteger(QStringLiteral("detalle"), l.fila);
    mt.setDouble(QStringLiteral("cantidad"), l.cantidad);
    mt.setString(QStringLiteral("series"), l.noSerieDevolver);
    mt.setString(QStringLiteral("estado"), l.estado);
    mt.setInteger(QStringLiteral("tipo"), l.tipoDevolucion);
    if (mt.nonQuery() != 1) return reservaRechazada(mt.ultimoError());
  }
  if (!tx.termina()) return reservaRechazada(mt.ultimoError());
  r.ok = true;
  return r;
}

bool liberaNotaDeCredito(int notaID, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) return false;
  mt.setQuery(QStringLiteral(
      "DELETE FROM ventasDevolucionNotaDetalle WHERE ventasDevolucionNota_id = :id AND EXISTS "
      "(SELECT 1 FROM ventasDevolucionNota n WHERE n.id = :id AND n.estado = 0)"));
  mt.setInteger(QStringLiteral("id"), notaID);
  if (mt.nonQuery() < 0) return false;
  mt.setQuery(QStringLiteral("DELETE FROM ventasDevolucionNota WHERE id = :id AND estado = 0"));
  mt.setInteger(QStringLiteral("id"), notaID);
  return mt.nonQuery() >= 0 && tx.termina();
}

bool confirmaNotaDeCredito(int notaID, const QString& uuid, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(
      QStringLiteral("UPDATE ventasDevolucionNota SET estado = 1, uuid = :uuid WHERE id = :id"));
  mt.setString(QStringLiteral("uuid"), uuid);
  mt.setInteger(QStringLiteral("id"), notaID);
  return mt.nonQuery() == 1;
}

TresultadoDevolucion aceptaDevolucion(TdocumentoDevolucion& documento, int tipo,
                                      const TemisorNotaCredito& emiteNota,
                                      TConexionSesion& conexion, int idNegocio) {
  TresultadoDevolucion r;
  const QDateTime ahora = QDateTime::currentDateTime();
  const QVector<TlineaDevolucion> lineas = documento.lineasCapturadas();
  const TventaDevolucion venta = documento.venta();
  int notaID = 0;
  if (tipo == DEVOLUCION_NOTA_CREDITO) {
    const TreservaNota reserva = reservaNotaDeCredito(venta.ticketID, lineas, idNegocio, conexion);
    if (!reserva.ok) {
      r.mensajes << reserva.mensaje;
      return r;
    }
    datosFacturar datos = documento.reuneDatosFacturaNotaDeCredito();
    datos.claveIdempotencia = reserva.clave;
    const TemisionNota emision = emiteNota ? emiteNota(venta.ticketID, datos) : TemisionNota();
    if (!emision.ok) {
      if (!emision.incierta)
        liberaNotaDeCredito(reserva.id, conexion);
      else
        r.mensajes << QStringLiteral(
            "No se confirmó si la nota de crédito se timbró. La devolución quedó pendiente: "
            "busque de nuevo el ticket y acéptela para reintentarla; no se timbrará otra nota.");
      return r;
    }
    r.notaEmitida = true;
    r.uuidNota = emision.uuid;
    notaID = reserva.id;
  }
  bool todas = true;
  for (const TlineaDevolucion& l : lineas) {
    const TresultadoLineaDevolucion registro =
        registraDevolucionLinea(l, ahora, notaID, idNegocio, conexion);
    if (!registro.ok) {
      todas = false;
      r.mensajes << registro.mensaje;
      continue;
    }
    documento.lineaRegistrada(l.filaGrid, registro.devuelto);
    if (registro.devolucionID > 0) r.devoluciones << registro.devolucionID;
  }
  if (notaID > 0) {
    if (todas)
      confirmaNotaDeCredito(notaID, r.uuidNota, conexion);
    else
      r.mensajes << QStringLiteral(
          "La nota de crédito se emitió, pero no todos sus renglones se registraron: busque de "
          "nuevo el ticket y acepte la devolución para completarla.");
  }
  return r;
}
