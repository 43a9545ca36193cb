#include "CatalogoPrueba.h"

#include <gtest/gtest.h>

#include "db/TmiddleTier.h"
#include "signing/firma.h"
#include "support/ConsultaPrueba.h"
#include "util/utilerias.h"

CatalogoPrueba::CatalogoPrueba(TConexionSesion& conexion, int idNegocio)
    : uConexion(conexion), uNegocio(idNegocio) {}

void CatalogoPrueba::ejecuta(const QString& sql, const QVariantMap& p) {
  sqlEjecuta(uConexion, sql, p);
}

void CatalogoPrueba::negocioBasico(const QString& codigoPostal, const QString& regimen) {
  ejecuta(
      "INSERT INTO Negocio (idNegocio, nombre, rfc, razonSocial, regimenFiscal, calle, "
      "noExterior, colonia, municipio, estado, codigoPostal) VALUES (:n, 'Abarrotes La Esperanza', "
      "'EKU9003173C9', 'La Esperanza SA de CV', :r, 'Av. Juárez', '12', 'Centro', "
      "'Cuauhtémoc', 'CDMX', :cp)",
      {{"n", uNegocio}, {"r", regimen}, {"cp", codigoPostal}});
  ejecuta(
      "INSERT INTO ventasListaPrecios (id, nombre, predeterminada, idNegocioFk) VALUES (:id, "
      "'General', 1, :n)",
      {{"id", uNegocio * 10}, {"n", uNegocio}});
  uLista = uNegocio * 10;
  ejecuta(
      "INSERT INTO inventarioUnidadesMedida (ID, descripcion, claveSAT33) VALUES (:id, 'Pieza', "
      "'H87')",
      {{"id", uNegocio * 10}});
  ejecuta(
      "INSERT INTO inventarioAlmacen (id, nombre, clave, idNegocioFk) VALUES (:id, 'Tienda', 'A1', "
      ":n)",
      {{"id", uNegocio}, {"n", uNegocio}});
  categoria("GEN", "General");
}

void CatalogoPrueba::categoria(const QString& identidad, const QString& etiqueta) {
  ejecuta("INSERT INTO inventarioCategoria (identidad, etiqueta, idNegocioFk) VALUES (:i, :e, :n)",
          {{"i", identidad}, {"e", etiqueta}, {"n", uNegocio}});
}

int CatalogoPrueba::producto(int id, const QString& nombre, const QString& codigoBarras,
                             double precio, const QString& impuestos, const QString& categoria) {
  ejecuta(
      "INSERT INTO inventarioProducto (id, clave, claveAlterna, nombre, nombreBusqueda, "
      "codigoBarras, inventarioCategoria_identidad, unidadesMedida_id, claveSATProductoServicio, "
      "idNegocioFk) VALUES (:id, :clave, :alt, :nombre, :busq, :cb, :cat, :u, '50202306', :n)",
      {{"id", id},
       {"clave", QString("P%1").arg(id)},
       {"alt", QString("ALT%1").arg(id)},
       {"nombre", nombre},
       {"busq", u_normalizaBusqueda(nombre)},
       {"cb", codigoBarras},
       {"cat", categoria},
       {"u", uNegocio * 10},
       {"n", uNegocio}});
  if (!codigoBarras.isEmpty())
    ejecuta(
        "INSERT INTO inventarioProductoCodigoBarras (inventarioProducto_id, codigo, idNegocioFk) "
        "VALUES (:p, :c, :n)",
        {{"p", id}, {"c", codigoBarras}, {"n", uNegocio}});
  ejecuta(
      "INSERT INTO ventasListaProductos (ventasListaPrecios_id, inventarioProducto_id, "
      "precioLista, impuestosAplicados) VALUES (:l, :p, :precio, :imp)",
      {{"l", uLista}, {"p", id}, {"precio", precio}, {"imp", impuestos}});
  const QStringList t = u_split(impuestos, "|");
  auto tasa = [&](int i) {
    QString s = t.value(i);
    s.remove('!');
    return u_strToFloat(s);
  };
  ejecuta(
      "INSERT INTO inventarioProductoImpuestos (inventarioProducto_id, ivaTrasladado, ivaRetenido, "
      "iepsTrasladado, iepsRetenido, isrRetenido) VALUES (:p, :a, :b, :c, :d, :e)",
      {{"p", id}, {"a", tasa(0)}, {"b", tasa(1)}, {"c", tasa(2)}, {"d", tasa(3)}, {"e", tasa(4)}});
  return id;
}

void CatalogoPrueba::escalaProducto(int productoId, double cantidad, double descuento) {
  ejecuta(
      "INSERT INTO ventasDescuentosProductos (inventarioProducto_id, cantidad, descuento, "
      "idNegocioFk) VALUES (:p, :c, :d, :n)",
      {{"p", productoId}, {"c", cantidad}, {"d", descuento}, {"n", uNegocio}});
}

