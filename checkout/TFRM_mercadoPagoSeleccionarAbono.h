#pragma once
// The MercadoPago payment lookup of a card row: the approved payments of the shop's Point
// terminal in a time range, filtered by amount, of which the cashier relates one to the row.
// The automatic lookup (consultaAbono) answers a single match without showing itself; the
// manual one (consultaPagos) always shows the screen. The search runs on a worker thread behind
// the wait screen (clienteMercadoPago.h).

#include <QDialog>

#include "checkout/reglas/clienteMercadoPago.h"
#include "ui/pantallaNombrada.h"

class TListaAbonos;
class TGridControl;

// Named for tests and pos-script (TPantallaNombrada): "Monto", "POI", "Rango", "Buscar",
// "Lista" (the results grid), "Mensaje", "Aceptar", "Cancelar".
class TFRM_mercadoPagoSeleccionarAbono : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_mercadoPagoSeleccionarAbono(QWidget* parent = nullptr);
  ~TFRM_mercadoPagoSeleccionarAbono() override;

  // The addresses and CA of the station (localSYS) unless a test sets others.
  void setConfiguracion(const TConfiguracionMercado& configuracion) {
    uConfiguracion = configuracion;
  }

  TConsultaAbono consultaAbono(const QString& monto, const TDatosMercado& datos);
  TConsultaAbono consultaPagos(const QString& monto, const TDatosMercado& datos);

  // "Buscar": the search by the chosen range.
  void BTN_buscarClick();
  void seleccionaFila(int fila);
  void BTN_aceptarClick();
  void BTN_cancelarClick();
  TConsultaAbono getFila(int fila) const;

  int uFilaSeleccionada = -1;
  bool uAceptar = false;
  // The credentials after the lookup: a renewed token is kept here as well as in the store.
  const TDatosMercado& datos() const { return uMercadoDatos; }

 private:
  friend class TListaAbonos;
  // Runs buscaPagos behind the wait screen; false when the search did not run.
  bool buscaPagos(bool porRango, QList<TPagoMercado>* pagos);
  void prepara(const QString& monto, const TDatosMercado& datos);
  TGridControl& grid() const;

  TListaAbonos* uLista = nullptr;
  TConfiguracionMercado uConfiguracion;
  TDatosMercado uMercadoDatos;
  QString uMonto;
  QString uMontoAbono;
  bool uPorRango = true;
};
