#include "inventario.h"

#include <QDateTime>
#include <map>

#include "context/TsistemaDatos.h"
#include "db/TmiddleTier.h"
#include "operaciones/puntoVenta.h"
#include "operaciones/transaccion.h"
#include "util/limites.h"
#include "util/utilerias.h"

namespace {

struct Requerido {
  double cantidad = 0;
  QString nombre;
};

const QString kEspera = QStringLiteral(
    "La venta no se guardó: otra caja tiene apartados estos productos y no los liberó a tiempo. "
    "Intente cobrar de nuevo.");

QVariant enteroONulo(const QString& texto) {
  const int v = u_strToInt(texto);
  return v > 0 ? QVariant(qlonglong(v)) : QVariant(QMetaType::fromType<qlonglong>());
}

bool esPagoExterno(const tFormaPago& f) {
  return f.servicioExterno.isValid() && !f.servicioExterno.isNull() &&
         f.servicioExterno.toLongLong() == 1 && !f.referencia.isEmpty();
}

CmidTierResponse buscaPagoExternoUsado(TmiddleTier& mt, const QString& referencia, int idNegocio) {
  mt.setQuery(QStringLiteral("SELECT id FROM puntoFormaPagoAplicada WHERE idNegocioFk = :negocio "
                             "AND referencia = :referencia AND servicioExterno = 1"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setString(QStringLiteral("referencia"), referencia);
  return mt.reader();
}

QString pagoExternoRepetido(const QString& referencia) {
  return QStringLiteral("El pago %1 de Mercado Pago ya está relacionado con otra venta; la venta "
                        "no se guardó. Busque el pago de nuevo o capture otra forma de pago.")
      .arg(referencia);
}

rRespuestaPuntoVenta falla(const QString& mensaje) {
  rRespuestaPuntoVenta r;
  r.mensaje = mensaje;
  return r;
}

// The failure of the statement that just ran: a lock that was not freed in time gets the
// cashier's message, anything else the engine's text.
rRespuestaPuntoVenta fallaSentencia(const TmiddleTier& mt) {
  return falla(mt.ultimoFueEspera() ? kEspera : mt.ultimoError());
}

// Columns of a sale line as stored, and the sale-line column each is read from. Numbers are
// read as floats, the rest as texts; the ids, group and flags are handled apart.
struct TCampoLinea {
  const char* columna;
  const char* origen;
  bool numero;
};
const TCampoLinea kCamposLinea[] = {
    {"claveSATprodcutoServicio", "_Producto_catSAT_clave", false},
    {"descripcion", "Descripción", false},
    {"categoria", "Categoría", false},
    {"categoriaIdentidad", "_Categoria", false},
    {"clave", "Clave", false},
    {"claveAlterna", "C. Alterna", false},
    {"unidadMedida", "U. de Medida", false},
    {"cantidad", "Cantidad", true},
    {"precioLista", "Precio Lista", true},
    {"precioUnitario", "Precio Unitario", true},
    {"precioVenta", "Precio Venta", true},
    {"precio", "Precio", true},
    {"subtotal", "Subtotal", true},
    {"descuento", "_descuento", true},
    {"descuentoValor", "Descuento", true},
    {"descuentoTipoCliente", "_descuentoTipoCliente", true},
    {"importe", "Importe", true},
    {"imp", "Imp", true},
    {"ivaT", "IVA T", true},
    {"ivaR", "IVA R", true},
    {"iepsT", "IEPS T", true},
    {"iepsR", "IEPS R", true},
    {"isrR", "ISR R", true},
    {"ivaTbase", "_IVA T", false},
    {"ivaRbase", "_IVA R", false},
    {"iepsTbase", "_IEPS T", false},
    {"iepsRbase", "_IEPS R", false},
    {"isrRbase", "_ISR R", false},
    {"tipoInsercion", "_tipoInsercion", false},
};

// Lines go in groups of this many rows per statement: one round trip for a usual sale.
constexpr int kLineasPorSentencia = 100;

bool guardaLineas(TmiddleTier& mt, const TGridControl& lineas, int operacionID) {
  const int total = lineas.getRowCount();
  for (int inicio = 0; inicio < total; inicio += kLineasPorSentencia) {
    const int fin = std::min(total, inicio + kLineasPorSentencia);
    QString sql = QStringLiteral(
        "INSERT INTO puntoOperacionDetalle (puntoOperacion_id, fila, inventarioProducto_id, "
        "unidadesMedida_id, grupo, cabecera, kitID, promocionID");
    for (const TCampoLinea& c : kCamposLinea)
      sql += QStringLiteral(", ") + QLatin1String(c.columna);
    sql += QStringLiteral(") VALUES ");
    for (int r = inicio; r < fin; ++r) {
      if (r > inicio) sql += QStringLiteral(", ");
      sql += QStringLiteral(
                 "(:op, :fila%1, :producto%1, :unidad%1, :grupo%1, :cabecera%1, :kit%1, "
                 ":promocion%1")
                 .arg(r);
      for (int c = 0; c < static_cast<int>(std::size(kCamposLinea)); ++c)
        sql += QStringLiteral(", :c%1_%2").arg(c).arg(r);
      sql += QLatin1Char(')');
    }
    mt.setQuery(sql);
    mt.setInteger(QStringLiteral("op"), operacionID);
    for (int r = inicio; r < fin; ++r) {
      auto celda = [&](const char* columna) {
        return lineas.getCelda(QString::fromUtf8(columna), r);
      };
      const QString n = QString::number(r);
      mt.setInteger(QStringLiteral("fila") + n, r);
      mt.setVariant(QStringLiteral("producto") + n, enteroONulo(celda("_Producto_id")));
      mt.setVariant(QStringLiteral("unidad") + n, enteroONulo(celda("unidadMedidaID")));
      mt.setInteger(QStringLiteral("grupo") + n, u_strToInt(celda("_grupo")));
      mt.setInteger(QStringLiteral("cabecera") + n, u_strToInt(celda("_cabecera")));
      mt.setInteger(QStringLiteral("kit") + n, u_strToInt(celda("_kitID")));
      mt.setInteger(QStringLiteral("promocion") + n, u_strToInt(celda("_promocionID")));
      for (int c = 0; c < static_cast<int>(std::size(kCamposLinea)); ++c) {
        const QString nombre = QStringLiteral("c%1_%2").arg(c).arg(r);
        const QString valor = celda(kCamposLinea[c].origen);
        if (kCamposLinea[c].numero)
          mt.setDouble(nombre, u_strToFloat(valor));
        else
          mt.setString(nombre, valor);
      }
    }
    if (mt.nonQuery() != fin - inicio) return false;
  }
  return true;
}

// External payment lines carry their business: its unique index refuses a payment id used twice.
bool guardaPagos(TmiddleTier& mt, const TFormasPago& formas, int operacionID, int idNegocio) {
  QString sql = QStringLiteral(
      "INSERT INTO puntoFormaPagoAplicada (puntoOperacion_id, posicion, formaPago_id, nombre, "
      "valor, importe, referencia, servicioExterno, idNegocioFk) VALUES ");
  for (int i = 0; i < static_cast<int>(formas.size()); ++i)
    sql += QStringLiteral(
               "%1(:op, %2, :forma%2, :nombre%2, :valor%2, :importe%2, :referencia%2, "
               ":externo%2, :negocio)")
               .arg(i ? QStringLiteral(", ") : QString())
               .arg(i);
  mt.setQuery(sql);
  mt.setInteger(QStringLiteral("op"), operacionID);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  for (int i = 0; i < static_cast<int>(formas.size()); ++i) {
    const tFormaPago& f = formas[i];
    const QString n = QString::number(i);
    mt.setInteger(QStringLiteral("forma") + n, f.id);
    mt.setString(QStringLiteral("nombre") + n, f.nombre);
    mt.setString(QStringLiteral("valor") + n, f.valor);
    mt.setDouble(QStringLiteral("importe") + n, u_parseMonto(f.valor));
    mt.setString(QStringLiteral("referencia") + n, f.referencia);
    mt.setVariant(QStringLiteral("externo") + n,
                  f.servicioExterno.isNull() || !f.servicioExterno.isValid()
                      ? QVariant(QMetaType::fromType<qlonglong>())
                      : QVariant(f.servicioExterno.toLongLong()));
  }
  return mt.nonQuery() == static_cast<int>(formas.size());
}

// The business's next ticket number. Called last, right before the commit: the counter row
// stays locked until then, so numbers are unique and without gaps, and stations selling at
// once wait for each other only for this last moment.
int siguienteTicket(TmiddleTier& mt, int idNegocio) {
  // The counter row exists after a business's first sale; creating it (which waits on a
  // conflicting insert even when the row is there) only happens once.
  mt.setQuery(QStringLiteral("SELECT COUNT(*) FROM puntoTicketFolio WHERE idNegocioFk = :negocio"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const QVariant hay = mt.scalar();
  if (!hay.isValid()) return -1;
  if (hay.toInt() == 0) {
    mt.setQuery(QStringLiteral(
        "INSERT INTO puntoTicketFolio (idNegocioFk, ultimoTicket) SELECT :negocio, "
        "COALESCE(MAX(ticketNo), 0) FROM puntoOperacion WHERE idNegocioFk = :negocio AND "
        "ticketNo > 0 ON CONFLICT (idNegocioFk) DO NOTHING"));
    mt.setInteger(QStringLiteral("negocio"), idNegocio);
    if (mt.nonQuery() < 0) return -1;
  }
  mt.setQuery(
      QStringLiteral("UPDATE puntoTicketFolio SET ultimoTicket = ultimoTicket + 1 WHERE "
                     "idNegocioFk = :negocio RETURNING ultimoTicket"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const QVariant folio = mt.scalar();
  return folio.isValid() ? folio.toInt() : -1;
}

// Amounts and quantities the money arithmetic holds exactly; anything larger is refused before
// anything is written.
QString revisaLimites(const QStringList& montos, const TGridControl& lineas) {
  static const char* const nombres[] = {"el total",  "el subtotal", "el descuento",
                                        "lo pagado", "el cambio",   "los impuestos"};
  for (int i = 0; i < montos.size(); ++i) {
    const QString problema = u_revisaMonto(u_parseMonto(montos[i]), QString::fromUtf8(nombres[i]));
    if (!problema.isEmpty()) return QStringLiteral("La venta no se guardó: ") + problema + '.';
  }
  for (int r = 0; r < lineas.getRowCount(); ++r) {
    const QString problema =
        u_revisaCantidad(u_strToFloat(lineas.getCelda(QStringLiteral("Cantidad"), r)),
                         QStringLiteral("la cantidad de \"%1\"")
                             .arg(lineas.getCelda(QStringLiteral("Descripción"), r)));
    if (!problema.isEmpty()) return QStringLiteral("La venta no se guardó: ") + problema + '.';
  }
  return QString();
}

}  // namespace

rRespuestaPuntoVenta TConexionInventario::descuentaInventarioFromPuntoVenta(
    const QString& total, const QString& subtotal, const QString& descuento, const QString& pagado,
    const QString& devuelto, const QString& impuestos, const TFormasPago& formas,
    const TGridControl& lineas, TConexionSesion& conexion, int idNegocio, int almacen,
    const QString& estacion) {
  const QString limites =
      revisaLimites({total, subtotal, descuento, pagado, devuelto, impuestos}, lineas);
  if (!limites.isEmpty()) return falla(limites);
  // Quantities per product, in product order so concurrent sales lock stock rows in the
  // same order and never deadlock.
  std::map<int, Requerido> requeridos;
  for (int r = 0; r < lineas.getRowCount(); ++r) {
    const int producto = u_strToInt(lineas.getCelda(QStringLiteral("_Producto_id"), r));
    if (producto <= 0) continue;
    Requerido& q = requeridos[producto];
    q.cantidad += u_strToFloat(lineas.getCelda(QStringLiteral("Cantidad"), r));
    if (q.nombre.isEmpty()) q.nombre = lineas.getCelda(QStringLiteral("Descripción"), r);
  }

  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) {
    if (mt.ultimoFueEspera()) return falla(kEspera);
    return falla(QStringLiteral("No se pudo iniciar la venta: ") + mt.ultimoError());
  }
  if (conexion.esPostgres()) {
    // A station that waits for rows another one holds gives up in seconds and says so; the
    // cashier keeps the sale and tries again.
    mt.setQuery(
        QStringLiteral("SELECT set_config('lock_timeout', '5s', true), "
                       "set_config('statement_timeout', '15s', true)"));
    if (!mt.scalar().isValid()) return fallaSentencia(mt);
  }

  Tsalidas_comun salidas(conexion);
  const CmidTierResponse sesion = salidas.seletSesionDatosFromPcName(
      estacion.isEmpty() ? u_getPCName() : estacion, idNegocio, conexion.getProvider());
  if (!sesion.ok() || sesion.getRowCount() == 0)
    return falla(
        QStringLiteral("La estación de trabajo actual, no tiene una caja relacionada a una "
                       "sesión activa."));

  // One statement per product checks and discounts its stock and locks its row. Compared at
  // nine decimals, so fractional quantities never fail on binary noise.
  mt.setQuery(QStringLiteral(
      "UPDATE inventarioExistencias SET existencia = existencia - :cantidad WHERE "
      "inventarioAlmacen_id = :almacen AND inventarioProducto_id = :producto AND existencia - "
      ":cantidad > -0.000000001"));
  for (const auto& [producto, q] : requeridos) {
    mt.setDouble(QStringLiteral("cantidad"), q.cantidad);
    mt.setInteger(QStringLiteral("almacen"), almacen);
    mt.setInteger(QStringLiteral("producto"), producto);
    const int n = mt.nonQuery();
    if (n < 0) return fallaSentencia(mt);
    if (n == 0) {
      rRespuestaPuntoVenta r;
      r.sinExistencia = 1;
      r.producto = q.nombre;
      return r;
    }
  }

  // The operation goes in with a provisional negative ticket number, unique to it; the real
  // one is taken last.
  mt.setQuery(
      QStringLiteral(
          "INSERT INTO puntoOperacion (id, idNegocioFk, ticketNo, puntoCajaSesion_id, "
          "puntoCajero_id, cajeroNombre, inventarioAlmacen_id, fechaHora, subtotal, descuento, "
          "impuestos, total, pago, devuelto) SELECT n, :negocio, -n, :sesion, :cajero, :nombre, "
          ":almacen, :fecha, :subtotal, :descuento, :impuestos, :total, :pago, :devuelto FROM "
          "(SELECT %1 AS n) siguiente RETURNING id")
          .arg(conexion.esPostgres()
                   ? QStringLiteral("nextval(pg_get_serial_sequence('puntooperacion', 'id'))")
                   : QStringLiteral("MAX(COALESCE((SELECT seq FROM sqlite_sequence WHERE name = "
                                    "'puntoOperacion'), 0), COALESCE((SELECT MAX(id) FROM "
                                    "puntoOperacion), 0)) + 1")));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setInteger(QStringLiteral("sesion"),
                sesion.getCeldaAsInt(QStringLiteral("puntoCajaSesion_id")));
  mt.setInteger(QStringLiteral("cajero"), sesion.getCeldaAsInt(QStringLiteral("puntoCajero_id")));
  mt.setString(QStringLiteral("nombre"), sesion.getCelda(QStringLiteral("_nombreCompleto")));
  mt.setVariant(QStringLiteral("almacen"), almacen > 0
                                               ? QVariant(qlonglong(almacen))
                                               : QVariant(QMetaType::fromType<qlonglong>()));
  mt.setDateTime(QStringLiteral("fecha"), QDateTime::currentDateTime());
  mt.setDouble(QStringLiteral("subtotal"), u_strToFloat(subtotal));
  mt.setDouble(QStringLiteral("descuento"), u_strToFloat(descuento));
  mt.setDouble(QStringLiteral("impuestos"), u_strToFloat(impuestos));
  mt.setDouble(QStringLiteral("total"), u_strToFloat(total));
  mt.setDouble(QStringLiteral("pago"), u_strToFloat(pagado));
  mt.setDouble(QStringLiteral("devuelto"), u_strToFloat(devuelto));
  const QVariant idOperacion = mt.scalar();
  if (!idOperacion.isValid()) return fallaSentencia(mt);
  const int operacionID = idOperacion.toInt();

  if (!guardaLineas(mt, lineas, operacionID)) return fallaSentencia(mt);
  for (const tFormaPago& f : formas) {
    if (!esPagoExterno(f)) continue;
    const CmidTierResponse usado = buscaPagoExternoUsado(mt, f.referencia, idNegocio);
    if (!usado.ok()) return falla(usado.getError());
    if (usado.getRowCount() > 0) return falla(pagoExternoRepetido(f.referencia));
  }
  if (!guardaPagos(mt, formas, operacionID, idNegocio)) {
    // Another station stored the same payment id after our check: the unique index refused it.
    for (const tFormaPago& f : formas)
      if (esPagoExterno(f) &&
          mt.ultimoError().contains(QStringLiteral("unique"), Qt::CaseInsensitive))
        return falla(pagoExternoRepetido(f.referencia));
    return fallaSentencia(mt);
  }

  const int ticketNo = siguienteTicket(mt, idNegocio);
  if (ticketNo < 0) return fallaSentencia(mt);
  mt.setQuery(QStringLiteral("UPDATE puntoOperacion SET ticketNo = :ticket WHERE id = :op"));
  mt.setInteger(QStringLiteral("ticket"), ticketNo);
  mt.setInteger(QStringLiteral("op"), operacionID);
  if (mt.nonQuery() != 1) return fallaSentencia(mt);

  if (!tx.termina()) return fallaSentencia(mt);
  rRespuestaPuntoVenta r;
  r.ok = true;
  r.ticketNo = ticketNo;
  r.operacionID = operacionID;
  return r;
}
