#pragma once
// A store to look back at: business 1 with session A (register "Caja uno", cashier Ana) that
// sold three tickets on 2026-03-02 at 09:10, 09:40 and 11:05 with cash, card and transfer, was
// cut (300.00 at 12:00) and closed (1,297.20 at 18:00); session B (Beto) still open, with one
// ticket and a cut the next day; and business 2 with a session of its own and a ticket that
// names session A, which business 1 must never count.

#include <QDateTime>

#include "db/TmiddleTier.h"
#include "operaciones/cajas.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/SupervisorPrueba.h"

struct TiendaSesiones {
  static inline const QDate kDia{2026, 3, 2};

  struct Pago {
    int posicion;
    int forma;
    const char* nombre;
    double importe;
  };
  struct Linea {
    int producto;  // 0: a kit or promotion header
    double cantidad;
  };

  explicit TiendaSesiones(TConexionSesion& c) : conexion(c), s(c) {
    CatalogoPrueba cat(c);
    cat.negocioBasico();
    cat.producto(1, "Coca Cola 600", "7501000000011", 32.40);
    cat.producto(2, "Café de olla a granel", "7501000000028", 120, "0|0|0|0|0");
    ana = s.cajero("C01", "Ana");
    beto = s.cajero("C02", "Beto");
    cajaA = s.caja("CJ1", "Caja uno");
    cajaB = s.caja("CJ2", "Caja dos");
    sesionA = s.abre(cajaA, ana, 500, "EST-1");
    sesionB = s.abre(cajaB, beto, 0, "EST-2");
    venta(1, sesionA, 1, hora(9, 10), 97.20, 2.80, {{0, 1, "Efectivo", 100}}, {{1, 3}});
    venta(1, sesionA, 2, hora(9, 40), 90.60, 0, {{0, 1, "Efectivo", 0}, {1, 4, "Tarjeta", 90.60}},
          {{2, 0.755}});
    ticketFacturado = venta(1, sesionA, 3, hora(11, 5), 1234.56, 0,
                            {{0, 1, "Efectivo", 1000}, {2, 3, "Transferencia", 234.56}},
                            {{0, 1}, {1, 2}, {2, 1.5}}, QStringLiteral("UUID-T3"));
    venta(1, sesionB, 4, hora(9, 0), 50, 0, {{0, 1, "Efectivo", 50}}, {{1, 1}});
    EXPECT_TRUE(aplicaCorteCaja(sesionA, hora(12, 0), "300", c));
    EXPECT_TRUE(aplicaCierreCaja(sesionA, cajaA, hora(18, 0), "1297.20", c));
    EXPECT_TRUE(aplicaCorteCaja(sesionB, QDateTime(kDia.addDays(1), QTime(10, 0)), "20", c));

    s.valor(
        "INSERT INTO Negocio (idNegocio, nombre, rfc, razonSocial, regimenFiscal, "
        "codigoPostal) VALUES (2, 'Otra', 'AAA010101AAA', 'Otra SA', '601', '01000')");
    sesionOtro = s.entero(
        "INSERT INTO puntoCajaSesion (puntoCaja_id, cajaNombre, puntoCajero_id, fechaApertura, "
        "estacion, activa, idNegocioFk) VALUES (:c, 'Ajena', :j, :f, 'EST-9', 1, 2) RETURNING id",
        {{"c", cajaA}, {"j", ana}, {"f", hora(8, 0)}});
    venta(2, sesionOtro, 1, hora(10, 0), 70, 0, {{0, 1, "Efectivo", 70}}, {{1, 1}});
    venta(2, sesionA, 2, hora(10, 30), 999, 0, {{0, 1, "Efectivo", 999}}, {{1, 9}});
    s.valor(
        "INSERT INTO puntoCorte (puntoCajaSesion_id, fechaHora, monto, esCorte) VALUES (:s, "
        ":f, 70, 1)",
        {{"s", sesionOtro}, {"f", hora(13, 0)}});
  }

  static QDateTime hora(int h, int m) { return QDateTime(kDia, QTime(h, m)); }

  int venta(int negocio, int sesion, int ticket, const QDateTime& fecha, double total,
            double devuelto, const QList<Pago>& pagos, const QList<Linea>& lineas,
            const QString& uuidFactura = {}) {
    double pago = 0;
    for (const Pago& p : pagos) pago += p.importe;
    const int op = s.entero(
        "INSERT INTO puntoOperacion (idNegocioFk, ticketNo, puntoCajaSesion_id, fechaHora, total, "
        "pago, devuelto, facturadoMetodo, facturadoFecha) VALUES (:n, :t, :s, :f, :total, :pago, "
        ":dev, :m, :ff) RETURNING id",
        {{"n", negocio},
         {"t", ticket},
         {"s", sesion},
         {"f", fecha},
         {"total", total},
         {"pago", pago},
         {"dev", devuelto},
         {"m", uuidFactura.isEmpty() ? "3" : "2"},
         {"ff", uuidFactura.isEmpty() ? QVariant(QMetaType::fromType<QDateTime>())
                                      : QVariant(fecha.addSecs(600))}});
    for (const Pago& p : pagos)
      s.valor(
          "INSERT INTO puntoFormaPagoAplicada (puntoOperacion_id, posicion, formaPago_id, "
          "nombre, valor, importe) VALUES (:o, :p, :f, :nombre, :v, :i)",
          {{"o", op},
           {"p", p.posicion},
           {"f", p.forma},
           {"nombre", p.nombre},
           {"v", QString::number(p.importe)},
           {"i", p.importe}});
    int fila = 0;
    for (const Linea& l : lineas)
      s.valor(
          "INSERT INTO puntoOperacionDetalle (puntoOperacion_id, fila, inventarioProducto_id, "
          "descripcion, cantidad, cabecera) VALUES (:o, :fila, :p, :d, :c, :cab)",
          {{"o", op},
           {"fila", fila++},
           {"p", l.producto ? QVariant(l.producto) : QVariant(QMetaType::fromType<int>())},
           {"d", l.producto ? "" : "Kit desayuno"},
           {"c", l.cantidad},
           {"cab", l.producto ? 0 : 1}});
    if (!uuidFactura.isEmpty())
      s.valor(
          "INSERT INTO puntoOperacionAdicional (puntoOperacion_id, uuid, fecha) VALUES (:o, "
          ":u, :f)",
          {{"o", op}, {"u", uuidFactura}, {"f", fecha}});
    return op;
  }

  TConexionSesion& conexion;
  SupervisorPrueba s;
  int ana = 0, beto = 0, cajaA = 0, cajaB = 0;
  int sesionA = 0, sesionB = 0, sesionOtro = 0, ticketFacturado = 0;
};
