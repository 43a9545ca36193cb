#pragma once
// A tiny catalog written row by row, for tests that need exact control over prices, taxes,
// scales, kits and promotions. Every call answers the id it wrote.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "db/TConexionSesion.h"

class CatalogoPrueba {
 public:
  explicit CatalogoPrueba(TConexionSesion& conexion, int idNegocio = 1);

  // Business with complete fiscal data, default price list, unit "Pieza", warehouse 1.
  void negocioBasico(const QString& codigoPostal = QStringLiteral("06600"),
                     const QString& regimen = QStringLiteral("601"));
  void categoria(const QString& identidad, const QString& etiqueta);
  // `impuestos` is the list's tax text "ivaT|ivaR|iepsT|iepsR|isrR".
  int producto(int id, const QString& nombre, const QString& codigoBarras, double precio,
               const QString& impuestos = QStringLiteral("0.16|0|0|0|0"),
               const QString& categoria = QStringLiteral("GEN"));
  void escalaProducto(int productoId, double cantidad, double descuento);
  void escalaCategoria(const QString& categoria, double cantidad, double descuento);
  int kit(int id, const QString& nombre, double precio, const QList<QPair<int, QString>>& productos,
          double ivaT = 0.16);
  int promocion(int id, const QString& nombre, int tipo, const QString& detalle,
                const QList<int>& productos, const QStringList& categorias = {},
                const QDateTime& desde = QDateTime(), const QDateTime& hasta = QDateTime());
  void promocionProducto(int promocionId, int lista, int productoId, double cantidad);
  void existencia(int productoId, double cantidad, int almacen = 1);
  int cajero(int id, const QString& nombre, int estado = 1);
  // Register with an open session bound to the station; answers the session id.
  int cajaAbierta(int cajaId, const QString& estacion, int cajeroId, double monto = 0);
  void credenciales();
  // negocioBasico plus what ventaGuardada sells: product 1 "Coca Cola 600" at 32.40 with VAT
  // and product 2 "Café de olla a granel" at 120 without taxes.
  void tiendaDeVentas();
  // The online-user credentials (tienda / cuenta1 / "x") with the password stored encrypted,
  // the signing key kept in `carpetaFirma`.
  void credencialesCifradas(const QString& carpetaFirma);
  // A stored sale of products 1 and 2 (which must exist): 3 × 32.40 with VAT and 0.755 kg ×
  // 120 with a discount of 5, paid 100 cash and 98.35 by card; the third payment row is empty.
  // Answers the operation id.
  int ventaGuardada(int ticketNo);

  int idNegocio() const { return uNegocio; }
  int listaId() const { return uLista; }

 private:
  void ejecuta(const QString& sql, const QVariantMap& p);
  TConexionSesion& uConexion;
  int uNegocio;
  int uLista = 0;
};
