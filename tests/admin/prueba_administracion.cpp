// The administration data service on both engines, by area. Each quirk the screens rely on is
// named where a test pins it down.
#include <gtest/gtest.h>

#include "admin/reglas/Tadministracion.h"
#include "db/TmiddleTier.h"
#include "support/BaseDatosPrueba.h"
#include "support/ConsultaPrueba.h"

namespace {

// Business 1: users 1 and 2 with people, user 3 without; branch 2 not in use, branch 3 unnamed;
// product 3 inactive and without unit, product 4 in a category that does not exist; stock row
// ids differ from their product ids. Business 2 has one of most things.
const char* const kFilas[] = {
    "INSERT INTO Negocio (idNegocio, nombre) VALUES (1, 'Uno'), (2, 'Dos')",
    "INSERT INTO Persona (idPersona, nombre, apellidoPaterno, apellidoMaterno) VALUES "
    "(1, 'Ana', 'Núñez', 'Ortega'), (2, 'Beto', 'Ruiz', 'Sol')",
    "INSERT INTO Usuario (idUsuario, idPersonaTabla) VALUES (1, 1), (2, 2), (3, NULL)",
    "INSERT INTO UsuarioNegocio (idUsuarioNegocio, idUsuarioTabla, idNegocioFk) VALUES "
    "(1, 1, 1), (2, 2, 1), (3, 3, 1)",
    "INSERT INTO AsientosContables (idAsientosContables, nombre, idNegocioFk) VALUES "
    "(1, 'Caja general', 1), (2, 'Bancos', 1), (3, 'Caja ajena', 2), (4, 'Ventas ajenas', 2), "
    "(5, 'Sin módulo', 1)",
    "INSERT INTO ModuloAsientosContables (id, idAsientosContablesFk, modulo) VALUES "
    "(1, 1, '63'), (2, 2, '12'), (3, 3, '63'), (4, 4, '12')",
    "INSERT INTO pdvClienteClasificacion (id, nombre, descripcion, idNegocioFk) VALUES "
    "(1, 'Mayoreo', 'Compras grandes', 1), (2, 'Menudeo', '', 1), (3, 'Ajena', '', 2)",
    "INSERT INTO Sucursal (idSucursal, nombreSucursal, estatus, idNegocioFk) VALUES "
    "(1, 'Centro', 0, 1), (2, 'Norte', 1, 1), (3, '', 0, 1), (4, 'Ajena', 0, 2)",
    "INSERT INTO inventarioAlmacen (id, nombre, idSucursal, idNegocioFk) VALUES "
    "(1, 'Bodega centro', 1, 1), (2, 'Piso centro', 1, 1), (3, 'Bodega norte', 2, 1)",
    "INSERT INTO inventarioCategoria (id, identidad, etiqueta, carpeta, idNegocioFk) VALUES "
    "(1, 'BEBIDAS', 'Bebidas', '/beb', 1), (2, 'ABARROTES', 'Abarrotes', '/aba', 1), "
    "(3, 'REFRESCOS', 'Refrescos', '', 2)",
    "INSERT INTO inventarioUnidadesMedida (ID, descripcion, conjunto, relacion) VALUES "
    "(1, 'Pieza', 'Unidad', 1), (2, 'Caja 12', 'Unidad', 12)",
    "INSERT INTO inventarioProducto (id, inventarioProductoEstado_id, clave, claveAlterna, nombre, "
    "codigoBarras, descripcion, inventarioCategoria_identidad, unidadesMedida_id, "
    "opControladoNoSerie, idNegocioFk) VALUES "
    "(1, 1, 'COCA6', 'C600', 'Coca Cola 600', '7501', 'Refresco', 'BEBIDAS', 1, 0, 1), "
    "(2, 1, 'AGUA1', 'A1L', 'Agua natural 1L', '7502', '', 'BEBIDAS', 2, 0, 1), "
    "(3, 2, 'ARR1', 'ARRCO', 'Arroz 1kg', '', '', 'ABARROTES', NULL, 1, 1), "
    "(4, 1, 'HUERF', '', 'Sin categoría', '', '', 'NOEXISTE', 1, 0, 1), "
    "(5, 1, 'AJENO', '', 'Coca ajena', '', '', 'REFRESCOS', 1, 0, 2)",
    "INSERT INTO inventarioExistencias (id, inventarioAlmacen_id, inventarioProducto_id, "
    "existencia, costoUnitario) VALUES (1, 1, 2, 5, 11.5), (2, 2, 1, 3, 20)",
    "INSERT INTO inventarioOpciones (id, kardexMetodo, idNegocioFk) VALUES (1, 2, 1)",
};

// Two businesses and the reference tables the service reads, with fixed ids. The tables the
// service writes start empty, so their ids number from 1 in insertion order (and PostgreSQL's
// identity sequences stay right).
class Administracion : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    for (const char* sql : kFilas)
      if (db) sqlEjecuta(conexion(), QString::fromUtf8(sql));
  }
};