void CatalogoPrueba::escalaCategoria(const QString& categoria, double cantidad, double descuento) {
  ejecuta(
      "INSERT INTO ventasDescuentosCategorias (inventarioCategoria_identidad, cantidad, "
      "descuento, idNegocioFk) VALUES (:c, :q, :d, :n)",
      {{"c", categoria}, {"q", cantidad}, {"d", descuento}, {"n", uNegocio}});
}

int CatalogoPrueba::kit(int id, const QString& nombre, double precio,
                        const QList<QPair<int, QString>>& productos, double ivaT) {
  ejecuta(
      "INSERT INTO ventasKit (id, nombre, claveKit, precioVenta, ivaTrasladado, idNegocioFk) "
      "VALUES (:id, :nombre, :clave, :precio, :iva, :n)",
      {{"id", id},
       {"nombre", nombre},
       {"clave", QString("K%1").arg(id)},
       {"precio", precio},
       {"iva", ivaT},
       {"n", uNegocio}});
  for (const auto& [p, c] : productos)
    ejecuta(
        "INSERT INTO ventasKitDetalle (ventasKit_id, inventarioProducto_id, cantidad) VALUES "
        "(:k, :p, :c)",
        {{"k", id}, {"p", p}, {"c", c}});
  return id;
}

int CatalogoPrueba::promocion(int id, const QString& nombre, int tipo, const QString& detalle,
                              const QList<int>& productos, const QStringList& categorias,
                              const QDateTime& desde, const QDateTime& hasta) {
  ejecuta(
      "INSERT INTO ventasPromociones (id, nombre, promocionTipo, promocionDetalle, "
      "vigenciaDesde, vigenciaHasta, idNegocioFk) VALUES (:id, :nombre, :tipo, :det, :d, :h, :n)",
      {{"id", id},
       {"nombre", nombre},
       {"tipo", tipo},
       {"det", detalle},
       {"d", desde.isValid() ? QVariant(desde) : QVariant(QMetaType::fromType<QDateTime>())},
       {"h", hasta.isValid() ? QVariant(hasta) : QVariant(QMetaType::fromType<QDateTime>())},
       {"n", uNegocio}});
  for (int p : productos) promocionProducto(id, 0, p, 1);
  for (const QString& c : categorias)
    ejecuta(
        "INSERT INTO ventasPromocionesProductoCategoriaClave (ventasPromociones_id, lista, "
        "inventarioCategoria_identidad) VALUES (:id, 0, :c)",
        {{"id", id}, {"c", c}});
  return id;
}

void CatalogoPrueba::promocionProducto(int promocionId, int lista, int productoId,
                                       double cantidad) {
  ejecuta(
      "INSERT INTO ventasPromocionesProductoCategoriaClave (ventasPromociones_id, lista, "
      "inventarioProducto_id, gridCantidad) VALUES (:id, :l, :p, :c)",
      {{"id", promocionId}, {"l", lista}, {"p", productoId}, {"c", cantidad}});
}

void CatalogoPrueba::existencia(int productoId, double cantidad, int almacen) {
  ejecuta(
      "INSERT INTO inventarioExistencias (inventarioAlmacen_id, inventarioProducto_id, "
      "existencia) VALUES (:a, :p, :c)",
      {{"a", almacen}, {"p", productoId}, {"c", cantidad}});
}

int CatalogoPrueba::cajero(int id, const QString& nombre, int estado) {
  ejecuta(
      "INSERT INTO Persona (idPersona, nombre, apellidoPaterno, apellidoMaterno, idNegocioFk) "
      "VALUES (:id, :nombre, 'Pérez', 'López', :n)",
      {{"id", id}, {"nombre", nombre}, {"n", uNegocio}});
  ejecuta(
      "INSERT INTO puntoCajero (id, clave, persona_idPersona, ventasVendedorEstado_id, "
      "idNegocioFk) VALUES (:id, :clave, :id, :e, :n)",
      {{"id", id}, {"clave", QString("C%1").arg(id)}, {"e", estado}, {"n", uNegocio}});
  return id;
}

int CatalogoPrueba::cajaAbierta(int cajaId, const QString& estacion, int cajeroId, double monto) {
  ejecuta(
      "INSERT INTO puntoCaja (id, clave, descripcion, inventarioAlmacen_id, estado, idNegocioFk) "
      "VALUES (:id, :clave, :desc, :a, 1, :n)",
      {{"id", cajaId},
       {"clave", QString("CJ%1").arg(cajaId)},
       {"desc", QString("Caja %1").arg(cajaId)},
       {"a", uNegocio},
       {"n", uNegocio}});
  const int sesion = cajaId * 100;
  ejecuta(
      "INSERT INTO puntoCajaSesion (id, puntoCaja_id, cajaNombre, puntoCajero_id, fechaApertura, "
      "montoApertura, estacion, activa, idNegocioFk) VALUES (:id, :caja, :nombre, :cajero, :f, "
      ":monto, :est, 1, :n)",
      {{"id", sesion},
       {"caja", cajaId},
       {"nombre", QString("Caja %1").arg(cajaId)},
       {"cajero", cajeroId},
       {"f", QDateTime::currentDateTime()},
       {"monto", monto},
       {"est", estacion},
       {"n", uNegocio}});
  ejecuta("UPDATE puntoCaja SET puntoCajaSesion_id = :s WHERE id = :id",
          {{"s", sesion}, {"id", cajaId}});
  return sesion;
}

