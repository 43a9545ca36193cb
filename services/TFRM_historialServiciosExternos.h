#pragma once
// "Historial Servicios Externos": the stored payment lines that were matched with an external
// service (MercadoPago Point payments), by date range, amount and reference, with the list
// screens' exports. Opened from the credentials screen.

#include <QDialog>

#include "ui/pantallaNombrada.h"

class TListaHistorialExternos;
class TGridControl;

// Named for tests and pos-script (TPantallaNombrada): "Fecha Inicial", "Fecha Final", "Monto",
// "Referencia", their resets "Borrar Fecha Inicial", "Borrar Fecha Final", "Borrar Monto",
// "Borrar Referencia", "Buscar", "Ver Todos", "PDF", "Excel", "Lista", "Mensaje", "Cerrar".
class TFRM_historialServiciosExternos : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_historialServiciosExternos(QWidget* parent = nullptr);
  ~TFRM_historialServiciosExternos() override;

  // The last month, empty filters, no search until the user asks; runs modally.
  void init();
  // The same reset without running the screen (tests and pos-script).
  void reinicia();
  void buscar();
  void BTN_cerrarClick() { accept(); }
  TGridControl& grid() const;

 private:
  TListaHistorialExternos* uLista = nullptr;
};