using L = QStringList;
const QDateTime kDesde(QDate(2025, 1, 1), QTime(0, 0));
const QDateTime kHasta(QDate(2025, 12, 31), QTime(23, 59, 59));
const QString k2025 = "2025-01-01 00:00:00|2025-12-31 23:59:59";

TEST_P(Administracion, GruposYSusMiembros) {
  Tadministracion a(conexion());
  for (auto [nombre, negocio] : {std::pair{"Cajeros", 1}, {"Supervisores", 1}, {"Ajenos", 2}})
    ASSERT_EQ(a.insertGrupo(nombre, negocio), 1);
  EXPECT_EQ(a.updateGrupo(2, "Supervisoras", "TFTFFFFFFFFFFFFFF"), 1);
  // Quirk: a new group's permissions are bound as seventeen "F".
  EXPECT_EQ(sqlFilas(a.selectGrupos(1)),
            L({"1|Cajeros|FFFFFFFFFFFFFFFFF", "2|Supervisoras|TFTFFFFFFFFFFFFFF"}));
  EXPECT_EQ(sqlFilas(a.selectGrupoPermisos(2)), L({"TFTFFFFFFFFFFFFFF"}));

  for (int usuario : {1, 2, 3}) ASSERT_EQ(a.insertUsuarioPorGrupo(1, usuario), 1);
  ASSERT_EQ(a.insertUsuarioPorGrupo(2, 2), 1);
  // The three name parts joined by blanks; a user with no person has no name.
  EXPECT_EQ(sqlFilas(a.selectUsuariosPorGrupo(1)),
            L({"1|Ana Núñez Ortega", "2|Beto Ruiz Sol", "3|"}));
  EXPECT_EQ(sqlFilas(a.selectUsuarioExistentePorGrupo(2, 2)), L({"4"}));
  EXPECT_EQ(a.selectUsuarioExistentePorGrupo(2, 1).getRowCount(), 0);
  EXPECT_EQ(a.deleteUsuarioByID(2), 1);
  EXPECT_EQ(sqlFilas(a.selectUsuariosPorGrupo(1)), L({"1|Ana Núñez Ortega", "3|"}));
}

