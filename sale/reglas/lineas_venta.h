#pragma once
// The sale being captured, without widgets: the table of sale lines and everything that
// rewrites it (adding and grouping products, prices from the list and its volume scales,
// line taxes and totals, quantity changes, group deletion, kits, promotions). The register
// screen forwards its handlers here; tests drive it directly.

#include <QString>
#include <QStringList>
#include <QVector>

#include "context/TsistemaDatos.h"
#include "db/CmidTierResponse.h"
#include "grid/TGridControl.h"
#include "operaciones/productos.h"
#include "util/resultado.h"

// Column-major matrix of texts: the volume-price scale of one product.
struct TMatriz {
  QVector<QStringList> columnas;
  int filas() const { return columnas.isEmpty() ? 0 : static_cast<int>(columnas[0].size()); }
  QString celda(int columna, int fila) const { return columnas.value(columna).value(fila); }
};

namespace lineas {
// Line kinds (`_tipoInsercion`).
inline const QString kProducto = QStringLiteral("1");
inline const QString kKit = QStringLiteral("2");
inline const QString kComponenteKit = QStringLiteral("20");
inline const QString kCabeceraPromocion = QStringLiteral("3");
}  // namespace lineas

class TLineasVenta {
 public:
  explicit TLineasVenta(TsistemaDatos& sistema);
  TLineasVenta(const TLineasVenta&) = delete;
  TLineasVenta& operator=(const TLineasVenta&) = delete;

  // The 45 columns of the sale-line table, in order.
  static void declaraColumnas(TGridControl& grid);
  // The price monitor's columns.
  static void declaraColumnasMonitor(TGridControl& grid);

  TGridControl& lineas() { return uGRD_mainControl; }
  TGridControl& monitor() { return uGRD_monitorControl; }

  // Empties the sale; the group counters go on (a new sale starts a new group number).
  void reinicia();

  // Adds row `indice` of a product search as a line, or adds one to the line of the same
  // product. Answers the row written, -1 when refused; `resultado` then holds the cashier's
  // message, which the register shows.
  int agregarConcepto(const CmidTierResponse& busqueda, int indice,
                      TResultado* resultado = nullptr);
  // Sets the quantity of a product line (kind "1"): re-prices it from its scale, recomputes
  // it and checks promotions. Quantities below 1 become 1. False for other lines, and for a
  // quantity past what a line may hold: the line is left as it was and `resultado` tells why.
  bool cambiaCantidad(int fila, double cantidad, TResultado* resultado = nullptr);
  // Deletes every line of the group of `fila`, then recomputes the totals.
  void eliminaGrupo(int fila);
  // Adds a kit header and its component lines as one group; false when the kit is unknown.
  bool agregaKit(int kitId);

  // Builds the volume-price scale of the line's product into uPrecios and the monitor; false
  // (and the previous scale stays) when the product has no price in the list.
  bool preparaEscalaPrecios(int fila);
  // Unit price for a quantity from the loaded scale, truncated to 2 decimals; empty when no
  // row applies.
  QString consultaGridPrecios(double cantidad) const;

  // Line taxes and totals.
  QStringList consultaImpuestoParaProductoPorLista(int listaId, int productoId);
  void calculaImporte(int fila);
  void calculaTotal();

  // Promotions in force for the line's product (run after a line is added, grouped or its
  // quantity changes).
  void compruebaPromocionFilaRecienInsertdada(int fila);

  QString textoTotal() const { return uTextoTotal; }
  QString textoDescuento() const { return uTextoDescuento; }
  QString textoImpuestos() const { return uTextoImpuestos; }
  bool aceptarHabilitado() const { return uTotal >= 0; }
  QString tipoLinea(int fila) const;

  // State of the sale (names as the register keeps them).
  int uListaPreciosID = 0;
  int uAlmacen = 0;
  bool uAgruparConceptos = true;
  int uFilaCotizacion = 0;
  int uCotizacionProductoAgrupado = 0;
  int uTipoInsercion = 0;
  int uFilaSeleccionada = -1;
  double uSubtotal = 0, uDescuento = 0, uTotal = 0, uImpuestos = 0;
  TMatriz uPrecios;
  int uPreciosProductoID = 0;  // product whose scale uPrecios holds
  TproductoSeleccionadoDescripcion uProducto;

 private:
  int idNegocio() const { return uSistema.getIdNegocio(); }
  TConexionSesion& conexion() { return uSistema.getConexion(); }
  // Recomputes the line's price for its quantity from its scale (kind "1" lines).
  void reprecia(int fila, double cantidad);
  void aplicaPromocion(int fila, const CmidTierResponse& promociones, int indice);
  void insertaCabeceraPromocion(int fila, int promocionId, const QString& nombre,
                                const QString& cantidad, int grupo);
  void eliminaMarcadas();

  // Running sums of the amounts up to each line, summed in long double like u_acumulaFloat
  // (the sale's amounts keep their cents over hundreds of lines).
  struct TSumasLinea {
    long double subtotal = 0, descuento = 0, trasladados = 0, retenidos = 0;
  };

  TsistemaDatos& uSistema;
  QVector<TSumasLinea> uParciales;
  TGridControl uGRD_mainControl;
  TGridControl uGRD_monitorControl;
  QString uTextoTotal, uTextoDescuento, uTextoImpuestos;
};
