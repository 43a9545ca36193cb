#include "inventario.h"

#include <QDateTime>
#include <map>

#include "context/TsistemaDatos.h"
#include "db/TmiddleTier.h"
#include "operaciones/puntoVenta.h"
#include "util/utilerias.h"

namespace {

struct Requerido {
  double cantidad = 0;
  QString nombre;
};

// Rolls back unless released: every early return of the sale leaves nothing behind.
class Transaccion {
 public:
  explicit Transaccion(TmiddleTier& mt) : uMt(mt) {}
  ~Transaccion() {
    if (uAbierta) uMt.transaccionRollback();
  }
  bool inicia() { return uAbierta = uMt.transaccionInicia(true); }
  bool confirma() {
    if (!uMt.transaccionTermina()) return false;
    uAbierta = false;
    return true;
  }

 private:
  TmiddleTier& uMt;
  bool uAbierta = false;
};

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

}  // namespace

rRespuestaPuntoVenta TConexionInventario::descuentaInventarioFromPuntoVenta(
    const QString& total, const QString& subtotal, const QString& descuento,
    const QString& pagado, const QString& devuelto, const QString& impuestos,
    const TFormasPago& formas, const TGridControl& lineas, TConexionSesion& conexion,
    int idNegocio, int almacen, const QString& estacion) {
  auto celda = [&](const char* columna, int fila) {
    return lineas.getCelda(QString::fromUtf8(columna), fila);
  };
  // Quantities per product, in product order so concurrent sales lock stock rows in the
  // same order and never deadlock.
  std::map<int, Requerido> requeridos;
  for (int r = 0; r < lineas.getRowCount(); ++r) {
    const int producto = u_strToInt(celda("_Producto_id", r));
    if (producto <= 0) continue;
    Requerido& q = requeridos[producto];
    q.cantidad += u_strToFloat(celda("Cantidad", r));
    if (q.nombre.isEmpty()) q.nombre = celda("Descripción", r);
  }

  TmiddleTier mt(conexion);
  Transaccion tx(mt);
  if (!tx.inicia()) return falla(QStringLiteral("No se pudo iniciar la venta: ") + mt.ultimoError());

  Tsalidas_comun salidas(conexion);
  const CmidTierResponse sesion =
      salidas.seletSesionDatosFromPcName(estacion.isEmpty() ? u_getPCName() : estacion, idNegocio,
                                         conexion.getProvider());
  if (!sesion.ok() || sesion.getRowCount() == 0)
    return falla(QStringLiteral("La estación de trabajo actual, no tiene una caja relacionada a una "
                                "sesión activa."));

  const QString bloqueo = conexion.esPostgres() ? QStringLiteral(" FOR UPDATE") : QString();
  for (const auto& [producto, q] : requeridos) {
    mt.setQuery(QStringLiteral("SELECT id, existencia FROM inventarioExistencias WHERE "
                               "inventarioAlmacen_id = :almacen AND inventarioProducto_id = :producto") +
                bloqueo);
    mt.setInteger(QStringLiteral("almacen"), almacen);
    mt.setInteger(QStringLiteral("producto"), producto);
    const CmidTierResponse e = mt.reader();
    if (!e.ok()) return falla(e.getError());
    // Compared at 9 decimals so fractional quantities never fail on binary noise.
    if (e.getRowCount() == 0 ||
        u_truncaDecimales(e.getCeldaAsFloat(QStringLiteral("existencia")) - q.cantidad, 9) < 0) {
      rRespuestaPuntoVenta r;
      r.sinExistencia = 1;
      r.producto = q.nombre;
      return r;
    }
    mt.setQuery(QStringLiteral("UPDATE inventarioExistencias SET existencia = existencia - :cantidad "
                               "WHERE id = :id"));
    mt.setDouble(QStringLiteral("cantidad"), q.cantidad);
    mt.setInteger(QStringLiteral("id"), e.getCeldaAsInt(QStringLiteral("id")));
    if (mt.nonQuery() != 1) return falla(mt.ultimoError());
  }

  // Ticket numbers: one counter row per business, locked by the update until commit.
  mt.setQuery(QStringLiteral(
      "INSERT INTO puntoTicketFolio (idNegocioFk, ultimoTicket) SELECT :negocio, "
      "COALESCE(MAX(ticketNo), 0) FROM puntoOperacion WHERE idNegocioFk = :negocio "
      "ON CONFLICT (idNegocioFk) DO NOTHING"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (mt.nonQuery() < 0) return falla(mt.ultimoError());
  mt.setQuery(QStringLiteral("UPDATE puntoTicketFolio SET ultimoTicket = ultimoTicket + 1 WHERE "
                             "idNegocioFk = :negocio RETURNING ultimoTicket"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const CmidTierResponse folio = mt.reader();
  if (!folio.ok() || folio.getRowCount() != 1) return falla(folio.getError());
  const int ticketNo = folio.getCeldaAsInt(QStringLiteral("ultimoTicket"));

  mt.setQuery(QStringLiteral(
      "INSERT INTO puntoOperacion (idNegocioFk, ticketNo, puntoCajaSesion_id, puntoCajero_id, "
      "cajeroNombre, inventarioAlmacen_id, fechaHora, subtotal, descuento, impuestos, total, pago, "
      "devuelto) VALUES (:negocio, :ticket, :sesion, :cajero, :nombre, :almacen, :fecha, "
      ":subtotal, :descuento, :impuestos, :total, :pago, :devuelto) RETURNING id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setInteger(QStringLiteral("ticket"), ticketNo);
  mt.setInteger(QStringLiteral("sesion"), sesion.getCeldaAsInt(QStringLiteral("puntoCajaSesion_id")));
  mt.setInteger(QStringLiteral("cajero"), sesion.getCeldaAsInt(QStringLiteral("puntoCajero_id")));
  mt.setString(QStringLiteral("nombre"), sesion.getCelda(QStringLiteral("_nombreCompleto")));
  mt.setVariant(QStringLiteral("almacen"), almacen > 0 ? QVariant(qlonglong(almacen))
                                                       : QVariant(QMetaType::fromType<qlonglong>()));
  mt.setDateTime(QStringLiteral("fecha"), QDateTime::currentDateTime());
  mt.setDouble(QStringLiteral("subtotal"), u_strToFloat(subtotal));
  mt.setDouble(QStringLiteral("descuento"), u_strToFloat(descuento));
  mt.setDouble(QStringLiteral("impuestos"), u_strToFloat(impuestos));
  mt.setDouble(QStringLiteral("total"), u_strToFloat(total));
  mt.setDouble(QStringLiteral("pago"), u_strToFloat(pagado));
  mt.setDouble(QStringLiteral("devuelto"), u_strToFloat(devuelto));
  const CmidTierResponse operacion = mt.reader();
  if (!operacion.ok() || operacion.getRowCount() != 1) return falla(operacion.getError());
  const int operacionID = operacion.getCeldaAsInt(QStringLiteral("id"));

  mt.setQuery(QStringLiteral(
      "INSERT INTO puntoOperacionDetalle (puntoOperacion_id, fila, inventarioProducto_id, "
      "claveSATprodcutoServicio, descripcion, categoria, categoriaIdentidad, clave, claveAlterna, "
      "unidadesMedida_id, unidadMedida, cantidad, precioLista, precioUnitario, precioVenta, precio, "
      "subtotal, descuento, descuentoValor, descuentoTipoCliente, importe, imp, ivaT, ivaR, iepsT, "
      "iepsR, isrR, ivaTbase, ivaRbase, iepsTbase, iepsRbase, isrRbase, tipoInsercion, grupo, "
      "cabecera, kitID, promocionID) VALUES (:op, :fila, :producto, :sat, :descripcion, :categoria, "
      ":categoriaIdentidad, :clave, :alterna, :unidad, :unidadTexto, :cantidad, :precioLista, "
      ":precioUnitario, :precioVenta, :precio, :subtotal, :descuento, :descuentoValor, "
      ":descuentoCliente, :importe, :imp, :ivaT, :ivaR, :iepsT, :iepsR, :isrR, :ivaTb, :ivaRb, "
      ":iepsTb, :iepsRb, :isrRb, :tipo, :grupo, :cabecera, :kit, :promocion)"));
  for (int r = 0; r < lineas.getRowCount(); ++r) {
    auto numero = [&](const char* n, const char* columna) {
      mt.setDouble(QString::fromUtf8(n), u_strToFloat(celda(columna, r)));
    };
    auto texto = [&](const char* n, const char* columna) {
      mt.setString(QString::fromUtf8(n), celda(columna, r));
    };
    mt.setInteger(QStringLiteral("op"), operacionID);
    mt.setInteger(QStringLiteral("fila"), r);
    mt.setVariant(QStringLiteral("producto"), enteroONulo(celda("_Producto_id", r)));
    mt.setVariant(QStringLiteral("unidad"), enteroONulo(celda("unidadMedidaID", r)));
    texto("sat", "_Producto_catSAT_clave");
    texto("descripcion", "Descripción");
    texto("categoria", "Categoría");
    texto("categoriaIdentidad", "_Categoria");
    texto("clave", "Clave");
    texto("alterna", "C. Alterna");
    texto("unidadTexto", "U. de Medida");
    numero("cantidad", "Cantidad");
    numero("precioLista", "Precio Lista");
    numero("precioUnitario", "Precio Unitario");
    numero("precioVenta", "Precio Venta");
    numero("precio", "Precio");
    numero("subtotal", "Subtotal");
    numero("descuento", "_descuento");
    numero("descuentoValor", "Descuento");
    numero("descuentoCliente", "_descuentoTipoCliente");
    numero("importe", "Importe");
    numero("imp", "Imp");
    numero("ivaT", "IVA T");
    numero("ivaR", "IVA R");
    numero("iepsT", "IEPS T");
    numero("iepsR", "IEPS R");
    numero("isrR", "ISR R");
    texto("ivaTb", "_IVA T");
    texto("ivaRb", "_IVA R");
    texto("iepsTb", "_IEPS T");
    texto("iepsRb", "_IEPS R");
    texto("isrRb", "_ISR R");
    texto("tipo", "_tipoInsercion");
    mt.setInteger(QStringLiteral("grupo"), u_strToInt(celda("_grupo", r)));
    mt.setInteger(QStringLiteral("cabecera"), u_strToInt(celda("_cabecera", r)));
    mt.setInteger(QStringLiteral("kit"), u_strToInt(celda("_kitID", r)));
    mt.setInteger(QStringLiteral("promocion"), u_strToInt(celda("_promocionID", r)));
    if (mt.nonQuery() != 1) return falla(mt.ultimoError());
  }

  for (const tFormaPago& f : formas) {
    if (!esPagoExterno(f)) continue;
    const CmidTierResponse usado = buscaPagoExternoUsado(mt, f.referencia, idNegocio);
    if (!usado.ok()) return falla(usado.getError());
    if (usado.getRowCount() > 0) return falla(pagoExternoRepetido(f.referencia));
  }
  mt.setQuery(QStringLiteral(
      "INSERT INTO puntoFormaPagoAplicada (puntoOperacion_id, posicion, formaPago_id, nombre, "
      "valor, importe, referencia, servicioExterno, idNegocioFk) VALUES (:op, :posicion, :forma, "
      ":nombre, :valor, :importe, :referencia, :externo, :negocio)"));
  for (int i = 0; i < static_cast<int>(formas.size()); ++i) {
    const tFormaPago& f = formas[i];
    mt.setInteger(QStringLiteral("negocio"), idNegocio);
    mt.setInteger(QStringLiteral("op"), operacionID);
    mt.setInteger(QStringLiteral("posicion"), i);
    mt.setInteger(QStringLiteral("forma"), f.id);
    mt.setString(QStringLiteral("nombre"), f.nombre);
    mt.setString(QStringLiteral("valor"), f.valor);
    mt.setDouble(QStringLiteral("importe"), u_parseMonto(f.valor));
    mt.setString(QStringLiteral("referencia"), f.referencia);
    mt.setVariant(QStringLiteral("externo"), f.servicioExterno.isNull() || !f.servicioExterno.isValid()
                                                 ? QVariant(QMetaType::fromType<qlonglong>())
                                                 : QVariant(f.servicioExterno.toLongLong()));
    if (mt.nonQuery() != 1) {
      // Another station stored the same payment id after our check: the unique index refused it.
      if (esPagoExterno(f) &&
          mt.ultimoError().contains(QStringLiteral("unique"), Qt::CaseInsensitive))
        return falla(pagoExternoRepetido(f.referencia));
      return falla(mt.ultimoError());
    }
  }

  if (!tx.confirma()) return falla(mt.ultimoError());
  rRespuestaPuntoVenta r;
  r.ok = true;
  r.ticketNo = ticketNo;
  r.operacionID = operacionID;
  return r;
}