TEST_P(Administracion, AsientosYConceptosDeFormasDePago) {
  Tadministracion a(conexion());
  // Quirk: AND binds before OR, so module '63' comes from every business.
  EXPECT_EQ(sqlFilas(a.selectAsientos("12", 1)),
            L({"1|Caja general|63", "2|Bancos|12", "3|Caja ajena|63"}));
  EXPECT_EQ(sqlFilas(a.selectAsientos("1%", 2), {"AsientosContables_id"}), L({"1", "3", "4"}));

  const std::tuple<const char*, int, int, int, int> conceptos[] = {{"Efectivo", 1, 1, 1, 1},
                                                                   {"Tarjeta", 1, 2, 4, 1},
                                                                   {"Retiro", 2, 1, 1, 1},
                                                                   {"Ajeno", 1, 3, 1, 2}};
  for (auto [etiqueta, direccion, asiento, familia, negocio] : conceptos)
    ASSERT_EQ(a.insertMovimientoConcepto(etiqueta, direccion, asiento, familia, negocio), 1);
  EXPECT_EQ(sqlFilas(a.selectMovimientoConcepto(1, 1)),
            L({"1|Efectivo|1|1|Caja general|63", "2|Tarjeta|4|2|Bancos|12"}));
  EXPECT_EQ(sqlFilas(a.selectMovimientoConcepto(2, 1), {"pdvMetodoPago_etiqueta"}), L({"Retiro"}));
  EXPECT_EQ(a.updateMovimientoConcepto(2, "Tarjeta de crédito", 1), 1);
  // Quirk: a concept is never deleted, only set inactive and left out of the list.
  EXPECT_EQ(a.updateFormaDePagoColumnaActiva(1), 1);
  EXPECT_EQ(sqlFilas(a.selectMovimientoConcepto(1, 1)),
            L({"2|Tarjeta de crédito|4|1|Caja general|63"}));
  a.setQuery("SELECT activa FROM pdvMetodoPago WHERE id = 1");
  EXPECT_EQ(a.scalar(), 0);
}

TEST_P(Administracion, ListasDePreciosSeCreanBuscanDuplicanYBorran) {
  Tadministracion a(conexion());
  EXPECT_EQ(sqlFilas(a.selectClienteClasificacion(1)),
            L({"1|Mayoreo|Compras grandes", "2|Menudeo|"}));
  ASSERT_EQ(a.insertListaPrecios("Navidad", kDesde, kHasta, 1, 1, 1, 2), 1);
  ASSERT_EQ(a.insertListaPrecios("Mayoreo norte", kDesde, kHasta, 2, 1, 2, 3), 1);
  ASSERT_EQ(a.insertListaPrecios("Navidad ajena", kDesde, kHasta, 3, 2, 4, 1), 1);
  EXPECT_EQ(sqlFilas(a.selectListaPreciosByNombre(QVariant(), 1)),
            L({"1|Navidad|" + k2025 + "|1|Mayoreo", "2|Mayoreo norte|" + k2025 + "|2|Menudeo"}));
  // The name matches anywhere, whatever its capitals, on both engines.
  EXPECT_EQ(sqlFilas(a.selectListaPreciosByNombre("VIDA", 1), {"pdvListaPrecios_id"}), L({"1"}));
  EXPECT_EQ(sqlFilas(a.selectListaByID(1)),
            L({"1|Navidad|" + k2025 + "|1|Mayoreo|1|Centro|2|Piso centro"}));
  EXPECT_EQ(
      a.updateListaPreciosByID(1, "Navidad 2026", kDesde.addYears(1), kHasta.addYears(1), 2, 2, 3),
      1);
  EXPECT_EQ(a.updateListaPreciosNombre(1, "Temporada"), 1);
  // A duplicate copies every field but the id; deleting the original leaves the copy.
  EXPECT_EQ(a.insertDuplicaLista(1), 1);
  EXPECT_EQ(a.deleteListaPrecios(1), 1);
  EXPECT_EQ(a.selectListaByID(1).getRowCount(), 0);
  EXPECT_EQ(sqlFilas(a.selectListaByID(4)),
            L({"4|Temporada|2026-01-01 00:00:00|2026-12-31 23:59:59|2|Menudeo|2|Norte|3|Bodega "
               "norte"}));
}