void CatalogoPrueba::credenciales() {
  ejecuta(
      "INSERT INTO usuarioEnLinea (usuario, cuenta, contrasena, idNegocioFk) VALUES ('tienda', "
      "'cuenta1', 'x', :n)",
      {{"n", uNegocio}});
}

void CatalogoPrueba::tiendaDeVentas() {
  negocioBasico();
  producto(1, "Coca Cola 600", "7501055300013", 32.40);
  producto(2, "Café de olla a granel", "", 120, "0|0|0|0|0");
}

void CatalogoPrueba::credencialesCifradas(const QString& carpetaFirma) {
  credenciales();
  signingConfigura(carpetaFirma);
  ejecuta("UPDATE usuarioEnLinea SET contrasena = :c WHERE idNegocioFk = :n",
          {{"c", crypt("x")}, {"n", uNegocio}});
}

int CatalogoPrueba::ventaGuardada(int ticketNo) {
  const double subtotal1 = 3 * 32.40;  // 97.19999999999999
  const double subtotal2 = 0.755 * 120;
  ejecuta(
      "INSERT INTO puntoOperacion (idNegocioFk, ticketNo, cajeroNombre, fechaHora, subtotal, "
      "descuento, impuestos, total, pago, devuelto) VALUES (1, :t, 'Ana Pérez', :f, :s, 5, "
      "15.55, 198.35, 198.35, 0)",
      {{"t", ticketNo},
       {"f", QDateTime(QDate(2026, 1, 31), QTime(13, 45, 10))},
       {"s", subtotal1 + subtotal2}});
  TmiddleTier mt(uConexion);
  mt.setQuery("SELECT id FROM puntoOperacion WHERE idNegocioFk = 1 AND ticketNo = :t");
  mt.setInteger("t", ticketNo);
  const int id = mt.scalar().toInt();
  const QString linea =
      "INSERT INTO puntoOperacionDetalle (puntoOperacion_id, fila, inventarioProducto_id, "
      "claveSATprodcutoServicio, descripcion, clave, unidadesMedida_id, unidadMedida, cantidad, "
      "precioLista, precioUnitario, subtotal, descuento, precioVenta, precio, ivaT, ivaTbase, "
      "tipoInsercion) VALUES (:op, :fila, :prod, '50202306', :desc, :clave, 10, 'Pieza', :cant, "
      ":pu, :pu, :sub, :descuento, :venta, :precio, :iva, :tasa, '1')";
  ejecuta(linea, {{"op", id},
                  {"fila", 1},
                  {"prod", 2},
                  {"desc", "Café de olla a granel"},
                  {"clave", "P2"},
                  {"cant", 0.755},
                  {"pu", 120.0},
                  {"sub", subtotal2},
                  {"descuento", 5.0},
                  {"venta", subtotal2 - 5},
                  {"precio", subtotal2 - 5},
                  {"iva", 0.0},
                  {"tasa", "0"}});
  ejecuta(linea, {{"op", id},
                  {"fila", 0},
                  {"prod", 1},
                  {"desc", "Coca Cola 600"},
                  {"clave", "P1"},
                  {"cant", 3.0},
                  {"pu", 32.40},
                  {"sub", subtotal1},
                  {"descuento", 0.0},
                  {"venta", subtotal1},
                  {"precio", subtotal1 * 1.16},
                  {"iva", subtotal1 * 0.16},
                  {"tasa", "0.16"}});
  const QString pago =
      "INSERT INTO puntoFormaPagoAplicada (puntoOperacion_id, posicion, formaPago_id, nombre, "
      "valor, importe, referencia) VALUES (:op, :pos, :forma, :nombre, :valor, :imp, :ref)";
  ejecuta(pago, {{"op", id},
                 {"pos", 0},
                 {"forma", 1},
                 {"nombre", "Efectivo"},
                 {"valor", "100"},
                 {"imp", 100.0},
                 {"ref", ""}});
  ejecuta(pago, {{"op", id},
                 {"pos", 1},
                 {"forma", 4},
                 {"nombre", "Visa"},
                 {"valor", "98.35"},
                 {"imp", 98.35},
                 {"ref", "AUT-4411"}});
  ejecuta(pago, {{"op", id},
                 {"pos", 2},
                 {"forma", 0},
                 {"nombre", ""},
                 {"valor", ""},
                 {"imp", 0.0},
                 {"ref", ""}});
  return id;
}