TEST_P(Administracion, ProductosYColumnasDeUnaLista) {
  Tadministracion a(conexion());
  ASSERT_EQ(a.insertListaPrecios("A", kDesde, kHasta, 1, 1, 1, 1), 1);
  ASSERT_EQ(a.insertListaPrecios("B", kDesde, kHasta, 1, 1, 1, 1), 1);
  // Quirk: costs, prices and volumes are bound and kept as texts ("12.50" keeps its zero).
  ASSERT_EQ(a.insertListaProductos(1, 1, 1, "12.50"), 1);
  ASSERT_EQ(a.insertProductoLista(1, 2, 3, "7"), 1);
  ASSERT_EQ(a.insertProductoLista(2, 1, 2, "3.10"), 1);
  // Only the products the list holds.
  EXPECT_EQ(sqlFilas(a.selectListaProductos(1)),
            L({"1|1|Activo|1|Bebidas|BEBIDAS|1|Coca Cola 600|12.50",
               "3|2|Inactivo|2|Abarrotes|ABARROTES|3|Arroz 1kg|7"}));
  EXPECT_EQ(sqlFilas(a.selectProductosListaByListaID(2)), L({"1|2|3.10"}));

  // Quirk: the volume is bound as "volumnen".
  ASSERT_EQ(a.insertColumnaDentroDeLista(1, "Caja", "12"), 1);
  ASSERT_EQ(a.insertColumnaDentroDeLista(1, "Media caja", "6"), 1);
  ASSERT_EQ(a.insertColumnaDentroDeLista(2, "Caja", "24"), 1);
  EXPECT_EQ(sqlFilas(a.selectColumnasPorLista(1)), L({"1|1|Caja|12", "2|1|Media caja|6"}));
  const std::tuple<int, int, int, const char*> precios[] = {
      {1, 1, 1, "150.00"}, {1, 1, 3, "80"}, {1, 2, 1, "75"}, {2, 3, 2, "30"}};
  for (auto [lista, columna, producto, precio] : precios)
    ASSERT_EQ(a.insertProductoDentroDeColumna(lista, columna, producto, precio), 1);
  EXPECT_EQ(sqlFilas(a.selectProductosPorColumna(1)), L({"1|150.00", "3|80"}));
  EXPECT_EQ(sqlFilas(a.selectProductosPorColumnaByPrecioID(3)), L({"4|3|2|30"}));

  // Clearing list 1 leaves list 2 whole.
  EXPECT_EQ(a.deleteColumnaProductoByListaPrecio(1), 3);
  EXPECT_EQ(a.deleteColumnaPorLista(1), 2);
  EXPECT_EQ(a.deleteListaProductosCostoUnitario(1), 2);
  for (auto [lista, columna, quedan] : {std::tuple{1, 1, 0}, {2, 3, 1}}) {
    EXPECT_EQ(a.selectProductosPorColumna(columna).getRowCount(), quedan);
    EXPECT_EQ(a.selectColumnasPorLista(lista).getRowCount(), quedan);
    EXPECT_EQ(a.selectProductosListaByListaID(lista).getRowCount(), quedan);
  }
}

TEST_P(Administracion, ProductosYCatalogos) {
  Tadministracion a(conexion());
  // A product whose category does not exist is left out, and so are other businesses'.
  EXPECT_EQ(
      sqlFilas(a.selectProductosTodos(1)),
      L({"1|1|Activo|COCA6|C600|Coca Cola 600|7501|Refresco|BEBIDAS|Bebidas|1|0|Pieza|Unidad|1",
         "2|1|Activo|AGUA1|A1L|Agua natural 1L|7502||BEBIDAS|Bebidas|2|0|Caja 12|Unidad|12",
         "3|2|Inactivo|ARR1|ARRCO|Arroz 1kg|||ABARROTES|Abarrotes||1|||"}));
  struct Caso {
    QVariant nombre, categoria, clave, estado;
    int negocio;
    L productos;
  };
  const QVariant n;
  const Caso casos[] = {
      {n, n, n, n, 1, {"1", "2", "3"}},  // no filter: the whole business
      {"COLA", n, n, n, 1, {"1"}},       // the name anywhere, any capitals
      {n, "BEB", n, n, 1, {"1", "2"}},   // quirk: the category as a prefix...
      {n, "EBID", n, n, 1, {}},          // ...never in the middle
      {n, n, "co", n, 1, {"1", "3"}},    // the key or the alternate key
      {n, n, n, 2, 1, {"3"}},            // the state exactly
      {n, n, n, "2", 1, {"3"}},          // a state given as text
      {"agua", "BEB", n, 1, 1, {"2"}},   // every filter at once
      {n, n, n, n, 2, {"5"}},            // the other business
  };
  for (const Caso& c : casos)
    EXPECT_EQ(sqlFilas(a.selectProductos(c.nombre, c.categoria, c.clave, c.estado, c.negocio),
                       {"producto_id"}),
              c.productos)
        << (&c - casos);

  // Quirk: stock is joined by the stock row's own id (product 1 takes row 1, which is product
  // 2's), there is no business filter, and a product with no row of its id costs 0.
  const L costo = {"producto_id", "inventarioCategoria_id", "inventarioCostoUnitario"};
  EXPECT_EQ(sqlFilas(a.selectProductosTodosCostoUnitario(1), costo),
            L({"1|1|11.5", "3|2|0", "5|3|0"}));
  EXPECT_EQ(sqlFilas(a.selectProductosTodosCostoUnitario(2), costo),
            L({"2|1|20", "3|2|0", "5|3|0"}));

  EXPECT_EQ(sqlFilas(a.selectProductoEstados()), L({"1|Activo", "2|Inactivo"}));
  EXPECT_EQ(sqlFilas(a.selectCategorias(1), {}, false),
            L({"2|ABARROTES|Abarrotes|/aba", "1|BEBIDAS|Bebidas|/beb"}));
  EXPECT_EQ(a.selectMetodoKardex(1).toInt(), 2);
  EXPECT_FALSE(a.selectMetodoKardex(2).isValid());
  // Branches in use with a name; the warehouses of one branch.
  EXPECT_EQ(sqlFilas(a.selectSucursales(1)), L({"1|Centro"}));
  EXPECT_EQ(sqlFilas(a.selectAlmacenes(1)), L({"1|Bodega centro", "2|Piso centro"}));
  EXPECT_EQ(sqlFilas(a.selectAlmacenes(2)), L({"3|Bodega norte"}));
}

TEST_P(Administracion, CajasNuevasCerradasYSinBorrar) {
  Tadministracion a(conexion());
  for (auto [nombre, negocio] :
       {std::pair{"Caja 1", 1}, {"Caja 2", 1}, {"Caja 3", 1}, {"Ajena", 2}})
    ASSERT_EQ(a.insertCaja(nombre, negocio), 1);
  sqlEjecuta(conexion(), "UPDATE pdvCaja SET registroEliminado = 1 WHERE id = 2");
  // Quirk: registers are pdvCaja rows, listed only while not deleted.
  EXPECT_EQ(sqlFilas(a.selectCajas(1)), L({"1|Caja 1|0|0", "3|Caja 3|0|0"}));
  EXPECT_EQ(sqlFilas(a.selectCajas(2)), L({"4|Ajena|0|0"}));
}

TEST_P(Administracion, LosErroresLleganAlLlamadorYLaTransaccionEsDeEl) {
  Tadministracion a(conexion());
  // No transaction of its own: the caller's rollback undoes the service's writes.
  ASSERT_TRUE(a.transaccionInicia());
  ASSERT_EQ(a.insertCaja("Caja 1", 1), 1);
  ASSERT_TRUE(a.transaccionRollback());
  EXPECT_EQ(a.selectCajas(1).getRowCount(), 0);
  // A member of a group that does not exist breaks a foreign key.
  EXPECT_EQ(a.insertUsuarioPorGrupo(999, 1), -1);
  EXPECT_FALSE(a.ultimoError().isEmpty());
  sqlEjecuta(conexion(), "DROP TABLE pdvCaja");
  sqlEjecuta(conexion(), "DROP TABLE inventarioOpciones");
  const CmidTierResponse cajas = a.selectCajas(1);
  EXPECT_FALSE(cajas.ok());
  EXPECT_FALSE(cajas.getError().isEmpty());
  EXPECT_FALSE(a.selectMetodoKardex(1).isValid());
  EXPECT_FALSE(a.ultimoError().isEmpty());
  EXPECT_EQ(a.insertGrupo("Cajeros", 1), 1);  // the next statement runs as usual
  EXPECT_TRUE(a.ultimoError().isEmpty());
}

INSTANCIA_AMBOS_MOTORES(Administracion);

}  // namespace
